// Files that a list names twice, under two spellings of one file ("...\x" and "...\.\x"), for the
// tests that each file is read once: an animation list of kAnimations unnamed animations (which
// each reading leaves out with one log line), and a text file whose one text has an unknown
// locale, so that each reading of it logs one warning.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "port/win32/win32_paths.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

struct FilesNamedTwice {
    static constexpr std::size_t kAnimations = 3;

    explicit FilesNamedTwice(std::string const& folder) {
        std::filesystem::path const dir = makeTempDir(folder);
        std::string animations = "<ANIMATIONS>";
        for (std::size_t i = 0; i < kAnimations; ++i)
            animations += "<ANIMATION_2D><FRAMES TEXTUR=\"KEINE\"><FRAME_PARAMS ANZ_FRAMES=\"1\"/></FRAMES></ANIMATION_2D>";
        writeFile(dir / "twice.ani", animations + "</ANIMATIONS>");
        writeFile(dir / "twice.lng", "<T><TEXT NAME=\"TWICE_READ\" LANG=\"DE\" SET_LOCALE=\"xx_TWICE\">\"|x|\"</TEXT></T>");
        std::wstring const base = port::windowsPath(dir.string());
        list = base + L"\\twice.ani";
        listAgain = base + L"\\.\\twice.ani";
        texts = base + L"\\twice.lng";
        textsAgain = base + L"\\.\\twice.lng";
    }

    // The lines that tell of a reading of the animation list.
    static std::size_t listReadings(std::vector<std::wstring> const& lines) {
        std::size_t n = 0;
        for (std::wstring const& line : lines)
            n += line.find(L"twice.ani") != std::wstring::npos && line.find(L"without \"NAME\"") != std::wstring::npos;
        return n;
    }

    // The lines that tell of a reading of the text file.
    static std::size_t textReadings(std::vector<std::wstring> const& lines) {
        std::size_t n = 0;
        for (std::wstring const& line : lines) n += line.find(L"xx_TWICE") != std::wstring::npos;
        return n;
    }

    std::wstring list, listAgain, texts, textsAgain;
};

}  // namespace testsupport
