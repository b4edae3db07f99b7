// The differences game on the shipped data ("MINIGAME_3": a bird, a flower, a lit window and an
// apple on the right half, the mirror cursor on), played by clicks through the window: every
// difference the screen shows counts, a click on an object's body finds it, the count reads right
// for one, and the mirror cursor sits on the mirrored point.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

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
// bird's right wing, the flower's bloom, the lit window's middle, the apple; and a transparent
// corner.
D3DXVECTOR2 const kOpaque[4] = {{40.0f, 32.0f}, {32.0f, 24.0f}, {32.0f, 32.0f}, {32.0f, 34.0f}};
D3DXVECTOR2 const kTransparent{4.0f, 4.0f};
constexpr std::size_t kParts = 4;

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
    ASSERT_EQ(game->getParts().size(), kParts);
    EXPECT_EQ(label(), L"Noch 4 Unterschiede");
    click(on(0, kOpaque[0]));
    click(on(1, kOpaque[1]));
    click(on(3, kOpaque[3]));
    EXPECT_TRUE(game->getParts()[0]->found);
    EXPECT_TRUE(game->getParts()[1]->found);
    EXPECT_TRUE(game->getParts()[3]->found);
    EXPECT_EQ(label(), L"Noch 1 Unterschied");
    // The last one on the left picture: the mirror cursor carries the click over.
    click(mirrored(on(2, kOpaque[2])));
    EXPECT_TRUE(game->getParts()[2]->found);
    EXPECT_EQ(label(), L"Noch 0 Unterschiede");
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
    EXPECT_EQ(label(), L"Noch 4 Unterschiede");
}

// Where the two pictures differ on the screen, a counted difference lies: no visible difference
// is left that a click does not count or that the count leaves out.
TEST_F(UnterschiedeTest, EveryVisibleDifferenceIsCounted) {
    moveTo(D3DXVECTOR2(4.0f, 4.0f));
    tick();
    std::vector<uint32_t> const shot = pixels();
    Orvex::FRect const field = game->getField()->getScreenRect();
    int const half = static_cast<int>((field.right - field.left) / 2.0f);
    auto channelsDiffer = [](uint32_t a, uint32_t b) {
        int sum = 0;
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        return sum > 48;
    };
    auto counted = [&](D3DXVECTOR2 const& right) {
        for (auto const& part : game->getParts()) {
            Orvex::FRect const r = part->window->getScreenRect();
            if (!part->ignored && right.x >= r.left && right.x < r.right && right.y >= r.top && right.y < r.bottom)
                return true;
        }
        return false;
    };
    int differing = 0;
    int uncounted = 0;
    for (int y = static_cast<int>(field.top); y < static_cast<int>(field.bottom); ++y)
        for (int x = static_cast<int>(field.left); x < static_cast<int>(field.left) + half; ++x) {
            D3DXVECTOR2 const left(static_cast<float>(x), static_cast<float>(y));
            D3DXVECTOR2 const right(static_cast<float>(x + half), static_cast<float>(y));
            if (!channelsDiffer(pixelAt(shot, left), pixelAt(shot, right))) continue;
            ++differing;
            uncounted += !counted(right);
        }
    EXPECT_GT(differing, 500) << "the pictures differ";
    EXPECT_EQ(uncounted, 0) << "pixels that differ outside every counted difference";
    for (auto const& part : game->getParts()) EXPECT_FALSE(part->ignored);
}

// A click counts on the object, not only on its painted pixels: the middle of the bird between
// its wings, beside the flower's stem under its bloom, on either picture; a transparent corner of
// a difference's picture and a place beside the object still find nothing.
struct HitCase {
    char const* what;
    int part;
    D3DXVECTOR2 pixel;
    bool mirrored;
    bool finds;
};
void PrintTo(HitCase const& c, std::ostream* out) { *out << c.what; }

class UnterschiedeHitTest : public UnterschiedeTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(UnterschiedeHitTest, FindsTheDifferenceByItsObject) {
    HitCase const& c = GetParam();
    D3DXVECTOR2 const point = on(c.part, c.pixel);
    click(c.mirrored ? mirrored(point) : point);
    EXPECT_EQ(game->getParts()[static_cast<std::size_t>(c.part)]->found, c.finds);
    EXPECT_EQ(label(), c.finds ? L"Noch 3 Unterschiede" : L"Noch 4 Unterschiede");
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, UnterschiedeHitTest,
    ::testing::Values(HitCase{"the bird's middle", 0, {32.0f, 28.0f}, false, true},
                      HitCase{"the bird's middle on the left picture", 0, {32.0f, 28.0f}, true, true},
                      HitCase{"between the bird's wing tips", 0, {24.0f, 26.0f}, false, true},
                      HitCase{"beside the flower's stem", 1, {36.0f, 44.0f}, false, true},
                      HitCase{"the apple", 3, {32.0f, 34.0f}, false, true},
                      HitCase{"the window's edge", 2, {21.0f, 32.0f}, false, true},
                      HitCase{"the bird's transparent corner", 0, {4.0f, 4.0f}, false, false},
                      HitCase{"below the bird", 0, {32.0f, 50.0f}, false, false},
                      HitCase{"the window's transparent corner", 2, {4.0f, 60.0f}, true, false}));

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
    // The picture (64 pixels drawn into the second cursor's 50 at 1024 x 768) is centred on the
    // mirrored point: its orange-red ring lies 22 picture pixels left, right, above and below it.
    std::vector<uint32_t> const shot = pixels();
    float const scale = 50.0f / 64.0f;
    auto ringNear = [&](D3DXVECTOR2 const& at) {
        int ring = 0;
        for (float d = -2.0f; d <= 2.0f; d += 1.0f)
            for (D3DXVECTOR2 const& p : {D3DXVECTOR2(at.x + d, at.y), D3DXVECTOR2(at.x, at.y + d)}) {
                uint32_t const c = pixelAt(shot, p);
                ring += ((c >> 16) & 0xFF) > 200 && ((c >> 8) & 0xFF) < 140 && (c & 0xFF) < 100;
            }
        return ring;
    };
    float const radius = 22.0f * scale;
    EXPECT_GT(ringNear(D3DXVECTOR2(mirror.x + radius, mirror.y)), 0) << "right";
    EXPECT_GT(ringNear(D3DXVECTOR2(mirror.x - radius, mirror.y)), 0) << "left";
    EXPECT_GT(ringNear(D3DXVECTOR2(mirror.x, mirror.y - radius)), 0) << "above";
    EXPECT_GT(ringNear(D3DXVECTOR2(mirror.x, mirror.y + radius)), 0) << "below";
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
