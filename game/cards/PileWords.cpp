// The pile word tables: small row tables searched in order.
#include "game/cards/PileWords.h"

#include <array>

namespace Solitaire {

namespace {

struct Row {
    wchar_t const* word;
    int code;
};

template <std::size_t N>
int lookUp(Row const (&rows)[N], std::wstring_view word, int fallback) {
    for (Row const& row : rows)
        if (word == row.word) return row.code;
    return fallback;
}

// Calls f for each blank-separated word of text until f returns false.
template <class F>
void forEachWord(std::wstring_view text, F&& f) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t const start = text.find_first_not_of(L' ', pos);
        if (start == std::wstring_view::npos) return;
        std::size_t end = text.find(L' ', start);
        if (end == std::wstring_view::npos) end = text.size();
        if (!f(text.substr(start, end - start))) return;
        pos = end;
    }
}

template <std::size_t N>
unsigned orWords(Row const (&rows)[N], std::wstring_view text) {
    unsigned bits = 0;
    forEachWord(text, [&](std::wstring_view word) {
        bits |= static_cast<unsigned>(lookUp(rows, word, 0));
        return true;
    });
    return bits;
}

constexpr Row kPileTypes[] = {
    {L"VORRAT", 0},  {L"0", 0},         {L"STOCK", 0},      {L"MÜLL", 1},   {L"MUELL", 1},
    {L"1", 1},       {L"WASTE", 1},     {L"BASIS", 2},      {L"2", 2},      {L"FOUNDATION", 2},
    {L"TABLEAU", 3}, {L"3", 3},         {L"FÄCHER", 4},     {L"FAECHER", 4}, {L"4", 4},
    {L"FAN", 4},     {L"ABLAGE", 5},    {L"5", 5},          {L"DISCARD", 5}, {L"RESERVE", 6},
    {L"6", 6},       {L"WILDCARD", 7},  {L"7", 7},          {L"JOKER", 8},  {L"8", 8},
    {L"WILDCARD_JOKER", 9}, {L"9", 9},
};

constexpr std::array<wchar_t const*, 10> kPileTypeNames = {
    L"VORRATS_STAPEL",  L"MUELL_STAPEL",    L"BASIS_STAPEL", L"TABLEAU_STAPEL", L"FAECHER_STAPEL",
    L"ABLAGE_STAPEL",   L"RESERVE_STAPEL",  L"WILDCARD_STAPEL", L"JOKER_STAPEL",
    L"WILDCARD_JOKER_STAPEL"};

constexpr Row kCardFlags[] = {
    {L"VERDECKT", 1},       {L"VERSTECKT", 1},    {L"SICHTBAR", 2}, {L"NICHT_VERSCHIEBBAR", 4},
    {L"VERSCHIEBBAR", 8},   {L"NICHT_ACCEPTED", 16}, {L"ACCEPTED", 32},
};

constexpr Row kClickActions[] = {
    {L"AUFDECKEN", 1},        {L"MOVE_VERKN_STAPEL", 2}, {L"VERKN_VERDECKEN", 4},
    {L"xMULT", 8},            {L"RESET_MULTIPLIER", 16}, {L"MAKE_AUTOTIP", 32},
};

constexpr Row kEmptyClickActions[] = {
    {L"HOLEN_VERKN_VERDECKT", 1}, {L"VERKN_STAPEL_KARTEN_HOLEN_VERDECKT", 1},
    {L"HOLEN_VERKN_SICHTBAR", 2}, {L"VERKN_STAPEL_KARTEN_HOLEN_SICHTBAR", 2},
    {L"HOLEN_VERKN_ALLE", 3},     {L"VERKN_STAPEL_KARTEN_HOLEN_ALLE", 3},
    {L"STAPEL_VERDECKEN", 4},     {L"STAPEL_SICHTBAR", 8},
    {L"STAPEL_MISCHEN", 16},      {L"HOLEN_xMULT", 32},
    {L"VERKN_HOLEN_xMULT", 32},   {L"DO_KOVA", 64},
};

constexpr Row kGoalKinds[] = {
    {L"NEIN", kGoalNone}, {L"0", kGoalNone}, {L"ZIEL", kGoalZiel},
    {L"1", kGoalZiel},    {L"END", kGoalEnd}, {L"2", kGoalEnd},
};

// The digit "1" is no word for ASS here.
constexpr Row kWrapValues[] = {
    {L"ASS", 0},   {L"2", 1},      {L"ZWEI", 1},  {L"3", 2},    {L"DREI", 2},  {L"4", 3},
    {L"VIER", 3},  {L"5", 4},      {L"FUENF", 4}, {L"6", 5},    {L"SECHS", 5}, {L"7", 6},
    {L"SIEBEN", 6}, {L"8", 7},     {L"ACHT", 7},  {L"9", 8},    {L"NEUN", 8},  {L"10", 9},
    {L"ZEHN", 9},  {L"BUBE", 10},  {L"DAME", 11}, {L"KÖNIG", 12}, {L"KOENIG", 12},
};

}  // namespace

int parsePileType(std::wstring_view word) { return lookUp(kPileTypes, word, kPileBasis); }

bool isPileTypeWord(std::wstring_view word) { return lookUp(kPileTypes, word, -1) >= 0; }

std::wstring pileTypeName(int code) {
    if (code < 0 || code >= static_cast<int>(kPileTypeNames.size())) return {};
    return kPileTypeNames[static_cast<std::size_t>(code)];
}

unsigned parseCardFlags(std::wstring_view words) {
    unsigned bits = 0;
    forEachWord(words, [&](std::wstring_view word) {
        if (word == L"NONE") {
            bits = 0;
            return false;
        }
        bits |= static_cast<unsigned>(lookUp(kCardFlags, word, 0));
        return true;
    });
    return bits;
}

unsigned parseClickActions(std::wstring_view words) { return orWords(kClickActions, words); }

unsigned parseEmptyClickActions(std::wstring_view words) { return orWords(kEmptyClickActions, words); }

int parseGoalKind(std::wstring_view word) { return lookUp(kGoalKinds, word, kGoalNone); }

int parseWrapValue(std::wstring_view word) { return lookUp(kWrapValues, word, kWrapNone); }

}  // namespace Solitaire
