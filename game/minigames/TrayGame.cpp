// The tray games' shared part: an area's or an item's window and picture.
#include "game/minigames/TrayGame.h"

#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire {

TrayPart::TrayPart(Orvex::XMLNode& node) : Orvex::NamedObject(node) {
    window = minigame::windowFromTemplate(node, L"GUI");
    animation = minigame::animationCopy(node, L"ANIMATION");
}

TrayPart::~TrayPart() {
    if (window) window->release();
    if (animation) animation->release();
}

}  // namespace Solitaire
