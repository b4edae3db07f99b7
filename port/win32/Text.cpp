// Windows file-name case folding, UTF-8 for host names, a message box's line breaks.
#include "port/win32/win32_text.h"

#include <algorithm>
#include <cstdint>

namespace port {

std::string toUtf8(std::wstring const& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<uint32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::wstring fromUtf8(std::string const& text) {
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto b = static_cast<unsigned char>(text[i]);
        uint32_t c;
        std::size_t extra;
        if (b < 0x80) { c = b; extra = 0; }
        else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; extra = 1; }
        else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; extra = 2; }
        else if ((b & 0xF8) == 0xF0) { c = b & 0x07; extra = 3; }
        else { out += L'\xFFFD'; ++i; continue; }
        bool ok = true;
        for (std::size_t k = 1; k <= extra; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) { ok = false; break; }
            c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!ok) { out += L'\xFFFD'; ++i; continue; }
        out += static_cast<wchar_t>(c);
        i += extra + 1;
    }
    return out;
}

wchar_t foldCase(wchar_t ch) {
    auto c = static_cast<uint32_t>(ch);
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<wchar_t>(c + 32) : ch;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 32);
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x178) return static_cast<wchar_t>(0xFF);
        bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        bool evenUpper = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        if (oddUpper && (c & 1)) return static_cast<wchar_t>(c + 1);
        if (evenUpper && !(c & 1)) return static_cast<wchar_t>(c + 1);
        return ch;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<wchar_t>(c + 32);
    if (c >= 0x410 && c <= 0x42F) return static_cast<wchar_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 80);
    return ch;
}

bool equalsNoCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && foldCase(a[i]) != foldCase(b[i])) return false;
    return true;
}

std::wstring wrapLines(std::wstring const& text, std::size_t width) {
    std::wstring out;
    std::size_t lineStart = 0;  // where out's last line begins
    for (std::size_t at = 0; at <= text.size();) {
        std::size_t const end = std::min(text.find_first_of(L" \n", at), text.size());
        if (at == 0 || text[at - 1] == L'\n') {
            lineStart = out.size();
        } else if (out.size() - lineStart + 1 + (end - at) <= width) {
            out += L' ';
        } else {
            out += L'\n';
            lineStart = out.size();
        }
        out.append(text, at, end - at);
        if (end < text.size() && text[end] == L'\n') out += L'\n';
        at = end + 1;
    }
    return out;
}

}  // namespace port
