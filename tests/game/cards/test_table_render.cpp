// The table drawn on the real device: a dealt shipped variant shows the background, tinted faces,
// backs and empty-pile pictures at the camera-mapped rectangles, later cards covering earlier
// ones; picking gives the card that is seen at the pointer, with its pile.
#include <gtest/gtest.h>

#include <cmath>

#include "game/cards/CardDrawing.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/look/Kartenset.h"
#include "game/look/Style.h"
#include "tests/game/cards/TableRenderDevice.h"

namespace Solitaire {
namespace {

using styletest::bluish;
using styletest::kClear;
using styletest::kHeight;
using styletest::kWidth;

struct Probe {
    unsigned x, y;
};

// A point of the rectangle at fractions (u, v) as a pixel; false outside the frame.
bool probe(Orvex::FRect const& r, float u, float v, Probe& out) {
    float const x = r.left + (r.right - r.left) * u, y = r.top + (r.bottom - r.top) * v;
    if (x < 0.0f || y < 0.0f || x >= kWidth || y >= kHeight) return false;
    out = {static_cast<unsigned>(x), static_cast<unsigned>(y)};
    return true;
}

class DealtTableTest : public styletest::TableRenderTest {
protected:
    void SetUp() override {
        TableRenderTest::SetUp();
        deal();
    }
};

TEST_F(DealtTableTest, FacesBacksAndEmptyPilesLieAtTheirRectanglesInCoveringOrder) {
    std::vector<uint32_t> const frame = drawFrame();
    std::vector<uint32_t> const bare = drawFrame(kLayerBackground);
    std::vector<uint32_t> const noPiles = drawFrame(kLayerBackground | kLayerCards);
    Style const& style = *StyleSettings::instance().getStyle();
    int faces = 0, backs = 0, empties = 0;
    for (Kartenstapel* pile : manager().piles) {
        std::vector<Karte*> held;
        pile->getCards(held, true, true);
        Probe p;
        if (held.empty()) {
            Orvex::FRect const r = computeScreenRect(*pile, &camera);
            if (!pile->rules.drawPile || !probe(r, 0.5f, 0.5f, p)) continue;
            // The empty place is drawn over the background inside its rectangle, and only with the
            // pile layer.
            int changed = 0;
            for (unsigned y = 0; y < kHeight; ++y)
                for (unsigned x = 0; x < kWidth; ++x) {
                    std::size_t const i = y * kWidth + x;
                    bool const in = x + 1 > r.left && x < r.right && y + 1 > r.top && y < r.bottom;
                    if (in && noPiles[i] != bare[i]) ADD_FAILURE() << "card layer at " << x << "," << y;
                    if (in && frame[i] != bare[i]) ++changed;
                }
            EXPECT_GT(changed, 10) << pile->getName().size();
            ++empties;
            continue;
        }
        Karte* top = held.back();
        Orvex::FRect const topRect = computeScreenRect(*top, &camera);
        if (top->isFaceUp() && probe(topRect, 0.15f, 0.5f, p)) {
            // The face's white margin times the pile's tint, over whatever lies below.
            D3DXCOLOR const& k = style.shadingColour(pile->rules.shading);
            uint32_t const want = toColour(D3DXCOLOR(k.r, k.g, k.b, 1.0f));
            EXPECT_TRUE(testsupport::colorNear(frame[p.y * kWidth + p.x], want, 3)) << p.x << "," << p.y;
            Karte* card = nullptr;
            Kartenstapel* where = nullptr;
            EXPECT_EQ(manager().pickAt(D3DXVECTOR2(p.x + 0.5f, p.y + 0.5f), card, where, {}), 3);
            EXPECT_EQ(card, top);
            EXPECT_EQ(where, pile);
            ++faces;
        }
        if (held.size() < 2 || held[held.size() - 2]->isFaceUp()) continue;
        // The strip of the face-down card below that the top card leaves open.
        Karte* below = held[held.size() - 2];
        Orvex::FRect const r = computeScreenRect(*below, &camera);
        float const open = topRect.top - r.top;
        if (open < 2.0f) continue;
        if (!probe(r, 0.5f, open * 0.5f / (r.bottom - r.top), p)) continue;
        EXPECT_TRUE(bluish(frame[p.y * kWidth + p.x])) << std::hex << frame[p.y * kWidth + p.x];
        Karte* card = nullptr;
        Kartenstapel* where = nullptr;
        EXPECT_EQ(manager().pickAt(D3DXVECTOR2(p.x + 0.5f, p.y + 0.5f), card, where, {}), 3);
        EXPECT_EQ(card, below);
        // Below the open strip the top card covers it.
        if (probe(topRect, 0.5f, 0.5f, p)) {
            EXPECT_FALSE(bluish(frame[p.y * kWidth + p.x]));
        }
        ++backs;
    }
    EXPECT_GE(faces, 5);
    EXPECT_GE(backs, 1);
    EXPECT_GE(empties, 1);
    // Background: the frame's corner is the background picture, never the clear colour.
    EXPECT_NE(bare[0], kClear);
}

// A lone card (no pile: the first tint) of the shipped set, 40 x 55 pixels without camera.
class LoneCardTest : public styletest::TableRenderTest {
protected:
    void SetUp() override {
        TableRenderTest::SetUp();
        card = new Karte(0, 0, 0, 0);
        card->cardSize = D3DXVECTOR2(40.0f, 55.0f);
        card->position.setAll(D3DXVECTOR2(64, 48), D3DXVECTOR2(64, 48), D3DXVECTOR2(64, 48), 1.0f, false);
        card->face.setAll(1.0f, 1.0f, 1.0f, 1.0f, false);
    }
    void TearDown() override {
        card->release();
        TableRenderTest::TearDown();
    }
    std::vector<uint32_t> drawCard() {
        RenderContext context;
        context.sprite = &sprite;
        return draw([&] { card->render(context); });
    }
    // The point at (u, v) of the card's upright rectangle turned by the card's angle.
    D3DXVECTOR2 onCard(float u, float v) const {
        float const a = card->rotation.current * 3.14159265f / 180.0f;
        float const x = (u - 0.5f) * 40.0f, y = (v - 0.5f) * 55.0f;
        return {64.0f + x * std::cos(a) - y * std::sin(a), 48.0f + x * std::sin(a) + y * std::cos(a)};
    }

