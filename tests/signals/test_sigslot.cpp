// Signals and slots: call order, duplicates, reference arguments, changes during an emit, copy
// semantics and destruction on both sides. Run under AddressSanitizer, the emit cases also
// prove that no freed connection or receiver is touched.
#include "signals/sigslot.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

class Recorder : public sigslot::has_slots<> {
public:
    Recorder(Log* log, std::string name) : log_(log), name_(std::move(name)) {}
    void onZero() { log_->push_back(name_); }
    void onInt(int v) { log_->push_back(name_ + ":" + std::to_string(v)); }
    std::string const& name() const { return name_; }

protected:
    Log* log_;
    std::string name_;
};

// A receiver whose slot runs an arbitrary action first (connect, disconnect, delete ...).
class Actor : public Recorder {
public:
    using Recorder::Recorder;
    std::function<void()> action;
    void onZero() {
        Recorder::onZero();
        if (action) action();
    }
};

TEST(SigslotEmit, CallsInConnectionOrderAndNothingWithoutConnections) {
    sigslot::signal0<> sig;
    sig.emit();  // no connection: nothing happens

    Log log;
    Recorder a(&log, "a"), b(&log, "b"), c(&log, "c");
    sig.connect(&b, &Recorder::onZero);
    sig.connect(&a, &Recorder::onZero);
    sig.connect(&c, &Recorder::onZero);
    sig();
    EXPECT_EQ(log, (Log{"b", "a", "c"}));
}

TEST(SigslotEmit, DuplicateConnectionsAreCalledTwiceAndDisconnectedTogether) {
    Log log;
    Recorder a(&log, "a"), b(&log, "b");
    sigslot::signal1<int> sig;
    sig.connect(&a, &Recorder::onInt);
    sig.connect(&b, &Recorder::onInt);
    sig.connect(&a, &Recorder::onInt);
    EXPECT_EQ(sig.connection_count(), 3u);
    EXPECT_EQ(a.sender_count(), 1u);
    sig.emit(7);
    EXPECT_EQ(log, (Log{"a:7", "b:7", "a:7"}));

    log.clear();
    sig.disconnect(&a);
    EXPECT_EQ(a.sender_count(), 0u);
    sig.disconnect(&a);  // nothing left: no effect
    sig.emit(8);
    EXPECT_EQ(log, (Log{"b:8"}));
}

struct KeyLike {
    int pressed = 0;
};

class Changer : public sigslot::has_slots<> {
public:
    void onKey(KeyLike& state, unsigned char const& code) {
        state.pressed += code;
        seen = &state;
    }
    void onAll(int a, double b, std::string const& c, KeyLike& d, long e) {
        sum = a + b + static_cast<double>(c.size()) + d.pressed + static_cast<double>(e);
    }
    KeyLike* seen = nullptr;
    double sum = 0;
};

TEST(SigslotEmit, ReferenceArgumentsReachTheSlotAndChangesComeBack) {
    Changer one, two;
    sigslot::signal2<KeyLike&, unsigned char const&> sig;
    sig.connect(&one, &Changer::onKey);
    sig.connect(&two, &Changer::onKey);
    KeyLike state;
    sig.emit(state, 5);
    EXPECT_EQ(state.pressed, 10);  // both slots changed the emitter's object
    EXPECT_EQ(one.seen, &state);

    sigslot::signal5<int, double, std::string const&, KeyLike&, long> five;
    five.connect(&one, &Changer::onAll);
    five(1, 0.5, "abc", state, 100L);
    EXPECT_DOUBLE_EQ(one.sum, 1 + 0.5 + 3 + 10 + 100);
}

// Slots inherited from a base, virtual slots and a receiver whose has_slots part is not its
// first base all reach the right object.
class Other {
public:
    virtual ~Other() = default;
    int padding[4] = {1, 2, 3, 4};
};

class Base : public sigslot::has_slots<> {
public:
    virtual void onVirtual(int v) { got = v; }
    void onPlain(int v) { plain = v; }
    int got = 0, plain = 0;
};

class Derived : public Other, public Base {
public:
    void onVirtual(int v) override { got = -v; }
};

TEST(SigslotConnect, SlotsOfBasesVirtualSlotsAndSecondaryBases) {
    Derived d;
    sigslot::signal1<int> sig;
    sig.connect(&d, &Base::onVirtual);
    sig.connect(&d, &Base::onPlain);
    sig.emit(4);
    EXPECT_EQ(d.got, -4);
    EXPECT_EQ(d.plain, 4);
    EXPECT_EQ(d.padding[3], 4);
}

