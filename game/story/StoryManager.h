// The story manager: the scenes of "data\Story\Story.str" and the music requests their switches
// make. The game object connects the four signals at start-up; a scene that asks for music emits
// playMusic with the track, stopMusic, startStandardMusic (the game's own track for its screen)
// or stopStandardMusic.
//
// Choosing the next scene for a profile (startNextScene): the first scene whose name the profile
// has not unlocked and whose needed unlocks it has all.
//
// For now the manager holds no scenes: load reads nothing and no scene is ever due, as with an
// empty story file. The story file's reader and the scenes come with the story scenes.
#pragma once

#include <string>

#include "signals/sigslot.h"

namespace Orvex {
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class StoryPart;
class StoryProfile;

class StoryManager {
public:
    static StoryManager& instance();

    // The story file's root node. Nothing is read yet: the story stays empty.
    void load(Orvex::XMLNode& root);
    // The scene that now plays for the profile, or null (no profile, or no scene due).
    StoryPart* startNextScene(StoryProfile* profile);

    // Signals, in this order.
    sigslot::signal1<std::wstring const&> playMusic;
    sigslot::signal0<> stopMusic;
    sigslot::signal0<> startStandardMusic;
    sigslot::signal0<> stopStandardMusic;

    StoryManager(StoryManager const&) = delete;
    StoryManager& operator=(StoryManager const&) = delete;

private:
    StoryManager() = default;
};

}  // namespace Solitaire
