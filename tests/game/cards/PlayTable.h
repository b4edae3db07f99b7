// A table to play on in tests: the card-table fixture with a camera, a settable tick clock,
// achievement counters the card manager counts into, games started from shipped or inline
// variants, clicks at cards and piles through their screen rectangles, hint records carried out,
// a signature of the dealt table, the invariants every position must keep, and a gold-rush table
// on which nothing moves.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/platform/InputState.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Anordnung.h"
#include "game/cards/HintRecord.h"
#include "game/cards/Karte.h"
#include "game/cards/Picking.h"
#include "game/look/GameStyle.h"
#include "game/look/SolitaireCamera.h"
#include "tests/game/cards/AchivementDefinitions.h"
#include "tests/game/cards/CardInput.h"
#include "tests/game/cards/CardTableFixture.h"
#include "tests/game/cards/ShippedVariants.h"

namespace cardtest {

// A tableau pile T of hearts ace to king in order (king on top) and a goal pile Z taking them.
inline std::wstring const kGoalTable =
    L"<SOLITAIRE NAME=\"S\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\" AUTO_CHECK_END=\"0\">"
    L"<STAPEL NAME=\"Z\" STAPELTYP=\"BASIS\" IS_ZIELSTAPEL=\"ZIEL\"><ANORDNUNG NAME=\"A\"/>"
    L"<QUELLSTAPEL>\"|T|\"</QUELLSTAPEL><ZIELSTAPEL>\"|T|\"</ZIELSTAPEL></STAPEL>"
    L"<STAPEL NAME=\"T\" INIT_KARTEN_SICHTBAR=\"13\"><ANORDNUNG NAME=\"A\"/>"
    L"<QUELLSTAPEL>\"|Z|\"</QUELLSTAPEL><ZIELSTAPEL>\"|Z|\"</ZIELSTAPEL></STAPEL></SOLITAIRE>";

inline std::string narrow(std::wstring const& text) { return std::string(text.begin(), text.end()); }

// The cards of a dealt "GoldrauschDrei" laid so that nothing can move: one five on a column,
// every other card face up on the waste with a five on top, the stock empty.
inline void layStuckGoldrauschDrei(Solitaire::Kartenmanager& manager) {
    std::vector<Solitaire::Karte*> all = manager.cards;
    std::stable_partition(all.begin(), all.end(), [](Solitaire::Karte const* card) { return card->value != 4; });
    auto const firstFive =
        std::find_if(all.begin(), all.end(), [](Solitaire::Karte const* card) { return card->value == 4; });
    for (Solitaire::Karte* card : all) {
        if (card->pile) card->pile->removeCard(card, true);
        card->unlink(false, true, true);
        card->setFaceUp(true, 0.0f, 0.0f);
        manager.findPile(card == *firstFive ? L"TABLEAU1" : L"STAPEL_MUELL")->addCard(card, nullptr, true, false);
    }
}

class PlayTable : public CardTableFixture {
protected:
    void SetUp() override {
        CardTableFixture::SetUp();
        // The registry is the process's: each test counts into its own definitions.
        Solitaire::AchivementManager::instance().clear();
        cardstest::loadDefinitions(Solitaire::AchivementManager::instance(),
                                   L"<A><ACHIVEMENT NAME=\"KARTEN_MOVED\"/><ACHIVEMENT NAME=\"KARTEN_MOVE_ERROR\"/>"
                                   L"<ACHIVEMENT NAME=\"SCORE_CHANGED\"/><ACHIVEMENT NAME=\"KARTEN_MOVE_TO_ZIEL\"/>"
                                   L"<ACHIVEMENT NAME=\"KARTEN_ABGEBAUT\"/></A>");
        manager().setClock([this] { return tick; });
        style().setDefaults();
    }
    void TearDown() override {
        manager().setClock({});
        CardTableFixture::TearDown();
        manager().setCamera(nullptr);
        style().setDefaults();
    }

    static Solitaire::GameStyle& style() { return *Solitaire::StyleSettings::instance().getGameStyle(); }

    static float counted(wchar_t const* name) {
        Solitaire::Achivement* found = Solitaire::AchivementManager::instance().find(name);
        return found ? found->getValue() : -1.0f;
    }

    // Reads a variant file and deals it.
    void start(std::wstring const& file, std::wstring const& seed, bool quick = true,
               Solitaire::Kartenmanager::OwnedCards const& wildcards = {},
               Solitaire::Kartenmanager::OwnedCards const& jokers = {}, float balance = 0.0f) {
        manager().createDiscardPile();
        load(file);
        manager().startGame(&camera, seed, quick, wildcards, jokers, balance);
    }
    // Reads a definition from text and deals it.
    void startText(std::wstring const& text, std::wstring const& seed = L"1") {
        manager().createDiscardPile();
        Orvex::XMLNode root;
        root.loadFromText(text, L"play test");
        manager().loadGameDefinition(root, L"play test");
        manager().startGame(&camera, seed, true, {}, {}, 0.0f);
    }

