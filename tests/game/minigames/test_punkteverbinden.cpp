// Connect the dots on the shipped data ("MINIGAME_12": three stars to join into a triangle and
// a small point that may be joined to any other) and on a board defined here, played by presses
// through the window; the solved test and the keys also without a window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "game/minigames/Punkteverbinden.h"
#include "port/d3d9/d3d9_port.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Punkteverbinden;
using Punkt = Solitaire::Punkteverbinden::Punkt;

// Five points on a square field: 1 and 2 each other's goal, 3 may be joined to 1 (listed on 3
// only), 4 to any point, 5 to none.
std::wstring const kBoard =
    L"<MINISPIEL TYPE=\"PUNKTE_VERBINDEN\" NAME=\"P\" LSG_TIME=\"60\" TIMER=\"1\">"
    L"<PUNKT ID=\"1\" POSITION=\"0.2 0.2\" SIZE=\"0.1\" GOAL_CONNECTIONS=\"2\" ANIMATION=\"MG_PUNKT_STERN\"/>"
    L"<PUNKT ID=\"2\" POSITION=\"0.8 0.2\" SIZE=\"0.1\" GOAL_CONNECTIONS=\"1\" ANIMATION=\"MG_PUNKT_STERN\"/>"
    L"<PUNKT ID=\"3\" POSITION=\"0.2 0.8\" SIZE=\"0.1\" VALID_CONNECTIONS=\"1\" ANIMATION=\"MG_PUNKT_STERN\"/>"
    L"<PUNKT ID=\"4\" POSITION=\"0.8 0.8\" SIZE=\"0.1\" VALID_CONNECTIONS=\"-1\" ANIMATION=\"MG_PUNKT_KLEIN\"/>"
    L"<PUNKT ID=\"5\" POSITION=\"0.5 0.5\" SIZE=\"0.1\" ANIMATION=\"MG_PUNKT_KLEIN\"/>"
    L"</MINISPIEL>";

class DotsFixture : public minigametest::MinigameFixture {
protected:
    Punkteverbinden* dots = nullptr;

    // A place of the field (fractions) on the screen, in whole pixels.
    D3DXVECTOR2 at(float x, float y) const {
        Orvex::FRect const f = dots->getField()->getScreenRect();
        return D3DXVECTOR2(std::floor(f.left + x * (f.right - f.left)), std::floor(f.top + y * (f.bottom - f.top)));
    }
    D3DXVECTOR2 centreOf(int id) const {
        for (Punkt const* p : dots->getPoints())
            if (p->id == id) return at(p->x, p->y);
        ADD_FAILURE() << "no point " << id;
        return D3DXVECTOR2(0, 0);
    }
    D3DXVECTOR2 between(int a, int b) const { return (centreOf(a) + centreOf(b)) * 0.5f; }

    // The lines as "a-b" with a < b (each recorded on both points, which is checked).
    std::set<std::string> lines() const {
        std::set<std::string> out;
        for (Punkt const* p : dots->getPoints())
            for (Punkt const* q : p->connections) {
                EXPECT_NE(std::find(q->connections.begin(), q->connections.end(), p), q->connections.end());
                out.insert(std::to_string(std::min(p->id, q->id)) + "-" + std::to_string(std::max(p->id, q->id)));
            }
        return out;
    }

    uint32_t rgbAt(D3DXVECTOR2 const& point) { return pixelAt(pixels(), point) & 0xFFFFFFu; }
};

class DotsTest : public DotsFixture {
protected:
    void SetUp() override {
        DotsFixture::SetUp();
        dots = play<Punkteverbinden>(L"MINIGAME_12");
        ASSERT_NE(dots, nullptr);
        log.lines.clear();
    }
};

TEST_F(DotsTest, TheTriangleWinsAndItsLinesBlinkGreenUntilTheEnd) {
    keep("punkte_start");
    // "ABS_SIZE" 800 x 600: the first star at 400, 120 lies in the middle, a fifth from the top.
    EXPECT_FLOAT_EQ(dots->getPoints()[0]->x, 0.5f);
    EXPECT_FLOAT_EQ(dots->getPoints()[0]->y, 0.2f);
    for (int id : {1, 2, 3, 1}) click(centreOf(id));
    EXPECT_EQ(lines(), (std::set<std::string>{"1-2", "1-3", "2-3"}));
    EXPECT_EQ(log.lines, (std::vector<std::wstring>{L"wrong MINIGAME_12", L"move MINIGAME_12", L"move MINIGAME_12",
                                                    L"move MINIGAME_12"}));
    ASSERT_TRUE(dots->isFinished(false));
    // Drawn two frames after the press: the goal lines are shown for a tenth of a second, then
    // hidden for one.
    EXPECT_EQ(rgbAt(between(1, 2)), 0x00FF00u);
    keep("punkte_geloest");
    ticks(5, true);
    EXPECT_NE(rgbAt(between(1, 2)), 0x00FF00u);
    ticks(6, true);
    EXPECT_EQ(rgbAt(between(1, 2)), 0x00FF00u);
    waitForTheEnd(*dots);
    expectWon();
}

