// The runtime's wide number parsers (_wtoi, wide atof, wcstol, wcstoul) with Windows' 32-bit
// long, independent of the process locale.
#include "port/crt/crt.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace msvc {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }

int digitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'z') return c - L'a' + 10;
    if (c >= L'A' && c <= L'Z') return c - L'A' + 10;
    return 99;
}

struct ParsedInteger {
    bool negative = false;
    bool overflow = false;  // magnitude above 2^32 - 1
    uint64_t magnitude = 0;
    std::size_t end = 0;    // characters consumed, 0 when no digit was read
};

ParsedInteger parseInteger(std::wstring_view text, int base) {
    ParsedInteger r;
    if (base != 0 && (base < 2 || base > 36)) return r;
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        r.negative = text[i] == L'-';
        ++i;
    }
    bool hexPrefix = i + 2 < text.size() && text[i] == L'0' && (text[i + 1] == L'x' || text[i + 1] == L'X') &&
                     digitValue(text[i + 2]) < 16;
    if (base == 0) {
        if (hexPrefix) base = 16;
        else if (i < text.size() && text[i] == L'0') base = 8;
        else base = 10;
    }
    if (base == 16 && hexPrefix) i += 2;
    std::size_t const firstDigit = i;
    while (i < text.size()) {
        int d = digitValue(text[i]);
        if (d >= base) break;
        if (!r.overflow) {
            r.magnitude = r.magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
            if (r.magnitude > UINT32_MAX) r.overflow = true;
        }
        ++i;
    }
    r.end = i > firstDigit ? i : 0;
    if (r.end == 0) {
        r.magnitude = 0;
        r.negative = false;
    }
    return r;
}

int32_t toSigned(ParsedInteger const& p) {
    if (p.negative) {
        if (p.overflow || p.magnitude > 0x80000000u) return INT32_MIN;
        return static_cast<int32_t>(-static_cast<int64_t>(p.magnitude));
    }
    if (p.overflow || p.magnitude > INT32_MAX) return INT32_MAX;
    return static_cast<int32_t>(p.magnitude);
}

locale_t cLocale() {
    static locale_t const locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

}  // namespace

int wtoi(std::wstring_view text) { return toSigned(parseInteger(text, 10)); }

int32_t wcstol(std::wstring_view text, int base, std::size_t* end) {
    ParsedInteger p = parseInteger(text, base);
    if (end) *end = p.end;
    return toSigned(p);
}

uint32_t wcstoul(std::wstring_view text, int base, std::size_t* end) {
    ParsedInteger p = parseInteger(text, base);
    if (end) *end = p.end;
    if (p.overflow) return UINT32_MAX;
    auto value = static_cast<uint32_t>(p.magnitude);
    return p.negative ? 0u - value : value;
}

double wtof(std::wstring_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    // Only ASCII can belong to a number; the parser stops at the first other character.
    std::string ascii;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c <= 0 || c >= 0x80) break;
        ascii += static_cast<char>(c);
    }
    if (ascii.empty()) return 0.0;
    locale_t locale = cLocale();
    if (!locale) return std::strtod(ascii.c_str(), nullptr);
    return strtod_l(ascii.c_str(), nullptr, locale);
}

}  // namespace msvc
