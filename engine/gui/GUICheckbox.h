// A checkbox: one checkbox button (the box, "<name>_BUTTON") and one label ("<name>_LABEL"),
// side by side or stacked by "CHECKBOX_PARAMS". A press anywhere on it goes to the box
// ("SEND_TO_BOX"). Content cannot be added (addChild and removeChild refuse).
//
// "CHECKBOX_SIZE" given as "a b" means a / b; a b of 0 keeps the size before it, with a log line.
#pragma once

#include "engine/gui/GUIWindow.h"

namespace Orvex {

class GUICheckboxButton;
class GUILabel;

class GUICheckbox : public GUIWindow {
public:
    enum Location { kLeft, kRight, kTop, kBottom, kCenter };
    static constexpr float kDefaultBoxSize = 0.25f;

    explicit GUICheckbox(XMLNode& node);
    GUICheckbox(GUICheckbox const& other);

    GUIWindow* clone() override;
    void setUserId(std::wstring const& id) override;
    void onLeftPress(MouseState& state) override;
    bool addChild(GUIWindow* child, bool const& noAddRef, bool const& append) override;
    bool removeChild(GUIWindow* child) override;
    void removeAllChildren() override;
    void copyFromTemplate(GUIWindow* source, int const& mask) override;

    GUILabel* getLabel() const { return label_; }
    GUICheckboxButton* getButton() const { return box_; }
    bool sendsToBox() const { return sendToBox_; }

private:
    void readParams(XMLNode& params);

    GUILabel* label_ = nullptr;
    GUICheckboxButton* box_ = nullptr;
    bool sendToBox_ = true;
};

// "a" or "a b" (a / b) of a checkbox size key; fallback when b is 0 or the value is unusable.
// line: of the element, for the log line.
float checkboxSize(std::wstring const& text, float fallback, std::wstring const& where, u32 line);

}  // namespace Orvex
