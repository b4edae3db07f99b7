// The animation formula language: tokens, the leftmost-operator split without precedence,
// bracket functions, the fixed random value of rand[, and the bounds on nesting and on values
// that are not finite.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <string>

#include "engine/core/Random.h"
#include "engine/render/AnimationFormula.h"

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
    // 100,000 operators and 50,000 parentheses would recurse as deep as they are long.
    std::wstring chain;
    for (int i = 0; i < 100000; ++i) chain += L"1 + ";
    auto term = compileAnimationTerm(chain + L"1");
    EXPECT_LE(term->depth(), Orvex::AnimationTerm::kMaxDepth + 1);
    // The cut-off tail counts as 0: one 1 per operator level whose left operand was kept.
    EXPECT_DOUBLE_EQ(term->evaluate(AnimationClock()), static_cast<double>(Orvex::AnimationTerm::kMaxDepth - 1));
    EXPECT_EQ(Orvex::AnimationTerm(*term).depth(), term->depth());

    EXPECT_DOUBLE_EQ(eval(std::wstring(50000, L'(') + L"7" + std::wstring(50000, L')')), 7.0);
    std::wstring functions;
    for (int i = 0; i < 20000; ++i) functions += L"sin[";
    EXPECT_LE(compileAnimationTerm(functions + L"1")->depth(), Orvex::AnimationTerm::kMaxDepth + 1);
    std::wstring shallow;
    for (int i = 0; i < 50; ++i) shallow += L"1 + ";
    EXPECT_DOUBLE_EQ(eval(shallow + L"1"), 51.0) << "shallow terms keep their full value";
}
