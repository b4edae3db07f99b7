// The line both start-up programs print when their first frame has been presented, for
// bench/startup.sh: "first_frame <wall clock, seconds since 1970> splash <seconds> rss_kb <kB>".
#pragma once

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace startup {

// The process's resident memory in kB, -1 when it cannot be read.
inline long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

inline void reportFirstFrame(double splashSeconds) {
    double const now = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    std::printf("first_frame %.6f splash %.6f rss_kb %ld\n", now, splashSeconds, residentKilobytes());
    std::fflush(stdout);
}

}  // namespace startup
