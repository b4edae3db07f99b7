// The catalogue of variants read from "data\Level\Level.dat" (categories of games of variants,
// the campaign being the category "KAMPAGNE"), the current choice, the start of the current variant
// with its look and input overrides and statistics sets, and the per-variant data the profile file
// keeps: highscore lists (shared by all profiles), quick saves and variant statistics (those of
// the active profile).
//
// The player's own look (card set, game style, background, style parameter) is saved once when a
// variant overrides it and put back by the first start without that override; a choice the player
// makes in the options meanwhile replaces the saved one. The saved names travel in the profile
// file's "HIGHSCORES" attributes.
//
// Limits: kMaxCategories categories, and the games and variants of SolCategorie and SolSolitaire;
// at most kMaxReadHighscores entries per variant are taken from a file (the best ones), and
// kHighscoresKept after a new result.
//
// SolitaireManager.cpp: the instance, reading the catalogue, look-ups and previews.
// SolitaireManager_start.cpp: starting a variant (overrides, statistics) and closing its statistics.
// SolitaireManager_data.cpp: highscores, per-variant data and the quick save.
// The free-play screen's columns that choose in it are the game object's FreePlaySelection.
#pragma once

#include <string>
#include <vector>

#include "engine/core/XMLShape.h"
#include "signals/sigslot.h"

namespace Orvex {
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Background;
class SolCategorie;
class SolSolitaire;
class SolVariant;
class Statistik;
struct ChapterRecord;

class SolitaireManager : public sigslot::has_slots<sigslot::single_threaded> {
public:
    static constexpr std::size_t kMaxCategories = 1024;
    static constexpr std::size_t kHighscoresKept = 5;
    static constexpr std::size_t kMaxReadHighscores = 100;
    static constexpr wchar_t const* kCatalogueFile = L"data\\Level\\Level.dat";
    static constexpr wchar_t const* kCampaignName = L"KAMPAGNE";
    static constexpr wchar_t const* kGameStatistikName = L"STATS";
    static constexpr wchar_t const* kVariantStatistikName = L"VAR_STATS";

    // ---- The one instance (SolitaireManager.cpp) ----
    // Made on first use, destroyed at exit.
    static SolitaireManager& instance();
    SolitaireManager() = default;
    ~SolitaireManager() override;
    SolitaireManager(SolitaireManager const&) = delete;
    SolitaireManager& operator=(SolitaireManager const&) = delete;

    // ---- The catalogue (SolitaireManager.cpp) ----
    // Every "TEXT_FILE" into the language texts, then one category per "KATEGORIE", appended;
    // then `loaded`. sourceName names the file in log lines.
    void loadCatalogue(Orvex::XMLNode& tree, std::wstring const& sourceName = kCatalogueFile);
    // Reads kCatalogueFile (archives, then disk) and loads it; false when it holds nothing.
    bool loadCatalogueFile(std::wstring const& fileName = kCatalogueFile);
    // Releases the whole catalogue and the current choice (tests and tools), after `cleared`.
    void clear();
    // The catalogue read (its categories appended) and about to be emptied.
    sigslot::signal0<> loaded;
    sigslot::signal0<> cleared;

    std::vector<SolCategorie*> const& getCategories() const { return categories_; }
    SolCategorie* findCategory(std::wstring const& name) const;
    // Every variant in catalogue order.
    std::vector<SolVariant*> collectVariants() const;
    // The first category, game and variant of those names; false (and nothing changed) unless all
    // three exist. Sets only the current choice.
    bool setCurrentByNames(std::wstring const& category, std::wstring const& game, std::wstring const& variant);
    SolCategorie* getCurrentCategory() const { return currentCategory_; }
    SolSolitaire* getCurrentGame() const { return currentGame_; }
    SolVariant* getCurrentVariant() const { return currentVariant_; }
    // The current choice set one part at a time (the free-play selection's).
    void setCurrentCategory(SolCategorie* category) { currentCategory_ = category; }
    void setCurrentGame(SolSolitaire* game) { currentGame_ = game; }
    void setCurrentVariant(SolVariant* variant) { currentVariant_ = variant; }
    bool isStoryCategory() const;
    bool useAlternativeBackground() const { return alternativeBackground_; }
    // The variant's background override, else its game's, else its category's, else the default.
    Background* getBackgroundForVariant(SolVariant const* variant) const;
    // The current variant's preview path, else the current game's, else "Preview.png".
    std::wstring getPreviewPath() const;
    // Every preview texture made anew from its file (a screenshot wrote it).
    void reloadPreviews();
    // 0 for a locked record; 2 when more than half of its levels are passed, else 1.
    static int getRecordCompletion(ChapterRecord const& record);