    D3DXVECTOR2 at(Solitaire::Karte const* card) { return screenPoint(card, camera); }
    D3DXVECTOR2 at(Solitaire::Kartenstapel const& pile) { return screenPoint(pile, camera); }

    void press(D3DXVECTOR2 const& p, int button = 0) { cardtest::press(manager(), p, button); }
    void release(D3DXVECTOR2 const& p, int button = 0) { cardtest::release(manager(), p, button); }
    void drag(D3DXVECTOR2 const& from, D3DXVECTOR2 const& to) { cardtest::drag(manager(), from, to); }
    // Moves the top n cards of from onto to, as a drop does, and records the step (which resolves).
    void move(Solitaire::Kartenstapel& from, Solitaire::Kartenstapel& to, std::size_t n) {
        std::vector<Solitaire::Karte*> held;
        from.getCards(held, true, true);
        ASSERT_GE(held.size(), n);
        Solitaire::Karte::LinkedCards run;
        for (std::size_t i = held.size() - n; i < held.size(); ++i) run.emplace_back(held[i], 0);
        manager().executeMove(run, &from, &to, run.front().first);
        manager().saveUndoState();
    }
    // Carries out one hint record as the input would, and records the step (which resolves);
    // false for a record of no kind or a click its pile refuses.
    bool playHint(Solitaire::HintRecord const& hint) {
        if (hint.isMove) {
            manager().executeMove(hint.run, hint.sourcePile, hint.targetPile, hint.card);
        } else if (hint.clickCard) {
            if (!hint.sourcePile || !hint.sourcePile->onClickHidden(hint.card)) return false;
        } else if (hint.clickEmpty) {
            if (!hint.sourcePile || !hint.sourcePile->onClickEmpty()) return false;
        } else {
            return false;
        }
        manager().saveUndoState();
        return true;
    }
    // Frames of the given length (game and real time alike), the clock following.
    void frames(int count, double dt = 1.0 / 60.0) {
        for (int i = 0; i < count; ++i) {
            tick += static_cast<Orvex::u32>(dt * 1000.0);
            manager().update(dt, dt, Orvex::MouseState());
        }
    }

    // Every pile's cards as "suit.value" with "*" for a face-up card, piles by "|".
    std::string signature() {
        std::string out;
        for (Solitaire::Kartenstapel const* pile : manager().piles) {
            std::vector<Solitaire::Karte*> held;
            pile->getCards(held, true, true);
            for (Solitaire::Karte const* card : held)
                out += std::to_string(card->suit) + "." + std::to_string(card->value) + (card->isFaceUp() ? "*" : "") + " ";
            out += "|";
        }
        return out;
    }

    // Each card once in the list and, when it has a pile, in exactly one arrangement of that pile;
    // links symmetric; indices are places; score and balance not below 0.
    void expectInvariants() {
        std::map<Solitaire::Karte const*, int> holders;
        for (Solitaire::Kartenstapel const* pile : manager().piles)
            for (Solitaire::Anordnung const* arrangement : pile->getArrangements())
                for (Solitaire::Karte const* card : arrangement->cards) ++holders[card];
        std::map<Solitaire::Karte const*, int> listed;
        for (std::size_t i = 0; i < manager().cards.size(); ++i) {
            Solitaire::Karte const* card = manager().cards[i];
            ASSERT_EQ(++listed[card], 1) << "card listed twice";
            ASSERT_EQ(card->index, static_cast<int>(i));
            ASSERT_EQ(holders[card], card->pile ? 1 : 0) << "card " << i;
            for (Solitaire::Karte const* below : card->links)
                ASSERT_EQ(std::count(below->backLinks.begin(), below->backLinks.end(), card), 1);
            for (Solitaire::Karte const* above : card->backLinks)
                ASSERT_EQ(std::count(above->links.begin(), above->links.end(), card), 1);
        }
        for (auto const& [card, count] : holders) ASSERT_EQ(listed[card], 1) << "a held card is not in the list";
        ASSERT_GE(manager().getScorePlus(), 0.0f);
        ASSERT_GE(manager().getPointsBalance(), 0.0f);
    }

    Solitaire::SolitaireCamera camera;
    Orvex::u32 tick = 100000;
};

}  // namespace cardtest
