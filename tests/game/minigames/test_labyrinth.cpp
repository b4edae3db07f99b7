// The labyrinth on the shipped data ("MINIGAME_11": 3 x 3 tiles, straight, corner and T, the ring
// open toward the board) played by clicks through the window, and labyrinths defined here
// without a window for the deal, the pushes and the keys over many seeds. To win, the test reads
// the board into a model of its own, searches it for the fewest pushes and plays them by clicks.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/Labyrinth.h"
#include "port/crt/crt.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/LabyrinthSearch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Labyrinth;
using Tile = Solitaire::Labyrinth::Tile;
using Cell = Solitaire::Labyrinth::Cell;

constexpr int kSeeds = 200;

class LabyrinthFixture : public minigametest::MinigameFixture {
protected:
    Labyrinth* lab = nullptr;

    D3DXVECTOR2 cellOnScreen(Cell c) const {
        Orvex::SpriteRect const r =
            lab->getTileRect(D3DXVECTOR2(static_cast<float>(c.x), static_cast<float>(c.y)), 0.0f);
        return D3DXVECTOR2(std::floor(r.x + r.w * 0.5f), std::floor(r.y + r.h * 0.5f));
    }
    // A place of the field away from every entrance: the middle of the board.
    D3DXVECTOR2 away() const { return cellOnScreen({(lab->getColumns() + 1) / 2, (lab->getRows() + 1) / 2}); }

    // Finds a solution in the model and plays it by clicks.
    void win() {
        std::vector<labyrinthtest::Move> moves;
        ASSERT_TRUE(labyrinthtest::findPushes(*lab, 6, moves)) << "no solution within six pushes";
        for (labyrinthtest::Move const& move : moves) {
            for (int k = 0; k < move.turns; ++k) click(away());
            click(cellOnScreen(move.at));
        }
    }
};

class LabyrinthTest : public LabyrinthFixture {
protected:
    void SetUp() override {
        LabyrinthFixture::SetUp();
        lab = play<Labyrinth>(L"MINIGAME_11");
        ASSERT_NE(lab, nullptr);
        ASSERT_TRUE(lab->hasBoard());
        log.lines.clear();
    }
};

TEST_F(LabyrinthTest, WonByPushesFoundOnTheBoard) {
    wait(1.1);
    keep("labyrinth_start");
    win();
    ASSERT_TRUE(lab->isFinished(false));
    EXPECT_EQ(log.count(L"wrong"), 0u);
    EXPECT_GE(log.count(L"move"), 1u);
    // Solved: further clicks change nothing.
    std::size_t const moves = log.count(L"move");
    Tile* spare = lab->getSpareTile();
    click(away());
    click(cellOnScreen(lab->entranceToCell(0)));
    EXPECT_EQ(log.count(L"move"), moves);
    EXPECT_EQ(lab->getSpareTile(), spare);
    wait(0.5);
    keep("labyrinth_geloest");
    waitForTheEnd(*lab);
    expectWon();
}

TEST_F(LabyrinthTest, LostWhenTheTimeRunsOutAndTheSecondSkipButtonIsClicked) {
    click(away());
    loseByTime();
    expectSkipped();
}

