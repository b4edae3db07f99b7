// The word tables of the variant files: rule words to codes and back, and the pile words.
#include <gtest/gtest.h>

#include <string>

#include "game/cards/PileWords.h"
#include "game/cards/RuleWords.h"

namespace Solitaire {
namespace {

struct WordCase {
    wchar_t const* word;
    int code;
};

TEST(RuleWordsTest, ColourWordsReadTheirCodes) {
    WordCase const cases[] = {
        {L"KREUZ", 0},         {L"KARO", 1},          {L"PIK", 2},
        {L"HERZ", 3},          {L"EXTRA", 4},         {L"ROT", 5},
        {L"SCHWARZ", 6},       {L"ALLE_SELBE", 7},    {L"ALLE_SELBE_FARBE", 7},
        {L"ALLE_WECHSEL", 8},  {L"ALLE_WECHSEL_FARBE", 8}, {L"ALLES", 9},
        {L"BONUS", 9},         {L"NICHTS", 10},       {L"ROT/SCHWARZ", 11},
        {L"ROT_SCHWARZ", 11},  {L"VORHERIGE", 12},    {L"FARBE_TOP", 12},
        {L"VORHERIGE_FARBE", 13}, {L"FARBE_VORHERIGE_TOP", 13},
        // Exact and case-sensitive on the whole word; the rest refuses every card.
        {L"herz", 10},         {L"HERZ ", 10},        {L"", 10},
        {L"KÖNIG", 10},
    };
    for (WordCase const& c : cases) EXPECT_EQ(parseColourRule(c.word), c.code) << c.word;
}

TEST(RuleWordsTest, ValueWordsReadTheirCodes) {
    WordCase const cases[] = {
        {L"ASS", 0},          {L"2", 1},             {L"ZWEI", 1},         {L"10", 9},
        {L"ZEHN", 9},         {L"BUBE", 10},         {L"DAME", 11},        {L"KÖNIG", 12},
        {L"KOENIG", 12},      {L"ZAHLEN", 13},       {L"FIGUREN", 14},     {L"STAPEL_PLUS", 15},
        {L"STAPEL_GEORDNET_PLUS", 15}, {L"STAPEL_MINUS", 16}, {L"STAPEL_GEORDNET_MINUS", 16},
        {L"ALLES", 17},       {L"NICHTS", 18},       {L"VORHERIGE", 19},   {L"WERT_TOP", 19},
        {L"VORHERIGE_MINUS", 20}, {L"WERT_TOP_MINUS", 20}, {L"VORHERIGE_PLUS", 21},
        {L"WERT_TOP_PLUS", 21}, {L"PLUS_MINUS", 22}, {L"WERT_TOP_PLUS_MINUS", 22},
        {L"kASS", 23},        {L"KLEINER_ASS", 23},  {L"k2", 24},          {L"KLEINER_ZWEI", 24},
        {L"kKÖNIG", 35},      {L"kKOENIG", 35},      {L"KLEINER_KOENIG", 35}, {L"gASS", 36},
        {L"GROESSER_ASS", 36}, {L"g10", 45},         {L"GROESSER_ZEHN", 45}, {L"gKÖNIG", 48},
        {L"gKOENIG", 48},     {L"GROESSER_KOENIG", 48},
        // Not words: "1" for the ace, the spelled ace, lower case, a "k" before a spelled word.
        {L"1", 18},           {L"EINS", 18},         {L"ass", 18},         {L"kZWEI", 18},
        {L"KLEINER_2", 18},   {L"11", 18},
    };
    for (WordCase const& c : cases) EXPECT_EQ(parseValueRule(c.word), c.code) << c.word;
}

TEST(RuleWordsTest, EveryCodeIsWrittenAsAWordThatReadsBack) {
    for (int code = 0; code <= 13; ++code) EXPECT_EQ(parseColourRule(colourRuleName(code)), code);
    for (int code = 0; code <= 48; ++code) EXPECT_EQ(parseValueRule(valueRuleName(code)), code);
    // The written form of a code with synonyms is its first word.
    EXPECT_EQ(colourRuleName(parseColourRule(L"ROT_SCHWARZ")), L"ROT/SCHWARZ");
    EXPECT_EQ(colourRuleName(parseColourRule(L"BONUS")), L"ALLES");
    EXPECT_EQ(valueRuleName(parseValueRule(L"KLEINER_DAME")), L"kDAME");
    EXPECT_EQ(valueRuleName(parseValueRule(L"GROESSER_KOENIG")), L"gKÖNIG");
    EXPECT_EQ(valueRuleName(parseValueRule(L"SIEBEN")), L"7");
    for (int code : {-1, 14, 1000}) EXPECT_EQ(colourRuleName(code), L"NICHTS") << code;
    for (int code : {-1, 49, 1000}) EXPECT_EQ(valueRuleName(code), L"NICHTS") << code;
}

TEST(PileWordsTest, PileTypesAndTheirNames) {
    WordCase const cases[] = {
        {L"VORRAT", 0}, {L"STOCK", 0}, {L"MÜLL", 1}, {L"MUELL", 1}, {L"WASTE", 1}, {L"1", 1},
        {L"FOUNDATION", 2}, {L"TABLEAU", 3}, {L"FÄCHER", 4}, {L"FAN", 4}, {L"DISCARD", 5},
        {L"RESERVE", 6}, {L"WILDCARD", 7}, {L"JOKER", 8}, {L"WILDCARD_JOKER", 9}, {L"9", 9},
        {L"tableau", 2}, {L"10", 2}, {L"", 2},
    };
    for (WordCase const& c : cases) EXPECT_EQ(parsePileType(c.word), c.code) << c.word;
    EXPECT_EQ(pileTypeName(parsePileType(L"WASTE")), L"MUELL_STAPEL");
    EXPECT_EQ(pileTypeName(9), L"WILDCARD_JOKER_STAPEL");
    EXPECT_EQ(pileTypeName(10), L"");
    EXPECT_EQ(pileTypeName(-1), L"");
}

TEST(PileWordsTest, WordListsAddTheirBits) {
    struct ListCase {
        unsigned (*parse)(std::wstring_view);
        wchar_t const* words;
        unsigned bits;
    };
    ListCase const cases[] = {
        {parseCardFlags, L"SICHTBAR VERSCHIEBBAR", 10},
        {parseCardFlags, L"SICHTBAR NONE VERDECKT", 0},
        {parseCardFlags, L"VERSTECKT  NICHT_ACCEPTED ACCEPTED", 49},
        {parseCardFlags, L"UNBEKANNT NICHT_VERSCHIEBBAR", 4},
        {parseCardFlags, L"", 0},
        {parseClickActions, L"MOVE_VERKN_STAPEL AUFDECKEN xMULT", 11},
        {parseClickActions, L"VERKN_VERDECKEN RESET_MULTIPLIER MAKE_AUTOTIP", 52},
        {parseClickActions, L"XMULT", 0},
        {parseEmptyClickActions, L"HOLEN_VERKN_ALLE STAPEL_MISCHEN", 19},
        {parseEmptyClickActions, L"VERKN_STAPEL_KARTEN_HOLEN_VERDECKT VERKN_HOLEN_xMULT DO_KOVA", 97},
        {parseEmptyClickActions, L"HOLEN_VERKN_SICHTBAR STAPEL_VERDECKEN STAPEL_SICHTBAR", 14},
    };
    for (ListCase const& c : cases) EXPECT_EQ(c.parse(c.words), c.bits) << c.words;
}

TEST(PileWordsTest, GoalKindsAndWrapValues) {
    WordCase const goals[] = {{L"NEIN", 0}, {L"0", 0}, {L"ZIEL", 1}, {L"1", 1}, {L"END", 2}, {L"2", 2}, {L"JA", 0}};
    for (WordCase const& c : goals) EXPECT_EQ(parseGoalKind(c.word), c.code) << c.word;
    WordCase const wraps[] = {{L"ASS", 0},  {L"2", 1},     {L"ZWEI", 1}, {L"ACHT", 7}, {L"10", 9},
                              {L"BUBE", 10}, {L"KÖNIG", 12}, {L"KOENIG", 12}, {L"1", 13}, {L"ELF", 13}};
    for (WordCase const& c : wraps) EXPECT_EQ(parseWrapValue(c.word), c.code) << c.word;
}

}  // namespace
}  // namespace Solitaire
