// The maze's rooms and their generation, without a window: rooms built from mask samples given
// here (rows of characters: '.' a room, 'S' the start, 'G' a goal, '#' no room), then a new maze
// made for many seeds of the runtime's generator and checked as a graph of open passages.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <set>

#include "engine/core/XMLNode.h"
#include "game/minigames/BlockSequence.h"
#include "game/minigames/Maze.h"
#include "port/crt/crt.h"
#include "tests/engine/core/LogWatch.h"

namespace {

using Solitaire::Maze;
using Raum = Solitaire::Maze::Raum;

constexpr int kGenerationSeeds = 200;

// Two parts side by side, split by the empty column 3; the start and a goal in the left one,
// another goal in the right one.
std::vector<std::wstring> const kTwoParts = {
    L"S..#...",
    L".#.#.G.",
    L"...#...",
    L"G..#...",
};

class MazeGenerationTest : public ::testing::Test {
protected:
    // A maze of square rooms (walls along the cell edges) built from the rows.
    static std::unique_ptr<Maze> make(std::vector<std::wstring> const& rows, std::wstring const& keys = L"") {
        Orvex::XMLNode node;
        node.loadFromText(L"<MINISPIEL TYPE=\"MAZE\" NAME=\"M\" " + keys +
                          L"><RAUM EDGES=\"4\" DELTA=\"-45\" LENGTH=\"1.41421\"/></MINISPIEL>");
        auto maze = std::make_unique<Maze>(node);
        build(*maze, rows);
        return maze;
    }

    static void build(Maze& maze, std::vector<std::wstring> const& rows) {
        int const columns = static_cast<int>(rows[0].size());
        int const count = static_cast<int>(rows.size());
        std::vector<D3DXCOLOR> cells;
        for (int i = 0; i < columns; ++i)
            for (int j = 0; j < count; ++j) {
                wchar_t const c = rows[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)];
                cells.push_back(c == L'#'   ? D3DXCOLOR(0, 0, 0, 0)
                                : c == L'S' ? D3DXCOLOR(0, 1, 0, 1)
                                : c == L'G' ? D3DXCOLOR(0, 0, 1, 1)
                                            : D3DXCOLOR(0.5f, 0, 0, 1));
            }
        maze.buildRooms(columns, count, cells);
    }

    // The rooms reached from one room through open passages, or (a part of the mask) through
    // links at all.
    static std::set<Raum*> reached(Raum* from, bool openOnly = true) {
        std::set<Raum*> seen{from};
        std::deque<Raum*> queue{from};
        while (!queue.empty()) {
            Raum* room = queue.front();
            queue.pop_front();
            for (Maze::Durchgang const& side : room->sides)
                if ((side.open || !openOnly) && side.neighbour && seen.insert(side.neighbour).second)
                    queue.push_back(side.neighbour);
        }
        return seen;
    }
    static std::set<Raum*> part(Raum* from) { return reached(from, false); }

    // Passages between the rooms of a set, each counted once.
    static int openings(std::set<Raum*> const& rooms) {
        int sides = 0;
        for (Raum* room : rooms)
            for (Maze::Durchgang const& side : room->sides) sides += side.open && side.neighbour ? 1 : 0;
        return sides / 2;
    }

    // Shortest numbers of passages from the start, by a search of the test's own.
    static std::map<Raum*, std::uint32_t> distances(Raum* start) {
        std::map<Raum*, std::uint32_t> out{{start, 0}};
        std::deque<Raum*> queue{start};
        while (!queue.empty()) {
            Raum* room = queue.front();
            queue.pop_front();
            for (Maze::Durchgang const& side : room->sides)
                if (side.open && side.neighbour && !out.count(side.neighbour)) {
                    out[side.neighbour] = out[room] + 1;
                    queue.push_back(side.neighbour);
                }
        }
        return out;
    }
};

TEST_F(MazeGenerationTest, RoomsAreBuiltColumnByColumnAndLinkedRightWithLeftAndDownWithUp) {
    auto maze = make(kTwoParts);
    ASSERT_EQ(maze->getRooms().size(), 28u - 4u - 1u);
    EXPECT_EQ(maze->getRooms()[0]->name, L"0 0");
    EXPECT_EQ(maze->getRooms()[1]->name, L"0 1");
    EXPECT_EQ(maze->getRooms()[4]->name, L"1 0");
    Raum* a = maze->roomAt(1, 0);
    EXPECT_EQ(a->sides[Maze::kRight].neighbour, maze->roomAt(2, 0));
    EXPECT_EQ(maze->roomAt(2, 0)->sides[Maze::kLeft].neighbour, a);
    EXPECT_EQ(a->sides[Maze::kDown].neighbour, nullptr);  // the hole at 1 1
    EXPECT_EQ(a->sides[Maze::kUp].neighbour, nullptr);    // the border
    EXPECT_EQ(maze->roomAt(2, 0)->sides[Maze::kRight].neighbour, nullptr);  // the empty column
    EXPECT_EQ(maze->getStartRoom(), maze->roomAt(0, 0));
    // Without "MULTIPLE_GOALS" only the first blue cell in column order is a goal.
    EXPECT_TRUE(maze->roomAt(0, 3)->isGoal);
    EXPECT_FALSE(maze->roomAt(5, 1)->isGoal);
}

