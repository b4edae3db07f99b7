// The swap puzzle on the shipped data ("MINIGAME_9": a sailing boat in six tiles, three columns)
// and on definitions of its own, played by clicks on the tiles.
#include <gtest/gtest.h>

#include "engine/gui/GUIWindow.h"
#include "engine/render/SpriteRect.h"
#include "game/minigames/Austausch.h"
#include "game/minigames/MinispielManager.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Austausch;
using SwapTile = Austausch::AustauschTeil;

class AustauschTest : public minigametest::MinigameFixture {
protected:
    Austausch* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<Austausch>(L"MINIGAME_9");
        ASSERT_NE(game, nullptr);
    }

    // The point at fractions (fx, fy) of the tile where it is drawn now, on whole pixels.
    static D3DXVECTOR2 middleOfTile(SwapTile const* tile, float fx = 0.5f, float fy = 0.5f) {
        Orvex::FRect const r = Orvex::boundingRectOfSpriteRect(tile->getSpriteRect());
        return D3DXVECTOR2(std::floor(r.left + fx * (r.right - r.left)), std::floor(r.top + fy * (r.bottom - r.top)));
    }
    SwapTile* tileIn(int cell) const {
        for (SwapTile* tile : game->getTiles())
            if (tile->cell == cell) return tile;
        return nullptr;
    }
    SwapTile* tileOf(int home) const {
        for (SwapTile* tile : game->getTiles())
            if (tile->homeCell == home) return tile;
        return nullptr;
    }
    // Cell by cell, the tile lying there swapped with the one that belongs there; the swaps made.
    int win() {
        int swaps = 0;
        for (int cell = 0; cell < static_cast<int>(game->getTiles().size()); ++cell) {
            SwapTile* here = tileIn(cell);
            SwapTile* own = tileOf(cell);
            if (here == own) continue;
            click(middleOfTile(here));
            click(middleOfTile(own));
            ++swaps;
            wait(0.3);
        }
        return swaps;
    }
};

TEST_F(AustauschTest, WonBySwappingEveryTileIntoItsCell) {
    keep("austausch_start");
    ASSERT_EQ(game->getColumns(), 3);
    ASSERT_EQ(game->getRows(), 2);
    ASSERT_FALSE(game->inOrder());
    EXPECT_GT(win(), 0);
    EXPECT_TRUE(game->isFinished(false));
    // Swaps emit nothing; the report comes after the end delay.
    EXPECT_EQ(log.count(L"move") + log.count(L"wrong"), 0u);
    EXPECT_EQ(log.count(L"ended"), 0u);
    keep("austausch_geloest");
    waitForTheEnd(*game);
    EXPECT_EQ(log.count(L"ended"), 1u);
    expectWon();
}

TEST_F(AustauschTest, TheLastSwapSolvesAtOnceWhileTheTilesStillFly) {
    // All but the last swap, then the last one by its two clicks.
    while (true) {
        int wrong = 0;
        for (SwapTile const* tile : game->getTiles()) wrong += tile->cell != tile->homeCell;
        if (wrong <= 2) break;
        int cell = 0;
        while (tileIn(cell) == tileOf(cell)) ++cell;
        click(middleOfTile(tileIn(cell)));
        click(middleOfTile(tileOf(cell)));
        wait(0.3);
    }
    int cell = 0;
    while (tileIn(cell) == tileOf(cell)) ++cell;
    SwapTile* a = tileIn(cell);
    SwapTile* b = tileOf(cell);
    click(middleOfTile(a));
    EXPECT_FALSE(game->isFinished(false));
    click(middleOfTile(b));
    EXPECT_TRUE(game->isFinished(false));
    EXPECT_LT(b->rect.t, 1.0f);  // still on its way
    wait(game->getEndDelay() - 2 * kStep);
    EXPECT_EQ(log.count(L"ended"), 0u);
    wait(4 * kStep);
    EXPECT_EQ(log.count(L"ended"), 1u);
}

TEST_F(AustauschTest, ASecondClickOnTheSelectedTileDeselectsIt) {
    SwapTile* tile = tileIn(0);
    click(middleOfTile(tile));
    EXPECT_EQ(game->getSelected(), tile);
    EXPECT_TRUE(tile->selected);
    EXPECT_EQ(game->getTiles().back(), tile);
    std::vector<int> cells;
    for (SwapTile const* t : game->getTiles()) cells.push_back(t->cell);
    click(middleOfTile(tile));
    EXPECT_EQ(game->getSelected(), nullptr);
    EXPECT_FALSE(tile->selected);
    std::vector<int> after;
    for (SwapTile const* t : game->getTiles()) after.push_back(t->cell);
    EXPECT_EQ(after, cells);
    // The next click selects again.
    click(middleOfTile(tileIn(1)));
    EXPECT_EQ(game->getSelected(), tileIn(1));
}