    // ---- Starting and ending a game (SolitaireManager_start.cpp) ----
    // Starts the current variant: overrides, statistics sets, the card manager reset and the rule
    // file read. False without a current variant or when its rule file does not read.
    bool startVariant();
    // The player chose on the options screen: where an override keeps the player's own look
    // saved, the choice replaces it, so the next start without that override gives the choice
    // back. The style parameter in force; for a card-set set chosen, its card set of the saved
    // one's entry (the saved one stays where the set has no such entry).
    void keepChosenStyleParam();
    void keepChosenCardSetSet();
    // Shows the current variant's "START_TUTORIAL" through the tutorial manager (force: whatever
    // the profile has seen); false without a current variant or when it was not shown or queued.
    bool showStartTutorial(bool const& force);
    // Counts "WON" or "END" into the active sets and lets go of the game's sets.
    bool finishStatistics(bool const& won);
    Statistik* getGameStatistik() const { return gameStatistik_; }
    Statistik* getVariantStatistik() const { return variantStatistik_; }

    // ---- Profile data (SolitaireManager_data.cpp) ----
    // The result of the game just ended into the current variant's list, under the player's name
    // (the active profile's; empty without one).
    void addHighscore(std::wstring const& player);
    // With perVariant, only each variant's best perVariant entries.
    void writeHighscores(Orvex::XMLNode& node, std::size_t perVariant = static_cast<std::size_t>(-1)) const;
    // sourceName names the file in log lines. True when the element held more than the game keeps
    // of it (more entries, longer texts), which is left out.
    bool readHighscores(Orvex::XMLNode const& node, std::wstring const& sourceName = L"");
    // The entries past each variant's best `from`, rank by rank (every variant's entry at `from`,
    // then at from + 1 ..., variants in catalogue order): what each costs as written
    // (Orvex::XMLNode::savedCost), and keeping the first `count` of them, the others released.
    std::vector<std::size_t> highscoreCostsPast(std::size_t from) const;
    void keepHighscoresPast(std::size_t from, std::size_t count);
    void writeVariantData(Orvex::XMLNode& node) const;
    void readVariantData(Orvex::XMLNode const& node);
    // What writeVariantData writes of what readVariantData read (at most kMaxVariantData
    // "VARIANT_DATA", each with a quick save and the variant's statistics), each variant's
    // statistics written anew.
    static constexpr std::size_t kMaxVariantData = 4096;
    static Orvex::XMLShape const kWrittenVariantDataShape;
    bool writeQuickSave();
    // Restores the current variant's quick save into the running game of that variant; false
    // without a save, or when the card manager refuses a save that is not whole (the game stays).
    bool resumeQuickSave();

private:
    // A look item the player chose, kept while variants override it.
    struct SavedName {
        bool saved = false;
        std::wstring name;
    };

    // ---- Lookup (SolitaireManager.cpp) ----
    SolVariant* findVariant(std::wstring const& category, std::wstring const& game, std::wstring const& variant) const;

    // ---- Starting steps (SolitaireManager_start.cpp) ----
    // A card set by its own name: as an entry of the current set, else wherever it is filed.
    static void selectKartenset(std::wstring const& name);
    void releaseGameStatistik();

    // ---- State ----

    std::vector<SolCategorie*> categories_;
    SolCategorie* currentCategory_ = nullptr;
    SolSolitaire* currentGame_ = nullptr;
    SolVariant* currentVariant_ = nullptr;
    Statistik* variantStatistik_ = nullptr;
    Statistik* gameStatistik_ = nullptr;
    SavedName savedKartenset_;
    SavedName savedGameStyle_;
    SavedName savedBackground_;
    bool styleParamSaved_ = false;
    float savedStyleParam_ = 0.0f;
    bool alternativeBackground_ = false;
};

}  // namespace Solitaire
