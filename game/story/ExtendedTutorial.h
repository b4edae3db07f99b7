// A scripted lesson on the card table ("EXTENDED_TUTORIAL" of "data\exttutorial.tut"): a graph
// of pages (ExtendedTutorialPage) entered at "START_PAGE". Starting it needs an active profile
// that wants the lesson (not seen, tutorials on), unless the player chose the lesson by name:
// the switch governs only what comes by itself. The game tutorials named in
// "STOP_CANCEL_TUTORIALS" are then marked seen and closed when on screen. A lesson whose pages have run out (or that went to an
// unknown page) stays current without a page.
//
// Keys: "NAME", "EXTENDED_TUTORIALPAGE" children (at most kMaxPages; a later page of a name
// replaces the earlier), "STOP_CANCEL_TUTORIALS" (values of the first such child), "START_PAGE".
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/core/NamedObject.h"
#include "game/look/ReadProblems.h"

namespace Orvex {
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class ExtendedTutorialPage;

class ExtendedTutorial : public Orvex::NamedObject {
public:
    static constexpr std::size_t kMaxPages = 1024;

    ExtendedTutorial(Orvex::XMLNode& node, ReadProblems& problems);
    ~ExtendedTutorial() override;

    // False without the start page or an active profile; a lesson that comes by itself (not
    // chosen by the player) also when the profile does not want it (seen, or tutorials off).
    bool start(bool chosen = false);
    ExtendedTutorialPage* findPage(std::wstring const& name) const;
    ExtendedTutorialPage* getCurrentPage() const { return current_; }
    // Leaves the current page (its "_POST" changes) for the named one; an unknown or empty name
    // leaves the lesson without a page.
    void goTo(std::wstring const& name);
    void leave();
    // Ends the lesson with the game it belongs to: the page's strip closes when on screen, and
    // the lesson has no page; the lists stay to the new deal, which empties them.
    void stop();

    std::map<std::wstring, Orvex::CountedRef<ExtendedTutorialPage>> const& getPages() const { return pages_; }
    std::wstring const& getStartPage() const { return startPage_; }
    std::vector<std::wstring> const& getStopCancel() const { return stopCancel_; }

private:
    std::map<std::wstring, Orvex::CountedRef<ExtendedTutorialPage>> pages_;
    std::wstring startPage_;
    ExtendedTutorialPage* current_ = nullptr;
    std::vector<std::wstring> stopCancel_;
};

}  // namespace Solitaire
