// Window drawers ("DRAWER" of a window): the rotation, rotation centre and colour with which a
// window is drawn, and the variants that animate them endlessly: a colour wandering between two
// colour ranges (linear legs, or a Catmull-Rom spline through random picks), an angle swinging
// between two ranges or spinning at a constant speed (likewise in two variants). Random picks
// use randomFloat. draw and drawShape (the window's texture layers, its stencil shape) are the
// same for every variant.
//
// Keys: base "ROTATION", "ROT_CENTER_REL" (1 to 4 values), "COLOR" (AARRGGBB); colour drawers
// "COLOR_MIN", "COLOR_MAX" (one or two colours), "SPEED"; rotation drawers "ROTATION_MIN",
// "ROTATION_MAX" (one or two values), "ROTATION_SPEED", "MODE" ("STANDARD", "CONST_ROT_SPEED").
//
// A number beyond kMaxKeyValue (or none at all) keeps the key's default, and so does a centre
// whose divisor is 0; a drawer's refusals make one log line (createWindowDrawer). A range value
// beyond it reads as 0. A constant spin keeps its angle in [0, 360) whatever the step (wrapped
// with fmod).
//
// GUIWindowDrawer.cpp: keys, factory, variants; GUIWindowDrawer_draw.cpp: drawing.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Types.h"
#include "engine/gui/Interpolation.h"
#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9.h"

namespace Orvex {

class BaseSprite;
class GUIDrawOptions;
class GUIWindow;
class ReadProblems;
class Texture2D;
class Texture2DAnimation;
class XMLNode;

// A range key: one value v ([v, v]) or two values a b ([a, b]).
struct GUIFloatRange {
    float lo = 0.0f;
    float hi = 0.0f;

    // Keeps the present range when the text holds no value.
    void parse(std::wstring const& text);
    float pick() const;
};

struct GUIColorRange {
    D3DXCOLOR lo{1.0f, 1.0f, 1.0f, 1.0f};
    D3DXCOLOR hi{1.0f, 1.0f, 1.0f, 1.0f};

    // One or two AARRGGBB colours.
    void parse(std::wstring const& text);
    // lo + (hi - lo) x r, one random r for all four channels.
    D3DXCOLOR pick() const;
};

// One textured layer of a window as the drawer submits it.
struct GUIDrawLayer {
    Texture2D* texture = nullptr;
    Texture2DAnimation* animation = nullptr;
    RECT source{0, 0, 0, 0};
    bool hasSource = false;
    u8 modeX = 1;
    u8 modeY = 1;
    D3DCOLOR colour = 0;
};

// What the layers of a window depend on.
struct GUIDrawState {
    double alpha = 1.0;          // accumulated alpha
    bool enabledInTree = true;   // the window and every ancestor "ENABLED"
    double blend = 0.0;          // activation blend 0 .. 1
};

// The GUI system's sprite, through which every window draws (the device's D3DX sprite until
// one is set).
BaseSprite* guiSprite();

// A colour channel to a byte: 255 from 1.0 up, 0 from 0.0 down (NaN too), else c x 255 + 0.5
// truncated.
u8 guiColorByte(float c);
D3DCOLOR guiColorToD3D(D3DXCOLOR const& c);

class GUIWindowDrawer {
public:
    float rotation = 0.0f;
    D3DXVECTOR2 rotationCentre{0.5f, 0.5f};
    D3DXCOLOR color{1.0f, 1.0f, 1.0f, 1.0f};

    GUIWindowDrawer() = default;
    GUIWindowDrawer(XMLNode const& node, ReadProblems& problems);
    GUIWindowDrawer(GUIWindowDrawer const&) = default;
    GUIWindowDrawer& operator=(GUIWindowDrawer const&) = delete;
    virtual ~GUIWindowDrawer() = default;

    virtual GUIWindowDrawer* clone() const;
    // The window's layers into rect through the GUI sprite.
    virtual void draw(GUIWindow& window, FRect const& rect);
    // The window's shape mask ("TEX_SHAPE", else its look) into rect.
    virtual void drawShape(GUIWindow& window, FRect const& rect);
    virtual void update(float const& /*dt*/) {}
    virtual D3DXCOLOR getColor() const { return color; }

