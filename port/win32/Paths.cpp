// Windows paths to host paths: separators and the case-insensitive lookup.
#include "port/win32/win32_paths.h"

#include "port/win32/win32_text.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

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
