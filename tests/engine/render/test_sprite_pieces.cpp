// The draw-mode words, sprite placements and the piece builders: where each piece goes, which
// part of the source it takes and how it is scaled, for every mode pair; sources without area
// and tiny sources in huge targets give no pieces instead of a division by zero or an endless
// list.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/render/SpriteDraw.h"
#include "engine/render/SpriteRect.h"
#include "tests/engine/render/RenderFixture.h"

using namespace Orvex;
using rendertest::placement;

namespace {

using Pieces = std::vector<SpriteQuadPiece>;

RECT rect(LONG l, LONG t, LONG r, LONG b) { return RECT{l, t, r, b}; }

Pieces rectPieces(RECT const& source, FRect const& target, u8 mx, u8 my) {
    Pieces out;
    buildRectQuads(out, source, target, mx, my);
    return out;
}

Pieces inRectPieces(RECT const& source, FRect const& target, u8 mx, u8 my) {
    Pieces out;
    buildInRectQuads(out, source, target, mx, my);
    return out;
}

Pieces spritePieces(SpriteRect const& target, RECT const& source, u8 mx, u8 my) {
    Pieces out;
    buildSpriteQuads(out, target, source, mx, my);
    return out;
}

void expectPiece(SpriteQuadPiece const& p, RECT const& source, float sx, float sy, float tx, float ty) {
    EXPECT_TRUE(rendertest::rectIs(p.source, source.left, source.top, source.right, source.bottom));
    EXPECT_NEAR(p.scaling.x, sx, 1e-4f);
    EXPECT_NEAR(p.scaling.y, sy, 1e-4f);
    EXPECT_NEAR(p.translation.x, tx, 1e-3f);
    EXPECT_NEAR(p.translation.y, ty, 1e-3f);
}

}  // namespace

TEST(SpriteDrawModes, WordsParseCaseInsensitivelyInBothForms) {
    EXPECT_EQ(parseSpriteDrawMode(L"SDP_SCALE"), SDP_SCALE);
    EXPECT_EQ(parseSpriteDrawMode(L"repeat_int"), SDP_REPEAT_INT);
    EXPECT_EQ(parseSpriteDrawMode(L"Sdp_Stretch_Number"), SDP_STRETCH_NUMBER);
    for (wchar_t const* word : {L"SDP_", L"SCALE ", L""}) EXPECT_EQ(parseSpriteDrawMode(word), 0);
}

