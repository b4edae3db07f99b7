// A file opened by relative name through a search order: the order's archives first, then the
// disk (the path itself, then each search path). The contents are read when asked for.
//
// A file read whole is refused before it is read, with one line naming it, its size and the
// limit, when it is larger than its reader takes: kMaxReadBytes for any file, kMaxTextFileBytes
// for a text the engine parses whole (a property file's tree takes up to 23 times its size).
//
// Readers that try a file again on every use (pictures, sounds, music) read it by readAllOnce: what
// keeps a file from being read is then logged the first time only, for the whole run.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/GOBManager.h"
#include "engine/core/Types.h"

namespace Orvex {

class XMLNode;

class File {
public:
    // About 770 times the largest file the game ships (0.33 MB).
    static constexpr u64 kMaxReadBytes = u64{256} << 20;
    // About 120 times the largest property file the game ships (texte.lng, 0.14 MB).
    static constexpr u64 kMaxTextFileBytes = u64{16} << 20;

    // A named file, not yet open.
    explicit File(std::wstring const& name);
    // Reads "NAME", "GOBORDER" (default "DEFAULT") and "FILENAME" and opens the file.
    explicit File(XMLNode& node);

    // Tries each entry of the order; true when the file was found.
    bool open(std::wstring const& path, GOBOrder const& order);
    bool open(std::wstring const& path, std::wstring const& orderName);
    bool open(std::wstring const& path);  // the order "DEFAULT"
    bool isOpen() const { return open_; }
    void close();
    // One log line on why the last open found no file: `what` (the file named) then "not found"
    // (a warning), or "cannot be read (a FIFO, not a regular file)" (an error) when something
    // other than a regular file stood on disk in its place; then `rest`.
    void logNotOpen(std::wstring const& what, std::wstring const& rest = L"") const;

    // The whole file in a new buffer that the caller frees with delete[]; false when not open,
    // not readable or larger than kMaxReadBytes (buffer null, size 0).
    bool readAll(u8*& buffer, u32& size) const;
    // The whole file; false (out empty) when not open, not readable or larger than maxBytes. The
    // line saying why is logged, or, when whyNot is given, put there instead (what follows the
    // file's name: "cannot be read (...)", "is 20000000 bytes, more than ...").
    bool readAll(std::vector<u8>& out, u64 maxBytes = kMaxReadBytes, std::wstring* whyNot = nullptr) const;
    // The whole file as text: UTF-16LE after a byte-order mark, else each byte widened through
    // Windows-1252. Empty when not open, not readable or larger than maxBytes.
    std::wstring readText(u64 maxBytes = kMaxReadBytes, std::wstring* whyNot = nullptr) const;
    // For readers that try a file again on each use (pictures, sounds, music): the whole file, or
    // false when it was not found or cannot be read, is larger than kMaxReadBytes or empty; then
    // one error line, `what` and why ("not found", "cannot be read (a FIFO, not a regular file)"
    // ...), is logged the first time for the file in the run.
    bool readAllOnce(std::vector<u8>& out, std::wstring const& what);
    // The first `bytes` bytes of the file (all of a shorter one), for a reader that judges a file
    // by its header before reading it whole; false (out empty) when not open or not readable.
    // Logs nothing of its own: the whole read that follows says what keeps the file from being read.
    bool readHead(std::vector<u8>& out, std::size_t bytes) const;

    std::wstring const& getName() const { return name_; }
    std::wstring const& getPath() const { return path_; }
    // The archive the file was found in (null: on disk, or not open).
    GOBFile const* getArchive() const { return archive_; }
    // Which file this is, as a text equal for every name that opens the same file: the archive
    // and the entry's place in it, or the absolute path on disk without "." and ".." (links are
    // not followed); empty when not open.
    std::wstring getIdentity() const;

private:
    std::wstring name_;
    std::wstring path_;
    bool open_ = false;
    GOBFile const* archive_ = nullptr;
    gob::Entry entry_;
    std::string hostPath_;
    // What stood on disk in the place of the file the last open did not find ("" when nothing).
    std::wstring passedOver_;
    // Problems of this file are logged once for the run (readAllOnce).
    bool once_ = false;

    // Whether a line on this file's problem is to be logged now: always, unless once_ is set and
    // a line on it was logged already.
    bool firstReport() const;
};
static_assert(File::kMaxReadBytes <= 0xFFFFFFFFu, "the size readAll gives in a u32 holds any file it reads");

// The identity (File::getIdentity) of the file a name opens through the order "DEFAULT", or
// the name itself when it opens nothing. Readers that follow names from data compare these, so
// one file under several spellings ("a.sol", ".\a.sol", "A.SOL") counts as one.
std::wstring fileIdentity(std::wstring const& name);

// fopen without a stdio buffer, for reading or writing a file in a few whole blocks (no
// allocation behind the scenes, no copy through the buffer). Only a regular file is opened, and
// nothing else in its place (a FIFO, a folder, a device) can block the caller
// (port::openRegularFile); whyNot, when given, says why it was not.
std::FILE* openWholeFile(std::string const& hostPath, char const* mode, std::wstring* whyNot = nullptr);

}  // namespace Orvex
