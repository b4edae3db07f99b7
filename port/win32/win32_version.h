// The program's version block, compiled in: what the version-information calls would read from
// the executable's resources on Windows (fixed version numbers and the string table).
#pragma once

#include <string>
#include <string_view>

namespace port {

struct VersionBlock {
    int major;
    int minor;
    int build;
    int revision;
    wchar_t const* companyName;
    wchar_t const* productName;
    wchar_t const* savePath;    // the user folder below the base folder, "\" separated
    wchar_t const* updatePage;  // opened by the options screen's update button
};

VersionBlock const& versionBlock();

// A string of the version block by its key ("CompanyName", "ProductName", "ProductVersion",
// "FileVersion", "SavePath", "UpdatePage"; case-insensitive). False, leaving value alone, for an
// unknown key.
bool versionString(std::wstring_view key, std::wstring& value);

}  // namespace port
