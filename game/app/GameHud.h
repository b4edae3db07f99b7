// The in-game HUD behind "INGAMEMENU": the score, balance, multiplier and time labels, the
// variant label, the level-goals panel, the tip button with its timer, the undo and redo buttons
// with their price, the card tooltip, the news line, the end-game button, the information panels
// (statistics, help, game name) with their hover zones, frames and blends, the medal windows and
// stars, the story picture, the combo achievements and the first-time tutorials of the card
// manager's events. The game object holds it by value, built with its Links (the managers and
// what it reads of the running game), wires it with the GUI and tells it what runs; it connects
// the card manager's events to its own slots.
//
// Screens are data: every window here may be missing or of another kind, and then only the step
// that needs it is skipped.
//
// Files: GameHud.cpp (wiring, labels, tip and undo buttons, tooltip, found cards, end-game button),
// GameHud_panels.cpp (goals panel, information panels, medals, pictures).
#pragma once

#include <string>

#include "engine/gui/Interpolation.h"
#include "game/app/NewsLine.h"
#include "game/app/PanelBlend.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUIProgressBar;
class GUITooltipParam;
class GUIWindow;
class LanguageManager;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class AchivementManager;
class Karte;
class Kartenmanager;
class Kartenstapel;
class LevelGoal;
class MyGlobals;
class SolTutorialManager;
class SolitaireManager;
class StoryPart;
struct GameEndParms;
struct RunningGame;

