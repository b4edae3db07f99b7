// The drawing operations shared by both batchers.
#include "engine/render/BaseSprite.h"

#include <cmath>

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

void BaseSprite::placeCorners(RECT const& source, D3DXMATRIX const* transform, D3DXVECTOR2 (&placed)[4]) {
    float const w = static_cast<float>(source.right - source.left);
    float const h = static_cast<float>(source.bottom - source.top);
    D3DXVECTOR2 const corners[4] = {{0.0f, 0.0f}, {w, 0.0f}, {0.0f, h}, {w, h}};
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    D3DXMATRIX const& m = transform ? *transform : identity;
    if (m._14 == 0.0f && m._24 == 0.0f && m._44 == 1.0f) {
        // Affine (every 2D sprite's): w is exactly 1 for these finite corners, so the sums alone
        // give what the transform would, without its four divisions.
        for (int i = 0; i < 4; ++i)
            placed[i] = D3DXVECTOR2(corners[i].x * m._11 + corners[i].y * m._21 + m._41,
                                    corners[i].x * m._12 + corners[i].y * m._22 + m._42);
    } else {
        D3DXVec2TransformCoordArray(placed, sizeof(D3DXVECTOR2), corners, sizeof(D3DXVECTOR2), &m, 4);
    }
}

void BaseSprite::startReach() { reach_ = Reach{true, measures_, false, FRect()}; }

bool BaseSprite::takeReach(FRect& out) {
    bool const known = reach_.on && reach_.known;
    out = reach_.any ? reach_.box : FRect();
    reach_ = Reach{};
    return known;
}

void BaseSprite::noteReach(D3DXVECTOR2 const* corners, int count) {
    if (!reach_.on) return;
    for (int i = 0; i < count; ++i) {
        D3DXVECTOR2 const& c = corners[i];
        if (!std::isfinite(c.x) || !std::isfinite(c.y)) {
            reach_.known = false;
            continue;
        }
        FRect const point(c.x, c.y, c.x, c.y);
        if (reach_.any) reach_.box.unite(point);
        else reach_.box = point;
        reach_.any = true;
    }
}

void BaseSprite::noteReach(IDirect3DTexture9* texture, RECT const* source, D3DXMATRIX const* transform) {
    if (!reach_.on || !texture) return;
    RECT r{0, 0, 0, 0};
    D3DSURFACE_DESC desc{};
    if (source) r = *source;
    else if (SUCCEEDED(texture->GetLevelDesc(0, &desc)))
        r = RECT{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    else {
        noteUnknownReach();
        return;
    }
    D3DXVECTOR2 placed[4];
    placeCorners(r, transform, placed);
    noteReach(placed, 4);
}

}  // namespace Orvex
