// The words a finished mini-game's screen shows before the level screen ("MINISPIEL_Ergebnis"):
// won or lost in the title, and in the text the share of the time left of a solved game, or
// that it was skipped, lost by time or left. Its button "MINISPIEL_E_Weiter" goes on to the
// level screen through the callback the game object hands it; without the panel the callback
// runs at once.
//
// The game object holds it by value, built with its Links; it connects itself to the mini-game
// manager, whose game ends show it: a game's end, its cancel button (which lets the game go at once: the manager keeps a
// closed game active), and a game made active puts away the words on the one before.
//
// Files: MinigameResultScreen.cpp (all of it).
#pragma once

#include <functional>
#include <utility>

#include "signals/sigslot.h"

namespace Solitaire {

class Minispiel;
class MinispielManager;

class MinigameResultScreen : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // How a mini-game ended.
    enum class End { kSolved, kSkipped, kTimeUp, kCancelled };

    // What the screen uses: the mini-game manager, whose closed, ended and activated games reach
    // the screen's slots, and what going on does (the mini-game let go and the level screen
    // opened).
    struct Links {
        MinispielManager* games = nullptr;
        std::function<void()> goOn{};
    };

    explicit MinigameResultScreen(Links links);
    MinigameResultScreen(MinigameResultScreen const&) = delete;
    MinigameResultScreen& operator=(MinigameResultScreen const&) = delete;
    void hide();
    // "MINISPIEL_E_Weiter": from the words to the level screen, only while they are shown.
    void leave();

private:
    // The words for that end (ratio: the share of the time left of a solved game).
    void show(End end, float ratio);
    // A skip after the time ran out is a game lost by time.
    void onGameEnded(Minispiel& game, float const& ratio, bool const& skipped);
    void onGameClosed(Minispiel& game);
    void onGameActive(bool const& active);

    MinispielManager* games_ = nullptr;
    std::function<void()> goOn_;
    bool shown_ = false;
};

}  // namespace Solitaire
