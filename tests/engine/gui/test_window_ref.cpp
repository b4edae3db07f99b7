#include <gtest/gtest.h>

#include <vector>

#include "engine/gui/GUIWindowRef.h"

namespace {

struct Counted {
    int references = 0;
    void addRef() { ++references; }
    void release() { --references; }
};

// A snapshot holds every entry once while it lives and walks them in the list's order, whether
// the list fits in place or not; a change to the list meanwhile does not reach the snapshot.
TEST(HeldListTest, HoldsEveryEntryInOrderWhileItLives) {
    for (std::size_t const size : {0u, 1u, 16u, 17u, 40u}) {
        SCOPED_TRACE(size);
        std::vector<Counted> objects(size);
        std::vector<Counted*> list;
        for (Counted& object : objects) list.push_back(&object);
        list.push_back(nullptr);  // gaps are passed over
        {
            Orvex::HeldList<Counted> held(list);
            list.clear();
            std::vector<Counted*> walked;
            for (Counted* each : held) walked.push_back(each);
            ASSERT_EQ(walked.size(), size + 1);
            for (std::size_t i = 0; i < size; ++i) {
                EXPECT_EQ(walked[i], &objects[i]);
                EXPECT_EQ(objects[i].references, 1);
            }
            EXPECT_EQ(walked.back(), nullptr);
        }
        for (Counted const& object : objects) EXPECT_EQ(object.references, 0);
    }
}

}  // namespace
