// The game's own screens at the screen sizes players have (1280 x 720, 1366 x 768, 1024 x 768,
// 1920 x 1080): every menu of data\GUI\menus.mnu entered, and every button, check box and slider it
// shows lying inside the back buffer, so a player can reach each one. The check boxes' pictures
// are drawn square (read back from the pixels) on the options and help screens, in the
// new-profile dialog and on a tutorial page, whose shape follows the screen's; the sliders' knobs
// sit in the middle of their tracks, with the caption above the track.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/GameFixture.h"
#include "tests/support/TestSupport.h"

namespace {

using apptest::ScreenSize;

constexpr ScreenSize kSizes[] = {{1280, 720}, {1366, 768}, {1024, 768}, {1920, 1080}};
// Frames of 1/30 s after a menu is entered, for its windows to reach their goals.
constexpr int kSettleFrames = 40;
// Rectangles are floats; a window may end half a pixel past the edge.
constexpr float kEdgeSlack = 0.5f;
// Drawn squares may differ by filtering at their edges.
constexpr int kSquareSlack = 2;

class ScreenFitTest : public apptest::GameFixture {
protected:
    // Started per size by the test.
    void SetUp() override {}
    void TearDown() override {
        if (game) stop();
    }

    void startAt(ScreenSize size) {
        if (game) stop();
        startOn(testsupport::sourceDir(), size.width, size.height);
    }
    void settle() {
        for (int i = 0; i < kSettleFrames; ++i) step(1.0 / 30);
    }

    // Shown: the window and every ancestor visible and not faded out.
    static bool shown(Orvex::GUIWindow const& window) {
        for (Orvex::GUIWindow const* w = &window; w; w = w->getParent())
            if (!w->getOptions().visible || !(w->getDrawOptions().alpha > 0.0)) return false;
        return true;
    }
    // Inside a scroll panel, which clips what it scrolls away.
    static bool scrolled(Orvex::GUIWindow const& window) {
        for (Orvex::GUIWindow const* w = window.getParent(); w; w = w->getParent())
            if (dynamic_cast<Orvex::GUIScrollPanel const*>(w)) return true;
        return false;
    }
    static bool clickable(Orvex::GUIWindow const& window) {
        return dynamic_cast<Orvex::GUIButton const*>(&window) || dynamic_cast<Orvex::GUICheckbox const*>(&window) ||
               dynamic_cast<Orvex::GUISlider const*>(&window);
    }

    // The back buffer's size, which the rectangles must lie in.
    static std::pair<float, float> backBuffer() {
        IDirect3DSurface9* back = nullptr;
        Orvex::D3DInterface::getInstance().getDevice()->GetRenderTarget(0, &back);
        D3DSURFACE_DESC desc{};
        if (back) {
            back->GetDesc(&desc);
            back->Release();
        }
        return {static_cast<float>(desc.Width), static_cast<float>(desc.Height)};
    }

    // The bounding box of the pixels inside r that pass the test, in back-buffer pixels.
    template <typename Test>
    RECT boxOf(std::vector<uint32_t> const& pixels, Orvex::FRect const& r, Test test) const {
        RECT box{static_cast<LONG>(width), static_cast<LONG>(height), -1, -1};
        int const x0 = std::max(0, static_cast<int>(std::floor(r.left)));
        int const y0 = std::max(0, static_cast<int>(std::floor(r.top)));
        int const x1 = std::min(static_cast<int>(width), static_cast<int>(std::ceil(r.right)));
        int const y1 = std::min(static_cast<int>(height), static_cast<int>(std::ceil(r.bottom)));
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (test(at(pixels, static_cast<unsigned>(x), static_cast<unsigned>(y)))) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }

