// Menu switching. The menu manager tells of every switch; the game fills the screen about to
// show, offers its tutorials, keeps the screen state that picks the music, pauses the game under
// the pause screen and turns the leaving of the start screen into the first profile's dialog, the
// profile screen or the main menu. (The mouse is TableInput's.)
#include <algorithm>
#include <span>
#include <string>

#include "engine/core/AppInfo.h"
#include "engine/core/PerfTimer.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "engine/platform/D3DInterface.h"
#include "game/app/FormatNumber.h"
#include "game/app/MenuNames.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenLists.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/particles/SolPartikel.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/shellapi.h"
#include "port/win32/winuser.h"

namespace Solitaire {

namespace {

// The performance timer's pause slot of the pause screen.
constexpr int kPausePauseSlot = 1;

// The HUD buttons whose look follows the story flag of the category.
constexpr wchar_t const* kStoryLookButtons[] = {L"I_Multiplier", L"I_Undo_Step", L"I_Redo_Step", L"I_Undo_Start",
                                                L"I_Redo_End",   L"I_Load",      L"I_Save",      L"I_Shuffle"};

// A row of the menu-entry table: the menu's name (anywhere in the name when partial), the screen
// state entering it sets (kStateKept: unchanged) and what entering it does besides.
constexpr int kStateKept = -1;

}  // namespace

struct SolitaireGame2::MenuEntry {
    wchar_t const* name;
    bool partial;
    int state;
    void (*enter)(SolitaireGame2& game);
};

void SolitaireGame2::onMenuChanged(Orvex::GUIMenuN& menu, Orvex::GUIMenuN* previous) {
    // The names are kept: a menu opened from here may release the objects.
    std::wstring const name = menu.getName();
    std::wstring const before = previous ? previous->getName() : std::wstring();
    // Leaving two menus is an action of its own; leaving the pause screen runs the game again.
    if (previous) {
        if (before == kStartMenu) return leaveStartMenu();
        if (before == L"WALLPAPER_FOLDER") {
            std::wstring const folder = Orvex::AppInfo::getInstance().getStartDirectory() + L"\\Wallpapers";
            ShellExecuteW(nullptr, L"explore", folder.c_str(), nullptr, nullptr, SW_SHOW);
            return;
        }
        if (before == kTutorialMenu && name != kTutorialMenu) solTutorials_->closeTutorial();
        if (before == kPauseMenu) engine_->getPerfTimer()->setPause(kPausePauseSlot, false);
    }
    // The menu's tutorials; the level screen offers its own after its scene, over its cards (its
    // row).
    ScreenState const remembered = screenState_;
    if (name != kLevelMenu) offerMenuTutorials(name);
    // The rows of the new menu; several may apply.
    for (MenuEntry const& row : menuEntries()) {
        if (row.partial ? name.find(row.name) == std::wstring::npos : name != row.name) continue;
        if (row.state != kStateKept) screenState_ = static_cast<ScreenState>(row.state);
        if (row.enter) row.enter(*this);
    }
    // The music follows a changed screen state.
    if (screenState_ != remembered) {
        playModeMusic(musicRestart_);
        musicRestart_ = false;
    }
}

std::span<SolitaireGame2::MenuEntry const> SolitaireGame2::menuEntries() {
    using G = SolitaireGame2;
    static MenuEntry const rows[] = {
        {kStartMenu, false, kScreenMenu, [](G& g) { g.musicRestart_ = true; }},
        {kAchievementsMenu, true, kScreenMenu, [](G& g) { g.achievementScreen_.build(); }},
        {kTutorialMenu, false, kStateKept,
         [](G& g) {
             g.tutorialScreens_.enterMenu();
             g.achievementScreen_.dismissPopup();
         }},
        {kMainMenu, false, kScreenMenu, nullptr},
        {kPauseMenu, false, kStateKept,
         [](G& g) {
             g.engine_->getPerfTimer()->setPause(kPausePauseSlot, true);
             if (Orvex::GUIWindow* buttons = findWindow(L"P_BUTTONS"))
                 for (Orvex::GUIWindow* button : buttons->getChildren()) button->jumpToGoal(g.running_.campaign ? L"ST" : L"FG");
         }},
        {kInGameMenu, false, kScreenInGame, [](G& g) { g.enterInGameMenu(); }},
        {kGameStatisticsMenu, false, kStateKept, [](G& g) { g.resultsScreen_.enterGameStatistics(); }},
        {kStatisticsMenu, false, kStateKept, [](G& g) { g.resultsScreen_.refreshStatistics(); }},
        {kResultsMenu, false, kScreenMenu, [](G& g) { g.musicRestart_ = true; }},
        {kProfileMenu, false, kScreenMenu, nullptr},
        {kNewProfileMenu, false, kScreenMenu, nullptr},
        {kOptionsMenu, false, kScreenMenu, [](G& g) { g.options_.enter(); }},
        {kHelpMenu, false, kScreenMenu, [](G& g) { g.helpScreen_.enter(); }},
        {kCreditsMenu, false, kScreenMenu, [](G& g) { g.helpScreen_.enterCredits(); }},
        {kFreePlayMenu, false, kScreenMenu, [](G& g) { g.freePlay_.enter(); }},
        {L"KATEGORIEMENU", false, kScreenMenu,
         [](G& g) {
             CampaignScreens::refreshResults();
             g.campaignScreens_.refreshChapters();
         }},
        {kLevelMenu, false, kScreenLevels,
         [](G& g) {
             g.musicRestart_ = false;
             // A scene that is due plays first; it ends on this screen, which then comes with its
             // cards and its tutorial.
             if (g.checkStory()) return;
             g.buildLevelScreen();
             g.offerMenuTutorials(kLevelMenu);
         }},
        {kShopMenu, false, kStateKept, [](G& g) { g.powersAndShop_.refreshShopLabels(); }},
    };
    return rows;
}

bool SolitaireGame2::onMenuScreen() const {
    Orvex::GUIMenuN const* menu = menus_->getActiveMenu();
    if (!menu) return false;
    std::wstring const& name = menu->getName();
    // Any menu over the start screen leaves it (see onMenuChanged); the dialog takes the keys.
    if (name == kStartMenu || name == kNewProfileMenu) return false;
    for (MenuEntry const& row : menuEntries())
        if (row.partial ? name.find(row.name) != std::wstring::npos : name == row.name)
            return row.state == kScreenMenu;
    return false;
}

void SolitaireGame2::offerMenuTutorials(std::wstring const& menu) {
    // Not while the new-profile dialog takes the keys, nor on the way back from a scene's strip:
    // the scene's end opens its own screen, which offers them (shown now, that opening would
    // close them at once).
    if (newProfileDialog_.holdsTutorials() || closingStory_) return;
    tutorialScreens_.showMenuTutorials(menu, running_.campaign);
}

void SolitaireGame2::leaveStartMenu() {
    ProfilManager& profiles = ProfilManager::instance();
    if (Profil* active = profiles.getActiveProfile()) {
        onActiveProfileChanged(nullptr, active);
        menus_->activateMenu(kMainMenu, -1.0);
    } else if (profiles.getProfileCount() == 0) {
        newProfileDialog_.openFirst();
    } else {
        menus_->activateMenu(kProfileMenu, -1.0);
    }
}

void SolitaireGame2::enterInGameMenu() {
    musicRestart_ = true;
    SolitaireManager const& catalogue = SolitaireManager::instance();
    bool const story = catalogue.isStoryCategory();
    bool const alternative = catalogue.useAlternativeBackground();
    jumpWindow(L"I_HG", story && alternative ? L"ST_ALT" : story ? L"ST" : L"FG");
    for (wchar_t const* button : kStoryLookButtons) jumpWindow(button, story ? L"ST" : L"FG");
}

}  // namespace Solitaire
