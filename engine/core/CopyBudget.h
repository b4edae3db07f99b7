// What copying templates may cost while one file is read. A template is copied whole into each
// element that names it (a tutorial page its points and goals, a tutorial strip its pages, a
// story element its tracks and animation records), so a short file naming a big template many
// times could take gigabytes. The reader of such a file puts a budget in force for the time it
// reads; each copy takes its entries from it before it is made. A copy that does not fit spends
// the budget: it and every later copy of that reading are left out (the elements keep their own
// data), with one log line naming the file.
//
// An entry is one record of a copy (a point, a goal mask, a position, a speed key, a name) or
// kCharsPerEntry characters of its texts. Copies made while no budget is in force (by code, not
// by reading a file) are never refused. Budgets nest: the innermost is in force.
#pragma once

#include <cstddef>
#include <string>

namespace Orvex {

class CopyBudget {
public:
    // About 10 to 70 MB of copies at the most, hundreds of times what the game's files use.
    static constexpr std::size_t kEntriesPerFile = std::size_t{1} << 18;
    static constexpr std::size_t kCharsPerEntry = 64;

    explicit CopyBudget(std::wstring fileName, std::size_t entries = kEntriesPerFile);
    ~CopyBudget();
    CopyBudget(CopyBudget const&) = delete;
    CopyBudget& operator=(CopyBudget const&) = delete;

    // Takes the entries of one copy (`what` names it for the log line) from the budget in force:
    // false when they do not fit or the budget is spent, true when no budget is in force.
    static bool take(std::size_t entries, std::wstring const& what);
    // The same with the entries counted by entries() only when a budget in force has room left.
    template <class Count>
    static bool takeCounted(Count const& entries, std::wstring const& what) {
        if (!inForce()) return true;
        return !spentOut() && take(entries(), what);
    }
    static bool inForce();
    // True while the budget in force is spent (copying may stop early).
    static bool spentOut();
    // The entries of a text.
    static std::size_t textEntries(std::wstring const& text) { return 1 + text.size() / kCharsPerEntry; }

    std::size_t used() const { return used_; }
    bool isSpent() const { return spent_; }

private:
    std::wstring fileName_;
    std::size_t left_;
    std::size_t used_ = 0;
    bool spent_ = false;
    CopyBudget* outer_;
};

}  // namespace Orvex
