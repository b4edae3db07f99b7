// The game object's own connections, made once in the constructor, and the GUI wiring: every
// window's click to the dispatcher, the renderer's windows, and each screen's wire(), which finds
// its named windows and sets their first state. The screens connect their own slots (each is
// built with its Links). Connections to one signal run in the order they were made.
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
#include "game/cards/KartenObjekt.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"
#include "game/minigames/MinispielManager.h"
#include "game/particles/SolPartikel.h"
#include "game/story/ExtendedTutorialManager.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryManager.h"

namespace Solitaire {

Orvex::GUIWindow* SolitaireGame2::findWindow(std::wstring const& name) { return findScreenWindow(name); }

void SolitaireGame2::connectCardManager() {
    cards_->gameEnd.connect(this, &SolitaireGame2::onGameEnd);
    cards_->goalCardsArrived.connect(this, &SolitaireGame2::ignoreCount);
    cards_->objectUsed.connect(this, &SolitaireGame2::onObjectUsed);
    // A refusal the lesson's page asks for costs no points.
    cards_->setRefusalAskedFor([lessons = extTutorials_](KartenObjekt const& object) {
        return lessons->asksForRefusal(object.getUserName());
    });
}

void SolitaireGame2::connectEngine() {
    engine_->updateSignal.connect(this, &SolitaireGame2::update);
    engine_->renderSignal.connect(this, &SolitaireGame2::draw);
    engine_->exitSignal.connect(this, &SolitaireGame2::ignoreCount);
    engine_->tickSignal.connect(this, &SolitaireGame2::pollInput);
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    input.keyPressedSignal.connect(this, &SolitaireGame2::onKeyPressed);
    input.keyDownSignal.connect(this, &SolitaireGame2::ignoreKey);
    input.keyReleasedSignal.connect(this, &SolitaireGame2::ignoreKey);
    engine_->windowActiveSignal.connect(this, &SolitaireGame2::onWindowActive);
    ProfilManager::instance().activeChanged.connect(this, &SolitaireGame2::onActiveProfileChanged);
    ProfilManager::instance().saveFailed.connect(this, &SolitaireGame2::onProfilesNotSaved);
    gui_->activeWindowChanged.connect(this, &SolitaireGame2::onActiveWindowChanged);
}

void SolitaireGame2::connectTutorials() {
    // Tutorials and lessons judge by the active profile unless an override is set.
    solTutorials_->setActiveProfileSource(
        []() -> StoryProfile* { return ProfilManager::instance().getActiveProfile(); });
}

void SolitaireGame2::connectStory() {
    story_->startStandardMusic.connect(this, &SolitaireGame2::onStoryModeMusic);
    story_->stopStandardMusic.connect(this, &SolitaireGame2::ignoreEvent);
    story_->playMusic.connect(this, &SolitaireGame2::onStoryMusic);
    story_->stopMusic.connect(this, &SolitaireGame2::ignoreEvent);
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
    tableInput_.wire();
    renderer_->setWindows(findWindow(L"I_DRAW"), findWindow(L"I_RenderWindow"));
    renderer_->setParticleWindow(findWindow(L"I_RenderWindowOverlay"));
    // The screens' own windows (the help screen's panel is the HUD's).
    options_.wire();
    cursorTable_.wire();
    tutorialScreens_.wire();
    hud_.wire();
    helpScreen_.wire();
    powersAndShop_.wire();
    campaignScreens_.wire();
    campaignScreens_.levelChosen.disconnect(this);
    campaignScreens_.levelChosen.connect(this, &SolitaireGame2::onLevelChosen);
    achievementScreen_.wire();
    newProfileDialog_.wire();
}

}  // namespace Solitaire
