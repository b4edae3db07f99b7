// Frame animation definitions on real textures: sheets cut into cells (columns, rows, start
// cell, insets, reverse, order, load scale), explicit frames of parts, texture lookup and
// references, and the guards on sheet counts from data.
#include <gtest/gtest.h>

#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureSettings.h"
#include "tests/engine/render/AnimationSupport.h"

using Orvex::Texture2DAnimation;
using namespace rendertest;

namespace {

std::vector<RECT> rects(Texture2DAnimation const& animation) {
    std::vector<RECT> out;
    for (auto const& frame : animation.getFrames()) out.push_back(frame.rect);
    return out;
}

bool same(std::vector<RECT> const& a, std::vector<RECT> const& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].left != b[i].left || a[i].top != b[i].top || a[i].right != b[i].right || a[i].bottom != b[i].bottom)
            return false;
    }
    return true;
}

std::wstring sheet(std::wstring const& params, std::wstring const& texture = L"TEXTUR=\"sheet\"") {
    return L"<ANIMATION_2D NAME=\"a\"><FRAMES " + texture + L"><FRAME_PARAMS " + params + L"/></FRAMES></ANIMATION_2D>";
}

}  // namespace

class AnimationSheetTest : public AnimationFixture {};

TEST_F(AnimationSheetTest, CellsByColumnsAndRows) {
    addTexture(L"sheet", 200, 300);
    auto a = make(sheet(L"ANZ_FRAMES=\"5\" SPALTEN=\"2\""));
    EXPECT_TRUE(same(rects(*a), {{0, 0, 100, 100}, {100, 0, 200, 100}, {0, 100, 100, 200}, {100, 100, 200, 200},
                                 {0, 200, 100, 300}}));
    EXPECT_EQ(a->getFrameSize(), D3DXVECTOR2(100.0f, 100.0f));
    for (auto const& frame : a->getFrames()) {
        EXPECT_EQ(frame.width, 100.0f);
        ASSERT_EQ(frame.parts.size(), 1u);
        EXPECT_EQ(frame.parts[0].tl, D3DXVECTOR2(0.0f, 0.0f));
        EXPECT_EQ(frame.parts[0].rb, D3DXVECTOR2(0.0f, 0.0f));
    }

    auto reversed = make(sheet(L"ANZ_FRAMES=\"3\" SPALTEN=\"2\" REVERSE=\"1\""));
    EXPECT_TRUE(same(rects(*reversed), {{0, 150, 100, 300}, {100, 0, 200, 150}, {0, 0, 100, 150}}));

    // Uneven cells round their edges to the nearest pixel.
    addTexture(L"odd", 10, 10);
    auto odd = make(sheet(L"ANZ_FRAMES=\"3\" SPALTEN=\"3\"", L"TEXTUR=\"odd\""));
    EXPECT_TRUE(same(rects(*odd), {{0, 0, 3, 10}, {3, 0, 7, 10}, {7, 0, 10, 10}}));
}

TEST_F(AnimationSheetTest, InsetsStartCellAndOrder) {
    addTexture(L"sheet", 200, 300);
    auto cut = make(sheet(L"ANZ_FRAMES=\"2\" SPALTEN=\"2\" CUT_RAND=\"2\""));
    EXPECT_TRUE(same(rects(*cut), {{2, 2, 98, 298}, {102, 2, 198, 298}}));
    auto four = make(sheet(L"ANZ_FRAMES=\"1\" CUT_RAND=\"1 2 3 4\""));
    EXPECT_TRUE(same(rects(*four), {{1, 2, 197, 296}}));
    auto two = make(sheet(L"ANZ_FRAMES=\"1\" CUT_RAND=\"1 2\""));
    EXPECT_TRUE(same(rects(*two), {{1, 2, 199, 298}}));

    auto start = make(sheet(L"ANZ_FRAMES=\"3\" SPALTEN=\"2\" RECT_START=\"10 20 30 50\""));
    EXPECT_TRUE(same(rects(*start), {{10, 20, 30, 50}, {30, 20, 50, 50}, {10, 50, 30, 80}}));
    auto partial = make(sheet(L"ANZ_FRAMES=\"1\" RECT_START=\"5 5\""));
    EXPECT_TRUE(same(rects(*partial), {{5, 5, 0, 0}}));

    auto ordered = make(L"<ANIMATION_2D><FRAMES TEXTUR=\"sheet\"><FRAME_PARAMS ANZ_FRAMES=\"4\" SPALTEN=\"4\">"
                        L"<ORDER>\"|3|\" \"|0 - 1|\"</ORDER></FRAME_PARAMS></FRAMES></ANIMATION_2D>");
    EXPECT_TRUE(same(rects(*ordered), {{150, 0, 200, 300}, {0, 0, 50, 300}, {50, 0, 100, 300}}));
}

