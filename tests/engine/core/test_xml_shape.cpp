// Keeping what a shape names of a stored sub-tree: the attributes, values and children it names,
// as many and as long as it lets them be, within a budget that later smaller parts may still use;
// what is left out is counted once per part with all it holds; attributes the writer always
// writes charged as written. And the pieces a log line quotes of a huge value, made without
// widening the rest of it.
#include <gtest/gtest.h>

#include <string>

#include "engine/core/CodePage.h"
#include "engine/core/KeepBudget.h"
#include "engine/core/ReadProblems.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLShape.h"
#include "port/win32/win32_text.h"

namespace {

using Orvex::KeepBudget;
using Orvex::XMLNode;
using Orvex::XMLShape;

// <R A="..." B="..."> values, <C> children of their own, <D/> leaves.
constexpr std::wstring_view kLeafKeys[] = {L"K"};
constexpr XMLShape kLeaf{kLeafKeys, 1};
constexpr XMLShape::Child kInnerChildren[] = {{L"D", &kLeaf, 2}};
constexpr XMLShape kInner{{}, 0, kInnerChildren};
constexpr std::wstring_view kRootKeys[] = {L"A", L"B"};
constexpr XMLShape::Child kRootChildren[] = {{L"C", &kInner, 1}, {L"D", &kLeaf, 3}};
constexpr XMLShape kRoot{kRootKeys, 2, kRootChildren, 8};

XMLNode parsed(std::wstring const& text) {
    XMLNode node;
    EXPECT_TRUE(node.loadFromText(text));
    return node;
}

// <R> with the text as its attribute "A" and its value, and that as a UTF-8 or a UTF-16 file.
std::wstring textTree(std::wstring const& text) { return L"<R A=\"" + text + L"\">\"|" + text + L"|\"</R>"; }
std::string utf8File(std::wstring const& text) { return "\xEF\xBB\xBF" + port::toUtf8(text); }
std::string utf16File(std::wstring const& text) {
    std::string bytes = "\xFF\xFE";
    Orvex::appendUtf16LE(bytes, text);
    return bytes;
}

TEST(XMLShapeTest, KeepsWhatTheShapeNamesAndCountsTheRest) {
    struct Row {
        char const* what;
        wchar_t const* from;
        wchar_t const* kept;
        std::size_t leftOut;
    } const rows[] = {
        {"all it names", L"<R A=\"1\" B=\"2\">\"|v|\"<C><D K=\"x\"/></C><D/></R>",
         L"<R A=\"1\" B=\"2\">\"|v|\"<C><D K=\"x\"/></C><D/></R>", 0},
        {"unknown attributes, elements and a second A", L"<R Z=\"1\" A=\"2\" A=\"3\"><X><D/></X><D Q=\"1\"/></R>",
         L"<R A=\"2\"><D/></R>", 4},
        {"too long: an attribute, a value", L"<R A=\"123456789\" B=\"12345678\">\"|123456789|\" \"|ok|\"</R>",
         L"<R B=\"12345678\">\"|ok|\"</R>", 2},
        {"more values and children than it keeps", L"<R>\"|1|\" \"|2|\" \"|3|\"<C/><C/><D/><D/><D/><D/></R>",
         L"<R>\"|1|\" \"|2|\"<C/><D/><D/><D/></R>", 3},
        {"a child left out counts once with all it holds", L"<R><X><D/><D/><D/></X><C><D/><D/><D/></C></R>",
         L"<R><C><D/><D/></C></R>", 2},
        {"each child by its own shape", L"<R><C K=\"1\"><D K=\"1\" L=\"2\">\"|a|\" \"|b|\"</D></C></R>",
         L"<R><C><D K=\"1\">\"|a|\"</D></C></R>", 3},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        XMLNode const from = parsed(row.from);
        XMLNode kept;
        KeepBudget budget(1 << 20);
        EXPECT_EQ(kRoot.keep(from, kept, budget), row.leftOut);
        EXPECT_TRUE(kept.equals(parsed(row.kept))) << testing::PrintToString(kept.toText());
        EXPECT_FALSE(budget.overrun());
    }
}

// The budget is what a read of the saved tree takes: the objects and their texts as wide strings.
// A part that does not fit is left out, and smaller ones after it are still kept.
TEST(XMLShapeTest, ThePartsPastTheBudgetAreLeftOutAndSmallerOnesStillFit) {
    XMLNode const from = parsed(L"<R><D K=\"" + std::wstring(200, L'k') + L"\"/><D K=\"1\"/><D/></R>");
    std::size_t const element = XMLNode::elementCost(1);
    // Room for the three leaves and the short key, not for the long one.
    KeepBudget budget(4 * element + XMLNode::attributeCost(1, 1));
    XMLNode kept;
    EXPECT_EQ(kRoot.keep(from, kept, budget), 1u);
    EXPECT_TRUE(budget.overrun());
    EXPECT_EQ(budget.left(), 0u);
    EXPECT_TRUE(kept.equals(parsed(L"<R><D/><D K=\"1\"/><D/></R>"))) << testing::PrintToString(kept.toText());

    KeepBudget none(element - 1);
    EXPECT_EQ(kRoot.keep(from, kept, none), 1u);
    EXPECT_TRUE(kept.isEmpty());
}

// <W><L N="..." T="..."/></W>: the writer writes each leaf's N, at most four characters long.
constexpr std::wstring_view kWrittenKeys[] = {L"N", L"T"};
constexpr XMLShape::Written kWrittenN[] = {{L"N", 4}};
constexpr XMLShape kWrittenLeaf{kWrittenKeys, 0, {}, XMLShape::kMaxText, kWrittenN};
constexpr XMLShape::Child kWrittenChildren[] = {{L"L", &kWrittenLeaf, 8}};
constexpr XMLShape kWrittenRoot{{}, 0, kWrittenChildren};

// An attribute the writer writes always is charged as written, once, whether the file holds it,
// shorter or longer, or not; so a tree kept is never written back larger than it was charged.
// Before, a record without it was charged without it: campaign levels of 79 MB were written as
// 146 MB, past what a read takes.
TEST(XMLShapeTest, AttributesTheWriterAlwaysWritesAreChargedAsWritten) {
    std::size_t const leaf = XMLNode::elementCost(1) + XMLNode::attributeCost(1, 4);
    struct {
        char const* what;
        wchar_t const* from;
        std::size_t bytes;
        wchar_t const* oneShort;  // what a budget a byte short keeps
    } const rows[] = {
        {"not held", L"<W><L/></W>", XMLNode::elementCost(1) + leaf, L"<W/>"},
        {"held shorter", L"<W><L N=\"1\"/></W>", XMLNode::elementCost(1) + leaf, L"<W/>"},
        {"held longer", L"<W><L N=\"123456\"/></W>", XMLNode::elementCost(1) + leaf, L"<W/>"},
        {"beside one charged as held", L"<W><L N=\"1\" T=\"12\"/></W>",
         XMLNode::elementCost(1) + leaf + XMLNode::attributeCost(1, 2), L"<W><L N=\"1\"/></W>"},
        {"two leaves", L"<W><L/><L N=\"2\"/></W>", XMLNode::elementCost(1) + 2 * leaf, L"<W><L/></W>"},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        XMLNode const from = parsed(row.from);
        KeepBudget measured(1 << 20);
        EXPECT_EQ(kWrittenRoot.measure(from, measured), 0u);
        EXPECT_EQ(measured.used(), row.bytes);
        // A byte short, the last part is left out whole.
        KeepBudget oneShort(row.bytes - 1);
        XMLNode kept;
        EXPECT_EQ(kWrittenRoot.keep(from, kept, oneShort), 1u);
        EXPECT_TRUE(kept.equals(parsed(row.oneShort))) << testing::PrintToString(kept.toText());
    }
}

// A text is charged as the file saved from it holds it (UTF-16): a character outside the Basic
// Multilingual Plane two units, whatever the file it was read from, and so by the one count
// (XMLNode::savedCost) and by a shape. Before, a shape charged a text of UTF-8 or wide text by its
// characters, half what the saved file's read charges for such a character.
TEST(XMLShapeTest, ATextIsChargedAsTheSavedFileHoldsIt) {
    std::wstring const emoji(1, wchar_t(0x1F600));
    struct {
        char const* what;
        std::wstring text;
        std::size_t units;
    } const rows[] = {{"ASCII", L"ab", 2}, {"Latin-1", L"\u00E4b", 2}, {"outside the BMP", emoji + L"b", 3}};
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        std::wstring const wide = textTree(row.text);
        std::size_t const expected =
            XMLNode::elementCost(1) + XMLNode::attributeCost(1, row.units) + XMLNode::valueCost(row.units);
        for (std::string const& bytes : {utf8File(wide), utf16File(wide)}) {
            XMLNode read;
            ASSERT_TRUE(read.loadFromBytes(reinterpret_cast<unsigned char const*>(bytes.data()), bytes.size(), L"t"));
            // As read, as wide text, and copied (texts of its own).
            XMLNode const fromWide = parsed(wide), copy(read), &asRead = read;
            for (XMLNode const* tree : {&asRead, &fromWide, &copy}) {
                KeepBudget budget(1 << 20);
                EXPECT_EQ(kRoot.measure(*tree, budget), 0u);
                EXPECT_EQ(budget.used(), expected);
                EXPECT_EQ(XMLNode::savedCost(*tree), expected);
            }
        }
    }
}

