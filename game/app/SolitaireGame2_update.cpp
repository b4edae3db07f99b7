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
#include "engine/render/Texture2DAnimation.h"
#include "game/app/FormatNumber.h"
#include "game/app/HudWindows.h"
#include "game/app/MenuNames.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Statistik.h"
#include "game/cards/Kartenmanager.h"
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

}  // namespace

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
    if (onMenuScreen()) newProfileDialog_.tellNotSaved();
    if (isMenuActive(kInGameMenu))
        updateInGame(gameStep, realStep);
    else
        updateOutsideGame(realStep);
    updateResultsDelay(realStep);
    hud_.update(realStep);
    // A scene waits behind a tutorial in front of it: the player sees it from its start.
    if (storyInFront() && storyPart_->update(static_cast<float>(realStep))) finishStoryPart();
    hud_.moveBlends(realStep);
    cursorTable_.update(realStep);
    achievementScreen_.holdPopups(tableOpening());
    achievementScreen_.update(realStep);
}

bool SolitaireGame2::tableOpening() const {
    if (!isMenuActive(kInGameMenu) || running_.gameOver) return false;
    if (hud_.getGameNameBlend().target > 0.5f || hud_.getHelpBlend().target > 0.5f) return true;
    Statistik const* played = SolitaireManager::instance().getGameStatistik();
    return played && played->get(StatistikCounter::Moved) == 0;
}

void SolitaireGame2::updateOutsideGame(double realStep) {
    float const step = static_cast<float>(realStep);
    particles_->update(step, extTutorials_->isRunning() ? kAllParticles : kMenuParticles);
    cards_->update(0.0, realStep, tableInput_.pointerInGame());
}

void SolitaireGame2::updateInGame(double gameStep, double realStep) {
    double const step = inGameStep_.take(gameStep);
    extTutorials_->update(static_cast<float>(gameStep));
    tableInput_.followPointer();
    if (step > 0.0) {
        float const fstep = static_cast<float>(step);
        camera_->update(fstep);
        cards_->update(step, step, tableInput_.pointerInGame());
        particles_->update(fstep, kAllParticles);
        hud_.advance(fstep);
        // The reminders by the real step (the hint's only while its price can be paid).
        powersAndShop_.updateReminders(realStep);
        hud_.remindTip(realStep);
    }
    if (gameStep == 0.0) {
        if (extTutorials_->isRunning()) particles_->update(static_cast<float>(realStep), kAllParticles);
        Orvex::TutorialStrip* strip = tutorials_->getCurrentStrip();
        bool const tableStill = isMenuActive(kTutorialMenu) && strip && strip->getName() == kExtraCardStrip;
        cards_->update(0.0, tableStill ? 0.0 : realStep, tableInput_.pointerInGame());
    }
    achievementScreen_.countPlayTime(gameStep);
    hud_.refreshGoalsPanel();
}

void SolitaireGame2::updateResultsDelay(double realStep) {
    ResultsDelay::Events const events = results_.advance(static_cast<float>(realStep));
    if (events.reveal) hud_.revealMedal(results_.rating);
    if (events.leave) hud_.sendMedalsAway();
    if (events.open) {
        playSound(L"COUNT_POINTS");
        menus_->activateMenu(kResultsMenu, -1.0);
    }
}

}  // namespace Solitaire
