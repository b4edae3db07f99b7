// Kernel services over the C++ library and POSIX: clocks, sleeping, environment expansion and
// file operations by Windows path; a file held against others is an flock on a stream. The last
// error is kept per thread, as Windows does.
#include "port/win32/kernel.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cwctype>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"

namespace {

thread_local DWORD t_lastError = ERROR_SUCCESS;
// What stood in the way of the last failed file call, in words; empty: the words of its code.
thread_local std::wstring t_lastErrorText;

DWORD errorFromErrno(int error) {
    switch (error) {
        case ENOENT: return ERROR_FILE_NOT_FOUND;
        case ENOTDIR: return ERROR_PATH_NOT_FOUND;
        case EEXIST: return ERROR_ALREADY_EXISTS;
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR: return ERROR_ACCESS_DENIED;
        default: return ERROR_INVALID_PARAMETER;
    }
}

BOOL failWith(DWORD error, std::wstring text = {}) {
    t_lastError = error;
    t_lastErrorText = std::move(text);
    return FALSE;
}

BOOL failFromErrno() {
    int const error = errno;
    return failWith(errorFromErrno(error), port::errnoText(error));
}

std::string hostPathOf(LPCWSTR path) { return port::hostPath(std::wstring(path)); }

std::string environment(char const* name) {
    char const* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::wstring upperCase(std::wstring text) {
    for (auto& c : text) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return text;
}

// A host folder as the engine writes paths, without a trailing separator.
std::wstring asWindowsFolder(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return port::windowsPath(folder);
}

bool lookupVariable(std::wstring const& name, std::wstring& value) {
    std::wstring const upper = upperCase(name);
    if (upper == L"APPDATA") {
        // The XDG rules ignore a relative XDG_DATA_HOME.
        std::string data = environment("XDG_DATA_HOME");
        if (data.empty() || data[0] != '/') data = environment("HOME") + "/.local/share";
        value = asWindowsFolder(data);
        return true;
    }
    if (upper == L"USERPROFILE") {
        value = asWindowsFolder(environment("HOME"));
        return true;
    }
    if (upper == L"ALLUSERSPROFILE") {
        value = asWindowsFolder("/usr/local/share");
        return true;
    }
    for (std::wstring const& candidate : {name, upper}) {
        char const* raw = std::getenv(port::toUtf8(candidate).c_str());
        if (raw) {
            value = port::fromUtf8(raw);
            return true;
        }
    }
    return false;
}

}  // namespace

DWORD GetTickCount() { return static_cast<DWORD>(GetTickCount64()); }

ULONGLONG GetTickCount64() {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<ULONGLONG>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

BOOL QueryPerformanceCounter(LARGE_INTEGER* counter) {
    if (!counter) return FALSE;
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    counter->QuadPart = std::chrono::duration_cast<std::chrono::nanoseconds>(since).count();
    return TRUE;
}

BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
    if (!frequency) return FALSE;
    frequency->QuadPart = 1000000000LL;
    return TRUE;
}

void Sleep(DWORD milliseconds) {
    if (milliseconds == 0) std::this_thread::yield();
    else std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void GetLocalTime(SYSTEMTIME* time) {
    if (!time) return;
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    time->wYear = static_cast<WORD>(local.tm_year + 1900);
    time->wMonth = static_cast<WORD>(local.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time->wDay = static_cast<WORD>(local.tm_mday);
    time->wHour = static_cast<WORD>(local.tm_hour);
    time->wMinute = static_cast<WORD>(local.tm_min);
    time->wSecond = static_cast<WORD>(local.tm_sec < 60 ? local.tm_sec : 59);  // no leap second
    time->wMilliseconds = static_cast<WORD>(millis < 0 ? 0 : millis);
}

DWORD ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size) {
    if (!source) {
        failWith(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::wstring const text(source);
    std::wstring result;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t open = text.find(L'%', i);
        if (open == std::wstring::npos) {
            result.append(text, i, std::wstring::npos);
            break;
        }
        result.append(text, i, open - i);
        std::size_t close = text.find(L'%', open + 1);
        if (close == std::wstring::npos) {
            result.append(text, open, std::wstring::npos);
            break;
        }
        std::wstring value;
        if (close > open + 1 && lookupVariable(text.substr(open + 1, close - open - 1), value)) {
            result += value;
            i = close + 1;
        } else if (close == open + 1) {
            result += L'%';  // "%%" is no name: keep the first and look again from the second
            i = close;
        } else {
            result.append(text, open, close - open + 1);  // unknown: stays as written
            i = close + 1;
        }
    }
    auto const needed = static_cast<DWORD>(result.size() + 1);
    if (destination && size >= needed) {
        result.copy(destination, result.size());
        destination[result.size()] = L'\0';
    }
    return needed;
}

BOOL CreateDirectoryW(LPCWSTR path, void* /*securityAttributes*/) {
    if (!path || !*path) return failWith(ERROR_PATH_NOT_FOUND);
    if (::mkdir(hostPathOf(path).c_str(), 0777) != 0) return failFromErrno();
    return TRUE;
}

BOOL DeleteFileW(LPCWSTR path) {
    if (!path || !*path) return failWith(ERROR_FILE_NOT_FOUND);
    std::string const host = hostPathOf(path);
    struct stat info {};
    if (::stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return failWith(ERROR_ACCESS_DENIED);
    if (::unlink(host.c_str()) != 0) return failFromErrno();
    return TRUE;
}

BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
    if (!from || !to || !*from || !*to) return failWith(ERROR_INVALID_PARAMETER);
    std::string const source = hostPathOf(from);
    std::string const target = hostPathOf(to);
    struct stat info {};
    if (::stat(source.c_str(), &info) != 0) return failFromErrno();
    if (::stat(target.c_str(), &info) == 0 && !(flags & MOVEFILE_REPLACE_EXISTING)) return failWith(ERROR_ALREADY_EXISTS);
    if (std::rename(source.c_str(), target.c_str()) == 0) return TRUE;
    if (errno != EXDEV || !(flags & MOVEFILE_COPY_ALLOWED)) return failFromErrno();
    // Across file systems: copy, then remove the source.
    std::error_code ec;
    std::filesystem::copy(source, target,
                          std::filesystem::copy_options::overwrite_existing | std::filesystem::copy_options::recursive, ec);
    if (ec) return failWith(errorFromErrno(ec.value()), port::errnoText(ec.value()));
    std::filesystem::remove_all(source, ec);
    return TRUE;
}

DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer) {
    std::error_code ec;
    std::string const current = std::filesystem::current_path(ec).string();
    if (ec) {
        failWith(errorFromErrno(ec.value()), port::errnoText(ec.value()));
        return 0;
    }
    std::wstring const path = asWindowsFolder(current);
    if (!buffer || size < path.size() + 1) return static_cast<DWORD>(path.size() + 1);
    path.copy(buffer, path.size());
    buffer[path.size()] = L'\0';
    return static_cast<DWORD>(path.size());
}

BOOL SetCurrentDirectoryW(LPCWSTR path) {
    if (!path || !*path) return failWith(ERROR_PATH_NOT_FOUND);
    if (::chdir(hostPathOf(path).c_str()) != 0) return failFromErrno();
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR path) {
    if (!path || !*path) {
        failWith(ERROR_FILE_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string const host = hostPathOf(path);
    struct stat info {};
    if (::stat(host.c_str(), &info) != 0) {
        failFromErrno();
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if (::access(host.c_str(), W_OK) != 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

HANDLE CreateFileW(LPCWSTR path, DWORD /*access*/, DWORD shareMode, void* /*securityAttributes*/, DWORD creation,
                   DWORD /*flags*/, HANDLE /*templateFile*/) {
    if (!path || !*path || shareMode != 0 || creation != OPEN_ALWAYS) {
        failWith(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    // Appending creates the file and never changes what it holds; the stream is the handle. A link
    // is not followed: no file it leads to is held, or made.
    std::string const host = hostPathOf(path);
    std::wstring whyNot;
    std::FILE* file = port::openRegularFile(host, "ab", &whyNot, port::Links::kRefuse);
    if (!file) {
        int const error = errno;
        // A file that may only be read (another user's) is held all the same: an flock needs no
        // writing, and nothing is written through the handle.
        std::wstring readingWhyNot;
        if (error == EACCES || error == EPERM || error == EROFS)
            file = port::openRegularFile(host, "rb", &readingWhyNot, port::Links::kRefuse);
        if (!file) {
            failWith(errorFromErrno(error), whyNot);
            return INVALID_HANDLE_VALUE;
        }
    }
    if (::flock(::fileno(file), LOCK_EX | LOCK_NB) != 0) {
        int const error = errno;
        std::fclose(file);
        if (error == EWOULDBLOCK) failWith(ERROR_SHARING_VIOLATION);
        else failWith(errorFromErrno(error), port::errnoText(error));
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

BOOL CloseHandle(HANDLE handle) {
    if (!handle || handle == INVALID_HANDLE_VALUE) return failWith(ERROR_INVALID_PARAMETER);
    if (std::fclose(static_cast<std::FILE*>(handle)) != 0) return failFromErrno();
    return TRUE;
}

DWORD GetCurrentProcessId() { return static_cast<DWORD>(::getpid()); }

DWORD GetLastError() { return t_lastError; }

void SetLastError(DWORD error) {
    t_lastError = error;
    t_lastErrorText.clear();
}

namespace port {

std::wstring lastErrorText() {
    if (!t_lastErrorText.empty()) return t_lastErrorText;
    switch (t_lastError) {
        case ERROR_SUCCESS: return L"No error";
        case ERROR_SHARING_VIOLATION: return L"Held by another process";
        default: return L"Error " + std::to_wstring(t_lastError);
    }
}

}  // namespace port

HRESULT CoInitialize(LPVOID /*reserved*/) { return S_OK; }

void CoUninitialize() {}
