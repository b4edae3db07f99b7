// Parsing property texts: the syntax, tree operations and walks, the writer's replacements, and
// damaged input.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/XMLNode.h"
#include "tests/engine/core/LogWatch.h"

using logtest::contains;
using logtest::LogWatch;
using Orvex::XMLAttribute;
using Orvex::XMLNode;

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

// Text opening `depth` levels, then `inner`, closing them again.
std::wstring nested(Orvex::u32 depth, std::wstring const& inner) {
    std::wstring text;
    for (Orvex::u32 i = 0; i < depth; ++i) text += L"<N>";
    text += inner;
    for (Orvex::u32 i = 0; i < depth; ++i) text += L"</N>";
    return text;
}

}  // namespace

TEST(XMLParse, ReadsElementsAttributesAndValues) {
    XMLNode root;
    LogWatch log;
    ASSERT_TRUE(root.loadFromText(widen(kSample)));
    EXPECT_TRUE(log.errors().empty());

    EXPECT_EQ(root.getName(), L"ROOT");
    ASSERT_EQ(root.getAttributeCount(), 3u);
    EXPECT_EQ(root.getAttributeAt(0)->getName(), L"NAME");
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
    EXPECT_EQ(root.getChild(L"CHILD", 2)->getAttribute(L"INDEX")->getInt(), 2);
    EXPECT_EQ(root.getChild(L"CHILD", 3), nullptr);
    EXPECT_EQ(root.getChild(L"", 1)->getName(), L"OTHER");
    EXPECT_EQ(root.getChild(L"CHILD", 1)->getChildCount(L"GRANDCHILD"), 1u);
    EXPECT_EQ(root.getChild(L"OTHER")->getValue(0)->getString(), L"with \"quotes\" and <tags> |inside");

    // Values are verbatim across lines; German keys come through; loading replaces the old tree.
    ASSERT_TRUE(root.loadFromText(L"<REGEL K\u00d6NIG=\"1\">\"|line one\r\n\tline two |\"\"||\"<VERKN\u00dcPFT/></REGEL>"));
    ASSERT_EQ(root.getValueCount(), 2u);
    EXPECT_EQ(root.getValue(0)->getString(), L"line one\r\n\tline two ");
    EXPECT_EQ(root.getValue(1)->getString(), L"");
    EXPECT_NE(root.getAttribute(L"K\u00d6NIG"), nullptr);
    EXPECT_NE(root.getChild(L"VERKN\u00dcPFT"), nullptr);
    EXPECT_EQ(root.getAttributeCount(), 1u);
    EXPECT_EQ(root.getChildCount(), 1u);
}

// Readers name an element's line in their log lines: the same in every encoding, after copies.
TEST(XMLParse, ElementsKnowTheLineOfTheirStartTag) {
    std::string const text(kSample);
    std::string utf16{"\xFF\xFE"};
    for (char c : text) utf16 += {c, '\0'};
    XMLNode fromWide, fromBytes, fromUtf16;
    ASSERT_TRUE(fromWide.loadFromText(widen(kSample)));
    ASSERT_TRUE(fromBytes.loadFromBytes(reinterpret_cast<unsigned char const*>(text.data()), text.size(), L"t"));
    ASSERT_TRUE(fromUtf16.loadFromBytes(reinterpret_cast<unsigned char const*>(utf16.data()), utf16.size(), L"t"));
    XMLNode copy(fromWide);
    for (XMLNode const* root : {&fromWide, &fromBytes, &fromUtf16, &copy}) {
        EXPECT_EQ(root->getLine(), 3u);
        EXPECT_EQ(root->getChild(L"CHILD", 0)->getLine(), 6u);
        EXPECT_EQ(root->getChild(L"CHILD", 1)->getLine(), 8u);
        EXPECT_EQ(root->getChild(L"CHILD", 1)->getChild(L"GRANDCHILD")->getLine(), 10u);
        EXPECT_EQ(root->getChild(L"CHILD", 2)->getLine(), 12u);
    }
    EXPECT_EQ(XMLNode(L"MADE").getLine(), 0u);
    XMLNode oneLine;
    ASSERT_TRUE(oneLine.loadFromText(L"<A><B/><C/></A>"));
    EXPECT_EQ(oneLine.getChild(L"C")->getLine(), 1u);
}

