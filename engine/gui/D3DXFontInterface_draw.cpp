// Device font text with a style: the background copies (shadow or halo) in the background
// colour, then the text, all through the device's D3DX sprite with an identity transform. The
// current sprite's batch (the GUI's) is drawn first, so the text lies over what came before it.
#include "engine/gui/D3DXFont.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/FontStyle.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteHolder.h"

namespace Orvex {

namespace {

void drawStyled(D3DXFont& font, std::wstring const& text, RECT& rect, u32 format, FontStyle const& style) {
    ID3DXFont* deviceFont = font.getDeviceFont();
    if (!deviceFont) return;
    SpriteHolder& sprites = D3DInterface::getInstance().getSprite();
    D3DXSprite& sprite = sprites.getD3DXSpriteObject();
    ID3DXSprite* d3dxSprite = *sprites.getD3DXSprite();
    bool const begun = !sprite.isInBegin();
    if (begun && !sprite.Begin(D3DXSPRITE_ALPHABLEND, nullptr)) return;
    D3DXMATRIX saved, identity;
    D3DXMatrixIdentity(&identity);
    if (d3dxSprite) {
        d3dxSprite->GetTransform(&saved);
        d3dxSprite->SetTransform(&identity);
    }
    if (style.drawHG) {
        auto const background = static_cast<D3DCOLOR>(static_cast<DWORD>(style.colorHG));
        for (HaloOffset const& o : haloOffsets(style)) {
            RECT moved{rect.left + o.dx, rect.top + o.dy, rect.right + o.dx, rect.bottom + o.dy};
            deviceFont->DrawTextW(d3dxSprite, text.c_str(), -1, &moved, format, background);
        }
    }
    deviceFont->DrawTextW(d3dxSprite, text.c_str(), -1, &rect, format, static_cast<D3DCOLOR>(static_cast<DWORD>(style.colorVG)));
    if (d3dxSprite) d3dxSprite->SetTransform(&saved);
    if (begun) sprite.End();
}

}  // namespace

void D3DXFontInterface::drawStyledTextByName(std::wstring const& fontName, std::wstring const& text, RECT& rect,
                                             u32 format, FontStyle const& style) {
    // By name as by font: what the current sprite queued before lies under the text.
    if (auto* font = dynamic_cast<D3DXFont*>(FontDrawInterface::findFont(fontName))) drawStyledText(font, text, rect, format, style);
}

void D3DXFontInterface::drawStyledText(Font* font, std::wstring const& text, RECT& rect, u32 format,
                                       FontStyle const& style) {
    auto* d3dxFont = dynamic_cast<D3DXFont*>(font);
    if (!d3dxFont) return;
    // Labels draw through a sprite of their own: its batch pauses around the device font's.
    BaseSprite* labels = currentSprite();
    BaseSprite* own = &D3DInterface::getInstance().getSprite().getD3DXSpriteObject();
    bool const handOver = labels && labels != own && labels->isInBegin();
    if (handOver) labels->End();
    drawStyled(*d3dxFont, text, rect, format, style);
    if (handOver) labels->Begin(D3DXSPRITE_ALPHABLEND, nullptr);
}

}  // namespace Orvex
