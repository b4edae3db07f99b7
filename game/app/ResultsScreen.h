// The results screen ("AUSWERTUNGMENU") filled when a game ends from the game's end record: the
// points as the table showed them (whole, in digit groups) from the screen's first frame, and a
// line saying how the game ended; the in-game statistics screen ("STATISTIKENGAMEMENU") with the current
// variant's highscore list and the entry "HIGHSCOREEDITMENU" acts on; and the overall statistics
// ("STATISTIKENMENU"). Labels are formatted from their own text ids; every window is looked up by
// name and a missing one skips only its own step.
//
// Values from the profile are untrusted: times are clamped before they become whole minutes and
// hours, scores before they become 64-bit counts. The end record is the card manager's, whose
// counts stand still from the game's end on: the end flight empties the piles before the screen
// is filled, so the table itself no longer tells what the game left.
//
// A highscore button carries its entry in user pointer slot 0 (a pointer does not fit the 32-bit
// user value); a click looks the entry up again in the current variant's list, so a button kept
// from before the list changed does nothing. Where the GUI files give a columns template, each
// entry's values stand in its columns under the list's heads instead of in one line, and the
// list names its variant ("STG_VARIANTE"). The pointer's travel is shown in metres; the profile
// keeps it in pixels.
//
// The game object holds it by value, built with its Links (the managers and its running game),
// and fills it at the game end.
//
// Files: ResultsScreen.cpp (all of it).
#pragma once

#include "engine/core/CountedRef.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUIAnimationsGoal;
class GUIMenuManagerN;
class GUISystem;
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class HighscoreEintrag;
class Kartenmanager;
class SolVariant;
class SolitaireManager;
class StatistikManager;
class StyleSettings;
struct RunningGame;

class ResultsScreen : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // The managers the screens read: the GUI's templates, the menus, the ended game, the
    // catalogue with the highscores, the statistics, the style settings' game style; and the
    // running game, whose end tells whether a next campaign level follows (then "A_NEXT" shows).
    struct Links {
        Orvex::GUISystem* gui = nullptr;
        Orvex::GUIMenuManagerN* menus = nullptr;
        Kartenmanager* cards = nullptr;
        SolitaireManager* catalogue = nullptr;
        StatistikManager* statistics = nullptr;
        StyleSettings* styles = nullptr;
        RunningGame const* running = nullptr;
    };

    explicit ResultsScreen(Links const& links);
    ~ResultsScreen() override;
    ResultsScreen(ResultsScreen const&) = delete;
    ResultsScreen& operator=(ResultsScreen const&) = delete;

    // Fills "AUSWERTUNGMENU" for the game just ended (before it opens): rating 0 to 4 (2, 3, 4 are
    // one to three stars), whether to keep the rating, a free game, and the two goal notes.
    void showResults(int const& rating, bool const& storeRating, bool const& freeGame, bool const& pointsGoalMissed,
                     bool const& comboGoalMissed);
    // "STATISTIKENGAMEMENU" opens: the list scrolls to its start when its frame arrives.
    void enterGameStatistics();
    // "STATISTIKENGAMEMENU": the current variant's highscores and statistics.
    void refreshHighscoreList();
    // "STATISTIKENMENU": the overall statistics "DEFAULT".
    void refreshStatistics();
    void scrollHighscoresToStart(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal& goal);
    void onHighscoreEntryClicked(Orvex::GUIWindow& window);
    // The entry "HIGHSCOREEDITMENU" acts on (null when none, or when it left its list).
    HighscoreEintrag* getSelectedHighscore() const;
    // "HSE_DELETE": the selected entry leaves the current variant's list; false without one.
    bool removeSelectedHighscore();
    // "HSE_COPYSEED": the selected entry's game name into the label of "FG_SEED"; false without
    // an entry or that window.
    bool copySelectedHighscoreSeed();
    // The entry "HIGHSCOREEDITMENU" will act on (held with a reference; null lets go).
    void selectHighscore(HighscoreEintrag* entry);
    // "STG_RESET" / "ST_RESET": the variant's statistics and highscores emptied, no entry selected.
    void resetVariantData(SolVariant& variant);

    int getStoredRating() const { return storedRating_; }

private:
    // Whether the current variant is a campaign level (its highscores are not replayed).
    bool isCampaignSelected() const;

    Links links_;
    int storedRating_ = 0;
    Orvex::CountedRef<HighscoreEintrag> selectedHighscore_;
};

}  // namespace Solitaire
