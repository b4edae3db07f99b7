// Drawing the current frame: the pieces handed to the sprite (parts cut to each piece's
// window, placed and scaled by the draw modes), and frames of the example sheet drawn through
// the engine batcher on the real device landing on their pixels.
#include <gtest/gtest.h>

#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "tests/engine/render/AnimationSupport.h"
#include "tests/engine/render/RenderFixture.h"

using Orvex::SpriteRect;
using Orvex::Texture2DAnimation;
using namespace rendertest;

namespace {

// Records the transform-form draws it is handed.
class RecordingSprite : public Orvex::BaseSprite {
public:
    struct Draw {
        IDirect3DTexture9* texture;
        RECT source;
        D3DXVECTOR2 scaling, centre, translation;
        float rotation;
        D3DCOLOR colour;
    };
    std::vector<Draw> draws;

    bool create() override { return true; }
    bool Begin(Orvex::u32, Orvex::Effect*) override { return true; }
    bool End() override { return true; }
    void resumeBatch() override {}
    bool flushBatch() override { return true; }
    bool isInBegin() override { return true; }
    void onLostDevice() override {}
    void onResetDevice() override {}
    bool DrawSprite2D(IDirect3DTexture9* const&, RECT const*, D3DXMATRIX const*, D3DCOLOR const&) override {
        ADD_FAILURE() << "frames are drawn in the placement form";
        return false;
    }
    bool DrawSprite2D(IDirect3DTexture9* const& texture, RECT const* source, D3DXVECTOR2 const* scaling,
                      D3DXVECTOR2 const* centre, float const& rotation, D3DXVECTOR2 const* translation,
                      D3DCOLOR const& colour) override {
        draws.push_back(Draw{texture, *source, *scaling, *centre, *translation, rotation, colour});
        return true;
    }
    bool drawSprite3D(IDirect3DTexture9* const&, RECT const*, D3DXVECTOR3 const*, D3DXQUATERNION const*,
                      D3DXVECTOR3 const*, D3DXVECTOR3 const*, D3DCOLOR const&) override {
        return false;
    }
};

// A 20 x 10 frame of two 10 x 10 parts side by side (textures "left" and "right").
std::wstring const kTwoParts =
    L"<ANIMATION_2D><FRAME FRAME_SIZE=\"20 10\">"
    L"<FRAME_PART TEXTUR=\"left\" TEX_RECT=\"0 0 10 10\" RB=\"-10 0\"/>"
    L"<FRAME_PART TEXTUR=\"right\" TEX_RECT=\"0 0 10 10\" TL=\"10 0\"/>"
    L"</FRAME></ANIMATION_2D>";

}  // namespace

class AnimationPiecesTest : public AnimationFixture {};

TEST_F(AnimationPiecesTest, TiledPiecesCutThePartsToTheirWindow) {
    addTexture(L"left", 10, 10);
    addTexture(L"right", 10, 10);
    auto a = make(kTwoParts);
    RecordingSprite sprite;
    // 45 wide in repeat: two whole frames and a last piece of 5 frame pixels.
    a->buildFrameQuads(sprite, placement(0, 0, 45, 10), Orvex::SDP_REPEAT, Orvex::SDP_SCALE, 0xFFFFFFFF);
    ASSERT_EQ(sprite.draws.size(), 5u);
    float const x[] = {0.0f, 10.0f, 20.0f, 30.0f, 40.0f};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(sprite.draws[i].translation.x, x[i]) << i;
    EXPECT_TRUE(rectIs(sprite.draws[4].source, 0, 0, 5, 10));  // half of the left part
}

TEST_F(AnimationPiecesTest, EmptyFramesAndMissingTexturesDrawNothing) {
    RecordingSprite sprite;
    auto empty = make(L"<ANIMATION_2D/>");
    empty->buildFrameQuads(sprite, placement(0, 0, 10, 10), Orvex::SDP_SCALE, Orvex::SDP_SCALE, 0xFFFFFFFF);
    auto textureless = make(frames(2, L""));
    textureless->buildFrameQuads(sprite, placement(0, 0, 10, 10), Orvex::SDP_SCALE, Orvex::SDP_SCALE, 0xFFFFFFFF);
    EXPECT_TRUE(sprite.draws.empty());
}

