// The drawing operations shared by both batchers.
#include "engine/render/BaseSprite.h"

#include "engine/render/SpriteDraw.h"
#include "engine/render/Texture2D.h"

namespace Orvex {

namespace {

// The device texture of an engine texture (resumed when suspended), or null.
IDirect3DTexture9* deviceTexture(Texture2D& texture) {
    IDirect3DTexture9** slot = texture.getD3DTexture();
    return slot ? *slot : nullptr;
}

}  // namespace

void BaseSprite::drawPieces(IDirect3DTexture9* texture, Texture2D* engineTexture, D3DCOLOR const& colour) {
    for (SpriteQuadPiece const& p : pieces_) {
        if (engineTexture)
            drawTexture2D(engineTexture, &p.source, &p.scaling, &p.rotationCentre, p.rotation, &p.translation, colour);
        else
            DrawSprite2D(texture, &p.source, &p.scaling, &p.rotationCentre, p.rotation, &p.translation, colour);
    }
}

void BaseSprite::drawSpriteRect(Texture2D* texture, RECT const* source, SpriteRect const& target, u8 modeX, u8 modeY,
                                D3DCOLOR const& colour) {
    if (!texture) return;
    RECT const src = source ? *source : texture->getRect();
    pieces_.clear();
    buildSpriteQuads(pieces_, target, src, modeX, modeY);
    drawPieces(nullptr, texture, colour);
}

void BaseSprite::drawSpriteRectD3D(IDirect3DTexture9* const& texture, RECT const* source, SpriteRect const& target,
                                   u8 modeX, u8 modeY, D3DCOLOR const& colour) {
    if (!texture || !source) return;
    pieces_.clear();
    buildSpriteQuads(pieces_, target, *source, modeX, modeY);
    drawPieces(texture, nullptr, colour);
}

void BaseSprite::drawInRect(Texture2D* texture, RECT const* source, FRect const& target, u8 modeX, u8 modeY,
                            D3DCOLOR const& colour) {
    if (!texture) return;
    RECT const src = source ? *source : texture->getRect();
    pieces_.clear();
    buildInRectQuads(pieces_, src, target, modeX, modeY);
    drawPieces(nullptr, texture, colour);
}

void BaseSprite::drawInRectD3D(IDirect3DTexture9* const& texture, RECT const* source, FRect const& target, u8 modeX,
                               u8 modeY, D3DCOLOR const& colour) {
    if (!texture || !source) return;
    pieces_.clear();
    buildInRectQuads(pieces_, *source, target, modeX, modeY);
    drawPieces(texture, nullptr, colour);
}

bool BaseSprite::DrawSprite2D(IDirect3DTexture9* const& texture, RECT const* source, D3DXVECTOR2 const* scaling,
                              D3DXVECTOR2 const* rotationCentre, float const& rotation, D3DXVECTOR2 const* translation,
                              D3DCOLOR const& colour) {
    D3DXMATRIX m;
    D3DXMatrixTransformation2D(&m, nullptr, 0.0f, scaling, rotationCentre, rotation, translation);
    return DrawSprite2D(texture, source, &m, colour);
}

bool BaseSprite::drawTexture2D(Texture2D* texture, RECT const* source, D3DXVECTOR2 const* scaling,
                               D3DXVECTOR2 const* rotationCentre, float const& rotation, D3DXVECTOR2 const* translation,
                               D3DCOLOR const& colour) {
    if (!texture) return false;
    RECT const src = source ? *source : texture->getRect();
    IDirect3DTexture9* const raw = deviceTexture(*texture);
    return DrawSprite2D(raw, &src, scaling, rotationCentre, rotation, translation, colour);
}

bool BaseSprite::drawTexture3D(Texture2D* texture, RECT const* source, D3DXVECTOR3 const* scaling,
                               D3DXQUATERNION const* rotation, D3DXVECTOR3 const* translation,
                               D3DXVECTOR3 const* centre, D3DCOLOR const& colour) {
    if (!texture) return false;
    RECT const src = source ? *source : texture->getRect();
    IDirect3DTexture9* const raw = deviceTexture(*texture);
    return drawSprite3D(raw, &src, scaling, rotation, translation, centre, colour);
}

}  // namespace Orvex
