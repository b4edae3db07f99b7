// Every connection the game object makes, once, in the constructor, and the GUI wiring that
// finds the named screen elements and sets their first state. Connections to one signal run in
// the order they were made.
#include <string>

#include "engine/core/engine/OrvexEngine.h"
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
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"
#include "game/minigames/MinispielManager.h"
#include "game/particles/SolPartikel.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryManager.h"

namespace Solitaire {

Orvex::GUIWindow* SolitaireGame2::findWindow(std::wstring const& name) { return findScreenWindow(name); }

void SolitaireGame2::connectCardManager() {
    cards_->tooltipChanged.connect(&hud_, &GameHud::onCardTooltipText);
    cards_->gameEnd.connect(this, &SolitaireGame2::onGameEnd);
    cards_->lockedCardsFound.connect(&hud_, &GameHud::onLockedCardsFound);
    cards_->extraCardExposed.connect(&hud_, &GameHud::onExtraCardFound);
    cards_->goalCardsArrived.connect(this, &SolitaireGame2::ignoreCount);
    cards_->cardScored.connect(&powersAndShop_, &PowersAndShop::onCardScored);
    cards_->comboChanged.connect(&hud_, &GameHud::onComboChanged);
    cards_->objectUsed.connect(this, &SolitaireGame2::onObjectUsed);
    cards_->wildcardFound.connect(&hud_, &GameHud::onWildcardFound);
    cards_->jokerFound.connect(&hud_, &GameHud::onJokerFound);
    cards_->cardsUnlocked.connect(&hud_, &GameHud::onCardsUnlocked);
    cards_->specialPileMissing.connect(&hud_, &GameHud::onNoEndPile);
    cards_->specialPileEmpty.connect(&hud_, &GameHud::onEndPileEmptied);
    cards_->specialPileRefilled.connect(&hud_, &GameHud::onEndPileRefilled);
    cards_->clickModeUsed.connect(&powersAndShop_, &PowersAndShop::onClickModeUsed);
}

void SolitaireGame2::connectEngine() {
    engine_->updateSignal.connect(this, &SolitaireGame2::update);
    engine_->renderSignal.connect(this, &SolitaireGame2::draw);
    engine_->exitSignal.connect(this, &SolitaireGame2::ignoreCount);
    engine_->tickSignal.connect(this, &SolitaireGame2::pollInput);
    d3d_->signalModeListRestricted.connect(&options_, &OptionsScreen::onModeListRestricted);
    d3d_->signalModeNeedsConfirmation.connect(&options_, &OptionsScreen::onModeNeedsConfirmation);
    d3d_->signalModeConfirmed.connect(&options_, &OptionsScreen::onModeConfirmed);
    d3d_->signalModeCountdown.connect(&options_, &OptionsScreen::onModeCountdown);
    d3d_->signalUnsupportedMode.connect(&options_, &OptionsScreen::onUnsupportedMode);
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    input.keyPressedSignal.connect(this, &SolitaireGame2::onKeyPressed);
    input.mouseButtonDownSignal.connect(&tableInput_, &TableInput::onMouseDown);
    input.mouseButtonUpSignal.connect(&tableInput_, &TableInput::onMouseUp);
    input.mouseAxisSignal.connect(&tableInput_, &TableInput::onMouseMove);
    input.mouseDoubleClickSignal.connect(&tableInput_, &TableInput::onMouseDoubleClick);
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
    tutorialScreens_.connect(solTutorials_, engine_, [this](D3DXVECTOR2& point) {
        point = renderer_->toWindowPoint(camera_->worldToScreen(point, false));
    });
}

void SolitaireGame2::connectStory() {
    story_->startStandardMusic.connect(this, &SolitaireGame2::onStoryModeMusic);
    story_->stopStandardMusic.connect(this, &SolitaireGame2::ignoreEvent);
    story_->playMusic.connect(this, &SolitaireGame2::onStoryMusic);
    story_->stopMusic.connect(this, &SolitaireGame2::ignoreEvent);
}

void SolitaireGame2::connectMinigames() {
    minigameResult_.connect(*minigames_);
    minigameResult_.setGoOn([this] { finishMinispiel(); });
    minigameFrames_.connect(*minigames_, globals_);
}

void SolitaireGame2::wireGui() {
    // Every window's click reaches the dispatcher (windows made later are not wired).
    std::vector<Orvex::GUIWindow*> all;
    gui_->collectAllWindows(all);
    for (Orvex::GUIWindow* window : all) window->leftClicked.connect(this, &SolitaireGame2::onButtonClicked);
    // Tooltips.
    if (Orvex::GUIWindow* tooltip = findWindow(L"TOOLTIP"))
        tooltip->beforeDrawSelf.connect(this, &SolitaireGame2::ignoreBeforeDraw);
    // The table's windows.
    Orvex::GUIWindow* table = findWindow(L"I_DRAW");
    tableInput_.setTableWindow(table);
    renderer_->setWindows(table, findWindow(L"I_RenderWindow"));
    renderer_->setParticleWindow(findWindow(L"I_RenderWindowOverlay"));
    // The display mode and the screens' own windows.
    options_.wire();
    cursorTable_.wireChoice();
    tutorialScreens_.wireCheckboxes();
    hud_.wire();
    helpScreen_.wirePanel(hud_.getHelpPanel(), &hud_.getHelpBlend());
    powersAndShop_.wire({.cards = cards_,
                         .menus = menus_,
                         .tutorials = solTutorials_,
                         .achievements = achievements_,
                         .d3d = d3d_,
                         .sprite = sprite_,
                         .godCount = globals_ ? globals_->getGodCount() : MyGlobals::kDefaultGodCount,
                         .running = &running_,
                         .jokerFound = [this](Karte& card) { hud_.onJokerFound(card); },
                         .wildcardFound = [this](Karte& card) { hud_.onWildcardFound(card); }});
    // The campaign screens.
    campaignScreens_.wire(gui_, menus_, sprite_);
    campaignScreens_.levelChosen.disconnect(this);
    campaignScreens_.levelChosen.connect(this, &SolitaireGame2::onLevelChosen);
    // The achievements and the new-profile dialog.
    achievementScreen_.wire(gui_, menus_, achievements_, particles_);
    for (Achivement* achievement : achievements_->getAll())
        achievement->medalChanged.connect(&achievementScreen_, &AchievementScreen::onMedal);
    newProfileDialog_.wire(engine_->getLanguage(), menus_, solTutorials_,
                           [this](bool checked) { tutorialScreens_.setCheckboxes(checked); });
}

}  // namespace Solitaire
