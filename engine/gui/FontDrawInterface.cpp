// The font renderer base: the font map and the operations both renderers share.
#include "engine/gui/FontDrawInterface.h"

#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/Font.h"
#include "engine/gui/FontText.h"
#include "engine/platform/D3DInterface.h"

namespace Orvex {

FontDrawInterface::FontDrawInterface() {
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceLost.connect(this, &FontDrawInterface::onLostDevice);
    d3d.signalDeviceReset.connect(this, &FontDrawInterface::onResetDevice);
}

FontDrawInterface::~FontDrawInterface() { clearFonts(); }

void FontDrawInterface::clearFonts() {
    auto const held = std::move(fonts);
    fonts.clear();
    for (auto const& [name, font] : held)
        if (font) font->release();
}

void FontDrawInterface::prepareFonts() {
    for (auto const& [name, font] : fonts)
        if (font) font->create();
    ready = true;
}

void FontDrawInterface::drawFontText(FontText& text) {
    drawStyledText(text.font, text.text, text.rect, text.format, text.style);
}

void FontDrawInterface::drawTextByStyleName(std::wstring const& fontName, std::wstring const& text, RECT& rect,
                                            u32 format, std::wstring const& styleName) {
    if (FontStyle const* style = D3DXFontInterface::instance().findFontStyle(styleName))
        drawStyledTextByName(fontName, text, rect, format, *style);
}

void FontDrawInterface::preloadText(std::wstring const& fontName, std::wstring const& text) {
    if (Font* font = findFont(fontName)) font->preloadText(text);
}

bool FontDrawInterface::hasFont(std::wstring const& fontName) const { return findFont(fontName) != nullptr; }

Font* FontDrawInterface::findFont(std::wstring const& name) const {
    auto const it = fonts.find(name);
    return it == fonts.end() ? nullptr : it->second;
}

bool FontDrawInterface::addFont(Font* font) {
    if (!font || !isOwnFont(font) || fonts.count(font->getName())) return false;
    fonts.emplace(font->getName(), font);
    font->addRef();
    if (ready) font->create();
    return true;
}

bool FontDrawInterface::removeFont(Font* font) {
    if (!font) return false;
    auto const it = fonts.find(font->getName());
    if (it == fonts.end()) return false;
    Font* held = it->second;
    fonts.erase(it);
    if (held) held->release();
    return true;
}

}  // namespace Orvex
