// The animation formula language: tokens, the leftmost-operator split without precedence,
// bracket functions, the fixed random value of rand[ (and a copy's new one drawn as a compile
// draws it), and the bounds on nesting, on size and on values that are not finite.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <string>

#include "engine/core/Random.h"
#include "engine/render/AnimationFormula.h"
#include "tests/engine/core/LogWatch.h"

using Orvex::AnimationClock;
using Orvex::compileAnimationTerm;

namespace {

AnimationClock clockAt(double time) {
    AnimationClock c;
    c.time = time;
    c.dTime = 0.25;
    c.timeUp = time * 2.0;
    c.dTimeUp = 0.5;
    return c;
}

double eval(std::wstring const& text, AnimationClock const& clock = clockAt(0.7)) {
    return compileAnimationTerm(text)->evaluate(clock);
}

}  // namespace

TEST(AnimationFormula, TokensSplitAtOperatorsAndKeepFunctionBrackets) {
    std::vector<std::wstring> expected = {L"2", L"*", L"sin[", L"TIME", L"]", L"+", L"(", L"1", L")"};
    EXPECT_EQ(Orvex::tokenizeAnimationTerm(L"2*sin[TIME]+(1)"), expected);
    EXPECT_EQ(Orvex::tokenizeAnimationTerm(L"2 * sin[ TIME ] + ( 1 )"), expected);
    EXPECT_EQ(Orvex::tokenizeAnimationTerm(L"1\t2"), std::vector<std::wstring>{L"1\t2"}) << "only blanks separate";
    EXPECT_TRUE(Orvex::tokenizeAnimationTerm(L"   ").empty());
}

TEST(AnimationFormula, EvaluatesByTheLeftmostOperatorWithoutPrecedence) {
    struct Case {
        wchar_t const* text;
        double value;
    };
    // TIME 0.7, D_TIME 0.25, TIME_UP 1.4, D_TIME_UP 0.5. Missing operands, unknown words, two
    // numbers without an operator and unbalanced parentheses read as 0; values that are not
    // finite give 0 as well.
    Case const cases[] = {
        {L"1 + 2 * 3", 7.0},       {L"2 * 3 + 1", 8.0},    {L"10 - 2 - 3", 11.0},   {L"(10 - 2) - 3", 5.0},
        {L"((10 - 2)) - 3", 5.0},  {L"((4))", 4.0},        {L"8 / 2 / 2", 8.0},     {L"-3", -3.0},
        {L"5 *", 0.0},             {L"", 0.0},             {L"speed", 0.0},         {L"1 2", 0.0},
        {L"( 1 + 2", 0.0},         {L"3 MIN 5", 3.0},      {L"3 MAX 5", 5.0},       {L"7.5 MOD 2", 1.5},
        {L"TIME", 0.7},            {L"D_TIME", 0.25},      {L"TIME_UP", 1.4},       {L"D_TIME_UP", 0.5},
        {L"1 / 0", 0.0},           {L"0 / 0", 0.0},        {L"asin[ 2 ]", 0.0},     {L"5 MOD 0", 0.0},
        {L"inf", 0.0},             {L"1e308 * 1e308", 0.0}, {L"3 + 1 / 0", 3.0},
        {L"2 * sin[ TIME ]", 2.0 * std::sin(0.7)},
        {L"sin[ TIME ] * 2", std::sin(0.7)},  // tokens after the closing bracket are dropped
        {L"cos[ TIME * 2 ]", std::cos(1.4)},  {L"asin[ 0.5 ]", std::asin(0.5)},
        {L"acos[ 0.5 ]", std::acos(0.5)},     {L"sin[ cos[ TIME ] ]", std::sin(std::cos(0.7))},
        {L"sin[ TIME", std::sin(0.7)},        // an unclosed bracket takes the rest
    };
    for (Case const& c : cases) EXPECT_NEAR(eval(c.text), c.value, 1e-12) << std::string(c.text, c.text + wcslen(c.text));
}

TEST(AnimationFormula, RandIsFixedPerCompiledTreeAndKeptByCopies) {
    Orvex::seedRandom(42);
    auto term = compileAnimationTerm(L"rand[ 2 , 4 ]");
    double const first = term->evaluate(AnimationClock());
    for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(term->evaluate(clockAt(i)), first);
    // The first argument goes right, the second left: (left - right) * random + right.
    EXPECT_EQ(term->right->token, L"2");
    EXPECT_EQ(term->left->token, L"4");
    EXPECT_DOUBLE_EQ(first, 2.0 + 2.0 * term->random);
    EXPECT_DOUBLE_EQ(Orvex::AnimationTerm(*term).evaluate(AnimationClock()), first);

    bool differs = false;
    for (int i = 0; i < 8 && !differs; ++i) differs = eval(L"rand[ 2 , 4 ]") != first;
    EXPECT_TRUE(differs) << "a new compile draws a new value";
    auto single = compileAnimationTerm(L"rand[ 10 ]");
    EXPECT_DOUBLE_EQ(single->evaluate(AnimationClock()), 10.0 * single->random);
}

