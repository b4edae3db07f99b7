// Fuzzes the profile reader: the input written as "profile.prf" and loaded against the shipped
// catalogue, every campaign table built, each profile activated and its campaign advanced, then
// saved and loaded again, which must read completely with the same profiles.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/AppFuzzSupport.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    fuzz::shippedCatalogue();
    static std::filesystem::path const folder = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() / ("fuzz_profiles_" + std::to_string(getpid()));
        std::filesystem::create_directories(made);
        return made;
    }();
    std::filesystem::path const file = folder / "profile.prf";
    std::filesystem::remove(file);
    {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<char const*>(data), static_cast<std::streamsize>(size));
    }
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
    int const count = profiles.getProfileCount();
    if (!profiles.saveProfiles()) std::abort();
    Orvex::XMLNode written;
    if (written.loadChecked(port::windowsPath(file.string()), 1) != Orvex::XMLNode::ReadResult::kComplete) std::abort();
    profiles.loadProfiles();
    if (profiles.getProfileCount() != count) std::abort();
    profiles.clear();
    for (auto const& entry : std::filesystem::directory_iterator(folder)) std::filesystem::remove(entry.path());
    return 0;
}
