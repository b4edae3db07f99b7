// The port layer's log lines collected while a capture is alive (the default sink comes back
// afterwards), for tests of refusals that must log exactly one line.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "port/win32/win32_log.h"

namespace testsupport {

class PortLogCapture {
public:
    PortLogCapture() {
        std::lock_guard<std::mutex> lock(mutex());
        lines().clear();
        errors() = 0;
        port::setLogSink(&PortLogCapture::sink);
    }
    ~PortLogCapture() { port::setLogSink(nullptr); }
    std::vector<std::wstring> taken() {
        std::lock_guard<std::mutex> lock(mutex());
        return lines();
    }
    std::size_t errorCount() {
        std::lock_guard<std::mutex> lock(mutex());
        return errors();
    }

private:
    static std::vector<std::wstring>& lines() { static std::vector<std::wstring> l; return l; }
    static std::size_t& errors() { static std::size_t n = 0; return n; }
    static std::mutex& mutex() { static std::mutex m; return m; }
    static void sink(port::LogLevel level, std::wstring const& message) {
        std::lock_guard<std::mutex> lock(mutex());
        lines().push_back(message);
        if (level == port::LogLevel::Error) ++errors();
    }
};

}  // namespace testsupport
