// The game tutorial manager's single instance: showing a strip as the profile allows, closing
// it, the profile it judges by. User tutorials are not read yet.
#include "game/story/SolTutorialManager.h"

#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialStrip.h"
#include "game/story/StoryProfile.h"

namespace Solitaire {

SolTutorialManager& SolTutorialManager::instance() {
    static SolTutorialManager manager;
    return manager;
}

SolTutorialManager::~SolTutorialManager() {
    if (currentStrip_) currentStrip_->release();
    if (profile_) profile_->release();
}

void SolTutorialManager::loadUserTutorials(Orvex::XMLNode&) {}

void SolTutorialManager::setProfile(StoryProfile* profile) {
    if (profile) profile->addRef();
    if (profile_) profile_->release();
    profile_ = profile;
}

StoryProfile* SolTutorialManager::getProfile() const { return profile_ ? profile_ : getActiveProfile(); }

bool SolTutorialManager::showTutorial(std::wstring const& name, bool const& force, bool const&, D3DXVECTOR2 const&) {
    StoryProfile* profile = getProfile();
    if (!profile || (!force && !profile->shouldShowTutorial(name))) return false;
    Orvex::TutorialManager& engine = Orvex::TutorialManager::instance();
    Orvex::TutorialStrip* strip = engine.showStrip(name);
    if (!strip) return false;
    strip->addRef();
    if (currentStrip_) currentStrip_->release();
    currentStrip_ = strip;
    running_ = true;
    if (!force) profile->markTutorialSeen(name);
    tutorialStarted.emit();
    return true;
}

void SolTutorialManager::closeTutorial() {
    if (!running_) return;
    running_ = false;
    if (currentStrip_) {
        Orvex::TutorialManager& engine = Orvex::TutorialManager::instance();
        if (engine.getCurrentStrip() == currentStrip_)
            engine.hideCurrentStrip();
        else
            currentStrip_->hide();
        currentStrip_->release();
        currentStrip_ = nullptr;
    }
    tutorialClosed.emit();
}

bool SolTutorialManager::onGuiClick(Orvex::GUIWindow&) { return false; }

std::wstring SolTutorialManager::getTutorialText(std::wstring const&, bool) const { return std::wstring(); }

}  // namespace Solitaire
