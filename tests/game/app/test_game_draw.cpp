// The game object's frame read back from the back buffer: the pause overlay, the pointer
// pictures for each cursor setting, the power cursor, the mini-game cursor at two screen sizes,
// nothing over a pointer outside the window, the layers of a framed panel, the mini-games' frame
// requests and the frame bands of the loading screen.
#include <gtest/gtest.h>

#include <functional>

#include "engine/core/Logger.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Sprite.h"
#include "engine/render/SpriteHolder.h"
#include "game/cards/Kartenmanager.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielFrame.h"
#include "game/minigames/MinispielManager.h"
#include "port/win32/windows.h"
#include "tests/engine/gui/PrivateField.h"
#include "tests/game/app/GameFixture.h"
#include "tests/support/gl/DeviceFixture.h"

// The armed power: the shuffle and the free undo are carried out at once, so no operation leaves
// the card manager in those modes, whose cursors are drawn all the same.
GUITEST_PRIVATE_FIELD(ArmedPower, Solitaire::Kartenmanager, int, clickMode);

namespace {

using apptest::GameFixture;
using Solitaire::Kartenmanager;
using Solitaire::MinispielCursor;
using Solitaire::SolitaireGame2;
using testsupport::colorNear;

// The start screen's colour under the pause overlay's black at alpha 160.
uint32_t darkened(uint32_t c) {
    auto channel = [c](int shift) { return ((((c >> shift) & 0xFF) * 95 + 127) / 255) << shift; };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

class GameDrawTest : public GameFixture {
protected:
    void TearDown() override {
        MinispielCursor::instance() = MinispielCursor();
        Kartenmanager::instance().setClickMode(Solitaire::kClickNormal);
        GameFixture::TearDown();
    }
    // A frame with the start screen up and the pointer at (x, y).
    std::vector<uint32_t> frameWithPointer(float x, float y) {
        pointerAt(x, y);
        step(0.0);
        return frame();
    }
};

TEST_F(GameDrawTest, PauseOverlayDarkensTheScreenWhileTheWindowIsInactive) {
    step(0.1);
    std::vector<uint32_t> pixels = frame();
    EXPECT_EQ(at(pixels, 60, 60), apptest::kStartScreenColour);
    game->onWindowActive(false);
    pixels = frame();
    EXPECT_TRUE(colorNear(at(pixels, 60, 60), darkened(apptest::kStartScreenColour), 3));
    EXPECT_TRUE(colorNear(at(pixels, 300, 230), darkened(apptest::kStartScreenColour), 3));
    // "Pause" in white over the overlay in the middle of the screen.
    auto bright = [&](std::vector<uint32_t> const& p) {
        int n = 0;
        for (unsigned y = 100; y < 140; ++y)
            for (unsigned x = 100; x < 220; ++x) {
                uint32_t const c = at(p, x, y);
                n += ((c >> 16) & 0xFF) > 0xA0 && ((c >> 8) & 0xFF) > 0xA0 && (c & 0xFF) > 0xA0;
            }
        return n;
    };
    EXPECT_GT(bright(pixels), 10);
    game->onWindowActive(true);
    pixels = frame();
    EXPECT_EQ(at(pixels, 60, 60), apptest::kStartScreenColour);
    EXPECT_EQ(bright(pixels), 0);
}

TEST_F(GameDrawTest, EachCursorSettingDrawsItsPictureOrNone) {
    // The cursor is a square of a 32nd of the screen width (10 pixels) at the pointer.
    struct {
        int setting;
        int picture;  // cursor table index, -1 for none
    } const cases[] = {{0, 9}, {1, 10}, {2, 11}, {3, -1}, {99, -1}, {-1, -1}};
    for (auto const& c : cases) {
        globals->setMouseCursor(c.setting);
        std::vector<uint32_t> pixels = frameWithPointer(200, 60);
        uint32_t const inside = at(pixels, 205, 65);
        if (c.picture < 0)
            EXPECT_EQ(inside, apptest::kStartScreenColour) << c.setting;
        else
            EXPECT_EQ(inside, apptest::cursorColour(c.picture, 0)) << c.setting;
        EXPECT_EQ(at(pixels, 212, 72), apptest::kStartScreenColour) << c.setting;
        EXPECT_EQ(at(pixels, 198, 58), apptest::kStartScreenColour) << c.setting;
    }
}

TEST_F(GameDrawTest, PowerCursorFollowsTheArmedPowerInGame) {
    showMenu(L"INGAMEMENU");
    Kartenmanager& cards = Kartenmanager::instance();
    // Modes 1 to 4 show god cursors 0, 3, 2 and 1 (table 13 to 16), a square of 50/1024 of the
    // width (15.6 pixels), at the pointer plus (15, 20) with the system arrow, else plus one
    // cursor side (10).
    struct {
        int mode;
        int setting;
        int picture;
        unsigned x, y;  // a pixel inside the power cursor
    } const cases[] = {{1, 3, 13, 100 + 20, 100 + 26}, {2, 3, 16, 100 + 20, 100 + 26}, {3, 0, 15, 100 + 15, 100 + 15},
                       {4, 99, 14, 100 + 20, 100 + 26}};
    for (auto const& c : cases) {
        cards.*guitest::memberOf(ArmedPower{}) = c.mode;
        globals->setMouseCursor(c.setting);
        pointerAt(100, 100);
        std::vector<uint32_t> pixels = frame();
        EXPECT_EQ(at(pixels, c.x, c.y), apptest::cursorColour(c.picture, 0)) << c.mode;
    }
    // Outside the in-game screen, or with no power armed, no power cursor.
    cards.setClickMode(Solitaire::kClickRemove);
    globals->setMouseCursor(3);
    showMenu(L"HAUPTMENU");
    pointerAt(100, 100);
    EXPECT_EQ(at(frame(), 120, 126), apptest::kMainScreenColour);
}

TEST_F(GameDrawTest, NothingIsDrawnOverAPointerOutsideTheWindow) {
    globals->setMouseCursor(0);
    std::vector<uint32_t> pixels = frameWithPointer(200, 60);
    EXPECT_EQ(at(pixels, 205, 65), apptest::cursorColour(9, 0));
    // The system pointer leaves the window; the input's last position stays inside.
    POINT outside{static_cast<LONG>(width) + 50, static_cast<LONG>(height) + 50};
    ClientToScreen(Orvex::D3DInterface::getInstance().getWindow().getHWND(), &outside);
    SetCursorPos(outside.x, outside.y);
    pixels = frame();
    EXPECT_EQ(at(pixels, 205, 65), apptest::kStartScreenColour);
}

// The mini-game's cursor with its size flag: its size and offset are given for 1024 x 768 and
// scale with the screen; drawn at two sizes.
class MinigameCursorTest : public GameDrawTest, public ::testing::WithParamInterface<unsigned> {
protected:
    void SetUp() override { start(GetParam(), GetParam() * 3 / 4); }
};

TEST_P(MinigameCursorTest, ScalesItsSizeAndOffsetWithTheScreen) {
    MinispielCursor& cursor = MinispielCursor::instance();
    cursor.setPicture(game->getCursorTable().getCursor(Solitaire::CursorTable::kFirstGodCursor));
    cursor.sizeFlag = true;
    cursor.size = D3DXVECTOR2(100.0f, 100.0f);
    cursor.offset = D3DXVECTOR2(-50.0f, -50.0f);
    float const scale = static_cast<float>(width) / 1024.0f;
    // Above the start screen's buttons, which do not move with the screen size.
    float const px = static_cast<float>(width) / 2;
    float const py = static_cast<float>(height) / 4;
    std::vector<uint32_t> pixels = frameWithPointer(px, py);
    uint32_t const picture = apptest::cursorColour(Solitaire::CursorTable::kFirstGodCursor, 0);
    // The square spans the pointer -50 .. +50 design pixels in each direction.
    float const half = 50.0f * scale;
    EXPECT_EQ(at(pixels, unsigned(px - half + 2), unsigned(py - half + 2)), picture) << width;
    EXPECT_EQ(at(pixels, unsigned(px + half - 2), unsigned(py + half - 2)), picture) << width;
    EXPECT_EQ(at(pixels, unsigned(px - half - 3), unsigned(py)), apptest::kStartScreenColour) << width;
    EXPECT_EQ(at(pixels, unsigned(px + half + 3), unsigned(py)), apptest::kStartScreenColour) << width;

    // The second-cursor mode: the normal cursor at the pointer and the picture, 50 design pixels
    // square, centred on the second position as well.
    globals->setMouseCursor(1);
    cursor.secondCursor = true;
    cursor.secondPosition = D3DXVECTOR2(40.0f, 40.0f);
    pixels = frameWithPointer(px, py);
    float const side = 50.0f * scale;
    unsigned const low = unsigned(40.0f - side / 2);
    unsigned const high = unsigned(40.0f + side / 2);
    EXPECT_EQ(at(pixels, unsigned(px + 2), unsigned(py + 2)), apptest::cursorColour(10, 0)) << width;
    EXPECT_EQ(at(pixels, low + 2, low + 2), picture) << width;
    EXPECT_EQ(at(pixels, high - 2, high - 2), picture) << width;
    EXPECT_EQ(at(pixels, high + 3, 40), apptest::kStartScreenColour) << width;
    EXPECT_EQ(at(pixels, low - 3, 40), apptest::kStartScreenColour) << width;
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, MinigameCursorTest, ::testing::Values(320u, 640u));

TEST_F(GameDrawTest, FramedPanelDrawsThreeLayersOfNinePieces) {
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    Orvex::Sprite& sprite = Orvex::D3DInterface::getInstance().getSprite().getSprite();
    // Row 1; first layer column 2, second 0 (+3), third 1 (+6).
    auto panel = [&](D3DCOLOR a, D3DCOLOR c, D3DCOLOR b) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        sprite.Begin(16, nullptr);
        globals->drawFrame(RECT{40, 40, 280, 200}, 30, a, c, b, 1, 2, 1, 0);
        sprite.End();
        device->EndScene();
        return testsupport::readRenderTarget(device);
    };
    struct {
        D3DCOLOR a, c, b;
        unsigned column;
    } const layers[] = {
        {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 7},  // the third layer lies on top
        {0xFFFFFFFF, 0x00000000, 0xFFFFFFFF, 3},  // a clear third: the second shows
        {0xFFFFFFFF, 0x00000000, 0x00000000, 2},  // only the first
    };
    for (auto const& l : layers) {
        std::vector<uint32_t> pixels = panel(l.a, l.c, l.b);
        // Corners of 30 pixels, edges between them, the centre stretched.
        struct {
            unsigned x, y, piece;
        } const probes[] = {{45, 45, 0}, {160, 45, 1}, {275, 45, 2}, {45, 120, 3}, {160, 120, 4},
                            {275, 120, 5}, {45, 195, 6}, {160, 195, 7}, {275, 195, 8}};
        for (auto const& p : probes)
            EXPECT_EQ(at(pixels, p.x, p.y), apptest::rectsColour(1, l.column, p.piece)) << l.column << " " << p.piece;
        EXPECT_EQ(at(pixels, 20, 20), 0xFF000000u);
    }
    // Tinted: the layer's colour multiplies the piece.
    std::vector<uint32_t> tinted = panel(0xFF000000, 0x00000000, 0x00000000);
    EXPECT_EQ(at(tinted, 160, 120), 0xFF000000u);
}

// A mini-game asks for its frames through the manager from inside its drawing; the game draws
// them with its frame set: the plain request in row 0's first layer, the styled one with its own
// row, columns and colours.
TEST_F(GameDrawTest, MinigameFrameRequestsDrawTheGamesFrames) {
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    Orvex::Sprite& sprite = Orvex::D3DInterface::getInstance().getSprite().getSprite();
    Solitaire::MinispielManager& games = Solitaire::MinispielManager::instance();
    auto drawn = [&](auto const& request) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        sprite.Begin(16, nullptr);
        request();
        sprite.End();
        device->EndScene();
        return testsupport::readRenderTarget(device);
    };
    RECT const rect{40, 40, 280, 200};
    auto styled = [&](D3DCOLOR c) {
        Solitaire::MinispielFrame frame;
        frame.rect = rect;
        frame.border = 30;
        frame.colourA = frame.colourB = 0xFFFFFFFF;
        frame.colourC = c;
        frame.row = 1;
        frame.columnA = 2;
        frame.columnC = 1;
        frame.columnB = 0;
        games.styledFrameRequested.emit(frame);
    };
    struct {
        char const* what;
        std::function<void()> request;
        unsigned row, column;
    } const cases[] = {
        {"plain", [&] { games.frameRequested.emit(rect, 30, 0xFFFFFFFF); }, 0, 0},
        {"styled, third layer on top", [&] { styled(0xFFFFFFFF); }, 1, 7},
        {"styled, clear third layer", [&] { styled(0x00000000); }, 1, 3},
    };
    for (auto const& c : cases) {
        std::vector<uint32_t> pixels = drawn(c.request);
        struct {
            unsigned x, y, piece;
        } const probes[] = {{45, 45, 0}, {160, 45, 1}, {160, 120, 4}, {275, 195, 8}};
        for (auto const& p : probes)
            EXPECT_EQ(at(pixels, p.x, p.y), apptest::rectsColour(c.row, c.column, p.piece)) << c.what << " " << p.piece;
        EXPECT_EQ(at(pixels, 20, 20), 0xFF000000u) << c.what;
    }
}

