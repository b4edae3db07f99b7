// Drawing through a window drawer: which layers of the texture set are drawn in which state
// (enabled, highlighted, disabled), with which colour, in which order, and the shape mask the
// stencil pass writes.
#include <cmath>

#include "engine/gui/GUIDrawOptions.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"

namespace Orvex {

namespace {

// A source rectangle as the sprite takes it (the float rectangle truncated toward zero).
RECT asRECT(FRect const& r) {
    auto edge = [](float v) -> LONG {
        if (!(std::fabs(v) < 1.0e9f)) return 0;
        return static_cast<LONG>(v);
    };
    return RECT{edge(r.left), edge(r.top), edge(r.right), edge(r.bottom)};
}

// A layer of a texture or an animation; nothing when neither is set.
bool addLayer(std::vector<GUIDrawLayer>& out, Texture2D* texture, Texture2DAnimation* animation,
              GUISourceRect const* source, GUIDrawType const& type, D3DXCOLOR const& colour) {
    if (!texture && !animation) return false;
    GUIDrawLayer layer;
    layer.texture = animation ? nullptr : texture;
    layer.animation = animation;
    if (!animation && source && source->use) {
        layer.source = asRECT(source->rect);
        layer.hasSource = true;
    }
    layer.modeX = static_cast<u8>(type.x);
    layer.modeY = static_cast<u8>(type.y);
    layer.colour = guiColorToD3D(colour);
    out.push_back(layer);
    return true;
}

}  // namespace

u8 guiColorByte(float c) {
    if (c >= 1.0f) return 255;
    if (!(c > 0.0f)) return 0;
    return static_cast<u8>(c * 255.0f + 0.5f);
}

D3DCOLOR guiColorToD3D(D3DXCOLOR const& c) {
    return (static_cast<D3DCOLOR>(guiColorByte(c.a)) << 24) | (static_cast<D3DCOLOR>(guiColorByte(c.r)) << 16) |
           (static_cast<D3DCOLOR>(guiColorByte(c.g)) << 8) | static_cast<D3DCOLOR>(guiColorByte(c.b));
}

void GUIWindowDrawer::planLayers(GUIDrawOptions const& o, GUIDrawState const& state,
                                 std::vector<GUIDrawLayer>& out) const {
    GUITextureSet const& t = o.textures;
    float const alpha = static_cast<float>(state.alpha);
    D3DXCOLOR const base(color.r * o.modulateColor.r, color.g * o.modulateColor.g, color.b * o.modulateColor.b,
                         color.a * (o.modulateColor.a * alpha));
    float const blend = static_cast<float>(state.blend);

    // The "foreground" layer lies beneath the state layer; its animation uses the background
    // draw modes (kept as the data expects it).
    if (t.aniForeground) addLayer(out, nullptr, t.aniForeground, nullptr, o.backDrawType, base);
    else addLayer(out, t.foreground, nullptr, &o.foregroundSource, o.foreDrawType, base);

    if (state.enabledInTree) {
        float const an = o.crossblend ? base.a * (1.0f - blend) : base.a;
        if (an != 0.0f)
            addLayer(out, t.normal, t.aniNormal, &o.normalSource, o.drawType, D3DXCOLOR(base.r, base.g, base.b, an));
        float const am = base.a * blend;
        if (am != 0.0f)
            addLayer(out, t.mark, t.aniMark, &o.normalSource, o.drawType, D3DXCOLOR(base.r, base.g, base.b, am));
    } else if (t.disable) {
        addLayer(out, t.disable, nullptr, &o.normalSource, o.drawType, base);
    } else {
        addLayer(out, t.normal, t.aniNormal, &o.normalSource, o.drawType, base);
    }

    if (t.aniBackground) addLayer(out, nullptr, t.aniBackground, nullptr, o.backDrawType, base);
    else addLayer(out, t.background, nullptr, &o.backgroundSource, o.backDrawType, base);
}

void GUIWindowDrawer::submitLayers(BaseSprite& sprite, std::vector<GUIDrawLayer> const& layers,
                                   FRect const& rect) const {
    SpriteRect const place = SpriteRect::fromFRect(rect, rotation, rotationCentre, SpriteRect::kCentreRelative);
    for (GUIDrawLayer const& layer : layers) {
        if (layer.animation)
            layer.animation->buildFrameQuads(sprite, place, layer.modeX, layer.modeY, layer.colour);
        else if (layer.texture)
            sprite.drawSpriteRect(layer.texture, layer.hasSource ? &layer.source : nullptr, place, layer.modeX,
                                  layer.modeY, layer.colour);
    }
}

void GUIWindowDrawer::draw(GUIWindow& window, FRect const& rect) {
    BaseSprite* sprite = guiSprite();
    if (!sprite) return;
    GUIWindow const* blendFrom = window.getOptions().activateParent && window.getParent() ? window.getParent() : &window;
    GUIDrawState const state{window.getAccumulatedAlpha(), window.isEnabledInTree(),
                             blendFrom->getBlendState().activationBlend};
    // One list for every window of a frame: drawing does not recurse through here.
    static std::vector<GUIDrawLayer> layers;
    layers.clear();
    planLayers(window.getDrawOptions(), state, layers);
    submitLayers(*sprite, layers, rect);
}

void GUIWindowDrawer::drawShape(GUIWindow& window, FRect const& rect) {
    GUIDrawOptions const& o = window.getDrawOptions();
    if (!o.textures.shape) {
        draw(window, rect);
        return;
    }
    BaseSprite* sprite = guiSprite();
    if (!sprite) return;
    D3DXCOLOR const c(o.modulateColor.r, o.modulateColor.g, o.modulateColor.b,
                      static_cast<float>(o.modulateColor.a * window.getAccumulatedAlpha()));
    SpriteRect const place = SpriteRect::fromFRect(rect, rotation, rotationCentre, SpriteRect::kCentreRelative);
    sprite->drawSpriteRect(o.textures.shape, nullptr, place, static_cast<u8>(o.shapeDrawType.x),
                           static_cast<u8>(o.shapeDrawType.y), guiColorToD3D(c));
}

}  // namespace Orvex
