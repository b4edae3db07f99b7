// The maze on the shipped data ("MINIGAME_10": 6 x 6 rooms from the mask, the start at the top
// left, goals at column 0, row 5 and column 5, row 4, a hole at column 2, row 2, two extra
// passages) and on mazes defined here over the same mask, played by clicks through the window.
// Where a test needs a known layout it lays the passages itself after the start (carve), then
// acts only by clicks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <utility>

#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "game/minigames/Maze.h"
#include "game/minigames/MinispielManager.h"
#include "port/d3d9/d3d9_port.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Maze;
using Raum = Solitaire::Maze::Raum;
using MazeCell = std::pair<int, int>;
using Route = std::vector<MazeCell>;

// The rooms of the shortest route of open passages from the start to the goal, both left out.
std::vector<Raum*> routeToGoal(Maze const& maze) {
    std::map<Raum*, Raum*> from;
    std::deque<Raum*> queue{maze.getStartRoom()};
    from[maze.getStartRoom()] = nullptr;
    while (!queue.empty()) {
        Raum* room = queue.front();
        queue.pop_front();
        for (Maze::Durchgang const& side : room->sides)
            if (side.open && side.neighbour && !from.count(side.neighbour)) {
                from[side.neighbour] = room;
                queue.push_back(side.neighbour);
            }
    }
    std::vector<Raum*> route;
    for (Raum* room = from.count(maze.getGoalRoom()) ? from[maze.getGoalRoom()] : nullptr;
         room && room != maze.getStartRoom(); room = from[room])
        route.insert(route.begin(), room);
    return route;
}

// Mazes over the shipped mask: "T" plain, "F" the shortest-route variant; both without extra
// passages, every blue pixel a goal.
std::wstring const kRoom =
    L"<RAUM EDGES=\"4\" DELTA=\"-45\" LENGTH=\"1.41421\"><ANIMATION BACKGROUND=\"MG_MAZE_BODEN\" "
    L"START=\"MG_MAZE_START\" ZIEL=\"MG_MAZE_ZIEL\" MARK=\"MG_MAZE_SPUR\">\"|MG_MAZE_WAND_0|\" \"|MG_MAZE_OFFEN_0|\" "
    L"\"|MG_MAZE_WAND_1|\" \"|MG_MAZE_OFFEN_1|\" \"|MG_MAZE_WAND_2|\" \"|MG_MAZE_OFFEN_2|\" \"|MG_MAZE_WAND_3|\" "
    L"\"|MG_MAZE_OFFEN_3|\"</ANIMATION></RAUM>";
std::wstring const kTestMazes =
    L"<MINISPIEL TYPE=\"MAZE\" NAME=\"T\" LSG_TIME=\"60\" SIZE=\"6\" TEXTUR=\"MG_MAZE_MASKE\" MULTIPLE_GOALS=\"1\" "
    L"FONTNAME=\"MinispielZahl\" FONTSTYLE=\"MenuDunkel\">" +
    kRoom +
    L"</MINISPIEL><MINISPIEL TYPE=\"MAZE\" NAME=\"F\" FAST=\"1\" LSG_TIME=\"60\" SIZE=\"6\" "
    L"TEXTUR=\"MG_MAZE_MASKE\" MULTIPLE_GOALS=\"1\" FONTNAME=\"MinispielZahl\" FONTSTYLE=\"MenuDunkel\">" +
    kRoom + L"</MINISPIEL>";

// Layout A: the top row a corridor, a branch down column 1 to row 4, column 5 down to the goal
// at row 4; the start's way down is walled.
std::vector<Route> const kLayoutA = {
    {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}},
    {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}},
};
// Layout B: column 0 straight down to the goal at row 5 (5 passages), a detour through column 1
// back to column 0 at row 3, and the top row with column 5 to the farther goal (9 passages).
std::vector<Route> const kLayoutB = {
    {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 5}},
    {{0, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {0, 3}},
    {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}},
};

class MazeFixture : public minigametest::MinigameFixture {
protected:
    Maze* maze = nullptr;

