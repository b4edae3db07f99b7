// A profile: construction, tutorials and story scenes, unlocks, goods, and handing its stored
// trees to the live managers and back.
#include "game/app/Profil.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/XMLShape.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/StatistikManager.h"

namespace Solitaire {

namespace {

bool contains(std::vector<std::wstring> const& list, std::wstring const& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

bool startsWith(std::wstring const& text, std::wstring_view prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

// A list holds no more names than its reader keeps: one past them would be left out at the next
// start, and the file kept aside, for a name the game can do without recording.
void record(std::vector<std::wstring>& list, std::wstring const& name) {
    if (list.size() < Profil::kMaxListEntries) list.push_back(name);
}

constexpr std::wstring_view kStoryPrefix = L"STORY";
constexpr std::wstring_view kSolitairePrefix = L"SOLITAIRE_";

}  // namespace

Profil::Profil(std::wstring const& name) : StoryProfile(name), godPercent_(kGodCount, 0.0f) {}

// The name is read by readXML, which keeps only as much of it as a profile's name may have.
Profil::Profil(Orvex::XMLNode& node, std::wstring const& sourceName, Measure const& measured, std::size_t share,
               Orvex::ReadProblems* problems)
    : godPercent_(kGodCount, 0.0f) {
    readXML(node, sourceName, measured, share, problems);
}

Profil::~Profil() {
    if (liveProfile_ == this) liveProfile_ = nullptr;
}

bool Profil::shouldShowTutorial(std::wstring const& name) const {
    if (startsWith(name, kStoryPrefix)) return !contains(storySeen_, name);
    if (startsWith(name, kSolitairePrefix)) return showTutorials_ && !contains(solitaireTutorialsSeen_, name);
    return showTutorials_ && !contains(tutorialsSeen_, name);
}

void Profil::markTutorialSeen(std::wstring const& name) {
    if (startsWith(name, kStoryPrefix)) {
        if (shouldShowTutorial(name)) record(storySeen_, name);
    } else if (startsWith(name, kSolitairePrefix)) {
        if (shouldShowTutorial(name)) record(solitaireTutorialsSeen_, name);
    } else if (!contains(tutorialsSeen_, name)) {
        record(tutorialsSeen_, name);
    }
}

bool Profil::isTutorialAllowed(std::wstring const& name) const {
    return startsWith(name, kStoryPrefix) || startsWith(name, kSolitairePrefix) || showTutorials_;
}

bool Profil::isInTutorialList(std::wstring const& name) const { return contains(tutorialsSeen_, name); }

void Profil::clearTutorialsSeen() {
    tutorialsSeen_.clear();
    solitaireTutorialsSeen_.clear();
}

void Profil::addUnlock(std::wstring const& name, bool temporary) {
    // A full list keeps a new unlock for the run.
    if (temporary || (unlocks_.size() >= kMaxListEntries && !contains(unlocks_, name))) {
        if (!contains(temporaryUnlocks_, name)) temporaryUnlocks_.push_back(name);
        return;
    }
    if (contains(unlocks_, name)) return;
    temporaryUnlocks_.erase(std::remove(temporaryUnlocks_.begin(), temporaryUnlocks_.end(), name), temporaryUnlocks_.end());
    unlocks_.push_back(name);
}

bool Profil::isUnlocked(std::wstring const& name) const { return contains(unlocks_, name) || contains(temporaryUnlocks_, name); }

float Profil::getGodPercent(int index) const {
    if (godPercent_.empty()) return 0.0f;
    return godPercent_[static_cast<std::size_t>(std::clamp(index, 0, getGodCount() - 1))];
}

void Profil::setGodPercent(int index, float value) {
    if (godPercent_.empty()) return;
    godPercent_[static_cast<std::size_t>(std::clamp(index, 0, getGodCount() - 1))] = value;
}

void Profil::activate() {
    liveProfile_ = this;
    StatistikManager& statistics = StatistikManager::instance();
    statistics.resetProfileStatistik();
    statistics.readProfileStatistik(statistikData_);
    AchivementManager& achievements = AchivementManager::instance();
    achievements.resetAll();
    // Entries of achievements the game does not have are dropped by the next save of this profile.
    Orvex::XMLShape::LeftOut unknown;
    achievements.readProfileData(achivementData_, &unknown);
    if (unknown.count() > 0)
        Orvex::logError(L"Profile \"" + getName() + L"\"" + (source_.empty() ? L"" : L" in \"" + source_ + L"\"") +
                        L": " + unknown.told(L"achievement entries that name no achievement of the game"));
    SolitaireManager::instance().readVariantData(profileData_);
}

void Profil::collectLiveData() {
    profileData_.clear();
    statistikData_.clear();
    achivementData_.clear();
    profileData_.setName(L"PROFILE_DATA");
    statistikData_.setName(L"STATISTIK");
    achivementData_.setName(AchivementManager::kProfileElement);
    SolitaireManager::instance().writeVariantData(profileData_);
    StatistikManager::instance().writeProfileStatistik(statistikData_);
    AchivementManager::instance().writeProfileData(achivementData_);
}

}  // namespace Solitaire
