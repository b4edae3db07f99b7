// The blowing and ring games' playfield: proportions, colours and picture draws.
#include "game/minigames/PlayfieldPicture.h"

#include <cmath>

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire::minigame {

namespace {

D3DCOLOR channel(double c) {
    if (c >= 1.0) return 0xFFu;
    if (!(c > 0.0)) return 0x00u;
    return static_cast<D3DCOLOR>(c * 255.0);
}

}  // namespace

Orvex::GUIWindow* buildPlayfieldFrame(Minispiel& game, std::wstring const& prefix, std::wstring const& kind,
                                      Orvex::Texture2DAnimation* background, Orvex::GUIWindow*& playfield) {
    playfield = nullptr;
    ClickGameWindows frame(prefix, kind);
    frame.lookUp(false);
    Orvex::GUIWindow* field = frame.part(L"SPIELFELD");
    if (!frame.main || !field) return nullptr;
    frame.cloneFrame();
    playfield = cloneOf(field);
    keepProportions(*playfield, pictureFrame(background));
    if (!adopt(frame.main, playfield)) playfield = nullptr;
    frame.addButtons(game, frame.main);
    return frame.main;
}

RECT pictureFrame(Orvex::Texture2DAnimation* animation) {
    Orvex::AnimationFrame const* frame = animation ? animation->getCurrentFrame() : nullptr;
    return frame ? frame->rect : RECT{0, 0, 1, 1};
}

void keepProportions(Orvex::GUIWindow& window, RECT const& frame) {
    float const w = static_cast<float>(frame.right - frame.left);
    float const h = static_cast<float>(frame.bottom - frame.top);
    if (!(w > 0.0f) || !(h > 0.0f)) return;
    Orvex::GUIRectAxis& aspect = window.getRect().getAspectParams();
    aspect.relX = w / h;
    aspect.relY = h / w;
}

D3DCOLOR packTruncated(D3DXCOLOR const& colour) {
    return (channel(colour.a) << 24) | (channel(colour.r) << 16) | (channel(colour.g) << 8) | channel(colour.b);
}

D3DCOLOR whiteWithAlpha(double alpha) { return (channel(alpha) << 24) | 0x00FFFFFFu; }

bool containsInclusive(Orvex::FRect const& rect, D3DXVECTOR2 const& point) {
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}

void drawFrameInRect(Orvex::Texture2DAnimation* animation, Orvex::FRect const& rect, unsigned char mode,
                     D3DCOLOR colour) {
    Orvex::AnimationFrame const* frame = animation ? animation->getCurrentFrame() : nullptr;
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    if (!frame || !frame->texture || !sprite) return;
    Orvex::FRect const whole(std::trunc(rect.left), std::trunc(rect.top), std::trunc(rect.right),
                             std::trunc(rect.bottom));
    sprite->drawInRect(frame->texture, &frame->rect, whole, mode, mode, colour);
}

void drawFrameInSprite(Orvex::Texture2DAnimation* animation, Orvex::SpriteRect const& rect, D3DCOLOR colour) {
    Orvex::AnimationFrame const* frame = animation ? animation->getCurrentFrame() : nullptr;
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    if (!frame || !sprite) return;
    sprite->drawSpriteRect(frame->texture, &frame->rect, rect, Orvex::SDP_SCALE, Orvex::SDP_SCALE, colour);
}

}  // namespace Solitaire::minigame