class GameHud : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // What the HUD reads of the managers and of the game it shows.
    struct Links {
        Kartenmanager* cards = nullptr;
        SolitaireManager* catalogue = nullptr;
        SolTutorialManager* tutorials = nullptr;
        AchivementManager* achievements = nullptr;
        Orvex::LanguageManager* language = nullptr;
        MyGlobals* globals = nullptr;
        // The running story scene (null: none), drawn into the story picture.
        StoryPart* const* storyPart = nullptr;
        // The running or last game: whether it is a campaign level, its chapter and its record.
        RunningGame const* running = nullptr;
    };
    static constexpr int kGoalSlots = 3;
    static constexpr int kMedals = 5;
    // Undo steps of "I_Undo_Start": the whole history back.
    static constexpr int kUndoToStart = -536870912;

    // ---- wiring, labels, tip and undo buttons, tooltip, end-game button (GameHud.cpp) ----
    // The card manager's events (where there is one) connected to the HUD's slots.
    explicit GameHud(Links const& links);
    GameHud(GameHud const&) = delete;
    GameHud& operator=(GameHud const&) = delete;
    // The HUD's windows found and connected, the tip timer set going from empty.
    void wire();
    void refreshLabels();
    // A game step of the table: the tip timer runs, then the labels show the new numbers.
    void advance(float step);
    // Each frame by the real step: the news line, the card tooltip following the pointer, the
    // medal star's animation.
    void update(double realStep);
    // The ready tip button's reminder sparkle, while a hint can be paid.
    void remindTip(double realStep);
    // The tip button fills again from empty (a hint was shown, a game starts).
    void restartTipTimer();
    // Disabled until it is full again, and refilling.
    void resetTipButton();
    // The helps paid with points: a hint, an undo step, a shuffle ("TIPP", "UNDO", "MISCHEN").
    enum class PaidHelp { kHint, kUndo, kShuffle };
    // The news line's text for a help refused for its price: the price and the points missing
    // ("MELDUNG_TIPP_PREIS", "MELDUNG_UNDO_PREIS", "MELDUNG_MISCHEN_PREIS"); for the button's
    // tooltip the same of the next one ("TT_I_..._PREIS"), which reads as no refusal when it
    // shows right after a paid one.
    std::wstring priceText(PaidHelp help, float price, bool tooltip = false) const;
    // A help refused for its price while the game runs: the error sound, and the news line names
    // the price and the points missing. False when it can be paid.
    bool refuseForPrice(PaidHelp help, float price);
    // The undo and redo buttons: steps back (negative) or forward unless the game is over or the
    // price is refused; achievements: names counted after a step that changed the table,
    // null-terminated.
    void undo(int steps, wchar_t const* const* achievements);
    NewsLine& getNews() { return news_; }
    // The end-game button put away at once (a game starts), or glided away (the game ends). In a
    // campaign level it stands in the bottom panel from the level's first star on, or while the
    // level's watched pile is empty, and glides away otherwise.
    void resetEndGameButton();
    void hideEndGameButton();
    // The stars the running level would give if it ended now (0 to 3; 0 outside a campaign level).
    int starsIfEndedNow() const;
    // A starting game's look: a campaign level's card set on the item window and no medal yet;
    // the medals put away.
    void prepareGame(bool campaign);
    // The title in the top strip, in the first of its fonts (its own, then smaller ones) in
    // which it fits its room.
    void showLevelName(std::wstring const& text);
    // Where the score and multiplier labels stood at the last refresh (centres, screen pixels).
    D3DXVECTOR2 getPointsLabelCentre() const { return pointsCentre_; }
    D3DXVECTOR2 getMultiplierLabelCentre() const { return multiplierCentre_; }

    // The card manager's events.
    void onCardTooltipText(std::wstring const& text, bool const& show);
    void onLockedCardsFound(D3DXVECTOR4 const& counts);
    void onExtraCardFound(Karte& card, unsigned long a, unsigned long b);
    void onComboChanged(unsigned long const& combo);
    void onWildcardFound(Karte& card);
    void onJokerFound(Karte& card);
    // The table's line for the player (a dealt joker that waits) on the news line.
    void onPlayerNote(std::wstring const& text);
    void onCardsUnlocked(D3DXVECTOR4 const& counts);
    void onNoEndPile();
    void onEndPileEmptied(Kartenstapel& pile);
    void onEndPileRefilled(Kartenstapel& pile);

    // ---- goals panel, information panels, medals, pictures (GameHud_panels.cpp) ----
    void refreshGoalsPanel();
    // The results delay's medal: the one of the rating (2 to 4: bronze, silver, gold; gold on a
    // tableau the game left empty the perfect one, else none) comes in with its sound. The medals
    // leave.
    void revealMedal(int rating);
    void sendMedalsAway();
    Orvex::GUIWindow* getHelpPanel() const { return help_; }
    Orvex::GUIWindow* getGameNamePanel() const { return gameName_; }
    Orvex::GUIWindow* getStoryPicture() const { return storyPicture_; }
    // The blends of the game-name banner and of the help panel (whose hover zone leaves it alone
    // while it stands in the middle); one moves per update, the banner's first.
    PanelBlend& getGameNameBlend() { return gameNameBlend_; }
    PanelBlend& getHelpBlend() { return helpBlend_; }
    PanelBlend const& getGameNameBlend() const { return gameNameBlend_; }
    PanelBlend const& getHelpBlend() const { return helpBlend_; }
    void moveBlends(double realStep);
    // The banner glides in over the table (a campaign level starts).
    void showGameNamePanel();
    // The banner (or the help panel) standing over the table glides away; false when it did not
    // stand there.
    bool dismissGameNamePanel();
    bool dismissHelpPanel();

