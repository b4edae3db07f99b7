// Fuzzes the profile reader: the input written as "profile.prf" (an input cut at a line "--8<--":
// the piece after it as the profiles saved beside it, "profile.prf.new"; pieces repeated as
// FuzzSupport.h's writeRepeated says, so a few lines stand for a file of the size a read takes) and
// loaded against the shipped catalogue. A file read whole reads as it did with pieces the game
// refuses for what they are added to one of its profiles (an unknown element, an unlock longer
// than a text may be, a chapter whose number does not read, a wildcard that names no card): every
// record of every profile alike, or the process ends. Then every campaign table is built and the
// active profile made live as the game's start does, and another profile chosen as the profile
// screen chooses it; a file read whole is read whole again after its save: nothing left out and
// no line, or the process ends. Then each profile is activated and its campaign
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
#include "engine/core/XMLNode.h"
#include "engine/core/XMLShape.h"
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

// Every record of every profile and the active one's name, as the game would write them.
std::vector<std::wstring> recordsRead(Solitaire::ProfilManager const& profiles) {
    std::vector<std::wstring> records;
    for (int i = 0; i < profiles.getProfileCount(); ++i) {
        Orvex::XMLNode written(Solitaire::Profil::kElementName);
        profiles.getProfile(i)->writeXML(written);
        records.push_back(written.toText());
    }
    records.push_back(profiles.getActiveProfile() ? profiles.getActiveProfile()->getName() : L"(none)");
    return records;
}

// The records read of the file with the pieces the game refuses added to its profile `which`
// (counted among the "PROFIL" elements); false when the file does not read or save as a tree.
bool readWithPieces(std::filesystem::path const& file, std::size_t which, std::vector<std::wstring>& records) {
    Orvex::XMLNode tree;
    if (tree.loadChecked(port::windowsPath(file.string()), 1, Solitaire::ProfilManager::kMaxFileBytes) !=
        Orvex::XMLNode::ReadResult::kComplete)
        return false;
    std::size_t const count = tree.getChildCount(Solitaire::Profil::kElementName);
    if (count == 0) return false;
    Orvex::XMLNode* profile = tree.getChild(Solitaire::Profil::kElementName, static_cast<int>(which % count));
    profile->addChild(L"FOO")->setAttribute(L"BAR", L"1");
    Orvex::XMLNode* unlocks = profile->getChild(L"UNLOCKS");
    (unlocks ? unlocks : profile->addChild(L"UNLOCKS"))->addValue(std::wstring(Orvex::XMLShape::kMaxText + 1, L'u'));
    Orvex::XMLNode* campaign = profile->getChild(L"KAMPAGNE");
    (campaign ? campaign : profile->addChild(L"KAMPAGNE"))->addChild(L"KAPITEL")->setAttribute(L"KAPITEL", L"x");
    profile->addChild(L"WILDCARD")->setAttribute(L"FARBE", L"KEINE");
    std::filesystem::path const folder = file.parent_path() / "pieces";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::wstring const pieced = port::windowsPath((folder / "profile.prf").string());
    if (!tree.save(pieced, true, Solitaire::ProfilManager::kMaxFileBytes)) return false;
    tree.clear();
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    profiles.setFilePath(pieced);
    profiles.loadProfiles();
    records = recordsRead(profiles);
    return true;
}

// Another profile than the active one chosen as the profile screen chooses it: the one leaving
// collects its live data, the one chosen is activated.
void chooseAnother(Solitaire::ProfilManager& profiles) {
    if (profiles.getProfileCount() < 2) return;
    Solitaire::Profil* const active = profiles.getActiveProfile();
    int next = 0;
    while (next < profiles.getProfileCount() && profiles.getProfile(next) != active) ++next;
    Solitaire::Profil* const chosen = profiles.getProfile((next + 1) % profiles.getProfileCount());
    if (active) active->collectLiveData();
    chosen->activate();
    profiles.setActiveProfile(chosen);
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
    bool const whole = profiles.readWhole();
    if (whole) {
        // The pieces cost nothing else: what is read of the file with them is what was read (and
        // goes on as what was read, from the file's place).
        std::vector<std::wstring> const read = recordsRead(profiles);
        std::vector<std::wstring> withPieces;
        if (readWithPieces(file, size, withPieces) && withPieces != read) std::abort();
        profiles.setFilePath(port::windowsPath(file.string()));
    }
    startGame(profiles);
    if (whole) {
        chooseAnother(profiles);
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