// A text's limit counts characters alike in every read: a character outside the Basic Multilingual
// Plane is one, whether the file was UTF-8 (wide text), UTF-16 (a surrogate pair) or a copy, so a
// text one read keeps the read of its save keeps. Before, a UTF-16 view counted its units: eight
// such characters (the limit of kRoot) were kept from UTF-8 and left out of the UTF-16 save.
TEST(XMLShapeTest, ATextsLimitCountsItsCharactersInEveryEncoding) {
    std::wstring const emoji(1, wchar_t(0x1F600));
    auto repeat = [](std::wstring const& text, std::size_t count) {
        std::wstring out;
        for (std::size_t i = 0; i < count; ++i) out += text;
        return out;
    };
    struct {
        char const* what;
        std::wstring text;
        std::size_t leftOut;  // the attribute and the value
    } const rows[] = {
        {"eight outside the BMP", repeat(emoji, 8), 0},
        {"nine outside the BMP", repeat(emoji, 9), 2},
        {"four outside the BMP and four inside", repeat(emoji + L"\u00E4", 4), 0},
        {"a lone high surrogate and seven", L"\xD83D" + repeat(emoji, 7), 0},
        {"eight Latin-1", std::wstring(8, L'\u00E4'), 0},
        {"nine Latin-1", std::wstring(9, L'\u00E4'), 2},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        std::wstring const wide = textTree(row.text);
        for (std::string const& bytes : {utf8File(wide), utf16File(wide)}) {
            SCOPED_TRACE(bytes[0] == '\xEF' ? "UTF-8" : "UTF-16");
            XMLNode read;
            ASSERT_TRUE(read.loadFromBytes(reinterpret_cast<unsigned char const*>(bytes.data()), bytes.size(), L"t"));
            XMLNode const copy(read), &asRead = read;
            for (XMLNode const* tree : {&asRead, &copy}) {
                KeepBudget budget(1 << 20);
                EXPECT_EQ(kRoot.measure(*tree, budget), row.leftOut);
            }
        }
    }
}