    // The middle of the cell at column, row on the screen (whole pixels, as events carry them).
    D3DXVECTOR2 cell(int column, int row) const {
        Orvex::SpriteRect const r =
            maze->getCellRect(D3DXVECTOR2(column / maze->getGridSize().x, row / maze->getGridSize().y), true);
        return D3DXVECTOR2(std::floor(r.x), std::floor(r.y));
    }
    D3DXVECTOR2 cellOf(Raum const* room) const { return cell(room->column, room->row); }

    // The path as "column row" names.
    std::vector<std::wstring> path() const {
        std::vector<std::wstring> names;
        for (Raum const* room : maze->getPath()) names.push_back(room->name);
        return names;
    }

    // Every wall closed, then the passages along the routes opened; distances and goal anew.
    void carve(std::vector<Route> const& routes) {
        for (Raum* room : maze->getRooms())
            for (Maze::Durchgang& side : room->sides) side.open = false;
        for (Route const& route : routes)
            for (std::size_t k = 1; k < route.size(); ++k) {
                Raum* a = maze->roomAt(route[k - 1].first, route[k - 1].second);
                Raum* b = maze->roomAt(route[k].first, route[k].second);
                ASSERT_TRUE(a && b);
                a->openTo(b, true);
            }
        maze->measure();
        tick(true);
    }

    void playTest(std::wstring const& name, std::vector<Route> const& layout) {
        define(kTestMazes);
        maze = play<Maze>(name);
        ASSERT_NE(maze, nullptr);
        carve(layout);
    }

    // The screen point of the edge between two neighbouring cells, at its middle.
    D3DXVECTOR2 edge(MazeCell a, MazeCell b) const {
        D3DXVECTOR2 const pa = cell(a.first, a.second);
        D3DXVECTOR2 const pb = cell(b.first, b.second);
        return D3DXVECTOR2(std::floor((pa.x + pb.x) * 0.5f), std::floor((pa.y + pb.y) * 0.5f));
    }

    // Whether a white wall line crosses the point (two pixels wide, so one of two columns or
    // rows next to it).
    bool wallAt(std::vector<uint32_t> const& shot, D3DXVECTOR2 const& point, bool vertical) {
        for (int d = -1; d <= 1; ++d) {
            D3DXVECTOR2 const p = vertical ? D3DXVECTOR2(point.x + d, point.y) : D3DXVECTOR2(point.x, point.y + d);
            if ((pixelAt(shot, p) & 0xFFFFFFu) == 0xFFFFFFu) return true;
        }
        return false;
    }

    // The pixels of the middle half of the cell (inside the side pictures along its edges).
    std::vector<uint32_t> cellPixels(std::vector<uint32_t> const& shot, int column, int row) {
        Orvex::SpriteRect const r =
            maze->getCellRect(D3DXVECTOR2(column / maze->getGridSize().x, row / maze->getGridSize().y), false);
        std::vector<uint32_t> out;
        for (float y = r.h * 0.25f; y < r.h * 0.75f; ++y)
            for (float x = r.w * 0.25f; x < r.w * 0.75f; ++x) out.push_back(pixelAt(shot, D3DXVECTOR2(r.x + x, r.y + y)));
        return out;
    }
};

class MazeTest : public MazeFixture {
protected:
    void SetUp() override {
        MazeFixture::SetUp();
        maze = play<Maze>(L"MINIGAME_10");
        ASSERT_NE(maze, nullptr);
    }
};

TEST_F(MazeTest, WonByClickingTheRoomsOfTheRouteToTheNearestGoal) {
    keep("maze_start");
    std::vector<Raum*> const route = routeToGoal(*maze);
    ASSERT_FALSE(route.empty());
    for (Raum* room : route) click(cellOf(room));
    EXPECT_EQ(maze->getPath(), route);
    EXPECT_EQ(log.count(L"move"), 0u);
    EXPECT_TRUE(maze->isFinished(false));
    keep("maze_geloest");
    waitForTheEnd(*maze);
    expectWon();
    tick();
    EXPECT_EQ(active(), nullptr);
}

TEST_F(MazeTest, LostWhenTheTimeRunsOutAndTheSecondSkipButtonIsClicked) {
    loseByTime();
    expectSkipped();
}

