// Reached when at least "MIN_CARDS" cards (capped at the game's card count) were cleared to the
// goal piles ("GOALCARDS" or "CARDS_ON_GOAL"), or, with "MIN_CARDS_VERH", by share in whole percent.
#pragma once

#include "game/app/LevelGoal.h"

namespace Solitaire {

class LevelGoal_Goalcards : public LevelGoal {
public:
    // node null: the defaults.
    LevelGoal_Goalcards(Orvex::XMLNode const* node, int star);

    std::wstring getTextId() const override { return L"INGAME_LEVEL_GOAL_GOALCARDS"; }
    std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const override;
    bool isReached(GameEndParms const& parms) const override;

private:
    Orvex::u32 count_ = 0;
    float ratio_ = 0.0f;
    bool useRatio_ = false;
};

}  // namespace Solitaire
