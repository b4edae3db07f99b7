// Numbers written with digit groups of three for the player: "1.234.567", or "1 234 567" when the
// current language is French ("FRE"), a minus sign in front of negative values. Every int is
// written exactly, INT_MIN included. Floats shown as whole numbers are truncated first, a value
// past the int range held at its end and NaN taken as 0, rather than converted undefined.
#pragma once

#include <string>

namespace Solitaire {

// With the separator of the engine's current language.
std::wstring formatNumber(int value);
// With the separator of the language named by its code.
std::wstring formatNumber(int value, std::wstring const& languageCode);
// The float truncated to an int (see above).
int truncateToInt(float value);

}  // namespace Solitaire