// A child the reader drops for what it holds (here a "D" whose "K" is "x") is neither charged, nor
// counted as left out, nor copied, so a tree with one measures as the tree without it.
bool droppedLeaf(XMLNode const& leaf) { return leaf.getAttributeString(L"K", L"") == L"x"; }
constexpr XMLShape::Child kDroppingChildren[] = {{L"D", &kLeaf, 2, false, droppedLeaf}};
constexpr XMLShape kDropping{{}, 0, kDroppingChildren};

TEST(XMLShapeTest, AChildTheReaderDropsCostsNothing) {
    struct {
        char const* what;
        wchar_t const* with;
        wchar_t const* without;
    } const rows[] = {
        {"first", L"<R><D K=\"x\"/><D K=\"1\"/><D/></R>", L"<R><D K=\"1\"/><D/></R>"},
        {"past the count it keeps", L"<R><D/><D/><D K=\"x\"/></R>", L"<R><D/><D/></R>"},
        {"holding more", L"<R><D K=\"x\">\"|v|\"<D/></D><D/></R>", L"<R><D/></R>"},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        XMLNode const with = parsed(row.with), without = parsed(row.without);
        KeepBudget withBudget(1 << 20), withoutBudget(1 << 20);
        XMLNode kept, keptWithout;
        EXPECT_EQ(kDropping.keep(with, kept, withBudget), kDropping.keep(without, keptWithout, withoutBudget));
        EXPECT_EQ(withBudget.used(), withoutBudget.used());
        EXPECT_TRUE(kept.equals(keptWithout)) << testing::PrintToString(kept.toText());
    }
}

