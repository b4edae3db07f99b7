// A counted reference held for the length of a scope: operations that emit signals or walk
// windows hold one on each window they touch, so slots may release or remove those windows
// without them disappearing mid-call.
#pragma once

#include <vector>

namespace Orvex {

class GUIWindow;

template <class W>
class HeldRef {
public:
    explicit HeldRef(W* object) : object_(object) {
        if (object_) object_->addRef();
    }
    ~HeldRef() {
        if (object_) object_->release();
    }
    HeldRef(HeldRef const&) = delete;
    HeldRef& operator=(HeldRef const&) = delete;

private:
    W* object_;
};

// A copy of a window list with a reference held on every entry for the snapshot's lifetime.
template <class W>
class HeldList {
public:
    explicit HeldList(std::vector<W*> const& list) : list_(list) {
        for (W* w : list_)
            if (w) w->addRef();
    }
    ~HeldList() {
        for (W* w : list_)
            if (w) w->release();
    }
    HeldList(HeldList const&) = delete;
    HeldList& operator=(HeldList const&) = delete;

    typename std::vector<W*>::const_iterator begin() const { return list_.begin(); }
    typename std::vector<W*>::const_iterator end() const { return list_.end(); }

private:
    std::vector<W*> list_;
};

}  // namespace Orvex
