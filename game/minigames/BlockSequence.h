// An ordered sequence kept in blocks of at most kBlock elements, for the maze generation's room
// groups: a group is shuffled by taking the element at a random index out and appending it, ten
// times its size per merge pass, and grows by appending whole other groups. In one vector each
// take costs a shift of the whole tail, which makes a 64 x 64 maze cost seconds; here it costs a
// walk over the blocks and a shift inside one block. The order is exactly that of the vector.
//
// Blocks only shrink by takes and only the last one grows, so small blocks pile up; when there
// are more than twice the blocks the elements need (plus one), they are packed again.
#pragma once

#include <cstddef>
#include <vector>

namespace Solitaire {

template <class T>
class BlockSequence {
public:
    static constexpr std::size_t kBlock = 64;

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }

    void push_back(T value) {
        if (blocks_.empty() || blocks_.back().size() >= kBlock) {
            blocks_.emplace_back();
            blocks_.back().reserve(kBlock);
        }
        blocks_.back().push_back(value);
        ++size_;
    }

    // The element at index (below size) taken out, the later ones closing up, and appended.
    void moveToEnd(std::size_t index) {
        std::size_t b = 0;
        while (index >= blocks_[b].size()) index -= blocks_[b++].size();
        T const value = blocks_[b][index];
        blocks_[b].erase(blocks_[b].begin() + static_cast<std::ptrdiff_t>(index));
        if (blocks_[b].empty()) blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
        --size_;
        push_back(value);
        if (blocks_.size() > 2 * (size_ / kBlock) + 1) pack();
    }

    // Every element of other appended in its order; other is left empty.
    void append(BlockSequence&& other) {
        for (std::vector<T>& block : other.blocks_)
            for (T const& value : block) push_back(value);
        other.clear();
    }

    void clear() {
        blocks_.clear();
        size_ = 0;
    }

    // The first element, in order, for which test is true; fallback when there is none.
    template <class Test>
    T findFirst(Test test, T fallback) const {
        for (std::vector<T> const& block : blocks_)
            for (T const& value : block)
                if (test(value)) return value;
        return fallback;
    }

    template <class Visit>
    void forEach(Visit visit) const {
        for (std::vector<T> const& block : blocks_)
            for (T const& value : block) visit(value);
    }

    std::vector<T> toVector() const {
        std::vector<T> out;
        out.reserve(size_);
        forEach([&](T const& value) { out.push_back(value); });
        return out;
    }

private:
    void pack() {
        std::vector<T> const all = toVector();
        clear();
        for (T const& value : all) push_back(value);
    }

    std::vector<std::vector<T>> blocks_;
    std::size_t size_ = 0;
};

}  // namespace Solitaire