TEST_F(DotsTest, LostWhenTheTimeRunsOutAndTheSecondSkipButtonIsClicked) {
    click(centreOf(1));
    click(centreOf(4));
    loseByTime();
    expectSkipped();
}

TEST_F(DotsTest, TheCancelButtonClosesIt) {
    clickPart(L"PUNKTEVERBINDEN_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
    EXPECT_EQ(log.count(L"ended"), 0u);
}

class DotsPlayTest : public DotsFixture {};

TEST_F(DotsPlayTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    auto const win = [this](Solitaire::Minispiel& game) {
        dots = dynamic_cast<Punkteverbinden*>(&game);
        ASSERT_NE(dots, nullptr);
        for (int id : {1, 4, 2, 3, 1, 4, 2}) click(centreOf(id));
        rightClick(centreOf(4));
        click(centreOf(1));
    };
    SeededRun const first = playFromSeed(7, L"MINIGAME_12", win);
    SeededRun const second = playFromSeed(7, L"MINIGAME_12", win);
    expectWon();
    EXPECT_EQ(first.signals, second.signals);
    EXPECT_TRUE(first.picture == second.picture);
}

// ---- presses on the board defined here ----

struct Press {
    int point;  // 0: empty space
    bool right;
};

struct PressCase {
    char const* what;
    std::vector<Press> presses;
    std::set<std::string> lines;
    std::vector<std::wstring> signals;
    int selected;
    bool solved;
};

class DotsPressTest : public DotsFixture, public ::testing::WithParamInterface<PressCase> {};

TEST_P(DotsPressTest, PressesConnectSelectAndRemove) {
    define(kBoard);
    dots = play<Punkteverbinden>(L"P");
    ASSERT_NE(dots, nullptr);
    // The help's OK button lies over the field: its press reached no point.
    EXPECT_EQ(dots->getSelected(), nullptr);
    EXPECT_EQ(log.count(L"wrong"), 0u);
    log.lines.clear();
    for (Press const& press : GetParam().presses) {
        D3DXVECTOR2 const point = press.point ? centreOf(press.point) : at(0.5f, 0.2f);
        if (press.right)
            rightClick(point);
        else
            click(point);
    }
    std::vector<std::wstring> signals;
    for (std::wstring const& line : log.lines) signals.push_back(line.substr(0, line.find(L' ')));
    EXPECT_EQ(lines(), GetParam().lines);
    EXPECT_EQ(signals, GetParam().signals);
    EXPECT_EQ(dots->getSelected() ? dots->getSelected()->id : 0, GetParam().selected);
    EXPECT_EQ(dots->isFinished(false), GetParam().solved);
}

INSTANTIATE_TEST_SUITE_P(
    Presses, DotsPressTest,
    ::testing::Values(
        PressCase{"mutual goals solve", {{1, false}, {2, false}}, {"1-2"}, {L"wrong", L"move"}, 2, true},
        PressCase{"a link listed on one point joins either way",
                  {{1, false}, {3, false}, {3, false}, {1, false}},
                  {"1-3"},
                  {L"wrong", L"move", L"wrong", L"move"},
                  1,
                  false},
        PressCase{"a point that may not be joined is selected instead", {{5, false}, {1, false}}, {}, {L"wrong", L"wrong"}, 1,
                  false},
        PressCase{"the selected point itself stays selected", {{1, false}, {1, false}}, {}, {L"wrong", L"wrong"}, 1, false},
        PressCase{"-1 joins any point", {{5, false}, {4, false}}, {"4-5"}, {L"wrong", L"move"}, 4, false},
        PressCase{"a right click removes all lines of the point from both ends",
                  {{3, false}, {1, false}, {4, false}, {5, false}, {1, true}},
                  {"4-5"},
                  {L"wrong", L"move", L"move", L"move", L"move"},
                  5,
                  false},
        PressCase{"a right click on a point without lines is a move", {{5, true}}, {}, {L"move"}, 0, false},
        PressCase{"a press on empty space is wrong", {{0, false}, {0, true}}, {}, {L"wrong", L"wrong"}, 0, false},
        PressCase{"presses after solving go on and it stays solved",
                  {{1, false}, {2, false}, {4, false}},
                  {"1-2", "2-4"},
                  {L"wrong", L"move", L"move"},
                  4,
                  true}),
    [](::testing::TestParamInfo<PressCase> const& info) { return "case" + std::to_string(info.index); });

TEST_F(DotsPlayTest, GoalLinesAreGreenOthersGreyOnTopOfThePointsAlsoAfterTheDeviceWasLost) {
    define(kBoard);
    dots = play<Punkteverbinden>(L"P");
    ASSERT_NE(dots, nullptr);
    // 1 - 3 is allowed, not a goal: grey; 1 - 4 likewise; no line between 1 and 2.
    for (int id : {3, 1, 4}) click(centreOf(id));
    ASSERT_EQ(lines(), (std::set<std::string>{"1-3", "1-4"}));
    auto check = [&](char const* when) {
        tick(true);
        EXPECT_EQ(rgbAt(between(1, 3)), 0x808080u) << when;
        EXPECT_EQ(rgbAt(between(1, 4)), 0x808080u) << when;
        // The line starts in the middle of the point's picture.
        EXPECT_EQ(rgbAt(centreOf(1) + D3DXVECTOR2(0, 6)), 0x808080u) << when;
        EXPECT_NE(rgbAt(between(1, 2)), 0x808080u) << when;
    };
    check("drawn");
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    port::d3d9::loseDevice(d3d.getDevice());
    EXPECT_FALSE(d3d.checkDevice());
    ASSERT_TRUE(d3d.checkDevice());
    check("after a lost and reset device");
    // The goal line, not blinking before the game is solved... which it is now.
    rightClick(centreOf(1));
    click(centreOf(1));
    click(centreOf(2));
    EXPECT_EQ(rgbAt(between(1, 2)), 0x00FF00u);
}

TEST_F(DotsPlayTest, WithoutItsTemplatesItHasNoWindowTakesNoPressAndCanBeSkipped) {
    define(L"<MINISPIEL TYPE=\"PUNKTE_VERBINDEN\" NAME=\"N\" PR\u00C4FIX=\"KEIN_\"><PUNKT ID=\"1\" SIZE=\"1\" "
           L"VALID_CONNECTIONS=\"-1\"/></MINISPIEL>");
    Solitaire::Minispiel* game = begin(L"N");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getWindow(), nullptr);
    click(D3DXVECTOR2(512, 384));
    EXPECT_EQ(log.count(L"wrong"), 0u);
    skipFromHelp();
    tick();
    expectSkipped();
}

