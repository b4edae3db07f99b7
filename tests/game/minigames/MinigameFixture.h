// The mini-games played headless for real: the game object started on the game's own data tree
// (data/ of this repository) at 1024 x 768, a mini-game made active as the game flow makes it
// (the manager's setActiveMinispiel and the menu "MINIGAMEMENU"), and every action of the player
// an SDL event pushed into the real window's queue: pointer moves, presses and releases at screen
// points, clicks and drags. Frames run at a fixed step of kStep seconds: the window's messages
// are pumped, the input is polled (the game's tick), the game updates and draws. The back buffer
// can be kept as a PNG in the build folder's "screenshots" for a person to look at.
//
// The manager's signals are written to a log, one line each, so two runs can be compared; tests
// may read a game's model to find where to click, but act only through input events. The tick
// clock is held at kTickCount, so runs from one seed of the generators repeat.
//
// Used by the tests of all mini-games (the first games here, the later ones in the issues that
// add them) and by those of the story in the real game, which reach the screens by clicks.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"
#include "tests/game/app/GameFixture.h"

namespace Solitaire {
class Karte;
class Minispiel;
class MinispielManager;
class StoryPart;
}  // namespace Solitaire

namespace minigametest {

// A wide text for test names and messages (its characters below 128; others as '?').
inline std::string narrow(std::wstring const& text) {
    std::string out;
    for (wchar_t c : text) out += c > 0 && c < 128 ? static_cast<char>(c) : '?';
    return out;
}

// Records the manager's signals as text lines.
class SignalLog : public sigslot::has_slots<sigslot::single_threaded> {
public:
    void connect(Solitaire::MinispielManager& manager);
    void onEnded(Solitaire::Minispiel& game, float const& ratio, bool const& skipped);
    void onFailed(Solitaire::Minispiel& game) { add(L"failed", game); }
    void onClosed(Solitaire::Minispiel& game) { add(L"closed", game); }
    void onMoveMade(Solitaire::Minispiel& game) { add(L"move", game); }
    void onMoveWrong(Solitaire::Minispiel& game) { add(L"wrong", game); }
    void onActiveChanged(bool const& active) { lines.push_back(active ? L"active" : L"inactive"); }

    // The lines that begin with the word (e.g. L"ended").
    std::vector<std::wstring> linesOf(std::wstring const& word) const;
    std::size_t count(std::wstring const& word) const { return linesOf(word).size(); }
    // The ratio and skipped flag of the last gameEnded, when there was one.
    bool lastEnded(float& ratio, bool& skipped) const;

    std::vector<std::wstring> lines;
    std::vector<std::pair<float, bool>> ends;

private:
    void add(wchar_t const* what, Solitaire::Minispiel& game);
};

class MinigameFixture : public apptest::GameFixture {
protected:
    static constexpr unsigned kScreenWidth = 1024;
    static constexpr unsigned kScreenHeight = 768;
    // The fixed frame step: the game's 60 frames a second.
    static constexpr double kStep = 1.0 / 60.0;
    // The step of long waits for a game's time limit.
    static constexpr double kLongStep = 0.1;
    // Frames that let windows reach their goals (the slowest speed of the data is 3 per second).
    static constexpr int kSettleFrames = 30;
    // The tick count the clock reads while a test runs (the turning-tiles game seeds the
    // runtime's generator from it).
    static constexpr unsigned kTickCount = 100000;
    // Seconds for the deal's cards to reach the table, and at most for the results delay and the
    // cards' flight after a won level.
    static constexpr double kDealSeconds = 4.0;
    static constexpr double kResultsLimit = 15.0;

    void SetUp() override;
    void TearDown() override;

    // ---- running ----
    // One frame: messages pumped, input polled, one update of kStep, and a draw when asked.
    void tick(bool draw = true);
    void ticks(int count, bool draw = false);
    // Updates (without drawing) for the seconds at the fixed step, then one drawn frame.
    void wait(double seconds);
    // The back buffer of the last drawn frame.
    std::vector<uint32_t> pixels();
    uint32_t pixelAt(std::vector<uint32_t> const& pixels, D3DXVECTOR2 const& point) const;
    // Saves the back buffer as "screenshots/<name>.png" in the build folder.
    void keep(std::string const& name);

    // ---- input (SDL events into the window, then a frame) ----
    void moveTo(D3DXVECTOR2 const& point);
    void press(D3DXVECTOR2 const& point);
    void release(D3DXVECTOR2 const& point);
    void click(D3DXVECTOR2 const& point);
    // A quick double click: two clicks a frame apart, undrawn frames between them, so the window
    // system's 500 ms pairing holds however slowly this build draws.
    void doubleClick(D3DXVECTOR2 const& point);
    // A press and a release of the right button at the point (the pointer moved there first).
    void rightClick(D3DXVECTOR2 const& point);
    // Press at from, move in steps to to (a frame each), release there.
    void drag(D3DXVECTOR2 const& from, D3DXVECTOR2 const& to, int steps = 8);
    // The middle of a window by name (any level of the GUI), or of a rectangle.
    static D3DXVECTOR2 middleOf(Orvex::FRect const& rect);
    D3DXVECTOR2 middleOf(std::wstring const& windowName) const;
    // A point of the window where a press reaches it (not covered by another window), nearest
    // its middle; its middle when there is none.
    static D3DXVECTOR2 reachablePointOf(Orvex::GUIWindow& window);

