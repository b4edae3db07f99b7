// The game's tutorial manager: shows tutorial strips over the screens and the table, keeps the
// user tutorials of "data\loctutorials.tut", and tells the game object when a tutorial starts
// (the game clock stops), when the last one closed (it runs again), and asks it to turn a point
// of the card table into window coordinates for a tutorial arrow.
//
// A tutorial is an engine tutorial strip found by name. The profile that judges whether it is
// shown is the override set with setProfile (a counted reference), else the active one the game
// application hands down (setActiveProfileSource); a forced tutorial is shown whatever the
// profile says and is not marked seen.
//
// For now no user tutorial is read, requests that come while a tutorial is on screen are not
// queued, no tutorial menu is opened and no click steps a strip; the user tutorials, the queue
// and the tutorial menu come with the story scenes and game tutorials.
#pragma once

#include <functional>
#include <string>

#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUIWindow;
class TutorialStrip;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class StoryProfile;

class SolTutorialManager {
public:
    static SolTutorialManager& instance();

    // True when the tutorial was started, false when it was refused or has no strip.
    bool showTutorial(std::wstring const& name, bool const& force, bool const& useCoords, D3DXVECTOR2 const& coords);
    // Ends the tutorial on screen and emits tutorialClosed.
    void closeTutorial();
    // A click on a GUI element (while no story plays): true when the click was a tutorial's.
    bool onGuiClick(Orvex::GUIWindow& window);

    // The override (null clears it); a counted reference.
    void setProfile(StoryProfile* profile);
    // The override, else the active profile (may be null).
    StoryProfile* getProfile() const;
    // The game application's active profile, handed down; empty: none.
    void setActiveProfileSource(std::function<StoryProfile*()> source) { activeProfile_ = std::move(source); }
    StoryProfile* getActiveProfile() const { return activeProfile_ ? activeProfile_() : nullptr; }

    // The short (false) or long (true) text of the user tutorial of that name; empty for none.
    std::wstring getTutorialText(std::wstring const& name, bool longText) const;
    // A user-tutorial file's root node. Nothing is read yet.
    void loadUserTutorials(Orvex::XMLNode& root);

    bool isRunning() const { return running_; }
    Orvex::TutorialStrip* getCurrentStrip() const { return currentStrip_; }

    // Signals, in this order.
    sigslot::signal0<> tutorialStarted;
    sigslot::signal0<> tutorialClosed;
    // A point in card-table coordinates, replaced by the connected slot with its window point.
    sigslot::signal1<D3DXVECTOR2&> mapTablePoint;

    SolTutorialManager(SolTutorialManager const&) = delete;
    SolTutorialManager& operator=(SolTutorialManager const&) = delete;

private:
    SolTutorialManager() = default;
    ~SolTutorialManager();

    std::function<StoryProfile*()> activeProfile_;
    StoryProfile* profile_ = nullptr;
    bool running_ = false;
    Orvex::TutorialStrip* currentStrip_ = nullptr;  // one reference while kept
};

}  // namespace Solitaire
