// Keeping aside a file that the game reads and later writes over (the profile file, the settings
// file) when it does not read: under its name followed by ".bad" and the first number no entry
// has, never over an earlier one. It is moved there, which needs neither room nor reading; only
// where it cannot be moved is it copied, block by block (no more memory whatever its size), and
// then only when it is no larger than its reader takes, and only once for the same bytes: a file
// that cannot be moved is kept at every start, and a copy of its bytes kept before is named again.
// Something other than a file in its place (a FIFO, a folder, a link) is moved as it is, never
// opened.
#pragma once

#include <string>

#include "engine/core/Types.h"

namespace Orvex {

// The ".bad" numbers a file may be kept as; with all of them taken it cannot be kept.
constexpr int kMaxKeptAside = 1000;

// Whether any entry has the host path (a link that leads nowhere too); a name that cannot be
// looked at counts as taken.
bool isNameTaken(std::string const& host);

// Why the entry at host, which did not read completely, has to be kept aside before it is written
// over: it cannot be opened or read, it is larger than maxBytes, or it does not read completely
// (in a log line's words, after the file's name). Empty when there is nothing to keep: no entry,
// or an empty file.
std::wstring whyKeepAside(std::string const& host, u64 maxBytes);

struct KeptAside {
    std::string place;    // where the entry is kept; empty when it is not
    bool copied = false;  // a copy is kept there, the entry itself is where it was
    std::wstring whyNot;  // why it is not kept (log words: "\".bad1\" to ... are all taken")

    // The end of a log line on a kept entry: "; <moved> \"<place>\"", or for a copy
    // "; <why it was not moved>, a copy is kept as \"<place>\"".
    std::wstring told(wchar_t const* moved = L"it is kept as") const;
};

// Renames without replacing (port::renameWithoutReplacing); tests hand in one that fails.
using MoveEntry = bool (*)(std::string const& from, std::string const& to);

// Keeps the entry at host as `named` followed by the first free ".bad" number: moved, else copied
// when it is a file of at most maxBytes (or, where an earlier ".bad" number holds the same bytes,
// kept there: the place named is that one).
KeptAside keepAside(std::string const& host, std::string const& named, u64 maxBytes, MoveEntry move = nullptr);

}  // namespace Orvex
