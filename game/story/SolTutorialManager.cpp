// The game's tutorial manager: showing, queueing and closing tutorials, clicks that step them,
// the profile they are judged by.
#include "game/story/SolTutorialManager.h"

#include <algorithm>

#include "engine/core/Logger.h"
#include "engine/core/Utils.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutPoint.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialPage.h"
#include "engine/gui/TutorialStrip.h"
#include "game/cards/Kartenmanager.h"
#include "game/story/StoryProfile.h"
#include "game/story/UserTutorial.h"

namespace Solitaire {

SolTutorialManager& SolTutorialManager::instance() {
    static SolTutorialManager manager;
    return manager;
}

SolTutorialManager::SolTutorialManager()
    : menus_(&Orvex::GUIMenuManagerN::instance()), tutorials_(&Orvex::TutorialManager::instance()) {
    Kartenmanager::instance();  // the arrows ask it; it outlives this manager
}

SolTutorialManager::~SolTutorialManager() { clear(); }

void SolTutorialManager::clear() {
    pending_.clear();
    running_ = false;
    setCurrentStrip(nullptr);
    setProfile(nullptr);
    nextOnClick_.clear();
    tutorialMenu_.clear();
    userCoords_.clear();
    // Taken out of the list before they are let go.
    std::vector<Orvex::CountedRef<UserTutorial>> old;
    old.swap(userTutorials_);
}

void SolTutorialManager::setCurrentStrip(Orvex::TutorialStrip* strip) { currentStrip_.hold(strip); }

void SolTutorialManager::setProfile(StoryProfile* profile) { profile_.hold(profile); }

StoryProfile* SolTutorialManager::getProfile() const { return profile_ ? profile_.get() : getActiveProfile(); }

void SolTutorialManager::addArrow(Orvex::TutorialPage& page, Orvex::TutPoint const& startTemplate,
                                  Orvex::TutPoint const& goalTemplate, D3DXVECTOR2 const& at) {
    Orvex::CountedRef<Orvex::TutPoint> const start = Orvex::adoptRef(new Orvex::TutPoint(startTemplate));
    Orvex::CountedRef<Orvex::TutPoint> const goal = Orvex::adoptRef(new Orvex::TutPoint(goalTemplate));
    goal->offset = at;
    page.addPoint(start.get(), goal.get());
}

void SolTutorialManager::placePileArrows(std::wstring const& name) {
    for (auto const& tutorial : userTutorials_)
        if (tutorial->getName() == name) tutorial->placePileArrows();
}

void SolTutorialManager::applyCoords(Orvex::TutorialStrip& strip, std::wstring const& name, D3DXVECTOR2 const& coords) {
    for (UserCoords const& record : userCoords_) {
        if (record.strip != name) continue;
        for (Orvex::TutorialPage* page : strip.getPages()) {
            if (page->getName() != record.page) continue;
            if (Orvex::TutPoint* point = page->findPointObject(record.point)) point->offset = coords;
            break;
        }
    }
}

bool SolTutorialManager::showTutorial(std::wstring const& name, bool const& force, bool const& useCoords,
                                      D3DXVECTOR2 const& coords) {
    StoryProfile* profile = getProfile();
    if (!profile) return false;
    if (!force && !profile->shouldShowTutorial(name)) return false;
    if (running_) {
        if (pending_.size() >= kMaxPending) {
            Orvex::logWarning(L"Tutorial \"" + name + L"\": more than " + std::to_wstring(kMaxPending) +
                              L" tutorials wait to be shown; this one is dropped");
            return false;
        }
        pending_.push_back(PendingTutorial{name, force, useCoords, coords});
        return true;
    }
    running_ = true;
    Orvex::TutorialStrip* strip = Orvex::findNamedObject(tutorials_->getStrips(), name);
    if (!strip) {
        if (!force) profile->markTutorialSeen(name);
        running_ = false;
        return false;
    }
    setCurrentStrip(strip);
    if (useCoords) applyCoords(*strip, name, coords);
    placePileArrows(name);
    tutorials_->showStrip(name);
    if (!force) profile->markTutorialSeen(name);
    menus_->activateMenu(tutorialMenu_, -1.0);
    tutorialStarted.emit();
    return true;
}

void SolTutorialManager::closeTutorial() {
    if (running_ && currentStrip_) {
        currentStrip_->hide();
        setCurrentStrip(nullptr);
        running_ = false;
    }
    while (!pending_.empty()) {
        PendingTutorial const next = pending_.front();
        pending_.erase(pending_.begin());
        if (showTutorial(next.name, next.force, next.useCoords, next.coords)) break;
    }
    if (running_) return;
    // Back past every tutorial menu at the end of the history; its oldest entry ends the walk.
    int offset = 0;
    int const oldest = -menus_->getHistoryIndex();
    while (offset > oldest) {
        Orvex::GUIMenuN* menu = menus_->getHistoryMenu(offset);
        if (!menu || menu->getName() != tutorialMenu_) break;
        --offset;
    }
    menus_->moveInHistory(offset, -1.0);
    if (!running_) tutorialClosed.emit();
}

bool SolTutorialManager::onGuiClick(Orvex::GUIWindow& window) {
    if (std::find(nextOnClick_.begin(), nextOnClick_.end(), window.getUserId()) == nextOnClick_.end()) return false;
    if (!running_ || !currentStrip_) return true;
    // Closing lets the manager's reference go; this one keeps the strip to the end.
    Orvex::CountedRef<Orvex::TutorialStrip> const strip = currentStrip_;
    placePileArrows(strip->getName());
    strip->nextPage();
    if (strip->isFinished()) {
        closeTutorial();
    } else if (StoryProfile* profile = getProfile()) {
        if (!profile->isTutorialAllowed(strip->getName())) closeTutorial();
    }
    return true;
}

std::wstring SolTutorialManager::getTutorialText(std::wstring const& name, bool longText) const {
    UserTutorial const* tutorial = Orvex::findNamedObject(userTutorials_, name);
    return tutorial ? tutorial->getText(longText) : std::wstring();
}

}  // namespace Solitaire
