// Rule matching without a pile: single-card test, deck filter, the rules after a previous card,
// the wrap range and the rule texts.
#include "game/cards/RuleMatching.h"

#include "game/cards/Karte.h"
#include "game/cards/LanguageText.h"
#include "game/cards/PileRules.h"
#include "game/cards/RuleWords.h"

namespace Solitaire {

bool WrapAround::isActive() const { return enabled && low != kWrapNone && high != kWrapNone; }

WrapAround WrapAround::of(PileRules const& rules) {
    return WrapAround{rules.wrapLow, rules.wrapHigh, rules.wrapAround != 0};
}

bool isRed(int suit) { return (suit & 1) != 0; }

bool matchesCardRule(int colourRule, int valueRule, int suit, int value) {
    bool const extraCard = suit == Karte::kSuitExtra;
    if (extraCard != (colourRule == kColourExtra)) return false;
    bool colour = true;
    if (colourRule >= kColourKreuz && colourRule <= kColourHerz) colour = suit == colourRule;
    else if (colourRule == kColourRot) colour = isRed(suit) && !extraCard;
    else if (colourRule == kColourSchwarz) colour = !isRed(suit) && !extraCard;
    else if (colourRule == kColourNichts) colour = false;
    if (!colour) return false;

    unsigned const code = static_cast<unsigned>(valueRule);
    if (code <= static_cast<unsigned>(kValueKoenig)) return value == valueRule;
    if (valueRule == kValueZahlen) return value >= 1 && value <= 9;
    if (valueRule == kValueFiguren) return value == 0 || value >= 10;
    if (valueRule == kValueNichts) return false;
    if (valueRule >= kValueAtMostFirst && valueRule < kValueAtLeastFirst) return value <= valueRule - kValueAtMostFirst;
    if (valueRule >= kValueAtLeastFirst && valueRule <= kValueLast) return value >= valueRule - kValueAtLeastFirst;
    return true;
}

bool deckAdmitsSuit(int colourRule, int suit) {
    if (colourRule >= kColourKreuz && colourRule <= kColourHerz) return suit == colourRule;
    if (colourRule == kColourRot) return isRed(suit);
    if (colourRule == kColourSchwarz) return !isRed(suit);
    return true;
}

bool deckAdmitsValue(int valueRule, int value) {
    unsigned const code = static_cast<unsigned>(valueRule);
    if (code <= static_cast<unsigned>(kValueKoenig)) return value == valueRule;
    if (valueRule == kValueZahlen) return value <= 9;
    if (valueRule == kValueFiguren) return value > 9;
    if (valueRule >= kValueAtMostFirst && valueRule < kValueAtLeastFirst) return value <= valueRule - kValueAtMostFirst;
    if (valueRule >= kValueAtLeastFirst && valueRule <= kValueLast) return value >= valueRule - kValueAtLeastFirst;
    return true;
}

std::vector<std::pair<int, int>> deckPass(int colourRule, int const (&valueRules)[2], bool valueMajor) {
    std::vector<std::pair<int, int>> pass;
    auto admitted = [&](int suit, int value) {
        return deckAdmitsSuit(colourRule, suit) && deckAdmitsValue(valueRules[0], value) &&
               deckAdmitsValue(valueRules[1], value);
    };
    for (int outer = 0; outer < (valueMajor ? kDeckValues : kDeckSuits); ++outer) {
        for (int inner = 0; inner < (valueMajor ? kDeckSuits : kDeckValues); ++inner) {
            int const suit = valueMajor ? inner : outer;
            int const value = valueMajor ? outer : inner;
            if (admitted(suit, value)) pass.emplace_back(suit, value);
        }
    }
    return pass;
}

int acceptedColourAfter(int rule, int suit) {
    switch (rule) {
    case kColourAlleSelbe:
    case kColourVorherige:
        return suit;
    case kColourAlleWechsel:
    case kColourRotSchwarz:
        return isRed(suit) ? kColourSchwarz : kColourRot;
    case kColourVorherigeFarbe:
        return isRed(suit) ? kColourRot : kColourSchwarz;
    default:
        return rule;
    }
}

int acceptedValuesAfter(int rule, int value, WrapAround const& wrap, bool pairs, int (&out)[2]) {
    int count = 0;
    auto put = [&](int code) { out[count++] = code; };
    if (pairs) {
        if (rule >= kValueAss && rule <= kValueKoenig) put(value < rule ? rule - 1 - value : kValueNichts);
        else if (rule == kValueAlles) put(kValueAlles);
        else if (rule == kValueVorherige) put(value);
        else if (rule >= kValueAtLeastFirst && rule <= kValueLast) {
            int const k = rule - kValueAtLeastFirst;
            put(value < k ? k - 1 - value : rule - 1);
        } else {
            put(kValueNichts);
        }
        return count;
    }
    bool const wraps = wrap.isActive();
    if (rule >= 0 && rule <= kValueNichts) {
        put(rule);
    } else if (rule == kValueVorherige) {
        put(value);
    } else if (rule == kValueVorherigeMinus) {
        if (wraps && value == wrap.low) put(wrap.high);
        else put(value != wrap.low ? value - 1 : kValueNichts);
    } else if (rule == kValueVorherigePlus) {
        if (wraps && value == wrap.high) put(wrap.low);
        else put(value != wrap.high ? value + 1 : kValueNichts);
    } else if (rule == kValuePlusMinus) {
        if (value == wrap.high) {
            put(value - 1);
            if (wraps) put(wrap.low);
        } else if (value == wrap.low) {
            put(value + 1);
            if (wraps) put(wrap.high);
        } else {
            put(value - 1);
            put(value + 1);
        }
    }
    return count;
}

std::wstring colourRuleTextId(int code) {
    static wchar_t const* const ids[] = {
        L"AF_KREUZ", L"AF_KARO",   L"AF_PIK",         L"AF_HERZ",      L"",
        L"AF_ROT",   L"AF_SCHWARZ", L"AF_ALLE_SELBE_FARBE", L"AF_ALLE_WECHSEL_FARBE", L"AF_ALLES",
        L"AF_NICHTS", L"AF_ROT_SCHWARZ", L"AF_FARBE_TOP", L"AF_FARBE_VORHERIGE_TOP"};
    if (code < 0 || code >= static_cast<int>(std::size(ids))) return std::wstring();
    return ids[code];
}

std::wstring valueRuleTextId(int code) {
    static wchar_t const* const named[] = {
        L"AW_ZAHLEN", L"AW_FIGUREN", L"AW_STAPEL_GEORDNET_PLUS", L"AW_STAPEL_GEORDNET_MINUS", L"AW_ALLES",
        L"AW_NICHTS", L"AW_WERT_TOP", L"AW_WERT_TOP_MINUS",      L"AW_WERT_TOP_PLUS",         L"AW_WERT_TOP_PLUS_MINUS"};
    if (code < 0 || code > kValueLast) return std::wstring();
    if (code >= kValueZahlen && code < kValueAtMostFirst) return named[code - kValueZahlen];
    // The single values and the bounds: "AW_" and the word written ("AW_2", "AW_kKÖNIG").
    return L"AW_" + valueRuleName(code);
}

namespace {

std::wstring lookUp(std::wstring const& id) { return id.empty() ? std::wstring() : languageText(id); }

}  // namespace

std::wstring colourRuleText(int code) { return lookUp(colourRuleTextId(code)); }

std::wstring valueRuleText(int code) { return lookUp(valueRuleTextId(code)); }

}  // namespace Solitaire
