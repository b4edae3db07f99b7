// Reading the menu file: its GUI files (each loaded once), menus, global links, events and start
// menu; connecting the click slots to the windows; one log line per name that resolves to
// nothing.
#include <unordered_set>

#include "engine/core/File.h"
#include "engine/core/Logger.h"
#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIMenuEventN.h"
#include "engine/gui/GUIMenuLinkN.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/render/AnimationFrameBudget.h"

namespace Orvex {

namespace {

// Names that resolve to nothing are reported up to this many per file, then once in sum.
constexpr int kMaxNameReports = 32;

}  // namespace

bool GUIMenuManagerN::loadFile(std::wstring const& fileName) {
    XMLNode root;
    // A missing file is an error here (the game has no menus without it): one error line.
    bool const ok = File(fileName).open(fileName) && root.load(fileName);
    if (!ok && root.isEmpty()) logError(L"Menu file \"" + fileName + L"\" not found or empty; there are no menus");
    load(root, fileName);
    return ok;
}

void GUIMenuManagerN::load(XMLNode& root, std::wstring const& sourceName) {
    GUISystem& gui = GUISystem::instance();
    AnimationFrameBudget const frames(sourceName);  // the animation lists of all its GUI files
    // A file loaded already would make its windows again: each is loaded once, and the first
    // repetition is reported.
    std::unordered_set<std::wstring> named;
    bool repeatReported = false;
    forEachChild(root, L"GUI", [&](XMLNode& entry) {
        XMLAttribute const* file = entry.getAttribute(L"FILE");
        if (!file) return true;
        std::wstring const name = file->getString();
        if ((!named.insert(name).second || !gui.loadFile(name)) && !repeatReported) {
            logWarning(L"Menu file \"" + sourceName + L"\"" + atLine(entry) + L": GUI file \"" + name +
                       L"\" is loaded already; it and later repetitions are not loaded again");
            repeatReported = true;
        }
        return true;
    });

    if (XMLNode* menus = root.getChild(L"GUIMENUS")) {
        std::vector<GUIMenuN*> loaded;
        forEachChild(*menus, L"GUIMENU", [&](XMLNode& entry) {
            auto* menu = new GUIMenuN(entry);
            menu->readXML(entry);
            menus_.push_back(menu);
            loaded.push_back(menu);
            return true;
        });
        forEachChild(*menus, L"GUIMENULINK", [&](XMLNode& entry) {
            GUIMenuLinkN* link = GUIMenuLinkN::create(entry);
            link->readXML(entry);
            links_.push_back(link);
            return true;
        });
        forEachChild(*menus, L"GUIEVENT", [&](XMLNode& entry) {
            events_.push_back(new GUIMenuEventN(entry));
            return true;
        });
        for (GUIMenuN* menu : loaded) {
            if (menu->isActive()) menu->activate(0.0);
            std::vector<GUIMenuLinkN*> links;
            menu->collectLinks(links);
            for (GUIMenuLinkN* link : links) link->bind();
        }
        if (XMLAttribute const* start = menus->getAttribute(L"ACTIVE_MENU")) {
            if (GUIMenuN* menu = findMenu(start->getString())) {
                setActiveMenu(menu, 0.0);
            } else {
                logWarning(L"Menu file \"" + sourceName + L"\"" + atLine(*menus) + L": ACTIVE_MENU \"" +
                           start->getString() + L"\" names no menu");
            }
        }
        if (XMLAttribute const* speed = menus->getAttribute(L"DEACTIVATE_ACTIVATE_START_SPEED")) {
            if (GUIMenuN* menu = activeMenu_) {
                HeldRef<GUIMenuN> hold(menu);
                menu->deactivate(0.0);
                double const s = speed->getFloat();
                menu->activate(s < 0.0 ? menu->getSpeed() : s);
            }
        }
        reportMissingNames(sourceName);
    }

    std::vector<GUIWindow*> windows;
    gui.collectAllWindows(windows);
    for (GUIWindow* window : windows) {
        window->leftClicked.disconnect(this);
        window->rightClicked.disconnect(this);
        window->leftClicked.connect(this, &GUIMenuManagerN::onWindowLeftClick);
        window->rightClicked.connect(this, &GUIMenuManagerN::onWindowRightClick);
    }
}

void GUIMenuManagerN::reportMissingNames(std::wstring const& sourceName) const {
    GUISystem& gui = GUISystem::instance();
    int reports = 0;
    // line: of the menu or link element that names the missing one.
    auto report = [&](u32 line, std::wstring const& text) {
        if (reports++ < kMaxNameReports) logWarning(L"Menu file \"" + sourceName + L"\"" + atLine(line) + L": " + text);
    };
    for (GUIMenuN* menu : menus_)
        for (std::wstring const& name : menu->getMissingWindows())
            report(menu->getLine(), L"menu \"" + menu->getName() + L"\" links window \"" +
                       name + L"\", which does not exist");
    auto checkLink = [&](GUIMenuLinkN* link) {
        std::vector<std::wstring> names;
        link->collectWindowNames(names);
        for (std::wstring const& name : names)
            if (!gui.findWindow(name))
                report(link->getLine(), L"link \"" + link->getName() + L"\" names window \"" +
                           name + L"\", which does not exist");
        for (std::wstring const& name : link->getMenusToActivate())
            if (!findMenu(name))
                report(link->getLine(), L"link \"" + link->getName() + L"\" activates menu \"" +
                           name + L"\", which does not exist");
    };
    for (GUIMenuLinkN* link : links_) checkLink(link);
    for (GUIMenuN* menu : menus_)
        for (GUIMenuLinkN* link : menu->getOwnLinks()) checkLink(link);
    if (reports > kMaxNameReports)
        logWarning(L"Menu file \"" + sourceName + L"\": " + std::to_wstring(reports - kMaxNameReports) +
                   L" more names resolve to nothing");
}

}  // namespace Orvex
