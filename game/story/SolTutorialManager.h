// The game's tutorial manager: shows tutorial strips over the screens and the table, keeps the
// user tutorials of "data\loctutorials.tut", and tells the game object when a tutorial starts
// (the game clock stops), when the last one closed (it runs again), and asks it to turn a point
// of the card table into window coordinates for a tutorial arrow.
//
// The profile whose tutorial switch and seen tutorials count is the override the game sets while
// the new-profile dialog is open, else the active profile, which the game hands over through
// activeProfileWanted (the profiles live above this library).
//
// For now no user tutorial is read and no tutorial starts, as with an empty tutorial file; the
// tutorials come with the story scenes and game tutorials.
#pragma once

#include <string>

#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Profil;

class SolTutorialManager {
public:
    static SolTutorialManager& instance();

    // A user-tutorial file's root node. Nothing is read yet.
    void loadUserTutorials(Orvex::XMLNode& root);

    // The named tutorial when the profile in use has not seen it, or forced; true when one was
    // started. None is known yet: false.
    bool showTutorial(std::wstring const& name, bool const& force, bool const& usePosition,
                      D3DXVECTOR2 const& position);
    // The profile used instead of the active one (null clears it); the caller keeps it alive
    // while it is set.
    void setProfile(Profil* profile) { override_ = profile; }
    // The override, else the active profile (null without one).
    Profil* getProfile();

    // Asked for the active profile: the connected slot sets the pointer.
    sigslot::signal1<Profil*&> activeProfileWanted;
    // Signals, in this order.
    sigslot::signal0<> tutorialStarted;
    sigslot::signal0<> tutorialClosed;
    // A point in card-table coordinates, replaced by the connected slot with its window point.
    sigslot::signal1<D3DXVECTOR2&> mapTablePoint;

    SolTutorialManager(SolTutorialManager const&) = delete;
    SolTutorialManager& operator=(SolTutorialManager const&) = delete;

private:
    SolTutorialManager() = default;

    Profil* override_ = nullptr;
};

}  // namespace Solitaire
