// Pictures on a playing field: places, drawing and the pointer.
#include "game/minigames/FieldPictures.h"

#include "engine/gui/GUIRect.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire::minigame {

Orvex::GUIWindow* addField(Orvex::GUIWindow* main, Orvex::GUIWindow* fieldTemplate, float width, float height) {
    if (!main || !fieldTemplate) return nullptr;
    Orvex::GUIWindow* field = cloneOf(fieldTemplate);
    Orvex::GUIRectAxis& aspect = field->getRect().getAspectParams();
    aspect.relX = width / height;
    aspect.relY = height / width;
    return adopt(main, field) ? field : nullptr;
}

bool buildBoard(Minispiel& game, std::wstring const& prefix, std::wstring const& kind, float width, float height,
                Orvex::CountedRef<Orvex::GUIWindow>& main, Orvex::GUIWindow*& field) {
    ClickGameWindows frame(prefix, kind);
    frame.lookUp(false);
    Orvex::GUIWindow* fieldTemplate = frame.part(L"SPIELFELD");
    if (!frame.main || !fieldTemplate) return false;
    frame.cloneFrame();
    main.adopt(frame.main);
    field = addField(main.get(), fieldTemplate, width, height);
    frame.addButtons(game, main.get());
    return true;
}

Orvex::FRect fieldRect(Orvex::GUIWindow const* field) { return field ? field->getScreenRect() : Orvex::FRect(); }

Orvex::SpriteRect fieldSpriteRect(Orvex::FRect const& field, float x, float y, float w, float h) {
    float const width = field.right - field.left;
    float const height = field.bottom - field.top;
    return Orvex::SpriteRect(D3DXVECTOR2(field.left + width * x, field.top + height * y),
                             D3DXVECTOR2(width * w, height * h), 0.0f, D3DXVECTOR2(0.5f, 0.5f),
                             Orvex::SpriteRect::kCentreRelative);
}

void drawPicture(Orvex::Texture2DAnimation* picture, Orvex::SpriteRect const& rect, D3DXCOLOR const& colour) {
    Orvex::AnimationFrame const* frame = picture ? picture->getCurrentFrame() : nullptr;
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    if (!frame || !frame->texture || !sprite) return;
    sprite->drawSpriteRect(frame->texture, &frame->rect, rect, Orvex::SDP_SCALE, Orvex::SDP_SCALE,
                           static_cast<D3DCOLOR>(colour));
}

D3DXVECTOR2 pointerPosition() {
    Orvex::DirectInputInterface const& input = Orvex::DirectInputInterface::getInstance();
    return D3DXVECTOR2(input.mouseX, input.mouseY);
}

float fieldAlpha(Orvex::GUIWindow const& field) { return static_cast<float>(field.getAccumulatedAlpha()); }

}  // namespace Solitaire::minigame
