// The readers of untrusted data files: an attribute read into a field when it is usable and
// absent or refused leaving the field as it was, each refusal noted with the element's line; an
// object's refusals logged as one line naming the object, the file, the first problem's line and
// how many more there were, then forgotten.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>

#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"
#include "tests/engine/core/LogWatch.h"

namespace {

using Orvex::ReadProblems;

Orvex::XMLNode element(std::wstring const& text) {
    Orvex::XMLNode node;
    EXPECT_TRUE(node.loadFromText(text));
    return node;
}

// <E V="text"/>, or <E/> for a null text.
Orvex::XMLNode elementWithV(wchar_t const* text) {
    return element(text ? std::wstring(L"<E V=\"") + text + L"\"/>" : std::wstring(L"<E/>"));
}

class ReadProblemsTest : public ::testing::Test {};

TEST_F(ReadProblemsTest, NumbersAreTakenWhenUsableAndRefusedOtherwise) {
    // Each row reads "V" of <E V="text"/> (no attribute for a null text) into a field holding 7.
    struct Row {
        char const* what;
        wchar_t const* text;
        float finite;   // readFloat
        float bounded;  // readFloat within [-2, 2.5]
        int count;      // readInt within [0, 10]
        int problems;   // over the three
    } const rows[] = {
        {"absent", nullptr, 7.0f, 7.0f, 7, 0},
        {"inside", L"2", 2.0f, 2.0f, 2, 0},
        {"the upper bound", L"2.5", 2.5f, 2.5f, 2, 0},
        {"the lower bound", L"-2", -2.0f, -2.0f, 7, 1},
        {"above", L"11", 11.0f, 7.0f, 7, 2},
        {"past float range", L"1e39", 7.0f, 7.0f, 1, 2},
        {"not a number", L"nan", 7.0f, 7.0f, 0, 2},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        Orvex::XMLNode const node = elementWithV(row.text);
        ReadProblems problems;
        float finite = 7.0f, bounded = 7.0f;
        int count = 7;
        Orvex::readFloat(node, L"V", finite, problems);
        Orvex::readFloat(node, L"V", bounded, -2.0f, 2.5f, problems);
        Orvex::readInt(node, L"V", count, 0, 10, problems);
        EXPECT_EQ(finite, row.finite);
        EXPECT_EQ(bounded, row.bounded);
        EXPECT_EQ(count, row.count);
        EXPECT_EQ(problems.size(), static_cast<std::size_t>(row.problems));
    }
}

TEST_F(ReadProblemsTest, NumberListsAreTakenWholeWhenEachIsWithinItsBounds) {
    // Each row reads "V" of <E V="text"/> (no attribute for a null text) into two fields holding 7,
    // within [-1e6, 1e6] and as finite numbers.
    struct Row {
        char const* what;
        wchar_t const* text;
        std::size_t boundedCount;
        float boundedSecond;
        std::size_t finiteCount;
        std::size_t problems;  // over the two
    } const rows[] = {
        {"absent", nullptr, 0, 7.0f, 0, 0},
        {"empty", L"", 0, 7.0f, 0, 0},
        {"one number", L"0.5", 1, 7.0f, 1, 0},
        {"pieces past the fields are not read", L"0.5 -1e6 nan", 2, -1.0e6f, 2, 0},
        {"one beyond the bound refuses the list", L"0.5 3e38", 0, 7.0f, 2, 1},
        {"past float range", L"1e39 1", 0, 7.0f, 0, 2},
        {"not a number", L"1 nan", 0, 7.0f, 0, 2},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        Orvex::XMLNode const node = elementWithV(row.text);
        ReadProblems problems;
        float bounded[2] = {7.0f, 7.0f}, finite[2] = {7.0f, 7.0f};
        EXPECT_EQ(Orvex::readFloats(node, L"V", bounded, -1.0e6f, 1.0e6f, problems), row.boundedCount);
        EXPECT_EQ(bounded[1], row.boundedSecond);
        EXPECT_EQ(Orvex::readFloats(node, L"V", finite, -FLT_MAX, FLT_MAX, problems), row.finiteCount);
        EXPECT_EQ(problems.size(), row.problems);
    }
    // The refusal quotes at most 48 characters of the text and names the bounds.
    Orvex::XMLNode const node = element(L"<E>\n<F V=\"3e38 " + std::wstring(60, L'1') + L"\"/></E>");
    ReadProblems problems;
    float numbers[4];
    EXPECT_EQ(Orvex::readFloats(*node.getChild(L"F"), L"V", numbers, -1.0f, 1.0f, problems), 0u);
    logtest::LogWatch watch;
    problems.log(L"Thing", L"t.dat");
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(watch.errors()[0], L"Thing in \"t.dat\" at line 2: \"V\" \"3e38 " +
                                                         std::wstring(43, L'1') +
                                                         L"...\" (65 characters) is not a list of numbers within -1..1"))
        << std::string(watch.errors()[0].begin(), watch.errors()[0].end());
}