    Karte* card = nullptr;
};

TEST_F(LoneCardTest, ATurnedCardIsDrawnAndHitOnlyInsideItsTurnedQuad) {
    card->rotation.setAll(30.0f, 30.0f, 30.0f, 1.0f, false);
    std::vector<uint32_t> const pixels = drawCard();
    D3DXCOLOR const& k = StyleSettings::instance().getStyle()->shadingColour(0);
    uint32_t const face = toColour(D3DXCOLOR(k.r, k.g, k.b, 1.0f));
    struct Case {
        float u, v;
        bool hit;
    };
    // Inside the turned quad (its margins) and points of the upright rectangle it left.
    Case const cases[] = {{0.15f, 0.5f, true}, {0.85f, 0.5f, true}, {0.5f, 0.1f, true}, {0.5f, 0.9f, true}};
    for (Case const& c : cases) {
        D3DXVECTOR2 const p = onCard(c.u, c.v);
        EXPECT_EQ(hitMeasure(*card, nullptr, p), 1.0f) << c.u << "," << c.v;
        EXPECT_TRUE(testsupport::colorNear(at(pixels, unsigned(p.x), unsigned(p.y)), face, 3)) << c.u << "," << c.v;
    }
    // Corners of the upright rectangle that the turned card does not cover.
    for (D3DXVECTOR2 const p : {D3DXVECTOR2(64 - 19, 48 - 26), D3DXVECTOR2(64 + 19, 48 + 26)}) {
        EXPECT_EQ(hitMeasure(*card, nullptr, p), 0.0f) << p.x << "," << p.y;
        EXPECT_FALSE(testsupport::colorNear(at(pixels, unsigned(p.x), unsigned(p.y)), face, 3));
    }
}

TEST_F(LoneCardTest, ShapeCornersAreNotHitWhenTheSetChecksTextures) {
    Kartenset* set = StyleSettings::instance().getKartenset();
    ASSERT_TRUE(set->useTextureCheck);
    for (float angle : {0.0f, 30.0f}) {
        card->rotation.setAll(angle, angle, angle, 1.0f, false);
        // The very corner lies in the rectangle but in the shape's clear rounded corner.
        D3DXVECTOR2 const corner = onCard(0.01f, 0.01f);
        D3DXVECTOR2 const inside = onCard(0.1f, 0.1f);
        set->useTextureCheck = true;
        EXPECT_EQ(hitMeasure(*card, nullptr, corner), 0.0f) << angle;
        EXPECT_EQ(hitMeasure(*card, nullptr, inside), 1.0f) << angle;
        set->useTextureCheck = false;
        EXPECT_EQ(hitMeasure(*card, nullptr, corner), 1.0f) << angle;
    }
    set->useTextureCheck = true;
}

}  // namespace
}  // namespace Solitaire
