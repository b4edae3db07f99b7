// One counted reference to a reference-counted object (a NamedObject or anything with addRef and
// release), null allowed: held from hold or adopt until reset, another hold or the end of the
// holder. Copies share the object with a reference each; a move hands the reference over. It
// stands where a field or a list would otherwise pair addRef with release by hand.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace Orvex {

template <class T>
class CountedRef {
public:
    CountedRef() = default;
    CountedRef(CountedRef const& other) : object_(other.object_) {
        if (object_) object_->addRef();
    }
    CountedRef(CountedRef&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    CountedRef& operator=(CountedRef const& other) {
        hold(other.object_);
        return *this;
    }
    CountedRef& operator=(CountedRef&& other) noexcept {
        if (this != &other) adopt(std::exchange(other.object_, nullptr));
        return *this;
    }
    ~CountedRef() {
        if (object_) object_->release();
    }
    // Holds the object with a reference of its own (the old one let go after, so holding the
    // object already held is safe).
    void hold(T* object) {
        if (object) object->addRef();
        if (object_) object_->release();
        object_ = object;
    }
    // Takes over the caller's reference.
    void adopt(T* object) {
        T* const old = object_;
        object_ = object;
        if (old) old->release();
    }
    // Lets go: holds nothing.
    void reset() { adopt(nullptr); }
    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }
    friend bool operator==(CountedRef const& ref, std::nullptr_t) { return ref.object_ == nullptr; }
    // Whether both stand for the same object (or both for none).
    friend bool operator==(CountedRef const& ref, T const* object) { return ref.object_ == object; }
    friend bool operator==(CountedRef const& a, CountedRef const& b) { return a.object_ == b.object_; }

private:
    T* object_ = nullptr;
};

// A reference taking over the caller's reference to the object (null allowed).
template <class T>
CountedRef<T> adoptRef(T* object) {
    CountedRef<T> ref;
    ref.adopt(object);
    return ref;
}

// The objects of a list of owners (counted references or unique_ptr) as plain pointers, no
// references added: for callers that only look at them while the list's holder lives.
template <class Owner>
auto plainPointers(std::vector<Owner> const& owners) {
    std::vector<decltype(owners.front().get())> plain;
    plain.reserve(owners.size());
    for (Owner const& owner : owners) plain.push_back(owner.get());
    return plain;
}

}  // namespace Orvex