TEST(SpriteDrawPieces, RepeatScaleAndStretchNumberPlaceTheirPieces) {
    // Of the pieces for a source, target and mode pair: how many, and one of them (source part,
    // scaling, translation). Targets are rectangles, or a placement at (0, 0) for stretch-number.
    struct Case {
        RECT source;
        FRect target;
        u8 modeX, modeY;
        std::size_t count, index;
        RECT part;
        float sx, sy, tx, ty;
    } const cases[] = {
        // Repeat then scale; an exact multiple still gets its one-pixel remainder; the height
        // stretched on every tile.
        {rect(0, 0, 30, 40), FRect(0, 0, 100, 40), SDP_REPEAT, SDP_SCALE, 4, 2, rect(0, 0, 30, 40), 1, 1, 60, 0},
        {rect(0, 0, 30, 40), FRect(0, 0, 100, 40), SDP_REPEAT, SDP_SCALE, 4, 3, rect(0, 0, 10, 40), 1, 1, 90, 0},
        {rect(0, 0, 30, 40), FRect(0, 0, 90, 40), SDP_REPEAT, SDP_SCALE, 4, 3, rect(0, 0, 1, 40), 1, 1, 90, 0},
        {rect(0, 0, 30, 40), FRect(0, 0, 100, 80), SDP_REPEAT, SDP_SCALE, 4, 1, rect(0, 0, 30, 40), 1, 2, 30, 0},
        // Scale then repeat, a source at an offset.
        {rect(4, 8, 24, 28), FRect(10, 10, 50, 55), SDP_SCALE, SDP_REPEAT, 3, 0, rect(4, 8, 24, 28), 2, 1, 10, 10},
        {rect(4, 8, 24, 28), FRect(10, 10, 50, 55), SDP_SCALE, SDP_REPEAT, 3, 1, rect(4, 8, 24, 28), 2, 1, 10, 30},
        {rect(4, 8, 24, 28), FRect(10, 10, 50, 55), SDP_SCALE, SDP_REPEAT, 3, 2, rect(4, 8, 24, 13), 2, 1, 10, 50},
        // A whole number of times; nearest(2.5) is int(3.0): three tiles of 25 / 3 pixels.
        {rect(0, 0, 30, 10), FRect(0, 0, 100, 10), SDP_REPEAT_INT, SDP_SCALE, 3, 0, rect(0, 0, 30, 10), 100.0f / 90.0f, 1, 0, 0},
        {rect(0, 0, 30, 10), FRect(0, 0, 100, 10), SDP_REPEAT_INT, SDP_SCALE, 3, 1, rect(0, 0, 30, 10), 100.0f / 90.0f, 1,
         100.0f / 3.0f, 0},
        {rect(0, 0, 30, 10), FRect(0, 0, 100, 10), SDP_REPEAT_INT, SDP_SCALE, 3, 2, rect(0, 0, 30, 10), 100.0f / 90.0f, 1,
         200.0f / 3.0f, 0},
        {rect(0, 0, 30, 10), FRect(0, 0, 14, 10), SDP_REPEAT_INT, SDP_SCALE, 0, 0, {}, 0, 0, 0, 0},
        {rect(0, 0, 10, 10), FRect(0, 0, 20, 30), SDP_REPEAT_INT, SDP_REPEAT_INT, 6, 5, rect(0, 0, 10, 10), 1, 1, 10, 20},
        {rect(0, 0, 10, 10), FRect(0, 0, 20, 25), SDP_SCALE, SDP_REPEAT_INT, 3, 2, rect(0, 0, 10, 10), 2, 25.0f / 30.0f, 0,
         50.0f / 3.0f},
        // Stretch-number fits X to 40 (scale 2) and tiles 20-high steps over 50: two and a half.
        {rect(0, 0, 20, 10), FRect(0, 0, 40, 50), SDP_STRETCH_NUMBER, SDP_REPEAT, 3, 0, rect(0, 0, 20, 10), 2, 2, 0, 0},
        {rect(0, 0, 20, 10), FRect(0, 0, 40, 50), SDP_STRETCH_NUMBER, SDP_REPEAT, 3, 1, rect(0, 0, 20, 10), 2, 2, 0, 20},
        {rect(0, 0, 20, 10), FRect(0, 0, 40, 50), SDP_STRETCH_NUMBER, SDP_REPEAT, 3, 2, rect(0, 0, 20, 5), 2, 2, 0, 40},
        // The other way round; the stretch rule does not add its piece then.
        {rect(0, 0, 10, 20), FRect(0, 0, 50, 20), SDP_REPEAT | SDP_STRETCH, SDP_STRETCH_NUMBER, 6, 5, rect(0, 0, 0, 20),
         1, 1, 50, 0},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(&c - cases);
        bool const number = (c.modeX | c.modeY) & SDP_STRETCH_NUMBER;
        Pieces const p = number ? spritePieces(placement(0, 0, c.target.right, c.target.bottom), c.source, c.modeX, c.modeY)
                                : rectPieces(c.source, c.target, c.modeX, c.modeY);
        ASSERT_EQ(p.size(), c.count);
        if (c.count) expectPiece(p[c.index], c.part, c.sx, c.sy, c.tx, c.ty);
    }
    // buildRectQuads knows no stretch-number.
    EXPECT_TRUE(rectPieces(rect(0, 0, 20, 10), FRect(0, 0, 40, 50), SDP_STRETCH_NUMBER, SDP_REPEAT).empty());
}

