// The game object's key handler: screenshots numbered from 0 in the working folder, a failed
// capture writing nothing, and the keys that dismiss the banner and the help panel.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/gui/GUIAnimationsGoal.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/InputState.h"
#include "port/d3dx9/d3dx9tex.h"
#include "port/win32/win32_paths.h"
#include "tests/game/app/GameFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

namespace {

using apptest::GameFixture;
using Solitaire::SolitaireGame2;

class GameKeysTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        saved = std::filesystem::current_path();
        shots = testsupport::makeTempDir("screenshots");
        std::filesystem::current_path(shots);
    }
    void TearDown() override {
        std::filesystem::current_path(saved);
        GameFixture::TearDown();
    }
    void press(unsigned char code) {
        Orvex::KeyState keys;
        game->onKeyPressed(keys, code);
    }
    // The picture's size and its pixel at (x, y); zero size when it cannot be read.
    struct Picture {
        UINT width = 0, height = 0;
        uint32_t pixel = 0;
    };
    static Picture readPicture(std::filesystem::path const& file, unsigned x, unsigned y) {
        Picture picture;
        IDirect3DTexture9* texture = nullptr;
        std::wstring const name = port::windowsPath(file.string());
        if (FAILED(D3DXCreateTextureFromFileExW(Orvex::D3DInterface::getInstance().getDevice(), name.c_str(), D3DX_DEFAULT_NONPOW2,
                                                D3DX_DEFAULT_NONPOW2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, D3DX_FILTER_NONE,
                                                D3DX_FILTER_NONE, 0, nullptr, nullptr, &texture)))
            return picture;
        D3DSURFACE_DESC desc{};
        texture->GetLevelDesc(0, &desc);
        picture.width = desc.Width;
        picture.height = desc.Height;
        std::vector<uint32_t> pixels = testsupport::readTexture(texture);
        if (!pixels.empty()) picture.pixel = pixels[std::size_t(y) * desc.Width + x];
        texture->Release();
        return picture;
    }

    std::filesystem::path saved;
    std::filesystem::path shots;
};

TEST_F(GameKeysTest, F7WritesNumberedScreenshotsOfTheBackBuffer) {
    // The number counts on through the run (the process), from 0 (the entry point's tests see
    // the 0); an earlier test of this program may have taken pictures.
    int const first = Solitaire::Screenshots::getScreenshotCounter();
    auto shot = [&](int n) { return "Screenshot_" + std::to_string(first + n) + ".png"; };
    step(0.1);
    frame();
    press(Solitaire::Screenshots::kScreenshotKey);
    press(Solitaire::Screenshots::kScreenshotKey);
    EXPECT_EQ(Solitaire::Screenshots::getScreenshotCounter(), first + 2);
    for (std::string const& name : {shot(0), shot(1)}) {
        Picture const picture = readPicture(shots / name, 60, 60);
        EXPECT_EQ(picture.width, width) << name;
        EXPECT_EQ(picture.height, height) << name;
        EXPECT_EQ(picture.pixel, apptest::kStartScreenColour) << name;
    }
    // Other keys take no picture.
    press(0x3C);
    EXPECT_FALSE(std::filesystem::exists(shots / shot(2)));
}

// A capture that cannot be made (here the copy cannot be created in the back buffer's format)
// writes nothing and keeps the number for the next picture.
TEST_F(GameKeysTest, FailedCaptureWritesNothingAndKeepsTheNumber) {
    int const first = Solitaire::Screenshots::getScreenshotCounter();
    D3DPRESENT_PARAMETERS& present = Orvex::D3DInterface::getInstance().getPresentParameters();
    D3DFORMAT const format = present.BackBufferFormat;
    present.BackBufferFormat = D3DFMT_UNKNOWN;
    press(Solitaire::Screenshots::kScreenshotKey);
    present.BackBufferFormat = format;
    EXPECT_EQ(Solitaire::Screenshots::getScreenshotCounter(), first);
    EXPECT_TRUE(std::filesystem::is_empty(shots));
    press(Solitaire::Screenshots::kScreenshotKey);
    EXPECT_TRUE(std::filesystem::exists(shots / ("Screenshot_" + std::to_string(first) + ".png")));
}

class GoalLog : public sigslot::has_slots<sigslot::single_threaded> {
public:
    void onGoal(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal& goal) {
        lines.push_back(window.getName() + L" " + goal.name);
    }
    std::vector<std::wstring> lines;
};

// A key dismisses the banner while it is up, else the help panel while it is up, else nothing.
TEST_F(GameKeysTest, KeyDismissesTheBannerThenTheHelpPanel) {
    showMenu(L"INGAMEMENU");
    GoalLog log;
    Orvex::GUIWindow* banner = find(L"I_GameName");
    Orvex::GUIWindow* help = find(L"I_Help");
    ASSERT_TRUE(banner && help);
    banner->jumpToGoal(L"CENTER");
    help->jumpToGoal(L"CENTER");
    banner->goalStarted.connect(&log, &GoalLog::onGoal);
    help->goalStarted.connect(&log, &GoalLog::onGoal);
    game->getHud().getGameNameBlend() = {1.0f, 1.0f};
    game->getHud().getHelpBlend() = {1.0f, 1.0f};
    press(0x1E);
    EXPECT_EQ(log.lines, std::vector<std::wstring>{L"I_GameName AUS"});
    EXPECT_EQ(game->getHud().getGameNameBlend().target, 0.0f);
    EXPECT_EQ(game->getHud().getHelpBlend().target, 1.0f);
    press(0x1E);
    EXPECT_EQ(log.lines, (std::vector<std::wstring>{L"I_GameName AUS", L"I_Help AUS"}));
    EXPECT_EQ(game->getHud().getHelpBlend().target, 0.0f);
    press(0x1E);
    EXPECT_EQ(log.lines.size(), 2u);
}

}  // namespace
