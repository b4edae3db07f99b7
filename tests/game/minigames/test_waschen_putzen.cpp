// The cleaning game on the shipped data ("MINIGAME_17": the dirty window soaped with the sponge,
// then polished with the cloth, each pass a 64 x 48 mask under a 640 x 480 wash area), played by
// drags through the real window; the picture read back through the real device and the game's
// post effect; its rules and bad input on small definitions of its own.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/RenderManager.h"
#include "engine/render/Texture2D.h"
#include "game/look/StyleSettings.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/WaschenPutzenGame.h"
#include "game/minigames/WaschenPutzenPass.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::MinispielCursor;
using Solitaire::WaschenPutzenGame;
using Pass = Solitaire::WaschenPutzenGame::Pass;

// The rows of a scrub, in mask pixels apart (the brush's radius is 4).
constexpr float kRowStep = 3.0f;
// The points of a row, in mask pixels apart (each frame the pointer jumps this far).
constexpr float kColumnStep = 6.0f;

D3DXCOLOR pixelOf(Orvex::Texture2D& texture, unsigned x, unsigned y) {
    D3DXCOLOR out(0.0f, 0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(texture.readPixel(out, x, y));
    return out;
}

// A screen pixel (ARGB) against a picture's colour, within the tolerance on red, green and blue.
bool looksLike(uint32_t screen, D3DXCOLOR const& expected, int tolerance) {
    int const channels[3] = {static_cast<int>((screen >> 16) & 0xFF), static_cast<int>((screen >> 8) & 0xFF),
                             static_cast<int>(screen & 0xFF)};
    float const wanted[3] = {expected.r, expected.g, expected.b};
    for (int i = 0; i < 3; ++i)
        if (std::abs(channels[i] - static_cast<int>(std::lround(wanted[i] * 255.0f))) > tolerance) return false;
    return true;
}

class WaschenPutzenTest : public minigametest::MinigameFixture {
protected:
    // The screen point over a mask pixel of the current pass (its middle).
    D3DXVECTOR2 overMask(WaschenPutzenGame const& game, float x, float y) const {
        Orvex::FRect const r = game.getWashArea()->getScreenRect();
        Pass const& pass = *game.getCurrentPass();
        return D3DXVECTOR2(std::floor(r.left + (x + 0.5f) / static_cast<float>(pass.getWidth()) * (r.right - r.left)),
                           std::floor(r.top + (y + 0.5f) / static_cast<float>(pass.getHeight()) * (r.bottom - r.top)));
    }

    // Holds the button and sweeps the whole wash area row by row, one jump a frame.
    void scrub(WaschenPutzenGame& game) {
        Pass const& pass = *game.getCurrentPass();
        float const w = static_cast<float>(pass.getWidth());
        float const h = static_cast<float>(pass.getHeight());
        moveTo(overMask(game, 1.0f, 1.0f));
        press(overMask(game, 1.0f, 1.0f));
        bool forward = true;
        for (float y = 1.0f; y < h; y += kRowStep) {
            for (float i = 0.0f; i <= w; i += kColumnStep) {
                float const x = forward ? std::min(i, w - 1.0f) : std::max(w - 1.0f - i, 0.0f);
                moveTo(overMask(game, x, y));
            }
            forward = !forward;
        }
        release(overMask(game, forward ? 0.0f : w - 1.0f, h - 1.0f));
    }

    void clickTool(WaschenPutzenGame const& game, std::size_t index) {
        click(middleOf(game.getPasses()[index]->toolWindow->getScreenRect()));
    }

    void win(WaschenPutzenGame& game) {
        scrub(game);
        clickTool(game, 1);
        scrub(game);
    }

    WaschenPutzenGame* defineAndPlay(std::wstring const& keys, std::wstring const& passes) {
        define(L"<MINISPIEL TYPE=\"WASCHEN_PUTZEN\" NAME=\"W\" LSG_TIME=\"60\" TIMER=\"1\" " + keys + L">" + passes +
               L"</MINISPIEL>");
        return play<WaschenPutzenGame>(L"W");
    }

    // The game made of these passes (not played).
    WaschenPutzenGame* defineOnly(std::wstring const& passes) {
        define(L"<MINISPIEL TYPE=\"WASCHEN_PUTZEN\" NAME=\"W\">" + passes + L"</MINISPIEL>");
        return dynamic_cast<WaschenPutzenGame*>(manager().findMinispiel(L"W"));
    }

    static bool logged(logtest::LogWatch const& watch, std::wstring const& part) {
        for (std::wstring const& line : watch.lines())
            if (logtest::contains(line, part)) return true;
        return false;
    }

    bool infoShown(WaschenPutzenGame const& game) {
        ticks(kSettleFrames, false);
        return game.getInfoWindow()->getOptions().visible;
    }
};

// The shipped pass's look on a mask of our own: the shipped mask, clean within 16 of white. Keys
// given come first, so they count (of two equal attributes the first is read).
std::wstring const kMaskPass =
    L"<PASS %KEYS% MASK_NAME=\"M\" BLEND_NAME=\"B\" RADIUS=\"4\" DIST_COLOR=\"10101010\" DRAW_MODE=\"1\" "
    L"TIME_FAKTOR=\"8\" FERTIG_PIXELS=\"100\" TOOL=\"MG_WASCHEN_WERKZEUG\" ANIMATION=\"MG_WASCHEN_SCHWAMM\">"
    L"<TEXTUREN><TEXTUR2D NAME=\"M\"><FILE FILENAME=\"data\\Games\\clean_maske.png\"/></TEXTUR2D>"
    L"<TEXTUR2D NAME=\"B\"><FILE FILENAME=\"data\\Games\\clean_nass.png\"/></TEXTUR2D></TEXTUREN></PASS>";

std::wstring maskPass(std::wstring const& keys) {
    std::wstring out = kMaskPass;
    out.replace(out.find(L"%KEYS%"), 6, keys);
    return out;
}

TEST_F(WaschenPutzenTest, WonBySoapingAndPolishingTheWholeWindow) {
    auto* game = dynamic_cast<WaschenPutzenGame*>(begin(L"MINIGAME_17"));
    ASSERT_NE(game, nullptr);
    keep("waschen_hilfe");
    closeHelp();
    keep("waschen_start");
    ASSERT_EQ(game->getPasses().size(), 2u);
    EXPECT_EQ(game->getPasses()[0]->fertigPixels, 0x100);
    scrub(*game);
    Pass const& sponge = *game->getPasses()[0];
    EXPECT_TRUE(sponge.done);
    EXPECT_TRUE(sponge.reported);
    EXPECT_EQ(game->getInfoLabel()->getTextId(), sponge.textFertig);
    EXPECT_TRUE(infoShown(*game));
    EXPECT_FALSE(game->isFinished(false));
    keep("waschen_mitte");
    clickTool(*game, 1);
    EXPECT_EQ(game->getCurrentIndex(), 1u);
    scrub(*game);
    EXPECT_TRUE(game->isFinished(false));
    tick();
    keep("waschen_geloest");
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(WaschenPutzenTest, LostWhenTheTimeRunsOutOrClosedByCancel) {
    ASSERT_NE(play<WaschenPutzenGame>(L"MINIGAME_17"), nullptr);
    loseByTime();
    expectSkipped();
    ASSERT_NE(play<WaschenPutzenGame>(L"MINIGAME_17"), nullptr);
    clickPart(L"WASCHEN_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

TEST_F(WaschenPutzenTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    auto const winIt = [this](Solitaire::Minispiel& game) { win(dynamic_cast<WaschenPutzenGame&>(game)); };
    SeededRun const first = playFromSeed(99, L"MINIGAME_17", winIt);
    SeededRun const second = playFromSeed(99, L"MINIGAME_17", winIt);
    ASSERT_FALSE(first.signals.empty());
    EXPECT_EQ(first.signals, second.signals);
    EXPECT_TRUE(first.picture == second.picture);
    expectWon();
}

TEST_F(WaschenPutzenTest, AFastDragPaintsEveryPointOfTheWalkedLine) {
    WaschenPutzenGame* game = play<WaschenPutzenGame>(L"MINIGAME_17");
    ASSERT_NE(game, nullptr);
    Pass& pass = *game->getPasses()[0];
    // From mask pixel (5, 10) to (55, 30) in a single frame.
    press(overMask(*game, 5.0f, 10.0f));
    moveTo(overMask(*game, 55.0f, 30.0f));
    release(overMask(*game, 55.0f, 30.0f));
    for (int x = 5; x <= 55; ++x) {
        int const y = static_cast<int>(std::lround(10.0 + (x - 5) * 20.0 / 50.0));
        EXPECT_GT(pixelOf(*pass.working, x, y).r, 0.0f) << x << " " << y;
    }
    // Far from the line nothing changed.
    EXPECT_EQ(pixelOf(*pass.working, 50, 8).r, 0.0f);
}

TEST_F(WaschenPutzenTest, TheEffectShowsTheBackgroundUntouchedAndTheOverlayWherePainted) {
    WaschenPutzenGame* game = play<WaschenPutzenGame>(L"MINIGAME_17");
    ASSERT_NE(game, nullptr);
    ASSERT_NE(game->getRenderManager(), nullptr);
    ASSERT_NE(game->getResult(), nullptr);
    Pass& pass = *game->getPasses()[0];
    // A few strokes over the sky left of the sun, held until the mask is white there.
    for (int i = 0; i < 6; ++i) {
        press(overMask(*game, 14.0f, 8.0f));
        moveTo(overMask(*game, 24.0f, 8.0f));
        release(overMask(*game, 24.0f, 8.0f));
    }
    EXPECT_EQ(pixelOf(*pass.working, 19, 8).r, 1.0f);
    tick();
    std::vector<uint32_t> const shot = pixels();
    keep("waschen_pinsel");
    // The wash area shows the 512 x 384 picture: one mask pixel is 8 picture pixels.
    Orvex::FRect const r = game->getWashArea()->getScreenRect();
    auto const screenOf = [&](float px, float py) {
        return D3DXVECTOR2(r.left + px / 512.0f * (r.right - r.left), r.top + py / 384.0f * (r.bottom - r.top));
    };
    D3DXVECTOR2 const painted(19.5f * 8.0f, 8.5f * 8.0f);
    D3DXVECTOR2 const untouched(19.5f * 8.0f, 30.5f * 8.0f);
    uint32_t const atPainted = pixelAt(shot, screenOf(painted.x, painted.y));
    uint32_t const atUntouched = pixelAt(shot, screenOf(untouched.x, untouched.y));
    D3DXCOLOR const overlay = pixelOf(*pass.overlay, 156, 68);
    D3DXCOLOR const background = pixelOf(*game->getBackground(), 156, 244);
    EXPECT_TRUE(looksLike(atPainted, overlay, 12)) << std::hex << atPainted;
    EXPECT_TRUE(looksLike(atUntouched, background, 12)) << std::hex << atUntouched;
    EXPECT_FALSE(looksLike(atPainted, pixelOf(*game->getBackground(), 156, 68), 12)) << std::hex << atPainted;
}

TEST_F(WaschenPutzenTest, ALaterToolIsRefusedWhileAnEarlierPassIsIncomplete) {
    WaschenPutzenGame* game = play<WaschenPutzenGame>(L"MINIGAME_17");
    ASSERT_NE(game, nullptr);
    clickTool(*game, 1);
    EXPECT_EQ(game->getCurrentIndex(), 0u);
    EXPECT_EQ(game->getInfoLabel()->getTextId(), game->getPasses()[0]->textNFertig);
    EXPECT_TRUE(infoShown(*game));
    keep("waschen_noch_nicht");
    // Any press hides the news.
    click(overMask(*game, 30.0f, 20.0f));
    EXPECT_FALSE(infoShown(*game));
    scrub(*game);
    clickTool(*game, 1);
    EXPECT_EQ(game->getCurrentIndex(), 1u);
    // Back is always allowed.
    clickTool(*game, 0);
    EXPECT_EQ(game->getCurrentIndex(), 0u);
}

TEST_F(WaschenPutzenTest, TheDoneTextComesOnceAndOnlyTheLastPassSolves) {
    WaschenPutzenGame* game = play<WaschenPutzenGame>(L"MINIGAME_17");
    ASSERT_NE(game, nullptr);
    scrub(*game);
    EXPECT_TRUE(infoShown(*game));
    EXPECT_FALSE(game->isFinished(false));
    // Released again over the done pass: no news a second time.
    click(overMask(*game, 30.0f, 20.0f));
    EXPECT_FALSE(infoShown(*game));
    EXPECT_FALSE(game->isFinished(false));
    EXPECT_EQ(log.count(L"ended"), 0u);
}

TEST_F(WaschenPutzenTest, TheToolIsTheCursorAtItsSizeAndGoesWithTheGame) {
    WaschenPutzenGame* game = play<WaschenPutzenGame>(L"MINIGAME_17");
    ASSERT_NE(game, nullptr);
    MinispielCursor const& cursor = MinispielCursor::instance();
    D3DXVECTOR2 const over = overMask(*game, 30.0f, 20.0f);
    moveTo(over);
    tick();
    ASSERT_EQ(cursor.picture, game->getPasses()[0]->animation);
    EXPECT_TRUE(cursor.sizeFlag);
    EXPECT_EQ(cursor.size, D3DXVECTOR2(64.0f, 64.0f));
    EXPECT_EQ(cursor.offset, D3DXVECTOR2(-32.0f, -32.0f));
    std::vector<uint32_t> const shot = pixels();
    keep("waschen_schwamm");
    // The sponge's yellow under the pointer (its frame's middle), not right of its 64 pixels.
    uint32_t const middle = pixelAt(shot, over);
    EXPECT_GT((middle >> 16) & 0xFF, 0xC0u) << std::hex << middle;
    EXPECT_LT(middle & 0xFF, 0x80u) << std::hex << middle;
    uint32_t const beside = pixelAt(shot, over + D3DXVECTOR2(40.0f, 0.0f));
    EXPECT_FALSE(((beside >> 16) & 0xFF) > 0xC0 && (beside & 0xFF) < 0x80) << std::hex << beside;
    clickPart(L"WASCHEN_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
    // Closed, the game flow deactivates it: the cursor goes whole, and it renders nothing more.
    manager().setActiveMinispiel(nullptr);
    ticks(kSettleFrames, false);
    EXPECT_EQ(cursor.picture, nullptr);
    EXPECT_FALSE(cursor.sizeFlag);
    EXPECT_FALSE(game->isShown());
    EXPECT_EQ(game->getRenderManager(), nullptr);
    EXPECT_EQ(game->getResult(), nullptr);
}

TEST_F(WaschenPutzenTest, APointerFarOffTheWashAreaWalksOnlyWithinTheMask) {
    WaschenPutzenGame* game = play<WaschenPutzenGame>(L"MINIGAME_17");
    ASSERT_NE(game, nullptr);
    press(overMask(*game, 30.0f, 20.0f));
    moveTo(D3DXVECTOR2(1020.0f, 760.0f));
    EXPECT_EQ(game->getLastPoint(), D3DXVECTOR2(63.0f, 47.0f));
    moveTo(D3DXVECTOR2(2.0f, 2.0f));
    EXPECT_EQ(game->getLastPoint(), D3DXVECTOR2(0.0f, 0.0f));
    release(D3DXVECTOR2(2.0f, 2.0f));
    // A press outside starts no painting.
    press(D3DXVECTOR2(2.0f, 2.0f));
    EXPECT_FALSE(game->isPainting());
    release(D3DXVECTOR2(2.0f, 2.0f));
}

TEST_F(WaschenPutzenTest, BoxAndFullScanPaintAlike) {
    WaschenPutzenGame* game = defineOnly(maskPass(L"RADIUS=\"5.5\"") + maskPass(L"RADIUS=\"5.5\""));
    ASSERT_NE(game, nullptr);
    Pass& box = *game->getPasses()[0];
    Pass& full = *game->getPasses()[1];
    RECT const all{0, 0, 64, 48};
    D3DXVECTOR2 const points[] = {{10.0f, 10.0f}, {10.5f, 10.5f},   {0.0f, 0.0f},  {63.0f, 47.0f},
                                  {-3.0f, 20.0f}, {31.25f, 23.75f}, {70.0f, 20.0f}};
    for (D3DXVECTOR2 const& p : points)
        for (int stroke = 0; stroke < 3; ++stroke) {
            box.paint(p, 1.0f / 60.0f);
            full.paintIn(p, 1.0f / 60.0f, all);
        }
    for (unsigned y = 0; y < 48; ++y)
        for (unsigned x = 0; x < 64; ++x) {
            ASSERT_EQ(static_cast<DWORD>(pixelOf(*box.working, x, y)), static_cast<DWORD>(pixelOf(*full.working, x, y)))
                << x << " " << y;
            ASSERT_EQ(static_cast<DWORD>(pixelOf(*box.remainder, x, y)),
                      static_cast<DWORD>(pixelOf(*full.remainder, x, y)))
                << x << " " << y;
        }
}

TEST_F(WaschenPutzenTest, TheRemainderCarriesStepsTooSmallForOneLevel) {
    WaschenPutzenGame* game = defineOnly(maskPass(L"DRAW_COLOR=\"FF010101\" TIME_FAKTOR=\"1\""));
    ASSERT_NE(game, nullptr);
    Pass& pass = *game->getPasses()[0];
    // 1/255 x 0.3 a stroke: the fourth stroke makes one level.
    D3DXVECTOR2 const point(20.0f, 20.0f);
    for (int stroke = 1; stroke <= 3; ++stroke) {
        EXPECT_FALSE(pass.paint(point, 0.3f)) << stroke;
        EXPECT_EQ(pixelOf(*pass.working, 20, 20).r, 0.0f);
    }
    EXPECT_TRUE(pass.paint(point, 0.3f));
    EXPECT_NEAR(pixelOf(*pass.working, 20, 20).r, 1.0f / 255.0f, 1e-6f);
    // The same channel step on green and blue; alpha was 1 already.
    EXPECT_NEAR(pixelOf(*pass.working, 20, 20).b, 1.0f / 255.0f, 1e-6f);
}

struct DrawModeCase {
    wchar_t const* keys;
    float red;  // of a mask pixel that was black, after one stroke of 1/60 s
};

class WaschenPutzenDrawModeTest : public WaschenPutzenTest, public ::testing::WithParamInterface<DrawModeCase> {};

TEST_P(WaschenPutzenDrawModeTest, OneStrokeChangesAPixelByTheMode) {
    WaschenPutzenGame* game = defineOnly(maskPass(GetParam().keys));
    ASSERT_NE(game, nullptr);
    Pass& pass = *game->getPasses()[0];
    pass.paint(D3DXVECTOR2(20.0f, 20.0f), 1.0f / 60.0f);
    EXPECT_NEAR(pixelOf(*pass.working, 20, 20).r, GetParam().red, 1e-6f) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(Cases, WaschenPutzenDrawModeTest,
                         ::testing::Values(
                             // 8 / 60 of full white: 34 levels.
                             DrawModeCase{L"", 34.0f / 255.0f},
                             // Set: the colour at once, whatever the step.
                             DrawModeCase{L"DRAW_MODE=\"0\" DRAW_COLOR=\"FF808080\"", 128.0f / 255.0f},
                             DrawModeCase{L"DRAW_MODE=\"7\" DRAW_COLOR=\"FF404040\"", 64.0f / 255.0f},
                             // Subtract from black stays black.
                             DrawModeCase{L"DRAW_MODE=\"2\"", 0.0f}));

TEST_F(WaschenPutzenTest, PaintingAwayFromTheGoalGivesNoProgressNotFull) {
    WaschenPutzenGame* game = defineOnly(maskPass(L"DRAW_MODE=\"2\" RADIUS=\"3\""));
    ASSERT_NE(game, nullptr);
    Pass& pass = *game->getPasses()[0];
    // The white border is clean already; darken a corner of it.
    for (int stroke = 0; stroke < 10; ++stroke) pass.paint(D3DXVECTOR2(0.0f, 0.0f), 1.0f / 30.0f);
    EXPECT_FALSE(pass.checkCoverage());
    EXPECT_LT(pass.clean, pass.maskClean);
    EXPECT_EQ(pass.progress, 0.0f);
}

TEST_F(WaschenPutzenTest, AMaskWithNothingToCleanIsDoneAtOnce) {
    // No mask: an empty one (all 0), which is the goal colour within the tolerance.
    WaschenPutzenGame* game =
        defineOnly(L"<PASS GOAL_COLOR=\"00000000\" DIST_COLOR=\"10101010\" FERTIG_PIXELS=\"10\"/>");
    ASSERT_NE(game, nullptr);
    Pass& pass = *game->getPasses()[0];
    EXPECT_EQ(pass.maskUnclean, 0u);
    EXPECT_TRUE(pass.checkCoverage());
    EXPECT_EQ(pass.progress, 1.0f);
    EXPECT_TRUE(std::isfinite(pass.progress));
}

struct NeverDoneCase {
    wchar_t const* keys;
    bool logs;
};

class WaschenPutzenNeverDoneTest : public WaschenPutzenTest, public ::testing::WithParamInterface<NeverDoneCase> {};

TEST_P(WaschenPutzenNeverDoneTest, APassThatCanNeverBeDoneSaysSoOnce) {
    logtest::LogWatch watch;
    defineOnly(std::wstring(L"<PASS ") + GetParam().keys + L"/>");
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines()) lines += logtest::contains(line, L"never be done") ? 1 : 0;
    EXPECT_EQ(lines, GetParam().logs ? 1u : 0u) << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WaschenPutzenNeverDoneTest,
    ::testing::Values(NeverDoneCase{L"", true}, NeverDoneCase{L"DIST_COLOR=\"10101010\"", true},
                      NeverDoneCase{L"DIST_COLOR=\"10101010\" FERTIG_PIXELS=\"1\"", false},
                      NeverDoneCase{L"DIST_COLOR=\"10100010\" FERTIG_PIXELS=\"1\"", true},
                      NeverDoneCase{L"DIST_COLOR=\"10101010\" FERTIG_PIXELS=\"FFFFFFFF\"", true},
                      NeverDoneCase{L"DIST_COLOR=\"10101010\" FERTIG_PIXELS=\"1\" FERTIG_PERCENT=\"1\"", true}));

TEST_F(WaschenPutzenTest, FertigPixelsIsHexadecimal) {
    WaschenPutzenGame* game = defineOnly(
        L"<PASS FERTIG_PIXELS=\"100\"/><PASS FERTIG_PIXELS=\"1F\"/><PASS FERTIG_PIXELS=\"FFFFFFFF\"/><PASS/>");
    ASSERT_NE(game, nullptr);
    int const expected[] = {256, 31, -1, -1};
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(game->getPasses()[i]->fertigPixels, expected[i]);
}

TEST_F(WaschenPutzenTest, BrokenPicturesAndEffectsLeaveAGameThatCanBeSkipped) {
    logtest::LogWatch watch;
    WaschenPutzenGame* game =
        defineAndPlay(L"EFFECT=\"Nichts\" BACKGROUND=\"FEHLT\"",
                      L"<RENDERPASS FILE=\"data\\Games\\fehlt.rp\"/><RENDERPASS/>" +
                          maskPass(L"BLEND_NAME=\"MG_WASCHEN_GIBTSNICHT\" CURSOR_SIZE=\"1e39 5\"") +
                          L"<PASS MASK_NAME=\"FEHLT\" RADIUS=\"1e30\" TIME_FAKTOR=\"nan\"/>");
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(logged(watch, L"fehlt.rp"));
    EXPECT_TRUE(logged(watch, L"CURSOR_SIZE"));
    EXPECT_EQ(game->getPasses()[1]->getWidth(), Pass::kDefaultSide);
    EXPECT_LE(game->getPasses()[1]->radius, Pass::kMaxRadius);
    scrub(*game);
    tick();
    keep("waschen_kaputt");
    loseByTime();
    expectSkipped();
}

TEST_F(WaschenPutzenTest, WithoutTemplatesTheGameRunsAndCanBeSkipped) {
    define(L"<MINISPIEL TYPE=\"WASCHEN_PUTZEN\" NAME=\"W\" PR\u00C4FIX=\"KEINE_\">" + maskPass(L"") + L"</MINISPIEL>");
    auto* game = dynamic_cast<WaschenPutzenGame*>(begin(L"W"));
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getWashArea(), nullptr);
    ticks(10);
    EXPECT_FALSE(game->isPainting());
    skipFromHelp();
    tick();
    expectSkipped();
}

// Every pass of the shipped game scrubs with its emitter (the sponge's foam, the cloth's shine):
// while the pointer scrubs, the emitter follows it and its particles are drawn over the mini-game
// screen (the same frame drawn again without particles differs over the wash area).
TEST_F(WaschenPutzenTest, EveryShippedPassScrubsWithItsEmitterDrawnOverTheGame) {
    auto* cleaning = dynamic_cast<WaschenPutzenGame*>(begin(L"MINIGAME_17"));
    ASSERT_NE(cleaning, nullptr);
    closeHelp();
    Solitaire::StyleSettings& styles = Solitaire::StyleSettings::instance();
    ASSERT_GT(styles.getParticleSpawnMult(), 0.0f);
    for (std::size_t index = 0; index < cleaning->getPasses().size(); ++index) {
        SCOPED_TRACE(index);
        if (index > 0) {
            scrub(*cleaning);
            clickTool(*cleaning, index);
        }
        ASSERT_EQ(cleaning->getCurrentIndex(), index);
        EXPECT_TRUE(cleaning->getPasses()[index]->hasEmitter);
        D3DXVECTOR2 point = overMask(*cleaning, 8.0f, 8.0f);
        moveTo(point);
        press(point);
        for (float x = 8.0f; x < 40.0f; x += 2.0f) moveTo(point = overMask(*cleaning, x, 8.0f + x / 4.0f));
        auto* emitter = dynamic_cast<Solitaire::SolPartikelEmitter*>(cleaning->getParticles());
        ASSERT_NE(emitter, nullptr);
        EXPECT_GT(emitter->getEmittedCount(), 0u);
        EXPECT_EQ(emitter->getLayer(), 2);
        keep("waschen_partikel_" + std::to_string(index));
        std::vector<uint32_t> const with = pixels();
        styles.setParticleSpawnMult(0.0f);
        game->draw();  // the same frame again, nothing advanced
        std::vector<uint32_t> const without = pixels();
        styles.setParticleSpawnMult(1.0f);
        // The particles leave the pointer's path: count the changed pixels over the wash area.
        Orvex::FRect const area = cleaning->getWashArea()->getScreenRect();
        int changed = 0;
        for (float y = area.top; y < area.bottom; y += 1.0f)
            for (float x = area.left; x < area.right; x += 1.0f)
                if (pixelAt(with, D3DXVECTOR2(x, y)) != pixelAt(without, D3DXVECTOR2(x, y))) ++changed;
        EXPECT_GT(changed, 0) << "no particle drawn over the wash area";
        release(point);
    }
}

}  // namespace
