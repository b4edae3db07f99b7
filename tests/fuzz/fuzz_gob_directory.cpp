// Fuzzes the .gob directory reader: every entry it keeps must be readable within the archive and
// findable by its stored name; a truncated read of the same archive must stay in bounds too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/GOBFile.h"
#include "engine/core/GOBFormat.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();

    std::unique_ptr<Orvex::GOBFile> archive(
        Orvex::GOBFile::fromMemory(L"fuzz.gob", std::string(reinterpret_cast<char const*>(data), size), 0));
    std::vector<unsigned char> bytes;
    for (Orvex::u32 i = 0; i < archive->getEntryCount(); ++i) {
        Orvex::gob::Entry const* entry = archive->getEntry(i);
        if (!archive->readEntry(*entry, bytes) || bytes.size() != entry->size) std::abort();
        if (!archive->findEntry(archive->getEntryName(i))) std::abort();
    }

    // The directory bytes of a larger archive whose data was not read.
    std::size_t wanted = Orvex::gob::directoryBytes(data, size, static_cast<uint64_t>(size) * 2);
    Orvex::gob::Directory dir = Orvex::gob::readDirectory(data, wanted < size ? wanted : size, static_cast<uint64_t>(size) * 2);
    for (auto const& entry : dir.entries)
        if (static_cast<uint64_t>(entry.offset) + entry.size > static_cast<uint64_t>(size) * 2) std::abort();
    return 0;
}
