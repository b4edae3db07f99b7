// Rule matching without a pile: a card against a rule pair (the deal's reading of ZAHLEN and
// FIGUREN), the deck filter and its passes, the rules after a previous card (wrap, PAIRS) and the
// rule texts of both languages.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/XMLNode.h"
#include "engine/gui/Language.h"
#include "engine/gui/LanguageManager.h"
#include "game/cards/RuleMatching.h"
#include "game/cards/RuleWords.h"
#include "tests/game/cards/ProfileFiles.h"
#include "tests/game/cards/Suits.h"

namespace Solitaire {
namespace {

using namespace cardtest::suits;

struct CardRuleCase {
    wchar_t const* colour;
    wchar_t const* value;
    int suit;
    int cardValue;
    bool matches;
};

TEST(RuleMatchingTest, ACardAgainstARulePair) {
    CardRuleCase const cases[] = {
        {L"HERZ", L"ALLES", kHerz, 4, true},
        {L"HERZ", L"ALLES", kKaro, 4, false},
        {L"ROT", L"ALLES", kKaro, 0, true},
        {L"ROT", L"ALLES", kPik, 0, false},
        {L"SCHWARZ", L"ALLES", kKreuz, 0, true},
        {L"NICHTS", L"ALLES", kKreuz, 0, false},
        // Relative colour codes pass a lone card.
        {L"ALLE_WECHSEL", L"ALLES", kPik, 3, true},
        {L"VORHERIGE", L"ALLES", kHerz, 3, true},
        // EXTRA only with EXTRA, both ways.
        {L"EXTRA", L"ALLES", kExtra, 2, true},
        {L"EXTRA", L"ALLES", kHerz, 2, false},
        {L"ALLES", L"ALLES", kExtra, 2, false},
        // Single values, and this test's ZAHLEN (ZWEI..ZEHN) and FIGUREN (ASS and the figures).
        {L"ALLES", L"DAME", kPik, 11, true},
        {L"ALLES", L"DAME", kPik, 10, false},
        {L"ALLES", L"ZAHLEN", kPik, 0, false},
        {L"ALLES", L"ZAHLEN", kPik, 1, true},
        {L"ALLES", L"ZAHLEN", kPik, 9, true},
        {L"ALLES", L"ZAHLEN", kPik, 10, false},
        {L"ALLES", L"FIGUREN", kPik, 0, true},
        {L"ALLES", L"FIGUREN", kPik, 5, false},
        {L"ALLES", L"FIGUREN", kPik, 12, true},
        {L"ALLES", L"NICHTS", kPik, 5, false},
        // Bounds are inclusive: "kASS" only the ace, "g10" ZEHN and up.
        {L"ALLES", L"kASS", kPik, 0, true},
        {L"ALLES", L"kASS", kPik, 1, false},
        {L"ALLES", L"g10", kPik, 9, true},
        {L"ALLES", L"g10", kPik, 8, false},
        {L"ALLES", L"gKÖNIG", kPik, 12, true},
        // Sequence codes mean nothing for one card.
        {L"ALLES", L"VORHERIGE_PLUS", kPik, 7, true},
        {L"ALLES", L"STAPEL_PLUS", kPik, 7, true},
    };
    for (CardRuleCase const& c : cases)
        EXPECT_EQ(matchesCardRule(parseColourRule(c.colour), parseValueRule(c.value), c.suit, c.cardValue), c.matches)
            << std::wstring(c.colour) + L" " + c.value + L" " + std::to_wstring(c.suit) + L"/" +
                   std::to_wstring(c.cardValue);
}

TEST(RuleMatchingTest, TheDeckFilterReadsZahlenAndFigurenTheOtherWay) {
    struct Case {
        wchar_t const* value;
        int cardValue;
        bool admitted;
    } const cases[] = {
        {L"ZAHLEN", 0, true},      {L"ZAHLEN", 9, true},   {L"ZAHLEN", 10, false}, {L"FIGUREN", 0, false},
        {L"FIGUREN", 10, true},    {L"FIGUREN", 12, true}, {L"BUBE", 10, true},    {L"BUBE", 11, false},
        {L"VORHERIGE", 3, true},   {L"STAPEL_PLUS", 3, true}, {L"PLUS_MINUS", 3, true}, {L"k2", 1, true},
        {L"k2", 2, false},         {L"gDAME", 11, true},   {L"gDAME", 10, false},
    };
    for (Case const& c : cases)
        EXPECT_EQ(deckAdmitsValue(parseValueRule(c.value), c.cardValue), c.admitted)
            << std::wstring(c.value) + L" " + std::to_wstring(c.cardValue);
    EXPECT_TRUE(deckAdmitsSuit(kColourRot, kHerz));
    EXPECT_FALSE(deckAdmitsSuit(kColourRot, kPik));
    EXPECT_TRUE(deckAdmitsSuit(kColourNichts, kPik));  // every other word: all four suits
}

TEST(RuleMatchingTest, DeckPassesInCreationOrderAndEmptyWhenNothingIsAdmitted) {
    int const twoToQueen[2] = {parseValueRule(L"g2"), parseValueRule(L"kDAME")};
    auto pass = deckPass(kColourHerz, twoToQueen, false);
    ASSERT_EQ(pass.size(), 11u);
    EXPECT_EQ(pass.front(), std::make_pair(kHerz, 1));
    EXPECT_EQ(pass.back(), std::make_pair(kHerz, 11));

    int const all[2] = {kValueAlles, kValueAlles};
    auto valueMajor = deckPass(kColourAlles, all, true);
    ASSERT_EQ(valueMajor.size(), 52u);
    EXPECT_EQ(valueMajor[1], std::make_pair(kKaro, 0));
    EXPECT_EQ(deckPass(kColourAlles, all, false)[1], std::make_pair(kKreuz, 1));

    // Bounds that exclude each other admit nothing; a caller filling a deck by passes stops.
    int const none[2] = {parseValueRule(L"g10"), parseValueRule(L"k2")};
    EXPECT_TRUE(deckPass(kColourAlles, none, false).empty());
    int const nichts[2] = {kValueNichts, kValueNichts};
    EXPECT_EQ(deckPass(kColourAlles, nichts, false).size(), 52u);  // NICHTS filters no deck value
}

TEST(RuleMatchingTest, TheColourAfterAPreviousCard) {
    struct Case {
        int rule;
        int suit;
        int result;
    } const cases[] = {
        {kColourAlleSelbe, kKaro, kKaro},      {kColourVorherige, kPik, kPik},
        {kColourAlleWechsel, kKaro, kColourSchwarz}, {kColourAlleWechsel, kPik, kColourRot},
        {kColourRotSchwarz, kHerz, kColourSchwarz},  {kColourVorherigeFarbe, kHerz, kColourRot},
        {kColourVorherigeFarbe, kExtra, kColourSchwarz}, {kColourHerz, kPik, kColourHerz},
        {kColourAlles, kPik, kColourAlles},    {99, kPik, 99},
    };
    for (Case const& c : cases) EXPECT_EQ(acceptedColourAfter(c.rule, c.suit), c.result) << c.rule << " " << c.suit;
}

TEST(RuleMatchingTest, TheValuesAfterAPreviousCard) {
    WrapAround const plain{0, 12, false};
    WrapAround const wrapping{0, 12, true};
    WrapAround const wrapToNone{0, 13, true};  // a bound 13 puts the wrap out of force
    struct Case {
        wchar_t const* rule;
        int value;
        WrapAround wrap;
        bool pairs;
        int count;
        int first;
        int second;
    } const cases[] = {
        {L"VORHERIGE_MINUS", 0, wrapping, false, 1, 12, 0},
        {L"VORHERIGE_MINUS", 0, plain, false, 1, kValueNichts, 0},
        {L"VORHERIGE_MINUS", 0, wrapToNone, false, 1, kValueNichts, 0},
        {L"VORHERIGE_MINUS", 5, plain, false, 1, 4, 0},
        {L"VORHERIGE_PLUS", 12, wrapping, false, 1, 0, 0},
        {L"VORHERIGE_PLUS", 12, plain, false, 1, kValueNichts, 0},
        {L"PLUS_MINUS", 12, wrapping, false, 2, 11, 0},
        {L"PLUS_MINUS", 0, wrapping, false, 2, 1, 12},
        {L"PLUS_MINUS", 0, plain, false, 1, 1, 0},
        {L"PLUS_MINUS", 6, plain, false, 2, 5, 7},
        {L"VORHERIGE", 6, plain, false, 1, 6, 0},
        {L"DAME", 6, plain, false, 1, 11, 0},
        {L"kDAME", 6, plain, false, 0, 0, 0},
        // PAIRS: the partner completes the sum.
        {L"KÖNIG", 8, plain, true, 1, 3, 0},
        {L"KÖNIG", 12, plain, true, 1, kValueNichts, 0},
        {L"gKÖNIG", 12, plain, true, 1, parseValueRule(L"gDAME"), 0},
        {L"gKÖNIG", 2, plain, true, 1, 9, 0},
        {L"gASS", 0, plain, true, 1, 35, 0},
        {L"ALLES", 4, plain, true, 1, kValueAlles, 0},
        {L"VORHERIGE", 4, plain, true, 1, 4, 0},
        {L"VORHERIGE_PLUS", 4, plain, true, 1, kValueNichts, 0},
    };
    for (Case const& c : cases) {
        int out[2] = {-1, -1};
        int const count = acceptedValuesAfter(parseValueRule(c.rule), c.value, c.wrap, c.pairs, out);
        std::wstring const what = std::wstring(c.rule) + L" after " + std::to_wstring(c.value);
        ASSERT_EQ(count, c.count) << what;
        if (count > 0) {
            EXPECT_EQ(out[0], c.first) << what;
        }
        if (count > 1) {
            EXPECT_EQ(out[1], c.second) << what;
        }
    }
}

TEST(RuleMatchingTest, EveryRuleTextIsInBothLanguages) {
    cardstest::useSourceData();
    Orvex::XMLNode texts;
    ASSERT_TRUE(texts.load(L"data\\texte.lng"));
    Orvex::LanguageManager languages;
    languages.load(texts);
    int ids = 0;
    for (int code = 0; code <= kValueLast + 1; ++code) {
        for (std::wstring const& id : {colourRuleTextId(code), valueRuleTextId(code)}) {
            if (id.empty()) continue;
            ++ids;
            for (wchar_t const* language : {L"GER", L"ENG"})
                EXPECT_NE(languages.findLanguage(language)->findText(id), nullptr) << std::string(id.begin(), id.end());
        }
    }
    EXPECT_EQ(ids, 13 + 49);  // EXTRA has no text
    EXPECT_EQ(valueRuleTextId(1), L"AW_2");
    EXPECT_EQ(valueRuleTextId(kValueAtMostFirst + 12), L"AW_kKÖNIG");
    EXPECT_EQ(valueRuleTextId(kValueVorherigeMinus), L"AW_WERT_TOP_MINUS");
    EXPECT_EQ(colourRuleTextId(kColourRotSchwarz), L"AF_ROT_SCHWARZ");
    EXPECT_EQ(colourRuleTextId(-1), L"");
}

}  // namespace
}  // namespace Solitaire
