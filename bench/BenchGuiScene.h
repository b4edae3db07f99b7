// What the GUI benchmarks share: the engine batcher with the game's "Sprite" effect as the GUI's
// sprite, counting its draw calls; the engine's fonts of data/font.fnt; the thread's CPU clock
// the per-frame counters are measured with. Header-only, for benchmark programs.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "bench/BenchDevice.h"
#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUISystem.h"
#include "engine/render/Effect.h"
#include "engine/render/Sprite.h"
#include "port/win32/win32_paths.h"

namespace bench {

class CountingSprite : public Orvex::Sprite {
public:
    bool End() override {
        bool const done = Orvex::Sprite::End();
        drawCalls += getStats().drawCalls;
        return done;
    }
    unsigned drawCalls = 0;
};

inline double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The device at the size, the source tree on the search path, a counting batcher with the
// "Sprite" effect (eight texture slots) as the GUI's sprite, and the game's fonts. False when a
// step fails.
inline bool setUpGuiDrawing(unsigned width, unsigned height, Orvex::Effect*& effect, CountingSprite*& sprite) {
    if (!openEngineDevice(width, height)) return false;
    std::filesystem::path const repo = std::filesystem::path(ORVEX_SOURCE_DIR);
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(repo.string()));
    std::wstring const fx = port::windowsPath((repo / "data" / "FX" / "sprite.fx").string());
    Orvex::XMLNode definition;
    definition.loadFromText(L"<EFFECT NAME=\"Sprite\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" + fx +
                            L"\" /><MACROS><MACRO NAME=\"SPRITE_TEX_COUNT\" DEFINITION=\"8\" /></MACROS></EFFECT>");
    effect = new Orvex::Effect(false);
    if (!effect->load(definition)) return false;
    sprite = new CountingSprite();
    sprite->create();
    sprite->setEffect(effect);
    Orvex::GUISystem::instance().setSprite(sprite);
    Orvex::D3DXFontInterface& fonts = Orvex::D3DXFontInterface::instance();
    if (!fonts.isReady()) fonts.initFonts();
    Orvex::XMLNode fontFile;
    if (!fontFile.load(L"data\\font.fnt")) return false;
    fonts.loadConfig(fontFile, L"data\\font.fnt");
    return true;
}

}  // namespace bench
