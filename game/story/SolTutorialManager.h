// The game's tutorial manager: every tutorial the game shows goes through it. A tutorial is an
// engine tutorial strip found by name; the manager decides whether the player's profile is to
// see it, shows it on the tutorial menu ("TUTORIAL_MENU" of the user-tutorial file), marks it
// seen, queues requests that come while one is on screen, advances the strip when one of the
// "NEXT_ON_CLICK" elements is clicked, and, when the strip ends, shows the next queued one or
// returns to the menu the tutorial was opened from. It also keeps the user tutorials and their
// coordinate records (UserTutorial, UserTutorialPage), places their pile arrows before a strip
// is shown and on each click-driven page, and gives their texts to the selection screens.
//
// Signals: tutorialStarted each time a strip has been started (the game stops its play clock),
// tutorialClosed when closing left no tutorial running (it runs again), mapTablePoint with a
// point of the card table that the connected slot turns into window coordinates in place.
//
// The profile: the override set with setProfile (a counted reference), else the active one the
// game application hands down (setActiveProfileSource). Seen lists and the show-tutorials switch
// are the profile's (StoryProfile): "STORY" names are shown whenever unseen, all others only
// while unseen and while the switch is on; force shows a tutorial whatever the profile says and
// does not mark it.
//
// The user-tutorial file ("data\loctutorials.tut", and a variant's own rule file when it starts):
// "TUTORIAL_MENU" (attribute of the root), "NEXT_ON_CLICK" (values of the first such child),
// "USER_TUTORIAL" (UserTutorial; a name already loaded is skipped whole) and "USER_COORDS"
// ("STRIP", "PAGE", "POINT": a point whose position showTutorial may set) children. At most
// kMaxUserTutorials tutorials, kMaxRecords coordinate records and click names are kept, and at
// most kMaxPending requests wait; more is left out with a log line.
//
// SolTutorialManager.cpp: showing, queueing, closing, clicks, the profile.
// SolTutorialManager_user.cpp: reading user-tutorial files and their texts.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUIMenuManagerN;
class GUIWindow;
class TutorialManager;
class TutorialPage;
class TutorialStrip;
class TutPoint;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class StoryProfile;

class SolTutorialManager {
public:
    class UserTutorial;      // game/story/UserTutorial.h
    class UserTutorialPage;  // game/story/UserTutorialPage.h

    // A request waiting while another tutorial is on screen.
    struct PendingTutorial {
        std::wstring name;
        bool force = false;
        bool useCoords = false;
        D3DXVECTOR2 coords{0.0f, 0.0f};
    };
    // A point of a page of a strip whose position a request may set ("USER_COORDS").
    struct UserCoords {
        std::wstring strip;
        std::wstring page;
        std::wstring point;
    };

    static constexpr std::size_t kMaxUserTutorials = 4096;
    static constexpr std::size_t kMaxRecords = 4096;
    static constexpr std::size_t kMaxPending = 1024;

    static SolTutorialManager& instance();

    // True when the tutorial was started or queued, false when it was refused.
    bool showTutorial(std::wstring const& name, bool const& force, bool const& useCoords, D3DXVECTOR2 const& coords);
    // Ends the tutorial on screen; starts the next acceptable queued one, else goes back to the
    // menu before the tutorial menu and emits tutorialClosed.
    void closeTutorial();
    // A click on a GUI element (while no story plays): true when its user id is a
    // "NEXT_ON_CLICK" name (the click is then handled), which steps the strip on a page.
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
    // A user-tutorial file's root node; source names the file in log lines.
    void loadUserTutorials(Orvex::XMLNode& root, std::wstring const& source = std::wstring());

    bool isRunning() const { return running_; }
    Orvex::TutorialStrip* getCurrentStrip() const { return currentStrip_.get(); }
    std::vector<PendingTutorial> const& getPending() const { return pending_; }
    std::wstring const& getTutorialMenu() const { return tutorialMenu_; }
    std::vector<std::wstring> const& getNextOnClick() const { return nextOnClick_; }
    std::vector<Orvex::CountedRef<UserTutorial>> const& getUserTutorials() const { return userTutorials_; }
    std::vector<UserCoords> const& getUserCoords() const { return userCoords_; }
    // Forgets everything read and shown, the override and the queue (tests; the profile source
    // stays).
    void clear();

    // Signals, in this order.
    sigslot::signal0<> tutorialStarted;
    sigslot::signal0<> tutorialClosed;
    // A point in card-table coordinates, replaced by the connected slot with its window point.
    sigslot::signal1<D3DXVECTOR2&> mapTablePoint;
    // An arrow on the page: copies of the start and goal templates, the goal's offset at the
    // window point (the page holds the copies).
    static void addArrow(Orvex::TutorialPage& page, Orvex::TutPoint const& startTemplate,
                         Orvex::TutPoint const& goalTemplate, D3DXVECTOR2 const& at);

    SolTutorialManager(SolTutorialManager const&) = delete;
    SolTutorialManager& operator=(SolTutorialManager const&) = delete;

private:
    SolTutorialManager();
    ~SolTutorialManager();

    void setCurrentStrip(Orvex::TutorialStrip* strip);
    // Every user tutorial of that name places its pile arrows.
    void placePileArrows(std::wstring const& name);
    // Sets the points named by coordinate records of that strip.
    void applyCoords(Orvex::TutorialStrip& strip, std::wstring const& name, D3DXVECTOR2 const& coords);

    Orvex::GUIMenuManagerN* menus_;
    std::wstring tutorialMenu_;
    Orvex::TutorialManager* tutorials_;
    std::function<StoryProfile*()> activeProfile_;
    std::vector<PendingTutorial> pending_;
    bool running_ = false;
    Orvex::CountedRef<Orvex::TutorialStrip> currentStrip_;
    std::vector<std::wstring> nextOnClick_;
    Orvex::CountedRef<StoryProfile> profile_;
    std::vector<Orvex::CountedRef<UserTutorial>> userTutorials_;
    std::vector<UserCoords> userCoords_;
};

}  // namespace Solitaire
