// Scripted lessons: reading, starting, moving between pages.
#include "game/story/ExtendedTutorial.h"

#include "engine/core/XMLNode.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialStrip.h"
#include "game/story/ExtendedTutorialPage.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryProfile.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

ExtendedTutorial::ExtendedTutorial(Orvex::XMLNode& node, ReadProblems& problems) : NamedObject(node) {
    readStoryChildren(node, L"EXTENDED_TUTORIALPAGE", kMaxPages, problems, [&](Orvex::XMLNode& child) {
        auto* page = new ExtendedTutorialPage(child, problems);
        pages_[page->getName()].adopt(page);  // a later page of the same name replaces the earlier
    });
    appendStoryValues(node.getChild(L"STOP_CANCEL_TUTORIALS", 0), stopCancel_, ExtendedTutorialPage::kMaxNames, problems);
    if (Orvex::XMLAttribute const* start = node.getAttribute(L"START_PAGE")) startPage_ = start->getStringCopy();
}

// Out of line: the pages are complete here.
ExtendedTutorial::~ExtendedTutorial() = default;

ExtendedTutorialPage* ExtendedTutorial::findPage(std::wstring const& name) const {
    auto const found = pages_.find(name);
    return found == pages_.end() ? nullptr : found->second.get();
}

bool ExtendedTutorial::start(bool chosen) {
    ExtendedTutorialPage* first = findPage(startPage_);
    if (!first) return false;
    SolTutorialManager& tutorials = SolTutorialManager::instance();
    StoryProfile* profile = tutorials.getActiveProfile();
    if (!profile || (!chosen && !profile->shouldShowTutorial(getName()))) return false;
    Orvex::TutorialManager& engine = Orvex::TutorialManager::instance();
    for (std::wstring const& name : stopCancel_) {
        profile->markTutorialSeen(name);
        Orvex::TutorialStrip* shown = engine.getCurrentStrip();
        if (shown && shown->getName() == name) {
            // Hidden first: closing may show a waiting tutorial, which must stay on screen.
            engine.hideCurrentStrip();
            tutorials.closeTutorial();
        }
    }
    current_ = first;
    current_->activate(true);
    profile->markTutorialSeen(getName());
    return true;
}

void ExtendedTutorial::leave() {
    if (!current_) return;
    ExtendedTutorialPage* left = current_;
    current_ = nullptr;
    left->activate(false);
}

void ExtendedTutorial::stop() {
    if (current_) current_->closeStrip();
    current_ = nullptr;
}

void ExtendedTutorial::goTo(std::wstring const& name) {
    ExtendedTutorialPage* next = findPage(name);
    leave();
    current_ = next;
    if (current_) current_->activate(true);
}

}  // namespace Solitaire
