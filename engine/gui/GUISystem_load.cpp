// Loading GUI files into the GUI system (texture lists, animations, templates, windows, the
// quality-stencil switch) and the window factory keyed by "TYPE".
//
// Bad data: names and texts from the file are data and only ever concatenated into log lines.
// The GUI files loaded since the last clear make at most kMaxLoadedWindows windows together
// (templates, windows and all their children): the rest are left out, with one log line per
// file. Without the cap a file of a few megabytes of empty elements, or a small one loaded many
// times, would make gigabytes of windows. An animation list is loaded once however many GUI
// files name it.
#include "engine/core/File.h"
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
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "engine/render/AnimationFrameBudget.h"

namespace Orvex {

namespace {

// The file being loaded: its name for the factory's log lines (windows are made from nested
// elements) and whether it has said that the GUI is full.
struct LoadingFile {
    std::wstring source = L"(code)";
    bool active = false;
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

TextureLoadParams guiTextureParams() { return TextureLoadParams(0, 0xFFFFFFFFu, 1, 1); }

}  // namespace

std::wstring GUISystem::loadingPlace(u32 line) { return L"GUI file \"" + loading.source + L"\"" + atLine(line); }

std::wstring GUISystem::loadingSource() { return loading.active ? loading.source : std::wstring(); }

bool GUISystem::knowsWindowType(std::wstring const& type) { return typeOf(type) != nullptr; }

GUIWindow* GUISystem::createWindow(XMLNode& node) {
    if (loading.active) {
        u32& made = instance().windowsLoaded_;
        if (made >= kMaxLoadedWindows) {
            if (!loading.capLogged)
                logWarning(loadingPlace(node.getLine()) + L": the GUI files hold more than " +
                           std::to_wstring(kMaxLoadedWindows) + L" windows; the rest are left out");
            loading.capLogged = true;
            return nullptr;
        }
        ++made;
    }
    std::wstring const type = node.getAttributeString(L"TYPE", L"");
    WindowType const* known = typeOf(type);
    if (!known)
        logWarning(loadingPlace(node.getLine()) + L": window \"" + node.getAttributeString(L"NAME", L"") +
                   L"\" has the unknown TYPE \"" + type + L"\"; made a plain window");
    return known ? known->make(node) : new GUIWindow(node);
}

bool GUISystem::loadFile(std::wstring const& fileName) {
    if (!loadedFiles_.insert(fileIdentity(fileName)).second) return false;
    XMLNode tree;
    // A missing file is an error here (its screens would stand empty): one error line.
    if (!File(fileName).open(fileName) || !tree.load(fileName)) {
        if (tree.isEmpty()) logError(L"GUI file \"" + fileName + L"\" not found or empty; the screens it holds are missing");
        unreadFiles_.push_back(fileName);
    }
    loadTextures(tree, fileName);
    return true;
}

void GUISystem::loadTextures(XMLNode& root, std::wstring const& sourceName) {
    LoadingFile const outer = loading;
    loading = LoadingFile{sourceName, true, false};
    AnimationFrameBudget const frames(sourceName);  // the animation lists it names
    TextureManager& textures = device_->getTextureManager();
    if (XMLNode* lists = root.getChild(L"TEXTURE_2DFILES")) {
        forEachChild(*lists, L"TEXTURE_2D_FILE", [&](XMLNode& entry) {
            XMLNode list;
            if (list.load(entry.getAttributeString(L"FILENAME", L""))) textures.loadTextures(list, guiTextureParams());
            return true;
        });
    }
    forEachChild(root, L"TEXTURES", [&](XMLNode& entry) {
        if (XMLAttribute* file = entry.getAttribute(L"FILE")) textures.loadTextureList(file->getString(), guiTextureParams());
        return true;
    });
    forEachChild(root, L"ANIMATION", [&](XMLNode& entry) {
        if (XMLAttribute* file = entry.getAttribute(L"FILE"))
            Texture2DAnimationManager::instance().loadFile(file->getString());
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
        listWindow(window);
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
