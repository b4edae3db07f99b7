// The registry of scripted lessons on the card table, read from "data\exttutorial.tut"
// (ExtendedTutorial). The game's screens start a lesson by name; the game object lets it advance
// every frame, asks before handling a GUI click whether the current page allows it, reports the
// click, and reports every card or pile the player acted on (its "USERNAME" and whether the
// action was carried out), which may lead to another page. At most kMaxLessons lessons are read.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"

namespace Orvex {
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class ExtendedTutorial;

class ExtendedTutorialManager {
public:
    static constexpr std::size_t kMaxLessons = 256;
    static constexpr wchar_t const* kFileName = L"data\\exttutorial.tut";

    static ExtendedTutorialManager& instance();

    // The lesson file's root node; source names the file in log lines. Appends.
    void load(Orvex::XMLNode& root, std::wstring const& source = kFileName);
    // Makes the first lesson of that name current and starts it (chosen: the player chose it by
    // name, ExtendedTutorial::start); false (and no lesson current) when there is none or it
    // cannot start.
    bool startTutorial(std::wstring const& name, bool chosen = false);
    // A new game begins: the lesson of the game before ends with it (its pages would otherwise
    // go on answering the new game's cards and restrict them).
    void stopTutorial();
    // True while a lesson is current, also after its last page.
    bool isRunning() const { return current_ != nullptr; }
    ExtendedTutorial* getCurrent() const { return current_; }
    // One frame of the current page (dt seconds).
    void update(float const& dt);
    // False when the current page refuses clicks on that element.
    bool isClickAllowed(std::wstring const& elementName) const;
    void onGuiClick(std::wstring const& elementName);
    // The player acted on the card or pile of that user name; success tells whether the action
    // was carried out.
    void onCardEvent(std::wstring const& userName, bool success);
    // True when a refused action on the card or pile of that user name would move the current
    // page on: the page asked the player for that refusal.
    bool asksForRefusal(std::wstring const& userName) const;
    std::vector<Orvex::CountedRef<ExtendedTutorial>> const& getLessons() const { return lessons_; }
    // Releases every lesson (tests).
    void clear();

    ExtendedTutorialManager(ExtendedTutorialManager const&) = delete;
    ExtendedTutorialManager& operator=(ExtendedTutorialManager const&) = delete;

private:
    ExtendedTutorialManager();
    ~ExtendedTutorialManager();

    std::vector<Orvex::CountedRef<ExtendedTutorial>> lessons_;
    ExtendedTutorial* current_ = nullptr;
};

}  // namespace Solitaire
