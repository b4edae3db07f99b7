// The story manager: the scenes and element templates of the story file "data\Story\Story.str",
// and the music requests their switches make. The game object loads the file once at start-up
// and connects the four signals: playMusic with a track, stopMusic, startStandardMusic (the
// game's own track for its screen) and stopStandardMusic.
//
// The file: "ANIMATIONEN_FILE" entries (attribute "FILE": animation lists for the registry, each
// file loaded once by its identity, whatever the spelling of its name), the first "VORLAGEN" (its "PART_PART" children are element templates, found
// by "VORLAGE" as far as the list is built), then the "STORY_PART" scenes in order. Loading
// again appends. At most kMaxScenes scenes, kMaxTemplates templates and kMaxAnimationFiles
// animation lists are read; the rest are left out with one log line.
//
// Choosing the next scene for a profile (startNextScene): the first scene, in file order, whose
// name the profile has not unlocked and whose needed unlocks it has all. Starting it records its
// name (temporarily with "UNLOCK_TMP") and its PRE unlocks, then puts switch 0 in force at once;
// a scene without switches has thereby ended, and the next is tried.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "signals/sigslot.h"

namespace Orvex {
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class StoryPart;
class StoryPartPart;
class StoryProfile;

class StoryManager {
public:
    static constexpr std::size_t kMaxScenes = 1024;
    static constexpr std::size_t kMaxTemplates = 1024;
    static constexpr std::size_t kMaxAnimationFiles = 64;
    static constexpr wchar_t const* kFileName = L"data\\Story\\Story.str";

    static StoryManager& instance();

    // The story file's root node; source names the file in log lines.
    void load(Orvex::XMLNode& root, std::wstring const& source = kFileName);
    // The first template of exactly that name, or null.
    StoryPartPart* findTemplate(std::wstring const& name) const;
    // The scene that now plays for the profile, or null (no profile, or no scene due).
    StoryPart* startNextScene(StoryProfile* profile);
    // Whether startNextScene would start a scene for the profile now (nothing is recorded).
    bool hasSceneDue(StoryProfile const* profile) const;
    std::vector<Orvex::CountedRef<StoryPart>> const& getScenes() const { return scenes_; }
    std::vector<Orvex::CountedRef<StoryPartPart>> const& getTemplates() const { return templates_; }
    // Releases every scene and template (tests; a new story file).
    void clear();

    // Signals, in this order.
    sigslot::signal1<std::wstring const&> playMusic;
    sigslot::signal0<> stopMusic;
    sigslot::signal0<> startStandardMusic;
    sigslot::signal0<> stopStandardMusic;

    StoryManager(StoryManager const&) = delete;
    StoryManager& operator=(StoryManager const&) = delete;

private:
    StoryManager();
    ~StoryManager();

    std::vector<Orvex::CountedRef<StoryPart>> scenes_;
    std::vector<Orvex::CountedRef<StoryPartPart>> templates_;
};

}  // namespace Solitaire