    // ---- the mini-game ----
    // Replaces the shipped games by these MINISPIEL elements (the screens and templates stay), as
    // a definition file named "test.min" with the top element's keys.
    void define(std::wstring const& games, std::wstring const& topKeys = L"");
    // Makes the game of that name active as the game flow does and shows "MINIGAMEMENU"; the
    // help is up. Null when the game does not exist.
    Solitaire::Minispiel* begin(std::wstring const& name);
    // begin, the game as its class (null when it is not), and the help closed.
    template <class Game>
    Game* play(std::wstring const& name) {
        auto* game = dynamic_cast<Game*>(begin(name));
        if (game) closeHelp();
        return game;
    }
    // The last report was a win (a ratio above 0, not skipped), resp. a skip (0, skipped).
    void expectWon() const;
    void expectSkipped() const;
    // The mini-game screen tells how the game ended: the title of that text id and a text holding
    // the words, both drawn over a frame drawn now; the screen is still the mini-game's.
    void expectTold(std::wstring const& titleId, std::wstring const& words);
    // Clicks the help's OK button, closing the help: the time starts counting.
    void closeHelp();
    // Clicks the help's skip button.
    void skipFromHelp();
    // Lets a solved game's end delay run out (and a frame more, as frame times are rounded).
    void waitForTheEnd(Solitaire::Minispiel& game);
    // Lets the time run out (in steps of kLongStep up to its last second), then clicks the second
    // skip button at the bar.
    void loseByTime();
    // Clicks the window of the active game named prefix + literal (its first clone below the
    // game's window).
    void clickPart(std::wstring const& name);
    Orvex::GUIWindow* partOfActive(std::wstring const& name) const;

    // ---- two runs from one seed ----
    // Twice: the game object made anew with the deal's generator seeded (TearDown, then SetUp,
    // which starts the fixture's game), the game played by play, the picture of its last frame
    // kept and the end delay run out. Expects the same signals and the same picture both times,
    // and one gameEnded.
    void expectTheSameTwice(unsigned seed, std::function<void()> const& play);

    // One run of a game from a fresh start of the game object after msvc::srand (seed): the game
    // begun and its help closed, won by the given play, one drawn frame (the picture), then its
    // end waited for (the signals of the whole run).
    struct SeededRun {
        std::vector<std::wstring> signals;
        std::vector<uint32_t> picture;
    };
    SeededRun playFromSeed(unsigned seed, std::wstring const& name, std::function<void(Solitaire::Minispiel&)> const& win);

    Solitaire::MinispielManager& manager() const;
    Solitaire::Minispiel* active() const;

    // ---- the game's screens and its story, as the player reaches them ----
    std::wstring activeMenu() const;
    // Frames that let the screens reach their goals, the last drawn.
    void settle();
    // A click where the player sees the window, then its menu settles.
    void clickOn(std::wstring const& name);
    // The pages of the tutorials up (not a story scene's) clicked through.
    void closeTutorials();
    // From the start screen through the main menu to the campaign's chapter screen, tutorials
    // clicked away on the way.
    void toChapterScreen();
    // The running story scene (null: none) and a point of the story window at fractions of it.
    Solitaire::StoryPart* scene() const;
    D3DXVECTOR2 storyPoint(float x, float y) const;
    // A click on the story window (clear of its skip element).
    void clickStory() { click(storyPoint(0.4f, 0.4f)); }
    // Plays the running scene to its end within kSceneLimit seconds: timed switches wait,
    // clicked ones get a click; with a prefix each switch is kept as "<prefix>_switch<n>.png".
    void playSceneToItsEnd(std::string const& shotPrefix = std::string());
    static constexpr double kSceneLimit = 30.0;

    SignalLog log;
    // The tree the game starts on (root and root/data as the search paths); empty: this
    // repository's own. A fixture staging a copy of the data sets it before SetUp.
    std::filesystem::path dataRoot;
    // The window's size, set before SetUp (a wide screen shows the side panels beside the 4:3
    // screens).
    unsigned screenWidth = kScreenWidth;
    unsigned screenHeight = kScreenHeight;

    // ---- a folder of the test's own ----
    // Before SetUp: `home`, a fresh temporary folder, holds the profile file (written from
    // profileText when that is not empty); with stageData a copy of the game's data goes there
    // too and the game starts on it (a test may change the copy before SetUp).
    void makeHome(std::string const& name, std::string const& profileText = std::string(), bool stageData = false);
    // After TearDown: the profile file let go, the catalogue emptied, the folder removed.
    void removeHome();
    std::filesystem::path home;

    // ---- the row of hearts (the flow tests' catalogue) ----
    // The heart of that value (0 ace .. 12 king) of the running game; a table rectangle's middle
    // in window pixels.
    static Solitaire::Karte* heart(int value);
    D3DXVECTOR2 tablePoint(Orvex::FRect const& rect) const;
    // The level's banner and help panel clicked away at a point of the table where nothing is
    // (such a click does nothing else).
    void dismissTablePanels();
    // Every heart dragged onto the goal pile "STAPEL_ZIEL", ace first.
    void moveHeartsToTheGoal();
    // A dealt row of hearts on the table won as a player wins it: the deal flown in, a medal's
    // popup gone, the panels put away, every heart dragged onto the goal; then the results screen.
    void winRowOfHearts();
    static constexpr float kQuietX = 700.0f;
    static constexpr float kQuietY = 330.0f;

    // The real window's SDL id, for events the helpers above do not make (keys, relative motion).
    Uint32 windowId() const;

private:
    void pump();
};

}  // namespace minigametest
