// The game object's per-frame update: the GUI and the managers by the real step, the table by
// the in-game fixed step while the in-game screen is active (by a game step of 0 elsewhere, so
// cards still animate), the reminders (the hint's only while its price can be paid), the results
// delay, the count-up, the news line, the tooltip follower, the story, the panel blends, the
// cursor animations and the achievement popups.
//
// The texture module's clock and its once-a-second check are the engine's update step's own.
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/Text.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialStrip.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/app/FormatNumber.h"
#include "game/app/HudWindows.h"
#include "game/app/MenuNames.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/PileWords.h"
#include "game/cards/TableRenderer.h"
#include "game/look/GameStyle.h"
#include "game/look/RenderObjekt.h"
#include "game/look/SolitaireCamera.h"
#include "game/minigames/MinispielManager.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "game/story/ExtendedTutorialManager.h"
#include "game/story/StoryPart.h"

namespace Solitaire {

namespace {

constexpr wchar_t kExtraCardStrip[] = L"EXTRACARD_FOUND";
// Particle groups: every group, and those that run outside the game (every screen layer; the
// table's layer 0 stands still with the table).
constexpr int kAllParticles = -1;
constexpr int kMenuParticles = kScreenParticleLayers;
constexpr double kMedalSpeed = 1.0;

}  // namespace

bool SolitaireGame2::isMenuActive(wchar_t const* name) const {
    Orvex::GUIMenuN* menu = menus_->findMenu(name);
    return menu && menu->isActive();
}

Orvex::MouseState SolitaireGame2::pointerInGame() const {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    Orvex::MouseState state = input.getMouseState();
    D3DXVECTOR2 const point = renderer_->toGamePoint(D3DXVECTOR2(input.mouseX, input.mouseY));
    state.x = point.x;
    state.y = point.y;
    return state;
}

void SolitaireGame2::update() {
    Orvex::PerfTimer* timer = engine_->getPerfTimer();
    double const gameStep = timer->getGameDelta();
    double const realStep = timer->getRealDelta();
    gui_->update(realStep);
    menus_->update(realStep);
    tutorials_->update(realStep);
    minigames_->update(realStep);
    if (!active_) return;
    newProfileDialog_.update();
    if (isMenuActive(kInGameMenu))
        updateInGame(gameStep, realStep);
    else
        updateOutsideGame(realStep);
    updateResultsDelay(realStep);
    resultsScreen_.update(realStep);
    hud_.update(realStep);
    updateStory(realStep);
    updatePanelBlends(realStep);
    updateCursorAnimations(realStep);
    achievementScreen_.update(realStep);
}

void SolitaireGame2::updateOutsideGame(double realStep) {
    float const step = static_cast<float>(realStep);
    particles_->update(step, extTutorials_->isRunning() ? kAllParticles : kMenuParticles);
    cards_->update(0.0, realStep, pointerInGame());
}

void SolitaireGame2::updateInGame(double gameStep, double realStep) {
    double const step = inGameStep_.take(gameStep);
    extTutorials_->update(static_cast<float>(gameStep));
    if (step > 0.0) {
        float const fstep = static_cast<float>(step);
        camera_->update(fstep);
        cards_->update(step, step, pointerInGame());
        particles_->update(fstep, kAllParticles);
        hud_.advance(fstep);
        updateReminders(step, realStep);
    }
    if (gameStep == 0.0) {
        if (extTutorials_->isRunning()) particles_->update(static_cast<float>(realStep), kAllParticles);
        Orvex::TutorialStrip* strip = tutorials_->getCurrentStrip();
        bool const tableStill = isMenuActive(kTutorialMenu) && strip && strip->getName() == kExtraCardStrip;
        cards_->update(0.0, tableStill ? 0.0 : realStep, pointerInGame());
    }
    achievementScreen_.countPlayTime(gameStep);
    hud_.refreshGoalsPanel();
}

void SolitaireGame2::updateReminders(double, double realStep) {
    powersAndShop_.updateReminders(realStep);
    hud_.remindTip(realStep);
}

void SolitaireGame2::updateResultsDelay(double realStep) {
    ResultsDelay::Events const events = results_.advance(static_cast<float>(realStep));
    if (events.reveal) revealMedal();
    if (events.leave)
        for (Orvex::GUIWindow* medal : hud_.getMedals())
            if (medal) medal->animateToGoal(L"WEG", kMedalSpeed, false);
    if (events.open) {
        playSound(L"COUNT_POINTS");
        menus_->activateMenu(kResultsMenu, -1.0);
    }
}

void SolitaireGame2::revealMedal() {
    // The five medal windows: none, bronze, silver, gold, perfect.
    int medal = 0;
    int sound = GameStyle::kSoundLose;
    switch (results_.rating) {
    case 2: medal = 1, sound = GameStyle::kSoundBronze; break;
    case 3: medal = 2, sound = GameStyle::kSoundSilber; break;
    case 4: {
        bool const perfect =
            static_cast<std::size_t>(cards_->countEmptyTableauPiles()) == cards_->getPilesOfType(kPileTableau).size();
        medal = perfect ? 4 : 3;
        sound = perfect ? GameStyle::kSoundPerfekt : GameStyle::kSoundGold;
        break;
    }
    default: break;
    }
    Orvex::GUIWindow* window = hud_.getMedals()[medal];
    if (!window) return;
    window->animateToGoal(L"AN", kMedalSpeed, false);
    cards_->playSound(sound);
}

void SolitaireGame2::updateStory(double realStep) {
    // A scene waits behind a tutorial in front of it: the player sees it from its start.
    if (storyInFront() && storyPart_->update(static_cast<float>(realStep))) finishStoryPart();
}

void SolitaireGame2::updatePanelBlends(double realStep) {
    // One blend moves per update: the banner's first.
    if (gameNameBlend_.isMoving())
        gameNameBlend_.move(static_cast<float>(realStep));
    else if (helpBlend_.isMoving())
        helpBlend_.move(static_cast<float>(realStep));
}

void SolitaireGame2::updateCursorAnimations(double realStep) {
    cursorTable_.update(realStep);
}

}  // namespace Solitaire
