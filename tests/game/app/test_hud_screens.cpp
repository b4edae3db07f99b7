// The in-game screen and the shop as a player sees them, on the game's own data: a campaign level
// of Zellen dealt with its goals, the gods and the balance, and a free game of Spinne with the
// undo buttons, each at 1024 x 768 and 1280 x 720; the panels with their frames and a medal; the
// shop over the table. Each is kept in the build folder ("screenshots": hud_*.png, shop_*.png)
// for a person to look at; probes check that the HUD is drawn where its layout puts it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gui/GUIAnimationsGoal.h"
#include "tests/game/app/HudFixture.h"

namespace {

using apptest::HudFixture;

using apptest::ScreenSize;

class HudScreensTest : public HudFixture, public ::testing::WithParamInterface<ScreenSize> {
protected:
    void SetUp() override { startHud(GetParam().width, GetParam().height); }

    std::string size() const { return std::to_string(width) + "x" + std::to_string(height); }
    // The frame's pixel under the middle of a window.
    uint32_t middleOf(std::vector<uint32_t> const& pixels, std::wstring const& name) const {
        Orvex::FRect const r = find(name)->getScreenRect();
        return at(pixels, static_cast<unsigned>((r.left + r.right) / 2), static_cast<unsigned>((r.top + r.bottom) / 2));
    }
};

TEST_P(HudScreensTest, CampaignLevelFreeGameAndShop) {
    profile->addUnlock(L"GOD0", false);
    profile->addUnlock(L"GOD2", false);
    profile->addUnlock(L"GOD3", false);
    profile->setGodPercent(0, 1.0f);
    profile->setGodPercent(2, 0.4f);
    startLevel(1, 0, 31250.0f);
    cards().changeScore(640.0f);
    find(L"I_HG")->jumpToGoal(L"ST");
    for (wchar_t const* button : {L"I_Multiplier", L"I_Shuffle", L"I_Undo_Step", L"I_Redo_Step", L"I_Undo_Start",
                                  L"I_Redo_End", L"I_Load", L"I_Save"})
        find(button)->jumpToGoal(L"ST");
    settle(60);
    std::vector<uint32_t> const level = frame();
    keepBackBuffer("hud_level_" + size() + ".png");
    EXPECT_GT(lightPixelsIn(level, L"I_Points"), 20) << "the score is written";
    EXPECT_GT(lightPixelsIn(level, L"I_Goal1_Label"), 20) << "the first goal is named";
    EXPECT_NE(middleOf(level, L"I_GOTT_BILD_0"), middleOf(level, L"I_GOTT_BILD_1")) << "an unlocked god beside a locked one";

    // The panels with the frames the game draws behind them, and a medal with its star.
    label(L"I_GameName")->setText(L"Willkommen bei Zellen!");
    label(L"I_Help")->setText(L"Lege alle Karten nach Farben geordnet auf die Ablagestapel.");
    for (wchar_t const* panel : {L"I_GameName", L"I_Statistiken", L"I_ABSCHLUSS_GOLD"}) find(panel)->jumpToGoal(L"AN");
    find(L"I_Help")->jumpToGoal(L"CENTER");
    settle(10);
    std::vector<uint32_t> const panels = frame();
    keepBackBuffer("hud_panels_" + size() + ".png");
    EXPECT_GT(lightPixelsIn(panels, L"I_GameName"), 100) << "the banner's text";
    for (wchar_t const* panel : {L"I_GameName", L"I_Statistiken", L"I_Help", L"I_ABSCHLUSS_GOLD"}) find(panel)->jumpToGoal(L"AUS");
    settle(10);

    game->getPowersAndShop().refreshShopLabels();
    showMenu(L"SHOPMENU");
    std::vector<uint32_t> const shop = frame();
    keepBackBuffer("shop_" + size() + ".png");
    EXPECT_GT(lightPixelsIn(shop, L"S_MONEY"), 20) << "the balance is written";
    EXPECT_NE(middleOf(shop, L"S_JOKER"), middleOf(level, L"S_JOKER")) << "the joker is drawn into its offer";

    startFree(L"KLASSIKER", L"SPINNE", L"SPINNE");
    find(L"I_HG")->jumpToGoal(L"FG");
    for (wchar_t const* button : {L"I_Multiplier", L"I_Shuffle", L"I_Undo_Step", L"I_Redo_Step", L"I_Undo_Start",
                                  L"I_Redo_End", L"I_Load", L"I_Save"})
        find(button)->jumpToGoal(L"FG");
    find(L"I_STORY")->jumpToGoal(L"AUS");
    find(L"I_FREIESSPIEL")->jumpToGoal(L"AN");
    settle(60);
    std::vector<uint32_t> const free = frame();
    keepBackBuffer("hud_free_" + size() + ".png");
    EXPECT_GT(lightPixelsIn(free, L"I_Undo_Step"), 10) << "the undo button is drawn in free play";
}

INSTANTIATE_TEST_SUITE_P(Sizes, HudScreensTest, ::testing::Values(ScreenSize{1024, 768}, ScreenSize{1280, 720}),
                         [](auto const& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

}  // namespace
