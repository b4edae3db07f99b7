// The small formula language of animation speeds ("ANIMSPEED_TERM"): numbers, the time variables
// "TIME", "D_TIME", "TIME_UP", "D_TIME_UP", the infix operators + - * / MIN MAX MOD without
// precedence (the leftmost operator splits: a op1 b op2 c is a op1 (b op2 c)), parentheses and
// the bracket functions sin[ cos[ asin[ acos[ rand[. Every text compiles; missing operands read
// as 0. Each node draws a random value when it is made, so rand[ is fixed per compiled tree.
//
// Limits: trees are at most kMaxDepth levels deep (deeper sub-terms become the constant 0, with
// one log line), so compiling, evaluating, copying and destroying never exhaust the stack.
// A node whose value is not finite (division by zero, asin of 2, overflow) gives 0.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace Orvex {

// The time values a term reads, in seconds.
struct AnimationClock {
    double time = 0.0;     // "TIME": game time
    double dTime = 0.0;    // "D_TIME": game time of the last frame
    double timeUp = 0.0;   // "TIME_UP": real time
    double dTimeUp = 0.0;  // "D_TIME_UP": real time of the last frame

    // The engine frame timer's current values.
    static AnimationClock fromEngine();
};

struct AnimationTerm {
    static constexpr int kMaxDepth = 128;

    std::wstring token;
    std::unique_ptr<AnimationTerm> left;
    std::unique_ptr<AnimationTerm> right;
    // In [0, 1], drawn from the engine's generator when the node is made.
    double random = 0.0;

    AnimationTerm();
    explicit AnimationTerm(std::wstring text);
    // Deep copy; the copy keeps every node's random value.
    AnimationTerm(AnimationTerm const& other);
    AnimationTerm& operator=(AnimationTerm const&) = delete;
    ~AnimationTerm();

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

// Compiles text into a new tree (never null; an empty text gives the constant 0).
std::unique_ptr<AnimationTerm> compileAnimationTerm(std::wstring const& text);

// The token list the compiler parses (exposed for tests).
std::vector<std::wstring> tokenizeAnimationTerm(std::wstring const& text);

}  // namespace Orvex
