// Undo and redo steps of the whole table: the refusal against the score the player sees, the
// steps of an automatic finish, a redeal given back with its step, and tables with jokers and
// wildcards restored exactly as the step left them (the three smallest cases, then a seeded random
// player over the shipped variants).
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "engine/core/Random.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "tests/game/cards/PlayTable.h"
#include "tests/game/cards/RunningGameTable.h"

namespace Solitaire {
namespace {

using cardtest::CardPlace;
using cardtest::snapshotTable;

class UndoStepsTest : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        saved_ = look();
        // Only the bought jokers and wildcards: the dealt ones come from the engine's generator.
        style().maxWildcards = style().maxJokers = 0;
    }
    void TearDown() override {
        look() = saved_;
        PlayTable::TearDown();
    }
    static StyleValues& look() { return *StyleSettings::instance().getStyle(); }

    // Zellen with one bought joker on its pile, everything at rest.
    Karte* zellenWithJoker() {
        start(L"data\\Level\\Zellen.sol", L"5", true, {}, {{0, 0}}, 1000.0f);
        frames(120);
        Karte* joker = manager().cards.back();
        EXPECT_TRUE(joker->isJoker);
        EXPECT_EQ(joker->pile, &pile(L"JOKER"));
        return joker;
    }
    // A press on the bare table, as before any move: it completes a waiting resolution.
    void pressAside() {
        press({-1.0e6f, -1.0e6f});
        release({-1.0e6f, -1.0e6f});
    }

private:
    StyleValues saved_;
};

TEST_F(UndoStepsTest, AnUndoIsRefusedWhenItCostsMoreThanTheShownScoreOrTheBalance) {
    struct Case {
        float score, bonus, balance;
        bool undone;
    } const cases[] = {
        {70.0f, -50.0f, 1000.0f, false},  // shown 20, the undo costs 50
        {100.0f, -50.0f, 1000.0f, true},  // shown 50
        {1000.0f, 0.0f, 49.0f, false},
        {50.0f, 0.0f, 50.0f, true},
    };
    for (Case const& c : cases) {
        startText(cardtest::kGoalTable);
        style().undoPoints = -50.0f;
        move(pile(L"T"), pile(L"Z"), 1);
        Orvex::s32 const index = manager().getUndoIndex();
        manager().setScore(c.score, c.bonus);
        manager().setPointsBalance(c.balance, false);
        EXPECT_EQ(manager().undoSteps(-1, false, false), c.undone ? -1 : 0) << c.score << " " << c.bonus;
        EXPECT_EQ(manager().getUndoIndex(), c.undone ? index - 1 : index);
        EXPECT_EQ(manager().getScorePlus(), c.undone ? c.score - 50.0f : c.score);
        EXPECT_GE(manager().getScore(), 0.0f);
    }
}

// The smallest cases with a joker: laid on a column or a foundation it stays; come free on a
// column it waits there for its move's resolution (two seconds, so that it is seen) and then goes
// home.
TEST_F(UndoStepsTest, AnUndoGivesTheJokerBackWhereTheStepLeftIt) {
    Karte* joker = zellenWithJoker();
    move(pile(L"JOKER"), pile(L"TABLEAU1"), 1);
    ASSERT_EQ(joker->pile, &pile(L"TABLEAU1"));
    frames(90);  // the joker arrives
    std::vector<CardPlace> const onTableau = snapshotTable();
    // A card laid on the joker, then taken back.
    move(pile(L"TABLEAU2"), pile(L"TABLEAU1"), 1);
    ASSERT_EQ(manager().undoSteps(-1, true, false), -1);
    EXPECT_EQ(joker->pile, &pile(L"TABLEAU1"));
    EXPECT_EQ(snapshotTable(), onTableau);
    frames(180);
    EXPECT_EQ(snapshotTable(), onTableau);
}

