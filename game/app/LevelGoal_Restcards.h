// Reached when at most "MAX_CARDS" cards remain, or, with "MAX_CARDS_VERH", when the remaining
// share in whole percent is at most the target's.
#pragma once

#include "game/app/LevelGoal.h"

namespace Solitaire {

class LevelGoal_Restcards : public LevelGoal {
public:
    // node null: the defaults.
    LevelGoal_Restcards(Orvex::XMLNode const* node, int star);

    std::wstring getTextId() const override { return L"INGAME_LEVEL_GOAL_RESTCARDS"; }
    std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const override;
    bool isReached(GameEndParms const& parms) const override;

private:
    Orvex::u32 count_ = 0xFFFFFFFFu;
    float ratio_ = 1.0f;
    bool useRatio_ = false;
};

}  // namespace Solitaire
