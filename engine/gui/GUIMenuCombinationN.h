// "COMBINATION": a group of links (its "GUIMENULINK" children, owned) triggered together, then
// the plain action.
#pragma once

#include "engine/gui/GUIMenuLinkN.h"

namespace Orvex {

class GUIMenuCombinationN : public GUIMenuLinkN {
public:
    explicit GUIMenuCombinationN(XMLNode& node) : GUIMenuLinkN(node) {}
    ~GUIMenuCombinationN() override;
    void readXML(XMLNode& node) override;
    void update(double const& dt) override;
    void collectWindowNames(std::vector<std::wstring>& out) const override;
    std::vector<GUIMenuLinkN*> const& getSubLinks() const { return subLinks_; }

protected:
    bool execute() override;

private:
    std::vector<GUIMenuLinkN*> subLinks_;
};

}  // namespace Orvex