// 8-bit files are searched and their lines counted eight bytes at a time: texts of every length
// around those words, bytes that differ from the syntax only in their high bit (0x8A and 0xBC
// beside "\n" and "<"), and a gap of thousands of lines read as the wide text of the same file.
TEST(XMLParse, EightBitTextReadsAsItsWideText) {
    std::string text = "<ROOT>\r\n";
    for (int i = 0; i < 120; ++i) {
        std::string filler(static_cast<std::size_t>(i % 19), i % 3 ? '\x8A' : '\xBC');
        text += std::string(static_cast<std::size_t>(i % 11), '\t') + "<E" + std::to_string(i) + " A=\"" + filler +
                "\" B=\"" + std::string(static_cast<std::size_t>(i % 23), 'x') + "\">\"|" + filler + "\n|\"" +
                std::string(static_cast<std::size_t>(i % 5), '\n') + "</E" + std::to_string(i) + ">\r\n";
        if (i == 60) text += std::string(5000, '\n') + std::string(3000, ' ');
    }
    text += "</ROOT>";
    XMLNode bytes, wide;
    ASSERT_TRUE(bytes.loadFromBytes(reinterpret_cast<unsigned char const*>(text.data()), text.size(), L"t"));
    std::wstring widened;
    for (char c : text) widened += Orvex::xmltext::kAnsiToWide[static_cast<unsigned char>(c)];
    ASSERT_TRUE(wide.loadFromText(widened));
    ASSERT_EQ(bytes.getChildCount(), 120u);
    EXPECT_TRUE(bytes.equals(wide));
    for (Orvex::u32 i = 0; i < 120; ++i) {
        SCOPED_TRACE(i);
        XMLNode const* b = bytes.getChild(L"", static_cast<int>(i));
        XMLNode const* w = wide.getChild(L"", static_cast<int>(i));
        EXPECT_EQ(b->getLine(), w->getLine());
        EXPECT_EQ(b->getAttribute(L"B")->getString().size(), i % 23);
        EXPECT_EQ(b->getValue(0)->getString().size(), i % 19 + 1);
    }
    // E60's value and line end, then the gap.
    EXPECT_EQ(bytes.getChild(L"E61")->getLine(), bytes.getChild(L"E60")->getLine() + 2 + 5000);
}

TEST(XMLParse, ControlCharactersAndHighCharactersAreNotSyntax) {
    // Only blanks (and characters below them) separate; nothing above U+FFFF breaks anything.
    std::wstring text = L"<R";
    text += L'\x01';
    text += L"A=\"\U0001F600\">\"|";
    text += L'\0';
    text += L"|\"</R>";
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(text));
    EXPECT_EQ(root.getAttribute(L"A")->getString(), L"\U0001F600");
    ASSERT_EQ(root.getValueCount(), 1u);
    EXPECT_EQ(root.getValue(0)->getString(), std::wstring(1, L'\0'));
}

// Each damaged text keeps what came before the damage and logs exactly one error line; the
// checked load tells it from a whole text (kNothing where no element was found at all).
struct DamagedCase {
    char const* name;
    std::wstring text;
    int childrenKept;
};

class XMLParseDamagedTest : public ::testing::TestWithParam<DamagedCase> {};

TEST_P(XMLParseDamagedTest, KeepsWhatWasReadAndLogsOneLine) {
    XMLNode root;
    LogWatch log;
    bool const found = root.loadFromText(GetParam().text, L"broken.xml");
    auto errors = log.errors();
    ASSERT_EQ(errors.size(), 1u) << GetParam().name;
    EXPECT_TRUE(contains(errors[0], L"broken.xml")) << errors[0];
    EXPECT_EQ(static_cast<int>(root.getChildCount()), GetParam().childrenKept) << GetParam().name;

    XMLNode checked;
    XMLNode::ReadResult const result = checked.loadFromTextChecked(GetParam().text, L"broken.xml");
    EXPECT_EQ(result, found ? XMLNode::ReadResult::kDamaged : XMLNode::ReadResult::kNothing) << GetParam().name;
    EXPECT_TRUE(checked.equals(root)) << "the checked load keeps the same part";
}

