// The slider's construction from a GUI file element, copy, parts and templates. Unlike a bare
// copy of the window part, a clone hangs its cloned parts together and connects them, so a
// cloned slider works like the original.
#include "engine/gui/GUISlider.h"

#include <algorithm>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUILayoutManager.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWidgetParts.h"
#include "engine/gui/GUIWindowOptions.h"

namespace Orvex {

namespace {

void releasePart(GUIWindow*& part) {
    if (part) part->release();
    part = nullptr;
}

// The part's layout: its own fill manager and where the slider's manager docks it.
void dock(GUIWindow* part, wchar_t const* where) {
    if (!part) return;
    part->getOptions().createLayoutManager(L"DEFAULT");
    part->getOptions().layoutParam = where;
}

}  // namespace

GUISlider::GUISlider(XMLNode& node) : GUIWindow(node) {
    // Knob and track exist when the template comes again, so the template's knob and track reach
    // them with its settings and values; the slider's own parameters and parts come last.
    GUIWindow* const plainKnob = knob_ = new GUIWindow(getName() + L"_INNEN");
    track_ = new GUIWindow(getName() + L"_AUSSEN");
    applyTemplateByName(templatePre);
    if (XMLNode* params = node.getChild(L"SLIDER_PARAMS")) readParams(*params);
    // The knob's own place is saved, unless the knob came from a template: that one is placed
    // already, and the template's saved place came with it.
    if (knob_ != plainKnob || !dynamic_cast<GUISlider*>(GUISystem::instance().findTemplate(templatePre.name)))
        knobPosition_ = knob_->getRect().getParamsX();
    if (showLabel_ && !label_) label_ = makePartLabel(getName() + L"_LABEL");
    if (label_ && showLabel_ && !useLoadedLabelPos_) {
        GUIRect& r = label_->getRect();
        r.position = GUIRectAxis();
        r.size = GUIRectAxis{1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    }
    assembleParts();
    setValue(value_);
}

GUISlider::GUISlider(GUISlider const& other)
    : GUIWindow(other),
      showButtons_(other.showButtons_),
      showLabel_(other.showLabel_),
      labelOnKnob_(other.labelOnKnob_),
      useLoadedLabelPos_(other.useLoadedLabelPos_),
      minimum_(other.minimum_),
      maximum_(other.maximum_),
      value_(other.value_),
      step_(other.step_),
      alternateMode_(other.alternateMode_),
      knobPosition_(other.knobPosition_),
      horizontal_(other.horizontal_),
      granularity_(other.granularity_) {
    if (other.leftButton_) connectButton(leftButton_ = other.leftButton_->clone());
    if (other.rightButton_) connectButton(rightButton_ = other.rightButton_->clone());
    if (other.label_) label_ = other.label_->clone();
    if (other.knob_) knob_ = other.knob_->clone();
    if (other.track_) track_ = other.track_->clone();
    // A clone is a working slider: its parts hang together as at construction.
    if (!knob_) knob_ = new GUIWindow(getName() + L"_INNEN");
    if (!track_) track_ = new GUIWindow(getName() + L"_AUSSEN");
    assembleParts();
    placeKnob();
}

GUISlider::~GUISlider() {
    valueChanged.disconnect_all();
    GUIWindow::removeAllChildren();
    for (GUIWindow* part : {knob_, track_, leftButton_, rightButton_, label_})
        if (part) part->removeAllChildren();
    releasePart(leftButton_);
    releasePart(rightButton_);
    releasePart(label_);
    releasePart(knob_);
    releasePart(track_);
}

GUILabel* GUISlider::getLabel() const { return dynamic_cast<GUILabel*>(label_); }

GUIWindow* GUISlider::clone() { return new GUISlider(*this); }

void GUISlider::readParams(XMLNode& params) {
    showButtons_ = params.getAttributeBool(L"SHOW_BUTTONS", showButtons_);
    alternateMode_ = params.getAttributeBool(L"ALTERNATE_MODE", alternateMode_);
    horizontal_ = params.getAttributeBool(L"HORIZONTAL", horizontal_);
    showLabel_ = params.getAttributeBool(L"SHOW_LABEL", showLabel_);
    labelOnKnob_ = params.getAttributeBool(L"SHOW_LABEL_ON_SLIDER_INNEN", labelOnKnob_);
    granularity_ = params.getAttributeFloat(L"GRANULARITAET", granularity_);
    useLoadedLabelPos_ = params.getAttributeBool(L"USE_LOADED_SLIDER_POS", false);
    if (XMLAttribute* range = params.getAttribute(L"VALUE_RANGE")) {
        float bounds[2] = {0.0f, 0.0f};
        int const n = readNumbers(range->getString(), bounds, 2);
        if (n >= 1) minimum_ = maximum_ = value_ = bounds[0];
        if (n >= 2) maximum_ = bounds[1];
    }
    value_ = params.getAttributeFloat(L"VALUE", value_);
    step_ = params.getAttributeFloat(L"VALUE_CHANGE", step_);
    if (XMLNode* e = params.getChild(L"BUTTON_LEFT")) {
        releasePart(leftButton_);
        leftButton_ = makePartButton(*e);
        leftButton_->getOptions().usableForLayoutManager = true;
        connectButton(leftButton_);
    }
    if (XMLNode* e = params.getChild(L"BUTTON_RIGHT")) {
        releasePart(rightButton_);
        rightButton_ = makePartButton(*e);
        rightButton_->getOptions().usableForLayoutManager = true;
        connectButton(rightButton_);
    }
    if (XMLNode* e = params.getChild(L"LABEL")) {
        releasePart(label_);
        label_ = makePartLabel(*e);
    }
    if (XMLNode* e = params.getChild(L"SLIDER_INNEN")) {
        releasePart(knob_);
        knob_ = new GUIWindow(*e);
    }
    if (XMLNode* e = params.getChild(L"SLIDER_AUSSEN")) {
        releasePart(track_);
        track_ = new GUIWindow(*e);
    }
}

void GUISlider::connectButton(GUIWindow* button) {
    if (button) button->leftClicked.connect(this, &GUISlider::onStepClicked);
}

void GUISlider::adopt(GUIWindow* parent, GUIWindow* part, bool append) {
    if (!parent || !part) return;
    if (parent == this)
        GUIWindow::addChild(part, false, append);
    else
        parent->addChild(part, false, append);
}

void GUISlider::placeLabel() {
    if (!label_ || !showLabel_) return;
    GUIWindowOptions& o = label_->getOptions();
    o.canBringParentToFront = true;
    o.activateParent = true;
    o.enabled = false;
    o.inputIgnore = GUIWindowOptions::kIgnoreSelf;
    adopt(labelOnKnob_ ? knob_ : track_, label_, true);
}

void GUISlider::assembleParts() {
    knob_->moved.connect(this, &GUISlider::onKnobMoved);
    track_->rectChanged.connect(this, &GUISlider::onTrackRectChanged);
    adopt(track_, knob_, true);
    placeLabel();
    knob_->getOptions().mouseMove = true;
    knob_->getOptions().canBringToFront = false;
    arrangeParts();
    adopt(this, track_, true);
    for (GUIWindow* part : {knob_, track_, leftButton_, rightButton_, label_})
        if (part) part->shareTooltipParams(*this);
}

void GUISlider::arrangeParts() {
    if (showButtons_) {
        adopt(this, leftButton_, true);
        adopt(this, rightButton_, true);
        if (!alternateMode_) {
            dock(leftButton_, horizontal_ ? L"LEFT" : L"TOP");
            dock(rightButton_, horizontal_ ? L"RIGHT" : L"BOTTOM");
        }
    }
    if (!alternateMode_) {
        dock(track_, L"FILL");
        track_->getOptions().canBringToFront = false;
        track_->getOptions().activateParent = true;
        return;
    }
    auto width = [](GUIWindow* b) { return b ? b->getRect().size : GUIRectAxis(); };
    GUIRectAxis const l = width(leftButton_);
    GUIRectAxis const r = width(rightButton_);
    GUIRect& t = track_->getRect();
    t.position.relX = l.relX;
    t.position.offX = l.offX;
    t.size.relX = 1.0f - (l.relX + r.relX);
    t.size.offX = -(l.offX + r.offX);
}

void GUISlider::setUserId(std::wstring const& id) {
    for (GUIWindow* part : {leftButton_, rightButton_, label_, track_, knob_})
        if (part) part->setUserId(id);
}

bool GUISlider::addChild(GUIWindow* /*child*/, bool const& /*noAddRef*/, bool const& /*append*/) { return false; }

void GUISlider::update(double const& dt) {
    GUIWindow::update(dt);
    orderParts();
}

void GUISlider::orderParts() {
    if (!showButtons_ || children.size() < 3 || !leftButton_ || !rightButton_) return;
    GUIWindow* const order[3] = {leftButton_, rightButton_, track_};
    if (std::equal(order, order + 3, children.begin())) return;
    // The slider's layout docks the buttons before the track fills what is left.
    for (GUIWindow* part : order)
        if (std::find(children.begin(), children.end(), part) == children.end()) return;
    for (GUIWindow* part : order) children.erase(std::find(children.begin(), children.end(), part));
    children.insert(children.begin(), order, order + 3);
    noteTreeChange();
    updateRect(false, false);
}

void GUISlider::copyFromTemplate(GUIWindow* source, int const& mask) {
    GUIWindow::copyFromTemplate(source, mask);
    auto* other = dynamic_cast<GUISlider*>(source);
    if (!other || other == this) return;
    int const parts = other->getTemplateMask() & mask;
    // Parts the template has and this slider lacks are cloned from it, working as if read.
    bool cloned = false;
    auto cloneButton = [&](GUIWindow*& mine, GUIWindow* theirs) {
        if (mine || !theirs) return;
        mine = theirs->clone();
        mine->getOptions().usableForLayoutManager = true;
        connectButton(mine);
        cloned = true;
    };
    cloneButton(leftButton_, other->leftButton_);
    cloneButton(rightButton_, other->rightButton_);
    if (!label_ && other->label_) {
        label_ = other->label_->clone();
        cloned = true;
    }
    auto copyPart = [&](GUIWindow* mine, GUIWindow* theirs) {
        if (mine && theirs) mine->copyFromTemplate(theirs, parts);
    };
    copyPart(leftButton_, other->leftButton_);
    copyPart(rightButton_, other->rightButton_);
    copyPart(label_, other->label_);
    copyPart(track_, other->track_);
    copyPart(knob_, other->knob_);
    knobPosition_ = other->knobPosition_;
    if (parts & kCopyTextIds) {
        minimum_ = other->minimum_;
        maximum_ = other->maximum_;
        value_ = other->value_;
        step_ = other->step_;
        granularity_ = other->granularity_;
    }
    if (parts & kCopyOptions) {
        horizontal_ = other->horizontal_;
        showLabel_ = other->showLabel_;
        labelOnKnob_ = other->labelOnKnob_;
        showButtons_ = other->showButtons_;
        alternateMode_ = other->alternateMode_;
    }
    if ((parts & kCopyOptions) || cloned) {
        arrangeParts();
        placeLabel();
        orderParts();
    }
}

}  // namespace Orvex
