// The move's resolution and the game end: the scoring examples, keys opening locks, a variant
// without tableau won at once, the game-end signal once, a table with no move lost (also when
// the only move left would be a spent redeal), ratios of a table that started empty, an open
// extra card that its pile does not give up, an undo that resolves without scoring, and, played
// through the timed update as a player's frames drive it, no game lost while the table its cards
// glide to offers a move, and the hint list of a table an undo or a redo restored.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

#include "engine/core/Random.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/GameStyle.h"
#include "game/look/StyleSettings.h"
#include "tests/game/cards/PlayTable.h"

namespace {

using Solitaire::GameEndParms;
using Solitaire::HintRecord;
using Solitaire::Karte;
using Solitaire::Kartenstapel;

struct EndRecorder : sigslot::has_slots<> {
    std::vector<std::pair<bool, GameEndParms>> ends;
    std::vector<D3DXVECTOR4> unlocked;
    void onEnd(bool const& won, GameEndParms const& parms) { ends.emplace_back(won, parms); }
    void onUnlocked(D3DXVECTOR4 const& opened) { unlocked.push_back(opened); }
};

using cardtest::kGoalTable;

class GameEndTest : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        manager().gameEnd.connect(&recorder, &EndRecorder::onEnd);
        manager().cardsUnlocked.connect(&recorder, &EndRecorder::onUnlocked);
    }
    // Frames of dt seconds until every card has arrived (none glides or waits to) and no
    // resolution waits; ten seconds at most.
    void letCardsArrive(double dt = 1.0 / 60.0) {
        auto settled = [] {
            return !manager().getPlayState().resolutionPending &&
                   std::none_of(manager().cards.begin(), manager().cards.end(),
                                [](Karte const* card) { return card->isMoving() || card->waitTime > 0.0f; });
        };
        for (double t = 0.0; t < 10.0 && !settled(); t += dt) frames(1, dt);
    }
    EndRecorder recorder;
};

TEST_F(GameEndTest, ScoringExamples) {
    style().minMultipliers = 1;
    style().maxMultipliers = 10;
    style().multiplierBonus = 0.5f;
    style().moveOnZiel = 10.0f;
    style().moveFromZiel = -15.0f;
    startText(kGoalTable);
    float const before = manager().getScorePlus();
    float const achieved = counted(L"SCORE_CHANGED");
    // Two cards reach the goal in one move: 10 at factor 1, then 15 at factor 1.5.
    move(pile(L"T"), pile(L"Z"), 2);
    EXPECT_FLOAT_EQ(manager().getScorePlus() - before, 25.0f);
    EXPECT_EQ(style().getMultiplierCount(), 2u);
    EXPECT_EQ(manager().getGoalCardCount(), 2);
    EXPECT_FLOAT_EQ(counted(L"KARTEN_MOVE_TO_ZIEL"), 2.0f);
    EXPECT_FLOAT_EQ(counted(L"SCORE_CHANGED") - achieved, 25.0f);
    // A card taken back costs 15 and ends the multiplier; the score stops at 0.
    manager().setScore(5.0f, manager().getScoreMinus());
    manager().setPointsBalance(5.0f, false);
    move(pile(L"Z"), pile(L"T"), 1);
    EXPECT_EQ(manager().getScorePlus(), 0.0f);
    EXPECT_EQ(manager().getPointsBalance(), 0.0f);
    EXPECT_EQ(style().getMultiplierCount(), 0u);
    EXPECT_FLOAT_EQ(counted(L"SCORE_CHANGED") - achieved, 10.0f);
}

TEST_F(GameEndTest, AnUndoResolvesWithoutScoringAndLeavesTheScore) {
    startText(kGoalTable);
    move(pile(L"T"), pile(L"Z"), 1);
    float const scored = manager().getScorePlus();
    ASSERT_EQ(manager().undoSteps(-1, true, false), -1);
    EXPECT_EQ(manager().getScorePlus(), scored);
    EXPECT_EQ(manager().getGoalCardCount(), 0);
    expectInvariants();
}

