// Signals and slots: call order, duplicates, reference arguments, changes during an emit, copy
// semantics and destruction on both sides. Run under AddressSanitizer, the emit cases also
// prove that no freed connection or receiver is touched.
#include "signals/sigslot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Logs its name, then runs an optional action (connect, disconnect, delete ...).
class Recorder : public sigslot::has_slots<> {
public:
    Recorder(Log* log, std::string name) : log_(log), name_(std::move(name)) {}
    void onZero() {
        log_->push_back(name_);
        if (action) action();
    }
    void onInt(int v) { log_->push_back(name_ + ":" + std::to_string(v)); }
    std::function<void()> action;

private:
    Log* log_;
    std::string name_;
};

// A signal0 with "a" and "b" connected in that order; "c" is spare.
struct EmitCase {
    Log log;
    sigslot::signal0<> sig;
    Recorder a{&log, "a"}, b{&log, "b"}, c{&log, "c"};
    EmitCase() {
        sig.connect(&a, &Recorder::onZero);
        sig.connect(&b, &Recorder::onZero);
    }
};

TEST(SigslotEmit, ConnectionOrderAndDuplicates) {
    Log log;
    sigslot::signal1<int> sig;
    sig.emit(0);  // no connection: nothing happens
    Recorder a(&log, "a"), b(&log, "b");
    sig.connect(&b, &Recorder::onInt);
    sig.connect(&a, &Recorder::onInt);
    sig.connect(&b, &Recorder::onInt);
    EXPECT_EQ(sig.connection_count(), 3u);
    EXPECT_EQ(b.sender_count(), 1u);
    sig(7);
    EXPECT_EQ(log, (Log{"b:7", "a:7", "b:7"}));
    log.clear();
    sig.disconnect(&b);  // both duplicates go together
    EXPECT_EQ(b.sender_count(), 0u);
    sig.disconnect(&b);
    sig.emit(8);
    EXPECT_EQ(log, (Log{"a:8"}));
}

struct KeyLike {
    int pressed = 0;
};
struct Other {
    virtual ~Other() = default;
    int padding[4] = {1, 2, 3, 4};
};
// has_slots is not the first base, and the slot is virtual.
struct Changer : Other, sigslot::has_slots<> {
    virtual void onKey(KeyLike& state, unsigned char const& code) { state.pressed += code; }
    void onAll(int a, double b, std::string const& c, KeyLike& d, long e) { sum = a + b + c.size() + d.pressed + e; }
    double sum = 0;
};
struct DoubleChanger : Changer {
    void onKey(KeyLike& state, unsigned char const& code) override { state.pressed += 2 * code; }
};

TEST(SigslotEmit, ReferenceArgumentsVirtualSlotsAndSecondaryBases) {
    Changer one;
    DoubleChanger two;
    sigslot::signal2<KeyLike&, unsigned char const&> sig;
    sig.connect(&one, &Changer::onKey);
    sig.connect(&two, &Changer::onKey);
    KeyLike state;
    sig.emit(state, 5);
    EXPECT_EQ(state.pressed, 15);  // both slots changed the emitter's object, the override ran
    sigslot::signal5<int, double, std::string const&, KeyLike&, long> five;
    five.connect(&one, &Changer::onAll);
    five(1, 0.5, "abc", state, 100L);
    EXPECT_DOUBLE_EQ(one.sum, 1 + 0.5 + 3 + 15 + 100);
    EXPECT_EQ(one.padding[3], 4);
}

TEST(SigslotEmitChanges, ConnectAndDisconnectInsideASlot) {
    EmitCase late;  // a connection made during an emit waits for the next one
    late.a.action = [&] { late.sig.connect(&late.c, &Recorder::onZero); };
    late.sig.emit();
    late.a.action = nullptr;
    late.sig.emit();
    EXPECT_EQ(late.log, (Log{"a", "b", "a", "b", "c"}));

    EmitCase removed;  // a connection removed during an emit is skipped
    removed.sig.connect(&removed.c, &Recorder::onZero);
    removed.a.action = [&] { removed.sig.disconnect(&removed.b); };
    removed.sig.emit();
    EXPECT_EQ(removed.log, (Log{"a", "c"}));

    EmitCase again;  // removed and reconnected: not called in this emit at all
    again.a.action = [&] {
        again.sig.disconnect(&again.b);
        again.sig.connect(&again.b, &Recorder::onZero);
    };
    again.sig.emit();
    EXPECT_EQ(again.log, (Log{"a"}));
}

TEST(SigslotEmitChanges, ReceiversDestroyedInsideASlot) {
    EmitCase t;
    auto* doomed = new Recorder(&t.log, "doomed");
    auto* self = new Recorder(&t.log, "self");
    t.sig.connect(doomed, &Recorder::onZero);
    t.sig.connect(self, &Recorder::onZero);
    t.sig.connect(self, &Recorder::onZero);  // a second connection to the then freed receiver
    t.sig.connect(&t.c, &Recorder::onZero);
    t.a.action = [&] { delete doomed; };  // an earlier slot deletes a later receiver
    self->action = [self] { delete self; };
    t.sig.emit();
    EXPECT_EQ(t.log, (Log{"a", "b", "self", "c"}));
    EXPECT_EQ(t.sig.connection_count(), 3u);
}

