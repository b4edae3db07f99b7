// Reached when the game was won (every tableau pile cleared) in at most "MAX_TIME" seconds; the
// text shows the limit as minutes and seconds ("1:30"), and nothing for a goal without a limit.
#pragma once

#include "game/app/LevelGoal.h"

namespace Solitaire {

class LevelGoal_Time : public LevelGoal {
public:
    // node null: the defaults.
    LevelGoal_Time(Orvex::XMLNode const* node, int star);

    std::wstring getTextId() const override { return L"INGAME_LEVEL_GOAL_TIME"; }
    std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const override;
    bool isReached(GameEndParms const& parms) const override;

private:
    float maxTime_;
};

}  // namespace Solitaire
