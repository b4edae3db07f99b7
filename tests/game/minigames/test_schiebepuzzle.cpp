// The sliding gap on the shipped data ("MINIGAME_8": three by three stones and crates, the flag
// marks the target) and on grids of its own, played by clicks on the tiles.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/gui/GUIWindow.h"
#include "engine/render/SpriteRect.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Schiebepuzzle_leicht.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Schiebepuzzle_leicht;

class SchiebepuzzleTest : public minigametest::MinigameFixture {
protected:
    Schiebepuzzle_leicht* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<Schiebepuzzle_leicht>(L"MINIGAME_8");
        ASSERT_NE(game, nullptr);
    }

    int column(int cell) const { return cell / game->getRows(); }
    int row(int cell) const { return cell % game->getRows(); }
    // The screen point at fractions (fx, fy) of the cell (column, row).
    D3DXVECTOR2 inCell(int c, int r, float fx = 0.5f, float fy = 0.5f) const {
        Orvex::FRect const f = game->getField()->getScreenRect();
        float const w = (f.right - f.left) / static_cast<float>(game->getColumns());
        float const h = (f.bottom - f.top) / static_cast<float>(game->getRows());
        return D3DXVECTOR2(std::floor(f.left + w * (static_cast<float>(c) + fx)),
                           std::floor(f.top + h * (static_cast<float>(r) + fy)));
    }
    // Clicks the tile beside the gap one step toward the target: first along the columns.
    void stepTowardTheTarget() {
        int const gc = column(game->getGapCell());
        int const gr = row(game->getGapCell());
        int const tc = column(game->getTargetCell());
        int const tr = row(game->getTargetCell());
        if (gc != tc)
            click(inCell(gc + (tc > gc ? 1 : -1), gr));
        else
            click(inCell(gc, gr + (tr > gr ? 1 : -1)));
    }
    // Walks the gap onto the target, each click after the lock of the last; the clicks it took.
    int win() {
        int clicks = 0;
        while (!game->isFinished(false) && clicks < 100) {
            stepTowardTheTarget();
            ++clicks;
            wait(0.5);
        }
        return clicks;
    }
};

