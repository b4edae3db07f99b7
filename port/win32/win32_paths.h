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

// Makes the written contents of an open file durable (FlushFileBuffers): false on failure.
bool commitFile(std::FILE* file);

// Renames a host path (a file, folder or link itself, unread) unless the target name is taken by
// any entry (MoveFileEx without replacing); false, with errno set, when it is or the rename fails.
bool renameWithoutReplacing(std::string const& from, std::string const& to);

// A host path written back with "\" separators.
std::wstring windowsPath(std::string const& hostPath);

}  // namespace port
