// The differences game on the shipped data ("MINIGAME_3": a bird, a flower and a lit window on the
// right half, an apple not counted, the mirror cursor on), played by clicks through the window.
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/UnterschiedeAnklicken.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::MinispielCursor;
using Solitaire::UnterschiedeAnklicken;

// Opaque pixels of each difference's 64 x 64 picture (tools/make_minigame_pictures.py): on the
// bird's right wing, the flower's bloom, the lit window's middle; and a transparent corner.
D3DXVECTOR2 const kOpaque[3] = {{40.0f, 32.0f}, {32.0f, 24.0f}, {32.0f, 32.0f}};
D3DXVECTOR2 const kTransparent{4.0f, 4.0f};

class UnterschiedeTest : public minigametest::MinigameFixture {
protected:
    UnterschiedeAnklicken* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<UnterschiedeAnklicken>(L"MINIGAME_3");
        ASSERT_NE(game, nullptr);
    }

    // A pixel of the part's 64 x 64 picture on the screen.
    D3DXVECTOR2 on(int part, D3DXVECTOR2 const& pixel) const {
        Orvex::FRect const r = game->getParts()[static_cast<std::size_t>(part)]->window->getScreenRect();
        return D3DXVECTOR2(std::floor(r.left + (pixel.x + 0.5f) / 64.0f * (r.right - r.left)),
                           std::floor(r.top + (pixel.y + 0.5f) / 64.0f * (r.bottom - r.top)));
    }
    // The same place in the left half.
    D3DXVECTOR2 mirrored(D3DXVECTOR2 const& point) const {
        Orvex::FRect const field = game->getField()->getScreenRect();
        return D3DXVECTOR2(point.x - (field.right - field.left) * 0.5f, point.y);
    }
    std::wstring label() const { return game->getLabel()->getText(); }
};

TEST_F(UnterschiedeTest, WonByClickingEachDifferenceOnEitherPicture) {
    keep("unterschiede_start");
    EXPECT_EQ(label(), L"Noch 3 Unterschiede");
    click(on(0, kOpaque[0]));
    click(on(1, kOpaque[1]));
    EXPECT_TRUE(game->getParts()[0]->found);
    EXPECT_TRUE(game->getParts()[1]->found);
    EXPECT_EQ(label(), L"Noch 1 Unterschiede");
    // The last one on the left picture: the mirror cursor carries the click over.
    click(mirrored(on(2, kOpaque[2])));
    EXPECT_TRUE(game->getParts()[2]->found);
    EXPECT_TRUE(game->isFinished(false));
    keep("unterschiede_geloest");
    // Solved: the mirror cursor is gone.
    EXPECT_FALSE(MinispielCursor::instance().secondCursor);
    EXPECT_EQ(MinispielCursor::instance().picture, nullptr);
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(UnterschiedeTest, ATransparentPixelOfADifferenceFindsNothing) {
    click(on(0, kTransparent));
    EXPECT_FALSE(game->getParts()[0]->found);
    click(mirrored(on(0, kTransparent)));
    EXPECT_FALSE(game->getParts()[0]->found);
    EXPECT_EQ(label(), L"Noch 3 Unterschiede");
}

TEST_F(UnterschiedeTest, TheMirrorCursorIsDrawnOverTheOtherPicture) {
    D3DXVECTOR2 const pointer = on(1, kOpaque[1]);
    moveTo(pointer);
    MinispielCursor const& cursor = MinispielCursor::instance();
    ASSERT_TRUE(cursor.secondCursor);
    D3DXVECTOR2 const mirror = mirrored(pointer);
    EXPECT_NEAR(cursor.secondPosition.x, mirror.x, 1.0f);
    EXPECT_NEAR(cursor.secondPosition.y, mirror.y, 1.0f);
    tick();
    keep("unterschiede_zweiter_zeiger");
    // The picture's ring (orange-red, 64 pixels drawn into the second cursor's 50 at 1024 x 768)
    // lies 22 picture pixels right of its middle.
    std::vector<uint32_t> const shot = pixels();
    float const scale = 50.0f / 64.0f;
    int ring = 0;
    for (float dy = -2.0f; dy <= 2.0f; dy += 1.0f) {
        D3DXVECTOR2 const onRing(mirror.x + (32.0f + 22.0f) * scale, mirror.y + 32.0f * scale + dy);
        uint32_t const p = pixelAt(shot, onRing);
        ring += ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 140 && (p & 0xFF) < 100;
    }
    EXPECT_GT(ring, 0);
    // Off the field, no second cursor.
    moveTo(D3DXVECTOR2(20.0f, 20.0f));
    tick();
    EXPECT_FALSE(cursor.secondCursor);
}

// The game flow deactivates a game while the pointer may still lie over its field: no update
// clears the cursor then, hiding the game does.
TEST_F(UnterschiedeTest, TheCursorIsClearedWhenTheGameIsHidden) {
    moveTo(on(1, kOpaque[1]));
    ASSERT_TRUE(MinispielCursor::instance().secondCursor);
    manager().setActiveMinispiel(nullptr);
    EXPECT_FALSE(MinispielCursor::instance().secondCursor);
    EXPECT_EQ(MinispielCursor::instance().picture, nullptr);
}

TEST_F(UnterschiedeTest, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

}  // namespace

namespace {

// The count's text is a format from data: a hostile one reads only the one number it is given.
class UnterschiedeFormatTest : public minigametest::MinigameFixture {};

TEST_F(UnterschiedeFormatTest, AHostileCountFormatPrintsOnlyWhatItIsGiven) {
    Orvex::XMLNode texts;
    ASSERT_TRUE(texts.loadFromText(L"<TEXTE><TEXT NAME=\"MG_TEST_FORMAT\" LANG=\"GER\">"
                                   L"\"|[%s|%n|%d|%99999999d|%ls|%x]|\"</TEXT></TEXTE>"));
    Orvex::OrvexEngine::getInstance()->getLanguage()->load(texts);
    auto* game = play<UnterschiedeAnklicken>(L"MINIGAME_3");
    ASSERT_NE(game, nullptr);
    game->getLabel()->setTextId(L"MG_TEST_FORMAT");
    tick();
    std::wstring const text = game->getLabel()->getText();
    EXPECT_EQ(text.front(), L'[');
    EXPECT_EQ(text.back(), L']');
    EXPECT_LT(text.size(), 64u);
}

}  // namespace