TEST(SigslotEmitChanges, SignalDestroyedInsideItsOwnEmit) {
    Log log;
    auto* sig = new sigslot::signal0<>;
    Recorder a(&log, "a"), b(&log, "b");
    sig->connect(&a, &Recorder::onZero);
    sig->connect(&b, &Recorder::onZero);
    a.action = [&] { delete sig; };
    sig->emit();
    EXPECT_EQ(log, (Log{"a"}));
    EXPECT_EQ(a.sender_count() + b.sender_count(), 0u);
}

TEST(SigslotEmitChanges, NestedEmitAndDisconnectAllFromASlot) {
    EmitCase t;
    int depth = 0;
    t.a.action = [&] {
        if (++depth < 3) t.sig.emit();  // re-entrant emit: each level sees the whole list
    };
    t.sig.emit();
    EXPECT_EQ(t.log, (Log{"a", "a", "a", "b", "b", "b"}));

    t.log.clear();
    t.a.action = [&] { t.sig.disconnect_all(); };
    t.sig.emit();
    EXPECT_EQ(t.log, (Log{"a"}));
    EXPECT_TRUE(t.sig.empty());
    EXPECT_EQ(t.b.sender_count(), 0u);

    sigslot::signal0<> first, second;  // a receiver leaving every signal inside its slot
    first.connect(&t.a, &Recorder::onZero);
    first.connect(&t.a, &Recorder::onZero);
    second.connect(&t.a, &Recorder::onZero);
    t.log.clear();
    t.a.action = [&] { t.a.disconnect_all(); };
    first.emit();
    second.emit();
    EXPECT_EQ(t.log, (Log{"a"}));
    EXPECT_TRUE(first.empty() && second.empty());
}

TEST(SigslotLifetime, DestroyingEitherSideDisconnectsTheOther) {
    Log log;
    Recorder a(&log, "a");
    {
        sigslot::signal0<> one, two;
        one.connect(&a, &Recorder::onZero);
        two.connect(&a, &Recorder::onZero);
        EXPECT_EQ(a.sender_count(), 2u);
    }
    EXPECT_EQ(a.sender_count(), 0u);

    sigslot::signal1<int> one, two;
    {
        Recorder r(&log, "r");
        one.connect(&r, &Recorder::onInt);
        two.connect(&r, &Recorder::onInt);
        two.connect(&r, &Recorder::onInt);
    }
    EXPECT_TRUE(one.empty() && two.empty());
    one.emit(1);
    two.emit(2);
    EXPECT_TRUE(log.empty());
}

TEST(SigslotCopy, CopiedAndAssignedSignals) {
    Log log;
    Recorder a(&log, "a"), b(&log, "b");
    auto original = std::make_unique<sigslot::signal1<int>>();
    original->connect(&a, &Recorder::onInt);
    original->connect(&b, &Recorder::onInt);
    sigslot::signal1<int> copy(*original);
    EXPECT_EQ(a.sender_count(), 2u);
    original.reset();  // the copy's connections are its own
    EXPECT_EQ(a.sender_count(), 1u);
    copy.emit(2);
    EXPECT_EQ(log, (Log{"a:2", "b:2"}));

    sigslot::signal1<int> source, target;
    source.connect(&a, &Recorder::onInt);
    target.connect(&b, &Recorder::onInt);
    target = source;  // replaces the target's connections
    EXPECT_EQ(b.sender_count(), 1u);
    EXPECT_EQ(a.sender_count(), 3u);
    sigslot::signal1<int>& alias = target;
    target = alias;  // self-assignment keeps them
    log.clear();
    target.emit(3);
    EXPECT_EQ(log, (Log{"a:3"}));
}

TEST(SigslotCopy, CopiedAndAssignedReceivers) {
    Log log;
    sigslot::signal1<int> one, two;
    auto original = std::make_unique<Recorder>(&log, "r");
    Recorder other(&log, "o");
    one.connect(original.get(), &Recorder::onInt);
    one.connect(&other, &Recorder::onInt);
    two.connect(original.get(), &Recorder::onInt);
    Recorder copy(*original);
    EXPECT_EQ(copy.sender_count(), 2u);
    EXPECT_EQ(one.connection_count(), 3u);
    original.reset();
    one.emit(2);
    two.emit(3);
    EXPECT_EQ(log, (Log{"o:2", "r:2", "r:3"}));  // the copy (also "r") was appended and stays

    EmitCase t;  // assigning a receiver keeps the target's own connections
    sigslot::signal0<> fourth;
    fourth.connect(&t.c, &Recorder::onZero);
    static_cast<sigslot::has_slots<>&>(t.c) = t.a;
    EXPECT_EQ(t.c.sender_count(), 1u);
    fourth.emit();
    t.sig.emit();
    EXPECT_EQ(t.log, (Log{"c", "a", "b"}));
}

