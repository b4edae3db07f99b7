// The line walker: every integer point of a line in Bresenham order, both ends included, as a
// table over the eight octants, the axes, one-point lines and truncation of the float ends.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "engine/core/LineWalker.h"

namespace {

using Points = std::vector<std::pair<int, int>>;

struct Collector : sigslot::has_slots<> {
    Points points;
    void onPoint(int const& x, int const& y) { points.emplace_back(x, y); }
};

Points walk(float x0, float y0, float x1, float y1) {
    Orvex::LineWalker walker(x0, y0, x1, y1);
    Collector collector;
    walker.connect(&collector, &Collector::onPoint);
    walker.walk();
    return collector.points;
}

struct LineCase {
    char const* what;
    float x0, y0, x1, y1;
    Points expected;
};

// Expected points worked by hand: the error term starts at half the major delta, drops by the
// minor delta each step, and the minor coordinate steps (adding the major delta back) when it
// goes below 0. (0,0)->(5,2): error 2, 0, -2->3 (y+1), 1, -1->4 (y+1), 2.
std::vector<LineCase> const kLines = {
    {"octant 1 (x major, both rising)", 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
    {"octant 2 (y major, both rising)", 0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
    {"octant 3 (y major, x falling)", 0, 0, -2, 5, {{0, 0}, {0, 1}, {-1, 2}, {-1, 3}, {-2, 4}, {-2, 5}}},
    {"octant 4 (x major, x falling)", 0, 0, -5, 2, {{0, 0}, {-1, 0}, {-2, 1}, {-3, 1}, {-4, 2}, {-5, 2}}},
    {"octant 5 (x major, both falling)", 0, 0, -5, -2, {{0, 0}, {-1, 0}, {-2, -1}, {-3, -1}, {-4, -2}, {-5, -2}}},
    {"octant 6 (y major, both falling)", 0, 0, -2, -5, {{0, 0}, {0, -1}, {-1, -2}, {-1, -3}, {-2, -4}, {-2, -5}}},
    {"octant 7 (y major, y falling)", 0, 0, 2, -5, {{0, 0}, {0, -1}, {1, -2}, {1, -3}, {2, -4}, {2, -5}}},
    {"octant 8 (x major, y falling)", 0, 0, 5, -2, {{0, 0}, {1, 0}, {2, -1}, {3, -1}, {4, -2}, {5, -2}}},
    {"diagonal (a tie steps along x and y together)", 3, 3, 0, 0, {{3, 3}, {2, 2}, {1, 1}, {0, 0}}},
    {"horizontal", 2, 7, 5, 7, {{2, 7}, {3, 7}, {4, 7}, {5, 7}}},
    {"vertical, downwards", 1, 2, 1, -1, {{1, 2}, {1, 1}, {1, 0}, {1, -1}}},
    {"one point", 4, 9, 4, 9, {{4, 9}}},
    {"ends on one integer point after truncation", 4.2f, 9.9f, 4.8f, 9.1f, {{4, 9}}},
    {"floats truncated toward zero", -0.7f, 0.9f, 2.99f, 1.5f, {{0, 0}, {1, 0}, {2, 1}}},
    {"two neighbours", 0, 0, 1, 0, {{0, 0}, {1, 0}}},
};

TEST(LineWalkerTest, EmitsEveryPointOfTheLineInOrderWithBothEnds) {
    for (LineCase const& line : kLines) EXPECT_EQ(walk(line.x0, line.y0, line.x1, line.y1), line.expected) << line.what;
}

TEST(LineWalkerTest, ReversedLinesCoverTheSameCountAndEnds) {
    for (LineCase const& line : kLines) {
        Points const back = walk(line.x1, line.y1, line.x0, line.y0);
        ASSERT_EQ(back.size(), line.expected.size()) << line.what;
        EXPECT_EQ(back.front(), line.expected.back()) << line.what;
        EXPECT_EQ(back.back(), line.expected.front()) << line.what;
    }
}

TEST(LineWalkerTest, WildCoordinatesAreClampedSoAWalkStaysBounded) {
    float const inf = std::numeric_limits<float>::infinity();
    float const nan = std::numeric_limits<float>::quiet_NaN();
    Orvex::LineWalker wild(-inf, nan, 1e30f, -1e30f);
    EXPECT_EQ(wild.getFromX(), -Orvex::LineWalker::kCoordinateLimit);
    EXPECT_EQ(wild.getFromY(), 0);
    EXPECT_EQ(wild.getToX(), Orvex::LineWalker::kCoordinateLimit);
    EXPECT_EQ(wild.getToY(), -Orvex::LineWalker::kCoordinateLimit);
    Points const points = walk(-inf, nan, 1e30f, -1e30f);
    EXPECT_EQ(points.size(), 2u * Orvex::LineWalker::kCoordinateLimit + 1);
    EXPECT_EQ(points.back(), std::make_pair(Orvex::LineWalker::kCoordinateLimit, -Orvex::LineWalker::kCoordinateLimit));
}

}  // namespace
