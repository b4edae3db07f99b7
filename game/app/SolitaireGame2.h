// The game application object: one instance, built by the entry point once the engine has
// started and destroyed when the main loop has ended. Its constructor is the game's whole
// start-up: it takes the engine's and the game's managers, shows the branding pictures and the
// publisher splash, loads every data file in a fixed order behind the loading bar, and connects
// its slots, each once and in a fixed order. Afterwards the engine's signals drive it: the
// update signal its update, the render signal its draw, the tick signal its input poll; the GUI,
// the card manager, the tutorials, the story and the mini-games reach it through its slots. Its
// destructor hands the card-look choices to the settings node, which the entry point then writes
// into config.cfg.
//
// A quit message taken while loading ends the constructor at the next loading step: the rest is
// not loaded, the object stays not fully constructed, and the main loop, told to stop before it
// started, returns -1 at once.
//
// The menu switching, the mouse routing, the button dispatcher, the new-profile dialog, the game
// flow, the screens (achievements, options, profiles, help, results, campaign) and the in-game
// HUD, powers and shop work behind their slots.
//
// Files:
//   SolitaireGame2.cpp              construction with the loading order, destruction
//   SolitaireGame2_loading.cpp      splash, loading bar, loading screen, screen frame bands
//   SolitaireGame2_wiring.cpp       the connections of the constructor and the GUI wiring
//   SolitaireGame2_slots.cpp        the small slots: tutorials, story music, hover sound, mode
//                                   music, table re-layout, mini-game frames, unused events
//   SolitaireGame2_update.cpp       the per-frame update and its steps
//   SolitaireGame2_draw.cpp         the per-frame draw, pause overlay, cursors, input poll
//   SolitaireGame2_keys.cpp         the key handler and screenshots
//   GameHud.h                       the in-game HUD: labels, goals panel, tip button, tooltip,
//                                   end-game button, panels, medal stars, first-time tutorials (a
//                                   class held by value)
//   PowersAndShop.h                 the powers (god bars) and the shop (a class held by value)
//   SolitaireGame2_menus.cpp        menu switching, mouse routing, fitting the help labels
//   SolitaireGame2_dispatch.cpp     the central button dispatcher and its rows
//   NewProfileDialog.h              the new-profile and warning dialogs (a class held by value)
//   SolitaireGame2_profiles.cpp     a new active profile
//   AchievementScreen.h             the achievement list, its hover particles, the medal popup
//                                   (a class held by value)
//   OptionsScreen.h                 the options' display modes and sliders (a class held by
//                                   value)
//   SolitaireGame2_options.cpp      the display mode's confirmation, cursor, tutorial switches,
//                                   window activation
//   ProfileList.h                   the profile screen's list (a class held by value)
//   HelpScreen.h                    help pages and credits, the games' rules in the help and
//                                   the in-game help panel (a class held by value)
//   ResultsScreen.h                 the results screen, the highscore list and the statistics
//                                   (a class held by value)
//   CampaignScreens.h               the campaign's chapter and level screens (a class held by
//                                   value)
//   SolitaireGame2_flow.cpp         game start, story scenes, game end, mini-game end and the
//                                   words on how it ended
//   MinigameResultScreen.h          the words on how a mini-game ended (a class held by value)
//   RunningGame.h                   the running or last game's state (a struct held by value)
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "engine/gui/Interpolation.h"
#include "engine/platform/InputState.h"
#include "game/app/AchievementScreen.h"
#include "game/app/CampaignScreens.h"
#include "game/app/GameHud.h"
#include "game/app/HelpScreen.h"
#include "game/app/InGameStep.h"
#include "game/app/MinigameResultScreen.h"
#include "game/app/NewProfileDialog.h"
#include "game/app/OptionsScreen.h"
#include "game/app/PanelBlend.h"
#include "game/app/PowersAndShop.h"
#include "game/app/ProfileList.h"
#include "game/app/ResultsDelay.h"
#include "game/app/ResultsScreen.h"
#include "game/app/RunningGame.h"
#include "port/d3d9/d3d9types.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {
class D3DInterface;
class GUIAnimationsGoal;
class GUICheckbox;
class GUICheckboxButton;
class GUILabel;
class GUIMenuManagerN;
class GUIMenuN;
class GUIAnimationsGoal;
class GUIProgressBar;
class GUISlider;
class GUISystem;
class GUITooltipParam;
class GUIWindow;
class LookAtCamera;
class OrvexEngine;
class Sprite;
class Texture2D;
class Texture2DAnimation;
class TutorialManager;
}  // namespace Orvex

