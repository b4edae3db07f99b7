// Frame animations: drawing the current frame. The frame is cut into pieces by the sprite
// draw modes as if it were one picture of its width and height; each piece then shows the
// parts of the frame that fall into its window, with their texture rectangles cut to match.
#include <vector>

#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteDraw.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"

namespace Orvex {

namespace {

struct Area {
    float left, top, right, bottom;
};

// One axis of a part inside a piece's window (both normalised by the frame size): a part
// starting before the window loses the texels before it, one starting inside moves by the
// distance on screen; a part ending after the window loses the texels after it.
void cutAxis(float windowLo, float windowHi, float partLo, float partHi, LONG& texLo, LONG& texHi, float pieceSize,
             float scale, float& translation, float& centre) {
    float const texSize = static_cast<float>(texHi - texLo);
    float const partSize = partHi - partLo;
    if (windowLo > partLo) {
        texLo += static_cast<LONG>((windowLo - partLo) / partSize * texSize);
    } else {
        float const d = (partLo - windowLo) / (windowHi - windowLo) * pieceSize * scale;
        translation += d;
        centre -= d;
    }
    if (partHi > windowHi) texHi -= static_cast<LONG>((partHi - windowHi) / partSize * texSize);
}

}  // namespace

void Texture2DAnimation::buildFrameQuads(BaseSprite& sprite, SpriteRect const& dest, u8 modeX, u8 modeY,
                                         D3DCOLOR color) {
    AnimationFrame const* frame = getCurrentFrame();
    float const width = frame->width;
    float const height = frame->height;
    if (frame->parts.empty() || !(width > 0.0f) || !(height > 0.0f)) return;

    RECT const whole{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    std::vector<SpriteQuadPiece> pieces;
    buildSpriteQuads(pieces, dest, whole, modeX, modeY);

    for (SpriteQuadPiece const& piece : pieces) {
        Area const window{piece.source.left / width, piece.source.top / height, piece.source.right / width,
                          piece.source.bottom / height};
        float const sourceW = static_cast<float>(piece.source.right - piece.source.left);
        float const sourceH = static_cast<float>(piece.source.bottom - piece.source.top);
        for (AnimationFramePart const& part : frame->parts) {
            if (!part.texture) continue;
            Area const area{part.tl.x / width, part.tl.y / height, 1.0f + part.rb.x / width, 1.0f + part.rb.y / height};
            if (!(area.left < window.right && area.right > window.left && area.top < window.bottom &&
                  area.bottom > window.top)) {
                continue;
            }
            RECT tex = part.texRect;
            D3DXVECTOR2 centre = piece.rotationCentre;
            D3DXVECTOR2 translation = piece.translation;
            cutAxis(window.left, window.right, area.left, area.right, tex.left, tex.right, sourceW, piece.scaling.x,
                    translation.x, centre.x);
            cutAxis(window.top, window.bottom, area.top, area.bottom, tex.top, tex.bottom, sourceH, piece.scaling.y,
                    translation.y, centre.y);

            IDirect3DTexture9* const d3dTexture = *part.texture->getD3DTexture();
            if (!d3dTexture) continue;
            sprite.DrawSprite2D(d3dTexture, &tex, &piece.scaling, &centre, piece.rotation, &translation, color);
        }
    }
}

}  // namespace Orvex
