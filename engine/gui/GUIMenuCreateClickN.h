// "CREATE_CLICK": clicks named windows as if the player had ("CREATE_LCLICK", "CREATE_RCLICK"),
// "N_TIMES" over.
#pragma once

#include "engine/gui/GUIMenuLinkN.h"

namespace Orvex {

class GUIMenuCreateClickN : public GUIMenuLinkN {
public:
    // More clicks per run than this are damaged data (one log line; this many are made).
    static constexpr int kMaxTimes = 64;

    explicit GUIMenuCreateClickN(XMLNode& node) : GUIMenuLinkN(node) {}
    void readXML(XMLNode& node) override;
    void collectWindowNames(std::vector<std::wstring>& out) const override;

protected:
    bool execute() override;

private:
    std::vector<std::wstring> leftClick_;
    std::vector<std::wstring> rightClick_;
    int times_ = 1;
};

}  // namespace Orvex
