// The table camera's fit of the table into its table area, and the card manager following the
// table as a column grows and shrinks: a column grown past the room kept at the deal zooms the
// camera out until it lies inside again, and a press just after such a zoom acts on what was drawn
// before it; anything else changes nothing under the pointer;
// nothing is fitted while a card is carried or after the game ended.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/SolitaireCamera.h"
#include "tests/game/cards/PlayTable.h"

namespace Solitaire {
namespace {

// The default camera: table area 15 .. 994 by 60 .. 598 (979 x 538) on a 1024 x 768 view, so the
// bottom-margin cap is 170 x 0.9 / card height.
TEST(TableCameraTest, FitScaleAndHoldingFollowTheTableArea) {
    float const nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        char const* what;
        Orvex::FRect content;
        float cardHeight;
        float scale;
    } const cases[] = {
        // 979 / 1958 = 0.5 across; 538 / 269 = 2 down; the cap 153 / 10 is far.
        {"twice as wide as the area", {0, 0, 1958, 269}, 10.0f, 0.5f},
        {"twice as high as the area", {0, 0, 100, 1076}, 10.0f, 0.5f},
        // The fit would be 1, the cap 153 / 275.
        {"capped by the bottom margin", {0, 0, 979, 538}, 275.0f, 153.0f / 275.0f},
        {"empty", {5, 5, 5, 5}, 0.0f, 1.0f},
        {"broken", {nan, 0, 10, 10}, 10.0f, 1.0f},
    };
    for (Case const& c : cases) {
        SolitaireCamera camera;
        camera.setCardSize(100.0f, c.cardHeight);
        EXPECT_NEAR(camera.fitScale(c.content), c.scale, 1e-4f) << c.what;
        camera.fitContent(c.content, 0.0f);
        EXPECT_NEAR(camera.getScale(false), c.scale, 1e-4f) << c.what;
        if (std::isfinite(c.content.left)) EXPECT_TRUE(camera.holdsContent(c.content)) << c.what;
    }
}

TEST(TableCameraTest, ContentHeldIsInsideTheAreaAtTheGoalWithinHalfAPixel) {
    SolitaireCamera camera;
    camera.setCardSize(100.0f, 10.0f);
    Orvex::FRect const fitted{0, 0, 979, 538};
    camera.fitContent(fitted, 0.0f);  // scale 1, offset (15, 60)
    struct Case {
        char const* what;
        Orvex::FRect content;
        bool held;
    } const cases[] = {
        {"as fitted", fitted, true},
        {"smaller", {100, 100, 200, 200}, true},
        {"a tenth of a pixel lower", {0, 0, 979, 538.1f}, true},
        {"a pixel lower", {0, 0, 979, 539}, false},
        {"a pixel further left", {-1, 0, 979, 538}, false},
        {"a pixel higher", {0, -1, 979, 538}, false},
        {"a pixel further right", {0, 0, 980, 538}, false},
    };
    for (Case const& c : cases) EXPECT_EQ(camera.holdsContent(c.content), c.held) << c.what;
    // The goal counts, not where a glide stands.
    camera.setScaleGoal(0.5f, 1.0f);
    EXPECT_TRUE(camera.holdsContent({0, 0, 979, 538}));
    EXPECT_FALSE(camera.holdsContent({0, 0, 979, 1200}));
}

// A heap H of thirty hearts that does not fan, and a column T of ten fanned downwards by 0.3 of a
// card each: 3.7 cards high when dealt, 12.7 with the heap on it.
std::wstring const kColumnTable =
    L"<SOLITAIRE NAME=\"C\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"40\" AUTO_CHECK_END=\"0\">"
    L"<STAPEL NAME=\"H\" POSITION_REL=\"0 0\" INIT_KARTEN_SICHTBAR=\"30\">"
    L"<ANORDNUNG NAME=\"A\" DELTA_VISIBLE=\"0 0\" DELTA_INVISIBLE=\"0 0\" DELTA_SELECT=\"0 0\"/></STAPEL>"
    L"<STAPEL NAME=\"T\" POSITION_REL=\"1.2 0\" INIT_KARTEN_SICHTBAR=\"10\">"
    L"<ANORDNUNG NAME=\"F\" DELTA_VISIBLE=\"0 0.3\" DELTA_INVISIBLE=\"0 0.3\" DELTA_SELECT=\"0 0.3\"/></STAPEL>"
    L"</SOLITAIRE>";

class TableFollowTest : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        startText(kColumnTable);
        frames(60);
    }
    float scale() const { return camera.getScale(true); }
    // A second of frames with the camera stepped too, as the game object steps it: any glide of
    // the camera (a quarter of a second here, at four times its speed) ends.
    void settle() {
        for (int i = 0; i < 60; ++i) {
            camera.update(1.0f / 60.0f);
            frames(1);
        }
    }
};