TEST(XMLParse, AWholeTextReadsCompletely) {
    XMLNode root;
    EXPECT_EQ(root.loadFromTextChecked(widen(kSample)), XMLNode::ReadResult::kComplete);
    EXPECT_EQ(root.loadFromTextChecked(L"<R/>"), XMLNode::ReadResult::kComplete);
}

INSTANTIATE_TEST_SUITE_P(Cases, XMLParseDamagedTest,
                         ::testing::Values(DamagedCase{"unterminated_tag", L"<R><A/><B X=\"1\"", 2},
                                           DamagedCase{"unterminated_attribute", L"<R><A/><B X=\"1 /></R>", 2},
                                           DamagedCase{"unterminated_value", L"<R><A/>\"|never ends</R>", 1},
                                           DamagedCase{"unterminated_comment", L"<R><A/><!-- no end <B/></R>", 1},
                                           DamagedCase{"unterminated_declaration", L"<?xml <R/>", 0},
                                           DamagedCase{"missing_close", L"<R><A/><B>", 2},
                                           DamagedCase{"mismatched_close", L"<R><A><B/></R>", 1},
                                           DamagedCase{"stray_close", L"<R><A/></Z><B/></R>", 2},
                                           DamagedCase{"attribute_without_value", L"<R><A FLAG/><B/></R>", 2},
                                           DamagedCase{"unquoted_attribute", L"<R><A X=1/><B/></R>", 2},
                                           DamagedCase{"second_root", L"<R><A/></R><S/>", 1},
                                           DamagedCase{"lone_bracket", L"<R><A/><", 1},
                                           DamagedCase{"no_element", L"just text", 0},
                                           DamagedCase{"empty", L"", 0}),
                         [](auto const& info) { return std::string(info.param.name); });

// A small file of many tiny elements, attributes or values would make a tree many times its size
// (a 32 MB profile of empty elements took 2 GB): the parse leaves out what passes the tree's
// budget, keeps what it read and says so once.
TEST(XMLParse, ATreePastItsBudgetStopsWithOneLine) {
    struct Case {
        char const* what;
        std::string open, item, close;
        std::size_t itemBytes;  // the least an item takes
        std::size_t (*kept)(XMLNode const&);
    } const cases[] = {
        {"elements", "<R>", "<A/>", "</R>", sizeof(XMLNode), [](XMLNode const& r) -> std::size_t { return r.getChildCount(); }},
        {"attributes", "<R><A", " B=\"\"", "/></R>", sizeof(XMLAttribute),
         [](XMLNode const& r) -> std::size_t { return r.getChildCount() ? r.getChild(L"A")->getAttributeCount() : 0; }},
        {"values", "<R>", "\"||\"", "</R>", sizeof(Orvex::XMLProperty), [](XMLNode const& r) -> std::size_t { return r.getValueCount(); }},
    };
    for (Case const& c : cases) {
        std::size_t const fit = XMLNode::kMaxTreeBytes / c.itemBytes;
        std::string text = c.open;
        text.reserve(c.open.size() + c.item.size() * (fit + 1) + c.close.size());
        for (std::size_t i = 0; i <= fit; ++i) text += c.item;
        text += c.close;
        XMLNode root;
        LogWatch log;
        ASSERT_TRUE(root.loadFromBytes(reinterpret_cast<unsigned char const*>(text.data()), text.size(), L"dense.prf"));
        auto const errors = log.errors();
        ASSERT_EQ(errors.size(), 1u) << c.what;
        EXPECT_TRUE(contains(errors[0], L"dense.prf") && contains(errors[0], L"may hold")) << errors[0];
        std::size_t const kept = c.kept(root);
        EXPECT_LE(kept, fit) << c.what;
        EXPECT_GT(kept, fit / 4) << c.what;
    }
}