    // The check box's picture drawn square, at the front of its row, about as tall as the row.
    void expectSquareBox(std::vector<uint32_t> const& pixels, wchar_t const* name, ScreenSize size) {
        SCOPED_TRACE(port::toUtf8(name));
        auto* checkbox = dynamic_cast<Orvex::GUICheckbox*>(find(name));
        ASSERT_NE(checkbox, nullptr);
        Orvex::FRect const row = checkbox->getScreenRect();
        Orvex::FRect const place = checkbox->getButton()->getScreenRect();
        // The picture's light rim (E0E0E0) frames it whatever its state.
        RECT const box = boxOf(pixels, place, [](uint32_t argb) {
            unsigned const r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
            return r >= 0xC0 && g >= 0xC0 && b >= 0xC0;
        });
        ASSERT_GE(box.right, box.left) << "no check box drawn at " << size.width << "x" << size.height;
        long const w = box.right - box.left, h = box.bottom - box.top;
        EXPECT_LE(std::abs(w - h), kSquareSlack) << w << "x" << h << " at " << size.width << "x" << size.height;
        EXPECT_GE(static_cast<float>(h), 0.6f * (row.bottom - row.top)) << "at " << size.width << "x" << size.height;
        EXPECT_LE(std::fabs(static_cast<float>(box.left) - row.left), 2.0f) << "at " << size.width << "x" << size.height;
    }
};

TEST_F(ScreenFitTest, EveryScreensButtonsLieOnTheScreenAtEverySize) {
    for (ScreenSize const size : kSizes) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        startAt(size);
        auto const [bw, bh] = backBuffer();
        ASSERT_EQ(bw, static_cast<float>(size.width));
        ASSERT_EQ(bh, static_cast<float>(size.height));
        std::vector<std::wstring> menus;
        for (Orvex::GUIMenuN const* menu : Orvex::GUIMenuManagerN::instance().getMenus()) menus.push_back(menu->getName());
        ASSERT_GE(menus.size(), 20u);
        int checked = 0;
        std::vector<std::string> off;
        for (std::wstring const& menu : menus) {
            showMenu(menu.c_str());
            settle();
            std::vector<Orvex::GUIWindow*> all;
            Orvex::GUISystem::instance().collectAllWindows(all);
            for (Orvex::GUIWindow const* window : all) {
                if (!clickable(*window) || !shown(*window) || scrolled(*window)) continue;
                ++checked;
                Orvex::FRect const r = window->getScreenRect();
                if (r.left < -kEdgeSlack || r.top < -kEdgeSlack || r.right > bw + kEdgeSlack || r.bottom > bh + kEdgeSlack)
                    off.push_back(port::toUtf8(menu + L" " + window->getName()) + " at " + std::to_string(r.left) + "," +
                                  std::to_string(r.top) + " .. " + std::to_string(r.right) + "," + std::to_string(r.bottom));
            }
        }
        EXPECT_GE(checked, 100);
        EXPECT_EQ(off, std::vector<std::string>{});
    }
}

TEST_F(ScreenFitTest, CheckBoxesAreSquareAndKnobsSitInTheMiddleOfTheirTracks) {
    for (ScreenSize const size : {ScreenSize{1024, 768}, ScreenSize{1280, 720}, ScreenSize{1920, 1080}}) {
        SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height));
        startAt(size);
        showMenu(L"OPTIONENMENU");
        settle();
        std::vector<uint32_t> pixels = frame();
        if (size.width == 1920) keepBackBuffer("screen_fit_options_1920x1080.png");
        for (wchar_t const* name : {L"O_Fullscreen", L"O_Tutorial"}) expectSquareBox(pixels, name, size);
        for (std::wstring const slider : {L"AufloesungSlider", L"SoundSlider", L"MusicSlider", L"RandomSlider"}) {
            SCOPED_TRACE(port::toUtf8(slider));
            Orvex::GUIWindow* knob = find(slider + L"_KNAUF");
            Orvex::GUIWindow* track = find(slider + L"_BAHN");
            Orvex::GUIWindow* caption = find(slider + L"_TEXT");
            ASSERT_TRUE(knob && track && caption);
            Orvex::FRect const k = knob->getScreenRect(), t = track->getScreenRect(), c = caption->getScreenRect();
            float const knobH = k.bottom - k.top, trackH = t.bottom - t.top;
            EXPECT_NEAR((k.top + k.bottom) / 2.0f, (t.top + t.bottom) / 2.0f, 1.0f);
            EXPECT_GE(knobH, 0.6f * trackH);
            EXPECT_LE(knobH, trackH);
            EXPECT_GE(k.left, t.left - kEdgeSlack);
            EXPECT_LE(k.right, t.right + kEdgeSlack);
            EXPECT_LE(c.bottom, t.top + kEdgeSlack) << "the caption stands above the track";
        }

        // The help screen's and the new-profile dialog's switches.
        for (auto const& [menu, box] :
             {std::pair{L"HILFEMENU", L"H_HELP_CHECKBOX_2"}, std::pair{L"NEUESPROFIL", L"NP_HELP_CHECKBOX_3"}}) {
            showMenu(menu);
            settle();
            expectSquareBox(frame(), box, size);
        }

        // A tutorial page (shaped as the screen is) and its switch.
        ASSERT_TRUE(Solitaire::SolTutorialManager::instance().showTutorial(L"TUTORIALMENU", true, false,
                                                                            D3DXVECTOR2(0.0f, 0.0f)));
        settle();
        pixels = frame();
        if (size.width == 1920) keepBackBuffer("screen_fit_tutorial_1920x1080.png");
        expectSquareBox(pixels, L"T_HELP_CHECKBOX_1", size);
        // The tutorial manager outlives the game object.
        Solitaire::SolTutorialManager::instance().closeTutorial();
    }
}

}  // namespace
