// The attributes, values or children of a property-file element: pointers in one array. A loaded
// element's array is held by its tree's store, sized exactly; the first addition moves the list
// into an array of its own on the heap.
#pragma once

#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/core/Types.h"

namespace Orvex {

// An entry of a list: a pointer that reads like the owning pointers the lists once held.
template <class T>
class XMLItem {
public:
    XMLItem(T* item = nullptr) : item_(item) {}
    T* get() const { return item_; }
    T* operator->() const { return item_; }
    T& operator*() const { return *item_; }
    operator T*() const { return item_; }

private:
    T* item_;
};

template <class T>
class XMLList {
public:
    XMLList() = default;
    XMLList(XMLList&& other) noexcept : data_(other.data_), size_(other.size_), capacity_(other.capacity_) { other.forget(); }
    XMLList& operator=(XMLList&& other) noexcept {
        if (this != &other) {
            reset();
            data_ = other.data_;
            size_ = other.size_;
            capacity_ = other.capacity_;
            other.forget();
        }
        return *this;
    }
    XMLList(XMLList const&) = delete;
    XMLList& operator=(XMLList const&) = delete;
    ~XMLList() {
        if (capacity_) std::free(data_);
    }

    XMLItem<T> const* begin() const { return data_; }
    XMLItem<T> const* end() const { return data_ + size_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    XMLItem<T> const& operator[](std::size_t i) const { return data_[i]; }
    XMLItem<T> const& front() const { return data_[0]; }
    XMLItem<T> const& back() const { return data_[size_ - 1]; }

private:
    friend class XMLNode;
    template <class CharT>
    friend class XMLParser;

    // Takes an array the store holds.
    void adopt(XMLItem<T>* items, u32 count) {
        reset();
        data_ = items;
        size_ = count;
    }
    void push(T* item) {
        if (capacity_ == 0 || size_ == capacity_) grow();
        data_[size_++] = item;
    }
    void erase(std::size_t i) {
        std::memmove(static_cast<void*>(data_ + i), data_ + i + 1, (size_ - i - 1) * sizeof(XMLItem<T>));
        --size_;
    }
    // Empties the list (the items are the owner's business).
    void reset() {
        if (capacity_) std::free(data_);
        forget();
    }
    void forget() {
        data_ = nullptr;
        size_ = capacity_ = 0;
    }
    void grow() {
        u32 capacity = size_ < 4 ? 4 : size_ * 2;
        auto* items = static_cast<XMLItem<T>*>(std::malloc(capacity * sizeof(XMLItem<T>)));
        if (!items) throw std::bad_alloc();
        if (size_) std::memcpy(static_cast<void*>(items), data_, size_ * sizeof(XMLItem<T>));
        if (capacity_) std::free(data_);
        data_ = items;
        capacity_ = capacity;
    }

    XMLItem<T>* data_ = nullptr;
    u32 size_ = 0;
    u32 capacity_ = 0;  // of an array of its own; 0 while the array is the store's (or none)
};

}  // namespace Orvex
