// Signals and slots: typed signals of zero to five arguments that call member functions of
// receivers derived from has_slots, in the order the connections were made.
//
// - connect appends; there is no duplicate test (a pair connected twice is called twice).
// - emit walks a copy of the connection list and skips every connection removed meanwhile; a
//   connection made during an emit is not called by it. Connections are shared between the list
//   and the copy, so the check never touches freed memory, even when a slot destroys its own
//   receiver, another receiver or the signal itself.
// - Either side disconnects both sides when destroyed.
// - Copying a signal copies its connections; copying a receiver connects the copy to every
//   signal the original is connected to, with the same slots. Assignment of a signal replaces its
//   connections by copies of the other's; assignment of a receiver keeps its own connections.
// - Removing a receiver's connections costs the number of them, not the signal's length: a
//   signal keeps its connections in a linked list, each connection knows its place in it, and a
//   receiver keeps its connections by signal. One signal with a connection per texture (the
//   texture clock) thus stays cheap to leave when thousands of textures come and go.
// Single-threaded only: the lock policy's lock and unlock do nothing.
#pragma once

#include <cstddef>
#include <iterator>
#include <list>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

namespace sigslot {

// Lock policy. Its virtual destructor, lock and unlock are the first three virtual operations of
// every receiver and every signal.
class single_threaded {
public:
    single_threaded() = default;
    single_threaded(single_threaded const&) = default;
    single_threaded& operator=(single_threaded const&) = default;
    virtual ~single_threaded() = default;
    virtual void lock() {}
    virtual void unlock() {}
};

using default_mt_policy = single_threaded;

// Holds a policy's lock for the lifetime of the block.
template <class mt_policy>
class lock_block {
public:
    explicit lock_block(mt_policy* mutex) : mutex_(mutex) { mutex_->lock(); }
    ~lock_block() { mutex_->unlock(); }
    lock_block(lock_block const&) = delete;
    lock_block& operator=(lock_block const&) = delete;

private:
    mt_policy* mutex_;
};

template <class mt_policy>
class has_slots;

// One connection, without its argument types. Shared by the signal's list and by every emit
// that is walking a copy of it; cut() marks it removed so those emits skip it.
template <class mt_policy>
class _connection_base {
public:
    using list_type = std::list<std::shared_ptr<_connection_base>>;

    explicit _connection_base(has_slots<mt_policy>* dest) : dest_(dest) {}
    virtual ~_connection_base() = default;
    _connection_base(_connection_base const&) = delete;
    _connection_base& operator=(_connection_base const&) = delete;

    has_slots<mt_policy>* getdest() const { return dest_; }
    bool connected() const { return connected_; }
    void cut() { connected_ = false; }
    // The same slot on another receiver (of the same class).
    virtual std::shared_ptr<_connection_base> duplicate(has_slots<mt_policy>* newdest) const = 0;

    // Its place in its signal's list, while it is in one.
    typename list_type::iterator place;

protected:
    has_slots<mt_policy>* dest_;
    bool connected_ = true;
};

template <class mt_policy, class... Args>
class _connection : public _connection_base<mt_policy> {
public:
    using _connection_base<mt_policy>::_connection_base;
    virtual void emit(Args... args) const = 0;
};

// dest_type is the receiver's class, slot_class the class that declares the slot (dest_type or
// one of its bases).
template <class dest_type, class slot_class, class mt_policy, class... Args>
class _member_connection final : public _connection<mt_policy, Args...> {
public:
    using member_function = void (slot_class::*)(Args...);

    _member_connection(has_slots<mt_policy>* dest, member_function pmemfun)
        : _connection<mt_policy, Args...>(dest), pmemfun_(pmemfun) {}

    // The receiver is stored as its has_slots part and cast back only when called, when it is
    // fully constructed (a receiver copy is duplicated while its own constructor still runs).
    void emit(Args... args) const override {
        slot_class* object = static_cast<dest_type*>(this->dest_);
        (object->*pmemfun_)(args...);
    }

