// Fuzzes the mini-game definitions with file bytes: every "MINISPIEL" element of the input (and
// the top element's skip keys) is made into a game against the shipped templates and screens
// (data\GUI\Minispiel.gui, data\Games\Minispiele.gui and the games' animations, the templates
// and pictures of the puzzles, mazes, cleaning and tile games, read once without a device), the
// GUI built, and each game made active, its help closed and a few hundred frames played with
// random presses, drags and releases over the screen (through the GUI and, for the games that
// follow the pointer themselves, the input object's signals), then skipped. The input's file
// entries ("TEXTE", "GUI" ...) are left out; only the files a game itself names (the cleaning
// game's render passes and textures) are read, as the game reads them.
#include <cstddef>
#include <cstdint>

#include "engine/core/GOBManager.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"
#include "port/crt/crt.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/FuzzMinigamesMazes.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;
constexpr int kFrames = 240;
constexpr double kStep = 1.0 / 60.0;
// More games than this of one input are not played (each costs kFrames frames).
constexpr std::size_t kMaxPlayed = 24;

// The puzzles' templates and pictures (jigsaw, sliding gap, swap).
void loadPuzzles() {
    Orvex::XMLNode gui;
    gui.load(L"data\\GUI\\Minispiele_puzzles.gui");
    Orvex::GUISystem::instance().loadTextures(gui, L"data\\GUI\\Minispiele_puzzles.gui");
    Orvex::XMLNode animations;
    animations.load(L"data\\Games\\puzzles.ani");
    Orvex::Texture2DAnimationManager::instance().load(animations);
}

// The pointer also as the input object has it: its position, which the board games' clicks are
// judged at, and its signals, which the jigsaw takes its presses, moves and releases from.
void toInputObject(Orvex::MouseState& state, int what) {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    input.mouseX = state.x;
    input.mouseY = state.y;
    if (what < 0) input.mouseButtonDownSignal.emit(state, Orvex::OMB_LEFT);
    if (what == 0) input.mouseAxisSignal.emit(state, Orvex::OA_MOUSE_X);
    if (what > 0) input.mouseButtonUpSignal.emit(state, Orvex::OMB_LEFT);
}

// The cleaning, blowing and ring games' templates and animations.
void loadCleanGames() {
    Orvex::XMLNode tree;
    tree.load(L"data\\Games\\Minispiele_clean.gui");
    Orvex::GUISystem::instance().loadTextures(tree, L"data\\Games\\Minispiele_clean.gui");
    Orvex::XMLNode animations;
    animations.load(L"data\\Games\\clean.ani");
    Orvex::Texture2DAnimationManager::instance().load(animations);
}

// The building, turning-tiles, memory and Sequenz games' templates and pictures.
void loadTiles() {
    Orvex::XMLNode gui;
    gui.load(L"data\\GUI\\Minispiele_tiles.gui");
    Orvex::GUISystem::instance().loadTextures(gui, L"data\\GUI\\Minispiele_tiles.gui");
    Orvex::XMLNode animations;
    animations.load(L"data\\Games\\tiles.ani");
    Orvex::Texture2DAnimationManager::instance().load(animations);
}

void loadShipped() {
    static bool const loaded = [] {
        D3DDISPLAYMODE& mode = Orvex::D3DInterface::getInstance().getInitParams().displayMode;
        mode.Width = kScreenWidth;
        mode.Height = kScreenHeight;
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        for (wchar_t const* file :
             {L"data\\GUI\\Minispiel.gui", L"data\\Games\\Minispiele.gui"}) {
            Orvex::XMLNode tree;
            tree.load(file);
            Orvex::GUISystem::instance().loadTextures(tree, file);
        }
        Orvex::XMLNode animations;
        animations.load(L"data\\Games\\minigames.ani");
        Orvex::Texture2DAnimationManager::instance().load(animations);
        loadPuzzles();
        fuzz::loadMazeKinds();
        loadCleanGames();
        loadTiles();
        return true;
    }();
    (void)loaded;
}

// A press, a few moves and a release at random places (the runtime's generator, seeded by the
// input so a run repeats).
void randomDrag(Orvex::GUISystem& gui) {
    Orvex::MouseState state;
    state.x = static_cast<float>(msvc::rand() % kScreenWidth);
    state.y = static_cast<float>(msvc::rand() % kScreenHeight);
    gui.onMouseMove(state, Orvex::OA_MOUSE_X);
    toInputObject(state, 0);
    state.setButtonDown(Orvex::OMB_LEFT, true);
    toInputObject(state, -1);
    gui.onMouseDown(state, Orvex::OMB_LEFT);
    for (int i = msvc::rand() % 3; i > 0; --i) {
        state.x += static_cast<float>(msvc::rand() % 200 - 100);
        state.y += static_cast<float>(msvc::rand() % 200 - 100);
        gui.onMouseMove(state, Orvex::OA_MOUSE_X);
        toInputObject(state, 0);
    }
    state.setButtonDown(Orvex::OMB_LEFT, false);
    toInputObject(state, 1);
    gui.onMouseUp(state, Orvex::OMB_LEFT);
}