TEST_F(AnimationSheetTest, ColumnAndCountGuards) {
    addTexture(L"sheet", 200, 300);
    // "SPALTEN" 0 would divide by zero: it counts as one column.
    auto zero = make(sheet(L"ANZ_FRAMES=\"3\" SPALTEN=\"0\""));
    EXPECT_TRUE(same(rects(*zero), {{0, 0, 200, 100}, {0, 100, 200, 200}, {0, 200, 200, 300}}));
    auto negative = make(sheet(L"ANZ_FRAMES=\"2\" SPALTEN=\"-4\""));
    EXPECT_EQ(negative->getFrameCount(), 2u);
    EXPECT_EQ(make(sheet(L"ANZ_FRAMES=\"0\""))->getFrameCount(), 0u);
    EXPECT_EQ(make(sheet(L"ANZ_FRAMES=\"-5\" SPALTEN=\"2\""))->getFrameCount(), 0u);
    auto huge = make(sheet(L"ANZ_FRAMES=\"2000000000\" SPALTEN=\"2000000000\""));
    EXPECT_EQ(huge->getFrameCount(), static_cast<Orvex::u32>(Texture2DAnimation::kMaxSheetFrames));
}

// Edges from data far outside int: the edges stop at the frame edge bound, and sizes come out
// as the distance between them (no int overflow on the way).
TEST_F(AnimationSheetTest, ExtremeInsetsGiveSaneSizes) {
    addTexture(L"sheet", 200, 300);
    LONG const bound = Texture2DAnimation::kMaxFrameEdge;
    auto wide = make(sheet(L"ANZ_FRAMES=\"1\" CUT_RAND=\"-3e9\""));
    ASSERT_EQ(wide->getFrameCount(), 1u);
    EXPECT_TRUE(same(rects(*wide), {{-bound, -bound, bound, bound}}));
    EXPECT_EQ(wide->getFrames()[0].width, 2.0f * static_cast<float>(bound));
    EXPECT_EQ(wide->getFrameSize(), D3DXVECTOR2(2.0f * static_cast<float>(bound), 2.0f * static_cast<float>(bound)));
    auto inverted = make(sheet(L"ANZ_FRAMES=\"1\" CUT_RAND=\"3e9 inf\""));
    EXPECT_TRUE(same(rects(*inverted), {{bound, 0, -bound, 0}}));
    EXPECT_EQ(inverted->getFrames()[0].width, -2.0f * static_cast<float>(bound));
}

TEST(AnimationFrameEdges, ExtremeTextureRectanglesGiveSaneSizes) {
    LONG const bound = Texture2DAnimation::kMaxFrameEdge;
    auto a = make(L"<ANIMATION_2D><FRAME><FRAME_PART TEX_RECT=\"-3e9 -1e12 3e9 1e12\"/></FRAME></ANIMATION_2D>");
    ASSERT_EQ(a->getFrameCount(), 1u);
    EXPECT_TRUE(same({a->getFrames()[0].rect}, {{-bound, -bound, bound, bound}}));
    EXPECT_EQ(a->getFrameSize(), D3DXVECTOR2(2.0f * static_cast<float>(bound), 2.0f * static_cast<float>(bound)));
}

