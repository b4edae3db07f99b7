// The glyph textures of an ID3DXFont (see DxFontGlyphs.h).
#include "port/d3dx9/DxFontGlyphs.h"
#include "port/d3dx9/DxCom.h"

#include <algorithm>
#include <cstring>

namespace port::dx {

namespace {

// Pages a font may hold before it starts over (each at most 1024 x 1024 x 2 bytes).
constexpr std::size_t kMaxPages = 16;
// Empty texels between glyphs, so filtering never reaches a neighbour.
constexpr int kGlyphGap = 1;

int pageSizeFor(int cellHeight) {
    if (cellHeight <= 32) return 256;
    if (cellHeight <= 96) return 512;
    return 1024;
}

}  // namespace

GlyphCache::GlyphCache(IDirect3DDevice9* device, port::gdi::FontFace& face)
    : device_(device), face_(face), pageSize_(pageSizeFor(face.metrics().height)) {}

GlyphCache::~GlyphCache() { clear(); }

void GlyphCache::clear() {
    for (auto* page : pages_) page->Release();
    pages_.clear();
    glyphs_.clear();
    x_ = y_ = rowHeight_ = 0;
    full_ = false;
}

void GlyphCache::beginUse() {
    if (full_) clear();
}

CachedGlyph const& GlyphCache::glyph(wchar_t c) {
    if (auto found = glyphs_.find(c); found != glyphs_.end()) return found->second;
    CachedGlyph glyph;
    auto code = static_cast<char32_t>(c);
    bool drawn = code >= 0x20 && face_.hasChar(code);  // control characters take no room
    port::gdi::GlyphImage image;
    if (drawn && face_.render(code, image)) {
        glyph.advance = face_.box(code).advance;
        glyph.left = image.left;
        glyph.top = image.top;
        // A glyph that finds no room takes its place in the line but draws nothing (until the
        // next start-over when the pages are full; for good when it is larger than a page).
        if (image.width > 0 && image.height > 0) place(image, glyph);
    }
    return glyphs_.emplace(c, glyph).first->second;
}

bool GlyphCache::newPage() {
    if (pages_.size() >= kMaxPages) {
        full_ = true;
        return false;
    }
    IDirect3DTexture9* page = nullptr;
    if (FAILED(device_->CreateTexture(static_cast<UINT>(pageSize_), static_cast<UINT>(pageSize_), 1, 0, D3DFMT_A8L8,
                                      D3DPOOL_MANAGED, &page, nullptr))) {
        full_ = true;
        return false;
    }
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(page->LockRect(0, &locked, nullptr, 0))) {
        for (int y = 0; y < pageSize_; ++y)
            std::memset(static_cast<uint8_t*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch, 0,
                        static_cast<std::size_t>(pageSize_) * 2);
        page->UnlockRect(0);
    }
    pages_.push_back(page);
    x_ = y_ = rowHeight_ = 0;
    return true;
}

bool GlyphCache::place(port::gdi::GlyphImage const& image, CachedGlyph& glyph) {
    int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
    if (w > pageSize_ || h > pageSize_) return false;
    if (pages_.empty() && !newPage()) return false;
    if (x_ + w > pageSize_) {  // next row
        x_ = 0;
        y_ += rowHeight_ + kGlyphGap;
        rowHeight_ = 0;
    }
    if (y_ + h > pageSize_ && !newPage()) return false;
    IDirect3DTexture9* page = pages_.back();
    RECT area{x_, y_, x_ + w, y_ + h};
    // The glyph goes to the page through a surface of its own size: a lock of the page would
    // keep a copy of the whole page in memory beside GL's from the second glyph on.
    IDirect3DSurface9* staging = nullptr;
    if (FAILED(device_->CreateOffscreenPlainSurface(static_cast<UINT>(w), static_cast<UINT>(h), D3DFMT_A8L8,
                                                    D3DPOOL_SYSTEMMEM, &staging, nullptr)))
        return false;
    D3DLOCKED_RECT locked{};
    if (FAILED(staging->LockRect(&locked, nullptr, 0))) {
        staging->Release();
        return false;
    }
    for (int y = 0; y < h; ++y) {
        auto* row = static_cast<uint8_t*>(locked.pBits) + static_cast<std::ptrdiff_t>(y) * locked.Pitch;
        uint8_t const* coverage = image.coverage.data() + static_cast<std::size_t>(y) * image.width;
        for (int x = 0; x < w; ++x) {
            row[2 * x] = 0xFF;  // luminance: white, tinted by the draw colour
            row[2 * x + 1] = coverage[x];
        }
    }
    staging->UnlockRect();
    IDirect3DSurface9* level = nullptr;
    POINT const at{x_, y_};
    bool const written = SUCCEEDED(page->GetSurfaceLevel(0, &level)) &&
                         SUCCEEDED(device_->UpdateSurface(staging, nullptr, level, &at));
    if (level) level->Release();
    staging->Release();
    if (!written) return false;
    glyph.page = page;
    glyph.source = area;
    x_ += w + kGlyphGap;
    rowHeight_ = std::max(rowHeight_, h);
    return true;
}

}  // namespace port::dx
