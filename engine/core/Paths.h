// Helpers for the engine's Windows-style relative paths ("\" separated, as written in data).
// They work on text only and never touch the disk.
#pragma once

#include <string>

namespace Orvex {

// base joined with relative by "\". Each leading "..\" of relative drops the last folder of
// base (steps left over once base is used up stay in the result); leading ".\" steps are
// dropped. "/" in relative counts as "\".
std::wstring joinPath(std::wstring const& base, std::wstring const& relative);

// Runs of "\" collapsed into one.
std::wstring normalizePath(std::wstring const& path);

// The text before the last "\" when the last component has an extension (a file path);
// otherwise the path itself (already a folder). A file name without folder gives "".
std::wstring getDirectory(std::wstring const& path);

// The text after the last "\"; with withoutExtension, cut at its last ".".
std::wstring getFileName(std::wstring const& path, bool withoutExtension = false);

}  // namespace Orvex
