// The game object built for real in a test: the engine started headless on a small window with
// the game's settings object, the test data tree of GameFiles as the only search path, and the
// game object constructed as the entry point does. Frames are driven by hand: advance the frame
// timer, then update or draw; pixels are read back from the back buffer.
//
// Unless the profile file gave one, the game starts with an active player profile "Spieler", as
// after the first start, so leaving the start screen leads to the main menu; a test of the
// first start clears withPlayer. The profiles are let go when the game stops.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/render/FRect.h"
#include "game/app/MyGlobals.h"
#include "game/app/SolitaireGame2.h"
#include "tests/game/app/GameFiles.h"

namespace apptest {

// A screen size the game is started at.
struct ScreenSize {
    unsigned width, height;
};
inline void PrintTo(ScreenSize const& size, std::ostream* out) { *out << size.width << "x" << size.height; }

class GameFixture : public ::testing::Test {
protected:
    static constexpr unsigned kWidth = 320;
    static constexpr unsigned kHeight = 240;

    void SetUp() override { start(); }
    void TearDown() override { stop(); }

    // Writes the files, starts the engine at the size and builds the game object.
    void start(unsigned width = kWidth, unsigned height = kHeight);
    // The same on a tree of the game's own data: root and root/data as the search paths, as
    // scripts/run.sh gives them.
    void startOn(std::filesystem::path const& root, unsigned width, unsigned height);
    void stop();

    // One update after the frame timer advanced by real seconds (game time: real times the
    // timer's factor, 0 while paused).
    void step(double realSeconds);
    // One drawn frame; the back buffer's pixels, rows top first.
    std::vector<uint32_t> frame();
    uint32_t at(std::vector<uint32_t> const& pixels, unsigned x, unsigned y) const {
        return pixels[static_cast<std::size_t>(y) * width + x];
    }
    // Bright pixels of the window's rectangle on the frame (the letters of a label, white or
    // gold); 0 for a window that does not exist.
    int lightPixelsIn(std::vector<uint32_t> const& pixels, std::wstring const& window) const;
    int lightPixelsIn(std::vector<uint32_t> const& pixels, Orvex::FRect const& rect) const;
    // The back buffer saved as a PNG in the build folder's "screenshots", for a person to see.
    static void keepBackBuffer(std::string const& name);
    // Activates a menu and lets its windows reach their goals. The start screen is left for the
    // main menu first, as the player leaves it (leaving it to another menu leads there too).
    void showMenu(wchar_t const* name);
    // The start screen left for the main menu, as the player leaves it (nothing on other menus).
    void leaveStartScreen();
    // The pointer at (x, y) of the window, inside its client area.
    void pointerAt(float x, float y);
    // The first window of that name at any level of the GUI.
    static Orvex::GUIWindow* find(std::wstring const& name);

    void startEngine(unsigned width, unsigned height);
    // Runs after the device's mode was set to the test's window and before the engine starts: a
    // test of the settings file reads its own here, as the entry point does.
    virtual void readSettings() {}

    GameFiles files;
    // Whether start expects the constructor to finish (a quit during loading ends it early).
    bool expectConstructed = true;
    // Whether a built game gets an active profile when the profile file gave none.
    bool withPlayer = true;
    // Whether that profile shows tutorials: off, so a screen test sees its screen, not the
    // tutorial offered on entering it.
    bool playerTutorials = false;
    // Whether the story file's scenes stay (else they are let go once the game is built).
    bool withStory = false;
    std::filesystem::path folder;
    Solitaire::MyGlobals* globals = nullptr;
    std::unique_ptr<Solitaire::SolitaireGame2> game;
    unsigned width = kWidth;
    unsigned height = kHeight;
};

}  // namespace apptest
