// Opening files through archive orders and reading them whole.
#include "engine/core/File.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <unordered_set>

#include "engine/core/CodePage.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_paths.h"

namespace Orvex {

namespace {

// The files whose problem was logged, of the readers that report once.
std::mutex g_reportedLock;
std::unordered_set<std::wstring>& reportedFiles() {
    static std::unordered_set<std::wstring> files;
    return files;
}

std::wstring tooLarge(u64 size, u64 maxBytes) {
    return L"is " + std::to_wstring(size) + L" bytes, more than the " + std::to_wstring(maxBytes) +
           L" such a file may have; it is not read";
}

}  // namespace

std::FILE* openWholeFile(std::string const& hostPath, char const* mode, std::wstring* whyNot) {
    std::FILE* file = port::openRegularFile(hostPath, mode, whyNot);
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
            hostPath_ = findOnDisk(path, false, &passedOver_);
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
    passedOver_.clear();
}

bool File::firstReport() const {
    if (!once_) return true;
    std::lock_guard<std::mutex> const lock(g_reportedLock);
    return reportedFiles().insert(path_.empty() ? name_ : path_).second;
}

void File::logNotOpen(std::wstring const& what, std::wstring const& rest) const {
    if (!firstReport()) return;
    if (passedOver_.empty()) logWarning(what + L" not found" + rest);
    else logError(what + L" cannot be read (" + passedOver_ + L")" + rest);
}

bool File::readAll(std::vector<u8>& out, u64 maxBytes, std::wstring* whyNot) const {
    out.clear();
    if (!open_) return false;
    auto refuse = [&](std::wstring const& why) {
        if (whyNot) *whyNot = why;
        else if (firstReport()) logError(L"File \"" + path_ + L"\" " + why);
        return false;
    };
    if (archive_) {
        if (entry_.size > maxBytes) return refuse(tooLarge(entry_.size, maxBytes));
        return archive_->readEntry(entry_, out);
    }

    // The size is the open file's: what stands at the name now is what is read.
    std::wstring why;
    std::FILE* file = openWholeFile(hostPath_, "rb", &why);
    long const size = file && std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    if (!file || size < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
        if (file) std::fclose(file);
        return refuse(L"cannot be read" + (why.empty() ? L"" : L" (" + why + L")"));
    }
    if (static_cast<u64>(size) > maxBytes) {
        std::fclose(file);
        return refuse(tooLarge(static_cast<u64>(size), maxBytes));
    }
    out.resize(static_cast<std::size_t>(size));
    std::size_t got = std::fread(out.data(), 1, out.size(), file);
    std::fclose(file);
    if (got != out.size()) {
        out.clear();
        return refuse(L"cannot be read (short read)");
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

bool File::readHead(std::vector<u8>& out, std::size_t bytes) const {
    out.clear();
    if (!open_) return false;
    if (archive_) {
        gob::Entry head = entry_;
        head.size = static_cast<uint32_t>(std::min<u64>(entry_.size, bytes));
        return archive_->readEntry(head, out);
    }
    std::FILE* file = openWholeFile(hostPath_, "rb");
    if (!file) return false;
    out.resize(bytes);
    out.resize(std::fread(out.data(), 1, bytes, file));
    std::fclose(file);
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

bool File::readAllOnce(std::vector<u8>& out, std::wstring const& what) {
    once_ = true;
    std::wstring why;
    if (!open_) why = passedOver_.empty() ? L"not found" : L"cannot be read (" + passedOver_ + L")";
    else if (readAll(out, kMaxReadBytes, &why) && out.empty()) why = L"is empty";
    if (why.empty()) return true;
    if (firstReport()) logError(what + L" " + why);
    return false;
}

std::wstring File::readText(u64 maxBytes, std::wstring* whyNot) const {
    std::vector<u8> bytes;
    if (!readAll(bytes, maxBytes, whyNot)) return {};
    return decodeFileText(bytes.data(), bytes.size());
}

}  // namespace Orvex
