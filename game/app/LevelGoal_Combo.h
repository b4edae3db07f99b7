// Reached when the best combo is at least "MIN_COMBO"; the text shows the running combo of the
// current game style in brackets while it is below the best.
#pragma once

#include "game/app/LevelGoal.h"

namespace Solitaire {

class LevelGoal_Combo : public LevelGoal {
public:
    // node null: the defaults.
    LevelGoal_Combo(Orvex::XMLNode const* node, int star);

    std::wstring getTextId() const override { return L"INGAME_LEVEL_GOAL_COMBO"; }
    std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const override;
    bool isReached(GameEndParms const& parms) const override;
    Orvex::u32 getMinCombo() const { return minCombo_; }

private:
    Orvex::u32 minCombo_ = 0;
};

}  // namespace Solitaire