TEST(XMLShapeTest, TheCopyKeepsTheLinesOfWhatItCopies) {
    XMLNode const from = parsed(L"<R>\n<C>\n\n<D/></C></R>");
    XMLNode kept;
    KeepBudget budget(1 << 20);
    kRoot.keep(from, kept, budget);
    EXPECT_EQ(kept.getLine(), 1u);
    EXPECT_EQ(kept.getChild(L"C")->getLine(), 2u);
    EXPECT_EQ(kept.getChild(L"C")->getChild(L"D")->getLine(), 4u);
}

// A log line quotes a piece of a value; the piece of a file's text is read without the rest.
TEST(XMLShapeTest, ALogLineQuotesAPieceOfAHugeValue) {
    std::wstring const piece(Orvex::kQuotedChars, L'x');
    std::wstring const huge = piece + std::wstring(5'000'000, L'y');
    std::string const bytes = "<E V=\"" + std::string(Orvex::kQuotedChars, 'x') + std::string(5'000'000, 'y') + "\"/>";
    XMLNode eightBit;
    ASSERT_TRUE(eightBit.loadFromBytes(reinterpret_cast<unsigned char const*>(bytes.data()), bytes.size(), L"bytes"));
    std::wstring const quoted = L"\"" + piece + L"...\" (" + std::to_wstring(huge.size()) + L" characters)";
    EXPECT_EQ(Orvex::quotedPiece(huge), quoted);
    EXPECT_EQ(Orvex::quotedPiece(eightBit.getAttribute(L"V")->text()), quoted);
    EXPECT_EQ(Orvex::quotedPiece(piece), L"\"" + piece + L"\"");
    EXPECT_EQ(Orvex::quotedPiece(std::wstring_view(L"12abc")), L"\"12abc\"");

    // A UTF-16 file's pairs are one character each, also where the piece ends.
    std::u16string units = u"<E V=\"a\U0001F600b\"/>";
    std::string utf16 = "\xFF\xFE";
    for (char16_t unit : units) utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    XMLNode wide;
    ASSERT_TRUE(wide.loadFromBytes(reinterpret_cast<unsigned char const*>(utf16.data()), utf16.size(), L"utf16"));
    Orvex::XMLText const& text = wide.getAttribute(L"V")->text();
    EXPECT_EQ(text.head(2), std::wstring(L"a") + wchar_t(0x1F600));
    EXPECT_EQ(text.head(9), std::wstring(L"a") + wchar_t(0x1F600) + L"b");
    EXPECT_EQ(text.head(0), L"");
    // Whether it holds more is told by the characters, not the four units of its view.
    struct {
        std::size_t count;
        bool longer;
    } const cuts[] = {{2, true}, {3, false}, {4, false}};
    for (auto const& cut : cuts) {
        bool longer = !cut.longer;
        text.head(cut.count, longer);
        EXPECT_EQ(longer, cut.longer) << cut.count;
    }
}

}  // namespace
