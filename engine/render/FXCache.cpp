// The compiled-effect cache: one ".fxo" file per effect and macro set in the folder "FXCache"
// of the user folder, holding exactly the bytes CompileEffect returned. There is no check of age
// or source: a file stays in use until it is deleted ("FX_reloadEffect name 1",
// "FX_reloadAllEffects 0 1"). The game switches the cache off at start-up.
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/core/AppInfo.h"
#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/core/Paths.h"
#include "engine/render/Effect.h"
#include "port/win32/win32_paths.h"
#include "port/win32/windows.h"

namespace Orvex {

u8 Effect::useCompiledCache = 1;
u8 Effect::writeCompiledCache = 1;
std::wstring Effect::cacheFolder = L"FXCache";

namespace {

// Names and macro definitions come from data; characters that would make the file name a path
// (or an invalid name) are replaced, so a cache file never lands outside the cache folder.
std::wstring fileNameSafe(std::wstring text) {
    for (wchar_t& c : text) {
        if (c < 0x20 || c == L'\\' || c == L'/' || c == L':' || c == L'*' || c == L'?' || c == L'"' || c == L'<' ||
            c == L'>' || c == L'|')
            c = L'_';
    }
    return text;
}

std::wstring cacheFolderPath() { return AppInfo::getInstance().getUserFolder() + L"\\" + Effect::cacheFolder; }

}  // namespace

void Effect::makeCachePath(std::wstring const& sourcePath) {
    std::wstring path = AppInfo::getInstance().getUserFolder() + L"\\" + cacheFolder;
    if (!cacheFolder.empty()) path += L"\\";
    std::wstring fileName = getName() + L"_" + getFileName(sourcePath, true);
    std::wstring macroText = macros_.toText(L'_', L'_');
    if (!macroText.empty()) fileName += L"_(" + macroText + L")";
    cachePath_ = path + fileNameSafe(fileName) + L".fxo";
}

ID3DXBuffer* Effect::readCache() const {
    File file(cachePath_);
    std::vector<u8> bytes;
    if (!file.open(cachePath_, L"DEFAULT") || !file.readAll(bytes) || bytes.empty()) return nullptr;
    ID3DXBuffer* buffer = nullptr;
    if (FAILED(D3DXCreateBuffer(static_cast<DWORD>(bytes.size()), &buffer)) || !buffer) return nullptr;
    std::memcpy(buffer->GetBufferPointer(), bytes.data(), bytes.size());
    return buffer;
}

void Effect::writeCache(ID3DXBuffer& compiled) const {
    // Only the last folder level is made; a failure shows when the file cannot be opened.
    CreateDirectoryW(cacheFolderPath().c_str(), nullptr);
    std::FILE* out = openWholeFile(port::hostPath(cachePath_), "wb");
    if (!out) {
        logWarning(L"Effect " + getName() + L": cannot write the cache file " + cachePath_);
        return;
    }
    std::size_t size = compiled.GetBufferSize();
    bool written = std::fwrite(compiled.GetBufferPointer(), 1, size, out) == size;
    if (std::fclose(out) != 0) written = false;
    if (!written) {
        // A partial file would be taken as the compiled effect next time.
        logWarning(L"Effect " + getName() + L": cache file " + cachePath_ + L" not written");
        DeleteFileW(cachePath_.c_str());
    }
}

}  // namespace Orvex
