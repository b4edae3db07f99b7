// The story manager: reading the story file and choosing the next scene.
#include "game/story/StoryManager.h"

#include <algorithm>

#include "engine/core/CopyBudget.h"
#include "engine/core/Logger.h"
#include "engine/core/Utils.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/SoundManager.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/particles/SolPartikelManager.h"
#include "game/story/StoryPart.h"
#include "game/story/StoryPartPart.h"
#include "game/story/StoryProfile.h"
#include "game/story/StoryRead.h"
#include "engine/render/AnimationFrameBudget.h"

namespace Solitaire {

StoryManager& StoryManager::instance() {
    static StoryManager manager;
    return manager;
}

// The managers the scenes use outlive them (statics end in the reverse order of their making).
StoryManager::StoryManager() {
    Orvex::Texture2DAnimationManager::instance();
    Orvex::SoundManager::getInstance();
    SolPartikelManager::instance();
}

StoryManager::~StoryManager() { clear(); }

void StoryManager::clear() {
    // Taken out of the lists before they are let go (the scenes first, then the templates).
    std::vector<Orvex::CountedRef<StoryPartPart>> templates;
    std::vector<Orvex::CountedRef<StoryPart>> scenes;
    templates.swap(templates_);
    scenes.swap(scenes_);
}

void StoryManager::load(Orvex::XMLNode& root, std::wstring const& source) {
    Orvex::CopyBudget const budget(source);  // elements copy their templates
    Orvex::AnimationFrameBudget const frames(source);  // the animation lists it names
    ReadProblems problems;
    readStoryChildren(root, L"ANIMATIONEN_FILE", kMaxAnimationFiles, problems, [&](Orvex::XMLNode& entry) {
        Orvex::XMLAttribute const* file = entry.getAttribute(L"FILE");
        // The registry reads each file once, however its name is spelt.
        if (file && !Orvex::Texture2DAnimationManager::instance().loadFile(file->getStringCopy()))
            problems.add(L"the animation list \"" + file->getStringCopy() + L"\" could not be read", entry.getLine());
    });
    // The limits hold for everything loaded, as loading again appends.
    if (Orvex::XMLNode* group = root.getChild(L"VORLAGEN", 0))
        readStoryChildren(*group, L"PART_PART", kMaxTemplates - templates_.size(), problems,
                          [&](Orvex::XMLNode& child) { templates_.emplace_back().adopt(new StoryPartPart(child, source)); });
    readStoryChildren(root, L"STORY_PART", kMaxScenes - scenes_.size(), problems,
                      [&](Orvex::XMLNode& child) { scenes_.emplace_back().adopt(new StoryPart(child, source)); });
    problems.log(L"Story file", source, root.getLine());
}

StoryPartPart* StoryManager::findTemplate(std::wstring const& name) const {
    return Orvex::findNamedObject(templates_, name);
}

namespace {

// A scene not yet seen whose needed unlocks the profile has.
bool isReady(StoryPart const& scene, StoryProfile const& profile) {
    if (profile.isUnlocked(scene.getName())) return false;
    return std::all_of(scene.neededUnlocks.begin(), scene.neededUnlocks.end(),
                       [&profile](std::wstring const& name) { return profile.isUnlocked(name); });
}

}  // namespace

bool StoryManager::hasSceneDue(StoryProfile const* profile) const {
    if (!profile) return false;
    // A scene without switches ends as it starts: it does not play.
    return std::any_of(scenes_.begin(), scenes_.end(), [profile](auto const& scene) {
        return isReady(*scene, *profile) && !scene->switches.empty();
    });
}

StoryPart* StoryManager::startNextScene(StoryProfile* profile) {
    if (!profile) return nullptr;
    for (auto const& scene : scenes_) {
        if (!isReady(*scene, *profile)) continue;
        scene->currentSwitch = -1;
        profile->addUnlock(scene->getName(), scene->unlockTmp);
        scene->applyPreUnlocks(profile);
        if (!scene->nextSwitch(0.0f)) return scene.get();
    }
    return nullptr;
}

}  // namespace Solitaire