// A text counts against the budget as the wide string reading it makes, so a file of few
// elements with long texts is cut too (a profile named by 255 MB of text took 4.7 GB): the item
// that would pass the budget is left out with one line, and the parse reads on. Each file holds
// two items whose texts take half the budget each: the first is kept whole, the second left out.
TEST(XMLParse, ALongTextCountsAgainstTheTreesBudget) {
    std::size_t const half = XMLNode::kMaxTreeBytes / sizeof(wchar_t) / 2;
    std::string const text(half, 'x');
    struct Case {
        char const* what;
        std::string before, after;  // around the text, making one element "L"
        std::size_t (*kept)(XMLNode const& l);  // of the element's item
    } const cases[] = {
        {"element name", "<L><", "/></L>", [](XMLNode const& l) -> std::size_t { return l.getChildCount(); }},
        {"attribute name", "<L ", "=\"1\"/>", [](XMLNode const& l) -> std::size_t { return l.getAttributeCount(); }},
        {"attribute value", "<L A=\"", "\"/>", [](XMLNode const& l) -> std::size_t { return l.getAttributeCount(); }},
        {"value", "<L>\"|", "|\"</L>", [](XMLNode const& l) -> std::size_t { return l.getValueCount(); }},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        std::string const item = c.before + text + c.after;
        std::string const file = "<R><A/>" + item + item + "<B/></R>";
        XMLNode root;
        LogWatch log;
        ASSERT_TRUE(root.loadFromBytes(reinterpret_cast<unsigned char const*>(file.data()), file.size(), L"long.prf"));
        auto const errors = log.errors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_TRUE(contains(errors[0], L"long.prf") && contains(errors[0], L"may hold")) << errors[0];
        ASSERT_EQ(root.getChildCount(), 4u) << "the elements around the text are kept";
        EXPECT_EQ(root.getChild(L"", 3)->getName(), L"B");
        EXPECT_EQ(c.kept(*root.getChild(L"L", 0)), 1u);
        EXPECT_EQ(c.kept(*root.getChild(L"L", 1)), 0u);
    }
}

// An element that is not kept (too deep, or past the budget) after a tag of more attributes than
// the parser reads into its slots (16) takes none of them: it once took the earlier tag's and
// wrote them into no element at all.
TEST(XMLParse, AnElementNotKeptAfterATagOfManyAttributesIsSkippedWhole) {
    std::wstring many;
    for (int i = 0; i < 20; ++i) many += L" A" + std::to_wstring(i) + L"=\"" + std::to_wstring(i) + L"\"";
    XMLNode root;
    LogWatch log;
    ASSERT_TRUE(root.loadFromText(L"<R>" + nested(XMLNode::kMaxDepth - 2, L"<M" + many + L"><DEEP X=\"1\"/></M>") + L"</R>"));
    EXPECT_EQ(log.errors().size(), 1u);
    XMLNode const* node = &root;
    while (node->getChildCount() > 0) node = node->getChild(L"");
    EXPECT_EQ(node->getName(), L"M");
    EXPECT_EQ(node->getAttributeCount(), 20u);
}