TEST(AnimationFormula, DeepNestingIsBoundedAndStillEvaluates) {
    // 200 operators and 1,000 parentheses would recurse as deep as they are long.
    std::wstring chain;
    for (int i = 0; i < 200; ++i) chain += L"1 + ";
    auto term = compileAnimationTerm(chain + L"1");
    ASSERT_NE(term, nullptr);
    EXPECT_LE(term->depth(), Orvex::AnimationTerm::kMaxDepth + 1);
    // The cut-off tail counts as 0: one 1 per operator level whose left operand was kept.
    EXPECT_DOUBLE_EQ(term->evaluate(AnimationClock()), static_cast<double>(Orvex::AnimationTerm::kMaxDepth - 1));
    EXPECT_EQ(Orvex::AnimationTerm(*term).depth(), term->depth());

    EXPECT_DOUBLE_EQ(eval(std::wstring(1000, L'(') + L"7" + std::wstring(1000, L')')), 7.0);
    std::wstring functions;
    for (int i = 0; i < 1000; ++i) functions += L"sin[";
    EXPECT_LE(compileAnimationTerm(functions + L"1")->depth(), Orvex::AnimationTerm::kMaxDepth + 1);
    std::wstring shallow;
    for (int i = 0; i < 50; ++i) shallow += L"1 + ";
    EXPECT_DOUBLE_EQ(eval(shallow + L"1"), 51.0) << "shallow terms keep their full value";
}

namespace {

// A balanced sum of 2^depth leaves "TIME": 2^(depth+1) - 1 nodes, 11 * 2^depth - 7 characters.
std::wstring balanced(int depth) {
    if (depth == 0) return L"TIME";
    std::wstring const half = balanced(depth - 1);
    return L"( " + half + L" + " + half + L" )";
}

// Every node's random value, parents before children.
void collectRandoms(Orvex::AnimationTerm const* term, std::vector<double>& out) {
    if (!term) return;
    out.push_back(term->random);
    collectRandoms(term->left.get(), out);
    collectRandoms(term->right.get(), out);
}

std::vector<double> randoms(Orvex::AnimationTerm const& term) {
    std::vector<double> out;
    collectRandoms(&term, out);
    return out;
}

}  // namespace

// Every copy evaluates its formula at every update: a text longer, or of more nodes, than a speed
// could need is refused whole, with one line naming its owner; up to the bounds it is read.
TEST(AnimationFormula, SizeIsBoundedAndTooBigIsRefusedWithOneLine) {
    struct Case {
        char const* name;
        std::wstring text;
        bool refused;
        wchar_t const* line;
    };
    static_assert(Orvex::AnimationTerm::kMaxNodes == 512 && Orvex::AnimationTerm::kMaxLength == 8192);
    std::wstring const longest = L"2" + std::wstring(8190, L' ') + L"3";
    Case const cases[] = {
        {"511 nodes", balanced(8), false, nullptr},
        {"1,023 nodes in 5,625 characters", balanced(9), true,
         L"\"x.ani\": animation \"A\": speed formula of more than 512 nodes left out"},
        {"8,192 characters", longest, false, nullptr},
        {"8,193 characters", longest + L" ", true,
         L"\"x.ani\": animation \"A\": speed formula of more than 8192 characters left out"},
        {"1.5 MB of nested functions", [] {
             std::wstring nested;
             for (int i = 0; i < 300000; ++i) nested += L"sin[ ";
             return nested + L"1";
         }(), true, L"characters left out"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        logtest::LogWatch const watch;
        auto term = compileAnimationTerm(c.text, L"\"x.ani\": animation \"A\"");
        EXPECT_EQ(term == nullptr, c.refused);
        auto const lines = watch.lines();
        ASSERT_EQ(lines.size(), c.refused ? 1u : 0u);
        if (c.refused) EXPECT_TRUE(logtest::contains(lines[0], c.line)) << std::string(lines[0].begin(), lines[0].end());
    }
    EXPECT_DOUBLE_EQ(compileAnimationTerm(balanced(8))->evaluate(clockAt(0.5)), 128.0);
}

// A copy with new random values draws them in the order a compile of the text draws them, so
// it is the tree a compile at that point of the engine's generator would make.
TEST(AnimationFormula, RedrawnCopyDrawsAsACompileWould) {
    for (wchar_t const* text : {L"rand[ 2 , 4 ] + rand[ 1 ]", L"rand[ rand[ 1 , 2 ] , sin[ rand[ 3 ] ] ] * (TIME MIN 2)",
                                L"1 2 3", L"", L"rand[ 5 , ( 1 + rand[ 2 , 3 ] ) ] MOD rand[ 9 ]"}) {
        SCOPED_TRACE(std::string(text, text + wcslen(text)));
        auto const source = compileAnimationTerm(text);
        Orvex::seedRandom(77);
        auto const compiled = compileAnimationTerm(text);
        double const next = Orvex::randomUnit();
        Orvex::seedRandom(77);
        auto const redrawn = source->redrawn();
        EXPECT_EQ(Orvex::randomUnit(), next);
        EXPECT_EQ(randoms(*redrawn), randoms(*compiled));
        EXPECT_NE(randoms(*redrawn), randoms(*source));
        for (double t : {0.0, 0.3, 2.5}) EXPECT_EQ(redrawn->evaluate(clockAt(t)), compiled->evaluate(clockAt(t)));
    }
}
