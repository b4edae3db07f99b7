// Keeping a file that does not read aside under a ".bad" number: moved, else copied.
#include "engine/core/KeepAside.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "engine/core/File.h"
#include "port/win32/win32_paths.h"

namespace Orvex {

namespace {

// A copy is made in blocks of this size, so keeping a file costs no more memory whatever its size.
constexpr std::size_t kCopyBlock = std::size_t{1} << 16;


// The file copied block by block into a new file, made durable before the caller writes over the
// original: empty, or why it could not be (no part of a copy is left; `to` is never replaced).
std::wstring copyIntoNewFile(std::string const& from, std::string const& to) {
    std::wstring whyNot;
    std::FILE* in = openWholeFile(from, "rb", &whyNot);
    if (!in) return whyNot;
    // "x": never over a file that is there.
    std::FILE* out = openWholeFile(to, "wbx", &whyNot);
    if (!out) {
        std::fclose(in);
        return whyNot;
    }
    int error = 0;
    std::vector<char> block(kCopyBlock);
    for (std::size_t got; error == 0 && (got = std::fread(block.data(), 1, block.size(), in)) > 0;)
        if (std::fwrite(block.data(), 1, got, out) != got) error = errno;
    if (error == 0 && std::ferror(in)) error = errno;
    if (error == 0 && !port::commitFile(out)) error = errno;
    if (std::fclose(out) != 0 && error == 0) error = errno;
    std::fclose(in);
    if (error == 0) return {};
    std::remove(to.c_str());
    return port::errnoText(error);
}

// The size of the regular file at host (a link followed), or -1.
long long regularFileSize(std::string const& host) {
    struct stat info {};
    if (::stat(host.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    return static_cast<long long>(info.st_size);
}

// Whether the two regular files hold the same bytes, compared block by block.
bool sameBytes(std::string const& one, std::string const& other) {
    std::FILE* a = openWholeFile(one, "rb");
    std::FILE* b = openWholeFile(other, "rb");
    bool same = a && b;
    std::vector<char> blockA(kCopyBlock), blockB(kCopyBlock);
    for (std::size_t got = 1; same && got > 0;) {
        got = std::fread(blockA.data(), 1, kCopyBlock, a);
        same = std::fread(blockB.data(), 1, kCopyBlock, b) == got &&
               std::equal(blockA.data(), blockA.data() + got, blockB.data());
    }
    same = same && !std::ferror(a) && !std::ferror(b);
    if (a) std::fclose(a);
    if (b) std::fclose(b);
    return same;
}

// The copy kept of host's bytes before, among named's ".bad" numbers below `below` (newest
// first), or empty: a file that cannot be moved is kept at every start that does not read it, and
// one copy of the same bytes is enough.
std::string earlierCopy(std::string const& host, std::string const& named, int below, long long size) {
    for (int number = below - 1; number >= 1; --number) {
        std::string const kept = named + ".bad" + std::to_string(number);
        if (regularFileSize(kept) == size && sameBytes(host, kept)) return kept;
    }
    return {};
}

}  // namespace

bool isNameTaken(std::string const& host) {
    std::error_code error;
    return std::filesystem::symlink_status(host, error).type() != std::filesystem::file_type::not_found;
}

std::wstring whyKeepAside(std::string const& host, u64 maxBytes) {
    if (!isNameTaken(host)) return {};
    // Something other than a file (a FIFO, a folder) is never opened: it cannot be read.
    std::wstring const kind = port::notRegularFile(host);
    if (!kind.empty()) return L"cannot be read (" + kind + L")";
    std::FILE* in = openWholeFile(host, "rb");
    if (!in) return L"cannot be opened (" + port::errnoText(errno) + L")";
    long long const size = regularFileSize(host);
    if (size > 0 && static_cast<u64>(size) > maxBytes) {
        std::fclose(in);
        return L"is " + std::to_wstring(size) + L" bytes, more than the " + std::to_wstring(maxBytes) +
               L" such a file may have";
    }
    char byte = 0;
    std::size_t const got = std::fread(&byte, 1, 1, in);
    int const error = errno;
    bool const failed = got == 0 && std::ferror(in);
    std::fclose(in);
    if (failed) return L"cannot be read (" + port::errnoText(error) + L")";
    return got > 0 ? L"does not read completely" : L"";
}

std::wstring KeptAside::told(wchar_t const* moved) const {
    std::wstring const where = L"\"" + port::windowsPath(place) + L"\"";
    return copied ? L"; " + whyNot + L", a copy is kept as " + where : L"; " + std::wstring(moved) + L" " + where;
}

KeptAside keepAside(std::string const& host, std::string const& named, u64 maxBytes, MoveEntry move) {
    if (!move) move = port::renameWithoutReplacing;
    KeptAside kept;
    int number = 1;
    while (number <= kMaxKeptAside && isNameTaken(named + ".bad" + std::to_string(number))) ++number;
    if (number > kMaxKeptAside) {
        kept.whyNot = L"\".bad1\" to \".bad" + std::to_wstring(kMaxKeptAside) + L"\" are all taken";
        return kept;
    }
    std::string const target = named + ".bad" + std::to_string(number);
    if (move(host, target)) {
        kept.place = target;
        return kept;
    }
    kept.whyNot = L"it cannot be moved (" + port::errnoText(errno) + L")";
    long long const size = regularFileSize(host);
    if (size < 0) return kept;
    if (static_cast<u64>(size) > maxBytes) {
        kept.whyNot += L" and is too large to copy";
        return kept;
    }
    if (std::string const earlier = earlierCopy(host, named, number, size); !earlier.empty()) {
        kept.place = earlier;
        kept.copied = true;
        return kept;
    }
    if (std::wstring const notCopied = copyIntoNewFile(host, target); !notCopied.empty()) {
        kept.whyNot += L" or copied (" + notCopied + L")";
        return kept;
    }
    kept.place = target;
    kept.copied = true;
    return kept;
}

}  // namespace Orvex
