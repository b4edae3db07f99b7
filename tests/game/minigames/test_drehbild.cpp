// The turning-tiles game on the shipped data ("MINIGAME_14": a landscape in 3 x 2 tiles) played by
// left and right clicks, with the tick clock its start seeds the generator from held fixed; and
// on small definitions of its own: turns that restore a tile, clicks beside the turned shapes,
// bad sizes.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/gui/GUIWindow.h"
#include "game/minigames/Drehbild.h"
#include "game/minigames/MinispielManager.h"
#include "port/crt/crt.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Drehbild;
using TurnTile = Drehbild::Teil;

constexpr Orvex::u32 kTick = 4242;

class DrehbildTest : public minigametest::MinigameFixture {
protected:
    // The fixture's clock while the game object starts, then one the test sets.
    void SetUp() override {
        MinigameFixture::SetUp();
        tick_ = kTick;
        Drehbild::setTickClock([] { return tick_; });
    }

    D3DXVECTOR2 middleOf(Drehbild const& game, TurnTile const& tile) const {
        Orvex::SpriteRect const box = game.getTileRect(tile.part, 0.0f);
        return D3DXVECTOR2(std::floor(box.x + box.w / 2), std::floor(box.y + box.h / 2));
    }

    // Quarter turns a tile's target stands away from upright, 0 to 3.
    static int quarterTurnsOff(TurnTile const& tile) {
        int const quarters = static_cast<int>(std::lround(tile.rotation.goal / Drehbild::kQuarterTurn));
        return ((quarters % 4) + 4) % 4;
    }

    // Every tile turned upright by left clicks (a tile already upright is turned once round when
    // none is off, as the game judges only after a click).
    void win(Drehbild& game) {
        bool anyOff = false;
        for (auto const& tile : game.getTiles()) anyOff |= quarterTurnsOff(*tile) != 0;
        if (!anyOff) for (int i = 0; i < 4; ++i) click(middleOf(game, *game.getTiles()[0]));
        for (auto const& tile : game.getTiles())
            for (int n = (4 - quarterTurnsOff(*tile)) % 4; n > 0; --n) click(middleOf(game, *tile));
    }

    Drehbild* playOwn(std::wstring const& keys) {
        define(L"<MINISPIEL TYPE=\"DREHBILD\" NAME=\"D\" LSG_TIME=\"60\" TIMER=\"1\" "
               L"ANIMATION=\"TILES_DREHBILD_LANDSCHAFT\" " + keys + L"/>");
        return play<Drehbild>(L"D");
    }

    static inline Orvex::u32 tick_ = kTick;
};

TEST_F(DrehbildTest, WonByTurningEveryTileUpright) {
    auto* game = play<Drehbild>(L"MINIGAME_14");
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->getTiles().size(), 6u);
    int off = 0;
    for (auto const& tile : game->getTiles()) off += quarterTurnsOff(*tile) != 0;
    EXPECT_GT(off, 0);
    keep("drehbild_start");
    click(middleOf(*game, *game->getTiles()[0]));
    wait(0.1);
    keep("drehbild_mitte");
    ticks(20);
    win(*game);
    EXPECT_TRUE(game->isFinished(false));
    ticks(kSettleFrames);
    tick();
    keep("drehbild_geloest");
    // The picture stands upright: sky at the top of the field, grass at the bottom.
    Orvex::FRect const field = game->getField()->getScreenRect();
    std::vector<uint32_t> const shot = pixels();
    auto at = [&](float fx, float fy) {
        return pixelAt(shot, D3DXVECTOR2(field.left + fx * (field.right - field.left),
                                         field.top + fy * (field.bottom - field.top)));
    };
    for (float fx : {0.02f, 0.5f, 0.98f}) {
        uint32_t const sky = at(fx, 0.02f);
        EXPECT_GT(sky & 0xFF, (sky >> 16) & 0xFF) << std::hex << sky;
    }
    for (float fx : {0.02f, 0.98f}) {
        uint32_t const grass = at(fx, 0.97f);
        EXPECT_GT((grass >> 8) & 0xFF, (grass >> 16) & 0xFF) << std::hex << grass;
        EXPECT_GT((grass >> 8) & 0xFF, grass & 0xFF) << std::hex << grass;
    }
    // Tiles are square: the field takes columns : rows.
    EXPECT_NEAR((field.right - field.left) / (field.bottom - field.top), 1.5f, 0.01f);
    waitForTheEnd(*game);
    expectWon();
    EXPECT_EQ(log.count(L"wrong"), 0u);
    EXPECT_GE(log.count(L"move"), 1u);
}

