// Screens are data: each window and menu the game flow, the menus and the buttons name, left out
// or of another kind, in turn. The game still plays a free game through to its results, a
// campaign level with the pause screen to its end, the shop and credits screens, a new profile
// and a warning; only the step that needs the window is skipped.
#include <gtest/gtest.h>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "tests/game/app/FlowFixture.h"

namespace {

using apptest::FlowFixture;
using Solitaire::RunningGame;
using Solitaire::SolitaireGame2;

struct FlowDamage {
    char const* what;
    std::string file;
    std::string from;
    std::string to;
};

class GameFlowBadInputTest : public FlowFixture, public testing::WithParamInterface<FlowDamage> {};

TEST_P(GameFlowBadInputTest, OnlyTheStepThatNeedsTheWindowIsSkipped) {
    FlowDamage const& damage = GetParam();
    dataEdits = {{damage.file, damage.from, damage.to}};
    startFlow();
    Orvex::GUIMenuManagerN& menus = Orvex::GUIMenuManagerN::instance();

    ASSERT_TRUE(Solitaire::SolitaireManager::instance().setCurrentByNames(L"KLASSIKER", L"HERZREIHE", L"HERZREIHE"));
    click(L"FG_StartButton");
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    settle(4.0);
    moveHearts(13);
    EXPECT_TRUE(game->getRunning().gameOver);
    for (int i = 0; i < 450 && activeMenu() != L"AUSWERTUNGMENU"; ++i) step(1.0 / 30.0);
    EXPECT_EQ(activeMenu(), L"AUSWERTUNGMENU");

    ASSERT_EQ(game->startCampaignLevel(0, 0, true), RunningGame::kGameStarted);
    menus.activateMenu(L"PAUSEMENU", -1.0);
    settle(0.5);
    menus.activateMenu(L"INGAMEMENU", -1.0);
    settle(0.5);
    endLevel();
    EXPECT_TRUE(game->getRunning().gameOver);
    menus.activateMenu(L"SHOPMENU", -1.0);
    menus.activateMenu(L"CREDITSMENU", -1.0);

    click(L"P_NEUButton");
    if (Orvex::GUILabel* name = Solitaire::labelOf(find(L"NP_ProfilName_LABEL"))) name->setText(L"Clara");
    click(L"NP_OKButton");
    game->getNewProfileDialog().showWarning(L"Achtung");
    settle(0.5);
    game->draw();
}

INSTANTIATE_TEST_SUITE_P(
    Windows, GameFlowBadInputTest,
    testing::Values(
        FlowDamage{"name_field_a_window", "data/GUI/NeuesProfil.gui", "NAME=\"NP_ProfilName_LABEL\" TYPE=\"LABEL\"",
               "NAME=\"NP_ProfilName_LABEL\""},
        FlowDamage{"name_field_missing", "data/GUI/NeuesProfil.gui", "NAME=\"NP_ProfilName_LABEL\"", "NAME=\"NP_Fehlt\""},
        FlowDamage{"tutorial_switch_missing", "data/GUI/NeuesProfil.gui", "NAME=\"NP_HELP_CHECKBOX_3\"", "NAME=\"NP_Fehlt\""},
        FlowDamage{"tutorial_switch_a_label", "data/GUI/NeuesProfil.gui", "NAME=\"NP_HELP_CHECKBOX_3\" TYPE=\"CHECKBOX\"",
               "NAME=\"NP_HELP_CHECKBOX_3\" TYPE=\"LABEL\""},
        FlowDamage{"warning_label_a_window", "data/GUI/Warnung.gui", "NAME=\"W_WarningLabel\" TYPE=\"LABEL\"",
               "NAME=\"W_WarningLabel\""},
        FlowDamage{"pause_buttons_missing", "data/GUI/Pause.gui", "NAME=\"P_BUTTONS\"", "NAME=\"P_Fehlt\""},
        FlowDamage{"banner_a_window", "data/GUI/FlowExtras.gui", "NAME=\"I_GameName\" TYPE=\"LABEL\"", "NAME=\"I_GameName\""},
        FlowDamage{"help_panel_missing", "data/GUI/FlowExtras.gui", "NAME=\"I_Help\"", "NAME=\"I_Fehlt\""},
        FlowDamage{"seed_field_missing", "data/GUI/FlowExtras.gui", "NAME=\"FG_SEED\"", "NAME=\"FG_Fehlt\""},
        FlowDamage{"story_look_missing", "data/GUI/FlowExtras.gui", "NAME=\"I_HG\"", "NAME=\"I_Fehlt\""},
        FlowDamage{"shop_label_a_window", "data/GUI/FlowExtras.gui", "NAME=\"S_MONEY\" TYPE=\"LABEL\"", "NAME=\"S_MONEY\""},
        FlowDamage{"version_label_a_window", "data/GUI/FlowExtras.gui", "NAME=\"C_Version\" TYPE=\"LABEL\"",
               "NAME=\"C_Version\""},
        FlowDamage{"resolution_slider_a_window", "data/GUI/FlowExtras.gui", "TYPE=\"SLIDER\" NAME=\"AufloesungSlider\"",
               "NAME=\"AufloesungSlider\""},
        FlowDamage{"pause_menu_missing", "data/GUI/menus.mnu", "GUIMENU NAME=\"PAUSEMENU\"", "GUIMENU NAME=\"PAUSE_FEHLT\""},
        FlowDamage{"dialog_menu_missing", "data/GUI/menus.mnu", "GUIMENU NAME=\"NEUESPROFIL\"",
               "GUIMENU NAME=\"NEUESPROFIL_FEHLT\""},
        FlowDamage{"warning_menu_missing", "data/GUI/menus.mnu", "GUIMENU NAME=\"WARNINGMENU\"",
               "GUIMENU NAME=\"WARNUNG_FEHLT\""}),
    [](testing::TestParamInfo<FlowDamage> const& info) { return std::string(info.param.what); });

}  // namespace
