// Digit groups for the player's numbers; the pointer's travel; price notes.
#include "game/app/FormatNumber.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/Text.h"
#include "game/app/ScreenWindows.h"
#include "game/cards/Statistik.h"

namespace Solitaire {

namespace {

constexpr wchar_t kFrenchCode[] = L"FRE";
constexpr int kGroup = 3;

std::wstring currentCode() { return Orvex::OrvexEngine::getInstance()->getLanguage()->getLanguageCode(); }

}  // namespace

std::wstring formatNumber(int value) { return formatNumber(static_cast<std::int64_t>(value), currentCode()); }

std::wstring formatNumber(int value, std::wstring const& languageCode) {
    return formatNumber(static_cast<std::int64_t>(value), languageCode);
}

std::wstring formatNumber(std::int64_t value) { return formatNumber(value, currentCode()); }

std::wstring formatNumber(std::int64_t value, std::wstring const& languageCode) {
    wchar_t const separator = languageCode == kFrenchCode ? L' ' : L'.';
    // The magnitude unsigned: negating INT64_MIN as a signed value would overflow.
    std::uint64_t magnitude = value < 0 ? 0u - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    std::wstring reversed;
    int digits = 0;
    do {
        if (digits > 0 && digits % kGroup == 0) reversed += separator;
        reversed += static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
        ++digits;
    } while (magnitude > 0);
    if (value < 0) reversed += L'-';
    return std::wstring(reversed.rbegin(), reversed.rend());
}

std::wstring formatPointerTravel(std::uint32_t pixels) {
    double const metres = pointerTravelMetres(pixels);
    bool const far = metres >= kKilometreFrom;
    double const shown = far ? metres / kKilometreFrom : metres;
    std::wstring out;
    if (Orvex::Text* text = findLanguageText(far ? L"MAUSWEG_KM" : L"MAUSWEG_METER")) return text->format(out, shown);
    return msvc::format(far ? L"%.2f km" : L"%.1f m", shown);
}

std::wstring formatPriceNote(std::wstring const& id, double price, double missing) {
    std::wstring out;
    Orvex::Text* text = findLanguageText(id);
    if (!text) return out;
    return text->format(out, formatNumber(wholeNumber(std::ceil(price))),
                        formatNumber(wholeNumber(std::ceil(missing))));
}

std::int64_t wholeNumber(double value) {
    using Limits = std::numeric_limits<std::int64_t>;
    if (std::isnan(value)) return 0;
    // 2^63 is exact as a double; anything at or past it (or below -2^63) is held at the end.
    constexpr double kTop = 9223372036854775808.0;
    if (value >= kTop) return Limits::max();
    if (value < -kTop) return Limits::min();
    return static_cast<std::int64_t>(value);
}

}  // namespace Solitaire
