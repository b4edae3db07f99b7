// The tray games' shared part: an area's or an item's window and picture.
#include "game/minigames/TrayGame.h"

#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire {

TrayPart::TrayPart(Orvex::XMLNode& node) : Orvex::NamedObject(node) {
    window.adopt(minigame::windowFromTemplate(node, L"GUI"));
    animation.adopt(minigame::animationCopy(node, L"ANIMATION"));
}

// Out of line: the animation's class is complete here.
TrayPart::~TrayPart() = default;

}  // namespace Solitaire
