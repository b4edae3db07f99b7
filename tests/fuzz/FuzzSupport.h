// Helpers shared by the fuzz targets: silent engine and port logs (the targets check their own results)
// and the input read as a property-file tree.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_log.h"

namespace fuzz {

inline void quietLog() {
    static bool const quiet = [] {
        Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
        port::setLogSink([](port::LogLevel, std::wstring const&) {});
        return true;
    }();
    (void)quiet;
}

// The input as a property file (any of its encodings); false when it does not parse.
inline bool readTree(uint8_t const* data, std::size_t size, Orvex::XMLNode& root) {
    return root.loadFromBytes(data, size, L"fuzz");
}

}  // namespace fuzz
