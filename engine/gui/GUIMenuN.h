// A menu: the GUI windows of one screen state and the goals that show and hide them. Activating
// a menu blends its windows in and, by its invert and same-state rules, other menus out or in;
// its links listen to input while it is active. Read from one "GUIMENU" of the menu file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/gui/GUIMenuXml.h"

namespace Orvex {

class GUIMenuLinkN;
class GUIWindow;

class GUIMenuN : public NamedObject {
public:
    explicit GUIMenuN(XMLNode& node);
    ~GUIMenuN() override;

    void readXML(XMLNode& node) override;

    // Blends the linked windows to the activate goal and applies the menu's rules; a speed of 0
    // jumps. Nothing while the menu is being activated or deactivated already.
    void activate(double const& speed);
    void deactivate(double const& speed);

    bool isActive() const { return active_; }
    // True while activate or deactivate runs.
    bool isBusy() const { return busy_; }
    int getMenuId() const { return menuId_; }
    double getSpeed() const { return speed_; }
    bool usesOnlyOwnLinks() const { return useOnlyThisLinks_; }
    std::vector<GUIWindow*> const& getLinkedWindows() const { return linkedWindows_; }
    std::vector<GUIWindow*> const& getPostActivateWindows() const { return postActivateWindows_; }
    std::wstring const& getActivateGoal() const { return activateGoal_; }
    std::wstring const& getDeactivateGoal() const { return deactivateGoal_; }
    void setActivateGoal(std::wstring const& goal) { activateGoal_ = goal.empty() ? defaultActivateGoal_ : goal; }
    void setDeactivateGoal(std::wstring const& goal) {
        deactivateGoal_ = goal.empty() ? defaultDeactivateGoal_ : goal;
    }

    // The own links, then the global links named in "GUIMENULINKS".
    void collectLinks(std::vector<GUIMenuLinkN*>& out) const;
    // The own link of that name, else the global one.
    GUIMenuLinkN* findLink(std::wstring const& name) const;
    std::vector<GUIMenuLinkN*> const& getOwnLinks() const { return ownLinks_; }
    std::vector<std::wstring> const& getMissingWindows() const { return missingWindows_; }

private:
    using GoalOverride = std::pair<std::wstring, std::wstring>;

    // Blends a window to the goal, or the default goal, or `fallback`, whichever it has first.
    static void blend(GUIWindow* window, std::wstring const& goal, std::wstring const& defaultGoal,
                      std::wstring const& fallback, double speed);
    void applyGoalOverrides();
    static bool ignoredAt(std::vector<bool> const& bits, std::size_t i);

    bool active_ = false;
    GUIMenuNameSet invertState_{{}, -1};
    GUIMenuNameSet sameState_;
    GUIMenuNameSet ignoreState_;
    int menuId_ = 0;
    std::vector<GUIWindow*> linkedWindows_;
    std::vector<bool> ignoreOnActivate_;
    std::vector<bool> ignoreOnDeactivate_;
    std::vector<GUIWindow*> postActivateWindows_;
    std::vector<std::wstring> linkNames_;
    std::vector<GUIMenuLinkN*> ownLinks_;
    std::vector<GoalOverride> activateGoalOverrides_;
    std::vector<GoalOverride> deactivateGoalOverrides_;
    bool busy_ = false;
    double speed_ = 1.0;
    std::wstring activateGoal_ = L"AN";
    std::wstring defaultActivateGoal_ = L"AN";
    std::wstring deactivateGoal_ = L"AUS";
    std::wstring defaultDeactivateGoal_ = L"AUS";
    bool useOnlyThisLinks_ = false;
    std::wstring onActivateLink_;
    std::vector<std::wstring> missingWindows_;
};

}  // namespace Orvex
