// The tooltip: shows the tooltip text of the window under the pointer near the pointer. The GUI
// system tells every tooltip the newly active (hovered) window (setTarget) and every pointer
// movement; the tooltip picks that window's record with its tooltip id (or the first record),
// waits for the delay measured on the target's active time, fades in with its "AN" goal, sizes
// itself to the measured text of its label, follows the pointer (unless its position is fixed),
// stays inside its parent or the screen, and fades out with "AUS".
//
// Keys ("TOOLTIP_PARAMS"): "LABEL" (name of a label below the tooltip), "TOOLTIP_ID", "TIMER",
// "USE_DEFAULT_TIP", "ONLY_STATIC", "ONLY_STATIC_MAX_DIST", "STATIC_POSITION", "STATIC_SIZE";
// children "POS_OFFSET", "SIZE_OFFSET", "DEFAULT_SIZE", "RAND_SIZE", "LABEL_PARAMS".
#pragma once

#include "engine/gui/GUIWindow.h"

namespace Orvex {

class GUILabel;
class GUITooltipParam;

class GUITooltip : public GUIWindow {
public:
    static constexpr double kDefaultDelay = 1.0;
    static constexpr float kDefaultRestDistance = 5.0f;
    static constexpr float kDefaultPointerOffset = 50.0f;
    static constexpr float kDefaultTextMargin = 20.0f;
    // updateLayout bits.
    static constexpr int kFollowPointer = 1;
    static constexpr int kFitText = 2;

    explicit GUITooltip(XMLNode& node);
    GUITooltip(GUITooltip const& other);
    ~GUITooltip() override;

    GUIWindow* clone() override;
    void update(double const& dt) override;

    void setTarget(GUIWindow* target);
    void onMouseMove(MouseState const& state);
    void updateLayout(int flags);

    GUIWindow* getTarget() const { return target_; }
    GUITooltipParam* getParam() const { return param_; }
    GUILabel* getLabel() const { return label_; }
    bool isShown() const { return visible_; }
    double getThreshold() const { return threshold_; }

private:
    // threshold = the record's own delay (or the tooltip's) + the target's active time.
    void arm();
    double targetActiveTime() const;
    void hide(int layoutFlags);
    std::wstring paramText();

    GUIWindow* target_ = nullptr;
    GUITooltipParam* param_ = nullptr;
    GUILabel* label_ = nullptr;
    int tooltipId_ = 0;
    double threshold_ = kDefaultDelay;
    double delay_ = kDefaultDelay;
    GUIRectAxis posOffset_{0.0f, 0.0f, kDefaultPointerOffset, kDefaultPointerOffset, 0.0f, 0.0f};
    GUIRectAxis sizeOffset_{0.0f, 0.0f, kDefaultTextMargin, kDefaultTextMargin, 0.0f, 0.0f};
    GUIRectAxis defaultSize_;
    bool useDefaultTip_ = true;
    bool visible_ = false;
    float pointer_[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // relative x, relative y, x, y
    float rest_[2] = {0.0f, 0.0f};
    float restDistance_ = kDefaultRestDistance;
    bool onlyStatic_ = true;
    bool fixedX_ = false;
    bool fixedY_ = false;
    bool fixedW_ = false;
    bool fixedH_ = false;
};

}  // namespace Orvex
