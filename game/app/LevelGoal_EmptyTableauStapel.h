// Reached when at least "MIN_STAPEL" tableau piles (capped at the game's tableau piles) are empty
// ("EMPTY_TABLEAU_STAPEL" or "STAPEL_EMPTY").
#pragma once

#include "game/app/LevelGoal.h"

namespace Solitaire {

class LevelGoal_EmptyTableauStapel : public LevelGoal {
public:
    // node null: the defaults.
    LevelGoal_EmptyTableauStapel(Orvex::XMLNode const* node, int star);

    std::wstring getTextId() const override { return L"INGAME_LEVEL_GOAL_EMPTY_TABLEAU_STAPEL"; }
    std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const override;
    bool isReached(GameEndParms const& parms) const override;

private:
    Orvex::u32 minPiles_ = 0;
};

}  // namespace Solitaire
