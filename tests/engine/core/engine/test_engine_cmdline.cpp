// Command-line switches: log thresholds, flags with and without a value, quoted values, search
// paths, the application folder and title, and switches that are unknown or badly given.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/platform/AppWindow.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "port/win32/kernel.h"
#include "tests/engine/core/engine/EngineFixture.h"
#include "tests/support/TestSupport.h"

namespace {

using Orvex::Logger;
using Orvex::OrvexEngine;

class EngineCommandLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        engine = OrvexEngine::getInstance();
        for (int type = 0; type < 3; ++type) thresholds[type] = Logger::getInstance().getThreshold(type);
        consoleShown = Logger::getInstance().isConsoleShown();
    }
    void TearDown() override {
        Logger::getInstance().setThreshold(thresholds[0], Orvex::LOG_MASK_ERROR);
        Logger::getInstance().setThreshold(thresholds[1], Orvex::LOG_MASK_WARNING);
        Logger::getInstance().setThreshold(thresholds[2], Orvex::LOG_MASK_INFO);
        Logger::getInstance().showConsole(consoleShown);
        engine->parseCommandLine(
            "-SHOW_CONSOLE 0 -SHOW_CONSOLE_FIRST 0 -ENABLE_INGAME_CONSOLE 0 -VISUAL_DEBUGGER 0 -SHOW_VIDEO 1 -DEBUG 0");
    }

    OrvexEngine* engine = nullptr;
    int thresholds[3] = {};
    bool consoleShown = false;
};

TEST_F(EngineCommandLineTest, LogThresholdsPerMessageClass) {
    engine->parseCommandLine("-LOG_MISC 25 -LOG_WARNING 30 -LOG_ERROR 5");
    EXPECT_EQ(Logger::getInstance().getThreshold(Orvex::LOG_TYPE_INFO), 25);
    EXPECT_EQ(Logger::getInstance().getThreshold(Orvex::LOG_TYPE_WARNING), 30);
    EXPECT_EQ(Logger::getInstance().getThreshold(Orvex::LOG_TYPE_ERROR), 5);

    // A value that is not a number leaves the threshold alone.
    engine->parseCommandLine("-LOG_MISC viel -LOG_ERROR");
    EXPECT_EQ(Logger::getInstance().getThreshold(Orvex::LOG_TYPE_INFO), 25);
    EXPECT_EQ(Logger::getInstance().getThreshold(Orvex::LOG_TYPE_ERROR), 5);
}

TEST_F(EngineCommandLineTest, FlagsTakeAValueOrStandAlone) {
    engine->parseCommandLine("-DEBUG -visual_debugger 1 -SHOW_VIDEO 0 -ENABLE_INGAME_CONSOLE 1");
    EXPECT_TRUE(engine->isDebug());
    EXPECT_TRUE(engine->isVisualDebugger());
    EXPECT_FALSE(engine->isShowVideo());
    EXPECT_TRUE(engine->isIngameConsoleEnabled());

    engine->parseCommandLine("-DEBUG 0 -SHOW_VIDEO");
    EXPECT_FALSE(engine->isDebug());
    EXPECT_TRUE(engine->isShowVideo());

    // SHOW_CONSOLE_FIRST shows the log console at once (SHOW_CONSOLE waits for init: see the start).
    Logger::getInstance().showConsole(false);
    engine->parseCommandLine("-SHOW_CONSOLE_FIRST 1");
    EXPECT_TRUE(Logger::getInstance().isConsoleShown());
}

TEST_F(EngineCommandLineTest, QuotedValuesSearchPathTitleAndAppPath) {
    std::size_t const pathsBefore = Orvex::GOBManager::getInstance().getSearchPaths().size();
    engine->parseCommandLine("  -SEARCHPATH \"C:\\Spiele\\Meine Daten\"   -APPTITLE \"Solitaire Deluxe\" ");
    auto const& paths = Orvex::GOBManager::getInstance().getSearchPaths();
    ASSERT_EQ(paths.size(), pathsBefore + 1);
    EXPECT_NE(std::find(paths.begin(), paths.end(), L"C:\\Spiele\\Meine Daten"), paths.end());
    EXPECT_EQ(engine->getAppTitle(), L"Solitaire Deluxe");
    EXPECT_EQ(Orvex::AppWindow::getInstance().getTitle(), L"Solitaire Deluxe");

    // APPPATH enters the folder; a folder that does not exist changes nothing.
    wchar_t before[1024];
    ASSERT_GT(GetCurrentDirectoryW(1024, before), 0u);
    std::filesystem::path const folder = testsupport::makeTempDir("apppath");
    std::wstring const windowsFolder = port::windowsPath(folder.string());

    engine->parseCommandLine(("-APPPATH \"" + port::toUtf8(windowsFolder) + "\"").c_str());
    EXPECT_EQ(engine->getAppPath(), windowsFolder);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(folder));

    engine->parseCommandLine("-APPPATH \\gibt\\es\\nicht");
    EXPECT_EQ(engine->getAppPath(), windowsFolder);
    ASSERT_TRUE(SetCurrentDirectoryW(before));
}

TEST_F(EngineCommandLineTest, UnknownSwitchesAndStrayWordsAreSkippedWithALogLine) {
    logtest::LogWatch log;
    engine->parseCommandLine("-UNBEKANNT 3 stray -DEBUG 1 -5");
    // One line each for the unknown switch (its value goes with it), "stray", and "-5", which
    // is no switch name and follows DEBUG's value.
    EXPECT_EQ(log.lines().size(), 3u);
    EXPECT_TRUE(engine->isDebug());

    engine->parseCommandLine(nullptr);
    engine->parseCommandLine("");
    engine->parseCommandLine("-APPTITLE \"unterminated");
    EXPECT_EQ(engine->getAppTitle(), L"unterminated");
}

}  // namespace
