// Fuzzes the running-game loader: the input read as a quick save into a small game dealt anew
// (a stock linked to its waste, a goal of 13, a cell of one, two fans chained by "NEXT"). After
// the load every card lies in at most one arrangement, no arrangement holds more than it may,
// positions, score and time are finite and the status is -1, 0 or 1; a save of it must load again.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

constexpr wchar_t kVariant[] =
    L"<SOLITAIRE NAME=\"FUZZ\">"
    L"<STAPEL NAME=\"VORRAT\" STAPELTYP=\"VORRAT\" POSITION_REL=\"0 2\"><VERKNÜPFT>\"|MUELL|\"</VERKNÜPFT>"
    L"<ANORDNUNG NAME=\"HAUFEN\"/></STAPEL>"
    L"<STAPEL NAME=\"MUELL\" STAPELTYP=\"MUELL\" POSITION_REL=\"1 2\"><ANORDNUNG NAME=\"HAUFEN\"/></STAPEL>"
    L"<STAPEL NAME=\"BASIS\" STAPELTYP=\"BASIS\" POSITION_REL=\"2 2\"><ANORDNUNG NAME=\"HAUFEN\" MAX_CARDS=\"13\"/></STAPEL>"
    L"<STAPEL NAME=\"ZELLE\" STAPELTYP=\"RESERVE\" POSITION_REL=\"3 2\"><ANORDNUNG NAME=\"PLATZ\" MAX_CARDS=\"1\"/></STAPEL>"
    L"<STAPEL NAME=\"T1\" STAPELTYP=\"TABLEAU\" POSITION_REL=\"0 0\">"
    L"<ANORDNUNG NAME=\"OBEN\" MAX_CARDS=\"4\" DELTA_VISIBLE=\"0 0.3\"><NEXT>\"|UNTEN|\"</NEXT></ANORDNUNG>"
    L"<ANORDNUNG NAME=\"UNTEN\" DELTA_VISIBLE=\"0.3 0\"/></STAPEL>"
    L"<STAPEL NAME=\"T2\" STAPELTYP=\"TABLEAU\" POSITION_REL=\"1 0\"><ANORDNUNG NAME=\"FAECHER\"/></STAPEL>"
    L"</SOLITAIRE>";

void startGame(Solitaire::Kartenmanager& manager) {
    static Orvex::XMLNode const variant = [] {
        Orvex::XMLNode node;
        node.parse(kVariant, L"fuzz variant");
        return node;
    }();
    Orvex::XMLNode copy(variant);
    manager.createDiscardPile();
    manager.loadGameDefinition(copy, L"fuzz variant");
    if (manager.piles.empty()) std::abort();
    for (int i = 0; i < 52; ++i) {
        auto* card = new Solitaire::Karte(i % 13, i / 13, 1, i);
        manager.addCard(card);
        for (std::size_t tries = 0; tries < manager.piles.size(); ++tries)
            if (manager.piles[(static_cast<std::size_t>(i) + tries) % manager.piles.size()]->addCard(card, nullptr, true, true))
                break;
    }
    manager.cards[7]->isWildcard = true;
    manager.saveUndoState();
}

void checkTable(Solitaire::Kartenmanager const& manager) {
    std::map<Solitaire::Karte const*, int> holders;
    for (Solitaire::Kartenstapel const* pile : manager.piles)
        for (Solitaire::Anordnung const* arrangement : pile->getArrangements()) {
            if (arrangement->maxCards >= 0 && static_cast<int>(arrangement->cards.size()) > arrangement->maxCards)
                std::abort();
            for (Solitaire::Karte const* card : arrangement->cards)
                if (++holders[card] > 1) std::abort();
        }
    for (Solitaire::Karte const* card : manager.cards)
        if (!std::isfinite(card->position.goal.x) || !std::isfinite(card->position.goal.y)) std::abort();
    Solitaire::PlayState const& state = manager.getPlayState();
    if (!std::isfinite(state.score) || !std::isfinite(state.bonusScore) || !std::isfinite(state.gameTime)) std::abort();
    if (state.gameStatus < Solitaire::kGameLost || state.gameStatus > Solitaire::kGameWon) std::abort();
    if (manager.getUndoCount() != 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::XMLNode root;
    if (!fuzz::readTree(data, size, root)) return 0;
    Solitaire::Kartenmanager& manager = Solitaire::Kartenmanager::instance();
    startGame(manager);
    manager.loadRunningGame(root, L"fuzz.prf");
    checkTable(manager);
    manager.setGameStatus(Solitaire::kGameRunning);
    Orvex::XMLNode again(L"QUICK_SAVE");
    manager.saveRunningGame(again);
    manager.loadRunningGame(again, L"fuzz.prf");
    checkTable(manager);
    manager.createDiscardPile();
    return 0;
}
