// Fuzzes the animation speed formula language: every text compiles to a tree within the depth
// limit (the cut-off leaves one level below it) and the node limit that evaluates to a finite
// number, or is refused for its size; a copy evaluates the same, and so does a copy with new
// random values when the tree draws none.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/core/CodePage.h"
#include "engine/render/AnimationFormula.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    std::wstring const text = Orvex::toWideString(std::string(reinterpret_cast<char const*>(data), size));
    std::unique_ptr<Orvex::AnimationTerm> term = Orvex::compileAnimationTerm(text);
    if (!term) return 0;
    if (term->depth() > Orvex::AnimationTerm::kMaxDepth + 1 || term->nodeCount() > Orvex::AnimationTerm::kMaxNodes)
        std::abort();
    Orvex::AnimationClock clock;
    clock.time = 12.5;
    clock.dTime = 0.016;
    clock.timeUp = 1e9;
    clock.dTimeUp = -1.0;
    double const value = term->evaluate(clock);
    if (!std::isfinite(value)) std::abort();
    Orvex::AnimationTerm const copy(*term);
    if (copy.evaluate(clock) != value) std::abort();
    std::unique_ptr<Orvex::AnimationTerm> const redrawn = term->redrawn();
    if (redrawn->nodeCount() != term->nodeCount()) std::abort();
    if (!term->drawsRandom() && redrawn->evaluate(clock) != value) std::abort();
    return 0;
}
