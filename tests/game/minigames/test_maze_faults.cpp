// Broken maze definitions: each gives a log line naming the definition file and line, and a game
// that still runs, takes clicks and can be skipped when its time is up. The masks of one pixel and
// of no opaque pixel are test data (tests/game/minigames/data, tools/make_minigame_pictures_mazes.py).
// Rooms share their pictures' frames.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/Maze.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"
#include "tests/support/TestSupport.h"

namespace {

using Solitaire::Maze;

struct FaultCase {
    char const* what;
    wchar_t const* keys;
    wchar_t const* room;
    wchar_t const* logged;
    std::size_t rooms;
};

std::wstring const kMasks = L"<TEXTURES FILE=\"tests\\game\\minigames\\data\\mazes_masken.tex\"/>";
wchar_t const* const kSquareRoom = L"<RAUM EDGES=\"4\" DELTA=\"-45\" LENGTH=\"1.41421\"/>";

class MazeFaultsTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(MazeFaultsTest, LoggedWithFileAndLineAndStillSkippable) {
    FaultCase const& c = GetParam();
    logtest::LogWatch watch;
    define(kMasks + L"\n<MINISPIEL TYPE=\"MAZE\" NAME=\"B\" LSG_TIME=\"1\" " + c.keys + L">" + c.room +
           L"</MINISPIEL>");
    bool found = false;
    for (std::wstring const& line : watch.lines())
        found = found || (logtest::contains(line, L"\"test.min\" at line 2") && logtest::contains(line, c.logged));
    EXPECT_TRUE(found) << c.what;

    auto* maze = play<Maze>(L"B");
    ASSERT_NE(maze, nullptr) << c.what;
    EXPECT_EQ(maze->getRooms().size(), c.rooms) << c.what;
    for (float x : {0.3f, 0.5f, 0.7f})
        for (float y : {0.3f, 0.6f}) click(D3DXVECTOR2(x * kScreenWidth, y * kScreenHeight));
    EXPECT_FALSE(maze->isFinished(false));
    loseByTime();
    expectSkipped();
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, MazeFaultsTest,
    ::testing::Values(
        FaultCase{"no room element", L"SIZE=\"6\" TEXTUR=\"MG_MAZE_MASKE\"", L"", L"no \"RAUM\"", 0},
        FaultCase{"no mask", L"SIZE=\"6\"", kSquareRoom, L"no mask", 0},
        FaultCase{"an unknown mask", L"SIZE=\"6\" TEXTUR=\"KEINE_MASKE\"", kSquareRoom, L"is no texture", 0},
        FaultCase{"a mask of one pixel", L"SIZE=\"6\" TEXTUR=\"MG_TEST_MASKE_PUNKT\"", kSquareRoom,
                  L"smaller than the grid", 36},
        FaultCase{"a mask without an opaque pixel", L"SIZE=\"4\" TEXTUR=\"MG_TEST_MASKE_LEER\"", kSquareRoom,
                  L"no opaque pixel", 0},
        // The default grid of 2 x 2 stays.
        FaultCase{"an absurd grid", L"SIZE=\"100000 3\" TEXTUR=\"MG_MAZE_MASKE\"", kSquareRoom, L"\"SIZE\"", 4},
        FaultCase{"a grid that is no number", L"SIZE=\"nan\" TEXTUR=\"MG_MAZE_MASKE\"", kSquareRoom, L"\"SIZE\"", 4},
        FaultCase{"negative crossings", L"SIZE=\"6\" KREUZUNGEN=\"-3\" TEXTUR=\"MG_MAZE_MASKE\"", kSquareRoom,
                  L"\"KREUZUNGEN\"", 35},
        FaultCase{"rooms of two sides", L"SIZE=\"6\" TEXTUR=\"MG_MAZE_MASKE\"", L"<RAUM EDGES=\"2\"/>", L"\"EDGES\"",
                  35},
        FaultCase{"a wall angle that is not finite", L"SIZE=\"6\" TEXTUR=\"MG_MAZE_MASKE\"",
                  L"<RAUM EDGES=\"4\" DELTA=\"inf\" LENGTH=\"1.41421\"/>", L"\"DELTA\"", 35}),
    [](::testing::TestParamInfo<FaultCase> const& info) { return "case" + std::to_string(info.index); });

}  // namespace

namespace {

class MazePicturesTest : public minigametest::MinigameFixture {};

// Every room of a maze holds copies of its prototype's pictures: each plays on its own but all
// show the registry's one frame table. A maze of 128 x 128 rooms naming an animation of 16,384
// frames in its eight side pictures made 131,072 copies of 1.7 MB each before.
TEST_F(MazePicturesTest, RoomsShareThePicturesFrames) {
    std::filesystem::path const dir = testsupport::makeTempDir("maze_pictures");
    testsupport::writeFile(dir / "gross.ani", "<LISTE><ANIMATION_2D NAME=\"GROSS\"><FRAME FRAME_SIZE=\"2 2\"/>"
                                              "<ORDER>\"|16384 x 0|\"</ORDER></ANIMATION_2D></LISTE>");
    std::wstring names;
    for (int i = 0; i < 8; ++i) names += L"\"|GROSS|\"";
    define(kMasks + L"<ANIMATIONEN FILE=\"" + port::windowsPath((dir / "gross.ani").string()) + L"\"/>"
           L"<MINISPIEL TYPE=\"MAZE\" NAME=\"B\" SIZE=\"6\" TEXTUR=\"MG_MAZE_MASKE\"><RAUM EDGES=\"4\">"
           L"<ANIMATION BACKGROUND=\"GROSS\">" + names + L"</ANIMATION></RAUM></MINISPIEL>");
    Orvex::Texture2DAnimation* source = Orvex::Texture2DAnimationManager::instance().findAnimation(L"GROSS");
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->getFrameCount(), Orvex::Texture2DAnimation::kMaxFrames);
    auto* maze = play<Maze>(L"B");
    ASSERT_NE(maze, nullptr);
    ASSERT_FALSE(maze->getRooms().empty());
    std::set<Orvex::Texture2DAnimation const*> copies;
    for (Maze::Raum const* room : maze->getRooms()) {
        ASSERT_EQ(room->sideImages.size(), 8u);
        std::vector<Orvex::Texture2DAnimation const*> pictures{room->backgroundImage.get()};
        for (auto const& side : room->sideImages) pictures.push_back(side.get());
        for (Orvex::Texture2DAnimation const* picture : pictures) {
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(&picture->getFrames(), &source->getFrames());
            copies.insert(picture);
        }
    }
    EXPECT_EQ(copies.size(), 9 * maze->getRooms().size());
    EXPECT_EQ(copies.count(source), 0u);
}

}  // namespace
