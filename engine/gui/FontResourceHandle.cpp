// Private font resources: a font file of the data installed through AddFontMemResourceEx.
#include "engine/gui/FontResourceHandle.h"

#include <vector>

#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"
#include "port/gdi/wingdi.h"

namespace Orvex {

FontResourceHandle::FontResourceHandle(XMLNode& node) : NamedObject(node) {
    File file(node);
    std::wstring const path = node.getAttributeString(L"FILENAME", L"");
    std::vector<u8> bytes;
    if (!file.isOpen() || !file.readAll(bytes) || bytes.empty()) {
        logError(L"Font resource \"" + getName() + L"\": cannot read \"" + path + L"\"");
        return;
    }
    handle = AddFontMemResourceEx(bytes.data(), static_cast<DWORD>(bytes.size()), nullptr, &fontCount);
    if (!handle) logError(L"Font resource \"" + getName() + L"\": \"" + path + L"\" holds no font");
}

FontResourceHandle::~FontResourceHandle() {
    if (handle) RemoveFontMemResourceEx(handle);
}

}  // namespace Orvex
