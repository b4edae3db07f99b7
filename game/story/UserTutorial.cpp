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
    // The engine's list keeps the strip with a reference of its own.
    Orvex::CountedRef<Orvex::TutorialStrip> strip;
    strip.adopt(new Orvex::TutorialStrip(*found));
    strip->setName(getName());
    engine.addStrip(strip.get());
    readStoryChildren(node, L"TUTORIAL_PAGE", kMaxPages, problems, [&](Orvex::XMLNode& child) {
        pages_.emplace_back().adopt(new UserTutorialPage(child, strip.get(), problems));
    });
}

// Out of line: the pages are complete here.
SolTutorialManager::UserTutorial::~UserTutorial() = default;

void SolTutorialManager::UserTutorial::placePileArrows() {
    for (auto const& page : pages_) page->placePileArrows();
}

std::wstring SolTutorialManager::UserTutorial::getText(bool longText) const {
    std::wstring out;
    for (auto const& page : pages_) {
        std::wstring const text = page->getText(longText);
        if (!text.empty()) out += text + L"\n";
    }
    return out;
}

}  // namespace Solitaire
