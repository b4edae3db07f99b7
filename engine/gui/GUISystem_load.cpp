// Loading GUI files into the GUI system (texture lists, animations, templates, windows, the
// quality-stencil switch) and the window factory keyed by "TYPE".
//
// Bad data: names and texts from the file are data and only ever concatenated into log lines.
// One file makes at most kMaxWindowsPerFile windows (templates, windows and all their children):
// the rest are left out, with one log line. Without the cap a file of a few megabytes of empty
// elements would make gigabytes of windows.
#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUIFrame.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUISlider.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUITooltip.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowXml.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"

namespace Orvex {

namespace {

// Real screens hold a few hundred windows; far more in one file is damaged data.
constexpr u32 kMaxWindowsPerFile = 16384;

// The file being loaded: its name for the factory's log lines (windows are made from nested
// elements) and how many windows it has made.
struct LoadingFile {
    std::wstring source = L"(code)";
    bool active = false;
    u32 made = 0;
    bool capLogged = false;
};
LoadingFile loading;

// Widget types of the GUI files and what each makes.
struct WindowType {
    wchar_t const* type;
    GUIWindow* (*make)(XMLNode& node);
};

template <class W>
GUIWindow* make(XMLNode& node) {
    return new W(node);
}

constexpr WindowType kWindowTypes[] = {
    {L"", make<GUIWindow>},          {L"WINDOW", make<GUIWindow>},   {L"LABEL", make<GUILabel>},
    {L"CHECKBOX_BUTTON", make<GUICheckboxButton>}, {L"CHECKBOX", make<GUICheckbox>},
    {L"FRAME", make<GUIFrame>},      {L"PROGRESSBAR", make<GUIProgressBar>}, {L"BUTTON", make<GUIButton>},
    {L"SCROLL_PANEL", make<GUIScrollPanel>}, {L"SLIDER", make<GUISlider>}, {L"TOOLTIP", make<GUITooltip>},
};

WindowType const* typeOf(std::wstring const& type) {
    for (WindowType const& known : kWindowTypes)
        if (type == known.type) return &known;
    return nullptr;
}

// False once the file being loaded has made its share of windows; line: the refused element's.
bool mayMakeWindow(u32 line) {
    if (!loading.active) return true;
    if (loading.made < kMaxWindowsPerFile) {
        ++loading.made;
        return true;
    }
    if (!loading.capLogged)
        logWarning(GUISystem::loadingPlace(line) + L": more than " + std::to_wstring(kMaxWindowsPerFile) +
                   L" windows; the rest are left out");
    loading.capLogged = true;
    return false;
}

TextureLoadParams guiTextureParams() { return TextureLoadParams(0, 0xFFFFFFFFu, 1, 1); }

}  // namespace

std::wstring GUISystem::loadingPlace(u32 line) { return L"GUI file \"" + loading.source + L"\"" + atLine(line); }

GUIWindow* GUISystem::createWindow(XMLNode& node) {
    if (!mayMakeWindow(node.getLine())) return nullptr;
    std::wstring const type = node.getAttributeString(L"TYPE", L"");
    WindowType const* known = typeOf(type);
    if (!known)
        logWarning(loadingPlace(node.getLine()) + L": window \"" + node.getAttributeString(L"NAME", L"") +
                   L"\" has the unknown TYPE \"" + type + L"\"; made a plain window");
    return known ? known->make(node) : new GUIWindow(node);
}

void GUISystem::loadTextures(XMLNode& root, std::wstring const& sourceName) {
    LoadingFile const outer = loading;
    loading = LoadingFile{sourceName, true, 0, false};
    TextureManager& textures = device_->getTextureManager();
    if (XMLNode* lists = root.getChild(L"TEXTURE_2DFILES")) {
        forEachChild(*lists, L"TEXTURE_2D_FILE", [&](XMLNode& entry) {
            XMLNode list;
            if (list.load(entry.getAttributeString(L"FILENAME", L""))) textures.loadTextures(list, guiTextureParams());
            return true;
        });
    }
    forEachChild(root, L"TEXTURES", [&](XMLNode& entry) {
        if (XMLAttribute* file = entry.getAttribute(L"FILE")) {
            XMLNode list;
            list.load(file->getString());
            textures.loadTextures(list, guiTextureParams());
        }
        return true;
    });
    forEachChild(root, L"ANIMATION", [&](XMLNode& entry) {
        if (XMLAttribute* file = entry.getAttribute(L"FILE")) {
            XMLNode list;
            list.load(file->getString());
            Texture2DAnimationManager::instance().load(list);
        }
        return true;
    });
    if (XMLNode* section = root.getChild(L"VORLAGEN")) {
        forEachChild(*section, L"WINDOW", [&](XMLNode& element) {
            GUIWindow* window = createWindow(element);
            if (!window) return !loading.capLogged;
            window->reapplyTemplates();
            templates_.push_back(window);
            return true;
        });
    }
    forEachChild(root, L"WINDOW", [&](XMLNode& element) {
        GUIWindow* window = createWindow(element);
        if (!window) return !loading.capLogged;
        windows_.push_back(window);
        window->reapplyTemplates();
        window->updateRect(false, false);
        return true;
    });
    if (XMLAttribute* quality = root.getAttribute(L"USE_QUALITY_STENCIL")) setQualityStencil(quality->getBool());
    rebuildTooltips();
    sortWindows();
    loading = outer;
}

}  // namespace Orvex
