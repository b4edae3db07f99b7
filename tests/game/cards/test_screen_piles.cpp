// Piles placed on the screen ("STAPEL_POS"): a pile at its screen-relative place through the
// camera, at the record's scale and drawn by the record's render index, kept there while the table
// moves, its cards carried along; and whether the card under the pointer lies on such a pile.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/look/RenderObjekt.h"
#include "tests/game/cards/PlayTable.h"

namespace Solitaire {
namespace {

// Two piles of one card each; B is placed at a quarter of the screen's width and three quarters
// of its height ("1 3 4": 1/4 and 3/4).
std::wstring screenTable(wchar_t const* renderIndex) {
    return std::wstring(L"<SOLITAIRE NAME=\"P\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"2\" AUTO_CHECK_END=\"0\">"
                        L"<STAPEL NAME=\"A\" POSITION_REL=\"0 0\" INIT_KARTEN_SICHTBAR=\"1\"><ANORDNUNG NAME=\"X\"/></STAPEL>"
                        L"<STAPEL NAME=\"B\" POSITION_REL=\"3 0\" INIT_KARTEN_SICHTBAR=\"1\"><ANORDNUNG NAME=\"X\"/></STAPEL>"
                        L"<DYNAMIC_STAPEL_POSES><STAPEL_POS NAME=\"B\" POSITION_REL=\"1 3 4\" RENDER_INDEX=\"") +
           renderIndex + L"\" SCALE=\"0.5\"/></DYNAMIC_STAPEL_POSES></SOLITAIRE>";
}

class ScreenPilesTest : public cardtest::PlayTable {
protected:
    // Where the record puts B on the screen: a quarter across, three quarters down.
    D3DXVECTOR2 place() const {
        Orvex::FRect const& r = camera.getRelativeRect();
        return {r.left + (r.right - r.left) * 0.25f, r.top + (r.bottom - r.top) * 0.75f};
    }
    Karte* topOf(std::wstring const& name) { return pile(name).collectFreeCards().at(0); }
    static void expectNear(D3DXVECTOR2 const& a, D3DXVECTOR2 const& b) {
        EXPECT_NEAR(a.x, b.x, 0.01f);
        EXPECT_NEAR(a.y, b.y, 0.01f);
    }
};

TEST_F(ScreenPilesTest, APlacedPileStandsAtItsScreenPlaceAndScaleWhileTheTableMoves) {
    startText(screenTable(L"40"));
    frames(1);
    Kartenstapel& b = pile(L"B");
    Karte* card = topOf(L"B");
    float const zoom = camera.getScale(false);
    Orvex::FRect const r = computeScreenRect(b, &camera);
    expectNear(at(b), place());
    EXPECT_NEAR(r.right - r.left, 100.0f * 0.5f * zoom, 0.01f);
    expectNear(at(card), place());
    Orvex::FRect const c = computeScreenRect(*card, &camera);
    EXPECT_NEAR(c.bottom - c.top, 140.0f * 0.5f * zoom, 0.01f);

    // The table glides and zooms; the pile keeps its screen place and its card goes with it at
    // once, without a glide of its own.
    camera.setScaleGoal(zoom * 1.5f, 0.0f);
    camera.setOffsetXGoal(camera.offsetX.goal + 120.0f, 0.0f);
    camera.setOffsetYGoal(camera.offsetY.goal - 40.0f, 0.0f);
    frames(1);
    expectNear(at(b), place());
    expectNear(at(card), place());
    EXPECT_FALSE(card->isMoving());
    // The pile on the screen is no part of the table the camera fits: that is A's cell alone.
    Orvex::FRect const table = manager().computeTableRect();
    EXPECT_FLOAT_EQ(table.right - table.left, 100.0f);
    EXPECT_FLOAT_EQ(table.bottom - table.top, 140.0f);
}

TEST_F(ScreenPilesTest, TheRecordsRenderIndexOrdersThePileAndItsCards) {
    struct Case {
        wchar_t const* renderIndex;
        float pileOrder;
        bool aboveA;
    } const cases[] = {{L"40", 40.0f, true}, {L"0.1", 0.1f, false}};
    for (Case const& c : cases) {
        startText(screenTable(c.renderIndex));
        frames(1);
        EXPECT_FLOAT_EQ(pile(L"B").getRenderOrder(), c.pileOrder);
        RenderContext context;
        context.camera = &camera;
        context.layerMask = kLayerCards;
        RenderQueue queue;
        manager().queueRender(context, queue);
        // A card lying on nothing is drawn at its pile's index + 1 ("A" keeps 0.5).
        EXPECT_FLOAT_EQ(topOf(L"B")->getRenderOrder(), c.pileOrder + 1.0f);
        EXPECT_EQ(topOf(L"B")->getRenderOrder() > topOf(L"A")->getRenderOrder(), c.aboveA);
        // Picked where it is drawn.
        Karte* hit = nullptr;
        Kartenstapel* on = nullptr;
        EXPECT_EQ(manager().pickAt(place(), hit, on), 3);
        EXPECT_EQ(hit, topOf(L"B"));
        EXPECT_EQ(on, &pile(L"B"));
    }
}

TEST_F(ScreenPilesTest, ThePointerCardOnAPlacedPileWhileNothingIsHeld) {
    struct Case {
        bool onB;
        bool holding;
        bool expected;
    } const cases[] = {{true, false, true}, {false, false, false}, {true, true, false}};
    for (Case const& c : cases) {
        startText(screenTable(L"40"));
        frames(1);
        D3DXVECTOR2 const p = c.onB ? place() : at(topOf(L"A"));
        manager().onMouseMove(Orvex::MouseState(), 0, p);
        tick += 1000;  // the hover pass finds the card under the pointer
        frames(1);
        ASSERT_EQ(manager().getPointerCard(), c.onB ? topOf(L"B") : topOf(L"A"));
        if (c.holding) press(p);
        EXPECT_EQ(manager().isPointerCardOnPositionedPile(), c.expected) << c.onB << c.holding;
        if (c.holding) release(p);
    }
}

}  // namespace
}  // namespace Solitaire
