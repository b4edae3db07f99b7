// The words a finished mini-game's screen shows before the level screen ("MINISPIEL_Ergebnis"):
// won or lost in the title, and in the text the share of the time left of a solved game, or
// that it was skipped, lost by time or left. Its button "MINISPIEL_E_Weiter" goes on to the
// level screen through the callback the game object hands it; without the panel the callback
// runs at once.
//
// The game object holds it by value and shows it when a mini-game ends.
//
// Files: MinigameResultScreen.cpp (all of it).
#pragma once

#include <functional>
#include <utility>

namespace Solitaire {

class MinigameResultScreen {
public:
    // How a mini-game ended.
    enum class End { kSolved, kSkipped, kTimeUp, kCancelled };

    // What going on does: the mini-game let go and the level screen opened.
    void setGoOn(std::function<void()> goOn) { goOn_ = std::move(goOn); }
    // The words for that end (ratio: the share of the time left of a solved game).
    void show(End end, float ratio);
    void hide();
    // "MINISPIEL_E_Weiter": from the words to the level screen, only while they are shown.
    void leave();

private:
    std::function<void()> goOn_;
    bool shown_ = false;
};

}  // namespace Solitaire