TEST_F(ReadProblemsTest, SizesPlacesAndScalesAreReadWithinOneMillion) {
    // Each row reads "V" of <E V="text"/> as one measure into a field holding 7 and as a list of two
    // into fields holding 7.
    struct Row {
        char const* what;
        wchar_t const* text;
        float one;
        std::size_t count;
        float second;
        std::size_t problems;  // over the two
    } const rows[] = {
        {"the upper bound", L"1e6", 1.0e6f, 1, 7.0f, 0},
        {"the lower bound", L"-1000000 1e6", -1.0e6f, 2, 1.0e6f, 0},
        {"just beyond", L"1000001", 7.0f, 0, 7.0f, 2},
        {"beyond, with a cell a float's end", L"3e38 1", 7.0f, 0, 7.0f, 2},
        {"below", L"1 -3e38", 1.0f, 0, 7.0f, 1},
        {"not a number", L"nan", 7.0f, 0, 7.0f, 2},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        Orvex::XMLNode const node = elementWithV(row.text);
        ReadProblems problems;
        float one = 7.0f;
        float two[2] = {7.0f, 7.0f};
        Orvex::readMeasure(node, L"V", one, problems);
        EXPECT_EQ(Orvex::readMeasures(node, L"V", two, problems), row.count);
        EXPECT_EQ(one, row.one);
        EXPECT_EQ(two[1], row.second);
        EXPECT_EQ(problems.size(), row.problems);
    }
    EXPECT_EQ(Orvex::kMaxMeasure, 1.0e6f);
}

TEST_F(ReadProblemsTest, DoublesKeepTheirPrecisionAndFlagsTheirDefault) {
    Orvex::XMLNode const node = element(L"<E D=\"0.1\" F=\"1\" G=\"0\"/>");
    ReadProblems problems;
    double d = 5.0;
    Orvex::readDouble(node, L"D", d, 0.0, 1.0, problems);
    EXPECT_EQ(d, 0.1);
    Orvex::readDouble(node, L"F", d, 2.0, 3.0, problems);
    EXPECT_EQ(d, 0.1) << "refused: below the range";
    bool f = false, g = true, absent = true;
    Orvex::readBool(node, L"F", f);
    Orvex::readBool(node, L"G", g);
    Orvex::readBool(node, L"H", absent);
    EXPECT_TRUE(f);
    EXPECT_FALSE(g);
    EXPECT_TRUE(absent);
    EXPECT_EQ(problems.size(), 1u);
    ASSERT_NE(Orvex::attributeText(node, L"D"), nullptr);
    EXPECT_EQ(*Orvex::attributeText(node, L"D"), L"0.1");
    EXPECT_EQ(Orvex::attributeText(node, L"H"), nullptr);
}

TEST_F(ReadProblemsTest, AnObjectsRefusalsMakeOneLineWithTheFirstProblemsLine) {
    Orvex::XMLNode const node = element(L"<E>\n<A V=\"-1\"/>\n<B V=\"99\"/>\n</E>");
    ReadProblems problems;
    float value = 1.0f;
    int count = 1;
    Orvex::readFloat(*node.getChild(L"A"), L"V", value, 0.0f, 5.0f, problems);
    Orvex::readInt(*node.getChild(L"B"), L"V", count, 0, 9, problems);
    logtest::LogWatch watch;
    problems.log(L"Thing \"T\"", L"things.dat", 1);
    std::vector<std::wstring> const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"Thing \"T\" in \"things.dat\" at line 2: \"V\" \"-1\" is not a number within 0..5"))
        << std::string(errors[0].begin(), errors[0].end());
    EXPECT_TRUE(logtest::contains(errors[0], L"(1 further problems); skipped"));
    EXPECT_TRUE(problems.empty()) << "logged problems are forgotten";
    problems.log(L"Thing \"T\"", L"things.dat", 1);
    EXPECT_EQ(watch.errors().size(), 1u) << "nothing to log, no line";
    // Without a line of its own, a problem is placed at the object's line.
    problems.add(L"odd");
    problems.log(L"Thing \"U\"", L"", 4);
    ASSERT_EQ(watch.errors().size(), 2u);
    EXPECT_TRUE(logtest::contains(watch.errors()[1], L"Thing \"U\" at line 4: odd; skipped"));
}

TEST_F(ReadProblemsTest, AbsorbedProblemsTakeThePrefixAndALineWhereTheyHadNone) {
    ReadProblems inner, outer;
    inner.add(L"first");
    inner.add(L"second", 9);
    outer.absorb(inner, L"\"PART\": ", 3);
    EXPECT_TRUE(inner.empty());
    ASSERT_EQ(outer.size(), 2u);
    logtest::LogWatch watch;
    outer.log(L"Whole", L"w.dat");
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(watch.errors()[0], L"Whole in \"w.dat\" at line 3: \"PART\": first (1 further"));
}

}  // namespace
