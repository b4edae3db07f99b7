// Sprite placement and draw modes: where a texture goes (SpriteRect: position, size, rotation
// centre, rotation in degrees, centre flags), how its source fills the target on each axis (the
// draw-mode bits named by words such as "SDP_SCALE"), and one textured piece of a draw
// (SpriteQuadPiece). The builders that cut a draw into pieces are in SpriteDraw.h.
#pragma once

#include <string>

#include "engine/core/Types.h"
#include "engine/render/FRect.h"
#include "engine/render/Shape.h"
#include "port/d3dx9/d3dx9math.h"
#include "port/win32/windows_types.h"

namespace Orvex {

// Draw-mode bits, one mode byte per axis; several bits may be ORed.
enum SpriteDrawMode : u8 {
    SDP_SCALE = 1,            // stretch the source to the target extent
    SDP_REPEAT = 2,           // tile at natural size, the last tile partial
    SDP_STRETCH = 4,          // uniform fit (aspect kept), slack on the other axis
    SDP_ALIGN_FRONT = 8,      // with stretch: start aligned
    SDP_ALIGN_BACK = 16,      // with stretch or clamp: end aligned
    SDP_CLAMP = 32,           // natural size, centred (or end aligned)
    SDP_STRETCH_NUMBER = 64,  // uniform scale so this axis fits; the other axis tiles
    SDP_REPEAT_INT = 128,     // a whole number of tiles stretched to fill exactly
};

// The bit of one word ("SDP_SCALE" or "SCALE" ...), compared upper-cased; 0 for other words.
u8 parseSpriteDrawMode(std::wstring const& word);

// One piece of a draw: a source rectangle drawn with scaling, rotation (radians) about its
// rotation centre, its top-left corner placed at translation.
struct SpriteQuadPiece {
    RECT source{0, 0, 0, 0};
    float rotation = 0.0f;
    D3DXVECTOR2 rotationCentre{0.0f, 0.0f};
    D3DXVECTOR2 scaling{1.0f, 1.0f};
    D3DXVECTOR2 translation{0.0f, 0.0f};
};

struct SpriteRect {
    // Centre flags.
    static constexpr u32 kCentreRelative = 1;  // cx, cy are fractions of w, h
    static constexpr u32 kCentreAbsolute = 2;  // cx, cy are screen coordinates
    static constexpr u32 kPositionIsCentre = 4;  // x, y name where the centre goes

    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;  // negative sizes mirror
    float h = 0.0f;
    float cx = 0.0f;
    float cy = 0.0f;
    float rotation = 0.0f;  // degrees
    u32 flags = 0;

    SpriteRect() = default;
    SpriteRect(D3DXVECTOR2 const& position, D3DXVECTOR2 const& size, float rotationDegrees, D3DXVECTOR2 const& centre,
               u32 centreFlags);

    // x = left, y = top, w = right - left, h = bottom - top.
    static SpriteRect fromFRect(FRect const& rect, float rotationDegrees, D3DXVECTOR2 const& centre, u32 centreFlags);
    // Position = translation, size = scaling x source size, centre = rotation centre, rotation
    // in degrees, flags 0.
    static SpriteRect fromDrawRecord(SpriteQuadPiece const& piece);
};

// The placement transform: rotation about the (flag-resolved) centre, then translation.
D3DXMATRIX makeSpriteMatrix(SpriteRect const& rect);
// The corners (0,0), (w,0), (w,h), (0,h) placed by the transform.
My2DQuad makeQuad(SpriteRect const& rect);
FRect boundingRectOfSpriteRect(SpriteRect const& rect);

}  // namespace Orvex
