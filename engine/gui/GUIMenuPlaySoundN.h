// "SOUND": plays the sound named by "CUE", then the plain action.
#pragma once

#include "engine/gui/GUIMenuLinkN.h"

namespace Orvex {

class GUIMenuPlaySoundN : public GUIMenuLinkN {
public:
    static constexpr double kVolume = 1.0;

    explicit GUIMenuPlaySoundN(XMLNode& node) : GUIMenuLinkN(node) {}
    void readXML(XMLNode& node) override;
    std::wstring const& getCue() const { return cue_; }

protected:
    bool execute() override;

private:
    std::wstring cue_;
};

}  // namespace Orvex
