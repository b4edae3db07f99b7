// The largest single allocation and the bytes allocated in all while watched, for tests of
// readers that must not allocate for what a file only claims. AddressSanitizer's allocator
// reports every allocation, including those made inside the image libraries; without it nothing
// is watched (start returns false).
#pragma once

#include <atomic>
#include <cstddef>

extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, std::size_t),
                                                          void (*)(const volatile void*)) __attribute__((weak));

namespace allocwatch {

inline std::atomic<bool> gWatching{false};
inline std::atomic<std::size_t> gLargest{0};
inline std::atomic<std::size_t> gTotal{0};

inline void noteAllocation(const volatile void*, std::size_t size) {
    if (!gWatching) return;
    gTotal += size;
    std::size_t seen = gLargest;
    while (size > seen && !gLargest.compare_exchange_weak(seen, size)) {
    }
}
inline void noteFree(const volatile void*) {}

// Starts watching from zero; false when allocations cannot be watched.
inline bool start() {
    static bool const installed = __sanitizer_install_malloc_and_free_hooks &&
                                  __sanitizer_install_malloc_and_free_hooks(noteAllocation, noteFree) != 0;
    gLargest = 0;
    gTotal = 0;
    gWatching = installed;
    return installed;
}
inline void stop() { gWatching = false; }
inline std::size_t largest() { return gLargest; }
inline std::size_t total() { return gTotal; }

}  // namespace allocwatch
