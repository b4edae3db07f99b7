// Where cards and piles lie on the screen and how much of a query they cover: the card's
// rectangle (its goal-free current place plus mark offset, scaled by the camera and the card,
// narrowed while it turns), the pile's rectangle (its cell times "SCALE"), the geometric hit
// test of a point against a card turned by its angle, and the overlap of two rectangles.
#pragma once

#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9math.h"

namespace Solitaire {

class Karte;
class Kartenstapel;
class SolitaireCamera;

// Without a camera the table is the screen.
Orvex::FRect computeScreenRect(Karte const& card, SolitaireCamera const* camera);
Orvex::FRect computeScreenRect(Kartenstapel const& pile, SolitaireCamera const* camera);
// 1 when the point lies inside the card's rectangle turned by its angle about its centre (an
// invisible card is never hit), else 0.
float hitMeasure(Karte const& card, SolitaireCamera const* camera, D3DXVECTOR2 const& point);
// 1 when the point lies inside the pile's rectangle, else 0.
float hitMeasure(Kartenstapel const& pile, SolitaireCamera const* camera, D3DXVECTOR2 const& point);
// The area two rectangles share; 0 when they do not meet.
float overlapArea(Orvex::FRect const& a, Orvex::FRect const& b);

}  // namespace Solitaire
