// Helpers shared by the fuzz targets: a silent engine log (the targets check their own results)
// and the input read as a property-file tree.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"

namespace fuzz {

inline void quietLog() {
    static bool const quiet = [] {
        Orvex::Logger::getInstance().setThreshold(1000, Orvex::LOG_MASK_ALL);
        return true;
    }();
    (void)quiet;
}

// The input as a property file (any of its encodings); false when it does not parse.
inline bool readTree(uint8_t const* data, std::size_t size, Orvex::XMLNode& root) {
    return root.loadFromBytes(data, size, L"fuzz");
}

}  // namespace fuzz