TEST_F(UndoStepsTest, ARedoWithNothingToRedoChangesNothing) {
    Karte* joker = zellenWithJoker();
    move(pile(L"JOKER"), pile(L"BASIS1"), 1);
    frames(90);  // the joker arrives
    std::vector<CardPlace> const table = snapshotTable();
    float const score = manager().getScorePlus();
    EXPECT_EQ(manager().undoSteps(1, false, false), 0);
    EXPECT_EQ(joker->pile, &pile(L"BASIS1"));
    EXPECT_EQ(snapshotTable(), table);
    EXPECT_EQ(manager().getScorePlus(), score);
    frames(180);
    EXPECT_EQ(snapshotTable(), table);
}

TEST_F(UndoStepsTest, AJokerSentHomeAfterItsStepStaysHomeWhenTheNextStepIsUndone) {
    for (bool undoAtOnce : {false, true}) {
        SCOPED_TRACE(undoAtOnce);
        Karte* joker = zellenWithJoker();
        // As the deal leaves one: the joker in the first column under its top card, which a move
        // then takes off.
        std::vector<Karte*> held;
        pile(L"TABLEAU1").getCards(held, true, true);
        Karte* top = held.back();
        pile(L"TABLEAU1").removeCard(top, true);
        pile(L"JOKER").removeCard(joker, true);
        pile(L"TABLEAU1").addCard(joker, nullptr, true, false);
        pile(L"TABLEAU1").addCard(top, nullptr, true, false);
        manager().saveUndoState();
        frames(90);
        move(pile(L"TABLEAU1"), pile(L"ZELLE3"), 1);
        frames(90);  // the joker is seen where it came free
        // The next move comes within the wait that shows the free joker; it goes home after it.
        move(pile(L"TABLEAU2"), pile(L"ZELLE1"), 1);
        ASSERT_TRUE(manager().getPlayState().resolutionPending);
        ASSERT_EQ(joker->pile, &pile(L"TABLEAU1"));
        if (undoAtOnce) {
            // An undo within the wait completes the step it leaves first.
            ASSERT_EQ(manager().undoSteps(-1, true, false), -1);
            ASSERT_EQ(manager().undoSteps(1, true, false), 1);
            EXPECT_EQ(joker->pile, &pile(L"JOKER"));
            continue;
        }
        frames(180);
        ASSERT_EQ(joker->pile, &pile(L"JOKER"));
        std::vector<CardPlace> const home = snapshotTable();
        move(pile(L"TABLEAU3"), pile(L"ZELLE2"), 1);
        ASSERT_EQ(manager().undoSteps(-1, true, false), -1);
        EXPECT_EQ(joker->pile, &pile(L"JOKER"));
        EXPECT_EQ(snapshotTable(), home);
    }
}

// Fourteen hearts, one on each column, and a goal pile that takes them from the ace up: a finish
// moves thirteen (the second ace stays).
std::wstring finishTable() {
    std::wstring columns;
    for (int i = 1; i <= 14; ++i) columns += L"\"|T" + std::to_wstring(i) + L"|\" ";
    std::wstring text = L"<SOLITAIRE NAME=\"F\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"14\" AUTO_CHECK_END=\"0\">"
                        L"<STAPEL NAME=\"G\" STAPELTYP=\"BASIS\" IS_ZIELSTAPEL=\"ZIEL\" ACCEPT_KARTEN_FARBE=\"VORHERIGE\" "
                        L"ACCEPT_KARTEN_WERT=\"VORHERIGE_PLUS\" ACCEPT_KARTEN_WERT_LEER=\"ASS\"><ANORDNUNG NAME=\"A\"/>"
                        L"<QUELLSTAPEL>" + columns + L"</QUELLSTAPEL></STAPEL>";
    for (int i = 1; i <= 14; ++i)
        text += L"<STAPEL NAME=\"T" + std::to_wstring(i) +
                L"\" INIT_KARTEN_SICHTBAR=\"1\"><ANORDNUNG NAME=\"A\"/><ZIELSTAPEL>\"|G|\"</ZIELSTAPEL></STAPEL>";
    return text + L"</SOLITAIRE>";
}

