// The game object on the game's own data at 1024 x 768, with its profiles in a fresh folder, for
// the achievement, options, profile and help screens: the screens are the shipped GUI files, so
// a test sees what a player sees. Helpers make profiles and read the windows' state.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/cards/AchivementManager.h"
#include "tests/game/app/GameFixture.h"
#include "tests/game/cards/ProfileFiles.h"
#include "tests/support/TestSupport.h"

namespace apptest {

class ScreensFixture : public GameFixture {
protected:
    static constexpr unsigned kScreenWidth = 1024;
    static constexpr unsigned kScreenHeight = 768;

    void SetUp() override {
        profileFile = testsupport::makeTempDir("screens_profiles") / "profile.prf";
        profiles().setFilePath(cardstest::hostFile(profileFile));
        startOn(testsupport::sourceDir(), kScreenWidth, kScreenHeight);
    }
    void TearDown() override {
        if (game) stop();
        profiles().clear();
        profiles().setFilePath(L"");
        Solitaire::AchivementManager::instance().resetAll();
    }

    static Solitaire::ProfilManager& profiles() { return Solitaire::ProfilManager::instance(); }
    // A new profile of that name in the list (the list's signals rebuild the panel).
    static Solitaire::Profil* addProfile(std::wstring const& name) {
        auto* profile = new Solitaire::Profil(name);
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
    // Takes the window out of the GUI so a step that needs it finds nothing.
    static void removeWindow(std::wstring const& name) {
        Orvex::GUIWindow* window = find(name);
        ASSERT_NE(window, nullptr) << std::string(name.begin(), name.end());
        ASSERT_NE(window->getParent(), nullptr);
        window->getParent()->removeChild(window);
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
