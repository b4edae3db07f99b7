// Moves from input in table coordinates: a drag that lands, a refused drop (mark 1, the error
// counter), a drop back on the own pile and one over no pile (both silent), hover marks 4 and 8
// with the tooltip, double clicks across the wrap of the tick count, the pairs game's two
// clicks, the drag distances of a carried run, and the shown score easing after a stalled frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"
#include "game/cards/Describe.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/GameStyle.h"
#include "tests/game/cards/PlayTable.h"

namespace {

using Solitaire::HintRecord;
using Solitaire::Karte;
using Solitaire::KartenObjekt;
using Solitaire::Kartenstapel;

struct TooltipRecorder : sigslot::has_slots<> {
    std::vector<std::pair<std::wstring, bool>> shown;
    void onTooltip(std::wstring const& text, bool const& show) { shown.emplace_back(text, show); }
};

class MovesTest : public cardtest::PlayTable {
protected:
    // The first move of the hint list that carries a single face-up card between two piles.
    HintRecord const* firstMove(bool toGoal) {
        for (HintRecord const& hint : manager().getHints())
            if (hint.isMove && hint.run.size() == 1 && (hint.direction > 0) == toGoal) return &hint;
        return nullptr;
    }
    // A face-up card that can be picked up but has no move at all.
    Karte* stuckCard() {
        for (Kartenstapel* pile : manager().piles)
            for (Karte* card : pile->collectFreeCards()) {
                if (!card->isFaceUp() || !pile->canPickCard(card)) continue;
                bool moves = false;
                for (HintRecord const& hint : manager().getHints()) moves |= hint.isMove && hint.card == card;
                if (!moves) return card;
            }
        return nullptr;
    }
    // A pile, not the card's own, that refuses it.
    Kartenstapel* refusing(Karte* card) {
        Karte::LinkedCards run{{card, 0}};
        for (Kartenstapel* pile : manager().piles)
            if (pile != card->pile && pile->rules.drawPile && !pile->acceptsCards(run, nullptr)) return pile;
        return nullptr;
    }
    TooltipRecorder tooltips;
};

TEST_F(MovesTest, ADragLandsARefusedDropIsMarkedAndDropsBackOrNowhereAreSilent) {
    for (int seed = 1; seed < 40; ++seed) {
        start(L"data\\Level\\Goldrausch.sol", std::to_wstring(seed));
        if (firstMove(false) && stuckCard()) break;
    }
    HintRecord const hint = *firstMove(false);
    Karte* card = hint.card;
    float const moved = counted(L"KARTEN_MOVED");
    drag(at(card), at(*hint.targetPile));
    EXPECT_EQ(card->pile, hint.targetPile);
    EXPECT_FLOAT_EQ(counted(L"KARTEN_MOVED"), moved + 1.0f);
    EXPECT_EQ(manager().getHeldCard(), nullptr);
    expectInvariants();

    frames(2);
    Karte* stuck = stuckCard();
    ASSERT_NE(stuck, nullptr);
    Kartenstapel* home = stuck->pile;
    Kartenstapel* other = refusing(stuck);
    ASSERT_NE(other, nullptr);
    float const errors = counted(L"KARTEN_MOVE_ERROR");
    drag(at(stuck), at(*other));
    EXPECT_EQ(stuck->pile, home);
    EXPECT_EQ(stuck->getMarkState(), Solitaire::kMarkRefused);
    EXPECT_FLOAT_EQ(counted(L"KARTEN_MOVE_ERROR"), errors + 1.0f);
    // Back onto its own pile, and over empty table: no error, nothing moves.
    drag(at(stuck), at(*home));
    drag(at(stuck), {-5000.0f, -5000.0f});
    EXPECT_EQ(stuck->pile, home);
    EXPECT_FLOAT_EQ(counted(L"KARTEN_MOVE_ERROR"), errors + 1.0f);
    expectInvariants();
}

std::wstring text(wchar_t const* id) { return Orvex::OrvexEngine::getInstance()->getLanguage()->getText(id); }

TEST_F(MovesTest, TheTableTextsAreInBothLanguages) {
    Orvex::XMLNode texts;
    ASSERT_TRUE(texts.load(L"data\\texte.lng"));
    Orvex::LanguageManager languages;
    languages.load(texts);
    for (wchar_t const* id :
         {L"WIRD_AKZEPTIERT_STAPEL", L"WIRD_AKZEPTIERT_KARTE", L"WIRD_NICHTAKZEPTIERT_STAPEL", L"WIRD_NICHTAKZEPTIERT_KARTE",
          L"VERSCHIEBBAR", L"NICHT_VERSCHIEBBAR", L"AKZEPTIERT", L"KARTENSTAPELSIZE", L"KARTENSTAPELSIZE_EZ",
          L"KARTENSTAPELRESTSIZE", L"KARTENSTAPELRESTSIZE_EZ", L"TABLEAU_STAPEL", L"WILDCARD_JOKER_STAPEL"})
        for (wchar_t const* language : {L"GER", L"ENG"})
            EXPECT_NE(languages.findLanguage(language)->findText(id), nullptr) << cardtest::narrow(id);
}

TEST_F(MovesTest, HoverMarksFourOverAnAcceptingPileAndEightOverARefusingOne) {
    if (!Orvex::OrvexEngine::getInstance()->getLanguage()->getCurrentLanguage()) {
        Orvex::XMLNode texts;
        ASSERT_TRUE(texts.load(L"data\\texte.lng"));
        Orvex::OrvexEngine::getInstance()->getLanguage()->load(texts);
    }
    manager().tooltipChanged.connect(&tooltips, &TooltipRecorder::onTooltip);
    for (int seed = 1; seed < 40; ++seed) {
        start(L"data\\Level\\Goldrausch.sol", std::to_wstring(seed));
        if (firstMove(false)) break;
    }
    HintRecord const hint = *firstMove(false);
    press(at(hint.card));
    ASSERT_EQ(manager().getHeldCard(), hint.card);
    Orvex::MouseState held;
    held.setButtonDown(0, true);
    manager().onMouseMove(held, 0, at(*hint.targetPile));
    frames(10);
    ASSERT_EQ(manager().getHoverPile(), hint.targetPile);
    KartenObjekt* marked = manager().getHoverCard() ? static_cast<KartenObjekt*>(manager().getHoverCard()) : hint.targetPile;
    EXPECT_EQ(marked->getMarkState(), Solitaire::kMarkAccepted);
    ASSERT_FALSE(tooltips.shown.empty());
    EXPECT_TRUE(tooltips.shown.back().second);
    std::wstring const accepted = text(L"WIRD_AKZEPTIERT_KARTE");
    ASSERT_FALSE(accepted.empty());
    EXPECT_TRUE(tooltips.shown.back().first.ends_with(accepted));

    Kartenstapel* other = refusing(hint.card);
    ASSERT_NE(other, nullptr);
    manager().onMouseMove(held, 0, at(*other));
    frames(10);
    ASSERT_EQ(manager().getHoverPile(), other);
    marked = manager().getHoverCard() ? static_cast<KartenObjekt*>(manager().getHoverCard()) : other;
    EXPECT_EQ(marked->getMarkState(), Solitaire::kMarkNotAccepted);
    EXPECT_TRUE(tooltips.shown.back().first.ends_with(text(L"WIRD_NICHTAKZEPTIERT_KARTE")));
    // The refusal stands on a line of its own below the card's description.
    std::wstring const shown = tooltips.shown.back().first;
    EXPECT_TRUE(shown.ends_with(std::wstring(Solitaire::kDescriptionSeparator) + text(L"WIRD_NICHTAKZEPTIERT_KARTE")))
        << cardtest::narrow(shown);
    release(at(*other));
}

TEST_F(MovesTest, ADoubleClickCountsWithinTheWindowAlsoAcrossTheTickWrap) {
    // A click, then at `later` ms either the double-click event (its window is its own 1000 ms)
    // or a plain press, which counts as a double click only within 20 ms of the last one.
    struct Row {
        Orvex::u32 first;
        Orvex::u32 later;
        bool event;
        bool isDouble;
    } const rows[] = {
        {100000u, 300u, true, true},       {0xFFFFFE00u, 300u, true, true}, {100000u, 15u, false, true},
        {100000u, 25u, false, false},      {0xFFFFFFF0u, 15u, false, true}, {0xFFFFFFF0u, 40u, false, false},
        {0xFFFFFFF0u, 999u, false, false},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(testing::Message() << row.first << " + " << row.later << (row.event ? " event" : " press"));
        Karte* card = nullptr;
        for (int seed = 1; seed < 40 && !card; ++seed) {
            start(L"data\\Level\\Goldrausch.sol", std::to_wstring(seed));
            card = stuckCard();
        }
        ASSERT_NE(card, nullptr);
        tick = row.first;
        press(at(card));
        release(at(card));
        float const before = manager().getScorePlus();
        tick = row.first + row.later;
        if (row.event) manager().onDoubleClick(Orvex::MouseState(), 0, at(card));
        else press(at(card));
        release(at(card));
        // A double click that moves nothing costs the game style's points.
        EXPECT_EQ(manager().getScorePlus() < before, row.isDouble);
    }
}

// A refused double click costs the game style's points, unless a tutorial asked the player for
// that refusal (asked before the refusal is reported, which may move the tutorial on).
TEST_F(MovesTest, ARefusedDoubleClickATutorialAskedForCostsNothing) {
    for (bool const asked : {false, true}) {
        Karte* card = nullptr;
        for (int seed = 1; seed < 40 && !card; ++seed) {
            start(L"data\\Level\\Goldrausch.sol", std::to_wstring(seed));
            card = stuckCard();
        }
        ASSERT_NE(card, nullptr);
        struct Report : sigslot::has_slots<> {
            int count = 0;
            void onUsed(KartenObjekt&, bool) { ++count; }
        } report;
        manager().objectUsed.connect(&report, &Report::onUsed);
        manager().setRefusalAskedFor([&](KartenObjekt const& object) { return asked && &object == card && report.count == 0; });
        press(at(card));
        release(at(card));
        float const before = manager().getScorePlus();
        manager().onDoubleClick(Orvex::MouseState(), 0, at(card));
        release(at(card));
        EXPECT_EQ(manager().getScorePlus() < before, !asked) << asked;
        EXPECT_EQ(report.count, 1);
    }
    manager().setRefusalAskedFor({});
}

TEST_F(MovesTest, TwoClicksLayTheFirstCardOnTheSecondInThePairsGame) {
    style().mouseControlMode = 1;
    HintRecord const* pair = nullptr;
    for (int seed = 1; seed < 60 && !pair; ++seed) {
        start(L"data\\Level\\Paare.sol", std::to_wstring(seed));
        for (HintRecord const& hint : manager().getHints())
            if (hint.isMove && hint.targetCard && hint.run.size() == 1 && !hint.targetCard->isJoker) pair = &hint;
    }
    ASSERT_NE(pair, nullptr);
    Karte* first = pair->card;
    Karte* second = pair->targetCard;
    Kartenstapel* firstPile = first->pile;
    press(at(first));
    release(at(first));
    press(at(second));
    release(at(second));
    EXPECT_NE(first->pile, firstPile);
    expectInvariants();
    // A click on empty table clears a selection.
    press({-5000.0f, -5000.0f});
    EXPECT_TRUE(manager().getSelectedCards().empty());
}

// The pairs game's empty discard takes a king dragged onto it, wherever on its place it is let go.
TEST_F(MovesTest, TheEmptyDiscardOfThePairsGameTakesADraggedKing) {
    for (D3DXVECTOR2 const share : {D3DXVECTOR2(0.5f, 0.5f), D3DXVECTOR2(0.15f, 0.15f), D3DXVECTOR2(0.85f, 0.85f)}) {
        start(cardtest::variantFile(L"PaareKupfer"), L"1");  // the longest pile ends in a king
        Karte* king = pile(L"REIHE7").getTopCard();
        ASSERT_EQ(king->value, 12);
        Orvex::FRect const r = Solitaire::computeScreenRect(pile(L"STAPEL_ABLAGE"), &camera);
        drag(at(king), {r.left + (r.right - r.left) * share.x, r.top + (r.bottom - r.top) * share.y});
        EXPECT_EQ(king->pile, &pile(L"STAPEL_ABLAGE")) << share.x << ", " << share.y;
    }
}

// Picking a card up gives it drag distance 1 and each card it carries 1 + its place in the run;
// the release gives them 0 again.
TEST_F(MovesTest, ACarriedRunHasItsDragDistancesUntilTheRelease) {
    startText(cardtest::kGoalTable);
    frames(120);
    std::vector<Karte*> held;
    pile(L"T").getCards(held, true, true);
    ASSERT_EQ(held.size(), 13u);
    Karte* queen = held[11];
    Karte* king = held[12];
    // The queen shows above the king: press on its visible strip.
    Orvex::FRect const rect = Solitaire::computeScreenRect(*queen, &camera);
    press({(rect.left + rect.right) * 0.5f, rect.top + (rect.bottom - rect.top) * 0.05f});
    ASSERT_EQ(manager().getHeldCard(), queen);
    EXPECT_EQ(queen->dragDistance, 1);
    EXPECT_EQ(king->dragDistance, 2);
    EXPECT_EQ(held[10]->dragDistance, 0);
    release({-5000.0f, -5000.0f});
    EXPECT_EQ(queen->dragDistance, 0);
    EXPECT_EQ(king->dragDistance, 0);
}

TEST_F(MovesTest, TheShownScoreLandsOnTheRealOneAfterAStall) {
    start(L"data\\Level\\Goldrausch.sol", L"3");
    struct Row {
        double realDt;
        float shown;
    } const rows[] = {{0.5, 1000.0f}, {1.0, 1000.0f}, {3.0, 1000.0f}, {0.01, 50.0f}};
    for (Row const& row : rows) {
        // From a shown score 1000 below the real one.
        manager().setScore(manager().getShownScorePlus() + 1000.0f, manager().getScoreMinus());
        float const from = manager().getShownScorePlus();
        manager().update(0.0, row.realDt, Orvex::MouseState());
        EXPECT_NEAR(manager().getShownScorePlus() - from, row.shown, 0.01f) << row.realDt;
    }
}

}  // namespace
