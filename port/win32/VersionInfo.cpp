// The compiled-in version block. Change the numbers here for a release.
#include "port/win32/win32_version.h"

#include <cwctype>

namespace port {

namespace {

constexpr VersionBlock kBlock = {
    1, 0, 0, 0,
    L"Orvex Games",
    L"Velquorandix Solitaire",
    L"Orvex\\Velquorandix",
    L"https://updates.orvex.invalid/velquorandix",
};

bool sameKey(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
    return true;
}

std::wstring dottedVersion() {
    return std::to_wstring(kBlock.major) + L"." + std::to_wstring(kBlock.minor) + L"." +
           std::to_wstring(kBlock.build) + L"." + std::to_wstring(kBlock.revision);
}

}  // namespace

VersionBlock const& versionBlock() { return kBlock; }

bool versionString(std::wstring_view key, std::wstring& value) {
    if (sameKey(key, L"CompanyName")) value = kBlock.companyName;
    else if (sameKey(key, L"ProductName")) value = kBlock.productName;
    else if (sameKey(key, L"SavePath")) value = kBlock.savePath;
    else if (sameKey(key, L"UpdatePage")) value = kBlock.updatePage;
    else if (sameKey(key, L"ProductVersion") || sameKey(key, L"FileVersion")) value = dottedVersion();
    else return false;
    return true;
}

}  // namespace port
