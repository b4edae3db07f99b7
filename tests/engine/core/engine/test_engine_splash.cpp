// Splash screens: fade timing, the picture list of a folder (disk and archives, sorted by name),
// and the sequence the engine shows, including a quit request in the middle.
#include <gtest/gtest.h>

#include "engine/core/GOBFormat.h"
#include "engine/core/GOBManager.h"
#include "engine/core/engine/OrvexEngineSplash.h"
#include "engine/core/Paths.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/engine/EngineFixture.h"
#include "tests/support/TestSupport.h"

namespace {

using Orvex::SplashTiming;

TEST(SplashTiming, FadesInStaysAndFadesOut) {
    SplashTiming const timing(3000, 500, 1000);
    EXPECT_EQ(timing.stayMs, 1500u);
    EXPECT_FLOAT_EQ(timing.brightnessAt(-1.0), 0.0f);
    EXPECT_FLOAT_EQ(timing.brightnessAt(250.0), 0.5f);
    EXPECT_FLOAT_EQ(timing.brightnessAt(1999.0), 1.0f);
    EXPECT_FLOAT_EQ(timing.brightnessAt(2500.0), 0.5f);
    EXPECT_FLOAT_EQ(timing.brightnessAt(3000.0), 0.0f);

    // Fades longer than the display time leave no stay, and no fade divides by zero.
    SplashTiming const overlong(1000, 800, 800);
    EXPECT_EQ(overlong.stayMs, 0u);
    EXPECT_DOUBLE_EQ(overlong.totalMs(), 1600.0);
    EXPECT_FLOAT_EQ(overlong.brightnessAt(800.0), 1.0f);
    EXPECT_FLOAT_EQ(SplashTiming(2000, 0, 0).brightnessAt(0.0), 1.0f);
    EXPECT_DOUBLE_EQ(SplashTiming(0, 0, 0).totalMs(), 0.0);
}

TEST(SplashImages, PicturesOfTheFolderFromDiskAndArchivesSortedByName) {
    std::filesystem::path const folder = testsupport::makeTempDir("splash");
    testsupport::writeFile(folder / "b_logo.PNG", "x");
    testsupport::writeFile(folder / "a_publisher.jpg", "x");
    testsupport::writeFile(folder / "notes.txt", "x");
    testsupport::writeFile(folder / "sub" / "z.png", "x");
    std::filesystem::create_directory(folder / "folder.png");
    std::wstring const windowsFolder = port::windowsPath(folder.string());

    std::vector<std::wstring> const disk = Orvex::listSplashImages(windowsFolder);
    ASSERT_EQ(disk.size(), 2u);
    EXPECT_EQ(disk[0], windowsFolder + L"\\a_publisher.jpg");
    EXPECT_EQ(disk[1], windowsFolder + L"\\b_logo.PNG");

    // An archive adds its pictures of a folder of that name; the same name on disk counts once.
    std::string bytes = Orvex::gob::buildArchive({{"Data\\Splash\\C_engine.jpg", "x"},
                                                  {"data\\splash\\A_PUBLISHER.JPG", "x"},
                                                  {"Data\\Splash\\More\\deep.png", "x"},
                                                  {"Data\\Other.png", "x"}});
    Orvex::GOBManager::getInstance().addArchive(Orvex::GOBFile::fromMemory(L"SPLASHGOB", bytes, 0));
    std::vector<std::wstring> const archived = Orvex::listSplashImages(L"data\\Splash");
    ASSERT_EQ(archived.size(), 2u);
    EXPECT_EQ(archived[0], L"data\\Splash\\A_PUBLISHER.JPG");
    EXPECT_EQ(archived[1], L"data\\Splash\\C_engine.jpg");
    Orvex::GOBManager::getInstance().clear();

    EXPECT_TRUE(Orvex::listSplashImages(L"\\gibt\\es\\nicht").empty());
}

class SplashTest : public enginetest::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        folder = testsupport::makeTempDir("splashrun");
        for (char const* name : {"1.png", "2.jpg", "3.png"}) testsupport::writeFile(folder / name, "x");
        windowsFolder = port::windowsPath(folder.string());
    }

    struct Frames : sigslot::has_slots<sigslot::single_threaded> {
        void onFrame(std::wstring const& path, float const& brightness) {
            paths.push_back(Orvex::getFileName(path));
            levels.push_back(brightness);
            if (onEach) onEach();
        }
        std::vector<std::wstring> paths;
        std::vector<float> levels;
        std::function<void()> onEach;
    };

    std::filesystem::path folder;
    std::wstring windowsFolder;
};

TEST_F(SplashTest, EachPictureFadesInStaysAndFadesOutInNameOrder) {
    Frames frames;
    engine->splashFrameSignal.connect(&frames, &Frames::onFrame);
    EXPECT_TRUE(engine->showSplashScreens(L"\\gibt\\es\\nicht", 1000, 100, 100));  // shows nothing
    EXPECT_TRUE(frames.paths.empty());
    EXPECT_TRUE(sleeps.empty());

    EXPECT_TRUE(engine->showSplashScreens(windowsFolder, 1000, 200, 300));

    ASSERT_FALSE(frames.paths.empty());
    // About one frame per 16 ms: 1000 ms per picture.
    EXPECT_NEAR(static_cast<double>(frames.paths.size()), 3 * 1000 / 16.0, 6.0);
    std::vector<std::wstring> order;
    for (std::wstring const& name : frames.paths)
        if (order.empty() || order.back() != name) order.push_back(name);
    EXPECT_EQ(order, (std::vector<std::wstring>{L"1.png", L"2.jpg", L"3.png"}));

    // The first picture: rising from black, full, falling.
    std::size_t i = 0;
    EXPECT_FLOAT_EQ(frames.levels[0], 0.0f);
    while (i + 1 < frames.paths.size() && frames.levels[i + 1] > frames.levels[i]) ++i;
    EXPECT_FLOAT_EQ(frames.levels[i], 1.0f);
    while (i + 1 < frames.paths.size() && frames.levels[i + 1] == 1.0f) ++i;
    std::size_t const fallStart = i;
    while (i + 1 < frames.paths.size() && frames.paths[i + 1] == L"1.png") {
        EXPECT_LT(frames.levels[i + 1], frames.levels[i]);
        ++i;
    }
    EXPECT_GT(i, fallStart + 10);
    EXPECT_LT(frames.levels[i], 0.1f);
}

TEST_F(SplashTest, QuitDuringTheSplashesSkipsTheRestAndTheLoop) {
    Frames frames;
    engine->splashFrameSignal.connect(&frames, &Frames::onFrame);
    frames.onEach = [&] {
        if (frames.paths.back() == L"2.jpg") engine->requestExit(0);
    };
    EXPECT_FALSE(engine->showSplashScreens(windowsFolder, 500, 100, 100));
    EXPECT_EQ(frames.paths.back(), L"2.jpg");
    // The stop request stays for the main loop, which then does not start.
    EXPECT_EQ(engine->run(), -1);
}

}  // namespace
