// The mini-game manager: every mini-game of "data\Games\minigames.min", the one that is active,
// and the signals through which a game reports to the game object. The game object hands it the
// definition file at start-up (loadDefinitions: the mini-games' texts, fonts, animations, textures
// and GUI files, then one game per "MINISPIEL" element made by the factory), lets it build its
// screens (initGUI) and shuffle the order (shuffleOrder), makes a game active by name
// (findMinispiel, setActiveMinispiel), updates it every frame and lets the active game draw before
// each scene.
//
// Around every game the manager puts a help screen (the game's help text, OK and a skip button)
// that is up when the game becomes active, counts the game's time left down while the help is
// closed and the game unsolved, fills the game's timer bars and their labels (the label's text id
// formatted with the whole seconds), and shows a second skip button at the bar once the time has
// run out. The manager hears the input object's pointer signals (connected by initGUI, after the
// game object's, so the GUI has seen a press first) and passes each to the active game alone. A
// game that has ended is deactivated at the next update; the game object learns of the
// end through gameEnded and of the cancel button through gameClosed, after which the game stays
// active until the game object activates another game or none.
//
// Screens: "MINISPIEL_SCREEN" (holds the help menu and the game screen), "MINISPIEL_GAMESCREEN"
// (every game's window is added to it), "MINISPIEL_GAMESCREEN_DUNKEL" (the veil under the help),
// "MINISPIEL_Hilfemenue" with "MINISPIEL_H_HilfeLabel", "MINISPIEL_H_OKButton",
// "MINISPIEL_H_SkipButton" and "MINISPIEL_H_SkipButton2" (taken out of its parent at start-up).
// The particles of the screen layers (the cleaning game's emitters, the Sequenz sparks) are drawn
// over the mini-game screen, which covers the table's particle window.
//
// Where the plain rules would go wrong: a skip offset that divides by 0 keeps its default (logged);
// activating a game starts a new attempt before it is shown, so a game reached again after it
// ended can be played.
//
// Files:
//   MinispielManager.cpp          the instance, loading the definitions, the order, look-ups
//   MinispielManager_factory.cpp  the "TYPE" table and createMinispiel
//   MinispielManager_gui.cpp      initGUI, showHelp, setActiveMinispiel, the help buttons
//   MinispielManager_update.cpp   the per-frame step, drawActive and the screen particles
//   MinispielManager_input.cpp    the pointer: the input object heard once, passed to the active game
#pragma once

#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/platform/InputState.h"
#include "port/d3d9/d3d9types.h"
#include "port/win32/windows_types.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUIButton;
class GUILabel;
class GUIWindow;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Minispiel;
struct MinispielFrame;

class MinispielManager : public sigslot::has_slots<sigslot::single_threaded> {
public:
    static constexpr wchar_t const* kDefinitionFile = L"data\\Games\\minigames.min";
    // More games than this in one file are damaged data: the rest are skipped, with a log line.
    static constexpr std::size_t kMaxGames = 256;
    // shuffleOrder takes a random game to the end this many times the number of games.
    static constexpr std::size_t kShuffleRounds = 10;
    // The frame drawn around a blinking item or area of the sorting game.
    static constexpr int kBlinkFrame = 10;

    // One kind of the factory's table: the "TYPE" keyword and how its class is made.
    struct Kind {
        wchar_t const* keyword;
        Minispiel* (*make)(Orvex::XMLNode& element);
    };
    // The twenty kinds, in the order in which the keyword is compared.
    static std::vector<Kind> const& kinds();

    static MinispielManager& instance();

    // ---- start-up ----
    // Reads the definition file's top element (sourceName names it in log lines).
    void loadDefinitions(Orvex::XMLNode& top, std::wstring const& sourceName = kDefinitionFile);
    // The factory: a new game with one reference, or null for an unknown "TYPE".
    Minispiel* createMinispiel(Orvex::XMLNode& element);
    // Finds the screens, builds every game's GUI and hangs the games' windows into the game screen.
    void initGUI();
    // Takes a random game (the runtime's rand) to the end, ten times the number of games.
    void shuffleOrder();

    // ---- running ----
    // The first game of that name in the current order, or null.
    Minispiel* findMinispiel(std::wstring const& name) const;
    // Makes the game active (a new attempt, shown with its help screen up); null deactivates.
    void setActiveMinispiel(Minispiel* game);
    // One frame of the active game (dt seconds); nothing without one.
    void update(double const& dt);
    // The active game's own drawing; nothing without one.
    void drawActive();
    // Opens (with an active game) or closes the help screen.
    void showHelp(bool const& show, float const& speed);

