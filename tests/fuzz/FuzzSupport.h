// Helpers shared by the fuzz targets: silent engine and port logs (the targets check their own
// results), the input read as a property-file tree, an empty folder for each input's files, inputs
// that stand for large files and inputs that stand for several files.
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

// A folder of this process, removed at exit.
struct FolderOfProcess {
    std::filesystem::path path;
    explicit FolderOfProcess(std::string const& name)
        : path(std::filesystem::temp_directory_path() / ("orvex-fuzz-" + name + "-" + std::to_string(getpid()))) {}
    ~FolderOfProcess() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    FolderOfProcess(FolderOfProcess const&) = delete;
    FolderOfProcess& operator=(FolderOfProcess const&) = delete;
};

// The folder "orvex-fuzz-<name>-<process id>", emptied for each input: what an earlier input left
// there would change what this one reads, and the copies the game keeps aside of damaged files
// (".bad1" ...) would use up their numbers, after which it refuses to save.
inline std::filesystem::path const& emptyInputFolder(std::string const& name) {
    static FolderOfProcess const folder(name);
    std::error_code ec;
    std::filesystem::remove_all(folder.path, ec);
    std::filesystem::create_directories(folder.path, ec);
    return folder.path;
}

// The input written as the file of that name in the folder; its path.
inline std::filesystem::path writeInput(std::filesystem::path const& folder, char const* name, uint8_t const* data,
                                        std::size_t size) {
    std::filesystem::path const file = folder / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<char const*>(data), static_cast<std::streamsize>(size));
    return file;
}

// An input may stand for a large file: the piece between a line "--repeat N--" and its line
// "--end--" is written N times (pieces nest, N at most kMaxRepeat), so a few lines give the file of
// megabytes that a reader's limits are about. A mark takes the line end before it, the one after
// it begins the text that follows. The whole is cut at `limit` bytes, and at kMaxPieces pieces
// written in all (each writing of a piece counts, at every depth, an empty one too), so that the
// work of an input is bounded: nested repeats of an empty piece write nothing forever.
inline constexpr std::string_view kRepeatMark = "\n--repeat ";
inline constexpr std::string_view kEndMark = "\n--end--";
inline constexpr std::size_t kMaxRepeat = std::size_t{1} << 24;
inline constexpr std::size_t kMaxPieces = std::size_t{1} << 24;

// Writes text to out, its pieces repeated; false once limit bytes or `pieces` pieces are written.
inline bool writeRepeated(std::string_view text, std::ofstream& out, std::size_t& limit, std::size_t& pieces,
                          int depth = 0) {
    auto put = [&](std::string_view piece) {
        std::size_t const n = std::min(piece.size(), limit);
        out.write(piece.data(), static_cast<std::streamsize>(n));
        limit -= n;
        return n == piece.size();
    };
    while (!text.empty()) {
        std::size_t const at = depth < 4 ? text.find(kRepeatMark) : std::string_view::npos;
        if (at == std::string_view::npos) return put(text);
        std::size_t i = at + kRepeatMark.size(), count = 0;
        for (; i < text.size() && i < at + kRepeatMark.size() + 8 && text[i] >= '0' && text[i] <= '9'; ++i)
            count = count * 10 + static_cast<std::size_t>(text[i] - '0');
        if (text.substr(i, 2) != "--") {
            // Not a mark: written as it stands.
            if (!put(text.substr(0, at + 1))) return false;
            text = text.substr(at + 1);
            continue;
        }
        if (!put(text.substr(0, at))) return false;
        // The piece ends at the "--end--" of its own depth (or with the text).
        std::size_t const begin = i + 2;
        std::size_t end = text.size(), from = begin, open = 0;
        for (;;) {
            std::size_t const next = text.find(kEndMark, from);
            std::size_t const inner = text.find(kRepeatMark, from);
            if (next == std::string_view::npos) break;
            if (inner < next) {
                ++open;
                from = inner + 1;
            } else if (open-- == 0) {
                end = next;
                break;
            } else {
                from = next + 1;
            }
        }
        std::string_view const piece = text.substr(begin, end - begin);
        for (std::size_t k = 0; k < std::min(count, kMaxRepeat); ++k) {
            if (pieces == 0) return false;
            --pieces;
            if (!writeRepeated(piece, out, limit, pieces, depth + 1)) return false;
        }
        text = text.substr(std::min(text.size(), end + kEndMark.size()));
    }
    return true;
}

// The input written as the file of that name in the folder, its pieces repeated (kRepeatMark), at
// most limit bytes; its path.
inline std::filesystem::path writeRepeatedInput(std::filesystem::path const& folder, char const* name,
                                                std::string_view input, std::size_t limit) {
    std::filesystem::path const file = folder / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    std::size_t pieces = kMaxPieces;
    writeRepeated(input, out, limit, pieces);
    return file;
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
    static FolderOfProcess const folder("parts");
    static bool const searched = [] {
        std::error_code ec;
        std::filesystem::create_directories(folder.path, ec);
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(folder.path.string()));
        Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
        return true;
    }();
    (void)searched;
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
