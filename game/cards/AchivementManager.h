// The registry of achievements in definition order, filled once from "data\achivement.acv"
// (a top element with one child "ACHIVEMENT" per achievement), counted by name, and reset and
// read per profile from the profile's "ACHIVEMENT_DATA" (one child "ACHIVEMENT" with "NAME",
// "VALUE" and "UNLOCKED" per achievement).
//
// Names: find gives the first achievement, in definition order, whose name or one of whose
// aliases equals the name exactly; so of two definitions with the same name (or a name that is
// an earlier one's alias) the second is never counted (one log line when loading). Profile
// entries are written under the own name, one per name (the achievement find gives for it, so a
// second definition's 0 never follows the count), and read through find.
//
// The registry lives for the process; a game object empties it before it loads the definitions,
// so a second one in the same process (a test program's) holds each achievement once.
//
// Limits: kMaxAchivements in the registry; definitions past it are dropped with one log line.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/core/XMLShape.h"
#include "game/cards/Achivement.h"

namespace Orvex {
class XMLNode;
}

namespace Solitaire {

class AchivementManager {
public:
    static constexpr wchar_t const* kDefinitionFile = L"data\\achivement.acv";
    static constexpr wchar_t const* kProfileElement = L"ACHIVEMENT_DATA";
    static constexpr std::size_t kMaxAchivements = 4096;

    // Made on first use, destroyed at exit. Tests and tools may make registries of their own.
    static AchivementManager& instance();
    AchivementManager();
    ~AchivementManager();
    AchivementManager(AchivementManager const&) = delete;
    AchivementManager& operator=(AchivementManager const&) = delete;

    // Releases every achievement (their medal connections go with them).
    void clear();
    // Appends an achievement for every child "ACHIVEMENT" of the node, in order; source names
    // the node in log lines.
    void load(Orvex::XMLNode& node, std::wstring const& source = L"achievement definitions");
    // Reads the definition file (kDefinitionFile unless named) and loads it; false when the file
    // holds nothing (the registry stays as it was, and every count is then ignored).
    bool loadFile(std::wstring const& fileName = kDefinitionFile);

    // The first achievement named so or with that alias, or null. Adds no reference.
    Achivement* find(std::wstring const& name) const;
    // The counting every site uses: the found achievement's value becomes value + amount.
    // False when no achievement answers to the name.
    bool count(std::wstring const& name, float amount);
    std::vector<Achivement*> getAll() const { return achivements_; }

    // Every value 0, every unlocked flag as defined; no signal.
    void resetAll();
    // Each child "ACHIVEMENT" is read into the achievement find gives for its "NAME"; unknown
    // names are skipped, and counted into unknown when given.
    void readProfileData(Orvex::XMLNode& node, Orvex::XMLShape::LeftOut* unknown = nullptr);
    // One child "ACHIVEMENT" per name in registry order ("NAME", "VALUE", "UNLOCKED") from the
    // achievement find gives for it, replacing the node's earlier "ACHIVEMENT" children; its other
    // children stay.
    void writeProfileData(Orvex::XMLNode& node);
    // What the node of the two above holds: the children "ACHIVEMENT", one a definition.
    static Orvex::XMLShape const kProfileShape;
    // What writeProfileData writes at most, whatever the node held, as a read of the saved file
    // charges it (Orvex::XMLNode::savedCost): every entry, its value as long as a value's text is.
    std::size_t profileDataCost() const;

private:
    std::vector<Achivement*> achivements_;
    // Every name and alias to the first achievement answering to it: what the walk in
    // definition order finds, without walking (profiles may hold many entries).
    std::unordered_map<std::wstring, Achivement*> byName_;
};

// The counting sites' one form: amount onto the achievement answering to name in instance()'s
// registry; false (nothing counted) when none does.
inline bool countAchievement(std::wstring const& name, float amount = 1.0f) {
    return AchivementManager::instance().count(name, amount);
}

}  // namespace Solitaire
