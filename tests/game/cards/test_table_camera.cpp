// The table camera's fit of the table into its table area: the scale a fit gives and whether
// content lies inside the area at the camera's goal.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/cards/SolitaireCamera.h"

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

}  // namespace
}  // namespace Solitaire
