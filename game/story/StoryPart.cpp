// A story scene without elements or switches: nothing advances, nothing draws; its unlock lists
// go into the profile.
#include "game/story/StoryPart.h"

#include "game/story/StoryProfile.h"

namespace Solitaire {

bool StoryPart::update(float const&) { return false; }

void StoryPart::draw(Orvex::GUIWindow&) {}

bool StoryPart::click(float, float) { return false; }

namespace {

void addUnlocks(StoryProfile* profile, std::vector<std::wstring> const& lasting, std::vector<std::wstring> const& temporary) {
    if (!profile) return;
    for (std::wstring const& name : lasting) profile->addUnlock(name, false);
    for (std::wstring const& name : temporary) profile->addUnlock(name, true);
}

}  // namespace

void StoryPart::applyPostUnlocks(StoryProfile* profile) const { addUnlocks(profile, unlockPost, unlockTmpPost); }

void StoryPart::applyPostPostUnlocks(StoryProfile* profile) const {
    addUnlocks(profile, unlockPostPost, unlockTmpPostPost);
}

}  // namespace Solitaire