TEST(SigslotEmitChanges, ConnectionMadeDuringEmitWaitsForTheNextEmit) {
    Log log;
    sigslot::signal0<> sig;
    Actor a(&log, "a");
    Recorder late(&log, "late");
    a.action = [&] { sig.connect(&late, &Recorder::onZero); };
    sig.connect(&a, &Actor::onZero);
    sig.emit();
    EXPECT_EQ(log, (Log{"a"}));
    a.action = nullptr;
    sig.emit();
    EXPECT_EQ(log, (Log{"a", "a", "late"}));
}

TEST(SigslotEmitChanges, ConnectionRemovedDuringEmitIsSkipped) {
    Log log;
    sigslot::signal0<> sig;
    Actor a(&log, "a");
    Recorder b(&log, "b"), c(&log, "c");
    sig.connect(&a, &Actor::onZero);
    sig.connect(&b, &Recorder::onZero);
    sig.connect(&c, &Recorder::onZero);
    a.action = [&] { sig.disconnect(&b); };
    sig.emit();
    EXPECT_EQ(log, (Log{"a", "c"}));
}

TEST(SigslotEmitChanges, RemovedAndReconnectedDuringEmitIsNotCalledTwice) {
    Log log;
    sigslot::signal0<> sig;
    Actor a(&log, "a");
    Recorder b(&log, "b");
    sig.connect(&a, &Actor::onZero);
    sig.connect(&b, &Recorder::onZero);
    a.action = [&] {
        sig.disconnect(&b);
        sig.connect(&b, &Recorder::onZero);
    };
    sig.emit();
    EXPECT_EQ(log, (Log{"a"}));
}

TEST(SigslotEmitChanges, ReceiverDestroyedByAnEarlierSlotIsNotCalled) {
    Log log;
    sigslot::signal0<> sig;
    Actor a(&log, "a");
    auto* b = new Recorder(&log, "b");
    sig.connect(&a, &Actor::onZero);
    sig.connect(b, &Recorder::onZero);
    sig.connect(b, &Recorder::onZero);
    a.action = [&] {
        delete b;
        b = nullptr;
    };
    sig.emit();
    EXPECT_EQ(log, (Log{"a"}));
    EXPECT_EQ(sig.connection_count(), 1u);
}

TEST(SigslotEmitChanges, ReceiverDeletingItselfInItsSlot) {
    Log log;
    sigslot::signal0<> sig;
    auto* self = new Actor(&log, "self");
    Recorder after(&log, "after");
    sig.connect(self, &Actor::onZero);
    sig.connect(self, &Actor::onZero);  // a second connection to the now freed receiver
    sig.connect(&after, &Recorder::onZero);
    self->action = [self] { delete self; };
    sig.emit();
    EXPECT_EQ(log, (Log{"self", "after"}));
    EXPECT_EQ(sig.connection_count(), 1u);
}

TEST(SigslotEmitChanges, SignalDestroyedInsideItsOwnEmit) {
    Log log;
    auto* sig = new sigslot::signal0<>;
    Actor a(&log, "a");
    Recorder b(&log, "b");
    sig->connect(&a, &Actor::onZero);
    sig->connect(&b, &Recorder::onZero);
    a.action = [&] {
        delete sig;
        sig = nullptr;
    };
    sig->emit();
    EXPECT_EQ(log, (Log{"a"}));
    EXPECT_EQ(a.sender_count(), 0u);
    EXPECT_EQ(b.sender_count(), 0u);
}

TEST(SigslotEmitChanges, DisconnectAllAndNestedEmitFromASlot) {
    Log log;
    sigslot::signal0<> sig;
    Actor a(&log, "a");
    Recorder b(&log, "b");
    sig.connect(&a, &Actor::onZero);
    sig.connect(&b, &Recorder::onZero);
    int depth = 0;
    a.action = [&] {
        if (++depth < 3) sig.emit();  // re-entrant emit: each level sees the whole list
    };
    sig.emit();
    EXPECT_EQ(log, (Log{"a", "a", "a", "b", "b", "b"}));

    log.clear();
    a.action = [&] { sig.disconnect_all(); };
    sig.emit();
    EXPECT_EQ(log, (Log{"a"}));
    EXPECT_TRUE(sig.empty());
    EXPECT_EQ(a.sender_count(), 0u);
    EXPECT_EQ(b.sender_count(), 0u);
}

