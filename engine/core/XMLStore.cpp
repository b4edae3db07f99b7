// Block storage of property trees, and the thread's cache of spare blocks.
#include "engine/core/XMLStore.h"

#include <cstdlib>
#include <new>

#include "engine/core/XMLNode.h"

namespace Orvex {

namespace {

constexpr std::size_t kFirstBlock = 512;  // small copies of single elements are common
constexpr std::size_t kMaxBlock = 256 * 1024;
// Spare full-size blocks kept per thread: trees are loaded and dropped in a row, and fresh
// blocks would have to be paged in again each time.
constexpr u32 kCachedBlocks = 64;

// Trivially destructible, so a store dropped while its thread ends (a static tree) still finds
// it usable: the closer below has emptied it and marked it closed by then.
struct BlockCache {
    void* blocks[kCachedBlocks];
    u32 count;
    bool closed;
};
constinit thread_local BlockCache tCache{};

struct BlockCacheCloser {
    ~BlockCacheCloser() {
        while (tCache.count > 0) std::free(tCache.blocks[--tCache.count]);
        tCache.closed = true;
    }
};
thread_local BlockCacheCloser tCloser;

void* newBlockMemory(std::size_t bytes) {
    if (bytes == kMaxBlock && tCache.count > 0) return tCache.blocks[--tCache.count];
    void* memory = std::malloc(bytes);
    if (!memory) throw std::bad_alloc();
    return memory;
}

void freeBlockMemory(void* memory, std::size_t bytes) {
    if (bytes == kMaxBlock && !tCache.closed && tCache.count < kCachedBlocks) {
        (void)&tCloser;  // constructed with the first cached block, so it empties the cache
        tCache.blocks[tCache.count++] = memory;
        return;
    }
    std::free(memory);
}

}  // namespace

void XMLStore::Chain::addBlock(std::size_t bytes) {
    std::size_t total = nextSize_ ? nextSize_ : kFirstBlock;
    nextSize_ = total < kMaxBlock ? total * 2 : kMaxBlock;
    if (total - sizeof(Block) < bytes) total = sizeof(Block) + bytes;  // an outsized request
    auto* block = static_cast<Block*>(newBlockMemory(total));
    closeHead();
    block->next = head_;
    block->size = total - sizeof(Block);
    block->used = 0;
    head_ = block;
    next_ = block->payload();
    end_ = next_ + block->size;
}

template <class T, class F>
void XMLStore::Chain::forEach(F&& f) {
    static_assert(alignof(T) <= 8 && sizeof(T) % 8 == 0);
    closeHead();
    for (Block* b = head_; b; b = b->next) {
        T* items = reinterpret_cast<T*>(b->payload());
        std::size_t count = b->used / sizeof(T);
        for (std::size_t i = 0; i < count; ++i) f(items[i]);
    }
}

XMLStore::Chain::~Chain() {
    while (head_) {
        Block* next = head_->next;
        freeBlockMemory(head_, sizeof(Block) + head_->size);
        head_ = next;
    }
}

XMLStore::~XMLStore() {
    // Nodes holding anything besides stored objects let go of it first, while every stored
    // object is still alive to tell which entries are its own; then all are destroyed.
    nodes_.forEach<XMLNode>([](XMLNode& n) {
        if (n.hasAddedParts() || n.store_) n.release();
    });
    nodes_.forEach<XMLNode>([](XMLNode& n) { n.~XMLNode(); });
    attributes_.forEach<XMLAttribute>([](XMLAttribute& a) { a.~XMLAttribute(); });
    values_.forEach<XMLProperty>([](XMLProperty& v) { v.~XMLProperty(); });
}

XMLText XMLStore::keep(XMLText const& text) {
    std::size_t n = text.size();
    if (n == 0) return {};
    if (text.isAnsi()) {
        auto* copy = static_cast<u8*>(raw_.take(n));
        std::memcpy(copy, text.ansiData(), n);
        return XMLText::view(copy, n);
    }
    if (text.isUtf16()) {
        auto* copy = static_cast<u8*>(raw_.take(2 * n));
        std::memcpy(copy, text.utf16Data(), 2 * n);
        return XMLText::view(Utf16LEText{copy}, n);
    }
    auto* copy = static_cast<wchar_t*>(raw_.take(n * sizeof(wchar_t)));
    std::memcpy(copy, text.wideData(), n * sizeof(wchar_t));
    return XMLText::view(copy, n);
}

}  // namespace Orvex
