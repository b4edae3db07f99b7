// Windows paths to host paths: separators and the case-insensitive lookup.
#include "port/win32/win32_paths.h"

#include "port/win32/win32_text.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <system_error>
#include <vector>

namespace port {

std::string hostPathNoLookup(std::wstring const& windowsPath) {
    std::wstring p = windowsPath;
    for (auto& ch : p)
        if (ch == L'\\') ch = L'/';
    return toUtf8(p);
}

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
        std::filesystem::path folder = resolved.empty() ? std::filesystem::path(".") : resolved;
        std::wstring wanted = fromUtf8(name);
        bool found = false;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::string entry = it->path().filename().string();
            if (equalsNoCase(fromUtf8(entry), wanted)) {
                resolved /= entry;
                found = true;
                break;
            }
        }
        if (!found) {
            missing = true;
            resolved = candidate;
        }
    }
    std::string result = resolved.string();
    // Keep a trailing separator as written (a folder path).
    if (!direct.empty() && direct.back() == '/' && (result.empty() || result.back() != '/')) result += '/';
    return result;
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
