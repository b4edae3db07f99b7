// The constant colour track and the factory of both colour tracks.
#include "game/story/StoryColor.h"

#include "game/story/StoryColorCatmull.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

StoryColor::StoryColor(Orvex::XMLNode& node, ReadProblems& problems) {
    (void)problems;
    readStoryColour(node, L"COLOR", color);
}

StoryColor* StoryColor::create(Orvex::XMLNode& node, ReadProblems& problems) {
    Orvex::XMLAttribute const* type = node.getAttribute(L"TYPE");
    if (type && type->getString() == L"CATMULL") return new StoryColorCatmull(node, problems);
    return new StoryColor(node, problems);
}

D3DXCOLOR* StoryColor::getValue(D3DXCOLOR* out) const {
    *out = color;
    return out;
}

}  // namespace Solitaire
