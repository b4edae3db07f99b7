// The game object on the game's own data: the loading screen, the main menu at two screen sizes
// and the pause overlay, each drawn and kept in the build folder ("screenshots") for a person to
// look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/platform/D3DInterface.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/GameFixture.h"
#include "tests/support/TestSupport.h"
#include "tests/support/gl/DeviceFixture.h"

namespace {

using apptest::GameFixture;

class GameScreensTest : public GameFixture, public ::testing::WithParamInterface<std::pair<unsigned, unsigned>> {
protected:
    void SetUp() override { startOn(testsupport::sourceDir(), GetParam().first, GetParam().second); }

    std::string size() const { return std::to_string(width) + "x" + std::to_string(height); }
    // How many pixels of the frame differ from the clear colour.
    int drawnPixels(std::vector<uint32_t> const& pixels) const {
        int n = 0;
        for (uint32_t p : pixels) n += p != Solitaire::LoadingScreen::kClearColour;
        return n;
    }
};

TEST_P(GameScreensTest, LoadingScreenMainMenuAndPause) {
    ASSERT_NE(game->getLoadingScreen().getWindow(), nullptr);
    ASSERT_TRUE(game->getLoadingScreen().showLoadingProgress(0.6f, true));
    std::vector<uint32_t> pixels = testsupport::readRenderTarget(Orvex::D3DInterface::getInstance().getDevice());
    EXPECT_GT(drawnPixels(pixels), static_cast<int>(width * height / 2));
    keepBackBuffer("loading_" + size() + ".png");

    showMenu(L"HAUPTMENU");
    for (int i = 0; i < 60; ++i) step(1.0 / 60);
    EXPECT_TRUE(Orvex::GUIMenuManagerN::instance().findMenu(L"HAUPTMENU")->isActive());
    std::vector<uint32_t> const menu = frame();
    EXPECT_GT(drawnPixels(menu), static_cast<int>(width * height / 2));
    keepBackBuffer("main_menu_" + size() + ".png");

    game->onWindowActive(false);
    step(1.0 / 60);
    std::vector<uint32_t> const paused = frame();
    keepBackBuffer("pause_" + size() + ".png");
    // The whole screen is darker under the overlay.
    auto brightness = [](uint32_t c) { return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF); };
    for (unsigned y : {height / 8, height - height / 8})
        for (unsigned x : {width / 8, width - width / 8})
            EXPECT_LT(brightness(at(paused, x, y)), brightness(at(menu, x, y))) << x << " " << y;
}

INSTANTIATE_TEST_SUITE_P(ScreenSizes, GameScreensTest,
                         ::testing::Values(std::make_pair(1024u, 768u), std::make_pair(1280u, 720u)),
                         [](auto const& info) {
                             return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

}  // namespace

// The game finds windows by name, the first of that name at any level: a name given in two GUI
// files leaves one of the screens unreachable (the pause screen's frame once hid the profile
// screen's). A name repeated within one file is a row's child, looked up under its own parent.
TEST(GameScreenFilesTest, NoWindowNameIsGivenInTwoFiles) {
    std::map<std::wstring, std::map<std::string, int>> uses;
    std::function<void(Orvex::XMLNode const&, std::string const&)> walk = [&](Orvex::XMLNode const& node,
                                                                           std::string const& file) {
        for (Orvex::XMLNode const* child : node.children()) {
            if (child->getName() == L"WINDOW")
                if (Orvex::XMLAttribute const* name = child->getAttribute(L"NAME")) ++uses[name->getString()][file];
            walk(*child, file);
        }
    };
    for (auto const& entry : std::filesystem::directory_iterator(testsupport::sourceDir() / "data/GUI")) {
        if (entry.path().extension() != ".gui") continue;
        Orvex::XMLNode root;
        ASSERT_TRUE(root.load(port::windowsPath(entry.path().string()))) << entry.path();
        walk(root, entry.path().filename().string());
    }
    std::vector<std::string> clashes;
    for (auto const& [name, files] : uses) {
        bool const rowChild = std::any_of(files.begin(), files.end(), [](auto const& f) { return f.second > 1; });
        if (files.size() > 1 && !rowChild) clashes.push_back(port::toUtf8(name));
    }
    EXPECT_EQ(clashes, std::vector<std::string>{});
}
