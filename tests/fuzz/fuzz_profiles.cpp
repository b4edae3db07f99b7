// Fuzzes the profile reader: the input written as "profile.prf" (an input cut at a line "--8<--":
// the piece after it as the profiles saved beside it, "profile.prf.new") and loaded against the
// shipped catalogue, every campaign table built, each profile activated and its campaign
// advanced, then saved and loaded again, which must read completely with the same profiles; with
// the tables built again each holds the chapters it reached as they were, and every chapter of
// the catalogue.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolitaireManager.h"
#include "port/win32/win32_paths.h"
#include "tests/fuzz/AppFuzzSupport.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

// The chapters a profile reached (the file names the others not), each with its levels, in order
// of their numbers.
std::vector<std::vector<long long>> reached(Solitaire::Profil const& profile) {
    std::vector<std::vector<long long>> out;
    for (Solitaire::ChapterRecord const& chapter : profile.getCampaign()) {
        std::vector<long long> row{chapter.chapter, chapter.result};
        bool touched = chapter.result != 0;
        for (Solitaire::LevelRecord const& level : chapter.levels) {
            row.insert(row.end(), {level.level, level.result, static_cast<long long>(level.found)});
            touched = touched || level.result != 0 || level.found != 0;
        }
        if (touched) out.push_back(row);
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    fuzz::shippedCatalogue();
    std::filesystem::path const& folder = fuzz::emptyInputFolder("profiles");
    std::string_view const input(reinterpret_cast<char const*>(data), size);
    std::size_t const mark = std::min(input.find(fuzz::kPartMark), size);
    std::filesystem::path const file = fuzz::writeInput(folder, "profile.prf", data, mark);
    if (mark < size) {
        std::size_t const beside = mark + fuzz::kPartMark.size();
        std::string const name = "profile.prf" + port::hostPathNoLookup(Solitaire::ProfilManager::kSavedBeside);
        fuzz::writeInput(folder, name.c_str(), data + beside, size - beside);
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
    std::vector<std::vector<std::vector<long long>>> before;
    for (int i = 0; i < profiles.getProfileCount(); ++i) before.push_back(reached(*profiles.getProfile(i)));
    fuzz::saveAndLoadAgain(file);
    profiles.buildAllCampaignTables();
    Solitaire::SolCategorie const* campaign =
        fuzz::shippedCatalogue().findCategory(Solitaire::SolitaireManager::kCampaignName);
    int const chapters = campaign ? static_cast<int>(campaign->getGames().size()) : 0;
    for (int i = 0; i < profiles.getProfileCount(); ++i) {
        Solitaire::Profil* profile = profiles.getProfile(i);
        // A file names at most kMaxChapters chapters; the table may have added more.
        std::vector<std::vector<long long>> const& was = before[static_cast<std::size_t>(i)];
        if (was.size() <= Solitaire::Profil::kMaxChapters && reached(*profile) != was) std::abort();
        for (int number = 0; number < chapters; ++number)
            if (!profile->findChapter(number)) std::abort();
    }
    profiles.clear();
    return 0;
}
