// The game's tutorial manager: shows tutorial strips over the screens and the table, keeps the
// user tutorials of "data\loctutorials.tut", and tells the game object when a tutorial starts
// (the game clock stops), when the last one closed (it runs again), and asks it to turn a point
// of the card table into window coordinates for a tutorial arrow.
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

class SolTutorialManager {
public:
    static SolTutorialManager& instance();

    // A user-tutorial file's root node. Nothing is read yet.
    void loadUserTutorials(Orvex::XMLNode& root);
    // Shows the tutorial of that name (force: whatever the profile has seen; with useCoords at
    // that window point); true when it was started or queued. None is shown yet: false.
    bool showTutorial(std::wstring const& name, bool const& force, bool const& useCoords, D3DXVECTOR2 const& coords);

    // Signals, in this order.
    sigslot::signal0<> tutorialStarted;
    sigslot::signal0<> tutorialClosed;
    // A point in card-table coordinates, replaced by the connected slot with its window point.
    sigslot::signal1<D3DXVECTOR2&> mapTablePoint;

    SolTutorialManager(SolTutorialManager const&) = delete;
    SolTutorialManager& operator=(SolTutorialManager const&) = delete;

private:
    SolTutorialManager() = default;
};

}  // namespace Solitaire
