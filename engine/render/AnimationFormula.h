// The small formula language of animation speeds ("ANIMSPEED_TERM"): numbers, the time variables
// "TIME", "D_TIME", "TIME_UP", "D_TIME_UP", the infix operators + - * / MIN MAX MOD without
// precedence (the leftmost operator splits: a op1 b op2 c is a op1 (b op2 c)), parentheses and
// the bracket functions sin[ cos[ asin[ acos[ rand[. Every text compiles; missing operands read
// as 0. Each node draws a random value when it is made, so rand[ is fixed per compiled tree.
//
// Each node resolves its token into an operation (and a leaf its number) when it is made, so an
// evaluation compares no texts. Animations hold a tree as an AnimationFormula, which copies
// share and which remembers its value at the last clock: a formula is evaluated once per engine
// frame however many copies update with it (16,000 windows naming a 511-node formula in four
// slots spent 26 ms a frame on it). The value depends on the tree and the clock alone ("rand["
// values are fixed when the tree is made), so remembering it changes no result; copies that
// roll their own "rand[" values have trees, and values, of their own.
//
// Limits: trees are at most kMaxDepth levels deep (deeper sub-terms become the constant 0, with
// one log line), so compiling, evaluating, copying and destroying never exhaust the stack.
// A text of more than kMaxLength characters, or whose tree would have more than kMaxNodes nodes,
// is refused whole (one log line): a speed needs a few dozen nodes, the tree is evaluated every
// frame, and copies with new random values copy its tokens.
// A node whose value is not finite (division by zero, asin of 2, overflow) gives 0.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/Types.h"

namespace Orvex {

// The time values a term reads, in seconds.
struct AnimationClock {
    double time = 0.0;     // "TIME": game time
    double dTime = 0.0;    // "D_TIME": game time of the last frame
    double timeUp = 0.0;   // "TIME_UP": real time
    double dTimeUp = 0.0;  // "D_TIME_UP": real time of the last frame

    // The engine frame timer's current values.
    static AnimationClock fromEngine();
    bool operator==(AnimationClock const&) const = default;
};

struct AnimationTerm {
    static constexpr int kMaxDepth = 128;
    // A depth-bounded chain (2 * kMaxDepth + 1 nodes) still fits.
    static constexpr std::size_t kMaxNodes = 512;
    static constexpr std::size_t kMaxLength = 8192;

    // What a node does, resolved from its token: a number or time variable (leaves), a bracket
    // function, an infix operator.
    enum class Op : u8 { kNumber, kTime, kDTime, kTimeUp, kDTimeUp, kSin, kCos, kAsin, kAcos, kRand,
                         kAdd, kSub, kMul, kDiv, kMin, kMax, kMod };

    std::wstring token;
    std::unique_ptr<AnimationTerm> left;
    std::unique_ptr<AnimationTerm> right;
    // In [0, 1], drawn from the engine's generator when the node is made.
    double random = 0.0;
    // Resolved from token when the node is made; number is the token read as a decimal number
    // (0 when it is none), the value of a kNumber node.
    Op op = Op::kNumber;
    double number = 0.0;

    AnimationTerm();
    explicit AnimationTerm(std::wstring text);
    // Deep copy; the copy keeps every node's random value.
    AnimationTerm(AnimationTerm const& other);
    AnimationTerm& operator=(AnimationTerm const&) = delete;
    ~AnimationTerm();

    // A deep copy whose nodes draw new random values, in the order a compile of the same text
    // draws them (so the engine's generator runs on as after compiling the text again).
    std::unique_ptr<AnimationTerm> redrawn() const;

    // The value at the engine timer's current time.
    double evaluate() const;
    double evaluate(AnimationClock const& clock) const;
    // Levels below and including this node.
    int depth() const;
    // Nodes of the tree (each drew one random number when it was made).
    std::size_t nodeCount() const;
    // True when a node's value depends on its random number ("rand[").
    bool drawsRandom() const;
};

// A compiled tree as animations hold it (shared by copies), with its value at the last clock it
// was evaluated at.
class AnimationFormula {
public:
    explicit AnimationFormula(std::unique_ptr<AnimationTerm const> term) : term_(std::move(term)) {}

    AnimationTerm const& term() const { return *term_; }
    // The tree's value at the engine timer's current time, or at the clock: computed when the
    // clock differs from the last one asked for.
    double evaluate() const { return evaluate(AnimationClock::fromEngine()); }
    double evaluate(AnimationClock const& clock) const;
    // Trees computed by all formulas so far.
    static std::size_t evaluations();

private:
    std::unique_ptr<AnimationTerm const> term_;  // never null
    mutable AnimationClock clock_;
    mutable double value_ = 0.0;
    mutable bool known_ = false;
};

// Compiles text into a new tree (an empty text gives the constant 0); null when the text is
// refused for its size. owner names the formula in log lines (the file and the animation).
std::unique_ptr<AnimationTerm> compileAnimationTerm(std::wstring const& text, std::wstring const& owner = {});

// The token list the compiler parses (exposed for tests).
std::vector<std::wstring> tokenizeAnimationTerm(std::wstring const& text);

}  // namespace Orvex
