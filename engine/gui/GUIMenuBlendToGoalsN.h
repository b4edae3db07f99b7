// "BLENDGOAL": blends windows to animation goals, each entry ("BLENDGOAL" child) one window and
// its goals; with "TOGGLE" the entry steps through its goals on each run.
#pragma once

#include "engine/gui/GUIMenuLinkN.h"

namespace Orvex {

class GUIMenuBlendGoal {
public:
    void read(XMLNode& node);
    void run();
    std::wstring const& getWindowName() const { return window_; }

private:
    std::wstring window_;
    std::vector<std::wstring> goals_;
    double speed_ = 0.0;
    bool toggle_ = false;
    std::size_t next_ = 0;
};

class GUIMenuBlendToGoalsN : public GUIMenuLinkN {
public:
    explicit GUIMenuBlendToGoalsN(XMLNode& node) : GUIMenuLinkN(node) {}
    void readXML(XMLNode& node) override;
    void collectWindowNames(std::vector<std::wstring>& out) const override;

protected:
    bool execute() override;

private:
    std::vector<GUIMenuBlendGoal> entries_;
};

}  // namespace Orvex
