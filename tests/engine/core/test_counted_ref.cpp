// The counted reference: every way of taking, sharing, handing over and letting go of an object
// leaves its count where the holders say, and the object goes with its last holder.
#include "engine/core/CountedRef.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "engine/core/NamedObject.h"

namespace {

using Orvex::CountedRef;
using Orvex::NamedObject;

// A named object that tells when it goes.
class Tracked : public NamedObject {
public:
    explicit Tracked(bool& gone) : gone_(gone) {}
    ~Tracked() override { gone_ = true; }

private:
    bool& gone_;
};

struct RefCase {
    char const* name;
    // Runs on an object made with the caller's one reference; returns the holders to keep.
    std::function<std::vector<CountedRef<Tracked>>(Tracked*)> run;
    int countWhileHeld;  // the count while the returned holders live
};

TEST(CountedRefTest, CountsFollowTheHolders) {
    RefCase const cases[] = {
        {"adopt takes the caller's reference",
         [](Tracked* t) {
             std::vector<CountedRef<Tracked>> held(1);
             held[0].adopt(t);
             return held;
         },
         1},
        {"adoptRef takes the caller's reference",
         [](Tracked* t) {
             std::vector<CountedRef<Tracked>> held;
             held.push_back(Orvex::adoptRef(t));
             return held;
         },
         1},
        {"hold adds one, the caller lets go of its own",
         [](Tracked* t) {
             std::vector<CountedRef<Tracked>> held(1);
             held[0].hold(t);
             t->release();
             return held;
         },
         1},
        {"a copy shares the object",
         [](Tracked* t) {
             CountedRef<Tracked> first;
             first.adopt(t);
             CountedRef<Tracked> const second = first;
             return std::vector<CountedRef<Tracked>>{first, second};
         },
         // the two in the list (the locals are gone by then)
         2},
        {"a move hands the reference over",
         [](Tracked* t) {
             CountedRef<Tracked> first;
             first.adopt(t);
             CountedRef<Tracked> second = std::move(first);
             EXPECT_EQ(first, nullptr);
             std::vector<CountedRef<Tracked>> held;
             held.push_back(std::move(second));
             return held;
         },
         1},
        {"holding the object already held keeps one reference",
         [](Tracked* t) {
             std::vector<CountedRef<Tracked>> held(1);
             held[0].adopt(t);
             held[0].hold(t);
             CountedRef<Tracked>& self = held[0];
             held[0] = self;
             return held;
         },
         1},
    };
    for (RefCase const& c : cases) {
        SCOPED_TRACE(c.name);
        bool gone = false;
        auto* object = new Tracked(gone);
        {
            std::vector<CountedRef<Tracked>> held = c.run(object);
            ASSERT_FALSE(gone);
            EXPECT_EQ(object->getRefCount(), c.countWhileHeld);
            EXPECT_TRUE(held.front());
            EXPECT_EQ(held.front().get(), object);
        }
        EXPECT_TRUE(gone) << "the last holder lets the object go";
    }
}

TEST(CountedRefTest, ResetAndReplacingLetGoOfTheOldObject) {
    bool firstGone = false;
    bool secondGone = false;
    CountedRef<Tracked> ref;
    EXPECT_EQ(ref, nullptr);
    EXPECT_FALSE(ref);
    ref.adopt(new Tracked(firstGone));
    ref.adopt(new Tracked(secondGone));
    EXPECT_TRUE(firstGone);
    EXPECT_FALSE(secondGone);
    ref.reset();
    EXPECT_TRUE(secondGone);
    EXPECT_EQ(ref.get(), nullptr);
    ref.hold(nullptr);
    EXPECT_EQ(ref, nullptr);
}

// Two references to one object compare equal, and equal to that object's pointer; references to
// different objects, or one to none, do not.
TEST(CountedRefTest, ComparesByTheObjectHeld) {
    bool gone = false;
    auto* object = new Tracked(gone);
    CountedRef<Tracked> const first = Orvex::adoptRef(object);
    CountedRef<Tracked> const second = first;
    CountedRef<Tracked> const none;
    CountedRef<Tracked> const other = Orvex::adoptRef(new Tracked(gone));
    EXPECT_TRUE(first == second);
    EXPECT_TRUE(first == object);
    EXPECT_FALSE(first == none);
    EXPECT_FALSE(first == other);
    EXPECT_FALSE(other == object);
    EXPECT_TRUE(none == static_cast<Tracked const*>(nullptr));
    EXPECT_TRUE(Orvex::adoptRef<Tracked>(nullptr) == nullptr);
}

// plainPointers lists the objects in order, nulls kept, and adds no reference; it serves
// unique_ptr lists alike.
TEST(CountedRefTest, PlainPointersListTheObjectsWithoutHoldingThem) {
    bool gone = false;
    std::vector<CountedRef<Tracked>> refs;
    refs.push_back(Orvex::adoptRef(new Tracked(gone)));
    refs.emplace_back();
    refs.push_back(Orvex::adoptRef(new Tracked(gone)));
    std::vector<Tracked*> const plain = Orvex::plainPointers(refs);
    ASSERT_EQ(plain.size(), 3u);
    EXPECT_EQ(plain[0], refs[0].get());
    EXPECT_EQ(plain[1], nullptr);
    EXPECT_EQ(plain[2], refs[2].get());
    EXPECT_EQ(refs[0]->getRefCount(), 1);
    EXPECT_EQ(refs[2]->getRefCount(), 1);

    std::vector<std::unique_ptr<int>> owned;
    owned.push_back(std::make_unique<int>(7));
    std::vector<int*> const ints = Orvex::plainPointers(owned);
    ASSERT_EQ(ints.size(), 1u);
    EXPECT_EQ(ints[0], owned[0].get());
    EXPECT_TRUE(Orvex::plainPointers(std::vector<std::unique_ptr<int>>()).empty());
}

}  // namespace