TEST(XMLParse, DeepNestingNeitherCrashesNorRecurses) {
    std::wstring text;
    for (int i = 0; i < 10000; ++i) text += L"<N D=\"" + std::to_wstring(i) + L"\">";
    text += L"\"|deep|\"";
    for (int i = 0; i < 10000; ++i) text += L"</N>";

    XMLNode root;
    LogWatch log;
    ASSERT_TRUE(root.loadFromText(text, L"deep.xml"));
    auto errors = log.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(contains(errors[0], L"deep.xml"));

    // The kept levels stop at the depth limit; everything below was skipped.
    XMLNode const* node = &root;
    Orvex::u32 levels = 1;
    for (; node->getChildCount() > 0; ++levels) node = node->getChild(L"");
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

TEST(XMLParse, SkippedDeepLevelsCloseAgainAndTheirValuesDoNotBreakNesting) {
    // Later siblings at kept levels are read; a skipped level's value holding "</N>" closes nothing.
    XMLNode root;
    root.loadFromText(L"<R>" + nested(XMLNode::kMaxDepth + 5, L"") + L"<AFTER/></R>");
    EXPECT_NE(root.getChild(L"AFTER"), nullptr);

    LogWatch log;
    root.loadFromText(L"<R>" + nested(XMLNode::kMaxDepth, L"\"|</N></N><FAKE/>|\"") + L"<AFTER/></R>");
    EXPECT_EQ(log.errors().size(), 1u);  // only the depth limit
    EXPECT_NE(root.getChild(L"AFTER"), nullptr);
    EXPECT_EQ(root.getChildCount(), 2u);
}

TEST(XMLTree, CopyFromIsDeepAndAcceptsAPartOfItself) {
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(widen(kSample)));
    XMLNode copy;
    copy.copyFrom(root);
    EXPECT_TRUE(copy.equals(root));
    copy.getChild(L"CHILD", 1)->getChild(L"GRANDCHILD")->addValue(L"changed");
    EXPECT_FALSE(copy.equals(root));
    EXPECT_EQ(root.getChild(L"CHILD", 1)->getChild(L"GRANDCHILD")->getValueCount(), 0u);

    copy.copyFrom(*copy.getChild(L"CHILD", 1));
    EXPECT_EQ(copy.getName(), L"CHILD");
    EXPECT_EQ(copy.getChildCount(L"GRANDCHILD"), 1u);
    copy.clear();
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(copy.getName(), L"");

    // Moving a part of the tree into the tree itself keeps that part.
    root.loadFromText(L"<R><A X=\"1\"><B/></A></R>");
    root = std::move(*root.getChild(L"A"));
    EXPECT_EQ(root.getName(), L"A");
    EXPECT_EQ(root.getAttribute(L"X")->getInt(), 1);
    EXPECT_NE(root.getChild(L"B"), nullptr);
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

// The children of one name in order, in one pass; the walk stops when the visitor says so.
TEST(XMLTree, ForEachChildVisitsTheChildrenOfOneNameUntilTold) {
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<R><E N=\"1\"/><X/><E N=\"2\"/><E N=\"3\"/><X/><E N=\"4\"/></R>"));
    std::wstring seen;
    Orvex::forEachChild(root, L"E", [&](XMLNode& e) {
        seen += e.getAttributeString(L"N", L"?");
        return true;
    });
    EXPECT_EQ(seen, L"1234");
    seen.clear();
    XMLNode const& constant = root;
    Orvex::forEachChild(constant, L"E", [&](XMLNode const& e) {
        seen += e.getAttributeString(L"N", L"?");
        return seen.size() < 2;
    });
    EXPECT_EQ(seen, L"12");
    int none = 0;
    Orvex::forEachChild(root, L"Y", [&](XMLNode&) { return ++none > 0; });
    EXPECT_EQ(none, 0);
}

TEST(XMLTree, WriterKeepsUnusualNamesAndReplacesWhatTheFormatCannotHold) {
    // A nameless element must not be written as "</>"; a " in an attribute or |" in a value
    // would end it early and garble the rest, so the writer replaces them.
    XMLNode root(L"R");
    root.addChild(L"");
    root.addChild(L"")->addAttribute(new XMLAttribute(L"", L"v"));
    root.addChild(L"A<B=C|");
    XMLNode reread;
    ASSERT_TRUE(reread.loadFromText(root.toText()));
    EXPECT_TRUE(reread.equals(root)) << std::string(reread.toText().begin(), reread.toText().end());

    root.addAttribute(new XMLAttribute(L"QUOTE", L"say \"hi\""));
    root.addValue(L"pipe|\"quote");
    root.addChild(L"has space/slash");
    root.addChild(L"!BANG");
    root.addChild(L"AFTER")->addAttribute(new XMLAttribute(L"bad name=", L"x"));
    ASSERT_TRUE(reread.loadFromText(root.toText()));
    EXPECT_EQ(reread.getAttribute(L"QUOTE")->getString(), L"say 'hi'");
    EXPECT_EQ(reread.getValue(0)->getString(), L"pipe|'quote");
    EXPECT_NE(reread.getChild(L"has_space_slash"), nullptr);
    EXPECT_NE(reread.getChild(L"_BANG"), nullptr);
    ASSERT_NE(reread.getChild(L"AFTER"), nullptr);
    EXPECT_NE(reread.getChild(L"AFTER")->getAttribute(L"bad_name_"), nullptr);
}
