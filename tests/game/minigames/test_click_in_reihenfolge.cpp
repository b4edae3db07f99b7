// The click-in-order game on the shipped data ("MINIGAME_6": 1; then 2 and 3; either opens 4;
// then 5), played by clicks.
#include <gtest/gtest.h>

#include "engine/gui/GUIWindow.h"
#include "game/minigames/ClickInReihenfolge.h"
#include "game/minigames/MinispielManager.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::ClickInReihenfolge;

class ClickInReihenfolgeTest : public minigametest::MinigameFixture {
protected:
    ClickInReihenfolge* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<ClickInReihenfolge>(L"MINIGAME_6");
        ASSERT_NE(game, nullptr);
    }

    void stone(int number) {
        click(middleOf(game->getElements()[static_cast<std::size_t>(number - 1)]->getScreenRect()));
    }
};

TEST_F(ClickInReihenfolgeTest, WonByClickingTheStonesInTheirOrder) {
    keep("reihenfolge_start");
    for (int number : {1, 3, 2, 4}) stone(number);
    EXPECT_EQ(game->getDone(), (std::vector<long>{1, 3, 2, 4}));
    EXPECT_FALSE(game->isFinished(false));
    stone(5);
    EXPECT_TRUE(game->isFinished(false));
    ticks(kSettleFrames);
    tick();
    keep("reihenfolge_geloest");
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(ClickInReihenfolgeTest, AStoneThatIsNotOpenDoesNothing) {
    stone(2);
    stone(5);
    EXPECT_TRUE(game->getDone().empty());
    EXPECT_EQ(game->getOpen(), (std::vector<long>{1}));
    stone(1);
    stone(1);
    EXPECT_EQ(game->getDone(), (std::vector<long>{1}));
    EXPECT_EQ(game->getOpen(), (std::vector<long>{2, 3}));
}

TEST_F(ClickInReihenfolgeTest, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

}  // namespace

namespace {

// Order tables and the clicks on the shipped five stones: which are done and open afterwards.
struct OrderCase {
    wchar_t const* rows;
    std::vector<int> clicks;
    std::vector<long> done;
    std::vector<long> open;
    bool solved;
    std::size_t logLines;
};
void PrintTo(OrderCase const& c, std::ostream* out) {
    *out << c.clicks.size() << " clicks, " << c.done.size() << " done";
}

class ClickOrderTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(ClickOrderTest, OpensEachElementOnceInTheTablesOrder) {
    logtest::LogWatch watch;
    define(std::wstring(L"<MINISPIEL TYPE=\"CLICKON\" NAME=\"C\">") + GetParam().rows + L"</MINISPIEL>");
    auto* game = play<ClickInReihenfolge>(L"C");
    ASSERT_NE(game, nullptr);
    for (int number : GetParam().clicks)
        click(middleOf(game->getElements()[static_cast<std::size_t>(number - 1)]->getScreenRect()));
    EXPECT_EQ(game->getDone(), GetParam().done);
    EXPECT_EQ(game->getOpen(), GetParam().open);
    EXPECT_EQ(game->isFinished(false), GetParam().solved);
    std::size_t mine = 0;
    for (std::wstring const& line : watch.lines()) mine += logtest::contains(line, L"test.min");
    EXPECT_EQ(mine, GetParam().logLines);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ClickOrderTest,
    ::testing::Values(
        // A chain: only the next one counts.
        OrderCase{L"<CAN_CLICK NR=\"0\">\"|1|\"</CAN_CLICK><CAN_CLICK NR=\"1\">\"|2|\"</CAN_CLICK>"
                  L"<CAN_CLICK NR=\"2\">\"|3|\"</CAN_CLICK>",
                  {3, 2, 1, 2, 3}, {1, 2, 3}, {}, true, 0},
        // Two rows open 4 (and a second node adds to row 1): opened once, never again once done.
        OrderCase{L"<CAN_CLICK NR=\"0\">\"|1|\"</CAN_CLICK><CAN_CLICK NR=\"1\">\"|2|\"</CAN_CLICK>"
                  L"<CAN_CLICK NR=\"1\">\"|3|\"</CAN_CLICK><CAN_CLICK NR=\"2\">\"|4|\"</CAN_CLICK>"
                  L"<CAN_CLICK NR=\"3\">\"|4|\"</CAN_CLICK>",
                  {1, 2, 4, 3}, {1, 2, 4, 3}, {}, true, 0},
        // No row 0: nothing is open, so the first click on any stone solves.
        OrderCase{L"<CAN_CLICK NR=\"1\">\"|2|\"</CAN_CLICK>", {5}, {}, {}, true, 0},
        // Rows below 0 and far beyond the elements are refused, the rest read.
        OrderCase{L"<CAN_CLICK NR=\"-1\">\"|2|\"</CAN_CLICK><CAN_CLICK NR=\"999999999\">\"|3|\"</CAN_CLICK>"
                  L"<CAN_CLICK NR=\"0\">\"|1|\"</CAN_CLICK>",
                  {1}, {1}, {}, true, 2},
        // A node without "NR" is skipped.
        OrderCase{L"<CAN_CLICK>\"|1|\"</CAN_CLICK><CAN_CLICK NR=\"0\">\"|2|\"</CAN_CLICK>", {1}, {}, {2}, false, 0}));

class ClickGapTest : public minigametest::MinigameFixture {};

TEST_F(ClickGapTest, ElementsStopAtTheFirstGapInTheirNumbers) {
    Orvex::XMLNode gui;
    std::wstring text = L"<GUI><VORLAGEN><WINDOW NAME=\"GAP_CLICKON_FENSTER\"/>";
    for (int n : {1, 2, 4})
        text += L"<WINDOW NAME=\"GAP_CLICKON_CLICK_" + std::to_wstring(n) + L"\"/>" +
                L"<WINDOW NAME=\"GAP_CLICKON_COVER_UP_" + std::to_wstring(n) + L"\"/>";
    ASSERT_TRUE(gui.loadFromText(text + L"</VORLAGEN></GUI>"));
    Orvex::GUISystem::instance().loadTextures(gui, L"gap.gui");
    define(L"<MINISPIEL TYPE=\"CLICKON\" NAME=\"G\" PR\u00C4FIX=\"GAP_\"/>");
    auto* game = dynamic_cast<ClickInReihenfolge*>(manager().findMinispiel(L"G"));
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getElements().size(), 2u);
    EXPECT_EQ(game->getCoverUps().size(), 2u);
}

}  // namespace