// Without "RECTS" nothing is drawn, and nothing is logged frame after frame.
TEST_F(GameDrawTest, FrameWithoutItsTextureDrawsNothingAndLogsNothing) {
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    Orvex::Sprite& sprite = Orvex::D3DInterface::getInstance().getSprite().getSprite();
    Orvex::logPlain(L"-- frames without their texture");
    Solitaire::MyGlobals missing;  // its frames never loaded
    for (int i = 0; i < 10; ++i) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        sprite.Begin(16, nullptr);
        missing.drawFrame(RECT{0, 0, 320, 240}, 20, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0, 0, 0, 0);
        sprite.End();
        device->EndScene();
    }
    std::vector<uint32_t> pixels = testsupport::readRenderTarget(device);
    EXPECT_EQ(at(pixels, 160, 120), 0xFF000000u);
    EXPECT_EQ(at(pixels, 5, 5), 0xFF000000u);
    auto const after = Orvex::Logger::getInstance().recentLines();
    EXPECT_EQ(after.back(), L"-- frames without their texture");
}

// The loading screen: the splash window shown for the frame and the bands of "R_RANDMENU"
// covering the screen around the centre window on all four sides (each picture lies against
// the centre window).
TEST_F(GameDrawTest, LoadingScreenShowsTheSplashWithTheFrameBands) {
    ASSERT_TRUE(game->getLoadingScreen().showLoadingProgress(0.5f, true));
    std::vector<uint32_t> pixels = testsupport::readRenderTarget(Orvex::D3DInterface::getInstance().getDevice());
    unsigned const m = static_cast<unsigned>(apptest::kFrameMargin);
    EXPECT_EQ(at(pixels, 160, 120), apptest::kSplashColour);
    EXPECT_EQ(at(pixels, m / 2, 120), apptest::kBandLeft);
    EXPECT_EQ(at(pixels, 0, 120), apptest::kBandLeft);
    EXPECT_EQ(at(pixels, width - 1 - m / 2, 120), apptest::kBandRight);
    EXPECT_EQ(at(pixels, 160, m / 2), apptest::kBandTop);
    EXPECT_EQ(at(pixels, 160, height - 1 - m / 2), apptest::kBandBottom);
    // Each band overlaps the centre by one pixel; later bands lie over earlier ones at the corners.
    EXPECT_EQ(at(pixels, m, 120), apptest::kBandLeft);
    EXPECT_EQ(at(pixels, m + 1, 120), apptest::kSplashColour);
    EXPECT_EQ(at(pixels, 2, 2), apptest::kBandTop);
    EXPECT_EQ(at(pixels, width - 2, height - 2), apptest::kBandBottom);
    // The splash window is hidden again for the game's own frames.
    step(0.1);
    pixels = frame();
    EXPECT_EQ(at(pixels, 160, 120) == apptest::kSplashColour, false);
}

}  // namespace
