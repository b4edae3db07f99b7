// Numbers written with digit groups of three for the player: "1.234.567", or "1 234 567" when the
// current language is French ("FRE"), a minus sign in front of negative values. Every int and
// every 64-bit value is written exactly, the most negative ones included. Also the pointer's
// travel in metres or kilometres, as the statistics show it.
#pragma once

#include <cstdint>
#include <string>

namespace Solitaire {

// With the separator of the engine's current language.
std::wstring formatNumber(int value);
// With the separator of the language named by its code.
std::wstring formatNumber(int value, std::wstring const& languageCode);
// The 64-bit forms (scores and points balances past the int range).
std::wstring formatNumber(std::int64_t value);
std::wstring formatNumber(std::int64_t value, std::wstring const& languageCode);

// The pointer's travel of that many pixels (the statistics' "MOUSE_KM") in the current language:
// below kKilometreFrom metres the text "MAUSWEG_METER" with the metres, from there "MAUSWEG_KM"
// with the kilometres (each a printf format of one double); "%.1f m" / "%.2f km" when the
// language lacks them.
constexpr double kKilometreFrom = 1000.0;
std::wstring formatPointerTravel(std::uint32_t pixels);

// A price the points cannot pay, as the texts "MELDUNG_TIPP_PREIS" and their kin say it: the text
// of id formatted with the price and the points still missing, both rounded up to whole points
// (a fraction short is a point short); empty when the language lacks the text.
std::wstring formatPriceNote(std::wstring const& id, double price, double missing);

// A float as a whole 64-bit number for formatNumber: truncated towards zero, held at the ends of
// the range, 0 for not a number.
std::int64_t wholeNumber(double value);

}  // namespace Solitaire
