// The button: its caption label, parameters, copies and templates.
#include "engine/gui/GUIButton.h"

#include <algorithm>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWidgetText.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

void removeChildrenExcept(GUIWindow& w, std::vector<GUIWindow*> const& keep) {
    HeldRef<GUIWindow> hold(&w);
    std::vector<GUIWindow*> const children = w.getChildren();
    for (std::size_t i = children.size(); i-- > 0;)
        if (std::find(keep.begin(), keep.end(), children[i]) == keep.end()) w.GUIWindow::removeChild(children[i]);
}

GUIButton::GUIButton(XMLNode& node) : GUIWindow(node) {
    auto* label = new GUILabel(getName() + L"_LABEL");
    label->shareTooltipParams(*this);
    label->getOptions().mouseMove = options.mouseMove;
    label->getOptions().moveParent = true;
    attachLabel(label);
    // The caption is in place before the template comes again, so the template's caption (its
    // border, look and text) is what stays; the button's own parameters come last.
    applyTemplateByName(templatePre);
    if (XMLNode* params = node.getChild(L"BUTTON_PARAMS")) {
        if (XMLNode* border = params->getChild(L"RAND_SIZE")) applyLabelBorder(label_->getRect(), *border, false);
        if (XMLNode* block = params->getChild(L"LABEL_PARAMS")) label_->readLabelParams(*block);
    }
    label_->updateRect(true, true);
    label_->initDefaultState();
    setUserId(getUserId());
}

GUIButton::GUIButton(std::wstring const& name) : GUIWindow(name) {
    attachLabel(new GUILabel(name + L"_LABEL"));
    label_->initDefaultState();
    setUserId(getUserId());
}

GUIButton::GUIButton(GUIButton const& other) : GUIWindow(other) {
    auto* label = other.label_ ? dynamic_cast<GUILabel*>(other.label_->clone()) : new GUILabel(getName() + L"_LABEL");
    label_ = label;
    GUIWindow::addChild(label_, true, true);
    label_->initDefaultState();
    setUserId(getUserId());
}

void GUIButton::attachLabel(GUILabel* label) {
    label_ = label;
    label->getOptions().inputToParent = true;
    label->getDrawOptions() = drawOptions;
    label->getDrawOptions().textures.releaseAll();
    GUIRect& r = label->getRect();
    r.position = GUIRectAxis();
    r.size = GUIRectAxis{1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    GUIWindow::addChild(label, true, true);
}

GUIWindow* GUIButton::clone() { return new GUIButton(*this); }

void GUIButton::setUserId(std::wstring const& id) {
    std::wstring const copy = id;
    GUIWindow::setUserId(copy);
    if (label_) label_->setUserId(copy);
}

bool GUIButton::addChild(GUIWindow*, bool const&, bool const&) { return false; }

bool GUIButton::removeChild(GUIWindow*) { return false; }

void GUIButton::removeAllChildren() { removeChildrenExcept(*this, {label_}); }

void GUIButton::copyFromTemplate(GUIWindow* source, int const& mask) {
    GUIWindow::copyFromTemplate(source, mask);
    auto* from = dynamic_cast<GUIButton*>(source);
    if (!from || from == this || !label_ || !from->label_) return;
    label_->copyFromTemplate(from->label_, (from->getTemplateMask() & mask) | kCopyPosition | kCopySize);
}

}  // namespace Orvex