TEST_F(DrehbildTest, LostWhenTheTimeRunsOut) {
    ASSERT_NE(play<Drehbild>(L"MINIGAME_14"), nullptr);
    loseByTime();
    expectSkipped();
}

TEST_F(DrehbildTest, TheCancelButtonClosesTheGame) {
    ASSERT_NE(play<Drehbild>(L"MINIGAME_14"), nullptr);
    clickPart(L"DREHBILD_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

TEST_F(DrehbildTest, TwoRunsFromOneTickGiveTheSameSignalsAndPicture) {
    auto run = [&](std::vector<std::wstring>& signals, std::vector<uint32_t>& picture) {
        TearDown();
        SetUp();
        auto* game = play<Drehbild>(L"MINIGAME_14");
        ASSERT_NE(game, nullptr);
        win(*game);
        ticks(kSettleFrames);
        tick();
        picture = pixels();
        waitForTheEnd(*game);
        signals = log.lines;
    };
    std::vector<std::wstring> firstSignals, secondSignals;
    std::vector<uint32_t> firstPicture, secondPicture;
    run(firstSignals, firstPicture);
    run(secondSignals, secondPicture);
    EXPECT_EQ(firstSignals, secondSignals);
    EXPECT_TRUE(firstPicture == secondPicture);
    expectWon();
}

TEST_F(DrehbildTest, EachStartSeedsTheGeneratorFromTheTickClock) {
    auto* game = play<Drehbild>(L"MINIGAME_14");
    ASSERT_NE(game, nullptr);
    auto turns = [&] {
        std::vector<int> out;
        for (auto const& tile : game->getTiles()) out.push_back(quarterTurnsOff(*tile));
        return out;
    };
    // A start turns on from where the tiles are: from upright, the same tick turns alike.
    auto fromUpright = [&](Orvex::u32 tick) {
        for (auto const& tile : game->getTiles()) tile->rotation.set(0.0f, 0.0f, 1.0f);
        tick_ = tick;
        game->start();
        return turns();
    };
    std::vector<int> const first = fromUpright(kTick);
    EXPECT_EQ(fromUpright(kTick), first);
    bool differs = false;
    for (Orvex::u32 tick = 1; tick < 6 && !differs; ++tick) differs = fromUpright(kTick + tick) != first;
    EXPECT_TRUE(differs);
    msvc::srand(kTick);
    std::vector<int> expected;
    for (std::size_t i = 0; i < game->getTiles().size(); ++i) expected.push_back(msvc::rand() % 4);
    EXPECT_EQ(first, expected);
}

// Clicks on one tile and where its target ends, in quarter turns.
struct TurnCase {
    wchar_t const* name;
    std::vector<bool> rights;  // false: left click
    int quarters;
};
void PrintTo(TurnCase const& c, std::ostream* out) { *out << minigametest::narrow(c.name); }

class DrehbildTurnTest : public DrehbildTest, public ::testing::WithParamInterface<TurnCase> {};

TEST_P(DrehbildTurnTest, TurnsTheTileByQuarterTurns) {
    Drehbild* game = playOwn(L"SIZE=\"2\"");
    ASSERT_NE(game, nullptr);
    TurnTile const& tile = *game->getTiles()[3];
    float const before = tile.rotation.goal;
    for (bool right : GetParam().rights) {
        if (right)
            rightClick(middleOf(*game, tile));
        else
            click(middleOf(*game, tile));
    }
    EXPECT_FLOAT_EQ(tile.rotation.goal - before, GetParam().quarters * Drehbild::kQuarterTurn);
    ticks(20);
    EXPECT_FLOAT_EQ(tile.rotation.current, tile.rotation.goal);
    EXPECT_EQ(log.count(L"move"), GetParam().rights.size());
}

INSTANTIATE_TEST_SUITE_P(Clicks, DrehbildTurnTest,
                         ::testing::Values(TurnCase{L"one left", {false}, 1}, TurnCase{L"one right", {true}, -1},
                                           TurnCase{L"four lefts restore", {false, false, false, false}, 4},
                                           TurnCase{L"a left and a right restore", {false, true}, 0},
                                           TurnCase{L"four rights restore", {true, true, true, true}, -4}));

TEST_F(DrehbildTest, AClickDuringATurnTurnsOnFromTheAngleShown) {
    Drehbild* game = playOwn(L"SIZE=\"2\"");
    ASSERT_NE(game, nullptr);
    TurnTile const& tile = *game->getTiles()[0];
    float const before = tile.rotation.goal;
    click(middleOf(*game, tile));
    ticks(6);
    float const shown = tile.rotation.current;
    EXPECT_GT(shown, before);
    EXPECT_LT(shown, before + Drehbild::kQuarterTurn);
    // Half a turn on: the corner of the tile's square is off the turned tile and no other tile's.
    Orvex::SpriteRect const box = game->getTileRect(tile.part, 0.0f);
    click(D3DXVECTOR2(std::floor(box.x + 2.0f), std::floor(box.y + 2.0f)));
    EXPECT_EQ(log.count(L"wrong"), 1u);
    click(middleOf(*game, tile));
    EXPECT_FLOAT_EQ(tile.rotation.goal, before + 2.0f * Drehbild::kQuarterTurn);
    ticks(40);
    EXPECT_FLOAT_EQ(tile.rotation.current, before + 2.0f * Drehbild::kQuarterTurn);
}

TEST_F(DrehbildTest, WhenEveryTileStartsUprightTheGameIsSolvedOnlyAfterTurningOneBack) {
    Drehbild* game = playOwn(L"SIZE=\"1\"");
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->getTiles().size(), 1u);
    TurnTile& tile = *game->getTiles()[0];
    tile.rotation.set(0.0f, 0.0f, 1.0f);
    EXPECT_FALSE(game->isFinished(false));
    // "SIZE" 1: the one tile covers the whole field.
    Orvex::SpriteRect const box = game->getTileRect(tile.part, 0.0f);
    Orvex::FRect const field = game->getField()->getScreenRect();
    EXPECT_FLOAT_EQ(box.w, field.right - field.left);
    EXPECT_FLOAT_EQ(box.h, field.bottom - field.top);
    click(middleOf(*game, tile));
    EXPECT_FALSE(game->isFinished(false));
    rightClick(middleOf(*game, tile));
    EXPECT_TRUE(game->isFinished(false));
    // Solved: clicks are ignored.
    click(middleOf(*game, tile));
    EXPECT_FLOAT_EQ(tile.rotation.goal, 0.0f);
    EXPECT_EQ(log.count(L"move"), 2u);
}

// "SIZE" values: the grid they give (a side below 1 reads as 1, beyond kMaxSide as kMaxSide, with
// one line).
struct SizeCase {
    wchar_t const* size;
    int columns, rows;
    std::size_t logLines;
};
void PrintTo(SizeCase const& c, std::ostream* out) { *out << minigametest::narrow(c.size); }

class DrehbildSizeTest : public DrehbildTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(DrehbildSizeTest, GivesTheGridOrKeepsTheDefault) {
    logtest::LogWatch watch;
    Drehbild* game = playOwn(std::wstring(L"SIZE=\"") + GetParam().size + L"\"");
    ASSERT_NE(game, nullptr);
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines()) lines += logtest::contains(line, L"test.min\" at line 1");
    EXPECT_EQ(lines, GetParam().logLines);
    EXPECT_EQ(game->getColumns(), GetParam().columns);
    EXPECT_EQ(game->getRows(), GetParam().rows);
    EXPECT_EQ(game->getTiles().size(), static_cast<std::size_t>(GetParam().columns * GetParam().rows));
    for (auto const& tile : game->getTiles()) {
        Orvex::SpriteRect const box = game->getTileRect(tile->part, 0.0f);
        EXPECT_TRUE(std::isfinite(box.w) && box.w > 0.0f);
    }
    click(middleOf(*game, *game->getTiles()[0]));
    EXPECT_EQ(log.count(L"move"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DrehbildSizeTest,
                         ::testing::Values(SizeCase{L"3 2", 3, 2, 0}, SizeCase{L"1", 1, 1, 0}, SizeCase{L"5", 5, 5, 0},
                                           SizeCase{L"0", 1, 1, 1}, SizeCase{L"3 0", 3, 1, 1},
                                           SizeCase{L"-2 2", 1, 2, 1}, SizeCase{L"99999", 32, 32, 1}));

TEST_F(DrehbildTest, WithoutAPictureTheTilesStillTurnAndSolve) {
    define(L"<MINISPIEL TYPE=\"DREHBILD\" NAME=\"D\" SIZE=\"2 1\" ANIMATION=\"KEIN_BILD\"/>");
    auto* game = play<Drehbild>(L"D");
    ASSERT_NE(game, nullptr);
    for (auto const& tile : game->getTiles()) tile->rotation.set(90.0f, 90.0f, 1.0f);
    rightClick(middleOf(*game, *game->getTiles()[0]));
    EXPECT_FALSE(game->isFinished(false));
    rightClick(middleOf(*game, *game->getTiles()[1]));
    EXPECT_TRUE(game->isFinished(false));
    waitForTheEnd(*game);
    expectWon();
}

}  // namespace
