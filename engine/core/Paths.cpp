// Text-only path helpers for "\" separated paths.
#include "engine/core/Paths.h"

namespace Orvex {

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring joinPath(std::wstring const& base, std::wstring const& relative) {
    std::wstring folder = base;
    while (!folder.empty() && isSeparator(folder.back())) folder.pop_back();

    std::size_t pos = 0;
    for (;;) {
        if (relative.compare(pos, 2, L"..") == 0 && pos + 2 < relative.size() && isSeparator(relative[pos + 2])) {
            std::size_t cut = folder.find_last_of(L"\\/");
            std::size_t last = cut == std::wstring::npos ? 0 : cut + 1;
            if (folder.empty()) {
                folder = L"..";  // climbed past the start of base: the step stays
            } else if (folder.compare(last, std::wstring::npos, L"..") == 0) {
                folder += L"\\..";
            } else if (cut == std::wstring::npos) {
                folder.clear();
            } else {
                folder.erase(cut);
            }
            pos += 3;
        } else if (relative.compare(pos, 1, L".") == 0 && pos + 1 < relative.size() && isSeparator(relative[pos + 1])) {
            pos += 2;
        } else {
            break;
        }
    }
    std::wstring rest = relative.substr(pos);
    for (auto& ch : rest)
        if (ch == L'/') ch = L'\\';
    if (folder.empty()) return rest;
    if (rest.empty()) return folder;
    return folder + L'\\' + rest;
}

std::wstring normalizePath(std::wstring const& path) {
    std::wstring out;
    out.reserve(path.size());
    for (wchar_t ch : path) {
        if (ch == L'\\' && !out.empty() && out.back() == L'\\') continue;
        out.push_back(ch);
    }
    return out;
}

std::wstring getDirectory(std::wstring const& path) {
    std::size_t slash = path.find_last_of(L'\\');
    std::size_t start = slash == std::wstring::npos ? 0 : slash + 1;
    if (path.find(L'.', start) == std::wstring::npos) return path;
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

std::wstring getFileName(std::wstring const& path, bool withoutExtension) {
    std::size_t slash = path.find_last_of(L'\\');
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    if (withoutExtension) {
        std::size_t dot = name.find_last_of(L'.');
        if (dot != std::wstring::npos) name.erase(dot);
    }
    return name;
}

}  // namespace Orvex