    // The layers in submission order: lower ("ANI_FOREGROUND" / "TEX_FOREGROUND"), the state
    // layers (normal and mark, or the disabled look), upper ("ANI_BACKGROUND" /
    // "TEX_BACKGROUND"). Layers without texture or with alpha exactly 0 are left out.
    void planLayers(GUIDrawOptions const& options, GUIDrawState const& state, std::vector<GUIDrawLayer>& out) const;
    // Submits planned layers placed by rect, this drawer's rotation and centre.
    void submitLayers(BaseSprite& sprite, std::vector<GUIDrawLayer> const& layers, FRect const& rect) const;

protected:
    void loadBase(XMLNode const& node, ReadProblems& problems);
};

class GUIWindowDrawerColor : public GUIWindowDrawer {
public:
    GUIColorRange minRange;
    GUIColorRange maxRange;
    Interpolation<D3DXCOLOR, float> interpolation;
    bool nextRange = false;

    GUIWindowDrawerColor(XMLNode const& node, ReadProblems& problems);
    // Starts a new leg at once.
    GUIWindowDrawerColor(GUIWindowDrawerColor const& other);
    GUIWindowDrawer* clone() const override;
    void update(float const& dt) override;

private:
    void startLeg();
};

class GUIWindowDrawerColorCatmull : public GUIWindowDrawer {
public:
    bool nextRange = false;
    D3DXCOLOR points[4];
    GUIColorRange minRange;
    GUIColorRange maxRange;
    float t = 0.0f;
    float speed = 1.0f;

    GUIWindowDrawerColorCatmull(XMLNode const& node, ReadProblems& problems);
    GUIWindowDrawerColorCatmull(GUIWindowDrawerColorCatmull const&) = default;
    GUIWindowDrawer* clone() const override;
    void update(float const& dt) override;
};

class GUIWindowDrawerRotation : public GUIWindowDrawer {
public:
    static constexpr int kStandard = 0;
    static constexpr int kConstRotSpeed = 1;

    GUIFloatRange minRange;
    GUIFloatRange maxRange;
    Interpolation<float, float> interpolation;
    bool nextRange = false;
    int mode = kStandard;

    GUIWindowDrawerRotation(XMLNode const& node, ReadProblems& problems);
    // In "STANDARD" mode starts a new leg at once.
    GUIWindowDrawerRotation(GUIWindowDrawerRotation const& other);
    GUIWindowDrawer* clone() const override;
    void update(float const& dt) override;

private:
    float pickAngle();
    void startLeg();
};

class GUIWindowDrawerRotationCatmull : public GUIWindowDrawer {
public:
    double rangeScale = 1.0;
    GUIFloatRange minRange;
    GUIFloatRange maxRange;
    bool nextRange = false;
    float points[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float t = 0.0f;
    float speed = 1.0f;

    GUIWindowDrawerRotationCatmull(XMLNode const& node, ReadProblems& problems);
    GUIWindowDrawerRotationCatmull(GUIWindowDrawerRotationCatmull const&) = default;
    GUIWindowDrawer* clone() const override;
    void update(float const& dt) override;

private:
    float pickAngle();
};

// By "TYPE": "ROTATION", "ROTATION_CATMULL", "COLOR", "COLOR_CATMULL"; anything else the plain
// drawer. Owned by the caller.
GUIWindowDrawer* createWindowDrawer(XMLNode const& node);

// Uniform Catmull-Rom between p1 and p2 at t.
float catmullRom(float p0, float p1, float p2, float p3, float t);

// One frame of a spline through picked points: t advances by speed x dt; on reaching 1 the
// points shift down, the last becomes pick() and t restarts at 0. A step that would move t
// below 0 or is not a number (a negative speed from data, a NaN frame time) is ignored: the
// spline would leave its points and run off to infinity.
template <class T, class Pick>
void stepSpline(T (&points)[4], float& t, float speed, float dt, Pick&& pick) {
    float const next = t + speed * dt;
    if (!(next >= 0.0f)) return;
    t = next;
    if (t < 1.0f) return;
    points[0] = points[1];
    points[1] = points[2];
    points[2] = points[3];
    points[3] = pick();
    t = 0.0f;
}

// The next colour of a colour drawer: from min when next is set, else from max; next flips.
D3DXCOLOR pickColorRange(bool& next, GUIColorRange const& minRange, GUIColorRange const& maxRange);

}  // namespace Orvex
