// A small game data tree for the game application's tests, written into a folder that becomes
// the only search path: the files the game object loads at start-up, made of a few windows and
// single-coloured pictures, so pixels read back tell which picture was drawn. A test changes,
// cuts or leaves out files before writing them.
//
// The screen: "R_RANDMENU" covers it, "R_RANDCENTER" leaves margins of kFrameMargin pixels
// filled by the four bands; "LoadingScreens" holds the hidden "L_SplashScreen" with the bar
// "LS_SplashProgress"; menus "STARTMENU" (active at start, its button "S_WEITER" leads to
// "HAUPTMENU"), "HAUPTMENU", "INGAMEMENU" (the table windows, medals, god bars 1, 2 and 4),
// "TUTORIALMENU" (over the in-game screen, which stays active), "AUSWERTUNGMENU"; the 17 cursors of "data\menu\mouse.ani", each two frames of
// its own colours; "RECTS" whose cells are coloured by row, column and piece.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

namespace apptest {

// Colours of the pictures.
constexpr uint32_t kBandLeft = 0xFFFF0000;
constexpr uint32_t kBandRight = 0xFF00FF00;
constexpr uint32_t kBandTop = 0xFF0000FF;
constexpr uint32_t kBandBottom = 0xFFFFFF00;
constexpr uint32_t kSplashColour = 0xFF2040C0;
constexpr uint32_t kStartScreenColour = 0xFF306030;
constexpr uint32_t kMainScreenColour = 0xFF603030;
constexpr uint32_t kWindowColour = 0xFF9090C0;
constexpr float kFrameMargin = 40.0f;

// The colour of a frame texture pixel: cell (row, column), piece 0 to 8 (9 outside the frame).
uint32_t rectsColour(unsigned row, unsigned column, unsigned piece);
// The two frames of cursor animation i (0 to 16 in the game's table order).
uint32_t cursorColour(int index, int frame);

struct GameFiles {
    // Relative host path ("data/GUI/Rand.gui") -> bytes.
    std::map<std::string, std::string> files;

    // The whole set.
    GameFiles();
    // Writes every file into the folder (emptied first).
    void write(std::filesystem::path const& folder) const;
};

}  // namespace apptest
