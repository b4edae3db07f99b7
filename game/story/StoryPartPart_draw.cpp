// Story elements: the screen rectangle and drawing into the story window (from the window's
// self-drawn signal, inside the GUI's drawing, through the GUI's sprite batcher).
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/FontStyle.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "game/story/StoryAnimation.h"
#include "game/story/StoryPartPart.h"

namespace Solitaire {

namespace {

// "RELATIV_TO" links followed at most (the scene refuses cycles; this bounds a chain built in code).
constexpr unsigned kMaxRelativeDepth = 256;
// Centred both ways, words broken (DT_CENTER | DT_VCENTER | DT_WORDBREAK).
constexpr Orvex::u32 kTextFlags = 0x15;

// base subdivided by fractions (left, top, right, bottom).
Orvex::FRect subdivide(Orvex::FRect const& base, D3DXVECTOR4 const& f) {
    float const w = base.right - base.left;
    float const h = base.bottom - base.top;
    return Orvex::FRect(base.left + w * f.x, base.top + h * f.y, base.left + w * f.z, base.top + h * f.w);
}

// Integer edges, truncated toward zero (and kept in range).
RECT toRect(Orvex::FRect const& r) {
    return RECT{Orvex::frameEdge(r.left), Orvex::frameEdge(r.top), Orvex::frameEdge(r.right), Orvex::frameEdge(r.bottom)};
}

Orvex::FRect screenRectAt(StoryPartPart const& element, Orvex::FRect const& windowRect, unsigned depth) {
    Orvex::FRect const base = element.relativeTo && depth < kMaxRelativeDepth
                                  ? screenRectAt(*element.relativeTo, windowRect, depth + 1)
                                  : windowRect;
    return subdivide(base, element.getPositionValue());
}

D3DXCOLOR times(D3DXCOLOR const& a, D3DXCOLOR const& b) { return D3DXCOLOR(a.r * b.r, a.g * b.g, a.b * b.b, a.a * b.a); }

}  // namespace

Orvex::FRect StoryPartPart::getScreenRect(Orvex::FRect const& window) const { return screenRectAt(*this, window, 0); }

DWORD StoryPartPart::packedColour(double windowAlpha) const {
    D3DXCOLOR c = colorBlend.current;
    c.a = static_cast<float>(c.a * windowAlpha);
    return static_cast<DWORD>(c);
}

void StoryPartPart::draw(Orvex::GUIWindow& window) {
    windowRect = window.getScreenRect();
    if (!visible) return;
    screenRect = getScreenRect(windowRect);
    double const alpha = window.getAccumulatedAlpha();
    DWORD const colour = packedColour(alpha);
    if (Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite()) {
        if (animation) {
            Orvex::AnimationFrame const* frame = animation->getCurrentFrame();
            if (frame && frame->texture) {
                Orvex::FRect const whole = Orvex::FRect::fromRECT(frame->rect);
                RECT const part = toRect(subdivide(whole, texRectBlend.current));
                sprite->drawInRect(frame->texture, &part, screenRect, static_cast<Orvex::u8>(drawModeX),
                                   static_cast<Orvex::u8>(drawModeY), colour);
            }
        }
        for (auto const& record : animations) {
            if (!record->animation) continue;
            Orvex::AnimationFrame const* frame = record->animation->getCurrentFrame();
            if (!frame || !frame->texture) continue;
            sprite->drawInRect(frame->texture, &frame->rect, subdivide(screenRect, record->rect),
                               static_cast<Orvex::u8>(record->drawModeX), static_cast<Orvex::u8>(record->drawModeY),
                               colour);
        }
    }
    if (textId.empty()) return;
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    Orvex::D3DXFontInterface* fonts = engine ? engine->getFontManager() : nullptr;
    if (!fonts || !engine->getLanguage()) return;
    Orvex::FontStyle const* found = fonts->findFontStyle(fontStyle);
    if (!found) return;
    // The pictures queued in the GUI's sprite go first: the text lies over its panel.
    Orvex::D3DXFontInterface::setCurrentSprite(Orvex::GUISystem::instance().getSprite());
    D3DXCOLOR tint = colorBlend.current;
    tint.a = static_cast<float>(tint.a * alpha);
    Orvex::FontStyle style(*found);
    style.colorVG = times(style.colorVG, tint);
    style.colorHG = times(style.colorHG, tint);
    RECT text = toRect(subdivide(screenRect, textRect));
    fonts->drawText(fontName, engine->getLanguage()->getText(textId), text, kTextFlags, style);
}

}  // namespace Solitaire
