// The bitmap renderer: its font file sections, layout and glyph drawing.
#include "engine/gui/BitmapFontInterface.h"

#include <algorithm>

#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/BitmapFont.h"
#include "engine/gui/BitmapFontData.h"
#include "engine/gui/BitmapFontText.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/SpriteRect.h"

namespace Orvex {

namespace {

// A letter's destination with its edges truncated and moved by (dx, dy).
FRect movedTruncated(FRect const& d, int dx, int dy) {
    auto t = [](float v) { return static_cast<float>(truncateToLong(v)); };
    return FRect(t(d.left) + static_cast<float>(dx), t(d.top) + static_cast<float>(dy), t(d.right) + static_cast<float>(dx),
                 t(d.bottom) + static_cast<float>(dy));
}

RECT sourceOf(BitmapLetterLayout const& letter) {
    return RECT{truncateToLong(letter.src.left), truncateToLong(letter.src.top), truncateToLong(letter.src.right),
                truncateToLong(letter.src.bottom)};
}

// A letter is drawn only with a glyph that has a texture.
bool drawable(BitmapLetterLayout const& letter) { return letter.glyph && letter.glyph->texture; }

}  // namespace

BitmapFontInterface::~BitmapFontInterface() { clearFonts(); }

void BitmapFontInterface::clearFonts() {
    FontDrawInterface::clearFonts();
    releaseAll(data_);
}

void BitmapFontInterface::loadFonts(XMLNode& root, std::wstring const& source) {
    for (auto const& child : root.children()) {
        if (child->getName() != L"BITMAPFONT_DATA") continue;
        auto* data = new BitmapFontData(*child, source);
        addBitmapFontData(data);
        data->release();
    }
    for (auto const& child : root.children()) {
        if (child->getName() != L"BITMAPFONT") continue;
        auto* font = new BitmapFont(*child);
        addFont(font);
        font->release();
    }
}

BitmapFontData* BitmapFontInterface::findBitmapFontData(std::wstring const& name) const {
    return findNamedObject(data_, name);
}

bool BitmapFontInterface::addBitmapFontData(BitmapFontData* data) {
    if (!data || std::find(data_.begin(), data_.end(), data) != data_.end() || findBitmapFontData(data->getName()))
        return false;
    data->addRef();
    data_.push_back(data);
    return true;
}

bool BitmapFontInterface::isOwnFont(Font* font) const { return dynamic_cast<BitmapFont*>(font) != nullptr; }

bool BitmapFontInterface::isOwnText(FontText const& text) const {
    return dynamic_cast<BitmapFontText const*>(&text) != nullptr;
}

void BitmapFontInterface::drawStyledText(Font* font, std::wstring const& text, RECT& rect, u32 format,
                                         FontStyle const& style) {
    if (!isOwnFont(font)) return;
    BitmapFontText laid(font, style);
    laid.text = text;
    laid.format = format;
    laid.rect = rect;
    laid.measured = rect;
    laid.layout();
    if (format & kTextCalcRect)
        rect = laid.measured;
    else
        drawFontText(laid);
}

void BitmapFontInterface::drawStyledTextByName(std::wstring const& fontName, std::wstring const& text, RECT& rect,
                                               u32 format, FontStyle const& style) {
    drawStyledText(findFont(fontName), text, rect, format, style);
}

void BitmapFontInterface::drawFontText(FontText& fontText) {
    auto* text = dynamic_cast<BitmapFontText*>(&fontText);
    if (!text) return;
    BaseSprite* sprite = D3DXFontInterface::currentSprite();
    if (!sprite) sprite = &D3DInterface::getInstance().getSprite().getD3DXSpriteObject();
    bool const begun = !sprite->isInBegin();
    if (begun && !sprite->Begin(D3DXSPRITE_ALPHABLEND, nullptr)) return;
    FontStyle const& style = text->style;
    if (style.drawHG) {
        auto const background = static_cast<D3DCOLOR>(static_cast<DWORD>(style.colorHG));
        std::vector<HaloOffset> const copies = haloOffsets(style);
        for (BitmapTextLine const& line : text->lines)
            for (BitmapLetterLayout const& letter : line.letters) {
                if (!drawable(letter)) continue;
                RECT const source = sourceOf(letter);
                for (HaloOffset const& o : copies)
                    sprite->drawInRect(letter.glyph->texture, &source, movedTruncated(letter.dst, o.dx, o.dy), SDP_SCALE,
                                       SDP_SCALE, background);
            }
    }
    auto const foreground = static_cast<u32>(static_cast<DWORD>(style.colorVG));
    for (BitmapTextLine const& line : text->lines)
        for (BitmapLetterLayout const& letter : line.letters) {
            if (!drawable(letter)) continue;
            RECT const source = sourceOf(letter);
            sprite->drawInRect(letter.glyph->texture, &source, letter.dst, SDP_SCALE, SDP_SCALE,
                               letterColor(letter, foreground));
        }
    if (begun) sprite->End();
}

}  // namespace Orvex
