// The .gob archive format, shared by the engine's reader and the gobpack tool.
//
// Layout (little-endian): 4-byte magic "GOB\0", uint32 entry count, then one 268-byte record per
// entry (uint32 offset from the start of the archive, uint32 size, 260-byte zero-terminated
// Windows-1252 name with "\" separators), then the file data.
//
// The reader trusts nothing: the count is bounded by the archive size before anything is
// allocated, and records whose data lies past the end or whose name has no terminating zero are
// dropped. Problems are gathered into one message for the caller to log.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Orvex::gob {

constexpr std::size_t kMagicSize = 4;
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kNameSize = 260;
constexpr std::size_t kRecordSize = 8 + kNameSize;
constexpr char kMagic[kMagicSize] = {'G', 'O', 'B', '\0'};

struct Entry {
    uint32_t offset = 0;
    uint32_t size = 0;
    std::string name;  // as stored: Windows-1252 bytes, "\" separated
};

struct Directory {
    std::vector<Entry> entries;
    bool valid = false;    // the header was readable and the magic right
    std::wstring problem;  // empty when the archive was sound; else what was wrong
};

// The number of directory bytes (header and records) to read for an archive whose first
// kHeaderSize bytes are header and whose total size is archiveSize: the records that the count
// names, limited to those that fit into the archive. 0 when the header is unusable.
std::size_t directoryBytes(unsigned char const* header, std::size_t headerSize, uint64_t archiveSize);

// Reads the directory from the archive's first bytes (at least directoryBytes(...) of them for
// every record to be read; fewer records are read when fewer bytes are given). archiveSize is
// the whole archive's size, against which offsets and sizes are checked.
Directory readDirectory(unsigned char const* data, std::size_t size, uint64_t archiveSize);

// Reads the directory of the archive file at the host path. False when the file cannot be
// opened; otherwise the directory as readDirectory gives it.
bool readDirectoryFile(std::string const& hostPath, Directory& out);

// One file to pack: the name to store and the host path of its contents.
struct PackItem {
    std::string storedName;  // Windows-1252, "\" separated, at most kNameSize - 1 bytes
    std::string sourcePath;
};

// Writes an archive of the items in order to the host path. False with a message on failure
// (a name too long, a source unreadable, the archive larger than 4 GiB, a write error); no
// partial archive is left behind.
bool writeArchive(std::string const& archivePath, std::vector<PackItem> const& items, std::wstring& error);

// An archive made in memory from names and contents (for tests and fuzzing seeds).
std::string buildArchive(std::vector<std::pair<std::string, std::string>> const& files);

}  // namespace Orvex::gob
