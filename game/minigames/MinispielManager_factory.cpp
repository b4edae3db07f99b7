// The factory: the "TYPE" keyword of a "MINISPIEL" element chooses the class. The table holds
// all twenty kinds in the order in which the keyword is compared (exact, case-sensitive); a kind
// whose class is not built yet makes no object and says so in one log line, as an unknown or
// missing "TYPE" does.
#include "engine/core/XMLNode.h"
#include "game/minigames/Bauen.h"
#include "game/minigames/ClickInReihenfolge.h"
#include "game/minigames/Drehbild.h"
#include "game/minigames/Memory.h"
#include "game/minigames/MinispielKeys.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielZuordnen.h"
#include "game/minigames/MinispielZuordnen2.h"
#include "game/minigames/ObjekteAnklicken.h"
#include "game/minigames/RichtigenPfadAnklicken.h"
#include "game/minigames/RichtigesSymbolAnklicken.h"
#include "game/minigames/Sequenz.h"
#include "game/minigames/UnterschiedeAnklicken.h"

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
        {L"LABYRINTH", L"Labyrinth", nullptr},
        {L"DREHBILD", L"Drehbild", make<Drehbild>},
        {L"MEMORY", L"Memory", make<Memory>},
        {L"PUZZLE", L"Puzzle", nullptr},
        {L"SCHIEBEPUZZLE_REV", L"Schiebepuzzle_leicht", nullptr},
        {L"PUNKTE_VERBINDEN", L"Punkteverbinden", nullptr},
        {L"RICHTIGES_SYMBOL", L"RichtigesSymbolAnklicken", make<RichtigesSymbolAnklicken>},
        {L"RICHTIGER_PFAD", L"RichtigenPfadAnklicken", make<RichtigenPfadAnklicken>},
        {L"OBJEKT_KLICKEN", L"ObjekteAnklicken", make<ObjekteAnklicken>},
        {L"UNTERSCHIEDE", L"UnterschiedeAnklicken", make<UnterschiedeAnklicken>},
        {L"PUSTEN", L"Wegblasen", nullptr},
        {L"BAUEN", L"Bauen", make<Bauen>},
        {L"RING", L"Ring", nullptr},
        {L"MAZE", L"Maze", nullptr},
        {L"AUSTAUSCH", L"Austausch", nullptr},
        {L"WASCHEN_PUTZEN", L"WaschenPutzenGame", nullptr},
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
