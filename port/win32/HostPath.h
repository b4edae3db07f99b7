// Turning the engine's Windows paths into host paths and back.
// "\" becomes "/"; a path that does not exist as written is looked up again case-insensitively,
// folder by folder, since data written for Windows names files in any case.
#pragma once

#include <string>

namespace port {

// UTF-8 <-> wide (UTF-32) for host file names.
std::string toUtf8(std::wstring const& text);
std::wstring fromUtf8(std::string const& text);

// The host path for a Windows path: separators converted, and when the path as written does not
// exist, each component matched case-insensitively against the folder's entries. When nothing
// matches, the converted path is returned unchanged (so it can be created).
std::string hostPath(std::wstring const& windowsPath);

// The converted path only (separators), without any disk lookup.
std::string hostPathNoLookup(std::wstring const& windowsPath);

// A host path written back with "\" separators.
std::wstring windowsPath(std::string const& hostPath);

}  // namespace port
