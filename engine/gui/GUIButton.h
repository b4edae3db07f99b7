// A button: a window with one inner label for its caption. Pressing and clicking are the
// window's own; the caption passes clicks and drags on to the button. Content cannot be added
// to a button (addChild and removeChild refuse).
#pragma once

#include "engine/gui/GUIWindow.h"

namespace Orvex {

class GUILabel;

class GUIButton : public GUIWindow {
public:
    // The window part, the caption ("<name>_LABEL") covering the button, the template again,
    // then "BUTTON_PARAMS" ("RAND_SIZE" border, "LABEL_PARAMS").
    explicit GUIButton(XMLNode& node);
    // A plain button (scroll buttons): caption, no template, no parameters.
    explicit GUIButton(std::wstring const& name);
    GUIButton(GUIButton const& other);

    GUIWindow* clone() override;
    void setUserId(std::wstring const& id) override;
    bool addChild(GUIWindow* child, bool const& noAddRef, bool const& append) override;
    bool removeChild(GUIWindow* child) override;
    // Every child but the caption goes.
    void removeAllChildren() override;
    void copyFromTemplate(GUIWindow* source, int const& mask) override;

    GUILabel* getLabel() const { return label_; }

private:
    // Caption look and place; adds it as the last child.
    void attachLabel(GUILabel* label);

    GUILabel* label_ = nullptr;
};

// Releases and removes every child of w except the kept ones, from the last to the first
// (what the composite widgets do instead of dropping their own parts).
void removeChildrenExcept(GUIWindow& w, std::vector<GUIWindow*> const& keep);

}  // namespace Orvex
