// The achievement registry: loading the definitions, lookup and counting, the profile data.
#include "game/cards/AchivementManager.h"

#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/XMLNode.h"
#include "engine/core/XMLText.h"
#include "game/cards/StatistikNumbers.h"

namespace Solitaire {

namespace {

// A log line about many entries names the first few.
constexpr std::size_t kNamedInLogLine = 8;

}  // namespace

AchivementManager& AchivementManager::instance() {
    static AchivementManager registry;
    return registry;
}

AchivementManager::AchivementManager() = default;

AchivementManager::~AchivementManager() { clear(); }

void AchivementManager::clear() {
    byName_.clear();
    Orvex::releaseAll(achivements_);
}

void AchivementManager::load(Orvex::XMLNode& node, std::wstring const& source) {
    std::wstring duplicates;
    std::size_t duplicateCount = 0;
    std::size_t number = 0;
    for (Orvex::XMLNode* child : node.children()) {
        if (child->getName() != Achivement::kElementName) continue;
        ++number;
        if (achivements_.size() == kMaxAchivements) {
            Orvex::logError(L"Achievements (" + source + Orvex::atLine(*child) + L"): more than " +
                            std::to_wstring(kMaxAchivements) +
                            L" definitions; the rest are ignored");
            break;
        }
        std::wstring const place = source + L", ACHIVEMENT " + std::to_wstring(number) + Orvex::atLine(*child);
        auto* achivement = new Achivement(*child, place);
        if (!child->getAttribute(L"NAME"))
            Orvex::logError(L"Achievements (" + place + L"): no NAME; it is called \"" + achivement->getName() +
                            L"\" for this run only, so its profile entry is not found again");
        if (byName_.count(achivement->getName()) && duplicateCount++ < kNamedInLogLine)
            duplicates += (duplicates.empty() ? L"" : L", ") + achivement->getName();
        achivements_.push_back(achivement);
        byName_.try_emplace(achivement->getName(), achivement);
        for (std::wstring const& alias : achivement->getAliases()) byName_.try_emplace(alias, achivement);
    }
    if (duplicateCount > 0)
        Orvex::logWarning(L"Achievements (" + source +
                          L"): names defined before as a name or alias (the first is counted): " + duplicates +
                          (duplicateCount > kNamedInLogLine ? L", ..." : L""));
}

bool AchivementManager::loadFile(std::wstring const& fileName) {
    Orvex::XMLNode root;
    if (!root.load(fileName)) {
        Orvex::logError(L"Achievements: \"" + fileName + L"\" holds no definitions; no achievement counts");
        return false;
    }
    load(root, fileName);
    return true;
}

Achivement* AchivementManager::find(std::wstring const& name) const {
    auto const found = byName_.find(name);
    return found == byName_.end() ? nullptr : found->second;
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

namespace {
constexpr std::wstring_view kAchivementEntryKeys[] = {L"NAME", L"VALUE", L"UNLOCKED"};
constexpr Orvex::XMLShape kAchivementEntryShape{kAchivementEntryKeys};
constexpr Orvex::XMLShape::Child kAchivementProfileChildren[] = {
    {Achivement::kElementName, &kAchivementEntryShape, AchivementManager::kMaxAchivements}};
}  // namespace

constexpr Orvex::XMLShape AchivementManager::kProfileShape{{}, 0, kAchivementProfileChildren};

void AchivementManager::readProfileData(Orvex::XMLNode& node, Orvex::XMLShape::LeftOut* unknown) {
    std::wstring broken;
    std::size_t brokenCount = 0;
    for (Orvex::XMLNode* child : node.children()) {
        if (child->getName() != Achivement::kElementName) continue;
        static Orvex::XMLText const kNoName;
        Orvex::XMLAttribute const* attribute = child->getAttribute(L"NAME");
        Orvex::XMLText const& name = attribute ? attribute->text() : kNoName;
        Achivement* achivement = find(name.str());
        if (!achivement && unknown) unknown->add(name, child->getLine());
        if (!achivement || achivement->readProfileEntry(*child)) continue;
        if (brokenCount++ < kNamedInLogLine)
            broken += (broken.empty() ? L"" : L", ") + achivement->getName() + Orvex::atLine(*child);
    }
    if (brokenCount > 0)
        Orvex::logError(L"Achievements: " + std::to_wstring(brokenCount) + L" profile entries with a VALUE that is no " +
                        L"finite number (" + broken + (brokenCount > kNamedInLogLine ? L", ..." : L"") +
                        L"); those values stay as they were");
}

std::size_t AchivementManager::profileDataCost() const {
    using Orvex::XMLNode;
    std::size_t bytes = 0;
    for (Achivement* achivement : achivements_) {
        if (find(achivement->getName()) != achivement) continue;
        bytes += XMLNode::elementCost(std::wstring_view(Achivement::kElementName).size()) +
                 XMLNode::attributeCost(std::wstring_view(L"NAME").size(), XMLNode::savedUnits(achivement->getName())) +
                 XMLNode::attributeCost(std::wstring_view(L"VALUE").size(), kMaxFloatText) +
                 XMLNode::attributeCost(std::wstring_view(L"UNLOCKED").size(), 1);
    }
    return bytes;
}

void AchivementManager::writeProfileData(Orvex::XMLNode& node) {
    while (Orvex::XMLNode const* old = node.getChild(Achivement::kElementName)) node.removeChild(old);
    for (Achivement* achivement : achivements_) {
        // A later definition of a name is never found: its entry would overwrite the count.
        if (find(achivement->getName()) != achivement) continue;
        Orvex::XMLNode* child = node.addChild(Achivement::kElementName);
        child->setAttribute(L"NAME", achivement->getName());
        achivement->writeXML(*child);
    }
}

}  // namespace Solitaire
