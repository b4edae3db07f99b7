// The tooltip: reading, picking the record of the target, the delay, following the pointer and
// fitting the text.
#include "engine/gui/GUITooltip.h"

#include <cmath>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWidgetText.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

namespace {

// "STATIC_POSITION" / "STATIC_SIZE": one value for both, or two.
void readStaticPair(XMLNode const& node, wchar_t const* key, bool& a, bool& b) {
    XMLAttribute const* attr = node.getAttribute(key);
    if (!attr) return;
    std::vector<float> const v = widgetNumbers(attr->getString(), key, node.getLine());
    if (v.empty()) return;
    a = v[0] != 0.0f;
    b = (v.size() >= 2 ? v[1] : v[0]) != 0.0f;
}

void take(GUITooltipParam*& slot, GUITooltipParam* p) {
    if (p) p->addRef();
    if (slot) slot->release();
    slot = p;
}

void take(GUIWindow*& slot, GUIWindow* w) {
    if (w) w->addRef();
    if (slot) slot->release();
    slot = w;
}

// The x components (factor, offset, screen factor) of from into to unless x is fixed; y alike.
void writeFree(GUIRectAxis& to, GUIRectAxis const& from, bool fixedX, bool fixedY) {
    if (!fixedX) {
        to.relX = from.relX;
        to.offX = from.offX;
        to.screenX = from.screenX;
    }
    if (!fixedY) {
        to.relY = from.relY;
        to.offY = from.offY;
        to.screenY = from.screenY;
    }
}

}  // namespace

GUITooltip::GUITooltip(XMLNode& node) : GUIWindow(node) {
    if (XMLNode* params = node.getChild(L"TOOLTIP_PARAMS")) {
        if (XMLAttribute* a = params->getAttribute(L"LABEL"))
            if (auto* label = dynamic_cast<GUILabel*>(findChild(a->getString())); label && static_cast<GUIWindow*>(label) != this) {
                label->addRef();
                label_ = label;
            }
        tooltipId_ = params->getAttributeInt(L"TOOLTIP_ID", tooltipId_);
        if (XMLAttribute* a = params->getAttribute(L"TIMER")) {
            std::vector<float> const v = widgetNumbers(a->getString(), L"TOOLTIP TIMER", params->getLine());
            delay_ = threshold_ = v.empty() ? kDefaultDelay : v[0];
        }
        if (XMLNode* n = params->getChild(L"POS_OFFSET")) posOffset_.load(*n);
        if (XMLNode* n = params->getChild(L"SIZE_OFFSET")) sizeOffset_.load(*n);
        if (XMLNode* n = params->getChild(L"DEFAULT_SIZE")) defaultSize_.load(*n);
        useDefaultTip_ = params->getAttributeBool(L"USE_DEFAULT_TIP", useDefaultTip_);
        if (XMLAttribute* a = params->getAttribute(L"ONLY_STATIC_MAX_DIST")) {
            std::vector<float> const v = widgetNumbers(a->getString(), L"ONLY_STATIC_MAX_DIST", params->getLine());
            if (!v.empty()) restDistance_ = v[0];
        }
        onlyStatic_ = params->getAttributeBool(L"ONLY_STATIC", onlyStatic_);
        readStaticPair(*params, L"STATIC_POSITION", fixedX_, fixedY_);
        readStaticPair(*params, L"STATIC_SIZE", fixedW_, fixedH_);
        if (label_) {
            if (XMLNode* border = params->getChild(L"RAND_SIZE")) applyLabelBorder(label_->getRect(), *border, true);
            if (XMLNode* block = params->getChild(L"LABEL_PARAMS")) {
                label_->readLabelParams(*block);
                label_->initDefaultState();
            }
        }
    }
    setUserId(getUserId());
}

GUITooltip::GUITooltip(GUITooltip const& other)
    : GUIWindow(other),
      tooltipId_(other.tooltipId_),
      threshold_(other.threshold_),
      delay_(other.delay_),
      posOffset_(other.posOffset_),
      sizeOffset_(other.sizeOffset_),
      defaultSize_(other.defaultSize_),
      useDefaultTip_(other.useDefaultTip_),
      restDistance_(other.restDistance_),
      onlyStatic_(other.onlyStatic_),
      fixedX_(other.fixedX_),
      fixedY_(other.fixedY_),
      fixedW_(other.fixedW_),
      fixedH_(other.fixedH_) {}

GUITooltip::~GUITooltip() {
    take(param_, nullptr);
    take(target_, nullptr);
    if (label_) label_->release();
    label_ = nullptr;
}

GUIWindow* GUITooltip::clone() { return new GUITooltip(*this); }

double GUITooltip::targetActiveTime() const { return target_ ? target_->getBlendState().activation.on : 0.0; }

