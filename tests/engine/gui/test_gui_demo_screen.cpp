// The widgets demo screen (tests/engine/gui/data/demo_widgets.gui) on the device at 800 x 600 with the
// engine's fonts (data/font.fnt): every widget loads through the factory, the screen is drawn
// and written as a screenshot PNG into the build folder (demo_widgets.png), and probes find each
// widget's pictures and texts where the layout puts them.
#include <filesystem>

#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIFrame.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUISlider.h"
#include "tests/engine/gui/GUIFixture.h"
#include "tests/engine/gui/GuiTestSupport.h"

using Orvex::FRect;
using Orvex::GUIWindow;
using guitest::GUIFixture;

namespace {

class DemoScreen : public GUIFixture {
protected:
    void SetUp() override {
        GUIFixture::SetUp();
        ASSERT_TRUE(openDevice());
        ASSERT_TRUE(loadFonts(L"data\\font.fnt"));
    }
    void TearDown() override {
        gui.clear();
        closeDevice();
        GUIFixture::TearDown();
    }
};

bool near(uint32_t argb, uint32_t want) { return guitest::nearRgb(argb, want, 4); }

}  // namespace

TEST_F(DemoScreen, EveryWidgetLoadsDrawsAndIsWrittenAsAScreenshot) {
    guitest::loadFile(L"tests\\engine\\gui\\data\\demo_widgets.gui");
    EXPECT_EQ(guitest::loggedCount({L"demo_widgets.gui"}), 0);
    EXPECT_NE(dynamic_cast<Orvex::GUIFrame*>(gui.findWindow(L"demo_rahmen")), nullptr);
    EXPECT_NE(dynamic_cast<Orvex::GUILabel*>(gui.findWindow(L"demo_titel")), nullptr);
    EXPECT_NE(dynamic_cast<Orvex::GUISlider*>(gui.findWindow(L"demo_regler_1")), nullptr);
    EXPECT_NE(dynamic_cast<Orvex::GUIProgressBar*>(gui.findWindow(L"demo_balken_cut")), nullptr);
    auto* lone = dynamic_cast<Orvex::GUICheckboxButton*>(gui.findWindow(L"demo_schalter"));
    ASSERT_NE(lone, nullptr);
    EXPECT_TRUE(lone->isChecked());
    auto* meter = dynamic_cast<Orvex::GUIProgressBar*>(gui.findWindow(L"demo_balken_ani"));
    ASSERT_NE(meter, nullptr);
    EXPECT_EQ(meter->getFillType(), Orvex::GUIProgressBar::kAnimation);
    auto* scroll = dynamic_cast<Orvex::GUIScrollPanel*>(gui.findWindow(L"demo_rollbild"));
    ASSERT_NE(scroll, nullptr);
    // A second to settle: fades and goals reach their states.
    for (int i = 0; i < 10; ++i) gui.update(0.1);
    std::vector<uint32_t> const pixels = shootScreen("demo_widgets.png");
    ASSERT_EQ(pixels.size(), std::size_t{kScreenW} * kScreenH);
    auto at = [&](unsigned x, unsigned y) { return pixels[y * kScreenW + x]; };
    struct Probe {
        char const* what;
        unsigned x, y;
        uint32_t colour;
    };
    Probe const probes[] = {
        {"slider 1 left arrow: the arrow's shaft", 432, 31, 0xFFFFFFFF},
        {"slider 1 left arrow: its blue body below the arrow", 437, 37, 0xFF24489A},
        {"slider 1 track groove", 500, 32, 0xFF202028},
        {"progress bar: filled part", 425, 106, 0xFF20BF30},
        {"progress bar: empty ground", 700, 104, 0xFF181820},
        {"right-to-left bar: empty left", 470, 128, 0xFF181820},
        {"scroll panel's first tile", 440, 330, 0xFFC04040},
        {"layout: top strip", 24, 424, 0xFF5070A0},
        {"layout: left column", 30, 500, 0xFF806040},
        {"layout: fill", 200, 500, 0xFFD0D0C0},
        {"layout: bottom strip", 200, 575, 0xFF507050},
        {"lone checkbox button, checked", 514, 224, 0xFF20C040},
        {"lone checkbox button's rim", 502, 224, 0xFFE0E0E0},
        // The meter's frame at 0.6 of five frames is frame 3: lamps 0 to 2 lit, lamp 3 dark.
        {"meter: first lamp lit", 575, 224, 0xFFFFB020},
        {"meter: third lamp lit", 665, 224, 0xFFFFB020},
        {"meter: fourth lamp dark", 710, 224, 0xFF403428},
        {"meter: ground between the lamps", 598, 224, 0xFF181820},
        {"frame centre", 300, 200, 0xFF203040},
        {"frame edge", 200, 26, 0xFF806040},
        {"start button ground", 60, 100, 0xFF3060C0},
        {"nothing", 600, 290, 0xFF000000},
    };
    for (Probe const& p : probes) {
        SCOPED_TRACE(p.what);
        EXPECT_TRUE(near(at(p.x, p.y), p.colour)) << std::hex << at(p.x, p.y);
    }
    // The title is written in white over the frame's centre, inside its label.
    FRect const title = gui.findWindow(L"demo_titel")->getScreenRect();
    int white = 0;
    for (unsigned y = static_cast<unsigned>(title.top); y < static_cast<unsigned>(title.bottom); ++y)
        for (unsigned x = static_cast<unsigned>(title.left); x < static_cast<unsigned>(title.right); ++x)
            white += near(at(x, y), 0xFFFFFFFF);
    EXPECT_GT(white, 100);
    // The slider's, the progress bar's and the layout's captions are written too.
    for (wchar_t const* name : {L"demo_regler_2_text", L"demo_balken_cut_LABEL", L"demo_anordnung_oben"}) {
        FRect const box = gui.findWindow(name)->getScreenRect();
        int light = 0;
        for (unsigned y = static_cast<unsigned>(box.top); y < static_cast<unsigned>(box.bottom); ++y)
            for (unsigned x = static_cast<unsigned>(box.left); x < static_cast<unsigned>(box.right); ++x)
                light += (at(x, y) & 0xFF) > 0xC0 && ((at(x, y) >> 8) & 0xFF) > 0xC0;
        EXPECT_GT(light, 10) << std::string(name, name + wcslen(name));
    }
    // Tiles scrolled out of the panel leave no pixels outside it.
    scroll->scrollStep(Orvex::GUIScrollPanel::kDown, 100);
    std::vector<uint32_t> const after = shootScreen();
    for (unsigned x = 420; x < 790; x += 7) EXPECT_TRUE(near(after[295 * kScreenW + x], 0xFF000000)) << x;
}
