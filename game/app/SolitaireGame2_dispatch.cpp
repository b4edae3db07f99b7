// The central button dispatcher: every click on a GUI window reaches onButtonClicked, which acts
// by the window's name. Screens are data; the table of names below is the code behind their
// buttons. Before the table, the extended tutorials may drop or follow a click, a running story
// scene takes its story clicks, a tutorial its steps, and a window whose name holds "WALLPAPER"
// saves the picture of its name.
//
// Windows, labels and menus the rows name are looked up when used; a missing one skips only the
// step that needs it.
#include <algorithm>
#include <cmath>
#include <span>
#include <string>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/gui/Text.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "game/app/FormatNumber.h"
#include "game/app/HighscoreEintrag.h"
#include "game/app/MenuNames.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikManager.h"
#include "game/look/GameStyle.h"
#include "game/particles/SolPartikel.h"
#include "game/story/ExtendedTutorialManager.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryPart.h"
#include "port/win32/shellapi.h"
#include "port/win32/winuser.h"
#include "port/win32/win32_version.h"

namespace Solitaire {

namespace {

// Redo steps of "I_Redo_End": the whole history forward.
constexpr int kRedoToEnd = 536870911;

void saveProfiles() { ProfilManager::instance().saveProfiles(); }

}  // namespace

// A row of the dispatcher: the window name and what its click does.
struct SolitaireGame2::ButtonRow {
    wchar_t const* name;
    void (*act)(SolitaireGame2& game, Orvex::GUIWindow& window);
};

void SolitaireGame2::onButtonClicked(Orvex::GUIWindow& window) {
    // The window may go while its click is handled (a screen rebuilt); its name is kept.
    Orvex::HeldRef<Orvex::GUIWindow> const hold(&window);
    std::wstring const name = window.getName();
    // An extended tutorial may drop the click.
    if (!extTutorials_->isClickAllowed(name)) return;
    extTutorials_->onGuiClick(name);
    // A running story scene takes its clicks; else a tutorial its steps (also one shown in
    // front of a scene, which plays once it is closed).
    if (storyInFront()) {
        if (name == L"T_STORY_CLICK") {
            Orvex::GUIWindow const* picture = hud_.getStoryPicture();
            Orvex::FRect const area = picture ? picture->getScreenRect() : gui_->getScreenRect();
            Orvex::DirectInputInterface const& input = Orvex::DirectInputInterface::getInstance();
            float const width = area.right - area.left;
            float const height = area.bottom - area.top;
            // An empty story area has no fractions.
            if (width > 0.0f && height > 0.0f &&
                storyPart_->click((input.mouseX - area.left) / width, (input.mouseY - area.top) / height))
                finishStoryPart();
        } else if (name == L"T_END_STORY_CLICK") {
            finishStoryPart();
        }
    } else if (solTutorials_->onGuiClick(window)) {
        return;
    }
    // Wallpapers, then the rows by name.
    if (name.find(L"WALLPAPER") != std::wstring::npos) screenshots_.saveWallpaper(window);
    // The table: the first row of that name.
    for (ButtonRow const& row : buttonRows())
        if (name == row.name) {
            row.act(*this, window);
            break;
        }
    helpScreen_.onPageButton(name);
}

void SolitaireGame2::leaveResults() {
    saveProfiles();
    if (!running_.campaign) {
        menus_->activateMenu(kFreePlayMenu, -1.0);
        return;
    }
    if (running_.levelAbandoned || !running_.nextLevelAvailable) {
        menus_->activateMenu(kLevelMenu, -1.0);
        return;
    }
    int const result = startCampaignLevel(running_.nextChapter, running_.nextLevel, true);
    if (result == RunningGame::kGameStarted) {
        if (!isMenuActive(kInGameMenu)) menus_->activateMenu(kInGameMenu, -1.0);
    } else if (result != RunningGame::kStoryStarted) {
        menus_->activateMenu(kLevelMenu, -1.0);
    }
}

std::span<SolitaireGame2::ButtonRow const> SolitaireGame2::buttonRows() {
    using G = SolitaireGame2;
    using W = Orvex::GUIWindow;
    static wchar_t const* const kUndoStep[] = {L"UNDO_USED", nullptr};
    static wchar_t const* const kUndoStart[] = {L"UNDO_USED", L"UNDOSTART_USED", nullptr};
    static wchar_t const* const kRedoStep[] = {L"UNDO_USED", L"REDO_USED", nullptr};
    static wchar_t const* const kRedoEnd[] = {L"UNDO_USED", L"REDOEND_USED", nullptr};
    static ButtonRow const rows[] = {
        {L"FG_StartButton", [](G& g, W&) { g.startGame({.seedFromScreen = true}); }},
        {L"FG_Preview", [](G& g, W&) { g.startGame({.seedFromScreen = true}); }},
        {L"HSE_SPIELEN",
         [](G& g, W&) {
             HighscoreEintrag const* entry = g.resultsScreen_.getSelectedHighscore();
             std::wstring const seed = entry ? entry->getGameName() : std::wstring();
             SolitaireManager::instance().finishStatistics(false);
             g.startGame({.seedText = seed});
         }},
        {L"HSE_DELETE",
         [](G& g, W&) {
             g.resultsScreen_.removeSelectedHighscore();
             g.resultsScreen_.selectHighscore(nullptr);
             g.menus_->activateMenu(kGameStatisticsMenu, -1.0);
         }},
        {L"HSE_COPYSEED",
         [](G& g, W&) {
             g.running_.seedText.clear();
             g.resultsScreen_.copySelectedHighscoreSeed();
             g.menus_->activateMenu(kGameStatisticsMenu, -1.0);
         }},
        {L"I_END_GAME",
         [](G& g, W&) {
             if (g.running_.gameOver) return;
             // A level that would end without a star asks first.
             if (g.running_.campaign && g.hud_.starsIfEndedNow() == 0)
                 g.menus_->activateMenu(kEndLevelMenu, -1.0);
             else
                 g.endLevelNow();
         }},
        {L"LB_OK",
         [](G& g, W&) {
             if (g.running_.gameOver) return;
             g.menus_->activateMenu(kInGameMenu, -1.0);
             g.endLevelNow();
         }},
        {L"P_NEUSTART", [](G& g, W&) { g.restartGame(); }},
        {L"A_RESTART", [](G& g, W&) { g.restartGame(); }},
        {L"P_HILFE", [](G& g, W&) { g.showVariantHelp(); }},
        {L"I_Info", [](G& g, W&) { g.showVariantHelp(); }},
        {L"MINISPIEL_E_Weiter", [](G& g, W&) { g.minigameResult_.leave(); }},
        {L"P_ENDE",
         [](G& g, W&) {
             g.running_.levelAbandoned = true;
             // Counted before the selection opens: free play shows the game among those ended.
             SolitaireManager::instance().finishStatistics(false);
             g.menus_->activateMenu(g.running_.campaign ? kLevelMenu : kFreePlayMenu, -1.0);
             saveProfiles();
         }},
        {L"STG_RESET",
         [](G& g, W&) {
             if (SolVariant* variant = SolitaireManager::instance().getCurrentVariant()) g.resultsScreen_.resetVariantData(*variant);
             g.resultsScreen_.refreshHighscoreList();
             saveProfiles();
         }},
        {L"ST_RESET",
         [](G& g, W&) {
             for (SolVariant* variant : SolitaireManager::instance().collectVariants()) g.resultsScreen_.resetVariantData(*variant);
             if (Statistik* overall = StatistikManager::instance().find(StatistikManager::kProfileSetName)) overall->reset();
             g.resultsScreen_.refreshStatistics();
             saveProfiles();
         }},
        {L"H_HELP_CREDITS",
         [](G& g, W&) {
             int page = HelpScreen::kCreditsPage;
             int sub = 0;
             g.helpScreen_.showHelpPage(page, sub);
         }},
        {L"H_PREV", [](G& g, W&) { g.helpScreen_.leafHelp(false); }},
        {L"H_NEXT", [](G& g, W&) { g.helpScreen_.leafHelp(true); }},
        {L"P_NEUButton",
         [](G& g, W&) {
             if (ProfilManager::instance().getProfileCount() >= MyGlobals::kMaxProfiles)
                 g.newProfileDialog_.warn(L"MAX_PROFILES_REACHED");
             else
                 g.newProfileDialog_.open();
         }},
        {L"P_DELButton",
         [](G& g, W&) {
             if (g.profileList_.askToDelete()) g.menus_->activateMenu(kDeleteProfileMenu, -1.0);
         }},
        {L"P_LoeschenJa",
         [](G& g, W&) {
             g.profileList_.deleteAsked();
             g.menus_->activateMenu(kProfileMenu, -1.0);
         }},
        {L"P_Back",
         [](G& g, W&) {
             if (activeProfile())
                 g.menus_->activateMenu(kMainMenu, -1.0);
             else
                 g.newProfileDialog_.warn(ProfilManager::instance().getProfileCount() == 0 ? L"CREATE_A_PROFILE_FIRST" : L"NO_PROFILE_ACTIVE");
         }},
        {L"NP_CancelButton", [](G& g, W&) { g.newProfileDialog_.cancel(); }},
        {L"NP_OKButton", [](G& g, W&) { g.newProfileDialog_.create(); }},
        {L"O_UPDATE",
         [](G&, W&) {
             std::wstring const page = port::versionBlock().updatePage;
             ShellExecuteW(nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOW);
         }},
        {L"O_Back",
         [](G& g, W&) {
             g.options_.stepBackPastOptions();
             g.options_.applyChosenDisplayMode();
         }},
        {L"ResetStory",
         [](G&, W&) {
             if (Profil* active = activeProfile()) active->clearStorySeen();
         }},
        {L"H_ResetTut", [](G&, W&) { TutorialScreens::resetSeen(); }},
        {L"O_Tutorial_Reset", [](G&, W&) { TutorialScreens::resetSeen(); }},
        {L"H_Exit", [](G& g, W&) { g.menus_->activateMenu(kQuitMenu, -1.0); }},
        {L"B_OK", [](G& g, W&) { g.engine_->requestExit(0); }},
        {L"US_OK", [](G& g, W&) { g.options_.answerDisplayMode(true); }},
        {L"US_CANCEL", [](G& g, W&) { g.options_.answerDisplayMode(false); }},
        {L"O_CARDSET_PREV", [](G& g, W&) { g.options_.stepCardSet(-1); }},
        {L"O_CARDSET_NEXT", [](G& g, W&) { g.options_.stepCardSet(1); }},
        {L"O_CARDBACK_PREV", [](G& g, W&) { g.options_.stepCardBack(-1); }},
        {L"O_CARDBACK_NEXT", [](G& g, W&) { g.options_.stepCardBack(1); }},
        {L"A_BACK", [](G& g, W&) { g.leaveResults(); }},
        {L"A_NEXT", [](G& g, W&) { g.leaveResults(); }},
        {L"I_Undo_Start", [](G& g, W&) { g.hud_.undo(GameHud::kUndoToStart, kUndoStart); }},
        {L"I_Undo_Step", [](G& g, W&) { g.hud_.undo(-1, kUndoStep); }},
        {L"I_Redo_Step", [](G& g, W&) { g.hud_.undo(1, kRedoStep); }},
        {L"I_Redo_End", [](G& g, W&) { g.hud_.undo(kRedoToEnd, kRedoEnd); }},
        {L"I_Load",
         [](G& g, W&) {
             if (!g.running_.gameOver) SolitaireManager::instance().resumeQuickSave();
         }},
        {L"I_Save",
         [](G& g, W&) {
             if (g.running_.gameOver) return;
             SolitaireManager::instance().writeQuickSave();
             saveProfiles();
         }},
        {L"I_Shuffle",
         [](G& g, W&) {
             if (g.running_.gameOver || g.hud_.refuseForPrice(GameHud::PaidHelp::kShuffle, g.cards_->getShufflePrice()))
                 return;
             g.cards_->mix();
             g.hud_.getNews().clear();
             g.cards_->playSound(GameStyle::kSoundMix);
             countAchievement(L"SHUFFLE_USED");
         }},
        {L"I_TIPP",
         [](G& g, W&) {
             if (g.running_.gameOver || g.hud_.refuseForPrice(GameHud::PaidHelp::kHint, g.cards_->getHintPrice()))
                 return;
             if (!g.cards_->showHint(false, true, true)) return;
             g.hud_.getNews().clear();
             g.hud_.resetTipButton();
             countAchievement(L"TIPP_USED");
         }},
        {L"LA_CLOSE", [](G&, W&) {}},
        {L"LA_AuswahlFrame", [](G&, W&) {}},
        {L"I_Shop",
         [](G& g, W&) {
             if (g.running_.campaign && !g.running_.gameOver) g.menus_->activateMenu(kShopMenu, -1.0);
         }},
    };
    return rows;
}

void SolitaireGame2::restartGame() {
    menus_->activateMenu(kInGameMenu, -1.0);
    startGame({.campaign = running_.campaign, .withStory = false});
}

void SolitaireGame2::endLevelNow() {
    hud_.hideEndGameButton();
    cards_->finishGame();
}

void SolitaireGame2::showVariantHelp() {
    if (running_.gameOver) return;
    // From the pause screen (over the table, which stays active under it) back to the table,
    // where the rules are shown.
    Orvex::GUIMenuN const* shown = menus_->getActiveMenu();
    if (!shown || shown->getName() != kInGameMenu) menus_->activateMenu(kInGameMenu, -1.0);
    // Without rules to show, the variant's tutorial, also when it was seen before.
    if (!helpScreen_.showVariantRules()) SolitaireManager::instance().showStartTutorial(true);
}

}  // namespace Solitaire