private:
    // The windows of the goals panel's slot: label, counter, star and tick.
    struct GoalSlot {
        Orvex::GUIWindow* label = nullptr;
        Orvex::GUIWindow* counter = nullptr;
        Orvex::GUIWindow* star = nullptr;
        Orvex::GUIWindow* tick = nullptr;
    };

    // ---- wiring, labels, tip and undo buttons, tooltip, end-game button (GameHud.cpp) ----
    // The card tooltip shows and the end-game button comes only in a campaign level; the
    // level's chapter names the variant label.
    bool inCampaign() const;
    void provideCardTooltip(Orvex::GUIWindow& window, Orvex::GUITooltipParam& param, std::wstring& text);
    void ignoreTooltipText(Orvex::GUIWindow& window, Orvex::GUITooltipParam& param, std::wstring& text);
    void updateTooltipFollower();
    void onTipTimerGoal(Orvex::Interpolation<float, float>& timer);
    void onTipTimerChanged(Orvex::Interpolation<float, float>& timer);
    void showTipReadiness();
    // The tooltip of the hint, undo and shuffle buttons names the price while it cannot be paid.
    void provideHelpPriceTooltip(Orvex::GUIWindow& window, Orvex::GUITooltipParam& param, std::wstring& text);
    // The button in (or away) as the level's stars and watched pile say.
    void placeEndGameButton(int stars);
    // Asks the tutorials for a first-time tutorial; at the card's place on the screen when given.
    bool showFirstTimeTutorial(std::wstring const& name, Karte* card);

    // ---- goals panel, information panels, medals, pictures (GameHud_panels.cpp) ----
    void wireGoals();
    void wirePanels();
    void wireMedals();
    void refreshGoalSlot(GoalSlot const& slot, LevelGoal const* goal, bool reached, GameEndParms const& record);
    // The goals the table as it stands now reaches (false without a variant or statistics).
    bool reachedGoals(GameEndParms& record, bool (&reached)[kGoalSlots]) const;
    void drawStatisticsPanel(Orvex::GUIWindow& window, bool& a, bool& b, bool& c);
    void onStatisticsZoneEntered(Orvex::GUIWindow& zone);
    void onStatisticsZoneLeft(Orvex::GUIWindow& zone);
    void drawHelpFrame(Orvex::GUIWindow& window, bool& a, bool& b, bool& c);
    // The help panel stands in the middle (the game start or "I_Info" put it there).
    bool helpCentred() const;
    void onHelpZoneEntered(Orvex::GUIWindow& zone);
    void onHelpZoneLeft(Orvex::GUIWindow& zone);
    void drawGameNameFrame(Orvex::GUIWindow& window, bool& a, bool& b, bool& c);
    void drawMedalStar(Orvex::GUIWindow& window, bool& a, bool& b, bool& c);
    void drawStoryPicture(Orvex::GUIWindow& window, bool const& drawn);

    Links links_;
    Orvex::Interpolation<float, float> tipTimer_;
    float tipReminder_ = 0.0f;
    NewsLine news_;
    D3DXVECTOR2 pointsCentre_{0.0f, 0.0f};
    D3DXVECTOR2 multiplierCentre_{0.0f, 0.0f};
    std::wstring cardTooltip_;
    bool tooltipShown_ = false;

    // Kept by the wiring (null when the GUI files lack them).
    Orvex::GUIWindow* tooltipWindow_ = nullptr;
    Orvex::GUIWindow* points_ = nullptr;
    Orvex::GUIWindow* points2_ = nullptr;
    Orvex::GUIWindow* time_ = nullptr;
    Orvex::GUIWindow* multiplier_ = nullptr;
    Orvex::GUIWindow* combo_ = nullptr;
    Orvex::GUIWindow* item_ = nullptr;
    Orvex::GUIWindow* gesMed_ = nullptr;
    Orvex::GUIWindow* pointsAni_ = nullptr;
    Orvex::GUIWindow* comboAni_ = nullptr;
    Orvex::GUIWindow* itemAni_ = nullptr;
    Orvex::GUIProgressBar* tipButton_ = nullptr;
    Orvex::GUIWindow* variantLabel_ = nullptr;
    Orvex::GUIWindow* levelName_ = nullptr;
    std::wstring levelNameFont_;
    Orvex::GUIWindow* goalsPanel_ = nullptr;
    GoalSlot goalSlots_[kGoalSlots];
    Orvex::GUIWindow* endGame_ = nullptr;
    // The level's watched pile is empty (its last report).
    bool endPileEmpty_ = false;
    // A star was reached in this level: the button stays although the draining points may lose
    // it again (a click then asks first), so it does not go from under the pointer.
    bool starReached_ = false;
    Orvex::GUIWindow* statistics_ = nullptr;
    Orvex::GUIWindow* statisticsZone_ = nullptr;
    Orvex::GUIWindow* help_ = nullptr;
    Orvex::GUIWindow* helpZone_ = nullptr;
    Orvex::GUIWindow* gameName_ = nullptr;
    PanelBlend gameNameBlend_;
    PanelBlend helpBlend_;
    Orvex::GUIWindow* medals_[kMedals] = {};
    Orvex::GUIWindow* medalStars_[4] = {};
    Orvex::Texture2DAnimation* medalStar_ = nullptr;
    Orvex::GUIWindow* storyPicture_ = nullptr;
};

}  // namespace Solitaire