TEST_F(MazeTest, TheCancelButtonClosesIt) {
    clickPart(L"MAZE_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
    EXPECT_EQ(log.count(L"ended"), 0u);
}

TEST_F(MazeTest, ClicksWithTheRightButtonOrWhileTheHelpIsUpAreIgnored) {
    Raum* first = routeToGoal(*maze).front();
    rightClick(cellOf(first));
    EXPECT_TRUE(maze->getPath().empty());
    manager().showHelp(true, 0.0f);
    ticks(kSettleFrames, false);
    click(cellOf(first));
    EXPECT_TRUE(maze->getPath().empty());
}

// ---- the path, by clicks on a known layout ----

struct PathCase {
    char const* what;
    std::vector<MazeCell> clicks;
    std::vector<std::wstring> path;
    bool solved;
};

class MazePathTest : public MazeFixture, public ::testing::WithParamInterface<PathCase> {};

TEST_P(MazePathTest, ClicksBuildThePath) {
    playTest(L"T", kLayoutA);
    for (MazeCell const& c : GetParam().clicks) click(cell(c.first, c.second));
    EXPECT_EQ(path(), GetParam().path);
    EXPECT_EQ(maze->isFinished(false), GetParam().solved);
    for (Raum* room : maze->getRooms())
        EXPECT_EQ(room->onPath, std::find(maze->getPath().begin(), maze->getPath().end(), room) != maze->getPath().end())
            << minigametest::narrow(room->name);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, MazePathTest,
    ::testing::Values(
        PathCase{"a neighbour through a passage joins", {{1, 0}}, {L"1 0"}, false},
        PathCase{"a neighbour behind a wall does not", {{0, 1}}, {}, false},
        PathCase{"a click on the last room removes it", {{1, 0}, {2, 0}, {2, 0}}, {L"1 0"}, false},
        PathCase{"a click on an earlier room cuts back to it", {{4, 0}, {2, 0}}, {L"1 0", L"2 0"}, false},
        PathCase{"a corridor walk ends in the clicked cell", {{4, 0}}, {L"1 0", L"2 0", L"3 0", L"4 0"}, false},
        PathCase{"a walk ends at a wall", {{1, 0}, {1, 5}}, {L"1 0", L"1 1", L"1 2", L"1 3", L"1 4"}, false},
        // Down is the larger offset: the walk stops in the clicked row, not at the next wall.
        PathCase{"a diagonal click stops in the clicked row", {{1, 0}, {3, 3}}, {L"1 0", L"1 1", L"1 2", L"1 3"},
                 false},
        PathCase{"a diagonal click stops in the clicked column", {{4, 3}}, {L"1 0", L"2 0", L"3 0", L"4 0"}, false},
        PathCase{"the start room never joins", {{1, 0}, {0, 0}}, {L"1 0"}, false},
        PathCase{"the room before a goal solves", {{5, 0}, {5, 3}},
                 {L"1 0", L"2 0", L"3 0", L"4 0", L"5 0", L"5 1", L"5 2", L"5 3"}, true},
        PathCase{"clicks after solving change nothing", {{5, 0}, {5, 3}, {1, 0}},
                 {L"1 0", L"2 0", L"3 0", L"4 0", L"5 0", L"5 1", L"5 2", L"5 3"}, true}),
    [](::testing::TestParamInfo<PathCase> const& info) { return "case" + std::to_string(info.index); });

// ---- the goal, with and without "FAST" ----

struct GoalCase {
    char const* what;
    wchar_t const* game;
    std::vector<MazeCell> clicks;
    bool solved;
};

class MazeGoalTest : public MazeFixture, public ::testing::WithParamInterface<GoalCase> {};

TEST_P(MazeGoalTest, TheGoalIsReachedOrNot) {
    playTest(GetParam().game, kLayoutB);
    ASSERT_EQ(maze->getGoalRoom(), maze->roomAt(0, 5));
    for (MazeCell const& c : GetParam().clicks) click(cell(c.first, c.second));
    EXPECT_EQ(maze->isFinished(false), GetParam().solved) << GetParam().what;
}

std::vector<MazeCell> const kShortest = {{0, 1}, {0, 2}, {0, 3}, {0, 4}};
std::vector<MazeCell> const kDetour = {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {0, 3}, {0, 4}};
std::vector<MazeCell> const kFarGoal = {{5, 0}, {5, 3}};

std::vector<MazeCell> joined(std::vector<MazeCell> a, std::vector<MazeCell> const& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

INSTANTIATE_TEST_SUITE_P(
    Goals, MazeGoalTest,
    ::testing::Values(GoalCase{"fast: the shortest route solves", L"F", kShortest, true},
                      GoalCase{"fast: a longer route to the goal's door does not", L"F", kDetour, false},
                      GoalCase{"fast: cut back and taken short it does", L"F",
                               joined(joined(kDetour, {{1, 0}, {1, 0}}), kShortest), true},
                      GoalCase{"fast: the farther goal does not", L"F", kFarGoal, false},
                      GoalCase{"plain: the longer route solves", L"T", kDetour, true},
                      GoalCase{"plain: the farther goal solves", L"T", kFarGoal, true}),
    [](::testing::TestParamInfo<GoalCase> const& info) { return "case" + std::to_string(info.index); });

// ---- drawing ----

// Step numbers: the rooms of the path are red (the default mark colour times the floor), the
// numbers dark (the font style "MenuDunkel"); only the fast variant writes them.
class MazeNumbersTest : public MazeFixture, public ::testing::WithParamInterface<std::pair<wchar_t const*, bool>> {};

TEST_P(MazeNumbersTest, FastWritesTheStepNumbersOnThePath) {
    playTest(GetParam().first, kLayoutA);
    click(cell(3, 0));
    ASSERT_EQ(path(), (std::vector<std::wstring>{L"1 0", L"2 0", L"3 0"}));
    tick(true);
    std::vector<uint32_t> const shot = pixels();
    if (GetParam().second) keep("maze_schnell");
    for (int column = 1; column <= 3; ++column) {
        std::vector<uint32_t> const inside = cellPixels(shot, column, 0);
        auto const dark = std::count_if(inside.begin(), inside.end(), [](uint32_t p) { return ((p >> 16) & 255u) < 0x60u; });
        EXPECT_EQ(dark > 20, GetParam().second) << "column " << column << ": " << dark << " dark pixels";
    }
}

INSTANTIATE_TEST_SUITE_P(Variants, MazeNumbersTest,
                         ::testing::Values(std::make_pair(L"T", false), std::make_pair(L"F", true)));

class MazePlayTest : public MazeFixture {};

TEST_F(MazePlayTest, WallLinesRunAlongTheCellEdgesOnTopOfTheRoomsAlsoAfterTheDeviceWasLost) {
    playTest(L"T", kLayoutA);
    struct Edge {
        MazeCell a, b;
        bool wall;
    };
    Edge const edges[] = {
        {{2, 1}, {3, 1}, true},   // closed, between two rooms
        {{0, 0}, {0, 1}, true},   // the start's way down
        {{1, 1}, {1, 2}, false},  // the branch
        {{2, 0}, {3, 0}, false},  // the corridor
    };
    auto check = [&](char const* when) {
        tick(true);
        std::vector<uint32_t> const shot = pixels();
        for (Edge const& e : edges) {
            bool const vertical = e.a.second == e.b.second;
            EXPECT_EQ(wallAt(shot, edge(e.a, e.b), vertical), e.wall)
                << when << ": edge " << e.a.first << "," << e.a.second << " - " << e.b.first << "," << e.b.second;
        }
    };
    check("drawn");
    // As the main loop does: the check reports the loss, the next one resets the device.
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    port::d3d9::loseDevice(d3d.getDevice());
    EXPECT_FALSE(d3d.checkDevice());
    ASSERT_TRUE(d3d.checkDevice());
    check("after a lost and reset device");
}

// ---- the same game twice from one seed ----

TEST_F(MazePlayTest, TwoRunsFromOneSeedGiveTheSameMazeSignalsAndPicture) {
    constexpr unsigned kSeed = 20240611;
    auto const win = [this](Solitaire::Minispiel& game) {
        maze = dynamic_cast<Maze*>(&game);
        ASSERT_NE(maze, nullptr);
        for (Raum* room : routeToGoal(*maze)) click(cellOf(room));
    };
    SeededRun const first = playFromSeed(kSeed, L"MINIGAME_10", win);
    SeededRun const second = playFromSeed(kSeed, L"MINIGAME_10", win);
    EXPECT_EQ(log.count(L"ended"), 1u);
    expectWon();
    EXPECT_EQ(first.signals, second.signals);
    EXPECT_TRUE(first.picture == second.picture);
}

}  // namespace