// A press aimed at a card finds it where it was drawn: moves keep the table's scale and place
// while the cards lie inside it, the dealt column having room for three more cards; only a
// column grown past that zooms out, never a shorter one in.
TEST_F(TableFollowTest, TheTableKeepsItsScaleAndPlaceUntilAColumnOutgrowsItsRoom) {
    Kartenstapel& heap = pile(L"H");
    Kartenstapel& column = pile(L"T");
    ASSERT_TRUE(camera.holdsContent(manager().computeTableRect()));
    struct Case {
        char const* what;
        Kartenstapel* from;
        Kartenstapel* to;
        std::size_t cards;
        bool zoomsOut;  // else nothing moves
    } const cases[] = {
        {"a card off the column, as a joker found there", &column, &heap, 1, false},
        {"three onto the column", &heap, &column, 3, false},
        {"the heap onto the column", &heap, &column, 27, true},
        {"all but one back", &column, &heap, 38, false},
    };
    auto const view = [&] { return D3DXVECTOR3(scale(), camera.offsetX.goal, camera.offsetY.goal); };
    for (Case const& c : cases) {
        D3DXVECTOR3 const before = view();
        move(*c.from, *c.to, c.cards);
        settle();
        EXPECT_TRUE(camera.holdsContent(manager().computeTableRect())) << c.what;
        if (c.zoomsOut) EXPECT_LT(scale(), before.x) << c.what;
        else EXPECT_TRUE(view() == before) << c.what << ": scale " << before.x << " -> " << scale();
        EXPECT_FLOAT_EQ(camera.getScale(false), scale()) << c.what << ": the glide ended";
    }
}

// A zoom-out the player did not ask for moves the cards under the pointer: a press aimed at the
// heap just before it still takes the heap's card, a press after the grace what is drawn there now.
TEST_F(TableFollowTest, APressJustAfterAZoomActsOnWhatWasDrawnBefore) {
    struct Case {
        char const* what;
        float after;  // seconds from the fit to the press
        bool aimed;   // takes the card aimed at
    } const cases[] = {
        {"at once", 0.0f, true},
        {"a quarter of a second later, the glide over", 0.25f, true},
        {"a second later", 1.0f, false},
    };
    for (Case const& c : cases) {
        startText(kColumnTable);
        settle();
        Kartenstapel& heap = pile(L"H");
        D3DXVECTOR2 const drawn = at(heap);
        float const dealt = scale();
        move(heap, pile(L"T"), 27);
        Karte* aimed = heap.collectFreeCards().at(0);
        frames(60);  // the cards land; the camera, stepped apart, has not moved yet
        ASSERT_LT(scale(), dealt) << c.what;
        for (float t = 0.0f; t < c.after; t += 0.05f) camera.update(0.05f);
        press(drawn);
        EXPECT_EQ(manager().getHeldCard() == aimed, c.aimed) << c.what;
        release(drawn);
    }
}

TEST_F(TableFollowTest, NothingIsFittedWhileACardIsCarriedOrAfterTheGameEnded) {
    Kartenstapel& column = pile(L"T");
    Karte* top = column.collectFreeCards().at(0);
    float const dealt = scale();
    // Carried far down: where it is going is far outside, and the table stays.
    press(at(top));
    Orvex::MouseState held;
    held.setButtonDown(0, true);
    manager().onMouseMove(held, 0, at(top) + D3DXVECTOR2(0.0f, 2000.0f));
    ASSERT_EQ(manager().getHeldCard(), top);
    frames(30);
    EXPECT_FALSE(manager().followTableContent());
    EXPECT_FLOAT_EQ(scale(), dealt);
    release(at(top) + D3DXVECTOR2(0.0f, 2000.0f));
    settle();
    EXPECT_EQ(manager().getHeldCard(), nullptr);
    EXPECT_TRUE(camera.holdsContent(manager().computeTableRect()));

    manager().setGameStatus(kGameWon);
    move(pile(L"H"), column, 30);
    settle();
    EXPECT_FALSE(manager().followTableContent());
    EXPECT_FALSE(camera.holdsContent(manager().computeTableRect()));
}

}  // namespace
}  // namespace Solitaire
