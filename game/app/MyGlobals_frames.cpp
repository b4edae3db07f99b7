// The frame texture "RECTS" and the nine-slice panels drawn from it.
#include <algorithm>
#include <cstdint>

#include "engine/core/XMLNode.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureParams.h"
#include "game/app/MyGlobals.h"

namespace Solitaire {

namespace {

constexpr wchar_t kFrameList[] = L"Data\\Menu\\rects.tex";
constexpr wchar_t kFrameTexture[] = L"RECTS";
// Draw modes of the pieces: stretched on both axes.
constexpr Orvex::u8 kPieceMode = 1;

// v + d in wrapping 32-bit arithmetic: a hostile row or column moves a piece off the texture,
// never overflows.
LONG shifted(LONG v, std::uint32_t d) { return static_cast<LONG>(static_cast<std::uint32_t>(v) + d); }

}  // namespace

bool MyGlobals::loadFrames() {
    Orvex::TextureManager& textures = Orvex::D3DInterface::getInstance().getTextureManager();
    Orvex::XMLNode list;
    list.load(kFrameList);
    textures.loadTextures(list, Orvex::TextureLoadParams(1, static_cast<Orvex::u32>(-1), true, true));
    frameTexture_ = textures.findTexture(kFrameTexture);
    for (int i = 0; i < kPieces; ++i) {
        LONG const left = (i % 3) * kFramePiece;
        LONG const top = (i / 3) * kFramePiece;
        source_[i] = RECT{left, top, left + kFramePiece, top + kFramePiece};
        current_[i] = source_[i];
    }
    return frameTexture_ != nullptr;
}

void MyGlobals::selectFrameStyle(int row, int column) {
    std::uint32_t const dx = static_cast<std::uint32_t>(column) * kFrameCell;
    std::uint32_t const dy = static_cast<std::uint32_t>(row) * kFrameCell;
    for (int i = 0; i < kPieces; ++i) {
        RECT const& s = source_[i];
        current_[i] = RECT{shifted(s.left, dx), shifted(s.top, dy), shifted(s.right, dx), shifted(s.bottom, dy)};
    }
}

void MyGlobals::framePieces(RECT const& rect, int border, RECT out[kPieces]) {
    LONG const left = std::min(rect.left, rect.right);
    LONG const right = std::max(rect.left, rect.right);
    LONG const top = std::min(rect.top, rect.bottom);
    LONG const bottom = std::max(rect.top, rect.bottom);
    // In 64 bits: the sides of a rectangle spanning the whole LONG range do not fit 32.
    long long const halfWidth = (static_cast<long long>(right) - left) / 2;
    long long const halfHeight = (static_cast<long long>(bottom) - top) / 2;
    // A negative border would turn the pieces inside out: no corners then.
    long long b = std::max(border, 0);
    if (b >= halfWidth || b >= halfHeight) b = std::min(halfWidth, halfHeight);
    LONG const edge = static_cast<LONG>(b);
    LONG const xs[4] = {left, left + edge, right - edge, right};
    LONG const ys[4] = {top, top + edge, bottom - edge, bottom};
    for (int i = 0; i < kPieces; ++i) {
        int const column = i % 3;
        int const row = i / 3;
        out[i] = RECT{xs[column], ys[row], xs[column + 1], ys[row + 1]};
    }
}

void MyGlobals::drawFrame(RECT const& rect, int border, D3DCOLOR colourA, D3DCOLOR colourC, D3DCOLOR colourB,
                          int row, int columnA, int columnC, int columnB) {
    RECT destination[kPieces];
    framePieces(rect, border, destination);
    selectFrameStyle(row, columnA);
    drawLayer(destination, colourA);
    selectFrameStyle(row, columnB + kSecondLayerColumn);
    drawLayer(destination, colourB);
    selectFrameStyle(row, columnC + kThirdLayerColumn);
    drawLayer(destination, colourC);
}

void MyGlobals::drawLayer(RECT const destination[kPieces], D3DCOLOR colour) {
    // Without the frame texture there is nothing to draw (and nothing to report every frame).
    if (!frameTexture_) return;
    Orvex::BaseSprite* sprite = sprite_ ? sprite_ : &Orvex::D3DInterface::getInstance().getSprite().getSprite();
    for (int i = 0; i < kPieces; ++i)
        sprite->drawInRect(frameTexture_, &current_[i], Orvex::FRect::fromRECT(destination[i]), kPieceMode, kPieceMode,
                           colour);
}

}  // namespace Solitaire
