// The achievement registry: loading the definitions, lookup and counting, the profile data.
#include "game/cards/AchivementManager.h"

#include <unordered_set>

#include "engine/core/Logger.h"
#include "engine/core/XMLNode.h"

namespace Solitaire {

AchivementManager& AchivementManager::instance() {
    static AchivementManager registry;
    return registry;
}

AchivementManager::AchivementManager() = default;

AchivementManager::~AchivementManager() {
    for (Achivement* achivement : achivements_) achivement->release();
}

void AchivementManager::load(Orvex::XMLNode& node) {
    std::unordered_set<std::wstring> names;
    for (Achivement const* achivement : achivements_) names.insert(achivement->getName());
    std::wstring duplicates;
    for (Orvex::XMLNode* child : node.children()) {
        if (child->getName() != Achivement::kElementName) continue;
        if (achivements_.size() == kMaxAchivements) {
            Orvex::logError(L"Achievements: more than " + std::to_wstring(kMaxAchivements) +
                            L" definitions; the rest are ignored");
            break;
        }
        auto* achivement = new Achivement(*child);
        if (!child->getAttribute(L"NAME"))
            Orvex::logError(L"Achievements: a definition without NAME is called \"" + achivement->getName() +
                            L"\" for this run only; its profile entry will not be found again");
        if (!names.insert(achivement->getName()).second && duplicates.size() < 256)
            duplicates += (duplicates.empty() ? L"" : L", ") + achivement->getName();
        achivements_.push_back(achivement);
    }
    if (!duplicates.empty())
        Orvex::logWarning(L"Achievements: names defined twice (the first definition is counted): " + duplicates);
}

bool AchivementManager::loadFile(std::wstring const& fileName) {
    Orvex::XMLNode root;
    if (!root.load(fileName)) {
        Orvex::logError(L"Achievements: \"" + fileName + L"\" holds no definitions; no achievement counts");
        return false;
    }
    load(root);
    return true;
}

Achivement* AchivementManager::find(std::wstring const& name) const {
    for (Achivement* achivement : achivements_)
        if (achivement->answersTo(name)) return achivement;
    return nullptr;
}

bool AchivementManager::count(std::wstring const& name, float amount) {
    Achivement* achivement = find(name);
    if (!achivement) return false;
    achivement->setValue(achivement->getValue() + amount);
    return true;
}

void AchivementManager::resetAll() {
    for (Achivement* achivement : achivements_) achivement->reset();
}

void AchivementManager::readProfileData(Orvex::XMLNode& node) {
    for (Orvex::XMLNode* child : node.children()) {
        if (child->getName() != Achivement::kElementName) continue;
        if (Achivement* achivement = find(child->getAttributeString(L"NAME", L""))) achivement->readXML(*child);
    }
}

void AchivementManager::writeProfileData(Orvex::XMLNode& node) {
    while (Orvex::XMLNode const* old = node.getChild(Achivement::kElementName)) node.removeChild(old);
    for (Achivement* achivement : achivements_) {
        Orvex::XMLNode* child = node.addChild(Achivement::kElementName);
        child->setAttribute(L"NAME", achivement->getName());
        achivement->writeXML(*child);
    }
}

}  // namespace Solitaire
