// Digit groups for the player's numbers.
#include "game/app/FormatNumber.h"

#include <cmath>
#include <cstdint>

#include "engine/core/engine/OrvexEngine.h"

namespace Solitaire {

namespace {

constexpr wchar_t kFrenchCode[] = L"FRE";
constexpr int kGroup = 3;

}  // namespace

std::wstring formatNumber(int value) {
    return formatNumber(value, Orvex::OrvexEngine::getInstance()->getLanguage()->getLanguageCode());
}

std::wstring formatNumber(int value, std::wstring const& languageCode) {
    wchar_t const separator = languageCode == kFrenchCode ? L' ' : L'.';
    // The magnitude in 64 bits: negating INT_MIN in 32 would overflow.
    long long magnitude = value;
    if (magnitude < 0) magnitude = -magnitude;
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

int truncateToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(INT32_MIN)) return INT32_MIN;
    if (value >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    return static_cast<int>(value);
}

}  // namespace Solitaire
