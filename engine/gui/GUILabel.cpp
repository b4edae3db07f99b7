// The label's construction, its parameter block, texts, font and styles, and what a template
// label hands on.
#include "engine/gui/GUILabel.h"

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLProperty.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/Font.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/LanguageManager.h"

namespace Orvex {

namespace {

struct FlagWord {
    wchar_t const* word;
    u32 bit;
};

constexpr FlagWord kFlagWords[] = {
    {L"LEFT", GUILabel::kFlagLeft},       {L"RIGHT", GUILabel::kFlagRight},
    {L"CENTER", GUILabel::kFlagCenter},   {L"VCENTER", GUILabel::kFlagVCenter},
    {L"TOP", 0},                          {L"BOTTOM", GUILabel::kFlagBottom},
    {L"WORDBREAK", GUILabel::kFlagWordBreak}, {L"NOCLIP", GUILabel::kFlagNoClip},
};

u32 flagOf(std::wstring const& word) {
    for (FlagWord const& f : kFlagWords)
        if (word == f.word) return f.bit;
    return 0;
}

}  // namespace

std::wstring languageText(std::wstring const& id) {
    LanguageManager* language = GUITooltipParam::getLanguageSource();
    return language ? language->getText(id) : std::wstring();
}

GUILabel::GUILabel(XMLNode& node) : GUIWindow(node) {
    setDefaults();
    applyTemplateByName(templatePre);
    if (XMLNode* block = node.getChild(L"LABEL_PARAMS")) readLabelParams(*block);
}

GUILabel::GUILabel(std::wstring const& name) : GUIWindow(name) { setDefaults(); }

GUILabel::GUILabel(GUILabel const& other)
    : GUIWindow(other),
      fontName_(other.fontName_),
      flags_(other.flags_),
      font_(other.font_),
      textIdMode_(other.textIdMode_),
      text_(other.text_),
      textId_(other.textId_),
      caretVisible_(other.caretVisible_),
      caretPosition_(other.caretPosition_),
      caretChar_(other.caretChar_) {
    for (unsigned i = 0; i < kStyleCount; ++i) {
        styleNames_[i] = other.styleNames_[i];
        styles_[i] = other.styles_[i];
        styleFound_[i] = other.styleFound_[i];
    }
    if (font_) {
        font_->addRef();
        font_->changed.connect(this, &GUILabel::onFontChanged);
    }
}

GUILabel::~GUILabel() {
    changed.disconnect_all();
    if (font_) {
        font_->changed.disconnect(this);
        font_->release();
    }
    font_ = nullptr;
}

void GUILabel::setDefaults() {
    options.activateParent = true;
}

GUIWindow* GUILabel::clone() { return new GUILabel(*this); }

void GUILabel::readLabelParams(XMLNode& block) {
    if (XMLAttribute* a = block.getAttribute(L"FONT_STYLENAME"))
        for (std::wstring& name : styleNames_) name = a->getString();
    if (XMLAttribute* a = block.getAttribute(L"FONT_STYLENAME_MARK")) styleNames_[kMark] = a->getString();
    if (XMLAttribute* a = block.getAttribute(L"FONT_STYLENAME_DISABLED")) styleNames_[kDisabled] = a->getString();
    if (XMLAttribute* a = block.getAttribute(L"INPUT_IGNORE")) options.inputIgnore = a->getBool() ? 1 : 0;
    if (XMLAttribute* a = block.getAttribute(L"ACTIVATE_PARENT")) options.activateParent = a->getBool();
    if (XMLAttribute* a = block.getAttribute(L"FONT_NAME")) fontName_ = a->getString();
    if (XMLAttribute* a = block.getAttribute(L"TEXT")) {
        text_ = a->getString();
        textIdMode_ = false;
    }
    if (XMLAttribute* a = block.getAttribute(L"TEXT_ID")) {
        textId_ = a->getString();
        textIdMode_ = true;
    }
    if (XMLAttribute* a = block.getAttribute(L"FLAGS")) {
        flags_ = 0;
        XMLValueTokens words = a->split(L" ");
        for (u32 i = 0; i < words.getCount(); ++i)
            if (XMLProperty const* w = words.get(i)) flags_ |= flagOf(w->getString());
    }
    if (XMLNode* list = block.getChild(L"FLAGS")) {
        flags_ = 0;
        for (u32 i = 0; i < list->getValueCount(); ++i)
            if (XMLProperty const* w = list->getValue(i)) flags_ |= flagOf(w->getString());
    }
    if (XMLNode* drawerNode = block.getChild(L"DRAWER"))
        if (GUIWindowDrawer* made = createWindowDrawer(*drawerNode)) setDrawer(made);
    resolveStyles(true);
    setFont(fontName_);
}

void GUILabel::setText(std::wstring const& text) {
    textIdMode_ = false;
    text_ = text;
    changed.emit(*this);
}

void GUILabel::setTextId(std::wstring const& id) {
    textIdMode_ = true;
    textId_ = id;
    changed.emit(*this);
}

std::wstring GUILabel::getText() const { return textIdMode_ ? languageText(textId_) : text_; }

void GUILabel::setFont(std::wstring const& name) {
    if (font_) {
        font_->changed.disconnect(this);
        font_->release();
        font_ = nullptr;
    }
    fontName_ = name;
    font_ = D3DXFontInterface::instance().findFont(name);
    if (!font_) return;
    font_->addRef();
    font_->changed.connect(this, &GUILabel::onFontChanged);
}

void GUILabel::setFontStyle(std::wstring const& name, unsigned index) {
    if (index >= kStyleCount) return;
    styleNames_[index] = name;
    FontStyle const* found = D3DXFontInterface::instance().findFontStyle(name);
    styleFound_[index] = found != nullptr;
    if (found) styles_[index] = *found;
}

void GUILabel::resolveStyles(bool all) {
    D3DXFontInterface& fonts = D3DXFontInterface::instance();
    for (unsigned i = 0; i < kStyleCount; ++i) {
        if (styleFound_[i] && !all) continue;
        FontStyle const* found = fonts.findFontStyle(styleNames_[i]);
        styleFound_[i] = found != nullptr;
        if (found) styles_[i] = *found;
    }
}

void GUILabel::copyFromTemplate(GUIWindow* source, int const& mask) {
    GUIWindow::copyFromTemplate(source, mask);
    auto* from = dynamic_cast<GUILabel*>(source);
    if (!from || from == this) return;
    int const parts = from->getTemplateMask() & mask;
    if (parts & kCopyTextIds) {
        textId_ = from->textId_;
        text_ = from->text_;
        textIdMode_ = from->textIdMode_;
    }
    if (parts & kCopyFontStyles) {
        for (unsigned i = 0; i < kStyleCount; ++i) styleNames_[i] = from->styleNames_[i];
        resolveStyles(true);
        setFont(from->fontName_);
    }
    if (parts & kCopyOptions) flags_ = from->flags_;
}

}  // namespace Orvex
