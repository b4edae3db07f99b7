// Parsing property texts: the syntax, tree lookups, and damaged input.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/XMLNode.h"
#include "tests/engine/core/test_xml_support.h"

using Orvex::XMLAttribute;
using Orvex::XMLNode;
using xmltest::contains;
using xmltest::LogWatch;

namespace {

char const* const kSample =
    "<?xml version=\"1.0\"?>\n"
    "<!-- a comment with <TAGS> inside -->\n"
    "<ROOT NAME=\"Main\" EMPTY=\"\" URL=\"a/b>c\">\n"
    "  stray text is ignored\n"
    "  \"|first value|\"\n"
    "  <CHILD INDEX=\"0\"/>\n"
    "  <OTHER>\"|with \"quotes\" and <tags> |inside|\"</OTHER>\n"
    "  <CHILD INDEX=\"1\" >\n"
    "     <!DOCTYPE anything>\n"
    "     <GRANDCHILD/>\n"
    "  </CHILD>\n"
    "  <CHILD INDEX = \"2\" />\n"
    "  \"|second value|\"\n"
    "</ROOT>\n"
    "trailing text\n";

std::wstring widen(char const* text) { return std::wstring(text, text + std::char_traits<char>::length(text)); }

}  // namespace

TEST(XMLParse, ReadsElementsAttributesAndValues) {
    XMLNode root;
    LogWatch log;
    ASSERT_TRUE(root.loadFromText(widen(kSample)));
    EXPECT_TRUE(log.errors().empty());

    EXPECT_EQ(root.getName(), L"ROOT");
    ASSERT_EQ(root.getAttributeCount(), 3u);
    EXPECT_EQ(root.getAttributeAt(0)->getName(), L"NAME");
    EXPECT_EQ(root.getAttribute(L"NAME")->getString(), L"Main");
    EXPECT_EQ(root.getAttribute(L"EMPTY")->getString(), L"");
    EXPECT_EQ(root.getAttribute(L"URL")->getString(), L"a/b>c");
    EXPECT_EQ(root.getAttribute(L"name"), nullptr);

    ASSERT_EQ(root.getValueCount(), 2u);
    EXPECT_EQ(root.getValue(0)->getString(), L"first value");
    EXPECT_EQ(root.getValue(1)->getString(), L"second value");
    EXPECT_EQ(root.getValue(2), nullptr);

    EXPECT_EQ(root.getChildCount(L"CHILD"), 3u);
    EXPECT_EQ(root.getChildCount(), 4u);
    EXPECT_EQ(root.getChild(L"CHILD", -1)->getAttribute(L"INDEX")->getInt(), 0);
    EXPECT_EQ(root.getChild(L"CHILD", 0)->getAttribute(L"INDEX")->getInt(), 0);
    EXPECT_EQ(root.getChild(L"CHILD", 2)->getAttribute(L"INDEX")->getInt(), 2);
    EXPECT_EQ(root.getChild(L"CHILD", 3), nullptr);
    EXPECT_EQ(root.getChild(L"", 1)->getName(), L"OTHER");
    EXPECT_EQ(root.getChild(L"MISSING"), nullptr);
    EXPECT_EQ(root.getChild(L"CHILD", 1)->getChildCount(L"GRANDCHILD"), 1u);

    XMLNode const* other = root.getChild(L"OTHER");
    ASSERT_EQ(other->getValueCount(), 1u);
    EXPECT_EQ(other->getValue(0)->getString(), L"with \"quotes\" and <tags> |inside");
}

TEST(XMLParse, ValuesAreVerbatimAcrossLines) {
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<A>\"|line one\r\n\tline two |\"\"||\"</A>"));
    ASSERT_EQ(root.getValueCount(), 2u);
    EXPECT_EQ(root.getValue(0)->getString(), L"line one\r\n\tline two ");
    EXPECT_EQ(root.getValue(1)->getString(), L"");
}

TEST(XMLParse, GermanKeysComeThrough) {
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<REGEL K\u00d6NIG=\"1\"><VERKN\u00dcPFT/></REGEL>"));
    EXPECT_NE(root.getAttribute(L"K\u00d6NIG"), nullptr);
    EXPECT_NE(root.getChild(L"VERKN\u00dcPFT"), nullptr);
}

TEST(XMLParse, LoadingReplacesTheOldTree) {
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<A X=\"1\"><B/></A>"));
    ASSERT_TRUE(root.loadFromText(L"<C/>"));
    EXPECT_EQ(root.getName(), L"C");
    EXPECT_TRUE(root.isEmpty());
}

// Each damaged text keeps what came before the damage and logs exactly one error line.
struct DamagedCase {
    char const* name;
    std::wstring text;
    int childrenKept;
};

