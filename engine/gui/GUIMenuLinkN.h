// A menu link: the active element of the data-driven menus. It waits for a key combination, a
// click on a window or a call from a menu, checks conditions on menus and windows, optionally
// waits, then acts. The plain link switches menus and fires events; the other kinds (made by
// the factory from "TYPE") go back in the history, synthesise clicks, blend windows, play a
// sound, type into labels or run a group of links.
//
// A link never runs its action inside its own action: a chain of clicks, menus or combinations
// that leads back to a running link is cut there with one log line, so such data cannot recurse
// without end.
//
// Split: GUIMenuLinkN.cpp (reading, input, conditions, waits, the plain action, the factory),
// GUIMenuKeyCombo.cpp (key combinations and the labels they follow).
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "engine/gui/GUIMenuXml.h"
#include "engine/platform/InputState.h"

namespace Orvex {

class GUILabel;
class GUIWindow;
class TastaturLayout;

// The label a window shows: the window itself when it is a label, a button's caption, else null.
GUILabel* findShownLabel(std::wstring const& windowName);

// One "TRIGGER_KEYCOMBO": key names of the active layout, and window names whose shown label
// adds the key of its first character at the moment of the event.
class GUIMenuKeyCombo {
public:
    void read(XMLNode& node);
    // The key codes of the combination now: the named keys, then the keys that the labels of
    // the named windows show.
    std::vector<u8> resolveKeys() const;
    std::vector<std::wstring> const& getWindowNames() const { return windowNames_; }

private:
    std::vector<u8> keys_;
    std::vector<std::wstring> windowNames_;
};

class GUIMenuLinkN : public NamedObject {
public:
    // Combinations inside combinations deeper than this are left out (one log line).
    static constexpr int kMaxNesting = 8;

    explicit GUIMenuLinkN(XMLNode& node);
    ~GUIMenuLinkN() override;

    // The link of the entry's "TYPE" (a plain link for an unknown one, with a log line); the
    // caller reads the entry into it (readXML) and owns the one reference. depth counts the
    // combinations around the entry.
    static GUIMenuLinkN* create(XMLNode& node, int depth = 0);

    // ---- virtual operations ----
    void readXML(XMLNode& node) override;
    virtual bool onKey(KeyState& state, u8 const& code);
    virtual bool onWindowLeftClick(GUIWindow& window);
    virtual bool onWindowRightClick(GUIWindow& window);
    // Runs the action now, or queues it when the link has a wait time; the break flag.
    virtual bool trigger();
    virtual void onMenuActivated() {}
    virtual void update(double const& dt);
    virtual void bind() {}
    virtual bool canTrigger();
    // Window names the link's data refers to (for the check after loading).
    virtual void collectWindowNames(std::vector<std::wstring>& out) const;

    int getPriority() const { return priority_; }
    bool breaksAfterAction() const { return breakAfterAction_; }
    std::vector<float> const& getPendingWaits() const { return pendingWaits_; }
    std::vector<std::wstring> const& getMenusToActivate() const { return activateMenus_; }
    std::vector<std::wstring> const& getEventsToCall() const { return callEvents_; }
    int getNesting() const { return nesting_; }
    void setNesting(int depth) { nesting_ = depth; }

protected:
    // The action of the link's kind; the break flag. Called through run().
    virtual bool execute();
    // The plain link's action: menus to activate (last to first), then the events to call.
    void activateMenusAndCallEvents();
    void callEvents();
    // execute, unless the link is running already (then one log line and false).
    bool run();

private:
    GUIMenuNameSet canTriggerMenus_;
    GUIMenuNameSet cantTriggerMenus_;
    std::vector<GUIMenuKeyCombo> keyCombos_;
    std::vector<std::wstring> leftClickWindows_;
    std::vector<std::wstring> rightClickWindows_;
    std::vector<std::wstring> activateMenus_;
    std::vector<std::wstring> mouseOverWindows_;
    bool breakAfterAction_ = true;
    std::vector<std::wstring> callEvents_;
    bool continuousKeyTrigger_ = false;
    int priority_ = 0;
    int maxParallel_ = -1;
    float waitTime_ = 0.0f;
    std::vector<float> pendingWaits_;
    int nesting_ = 0;
    bool running_ = false;
    bool loopLogged_ = false;
};

}  // namespace Orvex
