// The animation formula language: tokens, the leftmost-operator split without precedence,
// parentheses, bracket functions with their argument order, the fixed random value of rand[,
// copies, and the bounds on nesting and on values that are not finite.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/core/Logger.h"
#include "engine/core/Random.h"
#include "engine/render/AnimationFormula.h"

using Orvex::AnimationClock;
using Orvex::compileAnimationTerm;

namespace {

double eval(std::wstring const& text, AnimationClock const& clock = AnimationClock()) {
    return compileAnimationTerm(text)->evaluate(clock);
}

AnimationClock clockAt(double time) {
    AnimationClock c;
    c.time = time;
    c.dTime = 0.25;
    c.timeUp = time * 2.0;
    c.dTimeUp = 0.5;
    return c;
}

}  // namespace

TEST(AnimationFormula, TokensSplitAtOperatorsAndKeepFunctionBrackets) {
    std::vector<std::wstring> expected = {L"2", L"*", L"sin[", L"TIME", L"]", L"+", L"(", L"1", L")"};
    EXPECT_EQ(Orvex::tokenizeAnimationTerm(L"2*sin[TIME]+(1)"), expected);
    EXPECT_EQ(Orvex::tokenizeAnimationTerm(L"2 * sin[ TIME ] + ( 1 )"), expected);
    // Only the blank separates: a tab stays inside its token.
    std::vector<std::wstring> tabbed = {L"1\t2"};
    EXPECT_EQ(Orvex::tokenizeAnimationTerm(L"1\t2"), tabbed);
    EXPECT_TRUE(Orvex::tokenizeAnimationTerm(L"   ").empty());
}

TEST(AnimationFormula, LeftmostOperatorSplitsWithoutPrecedence) {
    EXPECT_DOUBLE_EQ(eval(L"1 + 2 * 3"), 7.0);
    EXPECT_DOUBLE_EQ(eval(L"2 * 3 + 1"), 8.0);
    EXPECT_DOUBLE_EQ(eval(L"10 - 2 - 3"), 11.0);
    EXPECT_DOUBLE_EQ(eval(L"(10 - 2) - 3"), 5.0);
    EXPECT_DOUBLE_EQ(eval(L"((10 - 2)) - 3"), 5.0);
    EXPECT_DOUBLE_EQ(eval(L"(1) + (2)"), 3.0);
    EXPECT_DOUBLE_EQ(eval(L"((4))"), 4.0);
    EXPECT_DOUBLE_EQ(eval(L"8 / 2 / 2"), 8.0);
}

TEST(AnimationFormula, MissingOperandsAndUnknownWordsReadAsZero) {
    EXPECT_DOUBLE_EQ(eval(L"-3"), -3.0);
    EXPECT_DOUBLE_EQ(eval(L"5 *"), 0.0);
    EXPECT_DOUBLE_EQ(eval(L""), 0.0);
    EXPECT_DOUBLE_EQ(eval(L"speed"), 0.0);
    EXPECT_DOUBLE_EQ(eval(L"2.5"), 2.5);
    EXPECT_DOUBLE_EQ(eval(L"1 2"), 0.0);  // no operator: an empty node
    EXPECT_DOUBLE_EQ(eval(L"( 1 + 2"), 0.0);  // unbalanced: no operator at depth 0
    EXPECT_EQ(compileAnimationTerm(L"1 2")->token, L"");
}

TEST(AnimationFormula, MinMaxMod) {
    EXPECT_DOUBLE_EQ(eval(L"3 MIN 5"), 3.0);
    EXPECT_DOUBLE_EQ(eval(L"3 MAX 5"), 5.0);
    EXPECT_DOUBLE_EQ(eval(L"4 MAX 4"), 4.0);
    EXPECT_DOUBLE_EQ(eval(L"7 MOD 4"), 3.0);
    EXPECT_DOUBLE_EQ(eval(L"7.5 MOD 2"), 1.5);
}

