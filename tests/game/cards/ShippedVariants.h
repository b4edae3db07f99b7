// The variants the game ships, taken from the data so that a new rule file is played by every
// test that walks them: each file of data/Level ending in ".sol" whose root element is
// "SOLITAIRE" (the others hold templates and piles the variants include), by the name the game
// loads it under ("data\Level\Name.sol"), in the order of the names.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace cardtest {

// "data\Level\" + name + ".sol".
inline std::wstring variantFile(std::wstring const& name) { return L"data\\Level\\" + name + L".sol"; }

// The file name's stem: "Zellen" for "data\Level\Zellen.sol".
inline std::string variantName(std::wstring const& file) {
    std::size_t const start = file.find_last_of(L'\\') + 1;
    std::wstring const stem = file.substr(start, file.rfind(L".sol") - start);
    return std::string(stem.begin(), stem.end());
}

// Whether the first element of the file (past comments and declarations) is "SOLITAIRE".
inline bool rootIsSolitaire(std::string const& text) {
    std::size_t at = text.find('<');
    while (at != std::string::npos && at + 1 < text.size() && (text[at + 1] == '!' || text[at + 1] == '?'))
        at = text.find('<', at + 1);
    if (at == std::string::npos || text.compare(at, 10, "<SOLITAIRE") != 0) return false;
    char const next = at + 10 < text.size() ? text[at + 10] : '\0';
    return next == ' ' || next == '>' || next == '/' || next == '\t' || next == '\r' || next == '\n';
}

inline std::vector<std::wstring> const& shippedVariants() {
    static std::vector<std::wstring> const files = [] {
        std::vector<std::wstring> out;
        for (auto const& entry : std::filesystem::directory_iterator(testsupport::sourceDir() / "data" / "Level")) {
            if (entry.path().extension() != ".sol") continue;
            if (rootIsSolitaire(testsupport::readFile(entry.path())))
                out.push_back(variantFile(entry.path().stem().wstring()));
        }
        std::sort(out.begin(), out.end());
        if (out.empty()) ADD_FAILURE() << "no variant found in data/Level";
        return out;
    }();
    return files;
}

}  // namespace cardtest
