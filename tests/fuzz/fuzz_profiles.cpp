// Fuzzes the profile reader: the input written as "profile.prf" (an input cut at a line "--8<--":
// the piece after it as the profiles saved beside it, "profile.prf.new"; pieces repeated as
// FuzzSupport.h's writeRepeated says, so a few lines stand for a file of the size a read takes) and
// loaded against the shipped catalogue, every campaign table built and the active profile made live
// as the game's start does. A file read whole is read whole again after its save: nothing left out
// and no line, or the process ends. Then each profile is activated and its campaign
// advanced; then a new profile is made and chosen as the new-profile dialog does, and
// plays (points, an unlock, a quick save), and all is saved and loaded again, which must read
// completely: a refused save, a profile read that is not there again (but past the first
// ProfilManager::kMaxProfiles, where the new one takes the last place) or the new one without what
// it played ends the process. With the tables built again each profile read whole holds the
// chapters it reached as they were, and every chapter of the catalogue.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/Logger.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolVariant.h"
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

constexpr float kPoints = 42.0f;

// A quick save of a game of 104 cards.
Orvex::XMLNode const& quickSave() {
    static Orvex::XMLNode const save = [] {
        std::wstring text = L"<QUICK_SAVE SCORE=\"120\" SCORE_PLUS=\"150\" SCORE_MINUS=\"-30\" GAMESTATUS=\"0\" TIME=\"95.5\">";
        for (int i = 0; i < 104; ++i)
            text += L"<KARTE ID=\"" + std::to_wstring(i) + L"\" VISIBLE=\"" + std::to_wstring(i % 2) + L"\"/>";
        Orvex::XMLNode node;
        node.loadFromText(text + L"</QUICK_SAVE>");
        return node;
    }();
    return save;
}

// A profile named as none read is, made and chosen as the new-profile dialog does, plays.
void playNewProfile(Solitaire::ProfilManager& profiles) {
    std::wstring name = L"Ben";
    for (int i = 0; profiles.findProfile(name); ++i) name = L"Ben" + std::to_wstring(i);
    auto* profile = new Solitaire::Profil(name);
    profile->buildCampaignTable();
    profiles.addProfile(profile);
    profiles.setActiveProfile(profile);
    profile->activate();
    profile->setPoints(kPoints);
    profile->addUnlock(L"GOD0", false);
    Solitaire::SolVariant* variant = fuzz::shippedCatalogue().collectVariants().front();
    variant->getQuickSave().copyFrom(quickSave());
}

// What the game's start does with the profiles read: every campaign table built, the active profile
// made live.
void startGame(Solitaire::ProfilManager& profiles) {
    profiles.buildAllCampaignTables();
    if (Solitaire::Profil* active = profiles.getActiveProfile()) active->activate();
}

bool hasPlayed(Solitaire::Profil& profile) {
    profile.activate();
    return profile.getPoints() == kPoints && profile.isUnlocked(L"GOD0") &&
           fuzz::shippedCatalogue().collectVariants().front()->getQuickSave().equals(quickSave());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    fuzz::shippedCatalogue();
    std::filesystem::path const& folder = fuzz::emptyInputFolder("profiles");
    std::string_view const input(reinterpret_cast<char const*>(data), size);
    std::size_t const mark = std::min(input.find(fuzz::kPartMark), size);
    // Past what a profile file may hold by a few bytes, so the largest file is refused unread.
    std::size_t const limit = Solitaire::ProfilManager::kMaxFileBytes + 16;
    std::filesystem::path const file = fuzz::writeRepeatedInput(folder, "profile.prf", input.substr(0, mark), limit);
    if (mark < size) {
        std::size_t const beside = mark + fuzz::kPartMark.size();
        std::string const name = "profile.prf" + port::hostPathNoLookup(Solitaire::ProfilManager::kSavedBeside);
        fuzz::writeRepeatedInput(folder, name.c_str(), input.substr(beside), limit);
    }
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    profiles.setFilePath(port::windowsPath(file.string()));
    profiles.loadProfiles();
    if (static_cast<std::size_t>(profiles.getProfileCount()) > Solitaire::ProfilManager::kMaxProfiles) std::abort();
    startGame(profiles);
    if (profiles.readWhole()) {
        std::size_t const lines = Orvex::Logger::getInstance().errorCount();
        if (!profiles.saveProfiles()) std::abort();
        profiles.loadProfiles();
        if (!profiles.readWhole() || Orvex::Logger::getInstance().errorCount() != lines) std::abort();
        startGame(profiles);
    }
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
    std::vector<std::wstring> names;
    for (int i = 0; i < profiles.getProfileCount(); ++i) {
        before.push_back(reached(*profiles.getProfile(i)));
        names.push_back(profiles.getProfile(i)->getName());
    }
    playNewProfile(profiles);
    std::wstring const name = profiles.getActiveProfile()->getName();
    fuzz::saveAndLoadAgain(file);
    Solitaire::Profil* played = profiles.getActiveProfile();
    if (!played || played->getName() != name || !hasPlayed(*played)) std::abort();
    // The new profile took the last place of a full list.
    std::size_t const kept = std::min(names.size(), Solitaire::ProfilManager::kMaxProfiles - 1);
    profiles.buildAllCampaignTables();
    Solitaire::SolCategorie const* campaign =
        fuzz::shippedCatalogue().findCategory(Solitaire::SolitaireManager::kCampaignName);
    int const chapters = campaign ? static_cast<int>(campaign->getGames().size()) : 0;
    for (std::size_t i = 0; i < kept; ++i) {
        Solitaire::Profil* profile = profiles.getProfile(static_cast<int>(i));
        if (profile->getName() != names[i]) std::abort();
        // A file names at most kMaxChapters chapters; the table may have added more. A profile
        // that what was played took past its share keeps what fits (its line says so).
        if (!profile->leftOutOnRead() && before[i].size() <= Solitaire::Profil::kMaxChapters &&
            reached(*profile) != before[i])
            std::abort();
        for (int number = 0; number < chapters; ++number)
            if (!profile->findChapter(number)) std::abort();
    }
    profiles.clear();
    return 0;
}
