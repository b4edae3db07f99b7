// The manager's screens: finding them and building every game's GUI, the help screen, and making
// a game active.
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"

namespace Solitaire {

namespace {

// The window of that name among the top-level windows and their descendants, held by the field
// when the field is still empty.
void findInto(Orvex::CountedRef<Orvex::GUIWindow>& field, wchar_t const* name) {
    if (!field) field.hold(Orvex::GUISystem::instance().findWindow(name));
}

}  // namespace

void MinispielManager::initGUI() {
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    if (!screen_) {
        findInto(screen_, L"MINISPIEL_SCREEN");
        if (screen_) {
            screen_->childrenDrawn.disconnect(this);
            screen_->childrenDrawn.connect(this, &MinispielManager::onScreenDrawn);
        }
    }
    findInto(gameScreen_, L"MINISPIEL_GAMESCREEN");
    findInto(darkScreen_, L"MINISPIEL_GAMESCREEN_DUNKEL");

    if (!helpMenu_) {
        findInto(helpMenu_, L"MINISPIEL_Hilfemenue");
        if (helpMenu_) {
            helpLabel_.hold(dynamic_cast<Orvex::GUILabel*>(gui.findWindow(L"MINISPIEL_H_HilfeLabel")));
            if (auto* ok = dynamic_cast<Orvex::GUIButton*>(gui.findWindow(L"MINISPIEL_H_OKButton"))) {
                ok->leftClicked.disconnect(this);
                ok->leftClicked.connect(this, &MinispielManager::onHelpOk);
            }
            if (auto* skip = dynamic_cast<Orvex::GUIButton*>(gui.findWindow(L"MINISPIEL_H_SkipButton"))) {
                skipButton_ = skip;
                skip->leftClicked.disconnect(this);
                skip->leftClicked.connect(this, &MinispielManager::onSkip);
            }
            if (auto* skip = dynamic_cast<Orvex::GUIButton*>(gui.findWindow(L"MINISPIEL_H_SkipButton2"))) {
                skipButton2_ = skip;
                skip->leftClicked.disconnect(this);
                skip->leftClicked.connect(this, &MinispielManager::onSkip);
                if (Orvex::GUIWindow* parent = skip->getParent()) {
                    heldSkipButton2_.hold(skip);
                    parent->removeChild(skip);
                }
            }
        }
    }

    if (gameScreen_) {
        connectInput();
        for (Orvex::CountedRef<Minispiel> const& game : games_) {
            game->init();
            if (Orvex::GUIWindow* window = game->getWindow()) gameScreen_->addChild(window, false, true);
        }
        gameScreen_->sendToBack();
    }
    if (screen_) {
        if (helpMenu_) screen_->addChild(helpMenu_.get(), false, true);
        if (gameScreen_) screen_->addChild(gameScreen_.get(), false, true);
    }
    showHelp(false, 1.0f);
}

void MinispielManager::showHelp(bool const& show, float const& speed) {
    if (show && active_) {
        if (gameScreen_) gameScreen_->animateToGoal(L"AUS", speed, false);
        if (darkScreen_) darkScreen_->animateToGoal(L"AN", speed, false);
        if (helpMenu_) {
            helpMenu_->animateToGoal(L"AN", 1.0, false);
            helpMenu_->bringToFront();
        }
    } else {
        if (helpMenu_) helpMenu_->animateToGoal(L"AUS", 1.0, false);
        if (darkScreen_) darkScreen_->animateToGoal(L"AUS", speed, false);
        if (gameScreen_) {
            gameScreen_->animateToGoal(L"AN", speed, false);
            gameScreen_->bringToFront();
        }
    }
    helpShown_ = show;
}

bool MinispielManager::isHelpOnScreen() const { return helpShown_ || (helpMenu_ && helpMenu_->isAnimating()); }

void MinispielManager::releaseBars() { bars_.clear(); }

void MinispielManager::setActiveMinispiel(Minispiel* game) {
    // The caller's game may hold its last reference in the field about to be cleared.
    Orvex::HeldRef<Minispiel> hold(game);
    if (Orvex::CountedRef<Minispiel> const old = std::move(active_)) old->hide();
    releaseBars();
    if (!game) {
        gameActive_ = false;
        activeChanged.emit(gameActive_);
        return;
    }
    active_.hold(game);
    // A new attempt at every activation, so a game that ended before can be played again.
    game->start();
    game->show();
    for (Orvex::GUIWindow* bar : game->getWindows()) bars_.emplace_back().hold(bar);
    float const limit = static_cast<float>(game->getSolutionTime());
    for (Orvex::CountedRef<Orvex::GUIWindow> const& held : bars_) {
        Orvex::GUIWindow* bar = held.get();
        if (auto* progress = dynamic_cast<Orvex::GUIProgressBar*>(bar)) progress->setMax(limit);
        if (!skipButton2_) continue;
        if (skipBarRel_) {
            Orvex::GUIRectAxis& place = skipButton2_->getRect().getParamsX();
            Orvex::GUIRectAxis const& at = bar->getRect().getParamsX();
            place.relX = at.relX + skipOffsets_[kRelX];
            place.relY = at.relY + skipOffsets_[kRelY];
            place.offX = at.offX + skipOffsets_[kOffX];
            place.offY = at.offY + skipOffsets_[kOffY];
        }
        skipButton2_->getOptions().visible = false;
    }
    if (helpLabel_) helpLabel_->setTextId(game->getHelpId());
    if (helpMenu_) showHelp(true, 0.0f);
    gameActive_ = true;
    activeChanged.emit(gameActive_);
}

void MinispielManager::onHelpOk(Orvex::GUIWindow&) { showHelp(false, 1.0f); }

void MinispielManager::onSkip(Orvex::GUIWindow&) {
    if (!active_) return;
    Orvex::HeldRef<Minispiel> hold(active_.get());
    showHelp(false, 1.0f);
    active_->skip();
}

}  // namespace Solitaire