TEST_F(MazeGenerationTest, WithoutCrossingsEachPartIsASpanningTreeOverManySeeds) {
    auto maze = make(kTwoParts, L"MULTIPLE_GOALS=\"1\"");
    std::set<Raum*> const left = part(maze->roomAt(0, 0));
    std::set<Raum*> const right = part(maze->roomAt(4, 0));
    ASSERT_EQ(left.size() + right.size(), maze->getRooms().size());
    std::set<std::vector<bool>> layouts;
    for (int seed = 1; seed <= kGenerationSeeds; ++seed) {
        msvc::srand(static_cast<unsigned>(seed));
        maze->generate();
        for (std::set<Raum*> const* rooms : {&left, &right}) {
            EXPECT_EQ(openings(*rooms), static_cast<int>(rooms->size()) - 1) << "seed " << seed;
            EXPECT_EQ(reached(*rooms->begin()), *rooms) << "seed " << seed;
        }
        // Distances are the route lengths from the start; the other part stays unreached and
        // its goal is never taken.
        std::map<Raum*, std::uint32_t> const expected = distances(maze->getStartRoom());
        for (Raum* room : maze->getRooms())
            EXPECT_EQ(room->distance, expected.count(room) ? expected.at(room) : Maze::kUnreached) << "seed " << seed;
        EXPECT_EQ(maze->getGoalRoom(), maze->roomAt(0, 3)) << "seed " << seed;
        EXPECT_TRUE(maze->getPath().empty());
        std::vector<bool> open;
        for (Raum* room : maze->getRooms())
            for (Maze::Durchgang const& side : room->sides) open.push_back(side.open);
        layouts.insert(open);
    }
    EXPECT_GT(layouts.size(), static_cast<std::size_t>(kGenerationSeeds / 2)) << "the mazes hardly differ";
}

TEST_F(MazeGenerationTest, CrossingsOpenThatManyMoreWallsAndStopWhenNoneIsLeft) {
    struct Case {
        std::vector<std::wstring> rows;
        int crossings;
        int openings;
    };
    Case const cases[] = {
        {{L"S....", L".....", L"....G"}, 3, 14 + 3},
        // A 2 x 2 block has four walls inside: a tree opens three, one crossing the last.
        {{L"S.", L".G"}, 50, 4},
        {{L"S"}, 1000, 0},
        {{L"SG"}, 1000, 1},
    };
    for (Case const& c : cases) {
        auto maze = make(c.rows, L"KREUZUNGEN=\"" + std::to_wstring(c.crossings) + L"\"");
        for (int seed = 1; seed <= 20; ++seed) {
            msvc::srand(static_cast<unsigned>(seed));
            maze->generate();
            std::set<Raum*> const all(maze->getRooms().begin(), maze->getRooms().end());
            EXPECT_EQ(openings(all), c.openings) << c.rows.size() << " rows, seed " << seed;
        }
    }
}

TEST_F(MazeGenerationTest, TheNearestGoalIsChosenAndATieKeepsThePreviousOne) {
    // A corridor: the start in the middle, goals at both ends at the same distance.
    auto maze = make({L"G.S.G"}, L"MULTIPLE_GOALS=\"1\"");
    // With every blue pixel a goal, building leaves the last one in column order.
    EXPECT_EQ(maze->getGoalRoom(), maze->roomAt(4, 0));
    for (int seed = 1; seed <= 10; ++seed) {
        msvc::srand(static_cast<unsigned>(seed));
        maze->generate();
        EXPECT_EQ(maze->getGoalRoom(), maze->roomAt(4, 0));
    }
    auto nearer = make({L"G.S..G"}, L"MULTIPLE_GOALS=\"1\"");
    nearer->generate();
    EXPECT_EQ(nearer->getGoalRoom(), nearer->roomAt(0, 0));
}

TEST_F(MazeGenerationTest, AMaskWithoutAStartLeavesEveryRoomUnreached) {
    auto maze = make({L"..G", L"..."});
    maze->generate();
    EXPECT_EQ(maze->getStartRoom(), nullptr);
    for (Raum* room : maze->getRooms()) EXPECT_EQ(room->distance, Maze::kUnreached);
}

// The sequence of the generation's groups keeps the order a plain list would have.
TEST(BlockSequenceTest, TakingToTheEndAndAppendingKeepTheOrderOfAPlainList) {
    Solitaire::BlockSequence<int> blocks;
    Solitaire::BlockSequence<int> other;
    std::vector<int> plain;
    std::vector<int> plainOther;
    msvc::srand(7);
    for (int i = 0; i < 500; ++i) {
        blocks.push_back(i);
        plain.push_back(i);
    }
    for (int i = 0; i < 130; ++i) {
        other.push_back(1000 + i);
        plainOther.push_back(1000 + i);
    }
    for (int round = 0; round < 20000; ++round) {
        std::size_t const k = static_cast<std::size_t>(msvc::rand()) % plain.size();
        blocks.moveToEnd(k);
        int const value = plain[k];
        plain.erase(plain.begin() + static_cast<std::ptrdiff_t>(k));
        plain.push_back(value);
        if (round == 9000) {
            blocks.append(std::move(other));
            plain.insert(plain.end(), plainOther.begin(), plainOther.end());
        }
    }
    EXPECT_EQ(blocks.toVector(), plain);
    EXPECT_EQ(blocks.size(), plain.size());
    EXPECT_TRUE(other.empty());
    EXPECT_EQ(blocks.findFirst([](int v) { return v >= 1000; }, -1),
              *std::find_if(plain.begin(), plain.end(), [](int v) { return v >= 1000; }));
}

}  // namespace
