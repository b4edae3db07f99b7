// The constant position track and the factory of both position tracks.
#include "game/story/StoryPosition.h"

#include "game/story/StoryPositionCatmull.h"
#include "game/story/StoryRead.h"

namespace Solitaire {

StoryPosition::StoryPosition(Orvex::XMLNode& node, ReadProblems& problems)
    : rect(readStoryRect(node, StoryRectForm::kPosition, problems)) {}

StoryPosition* StoryPosition::create(Orvex::XMLNode& node, ReadProblems& problems) {
    Orvex::XMLAttribute const* type = node.getAttribute(L"TYPE");
    if (type && type->getString() == L"CATMULL") return new StoryPositionCatmull(node, problems);
    return new StoryPosition(node, problems);
}

D3DXVECTOR4* StoryPosition::getValue(D3DXVECTOR4* out) const {
    *out = rect;
    return out;
}

}  // namespace Solitaire
