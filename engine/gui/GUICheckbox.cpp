// The checkbox: its box and label, their placement and the press handed to the box.
#include "engine/gui/GUICheckbox.h"

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWidgetText.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

namespace {

bool locationOf(std::wstring const& word, GUICheckbox::Location& out) {
    struct Word {
        wchar_t const* text;
        GUICheckbox::Location where;
    };
    constexpr Word kWords[] = {{L"LEFT", GUICheckbox::kLeft},
                               {L"RIGHT", GUICheckbox::kRight},
                               {L"TOP", GUICheckbox::kTop},
                               {L"BOTTOM", GUICheckbox::kBottom},
                               {L"CENTER", GUICheckbox::kCenter}};
    for (Word const& w : kWords)
        if (word == w.text) {
            out = w.where;
            return true;
        }
    return false;
}

// CENTER: the part covers the whole checkbox.
bool coversAll(GUIRect& r, GUICheckbox::Location at) {
    if (at != GUICheckbox::kCenter) return false;
    r.position = GUIRectAxis();
    r.size = GUIRectAxis{1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    return true;
}

void placeBox(GUIRect& r, GUICheckbox::Location at, float s, float p) {
    using L = GUICheckbox;
    if (coversAll(r, at)) return;
    bool const sideways = at == L::kLeft || at == L::kRight;
    bool const stacked = at == L::kTop || at == L::kBottom;
    r.position = GUIRectAxis{at == L::kRight ? 1.0f - s : 0.0f, at == L::kBottom ? 1.0f - s : 0.0f,
                             at == L::kRight ? -p : 0.0f,       at == L::kBottom ? -p : 0.0f, 0.0f, 0.0f};
    r.size = GUIRectAxis{sideways ? s : 1.0f, stacked ? s : 1.0f, sideways ? p : 0.0f, stacked ? p : 0.0f, 0.0f, 0.0f};
}

void placeLabel(GUIRect& r, GUICheckbox::Location at, float s, float p) {
    using L = GUICheckbox;
    if (coversAll(r, at)) return;
    bool const sideways = at == L::kLeft || at == L::kRight;
    bool const stacked = at == L::kTop || at == L::kBottom;
    r.position = GUIRectAxis{at == L::kLeft ? s : 0.0f, at == L::kTop ? s : 0.0f,
                             at == L::kLeft ? p : 0.0f, at == L::kTop ? p : 0.0f, 0.0f, 0.0f};
    r.size = GUIRectAxis{sideways ? 1.0f - s : 1.0f, stacked ? 1.0f - s : 1.0f, sideways ? -p : 0.0f,
                         stacked ? -p : 0.0f, 0.0f, 0.0f};
}

}  // namespace

float checkboxSize(std::wstring const& text, float fallback, std::wstring const& where, u32 line) {
    std::vector<float> const v = widgetNumbers(text, where, line);
    if (v.empty()) return fallback;
    if (v.size() == 1) return v[0];
    if (v[1] == 0.0f) {
        logWarning(GUISystem::loadingPlace(line) + L": " + where + L" \"" + text +
                   L"\" divides by zero; the size stays " + std::to_wstring(fallback));
        return fallback;
    }
    return v[0] / v[1];
}

GUICheckbox::GUICheckbox(XMLNode& node) : GUIWindow(node) {
    label_ = new GUILabel(getName() + L"_LABEL");
    box_ = new GUICheckboxButton(getName() + L"_BUTTON");
    label_->shareTooltipParams(*this);
    box_->shareTooltipParams(*this);
    for (GUIWindow* part : {static_cast<GUIWindow*>(label_), static_cast<GUIWindow*>(box_)}) {
        part->getDrawOptions() = drawOptions;
        part->getDrawOptions().textures.releaseAll();
    }
    label_->getOptions().inputIgnore = 1;
    box_->getOptions().moveParent = true;
    // The parts are set up before the template comes again, so the template's label and box
    // (their places, looks and states) are what stays; the checkbox's own parameters come last.
    applyTemplateByName(templatePre);
    // The box may come to the front exactly when the label comes first (below): a template's
    // box carries its order, and a box without one the default, label first.
    bool labelFirst = box_->getOptions().canBringToFront;
    if (XMLNode* params = node.getChild(L"CHECKBOX_PARAMS")) {
        labelFirst = params->getAttributeBool(L"LABEL_FIRST", labelFirst);
        readParams(*params);
    }
    label_->initDefaultState();
    box_->initDefaultState();
    box_->getOptions().canBringToFront = labelFirst;
    GUIWindow* first = labelFirst ? static_cast<GUIWindow*>(label_) : box_;
    GUIWindow* second = labelFirst ? static_cast<GUIWindow*>(box_) : label_;
    GUIWindow::addChild(first, true, true);
    GUIWindow::addChild(second, true, true);
    setUserId(getUserId());
}

void GUICheckbox::readParams(XMLNode& params) {
    Location boxAt = kLeft;
    if (XMLAttribute* a = params.getAttribute(L"CHECKBOX_LOC")) locationOf(a->getString(), boxAt);
    Location labelAt = boxAt;
    if (XMLAttribute* a = params.getAttribute(L"LABEL_LOC")) locationOf(a->getString(), labelAt);
    float s = kDefaultBoxSize;
    float p = 0.0f;
    if (XMLAttribute* a = params.getAttribute(L"CHECKBOX_SIZE"))
        s = checkboxSize(a->getString(), s, L"CHECKBOX_SIZE", params.getLine());
    sendToBox_ = params.getAttributeBool(L"SEND_TO_BOX", sendToBox_);

    if (XMLNode* boxParams = params.getChild(L"CHECKBOX_BUTTON_PARAMS")) {
        box_->readParams(*boxParams, true);
        if (XMLNode* size = boxParams->getChild(L"CHECKBOX_SIZE")) {
            if (XMLAttribute* a = size->getAttribute(L"OFF"))
                p = checkboxSize(a->getString(), p, L"CHECKBOX_SIZE OFF", size->getLine());
            if (XMLAttribute* a = size->getAttribute(L"REL"))
                s = checkboxSize(a->getString(), s, L"CHECKBOX_SIZE REL", size->getLine());
        }
        if (XMLNode* min = boxParams->getChild(L"MIN_SIZE")) box_->getMinSize().load(*min);
        if (XMLNode* max = boxParams->getChild(L"MAX_SIZE")) box_->getMaxSize().load(*max);
        placeBox(box_->getRect(), boxAt, s, p);
        if (XMLNode* textures = boxParams->getChild(L"TEXTURES_2D")) box_->getDrawOptions().textures.load(*textures);
    }
    if (XMLNode* block = params.getChild(L"LABEL_PARAMS")) {
        label_->readLabelParams(*block);
        placeLabel(label_->getRect(), labelAt, s, p);
        if (XMLNode* textures = block->getChild(L"TEXTURES_2D")) label_->getDrawOptions().textures.load(*textures);
    }
}

GUICheckbox::GUICheckbox(GUICheckbox const& other) : GUIWindow(other), sendToBox_(other.sendToBox_) {
    label_ = other.label_ ? dynamic_cast<GUILabel*>(other.label_->clone()) : new GUILabel(getName() + L"_LABEL");
    box_ = other.box_ ? dynamic_cast<GUICheckboxButton*>(other.box_->clone())
                      : new GUICheckboxButton(getName() + L"_BUTTON");
    GUIWindow::addChild(label_, true, true);
    GUIWindow::addChild(box_, true, true);
    setUserId(getUserId());
}

GUIWindow* GUICheckbox::clone() { return new GUICheckbox(*this); }

void GUICheckbox::setUserId(std::wstring const& id) {
    std::wstring const copy = id;
    GUIWindow::setUserId(copy);
    if (label_) label_->setUserId(copy);
    if (box_) box_->setUserId(copy);
}

void GUICheckbox::onLeftPress(MouseState& state) {
    if (sendToBox_ && box_) {
        HeldRef<GUIWindow> hold(this);
        box_->onLeftPress(state);
        return;
    }
    GUIWindow::onLeftPress(state);
}

bool GUICheckbox::addChild(GUIWindow*, bool const&, bool const&) { return false; }

bool GUICheckbox::removeChild(GUIWindow*) { return false; }

void GUICheckbox::removeAllChildren() { removeChildrenExcept(*this, {label_, box_}); }

void GUICheckbox::copyFromTemplate(GUIWindow* source, int const& mask) {
    GUIWindow::copyFromTemplate(source, mask);
    auto* from = dynamic_cast<GUICheckbox*>(source);
    if (!from || from == this) return;
    int const parts = from->getTemplateMask() & mask;
    if (label_ && from->label_) label_->copyFromTemplate(from->label_, parts | kCopyPosition | kCopySize);
    if (box_ && from->box_) box_->copyFromTemplate(from->box_, parts | kCopyPosition | kCopySize);
    if (parts & kCopyOptions) sendToBox_ = from->sendToBox_;
}

}  // namespace Orvex
