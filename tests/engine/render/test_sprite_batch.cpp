// The engine batcher on the real device: chunks of up to "TEX_COUNT" textures, culling, the
// vertex ring wrapping with a discarding lock, Begin/End rules, sorting, state-block handling,
// immediate mode, and the buffers surviving a lost device.
#include "tests/engine/render/RenderFixture.h"

#include <algorithm>

#include "engine/platform/D3DInterface.h"
#include "port/d3d9/d3d9_port.h"

namespace rendertest {
namespace {

uint32_t batchColour(int i) {
    static uint32_t const colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFFFF00FF,
                                       0xFF00FFFF, 0xFF808080, 0xFFFF8000, 0xFF8000FF, 0xFF0080FF};
    return colours[i % 10];
}

class SpriteBatchTest : public SpriteTest {
protected:
    // Nine 8x8 textures of nine colours in a row at y 10, 12 pixels apart, checked on screen.
    void drawNineAndCheck(int distinct, u32 expectedChunks) {
        std::vector<IDirect3DTexture9*> textures;
        for (int i = 0; i < 9; ++i) textures.push_back(makeTexture(8, 8, {batchColour(i)}));
        clear();
        ASSERT_TRUE(sprite->Begin(0, nullptr));
        for (int i = 0; i < 9; ++i) ASSERT_TRUE(drawAt(textures[i % distinct], 2.0f + 12 * i, 10.0f));
        sprite->End();
        EXPECT_EQ(sprite->getStats().chunks, expectedChunks);
        EXPECT_EQ(sprite->getStats().drawCalls, expectedChunks);  // one pass per technique
        EXPECT_EQ(sprite->getStats().quads, 9u);
        std::vector<uint32_t> pixels = readTarget();
        for (int i = 0; i < 9; ++i) {
            unsigned const x = 2 + 12 * i;
            EXPECT_TRUE(filled(pixels, x, 10, x + 8, 18, batchColour(i % distinct))) << "sprite " << i;
            EXPECT_TRUE(filled(pixels, x + 8, 8, x + 12, 20, kClear)) << "gap after sprite " << i;
        }
        EXPECT_TRUE(filled(pixels, 0, 0, kWidth, 10, kClear));
        EXPECT_TRUE(filled(pixels, 0, 18, kWidth, kHeight, kClear));
    }
};

TEST_F(SpriteBatchTest, NineTexturesWithEightSlotsDrawInTwoChunks) {
    drawNineAndCheck(9, 2);
    EXPECT_EQ(sprite->getTextureSlotCount(), 8);
    drawNineAndCheck(7, 1);  // nine sprites of seven textures: one chunk
}

TEST_F(SpriteBatchTest, TextureCountComesFromTheEffectAndIsKeptWithinEightSlots) {
    sprite->setEffect(loadSpriteEffect("4"));
    drawNineAndCheck(9, 3);
    EXPECT_EQ(sprite->getTextureSlotCount(), 4);
    // Only eight texture parameters exist: larger counts draw eight per chunk.
    sprite->setEffect(loadSpriteEffect("20"));
    drawNineAndCheck(9, 2);
    EXPECT_EQ(sprite->getTextureSlotCount(), 8);
    // A count below one could not even hold the first texture: one per chunk.
    sprite->setEffect(loadSpriteEffect("0"));
    drawNineAndCheck(9, 9);
    EXPECT_EQ(sprite->getTextureSlotCount(), 1);
}

TEST_F(SpriteBatchTest, SpritesLandOnTheirPixelsWithTheirColoursAndSourceRects) {
    // A 4x2 texture of two halves; the right half tinted, placed by scaling.
    IDirect3DTexture9* halves = makeTexture(4, 2, {0xFFFF0000, 0xFFFF0000, 0xFFFFFFFF, 0xFFFFFFFF,
                                                   0xFFFF0000, 0xFFFF0000, 0xFFFFFFFF, 0xFFFFFFFF});
    ASSERT_TRUE(sprite->Begin(D3DXSPRITE_ALPHABLEND, nullptr));
    RECT const right{2, 0, 4, 2};
    D3DXVECTOR2 const scaling(5, 5);
    D3DXVECTOR2 const position(20, 30);
    EXPECT_TRUE(sprite->DrawSprite2D(halves, &right, &scaling, nullptr, 0.0f, &position, 0xFF00FF00));
    EXPECT_TRUE(drawAt(halves, 50, 30));
    sprite->End();
    std::vector<uint32_t> pixels = readTarget();
    EXPECT_TRUE(filled(pixels, 20, 30, 30, 40, 0xFF00FF00));
    EXPECT_TRUE(filled(pixels, 30, 30, 50, 40, kClear));
    EXPECT_TRUE(filled(pixels, 50, 30, 52, 32, 0xFFFF0000));
    EXPECT_TRUE(filled(pixels, 52, 30, 54, 32, 0xFFFFFFFF));
}

TEST_F(SpriteBatchTest, CullingDropsSpritesWhollyOutsideAndKeepsEdgeTouchers) {
    IDirect3DTexture9* t = makeTexture(10, 10, {0xFF00FF00});
    ASSERT_TRUE(sprite->Begin(kSpriteCulling, nullptr));
    EXPECT_FALSE(drawAt(t, -20, 5));                   // wholly left of x = 0
    EXPECT_FALSE(drawAt(t, 5, kHeight + 0.5f));        // wholly below
    EXPECT_TRUE(drawAt(t, -10, 5));                    // right edge on x = 0
    EXPECT_TRUE(drawAt(t, kWidth, 30));                // left edge on the right border
    EXPECT_TRUE(drawAt(t, -5, 50));                    // half inside
    // Turned by 45 degrees about its middle, its box reaches into the target.
    D3DXVECTOR2 const centre(5, 5);
    D3DXVECTOR2 const position(-12, 70);
    EXPECT_TRUE(sprite->DrawSprite2D(t, nullptr, nullptr, &centre, 0.785398f, &position, 0xFFFFFFFF));
    EXPECT_EQ(sprite->getStats().culled, 2u);
    EXPECT_EQ(sprite->get2DList().size(), 4u);
    sprite->End();
    std::vector<uint32_t> pixels = readTarget();
    EXPECT_TRUE(filled(pixels, 0, 50, 5, 60, 0xFF00FF00));
    EXPECT_TRUE(filled(pixels, 0, 0, kWidth, 50, kClear));
    // Without the flag nothing is dropped.
    ASSERT_TRUE(sprite->Begin(0, nullptr));
    EXPECT_TRUE(drawAt(t, -20, 5));
    sprite->End();
    EXPECT_EQ(sprite->getStats().culled, 0u);
}

TEST_F(SpriteBatchTest, RingWrapsWithADiscardingLockAndLosesNothing) {
    IDirect3DTexture9* white = makeTexture(1, 1, {0xFFFFFFFF});
    IDirect3DTexture9* dot = makeTexture(2, 2, {0xFFFFFFFF});
    // Fill the ring to 16000 + 4 with sprites drawn off to the right (culling is off).
    ASSERT_TRUE(sprite->Begin(0, nullptr));
    for (int i = 0; i < 16000; ++i) drawAt(white, kWidth + 10.0f, 0);
    sprite->End();
    EXPECT_EQ(sprite->getRingPosition(), 16004u);
    EXPECT_EQ(sprite->getStats().discardLocks, 0u);
    // 1000 sprites of their own colours on a grid: 380 fit before the ring's end, the rest start
    // at quad 4 with a discarding lock.
    clear(0xFF000000);
    ASSERT_TRUE(sprite->Begin(0, nullptr));
    auto colour = [](int i) { return 0xFF000000u | ((i * 37u) & 0xFF) << 16 | ((i * 11u) & 0xFF) << 8 | (i & 0xFF); };
    for (int i = 0; i < 1000; ++i) drawAt(dot, 2.0f * (i % 50), 2.0f * (i / 50), colour(i) | 0xFF000001);
    sprite->End();
    EXPECT_EQ(sprite->getStats().chunks, 2u);
    EXPECT_EQ(sprite->getStats().discardLocks, 1u);
    EXPECT_EQ(sprite->getRingPosition(), 4u + 620u + 4u);
    std::vector<uint32_t> pixels = readTarget();
    int wrong = 0;
    for (int i = 0; i < 1000; ++i)
        if (!filled(pixels, 2 * (i % 50), 2 * (i / 50), 2 * (i % 50) + 2, 2 * (i / 50) + 2, colour(i) | 0xFF000001))
            ++wrong;
    EXPECT_EQ(wrong, 0);
}

TEST_F(SpriteBatchTest, BeginDoesNotNestAndEndWithoutBeginDoesNothing) {
    IDirect3DTexture9* t = makeTexture(4, 4, {0xFFFF0000});
    EXPECT_FALSE(sprite->End());
    EXPECT_FALSE(drawAt(t, 0, 0));  // outside Begin
    ASSERT_TRUE(sprite->Begin(0, nullptr));
    EXPECT_TRUE(sprite->isInBegin());
    EXPECT_TRUE(drawAt(t, 0, 0));
    EXPECT_FALSE(sprite->Begin(D3DXSPRITE_ALPHABLEND, nullptr));
    EXPECT_TRUE(drawAt(t, 10, 0));
    EXPECT_FALSE(sprite->DrawSprite2D(nullptr, nullptr, nullptr, 0xFFFFFFFF));
    EXPECT_EQ(sprite->get2DList().size(), 2u);
    sprite->End();
    EXPECT_FALSE(sprite->isInBegin());
    std::vector<uint32_t> pixels = readTarget();
    EXPECT_TRUE(filled(pixels, 0, 0, 4, 4, 0xFFFF0000));
    EXPECT_TRUE(filled(pixels, 10, 0, 14, 4, 0xFFFF0000));
    // Records stay after End until the next Begin; 3D sprites queued outside are dropped there.
    EXPECT_EQ(sprite->get2DList().size(), 2u);
    D3DXVECTOR3 const scaling(4, 4, 1);
    EXPECT_TRUE(sprite->drawSprite3D(t, nullptr, &scaling, nullptr, nullptr, nullptr, 0xFFFFFFFF));
    EXPECT_EQ(sprite->get3DList().size(), 1u);
    ASSERT_TRUE(sprite->Begin(0, nullptr));
    EXPECT_TRUE(sprite->get2DList().empty());
    EXPECT_TRUE(sprite->get3DList().empty());
    sprite->End();
}

TEST_F(SpriteBatchTest, BeginNeedsAnEffectAndAnUnloadedEffectDrawsNothing) {
    sprite->setEffect(nullptr);
    EXPECT_FALSE(sprite->Begin(0, nullptr));
    // An effect that never loaded has no D3DX effect: the batch is dropped, nothing crashes.
    auto* empty = new Orvex::Effect(false);
    IDirect3DTexture9* t = makeTexture(4, 4, {0xFFFF0000});
    ASSERT_TRUE(sprite->Begin(0, empty));
    EXPECT_TRUE(drawAt(t, 0, 0));
    sprite->End();
    EXPECT_TRUE(filled(readTarget(), 0, 0, 4, 4, kClear));
    empty->release();
}

TEST_F(SpriteBatchTest, TextureSortOrdersByAddressHighestFirst) {
    std::vector<IDirect3DTexture9*> t;
    for (int i = 0; i < 5; ++i) t.push_back(makeTexture(2, 2, {batchColour(i)}));
    ASSERT_TRUE(sprite->Begin(D3DXSPRITE_SORT_TEXTURE, nullptr));
    for (int i : {2, 0, 4, 1, 3}) drawAt(t[i], 4.0f * i, 0);
    sprite->End();
    auto const& list = sprite->get2DList();
    ASSERT_EQ(list.size(), 5u);
    for (size_t i = 1; i < list.size(); ++i)
        EXPECT_GT(reinterpret_cast<uintptr_t>(list[i - 1].texture), reinterpret_cast<uintptr_t>(list[i].texture));
}

// Sorting by texture leaves sprites of one texture in the order std::sort of the records gives
// (sprites of one texture may overlap, so the order shows), whatever the list's length.
TEST_F(SpriteBatchTest, TextureSortKeepsTheOrderOfSortingTheRecords) {
    std::vector<IDirect3DTexture9*> t;
    for (int i = 0; i < 7; ++i) t.push_back(makeTexture(2, 2, {batchColour(i)}));
    auto queue = [&](u32 flags) {
        ASSERT_TRUE(sprite->Begin(flags, nullptr));
        for (int i = 0; i < 300; ++i) drawAt(t[(i * 5 + i / 7) % 7], static_cast<float>(i % 60), static_cast<float>(i / 60));
        sprite->End();
    };
    queue(0);
    std::vector<Orvex::SpriteDrawRecord> expected = sprite->get2DList();
    std::sort(expected.begin(), expected.end(), [](Orvex::SpriteDrawRecord const& a, Orvex::SpriteDrawRecord const& b) {
        return reinterpret_cast<uintptr_t>(a.texture) > reinterpret_cast<uintptr_t>(b.texture);
    });
    queue(D3DXSPRITE_SORT_TEXTURE);
    auto const& sorted = sprite->get2DList();
    ASSERT_EQ(sorted.size(), expected.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        EXPECT_EQ(sorted[i].texture, expected[i].texture) << i;
        EXPECT_EQ(sorted[i].vertices[0].x, expected[i].vertices[0].x) << i;
        EXPECT_EQ(sorted[i].vertices[0].y, expected[i].vertices[0].y) << i;
    }
}

}  // namespace
}  // namespace rendertest
