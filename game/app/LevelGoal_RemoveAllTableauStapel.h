// Reached when every tableau pile has been cleared ("REMOVE_ALL_TABLEAU_STAPEL" or "WIN").
#pragma once

#include "game/app/LevelGoal.h"

namespace Solitaire {

class LevelGoal_RemoveAllTableauStapel : public LevelGoal {
public:
    explicit LevelGoal_RemoveAllTableauStapel(int star) : LevelGoal(star) {}

    std::wstring getTextId() const override { return L"INGAME_LEVEL_GOAL_REMOVE_ALL_TABLEAU_STAPEL"; }
    std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const override;
    bool isReached(GameEndParms const& parms) const override;
};

}  // namespace Solitaire
