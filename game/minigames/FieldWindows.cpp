// The playing-field games' windows and the field's shape.
#include "game/minigames/FieldWindows.h"

#include <cmath>

#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire::minigame {

float frameAspect(Orvex::Texture2DAnimation* picture) {
    Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
    if (!frame) return 1.0f;
    float const width = Orvex::frameSpan(frame->rect.left, frame->rect.right);
    float const height = Orvex::frameSpan(frame->rect.top, frame->rect.bottom);
    return width > 0.0f && height > 0.0f ? width / height : 1.0f;
}

void setFieldAspect(Orvex::GUIWindow& field, float widthByHeight) {
    if (!(widthByHeight > 0.0f) || !std::isfinite(widthByHeight) || !std::isfinite(1.0f / widthByHeight))
        widthByHeight = 1.0f;
    Orvex::GUIRectAxis& aspect = field.getRect().getAspectParams();
    aspect.relX = widthByHeight;
    aspect.relY = 1.0f / widthByHeight;
    field.updateRect(false, false);
}

FieldWindows buildFieldWindows(Minispiel& game, std::wstring const& kind, float widthByHeight, bool withForeground) {
    ClickGameWindows frame(game.getPrefix(), kind);
    frame.lookUp(withForeground);
    Orvex::GUIWindow* field = frame.part(L"SPIELFELD");
    if (!frame.main || !field) return {};
    frame.cloneFrame();
    FieldWindows out{frame.main, frame.foreground, cloneOf(field)};
    setFieldAspect(*out.field, widthByHeight);
    adopt(out.main, out.field);
    frame.addButtons(game, frame.container());
    frame.addForeground();
    return out;
}

}  // namespace Solitaire::minigame
