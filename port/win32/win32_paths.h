// Turning the engine's Windows paths into host paths and back.
// "\" becomes "/"; a path that does not exist as written is looked up again case-insensitively,
// folder by folder, since data written for Windows names files in any case.
#pragma once

#include <cstdio>
#include <string>

namespace port {

// The host path for a Windows path: separators converted, and when the path as written does not
// exist, each component matched case-insensitively against the folder's entries. From the first
// component without a match on, the rest is kept as written (so a new file can be created in an
// existing folder named in another case).
std::string hostPath(std::wstring const& windowsPath);

// The converted path only (separators), without any disk lookup.
std::string hostPathNoLookup(std::wstring const& windowsPath);

// Whether a link in a file's place is followed: kRefuse for a file that the game makes in a folder
// others may put a link into (its log, its lock), so that no file the link leads to is written,
// held or made.
enum class Links : bool { kFollow, kRefuse };

// Opens a host file as fopen does with mode ("rb", "wb", "ab", "r+b"; an "x" refuses a name that is
// taken), but only a regular file (a link to one is followed unless links is kRefuse), as
// CreateFileW opens only files. Nothing that could block is done on any other entry: one seen in
// the path's place is not opened; one that takes its place meanwhile is opened non-blocking (a
// FIFO without a partner, a device), seen for what it is on the open file and closed unread and
// unwritten. Null on failure with errno set (EISDIR for a folder, ELOOP for a link refused, EINVAL
// for any other entry that is not a regular file); whyNot, when given, says why in a log line's
// words (notRegularFile's, else the errno text).
std::FILE* openRegularFile(std::string const& hostPath, char const* mode, std::wstring* whyNot = nullptr,
                           Links links = Links::kFollow);

// The system's words for an errno value ("No space left on device"), as log lines give them.
std::wstring errnoText(int error);

// What stands at a host path (a link followed unless links is kRefuse) when it is not a regular
// file: "Is a directory", "a FIFO, not a regular file", "a symbolic link, not a regular file" ...;
// empty for a regular file, for nothing and for a path that cannot be looked at.
std::wstring notRegularFile(std::string const& hostPath, Links links = Links::kFollow);

// The words for the calling thread's last error (GetLastError) as a file call of kernel.h set it:
// what stood in the file's place, or the system's words for its errno value.
std::wstring lastErrorText();

// Makes the written contents of an open file durable (FlushFileBuffers): false on failure.
bool commitFile(std::FILE* file);

// Renames a host path (a file, folder or link itself, unread) unless the target name is taken by
// any entry (MoveFileEx without replacing); false, with errno set, when it is or the rename fails.
bool renameWithoutReplacing(std::string const& from, std::string const& to);

// A host path written back with "\" separators.
std::wstring windowsPath(std::string const& hostPath);

}  // namespace port
