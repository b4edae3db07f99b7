// Numbers written with digit groups of three for the player: "1.234.567", or "1 234 567" when the
// current language is French ("FRE"), a minus sign in front of negative values. Every int is
// written exactly, INT_MIN included.
#pragma once

#include <string>

namespace Solitaire {

// With the separator of the engine's current language.
std::wstring formatNumber(int value);
// With the separator of the language named by its code.
std::wstring formatNumber(int value, std::wstring const& languageCode);
// A number truncated to an int for showing: past the int range it is held at the range's end,
// NaN shows as 0.
int truncateToInt(double value);

}  // namespace Solitaire
