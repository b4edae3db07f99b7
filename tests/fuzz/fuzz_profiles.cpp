// Fuzzes the profile reader: the input written as "profile.prf" and loaded against the shipped
// catalogue, every campaign table built, each profile activated and its campaign advanced, then
// saved and loaded again, which must read completely with the same profiles.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/AppFuzzSupport.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    fuzz::shippedCatalogue();
    std::filesystem::path const& folder = fuzz::inputFolder("fuzz_profiles");
    std::filesystem::path const file = fuzz::writeInput(folder, "profile.prf", data, size);
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    profiles.setFilePath(port::windowsPath(file.string()));
    profiles.loadProfiles();
    if (static_cast<std::size_t>(profiles.getProfileCount()) > Solitaire::ProfilManager::kMaxProfiles) std::abort();
    profiles.buildAllCampaignTables();
    for (int i = 0; i < profiles.getProfileCount(); ++i) {
        Solitaire::Profil* profile = profiles.getProfile(i);
        profile->activate();
        for (auto const& chapter : std::vector<Solitaire::ChapterRecord>(profile->getCampaign()))
            for (auto const& level : chapter.levels) {
                int nextChapter = 0, nextLevel = 0;
                profile->advanceCampaign(chapter.chapter, level.level, nextChapter, nextLevel, true);
            }
        for (auto const& chapter : profile->getCampaign()) {
            if (chapter.result < 0 || chapter.result > 2) std::abort();
            for (auto const& level : chapter.levels)
                if (level.result < 0 || level.result > 4) std::abort();
        }
    }
    fuzz::saveAndLoadAgain(file);
    fuzz::clearProfiles(folder);
    return 0;
}
