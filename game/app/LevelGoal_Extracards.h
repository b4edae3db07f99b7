// Reached when at least "MIN_EXTRACARDS" extra cards were found.
#pragma once

#include "game/app/LevelGoal.h"

namespace Solitaire {

class LevelGoal_Extracards : public LevelGoal {
public:
    // node null: the defaults.
    LevelGoal_Extracards(Orvex::XMLNode const* node, int star);

    std::wstring getTextId() const override { return L"INGAME_LEVEL_GOAL_EXTRACARDS"; }
    std::wstring& formatProgress(std::wstring& out, GameEndParms const& parms) const override;
    bool isReached(GameEndParms const& parms) const override;
    Orvex::u32 getMinExtraCards() const { return minExtraCards_; }

private:
    Orvex::u32 minExtraCards_ = 0;
};

}  // namespace Solitaire