    std::shared_ptr<_connection_base<mt_policy>> duplicate(has_slots<mt_policy>* newdest) const override {
        return std::make_shared<_member_connection>(newdest, pmemfun_);
    }

private:
    member_function pmemfun_;
};

// The part of every signal that does not depend on the argument types: the connection list and
// its bookkeeping with the receivers.
template <class mt_policy = default_mt_policy>
class _signal_base : public mt_policy {
public:
    using connection = _connection_base<mt_policy>;
    using connection_ptr = std::shared_ptr<connection>;

    _signal_base() = default;

    _signal_base(_signal_base const& other) : mt_policy(other) { copy_connections(other); }

    _signal_base& operator=(_signal_base const& other) {
        if (this != &other) {
            disconnect_all();
            copy_connections(other);
        }
        return *this;
    }

    ~_signal_base() override { disconnect_all(); }

    // Removes every connection to this receiver; nothing happens when there is none.
    void disconnect(has_slots<mt_policy>* pclass) {
        if (!pclass) return;
        std::vector<connection*> const gone = pclass->take_connections_from(this);
        lock_block<mt_policy> lock(this);
        for (connection* c : gone) unlink(c);
    }

    // Removes every connection.
    void disconnect_all() {
        typename connection::list_type old;
        {
            lock_block<mt_policy> lock(this);
            old.swap(connected_slots_);
        }
        for (auto const& c : old) {
            c->cut();
            c->getdest()->signal_disconnect(this);
        }
    }

    std::size_t connection_count() const { return connected_slots_.size(); }
    bool empty() const { return connected_slots_.empty(); }

    // Called by a receiver that is going away with its connections to this signal: drops them
    // without calling it back.
    void slot_disconnect(std::vector<connection*> const& gone) {
        lock_block<mt_policy> lock(this);
        for (connection* c : gone) unlink(c);
    }

    // Called by a receiver's copy constructor: every connection to oldtarget gets a twin to
    // newtarget, appended in the same order.
    void slot_duplicate(has_slots<mt_policy> const* oldtarget, has_slots<mt_policy>* newtarget) {
        for (connection* c : oldtarget->connections_from(this)) add_connection(c->duplicate(newtarget));
    }

protected:
    void add_connection(connection_ptr c) {
        has_slots<mt_policy>* dest = c->getdest();
        connection* added = c.get();
        {
            lock_block<mt_policy> lock(this);
            connected_slots_.push_back(std::move(c));
            added->place = std::prev(connected_slots_.end());
        }
        dest->signal_connect(this, added);
    }

    // The list as it is now, for an emit to walk.
    std::vector<connection_ptr> snapshot() {
        lock_block<mt_policy> lock(this);
        return std::vector<connection_ptr>(connected_slots_.begin(), connected_slots_.end());
    }

private:
    void copy_connections(_signal_base const& other) {
        for (auto const& c : other.connected_slots_) add_connection(c->duplicate(c->getdest()));
    }

    // Cuts c and takes it out of the list; c may be freed by this (when no emit holds it).
    void unlink(connection* c) {
        c->cut();
        connected_slots_.erase(c->place);
    }

    typename connection::list_type connected_slots_;
};

// Base of every class whose member functions are connected to signals. It remembers its
// connections by signal and leaves all of them when destroyed.
template <class mt_policy = default_mt_policy>
class has_slots : public mt_policy {
public:
    using connection = _connection_base<mt_policy>;
    // Equal keys keep the order of insertion, which is connection order.
    using sender_map = std::multimap<_signal_base<mt_policy>*, connection*>;

    has_slots() = default;

    // The copy is connected to the same senders, with the same slots, as the original.
    has_slots(has_slots const& other) : mt_policy(other) {
        for (auto it = other.senders_.begin(); it != other.senders_.end(); it = other.senders_.upper_bound(it->first))
            it->first->slot_duplicate(&other, this);
    }

    // A receiver's connections belong to it: assignment leaves them as they are.
    has_slots& operator=(has_slots const&) { return *this; }

    ~has_slots() override { disconnect_all(); }

    void signal_connect(_signal_base<mt_policy>* sender, connection* c) {
        lock_block<mt_policy> lock(this);
        senders_.emplace(sender, c);
    }

