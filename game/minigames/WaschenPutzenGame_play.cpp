// The cleaning game's play: the mouse, choosing tools, painting along the pointer, the cursor and
// the emitter, and the frame's update.
#include <algorithm>
#include <cmath>

#include "engine/core/LineWalker.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/RenderManager.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/FieldPictures.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielTemplates.h"
#include "game/minigames/PlayfieldPicture.h"
#include "game/minigames/WaschenPutzenGame.h"
#include "game/minigames/WaschenPutzenPass.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"

namespace Solitaire {

namespace {

// Within [0, top]; NaN gives 0.
float within(float value, float top) { return value >= 0.0f ? (value <= top ? value : top) : 0.0f; }

}  // namespace

bool WaschenPutzenGame::mapPointer(D3DXVECTOR2 const& pointer, float& u, float& v) const {
    if (!washArea_) return false;
    Orvex::FRect const r = washArea_->getScreenRect();
    if (!(r.right > r.left) || !(r.bottom > r.top)) return false;
    u = (pointer.x - r.left) / (r.right - r.left);
    v = (pointer.y - r.top) / (r.bottom - r.top);
    return true;
}

void WaschenPutzenGame::onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) {
    if (shown_) hideInfo();
    Pass* pass = getCurrentPass();
    if (solved || !shown_ || !pass || button != Orvex::OMB_LEFT || MinispielManager::instance().isHelpShown()) return;
    float u = 0.0f;
    float v = 0.0f;
    if (!mapPointer(D3DXVECTOR2(state.x, state.y), u, v)) return;
    if (!(u >= 0.0f && u < 1.0f && v >= 0.0f && v < 1.0f)) return;
    painting_ = true;
    lastPoint_ = pass->toPixel(u, v);
    pass->paint(lastPoint_, brushStep_);
}

void WaschenPutzenGame::onMouseMove(Orvex::MouseState&, Orvex::OrvexAchse const&) {
    if (!shown_ || !getCurrentPass() || !washArea_ || !painting_ || !particles_) return;
    if (auto* emitter = dynamic_cast<SolPartikelEmitter*>(particles_.get())) emitter->setEnabled(true);
    movedTimer_ = kParticleTime;
}

void WaschenPutzenGame::onMouseUp(Orvex::MouseState&, Orvex::OrvexMouseButton const& button) {
    Pass* pass = getCurrentPass();
    if (solved || !shown_ || !pass || button != Orvex::OMB_LEFT) return;
    painting_ = false;
    if (!pass->checkCoverage() || pass->reported) return;
    pass->reported = true;
    inform(pass->textFertig);
    if (current_ + 1 == passes_.size()) setSolved();
}

void WaschenPutzenGame::onToolClicked(Orvex::GUIWindow& tool) {
    std::size_t chosen = current_;
    void* const owner = tool.getUserPointer(kPassSlot);
    for (std::size_t i = 0; i < passes_.size(); ++i)
        if (passes_[i].get() == owner || passes_[i]->toolWindow == &tool) {
            chosen = i;
            break;
        }
    // Forward only over passes that are done; backward always.
    for (std::size_t i = 0; i < chosen; ++i)
        if (!passes_[i]->checkCoverage()) {
            inform(passes_[i]->textNFertig);
            return;
        }
    endEmitter();
    current_ = chosen;
    if (passes_[chosen]->hasEmitter) startEmitter();
}

void WaschenPutzenGame::onLinePoint(int const& x, int const& y) {
    Pass* pass = getCurrentPass();
    if (pass && pass->paint(D3DXVECTOR2(static_cast<float>(x), static_cast<float>(y)), brushStep_))
        paintedTimer_ = kParticleTime;
}

void WaschenPutzenGame::startEmitter() {
    endEmitter();
    Pass* pass = getCurrentPass();
    if (!pass || !pass->hasEmitter) return;
    particles_.hold(SolPartikelManager::instance().spawn(pass->emitter, D3DXVECTOR2(0.0f, 0.0f)));
    if (!particles_) return;
    // It lives until the game ends it.
    particles_->setForceEnd(-1);
}

void WaschenPutzenGame::endEmitter() {
    if (!particles_) return;
    particles_->setForceEnd(1);
    particles_.reset();
}

void WaschenPutzenGame::paintAlongPointer(double dt) {
    Pass* pass = getCurrentPass();
    if (!shown_ || !pass || !painting_ || !washArea_) return;
    float u = 0.0f;
    float v = 0.0f;
    if (mapPointer(minigame::pointerPosition(), u, v)) {
        // Held inside the mask: a pointer far off a small wash area walks no longer a line than the
        // mask is wide.
        D3DXVECTOR2 point = pass->toPixel(u, v);
        point.x = within(std::trunc(point.x), static_cast<float>(pass->getWidth()) - 1.0f);
        point.y = within(std::trunc(point.y), static_cast<float>(pass->getHeight()) - 1.0f);
        Orvex::LineWalker walker(point.x, point.y, lastPoint_.x, lastPoint_.y);
        walker.connect(this, &WaschenPutzenGame::onLinePoint);
        walker.walk();
        walker.disconnect_all();
        lastPoint_ = point;
    }
    checkTimer_ += static_cast<float>(dt);
    if (checkTimer_ > checkEvery_) {
        checkTimer_ = 0.0f;
        pass->checkCoverage();
    }
}

void WaschenPutzenGame::updateCursor(double dt) {
    MinispielCursor& cursor = MinispielCursor::instance();
    cursor.setPicture(nullptr);
    Pass* pass = getCurrentPass();
    if (!shown_ || !pass || !washArea_) return;
    bool const over = minigame::containsInclusive(washArea_->getScreenRect(), minigame::pointerPosition()) &&
                      Orvex::GUISystem::instance().getActiveWindow() == washArea_;
    if (over && pass->useAsCursor) {
        cursor.setPicture(pass->animation.get());
        cursor.sizeFlag = pass->hasCursorSize;
        if (pass->hasCursorSize) {
            cursor.size = D3DXVECTOR2(pass->cursorSize[0], pass->cursorSize[1]);
            cursor.offset = D3DXVECTOR2(pass->cursorSize[2], pass->cursorSize[3]);
        }
    }
    if (cursor.picture) cursor.picture->update(dt);
}

void WaschenPutzenGame::update(double const& dt) {
    for (std::unique_ptr<Pass> const& pass : passes_) {
        if (!pass->animation) continue;
        pass->animation->update(dt);
        if (pass->toolWindow && pass->useAsHg) minigame::showFrameAsBackground(*pass->toolWindow, pass->animation.get());
    }
    if (renderManager_) Orvex::broadcastCall(*renderManager_, dt);
    brushStep_ = std::clamp(static_cast<float>(dt), 0.0f, kMaxBrushStep);
    if (particles_) {
        float const step = static_cast<float>(dt);
        movedTimer_ -= step;
        paintedTimer_ -= step;
        particles_->setPosition(minigame::pointerPosition());
        bool const scrubbing =
            shown_ && getCurrentPass() && washArea_ && painting_ && movedTimer_ > 0.0f && paintedTimer_ > 0.0f;
        if (auto* emitter = dynamic_cast<SolPartikelEmitter*>(particles_.get())) emitter->setEnabled(scrubbing);
    }
    countDownEndDelay(dt);
    if (!solved) {
        paintAlongPointer(dt);
        updateCursor(dt);
    }
    if (solved && shown_) {
        MinispielCursor& cursor = MinispielCursor::instance();
        cursor.setPicture(nullptr);
        cursor.sizeFlag = false;
        endEmitter();
    }
}

}  // namespace Solitaire
