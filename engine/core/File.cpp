// Opening files through archive orders and reading them whole.
#include "engine/core/File.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/core/CodePage.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"

namespace Orvex {

std::FILE* openWholeFile(std::string const& hostPath, char const* mode) {
    std::FILE* file = std::fopen(hostPath.c_str(), mode);
    if (file) std::setvbuf(file, nullptr, _IONBF, 0);
    return file;
}

File::File(std::wstring const& name) : name_(name) {}

File::File(XMLNode& node) {
    name_ = node.getAttributeString(L"NAME", L"");
    std::wstring order = node.getAttributeString(L"GOBORDER", L"DEFAULT");
    std::wstring path = node.getAttributeString(L"FILENAME", L"");
    if (!path.empty()) open(path, order);
}

bool File::open(std::wstring const& path, GOBOrder const& order) {
    close();
    path_ = path;
    for (GOBFile const* archive : order.entries) {
        if (archive) {
            if (gob::Entry const* entry = archive->findEntry(path)) {
                archive_ = archive;
                entry_ = *entry;
                open_ = true;
                return true;
            }
        } else {
            hostPath_ = findOnDisk(path);
            if (!hostPath_.empty()) {
                open_ = true;
                return true;
            }
        }
    }
    return false;
}

bool File::open(std::wstring const& path, std::wstring const& orderName) {
    return open(path, GOBManager::getInstance().findOrder(orderName));
}

bool File::open(std::wstring const& path) { return open(path, GOBManager::getInstance().getDefaultOrder()); }

void File::close() {
    open_ = false;
    archive_ = nullptr;
    entry_ = gob::Entry();
    hostPath_.clear();
}

bool File::readAll(std::vector<u8>& out) const {
    out.clear();
    if (!open_) return false;
    if (archive_) return archive_->readEntry(entry_, out);

    std::error_code ec;
    uint64_t size = std::filesystem::file_size(hostPath_, ec);
    std::FILE* file = ec || size > 0xFFFFFFFFull ? nullptr : openWholeFile(hostPath_, "rb");
    if (!file) {
        logError(L"File \"" + path_ + L"\" cannot be read");
        return false;
    }
    out.resize(static_cast<std::size_t>(size));
    std::size_t got = std::fread(out.data(), 1, out.size(), file);
    std::fclose(file);
    if (got != out.size()) {
        out.clear();
        logError(L"File \"" + path_ + L"\" cannot be read (short read)");
        return false;
    }
    return true;
}

bool File::readAll(u8*& buffer, u32& size) const {
    buffer = nullptr;
    size = 0;
    std::vector<u8> bytes;
    if (!readAll(bytes)) return false;
    // Never a zero-length array: the caller always has something to delete[].
    buffer = new u8[bytes.empty() ? 1 : bytes.size()];
    std::copy(bytes.begin(), bytes.end(), buffer);
    size = static_cast<u32>(bytes.size());
    return true;
}

std::wstring File::getIdentity() const {
    if (!open_) return {};
    if (archive_) return L"archive " + archive_->getName() + L" at " + std::to_wstring(entry_.offset);
    // The disk search gives the names as they are on disk (in their case), so the absolute path
    // without "." and ".." names the file; asking the disk for links would cost a call per folder.
    // Its bytes are taken as they are: a name need not be text in any encoding.
    std::error_code ec;
    std::string const path = std::filesystem::absolute(hostPath_, ec).lexically_normal().string();
    std::wstring identity = L"disk ";
    for (char c : path) identity.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return identity;
}

std::wstring fileIdentity(std::wstring const& name) {
    File file(name);
    if (!file.open(name)) return L"name " + name;
    return file.getIdentity();
}

std::wstring File::readText() const {
    std::vector<u8> bytes;
    if (!readAll(bytes)) return {};
    return decodeFileText(bytes.data(), bytes.size());
}

}  // namespace Orvex