TEST_F(UndoStepsTest, AFinishOfThirteenCardsIsUndoneOneCardAtATime) {
    struct Case {
        bool spaced;  // "USE_AUTOCHECKAUTOFINISH": the resolutions wait a step's time per move
        int resolvedAfterFrames;
    } const cases[] = {{false, 0}, {true, 90}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.spaced);
        look().useAutoCheckAutoFinish = c.spaced;
        look().revealWaitTimer = 0.1f;
        startText(finishTable());
        frames(2);
        Orvex::s32 const start = manager().getUndoIndex();
        ASSERT_TRUE(manager().autoFinish(nullptr));
        EXPECT_EQ(manager().getPlayState().autoMoveCount, -1);
        EXPECT_EQ(manager().getUndoIndex(), start + 13);
        if (c.spaced) {
            // Thirteen moves wait 13 x 0.1 s for their resolution.
            EXPECT_TRUE(manager().getPlayState().resolutionPending);
            EXPECT_NEAR(manager().getPlayState().resolutionDelay, 1.3f, 1.0e-4f);
            EXPECT_EQ(manager().getGoalCardCount(), 0);
        }
        frames(c.resolvedAfterFrames);
        EXPECT_EQ(manager().getGoalCardCount(), 13);
        for (std::size_t left = 12; left + 1 > 0; --left) {
            ASSERT_EQ(manager().undoSteps(-1, true, false), -1);
            std::vector<Karte*> held;
            pile(L"G").getCards(held, true, true);
            ASSERT_EQ(held.size(), left);
            if (left > 0) EXPECT_EQ(held.back()->value, static_cast<int>(left) - 1);
            EXPECT_EQ(manager().getGoalCardCount(), static_cast<int>(left));
        }
        EXPECT_EQ(manager().getUndoIndex(), start);
        expectInvariants();
    }
}

TEST_F(UndoStepsTest, AnUndoneRedealIsGivenBackAndTheGameGoesOn) {
    start(L"data\\Level\\GoldrauschDrei.sol", L"3");
    frames(2);
    // Nothing moves but the one redeal left.
    cardtest::layStuckGoldrauschDrei(manager());
    Kartenstapel& stock = pile(L"STAPEL_VORRAT");
    stock.rules.restCount = 1;
    manager().saveUndoState();
    ASSERT_EQ(manager().rebuildHints(), 1);
    ASSERT_TRUE(stock.onClickEmpty());
    manager().saveUndoState();
    ASSERT_EQ(manager().undoSteps(-1, true, false), -1);
    EXPECT_EQ(manager().rebuildHints(), 1) << "the redeal is offered again";
    EXPECT_FALSE(manager().checkEnd());
    EXPECT_EQ(manager().getGameStatus(), 0);
    EXPECT_TRUE(stock.onClickEmpty());
}

