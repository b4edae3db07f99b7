// Typed getters, split views and attribute constructors of property texts.
#include <gtest/gtest.h>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLProperty.h"

using Orvex::XMLAttribute;
using Orvex::XMLNode;
using Orvex::XMLProperty;

TEST(XMLPropertyGetters, NumbersFollowTheRuntimeParsers) {
    EXPECT_EQ(XMLProperty(L"  42xyz").getInt(), 42);
    EXPECT_EQ(XMLProperty(L"abc").getInt(), 0);
    EXPECT_EQ(XMLProperty(L"99999999999").getInt(), 2147483647);
    EXPECT_EQ(XMLProperty(L"-99999999999").getInt(), -2147483647 - 1);

    EXPECT_EQ(XMLProperty(L"4000000000").getLong(), 4000000000u);
    EXPECT_EQ(XMLProperty(L"-1").getLong(), 0xFFFFFFFFu);  // wcstoul wraps a minus
    EXPECT_EQ(XMLProperty(L"99999999999").getLong(), 0xFFFFFFFFu);
    EXPECT_EQ(XMLProperty(L"1011").getLongBase(2), 11u);
    EXPECT_EQ(XMLProperty(L"0x1F").getLongBase(0), 31u);
    EXPECT_EQ(XMLProperty(L"17").getLongBase(1), 0u);  // no such base
    EXPECT_EQ(XMLProperty(L"17").getLongBase(99), 0u);

    EXPECT_EQ(XMLProperty(L"ff80a0c0").getHex(), 0xFF80A0C0u);
    EXPECT_EQ(XMLProperty(L"0x00FF00").getHex(), 0x00FF00u);
    EXPECT_EQ(XMLProperty(L"zz").getHex(), 0u);

    EXPECT_TRUE(XMLProperty(L"-3").getBool());
    EXPECT_FALSE(XMLProperty(L"0").getBool());
    EXPECT_FALSE(XMLProperty(L"true").getBool());  // not a number

    // Locale independent; a comma ends the number.
    EXPECT_FLOAT_EQ(XMLProperty(L" -2.25e2 ").getFloat(), -225.0f);
    EXPECT_DOUBLE_EQ(XMLProperty(L"0.1").getDouble(), 0.1);
    EXPECT_DOUBLE_EQ(XMLProperty(L"3,5").getDouble(), 3.0);
    EXPECT_DOUBLE_EQ(XMLProperty(L"x").getDouble(), 0.0);
}

TEST(XMLPropertyConstruction, NumbersAsAWideStreamWritesThem) {
    EXPECT_EQ(XMLProperty(3.14159265f).getString(), L"3.14159");
    EXPECT_EQ(XMLProperty(1234567.0f).getString(), L"1.23457e+06");
    EXPECT_EQ(XMLProperty(4000000000u).getString(), L"4000000000");
    EXPECT_EQ(XMLAttribute(L"A", true).getString(), L"1");
    EXPECT_EQ(XMLAttribute(L"A", -5).getString(), L"-5");
    EXPECT_EQ(XMLAttribute(L"A", 2.0 / 3.0).getString(), L"0.666667");
    // A literal text must not turn into a bool.
    EXPECT_EQ(XMLAttribute(L"A", L"text").getString(), L"text");
}

TEST(XMLValueTokensTest, CutsAtAnySeparatorCharacterSkippingEmptyPieces) {
    XMLProperty value(L"  1 2.5  abc ");
    {
        auto tokens = static_cast<XMLProperty const&>(value).split(L" ;");
        ASSERT_EQ(tokens.getCount(), 3u);
        EXPECT_EQ(tokens.get(0)->getInt(), 1);
        EXPECT_FLOAT_EQ(tokens.get(1)->getFloat(), 2.5f);
        EXPECT_EQ(tokens.get(2)->getString(), L"abc");
        EXPECT_EQ(tokens.get(3), nullptr);
    }
    EXPECT_EQ(value.getString(), L"  1 2.5  abc ");  // a read-only view writes nothing back

    XMLProperty empty(L"   ");
    EXPECT_EQ(empty.split(L" ").getCount(), 0u);
    XMLProperty whole(L"a b");
    EXPECT_EQ(whole.split(L"").getCount(), 1u);
}

TEST(XMLValueTokensTest, PiecesAreWrittenBackOnceWhenTheListEnds) {
    XMLProperty value(L"10 20  30");
    {
        auto tokens = value.split(L" ");
        tokens.get(1)->setString(L"99");
    }
    EXPECT_EQ(value.getString(), L"10 99 30");

    XMLProperty joined(L"a,b");
    { auto tokens = joined.split(L", "); }
    EXPECT_EQ(joined.getString(), L"a, b");  // joined with the whole separator text

    // A moved-from list writes nothing; only the list it moved into writes, once.
    XMLProperty moved(L"1 2 3");
    {
        auto first = moved.split(L" ");
        first.get(0)->setString(L"7");
        Orvex::XMLValueTokens second = std::move(first);
        moved.setString(L"changed meanwhile");
        second.get(2)->setString(L"9");
    }
    EXPECT_EQ(moved.getString(), L"7 2 9");
}

TEST(XMLNodeAttributeDefaults, MissingAttributesGiveTheFallback) {
    XMLNode node(L"N");
    node.addAttribute(new XMLAttribute(L"I", 5));
    node.addAttribute(new XMLAttribute(L"C", L"FF00FF00"));
    EXPECT_EQ(node.getAttributeInt(L"I", 1), 5);
    EXPECT_EQ(node.getAttributeInt(L"i", 1), 1);  // names are case-sensitive
    EXPECT_EQ(node.getAttributeHex(L"C", 0), 0xFF00FF00u);
    EXPECT_EQ(node.getAttributeString(L"X", L"def"), L"def");
    EXPECT_TRUE(node.getAttributeBool(L"X", true));
}