namespace Solitaire {

class AchivementManager;
class ExtendedTutorialManager;
class Karte;
class KartenObjekt;
class Kartenmanager;
class Kartenstapel;
struct GameEndParms;
class Minispiel;
class MinispielManager;
struct MinispielFrame;
class MyGlobals;
class Profil;
struct LevelRecord;
class SolPartikelManager;
class SolTutorialManager;
class SolVariant;
class SolitaireCamera;
class SolitaireRenderer;
class StoryManager;
class StoryPart;
struct LevelRecord;

class SolitaireGame2 : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // The cursor table: the nine tutorial arrows, the four cursor pictures, the four power
    // cursors of "data\menu\mouse.ani".
    static constexpr int kCursorCount = 17;
    static constexpr int kFirstArrow = 0;
    static constexpr int kArrowCount = 9;
    static constexpr int kFirstMouseCursor = 9;
    static constexpr int kMouseCursorCount = 4;
    static constexpr int kFirstGodCursor = 13;
    // Screen states: a menu, the level selection, in game (they pick the music).
    enum ScreenState : int { kScreenMenu = 0, kScreenLevels = 1, kScreenInGame = 2 };
    // What startGame did.
    enum StartResult : int { kNothingStarted = 0, kGameStarted = 1, kStoryStarted = 2 };
    // A level's result as its record keeps it: not played, played without a star, one to three
    // stars (the third is LevelRecord::kMaxResult).
    enum LevelResult : int { kNotPlayed = 0, kNoStar = 1, kOneStar = 2, kTwoStars = 3, kThreeStars = 4 };
    // The publisher splash's display time (ms by the tick count), the branding pictures' (ms).
    static constexpr unsigned kSplashMs = 3000;
    static constexpr unsigned kBrandingMs = 2000;
    // Frame rate of the engine's update and render steps.
    static constexpr double kFrameRate = 60.0;
    // The cursor's side as a share of the screen width; the power cursor's side and the
    // mini-game's second cursor as a share of the screen (50 pixels at 1024 x 768).
    static constexpr float kCursorShare = 0.03125f;
    static constexpr float kPowerCursorShareX = 0.048828125f;
    static constexpr float kPowerCursorShareY = 0.065104164f;
    // Offset of the power cursor from the pointer with the system arrow.
    static constexpr float kPowerCursorOffsetX = 15.0f;
    static constexpr float kPowerCursorOffsetY = 20.0f;
    // The frame bands reach this far beyond the outer window.
    static constexpr int kBandReach = 5000;
    // Clear colour of the loading screen and the game's frames (opaque mid grey).
    static constexpr D3DCOLOR kClearColour = 0xFF808080;
    // Sprite batch flag: alpha blending.
    static constexpr unsigned kSpriteFlags = 16;
    // The pause overlay's colour (black at alpha 160).
    static constexpr D3DCOLOR kPauseColour = 0xA0000000;
    // Inner table rectangle as shares of the table window (15, 15, 60 and 170 pixels at
    // 1024 x 768).
    static constexpr float kTableSideShare = 0.0146484375f;
    static constexpr float kTableTopShare = 0.078125f;
    static constexpr float kTableBottomShare = 0.2213541716337204f;
    // DirectInput codes of the keys the handler knows.
    static constexpr unsigned char kKeyF1 = 0x3B;
    static constexpr unsigned char kKeyF7 = 0x41;
    static constexpr unsigned char kKeyF8 = 0x42;
    // The preview picture of a variant (F8), the points F1 adds over "I_Points2", and the hit-test
    // mask that finds the window under the pointer.
    static constexpr LONG kPreviewWidth = 370;
    static constexpr LONG kPreviewHeight = 278;
    static constexpr float kMakerPoints = 100000.0f;
    static constexpr int kHitTestMask = 6;
    // Screenshot names one F7 press tries when a name cannot be written.
    static constexpr int kScreenshotNameTries = 8;
    static constexpr double kLoadingFrameSeconds = 0.1;
    // Undo steps of "I_Undo_Start" and "I_Redo_End": the whole history either way.
    static constexpr int kUndoToStart = -536870912;
    static constexpr int kRedoToEnd = 536870911;
    // The card backs the options offer.
    static constexpr int kCardBackCount = 6;

    // ---- construction and destruction (SolitaireGame2.cpp) ----
    SolitaireGame2();
    ~SolitaireGame2() override;
    SolitaireGame2(SolitaireGame2 const&) = delete;
    SolitaireGame2& operator=(SolitaireGame2 const&) = delete;
    Orvex::Texture2DAnimation* getCursor(int index) const;