TEST(SpriteDrawPieces, BuildersAddEveryMatchingRuleDrawInRectOnlyTheFirst) {
    RECT const src = rect(0, 0, 50, 50);
    FRect const target(0, 0, 100, 100);
    // Clamp on X with scale on both: the builders add the clamp piece and the scale piece.
    u8 const mx = SDP_CLAMP | SDP_SCALE;
    EXPECT_EQ(rectPieces(src, target, mx, SDP_SCALE).size(), 2u);
    Pieces first = inRectPieces(src, target, mx, SDP_SCALE);
    ASSERT_EQ(first.size(), 1u);
    expectPiece(first[0], src, 1, 1, 25, 25);
    // Without clamp or stretch, the pair table.
    first = inRectPieces(src, target, SDP_SCALE, SDP_SCALE);
    ASSERT_EQ(first.size(), 1u);
    expectPiece(first[0], src, 2, 2, 0, 0);
    // A pair that matches no row adds nothing.
    EXPECT_TRUE(rectPieces(src, target, 0, SDP_SCALE).empty());
}

TEST(SpriteDrawPieces, SourceWithoutAreaGivesNoPiece) {
    for (u8 mode : {SDP_SCALE, SDP_REPEAT, SDP_STRETCH, SDP_CLAMP, SDP_REPEAT_INT, SDP_STRETCH_NUMBER}) {
        EXPECT_TRUE(rectPieces(rect(5, 5, 5, 30), FRect(0, 0, 100, 100), mode, mode).empty()) << int(mode);
        EXPECT_TRUE(rectPieces(rect(5, 5, 30, 5), FRect(0, 0, 100, 100), mode, mode).empty()) << int(mode);
        EXPECT_TRUE(spritePieces(placement(0, 0, 100, 100), rect(0, 0, 0, 0), mode, SDP_REPEAT).empty());
        EXPECT_TRUE(inRectPieces(rect(9, 0, 3, 10), FRect(0, 0, 100, 100), mode, mode).empty());
    }
}

TEST(SpriteDrawPieces, TinySourceInHugeTargetDrawsTheCappedCountWithoutEndlessLoops) {
    RECT const pixel = rect(0, 0, 1, 1);
    FRect const huge(0, 0, 1.0e7f, 1.0e7f);
    struct Case {
        FRect target;
        u8 modeX, modeY;
    };
    for (Case const& c : {Case{huge, SDP_REPEAT, SDP_REPEAT}, Case{huge, SDP_REPEAT, SDP_SCALE},
                          Case{huge, SDP_REPEAT_INT, SDP_REPEAT_INT}, Case{FRect(0, 0, 128, 128), SDP_REPEAT, SDP_REPEAT}}) {
        std::vector<SpriteQuadPiece> const pieces = rectPieces(pixel, c.target, c.modeX, c.modeY);
        ASSERT_EQ(pieces.size(), kMaxSpritePieces) << int(c.modeX) << " " << int(c.modeY);
        EXPECT_EQ(pieces[0].translation, D3DXVECTOR2(0.0f, 0.0f)) << "the first pieces are the ones kept";
    }
    EXPECT_EQ(spritePieces(placement(0, 0, 1, 1.0e8f), pixel, SDP_STRETCH_NUMBER, SDP_REPEAT).size(), kMaxSpritePieces);
    // Sizes whose piece count cannot be counted still give nothing.
    EXPECT_TRUE(rectPieces(pixel, FRect(0, 0, INFINITY, 10), SDP_REPEAT, SDP_SCALE).empty());
    EXPECT_TRUE(rectPieces(pixel, FRect(0, 0, NAN, 10), SDP_REPEAT, SDP_REPEAT).empty());
    // A zero-wide target with stretch-number would divide by its zero scale.
    EXPECT_TRUE(spritePieces(placement(0, 0, 0, 100), pixel, SDP_STRETCH_NUMBER, SDP_REPEAT).empty());
    // Below the limit every piece is there: 100 x 100 tiles and their 201 remainders.
    EXPECT_EQ(rectPieces(pixel, FRect(0, 0, 100, 100), SDP_REPEAT, SDP_REPEAT).size(), 100u * 100 + 201);
    EXPECT_EQ(rectPieces(pixel, FRect(0, 0, 128, 128), SDP_REPEAT_INT, SDP_REPEAT_INT).size(), kMaxSpritePieces);
}
