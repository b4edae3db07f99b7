// Drawing a label: the window's own look, then the text in the blended style and the window's
// colour, then the caret; and measuring the text as the tooltip sizes itself by it.
#include <cmath>

#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/Font.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindowDrawer.h"

namespace Orvex {

namespace {

// A screen edge as the font takes it: truncated toward zero, unusable values 0.
LONG edge(float v) {
    if (!(std::fabs(v) < 1.0e9f)) return 0;
    return static_cast<LONG>(v);
}

RECT toRect(FRect const& r) { return RECT{edge(r.left), edge(r.top), edge(r.right), edge(r.bottom)}; }

D3DXCOLOR scaled(D3DXCOLOR const& a, D3DXCOLOR const& b) { return D3DXCOLOR(a.r * b.r, a.g * b.g, a.b * b.b, a.a * b.a); }

}  // namespace

FontStyle GUILabel::currentStyle() {
    if (!isEnabled()) return styles_[kDisabled];
    GUIWindow const* from = options.activateParent && parent ? parent : this;
    float const t = static_cast<float>(from->getBlendState().activationBlend);
    return FontStyle::blend(styles_[kNormal], styles_[kMark], t);
}

void GUILabel::drawSelf() {
    D3DXFontInterface::setCurrentSprite(guiSprite());
    GUIWindow::drawSelf();
    float const alpha = static_cast<float>(getAccumulatedAlpha());
    std::wstring text = getText();
    if (caretVisible_ && static_cast<unsigned>(caretPosition_) < text.size())
        text.insert(text.begin() + caretPosition_, caretChar_);
    resolveStyles(false);
    if (!font_) setFont(fontName_);
    if (!font_) return;

    FontStyle style = currentStyle();
    D3DXCOLOR factor(1.0f, 1.0f, 1.0f, alpha);
    if (drawer) {
        factor = drawer->getColor();
        factor.a *= alpha;
    }
    style.colorVG = scaled(style.colorVG, factor);
    style.colorHG = scaled(style.colorHG, factor);

    D3DXFontInterface& fonts = D3DXFontInterface::instance();
    RECT box = toRect(screenRect);
    RECT const whole = box;
    if (!text.empty()) fonts.drawTextWithFont(font_, text, box, flags_, style);
    if (!caretVisible_ || static_cast<unsigned>(caretPosition_) < text.size()) return;

    std::wstring const caret(1, caretChar_);
    if (text.empty()) {
        RECT at = whole;
        fonts.drawTextWithFont(font_, caret, at, flags_, style);
        return;
    }
    RECT textBox = whole;
    fonts.drawTextWithFont(font_, text, textBox, flags_ | kFlagCalcRect, style);
    RECT caretBox = whole;
    fonts.drawTextWithFont(font_, caret, caretBox, flags_ | kFlagCalcRect, style);
    LONG const w = caretBox.right - caretBox.left;
    LONG const h = caretBox.bottom - caretBox.top;
    RECT at{textBox.right, textBox.bottom - h, textBox.right + w, textBox.bottom};
    fonts.drawTextWithFont(font_, caret, at, flags_ | kFlagNoClip, style);
}

RECT GUILabel::measureText() {
    RECT box = toRect(screenRect);
    std::wstring const text = getText();
    resolveStyles(false);
    FontStyle const style = currentStyle();
    if (!font_) setFont(fontName_);
    if (font_) D3DXFontInterface::instance().drawTextWithFont(font_, text, box, flags_ | kFlagCalcRect | kFlagNoClip, style);
    return box;
}

}  // namespace Orvex
