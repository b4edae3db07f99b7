// Tooltip records: reading, copying, the text with its hook, and the comparison the tooltip
// widget uses.
#include "engine/gui/GUITooltipParam.h"

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"

namespace Orvex {

namespace {

LanguageManager* gLanguage = nullptr;

}  // namespace

void GUITooltipParam::setLanguageSource(LanguageManager* language) { gLanguage = language; }
LanguageManager* GUITooltipParam::getLanguageSource() { return gLanguage; }

GUITooltipParam::GUITooltipParam() = default;

GUITooltipParam::GUITooltipParam(XMLNode& node) : NamedObject(node) {
    if (XMLAttribute const* a = node.getAttribute(L"TEXT_ID")) {
        textId_ = a->getString();
        useTextId_ = true;
    }
    if (XMLAttribute const* a = node.getAttribute(L"TEXT")) {
        text_ = a->getString();
        useTextId_ = false;
    }
    if (XMLAttribute const* a = node.getAttribute(L"TOOLTIP_ID")) tooltipId_ = a->getInt();
    if (XMLAttribute const* a = node.getAttribute(L"ENABLED")) enabled_ = a->getBool();
    if (XMLAttribute const* a = node.getAttribute(L"TIMER")) timer_ = a->getDouble();
}

GUITooltipParam::GUITooltipParam(GUITooltipParam const& other)
    : NamedObject(other),
      tooltipId_(other.tooltipId_),
      textId_(other.textId_),
      text_(other.text_),
      timer_(other.timer_),
      useTextId_(other.useTextId_),
      enabled_(other.enabled_) {
    setWindow(other.window_);
}

void GUITooltipParam::setWindow(GUIWindow* window) {
    if (windowObject_) windowObject_->signalDestroyed.disconnect(this);
    window_ = window;
    windowObject_ = window;
    if (windowObject_) windowObject_->signalDestroyed.connect(this, &GUITooltipParam::onWindowDestroyed);
}

void GUITooltipParam::onWindowDestroyed(NamedObject* object) {
    if (object != windowObject_) return;
    window_ = nullptr;
    windowObject_ = nullptr;
}

std::wstring& GUITooltipParam::getText(std::wstring& out) {
    if (useTextId_) out = gLanguage ? gLanguage->getText(textId_) : std::wstring();
    else out = text_;
    if (window_) textHook(*window_, *this, out);
    return out;
}

void GUITooltipParam::setText(std::wstring const& text) {
    text_ = text;
    useTextId_ = false;
}

bool GUITooltipParam::operator==(GUITooltipParam const& other) const {
    return textId_ == other.textId_ && tooltipId_ == other.tooltipId_ && !useTextId_ && !other.useTextId_;
}

}  // namespace Orvex
