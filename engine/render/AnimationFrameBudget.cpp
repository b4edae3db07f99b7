// The frame budget of the file being read (see AnimationFrameBudget.h).
#include "engine/render/AnimationFrameBudget.h"

#include <algorithm>
#include <utility>

#include "engine/core/Logger.h"

namespace Orvex {

namespace {

AnimationFrameBudget* g_current = nullptr;

}  // namespace

AnimationFrameBudget::AnimationFrameBudget(std::wstring fileName, std::size_t frames, Reading reading)
    : fileName_(std::move(fileName)), left_(frames), animationShare_(kAnimationsPerFile), reading_(reading),
      outer_(g_current) {
    AnimationFrameBudget* outerFile = outer_;
    while (outerFile && outerFile->reading_ != Reading::kFile) outerFile = outerFile->outer_;
    if (outerFile) {
        animationShare_ = kAnimationsPerInnerFile;
        if (reading_ == Reading::kFile && outerFile->sureFilesLeft_ > 0) {
            --outerFile->sureFilesLeft_;
            sureLeft_ = kSureAnimationsPerInnerFile;
        }
    }
    animationsLeft_ = animationShare_;
    g_current = this;
}

AnimationFrameBudget::~AnimationFrameBudget() { g_current = outer_; }

std::size_t AnimationFrameBudget::take(std::size_t wanted, std::wstring const& what) {
    if (!g_current || wanted == 0) return wanted;
    AnimationFrameBudget* tightest = g_current;
    for (AnimationFrameBudget* b = g_current; b; b = b->outer_) {
        if (b->left_ < tightest->left_) tightest = b;
    }
    std::size_t const granted = std::min(wanted, tightest->left_);
    for (AnimationFrameBudget* b = g_current; b; b = b->outer_) {
        b->left_ -= granted;
        b->used_ += granted;
    }
    if (granted < wanted && !tightest->logged_) {
        tightest->logged_ = true;
        AnimationFrameBudget const* named = tightest;
        for (AnimationFrameBudget* b = g_current; b != tightest; b = b->outer_) {
            if (b->reading_ == Reading::kFile) {
                named = b;
                break;
            }
        }
        std::wstring const of = named == tightest ? L"" : L" of \"" + tightest->fileName_ + L"\"";
        logWarning(L"\"" + named->fileName_ + L"\": frame animations reached the budget of " +
                   std::to_wstring(tightest->used_ + tightest->left_) + L" frames" + of + L" at " + what +
                   L"; it and later animations read for this file get fewer or no frames");
    }
    return granted;
}

bool AnimationFrameBudget::spentOut(std::wstring const& what) {
    for (AnimationFrameBudget* b = g_current; b; b = b->outer_) {
        if (b->left_ == 0) {
            take(1, what);
            return true;
        }
    }
    return false;
}

std::wstring AnimationFrameBudget::readingFile() { return g_current ? g_current->fileName_ : std::wstring(); }

bool AnimationFrameBudget::takeAnimation(SpentShare& spent) {
    // The files charged: those in force out to the first whose sure part still holds one.
    AnimationFrameBudget* end = nullptr;
    for (AnimationFrameBudget* b = g_current; b; b = b->outer_) {
        if (b->reading_ == Reading::kFile && b->sureLeft_ > 0) {
            end = b->outer_;
            break;
        }
    }
    for (AnimationFrameBudget* b = g_current; b != end; b = b->outer_) {
        if (b->reading_ == Reading::kFile && b->animationsLeft_ == 0) {
            spent = SpentShare{b->fileName_, b->animationShare_};
            return false;
        }
    }
    for (AnimationFrameBudget* b = g_current; b != end; b = b->outer_) {
        if (b->reading_ != Reading::kFile) continue;
        --b->animationsLeft_;
        if (b->sureLeft_ > 0) --b->sureLeft_;
    }
    return true;
}

}  // namespace Orvex
