// One story scene ("STORY_PART" of the story file): its elements, drawn in file order into the
// story window, and its switches, each putting element changes in force and moving on after its
// timer or on a click in the story window. The scene's name is also its unlock name: once a
// profile has it (for good or for the session), the scene is never chosen again for it. Its six
// unlock lists are recorded when it starts (PRE), when it has ended (POST) and after the
// tutorial shown with it has closed (POST_POST). The game object plays it: it feeds it frame
// time (update), the clicks on the story area in fractions of the story window (click), and lets
// it draw after the story window has drawn itself (draw).
//
// Keys, read in this order: "NAME", "SWITCH" (StorySwitch: "SWITCH_AT", "TIMER", "PLAY_SOUND",
// "SWITCH_PARM" children), "PART_PART" (StoryPartPart), "NEEDED_UNLOCKS" (values of the first
// child), "START_END_PARAM" (StorySceneParams), the unlock lists "UNLOCK_POST", "UNLOCK_PRE",
// "UNLOCK_TMP_POST", "UNLOCK_TMP_PRE", "UNLOCK_POST_POST", "UNLOCK_TMP_POST_POST" (each an
// attribute and/or the values of a child), "UNLOCK_TMP", "SPEEDMULT" (1), "SKIP_PART". Then each
// element is placed in the first element of its "RELATIV_TO" name; a link that would close a
// cycle is refused (the element is placed in the story window) with a log line.
//
// Limits: kMaxSwitches switches, kMaxParams changes per switch, kMaxParts elements,
// kMaxNames names per list, kMaxRecords achievement, building and blend entries; the rest are
// left out with the scene's one log line.
//
// StoryPart.cpp: reading and linking. StoryPart_play.cpp: switches, update, clicks, finish,
// drawing and the unlock lists.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/core/NamedObject.h"
#include "game/look/ReadProblems.h"
#include "game/story/StorySceneParams.h"
#include "game/story/StorySwitch.h"

namespace Orvex {
class GUIWindow;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class StoryPartPart;
class StoryProfile;

class StoryPart : public Orvex::NamedObject {
public:
    static constexpr std::size_t kMaxSwitches = 4096;
    static constexpr std::size_t kMaxParams = 1024;
    static constexpr std::size_t kMaxParts = 1024;
    static constexpr std::size_t kMaxNames = 1024;
    static constexpr std::size_t kMaxRecords = 256;

    // An empty scene: no switches, no elements.
    StoryPart();
    // source names the file in the scene's log lines.
    explicit StoryPart(Orvex::XMLNode& node, std::wstring const& source = std::wstring());
    StoryPart(StoryPart const&) = delete;
    StoryPart& operator=(StoryPart const&) = delete;
    ~StoryPart() override;

    // The first element of exactly that name, or null.
    StoryPartPart* findPart(std::wstring const& name) const;

    // ---- playing (StoryPart_play.cpp) ----
    // Puts the next switch in force, its speeds times speedFactor (0: every change at once).
    // True when there was none: the scene has finished (finish has run).
    bool nextSwitch(float const& speedFactor);
    // One frame of dt seconds; true when the scene has finished.
    bool update(float const& dt);
    // A click at (x, y), fractions of the story window; true when it ended the scene (a hit on
    // the visible skip element, or a click that left the last switch).
    bool click(float x, float y);
    // Stops every element's sounds and emitters, then asks to stop the scene's music and for the
    // standard music.
    void finish();
    // Ends every element's emitter: a scene's particles end with the scene, also one skipped.
    void stopEmitters();
    // Every element in file order, later ones on top.
    void draw(Orvex::GUIWindow& window);

    // The unlock lists into the profile: for good, then the temporary ones. Null: nothing.
    void applyPreUnlocks(StoryProfile* profile) const;
    void applyPostUnlocks(StoryProfile* profile) const;
    void applyPostPostUnlocks(StoryProfile* profile) const;

    StorySceneParams params;
    std::vector<StorySwitch> switches;
    std::vector<Orvex::CountedRef<StoryPartPart>> parts;
    int currentSwitch = -1;
    float switchTime = 0.0f;
    std::vector<std::wstring> neededUnlocks;
    std::vector<std::wstring> unlockPostPost, unlockTmpPostPost, unlockPost, unlockTmpPost, unlockPre, unlockTmpPre;
    std::wstring skipPart;
    bool unlockTmp = false;
    float speedMult = 1.0f;

private:
    void readSwitch(Orvex::XMLNode& node, ReadProblems& problems);
    void readParams(Orvex::XMLNode& node, ReadProblems& problems);
    // Links each element to its "RELATIV_TO" element, refusing links that close a cycle.
    void linkParts(std::wstring const& source);

    // ---- playing steps (StoryPart_play.cpp) ----
    // The current switch, or null.
    StorySwitch const* current() const;
};

}  // namespace Solitaire
