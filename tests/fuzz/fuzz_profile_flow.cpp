// Fuzzes the game flow with a profile: the input written as "profile.prf" and loaded by the game
// object, built once on a headless device with the shipped data; its active profile (else its
// first) plays every level of the shipped campaign, each started as the level screen starts it
// and ended by a won and then by a lost game-end record; then the profiles are saved and loaded
// again, which must read completely with the same profiles, and every result stays in its range.
//
// The process makes a GL context: Mesa keeps allocations until exit from a module unloaded by
// then, which LeakSanitizer cannot attribute, so leak detection is off for this target alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/core/GOBManager.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/Effect.h"
#include "game/app/MyGlobals.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/AppFuzzSupport.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" const char* __asan_default_options() { return "detect_leaks=0"; }

namespace {

// The game object on the shipped data at 640 x 480, made on the first input and kept to the end
// of the process (its engine goes with the process).
Solitaire::SolitaireGame2& theGame() {
    static Solitaire::SolitaireGame2* const game = [] {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(std::string(ORVEX_SOURCE_DIR) + "/data"));
        Orvex::Effect::useCompiledCache = 0;
        Orvex::Effect::writeCompiledCache = 0;
        Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
        auto* globals = new Solitaire::MyGlobals();
        engine->setUserGlobals(globals);
        globals->setGodCount(4);
        Orvex::D3DInitParams& params = Orvex::D3DInterface::getInstance().getInitParams();
        params = Orvex::D3DInitParams();
        params.displayMode = D3DDISPLAYMODE{640, 480, 60, D3DFMT_X8R8G8B8};
        params.setWindowed(true);
        Orvex::DirectInputInterface::getInstance().getInitParams().useWinApi = 1;
        if (!engine->init()) std::abort();
        globals->loadFrames();
        return new Solitaire::SolitaireGame2();
    }();
    return *game;
}

void checkRanges(Solitaire::Profil const& profile) {
    for (Solitaire::ChapterRecord const& chapter : profile.getCampaign()) {
        if (chapter.result < 0 || chapter.result > Solitaire::ChapterRecord::kMaxResult) std::abort();
        for (Solitaire::LevelRecord const& level : chapter.levels)
            if (level.result < 0 || level.result > Solitaire::LevelRecord::kMaxResult) std::abort();
    }
}

// The number after the prefix of a catalogue name ("KAPITEL_3"), or -1.
int numberOf(std::wstring const& name, std::wstring const& prefix) {
    if (name.rfind(prefix, 0) != 0) return -1;
    std::wstring const digits = name.substr(prefix.size());
    if (digits.empty() || digits.size() > 4 || digits.find_first_not_of(L"0123456789") != std::wstring::npos) return -1;
    return std::stoi(digits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Solitaire::SolitaireGame2& game = theGame();
    std::filesystem::path const& folder = fuzz::emptyInputFolder("profile_flow");
    std::filesystem::path const file = fuzz::writeInput(folder, "profile.prf", data, size);
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    profiles.setFilePath(port::windowsPath(file.string()));
    profiles.loadProfiles();
    profiles.buildAllCampaignTables();
    if (!profiles.getActiveProfile() && profiles.getProfileCount() > 0) profiles.setActiveProfile(profiles.getProfile(0));

    Solitaire::SolCategorie const* campaign =
        Solitaire::SolitaireManager::instance().findCategory(Solitaire::SolitaireManager::kCampaignName);
    if (campaign)
        for (Solitaire::SolSolitaire const* chapter : campaign->getGames())
            for (Solitaire::SolVariant const* level : chapter->getVariants()) {
                int const c = numberOf(chapter->getName(), L"KAPITEL_");
                int const l = numberOf(level->getName(), L"LEVEL_");
                for (bool won : {true, false}) {
                    if (game.startCampaignLevel(c, l, true) != Solitaire::RunningGame::kGameStarted) continue;
                    game.onGameEnd(won, Solitaire::Kartenmanager::instance().makeGameEndParms(won));
                    if (Solitaire::Profil const* active = profiles.getActiveProfile()) checkRanges(*active);
                }
            }

    fuzz::saveAndLoadAgain(file);
    for (int i = 0; i < profiles.getProfileCount(); ++i) checkRanges(*profiles.getProfile(i));
    profiles.clear();
    return 0;
}
