// The factory: the "TYPE" keyword of a "MINISPIEL" element chooses the class. The table holds
// all twenty kinds in the order in which the keyword is compared (exact, case-sensitive); an
// unknown or missing "TYPE" makes no object and says so in one log line.
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
        {L"ZUORDNEN", make<MinispielZuordnen>},
        {L"ZUORDNEN2", make<MinispielZuordnen2>},
        {L"LABYRINTH", make<Labyrinth>},
        {L"DREHBILD", make<Drehbild>},
        {L"MEMORY", make<Memory>},
        {L"PUZZLE", make<Puzzle>},
        {L"SCHIEBEPUZZLE_REV", make<Schiebepuzzle_leicht>},
        {L"PUNKTE_VERBINDEN", make<Punkteverbinden>},
        {L"RICHTIGES_SYMBOL", make<RichtigesSymbolAnklicken>},
        {L"RICHTIGER_PFAD", make<RichtigenPfadAnklicken>},
        {L"OBJEKT_KLICKEN", make<ObjekteAnklicken>},
        {L"UNTERSCHIEDE", make<UnterschiedeAnklicken>},
        {L"PUSTEN", make<Wegblasen>},
        {L"BAUEN", make<Bauen>},
        {L"RING", make<Ring>},
        {L"MAZE", make<Maze>},
        {L"AUSTAUSCH", make<Austausch>},
        {L"WASCHEN_PUTZEN", make<WaschenPutzenGame>},
        {L"SEQUENZ", make<Sequenz>},
        {L"CLICKON", make<ClickInReihenfolge>},
    };
    return table;
}

Minispiel* MinispielManager::createMinispiel(Orvex::XMLNode& element) {
    std::wstring const type = element.getAttributeString(L"TYPE", L"");
    for (Kind const& kind : kinds()) {
        if (type == kind.keyword) return kind.make(element);
    }
    minigame::logProblem(element, L"mini-game \"" + element.getAttributeString(L"NAME", L"") +
                                      L"\" has no known TYPE (\"" + type + L"\"); skipped");
    return nullptr;
}

}  // namespace Solitaire
