// Card drawing with indices and counts taken from data: a face slot, extra face, back or tint
// index out of range never reads outside the card set's or style's tables; a mark falloff of 0
// does not divide by 0; huge shadow counts are bounded per card; a dealt joker's corners come from
// its own face.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/cards/CardDrawing.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "tests/game/cards/TableRenderDevice.h"

namespace Solitaire {
namespace {

using styletest::bluish;
using styletest::kClear;

class CardDrawFaultTest : public styletest::TableRenderTest {
protected:
    void TearDown() override {
        for (Karte* card : made) card->release();
        TableRenderTest::TearDown();
    }
    Karte* makeCard(int suit, int value, bool up) {
        auto* card = new Karte(value, suit, 0, 0);
        card->cardSize = D3DXVECTOR2(40.0f, 55.0f);
        card->position.setAll(D3DXVECTOR2(64, 48), D3DXVECTOR2(64, 48), D3DXVECTOR2(64, 48), 1.0f, false);
        float const f = up ? 1.0f : 0.0f;
        card->face.setAll(f, f, f, 1.0f, false);
        made.push_back(card);
        return card;
    }
    std::vector<uint32_t> drawCard(Karte* card) {
        RenderContext context;
        context.sprite = &sprite;
        return draw([&] { card->render(context); });
    }
    uint32_t tint(int index) {
        D3DXCOLOR const& k = StyleSettings::instance().getStyle()->shadingColour(index);
        return toColour(D3DXCOLOR(k.r, k.g, k.b, 1.0f));
    }

