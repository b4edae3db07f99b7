// The intro video player: videos the port cannot decode are skipped with the quit flag clear;
// a quit request during playback sets it (and stays queued); a key press skips the video.
#include <gtest/gtest.h>

#include "engine/platform/VideoPlayer.h"
#include "port/win32/HostPath.h"
#include "tests/support/TestSupport.h"

using namespace Orvex;

namespace {

std::wstring windowsPath(std::filesystem::path const& path) { return port::windowsPath(path.string()); }

// A playable file (the port plays any media it can decode), with the queue emptied first.
VideoPlayer playable() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    return VideoPlayer(windowsPath(testsupport::sourceDir() / "data" / "Sounds" / "menu.wav"));
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
    VideoResult result = VideoPlayer(windowsPath(dir / "intro.wmv")).play();
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

TEST(VideoPlayer, KeyPressSkips) {
    VideoPlayer player = playable();
    PostMessageW(nullptr, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    VideoResult result = player.play();
    EXPECT_FALSE(result.quit);
    EXPECT_TRUE(SUCCEEDED(result.result));
}

TEST(VideoPlayer, EndsWithinItsTimeLimit) {
    VideoPlayer player = playable();
    player.setTimeLimit(50);
    VideoResult result = player.play();
    EXPECT_FALSE(result.quit);
}
