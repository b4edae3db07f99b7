// gobpack: packs a folder into a .gob archive and lists an archive's entries.
//   gobpack pack FOLDER ARCHIVE.gob   every file below FOLDER, stored as its path under FOLDER
//                                     with "\" separators, in sorted order
//   gobpack list ARCHIVE.gob          one line per entry: its size and its stored name
// Exit status: 0 on success, 1 on a damaged archive or a failed pack, 2 on wrong usage.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "engine/core/CodePage.h"
#include "engine/core/GOBFormat.h"
#include "port/win32/win32_text.h"

namespace fs = std::filesystem;

namespace {

void printError(std::wstring const& message) { std::fprintf(stderr, "gobpack: %s\n", port::toUtf8(message).c_str()); }

int usage() {
    std::fprintf(stderr,
                 "usage: gobpack pack FOLDER ARCHIVE.gob\n"
                 "       gobpack list ARCHIVE.gob\n");
    return 2;
}

int pack(std::string const& folder, std::string const& archive) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        printError(L"\"" + port::fromUtf8(folder) + L"\" is not a folder");
        return 1;
    }
    fs::path archivePath = fs::absolute(archive, ec);
    std::vector<Orvex::gob::PackItem> items;
    fs::recursive_directory_iterator it(folder, fs::directory_options::follow_directory_symlink, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        if (fs::equivalent(it->path(), archivePath, ec)) continue;  // never pack the archive into itself
        std::wstring name = port::fromUtf8(it->path().lexically_relative(folder).generic_string());
        for (auto& ch : name)
            if (ch == L'/') ch = L'\\';
        for (wchar_t ch : name) {
            unsigned char byte;
            if (!Orvex::narrowAnsi(ch, byte)) {
                printError(L"\"" + name + L"\" has a character that Windows-1252 cannot store");
                return 1;
            }
        }
        items.push_back({Orvex::toNarrowString(name), it->path().string()});
    }
    if (ec) {
        printError(L"cannot read the folder \"" + port::fromUtf8(folder) + L"\"");
        return 1;
    }
    std::sort(items.begin(), items.end(),
              [](auto const& a, auto const& b) { return a.storedName < b.storedName; });
    std::wstring error;
    if (!Orvex::gob::writeArchive(archive, items, error)) {
        printError(L"cannot pack \"" + port::fromUtf8(archive) + L"\": " + error);
        return 1;
    }
    std::printf("%zu files packed into %s\n", items.size(), archive.c_str());
    return 0;
}

int list(std::string const& archive) {
    Orvex::gob::Directory dir;
    if (!Orvex::gob::readDirectoryFile(archive, dir)) {
        printError(L"cannot open \"" + port::fromUtf8(archive) + L"\"");
        return 1;
    }
    for (auto const& entry : dir.entries)
        std::printf("%10u %s\n", entry.size, port::toUtf8(Orvex::toWideString(entry.name)).c_str());
    if (!dir.problem.empty()) {
        printError(L"\"" + port::fromUtf8(archive) + L"\" is damaged: " + dir.problem);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "pack") return pack(argv[2], argv[3]);
    if (argc == 3 && std::string(argv[1]) == "list") return list(argv[2]);
    return usage();
}