    // ---- loading (SolitaireGame2_loading.cpp) ----
    // Sets the loading bar and pumps window messages; false when the program was told to quit.
    // While the game is being built, a frame is drawn only when the bar's fill has grown by a
    // pixel since the last frame and kLoadingFrameSeconds (at least a refresh period of the
    // display) of loading have passed since it: loading steps are quicker than the frames
    // showing them, and a bar moving ten times a second looks smooth.
    bool showLoadingProgress(float const& fraction, bool draw);

    // ---- wiring (SolitaireGame2_wiring.cpp) ----
    // The first window of that name at any level of the GUI (top-level windows in drawing
    // order, each searched depth first), or null.
    static Orvex::GUIWindow* findWindow(std::wstring const& name);

    // ---- small slots (SolitaireGame2_slots.cpp) ----
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
    static int getScreenshotCounter();


    // ---- menus and mouse (SolitaireGame2_menus.cpp) ----
    void onMenuChanged(Orvex::GUIMenuN& menu, Orvex::GUIMenuN* previous);
    void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);
    void onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);
    void onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis);
    void onMouseDoubleClick(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);

    // ---- button dispatcher (SolitaireGame2_dispatch.cpp) ----
    void onButtonClicked(Orvex::GUIWindow& window);

    // ---- options left to the game object (SolitaireGame2_options.cpp) ----
    void onWindowActive(bool const& active);
    void onModeNeedsConfirmation();
    void onModeCountdown(float const& secondsLeft);
    void onCursor0(Orvex::GUIWindow& window);
    void onCursor1(Orvex::GUIWindow& window);
    void onCursor2(Orvex::GUIWindow& window);
    void onCursor3(Orvex::GUIWindow& window);
    // Shows the chosen cursor: the system arrow for the shown cursor 3 (MyGlobals::getShownCursor,
    // which a setting outside 0 to 3 also gives), else the game's picture.
    void applyCursor();
    // All four tutorial checkboxes set without their slot reacting.
    void setTutorialCheckboxes(bool checked);
    // Steps back through the menu history past the confirmation dialog, a warning and the
    // options ("O_Back" and an accepted mode), bounded.
    void stepBackPastOptions();

    // ---- game flow (SolitaireGame2_flow.cpp) ----
    void onGameEnd(bool const& won, GameEndParms const& parms);
    // Powers charge, the card tooltip shows and the end-game button comes only in a campaign
    // level; the level's chapter names the variant label, and its record in the active profile
    // counts the extra cards found. The game start sets this.
    void setRunningGame(bool campaign, int chapter, int level);
    // The end of the running story scene (also without one): its unlocks, what its record asks
    // for. False only when a level it started gave a story scene instead.
    bool finishStoryPart();
    // "LEVELAUSWAHLMENU" built for the running level (SolitaireGame2_flow.cpp).
    void buildLevelScreen();
    // Starts level `level` of chapter `chapter`: 0 nothing started, 1 started, 2 a story scene
    // instead (the game flow, SolitaireGame2_flow.cpp).
    StartResult startCampaignLevel(int chapter, int level, bool withTutorial);
    // The current variant as a game (withStory: the story scene that is due plays first in a
    // campaign level).
    StartResult startGame(bool freeSeed, bool campaign, std::wstring const& seedText, bool withTutorial, bool withStory);
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
    GameHud& getHud() { return hud_; }
    bool isActive() const { return active_; }
    ScreenState getScreenState() const { return screenState_; }
    ResultsDelay& getResultsDelay() { return results_; }
    PanelBlend& getGameNameBlend() { return gameNameBlend_; }
    PanelBlend& getHelpBlend() { return helpBlend_; }
    InGameStep& getInGameStep() { return inGameStep_; }
    SolitaireCamera* getCamera() const { return camera_; }
    SolitaireRenderer* getRenderer() const { return renderer_; }
    Orvex::GUIWindow* getLoadingWindow() const { return loadingWindow_; }
    PowersAndShop& getPowersAndShop() { return powersAndShop_; }
    void setStoryPart(StoryPart* part) { storyPart_ = part; }
    RunningGame& getRunning() { return running_; }
    NewProfileDialog& getNewProfileDialog() { return newProfileDialog_; }
    bool areTutorialBoxesSilenced() const { return tutorialCheckboxesSilent_; }
    StoryPart* getStoryPart() const { return storyPart_; }

