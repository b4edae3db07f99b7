// A variant of the catalogue ("VARIANTE" in "data\Level\Level.dat"): its rule file, tutorial
// and preview files, texts, overrides, unlock names and three star goals, and what the player's
// profile keeps of it: the highscore list, the quick save and the variant's statistics.
//
// "HELP_FILE" names the variant's rules: a text id of the language table, which the help's rules
// page and the table's rules panel show (empty: the variant has none).
//
// Goals: the first "GOAL" of each star counts; a star without a goal, or with an unknown "TYPE",
// gets a filler (LevelGoal_Nothing), the real goals moving up, so a variant always has three.
//
// SolVariant.cpp: reading, the preview, goals and stars.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/XMLNode.h"
#include "game/app/CatalogueOptions.h"
#include "game/app/LevelGoal.h"

namespace Orvex {
class Texture2D;
}

namespace Solitaire {

class HighscoreEintrag;
class ReadProblems;
class Statistik;
struct GameEndParms;

class SolVariant : public Orvex::NamedObject {
public:
    static constexpr int kGoalCount = 3;

    explicit SolVariant(Orvex::XMLNode& node, ReadProblems& problems);
    ~SolVariant() override;

    std::wstring const& getFile() const { return file_; }
    std::wstring const& getTutorialFile() const { return tutorialFile_; }
    std::wstring const& getRulesTextId() const { return rulesTextId_; }
    std::wstring const& getPreviewPath() const { return previewPath_; }
    Orvex::Texture2D* getPreview() const { return preview_; }
    std::wstring const& getTextId() const { return options_.textId; }
    std::wstring const& getGameName() const { return gameName_; }
    std::wstring const& getStartTutorial() const { return startTutorial_; }
    std::wstring const& getExtendedTutorial() const { return extendedTutorial_; }
    std::wstring const& getShowTutorial() const { return showTutorial_; }
    std::wstring const& getUnlocksBefore() const { return unlocksBefore_; }
    std::wstring const& getUnlocks() const { return unlocks_; }
    CatalogueOptions const& getOptions() const { return options_; }

    // Releases the preview and, with a path, makes it anew (loaded when drawn).
    void reloadPreview();

    std::vector<std::unique_ptr<LevelGoal>> const& getGoals() const { return goals_; }
    // Each real goal's test; a filler is reached when every real goal is.
    void getReachedGoals(GameEndParms const& parms, bool& star1, bool& star2, bool& star3) const;
    // 1 plus the stars reached (1 .. 4).
    int getStarRating(GameEndParms const& parms) const;

    // The profile's data of this variant (SolitaireManager reads and writes them).
    Orvex::XMLNode& getQuickSave() { return quickSave_; }
    std::vector<HighscoreEintrag*>& getHighscores() { return highscores_; }
    std::vector<HighscoreEintrag*> const& getHighscores() const { return highscores_; }
    Statistik* getStatistik() const { return statistik_; }
    // Takes a reference of statistik (null allowed) and releases the one held.
    void setStatistik(Statistik* statistik);
    void clearHighscores();

private:
    void readGoals(Orvex::XMLNode& node);

    std::wstring file_;
    std::wstring tutorialFile_;
    std::wstring rulesTextId_;
    Orvex::Texture2D* preview_ = nullptr;
    std::wstring previewPath_;
    std::wstring gameName_;
    std::wstring startTutorial_;
    std::wstring extendedTutorial_;
    std::wstring showTutorial_;
    Orvex::XMLNode quickSave_;
    std::vector<HighscoreEintrag*> highscores_;
    Statistik* statistik_ = nullptr;
    CatalogueOptions options_;
    std::vector<std::unique_ptr<LevelGoal>> goals_;
    std::wstring unlocksBefore_;
    std::wstring unlocks_;
};

}  // namespace Solitaire
