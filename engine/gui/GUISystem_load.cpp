// Loading GUI files into the GUI system (texture lists, animations, templates, windows, the
// quality-stencil switch) and the window factory keyed by "TYPE".
//
// Bad data: names and texts from the file are data and only ever concatenated into log lines.
// A file with more windows or templates than kMaxWindowsPerFile keeps the first ones, with one
// log line.
#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"

namespace Orvex {

namespace {

// More top-level windows or templates than this in one file are taken as damaged data.
constexpr u32 kMaxWindowsPerFile = 4096;

TextureLoadParams guiTextureParams() { return TextureLoadParams(0, 0xFFFFFFFFu, 1, 1); }

// The number of `name` children to read, capped with a log line naming the file.
u32 cappedCount(XMLNode const& node, wchar_t const* name, std::wstring const& source) {
    u32 const count = node.getChildCount(name);
    if (count <= kMaxWindowsPerFile) return count;
    logWarning(L"GUI file \"" + source + L"\": " + std::to_wstring(count) + L" " + name + L" entries; only the first " +
               std::to_wstring(kMaxWindowsPerFile) + L" are read");
    return kMaxWindowsPerFile;
}

}  // namespace

namespace {

// The file being loaded, for the factory's log lines (windows are made from nested elements).
std::wstring loadingSource = L"(code)";

// Widget types of the GUI files. Until a widget's class exists its elements make plain windows.
constexpr wchar_t const* kWindowTypes[] = {L"",         L"WINDOW", L"LABEL",        L"CHECKBOX_BUTTON",
                                           L"CHECKBOX", L"FRAME",  L"PROGRESSBAR",  L"BUTTON",
                                           L"SCROLL_PANEL", L"SLIDER", L"TOOLTIP"};

bool isKnownType(std::wstring const& type) {
    for (wchar_t const* known : kWindowTypes)
        if (type == known) return true;
    return false;
}

}  // namespace

GUIWindow* GUISystem::createWindow(XMLNode& node) {
    std::wstring const type = node.getAttributeString(L"TYPE", L"");
    if (!isKnownType(type))
        logWarning(L"GUI file \"" + loadingSource + L"\": window \"" + node.getAttributeString(L"NAME", L"") +
                   L"\" has the unknown TYPE \"" + type + L"\"; made a plain window");
    return new GUIWindow(node);
}

void GUISystem::loadTextures(XMLNode& root, std::wstring const& sourceName) {
    std::wstring const outer = loadingSource;
    loadingSource = sourceName;
    TextureManager& textures = device_->getTextureManager();
    if (XMLNode* lists = root.getChild(L"TEXTURE_2DFILES")) {
        for (u32 i = 0, n = lists->getChildCount(L"TEXTURE_2D_FILE"); i < n; ++i) {
            XMLNode* entry = lists->getChild(L"TEXTURE_2D_FILE", static_cast<int>(i));
            XMLNode list;
            if (list.load(entry->getAttributeString(L"FILENAME", L"")))
                textures.loadTextures(list, guiTextureParams());
        }
    }
    for (u32 i = 0, n = root.getChildCount(L"TEXTURES"); i < n; ++i) {
        XMLAttribute* file = root.getChild(L"TEXTURES", static_cast<int>(i))->getAttribute(L"FILE");
        if (!file) continue;
        XMLNode list;
        list.load(file->getString());
        textures.loadTextures(list, guiTextureParams());
    }
    for (u32 i = 0, n = root.getChildCount(L"ANIMATION"); i < n; ++i) {
        XMLAttribute* file = root.getChild(L"ANIMATION", static_cast<int>(i))->getAttribute(L"FILE");
        if (!file) continue;
        XMLNode list;
        list.load(file->getString());
        Texture2DAnimationManager::instance().load(list);
    }
    if (XMLNode* section = root.getChild(L"VORLAGEN")) {
        for (u32 i = 0, n = cappedCount(*section, L"WINDOW", sourceName); i < n; ++i) {
            GUIWindow* window = createWindow(*section->getChild(L"WINDOW", static_cast<int>(i)));
            if (!window) continue;
            window->reapplyTemplates();
            templates_.push_back(window);
        }
    }
    for (u32 i = 0, n = cappedCount(root, L"WINDOW", sourceName); i < n; ++i) {
        GUIWindow* window = createWindow(*root.getChild(L"WINDOW", static_cast<int>(i)));
        if (!window) continue;
        windows_.push_back(window);
        window->reapplyTemplates();
        window->updateRect(false, false);
    }
    if (XMLAttribute* quality = root.getAttribute(L"USE_QUALITY_STENCIL")) setQualityStencil(quality->getBool());
    rebuildTooltips();
    sortWindows();
    loadingSource = outer;
}

}  // namespace Orvex
