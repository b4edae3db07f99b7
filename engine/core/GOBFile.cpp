// Mounting a .gob archive and reading its entries.
#include "engine/core/GOBFile.h"

#include <filesystem>
#include <system_error>

#include <cstdio>

#include "engine/core/File.h"
#include "engine/core/CodePage.h"
#include "engine/core/Logger.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"

namespace Orvex {

GOBFile::GOBFile(std::wstring const& name, std::wstring const& archiveFileName, int orderIndex)
    : name_(name), archiveFileName_(archiveFileName), orderIndex_(orderIndex) {
    readFromDisk();
}

GOBFile* GOBFile::fromMemory(std::wstring const& name, std::string bytes, int orderIndex) {
    auto* archive = new GOBFile(name, orderIndex);
    archive->archiveFileName_ = name;
    archive->memory_ = std::move(bytes);
    auto const* data = reinterpret_cast<unsigned char const*>(archive->memory_.data());
    archive->adopt(gob::readDirectory(data, archive->memory_.size(), archive->memory_.size()));
    return archive;
}

void GOBFile::readFromDisk() {
    hostPath_ = port::hostPath(archiveFileName_);
    gob::Directory directory;
    std::error_code ec;
    if (!std::filesystem::exists(hostPath_, ec)) {
        // Archives a game does not ship (a publisher's "cp.gob") are looked for all the same.
        logWarning(L"Archive \"" + archiveFileName_ + L"\" (" + name_ + L") not found; no files are read from it");
        return;
    }
    if (!gob::readDirectoryFile(hostPath_, directory)) {
        logError(L"Archive \"" + archiveFileName_ + L"\" (" + name_ + L") cannot be opened; no files are read from it");
        return;
    }
    adopt(std::move(directory));
}

void GOBFile::adopt(gob::Directory&& directory) {
    valid_ = directory.valid;
    entries_ = std::move(directory.entries);
    index_.reserve(entries_.size());
    u32 duplicates = 0;
    for (u32 i = 0; i < entries_.size(); ++i) {
        if (!index_.emplace(lookupKey(toWideString(entries_[i].name)), i).second) ++duplicates;
    }
    std::wstring problem = std::move(directory.problem);
    if (duplicates > 0) {
        if (!problem.empty()) problem += L"; ";
        problem += std::to_wstring(duplicates) + L" names stored twice (the first is used)";
    }
    if (!problem.empty()) {
        logError(L"Archive \"" + archiveFileName_ + L"\" (" + name_ + L") is damaged: " + problem + L"; " +
                 std::to_wstring(index_.size()) + L" files usable");
    }
}

std::wstring GOBFile::getEntryName(u32 i) const {
    return i < entries_.size() ? toWideString(entries_[i].name) : std::wstring();
}

std::wstring GOBFile::lookupKey(std::wstring const& path) {
    std::wstring key;
    key.reserve(path.size());
    for (wchar_t ch : path) {
        if (ch == L'/') ch = L'\\';
        if (ch == L'\\' && (key.empty() || key.back() == L'\\')) continue;
        if (ch == L'\\' && key == L".") {
            key.clear();
            continue;
        }
        key.push_back(port::foldCase(ch));
    }
    return key;
}

gob::Entry const* GOBFile::findEntry(std::wstring const& path) const {
    if (entries_.empty()) return nullptr;
    auto it = index_.find(lookupKey(path));
    return it == index_.end() ? nullptr : &entries_[it->second];
}

bool GOBFile::readEntry(gob::Entry const& entry, std::vector<unsigned char>& out) const {
    out.clear();
    if (hostPath_.empty()) {
        if (static_cast<uint64_t>(entry.offset) + entry.size > memory_.size()) return false;
        out.assign(memory_.begin() + entry.offset, memory_.begin() + entry.offset + entry.size);
        return true;
    }
    std::FILE* file = openWholeFile(hostPath_, "rb");
    bool ok = file != nullptr && std::fseek(file, static_cast<long>(entry.offset), SEEK_SET) == 0;
    if (ok) {
        out.resize(entry.size);
        ok = std::fread(out.data(), 1, out.size(), file) == out.size();
    }
    if (file) std::fclose(file);
    if (!ok) {
        out.clear();
        logError(L"Archive \"" + archiveFileName_ + L"\": \"" + toWideString(entry.name) +
                 L"\" cannot be read (the archive changed or went away)");
    }
    return ok;
}

}  // namespace Orvex
