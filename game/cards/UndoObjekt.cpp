// The undo history: records in time order and the current index.
#include "game/cards/UndoObjekt.h"

#include <algorithm>

namespace Solitaire {

UndoObjekt::~UndoObjekt() = default;

void UndoObjekt::saveUndoState() {
    // The redo tail goes, last record first.
    while (static_cast<long long>(undoHistory_.size()) > static_cast<long long>(undoIndex_) + 1) undoHistory_.pop_back();
    ++undoIndex_;
}

void UndoObjekt::appendUndoRecord(std::unique_ptr<UndoData> record) {
    if (!record) return;
    // The slot saveUndoState opened is the end of the list; a record without that call still
    // lands at the end and becomes current.
    undoHistory_.push_back(std::move(record));
    undoIndex_ = static_cast<int>(undoHistory_.size()) - 1;
}

void UndoObjekt::discardFrom(int const& n) {
    long long const from = std::max<long long>(0, n);
    while (static_cast<long long>(undoHistory_.size()) > from) undoHistory_.pop_back();
    undoIndex_ = static_cast<int>(std::min<long long>(from, static_cast<long long>(undoHistory_.size())) - 1);
}

int UndoObjekt::stepHistory(int const& delta) {
    if (undoHistory_.empty()) return 0;
    long long const last = static_cast<long long>(undoHistory_.size()) - 1;
    long long const target = std::clamp<long long>(static_cast<long long>(undoIndex_) + delta, 0, last);
    int const made = static_cast<int>(target - undoIndex_);
    undoIndex_ = static_cast<int>(target);
    undoHistory_[static_cast<std::size_t>(target)]->restore();
    return made;
}

UndoData* UndoObjekt::getUndoRecord(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= undoHistory_.size()) return nullptr;
    return undoHistory_[static_cast<std::size_t>(index)].get();
}

}  // namespace Solitaire
