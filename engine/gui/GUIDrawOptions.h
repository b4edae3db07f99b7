// A GUI window's draw options ("DRAWOPTIONS"): alpha, modulation colour, layer ("EBENE"),
// activation blend times, the draw-mode pairs of the four layers, the source rectangles that
// code sets, and the texture set. Every key is read over the present values.
#pragma once

#include "engine/core/Types.h"
#include "engine/gui/GUITextureSet.h"
#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

class XMLNode;

// Draw-mode flags of one layer, per axis (SpriteDrawMode bits).
struct GUIDrawType {
    int x = 1;
    int y = 1;

    // "X" and "Y": blank-separated draw-mode words ORed; a present attribute replaces the
    // value (an empty list gives 0).
    void load(XMLNode const& node);
    bool operator==(GUIDrawType const&) const = default;
};

// A source rectangle that applies when its flag is set.
struct GUISourceRect {
    FRect rect;
    bool use = false;
};

class GUIDrawOptions {
public:
    double alpha = 1.0;
    D3DXCOLOR modulateColor{1.0f, 1.0f, 1.0f, 1.0f};
    bool accumulateAlphaFromRoot = true;
    double activeBlend = 0.0;
    double inactiveBlend = 0.0;
    bool playAniOnFocus = false;
    bool crossblend = false;
    bool drawUseFRect = true;
    GUISourceRect normalSource;
    GUIDrawType drawType{1, 1};
    GUIDrawType shapeDrawType{1, 1};
    GUISourceRect backgroundSource;
    GUIDrawType backDrawType{4, 4};
    GUISourceRect foregroundSource;
    GUIDrawType foreDrawType{4, 4};
    // "EBENE": read signed, compared unsigned.
    s32 layer = 0;
    GUITextureSet textures;

    // Reads a "DRAWOPTIONS" element over the present values.
    void load(XMLNode const& node);

    Texture2D*& getTexNormal() { return textures.normal; }
    Texture2D*& getTexPress() { return textures.press; }
    Texture2D*& getTexMark() { return textures.mark; }
    Texture2D*& getTexPressMark() { return textures.pressMark; }
    Texture2D*& getTexDisable() { return textures.disable; }
    Texture2D*& getTexShape() { return textures.shape; }
    Texture2D*& getTexBackground() { return textures.background; }
    Texture2D*& getTexForeground() { return textures.foreground; }
    Texture2DAnimation*& getAniNormal() { return textures.aniNormal; }
    Texture2DAnimation*& getAniMark() { return textures.aniMark; }
    Texture2DAnimation*& getAniBackground() { return textures.aniBackground; }
    Texture2DAnimation*& getAniForeground() { return textures.aniForeground; }
    void setTexNormal(Texture2D* t) { GUITextureSet::assignTexture(textures.normal, t); }
    void setTexMark(Texture2D* t) { GUITextureSet::assignTexture(textures.mark, t); }
    void setTexPressMark(Texture2D* t) { GUITextureSet::assignTexture(textures.pressMark, t); }
    void setTexDisable(Texture2D* t) { GUITextureSet::assignTexture(textures.disable, t); }
    void setTexBackground(Texture2D* t) { GUITextureSet::assignTexture(textures.background, t); }
    void setAniBackground(Texture2DAnimation* a) { GUITextureSet::assignAnimation(textures.aniBackground, a); }
    void setDrawType(int const& x, int const& y) { drawType = {x, y}; }
    void setBackDrawType(int const& x, int const& y) { backDrawType = {x, y}; }
};

// "AARRGGBB" hexadecimal to a colour, each byte / 255.
D3DXCOLOR colorFromARGB(u32 argb);

}  // namespace Orvex
