// User tutorials: their strip and pages.
#include "game/story/UserTutorial.h"

#include "engine/core/XMLNode.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialStrip.h"
#include "game/story/StoryRead.h"
#include "game/story/UserTutorialPage.h"

namespace Solitaire {

SolTutorialManager::UserTutorial::UserTutorial(Orvex::XMLNode& node, ReadProblems& problems) : NamedObject(node) {
    Orvex::TutorialManager& engine = Orvex::TutorialManager::instance();
    Orvex::XMLAttribute const* stripName = node.getAttribute(L"STRIP");
    Orvex::TutorialStrip* found = stripName ? engine.findStripTemplate(stripName->getStringCopy()) : nullptr;
    if (!found) {
        if (stripName)
            problems.add(L"user tutorial \"" + getName() + L"\" names the unknown strip template \"" +
                             stripName->getStringCopy() + L"\"",
                         node.getLine());
        return;
    }
    auto* strip = new Orvex::TutorialStrip(*found);
    strip->setName(getName());
    engine.addStrip(strip);
    readStoryChildren(node, L"TUTORIAL_PAGE", kMaxPages, problems,
                      [&](Orvex::XMLNode& child) { pages_.push_back(new UserTutorialPage(child, strip, problems)); });
    strip->release();
}

SolTutorialManager::UserTutorial::~UserTutorial() {
    for (UserTutorialPage* page : pages_) page->release();
}

void SolTutorialManager::UserTutorial::placePileArrows() {
    for (UserTutorialPage* page : pages_) page->placePileArrows();
}

std::wstring SolTutorialManager::UserTutorial::getText(bool longText) const {
    std::wstring out;
    for (UserTutorialPage const* page : pages_) {
        std::wstring const text = page->getText(longText);
        if (!text.empty()) out += text + L"\n";
    }
    return out;
}

}  // namespace Solitaire