    // ---- slots ----
    void onHelpOk(Orvex::GUIWindow& button);
    void onSkip(Orvex::GUIWindow& button);
    // After the mini-game screen and its children were drawn: the screen particles (the games'
    // emitters and sparks) over them.
    void onScreenDrawn(Orvex::GUIWindow& screen, bool const& drawn);
    // The input object's pointer signals, each passed to the active game (nothing without one).
    void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);
    void onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);
    void onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis);
    void onMouseDoubleClick(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);

    // ---- state ----
    Minispiel* getActiveMinispiel() const { return active_.get(); }
    bool isGameActive() const { return gameActive_; }
    bool isHelpShown() const { return helpShown_; }
    // The help is shown, or closed but still fading out: the game under it is not yet seen whole.
    bool isHelpOnScreen() const;
    // Copies of the lists (no references added).
    std::vector<Minispiel*> getGames() const { return Orvex::plainPointers(games_); }
    std::vector<Orvex::GUIWindow*> getBars() const { return Orvex::plainPointers(bars_); }
    Orvex::GUIButton* getSecondSkipButton() const { return skipButton2_; }
    Orvex::GUIWindow* getGameScreen() const { return gameScreen_.get(); }
    bool usesSkipBarRel() const { return skipBarRel_; }
    float getSkipOffset(int index) const { return skipOffsets_[index]; }
    // Releases every game, window and the mini-game cursor's picture (at program exit, and for
    // tests that load the definitions again).
    void clear();

    // Signals, in this order.
    sigslot::signal1<bool const&> activeChanged;
    // The game, its score ratio (0 to 1) and whether it was skipped.
    sigslot::signal3<Minispiel&, float const&, bool const&> gameEnded;
    sigslot::signal1<Minispiel&> gameFailed;
    sigslot::signal1<Minispiel&> gameClosed;
    sigslot::signal1<Minispiel&> moveMade;
    sigslot::signal1<Minispiel&> moveWrong;
    // A game asks for a nine-slice frame of the game's frame set around a screen rectangle
    // (rectangle, frame number, colour); the game object draws it (its global settings' frames).
    sigslot::signal3<RECT const&, int const&, D3DCOLOR const&> frameRequested;
    // The same with every value of the frame drawing (MinispielFrame.h): the building game's board
    // cells take a style row and an edge layer of their own.
    sigslot::signal1<MinispielFrame const&> styledFrameRequested;

    MinispielManager(MinispielManager const&) = delete;
    MinispielManager& operator=(MinispielManager const&) = delete;

private:
    // Skip offsets, in the order of skipOffsets_.
    enum SkipOffset { kRelX = 0, kRelY = 1, kOffX = 2, kOffY = 3 };

    MinispielManager() = default;
    ~MinispielManager() override;

    // Loads every "FILE" of the children named `kind` through `load`, each file once.
    template <class Load>
    static void loadFiles(Orvex::XMLNode& top, wchar_t const* kind, Load load);
    void releaseBars();
    // Hears the input object's pointer signals, once however often initGUI runs.
    void connectInput();
    // The bar's label: its text id formatted with the whole seconds left.
    static void labelBar(Orvex::GUIWindow& bar, double secondsLeft);
    // Shows the second skip button and the bar as the time left demands.
    void placeSkipButton(Orvex::GUIWindow& bar, bool first, double left);

    std::vector<Orvex::CountedRef<Minispiel>> games_;
    Orvex::CountedRef<Minispiel> active_;
    Orvex::CountedRef<Orvex::GUIWindow> gameScreen_;
    Orvex::CountedRef<Orvex::GUIWindow> darkScreen_;
    Orvex::CountedRef<Orvex::GUIWindow> screen_;
    Orvex::CountedRef<Orvex::GUIWindow> helpMenu_;
    Orvex::CountedRef<Orvex::GUILabel> helpLabel_;
    // Held by the help menu.
    Orvex::GUIButton* skipButton_ = nullptr;
    Orvex::GUIButton* skipButton2_ = nullptr;
    // The second skip button while initGUI has taken it out of its parent: held here.
    Orvex::CountedRef<Orvex::GUIButton> heldSkipButton2_;
    bool skipBarRel_ = true;
    float skipOffsets_[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::vector<Orvex::CountedRef<Orvex::GUIWindow>> bars_;
    bool gameActive_ = false;
    bool helpShown_ = true;
};

}  // namespace Solitaire
