// Font files: styles, private font resources, device fonts, then the bitmap sections.
#include <chrono>
#include <thread>

#include "engine/core/XMLNode.h"
#include "engine/gui/D3DXFont.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/FontResourceHandle.h"
#include "engine/gui/FontStyle.h"

namespace Orvex {

void D3DXFontInterface::loadConfig(XMLNode& root, std::wstring const& source) {
    for (auto const& child : root.children()) {
        if (child->getName() != L"FONTSTYLE") continue;
        auto* style = new FontStyle(*child);
        addFontStyle(style);
        style->release();
    }
    bool installed = false;
    for (auto const& child : root.children()) {
        if (child->getName() != L"FONT_RESOURCE") continue;
        auto* resource = new FontResourceHandle(*child);
        installed = addFontResource(resource) || installed;
        resource->release();
    }
    if (installed && settleMs_) std::this_thread::sleep_for(std::chrono::milliseconds(settleMs_));
    loadFonts(root, source);
    bitmapFonts_.loadFonts(root, source);
}

bool D3DXFontInterface::loadFile(std::wstring const& path) {
    XMLNode root;
    if (!root.load(path)) return false;
    loadConfig(root, path);
    return true;
}

void D3DXFontInterface::loadFonts(XMLNode& root, std::wstring const&) {
    for (auto const& child : root.children()) {
        if (child->getName() != L"D3DXFONT") continue;
        auto* font = new D3DXFont(*child);
        addFont(font);
        font->release();
    }
}

}  // namespace Orvex