    std::vector<Karte*> made;
};

TEST_F(CardDrawFaultTest, FaceSlotsOutsideTheSetDrawNothing) {
    struct Case {
        int suit, value;
        bool drawn;
    };
    // Suit x 13 + value beyond the faces, a negative value, an extra face past its group, the
    // empty EXTRA row of the faces; a real extra face and a joker draw.
    Case const cases[] = {{9, 0, false},  {3, 13, false}, {0, -1, false}, {Karte::kSuitExtra, 25, false},
                          {Karte::kSuitExtra, -2, false}, {Karte::kSuitExtra, 0, true}, {2, 12, true}};
    for (Case const& c : cases) {
        Karte* card = makeCard(c.suit, c.value, true);
        std::vector<uint32_t> const pixels = drawCard(card);
        EXPECT_EQ(at(pixels, 64, 48) != kClear, c.drawn) << c.suit << "," << c.value;
    }
    Karte* joker = makeCard(9, 99, true);
    joker->isJoker = true;
    EXPECT_NE(at(drawCard(joker), 64, 48), kClear);
}

// A dealt joker shows its own card's corner indices over the joker's; a bought one is the joker.
TEST_F(CardDrawFaultTest, ADealtJokerShowsItsCardsCorners) {
    Karte* dealt = makeCard(2, 6, true);
    Karte* bought = makeCard(2, 6, true);
    dealt->isJoker = bought->isJoker = bought->bought = true;
    std::vector<uint32_t> const face = drawCard(makeCard(2, 6, true)), shown = drawCard(dealt), joker = drawCard(bought);
    // The card spans 44..84 x 20..76: the suit of each index, then the middle.
    for (auto [x, y, own] : {std::tuple{48, 33, true}, {80, 63, true}, {64, 52, false}}) {
        EXPECT_EQ(at(shown, x, y), at(own ? face : joker, x, y)) << x << "," << y;
        EXPECT_NE(at(shown, x, y), at(own ? joker : face, x, y)) << x << "," << y;
    }
}

TEST_F(CardDrawFaultTest, ABackIndexOutsideTheSetShowsAnExistingBack) {
    Karte* card = makeCard(1, 4, false);
    StyleSettings& settings = StyleSettings::instance();
    // The shipped set has six backs, each drawn otherwise, a blue one first.
    std::vector<std::vector<uint32_t>> backs;
    for (int i = 0; i < 6; ++i) {
        settings.setCardsBack(i);
        backs.push_back(drawCard(card));
        EXPECT_NE(at(backs.back(), 64, 40), kClear) << i;
        for (int j = 0; j < i; ++j) EXPECT_NE(backs[i], backs[j]) << "back " << i << " is drawn as back " << j;
    }
    EXPECT_TRUE(bluish(at(backs[0], 64, 40)));
    // An index past the backs shows and keeps the last, one before them the first.
    struct Case {
        int index, shown;
    };
    Case const cases[] = {{0, 0},  {1, 1},  {2, 2},  {5, 5},       {6, 5},       {19, 5},
                          {20, 5}, {25, 5}, {99, 5}, {-5, 0}, {INT_MAX, 5}, {INT_MIN, 0}};
    for (Case const& c : cases) {
        settings.setCardsBack(c.index);
        EXPECT_EQ(settings.getCardsBack(), c.shown) << c.index;
        EXPECT_EQ(drawCard(card), backs[static_cast<std::size_t>(c.shown)]) << c.index;
    }
    // A card still drawn with a set of two backs (the shipped first two, and its face) while the
    // settings keep the sixth shows that set's last back by the same rule, not its first.
    Orvex::XMLNode node;
    ASSERT_TRUE(node.loadFromText(
        L"<K NAME=\"TWO\"><TEXTUR2D NAME=\"KARO_5\"><FILE FILENAME=\"data\\Cards\\KARO_5.png\"/></TEXTUR2D>"
        L"<TEXTUR2D NAME=\"BACK_1\"><FILE FILENAME=\"data\\Cards\\BACK_1.png\"/></TEXTUR2D>"
        L"<TEXTUR2D NAME=\"BACK_2\"><FILE FILENAME=\"data\\Cards\\BACK_2.png\"/></TEXTUR2D></K>"));
    auto* two = new Kartenset(node);
    two->setTexturesActive(true);
    card->onKartensetChanged(two);
    two->release();
    card->cardSize = D3DXVECTOR2(40.0f, 55.0f);
    for (int index : {1, 5}) {
        settings.setCardsBack(index);
        EXPECT_EQ(drawCard(card), backs[1]) << index;
    }
}

TEST_F(CardDrawFaultTest, ATintIndexOutsideTheStyleTakesTheNearestColour) {
    Kartenstapel pile(0);
    Karte* card = makeCard(0, 0, true);
    card->pile = &pile;
    struct Case {
        short shading;
        int colour;
    };
    Case const cases[] = {{0, 0}, {1, 1}, {500, 1}, {-3, 0}, {SHRT_MAX, 1}};
    for (Case const& c : cases) {
        pile.rules.shading = c.shading;
        std::vector<uint32_t> const pixels = drawCard(card);
        EXPECT_TRUE(testsupport::colorNear(at(pixels, 64 - 14, 48), tint(c.colour), 3)) << c.shading;
    }
    card->pile = nullptr;
}

TEST_F(CardDrawFaultTest, AMarkFalloffOfZeroFadesAsOne) {
    struct Case {
        int level, falloff;
        float min, fade;
    };
    Case const cases[] = {{1, 3, 0.25f, 0.0f},  {2, 4, 0.25f, 0.25f}, {9, 3, 0.25f, 0.75f},
                          {3, 0, 0.25f, 0.75f}, {2, 0, 0.5f, 0.5f},   {2, -7, 0.0f, 1.0f}};
    for (Case const& c : cases) EXPECT_FLOAT_EQ(markFade(c.level, c.falloff, c.min), c.fade) << c.level << "," << c.falloff;
    // Drawn with the falloff 0: the mark shows, finite, over the face.
    Style* style = StyleSettings::instance().getStyle();
    style->markFalloff = 0;
    Karte* card = makeCard(0, 0, true);
    card->highlightLevel = 2;
    std::vector<uint32_t> const plain = [&] {
        card->highlightLevel = 0;
        auto p = drawCard(card);
        card->highlightLevel = 2;
        return p;
    }();
    EXPECT_NE(drawCard(card), plain);
}

TEST_F(CardDrawFaultTest, ShadowWorkPerCardIsBounded) {
    struct Case {
        int samples, rings, wantSamples, wantRings;
    };
    Case const cases[] = {{8, 1, 8, 1},     {8, 2, 8, 2},          {0, 5, 0, 5},          {-4, -1, 0, 0},
                          {64, 8, 64, 1},   {INT_MAX, INT_MAX, 64, 1}, {1, INT_MAX, 1, 64}, {16, 16, 16, 4}};
    for (Case const& c : cases) {
        ShadowDraws const d = boundShadowDraws(c.samples, c.rings);
        EXPECT_EQ(d.samples, c.wantSamples) << c.samples << "," << c.rings;
        EXPECT_EQ(d.rings, c.wantRings) << c.samples << "," << c.rings;
        EXPECT_LE(d.samples * d.rings, kMaxShadowDraws);
    }
    // A style asking for billions of copies still draws its card in one frame.
    Style* style = StyleSettings::instance().getStyle();
    style->shadows[0].samples = INT_MAX;
    style->shadows[0].rings = INT_MAX;
    style->shadows[0].colour = D3DXCOLOR(0.0f, 0.0f, 0.0f, 1.0f);
    Karte* card = makeCard(0, 0, true);
    EXPECT_TRUE(testsupport::colorNear(at(drawCard(card), 64 - 14, 48), tint(0), 3));
}

TEST(CardColourBytes, ComponentsBecomeBytesSafely) {
    struct Case {
        float c;
        unsigned char byte;
    };
    Case const cases[] = {{0.0f, 0}, {-1.0f, 0}, {1.0f, 255}, {7.0f, 255}, {0.5f, 127}, {NAN, 0}, {INFINITY, 255}};
    for (Case const& c : cases) EXPECT_EQ(colourByte(c.c), c.byte) << c.c;
}

}  // namespace
}  // namespace Solitaire