TEST_F(AustauschTest, TheSelectedTileIsDrawnRed) {
    SwapTile* tile = tileIn(4);
    D3DXVECTOR2 const point = middleOfTile(tile);
    uint32_t const plain = pixelAt(pixels(), point);
    click(point);
    tick();
    uint32_t const red = pixelAt(pixels(), point);
    EXPECT_GT(((plain >> 8) & 0xFF) + (plain & 0xFF), 60u) << std::hex << plain;
    EXPECT_EQ(red & 0xFFFF, 0u) << std::hex << red;
    EXPECT_EQ((red >> 16) & 0xFF, (plain >> 16) & 0xFF) << std::hex << red;
}

TEST_F(AustauschTest, ATileSwappedAgainInFlightLandsInItsCell) {
    // A and B swap; while they fly, B is swapped with C. Every tile ends on its cell's rectangle,
    // none between two cells.
    SwapTile* a = tileIn(0);
    SwapTile* b = tileIn(1);
    SwapTile* c = tileIn(5);
    click(middleOfTile(a));
    click(middleOfTile(b));
    tick();
    ASSERT_LT(b->rect.t, 1.0f);
    // B flies left from cell 1 to 0, A right: B's right part is clear of A.
    click(middleOfTile(b, 0.8f));
    ASSERT_EQ(game->getSelected(), b);
    click(middleOfTile(c));
    wait(0.5);
    EXPECT_EQ(a->cell, 1);
    EXPECT_EQ(b->cell, 5);
    EXPECT_EQ(c->cell, 0);
    for (SwapTile const* tile : game->getTiles()) {
        Orvex::FRect const want = game->cellRect(tile->cell);
        Orvex::FRect const have = tile->currentRect();
        EXPECT_FLOAT_EQ(have.left, want.left) << tile->homeCell;
        EXPECT_FLOAT_EQ(have.top, want.top) << tile->homeCell;
    }
}

TEST_F(AustauschTest, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

TEST_F(AustauschTest, CancelClosesTheGame) {
    clickPart(L"AUSTAUSCH_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

TEST_F(AustauschTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    expectTheSameTwice(20240611, [this] { win(); });
}

// Definitions: the grid's shape, and the ones the shuffle cannot use refused with one log line;
// every game can be cancelled.
struct SwapCase {
    char const* name;
    std::wstring definition;
    int columns;
    int rows;
    std::size_t tiles;
    bool playable;
    std::size_t logLines;
    bool firstClickSolves;
};
void PrintTo(SwapCase const& c, std::ostream* out) { *out << c.name; }

std::wstring tiles(int count) {
    std::wstring out;
    for (int i = 0; i < count; ++i)
        out += L"<AUSTAUSCH_TEIL ANIMATION=\"MG_TAUSCH_" + std::to_wstring(i % 6 + 1) + L"\"/>";
    return out;
}

class AustauschDefinitionTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(AustauschDefinitionTest, ReadsTheGridAndRefusesOneThatCannotBeShuffled) {
    logtest::LogWatch watch;
    define(L"<MINISPIEL TYPE=\"AUSTAUSCH\" NAME=\"A\" " + GetParam().definition + L"</MINISPIEL>");
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines()) lines += logtest::contains(line, L"\"test.min\" at line 1");
    EXPECT_EQ(lines, GetParam().logLines);
    auto* game = play<Austausch>(L"A");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getColumns(), GetParam().columns);
    EXPECT_EQ(game->getRows(), GetParam().rows);
    EXPECT_EQ(game->getTiles().size(), GetParam().tiles);
    EXPECT_EQ(game->isPlayable(), GetParam().playable);
    // A click on the field beside the tiles.
    Orvex::FRect const f = game->getField()->getScreenRect();
    click(D3DXVECTOR2(std::floor(f.right) - 2.0f, std::floor(f.bottom) - 2.0f));
    EXPECT_EQ(game->isFinished(false), GetParam().firstClickSolves);
    clickPart(L"AUSTAUSCH_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, AustauschDefinitionTest,
    ::testing::Values(SwapCase{"six in three columns", L"SPALTEN=\"3\">" + tiles(6), 3, 2, 6, true, 0, false},
                      // Cells 6 and 7 stay empty: the click lies there.
                      SwapCase{"six in four columns", L"SPALTEN=\"4\">" + tiles(6), 4, 2, 6, true, 0, false},
                      SwapCase{"one column", L">" + tiles(2), 1, 2, 2, true, 0, false},
                      SwapCase{"no tile", L"SPALTEN=\"3\">", 3, 0, 0, true, 0, true},
                      SwapCase{"one tile", L"SPALTEN=\"3\">" + tiles(1), 3, 0, 0, false, 1, false},
                      SwapCase{"no columns", L"SPALTEN=\"0\">" + tiles(4), 1, 4, 4, true, 1, false},
                      SwapCase{"too many columns", L"SPALTEN=\"100000\">" + tiles(6), Austausch::kMaxColumns, 1, 6,
                               true, 1, false},
                      SwapCase{"too many tiles", L"SPALTEN=\"16\">" + tiles(static_cast<int>(Austausch::kMaxTiles) + 1),
                               16, 16, Austausch::kMaxTiles, true, 1, false}));

}  // namespace