// The example sheet through the engine batcher and the "Sprite" effect (point-filtered).
class AnimationPixelsTest : public SpriteTest {
protected:
    void SetUp() override {
        SpriteTest::SetUp();
        addTestDataSearchPath();
        Orvex::XMLNode list;
        ASSERT_TRUE(list.load(testDataFolder() + L"\\animations\\walker.ani"));
        registry.load(list);
        ASSERT_NE(registry.findAnimation(L"walker"), nullptr);
    }
    void draw(Texture2DAnimation& animation, SpriteRect const& where, Orvex::u8 modeX = Orvex::SDP_SCALE,
              Orvex::u8 modeY = Orvex::SDP_SCALE) {
        ASSERT_TRUE(sprite->Begin(D3DXSPRITE_ALPHABLEND, nullptr));
        animation.buildFrameQuads(*sprite, where, modeX, modeY, 0xFFFFFFFF);
        sprite->End();
    }

    Orvex::Texture2DAnimationManager& registry = Orvex::Texture2DAnimationManager::instance();
    static constexpr uint32_t kBlack = 0xFF000000;
};

TEST_F(AnimationPixelsTest, CurrentFrameLandsOnItsPixels) {
    Held<Texture2DAnimation> walker(registry.findAnimation(L"walker")->clone());
    // Frame 0 (red, black border) doubled to 32 x 32 at (8, 8).
    draw(*walker, placement(8, 8, 32, 32));
    // Frame 5 (magenta) at its own size at (60, 8) after five frames of play.
    walker->update(5.0 / 8.0);
    ASSERT_EQ(walker->getCurrentFrameIndex(), 5);
    draw(*walker, placement(60, 8, 16, 16));
    std::vector<uint32_t> pixels = readTarget();
    EXPECT_TRUE(filled(pixels, 10, 10, 38, 38, 0xFFFF0000));
    EXPECT_TRUE(filled(pixels, 8, 8, 40, 10, kBlack));
    EXPECT_TRUE(filled(pixels, 38, 10, 40, 40, kBlack));
    EXPECT_TRUE(filled(pixels, 61, 9, 75, 23, 0xFFFF00FF));
    EXPECT_TRUE(filled(pixels, 40, 0, 60, 40, kClear));
    EXPECT_TRUE(filled(pixels, 0, 40, kWidth, kHeight, kClear));
}

TEST_F(AnimationPixelsTest, TiledFrameAndInsetCells) {
    // "walker_bounce" cuts one pixel off every side: its cells are the borderless colours.
    Held<Texture2DAnimation> bounce(registry.findAnimation(L"walker_bounce")->clone());
    bounce->setPosition(2.0f);  // blue
    // 14 x 14 cells tiled over 35 x 14: two whole tiles and a last one of 7 columns.
    draw(*bounce, placement(4, 4, 35, 14), Orvex::SDP_REPEAT, Orvex::SDP_SCALE);
    std::vector<uint32_t> pixels = readTarget();
    EXPECT_TRUE(filled(pixels, 4, 4, 39, 18, 0xFF0000FF));
    EXPECT_TRUE(filled(pixels, 39, 0, kWidth, 40, kClear));
    EXPECT_TRUE(filled(pixels, 0, 18, kWidth, kHeight, kClear));
}

TEST_F(AnimationPixelsTest, FrameOfTwoPartsFromOneSheet) {
    Orvex::XMLNode node = parse(L"<ANIMATION_2D><FRAME FRAME_SIZE=\"32 16\" TEXTUR=\"walker_sheet\">"
                                L"<FRAME_PART TEX_RECT=\"0 0 16 16\" RB=\"-16 0\"/>"
                                L"<FRAME_PART TEX_RECT=\"32 0 48 16\" TL=\"16 0\"/>"
                                L"</FRAME></ANIMATION_2D>");
    Held<Texture2DAnimation> pair(new Texture2DAnimation(node));
    draw(*pair, placement(8, 50, 64, 32));
    std::vector<uint32_t> pixels = readTarget();
    EXPECT_TRUE(filled(pixels, 10, 52, 38, 80, 0xFFFF0000));
    EXPECT_TRUE(filled(pixels, 42, 52, 70, 80, 0xFF0000FF));
    EXPECT_TRUE(filled(pixels, 38, 50, 42, 82, kBlack));
}
