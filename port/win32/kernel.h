// Kernel services the engine calls: time, sleeping, environment strings, folders and files.
// Paths are Windows paths ("\" separators); they are turned into host paths at this layer.
#pragma once

#include "port/win32/windows_types.h"

// Milliseconds since an arbitrary start (the process start here), wrapping at 2^32.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
// A monotonic counter and its frequency in counts per second.
BOOL QueryPerformanceCounter(LARGE_INTEGER* counter);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
void Sleep(DWORD milliseconds);
void GetLocalTime(SYSTEMTIME* time);

// Expands %NAME% references: %APPDATA% is $XDG_DATA_HOME (or ~/.local/share), %USERPROFILE% is
// $HOME, %ALLUSERSPROFILE% is /usr/local/share, others from the environment; unknown names stay
// as written. Returns the characters needed including the terminating zero, as Windows does.
DWORD ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size);

// Folders and files by Windows path.
BOOL CreateDirectoryW(LPCWSTR path, void* securityAttributes);
BOOL DeleteFileW(LPCWSTR path);
BOOL MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer);
BOOL SetCurrentDirectoryW(LPCWSTR path);
#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_DIRECTORY 0x10
#define FILE_ATTRIBUTE_NORMAL 0x80
#define MOVEFILE_REPLACE_EXISTING 0x1
#define MOVEFILE_WRITE_THROUGH 0x8
DWORD GetFileAttributesW(LPCWSTR path);

// COM initialisation: succeeds and does nothing.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();
