// The game application object: one instance, built by the entry point once the engine has
// started and destroyed when the main loop has ended. Its constructor is the game's start-up: it
// takes the managers, shows the splash, loads every data file in a fixed order behind the loading
// bar and connects its slots once, in a fixed order; afterwards the engine's update, render and
// tick signals drive it. A quit taken while loading ends the constructor at the next step: the
// object stays not fully constructed and the main loop returns -1 at once. The destructor hands
// the card-look choices to the settings node, which the entry point writes into config.cfg.
//
// The object keeps the flow (which screen, which game, which story scene). Each screen is a class
// of its own held by value (the members below), built with a struct of what it needs (its Links),
// connecting its own slots and finding its windows in wire() once the GUI is read. TableInput
// routes the mouse between the GUI and the table; RunningGame holds the running or last game.
//
// Files:
//   SolitaireGame2.cpp              construction with the loading order, destruction
//   SolitaireGame2_wiring.cpp       the connections of the constructor and the GUI wiring
//   SolitaireGame2_slots.cpp        small slots: window activation, object use, story music, mode
//                                   music, re-layout, unused events
//   SolitaireGame2_update.cpp       the per-frame update and its steps
//   SolitaireGame2_draw.cpp         the per-frame draw, pause overlay, input poll
//   SolitaireGame2_keys.cpp         the key handler
//   SolitaireGame2_menus.cpp        menu switching
//   SolitaireGame2_dispatch.cpp     the central button dispatcher and its rows
//   SolitaireGame2_profiles.cpp     a new active profile; the player told once that saves fail
//   SolitaireGame2_flow.cpp         game start, story scenes, game end, mini-game end
#pragma once

#include <span>
#include <string>

#include "engine/platform/InputState.h"
#include "game/app/AchievementScreen.h"
#include "game/app/CampaignScreens.h"
#include "game/app/CursorTable.h"
#include "game/app/FreePlaySelection.h"
#include "game/app/GameHud.h"
#include "game/app/HelpScreen.h"
#include "game/app/InGameStep.h"
#include "game/app/LoadingScreen.h"
#include "game/app/MinigameFrames.h"
#include "game/app/MinigameResultScreen.h"
#include "game/app/NewProfileDialog.h"
#include "game/app/OptionsScreen.h"
#include "game/app/PowersAndShop.h"
#include "game/app/ProfileList.h"
#include "game/app/ResultsDelay.h"
#include "game/app/ResultsScreen.h"
#include "game/app/RunningGame.h"
#include "game/app/Screenshots.h"
#include "game/app/TableInput.h"
#include "game/app/TutorialScreens.h"
#include "signals/sigslot.h"

namespace Orvex {
class D3DInterface;
class GUIMenuManagerN;
class GUIMenuN;
class GUISystem;
class GUIWindow;
class LookAtCamera;
class OrvexEngine;
class Sprite;
class TutorialManager;
}  // namespace Orvex

namespace Solitaire {

class AchivementManager;
class ExtendedTutorialManager;
class KartenObjekt;
class Kartenmanager;
struct GameEndParms;
class MinispielManager;
class MyGlobals;
class Profil;
class SolPartikelManager;
class SolTutorialManager;
class SolitaireCamera;
class SolitaireRenderer;
class StoryManager;
class StoryPart;

class SolitaireGame2 : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // Screen states: a menu, the level selection, in game (they pick the music).
    enum ScreenState : int { kScreenMenu = 0, kScreenLevels = 1, kScreenInGame = 2 };
    // The points the makers' F1 adds over "I_Points2".
    static constexpr float kMakerPoints = 100000.0f;

    // ---- construction and destruction (SolitaireGame2.cpp) ----
    SolitaireGame2();
    ~SolitaireGame2() override;
    SolitaireGame2(SolitaireGame2 const&) = delete;
    SolitaireGame2& operator=(SolitaireGame2 const&) = delete;

    // ---- wiring (SolitaireGame2_wiring.cpp) ----
    // The first window of that name at any level of the GUI (top-level windows in drawing
    // order, each searched depth first), or null.
    static Orvex::GUIWindow* findWindow(std::wstring const& name);

    // ---- small slots (SolitaireGame2_slots.cpp) ----
    // Window activation: the update stops and the pause overlay shows while inactive.
    void onWindowActive(bool const& active);
    void playModeMusic(bool const& restart);
    // The inner table rectangle of a table window rectangle.
    static Orvex::FRect innerTableRect(Orvex::FRect const& window);