    // Forgets every connection from that sender.
    void signal_disconnect(_signal_base<mt_policy>* sender) {
        lock_block<mt_policy> lock(this);
        senders_.erase(sender);
    }

    // This receiver's connections from that sender, in connection order.
    std::vector<connection*> connections_from(_signal_base<mt_policy> const* sender) const {
        std::vector<connection*> out;
        auto const range = senders_.equal_range(const_cast<_signal_base<mt_policy>*>(sender));
        for (auto it = range.first; it != range.second; ++it) out.push_back(it->second);
        return out;
    }

    // The same, forgotten here (the sender is removing them).
    std::vector<connection*> take_connections_from(_signal_base<mt_policy>* sender) {
        lock_block<mt_policy> lock(this);
        std::vector<connection*> out = connections_from(sender);
        senders_.erase(sender);
        return out;
    }

    // Leaves every signal connected to this receiver.
    void disconnect_all() {
        sender_map senders;
        {
            lock_block<mt_policy> lock(this);
            senders.swap(senders_);
        }
        for (auto it = senders.begin(); it != senders.end();) {
            _signal_base<mt_policy>* const sender = it->first;
            std::vector<connection*> gone;
            for (; it != senders.end() && it->first == sender; ++it) gone.push_back(it->second);
            sender->slot_disconnect(gone);
        }
    }

    // The number of signals connected to this receiver.
    std::size_t sender_count() const {
        std::size_t count = 0;
        for (auto it = senders_.begin(); it != senders_.end(); it = senders_.upper_bound(it->first)) ++count;
        return count;
    }

private:
    sender_map senders_;
};

// A signal with the given argument types. signal0 .. signal5 below name it by argument count.
template <class mt_policy, class... Args>
class _signal : public _signal_base<mt_policy> {
public:
    // Connects pclass->pmemfun. The slot may be a member of a base of the receiver's class.
    template <class desttype, class slotclass>
    void connect(desttype* pclass, void (slotclass::*pmemfun)(Args...)) {
        static_assert(std::is_base_of_v<has_slots<mt_policy>, desttype>,
                      "the receiver must derive from sigslot::has_slots");
        static_assert(std::is_base_of_v<slotclass, desttype>, "the slot must be a member of the receiver");
        if (!pclass || !pmemfun) return;
        this->add_connection(std::make_shared<_member_connection<desttype, slotclass, mt_policy, Args...>>(
            static_cast<has_slots<mt_policy>*>(pclass), pmemfun));
    }

    // Calls every connection in connection order. Nothing of this signal is touched after a slot
    // has run, so a slot may destroy the signal.
    void emit(Args... args) {
        std::vector<typename _signal_base<mt_policy>::connection_ptr> const calls = this->snapshot();
        for (auto const& c : calls) {
            if (!c->connected()) continue;
            static_cast<_connection<mt_policy, Args...> const&>(*c).emit(args...);
        }
    }

    void operator()(Args... args) { emit(args...); }
};

template <class mt_policy = default_mt_policy>
class signal0 : public _signal<mt_policy> {};

template <class arg1_type, class mt_policy = default_mt_policy>
class signal1 : public _signal<mt_policy, arg1_type> {};

template <class arg1_type, class arg2_type, class mt_policy = default_mt_policy>
class signal2 : public _signal<mt_policy, arg1_type, arg2_type> {};

template <class arg1_type, class arg2_type, class arg3_type, class mt_policy = default_mt_policy>
class signal3 : public _signal<mt_policy, arg1_type, arg2_type, arg3_type> {};

template <class arg1_type, class arg2_type, class arg3_type, class arg4_type,
          class mt_policy = default_mt_policy>
class signal4 : public _signal<mt_policy, arg1_type, arg2_type, arg3_type, arg4_type> {};

template <class arg1_type, class arg2_type, class arg3_type, class arg4_type, class arg5_type,
          class mt_policy = default_mt_policy>
class signal5 : public _signal<mt_policy, arg1_type, arg2_type, arg3_type, arg4_type, arg5_type> {};

}  // namespace sigslot
