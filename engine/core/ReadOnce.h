// The files one reading has taken already, by identity (fileIdentity: the archive entry or the
// absolute path on disk), so a list that names a file again, under whichever spelling
// ("data\x", ".\data\x", another case on disk), does not read it again.
#pragma once

#include <string>
#include <unordered_set>

#include "engine/core/File.h"

namespace Orvex {

class ReadOnce {
public:
    // True the first time a name of that file is given, false after.
    bool first(std::wstring const& fileName) { return seen_.insert(fileIdentity(fileName)).second; }

private:
    std::unordered_set<std::wstring> seen_;
};

}  // namespace Orvex
