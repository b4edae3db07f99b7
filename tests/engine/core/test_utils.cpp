// Shared helpers: rectangle overlap and lookup by name.
#include "engine/core/Utils.h"

#include <gtest/gtest.h>

#include "engine/core/NamedObject.h"

namespace {

using Orvex::intersectRects;

bool sameRect(RECT const& a, RECT const& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(IntersectRects, OverlapContainmentAndNegativeCoordinates) {
    RECT out{9, 9, 9, 9};
    EXPECT_TRUE(intersectRects(RECT{0, 0, 100, 50}, RECT{60, 20, 200, 300}, out));
    EXPECT_TRUE(sameRect(out, RECT{60, 20, 100, 50}));

    EXPECT_TRUE(intersectRects(RECT{-50, -50, 50, 50}, RECT{-10, -20, 10, 20}, out));
    EXPECT_TRUE(sameRect(out, RECT{-10, -20, 10, 20}));

    EXPECT_TRUE(intersectRects(RECT{0, 0, 10, 10}, RECT{9, 9, 10, 10}, out));
    EXPECT_TRUE(sameRect(out, RECT{9, 9, 10, 10}));
}

TEST(IntersectRects, NoOverlapGivesFalseAndAnEmptyRect) {
    RECT out{1, 2, 3, 4};
    EXPECT_FALSE(intersectRects(RECT{0, 0, 10, 10}, RECT{10, 0, 20, 10}, out));  // touching edge
    EXPECT_TRUE(sameRect(out, RECT{0, 0, 0, 0}));
    out = RECT{1, 2, 3, 4};
    EXPECT_FALSE(intersectRects(RECT{0, 0, 10, 10}, RECT{20, 20, 30, 30}, out));
    EXPECT_TRUE(sameRect(out, RECT{0, 0, 0, 0}));
    EXPECT_FALSE(intersectRects(RECT{5, 5, 5, 20}, RECT{0, 0, 10, 10}, out));  // empty rectangle
    EXPECT_FALSE(intersectRects(RECT{10, 10, 0, 0}, RECT{0, 0, 10, 10}, out));  // inverted
}

class Thing : public Orvex::NamedObject {
public:
    using NamedObject::NamedObject;
};

TEST(FindNamedObject, FirstExactMatchElseNull) {
    Thing a(L"Karo"), b(L"karo"), c(L"Karo");
    std::vector<Orvex::NamedObject*> list{nullptr, &a, &b, &c};
    EXPECT_EQ(Orvex::findNamedObject(list, L"Karo"), &a);
    EXPECT_EQ(Orvex::findNamedObject(list, L"karo"), &b);
    EXPECT_EQ(Orvex::findNamedObject(list, L"KARO"), nullptr);
    EXPECT_EQ(Orvex::findNamedObject(list, L""), nullptr);

    std::vector<Thing*> things{&b, &c};
    Thing* found = Orvex::findNamedObject(things, L"Karo");  // keeps the element type
    EXPECT_EQ(found, &c);
    EXPECT_EQ(Orvex::findNamedObject(std::vector<Thing*>{}, L"Karo"), nullptr);
}

}  // namespace
