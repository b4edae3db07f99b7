// The registry of extended tutorials: scripted lessons on the card table, read from
// "data\exttutorial.tut". The game's screens start a lesson by name; the game object reports
// every card or pile the player acted on (its "USERNAME" and whether the action was carried
// out), asks before handling a GUI click whether the current page allows it and reports the
// click, asks every frame whether a lesson runs and lets it advance.
//
// For now no lesson is read: none runs, and card events lead nowhere, as with an empty file.
// The lessons come with the story scenes and game tutorials.
#pragma once

#include <string>

namespace Orvex {
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class ExtendedTutorialManager {
public:
    static ExtendedTutorialManager& instance();

    // The extended-tutorial file's root node. Nothing is read yet.
    void load(Orvex::XMLNode& root);
    // Starts the lesson of that name; false when there is none (there is none yet).
    bool startTutorial(std::wstring const& name);
    // True while a lesson runs.
    bool isRunning() const { return false; }
    // False when the current page refuses clicks on that element (without a lesson: true).
    bool isClickAllowed(std::wstring const& elementName) const;
    void onGuiClick(std::wstring const& elementName);
    // One frame of the running lesson (dt seconds).
    void update(float const& dt);
    // The player acted on the card or pile of that user name; success tells whether the action
    // was carried out.
    void onCardEvent(std::wstring const& userName, bool success);

    ExtendedTutorialManager(ExtendedTutorialManager const&) = delete;
    ExtendedTutorialManager& operator=(ExtendedTutorialManager const&) = delete;

private:
    ExtendedTutorialManager() = default;
};

}  // namespace Solitaire
