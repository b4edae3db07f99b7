// The mini-game manager: every mini-game of "data\Games\minigames.min", the one that is active,
// and the signals through which a game reports to the game object. The game object loads the
// definitions at start-up, lets the manager build its screens and shuffle the order, updates it
// every frame and lets the active game draw before each scene.
//
// For now no definition is read: findMinispiel finds nothing, so no game becomes active, and
// update and drawActive do nothing, as with an empty definition file. The definitions, screens
// and games come with the mini-game framework.
#pragma once

#include <string>

#include "signals/sigslot.h"

namespace Orvex {
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Minispiel;

class MinispielManager : public sigslot::has_slots<sigslot::single_threaded> {
public:
    static MinispielManager& instance();

    // The definition file's top node. Nothing is read yet.
    void loadDefinitions(Orvex::XMLNode& top);
    // Builds the mini-game screens and the games' windows.
    void initGUI();
    // Shuffles the order of the games.
    void shuffleOrder();
    // One frame of the active game (dt seconds); nothing without one.
    void update(double const& dt);
    // The active game's own drawing; nothing without one.
    void drawActive();
    // The game of that name, or null.
    Minispiel* findMinispiel(std::wstring const& name) const;
    // The game becomes the active one (null: none); the one active before is let go.
    void setActiveMinispiel(Minispiel* game);
    Minispiel* getActiveMinispiel() const { return active_; }

    // Signals, in this order.
    sigslot::signal1<bool const&> activeChanged;
    // The game, its score ratio (0 to 1) and whether it was skipped.
    sigslot::signal3<Minispiel&, float const&, bool const&> gameEnded;
    sigslot::signal1<Minispiel&> gameFailed;
    sigslot::signal1<Minispiel&> gameClosed;
    sigslot::signal1<Minispiel&> moveMade;
    sigslot::signal1<Minispiel&> moveWrong;

    MinispielManager(MinispielManager const&) = delete;
    MinispielManager& operator=(MinispielManager const&) = delete;

private:
    MinispielManager() = default;
    ~MinispielManager() override = default;

    Minispiel* active_ = nullptr;
};

}  // namespace Solitaire
