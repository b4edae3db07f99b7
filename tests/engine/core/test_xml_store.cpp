// Loaded trees keep their objects in one store and their texts as views of the file: changes
// after loading, objects added to or taken out of a loaded tree, and what outlives the tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "engine/core/XMLNode.h"
#include "port/win32/win32_text.h"
#include "tests/support/TestSupport.h"

using Orvex::XMLAttribute;
using Orvex::XMLNode;
using Orvex::XMLProperty;

namespace {

char const* const kFile =
    "<ROOT V=\"3\">\r\n"
    "\t<ITEM NAME=\"K\xF6nig\" POS=\"1 2 3\">\r\n"
    "\t\t\"|first|\"\r\n"
    "\t</ITEM>\r\n"
    "\t<ITEM NAME=\"Dame\"/>\r\n"
    "</ROOT>\r\n";

std::wstring storePath(std::filesystem::path const& p) { return port::fromUtf8(p.string()); }

// The file loaded from disk as 8-bit text, so names and values are views of its bytes.
XMLNode loaded(std::filesystem::path const& dir) {
    testsupport::writeFile(dir / "in.xml", kFile);
    XMLNode root;
    EXPECT_TRUE(root.load(storePath(dir / "in.xml"), 1));
    return root;
}

}  // namespace

TEST(XMLStore, UnchangedTreeIsSavedAsItWasRead) {
    auto dir = testsupport::makeTempDir("xml_store_same");
    XMLNode root = loaded(dir);
    ASSERT_TRUE(root.save(storePath(dir / "out.xml"), false));
    EXPECT_EQ(testsupport::readFile(dir / "out.xml"), kFile);
}

// Each way of changing a loaded tree, saved and read back: the change is kept, the rest is not
// disturbed.
struct ChangeCase {
    char const* name;
    void (*change)(XMLNode& root);
    char const* expectedItem;  // the first ITEM line as written
};

class XMLStoreChange : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(XMLStoreChange, IsSavedAndReadBack) {
    auto dir = testsupport::makeTempDir(std::string("xml_store_") + GetParam().name);
    XMLNode root = loaded(dir);
    GetParam().change(root);
    ASSERT_TRUE(root.save(storePath(dir / "out.xml"), false));
    std::string bytes = testsupport::readFile(dir / "out.xml");
    EXPECT_NE(bytes.find(GetParam().expectedItem), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\t<ITEM NAME=\"Dame\"/>\r\n"), std::string::npos) << bytes;
    XMLNode reread;
    ASSERT_TRUE(reread.load(storePath(dir / "out.xml"), 1));
    EXPECT_TRUE(reread.equals(root));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XMLStoreChange,
    ::testing::Values(
        ChangeCase{"set_string",
                   [](XMLNode& r) { r.getChild(L"ITEM")->getAttribute(L"NAME")->setString(L"Bube"); },
                   "\t<ITEM NAME=\"Bube\" POS=\"1 2 3\">\r\n"},
        ChangeCase{"string_reference",
                   [](XMLNode& r) { r.getChild(L"ITEM")->getAttribute(L"NAME")->getString() += L"in"; },
                   "\t<ITEM NAME=\"K\xF6nigin\" POS=\"1 2 3\">\r\n"},
        ChangeCase{"split_written_back",
                   [](XMLNode& r) {
                       auto pieces = r.getChild(L"ITEM")->getAttribute(L"POS")->split(L" ");
                       pieces.get(1)->setString(L"20");
                   },
                   "\t<ITEM NAME=\"K\xF6nig\" POS=\"1 20 3\">\r\n"},
        ChangeCase{"set_attribute_adds",
                   [](XMLNode& r) { r.getChild(L"ITEM")->setAttribute(L"NEU", L"x"); },
                   "\t<ITEM NAME=\"K\xF6nig\" POS=\"1 2 3\" NEU=\"x\">\r\n"},
        ChangeCase{"renamed",
                   [](XMLNode& r) { r.getChild(L"ITEM")->setName(L"KARTE"); },
                   "\t<KARTE NAME=\"K\xF6nig\" POS=\"1 2 3\">\r\n"},
        ChangeCase{"child_and_value_added",
                   [](XMLNode& r) {
                       XMLNode* item = r.getChild(L"ITEM");
                       item->addValue(L"second");
                       item->addChild(L"SUB")->addAttribute(new XMLAttribute(L"A", 1));
                   },
                   "\t\t\"|first|\"\r\n\t\t\"|second|\"\r\n\t\t<SUB A=\"1\"/>\r\n"},
        ChangeCase{"loaded_child_removed",
                   [](XMLNode& r) { r.removeChild(r.getChild(L"ITEM")); },
                   "<ROOT V=\"3\">\r\n\t<ITEM NAME=\"Dame\"/>\r\n"}),
    [](auto const& info) { return std::string(info.param.name); });

