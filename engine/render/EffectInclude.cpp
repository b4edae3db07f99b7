// #include files of effect sources read through the file layer, and the error box of a failed
// effect compile.
#include "engine/core/CodePage.h"
#include "engine/core/File.h"
#include "engine/core/Paths.h"
#include "engine/render/Effect.h"
#include "port/win32/windows.h"

namespace Orvex {

HRESULT EffectInclude::Open(D3DXINCLUDE_TYPE, LPCSTR fileName, LPCVOID, LPCVOID* data, UINT* bytes) {
    if (!fileName || !data || !bytes) return E_FAIL;
    *data = nullptr;
    *bytes = 0;
    std::wstring path = normalizePath(joinPath(baseFolder_, toWideString(fileName)));
    File file(path);
    u8* buffer = nullptr;
    u32 size = 0;
    if (!file.open(path, L"DEFAULT") || !file.readAll(buffer, size)) return E_FAIL;
    *data = buffer;
    *bytes = size;
    return S_OK;
}

HRESULT EffectInclude::Close(LPCVOID data) {
    delete[] static_cast<u8 const*>(data);
    return S_OK;
}

void showEffectError(std::wstring const& sourcePath, wchar_t const* callLine, ID3DXBuffer* errors) {
    std::wstring text = sourcePath + L"\n" + callLine;
    if (errors && errors->GetBufferPointer()) {
        char const* messages = static_cast<char const*>(errors->GetBufferPointer());
        std::size_t length = 0;
        while (length < errors->GetBufferSize() && messages[length] != '\0') ++length;
        for (std::size_t i = 0; i < length; ++i) text += static_cast<wchar_t>(static_cast<unsigned char>(messages[i]));
    }
    MessageBoxW(nullptr, text.c_str(), L"Fehler!", MB_ICONERROR);
}

}  // namespace Orvex
