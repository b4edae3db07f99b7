// The MSVC runtime's rand/srand and the index draw of its random_shuffle. One generator state
// for the whole program (the deal reproduces from a seed only because nothing else interferes).
#include "port/crt/crt.h"

#include <atomic>

namespace msvc {

namespace {

constexpr uint32_t kMultiplier = 214013u;
constexpr uint32_t kIncrement = 2531011u;

// Atomic so that a stray call from another thread is no data race; the sequence is only
// meaningful when one thread draws.
std::atomic<uint32_t> g_state{1u};

}  // namespace

void srand(unsigned int seed) { g_state.store(seed, std::memory_order_relaxed); }

int rand() {
    uint32_t x = g_state.load(std::memory_order_relaxed);
    uint32_t next;
    do {
        next = x * kMultiplier + kIncrement;
    } while (!g_state.compare_exchange_weak(x, next, std::memory_order_relaxed));
    return static_cast<int>((next >> 16) & 0x7FFFu);
}

// Uniform in [0, k) with k = upperInclusive + 1: rand() values are stacked 15 bits at a time
// until they cover k - 1, and draws from the uneven top of the range are rejected.
std::ptrdiff_t randomIndex(std::ptrdiff_t upperInclusive) {
    if (upperInclusive <= 0) return 0;
    auto const k = static_cast<uint64_t>(upperInclusive) + 1u;
    // 2^60 and above cannot index memory; stop stacking before the mask would overflow.
    constexpr uint64_t kMaskLimit = UINT64_MAX >> 15;
    for (;;) {
        uint64_t ret = 0;
        uint64_t mask = 0;
        while (mask < k - 1 && mask <= kMaskLimit) {
            ret = (ret << 15) | static_cast<uint64_t>(rand());
            mask = (mask << 15) | 0x7FFFu;
        }
        if (ret / k < mask / k || mask % k == k - 1) return static_cast<std::ptrdiff_t>(ret % k);
    }
}

}  // namespace msvc
