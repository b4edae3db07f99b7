// Card wishes: defaults, the "WUNSCH" reader and the neutral test.
#include "game/cards/KartenWunsch.h"

#include <atomic>

#include "engine/core/XMLNode.h"
#include "game/cards/RuleWords.h"
#include "game/look/ReadProblems.h"
#include "port/crt/crt.h"

namespace Solitaire {

namespace {

// Up to four booleans split at blanks, as 1.0 or 0.0.
D3DXVECTOR4 readFlags(std::wstring_view text) {
    float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < text.size() && n < 4) {
        while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
        std::size_t const start = i;
        while (i < text.size() && text[i] != L' ' && text[i] != L'\t') ++i;
        if (i > start) v[n++] = msvc::wtoi(text.substr(start, i - start)) != 0 ? 1.0f : 0.0f;
    }
    return {v[0], v[1], v[2], v[3]};
}

bool allZero(D3DXVECTOR4 const& v) { return v.x == 0.0f && v.y == 0.0f && v.z == 0.0f && v.w == 0.0f; }

}  // namespace

int KartenWunsch::nextWishId() {
    static std::atomic<int> counter{0};
    return counter++;
}

KartenWunsch::KartenWunsch(int const& place) : position(place), wishId(nextWishId()) {}

KartenWunsch::KartenWunsch(Orvex::XMLNode const& node, int const& place, ReadProblems& problems)
    : KartenWunsch(place) {
    if (std::wstring const* word = attributeText(node, L"FARBE")) colourRule = parseColourRule(*word);
    if (std::wstring const* word = attributeText(node, L"WERT")) valueRule = parseValueRule(*word);
    readInt(node, L"POSITION", position, 0, kMaxPosition - 1, problems);
    readBool(node, L"VISIBLE", visible);
    if (std::wstring const* name = attributeText(node, L"USERNAME")) userName = *name;
    readFloat(node, L"IS_WILDCARD_PROP", wildcardProp, problems);
    readFloat(node, L"IS_JOKER_PROP", jokerProp, problems);
    if (std::wstring const* flags = attributeText(node, L"LOCK")) locks = readFlags(*flags);
    if (std::wstring const* flags = attributeText(node, L"KEY")) keys = readFlags(*flags);
}

bool KartenWunsch::hasKeysOrLocks() const { return !allZero(keys) || !allZero(locks); }

bool KartenWunsch::isNeutral() const {
    return colourRule == kColourAll && valueRule == kValueAll && !visible && !hasKeysOrLocks() &&
           wildcardProp == -1.0f && jokerProp == -1.0f;
}

}  // namespace Solitaire
