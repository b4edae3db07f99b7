// Storage of one loaded or copied property tree, owned by the tree's root: its nodes, attributes
// and values in blocks of their own kind, the lists' arrays, and the file text that the names and
// values are views of. Dropping the store destroys every object in it in a few linear passes,
// with no walk of the tree; the largest blocks are kept for the next tree of the thread.
// Objects added to a loaded tree later are ordinary heap objects that their node deletes.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/core/XMLList.h"
#include "engine/core/XMLText.h"

namespace Orvex {

class XMLAttribute;
class XMLNode;
class XMLProperty;

class XMLStore {
public:
    XMLStore() = default;
    XMLStore(XMLStore const&) = delete;
    XMLStore& operator=(XMLStore const&) = delete;
    ~XMLStore();

    // New empty objects that the store destroys (defined in XMLNode.h).
    XMLNode* newNode();
    XMLAttribute* newAttribute();
    XMLProperty* newValue();
    // A list array of count entries, copied from items.
    template <class T>
    XMLItem<T>* newArray(XMLItem<T> const* items, std::size_t count) {
        auto* array = static_cast<XMLItem<T>*>(raw_.take(count * sizeof(XMLItem<T>)));
        std::memcpy(static_cast<void*>(array), items, count * sizeof(XMLItem<T>));
        return array;
    }
    // Room for up to count list entries, claimed later with claimSlots: nothing else may be
    // taken from the store in between. Loaded elements' attributes are read into such slots.
    template <class T>
    XMLItem<T>* reserveSlots(std::size_t count) {
        return static_cast<XMLItem<T>*>(raw_.reserve(count * sizeof(XMLItem<T>)));
    }
    template <class T>
    XMLItem<T>* claimSlots(std::size_t count) {
        return static_cast<XMLItem<T>*>(raw_.take(count * sizeof(XMLItem<T>)));
    }
    // A view of a copy of text made in the store.
    XMLText keep(XMLText const& text);

    // The file text that views point into: the bytes of an 8-bit file, or wide text.
    std::vector<u8> bytes;
    std::wstring wide;

private:
    struct alignas(16) Block {
        Block* next;
        std::size_t size;  // payload bytes, which follow the header
        std::size_t used;  // set once a newer block is added
        unsigned char* payload() { return reinterpret_cast<unsigned char*>(this + 1); }
    };
    // Blocks of one kind of object, each twice the last up to kMaxBlock.
    class Chain {
    public:
        Chain() = default;
        Chain(Chain const&) = delete;
        Chain& operator=(Chain const&) = delete;
        ~Chain();
        // Room for bytes, 8-aligned; objects of one kind taken in a row lie as an array.
        void* take(std::size_t bytes) {
            unsigned char* p = static_cast<unsigned char*>(reserve(bytes));
            next_ = p + ((bytes + 7) & ~std::size_t(7));
            return p;
        }
        // The room take would give, without taking it.
        void* reserve(std::size_t bytes) {
            bytes = (bytes + 7) & ~std::size_t(7);
            if (static_cast<std::size_t>(end_ - next_) < bytes) addBlock(bytes);
            return next_;
        }
        // Calls f for every object taken, where the chain holds objects of type T only.
        template <class T, class F>
        void forEach(F&& f);

    private:
        void addBlock(std::size_t bytes);
        // Bytes used in the newest block, which only next_ tracks while it is being filled.
        void closeHead() {
            if (head_) head_->used = static_cast<std::size_t>(next_ - head_->payload());
        }
        Block* head_ = nullptr;
        unsigned char* next_ = nullptr;  // free room of the newest block
        unsigned char* end_ = nullptr;
        std::size_t nextSize_ = 0;
    };

    Chain nodes_;
    Chain attributes_;
    Chain values_;
    Chain raw_;
};

}  // namespace Orvex
