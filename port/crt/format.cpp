// The wide printf formatter with MSVC meanings, over a typed argument list: a conversion can only
// use the arguments it was given, so formats read from data cannot read stray memory. Field
// widths and precisions are capped (kMaxField) so a format cannot ask for gigabytes.
#include "port/crt/crt.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <locale.h>

namespace msvc {

namespace {

// Larger widths or precisions are cut to this; no real text needs more.
constexpr int kMaxField = 4096;

enum class Size { Default, Char, Short, Long, LongLong, Int32, Int64, PtrSize, LongDouble, Wide };

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alt = false;
    bool zero = false;
    int width = 0;
    int precision = -1;  // -1: not given
    Size size = Size::Default;
    wchar_t conversion = 0;
};

// Windows-1252 bytes 0x80..0x9F; the five unassigned ones map to themselves as Windows does.
constexpr wchar_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

wchar_t widenAnsi(unsigned char c) { return (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : static_cast<wchar_t>(c); }

class Formatter {
public:
    Formatter(FormatArg const* args, std::size_t count, wchar_t decimalPoint, std::size_t maxLength)
        : args_(args), count_(count), decimalPoint_(decimalPoint), maxLength_(maxLength) {}

    std::wstring run(std::wstring_view format);

private:
    FormatArg const* take() { return next_ < count_ ? &args_[next_++] : nullptr; }
    static bool isInteger(FormatArg const* a) {
        return a && (a->kind() == FormatArg::Kind::Int || a->kind() == FormatArg::Kind::UInt);
    }
    // The argument of a '*' width or precision (an int, as MSVC reads it); false when the next
    // argument is missing or no integer.
    bool takeStar(int64_t& value) {
        FormatArg const* a = take();
        if (!isInteger(a)) return false;
        value = a->kind() == FormatArg::Kind::Int ? a->asInt() : static_cast<int64_t>(a->asUInt() & 0x7FFFFFFF);
        return true;
    }
    // Parses flags, width, precision and size after '%'; returns false when a '*' had no
    // integer argument (the conversion then prints nothing).
    bool parseSpec(std::wstring_view format, std::size_t& i, Spec& spec);
    void convert(Spec const& spec);
    void pad(std::wstring_view body, Spec const& spec, bool zeroAllowed);
    void integer(Spec const& spec, FormatArg const& arg);
    void floating(Spec const& spec, double value);
    void pointer(Spec const& spec, void const* p);

    FormatArg const* args_;
    std::size_t count_;
    std::size_t next_ = 0;
    wchar_t decimalPoint_;
    std::size_t maxLength_;
    std::wstring out_;
};

int readNumber(std::wstring_view format, std::size_t& i) {
    int n = 0;
    while (i < format.size() && format[i] >= L'0' && format[i] <= L'9') {
        if (n <= kMaxField) n = n * 10 + (format[i] - L'0');
        ++i;
    }
    return n > kMaxField ? kMaxField : n;
}

bool Formatter::parseSpec(std::wstring_view format, std::size_t& i, Spec& spec) {
    bool ok = true;
    for (; i < format.size(); ++i) {
        wchar_t c = format[i];
        if (c == L'-') spec.left = true;
        else if (c == L'+') spec.plus = true;
        else if (c == L' ') spec.space = true;
        else if (c == L'#') spec.alt = true;
        else if (c == L'0') spec.zero = true;
        else break;
    }
    if (i < format.size() && format[i] == L'*') {
        ++i;
        int64_t w = 0;
        if (!takeStar(w)) {
            ok = false;
        } else {
            if (w < 0) {
                spec.left = true;
                w = w < -kMaxField ? kMaxField : -w;
            }
            spec.width = static_cast<int>(w > kMaxField ? kMaxField : w);
        }
    } else {
        spec.width = readNumber(format, i);
    }
    if (i < format.size() && format[i] == L'.') {
        ++i;
        if (i < format.size() && format[i] == L'*') {
            ++i;
            int64_t p = 0;
            if (!takeStar(p)) ok = false;
            else spec.precision = p < 0 ? -1 : static_cast<int>(p > kMaxField ? kMaxField : p);
        } else {
            spec.precision = readNumber(format, i);
        }
    }
    if (i < format.size()) {
        std::wstring_view rest = format.substr(i);
        if (rest.starts_with(L"hh")) spec.size = Size::Char, i += 2;
        else if (rest.starts_with(L"h")) spec.size = Size::Short, i += 1;
        else if (rest.starts_with(L"ll")) spec.size = Size::LongLong, i += 2;
        else if (rest.starts_with(L"l")) spec.size = Size::Long, i += 1;
        else if (rest.starts_with(L"w")) spec.size = Size::Wide, i += 1;
        else if (rest.starts_with(L"L")) spec.size = Size::LongDouble, i += 1;
        else if (rest.starts_with(L"I64")) spec.size = Size::Int64, i += 3;
        else if (rest.starts_with(L"I32")) spec.size = Size::Int32, i += 3;
        else if (rest.starts_with(L"I") || rest.starts_with(L"z") || rest.starts_with(L"t") || rest.starts_with(L"j"))
            spec.size = Size::PtrSize, i += 1;
    }
    return ok;
}

std::wstring Formatter::run(std::wstring_view format) {
    std::size_t i = 0;
    // One step adds at most one capped field, so the text never grows far past the limit.
    while (i < format.size() && out_.size() < maxLength_) {
        wchar_t c = format[i];
        if (c != L'%') {
            out_ += c;
            ++i;
            continue;
        }
        std::size_t const start = i++;
        if (i < format.size() && format[i] == L'%') {
            out_ += L'%';
            ++i;
            continue;
        }
        Spec spec;
        bool const ok = parseSpec(format, i, spec);
        if (i >= format.size()) {
            out_.append(format.substr(start));  // an unfinished conversion stays as written
            break;
        }
        spec.conversion = format[i++];
        if (!ok) {
            take();  // the conversion's own argument is used up all the same
            continue;
        }
        if (std::wstring_view(L"cCdiouxXeEfFgGaAsSpn").find(spec.conversion) == std::wstring_view::npos) {
            out_.append(format.substr(start, i - start));  // unknown conversion: written as it stands
            continue;
        }
        convert(spec);
    }
    if (out_.size() > maxLength_) out_.resize(maxLength_);
    return std::move(out_);
}

void Formatter::pad(std::wstring_view body, Spec const& spec, bool zeroAllowed) {
    std::size_t const width = static_cast<std::size_t>(spec.width);
    std::size_t const fill = body.size() < width ? width - body.size() : 0;
    if (spec.left) {
        out_.append(body);
        out_.append(fill, L' ');
    } else {
        out_.append(fill, zeroAllowed && spec.zero ? L'0' : L' ');
        out_.append(body);
    }
}

void Formatter::convert(Spec const& spec) {
    FormatArg const* arg = take();
    if (!arg) return;
    using Kind = FormatArg::Kind;
    switch (spec.conversion) {
        case L'n':
            return;  // the argument slot is used, nothing is written anywhere
        case L'c':
        case L'C': {
            if (!isInteger(arg)) return;
            bool narrow = spec.size == Size::Short || (spec.conversion == L'C' && spec.size != Size::Long && spec.size != Size::Wide);
            uint64_t v = arg->kind() == Kind::Int ? static_cast<uint64_t>(arg->asInt()) : arg->asUInt();
            wchar_t ch = narrow ? widenAnsi(static_cast<unsigned char>(v)) : static_cast<wchar_t>(static_cast<uint32_t>(v));
            pad(std::wstring_view(&ch, 1), spec, true);
            return;
        }
        case L's':
        case L'S': {
            bool narrow = spec.size == Size::Short || (spec.conversion == L'S' && spec.size != Size::Long && spec.size != Size::Wide);
            std::wstring text;
            if (narrow) {
                if (arg->kind() != Kind::String) return;
                for (char ch : arg->asString()) text += widenAnsi(static_cast<unsigned char>(ch));
            } else {
                if (arg->kind() != Kind::WString) return;
                text = arg->asWString();
            }
            if (spec.precision >= 0 && text.size() > static_cast<std::size_t>(spec.precision))
                text.resize(static_cast<std::size_t>(spec.precision));
            pad(text, spec, true);
            return;
        }
        case L'p':
            if (arg->kind() == Kind::Pointer) pointer(spec, arg->asPointer());
            return;
        case L'e': case L'E': case L'f': case L'F': case L'g': case L'G': case L'a': case L'A':
            if (arg->kind() == Kind::Double) floating(spec, arg->asDouble());
            return;
        default:
            if (isInteger(arg)) integer(spec, *arg);
            return;
    }
}

void Formatter::integer(Spec const& spec, FormatArg const& arg) {
    uint64_t raw = arg.kind() == FormatArg::Kind::Int ? static_cast<uint64_t>(arg.asInt()) : arg.asUInt();
    bool const isSigned = spec.conversion == L'd' || spec.conversion == L'i';
    // Cut the value to the width the size prefix names (long is 32 bits on Windows).
    int bits = 32;
    switch (spec.size) {
        case Size::Char: bits = 8; break;
        case Size::Short: bits = 16; break;
        case Size::LongLong: case Size::Int64: case Size::PtrSize: bits = 64; break;
        default: break;
    }
    bool negative = false;
    uint64_t magnitude = raw;
    if (bits < 64) magnitude &= (uint64_t{1} << bits) - 1;
    if (isSigned && (magnitude >> (bits - 1)) & 1u) {
        negative = true;
        magnitude = (bits == 64 ? 0 : (uint64_t{1} << bits)) - magnitude;  // two's complement
    }
    unsigned base = 10;
    char const* digitsSet = "0123456789abcdef";
    if (spec.conversion == L'o') base = 8;
    if (spec.conversion == L'x') base = 16;
    if (spec.conversion == L'X') base = 16, digitsSet = "0123456789ABCDEF";

    std::wstring digits;
    for (uint64_t v = magnitude; v != 0; v /= base) digits.insert(digits.begin(), static_cast<wchar_t>(digitsSet[v % base]));
    int const precision = spec.precision < 0 ? 1 : spec.precision;
    if (digits.size() < static_cast<std::size_t>(precision)) digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), L'0');
    if (spec.alt && base == 8 && (digits.empty() || digits[0] != L'0')) digits.insert(digits.begin(), L'0');

