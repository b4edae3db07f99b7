// A two-state toggle drawn from the window's textures: TEX_NORMAL is the unchecked look,
// TEX_PRESS the checked look, TEX_MARK and TEX_PRESS_MARK their hover overlays. The state fades
// between the looks over the fade time. Checking a button unchecks the buttons named in its
// group (a radio set names every other member in each member); a click may be limited to
// checking or to unchecking.
//
// A fade time of 0 (or one that is not a usable number) switches the look at once: the fade
// share would otherwise be 0 / 0.
#pragma once

#include <string>
#include <vector>

#include "engine/gui/GUIWindow.h"

namespace Orvex {

class GUICheckboxButton : public GUIWindow {
public:
    static constexpr double kDefaultFadeTime = 1.0;
    static constexpr float kSoundVolume = 1.0f;

    sigslot::signal1<GUICheckboxButton&> changed;

    // The window part, the template again, then "CHECKBOX_BUTTON_PARAMS".
    explicit GUICheckboxButton(XMLNode& node);
    explicit GUICheckboxButton(std::wstring const& name);
    // The state and times; the group starts empty.
    GUICheckboxButton(GUICheckboxButton const& other);
    ~GUICheckboxButton() override;

    GUIWindow* clone() override;
    void onLeftPress(MouseState& state) override;
    void update(double const& dt) override;
    void drawShape() override;
    bool hasShape() const override { return true; }
    void drawSelf() override;
    bool addChild(GUIWindow* child, bool const& noAddRef, bool const& append) override;
    bool removeChild(GUIWindow* child) override;
    void reapplyTemplates() override;
    void copyFromTemplate(GUIWindow* source, int const& mask) override;

    // Emits changed and unchecks the group only when the state changes.
    void setChecked(bool on);
    bool isChecked() const { return checked_; }
    void addGroupMember(GUICheckboxButton* member);
    void removeGroupMember(GUICheckboxButton* member);
    std::vector<GUICheckboxButton*> const& getGroup() const { return group_; }
    std::vector<std::wstring> const& getGroupNames() const { return groupNames_; }

    // A fade time from data: below 0 or not a number reads as 0, with a log line naming the
    // element's line.
    void setFadeTime(double seconds, u32 line = 0);
    double getFadeTime() const { return fadeTime_; }
    double getFadeTimer() const { return fadeTimer_; }
    // Fade share 0 (unchecked look) .. 1 (checked look).
    double fadeShare() const;
    int getOneWayClick() const { return oneWayClick_; }
    void setOneWayClick(int v) { oneWayClick_ = v; }
    void setDrawCheckedFull(bool on) { drawCheckedFull_ = on; }

    // "ENABLED", "ENABLE_TIMER", "ONE_WAY_CLICK", "DRAW_ENABLED_FULL", "GROUP_NAMES".
    // With throughSetter, "ENABLED" goes through setChecked (the checkbox's box).
    void readParams(XMLNode& params, bool throughSetter);

private:
    void startFade() { fadeTimer_ = checked_ ? 0.0 : fadeTime_; }
    void drawLook();
    void onMemberDestroyed(NamedObject* gone);
    void onSelfActivated(GUIWindow&) {}
    void onSelfDeactivated(GUIWindow&);
    void playAnimationTowardsState();

    int oneWayClick_ = 0;
    bool drawCheckedFull_ = true;
    bool checked_ = false;
    double fadeTimer_ = 0.0;
    double fadeTime_ = kDefaultFadeTime;
    std::vector<std::wstring> groupNames_;
    std::vector<GUICheckboxButton*> group_;
};

}  // namespace Orvex