TEST(AnimationFormula, TimeVariablesAndFunctions) {
    AnimationClock c = clockAt(0.7);
    EXPECT_DOUBLE_EQ(eval(L"TIME", c), 0.7);
    EXPECT_DOUBLE_EQ(eval(L"D_TIME", c), 0.25);
    EXPECT_DOUBLE_EQ(eval(L"TIME_UP", c), 1.4);
    EXPECT_DOUBLE_EQ(eval(L"D_TIME_UP", c), 0.5);
    EXPECT_NEAR(eval(L"2 * sin[ TIME ]", c), 2.0 * std::sin(0.7), 1e-12);
    // Tokens after the closing bracket are not part of the term.
    EXPECT_NEAR(eval(L"sin[ TIME ] * 2", c), std::sin(0.7), 1e-12);
    EXPECT_NEAR(eval(L"sin[TIME]", c), std::sin(0.7), 1e-12);
    EXPECT_NEAR(eval(L"cos[ TIME * 2 ]", c), std::cos(1.4), 1e-12);
    EXPECT_NEAR(eval(L"asin[ 0.5 ]", c), std::asin(0.5), 1e-12);
    EXPECT_NEAR(eval(L"acos[ 0.5 ]", c), std::acos(0.5), 1e-12);
    EXPECT_NEAR(eval(L"sin[ cos[ TIME ] ]", c), std::sin(std::cos(0.7)), 1e-12);
    // An unclosed bracket takes the rest of the text as its argument.
    EXPECT_NEAR(eval(L"sin[ TIME", c), std::sin(0.7), 1e-12);
}

TEST(AnimationFormula, RandIsFixedPerCompiledTreeAndKeptByCopies) {
    Orvex::seedRandom(42);
    auto term = compileAnimationTerm(L"rand[ 2 , 4 ]");
    double const first = term->evaluate(AnimationClock());
    EXPECT_GE(first, 2.0);
    EXPECT_LE(first, 4.0);
    for (int i = 0; i < 5; ++i) EXPECT_DOUBLE_EQ(term->evaluate(clockAt(i)), first);
    // The first argument goes right, the second left: (left - right) * random + right.
    EXPECT_EQ(term->right->token, L"2");
    EXPECT_EQ(term->left->token, L"4");
    EXPECT_DOUBLE_EQ(first, 2.0 + 2.0 * term->random);

    Orvex::AnimationTerm copy(*term);
    EXPECT_DOUBLE_EQ(copy.evaluate(AnimationClock()), first);

    // A new compile draws new values; with one argument the range is [0, x].
    bool differs = false;
    for (int i = 0; i < 8 && !differs; ++i) differs = compileAnimationTerm(L"rand[ 2 , 4 ]")->evaluate(AnimationClock()) != first;
    EXPECT_TRUE(differs);
    auto single = compileAnimationTerm(L"rand[ 10 ]");
    EXPECT_DOUBLE_EQ(single->evaluate(AnimationClock()), 10.0 * single->random);
}

TEST(AnimationFormula, ValuesThatAreNotFiniteGiveZero) {
    EXPECT_DOUBLE_EQ(eval(L"1 / 0"), 0.0);
    EXPECT_DOUBLE_EQ(eval(L"0 / 0"), 0.0);
    EXPECT_DOUBLE_EQ(eval(L"asin[ 2 ]"), 0.0);
    EXPECT_DOUBLE_EQ(eval(L"5 MOD 0"), 0.0);
    EXPECT_DOUBLE_EQ(eval(L"inf"), 0.0);
    EXPECT_DOUBLE_EQ(eval(L"1e308 * 1e308"), 0.0);  // "1e308" stays one token
    EXPECT_DOUBLE_EQ(eval(L"3 + 1 / 0"), 3.0);
}

TEST(AnimationFormula, DeepNestingIsBoundedAndStillEvaluates) {
    // 100,000 operators and 50,000 parentheses would recurse as deep as they are long.
    std::wstring chain;
    for (int i = 0; i < 100000; ++i) chain += L"1 + ";
    chain += L"1";
    auto term = compileAnimationTerm(chain);
    EXPECT_LE(term->depth(), Orvex::AnimationTerm::kMaxDepth + 1);
    // The cut-off tail counts as 0: one 1 per operator level whose left operand was kept.
    EXPECT_DOUBLE_EQ(term->evaluate(AnimationClock()), static_cast<double>(Orvex::AnimationTerm::kMaxDepth - 1));
    Orvex::AnimationTerm copy(*term);
    EXPECT_EQ(copy.depth(), term->depth());

    std::wstring parens(50000, L'(');
    parens += L"7";
    parens += std::wstring(50000, L')');
    EXPECT_DOUBLE_EQ(eval(parens), 7.0);

    std::wstring functions;
    for (int i = 0; i < 20000; ++i) functions += L"sin[";
    functions += L"1";
    EXPECT_LE(compileAnimationTerm(functions)->depth(), Orvex::AnimationTerm::kMaxDepth + 1);

    // Shallow terms keep their full value.
    std::wstring shallow;
    for (int i = 0; i < 50; ++i) shallow += L"1 + ";
    shallow += L"1";
    EXPECT_DOUBLE_EQ(eval(shallow), 51.0);
}