TEST_F(SchiebepuzzleTest, WonInAsManyClicksAsTheGapIsAwayFromTheTarget) {
    keep("schiebepuzzle_start");
    ASSERT_EQ(game->getColumns(), 3);
    ASSERT_EQ(game->getRows(), 3);
    EXPECT_EQ(game->getTiles().size(), 8u);
    ASSERT_NE(game->getGapCell(), game->getTargetCell());
    int const distance = std::abs(column(game->getGapCell()) - column(game->getTargetCell())) +
                         std::abs(row(game->getGapCell()) - row(game->getTargetCell()));
    EXPECT_EQ(win(), distance);
    EXPECT_EQ(log.count(L"move"), static_cast<std::size_t>(distance));
    EXPECT_EQ(log.count(L"wrong"), 0u);
    EXPECT_EQ(game->getGapCell(), game->getTargetCell());
    // Solved: further clicks are ignored.
    click(inCell(column(game->getGapCell()) == 0 ? 1 : 0, row(game->getGapCell())));
    EXPECT_EQ(log.count(L"move") + log.count(L"wrong"), static_cast<std::size_t>(distance));
    wait(0.6);
    keep("schiebepuzzle_geloest");
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(SchiebepuzzleTest, AClickWithinHalfASecondIsIgnoredALaterOneHitsTheSlidingTile) {
    // A tile beside the gap, the first one in the order left, right, up, down that exists.
    int const gc = column(game->getGapCell());
    int const gr = row(game->getGapCell());
    int const dc = gc > 0 ? -1 : 1;
    click(inCell(gc + dc, gr));
    ASSERT_EQ(log.count(L"move"), 1u);
    int const newGap = game->getGapCell();
    ASSERT_EQ(newGap, game->getRows() * (gc + dc) + gr);
    // A quarter of a second later: another tile beside the new gap, ignored without a signal.
    ticks(12);
    int const oc = gc + dc;
    int const otherRow = gr > 0 ? gr - 1 : gr + 1;
    click(inCell(oc, otherRow));
    EXPECT_EQ(log.count(L"move") + log.count(L"wrong"), 1u);
    EXPECT_EQ(game->getGapCell(), newGap);
    // Past half a second the sliding tile, halfway, is hit where it is now: in the new gap's
    // cell, on the side toward the old gap.
    ticks(15);
    click(inCell(oc, gr, 0.5f - 0.3f * static_cast<float>(dc), 0.5f));
    EXPECT_EQ(log.count(L"move"), 2u);
    EXPECT_EQ(game->getGapCell(), game->getRows() * gc + gr);
}

TEST_F(SchiebepuzzleTest, TheFlagShowsAroundTheTileOnTheTarget) {
    int const tc = column(game->getTargetCell());
    int const tr = row(game->getTargetCell());
    // The tiles leave 12 of 128 pixels free on every side, where the marker's green rim lies.
    std::vector<uint32_t> const shot = pixels();
    auto const green = [](uint32_t p) {
        return static_cast<int>((p >> 8) & 0xFF) - static_cast<int>(std::max((p >> 16) & 0xFF, p & 0xFF));
    };
    EXPECT_GT(green(pixelAt(shot, inCell(tc, tr, 4.0f / 128.0f, 0.5f))), 60);
    int const oc = (tc + 1) % 3;
    EXPECT_LT(green(pixelAt(shot, inCell(oc, tr, 4.0f / 128.0f, 0.5f))), 20);
}

TEST_F(SchiebepuzzleTest, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

TEST_F(SchiebepuzzleTest, CancelClosesTheGame) {
    clickPart(L"SCHIEBEPUZZLE_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

TEST_F(SchiebepuzzleTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    expectTheSameTwice(20240611, [this] { win(); });
}

// Clicks on a five by five grid at an offset from the gap (its sign turned where the grid ends):
// only a tile beside the gap slides.
struct SlideCase {
    int dc;
    int dr;
    bool slides;
};
void PrintTo(SlideCase const& c, std::ostream* out) { *out << c.dc << ", " << c.dr; }

class SchiebepuzzleSlideTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<SlideCase> {};

TEST_P(SchiebepuzzleSlideTest, OnlyATileBesideTheGapSlides) {
    define(L"<MINISPIEL TYPE=\"SCHIEBEPUZZLE_REV\" NAME=\"S\" SIZE=\"5\"><KACHEL_TEIL ANIMATION=\"MG_SCHIEBE_STEIN\"/>"
           L"<ZIEL_TEIL ANIMATION=\"MG_SCHIEBE_ZIEL\"/></MINISPIEL>");
    auto* game = play<Schiebepuzzle_leicht>(L"S");
    ASSERT_NE(game, nullptr);
    int const gap = game->getGapCell();
    int const gc = gap / 5;
    int const gr = gap % 5;
    int const c = gc + (gc + GetParam().dc < 5 ? GetParam().dc : -GetParam().dc);
    int const r = gr + (gr + GetParam().dr < 5 ? GetParam().dr : -GetParam().dr);
    Orvex::FRect const f = game->getField()->getScreenRect();
    float const cell = (f.right - f.left) / 5.0f;
    click(D3DXVECTOR2(std::floor(f.left + cell * (static_cast<float>(c) + 0.5f)),
                      std::floor(f.top + cell * (static_cast<float>(r) + 0.5f))));
    EXPECT_EQ(log.count(L"move"), GetParam().slides ? 1u : 0u);
    EXPECT_EQ(log.count(L"wrong"), GetParam().slides ? 0u : 1u);
    EXPECT_EQ(game->getGapCell(), GetParam().slides ? 5 * c + r : gap);
    EXPECT_EQ(game->getGrid()[static_cast<std::size_t>(gap)] != nullptr, GetParam().slides);
}

INSTANTIATE_TEST_SUITE_P(Offsets, SchiebepuzzleSlideTest,
                         ::testing::Values(SlideCase{1, 0, true}, SlideCase{0, 1, true}, SlideCase{2, 0, false},
                                           SlideCase{0, 2, false}, SlideCase{1, 1, false}));

// Grid sizes and definitions: the shape read (a size beyond 1 to 32 keeps the default), and the
// ones that cannot be dealt refused with one log line; every game can be cancelled.
struct SlideGridCase {
    char const* name;
    wchar_t const* definition;
    int columns;
    int rows;
    bool playable;
    std::size_t logLines;
};
void PrintTo(SlideGridCase const& c, std::ostream* out) { *out << c.name; }

class SchiebepuzzleGridTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<SlideGridCase> {};

TEST_P(SchiebepuzzleGridTest, ReadsTheGridAndRefusesOneThatCannotBeDealt) {
    logtest::LogWatch watch;
    define(std::wstring(L"<MINISPIEL TYPE=\"SCHIEBEPUZZLE_REV\" NAME=\"S\" ") + GetParam().definition +
           L"</MINISPIEL>");
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines()) lines += logtest::contains(line, L"\"test.min\" at line 1");
    EXPECT_EQ(lines, GetParam().logLines);
    auto* game = play<Schiebepuzzle_leicht>(L"S");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getColumns(), GetParam().columns);
    EXPECT_EQ(game->getRows(), GetParam().rows);
    EXPECT_EQ(game->isPlayable(), GetParam().playable);
    std::size_t const cells = static_cast<std::size_t>(GetParam().columns * GetParam().rows);
    EXPECT_EQ(game->getGrid().size(), GetParam().playable ? cells : 0u);
    EXPECT_EQ(game->getTiles().size(), GetParam().playable ? cells - 1 : 0u);
    click(middleOf(game->getField()->getScreenRect()));
    if (!GetParam().playable) {
        EXPECT_EQ(log.count(L"move") + log.count(L"wrong"), 0u);
    }
    game->start();
    clickPart(L"SCHIEBEPUZZLE_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, SchiebepuzzleGridTest,
    ::testing::Values(
        SlideGridCase{"one value", L"SIZE=\"3\"><KACHEL_TEIL ANIMATION=\"MG_SCHIEBE_STEIN\"/>", 3, 3, true, 0},
        SlideGridCase{"columns and rows", L"SIZE=\"5 2\"><KACHEL_TEIL ANIMATION=\"MG_SCHIEBE_STEIN\"/>", 5, 2, true, 0},
        SlideGridCase{"the default", L"><KACHEL_TEIL/>", 4, 4, true, 0},
        SlideGridCase{"two cells", L"SIZE=\"2 1\"><KACHEL_TEIL/>", 2, 1, true, 0},
        SlideGridCase{"one cell", L"SIZE=\"1\"><KACHEL_TEIL ANIMATION=\"MG_SCHIEBE_STEIN\"/>", 1, 1, false, 1},
        SlideGridCase{"no cell", L"SIZE=\"0\"><KACHEL_TEIL/>", 4, 4, true, 1},
        SlideGridCase{"no tile picture", L"SIZE=\"3\"><ZIEL_TEIL ANIMATION=\"MG_SCHIEBE_ZIEL\"/>", 3, 3, false, 1},
        SlideGridCase{"too large", L"SIZE=\"3 100000\"><KACHEL_TEIL/>", 4, 4, true, 1},
        SlideGridCase{"not a number", L"SIZE=\"x\"><KACHEL_TEIL/>", 4, 4, true, 1}));

}  // namespace
