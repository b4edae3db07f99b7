// The game's tutorial manager: reading user-tutorial files.
#include "engine/core/CopyBudget.h"
#include "engine/core/XMLNode.h"
#include "game/look/ReadProblems.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryRead.h"
#include "game/story/UserTutorial.h"

namespace Solitaire {

void SolTutorialManager::loadUserTutorials(Orvex::XMLNode& root, std::wstring const& source) {
    Orvex::CopyBudget const budget(source.empty() ? std::wstring(L"user tutorial file") : source);
    ReadProblems problems;
    if (Orvex::XMLAttribute const* menu = root.getAttribute(L"TUTORIAL_MENU")) tutorialMenu_ = menu->getStringCopy();
    appendStoryValues(root.getChild(L"NEXT_ON_CLICK", 0), nextOnClick_, kMaxRecords, problems);
    readStoryChildren(root, L"USER_TUTORIAL", kMaxUserTutorials - userTutorials_.size(), problems,
                      [&](Orvex::XMLNode& child) {
                          if (Orvex::XMLAttribute const* name = child.getAttribute(L"NAME"))
                              for (auto const& tutorial : userTutorials_)
                                  if (tutorial->getName() == name->getString()) return;
                          userTutorials_.emplace_back().adopt(new UserTutorial(child, problems));
                      });
    readStoryChildren(root, L"USER_COORDS", kMaxRecords - userCoords_.size(), problems, [&](Orvex::XMLNode& child) {
        userCoords_.push_back(UserCoords{child.getAttributeString(L"STRIP", L""), child.getAttributeString(L"PAGE", L""),
                                         child.getAttributeString(L"POINT", L"")});
    });
    problems.log(L"User tutorials", source, root.getLine());
}

}  // namespace Solitaire
