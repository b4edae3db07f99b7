// Every connection the game object makes, once, in the constructor, and the GUI wiring that
// finds the named screen elements and sets their first state. Connections to one signal run in
// the order they were made.
#include <string>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/SolPartikel.h"
#include "game/cards/StyleSettings.h"
#include "game/cards/TableRenderer.h"
#include "game/minigames/MinispielManager.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryManager.h"

namespace Solitaire {

namespace {

// The tip timer runs from 0 to 10 at this speed.
constexpr float kTipTimerGoal = 10.0f;
constexpr float kTipTimerSpeed = 0.1f;

}  // namespace

Orvex::GUIWindow* SolitaireGame2::findWindow(std::wstring const& name) { return findScreenWindow(name); }

void SolitaireGame2::connectCardManager() {
    cards_->tooltipChanged.connect(this, &SolitaireGame2::onCardTooltipText);
    cards_->gameEnd.connect(this, &SolitaireGame2::onGameEnd);
    cards_->lockedCardsFound.connect(this, &SolitaireGame2::onLockedCardsFound);
    cards_->extraCardExposed.connect(this, &SolitaireGame2::onExtraCardFound);
    cards_->goalCardsArrived.connect(this, &SolitaireGame2::ignoreCount);
    cards_->cardScored.connect(&powersAndShop_, &PowersAndShop::onCardScored);
    cards_->comboChanged.connect(this, &SolitaireGame2::onComboChanged);
    cards_->objectUsed.connect(this, &SolitaireGame2::onObjectUsed);
    cards_->wildcardFound.connect(this, &SolitaireGame2::onWildcardFound);
    cards_->jokerFound.connect(this, &SolitaireGame2::onJokerFound);
    cards_->cardsUnlocked.connect(this, &SolitaireGame2::onCardsUnlocked);
    cards_->specialPileMissing.connect(this, &SolitaireGame2::onNoEndPile);
    cards_->specialPileEmpty.connect(this, &SolitaireGame2::onEndPileEmptied);
    cards_->specialPileRefilled.connect(this, &SolitaireGame2::onEndPileRefilled);
    cards_->clickModeUsed.connect(&powersAndShop_, &PowersAndShop::onClickModeUsed);
}

void SolitaireGame2::connectEngine() {
    engine_->updateSignal.connect(this, &SolitaireGame2::update);
    engine_->renderSignal.connect(this, &SolitaireGame2::draw);
    engine_->exitSignal.connect(this, &SolitaireGame2::ignoreCount);
    engine_->tickSignal.connect(this, &SolitaireGame2::pollInput);
    d3d_->signalModeListRestricted.connect(this, &SolitaireGame2::onModeListRestricted);
    d3d_->signalModeNeedsConfirmation.connect(this, &SolitaireGame2::onModeNeedsConfirmation);
    d3d_->signalModeConfirmed.connect(this, &SolitaireGame2::onModeConfirmed);
    d3d_->signalModeCountdown.connect(this, &SolitaireGame2::onModeCountdown);
    d3d_->signalUnsupportedMode.connect(this, &SolitaireGame2::onUnsupportedMode);
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    input.keyPressedSignal.connect(this, &SolitaireGame2::onKeyPressed);
    input.mouseButtonDownSignal.connect(this, &SolitaireGame2::onMouseDown);
    input.mouseButtonUpSignal.connect(this, &SolitaireGame2::onMouseUp);
    input.mouseAxisSignal.connect(this, &SolitaireGame2::onMouseMove);
    input.mouseDoubleClickSignal.connect(this, &SolitaireGame2::onMouseDoubleClick);
    input.keyDownSignal.connect(this, &SolitaireGame2::ignoreKey);
    input.keyReleasedSignal.connect(this, &SolitaireGame2::ignoreKey);
    engine_->windowActiveSignal.connect(this, &SolitaireGame2::onWindowActive);
    ProfilManager& profiles = ProfilManager::instance();
    profiles.listChanged.connect(&profileList_, &ProfileList::build);
    profiles.activeChanged.connect(this, &SolitaireGame2::onActiveProfileChanged);
    gui_->activeWindowChanged.connect(this, &SolitaireGame2::onActiveWindowChanged);
}

void SolitaireGame2::connectTutorials() {
    // Tutorials and lessons judge by the active profile unless an override is set.
    solTutorials_->setActiveProfileSource(
        []() -> StoryProfile* { return ProfilManager::instance().getActiveProfile(); });
    solTutorials_->tutorialStarted.connect(this, &SolitaireGame2::onTutorialShown);
    solTutorials_->tutorialClosed.connect(this, &SolitaireGame2::onTutorialHidden);
    solTutorials_->mapTablePoint.connect(this, &SolitaireGame2::onTutorialMapPoint);
}

void SolitaireGame2::connectStory() {
    story_->startStandardMusic.connect(this, &SolitaireGame2::onStoryModeMusic);
    story_->stopStandardMusic.connect(this, &SolitaireGame2::ignoreEvent);
    story_->playMusic.connect(this, &SolitaireGame2::onStoryMusic);
    story_->stopMusic.connect(this, &SolitaireGame2::ignoreEvent);
}

void SolitaireGame2::connectMinigames() {
    minigames_->gameClosed.connect(this, &SolitaireGame2::onMinigameFinished);
    minigames_->gameEnded.connect(this, &SolitaireGame2::onMinispielEnd);
    minigames_->activeChanged.connect(this, &SolitaireGame2::onMinigameActive);
    minigames_->frameRequested.connect(this, &SolitaireGame2::drawMinispielFrame);
    minigames_->styledFrameRequested.connect(this, &SolitaireGame2::drawMinispielStyledFrame);
}

void SolitaireGame2::wireGui() {
    // Every window's click reaches the dispatcher (windows made later are not wired).
    std::vector<Orvex::GUIWindow*> all;
    gui_->collectAllWindows(all);
    for (Orvex::GUIWindow* window : all) window->leftClicked.connect(this, &SolitaireGame2::onButtonClicked);
    // Tooltips.
    if (Orvex::GUIWindow* tooltip = findWindow(L"TOOLTIP"))
        tooltip->beforeDrawSelf.connect(this, &SolitaireGame2::ignoreBeforeDraw);
    tooltipWindow_ = findWindow(L"TMPWINDOW");
    if (tooltipWindow_)
        if (Orvex::GUITooltipParam* param = tooltipWindow_->findTooltipParam(L"KARTEN_TOOLTIP")) {
            param->textHook.disconnect(this);
            param->textHook.connect(this, &SolitaireGame2::provideCardTooltip);
        }
    // The table's windows.
    tableWindow_ = findWindow(L"I_DRAW");
    renderer_->setWindows(tableWindow_, findWindow(L"I_RenderWindow"));
    renderer_->setParticleWindow(findWindow(L"I_RenderWindowOverlay"));
    // The display mode and the screens' own windows.
    options_.wire();
    wireCursorChoice();
    wireTutorialCheckboxes();
    wireHud();
    powersAndShop_.wire({.cards = cards_,
                         .menus = menus_,
                         .tutorials = solTutorials_,
                         .achievements = achievements_,
                         .d3d = d3d_,
                         .sprite = sprite_,
                         .godCount = globals_ ? globals_->getGodCount() : MyGlobals::kDefaultGodCount,
                         .inCampaign = [this] { return campaign_; },
                         .jokerFound = [this](Karte& card) { onJokerFound(card); },
                         .wildcardFound = [this](Karte& card) { onWildcardFound(card); }});
    wirePanels();
    wireMedals();
    // The campaign screens.
    campaignScreens_.wire(gui_, menus_, sprite_);
    campaignScreens_.levelChosen.disconnect(this);
    campaignScreens_.levelChosen.connect(this, &SolitaireGame2::onLevelChosen);
    // The story picture and the achievements.
    storyPicture_ = findWindow(L"T_STORY_BILD");
    if (storyPicture_) storyPicture_->selfDrawn.connect(this, &SolitaireGame2::drawStoryPicture);
    wireAchievements();
}

void SolitaireGame2::wireCursorChoice() {
    using Slot = void (SolitaireGame2::*)(Orvex::GUIWindow&);
    Slot const slots[kMouseCursorCount] = {&SolitaireGame2::onCursor0, &SolitaireGame2::onCursor1,
                                           &SolitaireGame2::onCursor2, &SolitaireGame2::onCursor3};
    for (int k = 0; k < kMouseCursorCount; ++k) {
        std::wstring const number = std::to_wstring(k);
        if (Orvex::GUIWindow* picture = findWindow(L"O_Cursor" + number)) {
            if (Orvex::Texture2DAnimation* cursor = cursors_[kFirstMouseCursor + k])
                if (Orvex::AnimationFrame const* frame = cursor->getCurrentFrame()) {
                    Orvex::GUIDrawOptions& options = picture->getDrawOptions();
                    options.setTexBackground(frame->texture);
                    options.backgroundSource.rect = Orvex::FRect::fromRECT(frame->rect);
                    options.backgroundSource.use = true;
                }
            picture->leftClicked.connect(this, slots[k]);
        }
        if (Orvex::GUIWindow* button = findWindow(L"O_C" + number)) button->leftClicked.connect(this, slots[k]);
    }
    applyCursor();
}

void SolitaireGame2::wireTutorialCheckboxes() {
    // The first two follow the active profile's tutorial switch once profiles exist; without a
    // profile they start unchecked.
    wchar_t const* const names[4] = {L"T_HELP_CHECKBOX_1", L"H_HELP_CHECKBOX_2", L"NP_HELP_CHECKBOX_3", L"O_Tutorial"};
    bool const checked[4] = {false, false, true, true};
    for (int i = 0; i < 4; ++i) {
        tutorialCheckboxes_[i] = findScreenWindowAs<Orvex::GUICheckbox>(names[i]);
        Orvex::GUICheckboxButton* button = tutorialCheckboxes_[i] ? tutorialCheckboxes_[i]->getButton() : nullptr;
        if (!button) continue;
        button->setChecked(checked[i]);
        button->changed.connect(this, &SolitaireGame2::onTutorialCheckbox);
    }
}

void SolitaireGame2::wireHud() {
    points_ = findWindow(L"I_Points");
    points2_ = findWindow(L"I_Points2");
    time_ = findWindow(L"I_Time");
    multiplier_ = findWindow(L"I_Multiplier");
    combo_ = findWindow(L"I_Combo");
    item_ = findWindow(L"I_Item");
    gesMed_ = findWindow(L"I_GesMed");
    tipButton_ = findScreenWindowAs<Orvex::GUIProgressBar>(L"I_TIPP");
    for (Orvex::GUIWindow* paid : {static_cast<Orvex::GUIWindow*>(tipButton_), findWindow(L"I_Undo_Step"),
                                   findWindow(L"I_Undo_Start")})
        if (Orvex::GUITooltipParam* param = paid ? paid->getFirstTooltipParam() : nullptr) {
            param->textHook.disconnect(this);
            param->textHook.connect(this, &SolitaireGame2::provideHelpPriceTooltip);
        }
    news_.setWindow(findWindow(L"I_Meldung"));
    pointsAni_ = findWindow(L"I_PointsANI");
    comboAni_ = findWindow(L"I_ComboANI");
    itemAni_ = findWindow(L"I_ItemANI");
    wireHudWindows();
    tipTimer_.start = 0.0f;
    tipTimer_.goal = kTipTimerGoal;
    tipTimer_.running = true;
    tipTimer_.speed = kTipTimerSpeed;
    tipTimer_.goalReachedSignal.connect(this, &SolitaireGame2::onTipTimerGoal);
    tipTimer_.changedSignal.connect(this, &SolitaireGame2::onTipTimerChanged);
    tipTimer_.setTime(0.0f);
    onTipTimerChanged(tipTimer_);
    tutorialArrow_ = Orvex::Texture2DAnimationManager::instance().findAnimation(L"T_PFEIL_ANI");
}

void SolitaireGame2::wirePanels() {
    endGame_ = findWindow(L"I_END_GAME");
    statistics_ = findWindow(L"I_Statistiken");
    statisticsZone_ = findWindow(L"I_Statistiken_TZ");
    if (statistics_ && statisticsZone_) {
        statistics_->beforeDrawSelf.connect(this, &SolitaireGame2::drawStatisticsPanel);
        statisticsZone_->activated.connect(this, &SolitaireGame2::onStatisticsZoneEntered);
        statisticsZone_->deactivated.connect(this, &SolitaireGame2::onStatisticsZoneLeft);
    }
    help_ = findWindow(L"I_Help");
    helpZone_ = findWindow(L"I_Help_TZ");
    if (help_ && helpZone_) {
        help_->beforeDrawSelf.connect(this, &SolitaireGame2::drawHelpFrame);
        helpZone_->activated.connect(this, &SolitaireGame2::onHelpZoneEntered);
        helpZone_->deactivated.connect(this, &SolitaireGame2::onHelpZoneLeft);
    }
    gameName_ = findWindow(L"I_GameName");
    if (gameName_) gameName_->beforeDrawSelf.connect(this, &SolitaireGame2::drawGameNameFrame);
    if (points_)
        if (Orvex::GUITooltipParam* param = points_->findTooltipParam(L"DEF")) {
            param->textHook.disconnect(this);
            param->textHook.connect(this, &SolitaireGame2::ignoreTooltipText);
        }
}

void SolitaireGame2::wireMedals() {
    wchar_t const* const medals[5] = {L"I_ABSCHLUSS_NIX", L"I_ABSCHLUSS_BRONZE", L"I_ABSCHLUSS_SILBER",
                                      L"I_ABSCHLUSS_GOLD", L"I_ABSCHLUSS_PERFEKT"};
    wchar_t const* const stars[4] = {L"I_BRONZE_STERN", L"I_SILBER_STERN", L"I_GOLD_STERN", L"I_PERFEKT_STERN"};
    for (int i = 0; i < 5; ++i) medals_[i] = findWindow(medals[i]);
    for (int i = 0; i < 4; ++i) {
        medalStars_[i] = findWindow(stars[i]);
        if (medalStars_[i]) medalStars_[i]->beforeDrawSelf.connect(this, &SolitaireGame2::drawMedalStar);
    }
    medalStar_ = Orvex::Texture2DAnimationManager::instance().findAnimation(L"I_ABSCHLUSS_STERN");
}

void SolitaireGame2::wireAchievements() {
    for (Achivement* achievement : achievements_->getAll())
        achievement->medalChanged.connect(this, &SolitaireGame2::onAchievementMedal);
    playTime_ = achievements_->find(L"AC_TIME");
    achievementWindow_ = findWindow(L"SOLITAIRE_ACHIVEMENT");
    achievementParticles_ = findWindow(L"SOLITAIRE_ACHIVEMENT_PARTIKEL");
}

}  // namespace Solitaire
