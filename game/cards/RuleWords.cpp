// The colour and value rule word tables. Each table is built once: every accepted word with its
// code, the first row winning, and the word written for each code.
#include "game/cards/RuleWords.h"

#include <array>
#include <unordered_map>
#include <utility>
#include <vector>

namespace Solitaire {

namespace {

using WordMap = std::unordered_map<std::wstring_view, int>;

// Spelled-out words of the values 0..12 as the "KLEINER_"/"GROESSER_" forms write them.
constexpr std::array<wchar_t const*, 13> kSpelled = {L"ASS",  L"ZWEI", L"DREI",   L"VIER", L"FUENF",
                                                     L"SECHS", L"SIEBEN", L"ACHT", L"NEUN", L"ZEHN",
                                                     L"BUBE", L"DAME", L"KOENIG"};
// Short words of the values 0..12 as written ("ASS", "2" .. "10", "BUBE", "DAME", "KÖNIG").
constexpr std::array<wchar_t const*, 13> kShort = {L"ASS", L"2", L"3", L"4",    L"5",    L"6",     L"7",
                                                   L"8",   L"9", L"10", L"BUBE", L"DAME", L"KÖNIG"};

struct ColourTable {
    WordMap words;
    std::array<std::wstring, 14> names;
    ColourTable() {
        struct Row {
            int code;
            std::array<wchar_t const*, 2> words;
        };
        static constexpr Row rows[] = {
            {0, {L"KREUZ", nullptr}},
            {1, {L"KARO", nullptr}},
            {2, {L"PIK", nullptr}},
            {3, {L"HERZ", nullptr}},
            {4, {L"EXTRA", nullptr}},
            {5, {L"ROT", nullptr}},
            {6, {L"SCHWARZ", nullptr}},
            {7, {L"ALLE_SELBE", L"ALLE_SELBE_FARBE"}},
            {8, {L"ALLE_WECHSEL", L"ALLE_WECHSEL_FARBE"}},
            {9, {L"ALLES", L"BONUS"}},
            {10, {L"NICHTS", nullptr}},
            {11, {L"ROT/SCHWARZ", L"ROT_SCHWARZ"}},
            {12, {L"VORHERIGE", L"FARBE_TOP"}},
            {13, {L"VORHERIGE_FARBE", L"FARBE_VORHERIGE_TOP"}},
        };
        for (Row const& row : rows) {
            names[static_cast<std::size_t>(row.code)] = row.words[0];
            for (wchar_t const* word : row.words)
                if (word) words.emplace(word, row.code);
        }
    }
};

struct ValueTable {
    std::vector<std::wstring> storage;  // the words the map views; reserved once, never moved
    WordMap words;
    std::array<std::wstring, kValueLast + 1> names;

    ValueTable() {
        std::vector<std::pair<std::wstring, int>> rows;
        for (int v = 0; v <= 12; ++v) rows.emplace_back(kShort[static_cast<std::size_t>(v)], v);
        for (int v = 1; v <= 9; ++v) rows.emplace_back(kSpelled[static_cast<std::size_t>(v)], v);
        rows.emplace_back(L"KOENIG", 12);
        struct Named {
            int code;
            wchar_t const* first;
            wchar_t const* second;
        };
        static constexpr Named named[] = {
            {13, L"ZAHLEN", nullptr},
            {14, L"FIGUREN", nullptr},
            {15, L"STAPEL_PLUS", L"STAPEL_GEORDNET_PLUS"},
            {16, L"STAPEL_MINUS", L"STAPEL_GEORDNET_MINUS"},
            {17, L"ALLES", nullptr},
            {18, L"NICHTS", nullptr},
            {19, L"VORHERIGE", L"WERT_TOP"},
            {20, L"VORHERIGE_MINUS", L"WERT_TOP_MINUS"},
            {21, L"VORHERIGE_PLUS", L"WERT_TOP_PLUS"},
            {22, L"PLUS_MINUS", L"WERT_TOP_PLUS_MINUS"},
        };
        for (Named const& n : named) {
            rows.emplace_back(n.first, n.code);
            if (n.second) rows.emplace_back(n.second, n.code);
        }
        struct Bound {
            int first;
            wchar_t const* prefix;
            wchar_t const* longPrefix;
        };
        static constexpr Bound bounds[] = {{kValueAtMostFirst, L"k", L"KLEINER_"},
                                           {kValueAtLeastFirst, L"g", L"GROESSER_"}};
        for (Bound const& b : bounds) {
            for (int v = 0; v <= 12; ++v) {
                rows.emplace_back(std::wstring(b.prefix) + kShort[static_cast<std::size_t>(v)], b.first + v);
                rows.emplace_back(std::wstring(b.longPrefix) + kSpelled[static_cast<std::size_t>(v)], b.first + v);
            }
            rows.emplace_back(std::wstring(b.prefix) + L"KOENIG", b.first + 12);
        }
        storage.reserve(rows.size());
        for (auto& [word, code] : rows) {
            storage.push_back(word);
            words.emplace(storage.back(), code);
            auto& name = names[static_cast<std::size_t>(code)];
            if (name.empty()) name = word;
        }
    }
};

ColourTable const& colourTable() {
    static ColourTable const table;
    return table;
}

ValueTable const& valueTable() {
    static ValueTable const table;
    return table;
}

}  // namespace

int parseColourRule(std::wstring_view word) {
    auto const& words = colourTable().words;
    auto const found = words.find(word);
    return found == words.end() ? kColourNichts : found->second;
}

int parseValueRule(std::wstring_view word) {
    auto const& words = valueTable().words;
    auto const found = words.find(word);
    return found == words.end() ? kValueNichts : found->second;
}

std::wstring colourRuleName(int code) {
    auto const& names = colourTable().names;
    if (code < 0 || code >= static_cast<int>(names.size())) return L"NICHTS";
    return names[static_cast<std::size_t>(code)];
}

std::wstring valueRuleName(int code) {
    auto const& names = valueTable().names;
    if (code < 0 || code >= static_cast<int>(names.size())) return L"NICHTS";
    return names[static_cast<std::size_t>(code)];
}

}  // namespace Solitaire
