// Memory held by the allocator, for benchmarks of data whose memory may grow with its size:
// the bytes allocated and not yet freed (glibc's count, which sees every new and malloc), those
// in the arenas and the large blocks glibc maps on their own.
#pragma once

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstddef>

namespace bench {

inline std::size_t allocatedBytes() {
    struct mallinfo2 const info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Megabytes allocated since `before`, or 0 when less is held now.
inline double megabytesSince(std::size_t before) {
    std::size_t const now = allocatedBytes();
    return now > before ? static_cast<double>(now - before) / (1024.0 * 1024.0) : 0.0;
}

// The benchmark's iterations: reset() untimed, then load() timed; the megabytes held after the
// last load (what it kept beyond what reset left).
template <class Reset, class Load>
double timedLoads(benchmark::State& state, Reset reset, Load load) {
    double megabytes = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        reset();
        std::size_t const before = allocatedBytes();
        state.ResumeTiming();
        load();
        state.PauseTiming();
        megabytes = megabytesSince(before);
        state.ResumeTiming();
    }
    return megabytes;
}

}  // namespace bench
