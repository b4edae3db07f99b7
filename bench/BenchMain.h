// The main of benchmark programs whose subject logs: the log quieted, the benchmarks run.
#pragma once

#include <benchmark/benchmark.h>

#include "engine/core/Logger.h"

namespace bench {

inline void runQuiet(int argc, char** argv) {
    Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}

}  // namespace bench
