// Windows-1252 and UTF-16LE conversions for file text and 8-bit strings.
#include "engine/core/CodePage.h"

#include "port/win32/win32_text.h"

namespace Orvex {

namespace {

// 0x80..0x9F of Windows-1252; the undefined bytes keep their own value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

wchar_t widenAnsi(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return static_cast<wchar_t>(kHighControls[byte - 0x80]);
    return static_cast<wchar_t>(byte);
}

bool narrowAnsi(wchar_t ch, unsigned char& byte) {
    auto c = static_cast<uint32_t>(ch);
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<unsigned char>(c);
        return true;
    }
    for (unsigned i = 0; i < 32; ++i) {
        if (kHighControls[i] == c) {
            byte = static_cast<unsigned char>(0x80 + i);
            return true;
        }
    }
    return false;
}

std::string toNarrowString(std::wstring const& text) {
    std::string out;
    appendAnsi(out, text);
    return out;
}

std::wstring toWideString(std::string const& text) {
    std::wstring out;
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = widenAnsi(static_cast<unsigned char>(text[i]));
    return out;
}

std::wstring decodeFileText(unsigned char const* bytes, std::size_t size) {
    std::wstring out;
    if (!bytes || size == 0) return out;
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        out.resize((size - 2) / 2);
        std::size_t n = 0;
        for (std::size_t i = 2; i + 1 < size; i += 2) {
            uint32_t unit = bytes[i] | (static_cast<uint32_t>(bytes[i + 1]) << 8);
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < size) {
                uint32_t low = bytes[i + 2] | (static_cast<uint32_t>(bytes[i + 3]) << 8);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                    i += 2;
                }
            }
            out[n++] = static_cast<wchar_t>(unit);
        }
        out.resize(n);
        return out;
    }
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF)
        return port::fromUtf8(std::string(reinterpret_cast<char const*>(bytes) + 3, size - 3));

    wchar_t table[256];
    for (unsigned b = 0; b < 256; ++b) table[b] = widenAnsi(static_cast<unsigned char>(b));
    out.resize(size);
    for (std::size_t i = 0; i < size; ++i) out[i] = table[bytes[i]];
    return out;
}

void appendUtf16LE(std::string& out, std::wstring_view text) {
    // Sized once and written in place: a save writes its whole file through here.
    std::size_t units = text.size();
    for (wchar_t wc : text)
        if (static_cast<uint32_t>(wc) >= 0x10000 && static_cast<uint32_t>(wc) <= 0x10FFFF) ++units;
    std::size_t const at = out.size();
    out.resize(at + 2 * units);
    char* next = out.data() + at;
    auto put = [&next](uint32_t unit) {
        *next++ = static_cast<char>(unit & 0xFF);
        *next++ = static_cast<char>((unit >> 8) & 0xFF);
    };
    for (wchar_t wc : text) {
        auto c = static_cast<uint32_t>(wc);
        if (c > 0x10FFFF) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            put(0xD800 + (c >> 10));
            put(0xDC00 + (c & 0x3FF));
        } else {
            put(c);
        }
    }
}

std::size_t appendAnsi(std::string& out, std::wstring_view text) {
    std::size_t replaced = 0;
    out.reserve(out.size() + text.size());
    for (wchar_t wc : text) {
        auto c = static_cast<uint32_t>(wc);
        unsigned char byte;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (narrowAnsi(wc, byte)) {
            out.push_back(static_cast<char>(byte));
        } else {
            out.push_back(' ');
            ++replaced;
        }
    }
    return replaced;
}

}  // namespace Orvex
