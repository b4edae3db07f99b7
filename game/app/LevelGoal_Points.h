// Reached at a score of at least "MIN_POINTS"; the text shows min(score, target) / target.
#pragma once

#include "game/app/LevelGoal.h"

namespace Solitaire {

class LevelGoal_Points : public LevelGoal {
public:
    // node null: the defaults.
    LevelGoal_Points(Orvex::XMLNode const* node, int star);

    std::wstring getTextId() const override { return L"INGAME_LEVEL_GOAL_POINTS"; }
    std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const override;
    bool isReached(GameEndParms const& parms) const override;
    float getMinPoints() const { return minPoints_; }

private:
    float minPoints_ = 0.0f;
};

}  // namespace Solitaire
