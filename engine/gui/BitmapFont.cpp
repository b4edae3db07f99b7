// Bitmap fonts: keys, their glyph table, and the device steps.
#include "engine/gui/BitmapFont.h"

#include "engine/gui/BitmapFontData.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/platform/D3DInterface.h"

namespace Orvex {

BitmapFont::BitmapFont(XMLNode& node) : Font(node) {
    BitmapFontInterface& renderer = D3DXFontInterface::instance().getBitmapFonts();
    if (XMLAttribute const* name = node.getAttribute(L"BITMAPFONT_DATA")) data = renderer.findBitmapFontData(name->getString());
    if (!data) data = renderer.findBitmapFontData(fontName);
    if (data) data->addRef();
    if (XMLNode const* params = node.getChild(L"CREATE_PARAMS")) createParams.copyFrom(*params);
    generated = node.getAttributeBool(L"CREATE_BITMAP_FONT_DATA", false);
}

BitmapFont::~BitmapFont() {
    if (data) data->release();
}

void BitmapFont::computeEffectiveHeight() {
    effectiveHeight = static_cast<float>(height);
    if (scaleWithScreen)
        effectiveHeight *= static_cast<float>(D3DInterface::getInstance().getHeight()) / kReferenceScreenHeight;
}

void BitmapFont::create() {
    if (created) return;
    created = true;
    computeEffectiveHeight();
    if (!generated) return;
    if (data) data->release();
    data = D3DInterface::getInstance().getDevice() ? buildGlyphTable() : nullptr;
    changed.emit(*this);
}

void BitmapFont::releaseResources() {
    if (generated && data) {
        data->release();
        data = nullptr;
    }
    created = false;
}

void BitmapFont::onResetDevice() {
    if (!scaleWithScreen && data && data->loaded) return;
    if (!generated) return;
    if (data) data->release();
    data = nullptr;
    if (!created) return;
    created = false;
    create();
}

float BitmapFont::getHeight(bool scaled) const {
    if (generated) return static_cast<float>(static_cast<u32>(effectiveHeight));
    return Font::getHeight(scaled);
}

void BitmapFont::setHeight(u32 const& h) {
    height = h;
    computeEffectiveHeight();
}

}  // namespace Orvex
