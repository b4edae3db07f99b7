// The factory: the "TYPE" keyword of a "MINISPIEL" element chooses the class. The table holds
// all twenty kinds in the order in which the keyword is compared (exact, case-sensitive); a kind
// whose class is not built yet makes no object and says so in one log line, as an unknown or
// missing "TYPE" does.
#include "engine/core/XMLNode.h"
#include "game/minigames/Austausch.h"
#include "game/minigames/Bauen.h"
#include "game/minigames/ClickInReihenfolge.h"
#include "game/minigames/Drehbild.h"
#include "game/minigames/Labyrinth.h"
#include "game/minigames/Maze.h"
#include "game/minigames/Memory.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielZuordnen.h"
#include "game/minigames/MinispielZuordnen2.h"
#include "game/minigames/ObjekteAnklicken.h"
#include "game/minigames/Punkteverbinden.h"
#include "game/minigames/Puzzle.h"
#include "game/minigames/RichtigenPfadAnklicken.h"
#include "game/minigames/RichtigesSymbolAnklicken.h"
#include "game/minigames/Ring.h"
#include "game/minigames/Schiebepuzzle_leicht.h"
#include "game/minigames/Sequenz.h"
#include "game/minigames/UnterschiedeAnklicken.h"
#include "game/minigames/WaschenPutzenGame.h"
#include "game/minigames/Wegblasen.h"

namespace Solitaire {

namespace {

template <class Game>
Minispiel* make(Orvex::XMLNode& element) {
    return new Game(element);
}

}  // namespace

std::vector<MinispielManager::Kind> const& MinispielManager::kinds() {
    static std::vector<Kind> const table = {
        {L"ZUORDNEN", L"MinispielZuordnen", make<MinispielZuordnen>},
        {L"ZUORDNEN2", L"MinispielZuordnen2", make<MinispielZuordnen2>},
        {L"LABYRINTH", L"Labyrinth", make<Labyrinth>},
        {L"DREHBILD", L"Drehbild", make<Drehbild>},
        {L"MEMORY", L"Memory", make<Memory>},
        {L"PUZZLE", L"Puzzle", make<Puzzle>},
        {L"SCHIEBEPUZZLE_REV", L"Schiebepuzzle_leicht", make<Schiebepuzzle_leicht>},
        {L"PUNKTE_VERBINDEN", L"Punkteverbinden", make<Punkteverbinden>},
        {L"RICHTIGES_SYMBOL", L"RichtigesSymbolAnklicken", make<RichtigesSymbolAnklicken>},
        {L"RICHTIGER_PFAD", L"RichtigenPfadAnklicken", make<RichtigenPfadAnklicken>},
        {L"OBJEKT_KLICKEN", L"ObjekteAnklicken", make<ObjekteAnklicken>},
        {L"UNTERSCHIEDE", L"UnterschiedeAnklicken", make<UnterschiedeAnklicken>},
        {L"PUSTEN", L"Wegblasen", make<Wegblasen>},
        {L"BAUEN", L"Bauen", make<Bauen>},
        {L"RING", L"Ring", make<Ring>},
        {L"MAZE", L"Maze", make<Maze>},
        {L"AUSTAUSCH", L"Austausch", make<Austausch>},
        {L"WASCHEN_PUTZEN", L"WaschenPutzenGame", make<WaschenPutzenGame>},
        {L"SEQUENZ", L"Sequenz", make<Sequenz>},
        {L"CLICKON", L"ClickInReihenfolge", make<ClickInReihenfolge>},
    };
    return table;
}

Minispiel* MinispielManager::createMinispiel(Orvex::XMLNode& element) {
    std::wstring const type = element.getAttributeString(L"TYPE", L"");
    for (Kind const& kind : kinds()) {
        if (type != kind.keyword) continue;
        if (kind.make) return kind.make(element);
        minigame::logProblem(element, L"mini-game \"" + element.getAttributeString(L"NAME", L"") + L"\" of TYPE \"" +
                                          type + L"\" (" + kind.className + L") is not built yet; skipped");
        return nullptr;
    }
    minigame::logProblem(element, L"mini-game \"" + element.getAttributeString(L"NAME", L"") +
                                      L"\" has no known TYPE (\"" + type + L"\"); skipped");
    return nullptr;
}

}  // namespace Solitaire
