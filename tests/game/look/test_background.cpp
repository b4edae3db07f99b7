// The table background on the real device: the shipped picture stretched over the frame's target
// rectangle and nothing outside it, a new picture drawn when asked; a background without picture
// or sprite draws nothing but still takes part in the frame, first, and is never picked.
#include <gtest/gtest.h>

#include <set>

#include "engine/core/XMLNode.h"
#include "engine/render/Texture2D.h"
#include "game/look/Background.h"
#include "tests/game/look/TableDevice.h"

namespace Solitaire {
namespace {

using styletest::kClear;
using styletest::kHeight;
using styletest::kWidth;

class BackgroundDrawTest : public styletest::TableDeviceTest {
protected:
    void TearDown() override {
        if (background) background->release();
        TableDeviceTest::TearDown();
    }
    std::vector<uint32_t> draw(RenderContext const& context) {
        return TableDeviceTest::draw([&] { background->render(context); });
    }

    Background* background = nullptr;
};

TEST_F(BackgroundDrawTest, TheShippedPictureIsStretchedOverTheTarget) {
    Orvex::XMLNode file;
    ASSERT_TRUE(file.load(L"data\\Cards\\Tisch.bkg"));
    background = new Background(file, L"data\\Cards\\Tisch.bkg");
    ASSERT_EQ(background->getPictures().size(), 2u);
    Orvex::Texture2D* picture = background->getCurrentPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(background->getShapeTexture(), picture);
    for (Orvex::Texture2D* other : background->getPictures()) EXPECT_EQ(other->isSuspended(), other != picture);
    // The two pictures: 16 x 16 checkers of two close colours on 256 x 256.
    bool const green = picture->getName() == L"BACKGROUND_1";
    uint32_t const base = green ? 0xFF195A32 : 0xFF19375F;
    uint32_t const pattern = green ? 0xFF1E6438 : 0xFF1E3E6A;

    RenderContext context;
    context.sprite = &sprite;
    context.target = Orvex::FRect(16, 8, 112, 88);  // 96 x 80: a block becomes 6 x 5 pixels
    std::vector<uint32_t> const pixels = draw(context);
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kWidth) * kHeight);
    for (unsigned j = 0; j < 16; ++j)
        for (unsigned i = 0; i < 16; ++i) {
            uint32_t const want = (i + j) % 2 == 0 ? pattern : base;
            EXPECT_TRUE(testsupport::colorNear(at(pixels, 19 + 6 * i, 10 + 5 * j), want)) << i << "," << j;
        }
    for (unsigned x : {0u, 15u, 112u, 127u}) EXPECT_EQ(at(pixels, x, 40), kClear) << x;
    for (unsigned y : {0u, 7u, 88u, 95u}) EXPECT_EQ(at(pixels, 60, y), kClear) << y;
}

// A variant's start asks for a picture anew: over many draws both pictures come up, the one
// shown is held, and the one shown before is suspended and let go.
TEST_F(BackgroundDrawTest, ANewPictureIsDrawnAndTheOldOneSuspended) {
    Orvex::XMLNode file;
    ASSERT_TRUE(file.load(L"data\\Cards\\Tisch.bkg"));
    background = new Background(file, L"data\\Cards\\Tisch.bkg");
    std::vector<Orvex::Texture2D*> const pictures = background->getPictures();
    ASSERT_EQ(pictures.size(), 2u);
    std::set<Orvex::Texture2D*> shown;
    for (int draw = 0; draw < 64; ++draw) {
        Orvex::Texture2D* before = background->getCurrentPicture();
        background->pickRandomImage();
        Orvex::Texture2D* now = background->getCurrentPicture();
        Orvex::Texture2D* other = pictures[0] == now ? pictures[1] : pictures[0];
        shown.insert(now);
        EXPECT_EQ(now->getRefCount(), other->getRefCount() + 1) << "the one shown is held once more";
        if (now != before) EXPECT_TRUE(before->isSuspended());
    }
    EXPECT_EQ(shown.size(), 2u);
}

TEST_F(BackgroundDrawTest, WithoutPictureOrSpriteNothingIsDrawnButItIsQueuedFirst) {
    Orvex::XMLNode empty = styletest::tree(L"<BACKGROUND NAME=\"LEER\"><TEXTUR2D NAME=\"OTHER\"/></BACKGROUND>");
    background = new Background(empty);
    RenderContext context;
    context.sprite = &sprite;
    context.target = Orvex::FRect(0, 0, kWidth, kHeight);
    std::vector<uint32_t> pixels = draw(context);
    EXPECT_EQ(at(pixels, 64, 48), kClear);

    RenderQueue queue;
    auto* other = new Background(L"SPAETER");
    queue.add(other, 0.5f);
    background->queueRender(queue, context);
    queue.sortItems();
    ASSERT_EQ(queue.items().size(), 2u);
    EXPECT_EQ(queue.items().front().object, background);
    EXPECT_EQ(queue.items().front().order, 0.0f);
    other->release();
    // Never picked: an empty quad.
    Orvex::SpriteRect const quad = background->getScreenQuad();
    EXPECT_EQ(quad.w, 0.0f);
    EXPECT_EQ(quad.h, 0.0f);

    // A picture but no sprite in the context: nothing.
    background->release();
    Orvex::XMLNode file;
    ASSERT_TRUE(file.load(L"data\\Cards\\Tisch.bkg"));
    background = new Background(file);
    context.sprite = nullptr;
    pixels = draw(context);
    EXPECT_EQ(at(pixels, 64, 48), kClear);
}

}  // namespace
}  // namespace Solitaire
