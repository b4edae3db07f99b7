// Numbers of the statistics and achievement records as they stand in property files: strict
// readers that tell a missing or broken value from a number, so a damaged profile keeps the
// counter it had instead of turning it into 0 or a wrapped giant, and writers that give the
// shortest text reading back to the same number (the stream default keeps six digits only, so
// a count of 1234567 would come back as 1234570).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/core/Types.h"

namespace Orvex {
class XMLNode;
}

namespace Solitaire {

// Blanks around the digits are allowed; a sign, a fraction or more than 32 bits are not.
std::optional<Orvex::u32> parseCounterText(std::wstring_view text);
// A finite decimal number ("12", "-0.5", "1.5e3"); nan, inf and overflow are refused.
std::optional<double> parseFiniteText(std::wstring_view text);

// Shortest round-trip decimal texts: read back by the readers above (through a double, for a
// float) they give exactly the value written.
std::wstring counterText(Orvex::u32 value);
std::wstring numberText(double value);
std::wstring numberText(float value);
// The longest of each: 4294967295; a double's shortest text ("-2.2250738585072014e-308"); a
// float's ("-1.17549435e-38"), with one to spare.
constexpr std::size_t kMaxCounterText = 10;
constexpr std::size_t kMaxDoubleText = 24;
constexpr std::size_t kMaxFloatText = 16;

// Attribute readers for records: an absent attribute leaves the target alone and returns true; a
// present one that does not read (or, for floats, is below minimum) leaves it alone and returns
// false, so the caller can name the attribute in its one log line.
bool readCounterAttribute(Orvex::XMLNode const& node, std::wstring_view name, Orvex::u32& target);
bool readFiniteAttribute(Orvex::XMLNode const& node, std::wstring_view name, double minimum, double& target);
bool readFiniteAttribute(Orvex::XMLNode const& node, std::wstring_view name, double minimum, float& target);

// Counter arithmetic held at the top of the range instead of wrapping to 0.
inline Orvex::u32 saturatingAdd(Orvex::u32 value, Orvex::u32 amount) {
    return amount > 0xFFFFFFFFu - value ? 0xFFFFFFFFu : value + amount;
}

}  // namespace Solitaire
