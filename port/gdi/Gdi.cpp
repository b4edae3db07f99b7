// GDI's font objects and device contexts: handles are checked against the live objects, so a
// stale or foreign handle fails instead of crashing; a context keeps its selected font alive.
#include "port/gdi/FontFace.h"
#include "port/gdi/wingdi.h"
#include "port/win32/win32_log.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace port::gdi {

namespace {

// A realised font; its face is measured by one caller at a time.
struct FontObject {
    std::mutex mutex;
    std::unique_ptr<FontFace> face;
};

struct DeviceContext {
    std::shared_ptr<FontObject> font;
    void* fontHandle = nullptr;
};

struct Handles {
    std::mutex mutex;
    std::unordered_map<void*, std::shared_ptr<FontObject>> fonts;
    std::unordered_map<void*, std::unique_ptr<DeviceContext>> contexts;
    void* stockFont = nullptr;  // what a new context starts with; never deleted
};

Handles& handles() {
    static Handles h;
    return h;
}

std::shared_ptr<FontObject> makeFont(FontRequest const& request) {
    auto font = std::make_shared<FontObject>();
    font->face = FontFace::open(request);
    if (!font->face) return nullptr;
    return font;
}

// The stock font, made on first use (caller holds the handle lock).
void* stockFont(Handles& h) {
    if (!h.stockFont) {
        auto font = makeFont(FontRequest{L"Arial", 0, 0, FW_NORMAL, false});
        if (!font) return nullptr;
        h.stockFont = font.get();
        h.fonts.emplace(h.stockFont, std::move(font));
    }
    return h.stockFont;
}

// The font selected into a live context, or null.
std::shared_ptr<FontObject> selectedFont(HDC dc) {
    Handles& h = handles();
    std::lock_guard lock(h.mutex);
    auto found = h.contexts.find(dc);
    return found == h.contexts.end() ? nullptr : found->second->font;
}

}  // namespace

void fillTextMetrics(FontFace& face, TEXTMETRICW& metrics) {
    auto const& m = face.metrics();
    auto ranges = face.ranges(0xFFFF);
    metrics = TEXTMETRICW{};
    metrics.tmHeight = m.height;
    metrics.tmAscent = m.ascent;
    metrics.tmDescent = m.descent;
    metrics.tmInternalLeading = m.internalLeading;
    metrics.tmAveCharWidth = m.aveCharWidth;
    metrics.tmMaxCharWidth = m.maxCharWidth;
    metrics.tmWeight = m.weight;
    metrics.tmDigitizedAspectX = 96;
    metrics.tmDigitizedAspectY = 96;
    metrics.tmFirstChar = ranges.empty() ? 0 : static_cast<WCHAR>(ranges.front().first);
    metrics.tmLastChar = ranges.empty() ? 0 : static_cast<WCHAR>(ranges.back().second);
    metrics.tmDefaultChar = metrics.tmFirstChar;
    metrics.tmBreakChar = L' ';
    metrics.tmItalic = m.italic ? 1 : 0;
    metrics.tmPitchAndFamily = 0x06;  // outline (vector, TrueType-like) face, variable pitch
    metrics.tmCharSet = ANSI_CHARSET;
}

}  // namespace port::gdi

using port::gdi::FontObject;
using port::gdi::handles;

HFONT CreateFontW(int height, int width, int, int, int weight, DWORD italic, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD,
                  DWORD, LPCWSTR faceName) {
    port::gdi::FontRequest request{faceName ? std::wstring(faceName) : std::wstring(), height, width,
                                   weight == FW_DONTCARE ? FW_NORMAL : weight, italic != 0};
    auto font = port::gdi::makeFont(request);
    if (!font) {
        port::logLine(port::LogLevel::Error, L"GDI: no face can be opened for \"" + request.face + L"\"");
        return nullptr;
    }
    auto& h = handles();
    std::lock_guard lock(h.mutex);
    void* handle = font.get();
    h.fonts.emplace(handle, std::move(font));
    return static_cast<HFONT>(handle);
}

