// Music tracks and streams over the DirectShow graph (SDL2_mixer on the dummy audio driver):
// the stream's state rules, switching tracks with and without restart, pause and resume.
#include <gtest/gtest.h>

#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/MusicManager.h"
#include "engine/platform/MusicStream.h"
#include "tests/engine/platform/PlatformSupport.h"
#include "tests/support/TestSupport.h"

using namespace Orvex;
using namespace platformtest;

namespace {

std::wstring sourceFile(char const* relative) { return winPath(testsupport::sourceDir() / relative); }

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        GOBManager::getInstance().addSearchPath(winPath(testsupport::sourceDir()));
        XMLNode root;
        ASSERT_TRUE(root.load(L"data\\Sounds\\sounds.snd"));
        XMLNode const* list = root.getChild(L"MUSIC");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(music().loadMusic(*list), 3u);  // "MENU", "INGAME" and the story's "STORY"
    }
    void TearDown() override {
        music().clear();
        music().setVolume(1.0);
    }
    static MusicManager& music() { return MusicManager::getInstance(); }
};

}  // namespace

TEST(MusicStream, StateRules) {
    MusicStream stream;
    EXPECT_EQ(stream.run(), VFW_E_WRONG_STATE) << "nothing loaded";
    EXPECT_EQ(stream.pause(), VFW_E_WRONG_STATE);
    EXPECT_EQ(stream.stop(), VFW_E_WRONG_STATE);

    ASSERT_TRUE(SUCCEEDED(stream.load(sourceFile("data/Sounds/menu.wav"))));
    EXPECT_EQ(stream.getState(), MusicStream::STATE_LOADED);
    // Each step: the call, whether it is allowed, the state after it.
    using S = MusicStream;
    struct Step { HRESULT (S::*call)(); bool ok; S::State state; };
    Step const steps[] = {{&S::pause, true, S::STATE_PAUSED},   {&S::pause, false, S::STATE_PAUSED},
                          {&S::run, true, S::STATE_RUNNING},    {&S::run, false, S::STATE_RUNNING},
                          {&S::pause, true, S::STATE_PAUSED},   {&S::run, true, S::STATE_RUNNING},
                          {&S::stop, true, S::STATE_LOADED},    {&S::run, true, S::STATE_RUNNING}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        HRESULT hr = (stream.*steps[i].call)();
        EXPECT_EQ(SUCCEEDED(hr), steps[i].ok) << "step " << i;
        if (!steps[i].ok) {
            EXPECT_EQ(hr, VFW_E_WRONG_STATE) << "step " << i;
        }
        EXPECT_EQ(stream.getState(), steps[i].state) << "step " << i;
    }
}

TEST(MusicStream, MissingOrUndecodableFilesLeaveItEmpty) {
    MusicStream stream;
    EXPECT_TRUE(FAILED(stream.load(L"no\\such\\music.ogg")));
    EXPECT_EQ(stream.getState(), MusicStream::STATE_EMPTY);
    auto dir = testsupport::makeTempDir("music");
    testsupport::writeFile(dir / "broken.ogg", "OggS but not really");
    EXPECT_TRUE(FAILED(stream.load(port::windowsPath((dir / "broken.ogg").string()))));
    EXPECT_EQ(stream.getState(), MusicStream::STATE_EMPTY);
    EXPECT_EQ(stream.run(), VFW_E_WRONG_STATE);
}

TEST_F(MusicTest, SameTrackIsLeftAloneUnlessRestartedAndTracksSwitchAndPause) {
    ASSERT_TRUE(music().play(L"MENU", true));
    MusicStream* first = music().getCurrentStream();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getState(), MusicStream::STATE_RUNNING);
    EXPECT_TRUE(music().play(L"MENU", false));
    EXPECT_EQ(music().getCurrentStream(), first);
    EXPECT_EQ(first->getState(), MusicStream::STATE_RUNNING);
    EXPECT_TRUE(music().play(L"MENU", true));
    EXPECT_EQ(music().getCurrentStream(), first) << "a restart reuses the loaded track";
    EXPECT_EQ(first->getState(), MusicStream::STATE_RUNNING);

    ASSERT_TRUE(music().play(L"INGAME", false));
    EXPECT_EQ(music().getCurrentName(), L"INGAME");
    EXPECT_EQ(music().getCurrentStream()->getState(), MusicStream::STATE_RUNNING);
    EXPECT_NE(music().getCurrentStream()->getFileName().find(L"ingame.wav"), std::wstring::npos);

    music().pause();
    music().update();
    EXPECT_EQ(music().getCurrentStream()->getState(), MusicStream::STATE_PAUSED);
    EXPECT_TRUE(music().play(L"INGAME", false)) << "asking for the paused track plays it on";
    EXPECT_EQ(music().getCurrentStream()->getState(), MusicStream::STATE_RUNNING);

    EXPECT_FALSE(music().play(L"NOPE", false));  // an unknown track keeps the current music
    EXPECT_EQ(music().getCurrentName(), L"INGAME");
    EXPECT_EQ(music().getCurrentStream()->getState(), MusicStream::STATE_RUNNING);

    music().setVolume(-1.0);  // clamped, and reaching the playing stream
    EXPECT_DOUBLE_EQ(music().getCurrentStream()->getVolume(), 0.0);
    music().setVolume(3.0);
    EXPECT_DOUBLE_EQ(music().getCurrentStream()->getVolume(), 1.0);
}

TEST(MusicManagerExit, MusicStillPlayingAtExitEndsCleanly) {
    // The manager outlives the port's music session: its streams must go before the session does.
    EXPECT_EXIT(
        {
            MusicManager::getInstance().loadMusic(entryList(L"MUSIC", {{L"M", {sourceFile("data/Sounds/menu.wav")}}}));
            MusicManager::getInstance().play(L"M", false);
            std::exit(MusicManager::getInstance().getCurrentStream() ? 7 : 1);
        },
        ::testing::ExitedWithCode(7), "");
}
