// Catching the log lines a step writes: a mark line is logged on construction and lines() gives
// what came after it (the log keeps only its recent lines, so counting its size would not do).
#pragma once

#include <string>
#include <vector>

#include "engine/core/Logger.h"

namespace logtest {

class LogWatch {
public:
    LogWatch() {
        static int serial = 0;
        mark_ = L"-- test mark " + std::to_wstring(++serial);
        Orvex::logPlain(mark_, 1000);
    }

    std::vector<std::wstring> lines() const {
        auto const all = Orvex::Logger::getInstance().recentLines();
        for (std::size_t i = all.size(); i-- > 0;)
            if (all[i] == mark_) return std::vector<std::wstring>(all.begin() + static_cast<long>(i) + 1, all.end());
        return {};
    }

    std::vector<std::wstring> errors() const {
        std::vector<std::wstring> out;
        for (auto const& line : lines())
            if (line.rfind(L"ERROR ", 0) == 0) out.push_back(line);
        return out;
    }

private:
    std::wstring mark_;
};

inline bool contains(std::wstring const& text, std::wstring const& part) { return text.find(part) != std::wstring::npos; }

}  // namespace logtest
