// The filler goal: its own test says yes, and its variant counts it only when every real goal of
// the variant is reached. No progress text.
#pragma once

#include "game/app/LevelGoal.h"

namespace Solitaire {

class LevelGoal_Nothing : public LevelGoal {
public:
    explicit LevelGoal_Nothing(int star) : LevelGoal(star) {}

    std::wstring getTextId() const override { return L"INGAME_LEVEL_GOAL_NOTHING"; }
    std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const override;
    bool isReached(GameEndParms const& parms) const override;
    bool isNothing() const override { return true; }
};

}  // namespace Solitaire