TEST(SigslotEmitChanges, ReceiverLeavingAllSignalsInsideASlot) {
    Log log;
    sigslot::signal0<> first, second;
    Actor a(&log, "a");
    first.connect(&a, &Actor::onZero);
    first.connect(&a, &Actor::onZero);
    second.connect(&a, &Actor::onZero);
    a.action = [&] { a.disconnect_all(); };
    first.emit();
    second.emit();
    EXPECT_EQ(log, (Log{"a"}));
    EXPECT_TRUE(first.empty());
    EXPECT_TRUE(second.empty());
}

TEST(SigslotLifetime, DestroyingTheSignalDisconnectsTheReceivers) {
    Log log;
    Recorder a(&log, "a");
    {
        sigslot::signal0<> one, two;
        one.connect(&a, &Recorder::onZero);
        two.connect(&a, &Recorder::onZero);
        EXPECT_EQ(a.sender_count(), 2u);
    }
    EXPECT_EQ(a.sender_count(), 0u);
}

TEST(SigslotLifetime, DestroyingTheReceiverDisconnectsTheSignals) {
    Log log;
    sigslot::signal1<int> one, two;
    {
        Recorder a(&log, "a");
        one.connect(&a, &Recorder::onInt);
        two.connect(&a, &Recorder::onInt);
        two.connect(&a, &Recorder::onInt);
    }
    EXPECT_TRUE(one.empty());
    EXPECT_TRUE(two.empty());
    one.emit(1);
    two.emit(2);
    EXPECT_TRUE(log.empty());
}

TEST(SigslotCopy, CopiedSignalCallsTheSameReceivers) {
    Log log;
    Recorder a(&log, "a"), b(&log, "b");
    auto original = std::make_unique<sigslot::signal1<int>>();
    original->connect(&a, &Recorder::onInt);
    original->connect(&b, &Recorder::onInt);
    sigslot::signal1<int> copy(*original);
    EXPECT_EQ(a.sender_count(), 2u);
    copy.emit(1);
    EXPECT_EQ(log, (Log{"a:1", "b:1"}));

    // The copy's connections are its own: the original going away leaves them.
    original.reset();
    EXPECT_EQ(a.sender_count(), 1u);
    log.clear();
    copy.emit(2);
    EXPECT_EQ(log, (Log{"a:2", "b:2"}));
}

TEST(SigslotCopy, AssignedSignalReplacesItsConnections) {
    Log log;
    Recorder a(&log, "a"), b(&log, "b");
    sigslot::signal1<int> source, target;
    source.connect(&a, &Recorder::onInt);
    target.connect(&b, &Recorder::onInt);
    target = source;
    EXPECT_EQ(b.sender_count(), 0u);
    EXPECT_EQ(a.sender_count(), 2u);
    sigslot::signal1<int>& alias = target;
    target = alias;  // self-assignment keeps the connections
    target.emit(3);
    EXPECT_EQ(log, (Log{"a:3"}));
}

TEST(SigslotCopy, CopiedReceiverIsConnectedToTheSameSenders) {
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
    one.emit(1);
    EXPECT_EQ(log, (Log{"r:1", "o:1", "r:1"}));  // the copy's twin is appended

    original.reset();
    log.clear();
    one.emit(2);
    two.emit(3);
    EXPECT_EQ(log, (Log{"o:2", "r:2", "r:3"}));  // the copy (also named "r") stays connected
}

TEST(SigslotCopy, AssignedReceiverKeepsItsOwnConnections) {
    Log log;
    sigslot::signal0<> one, two;
    Recorder a(&log, "a"), b(&log, "b");
    one.connect(&a, &Recorder::onZero);
    two.connect(&b, &Recorder::onZero);
    static_cast<sigslot::has_slots<>&>(b) = a;
    EXPECT_EQ(b.sender_count(), 1u);
    one.emit();
    two.emit();
    EXPECT_EQ(log, (Log{"a", "b"}));
}

// lock and unlock follow the destructor as virtual operations of every receiver: a receiver can
// override them and the library calls the override.
class CountingLock : public sigslot::has_slots<> {
public:
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
    sigslot::has_slots<sigslot::single_threaded>* base = &r;
    base->lock();
    EXPECT_EQ(r.locks, r.unlocks + 1);
    base->unlock();
}

}  // namespace
