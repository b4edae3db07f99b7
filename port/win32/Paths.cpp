// Windows paths to host paths: separators and the case-insensitive lookup.
#include "port/win32/win32_paths.h"

#include "port/win32/win32_text.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

namespace port {

std::string hostPathNoLookup(std::wstring const& windowsPath) {
    std::wstring p = windowsPath;
    for (auto& ch : p)
        if (ch == L'\\') ch = L'/';
    return toUtf8(p);
}

namespace {

bool isAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// The entry of the folder whose name equals name but for case, or empty. Read with readdir and
// compared only where the lengths allow a match: every file the game opens by a path that is not
// spelt as on disk comes through here, and the folder may hold hundreds of entries.
std::string entryNoCase(std::string const& folder, std::string const& name) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return {};
    std::wstring const wanted = fromUtf8(name);
    bool const asciiName = isAscii(name);
    std::string found;
    while (dirent const* entry = ::readdir(dir)) {
        std::string_view const candidate(entry->d_name);
        if (candidate == "." || candidate == "..") continue;
        // Case folding keeps an ASCII name's length; other letters may change it in UTF-8.
        if (candidate.size() != name.size() && asciiName && isAscii(candidate)) continue;
        if (equalsNoCase(fromUtf8(std::string(candidate)), wanted)) {
            found = candidate;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

}  // namespace

std::string hostPath(std::wstring const& windowsPath) {
    std::string direct = hostPathNoLookup(windowsPath);
    std::error_code ec;
    if (direct.empty() || std::filesystem::exists(direct, ec)) return direct;

    // Walk the path component by component, matching each one case-insensitively. Once a
    // component has no match, the rest is kept as written, so a new file in an existing folder
    // of another case still lands in that folder.
    std::filesystem::path input(direct);
    std::filesystem::path resolved = input.is_absolute() ? std::filesystem::path("/") : std::filesystem::path();
    bool missing = false;
    for (auto const& part : input.relative_path()) {
        std::string name = part.string();
        if (name.empty() || name == ".") continue;
        std::filesystem::path candidate = resolved / name;
        if (missing || name == ".." || std::filesystem::exists(candidate, ec)) {
            resolved = candidate;
            continue;
        }
        std::string const entry = entryNoCase(resolved.empty() ? std::string(".") : resolved.string(), name);
        if (!entry.empty()) {
            resolved /= entry;
        } else {
            missing = true;
            resolved = candidate;
        }
    }
    std::string result = resolved.string();
    // Keep a trailing separator as written (a folder path).
    if (!direct.empty() && direct.back() == '/' && (result.empty() || result.back() != '/')) result += '/';
    return result;
}

std::wstring errnoText(int error) { return fromUtf8(std::strerror(error)); }

namespace {

// The words for an entry of this type that is not a regular file; empty for a regular file.
std::wstring kindText(mode_t mode) {
    if (S_ISREG(mode)) return {};
    if (S_ISDIR(mode)) return errnoText(EISDIR);
    char const* kind = S_ISFIFO(mode)  ? "a FIFO"
                       : S_ISCHR(mode) ? "a character device"
                       : S_ISBLK(mode) ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                       : S_ISLNK(mode) ? "a symbolic link"
                                        : "an entry";
    return fromUtf8(kind) + L", not a regular file";
}

std::FILE* refuse(int error, std::wstring text, std::wstring* whyNot) {
    if (whyNot) *whyNot = text.empty() ? errnoText(error) : std::move(text);
    errno = error;
    return nullptr;
}

std::FILE* refuseKind(mode_t mode, std::wstring* whyNot) {
    return refuse(S_ISDIR(mode) ? EISDIR : S_ISLNK(mode) ? ELOOP : EINVAL, kindText(mode), whyNot);
}

int look(std::string const& hostPath, struct stat& info, Links links) {
    return links == Links::kRefuse ? ::lstat(hostPath.c_str(), &info) : ::stat(hostPath.c_str(), &info);
}

}  // namespace

std::wstring notRegularFile(std::string const& hostPath, Links links) {
    struct stat info {};
    if (look(hostPath, info, links) != 0) return {};
    return kindText(info.st_mode);
}

std::FILE* openRegularFile(std::string const& hostPath, char const* mode, std::wstring* whyNot, Links links) {
    std::string_view const m = mode ? mode : "";
    bool const update = m.find('+') != std::string_view::npos;
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    char const* streamMode = nullptr;
    switch (m.empty() ? '\0' : m.front()) {
    case 'r':
        flags |= update ? O_RDWR : O_RDONLY;
        streamMode = update ? "r+b" : "rb";
        break;
    case 'w':
        flags |= (update ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC;
        streamMode = update ? "w+b" : "wb";
        break;
    case 'a':
        flags |= (update ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND;
        streamMode = update ? "a+b" : "ab";
        break;
    default: return refuse(EINVAL, {}, whyNot);
    }
    if (m.find('x') != std::string_view::npos) flags |= O_EXCL;
    if (links == Links::kRefuse) flags |= O_NOFOLLOW;
    // Looked at first, so that no device is opened at all (opening one may act); what takes the
    // name after this look is caught on the open file (a link by O_NOFOLLOW).
    struct stat info {};
    if (look(hostPath, info, links) == 0 && !S_ISREG(info.st_mode)) return refuseKind(info.st_mode, whyNot);
    int const fd = ::open(hostPath.c_str(), flags, 0666);
    if (fd < 0) {
        int const error = errno;
        // A FIFO without a reader refuses a writer at once (ENXIO), a link refused gives ELOOP:
        // say what it is.
        return refuse(error, error == ENXIO || error == ELOOP ? notRegularFile(hostPath, links) : std::wstring(),
                      whyNot);
    }
    if (::fstat(fd, &info) != 0) {
        int const error = errno;
        ::close(fd);
        return refuse(error, {}, whyNot);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return refuseKind(info.st_mode, whyNot);
    }
    // A regular file never blocks; the flag goes so that the stream behaves as fopen's.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* file = ::fdopen(fd, streamMode);
    if (!file) {
        int const error = errno;
        ::close(fd);
        return refuse(error, {}, whyNot);
    }
    return file;
}

bool commitFile(std::FILE* file) {
    if (!file || std::fflush(file) != 0) return false;
    return ::fsync(::fileno(file)) == 0;
}

bool renameWithoutReplacing(std::string const& from, std::string const& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    // File systems without the flag: test, then rename (a name taken between the two is replaced).
    if (errno != EINVAL && errno != ENOSYS) return false;
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

std::wstring windowsPath(std::string const& hostPath) {
    std::wstring p = fromUtf8(hostPath);
    for (auto& ch : p)
        if (ch == L'/') ch = L'\\';
    return p;
}

}  // namespace port
