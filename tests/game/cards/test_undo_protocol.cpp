// The undo protocol: index rules of the history (steps clamped at both ends, a save after an undo
// drops the redo tail, discarding), and the card and arrangement records: a snapshot in the middle
// of a delayed change records the pending goals, and restore writes back what it took.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/cards/Anordnung.h"
#include "game/cards/UndoObjekt.h"
#include "tests/game/cards/CardTestSupport.h"

namespace {

using Solitaire::Karte;

// An object whose state is one number; restores are counted.
struct Counter : Solitaire::UndoObjekt {
    int state = 0;
    std::vector<int> restored;
    struct Record : Solitaire::UndoData {
        Counter& owner;
        int state;
        Record(Counter& o, int s) : owner(o), state(s) {}
        void restore() override {
            owner.state = state;
            owner.restored.push_back(state);
        }
    };
    void saveUndoState() override {
        UndoObjekt::saveUndoState();
        appendUndoRecord(std::make_unique<Record>(*this, state));
    }
};

void fill(Counter& counter, int records) {
    for (int i = 0; i < records; ++i) {
        counter.state = i;
        counter.saveUndoState();
    }
}

TEST(UndoHistory, StepsAreClampedAndRestoreTheRecordThere) {
    struct Step {
        int delta;
        int made;
        int index;
    };
    // Records 0..4 at index 4.
    Step const steps[] = {{-2, -2, 2}, {-5, -2, 0}, {+10, 4, 4}, {0, 0, 4}, {+1, 0, 4}};
    Counter counter;
    fill(counter, 5);
    for (Step const& s : steps) {
        EXPECT_EQ(counter.stepHistory(s.delta), s.made) << s.delta;
        EXPECT_EQ(counter.getUndoIndex(), s.index);
        EXPECT_EQ(counter.restored.back(), s.index) << "the record at the new index is restored again";
    }
}

TEST(UndoHistory, SaveAfterUndoDropsTheRedoTail) {
    Counter counter;
    fill(counter, 5);
    counter.stepHistory(-2);
    counter.state = 99;
    counter.saveUndoState();
    EXPECT_EQ(counter.getUndoCount(), 4u);
    EXPECT_EQ(counter.getUndoIndex(), 3);
    EXPECT_EQ(counter.stepHistory(+1), 0) << "nothing left to redo";
    counter.stepHistory(-1);
    EXPECT_EQ(counter.state, 2);
}

TEST(UndoHistory, DiscardFrom) {
    struct Case {
        int from;
        unsigned left;
        int index;
    };
    Case const cases[] = {{3, 3, 2}, {0, 0, -1}, {-4, 0, -1}, {9, 5, 4}};
    for (Case const& c : cases) {
        Counter counter;
        fill(counter, 5);
        counter.discardFrom(c.from);
        EXPECT_EQ(counter.getUndoCount(), c.left) << c.from;
        EXPECT_EQ(counter.getUndoIndex(), c.index) << c.from << ": the index stays on a record";
    }
    Counter empty;
    EXPECT_EQ(empty.getUndoIndex(), -1);
    EXPECT_EQ(empty.stepHistory(-1), 0);
    EXPECT_TRUE(empty.restored.empty());
}

TEST(CardUndo, SnapshotRecordsPendingGoalsAndRestoreWritesThemBack) {
    auto cards = cardtest::makeCards(3);
    Karte& card = *cards[0];
    card.moveTo({10.0f, 20.0f}, 0.0f, 0.0f);
    card.setFaceUp(true, 0.0f, 0.0f);
    // Mid-way: a glide, a turn, a fade and a face turn wait behind a delay.
    card.moveTo({70.0f, 80.0f}, 1.0f, 0.5f);
    card.rotateTo(30.0f, 1.0f, 0.5f, true);
    card.setOpacity(0.5f, 1.0f, 0.5f);
    card.setFaceUp(false, 1.0f, 0.5f);
    card.setLocks({1, 0, 0, 0}, 1.0f, 0.5f);
    card.linkTo(cards[1].get());
    cards[2]->linkTo(&card);
    card.tag = L"PILE_A";
    card.extraNumber = 7;
    card.isJoker = true;
    card.goalKind = 2;
    card.saveUndoState();
    auto const* record = dynamic_cast<Karte::KartenUndoData const*>(card.getUndoRecord(0));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->position.x, 70.0f);
    EXPECT_EQ(record->rotation, 30.0f);
    EXPECT_EQ(record->opacity, 0.5f);
    EXPECT_FALSE(record->faceUp);
    EXPECT_EQ(record->locks.x, 1.0f);

    // Everything changes; the restore brings the recorded goals and fields back.
    card.setWaitTimer(-1.0f, 0);
    card.moveTo({0.0f, 0.0f}, 0.0f, 0.0f);
    card.setFaceUp(true, 0.0f, 0.0f);
    card.unlink(false, true, true);
    card.tag.clear();
    card.extraNumber = 0;
    card.isJoker = false;
    card.goalKind = 0;
    card.flightTime = 3.0f;
    card.stepHistory(0);
    EXPECT_EQ(card.position.goal.x, 70.0f);
    EXPECT_EQ(card.rotation.goal, 30.0f);
    EXPECT_EQ(card.opacity.goal, 0.5f);
    EXPECT_FALSE(card.isFaceUp());
    EXPECT_TRUE(card.isLocked());
    EXPECT_EQ(card.links, std::vector<Karte*>{cards[1].get()});
    EXPECT_EQ(card.backLinks, std::vector<Karte*>{cards[2].get()});
    EXPECT_EQ(card.tag, L"PILE_A");
    EXPECT_EQ(card.extraNumber, 7);
    EXPECT_TRUE(card.isJoker);
    EXPECT_EQ(card.goalKind, 2);
    EXPECT_EQ(card.flightTime, -1.0f);
    EXPECT_EQ(card.pendingMask, 0);
    // The other cards restore their own records in the same step; here they are re-linked.
    cards[1]->backLinks = {&card};
    cards[2]->links = {&card};
}

TEST(ArrangementUndo, RestoreWritesCardsJitterAndFillRatioBack) {
    auto cards = cardtest::makeCards(3);
    Orvex::XMLNode node(L"ANORDNUNG");
    Solitaire::Anordnung arrangement(node, nullptr, nullptr);
    arrangement.addCardEntry(cards[0].get());
    arrangement.addCardEntry(cards[1].get());
    arrangement.setFillRatio(1.5f);
    arrangement.saveUndoState();
    auto const jitter = arrangement.cardOffsets;
    arrangement.removeCard(cards[0].get());
    arrangement.addCardEntry(cards[2].get());
    arrangement.setFillRatio(0.5f);
    arrangement.saveUndoState();
    EXPECT_EQ(arrangement.stepHistory(-1), -1);
    EXPECT_EQ(arrangement.cards, (std::vector<Karte*>{cards[0].get(), cards[1].get()}));
    ASSERT_EQ(arrangement.cardOffsets.size(), 2u);
    EXPECT_EQ(arrangement.cardOffsets[1].x, jitter[1].x);
    EXPECT_EQ(arrangement.fillRatio, 1.5f);
}

}  // namespace
