// Fuzzes the achievement and statistics readers with file bytes: the input read as an
// achievement definition file, as a profile's "ACHIVEMENT_DATA" and as a profile's "STATISTIK";
// every achievement counted by name and alias. What is read is written (one entry per name) and
// read back, and must come back equal (achievements that another one's name or alias shadows
// excepted: they are never found).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "game/cards/AchivementManager.h"
#include "game/cards/StatistikManager.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

void checkAchievements(Orvex::XMLNode& root) {
    Solitaire::AchivementManager registry;
    registry.load(root);
    registry.readProfileData(root);
    for (Orvex::XMLNode* child : root.children()) registry.readProfileData(*child);
    for (Solitaire::Achivement* achivement : registry.getAll()) {
        registry.count(achivement->getName(), 1.0f);
        for (std::wstring const& alias : achivement->getAliases()) registry.count(alias, 0.5f);
        float const percent = achivement->getProgressPercent();
        if (!(percent >= 0.0f && percent <= 100.0f)) std::abort();
        if (!std::isfinite(achivement->getValue())) std::abort();
    }

    Orvex::XMLNode data(L"ACHIVEMENT_DATA");
    registry.writeProfileData(data);
    Solitaire::AchivementManager again;
    again.load(root);
    again.readProfileData(data);
    auto const written = registry.getAll();
    auto const read = again.getAll();
    if (written.size() != read.size()) std::abort();
    std::set<std::wstring> names;
    for (Orvex::XMLNode const* entry : data.children())
        if (!names.insert(entry->getAttributeString(L"NAME", L"")).second) std::abort();
    for (std::size_t i = 0; i < read.size(); ++i) {
        // Definitions without a name take the running id, which differs between the registries.
        if (read[i]->getName() != written[i]->getName()) continue;
        if (again.find(read[i]->getName()) != read[i]) continue;
        if (read[i]->getValue() != written[i]->getValue() || read[i]->isUnlocked() != written[i]->isUnlocked())
            std::abort();
    }
}

void checkStatistics(Orvex::XMLNode& root) {
    Solitaire::StatistikManager registry;
    registry.readProfileStatistik(root);
    for (Orvex::XMLNode* child : root.children()) registry.readProfileStatistik(*child);
    registry.create(L"STATS");
    Solitaire::Statistik* stored = new Solitaire::Statistik(root);
    registry.add(stored);
    stored->release();
    registry.countClick();
    registry.addTime(0.25);
    registry.addMouseDistance(0xFFFFFFFFu);

    Orvex::XMLNode profile(L"STATISTIK");
    registry.writeProfileStatistik(profile);
    Solitaire::StatistikManager again;
    again.readProfileStatistik(profile);
    Solitaire::Statistik const& a = *registry.getProfileStatistik();
    Solitaire::Statistik const& b = *again.getProfileStatistik();
    for (int i = 0; i < Solitaire::Statistik::kCounterCount; ++i)
        if (a.get(static_cast<Solitaire::StatistikCounter>(i)) != b.get(static_cast<Solitaire::StatistikCounter>(i)))
            std::abort();
    if (a.getTime() != b.getTime() || !std::isfinite(a.getTime())) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietLog();
    Orvex::XMLNode root;
    fuzz::readTree(data, size, root);
    checkAchievements(root);
    checkStatistics(root);
    return 0;
}
