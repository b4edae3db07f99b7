// Shared helpers: rectangle overlap and lookup by name.
#include "engine/core/Utils.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/core/NamedObject.h"

namespace {

TEST(IntersectRects, OverlapOrFalseWithAnEmptyRect) {
    struct Case {
        RECT a, b;
        bool overlap;
        RECT expected;
    };
    Case const cases[] = {
        {{0, 0, 100, 50}, {60, 20, 200, 300}, true, {60, 20, 100, 50}},
        {{-50, -50, 50, 50}, {-10, -20, 10, 20}, true, {-10, -20, 10, 20}},  // containment, negatives
        {{0, 0, 10, 10}, {9, 9, 10, 10}, true, {9, 9, 10, 10}},
        {{0, 0, 10, 10}, {10, 0, 20, 10}, false, {0, 0, 0, 0}},  // touching edge
        {{0, 0, 10, 10}, {20, 20, 30, 30}, false, {0, 0, 0, 0}},
        {{5, 5, 5, 20}, {0, 0, 10, 10}, false, {0, 0, 0, 0}},  // empty rectangle
        {{10, 10, 0, 0}, {0, 0, 10, 10}, false, {0, 0, 0, 0}},  // inverted
    };
    for (Case const& c : cases) {
        RECT out{1, 2, 3, 4};
        EXPECT_EQ(Orvex::intersectRects(c.a, c.b, out), c.overlap) << c.a.left << "," << c.b.left;
        EXPECT_TRUE(out.left == c.expected.left && out.top == c.expected.top && out.right == c.expected.right &&
                    out.bottom == c.expected.bottom)
            << out.left << "," << out.top << "," << out.right << "," << out.bottom;
    }
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

    std::vector<Thing*> things{&b, &c};
    Thing* found = Orvex::findNamedObject(things, L"Karo");  // keeps the element type
    EXPECT_EQ(found, &c);

    std::vector<std::unique_ptr<Thing>> owned;  // owning lists give plain pointers
    owned.push_back(nullptr);
    owned.push_back(std::make_unique<Thing>(L"Pik"));
    EXPECT_EQ(Orvex::findNamedObject(owned, L"Pik"), owned[1].get());
}

}  // namespace
