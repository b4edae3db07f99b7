// A player's profile: the name (the object's name), campaign progress, tutorials and story scenes
// seen, unlock names, owned wildcards and jokers, the charge given to each power-up, the points
// balance, and three stored sub-trees (per-variant data with the quick saves, the profile-wide
// statistics, the achievements) that become live in their managers while the profile is active.
//
// The profile file is untrusted. Reading keeps what reads and names the rest in one log line per
// profile, keeping defaults: campaign numbers are bounded (chapter and level numbers as the game
// writes them, up to kMaxCampaignNumber; a number seen twice keeps its first record, results clamped to their range,
// found counts 32-bit); wildcards and jokers whose suit or value word is unknown are dropped;
// "PERCENT_GODS" values go to entry min(i, count - 1) when there is one; numbers must be finite.
//
// A profile keeps no more than the game itself would have written, so every profile read can be
// saved again with room to grow: a name as long as the new-profile dialog lets a player type
// (kMaxNameLength; a longer one is cut), and of the rest of the element only what the game reads
// (kProfileShape in Profil_xml.cpp: the elements, attributes and values it knows, each text at most
// Orvex::XMLShape::kMaxText long, at most kMaxChapters chapters of kMaxLevels levels,
// kMaxOwnedCards wildcards and jokers, kMaxListEntries names in a list, and of the stored
// sub-trees what their readers take), within a budget: the profile's share of what a file keeps
// (kMaxKeptBytes, less its highscores; the profile manager shares half of that between the
// profiles of a file that would take more, so that what is saved and played afterwards has room
// before a read would cut again; ProfilManager.h). An element kept whole is read as it stands, one that holds
// more from a copy of what is kept: a part refused for what it is (unknown, too long, a record
// whose number does not read) costs only that part, and a profile is held to its share only when
// what it keeps asks for more. What is left out is counted in the line, and leftOutOnRead
// tells the profile manager to keep the file aside before a save replaces it. Writing names only
// the chapters played or opened: a locked chapter with no level open, passed or found is what the
// campaign table makes for a chapter the file leaves out, so a campaign of many chapters costs
// each profile only the ones it reached.
//
// A save collects, then writes: the profile manager has the live profile collect its trees from
// the managers (collectLiveData) before it writes, and writing reads the profile alone. The
// profile sees the catalogue and the managers below it, never the profile manager above it: one
// profile is live at a time, kept here rather than by the list.
//
// Its achievement entries that name no achievement of the game are counted in one line when it
// is made live, and dropped as the registry writes its entries at the next save.
//
// Profil.cpp: construction, tutorials, unlocks, goods, activating and collecting the live data.
// Profil_xml.cpp: reading and writing the "PROFIL" element.
// Profil_campaign.cpp: the campaign table, opening chapters and advancing after a passed level.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/XMLNode.h"
#include "game/app/CampaignRecords.h"
#include "game/story/StoryProfile.h"

namespace Orvex {
class ReadProblems;
}

namespace Solitaire {

class SolitaireManager;

class Profil : public StoryProfile {
public:
    static constexpr int kGodCount = 4;          // the game's power-ups
    static constexpr int kOpenLevelWindow = 5;   // levels of a chapter open at once
    static constexpr int kMaxCampaignNumber = 9999;
    static constexpr std::size_t kMaxChapters = 1024;
    static constexpr std::size_t kMaxLevels = 1024;  // per chapter
    static constexpr std::size_t kMaxOwnedCards = 256;
    static constexpr std::size_t kMaxListEntries = 4096;  // tutorials, story scenes, unlocks, god values
    // The new-profile dialog's "MAX_LENGTH" (data\GUI\menus.mnu, "NAME_TIPPEN").
    static constexpr std::size_t kMaxNameLength = 20;
    // What one file keeps, its profiles with the highscores and the file's own element beside
    // them, counted as a read of the saved file charges it: three quarters of what a read takes
    // (eight profiles with a quick save of a 104-card game in each of the 146 variants take
    // 64 MB), the rest room for what is played.
    static constexpr std::size_t kMaxKeptBytes = Orvex::XMLNode::kMaxTreeBytes / 4 * 3;
    static constexpr wchar_t const* kElementName = L"PROFIL";

    // (suit code, value code) pairs of the card rules.
    using CardList = std::vector<std::pair<int, int>>;

    // What a profile would keep of a "PROFIL" element with no limit on bytes, counted as a read
    // of the file the game saves after its start charges it, and how many of its parts it would
    // leave out (measure).
    struct Measure {
        std::size_t bytes = 0;
        std::size_t leftOut = 0;
    };

    explicit Profil(std::wstring const& name);
    // From a "PROFIL" element that measure gave `measured`, keeping at most `share` bytes of it;
    // sourceName names the file in its one log line, or its refusals join `problems` when given
    // (the profile manager logs a few profiles of a file and counts the rest).
    Profil(Orvex::XMLNode& node, std::wstring const& sourceName, Measure const& measured, std::size_t share,
           Orvex::ReadProblems* problems = nullptr);
    ~Profil() override;