class XMLParseDamaged : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(XMLParseDamaged, KeepsWhatWasReadAndLogsOneLine) {
    XMLNode root;
    LogWatch log;
    root.loadFromText(GetParam().text, L"broken.xml");
    auto errors = log.errors();
    ASSERT_EQ(errors.size(), 1u) << GetParam().name;
    EXPECT_TRUE(contains(errors[0], L"broken.xml")) << errors[0];
    EXPECT_EQ(static_cast<int>(root.getChildCount()), GetParam().childrenKept) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XMLParseDamaged,
    ::testing::Values(DamagedCase{"unterminated tag", L"<R><A/><B X=\"1\"", 2},
                      DamagedCase{"unterminated attribute", L"<R><A/><B X=\"1 /></R>", 2},
                      DamagedCase{"unterminated value", L"<R><A/>\"|never ends</R>", 1},
                      DamagedCase{"unterminated comment", L"<R><A/><!-- no end <B/></R>", 1},
                      DamagedCase{"unterminated declaration", L"<?xml <R/>", 0},
                      DamagedCase{"missing close", L"<R><A/><B>", 2},
                      DamagedCase{"mismatched close", L"<R><A><B/></R>", 1},
                      DamagedCase{"stray close", L"<R><A/></Z><B/></R>", 2},
                      DamagedCase{"attribute without value", L"<R><A FLAG/><B/></R>", 2},
                      DamagedCase{"unquoted attribute", L"<R><A X=1/><B/></R>", 2},
                      DamagedCase{"second root", L"<R><A/></R><S/>", 1},
                      DamagedCase{"lone bracket", L"<R><A/><", 1},
                      DamagedCase{"no element", L"just text", 0},
                      DamagedCase{"empty", L"", 0}),
    [](auto const& info) {
        std::string name = info.param.name;
        for (auto& c : name)
            if (c == ' ') c = '_';
        return name;
    });

TEST(XMLParse, DeepNestingNeitherCrashesNorRecurses) {
    const int depth = 10000;
    std::wstring text;
    for (int i = 0; i < depth; ++i) text += L"<N D=\"" + std::to_wstring(i) + L"\">";
    text += L"\"|deep|\"";
    for (int i = 0; i < depth; ++i) text += L"</N>";

    XMLNode root;
    LogWatch log;
    ASSERT_TRUE(root.loadFromText(text, L"deep.xml"));
    auto errors = log.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(contains(errors[0], L"deep.xml"));

    // The kept levels stop at the depth limit; everything below was skipped.
    XMLNode const* node = &root;
    Orvex::u32 levels = 1;
    while (node->getChildCount() > 0) {
        node = node->getChild(L"");
        ++levels;
    }
    EXPECT_EQ(levels, XMLNode::kMaxDepth);
    EXPECT_EQ(node->getValueCount(), 0u);

    // Copying, comparing, writing and destroying deep trees works without recursion.
    XMLNode built(L"N");
    XMLNode* tip = &built;
    for (int i = 0; i < 100000; ++i) tip = tip->addChild(L"N");
    XMLNode copy(built);
    EXPECT_TRUE(copy.equals(built));
    tip->addValue(L"differs deep down");
    EXPECT_FALSE(copy.equals(built));

    XMLNode written(L"N");
    tip = &written;
    for (int i = 0; i < 2000; ++i) tip = tip->addChild(L"N");
    XMLNode reread;
    EXPECT_TRUE(reread.loadFromText(written.toText()));
    EXPECT_EQ(reread.getChildCount(), 1u);
}

TEST(XMLParse, ContentAfterAClosedDeepElementIsKept) {
    // Skipped levels close again, and later siblings at kept levels are read.
    std::wstring text = L"<R>";
    for (Orvex::u32 i = 0; i < XMLNode::kMaxDepth + 5; ++i) text += L"<N>";
    for (Orvex::u32 i = 0; i < XMLNode::kMaxDepth + 5; ++i) text += L"</N>";
    text += L"<AFTER/></R>";
    XMLNode root;
    root.loadFromText(text);
    EXPECT_NE(root.getChild(L"AFTER"), nullptr);
}

TEST(XMLTree, CopyFromIsDeepAndClearEmpties) {
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(widen(kSample)));
    XMLNode copy;
    copy.copyFrom(root);
    EXPECT_TRUE(copy.equals(root));
    copy.getChild(L"CHILD", 1)->getChild(L"GRANDCHILD")->addValue(L"changed");
    EXPECT_FALSE(copy.equals(root));
    EXPECT_EQ(root.getChild(L"CHILD", 1)->getChild(L"GRANDCHILD")->getValueCount(), 0u);

    // Copying a part of the tree into the tree itself.
    XMLNode* child = copy.getChild(L"CHILD", 1);
    copy.copyFrom(*child);
    EXPECT_EQ(copy.getName(), L"CHILD");
    EXPECT_EQ(copy.getChildCount(L"GRANDCHILD"), 1u);

    copy.clear();
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(copy.getName(), L"");
}

