// One game object for a whole process, on the game's own data: the engine started on a window of
// the given size with the game's settings object, the source tree and its data/ as the search
// paths, profiles in a fresh folder. For the fuzz targets and benchmarks that drive the screens
// many times (GameFixture builds a game per test). The game lives until the process exits, when
// it is destroyed and its lists released.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/core/GOBManager.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/TutorialManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/MyGlobals.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireGame2.h"
#include "game/cards/FlySpline.h"
#include "port/win32/win32_paths.h"

namespace apptest {

inline Solitaire::SolitaireGame2& gameOnData(std::filesystem::path const& sourceDir, unsigned width, unsigned height) {
    static Solitaire::SolitaireGame2* game = nullptr;
    if (!game) game = [&] {
        Orvex::GOBManager& files = Orvex::GOBManager::getInstance();
        files.addSearchPath(port::windowsPath(sourceDir.string()));
        files.addSearchPath(port::windowsPath((sourceDir / "data").string()));
        std::filesystem::path const folder =
            std::filesystem::temp_directory_path() / ("game_on_data_" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        Solitaire::ProfilManager::instance().setFilePath(port::windowsPath((folder / "profile.prf").string()));
        Orvex::Effect::useCompiledCache = 0;
        Orvex::Effect::writeCompiledCache = 0;
        Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
        auto* globals = new Solitaire::MyGlobals();
        engine->setUserGlobals(globals);
        Orvex::D3DInitParams& params = Orvex::D3DInterface::getInstance().getInitParams();
        params.displayMode = D3DDISPLAYMODE{width, height, 60, D3DFMT_X8R8G8B8};
        params.setWindowed(true);
        Orvex::DirectInputInterface::getInstance().getInitParams().useWinApi = 1;
        if (!engine->init()) return static_cast<Solitaire::SolitaireGame2*>(nullptr);
        globals->loadFrames();
        auto* made = new Solitaire::SolitaireGame2();
        // Registered after the managers the game made, so it runs before they are destroyed.
        std::atexit([] {
            delete game;
            game = nullptr;
            Orvex::GUIMenuManagerN::instance().clear();
            Orvex::GUISystem::instance().clear();
            Orvex::TutorialManager::instance().clear();
            Orvex::Texture2DAnimationManager::instance().releaseAnimations();
            Solitaire::FlySpline::clearList();
            // The engine stays up: the drivers it loaded keep what they hold until the end.
        });
        return made;
    }();
    if (!game) std::abort();
    return *game;
}

}  // namespace apptest
