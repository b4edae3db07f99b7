// Reading and writing the .gob archive directory.
#include "engine/core/GOBFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "engine/core/File.h"
#include "port/win32/win32_text.h"

namespace Orvex::gob {

namespace {

uint32_t readLE32(unsigned char const* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

void putLE32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// The header and records for entries of the given names and sizes, data following in order.
bool encodeDirectory(std::vector<std::string> const& names, std::vector<uint64_t> const& sizes, std::string& out,
                     std::wstring& error) {
    out.assign(kMagic, kMagicSize);
    putLE32(out, static_cast<uint32_t>(names.size()));
    uint64_t offset = kHeaderSize + static_cast<uint64_t>(names.size()) * kRecordSize;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i].empty() || names[i].size() >= kNameSize || names[i].find('\0') != std::string::npos) {
            error = L"name of entry " + std::to_wstring(i) + L" is empty or longer than 259 bytes";
            return false;
        }
        if (offset + sizes[i] > 0xFFFFFFFFull) {
            error = L"archive would be larger than 4 GiB";
            return false;
        }
        putLE32(out, static_cast<uint32_t>(offset));
        putLE32(out, static_cast<uint32_t>(sizes[i]));
        std::string name = names[i];
        name.resize(kNameSize, '\0');
        out += name;
        offset += sizes[i];
    }
    return true;
}

}  // namespace

std::size_t directoryBytes(unsigned char const* header, std::size_t headerSize, uint64_t archiveSize) {
    if (!header || headerSize < kHeaderSize || archiveSize < kHeaderSize) return 0;
    if (std::memcmp(header, kMagic, kMagicSize) != 0) return 0;
    uint64_t fit = (archiveSize - kHeaderSize) / kRecordSize;
    uint64_t count = std::min<uint64_t>(readLE32(header + kMagicSize), fit);
    return static_cast<std::size_t>(kHeaderSize + count * kRecordSize);
}

Directory readDirectory(unsigned char const* data, std::size_t size, uint64_t archiveSize) {
    Directory dir;
    if (!data || size < kHeaderSize || archiveSize < kHeaderSize) {
        dir.problem = L"too short for an archive header";
        return dir;
    }
    if (std::memcmp(data, kMagic, kMagicSize) != 0) {
        dir.problem = L"not an archive (wrong magic)";
        return dir;
    }
    dir.valid = true;
    uint64_t limit = std::min<uint64_t>(size, archiveSize);
    uint32_t count = readLE32(data + kMagicSize);
    uint64_t fit = (limit - kHeaderSize) / kRecordSize;
    uint64_t readable = std::min<uint64_t>(count, fit);
    if (readable < count)
        dir.problem = L"directory names " + std::to_wstring(count) + L" entries but only " + std::to_wstring(readable) +
                      L" fit into the archive";

    dir.entries.reserve(static_cast<std::size_t>(readable));
    uint64_t dropped = 0;
    std::wstring firstDrop;
    for (uint64_t i = 0; i < readable; ++i) {
        unsigned char const* record = data + kHeaderSize + i * kRecordSize;
        Entry entry;
        entry.offset = readLE32(record);
        entry.size = readLE32(record + 4);
        char const* name = reinterpret_cast<char const*>(record + 8);
        auto const* end = static_cast<char const*>(std::memchr(name, '\0', kNameSize));
        wchar_t const* why = nullptr;
        if (!end)
            why = L"name without a terminating zero";
        else if (end == name)
            why = L"empty name";
        else if (static_cast<uint64_t>(entry.offset) + entry.size > archiveSize)
            why = L"data past the end of the archive";
        if (why) {
            if (dropped++ == 0) firstDrop = L"entry " + std::to_wstring(i) + L": " + why;
            continue;
        }
        entry.name.assign(name, end);
        dir.entries.push_back(std::move(entry));
    }
    if (dropped > 0) {
        if (!dir.problem.empty()) dir.problem += L"; ";
        dir.problem += std::to_wstring(dropped) + L" entries dropped (" + firstDrop + L")";
    }
    return dir;
}

bool readDirectoryFile(std::string const& hostPath, Directory& out) {
    out = Directory();
    std::error_code ec;
    uint64_t archiveSize = std::filesystem::file_size(hostPath, ec);
    std::FILE* file = ec ? nullptr : openWholeFile(hostPath, "rb");
    if (!file) return false;
    unsigned char header[kHeaderSize] = {};
    std::size_t headerSize = std::fread(header, 1, sizeof header, file);
    std::size_t wanted = directoryBytes(header, headerSize, archiveSize);
    std::vector<unsigned char> bytes(header, header + headerSize);
    if (wanted > headerSize) {
        bytes.resize(wanted);
        bytes.resize(headerSize + std::fread(bytes.data() + headerSize, 1, wanted - headerSize, file));
    }
    std::fclose(file);
    out = readDirectory(bytes.data(), bytes.size(), archiveSize);
    return true;
}

bool writeArchive(std::string const& archivePath, std::vector<PackItem> const& items, std::wstring& error) {
    std::vector<std::string> names;
    std::vector<uint64_t> sizes;
    for (auto const& item : items) {
        std::error_code ec;
        uint64_t size = std::filesystem::file_size(item.sourcePath, ec);
        if (ec) {
            error = L"cannot read the size of \"" + port::fromUtf8(item.sourcePath) + L"\"";
            return false;
        }
        names.push_back(item.storedName);
        sizes.push_back(size);
    }
    std::string header;
    if (!encodeDirectory(names, sizes, header, error)) return false;

    std::string temporary = archivePath + ".packing";
    std::FILE* out = openWholeFile(temporary, "wb");
    if (!out) {
        error = L"cannot create the archive";
        return false;
    }
    bool ok = std::fwrite(header.data(), 1, header.size(), out) == header.size();
    std::vector<char> buffer(1 << 16);
    for (std::size_t i = 0; ok && i < items.size(); ++i) {
        std::wstring whyNot;
        std::FILE* in = openWholeFile(items[i].sourcePath, "rb", &whyNot);
        if (!in) {
            error = L"cannot open \"" + port::fromUtf8(items[i].sourcePath) + L"\" (" + whyNot + L")";
            ok = false;
            break;
        }
        uint64_t copied = 0;
        std::size_t got;
        while (ok && (got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
            copied += got;
            ok = copied <= sizes[i] && std::fwrite(buffer.data(), 1, got, out) == got;
        }
        std::fclose(in);
        if (copied != sizes[i]) {
            error = L"\"" + port::fromUtf8(items[i].sourcePath) + L"\" changed while packing";
            ok = false;
        }
    }
    if (std::fclose(out) != 0) ok = false;
    if (ok && std::rename(temporary.c_str(), archivePath.c_str()) != 0) {
        error = L"cannot move the archive into place";
        ok = false;
    }
    if (!ok) {
        if (error.empty()) error = L"write error";
        std::remove(temporary.c_str());
    }
    return ok;
}

std::string buildArchive(std::vector<std::pair<std::string, std::string>> const& files) {
    std::vector<std::string> names;
    std::vector<uint64_t> sizes;
    for (auto const& f : files) {
        names.push_back(f.first);
        sizes.push_back(f.second.size());
    }
    std::string out;
    std::wstring error;
    if (!encodeDirectory(names, sizes, out, error)) return {};
    for (auto const& f : files) out += f.second;
    return out;
}

}  // namespace Orvex::gob