// A stroke as the games that follow the pointer themselves hear it (cleaning, blowing, ring): the
// input object's button and axis signals at random places.
void randomStroke() {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    Orvex::MouseState state;
    auto const moveTo = [&](float x, float y) {
        input.mouseX = state.x = x;
        input.mouseY = state.y = y;
        input.mouseAxisSignal.emit(state, Orvex::OA_MOUSE_X);
    };
    moveTo(static_cast<float>(msvc::rand() % kScreenWidth), static_cast<float>(msvc::rand() % kScreenHeight));
    state.setButtonDown(Orvex::OMB_LEFT, true);
    input.mouseButtonDownSignal.emit(state, Orvex::OMB_LEFT);
    for (int i = msvc::rand() % 4; i > 0; --i)
        moveTo(state.x + static_cast<float>(msvc::rand() % 400 - 200),
               state.y + static_cast<float>(msvc::rand() % 400 - 200));
    state.setButtonDown(Orvex::OMB_LEFT, false);
    input.mouseButtonUpSignal.emit(state, Orvex::OMB_LEFT);
}

// What the building game follows and the tile games read besides the GUI's events: the input
// object's pointer and its mouse signals, with a right click now and then (the tiles' other turn).
void tilesInput(Orvex::GUISystem& gui) {
    Orvex::DirectInputInterface& input = Orvex::DirectInputInterface::getInstance();
    Orvex::MouseState state;
    auto moveTo = [&](float x, float y) {
        state.x = input.mouseX = x;
        state.y = input.mouseY = y;
        gui.onMouseMove(state, Orvex::OA_MOUSE_X);
        input.mouseAxisSignal.emit(state, Orvex::OA_MOUSE_X);
    };
    moveTo(static_cast<float>(msvc::rand() % kScreenWidth), static_cast<float>(msvc::rand() % kScreenHeight));
    Orvex::OrvexMouseButton const button = msvc::rand() % 4 == 0 ? Orvex::OMB_RIGHT : Orvex::OMB_LEFT;
    state.setButtonDown(button, true);
    gui.onMouseDown(state, button);
    input.mouseButtonDownSignal.emit(state, button);
    for (int i = msvc::rand() % 4; i > 0; --i)
        moveTo(state.x + static_cast<float>(msvc::rand() % 400 - 200), state.y + static_cast<float>(msvc::rand() % 400 - 200));
    state.setButtonDown(button, false);
    gui.onMouseUp(state, button);
    input.mouseButtonUpSignal.emit(state, button);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    loadShipped();
    Orvex::XMLNode input;
    fuzz::readTree(data, size, input);
    Orvex::XMLNode definitions(L"MINISPIELE");
    for (Orvex::XMLAttribute const* attribute : input.attributes())
        definitions.setAttribute(attribute->getName(), attribute->getStringCopy());
    for (Orvex::XMLNode const* child : input.children())
        if (child->getName() == L"MINISPIEL") definitions.addChild(new Orvex::XMLNode(*child));

    msvc::srand(static_cast<unsigned>(size));
    Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
    manager.loadDefinitions(definitions, L"fuzz.min");
    manager.initGUI();
    manager.shuffleOrder();
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    std::vector<Solitaire::Minispiel*> const games = manager.getGames();
    for (std::size_t g = 0; g < games.size() && g < kMaxPlayed; ++g) {
        manager.setActiveMinispiel(games[g]);
        manager.showHelp(false, 0.0f);
        fuzz::prepareMazeKinds(*games[g], data, size);
        for (int frame = 0; frame < kFrames && manager.getActiveMinispiel(); ++frame) {
            if (msvc::rand() % 4 == 0) randomDrag(gui);
            if (msvc::rand() % 4 == 0) fuzz::pressMazeKinds(*games[g], kScreenWidth, kScreenHeight);
            if (msvc::rand() % 4 == 0) randomStroke();
            if (msvc::rand() % 4 == 0) tilesInput(gui);
            gui.update(kStep);
            manager.update(kStep);
            gui.draw();
            manager.drawActive();
        }
        if (Solitaire::Minispiel* active = manager.getActiveMinispiel()) active->skip();
        manager.update(kStep);
        manager.setActiveMinispiel(nullptr);
    }
    manager.clear();
    return 0;
}
