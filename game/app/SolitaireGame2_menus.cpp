// Menu switching and the mouse slots. The menu manager tells of every switch; the game fills the
// screen about to show, offers its tutorials, keeps the screen state that picks the music, pauses
// the game under the pause screen and turns the leaving of the start screen into the first
// profile's dialog, the profile screen or the main menu. Every mouse event goes to the GUI system
// first; a press on a HUD window clicks, one on the table goes to the card manager while the
// in-game screen is active and the game runs. A window that hands its input to its parent counts
// as that parent (the card tooltip's hot spot is the table). The banner or help panel over the
// table goes with the next press; a press on a card or pile is played as well.
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
#include "game/cards/Kartenmanager.h"
#include "game/cards/TableRenderer.h"
#include "game/look/GameStyle.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikel.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/shellapi.h"

namespace Solitaire {

namespace {

// The performance timer's pause slot of the pause screen.
constexpr int kPausePauseSlot = 1;
constexpr double kPanelSpeed = 1.0;
// The shell's show command of the folders and pages opened from the menus.
constexpr INT kShowNormal = 5;

// The HUD buttons whose look follows the story flag of the category.
constexpr wchar_t const* kStoryLookButtons[] = {L"I_Multiplier", L"I_Undo_Step", L"I_Redo_Step", L"I_Undo_Start",
                                                L"I_Redo_End",   L"I_Load",      L"I_Save",      L"I_Shuffle"};

void jumpIfFound(wchar_t const* name, wchar_t const* goal) {
    if (Orvex::GUIWindow* window = SolitaireGame2::findWindow(name)) window->jumpToGoal(goal);
}

}  // namespace

void SolitaireGame2::onMenuChanged(Orvex::GUIMenuN& menu, Orvex::GUIMenuN* previous) {
    // The names are kept: a menu opened from here may release the objects.
    std::wstring const name = menu.getName();
    std::wstring const before = previous ? previous->getName() : std::wstring();
    // Leaving two menus is an action of its own; leaving the pause screen runs the game again.
    if (previous) {
        if (before == kStartMenu) return leaveStartMenu();
        if (before == L"WALLPAPER_FOLDER") {
            std::wstring const folder = Orvex::AppInfo::getInstance().getStartDirectory() + L"\\Wallpapers";
            ShellExecuteW(nullptr, L"explore", folder.c_str(), nullptr, nullptr, kShowNormal);
            return;
        }
        if (before == kTutorialMenu && name != kTutorialMenu) solTutorials_->closeTutorial();
        if (before == kPauseMenu) engine_->getPerfTimer()->setPause(kPausePauseSlot, false);
    }
    // The menu's tutorials, unless the first profile's dialog is open.
    ScreenState const remembered = screenState_;
    if (!newProfileDialog_.isFirstProfileBlocked()) tutorialScreens_.showMenuTutorials(name, running_.campaign);
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
        {kFreePlayMenu, false, kScreenMenu, [](G&) { SolitaireManager::instance().enterFreePlay(); }},
        {L"KATEGORIEMENU", false, kScreenMenu,
         [](G& g) {
             CampaignScreens::refreshResults();
             g.campaignScreens_.refreshChapters();
         }},
        {kLevelMenu, false, kScreenLevels,
         [](G& g) {
             g.musicRestart_ = false;
             if (!g.checkStory()) g.buildLevelScreen();
         }},
        {kShopMenu, false, kStateKept, [](G& g) { g.powersAndShop_.refreshShopLabels(); }},
    };
    return rows;
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
    jumpIfFound(L"I_HG", story && alternative ? L"ST_ALT" : story ? L"ST" : L"FG");
    for (wchar_t const* button : kStoryLookButtons) jumpIfFound(button, story ? L"ST" : L"FG");
}

// ---- the mouse ----

bool SolitaireGame2::dismissPanels() {
    if (Orvex::GUIWindow* gameName = hud_.getGameNamePanel(); gameName && gameNameBlend_.target > 0.5f) {
        gameNameBlend_.target = 0.0f;
        gameName->animateToGoal(L"AUS", kPanelSpeed, false);
        helpScreen_.showPendingPanel();
        return true;
    }
    if (Orvex::GUIWindow* help = hud_.getHelpPanel(); help && helpBlend_.target > 0.5f) {
        helpBlend_.target = 0.0f;
        help->animateToGoal(L"AUS", kPanelSpeed, false);
        return true;
    }
    return false;
}

bool SolitaireGame2::guiTakesInput() const {
    Orvex::GUIWindow const* active = gui_->getActiveWindow();
    if (!active || active->getOptions().inputIgnore != 0) return false;
    // A window that hands its input to its parent is that parent for the routing: the card
    // tooltip's hot spot lies under the pointer inside the table window while a card has a
    // tooltip, and a press there is a press on the table.
    while (active->getOptions().inputToParent && active->getParent()) active = active->getParent();
    return active != tableWindow_;
}

bool SolitaireGame2::tableTakesInput() const { return !running_.gameOver && isMenuActive(kInGameMenu); }

bool SolitaireGame2::pressHitsTable(Orvex::MouseState const& state) const {
    if (!tableTakesInput() || guiTakesInput()) return false;
    Karte* card = nullptr;
    Kartenstapel* pile = nullptr;
    return cards_->pickAt(toTable(state), card, pile) != kPickNothing;
}

D3DXVECTOR2 SolitaireGame2::toTable(Orvex::MouseState const& state) const {
    return renderer_->toGamePoint(D3DXVECTOR2(state.x, state.y));
}

void SolitaireGame2::onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    if (results_.pending != 0 && results_.delay > 0.0f) results_.skip = true;
    gui_->onMouseDown(state, button);
    // A panel over the table goes with any press; a press on a card or pile plays it as well.
    if (dismissPanels() && !pressHitsTable(state)) return;
    pressReachedTable_ = false;
    if (guiTakesInput()) {
        playSound(L"KLICK2");
        return;
    }
    if (!tableTakesInput()) return;
    if (cards_->getClickMode() != kClickNormal && button != Orvex::OMB_LEFT) {
        cards_->setClickMode(kClickNormal);
        return;
    }
    cards_->onMouseDown(state, button, toTable(state));
    pressReachedTable_ = true;
}

void SolitaireGame2::onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    gui_->onMouseUp(state, button);
    bool const overGui = guiTakesInput();
    if (overGui) playSound(L"KLICK");
    if (!tableTakesInput() || (overGui && !pressReachedTable_)) return;
    cards_->onMouseUp(state, button, toTable(state));
    pressReachedTable_ = false;
}

void SolitaireGame2::onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis) {
    gui_->onMouseMove(state, axis);
    if (guiTakesInput() || !tableTakesInput()) return;
    cards_->onMouseMove(state, axis, toTable(state));
}

void SolitaireGame2::onMouseDoubleClick(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    if (dismissPanels() && !pressHitsTable(state)) return;
    if (guiTakesInput()) {
        playSound(L"KLICK2");
        return;
    }
    if (tableTakesInput()) cards_->onDoubleClick(state, button, toTable(state));
}

}  // namespace Solitaire
