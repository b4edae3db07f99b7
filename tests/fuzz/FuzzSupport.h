// Helpers shared by the fuzz targets: silent engine and port logs (the targets check their own
// results), the input read as a property-file tree, and inputs that stand for several files.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

#include "engine/core/GOBManager.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_log.h"
#include "port/win32/win32_paths.h"

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

// An input that stands for several files is cut at every line kPartMark; piece k (from 0) is
// written as the file "partk" (k below kMaxParts) into a folder of this process, which the file
// layer searches first, then the source tree. So the names a file gives ("part1", ".\PART1",
// "part0" for itself, "data\Splines\shapes.ase") open them, and includes, lists and the files
// they name are fuzzed along. Files of pieces an input lacks are removed.
inline constexpr std::string_view kPartMark = "\n--8<--\n";
inline constexpr std::size_t kMaxParts = 8;

// The folder of the pieces (made, and put on the search paths, on first use; removed at exit).
inline std::filesystem::path const& partsFolder() {
    struct Folder {
        std::filesystem::path path;
        Folder() : path(std::filesystem::temp_directory_path() / ("orvex-fuzz-parts-" + std::to_string(getpid()))) {
            std::error_code ec;
            std::filesystem::create_directories(path, ec);
            Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(path.string()));
            Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        }
        ~Folder() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static Folder const folder;
    return folder.path;
}

// The full name of piece k's file, for files a target writes itself.
inline std::wstring partFile(std::size_t k) {
    return port::windowsPath((partsFolder() / ("part" + std::to_string(k))).string());
}

// Writes the pieces; returns the size of piece 0, which a target reads as the input itself.
inline std::size_t serveParts(uint8_t const* data, std::size_t size) {
    std::filesystem::path const& folder = partsFolder();
    char const* const begin = reinterpret_cast<char const*>(data);
    char const* const end = begin + size;
    char const* piece = begin;
    std::size_t firstSize = size;
    for (std::size_t k = 0; k < kMaxParts; ++k) {
        std::filesystem::path const file = folder / ("part" + std::to_string(k));
        if (!piece) {
            std::error_code ec;
            std::filesystem::remove(file, ec);
            continue;
        }
        char const* const mark = std::search(piece, end, kPartMark.begin(), kPartMark.end());
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out.write(piece, static_cast<std::streamsize>(mark - piece));
        }
        if (k == 0) firstSize = static_cast<std::size_t>(mark - begin);
        piece = mark == end ? nullptr : mark + kPartMark.size();
    }
    return firstSize;
}

}  // namespace fuzz
