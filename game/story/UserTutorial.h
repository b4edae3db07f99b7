// A user tutorial ("USER_TUTORIAL" of a user-tutorial file): a copy of an engine strip template
// ("STRIP"), registered under the tutorial's name so the tutorial manager shows it by name, and
// its pages (UserTutorialPage, "TUTORIAL_PAGE" children, at most kMaxPages). Without a known
// strip template the tutorial has no strip and no pages. Its text is every page's text for the
// short or the long use, each followed by a line break.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/core/NamedObject.h"
#include "game/look/ReadProblems.h"
#include "game/story/SolTutorialManager.h"

namespace Solitaire {

class SolTutorialManager::UserTutorial : public Orvex::NamedObject {
public:
    static constexpr std::size_t kMaxPages = 256;

    UserTutorial(Orvex::XMLNode& node, ReadProblems& problems);
    ~UserTutorial() override;

    // Every page with a pile type rebuilds its arrows at the piles as they lie now.
    void placePileArrows();
    std::wstring getText(bool longText) const;
    std::vector<Orvex::CountedRef<UserTutorialPage>> const& getPages() const { return pages_; }

private:
    std::vector<Orvex::CountedRef<UserTutorialPage>> pages_;
};

}  // namespace Solitaire
