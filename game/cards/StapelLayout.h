// What the cards and arrangements of a pile read of it: the pile's place on the table, its card
// step, jitter and cell size, and its re-arranging. Kartenstapel derives from it, so arrangements
// and cards reach these through a type they know without the pile's whole class.
//
// A pile's place is kept relative to the card cell ("POSITION_REL"); a definition giving
// "POSITION" in table units is turned into a relative place by dividing by the cell size, which
// is zero while no card set is known. Such a place is kept absolute until a usable cell size
// arrives, instead of becoming infinite or NaN.
#pragma once

#include <string>

#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

class Karte;

class StapelLayout {
public:
    // The readers refuse a place or a step of a variant file (in cells, table units, degrees or
    // shares of the view) beyond Orvex::kMaxMeasure, which keeps its products with a cell size, a
    // card count and a style's step inside a float.
    virtual ~StapelLayout() = default;

    // "POSITION": a place in table units.
    void setTablePosition(D3DXVECTOR2 const& tablePosition);
    // "POSITION_REL": a place in card cells.
    void setRelativePosition(D3DXVECTOR2 const& relative);
    // The card set's cell size; the table place follows the relative one.
    void setCellSize(D3DXVECTOR2 const& size);
    // Whether a "POSITION" still waits for a usable cell size.
    bool isPositionPending() const { return positionPending_; }

    // Re-places one card of the pile (the pile's one-card arrange); nothing here.
    virtual void arrangeCard(Karte* card, float const& speed);

    D3DXVECTOR2 position{0.0f, 0.0f};          // table units
    D3DXVECTOR2 relativePosition{0.0f, 0.0f};  // card cells
    // The style's effective pile offset times the card set's "VERSCHIEBUNG_MULT".
    D3DXVECTOR2 cardStep{0.0f, 0.25f};
    D3DXVECTOR2 jitter{4.0f, 4.0f};
    float rotationJitter = 5.0f;
    D3DXVECTOR2 cardSize{0.0f, 0.0f};  // the card set's cell size
    // Marked cards take an arrangement's select step ("USE_SELECT_CARDS_OFFSET").
    bool useSelectOffset = true;

private:
    bool positionPending_ = false;
};

}  // namespace Solitaire
