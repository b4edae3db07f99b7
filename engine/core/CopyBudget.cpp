#include "engine/core/CopyBudget.h"

#include <utility>

#include "engine/core/Logger.h"

namespace Orvex {

namespace {

CopyBudget* g_current = nullptr;

}  // namespace

CopyBudget::CopyBudget(std::wstring fileName, std::size_t entries)
    : fileName_(std::move(fileName)), left_(entries), outer_(g_current) {
    g_current = this;
}

CopyBudget::~CopyBudget() { g_current = outer_; }

bool CopyBudget::take(std::size_t entries, std::wstring const& what) {
    CopyBudget* budget = g_current;
    if (!budget) return true;
    if (budget->spent_) return false;
    if (entries <= budget->left_) {
        budget->left_ -= entries;
        budget->used_ += entries;
        return true;
    }
    budget->spent_ = true;
    logWarning(L"\"" + budget->fileName_ + L"\": copies of templates reached the budget of " +
             std::to_wstring(budget->used_ + budget->left_) + L" entries at " + what +
             L" (" + std::to_wstring(entries) + L" entries); it and every later copy in this file are left out");
    return false;
}

bool CopyBudget::inForce() { return g_current != nullptr; }

bool CopyBudget::spentOut() { return g_current && g_current->spent_; }

}  // namespace Orvex
