// The registry of scripted lessons: reading, starting, and handing a lesson's page the frames,
// clicks and card actions.
#include "game/story/ExtendedTutorialManager.h"

#include "engine/core/CopyBudget.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/TutorialManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/look/ReadProblems.h"
#include "game/story/ExtendedTutorial.h"
#include "game/story/ExtendedTutorialPage.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

ExtendedTutorialManager& ExtendedTutorialManager::instance() {
    static ExtendedTutorialManager manager;
    return manager;
}

// The managers the lessons use outlive them (statics end in the reverse order of their making).
ExtendedTutorialManager::ExtendedTutorialManager() {
    Orvex::TutorialManager::instance();
    SolTutorialManager::instance();
    Kartenmanager::instance();
}

ExtendedTutorialManager::~ExtendedTutorialManager() { clear(); }

void ExtendedTutorialManager::clear() {
    current_ = nullptr;
    // Taken out of the list before they are let go.
    std::vector<Orvex::CountedRef<ExtendedTutorial>> old;
    old.swap(lessons_);
}

void ExtendedTutorialManager::load(Orvex::XMLNode& root, std::wstring const& source) {
    Orvex::CopyBudget const budget(source);  // lesson pages copy strip and page templates
    ReadProblems problems;
    readStoryChildren(root, L"EXTENDED_TUTORIAL", kMaxLessons - lessons_.size(), problems,
                      [&](Orvex::XMLNode& child) { lessons_.emplace_back().adopt(new ExtendedTutorial(child, problems)); });
    problems.log(L"Lessons", source, root.getLine());
}

bool ExtendedTutorialManager::startTutorial(std::wstring const& name, bool chosen) {
    current_ = Orvex::findNamedObject(lessons_, name);
    if (current_ && current_->start(chosen)) return true;
    current_ = nullptr;
    return false;
}

void ExtendedTutorialManager::stopTutorial() {
    if (current_) current_->stop();
    current_ = nullptr;
}

void ExtendedTutorialManager::update(float const& dt) {
    ExtendedTutorialPage* page = current_ ? current_->getCurrentPage() : nullptr;
    if (page) page->update(dt);
}

bool ExtendedTutorialManager::isClickAllowed(std::wstring const& elementName) const {
    ExtendedTutorialPage const* page = current_ ? current_->getCurrentPage() : nullptr;
    return !page || !page->refusesClick(elementName);
}

void ExtendedTutorialManager::onGuiClick(std::wstring const& elementName) {
    ExtendedTutorialPage* page = current_ ? current_->getCurrentPage() : nullptr;
    if (!page) return;
    std::wstring next;
    int const result = page->checkGui(next, elementName);
    if (result == ExtendedTutorialPage::kStay) return;
    if (result == ExtendedTutorialPage::kGoTo)
        current_->goTo(next);
    else
        current_->leave();
}

bool ExtendedTutorialManager::asksForRefusal(std::wstring const& userName) const {
    ExtendedTutorialPage const* page = current_ ? current_->getCurrentPage() : nullptr;
    std::wstring next;
    return page && page->checkCard(next, userName, false) != ExtendedTutorialPage::kStay;
}

void ExtendedTutorialManager::onCardEvent(std::wstring const& userName, bool success) {
    ExtendedTutorialPage* page = current_ ? current_->getCurrentPage() : nullptr;
    if (!page) return;
    std::wstring next;
    int const result = page->checkCard(next, userName, success);
    if (result == ExtendedTutorialPage::kStay) return;
    // The player acted with the page's text still on screen: it speaks of what is done now, and
    // while it shows the game time stands, so the next page's text would never come (and its
    // button would be taken for the next page's). It goes before the next page comes.
    page->closeStrip();
    if (result == ExtendedTutorialPage::kGoTo)
        current_->goTo(next);
    else
        current_->leave();
}

}  // namespace Solitaire
