// A pile drawn on the real device through a camera: its empty-place picture inside its mapped
// rectangle, the markers of what it accepts when empty unless either rule is "nothing", its mark,
// and nothing at all when it is not to be drawn. A locked face-down card shows the lock over its back.
#include <gtest/gtest.h>

#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/RuleWords.h"
#include "tests/game/cards/TableRenderDevice.h"

namespace Solitaire {
namespace {

using styletest::kClear;
using styletest::kHeight;
using styletest::kWidth;

class PileDrawTest : public styletest::TableRenderTest {
protected:
    void SetUp() override {
        TableRenderTest::SetUp();
        // The 200 x 275 cell at a fifth: 40 x 55 pixels centred on (64, 48).
        camera.setScaleGoal(0.2f, 0.0f);
        camera.setOffsetXGoal(64.0f, 0.0f);
        camera.setOffsetYGoal(48.0f, 0.0f);
    }
    std::vector<uint32_t> drawPile(Kartenstapel& pile) {
        RenderContext context;
        context.sprite = &sprite;
        context.camera = &camera;
        return draw([&] { pile.render(context); });
    }
};

TEST_F(PileDrawTest, EmptyPlaceMarkersAndMarkInsideTheMappedRectangle) {
    Kartenstapel pile(0);
    pile.position = D3DXVECTOR2(0.0f, 0.0f);
    struct Case {
        int colourRule, valueRule;
    };
    Case const cases[] = {{kColourAlles, kValueAlles}, {kColourNichts, kValueAlles}, {kColourAlles, kValueNichts}};
    std::vector<std::vector<uint32_t>> frames;
    for (Case const& c : cases) {
        pile.rules.acceptColourRuleEmpty = c.colourRule;
        pile.rules.acceptValueRuleEmpty = c.valueRule;
        frames.push_back(drawPile(pile));
        std::vector<uint32_t> const& pixels = frames.back();
        int inside = 0;
        for (unsigned y = 0; y < kHeight; ++y)
            for (unsigned x = 0; x < kWidth; ++x) {
                bool const in = x >= 44 && x < 84 && y >= 21 && y < 75;
                bool const out = x < 43 || x > 84 || y < 20 || y > 76;
                if (in && at(pixels, x, y) != kClear) ++inside;
                if (out && at(pixels, x, y) != kClear) ADD_FAILURE() << "drawn outside at " << x << "," << y;
            }
        // At least the outline of the place.
        EXPECT_GT(inside, 40 + 54) << c.colourRule << "," << c.valueRule;
    }
    // Markers only when neither rule is "nothing"; either "nothing" gives the bare place.
    EXPECT_NE(frames[0], frames[1]);
    EXPECT_EQ(frames[1], frames[2]);

    pile.rules.acceptColourRuleEmpty = kColourNichts;
    pile.markState = 1;
    pile.markColour = D3DXCOLOR(1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_NE(drawPile(pile), frames[1]);
    pile.rules.drawPile = false;
    std::vector<uint32_t> const none = drawPile(pile);
    EXPECT_EQ(std::count(none.begin(), none.end(), kClear), static_cast<long>(none.size()));
}

TEST_F(PileDrawTest, ALockedFaceDownCardShowsTheLockOverItsBack) {
    auto* card = new Karte(3, 2, 0, 0);
    card->cardSize = D3DXVECTOR2(40.0f, 55.0f);
    card->position.setAll(D3DXVECTOR2(64, 48), D3DXVECTOR2(64, 48), D3DXVECTOR2(64, 48), 1.0f, false);
    RenderContext context;
    context.sprite = &sprite;
    std::vector<uint32_t> const back = draw([&] { card->render(context); });
    EXPECT_NE(at(back, 64, 48), kClear);
    D3DXVECTOR4 const locked{1.0f, 0.0f, 0.0f, 0.0f};
    card->locks.setAll(locked, locked, locked, 1.0f, false);
    EXPECT_NE(draw([&] { card->render(context); }), back);
    card->release();
}

}  // namespace
}  // namespace Solitaire
