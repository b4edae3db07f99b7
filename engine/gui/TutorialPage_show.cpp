// Tutorial pages: showing and hiding (text, picture, placement, draw slots, blends) and the
// per-frame update (time-out, arrow swing and pulse, re-placement, the page animation).
#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"

namespace Orvex {

namespace {

GUIWindow* findWindow(std::wstring const& name) {
    return name.empty() ? nullptr : GUISystem::instance().findWindow(name);
}

void setBackground(GUIDrawOptions& o, Texture2D* texture, RECT const* source) {
    o.setTexBackground(texture);
    o.backgroundSource.use = texture != nullptr;
    o.backgroundSource.rect = source ? FRect::fromRECT(*source) : FRect();
}

}  // namespace

void TutorialPage::setShown(bool show) {
    showSteps(show);
    if (!show) {
        playBlendList(blendOnHide, blendSpeed);
        return;
    }
    if (fittingGoalsOnly) {
        checkTextFits(findWindow(windowName));
        // The second run places the window with the fitted goals; connectDraw keeps one
        // connection per slot, so the darkening and the arrows are still drawn once a frame.
        showSteps(true);
    }
}

void TutorialPage::showSteps(bool show) {
    textRect = FRect();
    shown = show;
    if (!show) {
        releaseAnimation();
    } else {
        playBlendList(blendOnShow, blendSpeed);
        timeLeft = maxTimeShown;
        showText();
        showAnimation();
    }
    GUIWindow* window = findWindow(windowName);
    if (!window) {
        if (show && !windowName.empty())
            logWarning(L"tutorial page \"" + getName() + L"\": window \"" + windowName +
                       L"\" not found; the page is shown without it");
        return;
    }
    if (show) {
        placeWindow(window, true);
        connectDraw(window);
        return;
    }
    if (window->hasGoal(L"AUS")) window->animateToGoal(L"AUS", blendSpeed, false);
    window->beforeDrawSelf.disconnect(this);
    window->selfDrawn.disconnect(this);
}

void TutorialPage::connectDraw(GUIWindow* window) {
    window->beforeDrawSelf.disconnect(this);
    window->selfDrawn.disconnect(this);
    window->beforeDrawSelf.connect(this, &TutorialPage::onBeforeDraw);
    window->selfDrawn.connect(this, &TutorialPage::onAfterDraw);
}

GUILabel* TutorialPage::findLabel(bool buttonsToo) const {
    GUIWindow* w = findWindow(labelName);
    if (auto* label = dynamic_cast<GUILabel*>(w)) return label;
    if (!buttonsToo) return nullptr;
    auto* button = dynamic_cast<GUIButton*>(w);
    return button ? button->getLabel() : nullptr;
}

void TutorialPage::showText() {
    GUILabel* label = findLabel(true);
    if (!label) return;
    // The hook may rewrite the text for good; the flag is for this showing only.
    bool useId = useTextId;
    textHook.emit(*this, textId, text, useId);
    if (useId)
        label->setTextId(textId);
    else
        label->setText(text);
    RECT const r = label->measureText();
    textRect = FRect(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                     static_cast<float>(r.bottom));
}

void TutorialPage::showAnimation() {
    GUIWindow* window = findWindow(animationWindowName);
    if (!window) return;
    releaseAnimation();
    if (Texture2DAnimation* a = Texture2DAnimationManager::instance().findAnimation(animationName)) {
        heldAnimation = a->clone();
        AnimationFrame const* frame = heldAnimation ? heldAnimation->getCurrentFrame() : nullptr;
        putPicture(window, frame ? frame->texture : nullptr, frame ? &frame->rect : nullptr);
        return;
    }
    heldTexture = D3DInterface::getInstance().getTextureManager().findTexture(textureName);
    putPicture(window, heldTexture, heldTexture ? &heldTexture->getRect() : nullptr);
}

void TutorialPage::putPicture(GUIWindow* window, Texture2D* texture, RECT const* source) {
    setBackground(window->getDrawOptions(), texture, source);
    for (GUIAnimationsGoal* goal : window->getGoals()) setBackground(goal->drawOptions, texture, source);
    setBackground(window->getCurrentState().drawOptions, texture, source);
}

void TutorialPage::update(double dt) {
    if (maxTimeShown > 0.0) {
        timeLeft -= dt;
        if (timeLeft <= 0.0 && owner) {
            // nextPage hides this page (its animation released, its slots cut): nothing more of
            // this update may run on it.
            owner->nextPage();
            return;
        }
    }
    if (moveArrow) {
        movePosition += static_cast<float>(dt) * moveSpeed;
        if (movePosition <= 0.0f || movePosition >= 1.0f) {
            movePosition = std::clamp(movePosition, 0.0f, 1.0f);
            moveSpeed = -moveSpeed;
        }
    }
    if (constantCheck != 0 && shown)
        if (GUIWindow* window = findWindow(windowName)) placeWindow(window, constantCheck > 1);
    if (heldAnimation)
        if (GUIWindow* window = findWindow(animationWindowName)) {
            heldAnimation->update(dt);
            AnimationFrame const* frame = heldAnimation->getCurrentFrame();
            putPicture(window, frame ? frame->texture : nullptr, frame ? &frame->rect : nullptr);
        }
    if (wobble) wobblePhase = std::fmod(wobblePhase + static_cast<float>(dt) * wobbleSpeed * 2.0f, 2.0f);
    if (wobblePhase < 0.0f) wobblePhase += 2.0f;  // a negative speed runs the wave backwards
    if (!std::isfinite(wobblePhase)) wobblePhase = 0.0f;
}

}  // namespace Orvex
