// The game on its own data in a folder of the test's own, played as a player plays it: every
// action an SDL event in the real window (clicks where the player sees a window, keys pressed and
// let go, text typed on the German layout), what the player reads checked on the labels. The
// profile file it starts with is the test's (empty: a fresh player "Spieler"); with the flow
// tests' catalogue every level is the row of hearts.
#pragma once

#include <filesystem>
#include <string>

#include <SDL.h>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/ScreenWindows.h"
#include "tests/game/minigames/MinigameFixture.h"
#include "tests/support/SdlEvents.h"
#include "tests/support/TestSupport.h"

namespace apptest {

class PlayedScreensFixture : public minigametest::MinigameFixture {
protected:
    void SetUp() override {
        makeHome(homeName, profileText, withFlowCatalogue);
        if (withFlowCatalogue)
            std::filesystem::copy_file(testsupport::sourceDir() / "tests/game/app/flow_data/Level.dat",
                                       home / "data/Level/Level.dat",
                                       std::filesystem::copy_options::overwrite_existing);
        withPlayer = profileText.empty();
        MinigameFixture::SetUp();
    }
    void TearDown() override {
        MinigameFixture::TearDown();
        removeHome();
    }

    // From the start screen to the main menu, as the player leaves it.
    void toMainMenu() {
        if (activeMenu() == L"STARTMENU") clickOn(L"SM_Fenster");
        ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    }
    static std::wstring textOf(std::wstring const& name) {
        Orvex::GUILabel* label = Solitaire::findLabel(name);
        return label ? label->getText() : L"(no label)";
    }
    static bool shown(Orvex::GUIWindow const* window) {
        if (!window) return false;
        for (; window; window = window->getParent())
            if (!window->getOptions().visible) return false;
        return true;
    }
    // A key pressed and let go, a frame each, then the screens settle. With text, the window
    // system's layout types that text with the press.
    void key(SDL_Scancode code, SDL_Keycode sym, bool shift = false, char const* text = nullptr) {
        if (shift) testsupport::pushKey(windowId(), SDL_SCANCODE_LSHIFT, true, SDLK_LSHIFT);
        testsupport::pushKey(windowId(), code, true, sym);
        if (text && *text) testsupport::pushText(windowId(), text);
        tick(false);
        testsupport::pushKey(windowId(), code, false, sym);
        if (shift) testsupport::pushKey(windowId(), SDL_SCANCODE_LSHIFT, false, SDLK_LSHIFT);
        tick(false);
    }
    void pressEscape() {
        key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
        settle();
    }
    void pressReturn() {
        key(SDL_SCANCODE_RETURN, SDLK_RETURN);
        settle();
    }
    // Letters typed as their keys (capitals with shift).
    void type(std::string const& text) {
        for (char c : text) {
            if (c >= 'a' && c <= 'z') key(SDL_Scancode(SDL_SCANCODE_A + (c - 'a')), SDL_Keycode(c));
            else if (c >= 'A' && c <= 'Z') key(SDL_Scancode(SDL_SCANCODE_A + (c - 'A')), SDL_Keycode(c - 'A' + 'a'), true);
        }
    }

    // The profile file the game starts with (empty: a fresh player "Spieler").
    std::string profileText;
    // Whether the game runs on the flow tests' catalogue (levels won by moving the hearts).
    bool withFlowCatalogue = false;
    std::string homeName = "played_screens";
};

}  // namespace apptest