TEST_F(AnimationSheetTest, WholeImagesTextureLookupAndReferences) {
    Orvex::Texture2D* own = addTexture(L"self", 32, 16);
    Orvex::Texture2D* other = addTexture(L"other", 8, 8);
    EXPECT_EQ(own->getRefCount(), 1);
    {
        // No "TEXTUR" (or an empty one): the animation's name; a missing texture skips the sheet.
        auto a = make(L"<ANIMATION_2D NAME=\"self\"><FRAMES/><FRAMES TEXTUR=\"\"/><FRAMES TEXTUR=\"other\"/>"
                      L"<FRAMES TEXTUR=\"missing\"/></ANIMATION_2D>");
        EXPECT_TRUE(same(rects(*a), {{0, 0, 32, 16}, {0, 0, 32, 16}, {0, 0, 8, 8}}));
        EXPECT_EQ(a->getFrames()[2].texture, other);
        // Each frame holds its texture twice (the frame and its part).
        EXPECT_EQ(own->getRefCount(), 5);
        // A clone shares the frames: no reference more.
        Held<Texture2DAnimation> clone(a->clone());
        EXPECT_EQ(own->getRefCount(), 5);
    }
    EXPECT_EQ(own->getRefCount(), 1);
    EXPECT_EQ(other->getRefCount(), 1);

    // The device object's list is the last place looked in.
    auto* device = new Orvex::Texture2D(L"on_device");
    ASSERT_TRUE(device->create(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    Orvex::D3DInterface::getInstance().getTextureManager().addTexture(device, true);
    auto d = make(L"<ANIMATION_2D><FRAMES TEXTUR=\"on_device\"/></ANIMATION_2D>");
    ASSERT_EQ(d->getFrameCount(), 1u);
    EXPECT_EQ(d->getFrames()[0].texture, device);
}

TEST_F(AnimationSheetTest, ExplicitFramesOfParts) {
    Orvex::Texture2D* base = addTexture(L"base", 64, 64);
    Orvex::Texture2D* over = addTexture(L"over", 16, 16);
    auto a = make(L"<ANIMATION_2D>"
                  L"<FRAME FRAME_SIZE=\"40 30\" TEXTUR=\"base\">"
                  L"<FRAME_PART TEX_RECT=\"1 2 3 4\" TL=\"5\" RB=\"-1 -2\"/>"
                  L"<FRAME_PART TEXTUR=\"over\" TEX_RECT=\"7\"/>"
                  L"<FRAME_PART TEXTUR=\"missing\" TEX_RECT=\"1 2\"/>"
                  L"<FRAME_PART TEX_RECT=\"1 2 9\"/>"
                  L"</FRAME>"
                  L"<FRAME FRAME_SIZE=\"12\"/>"
                  L"</ANIMATION_2D>");
    ASSERT_EQ(a->getFrameCount(), 2u);
    Orvex::AnimationFrame const& f = a->getFrames()[0];
    EXPECT_EQ(f.width, 40.0f);
    EXPECT_EQ(f.height, 30.0f);
    EXPECT_EQ(f.texture, base);
    EXPECT_TRUE(same({f.rect}, {{1, 2, 3, 4}}));
    ASSERT_EQ(f.parts.size(), 4u);
    EXPECT_EQ(f.parts[0].tl, D3DXVECTOR2(5.0f, 5.0f));
    EXPECT_EQ(f.parts[0].rb, D3DXVECTOR2(-1.0f, -2.0f));
    EXPECT_EQ(f.parts[1].texture, over);
    EXPECT_TRUE(same({f.parts[1].texRect}, {{7, 0, 7, 0}}));
    EXPECT_EQ(f.parts[2].texture, base);  // a part texture that is not found keeps the default
    EXPECT_TRUE(same({f.parts[2].texRect}, {{1, 2, 1, 2}}));
    EXPECT_TRUE(same({f.parts[3].texRect}, {{1, 2, 9, 9}}));
    Orvex::AnimationFrame const& empty = a->getFrames()[1];
    EXPECT_EQ(empty.width, 12.0f);
    EXPECT_EQ(empty.height, 12.0f);
    EXPECT_EQ(empty.texture, nullptr);
    EXPECT_EQ(a->getFrameSize(), D3DXVECTOR2(2.0f, 2.0f));
}

TEST_F(AnimationSheetTest, ReducedTexturesScaleTheStartCellAndInsets) {
    Orvex::TextureModuleSettings& settings = Orvex::TextureModuleSettings::get();
    Orvex::TextureModuleSettings const saved = settings;
    settings.globalScale = 0.5f;
    settings.globalScaleEnabled = true;
    auto* texture = new Orvex::Texture2D(L"half");
    bool const loaded = texture->loadFromFile(L"animations\\walker_sheet.png");
    settings = saved;
    ASSERT_TRUE(loaded);
    texture->setName(L"half");  // loading names a texture after its file
    Orvex::Texture2DAnimationManager::instance().getTextures().addTexture(texture, true);
    ASSERT_EQ(texture->getScale(), D3DXVECTOR2(0.5f, 0.5f));
    ASSERT_EQ(texture->getWidth(), 32u);

    auto a = make(sheet(L"ANZ_FRAMES=\"3\" SPALTEN=\"4\" RECT_START=\"0 16 16 32\" CUT_RAND=\"2\"",
                        L"TEXTUR=\"half\""));
    EXPECT_TRUE(same(rects(*a), {{1, 9, 7, 15}, {9, 9, 15, 15}, {17, 9, 23, 15}}));
    // Without a start cell the cells follow the reduced image as it is.
    auto b = make(sheet(L"ANZ_FRAMES=\"8\" SPALTEN=\"4\"", L"TEXTUR=\"half\""));
    ASSERT_EQ(b->getFrameCount(), 8u);
    EXPECT_TRUE(same({b->getFrames()[5].rect}, {{8, 8, 16, 16}}));
}
