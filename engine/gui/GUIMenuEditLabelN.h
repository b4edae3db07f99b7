// "EDIT_LABEL": types the keys of the active layout into labels ("LABELS": label windows, or
// buttons whose caption is edited), with a caret (shown once a label changes, blinking with
// "SHOW_CURSOR"), a maximum length, and a prompt that the first key clears.
#pragma once

#include "engine/gui/GUIMenuLinkN.h"

namespace Orvex {

class GUILabel;

class GUIMenuEditLabelN : public GUIMenuLinkN {
public:
    // Every blink phase after the first lasts this long.
    static constexpr double kBlinkSeconds = 0.25;
    // LETTER, NUMBER, SATZ, SONDER and BACKSPACE.
    static constexpr u32 kDefaultKeyTypes = 79;

    explicit GUIMenuEditLabelN(XMLNode& node) : GUIMenuLinkN(node) {}
    ~GUIMenuEditLabelN() override;

    void readXML(XMLNode& node) override;
    bool onKey(KeyState& state, u8 const& code) override;
    void onMenuActivated() override;
    void update(double const& dt) override;
    void bind() override;
    void collectWindowNames(std::vector<std::wstring>& out) const override;

protected:
    bool execute() override;

private:
    struct Record {
        GUILabel* label = nullptr;
        bool phase = false;  // true: the caret's visible phase
        int caret = -1;      // -1: after the text
    };

    void releaseRecords();
    void onLabelChanged(GUILabel& label);
    // Caret visibility, character and position of the record's label.
    void showCaret(Record& record);
    bool acceptsType(u32 type) const;

    std::vector<std::wstring> labelNames_;
    int maxLength_ = -1;
    bool firstClear_ = false;
    bool resetClear_ = false;
    bool showCursor_ = false;
    bool manipulateCursor_ = true;
    bool showCursorIfNotCleared_ = false;
    double blinkFrequency_ = 0.25;
    bool ignoreAttChars_ = false;
    bool ignorePropChars_ = false;
    wchar_t cursorOn_ = L'_';
    wchar_t cursorOff_ = L' ';
    u32 keyTypes_ = kDefaultKeyTypes;

    std::vector<Record> records_;
    KeyState lastState_;
    u8 lastCode_ = 0;
    bool clearNext_ = false;
    bool busy_ = false;
    double blink_ = 0.25;
};

}  // namespace Orvex
