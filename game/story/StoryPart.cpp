// A story scene without elements or switches: nothing advances, nothing draws.
#include "game/story/StoryPart.h"

namespace Solitaire {

bool StoryPart::update(float const&) { return false; }

void StoryPart::draw(Orvex::GUIWindow&) {}

bool StoryPart::click(float, float) { return false; }

}  // namespace Solitaire
