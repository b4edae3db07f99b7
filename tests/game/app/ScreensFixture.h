// The game object on the game's own data at 1024 x 768, with its profiles in a fresh folder, for
// the achievement, options, profile and help screens: the screens are the shipped GUI files, so
// a test sees what a player sees. Helpers make profiles and read the windows' state.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/core/GOBManager.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "tests/game/app/GameFixture.h"
#include "tests/game/cards/ProfileFiles.h"
#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"

namespace apptest {

class ScreensFixture : public GameFixture {
protected:
    static constexpr unsigned kScreenWidth = 1024;
    static constexpr unsigned kScreenHeight = 768;

    void SetUp() override {
        profileFile = testsupport::makeTempDir("screens_profiles") / "profile.prf";
        profiles().setFilePath(cardstest::hostFile(profileFile));
        // The profiles are the test's own.
        withPlayer = false;
        startOn(testsupport::sourceDir(), kScreenWidth, kScreenHeight);
    }
    void TearDown() override {
        if (game) stop();
        profiles().clear();
        profiles().setFilePath(L"");
        Solitaire::AchivementManager::instance().resetAll();
        // The catalogue appends what a game reads: the next test's game starts from an empty one.
        Solitaire::SolitaireManager::instance().clear();
    }

    static Solitaire::ProfilManager& profiles() { return Solitaire::ProfilManager::instance(); }
    // A new profile of that name in the list (the list's signals rebuild the panel).
    static Solitaire::Profil* addProfile(std::wstring const& name) {
        auto* profile = new Solitaire::Profil(name);
        // Tutorials off: a screen test sees its screen, not the tutorial offered on entering it.
        profile->setShowTutorials(false);
        profiles().addProfile(profile);
        return profile;
    }
    static bool isActive(wchar_t const* menu) {
        Orvex::GUIMenuN* found = Orvex::GUIMenuManagerN::instance().findMenu(menu);
        return found && found->isActive();
    }
    static std::wstring labelText(std::wstring const& name) {
        Orvex::GUILabel* label = Solitaire::findLabel(name);
        return label ? label->getText() : L"(no label)";
    }
    // A press and a release at the middle of the window through the game's mouse slots, as the
    // input signals bring them.
    void click(Orvex::GUIWindow& window) {
        Orvex::FRect const r = window.getScreenRect();
        float const x = (r.left + r.right) * 0.5f, y = (r.top + r.bottom) * 0.5f;
        Orvex::MouseState state;
        state.x = x;
        state.y = y;
        pointerAt(x, y);
        Orvex::OrvexAchse const axis = Orvex::OA_MOUSE_X;
        game->getTableInput().onMouseMove(state, axis);
        step(0.0);
        Orvex::OrvexMouseButton const left = Orvex::OMB_LEFT;
        state.setButtonDown(0, true);
        game->getTableInput().onMouseDown(state, left);
        state.setButtonDown(0, false);
        game->getTableInput().onMouseUp(state, left);
        step(0.0);
    }
    // Starts again with the window of that name in a GUI file renamed, so a step that needs it
    // finds nothing: the changed file lies in a folder searched before the source tree.
    void restartWithout(std::string const& guiFile, std::string const& window) {
        stop();
        std::string text = testsupport::readFile(testsupport::sourceDir() / "data/GUI" / guiFile);
        std::string const name = "NAME=\"" + window + "\"";
        std::size_t const at = text.find(name);
        ASSERT_NE(at, std::string::npos) << window;
        text.replace(at, name.size(), "NAME=\"" + window + "_FEHLT\"");
        std::filesystem::path const over = testsupport::makeTempDir("screens_without");
        std::filesystem::create_directories(over / "data/GUI");
        testsupport::writeFile(over / "data/GUI" / guiFile, text);
        Orvex::GOBManager& files = Orvex::GOBManager::getInstance();
        files.clear();
        files.addSearchPath(port::windowsPath(over.string()));
        files.addSearchPath(port::windowsPath(testsupport::sourceDir().string()));
        files.addSearchPath(port::windowsPath((testsupport::sourceDir() / "data").string()));
        startEngine(kScreenWidth, kScreenHeight);
        ASSERT_EQ(find(std::wstring(window.begin(), window.end())), nullptr);
    }
    // Steps until the menu's windows reached their goals, then draws and keeps a screenshot.
    void keepScreen(wchar_t const* menu, std::string const& file) {
        showMenu(menu);
        for (int i = 0; i < 30; ++i) step(1.0 / 30);
        frame();
        keepBackBuffer(file);
    }

    std::filesystem::path profileFile;
};

}  // namespace apptest