    // ---- per-frame update (SolitaireGame2_update.cpp) ----
    virtual void update();

    // ---- per-frame draw and input poll (SolitaireGame2_draw.cpp) ----
    virtual void draw();
    virtual void pollInput();

    // ---- keys (SolitaireGame2_keys.cpp) ----
    void onKeyPressed(Orvex::KeyState& state, unsigned char const& code);

    // ---- menus (SolitaireGame2_menus.cpp) ----
    void onMenuChanged(Orvex::GUIMenuN& menu, Orvex::GUIMenuN* previous);

    // ---- game flow (SolitaireGame2_flow.cpp) ----
    void onGameEnd(bool const& won, GameEndParms const& parms);
    // The end of the running story scene (also without one): its unlocks, what its record asks
    // for. False only when a level it started gave a story scene instead.
    bool finishStoryPart();
    // "LEVELAUSWAHLMENU" built for the running level.
    void buildLevelScreen();
    // Starts level `level` of chapter `chapter`, or the story scene due before it.
    RunningGame::StartResult startCampaignLevel(int chapter, int level, bool withTutorial);
    // The current variant as a game, as the options say.
    RunningGame::StartResult startGame(RunningGame::StartOptions const& options);
    // True when a story scene is running or was started.
    bool checkStory();

    // ---- what only tests read ----
    bool isFullyConstructed() const { return constructed_; }
    OptionsScreen& getOptions() { return options_; }
    AchievementScreen& getAchievementScreen() { return achievementScreen_; }
    HelpScreen& getHelp() { return helpScreen_; }
    ProfileList& getProfileList() { return profileList_; }
    ResultsScreen& getResults() { return resultsScreen_; }
    CampaignScreens& getCampaignScreens() { return campaignScreens_; }
    FreePlaySelection& getFreePlay() { return freePlay_; }
    GameHud& getHud() { return hud_; }
    bool isActive() const { return active_; }
    ScreenState getScreenState() const { return screenState_; }
    ResultsDelay& getResultsDelay() { return results_; }
    InGameStep& getInGameStep() { return inGameStep_; }
    SolitaireCamera* getCamera() const { return camera_; }
    SolitaireRenderer* getRenderer() const { return renderer_; }
    LoadingScreen& getLoadingScreen() { return loading_; }
    CursorTable& getCursorTable() { return cursorTable_; }
    PowersAndShop& getPowersAndShop() { return powersAndShop_; }
    void setStoryPart(StoryPart* part) { storyPart_ = part; }
    RunningGame& getRunning() { return running_; }
    NewProfileDialog& getNewProfileDialog() { return newProfileDialog_; }
    TutorialScreens& getTutorialScreens() { return tutorialScreens_; }
    StoryPart* getStoryPart() const { return storyPart_; }
    TableInput& getTableInput() { return tableInput_; }

private:
    // The rows of the dispatcher and of the menu-entry table (in their files).
    struct ButtonRow;
    struct MenuEntry;

    // ---- construction and destruction (SolitaireGame2.cpp) ----
    // False when the program was told to quit meanwhile.
    bool loadData();

    // ---- wiring (SolitaireGame2_wiring.cpp) ----
    void wireGui();
    void connectCardManager();
    void connectEngine();
    void connectTutorials();
    void connectStory();

    // ---- small slots (SolitaireGame2_slots.cpp) ----
    void onObjectUsed(KartenObjekt& object, bool flag);
    void onStoryMusic(std::wstring const& name);
    void onStoryModeMusic();
    void onActiveWindowChanged(Orvex::GUIWindow* window);
    void onDisplaySizeChanged(unsigned long const& width, unsigned long const& height);
    // Slots without effect: events the game receives and does not use.
    void ignoreCount(unsigned long const& count);
    void ignoreKey(Orvex::KeyState& state, unsigned char const& code);
    void ignoreEvent();
    void ignoreBeforeDraw(Orvex::GUIWindow& window, bool& a, bool& b, bool& c);

    // ---- per-frame update (SolitaireGame2_update.cpp) ----
    void updateOutsideGame(double realStep);
    void updateInGame(double gameStep, double realStep);
    void updateResultsDelay(double realStep);
    // A level's opening stands: its banner or rules over the table, or no card moved yet (medals
    // wait, so as not to cover the top strip and the rules).
    bool tableOpening() const;

