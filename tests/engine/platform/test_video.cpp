// The intro video player: videos the port cannot decode are skipped with the quit flag clear;
// a quit request during playback sets it (and stays queued); a key press skips the video.
#include <gtest/gtest.h>

#include "engine/platform/VideoPlayer.h"
#include "tests/engine/platform/PlatformSupport.h"
#include "tests/support/TestSupport.h"

using namespace Orvex;
using platformtest::winPath;

namespace {

// A playable file (the port plays any media it can decode), with the queue emptied first.
VideoPlayer playable() {
    platformtest::pumpMessages();
    return VideoPlayer(winPath(testsupport::sourceDir() / "data" / "Sounds" / "menu.wav"));
}

}  // namespace

TEST(VideoPlayer, MissingAndUndecodableVideosAreSkippedWithTheQuitFlagClear) {
    VideoResult missing = VideoPlayer(L"intro.wmv").play();
    EXPECT_FALSE(missing.quit);
    EXPECT_TRUE(FAILED(missing.result));

    auto dir = testsupport::makeTempDir("video");
    std::string wmv("\x30\x26\xB2\x75\x8E\x66\xCF\x11\xA6\xD9\x00\xAA\x00\x62\xCE\x6C", 16);
    wmv += std::string(4000, '\x11');
    testsupport::writeFile(dir / "intro.wmv", wmv);
    VideoResult result = VideoPlayer(winPath(dir / "intro.wmv")).play();
    EXPECT_FALSE(result.quit);
    EXPECT_EQ(result.result, VFW_E_UNSUPPORTED_STREAM);
}

TEST(VideoPlayer, QuitDuringPlaybackSetsTheFlagAndStaysQueued) {
    VideoPlayer player = playable();
    PostQuitMessage(3);
    VideoResult result = player.play();
    EXPECT_TRUE(result.quit);
    EXPECT_TRUE(SUCCEEDED(result.result));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
}

TEST(VideoPlayer, KeyPressOrTheTimeLimitEndsIt) {
    // A 30-second clip: ending within seconds means the key (or the limit) ended it, not the clip.
    auto dir = testsupport::makeTempDir("video_long");
    testsupport::writeFile(dir / "long.wav", wavetest::waveBytes(wavetest::pcmFormat(1, 8000, 8), std::string(240000, '\x80')));
    for (bool key : {true, false}) {
        platformtest::pumpMessages();
        VideoPlayer player(winPath(dir / "long.wav"));
        if (key) PostMessageW(nullptr, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        else player.setTimeLimit(50);
        DWORD const start = GetTickCount();
        VideoResult result = player.play();
        EXPECT_LT(GetTickCount() - start, 10000u) << key;
        EXPECT_FALSE(result.quit) << key;
        EXPECT_TRUE(SUCCEEDED(result.result)) << key;
    }
}
