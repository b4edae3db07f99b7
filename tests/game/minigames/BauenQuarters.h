// Where the building game's pieces and board cells are on the screen, for tests that drag pieces
// by presses: a piece's cell is cut along both diagonals into four quarters, and a point counts
// for the piece only on a quarter the piece fills.
#pragma once

#include <cmath>

#include "engine/render/SpriteRect.h"
#include "game/minigames/Bauen.h"
#include "port/d3dx9/d3dx9math.h"

namespace bauentest {

// Whether the screen point lies on a filled quarter of the piece.
inline bool onFilledQuarter(Solitaire::Bauen const& game, Solitaire::Bauen::Objekt const& piece, D3DXVECTOR2 const& p) {
    using Solitaire::Bauen;
    for (int c = 0; c < piece.columns; ++c)
        for (int r = 0; r < piece.rows; ++r) {
            Orvex::SpriteRect const box = game.getCellRect(piece, c, r);
            float const u = (p.x - box.x) / box.w - 0.5f;
            float const v = (p.y - box.y) / box.h - 0.5f;
            if (std::fabs(u) >= 0.5f || std::fabs(v) >= 0.5f) continue;
            int const quarter = std::fabs(u) > std::fabs(v) ? (u > 0 ? Bauen::kRight : Bauen::kLeft)
                                                             : (v > 0 ? Bauen::kBottom : Bauen::kTop);
            if (piece.cell(c, r) & quarter) return true;
        }
    return false;
}

// The top-left corner of board cell (c, r) in screen pixels.
inline D3DXVECTOR2 boardCell(Solitaire::Bauen const& game, int c, int r) {
    D3DXVECTOR2 const origin = game.getOrigin();
    D3DXVECTOR2 const extent = game.getExtent();
    Orvex::SpriteRect const box = game.getBoxRect(
        D3DXVECTOR2(origin.x + extent.x * static_cast<float>(c) / static_cast<float>(game.getBoardColumns()),
                    origin.y + extent.y * static_cast<float>(r) / static_cast<float>(game.getBoardRows())),
        1, 1);
    return D3DXVECTOR2(box.x, box.y);
}

}  // namespace bauentest
