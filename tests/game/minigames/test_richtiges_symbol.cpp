// The symbols game on the shipped data ("MINIGAME_4", prefix "MS_": five symbols in 2 x 3, the
// two red ones right; heart and spade share a group, as do diamond and club), played by clicks.
#include <gtest/gtest.h>

#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/RichtigesSymbolAnklicken.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::RichtigesSymbolAnklicken;

class RichtigesSymbolTest : public minigametest::MinigameFixture {
protected:
    RichtigesSymbolAnklicken* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<RichtigesSymbolAnklicken>(L"MINIGAME_4");
        ASSERT_NE(game, nullptr);
    }

    RichtigesSymbolAnklicken::Gebiet* area(std::wstring const& name) const {
        for (auto* each : game->getAreas())
            if (each->getName() == name) return each;
        return nullptr;
    }
    void tickBox(std::wstring const& name) { click(middleOf(area(name)->checkBox->getScreenRect())); }
    bool ticked(std::wstring const& name) const { return area(name)->checkBox->isChecked(); }
    void check() { clickPart(L"MS_RICHTIGES_SYMBOL_OK"); }
};

TEST_F(RichtigesSymbolTest, TheFiveAreasLieInTwoColumnsOfThreeRows) {
    keep("symbole_start");
    std::vector<float> lefts;
    std::vector<float> tops;
    for (auto* each : game->getAreas()) {
        Orvex::FRect const r = each->window->getScreenRect();
        bool seenLeft = false;
        for (float x : lefts) seenLeft = seenLeft || std::abs(x - r.left) < 1.0f;
        if (!seenLeft) lefts.push_back(r.left);
        bool seenTop = false;
        for (float y : tops) seenTop = seenTop || std::abs(y - r.top) < 1.0f;
        if (!seenTop) tops.push_back(r.top);
    }
    EXPECT_EQ(lefts.size(), 2u);
    EXPECT_EQ(tops.size(), 3u);
}

TEST_F(RichtigesSymbolTest, WonAtOnceByOkWithTheRedSymbolsTicked) {
    tickBox(L"HERZ");
    tickBox(L"KARO");
    keep("symbole_angekreuzt");
    check();
    expectWon();
    tick();
    EXPECT_EQ(active(), nullptr);
}

TEST_F(RichtigesSymbolTest, ATickUnticksTheOthersOfItsGroupOnly) {
    tickBox(L"HERZ");
    tickBox(L"KARO");
    tickBox(L"STERN");
    EXPECT_TRUE(ticked(L"HERZ"));
    EXPECT_TRUE(ticked(L"KARO"));
    EXPECT_TRUE(ticked(L"STERN"));
    tickBox(L"PIK");
    EXPECT_FALSE(ticked(L"HERZ"));
    EXPECT_TRUE(ticked(L"PIK"));
    EXPECT_TRUE(ticked(L"KARO"));
    // Unticking does not untick the rest of its group.
    tickBox(L"PIK");
    EXPECT_FALSE(ticked(L"PIK"));
    EXPECT_TRUE(ticked(L"KARO"));
}

TEST_F(RichtigesSymbolTest, AWrongAnswerFailsAndStartsOverUntickedAndReshuffled) {
    std::vector<Orvex::GUIRectAxis> before;
    for (auto* each : game->getAreas()) before.push_back(each->window->getRect().getParamsX());
    tickBox(L"HERZ");
    tickBox(L"PIK");
    check();
    EXPECT_EQ(log.count(L"failed"), 1u);
    EXPECT_EQ(log.count(L"ended"), 0u);
    for (auto* each : game->getAreas()) EXPECT_FALSE(each->checkBox->isChecked());
    bool moved = false;
    for (std::size_t i = 0; i < before.size(); ++i)
        moved = moved || !(game->getAreas()[i]->window->getRect().getParamsX() == before[i]);
    EXPECT_TRUE(moved);
}

TEST_F(RichtigesSymbolTest, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

}  // namespace

namespace {

// Grids that cannot be shuffled are not, and a grid of 0 columns is none; one log line each.
struct SymbolGridCase {
    wchar_t const* arrangement;
    int areas;
    bool windows;
    bool shuffles;
    std::size_t logLines;
};
void PrintTo(SymbolGridCase const& c, std::ostream* out) {
    *out << "ANORDNUNG " << minigametest::narrow(c.arrangement) << ", " << c.areas << " areas";
}

class RichtigesSymbolGridTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<SymbolGridCase> {};

TEST_P(RichtigesSymbolGridTest, ShufflesOnlyAGridOfTwoOrMoreWindows) {
    std::wstring areas;
    for (int i = 0; i < GetParam().areas; ++i)
        areas += std::wstring(L"<GEBIET ") + (GetParam().windows || i > 0 ? L"GUI=\"MG_SYMBOLFELD\" " : L"") +
                 L"GUI_CHECK_BOX=\"MG_SYMBOLHAKEN\" ANIMATION=\"MG_SYMBOL_HERZ\"/>";
    logtest::LogWatch watch;
    define(L"<MINISPIEL TYPE=\"RICHTIGES_SYMBOL\" NAME=\"S\" PR\u00C4FIX=\"MS_\" ANORDNUNG=\"" +
           std::wstring(GetParam().arrangement) + L"\">" + areas + L"</MINISPIEL>");
    auto* game = play<RichtigesSymbolAnklicken>(L"S");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->canShuffle(), GetParam().shuffles);
    std::size_t mine = 0;
    for (std::wstring const& line : watch.lines()) mine += logtest::contains(line, L"test.min");
    EXPECT_EQ(mine, GetParam().logLines);
    // A wrong answer starts over, with or without a shuffle.
    clickPart(L"MS_RICHTIGES_SYMBOL_OK");
    EXPECT_EQ(log.count(L"failed") + log.count(L"ended"), 1u);
}

INSTANTIATE_TEST_SUITE_P(Grids, RichtigesSymbolGridTest,
                         ::testing::Values(SymbolGridCase{L"-1", 2, true, true, 0}, SymbolGridCase{L"-1", 1, true, false, 1},
                                           SymbolGridCase{L"0", 3, true, false, 1}, SymbolGridCase{L"2", 3, false, false, 1},
                                           SymbolGridCase{L"3", 7, true, true, 0}));

}  // namespace
