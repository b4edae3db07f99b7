// Strict number reading and round-trip number writing for the statistics and achievement records.
#include "game/cards/StatistikNumbers.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "engine/core/XMLNode.h"

namespace Solitaire {

namespace {

// Longer texts are no number these records write; the limit keeps the narrow copy small.
constexpr std::size_t kMaxNumberText = 64;

std::wstring_view trimBlanks(std::wstring_view text) {
    auto const blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// The text as ASCII, or false when it holds anything else or is too long.
bool narrow(std::wstring_view text, std::string& out) {
    if (text.empty() || text.size() > kMaxNumberText) return false;
    out.clear();
    for (wchar_t const c : text) {
        if (c <= 0 || c >= 0x7F) return false;
        out.push_back(static_cast<char>(c));
    }
    return true;
}

std::wstring widen(char const* first, char const* last) { return std::wstring(first, last); }

template <class T>
std::optional<T> readWhole(std::string const& text, std::chars_format format) {
    T value{};
    char const* const end = text.data() + text.size();
    auto const [ptr, ec] = std::from_chars(text.data(), end, value, format);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<Orvex::u32> parseCounterText(std::wstring_view text) {
    std::string ascii;
    if (!narrow(trimBlanks(text), ascii)) return std::nullopt;
    Orvex::u32 value = 0;
    char const* const end = ascii.data() + ascii.size();
    auto const [ptr, ec] = std::from_chars(ascii.data(), end, value, 10);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

std::optional<double> parseFiniteText(std::wstring_view text) {
    std::string ascii;
    if (!narrow(trimBlanks(text), ascii)) return std::nullopt;
    // from_chars reads "inf" and "nan" as numbers: only digits, signs, points and exponents pass.
    for (char const c : ascii)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return std::nullopt;
    if (ascii.front() == '+') ascii.erase(0, 1);
    if (ascii.empty()) return std::nullopt;
    auto const value = readWhole<double>(ascii, std::chars_format::general);
    if (!value || !std::isfinite(*value)) return std::nullopt;
    return value;
}

std::wstring counterText(Orvex::u32 value) { return std::to_wstring(value); }

std::wstring numberText(double value) {
    char buffer[64];
    auto const result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return widen(buffer, result.ptr);
}

std::wstring numberText(float value) {
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    // The readers take a double and round it to float; for one float (7.038531e-26) the shortest
    // text lands on the other side through that double. Nine digits always come back.
    double read = 0.0;
    std::from_chars(buffer, result.ptr, read);
    if (std::isfinite(value) && static_cast<float>(read) != value)
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
    return widen(buffer, result.ptr);
}

bool readCounterAttribute(Orvex::XMLNode const& node, std::wstring_view name, Orvex::u32& target) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(name);
    if (!attribute) return true;
    auto const value = attribute->text().withView([](std::wstring_view t) { return parseCounterText(t); });
    if (!value) return false;
    target = *value;
    return true;
}

bool readFiniteAttribute(Orvex::XMLNode const& node, std::wstring_view name, double minimum, double& target) {
    Orvex::XMLAttribute const* attribute = node.getAttribute(name);
    if (!attribute) return true;
    auto const value = attribute->text().withView([](std::wstring_view t) { return parseFiniteText(t); });
    if (!value || *value < minimum) return false;
    target = *value;
    return true;
}

bool readFiniteAttribute(Orvex::XMLNode const& node, std::wstring_view name, double minimum, float& target) {
    double value = target;
    if (!readFiniteAttribute(node, name, minimum, value)) return false;
    // A double that fits no float would become inf.
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) return false;
    target = static_cast<float>(value);
    return true;
}

}  // namespace Solitaire
