// Kernel services the engine calls: time, sleeping, environment strings, folders and files, a
// file held against others, the process id, the thread's last error. Paths are Windows paths
// ("\" separators); they are turned into host paths at this layer (port::hostPath, with its
// case-insensitive lookup).
#pragma once

#include "port/win32/windows_types.h"

// Milliseconds since the system started (the monotonic clock), wrapping at 2^32.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
// A monotonic counter in nanoseconds; the frequency is 10^9 counts per second.
BOOL QueryPerformanceCounter(LARGE_INTEGER* counter);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
// Sleep(0) gives up the rest of the time slice.
void Sleep(DWORD milliseconds);
void GetLocalTime(SYSTEMTIME* time);

// Expands %NAME% references (names case-insensitive): %APPDATA% is $XDG_DATA_HOME (or
// ~/.local/share), %USERPROFILE% is $HOME, %ALLUSERSPROFILE% is /usr/local/share, each written
// with "\" separators so the engine can join to it; others come from the environment as they
// are; unknown names stay as written. Returns the characters needed including the terminating
// zero, as Windows does; the destination is written only when it is large enough. 0 on failure.
DWORD ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size);

// Folders and files by Windows path. Failures set the last error.
// CreateDirectoryW makes one folder: its parent must exist; an existing one fails with
// ERROR_ALREADY_EXISTS.
BOOL CreateDirectoryW(LPCWSTR path, void* securityAttributes);
BOOL DeleteFileW(LPCWSTR path);
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
// The working directory as a Windows path ("\" separators, no trailing "\" except for the root).
// Returns its length without the zero, or the size needed including the zero when size is too
// small (the buffer is then left alone).
DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer);
BOOL SetCurrentDirectoryW(LPCWSTR path);
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x1
#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_NORMAL 0x80
#define MOVEFILE_REPLACE_EXISTING 0x1
#define MOVEFILE_COPY_ALLOWED 0x2
#define MOVEFILE_WRITE_THROUGH 0x8
DWORD GetFileAttributesW(LPCWSTR path);

// A file held open by handle, to keep others out of it while the process lives. Only share mode
// 0 (the file held alone), OPEN_ALWAYS (the file created when missing) and regular files
// (nothing else in the path's place is opened, so nothing can block, and a link is not followed);
// no reading or writing through the handle, so a file the process may only read (another user's)
// is held too. Every other CreateFileW of the file, in this process or another, fails with
// ERROR_SHARING_VIOLATION until the handle is closed or its process ends, however it ends (an
// flock, which the system lets go with the process). Failures give INVALID_HANDLE_VALUE and set
// the last error (port::lastErrorText gives its words). The handle is not inherited by programs
// the process starts.
#define GENERIC_READ 0x80000000UL
#define GENERIC_WRITE 0x40000000UL
#define OPEN_ALWAYS 4
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)
HANDLE CreateFileW(LPCWSTR path, DWORD access, DWORD shareMode, void* securityAttributes, DWORD creation,
                   DWORD flags, HANDLE templateFile);
BOOL CloseHandle(HANDLE handle);

DWORD GetCurrentProcessId();

// The calling thread's last error code.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_ALREADY_EXISTS 183L
DWORD GetLastError();
void SetLastError(DWORD error);

// COM initialisation: succeeds and does nothing.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
