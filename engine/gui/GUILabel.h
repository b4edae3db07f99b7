// The GUI window that draws a line or block of text: a literal text, or a text id looked up in
// the current language at every draw. It holds a font by name and three named font styles
// (normal, mark, disabled) and blends normal into mark with the hover blend of itself or, with
// "ACTIVATE_PARENT", of its parent, so a button's caption lights up with the button. It can
// show an edit caret. The same "LABEL_PARAMS" block configures a free label and the inner label
// of every widget that has one (readLabelParams).
//
// Texts are data: they are drawn as they stand, never used as formats.
//
// Split: GUILabel.cpp (construction, parameters, texts, fonts, templates), GUILabel_draw.cpp
// (drawing, the caret and measuring).
#pragma once

#include <string>

#include "engine/gui/FontStyle.h"
#include "engine/gui/GUIWindow.h"
#include "port/win32/windows_types.h"

namespace Orvex {

class Font;

class GUILabel : public GUIWindow {
public:
    // Text format bits (the device font's DT_ values).
    static constexpr u32 kFlagLeft = 0;
    static constexpr u32 kFlagCenter = 1;
    static constexpr u32 kFlagRight = 2;
    static constexpr u32 kFlagVCenter = 4;
    static constexpr u32 kFlagBottom = 8;
    static constexpr u32 kFlagWordBreak = 16;
    static constexpr u32 kFlagNoClip = 256;
    static constexpr u32 kFlagCalcRect = 1024;
    // CENTER + VCENTER + WORDBREAK.
    static constexpr u32 kDefaultFlags = 21;
    static constexpr unsigned kStyleCount = 3;
    enum StyleIndex : unsigned { kNormal = 0, kMark = 1, kDisabled = 2 };

    // Emitted by setText and setTextId (also when nothing changed).
    sigslot::signal1<GUILabel&> changed;

    // The window part, the defaults, the template again (now reaching the label's own copy),
    // then "LABEL_PARAMS".
    explicit GUILabel(XMLNode& node);
    // A plain label (the inner label of the widgets): defaults, no template, no parameters.
    explicit GUILabel(std::wstring const& name);
    // Shares the font (one more reference).
    GUILabel(GUILabel const& other);
    ~GUILabel() override;

    GUIWindow* clone() override;
    void drawSelf() override;
    void copyFromTemplate(GUIWindow* source, int const& mask) override;

    // A "LABEL_PARAMS" block: style and font names, options, texts, "FLAGS", "DRAWER".
    void readLabelParams(XMLNode& block);

    void setText(std::wstring const& text);
    void setTextId(std::wstring const& id);
    // The shown text: by id in the current language (empty when missing), else the literal one.
    std::wstring getText() const;
    bool isTextIdMode() const { return textIdMode_; }
    std::wstring getTextId() const { return textId_; }

    void setFont(std::wstring const& name);
    Font* getFont() const { return font_; }
    std::wstring const& getFontName() const { return fontName_; }
    // index 0 normal, 1 mark, 2 disabled; other indices change nothing.
    void setFontStyle(std::wstring const& name, unsigned index);
    std::wstring const& getStyleName(unsigned index) const { return styleNames_[index % kStyleCount]; }
    FontStyle const& getStyle(unsigned index) const { return styles_[index % kStyleCount]; }
    u32 getFlags() const { return flags_; }
    void setFlags(u32 flags) { flags_ = flags; }

    void setCaretVisible(bool const& on) { caretVisible_ = on; }
    bool isCaretVisible() const { return caretVisible_; }
    void setCaretPosition(int const& position) { caretPosition_ = position; }
    void setCaretChar(wchar_t const& c) { caretChar_ = c; }

    // The style drawn now: normal blended into mark by the hover blend, or the disabled style.
    FontStyle currentStyle();
    // The rectangle the text occupies (from the screen rectangle; unchanged without a font).
    RECT measureText();

private:
    void setDefaults();
    // Looks up the styles not yet found; found ones are copied in.
    void resolveStyles(bool all);
    void onFontChanged(Font&) {}

    std::wstring fontName_ = L"default";
    std::wstring styleNames_[kStyleCount] = {L"default", L"default", L"default"};
    u32 flags_ = kDefaultFlags;
    Font* font_ = nullptr;
    FontStyle styles_[kStyleCount];
    bool styleFound_[kStyleCount] = {false, false, false};
    bool textIdMode_ = false;
    std::wstring text_;
    std::wstring textId_;
    bool caretVisible_ = false;
    int caretPosition_ = -1;
    wchar_t caretChar_ = 0;
};

// The language text of an id (empty when the id or a language source is missing).
std::wstring languageText(std::wstring const& id);

}  // namespace Orvex