    std::wstring prefix;
    if (isSigned) {
        if (negative) prefix = L"-";
        else if (spec.plus) prefix = L"+";
        else if (spec.space) prefix = L" ";
    }
    if (spec.alt && base == 16 && magnitude != 0) prefix = spec.conversion == L'X' ? L"0X" : L"0x";

    std::size_t const length = prefix.size() + digits.size();
    std::size_t const width = static_cast<std::size_t>(spec.width);
    if (spec.zero && !spec.left && spec.precision < 0 && length < width) digits.insert(0, width - length, L'0');
    Spec plain = spec;
    plain.zero = false;
    pad(prefix + digits, plain, false);
}

// One printf call in the C locale, so the decimal point never depends on the process locale.
std::string cFormat(char const* format, ...) {
    static locale_t const cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    locale_t const previous = cLocale ? uselocale(cLocale) : static_cast<locale_t>(nullptr);
    std::string text(64, '\0');
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(text.data(), text.size(), format, args);
    if (n >= static_cast<int>(text.size())) {
        text.resize(static_cast<std::size_t>(n) + 1);
        n = std::vsnprintf(text.data(), text.size(), format, again);
    }
    va_end(again);
    va_end(args);
    if (previous) uselocale(previous);
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

void Formatter::floating(Spec const& spec, double value) {
    std::string format = "%";
    if (spec.left) format += '-';
    if (spec.plus) format += '+';
    if (spec.space) format += ' ';
    if (spec.alt) format += '#';
    if (spec.zero) format += '0';
    int precision = spec.precision;
    // MSVC writes every hexadecimal digit of the mantissa unless told otherwise.
    if (precision < 0 && (spec.conversion == L'a' || spec.conversion == L'A')) precision = 13;
    format += "*.*";
    format += static_cast<char>(spec.conversion);
    std::string text = cFormat(format.c_str(), spec.width, precision < 0 ? 6 : precision, value);
    // The C locale writes exactly one '.' at most, and only as the decimal point.
    for (char ch : text) out_ += ch == '.' ? decimalPoint_ : static_cast<wchar_t>(ch);
}

void Formatter::pointer(Spec const& spec, void const* p) {
    auto v = reinterpret_cast<uintptr_t>(p);
    wchar_t digits[16];
    for (int k = 15; k >= 0; --k, v >>= 4) digits[k] = L"0123456789ABCDEF"[v & 0xF];
    pad(std::wstring_view(digits, 16), spec, false);
}

}  // namespace

std::wstring formatArgs(std::wstring_view format, FormatArg const* args, std::size_t count, wchar_t decimalPoint,
                        std::size_t maxLength) {
    return Formatter(args, args ? count : 0, decimalPoint, maxLength).run(format);
}

}  // namespace msvc
