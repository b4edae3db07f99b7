// One mounted .gob archive: its directory, read once when mounted, and the contents of its
// entries, read on demand. Lookups ignore case and accept "/" or "\" separators.
// A missing, unreadable or damaged archive logs one line and keeps the entries that could be
// read (none when the header is unusable).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/core/GOBFormat.h"
#include "engine/core/Types.h"

namespace Orvex {

class GOBFile {
public:
    // Opens the archive (a Windows path, looked up case-insensitively) and reads its directory.
    GOBFile(std::wstring const& name, std::wstring const& archiveFileName, int orderIndex);
    // An archive held in memory (tests, fuzzing): the directory is read from the bytes.
    static GOBFile* fromMemory(std::wstring const& name, std::string bytes, int orderIndex);

    GOBFile(GOBFile const&) = delete;
    GOBFile& operator=(GOBFile const&) = delete;

    std::wstring const& getName() const { return name_; }
    std::wstring const& getArchiveFileName() const { return archiveFileName_; }
    int getOrderIndex() const { return orderIndex_; }
    // The key by which the registry sorts archives (ascending); takes effect on rebuildOrders.
    void setOrderIndex(int orderIndex) { orderIndex_ = orderIndex; }

    // True when the archive's header was readable.
    bool isValid() const { return valid_; }
    u32 getEntryCount() const { return static_cast<u32>(entries_.size()); }
    gob::Entry const* getEntry(u32 i) const { return i < entries_.size() ? &entries_[i] : nullptr; }
    // The stored name of entry i as wide text.
    std::wstring getEntryName(u32 i) const;

    // The entry stored under path (case-insensitive), or null.
    gob::Entry const* findEntry(std::wstring const& path) const;
    bool contains(std::wstring const& path) const { return findEntry(path) != nullptr; }
    // The entry's bytes; false (and a log line) when they cannot be read.
    bool readEntry(gob::Entry const& entry, std::vector<unsigned char>& out) const;

    // The lookup key of a path: separators as "\", doubled ones collapsed, leading ".\" and "\"
    // dropped, case folded.
    static std::wstring lookupKey(std::wstring const& path);

private:
    GOBFile(std::wstring const& name, int orderIndex) : name_(name), orderIndex_(orderIndex) {}
    void readFromDisk();
    void adopt(gob::Directory&& directory);

    std::wstring name_;
    std::wstring archiveFileName_;
    std::string hostPath_;    // empty for archives in memory
    std::string memory_;      // the whole archive when held in memory
    int orderIndex_ = 0;
    bool valid_ = false;
    std::vector<gob::Entry> entries_;
    std::unordered_map<std::wstring, u32> index_;  // lookup key -> entry
};

}  // namespace Orvex
