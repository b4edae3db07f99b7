// The registry of active statistics sets: adding, removing, counting into all, and the
// profile-wide set's node.
#include "game/cards/StatistikManager.h"

#include "engine/core/Logger.h"
#include "engine/core/NamedObjectList.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"

namespace Solitaire {

StatistikManager& StatistikManager::instance() {
    static StatistikManager registry;
    return registry;
}

StatistikManager::StatistikManager() { resetProfileStatistik(); }

StatistikManager::~StatistikManager() { Orvex::releaseAll(active_); }

bool StatistikManager::isProfileName(std::wstring const& name) const { return name == kProfileSetName; }

void StatistikManager::drop(std::wstring const& name) {
    std::vector<Statistik*> leaving;
    std::erase_if(active_, [&](Statistik* set) {
        if (set == profile_ || set->getName() != name) return false;
        leaving.push_back(set);
        return true;
    });
    // Released once the vector is consistent, in case a destroyed-signal slot looks at it.
    for (Statistik* set : leaving) set->release();
}

Statistik* StatistikManager::create(std::wstring const& name) {
    if (isProfileName(name)) {
        Orvex::logError(L"Statistics: a set named \"" + name + L"\" would replace the profile's; not made");
        return nullptr;
    }
    drop(name);
    auto* set = new Statistik(name);
    active_.push_back(set);
    return set;
}

bool StatistikManager::add(Statistik* set) {
    if (!set) return false;
    if (isProfileName(set->getName())) {
        Orvex::logError(L"Statistics: a set named \"" + set->getName() + L"\" would replace the profile's; not added");
        return false;
    }
    set->addRef();
    drop(set->getName());
    active_.push_back(set);
    return true;
}

void StatistikManager::remove(std::wstring const& name) { drop(name); }

Statistik* StatistikManager::find(std::wstring const& name) const { return Orvex::findNamedObject(active_, name); }

void StatistikManager::addMouseDistance(Orvex::u32 distance) {
    forEach([&](Statistik& s) { s.addMouseDistance(distance); });
}
void StatistikManager::countClick() {
    forEach([](Statistik& s) { s.countClick(); });
}
void StatistikManager::countDoubleClick() {
    forEach([](Statistik& s) { s.countDoubleClick(); });
}
void StatistikManager::countFailedDoubleClick() {
    forEach([](Statistik& s) { s.countFailedDoubleClick(); });
}
void StatistikManager::countStarted() {
    forEach([](Statistik& s) { s.countStarted(); });
}
void StatistikManager::countWon() {
    forEach([](Statistik& s) { s.countWon(); });
}
void StatistikManager::countEnded() {
    forEach([](Statistik& s) { s.countEnded(); });
}
void StatistikManager::addUndos(Orvex::u32 steps) {
    forEach([&](Statistik& s) { s.addUndos(steps); });
}
void StatistikManager::addTime(double seconds) {
    forEach([&](Statistik& s) { s.addTime(seconds); });
}
void StatistikManager::countHint() {
    forEach([](Statistik& s) { s.countHint(); });
}
void StatistikManager::countMix() {
    forEach([](Statistik& s) { s.countMix(); });
}
void StatistikManager::addMoved(Orvex::u32 cards) {
    forEach([&](Statistik& s) { s.addMoved(cards); });
}
void StatistikManager::countCombo() {
    forEach([](Statistik& s) { s.countCombo(); });
}
void StatistikManager::updateMaxCombo(Orvex::u32 combo) {
    forEach([&](Statistik& s) { s.updateMaxCombo(combo); });
}
void StatistikManager::countComboStep() {
    forEach([](Statistik& s) { s.countComboStep(); });
}
void StatistikManager::updateMaxFactor(float factor) {
    forEach([&](Statistik& s) { s.updateMaxFactor(factor); });
}

void StatistikManager::resetProfileStatistik() {
    std::vector<Statistik*> leaving;
    leaving.swap(active_);
    profile_ = new Statistik(std::wstring(kProfileSetName));
    active_.push_back(profile_);
    for (Statistik* set : leaving) set->release();
}

namespace {
constexpr Orvex::XMLShape::Child kStatistikWrittenChildren[] = {
    {Statistik::kElementName, &Statistik::kWrittenShape, 1, true}};
static_assert(std::char_traits<wchar_t>::length(StatistikManager::kProfileSetName) <= Statistik::kMaxGivenName);
}  // namespace

constexpr Orvex::XMLShape StatistikManager::kWrittenProfileShape{{}, 0, kStatistikWrittenChildren};

void StatistikManager::readProfileStatistik(Orvex::XMLNode& node) {
    if (Orvex::XMLNode const* stored = node.getChild(Statistik::kElementName)) profile_->readCounters(*stored);
}

void StatistikManager::writeProfileStatistik(Orvex::XMLNode& node) {
    while (Orvex::XMLNode const* old = node.getChild(Statistik::kElementName)) node.removeChild(old);
    profile_->writeXML(*node.addChild(Statistik::kElementName));
}

}  // namespace Solitaire
