// Music tracks and streams over the DirectShow graph (SDL2_mixer on the dummy audio driver):
// the stream's state rules, switching tracks with and without restart, pause and resume.
#include <gtest/gtest.h>

#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/MusicManager.h"
#include "engine/platform/MusicStream.h"
#include "port/win32/HostPath.h"
#include "tests/support/TestSupport.h"

using namespace Orvex;

namespace {

std::wstring sourceFile(char const* relative) {
    return port::windowsPath((testsupport::sourceDir() / relative).string());
}

class MusicTest : public ::testing::Test {
protected:
    void SetUp() override {
        GOBManager::getInstance().addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
        XMLNode root;
        ASSERT_TRUE(root.load(L"data\\Sounds\\sounds.snd"));
        XMLNode const* list = root.getChild(L"MUSIC");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(music().loadMusic(*list), 2u);
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
    EXPECT_TRUE(SUCCEEDED(stream.pause())) << "a loaded stream may be paused";
    EXPECT_EQ(stream.getState(), MusicStream::STATE_PAUSED);
    EXPECT_EQ(stream.pause(), VFW_E_WRONG_STATE) << "already paused";
    EXPECT_EQ(stream.getState(), MusicStream::STATE_PAUSED);
    EXPECT_TRUE(SUCCEEDED(stream.run()));
    EXPECT_EQ(stream.getState(), MusicStream::STATE_RUNNING);
    EXPECT_EQ(stream.run(), VFW_E_WRONG_STATE) << "already running";
    EXPECT_EQ(stream.getState(), MusicStream::STATE_RUNNING);
    EXPECT_TRUE(SUCCEEDED(stream.pause()));
    EXPECT_TRUE(SUCCEEDED(stream.run()));
    EXPECT_TRUE(SUCCEEDED(stream.stop()));
    EXPECT_EQ(stream.getState(), MusicStream::STATE_LOADED);
    EXPECT_TRUE(SUCCEEDED(stream.run())) << "a stopped stream is loaded again";
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

TEST_F(MusicTest, SameTrackIsLeftAloneUnlessRestarted) {
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
}

TEST_F(MusicTest, SwitchingTracksAndPause) {
    ASSERT_TRUE(music().play(L"MENU", false));
    ASSERT_TRUE(music().play(L"INGAME", false));
    EXPECT_EQ(music().getCurrentName(), L"INGAME");
    EXPECT_EQ(music().getCurrentStream()->getState(), MusicStream::STATE_RUNNING);
    EXPECT_NE(music().getCurrentStream()->getFileName().find(L"ingame.wav"), std::wstring::npos);

    music().pause();
    EXPECT_EQ(music().getCurrentStream()->getState(), MusicStream::STATE_PAUSED);
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
    // The manager outlives the port's music session (made later, destroyed earlier): its streams
    // must be let go before the session goes.
    EXPECT_EXIT(
        {
            XMLNode list(L"MUSIC");
            XMLNode* entry = list.addChild(L"ENTRY");
            entry->setAttribute(L"NAME", L"M");
            entry->addValue(sourceFile("data/Sounds/menu.wav"));
            MusicManager::getInstance().loadMusic(list);
            MusicManager::getInstance().play(L"M", false);
            std::exit(MusicManager::getInstance().getCurrentStream() ? 7 : 1);
        },
        ::testing::ExitedWithCode(7), "");
}
