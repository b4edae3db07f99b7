// The progress bar's construction, copy, value operations and templates.
#include "engine/gui/GUIProgressBar.h"

#include <algorithm>
#include <cmath>

#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWidgetParts.h"
#include "engine/gui/GUIWindowOptions.h"
#include "engine/gui/GUIWindowRef.h"

namespace Orvex {

GUIProgressBar::GUIProgressBar(XMLNode& node) : GUIWindow(node) {
    label_ = makePartLabel(getName() + L"_LABEL");
    part_ = new GUIWindow(getName() + L"_PROGRESS");
    label_->shareTooltipParams(*this);
    part_->shareTooltipParams(*this);
    for (GUIWindow* inner : {label_, part_}) {
        inner->getDrawOptions() = drawOptions;
        inner->getDrawOptions().textures.releaseAll();
        inner->getOptions().usableForLayoutManager = false;
    }
    GUIRect& r = label_->getRect();
    r.position = GUIRectAxis();
    r.size = GUIRectAxis{1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    options.drawInClientOnly = true;
    options.drawSubwindows = false;
    useModulateColor_ = false;
    // The parts and options are set up before the template comes again, so the template's
    // (the progress part's look, the caption, its window options) are what stays; the bar's own
    // parameters come last.
    applyTemplateByName(templatePre);
    if (XMLNode* params = node.getChild(L"PROGRESSBAR_PARAMS")) readParams(*params);
    full_ = value_ >= maximum_;
    adoptParts();
    updateBar();
}

GUIProgressBar::GUIProgressBar(GUIProgressBar const& other)
    : GUIWindow(other),
      maximum_(other.maximum_),
      value_(other.value_),
      cutTexture_(other.cutTexture_),
      fillType_(other.fillType_),
      part_(other.part_->clone()),
      label_(other.label_->clone()),
      granularity_(other.granularity_),
      useModulateColor_(other.useModulateColor_) {
    adoptParts();
    updateBar();
    full_ = value_ >= maximum_;
}

GUIProgressBar::~GUIProgressBar() {
    ratioChanged.disconnect_all();
    finished.disconnect_all();
}

GUILabel* GUIProgressBar::getLabel() const { return dynamic_cast<GUILabel*>(label_); }

GUIWindow* GUIProgressBar::clone() { return new GUIProgressBar(*this); }

void GUIProgressBar::readParams(XMLNode& params) {
    float const max = params.getAttributeFloat(L"MAX_WERT", maximum_);
    if (max > 0.0f && std::isfinite(max)) {
        maximum_ = max;
    } else {
        logWarning(GUISystem::loadingPlace(params.getLine()) + L": progress bar \"" + getName() +
                   L"\" has MAX_WERT \"" + params.getAttributeString(L"MAX_WERT", L"") + L"\"; using 1");
        maximum_ = 1.0f;
    }
    value_ = params.getAttributeFloat(L"AKT_WERT", value_);
    if (!std::isfinite(value_)) value_ = 0.0f;
    cutTexture_ = params.getAttributeBool(L"CUT_TEXTURE", cutTexture_);
    onlyOneFinish_ = params.getAttributeBool(L"ONLY_1_FINISH_MSG", onlyOneFinish_);
    options.drawInClientOnly = params.getAttributeBool(L"DRAW_IN_CLIENT_ONLY", true);
    granularity_ = params.getAttributeFloat(L"GRANULARITAET", granularity_);
    useModulateColor_ = params.getAttributeBool(L"USE_MODULATE_COLOR", useModulateColor_);
    fillType_ = fillTypeOf(params.getAttributeString(L"TYP", L""), fillType_);
    if (XMLNode* textures = params.getChild(L"TEXTURES_2D_PROGRESS")) part_->getDrawOptions().textures.load(*textures);
    if (XMLNode* labelParams = params.getChild(L"LABEL_PARAMS")) readPartLabelParams(label_, *labelParams);
}

s32 GUIProgressBar::fillTypeOf(std::wstring const& word, s32 fallback) {
    struct Name {
        wchar_t const* word;
        s32 type;
    };
    static constexpr Name kNames[] = {{L"LEFT_RIGHT", kLeftRight}, {L"RIGHT_LEFT", kRightLeft},
                                      {L"TOP_BOTTOM", kTopBottom}, {L"BOTTOM_TOP", kBottomTop},
                                      {L"MODULATE", kModulate},    {L"ANIMATION", kAnimation}};
    for (Name const& n : kNames)
        if (word == n.word) return n.type;
    return fallback;
}

void GUIProgressBar::adoptParts() {
    for (GUIWindow* inner : {label_, part_}) {
        GUIWindowOptions& o = inner->getOptions();
        o.activateParent = true;
        o.inputIgnore = GUIWindowOptions::kIgnoreSelf;
        o.moveParent = true;
        inner->initDefaultState();
    }
    GUIWindow::addChild(label_, true, true);
    GUIWindow::addChild(part_, true, false);
    GUIWindow::setUserId(userId);
    part_->setUserId(userId);
    label_->setUserId(userId);
}

void GUIProgressBar::setUserId(std::wstring const& id) {
    GUIWindow::setUserId(id);
    if (part_) part_->setUserId(id);
    if (label_) label_->setUserId(id);
}

bool GUIProgressBar::addChild(GUIWindow*, bool const&, bool const&) { return false; }

bool GUIProgressBar::removeChild(GUIWindow*) { return false; }

void GUIProgressBar::removeAllChildren() { removeChildrenExcept(*this, {part_, label_}); }

bool GUIProgressBar::shouldDrawChild(unsigned, GUIWindow* child) { return !(child == part_ && cutTexture_); }

// ---- values ----

float GUIProgressBar::ratioOf(float value, float maximum, float granularity) {
    if (!(maximum > 0.0f)) return 0.0f;
    float r = value / maximum;
    if (granularity > 0.0f) r = granularity * std::floor(r / granularity + 0.5f);
    return std::isfinite(r) ? r : 0.0f;
}

float GUIProgressBar::getRatio() const { return ratioOf(value_, maximum_, granularity_); }

void GUIProgressBar::setValue(float value) {
    value_ = value;
    valueTail();
}

void GUIProgressBar::addValue(float delta) {
    value_ += delta;
    valueTail();
}

void GUIProgressBar::setRatio(float ratio) {
    value_ = maximum_ * ratio;
    valueTail();
}

void GUIProgressBar::setMax(float maximum) {
    maximum_ = maximum;
    updateBar();
}

void GUIProgressBar::valueTail() {
    HeldRef<GUIWindow> hold(this);
    if (!std::isfinite(value_)) value_ = 0.0f;
    float const r = getRatio();
    ratioChanged.emit(*this, r);
    if (value_ >= maximum_ && !(onlyOneFinish_ && full_)) finished.emit(*this);
    value_ = std::min(value_, maximum_);
    if (!(value_ > 0.0f)) value_ = 0.0f;
    full_ = value_ >= maximum_;
    updateBar();
}

void GUIProgressBar::copyFromTemplate(GUIWindow* source, int const& mask) {
    GUIWindow::copyFromTemplate(source, mask);
    auto* other = dynamic_cast<GUIProgressBar*>(source);
    if (!other || other == this) return;
    int const parts = other->getTemplateMask() & mask;
    if (parts & kCopyOptions) {
        maximum_ = other->maximum_;
        value_ = other->value_;
        cutTexture_ = other->cutTexture_;
        granularity_ = other->granularity_;
        fillType_ = other->fillType_;
        onlyOneFinish_ = other->onlyOneFinish_;
    }
    if (part_ && other->part_) part_->copyFromTemplate(other->part_, parts);
    if (label_ && other->label_) label_->copyFromTemplate(other->label_, parts);
}

}  // namespace Orvex
