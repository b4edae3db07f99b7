// The Microsoft C runtime behaviours the game relies on, reproduced exactly and locale
// independent: the rand generator (one state for the whole program), random_shuffle, the wide
// number parsers, a wide printf-style formatter with MSVC meanings (%s is a wide string)
// that is safe for formats read from data, and the decimal separator of locale names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace msvc {

constexpr int kRandMax = 32767;

// x = x * 214013 + 2531011; result (x >> 16) & 0x7FFF. srand(1) is the initial state.
void srand(unsigned int seed);
int rand();

// std::random_shuffle as the MSVC library does it with its default generator (rand).
// For i from 1 to n-1: j = a random index in [0, i] drawn from rand() (wider draws are made of
// several rand() calls when i >= 32768), swap element i with element j.
std::ptrdiff_t randomIndex(std::ptrdiff_t upperInclusive);
template <class It>
void random_shuffle(It first, It last) {
    auto n = last - first;
    if (n < 2) return;
    for (decltype(n) i = 1; i < n; ++i) {
        auto j = randomIndex(i);
        if (j != i) {
            using std::swap;
            swap(first[i], first[j]);
        }
    }
}

// _wtoi: leading blanks, optional sign, decimal digits; stops at the first other character;
// no digits gives 0; out of range clamps to INT_MIN / INT_MAX.
int wtoi(std::wstring_view text);
// Wide atof: leading blanks, sign, digits, '.', exponent, "inf", "nan"; the C locale; 0 when no
// number starts the text.
double wtof(std::wstring_view text);
// wcstol / wcstoul for 32-bit long (as on Windows). base 0 detects 0x / 0 prefixes. end (when
// given) receives the number of characters consumed (0 when nothing was parsed). Overflow clamps
// like the runtime does (LONG_MAX/LONG_MIN, ULONG_MAX); wcstoul of "-n" wraps around.
int32_t wcstol(std::wstring_view text, int base, std::size_t* end = nullptr);
uint32_t wcstoul(std::wstring_view text, int base, std::size_t* end = nullptr);

// One argument of the safe formatter. Integers keep their signedness, strings their width.
class FormatArg {
public:
    enum class Kind { Int, UInt, Double, WString, String, Pointer };
    template <class T>
        requires(std::is_integral_v<T> && std::is_signed_v<T>)
    FormatArg(T v) : kind_(Kind::Int), i_(v) {}
    template <class T>
        requires(std::is_integral_v<T> && std::is_unsigned_v<T>)
    FormatArg(T v) : kind_(Kind::UInt), u_(v) {}
    FormatArg(double v) : kind_(Kind::Double), d_(v) {}
    FormatArg(float v) : kind_(Kind::Double), d_(v) {}
    FormatArg(long double v) : kind_(Kind::Double), d_(static_cast<double>(v)) {}
    FormatArg(wchar_t const* s) : kind_(Kind::WString), ws_(s ? s : L"") {}
    FormatArg(std::wstring const& s) : kind_(Kind::WString), ws_(s) {}
    FormatArg(std::wstring_view s) : kind_(Kind::WString), ws_(s) {}
    FormatArg(char const* s) : kind_(Kind::String), s_(s ? s : "") {}
    FormatArg(std::string const& s) : kind_(Kind::String), s_(s) {}
    FormatArg(void const* p) : kind_(Kind::Pointer), p_(p) {}
    FormatArg(std::nullptr_t) : kind_(Kind::Pointer) {}

    Kind kind() const { return kind_; }
    int64_t asInt() const { return i_; }
    uint64_t asUInt() const { return u_; }
    double asDouble() const { return d_; }
    std::wstring_view asWString() const { return ws_; }
    std::string_view asString() const { return s_; }
    void const* asPointer() const { return p_; }

private:
    Kind kind_;
    int64_t i_ = 0;
    uint64_t u_ = 0;
    double d_ = 0.0;
    std::wstring_view ws_;
    std::string_view s_;
    void const* p_ = nullptr;
};

// Formats like MSVC's swprintf: %s %ls %ws a wide string, %S and %hs a narrow (Windows-1252)
// string, %c a wide and %C / %hc a narrow character, %d %i %u %o %x %X %e %E %f %F %g %G %a %A,
// %p (16 upper-case hex digits), %%, flags "-+ #0", width and precision (also '*'), size
// prefixes hh h l ll w I I32 I64 z t j L (l is 32 bits as on Windows; integers are cut to the
// named size). Each conversion uses the next arguments in order: one with no argument left, or
// whose argument (or '*' argument) has the wrong kind, prints nothing and uses its argument up;
// %n uses its argument and writes nothing. An unknown conversion is copied as written. Widths and
// precisions above 4096 count as 4096. Never reads past the given arguments.
// decimalPoint is written where a floating-point conversion puts its point (a locale's decimal
// comma, without switching the process-wide locale under other threads). The result is cut to
// maxLength characters, and formatting stops there, so a long format of wide fields from data
// cannot allocate without bound.
std::wstring formatArgs(std::wstring_view format, FormatArg const* args, std::size_t count,
                        wchar_t decimalPoint = L'.', std::size_t maxLength = std::wstring::npos);

// The decimal separator printf uses under a locale name as setlocale takes it: Windows names
// ("French_Canada.1252", "German", "fra", "FRC"), tags ("fr-CA") and POSIX names ("de_DE.UTF-8"),
// "C" and "POSIX"; language and country decide, the code page does not; case is ignored.
// False (point untouched) for a name it does not know.
bool localeDecimalPoint(std::string_view localeName, wchar_t& point);

template <class... Args>
std::wstring format(std::wstring_view fmt, Args const&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return formatArgs(fmt, nullptr, 0);
    } else {
        FormatArg list[] = {FormatArg(args)...};
        return formatArgs(fmt, list, sizeof...(Args));
    }
}

// swprintf into a buffer of `count` characters: writes at most count-1 characters and a
// terminating zero; returns the number of characters written, or -1 when the text was cut.
template <class... Args>
int swprintf(wchar_t* buffer, std::size_t count, std::wstring_view fmt, Args const&... args) {
    if (!buffer || count == 0) return -1;
    std::wstring text = format(fmt, args...);
    std::size_t n = text.size() < count ? text.size() : count - 1;
    text.copy(buffer, n);
    buffer[n] = L'\0';
    return n == text.size() ? static_cast<int>(n) : -1;
}

}  // namespace msvc
