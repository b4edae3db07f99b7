// What a reader of an untrusted file that the game writes again (the profile file) keeps of it,
// counted as a read of the written file would charge its tree (XMLNode::elementCost,
// attributeCost, valueCost). Readers take a part's cost before they keep the part and leave it out
// when it does not fit, so whatever they read is written back within what a read takes, with the
// rest of the tree's budget as room to grow. A part left out leaves room for smaller ones after it.
#pragma once

#include <cstddef>

namespace Orvex {

class KeepBudget {
public:
    explicit KeepBudget(std::size_t bytes) : size_(bytes), left_(bytes) {}

    // Takes cost when it fits; false (nothing taken, the budget marked as overrun) otherwise.
    bool take(std::size_t cost) {
        if (cost > left_) {
            overrun_ = true;
            return false;
        }
        left_ -= cost;
        return true;
    }
    std::size_t size() const { return size_; }
    std::size_t left() const { return left_; }
    std::size_t used() const { return size_ - left_; }
    // Some part did not fit.
    bool overrun() const { return overrun_; }

private:
    std::size_t size_;
    std::size_t left_;
    bool overrun_ = false;
};

}  // namespace Orvex