    // ---- per-frame draw and input poll (SolitaireGame2_draw.cpp) ----
    void drawPauseOverlay();

    // ---- menus (SolitaireGame2_menus.cpp) ----
    static std::span<MenuEntry const> menuEntries();
    // The tutorials a menu offers as it is entered.
    void offerMenuTutorials(std::wstring const& menu);
    void leaveStartMenu();
    void enterInGameMenu();
    // The active menu is a screen of the menus past the start screen (not the table, a dialog or
    // a page over a screen), where a warning may come.
    bool onMenuScreen() const;

    // ---- button dispatcher (SolitaireGame2_dispatch.cpp) ----
    void onButtonClicked(Orvex::GUIWindow& window);
    static std::span<ButtonRow const> buttonRows();
    // What the dispatcher's rows share.
    void leaveResults();
    void restartGame();
    // The running level ends now ("I_END_GAME", or "LB_OK" when it asked first).
    void endLevelNow();
    // "P_HILFE" and "I_Info": the running variant's rules over the table (its tutorial without them).
    void showVariantHelp();

    // ---- a new active profile (SolitaireGame2_profiles.cpp) ----
    // The profile screens' handling of a new active profile.
    void onActiveProfileChanged(Profil* old, Profil* active);
    // A profile save kept nothing: the new-profile dialog's warning tells the player, once a
    // game, on the next menu screen.
    void onProfilesNotSaved();

    // ---- game flow (SolitaireGame2_flow.cpp) ----
    // A running scene is in front: its strip is the tutorial shown (or none is). A tutorial the
    // menu asked for before the scene stays in front, taking the clicks, until it is closed.
    bool storyInFront() const;
    void finishMinispiel();
    // An open level chosen on the level screen starts.
    void onLevelChosen(int chapter, int level);
    // The game end of a campaign level: stars, the level's and chapter's results, unlocks and
    // achievements; the result kNoStar to kThreeStars.
    RunningGame::LevelResult recordCampaignResult(GameEndParms const& played, bool& pointsGoalMissed, bool& comboGoalMissed);
    // The results' "A_NEXT" says where it leads: to the story when a scene is due, which then
    // plays before the next level (and may lead elsewhere).
    void captionNextButton();

    // The text id "A_NEXT" has in the GUI file (its caption when no scene comes first).
    std::wstring nextLevelTextId_;
    // Held single instances.
    Orvex::OrvexEngine* engine_;
    Orvex::D3DInterface* d3d_;
    Orvex::GUISystem* gui_;
    Orvex::GUIMenuManagerN* menus_;
    SolTutorialManager* solTutorials_;
    Orvex::TutorialManager* tutorials_;
    ExtendedTutorialManager* extTutorials_;
    StoryManager* story_;
    Kartenmanager* cards_;
    SolPartikelManager* particles_;
    MinispielManager* minigames_;
    AchivementManager* achievements_;
    MyGlobals* globals_;
    Orvex::Sprite* sprite_ = nullptr;

    // Owned, made in this order.
    SolitaireCamera* camera_ = nullptr;
    Orvex::LookAtCamera* lookAtCamera_ = nullptr;
    SolitaireRenderer* renderer_ = nullptr;

    // The screens and the per-frame state, held by value.
    LoadingScreen loading_;
    CursorTable cursorTable_;
    Screenshots screenshots_;
    InGameStep inGameStep_;
    ResultsDelay results_;
    TableInput tableInput_;
    OptionsScreen options_;
    MinigameFrames minigameFrames_;
    ProfileList profileList_;
    CampaignScreens campaignScreens_;
    FreePlaySelection freePlay_;
    PowersAndShop powersAndShop_;
    GameHud hud_;
    AchievementScreen achievementScreen_;
    NewProfileDialog newProfileDialog_;
    HelpScreen helpScreen_;
    ResultsScreen resultsScreen_;
    TutorialScreens tutorialScreens_;
    MinigameResultScreen minigameResult_;
    RunningGame running_;
    bool active_ = true;
    ScreenState screenState_ = kScreenMenu;
    bool constructed_ = false;
    StoryPart* storyPart_ = nullptr;
    bool musicRestart_ = false;
    bool checkingStory_ = false;
    // Set while the end of a scene closes its strip and the menus go back behind it.
    bool closingStory_ = false;
};

}  // namespace Solitaire
