// The manager's frame: the active game's step, the count of its time left, the timer bars with
// their labels and the second skip button, and the end of a game that has ended.
#include <cmath>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/Text.h"
#include "game/look/RenderObjekt.h"
#include "game/particles/SolPartikelManager.h"
#include "game/look/StyleSettings.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"

namespace Solitaire {

void MinispielManager::labelBar(Orvex::GUIWindow& bar, double secondsLeft) {
    auto* progress = dynamic_cast<Orvex::GUIProgressBar*>(&bar);
    Orvex::GUILabel* label = progress ? progress->getLabel() : nullptr;
    if (!label) return;
    Orvex::Text const* text = Orvex::OrvexEngine::getInstance()->getLanguage()->findText(label->getTextId());
    if (!text) return;
    // The text is a format from data: the safe formatter reads only the one number it is given.
    int const seconds = static_cast<int>(std::trunc(secondsLeft));
    std::wstring out;
    text->format(out, seconds);
    label->setText(out);
}

void MinispielManager::placeSkipButton(Orvex::GUIWindow& bar, bool first, double left) {
    Orvex::GUIWindow* parent = bar.getParent();
    if (left > 0.0) {
        bar.getOptions().visible = true;
        skipButton2_->getOptions().visible = false;
        if (first && parent) parent->removeChild(skipButton2_);
    } else {
        bar.getOptions().visible = !skipBarRel_;
        skipButton2_->getOptions().visible = true;
        if (first && parent) parent->addChild(skipButton2_, false, true);
    }
}

void MinispielManager::update(double const& dt) {
    Minispiel* game = active_.get();
    if (!game) return;
    Orvex::HeldRef<Minispiel> hold(game);
    game->update(dt);
    bool const solved = game->isFinished(false);
    double const step = helpShown_ || solved ? 0.0 : dt;
    double left = game->getSolutionTimeLeft() - step;
    if (!(left > 0.0)) left = 0.0;
    for (std::size_t i = 0; i < bars_.size(); ++i) {
        Orvex::GUIWindow* bar = bars_[i].get();
        if (skipButton2_) placeSkipButton(*bar, i == 0, left);
        if (auto* progress = dynamic_cast<Orvex::GUIProgressBar*>(bar)) progress->setValue(static_cast<float>(left));
        labelBar(*bar, left);
    }
    if (game->isFinished(true)) {
        game->finish();
        if (active_ == game) setActiveMinispiel(nullptr);
    }
    game->setSolutionTimeLeft(left);
}

void MinispielManager::drawActive() {
    if (active_) active_->draw();
}

void MinispielManager::onScreenDrawn(Orvex::GUIWindow&, bool const& drawn) {
    if (!drawn || !(StyleSettings::instance().getParticleSpawnMult() > 0.0f)) return;
    RenderContext context;
    context.sprite = Orvex::GUISystem::instance().getSprite();
    context.layerMask = kLayerParticles;
    context.particleLayer = kScreenParticleLayers;
    SolPartikelManager::instance().render(context);
}

}  // namespace Solitaire