TEST_F(GameEndTest, AKeyOnTheGoalOpensTheLocksItMatches) {
    startText(kGoalTable);
    std::vector<Karte*> held;
    pile(L"T").getCards(held, true, true);
    Karte* key = held.back();
    Karte* locked = held.front();
    Karte* other = held[3];
    // A third lock component whose key stays on the tableau keeps that component shut.
    held[5]->setKeys({0.0f, 0.0f, 1.0f, 0.0f}, 0.0f, 0.0f);
    key->setKeys({1.0f, 0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
    locked->setLocks({1.0f, 0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
    other->setLocks({1.0f, 0.0f, 1.0f, 0.0f}, 0.0f, 0.0f);
    move(pile(L"T"), pile(L"Z"), 1);
    EXPECT_FALSE(locked->isLocked());
    auto same = [](D3DXVECTOR4 const& a, D3DXVECTOR4 const& b) {
        return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
    };
    EXPECT_TRUE(same(key->keys.goal, {0.0f, 0.0f, 0.0f, 0.0f}));
    // Only the component a key opened drops.
    EXPECT_TRUE(same(other->locks.goal, {0.0f, 0.0f, 1.0f, 0.0f}));
    ASSERT_EQ(recorder.unlocked.size(), 1u);
    EXPECT_TRUE(same(recorder.unlocked[0], {1.0f, 0.0f, 0.0f, 0.0f}));
}

TEST_F(GameEndTest, AVariantWithoutTableauIsWonAtOnceAndTheEndIsSentOnce) {
    startText(L"<SOLITAIRE NAME=\"S\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\">"
              L"<STAPEL NAME=\"Z\" STAPELTYP=\"BASIS\" IS_ZIELSTAPEL=\"ZIEL\"><ANORDNUNG NAME=\"A\"/></STAPEL></SOLITAIRE>");
    EXPECT_EQ(manager().getGameStatus(), 1);
    ASSERT_EQ(recorder.ends.size(), 1u);
    EXPECT_TRUE(recorder.ends[0].first);
    EXPECT_EQ(recorder.ends[0].second.clearedRatio, 1.0f);
    manager().checkEnd();
    manager().finishGame();
    frames(5);
    EXPECT_EQ(recorder.ends.size(), 1u);
}

TEST_F(GameEndTest, ATableWithoutMovesIsLostAlsoWhenOnlyASpentRedealIsLeft) {
    // A stock emptied onto a waste that can give nothing: a redeal while "REST_COUNT_HOLEN" allows.
    auto table = [](int rest) {
        return L"<SOLITAIRE NAME=\"K\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\">"
               L"<STAPEL NAME=\"VORRAT\" STAPELTYP=\"VORRAT\" CLICK_ON_LEER=\"HOLEN_VERKN_ALLE HOLEN_xMULT\" "
               L"REST_COUNT_HOLEN=\"" + std::to_wstring(rest) + L"\" ACCEPT_KARTEN_FARBE_LEER=\"NICHTS\" CAN_MOVE_STAPEL=\"0\">"
               L"<ANORDNUNG NAME=\"A\"/><VERKNÜPFT>\"|MUELL|\"</VERKNÜPFT></STAPEL>"
               L"<STAPEL NAME=\"MUELL\" STAPELTYP=\"MUELL\" INIT_KARTEN_SICHTBAR=\"12\" CAN_MOVE_STAPEL=\"0\" ACCEPT_KARTEN_FARBE=\"NICHTS\"><ANORDNUNG NAME=\"A\"/></STAPEL>"
               L"<STAPEL NAME=\"T\" INIT_KARTEN_SICHTBAR=\"1\" CAN_MOVE_STAPEL=\"0\"><ANORDNUNG NAME=\"A\"/></STAPEL></SOLITAIRE>";
    };
    startText(table(1));
    EXPECT_EQ(manager().getGameStatus(), 0);
    EXPECT_FALSE(manager().getHints().empty());
    EXPECT_TRUE(recorder.ends.empty());
    // The one redeal is used up: nothing is left and the game is lost.
    ASSERT_TRUE(pile(L"VORRAT").onClickEmpty());
    manager().saveUndoState();
    EXPECT_TRUE(pile(L"MUELL").getCardsWithLinked().empty());
    EXPECT_EQ(manager().getGameStatus(), -1);
    EXPECT_EQ(recorder.ends.size(), 1u);
    // An empty stock whose redeals are spent offers nothing either.
    recorder.ends.clear();
    startText(table(0));
    EXPECT_EQ(manager().getGameStatus(), -1);
    ASSERT_EQ(recorder.ends.size(), 1u);
    EXPECT_FALSE(recorder.ends[0].first);
    EXPECT_EQ(recorder.ends[0].second.restCards, 1);
    EXPECT_FLOAT_EQ(recorder.ends[0].second.restRatio, 1.0f);
}

TEST_F(GameEndTest, RatiosOfATableThatStartedEmptyAreZero) {
    startText(L"<SOLITAIRE NAME=\"S\" ANZAHL_KARTEN=\"0\" AUTO_CHECK_END=\"0\"><STAPEL NAME=\"T\"><ANORDNUNG NAME=\"A\"/></STAPEL>"
              L"<STAPEL NAME=\"U\"><ANORDNUNG NAME=\"A\"/></STAPEL></SOLITAIRE>");
    GameEndParms const record = manager().makeGameEndParms(false);
    EXPECT_EQ(record.restRatio, 0.0f);
    EXPECT_EQ(record.clearedRatio, 0.0f);
    EXPECT_FALSE(std::isnan(manager().getClearedCardRatio()));
}

TEST_F(GameEndTest, AnOpenExtraCardItsPileDoesNotGiveUpEndsTheResolution) {
    startText(L"<SOLITAIRE NAME=\"S\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"2\" ANZAHL_STERNE=\"1\" AUTO_CHECK_END=\"0\">"
              L"<STAPEL NAME=\"T\" INIT_KARTEN_SICHTBAR=\"2\"><ANORDNUNG NAME=\"A\"/></STAPEL></SOLITAIRE>");
    Karte* extra = manager().cards.back();
    ASSERT_EQ(extra->suit, Karte::kSuitExtra);
    ASSERT_EQ(extra->pile, nullptr);
    // Listed twice, it stays open after one removal: collected once, and the passes end.
    Solitaire::Anordnung* root = pile(L"T").getRootArrangement();
    root->addCardEntry(extra);
    root->addCardEntry(extra);
    extra->setPile(&pile(L"T"));
    root->rebuildLinks();
    manager().resolveAfterMove(true);
    EXPECT_EQ(manager().getExtraCardsFound(), 1);
    root->removeCard(extra);
    extra->setPile(nullptr);
}

// Columns linked to free cells, as the cells' variant links its eight to four: a column that
// shows no card is empty, and a card in a cell counts once. (A card in a cell filled every
// column, and counted once per column, also as cleared when it came back.)
TEST_F(GameEndTest, ColumnsLinkedToCellsCountAsThePlayerSeesThem) {
    struct Case {
        std::vector<std::pair<wchar_t const*, wchar_t const*>> moves;  // one card each
        int emptyPiles, restCards;
        float cleared;  // "KARTEN_ABGEBAUT"
    } const cases[] = {
        {{{L"T1", L"C1"}}, 0, 4, 0.0f},
        {{{L"T1", L"C1"}, {L"C1", L"T1"}}, 0, 4, 0.0f},
        {{{L"T1", L"C1"}, {L"T1", L"C2"}}, 1, 4, 0.0f},
        {{{L"T1", L"Z"}, {L"T1", L"Z"}, {L"T2", L"C1"}, {L"T2", L"C2"}}, 2, 2, 2.0f},  // not won: the cells hold cards
        {{{L"T1", L"Z"}, {L"T1", L"Z"}, {L"T2", L"Z"}, {L"T2", L"Z"}}, 2, 0, 4.0f},
    };
    std::wstring const cell = L"STAPELTYP=\"RESERVE\"><ANORDNUNG NAME=\"A\"/></STAPEL>";
    std::wstring const column = L"INIT_KARTEN_SICHTBAR=\"2\"><ANORDNUNG NAME=\"A\"/><VERKNÜPFT>\"|C1|\" \"|C2|\"</VERKNÜPFT></STAPEL>";
    for (Case const& c : cases) {
        startText(L"<SOLITAIRE NAME=\"S\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"4\" AUTO_CHECK_END=\"0\"><STAPEL NAME=\"Z\" "
                  L"STAPELTYP=\"BASIS\" IS_ZIELSTAPEL=\"ZIEL\"><ANORDNUNG NAME=\"A\"/></STAPEL><STAPEL NAME=\"C1\" " + cell + L"<STAPEL NAME=\"C2\" " +
                  cell + L"<STAPEL NAME=\"T1\" " + column + L"<STAPEL NAME=\"T2\" " + column + L"</SOLITAIRE>");
        float const before = counted(L"KARTEN_ABGEBAUT");
        for (auto const& [from, to] : c.moves) move(pile(from), pile(to), 1);
        GameEndParms const record = manager().makeGameEndParms(false);
        EXPECT_EQ(record.emptyTableauPiles, c.emptyPiles) << c.moves.size();
        EXPECT_EQ(record.restCards, c.restCards) << c.moves.size();
        EXPECT_EQ(manager().getGameStatus(), c.restCards == 0 ? 1 : 0) << "won with the cells empty";
        EXPECT_FLOAT_EQ(counted(L"KARTEN_ABGEBAUT") - before, c.cleared);
    }
}

TEST_F(GameEndTest, TheGameStyleAVariantNamesScoresItsGame) {
    Solitaire::StyleSettings& settings = Solitaire::StyleSettings::instance();
    if (!settings.findGameStyle(L"ZEHNER")) {
        Orvex::XMLNode node;
        ASSERT_TRUE(node.loadFromText(L"<GAMESTYLE NAME=\"ZEHNER\" MOVE_ON_ZIEL=\"10\" AUTO_MULTIPLIER=\"0\"/>"));
        auto* named = new Solitaire::GameStyle(node);
        settings.addGameStyle(named);
        named->release();
    }
    std::wstring named = kGoalTable;
    named.replace(named.find(L"NAME=\"S\""), 8, L"NAME=\"S\" GAMESTYLE=\"ZEHNER\"");
    startText(named);
    EXPECT_EQ(manager().getGameStyle(), settings.findGameStyle(L"ZEHNER"));
    float const before = manager().getScorePlus();
    move(pile(L"T"), pile(L"Z"), 3);
    EXPECT_FLOAT_EQ(manager().getScorePlus() - before, 30.0f);
    // Emptied settings bring the fallback back, and the card manager follows.
    settings.clear();
    ASSERT_NE(settings.findGameStyle(L"DEFAULT"), nullptr);
    EXPECT_EQ(manager().getGameStyle(), settings.findGameStyle(L"DEFAULT"));
}

// Spider, game 3: the fifth press on the stock deals its last ten cards, and the table they land
// on offers moves, among them the ace onto the two, the jack onto the queen and the six onto the
// seven. (While the cards glided the hint list held none of their moves, and the game was lost
// within a second.) Played with no move before the last deal, and with the first move the table
// offers made on the way.
TEST_F(GameEndTest, SpiderGoesOnAfterItsLastDealWhileMovesAreOpen) {
    auto const firstMove = [](bool singleOntoCard) {
        return std::find_if(manager().getHints().begin(), manager().getHints().end(), [&](HintRecord const& hint) {
            return hint.isMove && (!singleOntoCard || (hint.run.size() == 1 && hint.targetCard));
        });
    };
    auto const play = [&](bool moveFirst) {
        recorder.ends.clear();
        start(cardtest::variantFile(L"Spinne"), L"3", false);  // dealt as free play deals it
        letCardsArrive();
        Kartenstapel& stock = pile(L"STAPEL_VORRAT");
        bool moved = false;
        for (int deal = 1; deal <= 5; ++deal) {
            if (moveFirst && !moved && manager().rebuildHints() > 0 && firstMove(false) != manager().getHints().end()) {
                ASSERT_TRUE(playHint(HintRecord(*firstMove(false))));
                letCardsArrive();
                moved = true;
            }
            std::vector<Karte*> held;
            stock.getCards(held, true, true);
            ASSERT_FALSE(held.empty()) << "deal " << deal;
            press(at(held.back()));
            release(at(held.back()));
            frames(60);
            ASSERT_EQ(static_cast<int>(manager().getGameStatus()), 0) << "deal " << deal;
        }
        EXPECT_EQ(moved, moveFirst);
        std::vector<Karte*> left;
        stock.getCards(left, true, true);
        EXPECT_TRUE(left.empty());
        letCardsArrive();
        EXPECT_TRUE(recorder.ends.empty());
        // Played on: the hint list, once the cards have landed, names the moves open; a card
        // dragged onto the card its move names lands there.
        auto const single = firstMove(true);
        ASSERT_NE(single, manager().getHints().end());
        Karte* card = single->card;
        Kartenstapel* target = single->targetPile;
        drag(at(card), at(single->targetCard));
        letCardsArrive();
        EXPECT_EQ(card->pile, target);
        EXPECT_EQ(static_cast<int>(manager().getGameStatus()), 0);
    };
    for (bool const moveFirst : {false, true}) {
        SCOPED_TRACE(moveFirst ? "a move on the way" : "no move");
        play(moveFirst);
    }
}

// Random play of every shipped variant through the timed update, the frames running after each
// move until every card has arrived: a game declared lost offers no move on that table.
TEST_F(GameEndTest, NoVariantIsLostWhileTheTableItsCardsGlideToHoldsAMove) {
    // Sized for the sanitizer build (seconds): deals on, by seed, until a variant made its moves.
    constexpr int kMovesPerVariant = 120;
    constexpr int kMovesPerGame = 60;
    constexpr int kMostGames = 20;  // a variant whose games end at once
    // Glides and delays run on game time: a coarse frame only shortens the wait.
    constexpr double kFrame = 0.25;
    std::ostringstream wrong;
    int lostGames = 0, lostWithMoves = 0;
    for (std::wstring const& file : cardtest::shippedVariants()) {
        std::mt19937 random(20261207);
        int lost = 0, withMoves = 0;
        for (int seed = 1, moves = 0; moves < kMovesPerVariant && seed <= kMostGames; ++seed) {
            // The engine's generator jitters the cards in their places: each run lays the same table.
            Orvex::seedRandom(static_cast<Orvex::u64>(seed));
            start(file, std::to_wstring(seed));
            letCardsArrive();
            for (int step = 0; step < kMovesPerGame && manager().getGameStatus() == 0; ++step, ++moves) {
                // The list the last resolution built, else the whole table's; a player's choice by
                // the hints' weights (cumulative fractions).
                if (manager().getHints().empty() && manager().rebuildHints() == 0) break;
                std::vector<HintRecord> const& hints = manager().getHints();
                float const pick = std::uniform_real_distribution<float>(0.0f, hints.back().weight)(random);
                auto const chosen = std::find_if(hints.begin(), hints.end(),
                                                 [pick](HintRecord const& hint) { return hint.weight >= pick; });
                HintRecord const hint = chosen == hints.end() ? hints.back() : *chosen;
                ASSERT_TRUE(playHint(hint));
                letCardsArrive(kFrame);
            }
            if (manager().getGameStatus() == -1) {
                ++lost;
                withMoves += manager().rebuildHints() > 0 ? 1 : 0;
            }
        }
        if (lost > 0) wrong << cardtest::narrow(file) << ": " << withMoves << " of " << lost << "; ";
        lostGames += lost;
        lostWithMoves += withMoves;
    }
    EXPECT_EQ(lostWithMoves, 0) << "lost games that held a move: " << wrong.str();
    EXPECT_GT(lostGames, 0) << "no game was lost: the check saw nothing";
}

// An undo or a redo restores a table whose hint list is that table's, once its cards have
// landed; the list the move's resolution built for the table left behind named cards that are
// no longer there, and a paid hint showed one of them.
TEST_F(GameEndTest, TheHintListAfterAnUndoOrARedoIsTheRestoredTables) {
    using Move = std::tuple<Karte const*, Kartenstapel const*, Karte const*>;
    auto const shown = [] {
        std::set<Move> out;
        for (HintRecord const& hint : manager().getHints())
            if (hint.isMove) out.emplace(hint.card, hint.targetPile, hint.targetCard);
        return out;
    };
    // The list after the step, once the cards have landed, against the list built afresh.
    auto const step = [&](int steps) {
        EXPECT_EQ(manager().undoSteps(steps, true, false), steps);
        letCardsArrive();
        std::set<Move> const listed = shown();
        manager().rebuildHints();
        EXPECT_TRUE(listed == shown()) << listed.size() << " listed, " << shown().size() << " on the table";
        return listed;
    };
    for (wchar_t const* variant : {L"Spinne", L"Zellen"}) {
        SCOPED_TRACE(cardtest::narrow(variant));
        start(cardtest::variantFile(variant), L"3", false);
        letCardsArrive();
        ASSERT_GT(manager().rebuildHints(), 0);
        std::set<Move> const before = shown();
        auto const move = std::find_if(manager().getHints().begin(), manager().getHints().end(),
                                       [](HintRecord const& hint) { return hint.isMove; });
        ASSERT_NE(move, manager().getHints().end());
        ASSERT_TRUE(playHint(HintRecord(*move)));
        letCardsArrive();
        std::set<Move> const after = shown();
        EXPECT_TRUE(step(-1) == before) << "undo";
        EXPECT_TRUE(step(1) == after) << "redo";
    }
}

}  // namespace