// ---- without a window ----

std::unique_ptr<Punkteverbinden> makeDots(std::wstring const& keys, std::wstring const& points) {
    Orvex::XMLNode node;
    node.loadFromText(L"<MINISPIEL TYPE=\"PUNKTE_VERBINDEN\" NAME=\"D\" " + keys + L">" + points + L"</MINISPIEL>",
                      L"test.min");
    return std::make_unique<Punkteverbinden>(node);
}

TEST(DotsKeysTest, AbsoluteSizeDividesPlacesAndSizesAndAZeroIsLeftOut) {
    struct Case {
        wchar_t const* absSize;
        float x, y, w, h;
        bool logged;
    };
    Case const cases[] = {
        {L"ABS_SIZE=\"800 600\"", 0.5f, 0.5f, 0.1f, 0.1f, false},
        {L"ABS_SIZE=\"400\"", 1.0f, 0.75f, 0.2f, 0.15f, false},
        {L"ABS_SIZE=\"\"", 400.0f, 300.0f, 80.0f, 60.0f, false},
        {L"", 400.0f, 300.0f, 80.0f, 60.0f, false},
        {L"ABS_SIZE=\"0 600\"", 400.0f, 0.5f, 80.0f, 0.1f, true},
        {L"ABS_SIZE=\"800 0\"", 0.5f, 300.0f, 0.1f, 60.0f, true},
        {L"ABS_SIZE=\"inf\"", 400.0f, 300.0f, 80.0f, 60.0f, true},
        // A size is a measure: beyond a million it is refused whole; near 0 it would divide the
        // places past a float.
        {L"ABS_SIZE=\"3e38\"", 400.0f, 300.0f, 80.0f, 60.0f, true},
        {L"ABS_SIZE=\"800 1e7\"", 400.0f, 300.0f, 80.0f, 60.0f, true},
        {L"ABS_SIZE=\"1e-38 600\"", 400.0f, 0.5f, 80.0f, 0.1f, true},
    };
    for (Case const& c : cases) {
        logtest::LogWatch watch;
        auto dots = makeDots(c.absSize, L"<PUNKT POSITION=\"400 300\" SIZE=\"80 60\"/>");
        Punkt const& p = *dots->getPoints()[0];
        std::string const what = minigametest::narrow(c.absSize);
        EXPECT_FLOAT_EQ(p.x, c.x) << what;
        EXPECT_FLOAT_EQ(p.y, c.y) << what;
        EXPECT_FLOAT_EQ(p.w, c.w) << what;
        EXPECT_FLOAT_EQ(p.h, c.h) << what;
        bool logged = false;
        for (std::wstring const& line : watch.lines())
            logged = logged || (logtest::contains(line, L"at line 1") && logtest::contains(line, L"ABS_SIZE"));
        EXPECT_EQ(logged, c.logged) << what;
    }
}

