// What a running-game load carries from element to element: the cards by their index, the
// refusals gathered for one log line, and the cards an arrangement let go of, so a save that
// lists a card nowhere cannot take it off the table.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "game/look/ReadProblems.h"

namespace Solitaire {

class Anordnung;
class Karte;

struct RunningGameLoad {
    std::unordered_map<int, Karte*> cardsByIndex;
    ReadProblems problems;
    // Cards taken out of an arrangement by a load, with that arrangement.
    std::vector<std::pair<Karte*, Anordnung*>> released;
    // The arrangement each card lies in now (kept up to date while loading).
    std::unordered_map<Karte*, Anordnung*> holder;
};

// An "ID" or arrangement entry: a plain unsigned number within int; refused otherwise.
bool parseStateIndex(std::wstring_view text, int& index);

}  // namespace Solitaire
