// The render readers' log lines name the line of the element they refuse (and the file where
// they know it): splines, cameras, render passes, textures and animations.
#include <gtest/gtest.h>

#include "engine/render/Camera.h"
#include "engine/render/RenderManager.h"
#include "engine/render/Spline.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/engine/render/AnimationSupport.h"

using namespace rendertest;

namespace {

class ReadLinesTest : public AnimationFixture {};

TEST_F(ReadLinesTest, ARefusedElementIsNamedByItsLine) {
    addTexture(L"sheet", 32, 32);
    struct Case {
        wchar_t const* element;  // starts on line 3
        void (*read)(Orvex::XMLNode& node);
        wchar_t const* named;
    } const cases[] = {
        {L"<SPLINE NAME=\"S\"><CONTROLPOINT><FLAG><SET>\"|-1|\"</SET></FLAG></CONTROLPOINT></SPLINE>",
         [](Orvex::XMLNode& node) { Orvex::Spline(node, L"z.spl"); }, L"Spline \"S\" in \"z.spl\" at line 3:"},
        {L"<CAMERA FOV=\"-5\"/>", [](Orvex::XMLNode& node) { Orvex::LookAtCamera(L"C").readXML(node); },
         L"Camera \"C\" at line 3:"},
        {L"<RP><ACTIVE_POSTEFFECTS>\"|nobody|\"</ACTIVE_POSTEFFECTS></RP>",
         [](Orvex::XMLNode& node) {
             Orvex::RenderManager(Orvex::RenderManager::kFollowDevice, Orvex::RenderManager::kFollowDevice)
                 .loadConfig(node, L"z.rp");
         },
         L"Render passes \"z.rp\" at line 3:"},
        {L"<TEXTUR2D NAME=\"T\"/>", [](Orvex::XMLNode& node) { TextureRef()->loadFromXML(node); },
         L"Texture \"T\" at line 3 names no"},
        {L"<ANIMATION_2D NAME=\"a\"><FRAMES TEXTUR=\"sheet\"><FRAME_PARAMS ANZ_FRAMES=\"3\" SPALTEN=\"0\"/></FRAMES>"
         L"</ANIMATION_2D>",
         [](Orvex::XMLNode& node) { (new Orvex::Texture2DAnimation(node))->release(); }, L"Animation \"a\" at line 3:"},
    };
    for (Case const& c : cases) {
        std::wstring const element = c.element;
        SCOPED_TRACE(std::string(element.begin(), element.end()));
        Orvex::XMLNode node = parse(L"\n\n" + element);
        logtest::LogWatch watch;
        c.read(node);
        std::vector<std::wstring> const lines = watch.lines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(logtest::contains(lines[0], c.named)) << std::string(lines[0].begin(), lines[0].end());
    }
}

}  // namespace
