// The maze, labyrinth and connect-the-dots kinds in the mini-game definitions' fuzz target: their
// templates and pictures are loaded with the shipped ones; a maze without rooms (the fuzz run
// reads no mask texture) gets rooms from a mask made of the input's bytes and a new generation;
// presses reach the games the way input does (the input object's button signal for the maze and
// the dots, the field's click signals and pushes at any ring cell for the labyrinth), with any
// button, at random places (the runtime's generator, seeded by the input).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/Labyrinth.h"
#include "game/minigames/Maze.h"
#include "game/minigames/Minispiel.h"
#include "port/crt/crt.h"

namespace fuzz {

// Masks from input bytes are at most this many cells on a side.
inline constexpr int kMaxFuzzMaskSide = 24;

inline void loadMazeKinds() {
    Orvex::XMLNode tree;
    tree.load(L"data\\Games\\Minispiele_mazes.gui");
    Orvex::GUISystem::instance().loadTextures(tree, L"data\\Games\\Minispiele_mazes.gui");
    Orvex::XMLNode animations;
    animations.load(L"data\\Games\\mazes.ani");
    Orvex::Texture2DAnimationManager::instance().load(animations);
}

// Rooms from the bytes for a maze that has none, then a new maze.
inline void prepareMazeKinds(Solitaire::Minispiel& game, uint8_t const* data, std::size_t size) {
    auto* maze = dynamic_cast<Solitaire::Maze*>(&game);
    if (!maze || !maze->getRooms().empty() || size < 2) return;
    int const columns = 1 + data[0] % kMaxFuzzMaskSide;
    int const rows = 1 + data[1] % kMaxFuzzMaskSide;
    std::vector<D3DXCOLOR> cells;
    for (int k = 0; k < columns * rows; ++k) {
        uint8_t const bits = data[static_cast<std::size_t>(2 + k) % size];
        cells.emplace_back(0.5f, (bits & 2) ? 1.0f : 0.0f, (bits & 4) ? 1.0f : 0.0f, (bits & 1) ? 1.0f : 0.0f);
    }
    maze->buildRooms(columns, rows, cells);
    maze->start();
}

// One press of a random button at a random place of the screen.
inline void pressMazeKinds(Solitaire::Minispiel& game, int screenWidth, int screenHeight) {
    Orvex::MouseState state;
    state.x = static_cast<float>(msvc::rand() % screenWidth);
    state.y = static_cast<float>(msvc::rand() % screenHeight);
    auto const button = static_cast<Orvex::OrvexMouseButton>(msvc::rand() % 3);
    if (auto* lab = dynamic_cast<Solitaire::Labyrinth*>(&game)) {
        if (Orvex::GUIWindow* field = lab->getField()) {
            Orvex::DirectInputInterface::getInstance().getMouseState() = state;
            button == Orvex::OMB_RIGHT ? lab->onFieldRightClick(*field) : lab->onFieldClick(*field);
        }
        if (lab->hasBoard() && msvc::rand() % 8 == 0) {
            Solitaire::Labyrinth::Cell const at = lab->entranceToCell(msvc::rand());
            lab->shift(at.x, at.y, 1.0f);
        }
        if (msvc::rand() % 32 == 0) lab->start();
        return;
    }
    if (dynamic_cast<Solitaire::Maze*>(&game) && msvc::rand() % 32 == 0) game.start();
    // As a real press: the GUI learns of it first (its active window is the one under it).
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    gui.onMouseMove(state, Orvex::OA_MOUSE_X);
    state.setButtonDown(button, true);
    gui.onMouseDown(state, button);
    Orvex::DirectInputInterface::getInstance().mouseButtonDownSignal.emit(state, button);
    state.setButtonDown(button, false);
    gui.onMouseUp(state, button);
}

}  // namespace fuzz
