// The mini-game benchmarks' screen: the engine's device at the benchmark's size, the "Sprite"
// effect compiled from source on a new sprite batcher handed to the GUI, the mini-game screens
// (data\GUI\Minispiel.gui) and the games' template files and animation lists asked for, read from
// this repository's data. Fonts are not loaded.
#pragma once

#include <filesystem>
#include <initializer_list>

#include "bench/BenchDevice.h"
#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/render/Effect.h"
#include "engine/render/Sprite.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "port/win32/win32_paths.h"

namespace bench {

// The mini-game screens (data\\GUI\\Minispiel.gui), then the games' template files and animation
// lists asked for, on the device the benchmark opened.
inline void loadMinigameFiles(std::initializer_list<wchar_t const*> guiFiles,
                              std::initializer_list<wchar_t const*> animationFiles) {
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    auto loadGui = [&gui](wchar_t const* file) {
        Orvex::XMLNode tree;
        tree.load(file);
        gui.loadTextures(tree, file);
    };
    loadGui(L"data\\GUI\\Minispiel.gui");
    for (wchar_t const* file : guiFiles) loadGui(file);
    for (wchar_t const* file : animationFiles) {
        Orvex::XMLNode animations;
        animations.load(file);
        Orvex::Texture2DAnimationManager::instance().load(animations);
    }
}

// The batcher (owned by the GUI's user, never released), or null without a device or effect.
inline Orvex::Sprite* openMinigameScreens(unsigned width, unsigned height, std::initializer_list<wchar_t const*> guiFiles,
                                          std::initializer_list<wchar_t const*> animationFiles) {
    if (!openEngineDevice(width, height)) return nullptr;
    std::filesystem::path const repo = std::filesystem::path(ORVEX_SOURCE_DIR);
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(repo.string()));
    Orvex::XMLNode node;
    node.loadFromText(L"<EFFECT NAME=\"Sprite\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" +
                      port::windowsPath((repo / "data" / "FX" / "sprite.fx").string()) +
                      L"\" /><MACROS><MACRO NAME=\"SPRITE_TEX_COUNT\" DEFINITION=\"1\" /></MACROS></EFFECT>");
    auto* effect = new Orvex::Effect(false);
    if (!effect->load(node)) return nullptr;
    auto* sprite = new Orvex::Sprite();
    sprite->create();
    sprite->setEffect(effect);
    Orvex::GUISystem::instance().setSprite(sprite);
    loadMinigameFiles(guiFiles, animationFiles);
    return sprite;
}

}  // namespace bench