TEST(XMLStore, PointersAndStringsStayValidWhileTheTreeGrows) {
    auto dir = testsupport::makeTempDir("xml_store_grow");
    XMLNode root = loaded(dir);
    XMLNode* item = root.getChild(L"ITEM");
    XMLAttribute* name = item->getAttribute(L"NAME");
    std::wstring const& text = name->getString();
    XMLProperty* value = item->getValue(0);
    // Enough additions to move every list of the element out of the store's arrays.
    for (int i = 0; i < 50; ++i) {
        item->addChild(L"C" + std::to_wstring(i));
        item->setAttribute(L"A" + std::to_wstring(i), L"v");
        item->addValue(L"x");
    }
    EXPECT_EQ(item->getAttribute(L"NAME"), name);
    EXPECT_EQ(text, L"K\u00f6nig");
    EXPECT_EQ(item->getValue(0), value);
    EXPECT_EQ(value->getString(), L"first");
    EXPECT_EQ(item->getChildCount(), 50u);
}

TEST(XMLStore, WhatIsTakenOutOfALoadedTreeOutlivesIt) {
    auto dir = testsupport::makeTempDir("xml_store_outlive");
    XMLProperty value;
    XMLAttribute attribute(L"");
    XMLNode moved, copied, whole;
    {
        XMLNode root = loaded(dir);
        XMLNode* item = root.getChild(L"ITEM");
        value = *item->getValue(0);
        attribute = std::move(*item->getAttribute(L"NAME"));
        copied.copyFrom(*item);
        moved = std::move(*item);  // a part of the tree, without a store of its own
        whole = std::move(root);   // takes the store along
        EXPECT_TRUE(root.isEmpty());
    }
    EXPECT_EQ(value.getString(), L"first");
    EXPECT_EQ(attribute.getName(), L"NAME");
    EXPECT_EQ(attribute.getString(), L"K\u00f6nig");
    EXPECT_EQ(moved.getName(), L"ITEM");
    EXPECT_EQ(moved.getAttribute(L"POS")->getString(), L"1 2 3");
    EXPECT_EQ(moved.getValue(0)->getString(), L"first");
    EXPECT_TRUE(copied.equals(moved));
    EXPECT_EQ(whole.getAttributeInt(L"V", 0), 3);
    EXPECT_TRUE(whole.getChild(L"", 0)->isEmpty());  // what was moved out
    EXPECT_EQ(whole.getChild(L"", 1)->getAttribute(L"NAME")->getString(), L"Dame");
}

TEST(XMLStore, NodesMoveBetweenLoadedTreesAndLoadAgainInPlace) {
    auto dir = testsupport::makeTempDir("xml_store_between");
    XMLNode a = loaded(dir);
    {
        XMLNode b = loaded(dir);
        // A loaded node of one tree replaced by a loaded node of another, whose tree then goes.
        *a.getChild(L"ITEM", 1) = std::move(*b.getChild(L"ITEM"));
        // A node of a loaded tree loads a text of its own, and moves with its store.
        ASSERT_TRUE(b.getChild(L"", 1)->loadFromText(L"<INNER X=\"1\"><DEEP/></INNER>"));
        *a.getChild(L"ITEM") = std::move(*b.getChild(L"INNER"));
    }
    EXPECT_EQ(a.getChild(L"INNER")->getAttributeInt(L"X", 0), 1);
    EXPECT_NE(a.getChild(L"INNER")->getChild(L"DEEP"), nullptr);
    ASSERT_NE(a.getChild(L"ITEM"), nullptr);
    EXPECT_EQ(a.getChild(L"ITEM")->getAttribute(L"NAME")->getString(), L"K\u00f6nig");
    EXPECT_EQ(a.getChild(L"ITEM")->getValue(0)->getString(), L"first");
}

TEST(XMLStore, LoadingTextHeldByTheTreeItself) {
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<R>\"|<INNER A=\"1\"/>|\"</R>"));
    // The value's text is the tree's own: it is taken before the old tree goes.
    ASSERT_TRUE(root.loadFromText(root.getValue(0)->getString()));
    EXPECT_EQ(root.getName(), L"INNER");
    EXPECT_EQ(root.getAttributeInt(L"A", 0), 1);
}

TEST(XMLStore, DeepSubtreeAddedToALoadedTreeIsFreedWithoutRecursion) {
    XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<R><A/></R>"));
    XMLNode* tip = root.getChild(L"A");
    for (int i = 0; i < 100000; ++i) tip = tip->addChild(L"N");
    XMLNode copy(root);
    EXPECT_TRUE(copy.equals(root));
    root.clear();
    EXPECT_TRUE(root.isEmpty());
}
