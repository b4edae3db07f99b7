// Helpers for the property-file, file and archive tests: catching the log lines a step writes.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/core/Logger.h"

namespace xmltest {

// Collects the log lines written between its construction and a call of lines().
class LogWatch {
public:
    LogWatch() : before_(Orvex::Logger::getInstance().recentLines()) {}

    std::vector<std::wstring> lines() const {
        auto after = Orvex::Logger::getInstance().recentLines();
        // The longest tail of `before` that starts `after` is old; the rest is new.
        std::size_t overlap = std::min(before_.size(), after.size());
        for (; overlap > 0; --overlap) {
            bool same = true;
            for (std::size_t i = 0; i < overlap && same; ++i)
                same = before_[before_.size() - overlap + i] == after[i];
            if (same) break;
        }
        return std::vector<std::wstring>(after.begin() + static_cast<long>(overlap), after.end());
    }

    std::vector<std::wstring> errors() const {
        std::vector<std::wstring> out;
        for (auto const& line : lines())
            if (line.rfind(L"ERROR ", 0) == 0) out.push_back(line);
        return out;
    }

private:
    std::deque<std::wstring> before_;
};

inline bool contains(std::wstring const& text, std::wstring const& part) { return text.find(part) != std::wstring::npos; }

}  // namespace xmltest