// A seeded player over the shipped variants: moves from the hint list and jokers and wildcards
// laid out from their piles, undo and redo, with no time, a frame, half a second or long enough
// for everything to rest between. The table of every step is taken when the step is left (after
// the press that completes a waiting resolution); every undo and redo must give it back exactly.
TEST_F(UndoStepsTest, EveryUndoAndRedoGivesBackTheTableOfItsStep) {
    constexpr int kActionsPerGame = 60;
    for (std::wstring const& file : cardtest::shippedVariants()) {
        SCOPED_TRACE(cardtest::narrow(file));
        // The variant with jokers, wildcards, an extra card, keys and locks plays longest.
        int const kActionsPerVariant = file.find(L"Zellen") != std::wstring::npos ? 300 : 100;
        Orvex::seedRandom(1207);
        std::mt19937 random(20261208);
        int actions = 0, games = 0, undos = 0, redos = 0, specialMoves = 0;
        while (actions < kActionsPerVariant) {
            start(file, std::to_wstring(++games), true, {{3, 3}}, {{0, 0}, {1, 1}}, 1000.0f);
            std::vector<std::optional<std::vector<CardPlace>>> steps(manager().getUndoCount());
            for (int inGame = 0; inGame < kActionsPerGame && manager().getGameStatus() == 0; ++inGame, ++actions) {
                switch (random() % 4) {
                case 1: frames(1); break;
                case 2: frames(30); break;
                case 3: frames(2, 1.0); break;
                default: break;
                }
                pressAside();
                if (manager().getGameStatus() != 0) break;
                std::size_t const index = static_cast<std::size_t>(manager().getUndoIndex());
                ASSERT_EQ(steps.size(), manager().getUndoCount());
                if (!steps[index]) steps[index] = snapshotTable();

                int const action = static_cast<int>(random() % 10);
                int stepped = 0;
                if (action < 2 && index > 0) {
                    int const wanted = 1 + static_cast<int>(random() % 3);
                    stepped = manager().undoSteps(-wanted, true, false);
                    ASSERT_EQ(stepped, -std::min(wanted, static_cast<int>(index)));
                    ++undos;
                } else if (action < 3 && index + 1 < steps.size()) {
                    int const wanted = 1 + static_cast<int>(random() % 2);
                    stepped = manager().undoSteps(wanted, true, false);
                    ASSERT_EQ(stepped, std::min(wanted, static_cast<int>(steps.size() - 1 - index)));
                    ++redos;
                }
                if (stepped != 0) {
                    std::size_t const now = static_cast<std::size_t>(manager().getUndoIndex());
                    ASSERT_TRUE(steps[now].has_value());
                    std::vector<CardPlace> const here = snapshotTable();
                    ASSERT_EQ(here.size(), steps[now]->size());
                    for (std::size_t i = 0; i < here.size(); ++i)
                        ASSERT_TRUE(here[i] == (*steps[now])[i])
                            << "card " << i << " on pile " << here[i].pile << " (was " << (*steps[now])[i].pile
                            << ") at step " << now << " after " << stepped << ", game " << games;
                    ASSERT_NO_FATAL_FAILURE(expectInvariants());
                    continue;
                }

                // A joker or wildcard from its pile, else a move of the hint list.
                std::vector<std::pair<Karte::LinkedCards, Kartenstapel*>> special;
                if (action == 3)
                    for (Kartenstapel* from : manager().piles) {
                        if (!from->isSpecialPile()) continue;
                        for (Karte* card : from->collectFreeCards()) {
                            if (!from->canPickCard(card)) continue;
                            Karte::LinkedCards run;
                            from->collectCarriedRun(card, run);
                            for (Kartenstapel* to : manager().piles)
                                if (to != from && to->acceptsCards(run, nullptr)) special.emplace_back(run, to);
                        }
                    }
                if (!special.empty()) {
                    auto const& [run, to] = special[random() % special.size()];
                    manager().executeMove(run, run.front().first->pile, to, run.front().first);
                    ++specialMoves;
                } else {
                    manager().rebuildHints();
                    if (manager().getHints().empty()) break;
                    HintRecord const hint = manager().getHints()[random() % manager().getHints().size()];
                    if (hint.isMove) manager().executeMove(hint.run, hint.sourcePile, hint.targetPile, hint.card);
                    else if (hint.clickCard && !hint.sourcePile->onClickHidden(hint.card)) continue;
                    else if (hint.clickEmpty && !hint.sourcePile->onClickEmpty()) continue;
                }
                manager().saveUndoState();
                steps.resize(static_cast<std::size_t>(manager().getUndoIndex()));
                steps.emplace_back();
                ASSERT_NO_FATAL_FAILURE(expectInvariants());
            }
        }
        EXPECT_GT(undos, kActionsPerVariant / 10);
        EXPECT_GT(redos, kActionsPerVariant / 50);
        if (file.find(L"Zellen") != std::wstring::npos) EXPECT_GT(specialMoves, 5);
    }
}

}  // namespace
}  // namespace Solitaire