BOOL DeleteObject(HGDIOBJ object) {
    auto& h = handles();
    std::lock_guard lock(h.mutex);
    if (object && object == h.stockFont) return TRUE;
    return h.fonts.erase(object) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    auto& h = handles();
    std::lock_guard lock(h.mutex);
    auto context = h.contexts.find(dc);
    auto font = h.fonts.find(object);
    if (context == h.contexts.end() || font == h.fonts.end()) return nullptr;
    void* previous = context->second->fontHandle;
    context->second->font = font->second;
    context->second->fontHandle = object;
    return previous;
}

HDC GetDC(HWND) {
    auto& h = handles();
    std::lock_guard lock(h.mutex);
    auto context = std::make_unique<port::gdi::DeviceContext>();
    context->fontHandle = port::gdi::stockFont(h);
    if (context->fontHandle) context->font = h.fonts[context->fontHandle];
    HDC handle = reinterpret_cast<HDC>(context.get());
    h.contexts.emplace(handle, std::move(context));
    return handle;
}

int ReleaseDC(HWND, HDC dc) {
    auto& h = handles();
    std::lock_guard lock(h.mutex);
    return h.contexts.erase(dc) ? 1 : 0;
}

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) {
    auto font = port::gdi::selectedFont(dc);
    if (!font || !metrics) return FALSE;
    std::lock_guard lock(font->mutex);
    port::gdi::fillTextMetrics(*font->face, *metrics);
    return TRUE;
}

BOOL GetCharABCWidthsFloatW(HDC dc, UINT first, UINT last, LPABCFLOAT widths) {
    auto font = port::gdi::selectedFont(dc);
    if (!font || !widths || last < first) return FALSE;
    std::lock_guard lock(font->mutex);
    for (UINT c = first;; ++c) {
        auto box = font->face->box(static_cast<char32_t>(c));
        widths[c - first] = ABCFLOAT{box.a, box.b, box.c};
        if (c == last) break;
    }
    return TRUE;
}

DWORD GetFontUnicodeRanges(HDC dc, LPGLYPHSET glyphSet) {
    auto font = port::gdi::selectedFont(dc);
    if (!font) return 0;
    std::vector<std::pair<char32_t, char32_t>> ranges;
    {
        std::lock_guard lock(font->mutex);
        ranges = font->face->ranges(0xFFFF);
    }
    // A range's glyph count is 16 bits wide: longer runs take several entries.
    std::vector<WCRANGE> entries;
    DWORD supported = 0;
    for (auto [low, high] : ranges) {
        for (char32_t start = low; start <= high;) {
            char32_t count = std::min<char32_t>(high - start + 1, 0xFFFF);
            entries.push_back(WCRANGE{static_cast<WCHAR>(start), static_cast<USHORT>(count)});
            supported += count;
            start += count;
        }
    }
    std::size_t size = offsetof(GLYPHSET, ranges) + std::max<std::size_t>(entries.size(), 1) * sizeof(WCRANGE);
    if (!glyphSet) return static_cast<DWORD>(size);
    glyphSet->cbThis = static_cast<DWORD>(size);
    glyphSet->flAccel = 0;
    glyphSet->cGlyphsSupported = supported;
    glyphSet->cRanges = static_cast<DWORD>(entries.size());
    if (!entries.empty()) std::memcpy(glyphSet->ranges, entries.data(), entries.size() * sizeof(WCRANGE));
    return static_cast<DWORD>(size);
}

HANDLE AddFontMemResourceEx(LPVOID fontData, DWORD size, LPVOID, DWORD* fontCount) {
    if (fontCount) *fontCount = 0;
    if (!fontData || size == 0 || !fontCount) {
        port::logLine(port::LogLevel::Error, L"GDI: AddFontMemResourceEx called without font data or count");
        return nullptr;
    }
    auto const* bytes = static_cast<uint8_t const*>(fontData);
    std::uintptr_t id = 0;
    unsigned count = port::gdi::registerMemoryFaces(std::vector<uint8_t>(bytes, bytes + size), id);
    if (count == 0) {
        port::logLine(port::LogLevel::Error, L"GDI: the font data (" + std::to_wstring(size) +
                                                 L" bytes) holds no face that can be read; nothing installed");
        return nullptr;
    }
    *fontCount = count;
    return reinterpret_cast<HANDLE>(id);
}

BOOL RemoveFontMemResourceEx(HANDLE handle) {
    return port::gdi::unregisterMemoryFaces(reinterpret_cast<std::uintptr_t>(handle)) ? TRUE : FALSE;
}
