// Window movers ("GUI_MOVER" of a window): a wandering offset added to the window's screen
// rectangle. The offset is (x pixels, y pixels, x and y fractions of the parent's size); it runs
// along straight legs (GUIWindowMover, an Interpolation) or a Catmull-Rom spline through the
// leg ends (GUIWindowMoverCatmull), turning by a random angle after each leg.
//
// Keys: "DISTANCE", "DISTANCE_REL", "WINKEL_DELTA", "WINKEL_START", "TIME_FAKTOR" (one value or
// a range "a b"), "SCALE" (one value for both axes, or x y).
#pragma once

#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/Interpolation.h"
#include "engine/render/FRect.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {

class XMLNode;

class GUIWindowMover {
public:
    Interpolation<D3DXVECTOR4, float> interpolation;
    float angle = 0.0f;
    GUIFloatRange distance{0.0f, 0.0f};
    GUIFloatRange distanceRel{0.0f, 0.0f};
    GUIFloatRange turn{135.0f, 225.0f};
    GUIFloatRange startAngle{1.0f, 1.0f};
    GUIFloatRange timeFactor{1.0f, 1.0f};
    D3DXVECTOR2 scale{1.0f, 1.0f};

    explicit GUIWindowMover(XMLNode const& node);
    // A new angle, speed and first leg, starting from the copied leg's start offset.
    GUIWindowMover(GUIWindowMover const& other);
    GUIWindowMover& operator=(GUIWindowMover const&) = delete;
    virtual ~GUIWindowMover() = default;

    virtual GUIWindowMover* clone() const;
    // Moves rect by the current offset; reference is the parent's rectangle.
    virtual void apply(FRect& rect, FRect const& reference);
    virtual void update(float const& dt);

    // The current offset (x, y, fx, fy).
    virtual D3DXVECTOR4 getOffset() const { return interpolation.current; }

protected:
    // (-d sin a, d cos a, -e sin a, e cos a) for picks d, e at the present angle.
    D3DXVECTOR4 nextOffset() const;
    void applyOffset(FRect& rect, FRect const& reference, D3DXVECTOR4 const& offset) const;

private:
    void readKeys(XMLNode const& node);
    void startFirstLeg(D3DXVECTOR4 const& from);
};

class GUIWindowMoverCatmull : public GUIWindowMover {
public:
    D3DXVECTOR4 points[4];
    float t = 0.0f;
    float speed = 1.0f;

    explicit GUIWindowMoverCatmull(XMLNode const& node);
    GUIWindowMoverCatmull(GUIWindowMoverCatmull const& other);
    GUIWindowMover* clone() const override;
    void apply(FRect& rect, FRect const& reference) override;
    void update(float const& dt) override;
    D3DXVECTOR4 getOffset() const override;
};

// "TYPE" "CATMULL" makes the smooth mover, anything else the linear one. Owned by the caller.
GUIWindowMover* createWindowMover(XMLNode const& node);

}  // namespace Orvex