TEST_F(LabyrinthTest, TheCancelButtonClosesIt) {
    clickPart(L"LABYRINTH_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
    EXPECT_EQ(log.count(L"ended"), 0u);
}

TEST_F(LabyrinthTest, APushFromTheLeftMovesTheRowRightAndTheTileAtItsEndBecomesTheSpare) {
    int const columns = lab->getColumns();
    int const y = 2;
    std::vector<Tile*> row;
    for (int x = 1; x <= columns; ++x) row.push_back(lab->tileAt(x, y));
    Tile* const spare = lab->getSpareTile();
    // Keep the route shut by this push: pushes are judged, and a solved game takes no more.
    if (lab->isReachable(lab->getStart(), lab->getGoal())) GTEST_SKIP();
    click(cellOnScreen({0, y}));
    wait(1.1);
    EXPECT_EQ(lab->tileAt(1, y), spare);
    for (int x = 2; x <= columns; ++x) EXPECT_EQ(lab->tileAt(x, y), row[static_cast<std::size_t>(x - 2)]) << x;
    EXPECT_EQ(lab->getSpareTile(), row.back());
    // Each slid to its new place, the new spare beside the ring.
    for (int x = 1; x <= columns; ++x) {
        D3DXVECTOR2 const at = lab->tileAt(x, y)->position.current;
        EXPECT_FLOAT_EQ(at.x, static_cast<float>(x));
        EXPECT_FLOAT_EQ(at.y, static_cast<float>(y));
    }
    EXPECT_EQ(lab->getSpareTile()->position.current, lab->getSparePosition());
    EXPECT_EQ(log.count(L"move"), 1u);
}

TEST_F(LabyrinthTest, ClicksAwayFromTheEntrancesTurnTheSpareAndFourTurnsRestoreIt) {
    struct Case {
        bool right;
        std::array<bool, 4> (*turned)(std::array<bool, 4> const&);
    };
    Case const cases[] = {
        {false, [](std::array<bool, 4> const& o) { return std::array<bool, 4>{o[3], o[0], o[1], o[2]}; }},
        {true, [](std::array<bool, 4> const& o) { return std::array<bool, 4>{o[1], o[2], o[3], o[0]}; }},
    };
    for (Case const& c : cases) {
        Tile* spare = lab->getSpareTile();
        std::array<bool, 4> const before = spare->open;
        float const angle = spare->rotation.goal;
        auto turn = [&]() { c.right ? rightClick(away()) : click(away()); };
        turn();
        EXPECT_EQ(spare->open, c.turned(before)) << (c.right ? "right" : "left");
        for (int k = 0; k < 3; ++k) turn();
        EXPECT_EQ(spare->open, before);
        EXPECT_FLOAT_EQ(spare->rotation.goal, angle + (c.right ? -360.0f : 360.0f));
        wait(1.1);
        EXPECT_FLOAT_EQ(spare->rotation.current, spare->rotation.goal);
    }
    EXPECT_EQ(log.count(L"move"), 8u);
}

class LabyrinthPlayTest : public LabyrinthFixture {};

TEST_F(LabyrinthPlayTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    auto const play = [this](Solitaire::Minispiel& game) {
        lab = dynamic_cast<Labyrinth*>(&game);
        ASSERT_NE(lab, nullptr);
        win();
    };
    SeededRun const first = playFromSeed(99, L"MINIGAME_11", play);
    SeededRun const second = playFromSeed(99, L"MINIGAME_11", play);
    expectWon();
    EXPECT_EQ(first.signals, second.signals);
    EXPECT_TRUE(first.picture == second.picture);
}

TEST_F(LabyrinthPlayTest, WithoutItsTilesThereIsNoBoardALogLineAndItCanBeSkipped) {
    logtest::LogWatch watch;
    define(L"<MINISPIEL TYPE=\"LABYRINTH\" NAME=\"L\" LSG_TIME=\"1\" SIZE=\"3\">\n<TILE OFFENE_SEITEN=\"1\"/>"
           L"<START/></MINISPIEL>");
    bool logged = false;
    for (std::wstring const& line : watch.lines())
        logged = logged || (logtest::contains(line, L"\"test.min\" at line 1") && logtest::contains(line, L"\"EINGANG\"") &&
                            logtest::contains(line, L"\"ZIEL\"") && !logtest::contains(line, L"\"TILE\""));
    EXPECT_TRUE(logged);
    lab = play<Labyrinth>(L"L");
    ASSERT_NE(lab, nullptr);
    EXPECT_FALSE(lab->hasBoard());
    log.lines.clear();
    click(middleOf(lab->getField()->getScreenRect()));
    rightClick(middleOf(lab->getField()->getScreenRect()));
    EXPECT_TRUE(log.lines.empty());
    loseByTime();
    expectSkipped();
}

// ---- without a window ----

std::unique_ptr<Labyrinth> make(std::wstring const& keys, std::wstring const& tiles) {
    Orvex::XMLNode node;
    node.loadFromText(L"<MINISPIEL TYPE=\"LABYRINTH\" NAME=\"L\" PR\u00C4FIX=\"KEIN_\" " + keys + L">" + tiles +
                          L"<EINGANG OFFENE_SEITEN=\"0 0 1 0\"/><START/><ZIEL/></MINISPIEL>",
                      L"test.min");
    auto lab = std::make_unique<Labyrinth>(node);
    lab->init();
    return lab;
}

std::wstring const kTiles = L"<TILE OFFENE_SEITEN=\"1 0 1 0\"/><TILE OFFENE_SEITEN=\"1 1 0 0\" PROP=\"2\"/>"
                            L"<TILE OFFENE_SEITEN=\"1 1 1 0\"/>";

TEST(LabyrinthBoardTest, NoGameStartsSolvedAndStartAndGoalDifferInRowAndColumn) {
    for (wchar_t const* size : {L"3", L"4 2", L"1", L"5 1"}) {
        auto lab = make(std::wstring(L"SIZE=\"") + size + L"\"", kTiles);
        for (int seed = 1; seed <= kSeeds; ++seed) {
            msvc::srand(static_cast<unsigned>(seed));
            lab->start();
            Cell const s = lab->getStart();
            Cell const g = lab->getGoal();
            std::string const what = minigametest::narrow(size) + ", seed " + std::to_string(seed);
            EXPECT_FALSE(lab->isReachable(s, g)) << what;
            EXPECT_NE(s.x, g.x) << what;
            EXPECT_NE(s.y, g.y) << what;
            // Both on the ring, off its corners, and the board full.
            for (Cell c : {s, g}) {
                bool const side = c.x == 0 || c.x == lab->getColumns() + 1;
                bool const end = c.y == 0 || c.y == lab->getRows() + 1;
                EXPECT_NE(side, end) << what;
            }
            for (int x = 1; x <= lab->getColumns(); ++x)
                for (int y = 1; y <= lab->getRows(); ++y) EXPECT_NE(lab->tileAt(x, y), nullptr) << what;
        }
    }
}

// A player can always win: every deal of the shipped tiles on the shipped board opens within a
// few pushes (the most over thousands of seeds is four).
TEST(LabyrinthBoardTest, EveryDealOfTheShippedTilesCanBeOpenedWithinFourPushes) {
    auto lab = make(L"SIZE=\"3\"", kTiles);
    for (int seed = 1; seed <= kSeeds; ++seed) {
        msvc::srand(static_cast<unsigned>(seed));
        lab->start();
        std::vector<labyrinthtest::Move> moves;
        EXPECT_TRUE(labyrinthtest::findPushes(*lab, 4, moves)) << "seed " << seed;
    }
}

TEST(LabyrinthBoardTest, TheRingIsNumberedClockwiseFromTheTopLeftAndItsTilesOpenInward) {
    auto lab = make(L"SIZE=\"3 2\"", kTiles);
    struct Case {
        int e;
        Cell cell;
        int openSide;
    };
    Case const cases[] = {
        {0, {1, 0}, Labyrinth::kDown},  {2, {3, 0}, Labyrinth::kDown},  {3, {4, 1}, Labyrinth::kLeft},
        {4, {4, 2}, Labyrinth::kLeft},  {5, {1, 3}, Labyrinth::kUp},    {7, {3, 3}, Labyrinth::kUp},
        {8, {0, 1}, Labyrinth::kRight}, {9, {0, 2}, Labyrinth::kRight}, {10, {1, 0}, Labyrinth::kDown},
        {-1, {0, 2}, Labyrinth::kRight},
    };
    for (Case const& c : cases) {
        EXPECT_EQ(lab->entranceToCell(c.e), c.cell) << c.e;
        Tile const* tile = lab->tileAt(c.cell.x, c.cell.y);
        ASSERT_NE(tile, nullptr) << c.e;
        for (int side = 0; side < 4; ++side) EXPECT_EQ(tile->open[static_cast<std::size_t>(side)], side == c.openSide) << c.e;
    }
    EXPECT_EQ(lab->tileAt(0, 0), nullptr);
}

TEST(LabyrinthBoardTest, OpenSidesReadOneValueForAllAndEachFurtherValueFromItsSideOn) {
    struct Case {
        wchar_t const* sides;
        std::array<bool, 4> open;
    };
    Case const cases[] = {
        {L"1", {true, true, true, true}},         {L"0 1", {false, true, true, true}},
        {L"1 0 1 0", {true, false, true, false}}, {L"1 0", {true, false, false, false}},
        {L"", {false, false, false, false}},
    };
    for (Case const& c : cases) {
        auto lab = make(L"", std::wstring(L"<TILE OFFENE_SEITEN=\"") + c.sides + L"\"/>");
        EXPECT_EQ(lab->getPrototypes()[0]->open, c.open) << minigametest::narrow(c.sides);
    }
}

TEST(LabyrinthBoardTest, WeightsOfOneAndThreeGiveAQuarterOfThePool) {
    std::size_t first = 0;
    std::size_t all = 0;
    for (int seed = 1; seed <= 5; ++seed) {
        msvc::srand(static_cast<unsigned>(seed));
        // Two openings (straight) against three (T): turns keep the count.
        auto lab = make(L"SIZE=\"16\"", L"<TILE OFFENE_SEITEN=\"1 0 1 0\"/><TILE OFFENE_SEITEN=\"1 1 1 0\" PROP=\"3\"/>");
        EXPECT_EQ(lab->getTileChances(), (std::vector<float>{0.25f, 1.0f}));
        for (Tile const* tile : lab->getPool()) {
            first += std::count(tile->open.begin(), tile->open.end(), true) == 2 ? 1 : 0;
            ++all;
        }
    }
    ASSERT_EQ(all, 5u * (16u * 16u + 1u));
    double const share = static_cast<double>(first) / static_cast<double>(all);
    EXPECT_NEAR(share, 0.25, 0.04);
}

TEST(LabyrinthBoardTest, TilesOpenOnAllSidesEndThePushingWithALogLine) {
    logtest::LogWatch watch;
    auto lab = make(L"SIZE=\"3\"", L"<TILE OFFENE_SEITEN=\"1\"/>");
    std::size_t logged = 0;
    for (std::wstring const& line : watch.lines())
        logged += logtest::contains(line, L"at line 1") && logtest::contains(line, L"no push breaks") ? 1 : 0;
    EXPECT_EQ(logged, 1u);
    EXPECT_TRUE(lab->isReachable(lab->getStart(), lab->getGoal()));
}

TEST(LabyrinthBoardTest, BadSizesAndWeightsKeepTheDefaultsWithALogLine) {
    struct Case {
        wchar_t const* keys;
        wchar_t const* tiles;
        wchar_t const* logged;
        int columns, rows;
        std::vector<float> chances;
    };
    Case const cases[] = {
        {L"SIZE=\"0\"", L"<TILE/>", L"\"SIZE\"", 4, 4, {1.0f}},
        {L"SIZE=\"3 1000\"", L"<TILE/>", L"\"SIZE\"", 4, 4, {1.0f}},
        {L"", L"<TILE PROP=\"-1\"/><TILE/>", L"\"PROP\"", 4, 4, {0.5f, 1.0f}},
        {L"", L"<TILE PROP=\"nan\"/><TILE PROP=\"3\"/>", L"\"PROP\"", 4, 4, {0.25f, 1.0f}},
        {L"", L"<TILE PROP=\"0\"/><TILE PROP=\"0\"/>", L"add up to 0", 4, 4, {0.5f, 1.0f}},
    };
    for (Case const& c : cases) {
        logtest::LogWatch watch;
        auto lab = make(c.keys, c.tiles);
        std::string const what = minigametest::narrow(c.keys) + minigametest::narrow(c.tiles);
        bool logged = false;
        for (std::wstring const& line : watch.lines()) logged = logged || logtest::contains(line, c.logged);
        EXPECT_TRUE(logged) << what;
        EXPECT_EQ(lab->getColumns(), c.columns) << what;
        EXPECT_EQ(lab->getRows(), c.rows) << what;
        EXPECT_EQ(lab->getTileChances(), c.chances) << what;
    }
}

}  // namespace
