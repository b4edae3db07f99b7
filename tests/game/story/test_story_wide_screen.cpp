// The story's pictures stay inside the story window on a wide screen: the shipped intro played in
// the real game at 1280 x 720, where the 4:3 story window leaves the wooden side panels free. Its
// figure, cloud and stars glide in from beyond the window's edges; the side panels' pixels while
// the scene plays must be those the chapter screen showed there before it, and the scene itself
// is drawn inside. Screenshots go to the build folder's "screenshots" ("story_clipped_*.png").
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/gui/GUIWindow.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryPart.h"
#include "game/story/StoryPartPart.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

// A wide screen: the story window is its middle 960 x 720.
constexpr unsigned kWideWidth = 1280;
constexpr unsigned kWideHeight = 720;
// A channel may differ this much (the panels' pixels are drawn alike; this is slack, not blending).
constexpr int kChannelSlack = 8;

class StoryClippingTest : public minigametest::MinigameFixture {
protected:
    void SetUp() override {
        screenWidth = kWideWidth;
        screenHeight = kWideHeight;
        withStory = true;
        makeHome("story_clipping");
        MinigameFixture::SetUp();
    }
    void TearDown() override {
        Solitaire::SolTutorialManager::instance().closeTutorial();
        MinigameFixture::TearDown();
        removeHome();
    }

    // Pixels of the rectangle that are not black.
    int coloured(std::vector<uint32_t> const& shot, Orvex::FRect const& r) const {
        int n = 0;
        for (unsigned y = static_cast<unsigned>(r.top); y < static_cast<unsigned>(r.bottom) && y < height; ++y)
            for (unsigned x = static_cast<unsigned>(r.left); x < static_cast<unsigned>(r.right) && x < width; ++x)
                n += (at(shot, x, y) & 0xFFFFFFu) > 0x101010u ? 1 : 0;
        return n;
    }
    // Pixels of the side panels (left and right of the story window) that differ from the
    // reference by more than the slack.
    int changedBeside(std::vector<uint32_t> const& shot, std::vector<uint32_t> const& reference,
                      Orvex::FRect const& window) const {
        int changed = 0;
        for (unsigned y = 0; y < height; ++y)
            for (unsigned x = 0; x < width; ++x) {
                if (x >= static_cast<unsigned>(window.left) && x < static_cast<unsigned>(window.right)) continue;
                uint32_t const a = at(shot, x, y), b = at(reference, x, y);
                for (int shift : {0, 8, 16})
                    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > kChannelSlack) {
                        ++changed;
                        break;
                    }
            }
        return changed;
    }
};

TEST_F(StoryClippingTest, TheIntrosPicturesDoNotCoverTheSidePanels) {
    clickOn(L"SM_Fenster");
    ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    clickOn(L"H_Kampagne");
    ASSERT_EQ(activeMenu(), L"KATEGORIEMENU");
    // The side panels as the chapter screen shows them.
    moveTo(D3DXVECTOR2(640.0f, 700.0f));
    settle();
    std::vector<uint32_t> const reference = pixels();

    clickOn(L"K_KategorieButton1");
    ASSERT_NE(scene(), nullptr);
    ASSERT_EQ(scene()->getName(), L"STORY_INTRO");
    Orvex::GUIWindow* window = find(L"T_STORY_BILD");
    ASSERT_NE(window, nullptr);
    Orvex::FRect const picture = window->getScreenRect();
    ASSERT_GT(picture.left, 100.0f) << "a wide screen has room beside the story";
    // Through the scene's first switches: its pictures glide over the window's edges.
    int beyond = 0;
    for (int shot = 0; shot < 12 && scene(); ++shot) {
        wait(0.5);
        for (auto const& part : scene()->parts)
            if (part->visible && part->animation &&
                (part->screenRect.left < picture.left || part->screenRect.right > picture.right))
                ++beyond;
        std::vector<uint32_t> const shown = pixels();
        EXPECT_EQ(changedBeside(shown, reference, picture), 0) << "at " << (shot + 1) * 0.5 << " s";
        // Inside, the scene is drawn: its sky and hills cover the window's black.
        EXPECT_GT(coloured(shown, picture), (picture.right - picture.left) * (picture.bottom - picture.top) / 2)
            << "at " << (shot + 1) * 0.5 << " s";
        if (shot == 1 || shot == 7) keep("story_clipped_" + std::to_string(shot));
    }
    EXPECT_GT(beyond, 0) << "no picture reached beyond the window: nothing was tested";
}

}  // namespace