TEST(XMLTree, AddRemoveAndSetAttribute) {
    XMLNode root(L"R");
    EXPECT_EQ(root.addChild(static_cast<XMLNode*>(nullptr)), nullptr);
    EXPECT_EQ(root.addAttribute(nullptr), nullptr);
    XMLNode* a = root.addChild(L"A");
    root.addChild(L"B");
    root.setAttribute(L"K", L"1");
    root.setAttribute(L"K", L"2");
    EXPECT_EQ(root.getAttributeCount(), 1u);
    EXPECT_EQ(root.getAttribute(L"K")->getString(), L"2");
    EXPECT_TRUE(root.removeChild(a));
    EXPECT_FALSE(root.removeChild(a));
    EXPECT_EQ(root.getChild(L"")->getName(), L"B");
}

TEST(XMLTree, UnusualNamesSurviveWritingAndReading) {
    // An element without name or attributes must not be written as "</>", a closing tag.
    XMLNode root(L"R");
    root.addChild(L"");
    root.addChild(L"")->addAttribute(new XMLAttribute(L"", L"v"));
    root.addChild(L"A<B=C|");
    XMLNode reread;
    ASSERT_TRUE(reread.loadFromText(root.toText()));
    EXPECT_TRUE(reread.equals(root)) << std::string(reread.toText().begin(), reread.toText().end());
}

TEST(XMLParse, ControlCharactersAndHighCharactersAreNotSyntax) {
    // Characters above U+FFFF and below the blank: only blanks separate, nothing else breaks.
    std::wstring text = L"<R";
    text += L'\x01';  // below the blank: separates like one
    text += L"A=\"\U0001F600\">\"|";
    text += L'\0';
    text += L"|\"</R>";
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(text));
    EXPECT_EQ(root.getName(), L"R");
    EXPECT_EQ(root.getAttribute(L"A")->getString(), L"\U0001F600");
    ASSERT_EQ(root.getValueCount(), 1u);
    EXPECT_EQ(root.getValue(0)->getString(), std::wstring(1, L'\0'));
}

TEST(XMLTree, UnwritableCharactersAreReplacedSoTheTextReadsBack) {
    // Without escapes, a " in an attribute or |" in a value would end it early and garble the
    // rest of the file; the writer replaces them instead.
    XMLNode root(L"R");
    root.addAttribute(new XMLAttribute(L"QUOTE", L"say \"hi\""));
    root.addValue(L"pipe|\"quote");
    root.addChild(L"has space/slash");
    root.addChild(L"!BANG");
    root.addChild(L"AFTER")->addAttribute(new XMLAttribute(L"bad name=", L"x"));
    XMLNode reread;
    ASSERT_TRUE(reread.loadFromText(root.toText()));
    EXPECT_EQ(reread.getAttribute(L"QUOTE")->getString(), L"say 'hi'");
    EXPECT_EQ(reread.getValue(0)->getString(), L"pipe|'quote");
    EXPECT_NE(reread.getChild(L"has_space_slash"), nullptr);
    EXPECT_NE(reread.getChild(L"_BANG"), nullptr);
    ASSERT_NE(reread.getChild(L"AFTER"), nullptr);
    EXPECT_NE(reread.getChild(L"AFTER")->getAttribute(L"bad_name_"), nullptr);
}

TEST(XMLTree, MoveAssigningAPartOfTheTreeKeepsThatPart) {
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<R><A X=\"1\"><B/></A></R>"));
    root = std::move(*root.getChild(L"A"));
    EXPECT_EQ(root.getName(), L"A");
    EXPECT_EQ(root.getAttribute(L"X")->getInt(), 1);
    EXPECT_NE(root.getChild(L"B"), nullptr);
}

TEST(XMLParse, ValuesInsideSkippedDeepLevelsDoNotBreakNesting) {
    // A skipped level's value holding "</N>" must not close a level.
    std::wstring text = L"<R>";
    for (Orvex::u32 i = 0; i < XMLNode::kMaxDepth; ++i) text += L"<N>";
    text += L"\"|</N></N><FAKE/>|\"";
    for (Orvex::u32 i = 0; i < XMLNode::kMaxDepth; ++i) text += L"</N>";
    text += L"<AFTER/></R>";
    XMLNode root;
    LogWatch log;
    root.loadFromText(text);
    EXPECT_EQ(log.errors().size(), 1u);  // only the depth limit
    EXPECT_NE(root.getChild(L"AFTER"), nullptr);
    EXPECT_EQ(root.getChildCount(), 2u);
}
