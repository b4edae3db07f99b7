// The device object's settings section, mode texts and the window-creation failure box.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

#include "engine/core/Logger.h"
#include "engine/platform/D3DInterface.h"
#include "tests/engine/platform/PlatformSupport.h"

using Orvex::D3DInitParams;
using Orvex::D3DInterface;
using Orvex::XMLNode;

namespace {

std::wstring text(D3DDISPLAYMODE const& mode, std::wstring const& separator) {
    std::wstring out = L"stale";
    D3DInterface::displayModeToString(out, mode, separator);
    return out;
}

TEST(D3DDisplayModeText, NamesSizeDepthAndRefreshRate) {
    EXPECT_EQ(text({1920, 1080, 75, D3DFMT_A8R8G8B8}, L" "), L"1920x1080 32 bit 75 Hz");
    EXPECT_EQ(text({800, 600, 75, D3DFMT_R5G6B5}, L", "), L"800x600 16 bit, 75 Hz");
    EXPECT_EQ(text({2560, 1440, 144, D3DFMT_A2R10G10B10}, L" @ "), L"2560x1440 A2R10G10B10 @ 144 Hz");
    EXPECT_EQ(text({640, 480, 0, D3DFMT_X8R8G8B8}, L" "), L"640x480 32 bit");
    EXPECT_EQ(text({640, 480, 60, D3DFMT_A8}, L" "), L"640x480 60 Hz");
}

D3DInitParams sampleParams() {
    D3DInitParams params;
    params.displayMode = {1680, 1050, 75, D3DFMT_R5G6B5};
    params.setWindowed(false);
    params.autoDegrade[0] = false;
    params.autoDegrade[1] = true;
    params.useLargerRes = true;
    params.useIncludeResList = true;
    params.includeResolutions = {{1024, 768}, {3840, 2160}, {1280, 720}};
    return params;
}

auto modeOf(D3DDISPLAYMODE const& m) { return std::tuple(m.Width, m.Height, m.RefreshRate, m.Format); }

void expectSameSettings(D3DInitParams const& a, D3DInitParams const& b) {
    auto fields = [](D3DInitParams const& p) {
        return std::tuple(modeOf(p.displayMode), p.isWindowed(), p.autoDegrade[0], p.autoDegrade[1], p.useLargerRes,
                          p.useIncludeResList, p.includeResolutions);
    };
    EXPECT_EQ(fields(a), fields(b));
}

TEST(D3DInitParamsConfig, RoundTripsThroughAPropertyFile) {
    D3DInitParams written = sampleParams();
    XMLNode section;
    D3DInitParams read = platformtest::roundTrip(written, L"D3DINITPARAMS", &section);
    EXPECT_EQ(section.getAttributeString(L"WIDTH", L""), L"1680");
    EXPECT_EQ(section.getAttributeString(L"FORMAT", L""), L"23");
    EXPECT_EQ(section.getAttributeString(L"WINDOWED", L""), L"0");
    EXPECT_EQ(section.getChildCount(L"INCLUDE_RES"), 3u);
    ASSERT_NE(section.getChild(L"AUTO_DEGRADE"), nullptr);
    EXPECT_EQ(section.getChild(L"AUTO_DEGRADE")->getValueCount(), 2u);
    EXPECT_EQ(section.getAttribute(L"CONFIRM_TIME"), nullptr) << "the confirmation time is no file key";
    expectSameSettings(read, written);
    EXPECT_EQ(read.presentParameters.BackBufferWidth, 1680u);
    EXPECT_FALSE(read.presentParameters.Windowed);

    // Writing again over a section replaces its lists instead of appending.
    read.includeResolutions = {{800, 600}};
    read.writeConfig(section);
    EXPECT_EQ(section.getChildCount(L"INCLUDE_RES"), 1u);
    EXPECT_EQ(section.getChildCount(L"AUTO_DEGRADE"), 1u);
    D3DInitParams reread;
    reread.readConfig(section);
    expectSameSettings(reread, read);

    // Missing keys keep their values; the list is the section's, which has none.
    D3DInitParams params = sampleParams();
    params.readConfig(XMLNode(L"D3DINITPARAMS"));
    D3DInitParams expected = sampleParams();
    expected.includeResolutions.clear();
    expectSameSettings(params, expected);
}

TEST(D3DInitParamsConfig, DamagedFormatAndListsKeepTheDefaultsWithALogLine) {
    XMLNode section;
    ASSERT_TRUE(section.loadFromText(
        L"<D3DINITPARAMS FORMAT=\"7\" WINDOWED=\"0\">"
        L"<AUTO_DEGRADE>\"|0|\"</AUTO_DEGRADE>"
        L"<INCLUDE_RES WIDTH=\"0\" HEIGHT=\"768\"/><INCLUDE_RES WIDTH=\"1024\" HEIGHT=\"768\"/>"
        L"<INCLUDE_RES WIDTH=\"1024\" HEIGHT=\"768\"/><INCLUDE_RES WIDTH=\"99999999\" HEIGHT=\"1\"/>"
        L"</D3DINITPARAMS>"));
    D3DInitParams defaults;
    D3DInitParams params;
    params.readConfig(section);
    EXPECT_EQ(modeOf(params.displayMode), modeOf(defaults.displayMode));
    EXPECT_FALSE(params.isWindowed());
    // One value given: only the first flag changes.
    EXPECT_FALSE(params.autoDegrade[0]);
    EXPECT_TRUE(params.autoDegrade[1]);
    ASSERT_EQ(params.includeResolutions.size(), 1u);
    EXPECT_EQ(params.includeResolutions[0].width, 1024u);
    EXPECT_GT(platformtest::logLines(L"ERROR ", L"FORMAT=\"7\""), 0);
}

TEST(D3DInterfaceSettings, ReadingTheSectionSetsTheModeTheDeviceStartsWith) {
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.shutdown();
    XMLNode section;
    sampleParams().writeConfig(section);
    d3d.readConfig(section);
    EXPECT_EQ(d3d.getWidth(), 1680u);
    EXPECT_EQ(d3d.getPresentParameters().BackBufferWidth, 1680u);
    EXPECT_FALSE(d3d.getPresentParameters().Windowed);
    XMLNode written;
    d3d.writeConfig(written);
    EXPECT_TRUE(written.equals(section));
    d3d.getInitParams() = D3DInitParams();
}

// Without a usable display the window cannot be made: the error box is shown (headless: logged)
// and createWindow reports failure. Runs in a fresh process so that video has not started yet;
// the log's console is shown there, so its lines (the port's among them) reach standard error.
TEST(D3DInterfaceDeathTest, AFailingCreateWindowShowsTheErrorBox) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Orvex::Logger::getInstance().showConsole(true);
            setenv("SDL_VIDEODRIVER", "no_such_video_driver", 1);
            bool created = D3DInterface::getInstance().createWindow();
            std::exit(created ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "MessageBox \"Fehler!\": createWindow\\(\\) schlug fehl");
}

}  // namespace
