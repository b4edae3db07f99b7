// The picture games' field: its proportions, boxes and pictures.
#include "game/minigames/FieldDrawing.h"

#include "engine/gui/GUIRect.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"

namespace Solitaire::minigame {

void setFieldAspect(Orvex::GUIWindow& field, float width, float height) {
    if (!(width > 0.0f) || !(height > 0.0f)) width = height = 1.0f;
    Orvex::GUIRectAxis& aspect = field.getRect().getAspectParams();
    aspect.relX = width / height;
    aspect.relY = height / width;
}

Orvex::SpriteRect boxIn(Orvex::FRect const& rect, float x, float y, float w, float h, float degrees) {
    float const width = rect.right - rect.left;
    float const height = rect.bottom - rect.top;
    return Orvex::SpriteRect(D3DXVECTOR2(rect.left + x * width, rect.top + y * height),
                             D3DXVECTOR2(w * width, h * height), degrees, D3DXVECTOR2(0.5f, 0.5f),
                             Orvex::SpriteRect::kCentreRelative);
}

D3DCOLOR whiteWithRoundedAlpha(double alpha) {
    return static_cast<D3DCOLOR>(D3DXCOLOR(1.0f, 1.0f, 1.0f, static_cast<float>(alpha)));
}

void drawPicture(Orvex::Texture2DAnimation* picture, RECT const* source, Orvex::SpriteRect const& box,
                 D3DCOLOR colour) {
    Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    if (!frame || !frame->texture || !sprite) return;
    sprite->drawSpriteRect(frame->texture, source ? source : &frame->rect, box, Orvex::SDP_SCALE, Orvex::SDP_SCALE,
                           colour);
}

}  // namespace Solitaire::minigame
