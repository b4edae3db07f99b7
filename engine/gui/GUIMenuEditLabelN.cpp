// "EDIT_LABEL": reading its keys, binding its labels, typing a key into each, and the caret.
#include "engine/gui/GUIMenuEditLabelN.h"

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/TastaturLayout.h"

namespace Orvex {

namespace {

TastaturLayout const* activeLayout() { return TastaturLayoutManager::getInstance().getActiveLayout(); }

wchar_t firstChar(XMLNode& node, wchar_t const* key, wchar_t fallback) {
    XMLAttribute const* attribute = node.getAttribute(key);
    if (!attribute) return fallback;
    std::wstring const& text = attribute->getString();
    return text.empty() ? fallback : text[0];
}

}  // namespace

GUIMenuEditLabelN::~GUIMenuEditLabelN() { releaseRecords(); }

void GUIMenuEditLabelN::readXML(XMLNode& node) {
    GUIMenuLinkN::readXML(node);
    appendChildValues(node, L"LABELS", labelNames_);
    maxLength_ = node.getAttributeInt(L"MAX_LENGTH", maxLength_);
    firstClear_ = node.getAttributeBool(L"FIRST_CLEAR", firstClear_);
    clearNext_ = firstClear_;
    resetClear_ = node.getAttributeBool(L"RESET_CLEAR", resetClear_);
    showCursor_ = node.getAttributeBool(L"SHOW_CURSOR", showCursor_);
    manipulateCursor_ = node.getAttributeBool(L"MANIPULATE_CURSOR", manipulateCursor_) && showCursor_;
    showCursorIfNotCleared_ = node.getAttributeBool(L"SHOW_CURSOR_IF_NOT_CLEARED", showCursorIfNotCleared_);
    blinkFrequency_ = node.getAttributeDouble(L"CURSOR_BLINK_FREQ", blinkFrequency_);
    blink_ = blinkFrequency_;
    ignoreAttChars_ = node.getAttributeBool(L"IGNORE_ATT_CHARS", ignoreAttChars_);
    ignorePropChars_ = node.getAttributeBool(L"IGNORE_PROP_CHARS", ignorePropChars_);
    cursorOn_ = firstChar(node, L"CURSOR_ON", cursorOn_);
    cursorOff_ = firstChar(node, L"CURSOR_OFF", cursorOff_);
    if (XMLAttribute* types = node.getAttribute(L"USES_KEYTYPES")) {
        keyTypes_ = 0;
        XMLValueTokens const words = static_cast<XMLProperty const&>(*types).split(L" ");
        for (u32 i = 0; i < words.getCount(); ++i)
            if (XMLProperty const* word = words.get(i)) keyTypes_ |= TastaturLayout::parseKeyType(word->getString());
    }
}

void GUIMenuEditLabelN::collectWindowNames(std::vector<std::wstring>& out) const {
    GUIMenuLinkN::collectWindowNames(out);
    out.insert(out.end(), labelNames_.begin(), labelNames_.end());
}

void GUIMenuEditLabelN::releaseRecords() {
    for (Record& record : records_) {
        record.label->changed.disconnect(this);
        record.label->release();
    }
    records_.clear();
}

void GUIMenuEditLabelN::bind() {
    releaseRecords();
    for (std::wstring const& name : labelNames_) {
        GUILabel* label = findShownLabel(name);
        if (!label) continue;
        label->addRef();
        label->changed.connect(this, &GUIMenuEditLabelN::onLabelChanged);
        records_.push_back(Record{label, false, -1});
    }
}

bool GUIMenuEditLabelN::acceptsType(u32 type) const { return (type & keyTypes_) != 0 || type == KT_STEUER; }

bool GUIMenuEditLabelN::onKey(KeyState& state, u8 const& code) {
    if (!canTrigger()) return false;
    TastaturLayout const* layout = activeLayout();
    if (!layout || !acceptsType(layout->getKeyType(code, state))) return false;
    lastCode_ = code;
    lastState_ = state;
    return true;
}

bool GUIMenuEditLabelN::execute() {
    TastaturLayout const* layout = activeLayout();
    busy_ = true;
    bool const accepted = layout && acceptsType(layout->getKeyType(lastCode_, lastState_));
    // By index: a slot of a label's change signal may bind again and rebuild the records.
    for (std::size_t i = 0; i < records_.size(); ++i) {
        Record const record = records_[i];
        HeldRef<GUILabel> hold(record.label);
        std::wstring text = clearNext_ ? std::wstring() : record.label->getText();
        int caret = record.caret;
        if (accepted) {
            TextEditState edit(text, record.phase ? cursorOn_ : cursorOff_, caret, maxLength_, manipulateCursor_);
            if (layout->editText(edit, lastCode_, lastState_, ignoreAttChars_, ignorePropChars_)) {
                text = edit.getWholeText();
                caret = edit.getCaretPosition();
            }
        }
        records_[i].caret = caret;
        record.label->setText(text);
        record.label->setCaretPosition(caret);
    }
    busy_ = false;
    clearNext_ = false;
    return breaksAfterAction();
}

void GUIMenuEditLabelN::showCaret(Record& record) {
    // Shown also without SHOW_CURSOR, which only makes it blink; a prompt waiting to be
    // cleared hides it unless SHOW_CURSOR_IF_NOT_CLEARED.
    record.label->setCaretVisible(!clearNext_ || showCursorIfNotCleared_);
    record.label->setCaretChar(record.phase ? cursorOn_ : cursorOff_);
    record.label->setCaretPosition(record.caret);
}

void GUIMenuEditLabelN::onLabelChanged(GUILabel& label) {
    if (busy_) return;
    for (Record& record : records_) {
        if (record.label != &label) continue;
        if (label.isTextIdMode() && resetClear_) clearNext_ = firstClear_;
        record.caret = static_cast<int>(label.getText().size());
        showCaret(record);
    }
}

void GUIMenuEditLabelN::update(double const& dt) {
    GUIMenuLinkN::update(dt);
    if (!showCursor_ || !canTrigger()) return;
    blink_ -= dt;
    if (blink_ > 0.0) return;
    blink_ = kBlinkSeconds;
    for (Record& record : records_) {
        record.phase = !record.phase;
        showCaret(record);
    }
}

void GUIMenuEditLabelN::onMenuActivated() {
    if (resetClear_) clearNext_ = firstClear_;
}

}  // namespace Orvex
