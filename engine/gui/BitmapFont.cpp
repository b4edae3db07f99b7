// Bitmap fonts: keys, their glyph table, and the device steps.
#include "engine/gui/BitmapFont.h"

#include "engine/gui/BitmapFontData.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteHolder.h"

namespace Orvex {

BitmapFont::BitmapFont(XMLNode& node) : Font(node) {
    BitmapFontInterface& renderer = D3DXFontInterface::instance().getBitmapFonts();
    if (XMLAttribute const* name = node.getAttribute(L"BITMAPFONT_DATA")) data_ = renderer.findBitmapFontData(name->getString());
    if (!data_) data_ = renderer.findBitmapFontData(fontName);
    if (data_) data_->addRef();
    if (XMLNode const* params = node.getChild(L"CREATE_PARAMS")) createParams.copyFrom(*params);
    generated = node.getAttributeBool(L"CREATE_BITMAP_FONT_DATA", false);
}

BitmapFont::~BitmapFont() {
    if (data_) data_->release();
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
    if (data_) data_->release();
    data_ = nullptr;
    buildPending_ = true;
    changed.emit(*this);
}

BitmapFontData* BitmapFont::glyphTable() {
    if (!buildPending_) return data_;
    buildPending_ = false;
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    if (!device) return data_;
    // The first text usually asks inside a frame: the build renders its pages through the D3DX
    // sprite in scenes of its own (each restores the target it found), so that sprite's batch is
    // drawn up to here and the frame's scene pauses meanwhile. (The engine's batcher only queues
    // until its End.)
    BaseSprite& sprite = D3DInterface::getInstance().getSprite().getD3DXSpriteObject();
    bool const batch = sprite.isInBegin() && sprite.flushBatch();
    bool const inScene = SUCCEEDED(device->EndScene());
    data_ = buildGlyphTable();
    if (inScene) device->BeginScene();
    if (batch) sprite.resumeBatch();
    return data_;
}

void BitmapFont::releaseResources() {
    if (generated && data_) {
        data_->release();
        data_ = nullptr;
    }
    buildPending_ = false;
    created = false;
}

void BitmapFont::onResetDevice() {
    if (!scaleWithScreen && data_ && data_->loaded) return;
    if (!generated) return;
    if (data_) data_->release();
    data_ = nullptr;
    buildPending_ = false;
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
