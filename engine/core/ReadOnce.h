// The files one reading has taken already, by identity (fileIdentity: the archive entry or the
// absolute path on disk), so a list that names a file again, under whichever spelling
// ("data\x", ".\data\x", another case on disk), does not read it again. readTree reads a
// property file once for its caller (animation lists, texture lists).
#pragma once

#include <string>
#include <unordered_set>

#include "engine/core/File.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

class ReadOnce {
public:
    // True the first time a name of that file is given, false after.
    bool first(std::wstring const& fileName) { return seen_.insert(fileIdentity(fileName)).second; }
    // Whether a name of that file was taken.
    bool seen(std::wstring const& fileName) const { return seen_.count(fileIdentity(fileName)) > 0; }
    // Reads the property file and hands its tree to use, unless a reading of it was handed on
    // before; a file that cannot be read is not taken. False when use was not called.
    template <class Use>
    bool readTree(std::wstring const& fileName, Use&& use) {
        std::wstring identity = fileIdentity(fileName);
        if (seen_.count(identity)) return false;
        XMLNode tree;
        if (!tree.load(fileName)) return false;
        seen_.insert(std::move(identity));
        use(tree);
        return true;
    }
    void clear() { seen_.clear(); }

private:
    std::unordered_set<std::wstring> seen_;
};

}  // namespace Orvex
