// Bytes the program holds on the heap now: the sanitizer's count in a sanitizer build (its
// allocator takes every new and malloc), glibc's otherwise (its arenas and the large blocks it
// maps on their own).
#pragma once

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's runtime has it; GCC ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace testsupport {

inline std::size_t heapBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    struct mallinfo2 const info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

}  // namespace testsupport
