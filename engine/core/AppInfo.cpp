// Application info over the kernel layer (working directory, environment expansion, folder
// creation, the folder's lock file held open alone) and the compiled-in version block.
#include "engine/core/AppInfo.h"

#include "engine/core/Logger.h"
#include "port/win32/kernel.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_version.h"

namespace Orvex {

namespace {

// Taken during static initialisation, so the start directory is the one the program began in.
[[maybe_unused]] AppInfo& g_takeStartDirectory = AppInfo::getInstance();

void trimTrailingSeparators(std::wstring& path) {
    while (path.size() > 1 && path.back() == L'\\') path.pop_back();
}

std::wstring currentDirectory() {
    DWORD const needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return std::wstring();
    std::wstring path(needed, L'\0');
    DWORD const length = GetCurrentDirectoryW(needed, path.data());
    path.resize(length < needed ? length : 0);
    trimTrailingSeparators(path);
    return path;
}

std::wstring expandEnvironment(std::wstring const& text) {
    DWORD const needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::wstring out(needed, L'\0');
    if (ExpandEnvironmentStringsW(text.c_str(), out.data(), needed) != needed) return text;
    out.resize(needed - 1);
    return out;
}

wchar_t const* baseFolderOf(int kind) {
    switch (kind) {
        case AppInfo::USER_FOLDER_PROFILE: return L"%USERPROFILE%";
        case AppInfo::USER_FOLDER_APPDATA: return L"%APPDATA%";
        case AppInfo::USER_FOLDER_ALL_USERS: return L"%ALLUSERSPROFILE%";
        default: return nullptr;
    }
}

}  // namespace

AppInfo& AppInfo::getInstance() {
    static AppInfo instance;
    return instance;
}

AppInfo::AppInfo() : startDirectory_(currentDirectory()), updatePage_(port::versionBlock().updatePage) {}

std::wstring const& AppInfo::getUserFolder() const {
    if (!resolved_) resolveUserFolder();
    return userFolder_;
}

void AppInfo::setUserFolderKind(int const& kind) {
    if (kind < USER_FOLDER_PROFILE || kind > USER_FOLDER_SAVE_PATH) {
        logWarning(L"AppInfo: unknown user folder kind " + std::to_wstring(kind) + L", folder unchanged");
        return;
    }
    kind_ = kind;
    resolveUserFolder();
}

void AppInfo::resolveUserFolder() const {
    resolved_ = true;
    std::wstring savePath = port::versionBlock().savePath;
    trimTrailingSeparators(savePath);
    wchar_t const* base = baseFolderOf(kind_);
    if (!base) {
        userFolder_ = savePath;
        return;
    }
    std::wstring folder = expandEnvironment(base);
    trimTrailingSeparators(folder);
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    userFolder_ = folder + savePath;
}

bool AppInfo::createUserFolder() {
    getUserFolder();
    if (userFolder_.empty()) return false;
    // Each prefix up to a "\" is one folder level; the root needs no creating.
    for (std::size_t end = userFolder_.find(L'\\', 1);; end = userFolder_.find(L'\\', end + 1)) {
        std::wstring const level = userFolder_.substr(0, end);
        if (!CreateDirectoryW(level.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            logError(L"AppInfo: could not create the user folder \"" + level + L"\" (error " +
                     std::to_wstring(GetLastError()) + L")");
            return false;
        }
        if (end == std::wstring::npos) break;
    }
    DWORD const attributes = GetFileAttributesW(userFolder_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        logError(L"AppInfo: the user folder \"" + userFolder_ + L"\" is not a folder");
        return false;
    }
    return true;
}

AppInfo::FolderLock AppInfo::lockUserFolder() {
    if (lock_) return FolderLock::kHeld;
    std::wstring const file = getUserFolder() + L"\\" + kLockFileName;
    HANDLE const lock = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (lock != INVALID_HANDLE_VALUE) {
        lock_ = lock;
        return FolderLock::kHeld;
    }
    if (GetLastError() == ERROR_SHARING_VIOLATION) return FolderLock::kInUse;
    logError(L"AppInfo: the lock file \"" + file + L"\" cannot be opened (" + port::lastErrorText() +
             L"): the user folder cannot be held against a second game");
    return FolderLock::kNotTaken;
}

void AppInfo::getVersion(int& major, int& minor, int& build, int& revision) const {
    port::VersionBlock const& block = port::versionBlock();
    major = block.major;
    minor = block.minor;
    build = block.build;
    revision = block.revision;
}

}  // namespace Orvex
