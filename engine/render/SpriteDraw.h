// The builders that cut one draw of a source rectangle into textured pieces by the per-axis
// draw modes (SpriteRect.h): into a rotated placement (buildSpriteQuads), into an axis-aligned
// rectangle (buildRectQuads), and the first-rule-only variant the sprites' drawInRect uses.
//
// Limits: a source without area gives no piece (it would divide by zero), nor does a draw whose
// piece count cannot be counted (NaN or infinite sizes); a draw that needs more than
// kMaxSpritePieces pieces (a tiny source tiled over a huge target) gives its first
// kMaxSpritePieces. Each is logged once per process, since such draws repeat every frame.
#pragma once

#include <vector>

#include "engine/core/Types.h"
#include "engine/render/FRect.h"
#include "engine/render/SpriteRect.h"
#include "port/win32/windows_types.h"

namespace Orvex {

// Most pieces one draw may produce (one full vertex ring of the engine batcher).
inline constexpr u32 kMaxSpritePieces = 16384;

// Appends the pieces of one draw into the placement's rotated frame: clamp, stretch-number and
// stretch each add their piece(s) when their bits are present, then the first matching row of
// the (mode X, mode Y) pair table.
void buildSpriteQuads(std::vector<SpriteQuadPiece>& out, SpriteRect const& target, RECT const& source, u8 const& modeX,
                      u8 const& modeY);
// The same into an axis-aligned rectangle, without rotation and without the stretch-number rule.
void buildRectQuads(std::vector<SpriteQuadPiece>& out, RECT const& source, FRect const& target, u8 modeX, u8 modeY);
// drawInRect's pieces: only the first matching of clamp, stretch and the pair table.
void buildInRectQuads(std::vector<SpriteQuadPiece>& out, RECT const& source, FRect const& target, u8 modeX, u8 modeY);

}  // namespace Orvex
