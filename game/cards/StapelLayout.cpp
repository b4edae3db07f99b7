// A pile's place relative to the card cell, kept sound while no cell size is known.
#include "game/cards/StapelLayout.h"

#include <cmath>

namespace Solitaire {

namespace {

bool usable(D3DXVECTOR2 const& size) {
    return std::isfinite(size.x) && std::isfinite(size.y) && size.x != 0.0f && size.y != 0.0f;
}

bool finiteVector(D3DXVECTOR2 const& v) { return std::isfinite(v.x) && std::isfinite(v.y); }

}  // namespace

void StapelLayout::setTablePosition(D3DXVECTOR2 const& tablePosition) {
    if (!finiteVector(tablePosition)) return;
    position = tablePosition;
    positionPending_ = !usable(cardSize);
    if (!positionPending_) relativePosition = {position.x / cardSize.x, position.y / cardSize.y};
}

void StapelLayout::setRelativePosition(D3DXVECTOR2 const& relative) {
    if (!finiteVector(relative)) return;
    relativePosition = relative;
    positionPending_ = false;
    position = {relativePosition.x * cardSize.x, relativePosition.y * cardSize.y};
}

void StapelLayout::setCellSize(D3DXVECTOR2 const& size) {
    if (!finiteVector(size)) return;
    cardSize = size;
    if (positionPending_) {
        // The table place given while no size was known becomes relative now.
        if (!usable(cardSize)) return;
        relativePosition = {position.x / cardSize.x, position.y / cardSize.y};
        positionPending_ = false;
        return;
    }
    position = {relativePosition.x * cardSize.x, relativePosition.y * cardSize.y};
}

void StapelLayout::arrangeCard(Karte*, float const&) {}

}  // namespace Solitaire
