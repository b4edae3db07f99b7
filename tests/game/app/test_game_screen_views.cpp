// The achievement, options, profile, help and credits screens on the game's own data, drawn at
// 1024 x 768 and kept in the build folder ("screenshots") for a person to look at; each shows
// more than its backdrop.
#include <gtest/gtest.h>

#include "engine/platform/D3DInterface.h"
#include "game/app/SolitaireGame2.h"
#include "tests/game/app/ScreensFixture.h"

namespace {

class GameScreenViewsTest : public apptest::ScreensFixture {};

TEST_F(GameScreenViewsTest, EveryScreenDrawsForAPerson) {
    addProfile(L"Anna");
    profiles().setActiveProfile(addProfile(L"Bernd"));
    addProfile(L"Clara");
    Solitaire::AchivementManager& achievements = Solitaire::AchivementManager::instance();
    achievements.find(L"KARTEN_MOVED")->setValue(150.0f);
    achievements.find(L"STARS")->setValue(300.0f);
    achievements.find(L"TIPP_USED")->setValue(12.0f);
    struct {
        wchar_t const* menu;
        char const* file;
    } const screens[] = {
        {L"ACHIVEMENTS_MENU", "screen_achievements.png"}, {L"OPTIONENMENU", "screen_options.png"},
        {L"PROFILMENU", "screen_profiles.png"},           {L"HILFEMENU", "screen_help.png"},
        {L"CREDITSMENU", "screen_credits.png"},
    };
    for (auto const& s : screens) {
        if (std::wstring(s.menu) == L"ACHIVEMENTS_MENU") game->getAchievementScreen().build();
        if (std::wstring(s.menu) == L"OPTIONENMENU") game->getOptions().refresh();
        if (std::wstring(s.menu) == L"HILFEMENU") {
            int page = 0, sub = 0;
            game->getHelp().showHelpPage(page, sub);
        }
        keepScreen(s.menu, s.file);
        EXPECT_TRUE(isActive(s.menu)) << s.file;
    }
    int page = -1, sub = 0;
    showMenu(L"HILFEMENU");
    game->getHelp().showHelpPage(page, sub);
    keepScreen(L"HILFEMENU", "screen_help_credits.png");
    Orvex::D3DInterface::getInstance().signalModeNeedsConfirmation.emit();
    Orvex::D3DInterface::getInstance().signalModeCountdown.emit(12.0f);
    for (int i = 0; i < 30; ++i) step(1.0 / 30);
    frame();
    keepBackBuffer("screen_use_settings.png");
}

}  // namespace
