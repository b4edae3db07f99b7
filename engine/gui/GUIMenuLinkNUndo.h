// "UNDO": goes back (or forward) in the menu history by "UNDOS" steps, stepping over the menus
// named in "SKIP_MENUES", then calls its events.
#pragma once

#include "engine/gui/GUIMenuLinkN.h"

namespace Orvex {

class GUIMenuN;

class GUIMenuLinkNUndo : public GUIMenuLinkN {
public:
    explicit GUIMenuLinkNUndo(XMLNode& node) : GUIMenuLinkN(node) {}
    void readXML(XMLNode& node) override;

protected:
    bool execute() override;

private:
    bool isSkipped(GUIMenuN const* menu) const;

    int undos_ = -1;
    std::vector<std::wstring> skipMenus_;
};

}  // namespace Orvex