void GUITooltip::arm() {
    double const own = param_ && param_->hasOwnTimer() ? param_->getTimer() : delay_;
    threshold_ = own + targetActiveTime();
}

std::wstring GUITooltip::paramText() {
    std::wstring text;
    if (param_) param_->getText(text);
    return text;
}

void GUITooltip::hide(int layoutFlags) {
    visible_ = false;
    animateToGoal(L"AUS", 1.0, false);
    updateLayout(layoutFlags);
}

void GUITooltip::setTarget(GUIWindow* target) {
    HeldRef<GUIWindow> hold(this);
    GUITooltipParam* const remembered = param_;
    HeldRef<GUITooltipParam> keep(remembered);
    take(param_, nullptr);
    take(target_, target);

    GUITooltipParam* picked = nullptr;
    if (target_ && label_) {
        picked = target_->findTooltipParamById(tooltipId_);
        if (!picked && useDefaultTip_) picked = target_->getFirstTooltipParam();
        if (picked) {
            std::wstring text;
            if (!picked->isEnabled() || picked->getText(text).empty()) {
                animateToGoal(L"AUS", 1.0, false);
                picked = nullptr;
            }
        }
    }
    take(param_, picked);
    if (param_ == remembered) return;
    if (param_ && remembered && *param_ == *remembered) return;
    rest_[0] = pointer_[2];
    rest_[1] = pointer_[3];
    if (param_) {
        arm();
        label_->setText(paramText());
        visible_ = false;
        jumpToGoal(L"AUS");
    } else {
        animateToGoal(L"AUS", 1.0, false);
    }
    updateLayout(kFollowPointer | kFitText);
}

void GUITooltip::onMouseMove(MouseState const& state) {
    HeldRef<GUIWindow> hold(this);
    FRect const area = parent ? parent->getScreenRect() : FRect(0.0f, 0.0f, getScreenWidth(), getScreenHeight());
    float const w = area.right - area.left;
    float const h = area.bottom - area.top;
    pointer_[0] = w > 0.0f ? (state.x - area.left) / w : 0.0f;
    pointer_[1] = h > 0.0f ? (state.y - area.top) / h : 0.0f;
    pointer_[2] = state.x;
    pointer_[3] = state.y;
    if (onlyStatic_) {
        float const dx = pointer_[2] - rest_[0];
        float const dy = pointer_[3] - rest_[1];
        if (std::sqrt(dx * dx + dy * dy) >= restDistance_) {
            visible_ = false;
            if (param_) {
                arm();
                animateToGoal(L"AUS", 1.0, false);
                updateLayout(kFollowPointer | kFitText);
                rest_[0] = pointer_[2];
                rest_[1] = pointer_[3];
            }
            return;
        }
    } else if (!visible_ && param_) {
        arm();
    }
    updateLayout(kFollowPointer);
}

void GUITooltip::update(double const& dt) {
    HeldRef<GUIWindow> hold(this);
    GUIWindow::update(dt);
    if (!target_) {
        if (visible_) hide(0);
        return;
    }
    std::wstring const text = paramText();
    bool const show = targetActiveTime() > threshold_ && !text.empty();
    if (!show && visible_) {
        hide(0);
    } else if (show && !visible_) {
        rest_[0] = pointer_[2];
        rest_[1] = pointer_[3];
        visible_ = true;
        animateToGoal(L"AN", 1.0, false);
        updateLayout(0);
    }
    if (param_ && label_) {
        std::wstring const before = label_->getText();
        label_->setText(text);
        if (label_->getText() != before) updateLayout(kFitText);
    }
}

void GUITooltip::updateLayout(int flags) {
    HeldRef<GUIWindow> hold(this);
    if (flags & kFollowPointer) {
        GUIRectAxis const at = GUIRectAxis{pointer_[0], pointer_[1], 0.0f, 0.0f, 0.0f, 0.0f}.add(posOffset_);
        writeFree(rect.position, at, fixedX_, fixedY_);
    }
    if ((flags & kFitText) && label_) {
        GUIRectAxis const saved = label_->getRect().size;
        label_->getRect().size = defaultSize_;
        label_->updateRect(true, true);
        RECT const box = label_->measureText();
        label_->getRect().size = saved;
        label_->updateRect(true, true);
        GUIRectAxis const size =
            GUIRectAxis{0.0f, 0.0f, static_cast<float>(box.right - box.left), static_cast<float>(box.bottom - box.top),
                        0.0f, 0.0f}
                .add(sizeOffset_);
        writeFree(rect.size, size, fixedW_, fixedH_);
    }
    if (flags) moveInsideParent(nullptr);
    GUIAnimationsGoal state = currentState;
    state.rect.position = rect.position;
    state.rect.size = rect.size;
    applyState(state);
    captureCurrentState();
    if (flags) updateRect(false, false);
}

}  // namespace Orvex