private:
    // A row of the dispatcher: the window name and what its click does.
    struct ButtonRow {
        wchar_t const* name;
        void (*act)(SolitaireGame2& game, Orvex::GUIWindow& window);
    };
    // A row of the menu-entry table: the menu's name (anywhere in the name when partial), the
    // screen state entering it sets (kStateKept: unchanged) and what entering it does besides.
    static constexpr int kStateKept = -1;
    struct MenuEntry {
        wchar_t const* name;
        bool partial;
        int state;
        void (*enter)(SolitaireGame2& game);
    };

    // ---- construction and destruction (SolitaireGame2.cpp) ----
    // False when the program was told to quit meanwhile.
    bool loadData();
    void fillCursorTable();

    // ---- loading (SolitaireGame2_loading.cpp) ----
    void drawLoadingScreen();
    // Draws the four frame bands around "R_RANDCENTER" within the given window's rectangle.
    void drawScreenFrame(Orvex::GUIWindow& window, bool const& drawn);
    void showPublisherSplash();
    void loadScreenFrame();

    // ---- wiring (SolitaireGame2_wiring.cpp) ----
    void wireGui();
    void connectCardManager();
    void connectEngine();
    void connectTutorials();
    void connectStory();
    void connectMinigames();
    void wireCursorChoice();
    void wireTutorialCheckboxes();
    void wireHud();

    // ---- small slots (SolitaireGame2_slots.cpp) ----
    void onObjectUsed(KartenObjekt& object, bool flag);
    void onTutorialShown();
    void onTutorialHidden();
    void onTutorialMapPoint(D3DXVECTOR2& point);
    void onStoryMusic(std::wstring const& name);
    void onStoryModeMusic();
    // A mini-game's frame around a screen rectangle: the frame set's (row 0) in one colour.
    void drawMinispielFrame(RECT const& rect, int const& border, D3DCOLOR const& colour);
    // A mini-game's frame with every value of the frame drawing given.
    void drawMinispielStyledFrame(MinispielFrame const& frame);
    void onActiveWindowChanged(Orvex::GUIWindow* window);
    void onDisplaySizeChanged(unsigned long const& width, unsigned long const& height);
    // Slots without effect: events the game receives and does not use.
    void ignoreCount(unsigned long const& count);
    void ignoreKey(Orvex::KeyState& state, unsigned char const& code);
    void ignoreEvent();
    void ignoreBeforeDraw(Orvex::GUIWindow& window, bool& a, bool& b, bool& c);

    // ---- per-frame update (SolitaireGame2_update.cpp) ----
    // The pointer in game coordinates, as a mouse state for the card manager.
    Orvex::MouseState pointerInGame() const;
    void updateOutsideGame(double realStep);
    void updateInGame(double gameStep, double realStep);
    void updateReminders(double step, double realStep);
    void updateResultsDelay(double realStep);
    void revealMedal();
    void updateStory(double realStep);
    void updatePanelBlends(double realStep);
    void updateCursorAnimations(double realStep);
    bool isMenuActive(wchar_t const* name) const;

    // ---- per-frame draw and input poll (SolitaireGame2_draw.cpp) ----
    void drawPauseOverlay();
    void drawPointer();
    void drawCursorPicture(Orvex::Texture2DAnimation* animation, float x, float y, float width, float height);

    // ---- keys (SolitaireGame2_keys.cpp) ----
    // The back buffer saved as "Screenshot_<n>.png" in the working folder; false (nothing
    // written, the number kept) when the capture fails.
    bool takeScreenshot();
    // Cards and piles drawn at the preview size and saved under the current variant's preview
    // path (below the working folder, folders made as needed); the previews then load again.
    bool writePreviewPicture();


    // ---- menus and mouse (SolitaireGame2_menus.cpp) ----
    void scrollTutorialHelpToStart();
    void onTutorialFrameGoal(Orvex::GUIWindow& window, Orvex::GUIAnimationsGoal& goal);
    void fitTutorialLabel(Orvex::GUIWindow& label);
    void fitTutorialLabelAndScroll(Orvex::GUILabel& label);
    static std::span<MenuEntry const> menuEntries();
    std::wstring tutorialNameOf(std::wstring const& menu) const;
    bool showTutorial(std::wstring const& name, bool force);
    void leaveStartMenu();
    void enterInGameMenu();
    void enterTutorialMenu();
    // The mouse: the press that dismisses the banner or the help panel, whether the GUI or the
    // table takes the pointer, whether a press lands on a card or pile of the table.
    bool dismissPanels();
    bool guiTakesInput() const;
    bool tableTakesInput() const;
    bool pressHitsTable(Orvex::MouseState const& state) const;
    D3DXVECTOR2 toTable(Orvex::MouseState const& state) const;

    // ---- button dispatcher (SolitaireGame2_dispatch.cpp) ----
    static std::span<ButtonRow const> buttonRows();
    // The dispatcher's rows.
    bool saveWallpaper(Orvex::GUIWindow& window);
    // achievements: names bumped after a step that changed the table, null-terminated.
    void undo(int steps, wchar_t const* const* achievements);
    // A hint (or an undo step) refused for its price: the error sound, and the news line names
    // the price and the points missing ("MELDUNG_TIPP_PREIS", "MELDUNG_UNDO_PREIS").
    bool refuseForPrice(bool hint, float price);
    void leaveResults();
    void restartGame();
    void showVariantTutorial();
    static void resetTutorials();
    void stepCardSet(int step);
    void stepCardBack(int step);
    void resetVariantData(SolVariant& variant);

    // ---- a new active profile (SolitaireGame2_profiles.cpp) ----
    // The profile screens' handling of a new active profile.
    void onActiveProfileChanged(Profil* old, Profil* active);

    // ---- options left to the game object (SolitaireGame2_options.cpp) ----
    void onModeListRestricted();
    void onModeConfirmed(bool const& accepted);
    void onUnsupportedMode(_D3DDISPLAYMODE& mode);
    void onTutorialCheckbox(Orvex::GUICheckboxButton& button);

    // ---- game flow (SolitaireGame2_flow.cpp) ----
    void onMinigameFinished(Minispiel& game);
    void onMinispielEnd(Minispiel& game, float const& ratio, bool const& skipped);
    void onMinigameActive(bool const& active);
    // A running scene is in front: its strip is the tutorial shown (or none is). A tutorial the
    // menu asked for before the scene stays in front, taking the clicks, until it is closed.
    bool storyInFront() const;
    void finishMinispiel();
    // An open level chosen on the level screen starts.
    void onLevelChosen(int chapter, int level);
    // The running campaign level's record in the active profile, or null.
    LevelRecord* getCurrentLevelRecord() const;
    // The game end of a campaign level: stars, the level's and chapter's results, unlocks and
    // achievements; the result kNoStar to kThreeStars.
    LevelResult recordCampaignResult(GameEndParms const& played, bool& pointsGoalMissed, bool& comboGoalMissed);

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

    // Owned, in the order of construction.
    SolitaireCamera* camera_ = nullptr;
    Orvex::LookAtCamera* lookAtCamera_ = nullptr;
    SolitaireRenderer* renderer_ = nullptr;

    // Loading screen and frame; the bar's fill in pixels and the time (steady clock, seconds)
    // of the last loading frame (-1: none yet).
    Orvex::GUIWindow* loadingWindow_ = nullptr;
    long loadingFill_ = -1;
    double loadingFrameTime_ = -1.0;
    Orvex::GUIWindow* frameCentre_ = nullptr;
    Orvex::GUIWindow* frameMenu_ = nullptr;
    Orvex::Texture2D* frameLeft_ = nullptr;
    Orvex::Texture2D* frameRight_ = nullptr;
    Orvex::Texture2D* frameTop_ = nullptr;
    Orvex::Texture2D* frameBottom_ = nullptr;
    Orvex::Texture2DAnimation* cursors_[kCursorCount] = {};
    bool active_ = true;
    ScreenState screenState_ = kScreenMenu;
    bool constructed_ = false;

    // Per-frame state.
    InGameStep inGameStep_;
    ResultsDelay results_;
    PanelBlend gameNameBlend_;
    PanelBlend helpBlend_;
    StoryPart* storyPart_ = nullptr;

    // Kept by the GUI wiring (null when the GUI files lack them).
    Orvex::Texture2DAnimation* tutorialArrow_ = nullptr;
    Orvex::GUICheckbox* tutorialCheckboxes_[4] = {};
    OptionsScreen options_;

    // Further state of the screens (campaign positions, shop, menus).
    int menuIndex_ = 7;

    // Set while code sets the tutorial checkboxes, so their slot does not react.
    bool tutorialCheckboxesSilent_ = false;
    ProfileList profileList_;
    CampaignScreens campaignScreens_;
    PowersAndShop powersAndShop_;
    GameHud hud_;
    AchievementScreen achievementScreen_;
    NewProfileDialog newProfileDialog_;
    HelpScreen helpScreen_;
    ResultsScreen resultsScreen_;
    Orvex::GUIWindow* tableWindow_ = nullptr;

    RunningGame running_;
    bool musicRestart_ = false;
    bool pressReachedTable_ = false;
    bool checkingStory_ = false;
    MinigameResultScreen minigameResult_;

    bool fittingTutorialLabel_ = false;
};

}  // namespace Solitaire