// Connections are removed one receiver at a time, from anywhere in the list, by the signal
// (disconnect), by the receiver (disconnect_all) or by its end: the rest keep their order, a
// receiver connected twice leaves with both, and the other signal of the receiver is untouched.
struct RemovalCase {
    char const* name;
    std::vector<int> order;  // receivers removed, in this order
    int how;                 // 0 signal.disconnect, 1 receiver.disconnect_all, 2 destroyed
};

class SigslotRemoval : public ::testing::TestWithParam<RemovalCase> {};

TEST_P(SigslotRemoval, TheRestKeepTheirOrder) {
    RemovalCase const& c = GetParam();
    constexpr int kReceivers = 6;
    Log log;
    sigslot::signal0<> sig, other;
    std::vector<std::unique_ptr<Recorder>> receivers;
    for (int i = 0; i < kReceivers; ++i) receivers.push_back(std::make_unique<Recorder>(&log, std::to_string(i)));
    // 0 1 2 3 4 5, then 1 and 4 a second time; "other" holds every receiver once.
    for (int i = 0; i < kReceivers; ++i) sig.connect(receivers[i].get(), &Recorder::onZero);
    sig.connect(receivers[1].get(), &Recorder::onZero);
    sig.connect(receivers[4].get(), &Recorder::onZero);
    for (int i = 0; i < kReceivers; ++i) other.connect(receivers[i].get(), &Recorder::onZero);
    Log expected{"0", "1", "2", "3", "4", "5", "1", "4"};
    for (int gone : c.order) {
        std::string const name = std::to_string(gone);
        if (c.how == 0) sig.disconnect(receivers[gone].get());
        if (c.how == 1) receivers[gone]->disconnect_all();
        if (c.how == 2) receivers[gone].reset();
        std::erase(expected, name);
        log.clear();
        sig.emit();
        EXPECT_EQ(log, expected) << "after " << name;
        EXPECT_EQ(sig.connection_count(), expected.size());
    }
    log.clear();
    other.emit();
    Log rest;
    for (int i = 0; i < kReceivers; ++i)
        if (receivers[i] && (c.how == 0 || std::find(c.order.begin(), c.order.end(), i) == c.order.end()))
            rest.push_back(std::to_string(i));
    EXPECT_EQ(log, rest);
}

INSTANTIATE_TEST_SUITE_P(Orders, SigslotRemoval,
                         ::testing::Values(RemovalCase{"FirstToLastBySignal", {0, 1, 2, 3, 4, 5}, 0},
                                           RemovalCase{"LastToFirstByReceiver", {5, 4, 3, 2, 1, 0}, 1},
                                           RemovalCase{"MiddleOutDestroyed", {2, 4, 0, 5, 1, 3}, 2},
                                           RemovalCase{"TwiceConnectedFirst", {1, 4}, 0}),
                         [](auto const& info) { return std::string(info.param.name); });

// A signal with thousands of receivers (the texture clock has one per texture): removing every
// other one leaves the rest in order, and removing a receiver that is not connected changes nothing.
TEST(SigslotRemovalMany, EveryOtherOfManyReceivers) {
    constexpr int kCount = 5000;
    Log log;
    sigslot::signal0<> sig;
    std::vector<std::unique_ptr<Recorder>> receivers;
    for (int i = 0; i < kCount; ++i) {
        receivers.push_back(std::make_unique<Recorder>(&log, std::to_string(i)));
        sig.connect(receivers.back().get(), &Recorder::onZero);
    }
    Recorder stranger(&log, "stranger");
    sig.disconnect(&stranger);
    EXPECT_EQ(sig.connection_count(), static_cast<std::size_t>(kCount));
    for (int i = 0; i < kCount; i += 2) receivers[static_cast<std::size_t>(i)].reset();
    sig.emit();
    ASSERT_EQ(log.size(), static_cast<std::size_t>(kCount / 2));
    for (std::size_t i = 0; i < log.size(); ++i) EXPECT_EQ(log[i], std::to_string(2 * i + 1));
}

// lock and unlock are virtual operations of every receiver: the library calls an override.
struct CountingLock : sigslot::has_slots<> {
    void lock() override { ++locks; }
    void unlock() override { ++unlocks; }
    void onZero() {}
    int locks = 0, unlocks = 0;
};

TEST(SigslotPolicy, LockAndUnlockAreVirtualOperationsOfTheReceiver) {
    CountingLock r;
    sigslot::signal0<> sig;
    sig.connect(&r, &CountingLock::onZero);
    EXPECT_GE(r.locks, 1);
    EXPECT_EQ(r.locks, r.unlocks);
}

}  // namespace