    void readXML(Orvex::XMLNode& node) override;
    void readXML(Orvex::XMLNode& node, std::wstring const& sourceName, Measure const& measured, std::size_t share,
                 Orvex::ReadProblems* problems = nullptr);
    // The last read left something out: the element held more than the profile keeps.
    bool leftOutOnRead() const { return leftOutOnRead_; }
    // What is charged is what the game writes of what it keeps once it has started (Profil_xml.cpp):
    // the elements and numbers it always writes, the first chapter the campaign table opens when
    // the element has none, and its statistics and achievements as the managers write them once it
    // is live, whichever profile the file or the player makes active; so a file read whole is read
    // whole again after any save of what was read.
    static Measure measure(Orvex::XMLNode const& element);
    // A chapter's or level's number as the game writes it ("0", or digits without a leading 0, up
    // to kMaxCampaignNumber); anything else (blanks, a sign, "00") is none, so a record so
    // numbered is dropped rather than taken for another's.
    static std::optional<int> parseCampaignNumber(std::wstring_view text);
    // Writes what the profile holds; a live profile's trees are as last collected.
    void writeXML(Orvex::XMLNode& node) const override;

    // ---- Tutorials and story scenes (what the story and tutorials see, StoryProfile) ----
    // A list holds at most kMaxListEntries names, as its reader keeps: past them a tutorial or
    // scene is not recorded (it may show again), a permanent unlock is kept for the run.
    bool shouldShowTutorial(std::wstring const& name) const override;
    void markTutorialSeen(std::wstring const& name) override;
    bool isTutorialAllowed(std::wstring const& name) const override;
    bool isInTutorialList(std::wstring const& name) const;
    void setShowTutorials(bool show) { showTutorials_ = show; }
    bool getShowTutorials() const { return showTutorials_; }
    void clearStorySeen() { storySeen_.clear(); }
    void clearTutorialsSeen();

    // ---- Unlocks ----
    void addUnlock(std::wstring const& name, bool temporary) override;
    bool isUnlocked(std::wstring const& name) const override;
    std::vector<std::wstring> const& getUnlocks() const { return unlocks_; }

    // ---- Goods ----
    CardList getWildcards() const { return wildcards_; }
    void setWildcards(CardList const& cards) { wildcards_ = cards; }
    CardList getJokers() const { return jokers_; }
    void setJokers(CardList const& cards) { jokers_ = cards; }
    // The index is clamped into the list; nothing (0) when the list is empty.
    float getGodPercent(int index) const;
    void setGodPercent(int index, float value);
    int getGodCount() const { return static_cast<int>(godPercent_.size()); }
    float getPoints() const { return points_; }
    void setPoints(float points) { points_ = points; }

    // ---- Campaign (Profil_campaign.cpp) ----
    std::vector<ChapterRecord>& getCampaign() { return campaign_; }
    std::vector<ChapterRecord> const& getCampaign() const { return campaign_; }
    ChapterRecord* findChapter(int number);
    static LevelRecord* findLevel(ChapterRecord& chapter, int number);
    // Adds the chapters of catalogue's "KAMPAGNE" the profile lacks, then opens chapter 0.
    void buildCampaignTable(SolitaireManager const& catalogue);
    void buildCampaignTable();
    bool openChapter(int chapter);
    // After level of chapter was passed: opens levels up to the open-level window and finds the
    // next position; false when there is none to go to.
    bool advanceCampaign(int chapter, int level, int& nextChapter, int& nextLevel, bool chapterFinished);
    void unlockAll();
    void mergeFoundCounts();

    // ---- Live data ----
    // Hands the stored trees to the statistics, achievement and catalogue managers; the profile
    // live before is live no more.
    void activate();
    // Fills the stored trees again from the managers.
    void collectLiveData();
    bool isLive() const { return liveProfile_ == this; }
    // The profile whose trees the managers hold, or null.
    static Profil* liveProfile() { return liveProfile_; }
    Orvex::XMLNode& getProfileData() { return profileData_; }
    Orvex::XMLNode& getStatistikData() { return statistikData_; }
    Orvex::XMLNode& getAchivementData() { return achivementData_; }

private:
    int openLevelWindow_ = kOpenLevelWindow;
    std::vector<std::wstring> tutorialsSeen_;
    bool showTutorials_ = true;
    std::vector<std::wstring> storySeen_;
    std::vector<std::wstring> solitaireTutorialsSeen_;
    std::vector<std::wstring> unlocks_;
    std::vector<std::wstring> temporaryUnlocks_;
    Orvex::XMLNode profileData_;
    Orvex::XMLNode statistikData_;
    Orvex::XMLNode achivementData_;
    CardList wildcards_;
    CardList jokers_;
    std::vector<ChapterRecord> campaign_;
    std::vector<float> godPercent_;
    float points_ = 0.0f;
    bool leftOutOnRead_ = false;
    std::wstring source_;  // the file it was read from, for the lines of what it holds
    static inline Profil* liveProfile_ = nullptr;
};

}  // namespace Solitaire
