// The undo protocol shared by cards, piles, arrangements and the card manager: each keeps its own
// history of owned records and a current index, and every move saves a record on every object,
// so all histories advance in step and undo or redo moves them by the same number of steps.
#pragma once

#include <memory>
#include <vector>

namespace Solitaire {

// One object's saved state; restore writes it back into the object that made it.
class UndoData {
public:
    virtual ~UndoData() = default;
    virtual void restore() = 0;
};

class UndoObjekt {
public:
    UndoObjekt() = default;
    UndoObjekt(UndoObjekt const&) = delete;
    UndoObjekt& operator=(UndoObjekt const&) = delete;
    virtual ~UndoObjekt();

    // Drops the records after the current index (the redo tail) and advances the index. Every
    // override calls this first and then appends its record with appendUndoRecord, so that the
    // current index is the last record afterwards.
    virtual void saveUndoState();
    // Deletes the records from n on; the index becomes n - 1 (held within the records left).
    // discardFrom(0) empties the history.
    virtual void discardFrom(int const& n);
    // Index + delta, held within the records; restores the record there (nothing with an empty
    // history) and returns the step actually made.
    virtual int stepHistory(int const& delta);
    virtual int getUndoIndex() const { return undoIndex_; }

    unsigned getUndoCount() const { return static_cast<unsigned>(undoHistory_.size()); }
    UndoData* getUndoRecord(int index) const;

protected:
    // The record for the slot saveUndoState opened.
    void appendUndoRecord(std::unique_ptr<UndoData> record);

private:
    std::vector<std::unique_ptr<UndoData>> undoHistory_;
    int undoIndex_ = -1;
};

}  // namespace Solitaire
