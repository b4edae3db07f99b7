// One story scene while it plays: its elements, drawn into the story window, and its switches,
// which the timer or a click on the story area advance. The game object updates the playing
// scene every frame, hands it the clicks on the story area and lets it draw itself after the
// story window has drawn.
//
// What the scene asks the game to do when it ends is its parameter record (params). Its unlock
// lists are recorded when it has ended (POST) and after the tutorial shown with it has closed
// (POST_POST), each list for good first, then for the session.
//
// For now a scene holds no elements and no switches: it never advances by itself, a click ends
// nothing and drawing draws nothing, as an empty scene of the story file would. Elements,
// switches and reading come with the story scenes.
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "game/story/StorySceneParams.h"

namespace Orvex {
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class StoryProfile;

class StoryPart : public Orvex::NamedObject {
public:
    StoryPart() = default;

    // One frame of dt seconds; true when the scene has finished.
    bool update(float const& dt);
    // Draws every element into the story window.
    void draw(Orvex::GUIWindow& window);
    // A click at (x, y), fractions of the story window; true when it ended the scene.
    bool click(float x, float y);

    // The unlock lists into the profile: for good, then the temporary ones. Null: nothing.
    void applyPostUnlocks(StoryProfile* profile) const;
    void applyPostPostUnlocks(StoryProfile* profile) const;

    StorySceneParams params;
    std::vector<std::wstring> unlockPostPost, unlockTmpPostPost, unlockPost, unlockTmpPost;
};

}  // namespace Solitaire
