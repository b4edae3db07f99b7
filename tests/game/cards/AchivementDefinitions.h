// Achievement registries made from definition text, and a recorder of the medal signals.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/cards/AchivementManager.h"

namespace cardstest {

inline void loadDefinitions(Solitaire::AchivementManager& registry, std::wstring const& text) {
    Orvex::XMLNode root;
    root.loadFromText(text, L"achivement test");
    registry.load(root);
}

// Every medal signal of the registry's achievements, in order: (name, medal).
struct MedalRecorder : sigslot::has_slots<> {
    std::vector<std::pair<std::wstring, int>> medals;
    void watch(Solitaire::AchivementManager const& registry) {
        for (Solitaire::Achivement* achivement : registry.getAll())
            achivement->medalChanged.connect(this, &MedalRecorder::onMedal);
    }
    void onMedal(Solitaire::Achivement& achivement, Solitaire::AchivementMedal const& medal) {
        medals.emplace_back(achivement.getName(), static_cast<int>(medal));
    }
};

}  // namespace cardstest