TEST(DotsKeysTest, PointsAndIdsAreCappedWithALogLine) {
    std::wstring ids;
    for (std::size_t i = 0; i < Punkteverbinden::kMaxIds + 6; ++i) ids += std::to_wstring(i) + L" ";
    std::wstring points;
    for (std::size_t i = 0; i < Punkteverbinden::kMaxPoints + 1; ++i)
        points += L"<PUNKT GOAL_CONNECTIONS=\"" + (i == 0 ? ids : std::wstring()) + L"\"/>";
    logtest::LogWatch watch;
    auto dots = makeDots(L"", points);
    EXPECT_EQ(dots->getPoints().size(), Punkteverbinden::kMaxPoints);
    EXPECT_EQ(dots->getPoints()[0]->goals.size(), Punkteverbinden::kMaxIds);
    std::size_t logged = 0;
    for (std::wstring const& line : watch.lines()) logged += logtest::contains(line, L"at line 1") ? 1 : 0;
    EXPECT_EQ(logged, 2u);
}

TEST(DotsKeysTest, TheLinesSolveWhenTheyAreExactlyTheGoalsOfBothEnds) {
    struct Case {
        char const* what;
        wchar_t const* keys;
        std::vector<std::pair<int, int>> lines;  // indices into the points
        bool solved;
    };
    // Points 0..3 with ids 1, 2, 3 and -1.
    Case const cases[] = {
        {"no goals, no lines", L"", {}, true},
        {"the goals of both ends", L"G12", {{0, 1}}, true},
        {"listed on one end only", L"G1", {{0, 1}}, false},
        {"a line beyond the goals", L"G12", {{0, 1}, {0, 2}}, false},
        {"a goal without its line", L"G12", {}, false},
        {"-1 in the goals matches only the point of id -1", L"GA", {{0, 1}}, false},
        {"the point of id -1 is matched by -1", L"GA", {{0, 3}}, true},
    };
    for (Case const& c : cases) {
        std::wstring const k = c.keys;
        std::wstring const goals1 = k == L"G12" || k == L"G1" ? L"2" : k == L"GA" ? L"-1" : L"";
        std::wstring const goals2 = k == L"G12" ? L"1" : L"";
        std::wstring const goalsA = k == L"GA" ? L"1" : L"";
        for (bool onlyGoals : {true, false}) {
            auto dots = makeDots(onlyGoals ? L"" : L"ONLY_GOALS_TO_FINISH=\"0\"",
                             L"<PUNKT ID=\"1\" GOAL_CONNECTIONS=\"" + goals1 + L"\"/><PUNKT ID=\"2\" GOAL_CONNECTIONS=\"" +
                                 goals2 + L"\"/><PUNKT ID=\"3\"/><PUNKT ID=\"-1\" GOAL_CONNECTIONS=\"" + goalsA + L"\"/>");
            std::vector<Punkt*> const& points = dots->getPoints();
            for (auto const& [a, b] : c.lines) points[a]->connect(*points[b]);
            EXPECT_EQ(dots->isSolved(), c.solved) << c.what << (onlyGoals ? "" : ", all connections looked at");
        }
    }
}

}  // namespace
