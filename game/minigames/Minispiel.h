// The common base of the mini-games. Every game is one object made by the manager's factory from
// one "MINISPIEL" element of the definition file, and lives until the program ends. The manager
// calls init once after loading, makes one game at a time active (start, show, getWindows,
// getSolutionTime), counts its time left down while the game is unsolved and the help is closed,
// calls update every frame and draw before the scene, and ends, skips or deactivates it.
//
// What every game shares: the time limit ("LSG_TIME") and the time left, whose share is the score
// of a solved game; the end delay ("TIMER"), after which a solved game reports, so the player
// sees the solved picture; the flags solved and ended; the help button; the timer bars cloned
// from the templates prefix + "TIMER_BAR". A game reports through the manager's gameEnded: when
// solved (after the end delay), at once when it judges an answer on a button, or skipped
// (ratio 0, skipped set).
//
// Sound behaviour where the plain rules would go wrong:
//   - an end delay of 0 or less reports a solved game at the next update (it would never report);
//   - the ratio is 0 while the limit is not positive (0 / 0 otherwise);
//   - a second init takes the old bars out of their parent and connects each slot once;
//   - every start clears the flags and reloads the end delay, and the manager starts a new
//     attempt at each activation, so a game reached again after it ended can be played.
#pragma once

#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/core/NamedObject.h"
#include "engine/platform/InputState.h"

namespace Orvex {
class GUIWindow;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Minispiel : public Orvex::NamedObject {
public:
    static constexpr double kDefaultSolutionTime = 180.0;
    static constexpr float kDefaultEndDelay = 1.0f;
    // Limits of the two times; larger or non-finite values in data keep the default.
    static constexpr double kMaxSolutionTime = 86400.0;
    static constexpr float kMaxEndDelay = 3600.0f;
    // The literal of the timer bar templates, after the prefix.
    static constexpr wchar_t const* kTimerBar = L"TIMER_BAR";
    static constexpr wchar_t const* kHelpButton = L"HILFE_BUTTON";

    // A game with the defaults and no window.
    Minispiel();
    // Reads "NAME", "HILFE_ID", "PRÄFIX", "LSG_TIME" and "TIMER" of the element.
    explicit Minispiel(Orvex::XMLNode& element);
    ~Minispiel() override;
    Minispiel(Minispiel const&) = delete;
    Minispiel& operator=(Minispiel const&) = delete;

    // ---- virtual operations, in slot order ----
    // One frame of dt seconds: the end-delay countdown and the report of a solved game.
    virtual void update(double const& dt);
    // The game's own drawing before the scene; the games here draw from their windows.
    virtual void draw();
    // The one start-up order of every kind: the kind's own windows (createWindows), the first
    // attempt (start), then the shared parts (help button, timer bars). Called once after loading;
    // a second call builds the shared parts anew.
    void init();
    // A new attempt: the flags cleared, the end delay reloaded. An override calls this first, so
    // every kind's attempt starts unsolved and with its full end delay.
    virtual void start();
    // The window towards "AN", the full time limit again.
    virtual void show();
    // The window towards "AUS".
    virtual void hide();
    // Solved and ended, no end delay left.
    virtual void finish();
    // ended when asked for it, else solved.
    virtual bool isFinished(bool const& ended);
    // finish, then gameEnded (this, 0, true).
    virtual void skip();
    virtual double getSolutionTime();
    virtual Orvex::GUIWindow* getWindow();
    // A copy of the timer bar list (no references added).
    virtual std::vector<Orvex::GUIWindow*> getWindows();
    virtual void onWindowDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // ---- the pointer, from the manager while this game is the active one ----
    // The input object's press, release, move and double click, as it signals them. A game that
    // follows the pointer itself overrides these; a game not active never hears them.
    virtual void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);
    virtual void onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);
    virtual void onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis);
    virtual void onMouseDoubleClick(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button);

    // ---- slots the games connect ----
    // Opens the manager's help screen.
    void onHelpButton(Orvex::GUIWindow& button);
    // Emits the manager's gameClosed with this game.
    void onCloseButton(Orvex::GUIWindow& button);

    // ---- read and set by the manager ----
    double getSolutionTimeLeft() const { return solutionTimeLeft; }
    void setSolutionTimeLeft(double seconds) { solutionTimeLeft = seconds; }
    std::wstring const& getHelpId() const { return helpId; }
    std::wstring const& getPrefix() const { return prefix; }
    float getEndDelay() const { return endDelay; }
    float getEndDelayLeft() const { return endDelayLeft; }
    // The time left as a share of the limit: 0 while the limit is not positive.
    float getRatio() const;

protected:
    // A kind's own windows and connections, made by init before the first start; nothing here.
    virtual void createWindows() {}
    // The template or window name prefix + literal.
    std::wstring prefixed(std::wstring const& literal) const { return prefix + literal; }
    // Marks a solved attempt: solved set, the end delay reloaded.
    void setSolved();
    // The end-delay countdown of update, which games that override update repeat: while solved
    // and not ended, the delay runs down; when it has run out, ended is set and gameEnded
    // (this, ratio, false) is emitted. True in that frame.
    bool countDownEndDelay(double dt);
    // Reports a judged answer at once: solved and ended set, gameEnded (this, ratio, false).
    void reportSolvedNow();

    // The game's window: a kind takes the reference of the clone it builds (window.adopt).
    Orvex::CountedRef<Orvex::GUIWindow> window;
    Orvex::GUIWindow* barParent = nullptr;
    // The bars' clones, each held here and by its parent.
    std::vector<Orvex::CountedRef<Orvex::GUIWindow>> timerBars;
    std::wstring helpId;
    std::wstring prefix;
    double solutionTime = kDefaultSolutionTime;
    double solutionTimeLeft = kDefaultSolutionTime;
    bool solved = false;
    bool ended = false;
    float endDelayLeft = kDefaultEndDelay;
    float endDelay = kDefaultEndDelay;

private:
    // The shared parts: the window's draw slot, the help button, the timer bars.
    void initShared();
    // Takes every timer bar out of its parent and lets it go.
    void releaseTimerBars();
    // The help button connected by the last init.
    Orvex::GUIWindow* helpButton_ = nullptr;
};

}  // namespace Solitaire
