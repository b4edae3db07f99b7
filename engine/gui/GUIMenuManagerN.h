// The menu manager: every menu, global link and event of the menu file ("data\GUI\menus.mnu"),
// the active menu and the history of active menus for going back. It routes keys and window
// clicks to the links of the active menus by priority, counts their waits down in update, and
// tells the game of each switch through menuChanged. One instance, made on first use.
//
// Bad data gets one log line each (unknown link kinds, names of windows or menus that do not
// exist) and is otherwise skipped; nothing in a menu file can make input handling loop.
//
// Split: GUIMenuManagerN.cpp (lists, history, input), GUIMenuManagerN_load.cpp (the menu file).
#pragma once

#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/platform/InputState.h"
#include "signals/sigslot.h"

namespace Orvex {

class GUIMenuEventN;
class GUIMenuLinkN;
class GUIMenuN;
class GUIWindow;
class XMLNode;

class GUIMenuManagerN : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // Menu activations and link runs that one event may cause, nested or in a row: same-state
    // lists and links that activate menus whose links activate menus again can branch without
    // end, so a cascade stops here (one log line).
    static constexpr u32 kMaxCascadeSteps = 256;

    static GUIMenuManagerN& instance();

    GUIMenuManagerN(GUIMenuManagerN const&) = delete;
    GUIMenuManagerN& operator=(GUIMenuManagerN const&) = delete;

    // Reads a menu file's tree (GUI files, menus, links, events, the start menu) and connects
    // the click slots to every window of the GUI system. sourceName names it in log lines.
    void load(XMLNode& root, std::wstring const& sourceName = L"(menu file)");
    // Loads the menu file through the archives, then the disk; false when it could not be read.
    bool loadFile(std::wstring const& fileName);
    // Releases every menu, link and event and empties the history.
    void clear();

    bool activateMenu(std::wstring const& name, double const& speed);
    // Makes the menu the active one (its own speed when speed < 0); the history grows when the
    // active menu changes. True when a menu is active afterwards.
    bool setActiveMenu(GUIMenuN* menu, double const& speed);
    // Steps through the history without changing it; null when it is empty.
    GUIMenuN* moveInHistory(int steps, double const& speed);
    GUIMenuN* getHistoryMenu(int offset) const;
    int getHistoryIndex() const { return historyIndex_; }
    std::vector<GUIMenuN*> const& getHistory() const { return history_; }

    GUIMenuN* getActiveMenu() const { return activeMenu_; }
    GUIMenuN* findMenu(std::wstring const& name) const;
    GUIMenuLinkN* findLink(std::wstring const& name) const;
    GUIMenuEventN* findEvent(std::wstring const& name) const;
    std::vector<GUIMenuN*> const& getMenus() const { return menus_; }
    void collectMenusByMask(int mask, std::vector<GUIMenuN*>& out) const;
    // The links listening now, highest "PRIORITY" first.
    void collectActiveLinks(std::vector<GUIMenuLinkN*>& out) const;

    void update(double const& dt);

    // A step of a cascade (a menu activation or a link run), counted from the outermost one;
    // false, and nothing is to run, once the cascade has taken kMaxCascadeSteps. Every true
    // is paired with leaveCascade.
    bool enterCascade(std::wstring const& what);
    void leaveCascade();

    // ---- input slots ----
    void onKey(KeyState& state, unsigned char const& code);
    void onWindowLeftClick(GUIWindow& window);
    void onWindowRightClick(GUIWindow& window);

    // New active menu, previous active menu (null when there was none).
    sigslot::signal2<GUIMenuN&, GUIMenuN*> menuChanged;

private:
    GUIMenuManagerN();
    ~GUIMenuManagerN() override;

    // Makes menu active and emits menuChanged; the history is the caller's.
    void switchTo(GUIMenuN* menu, double const& speed);
    // Asks every listening link with accepts, then triggers those that accepted until one
    // breaks.
    template <class Accepts>
    void dispatch(Accepts accepts);
    // One log line per name in the loaded data that resolves to nothing.
    void reportMissingNames(std::wstring const& sourceName) const;

    std::vector<GUIMenuN*> menus_;
    std::vector<GUIMenuLinkN*> links_;
    std::vector<GUIMenuEventN*> events_;
    GUIMenuN* activeMenu_ = nullptr;
    int historyIndex_ = -1;
    std::vector<GUIMenuN*> history_;
    // Menus whose switch was reached again from inside its own activation (logged once each).
    std::vector<GUIMenuN const*> loopsLogged_;
    int cascadeDepth_ = 0;
    u32 cascadeSteps_ = 0;
    bool cascadeLogged_ = false;
};

}  // namespace Orvex
