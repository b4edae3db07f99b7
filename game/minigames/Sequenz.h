// The mini-game "SEQUENZ": repeat the sequence. The game shows a random sequence of its elements
// one after the other, each lighting up (its show window's background animation played from the
// start, the show window's goal "AN" when goal animations are on, and a particle effect when the
// element has one); then the player clicks the elements in the same order. A sequence repeated
// whole is followed, two seconds later, by a new one an element longer; a wrong click is told
// (moveWrong, and the sign "FALSCH" up until the replay begins) and shows the same sequence again
// a second later. Repeating a sequence longer than "MAX_LENGTH" solves the game. Wrong clicks
// cost only time. The demonstration stands still while the help is on the screen, also while it
// fades out.
//
// So that what is lit is always the demonstration's: the player's last lit answer goes out one
// step after the click, and the pause before the demonstration counts from then, on a dark board;
// an element whose show window was lit in the step before is lit again only after that window has
// been dark for kRepeatGap seconds.
//
// Keys beside the base's: "MIN_LENGTH" (the first sequence's length, 5), "MAX_LENGTH" (5),
// "TIMER_SHOW" (seconds between two steps of the demonstration, 0.5), "SHOW_ON_IS_CLICK_ON" (an
// element without its own show window lights up its click window; else the show window of the
// nearest element before it that has one; true), "CHANGE_ANIM_GOAL" (show windows go to "AN" and
// "AUS"; false), "CHANGE_ANIM_GOAL_BEFORE" (a lit show window starts going out before the next
// step; true), "CHANGE_ANIM_GOAL_TIMER" (those goal animations' length as a share of
// "TIMER_SHOW", 0.25). Windows: prefix + "SEQUENZ_" + "FENSTER", "VG" (the bar parent, with the
// buttons), "PLAY" (shown while the game demonstrates), "WINDOW_" n (the elements, n = 1, 2, ...
// up to the first missing), "WINDOW_SHOW_" n, "HG_" n and "VG_" n (behind and over the elements),
// "FALSCH" (the wrong-click sign, its goals "AN" and "AUS"), "CANCEL", "HILFE"; particle templates prefix + "SEQUENZ_PARTIKEL_" n. Elements are picked with
// the engine's generator (Orvex::randomInt), uniformly.
//
// Where the plain rules would go wrong: "MIN_LENGTH" below 1 (an empty or, unsigned, a huge
// sequence) reads as 1, and both lengths are capped at kMaxLength, with a log line; a definition
// without an element, or whose first element gets no show window, is refused (one log line; no
// window, so it can only be skipped); start clears solved and ended as every game's does, so a
// game reached again can be played.
#pragma once

#include <string>
#include <vector>

#include "game/minigames/Minispiel.h"

namespace Orvex {
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class SolPartikel;

class Sequenz : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"SEQUENZ_";
    static constexpr unsigned kDefaultLength = 5;
    // Longer sequences than this are more than anyone repeats.
    static constexpr unsigned kMaxLength = 64;
    static constexpr std::size_t kMaxElements = 64;
    // Backgrounds and foregrounds at most.
    static constexpr std::size_t kMaxLayers = 64;
    static constexpr float kDefaultShowTime = 0.5f;
    static constexpr float kMaxShowTime = 60.0f;
    static constexpr float kDefaultGoalShare = 0.25f;
    // The pause before a new sequence and before a replay.
    static constexpr float kNewSequenceDelay = 2.0f;
    static constexpr float kReplayDelay = 1.0f;
    // How long a show window lit in two steps in a row is dark between them.
    static constexpr float kRepeatGap = 0.3f;
    // Speeds of the play window's goals: shown at the start of a demonstration, gone at the
    // player's turn.
    static constexpr double kPlayOnSpeed = 1.0;
    static constexpr double kPlayOffSpeed = 2.0;
    // Speed of the wrong-click sign's goals: up at a wrong click, out at the replay's first step.
    static constexpr double kWrongSignSpeed = 1.0;

    explicit Sequenz(Orvex::XMLNode& element);
    ~Sequenz() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    // The next sequence, one element longer, demonstrated delay seconds from now.
    void newSequence(float delay);
    // The slot on each element window's left click.
    void onElementClick(Orvex::GUIWindow& element);

    std::vector<Orvex::GUIWindow*> const& getElements() const { return elements_; }
    std::vector<Orvex::GUIWindow*> const& getShowWindows() const { return showWindows_; }
    std::vector<unsigned> const& getSequence() const { return sequence_; }
    Orvex::GUIWindow* getPlayWindow() const { return playWindow_; }
    Orvex::GUIWindow* getWrongSign() const { return wrongSign_; }
    SolPartikel* getCurrentParticle() const { return currentParticle_.get(); }
    bool isInputPhase() const { return inputPhase_; }
    unsigned getInputPosition() const { return inputPosition_; }
    int getShownIndex() const { return shownIndex_; }
    unsigned getMinLength() const { return minLength_; }
    unsigned getMaxLength() const { return maxLength_; }

private:
    // Clones the templates into the game's window (when the definition can be played).
    void build();
    // One log line naming the definition: it cannot be played, for the reason given.
    void refuse(std::wstring const& why) const;
    // The speed factor of the show windows' goal animations.
    double goalSpeed() const;
    // The show window of the sequence's element at that position, or null.
    Orvex::GUIWindow* showWindowAt(int position) const;
    // The demonstration of the sequence, delay seconds after the lit answer has gone out.
    void beginDemonstration(float delay);
    // Whether the next step lights the show window lit now.
    bool nextStepRepeatsWindow() const;
    // The step of the demonstration that lights the next element, or hands over to the player
    // (after sending out the element lit before, when goals change at the step).
    void showNextStep(bool shownInSequence);
    // Lights element e: its show window's animation from the start, its goal, its particle.
    void lightUp(unsigned e);
    // Marks the current particle finished and lets it go.
    void endParticle();

    std::vector<Orvex::GUIWindow*> elements_;
    std::vector<Orvex::GUIWindow*> showWindows_;
    // The particle template names found in init (empty where an element has none).
    std::vector<std::wstring> particles_;
    Orvex::GUIWindow* playWindow_ = nullptr;
    Orvex::GUIWindow* wrongSign_ = nullptr;
    // Held here as well as by the particle manager, to end it when the next element lights up.
    Orvex::CountedRef<SolPartikel> currentParticle_;
    bool showOnClickWindow_ = true;
    unsigned length_ = 0;
    unsigned maxLength_ = kDefaultLength;
    unsigned minLength_ = kDefaultLength;
    std::vector<unsigned> sequence_;
    unsigned inputPosition_ = 0;
    int shownIndex_ = -1;
    float showTime_ = kDefaultShowTime;
    float stepTimer_ = 0.0f;
    bool inputPhase_ = false;
    bool clearPending_ = false;
    // The pause before the first step, counted from the clear step when one comes.
    float demoDelay_ = 0.0f;
    // The dark gap before the next step is over.
    bool gapDone_ = false;
    bool goalAnimation_ = false;
    bool goalAnimationBefore_ = true;
    float goalShare_ = kDefaultGoalShare;
    unsigned definitionLine_ = 0;
};

}  // namespace Solitaire
