// The GUI window's state blending (the state of the moment between two goals: rectangle,
// options, draw options with their texture switching modes) and its per-frame update (goal
// track, movers, drawer, frame animations, timers, activation blend, children).
#include <cmath>

#include "engine/core/Utils.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/GUIWindowMover.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/render/Texture2DAnimation.h"

namespace Orvex {

namespace {

template <class T>
T const& beforeOrAfter(double c, T const& start, T const& goal) {
    return c <= 0.5 ? start : goal;
}

void lerpAxis(GUIRectAxis& out, GUIRectAxis const& a, GUIRectAxis const& b, double c) {
    float const t = static_cast<float>(c);
    out.relX = lerp(a.relX, b.relX, t);
    out.relY = lerp(a.relY, b.relY, t);
    out.offX = lerp(a.offX, b.offX, t);
    out.offY = lerp(a.offY, b.offY, t);
    out.screenX = lerp(a.screenX, b.screenX, t);
    out.screenY = lerp(a.screenY, b.screenY, t);
}

// Which record a texture-switching mode takes a field from at curve c: 0 start, 1 goal, 2 base.
enum Source { kFromStart, kFromGoal, kFromBase };

Source blendSourceOf(int mode, double c) {
    bool const early = c <= 0.5;
    switch (mode) {
        case GUIAnimationsGoal::kStartGoal:
            return early ? kFromStart : kFromGoal;
        case GUIAnimationsGoal::kStaticGoal:
            return early ? kFromBase : kFromGoal;
        case GUIAnimationsGoal::kStartStatic:
            return early ? kFromStart : kFromBase;
        default:
            return kFromBase;
    }
}

GUIDrawOptions const& pickRecord(Source source, GUIDrawOptions const& start, GUIDrawOptions const& goal,
                                 GUIDrawOptions const& base) {
    return source == kFromStart ? start : (source == kFromGoal ? goal : base);
}

// The look fields (the window's own textures and how they are drawn) from `from`.
void takeLook(GUIDrawOptions& out, GUIDrawOptions const& from) {
    if (&out == &from) return;
    shareLookTextures(out.textures, from.textures);
    out.crossblend = from.crossblend;
    out.playAniOnFocus = from.playAniOnFocus;
    out.drawUseFRect = from.drawUseFRect;
    out.drawType = from.drawType;
    out.shapeDrawType = from.shapeDrawType;
    out.normalSource = from.normalSource;
}

// The background and foreground layers from `from`.
void takeLayers(GUIDrawOptions& out, GUIDrawOptions const& from) {
    if (&out == &from) return;
    GUITextureSet& t = out.textures;
    GUITextureSet const& f = from.textures;
    GUITextureSet::assignTexture(t.background, f.background);
    GUITextureSet::assignTexture(t.foreground, f.foreground);
    GUITextureSet::assignAnimation(t.aniBackground, f.aniBackground);
    GUITextureSet::assignAnimation(t.aniForeground, f.aniForeground);
    out.backDrawType = from.backDrawType;
    out.foreDrawType = from.foreDrawType;
}

// Per flag: the start's while c < 0.5, the goal's while c > 0.5, both at exactly 0.5.
bool switchFlag(bool start, bool goal, double c) {
    if (c < 0.5) return start;
    if (c > 0.5) return goal;
    return start && goal;
}

}  // namespace

GUIRect GUIWindow::blendRect(GUIRect const& start, GUIRect const& goal, GUIRect const& base, double c, int mode) {
    GUIRect out = base;
    GUIRect const& shape = c < 0.5 ? start : goal;
    out.xAspectMode = shape.xAspectMode;
    out.yAspectMode = shape.yAspectMode;
    out.anchor = shape.anchor;
    if (mode & GUIAnimationsGoal::kRectPosition) lerpAxis(out.position, start.position, goal.position, c);
    if (mode & GUIAnimationsGoal::kRectSize) lerpAxis(out.size, start.size, goal.size, c);
    if (mode & GUIAnimationsGoal::kRectAspect) lerpAxis(out.aspect, start.aspect, goal.aspect, c);
    return out;
}

GUIWindowOptions GUIWindow::blendOptions(GUIWindowOptions const& start, GUIWindowOptions const& goal,
                                         GUIWindowOptions const& base, double c) {
    GUIWindowOptions out = base;
    if (c > 0.0 && c < 1.0) {
        out.visible = start.visible || goal.visible;
        out.useTextureCheck = start.useTextureCheck || goal.useTextureCheck;
        GUIWindowOptions const& half = c < 0.5 ? start : goal;
        out.enabled = half.enabled;
        out.inputIgnore = half.inputIgnore;
        out.textureCheckValue = (c < 0.6 ? start : goal).textureCheckValue;
        out.drawSubwindows = start.drawSubwindows && goal.drawSubwindows;
        out.activateParent = start.activateParent && goal.activateParent;
        out.canBringParentToFront = start.canBringParentToFront && goal.canBringParentToFront;
        out.canBringToFront = start.canBringToFront && goal.canBringToFront;
        out.mouseMove = start.mouseMove && goal.mouseMove;
        out.moveParent = start.moveParent && goal.moveParent;
        out.drawInClientOnly = start.drawInClientOnly && goal.drawInClientOnly;
        out.usableForLayoutManager = start.usableForLayoutManager && goal.usableForLayoutManager;
        out.inputToParent = start.inputToParent && goal.inputToParent;
        return out;
    }
    GUIWindowOptions const& end = c > 0.0 ? goal : start;
    out.visible = end.visible;
    out.useTextureCheck = end.useTextureCheck;
    out.enabled = end.enabled;
    out.inputIgnore = end.inputIgnore;
    out.textureCheckValue = end.textureCheckValue;
    out.drawSubwindows = end.drawSubwindows;
    out.activateParent = end.activateParent;
    out.canBringParentToFront = end.canBringParentToFront;
    out.canBringToFront = end.canBringToFront;
    out.mouseMove = end.mouseMove;
    out.moveParent = end.moveParent;
    out.drawInClientOnly = end.drawInClientOnly;
    out.usableForLayoutManager = end.usableForLayoutManager;
    out.inputToParent = end.inputToParent;
    return out;
}

GUIDrawOptions GUIWindow::blendDrawOptions(GUIDrawOptions const& start, GUIDrawOptions const& goal,
                                           GUIDrawOptions const& base, double c, int lookMode, int layerMode) {
    GUIDrawOptions out = base;
    out.alpha = start.alpha + (goal.alpha - start.alpha) * c;
    out.activeBlend = start.activeBlend + (goal.activeBlend - start.activeBlend) * c;
    out.inactiveBlend = start.inactiveBlend + (goal.inactiveBlend - start.inactiveBlend) * c;
    out.modulateColor = lerp(start.modulateColor, goal.modulateColor, static_cast<float>(c));
    // In double and clamped to the range of the layer (a NaN curve keeps the start's).
    double const layer = static_cast<double>(start.layer) + (static_cast<double>(goal.layer) - start.layer) * c;
    out.layer = std::isfinite(layer) ? static_cast<s32>(std::fmax(-2147483648.0, std::fmin(2147483647.0, layer)))
                                     : start.layer;
    out.accumulateAlphaFromRoot = c > 0.5 ? goal.accumulateAlphaFromRoot : start.accumulateAlphaFromRoot;
    takeLook(out, pickRecord(blendSourceOf(lookMode, c), start, goal, base));
    takeLayers(out, pickRecord(blendSourceOf(layerMode, c), start, goal, base));
    return out;
}

GUIAnimationsGoal GUIWindow::blendState(GUIAnimationsGoal const& start, GUIAnimationsGoal const& goal,
                                        GUIAnimationsGoal const& base, GUIAnimationsGoal const& live, double c) {
    GUIAnimationsGoal out;
    GUIAnimationsGoal const& side = beforeOrAfter(c, start, goal);
    out.name = side.name;
    out.rectMode = side.rectMode;
    out.lookMode = side.lookMode;
    out.layerMode = side.layerMode;
    out.overshootPercent = side.overshootPercent;
    out.overshootTime = side.overshootTime;
    out.overshootSplit = side.overshootSplit;

    if (!start.interpolateRects && !goal.interpolateRects)
        out.rect = live.rect;
    else if (start.interpolateRects != goal.interpolateRects)
        out.rect = blendRect(live.rect, (start.interpolateRects ? start : goal).rect, live.rect, 1.0, out.rectMode);
    else
        out.rect = blendRect(start.rect, goal.rect, live.rect, c, out.rectMode);

    out.interpolateRects = switchFlag(start.interpolateRects, goal.interpolateRects, c);
    out.interpolateDrawOptions = switchFlag(start.interpolateDrawOptions, goal.interpolateDrawOptions, c);
    out.interpolateOptions = switchFlag(start.interpolateOptions, goal.interpolateOptions, c);
    out.speed = start.speed + (goal.speed - start.speed) * c;

    if (!start.interpolateDrawOptions && !goal.interpolateDrawOptions)
        out.drawOptions = live.drawOptions;
    else if (start.interpolateDrawOptions != goal.interpolateDrawOptions)
        out.drawOptions = (start.interpolateDrawOptions ? start : goal).drawOptions;
    else
        out.drawOptions = blendDrawOptions(start.drawOptions, goal.drawOptions, base.drawOptions, c, start.lookMode,
                                           start.layerMode);

    if (!start.interpolateOptions && !goal.interpolateOptions)
        out.options = live.options;
    else if (start.interpolateOptions != goal.interpolateOptions)
        out.options = (start.interpolateOptions ? start : goal).options;
    else
        out.options = blendOptions(start.options, goal.options, base.options, c);
    return out;
}

namespace {

// dt as the clocks take it: frames of no or undefined length count nothing.
double usableDelta(double dt) { return dt > 0.0 && std::isfinite(dt) ? dt : 0.0; }

void tick(GUIWindowTimer& timer, double dt) { (timer.flag ? timer.on : timer.off) += dt; }

}  // namespace

void GUIWindow::update(double const& dt) {
    HeldRef<GUIWindow> hold(this);
    double const step = usableDelta(dt);
    float const stepF = static_cast<float>(step);
    if (goalAnimation) goalAnimation->update(stepF);
    if (!movers.empty()) {
        for (std::size_t i = 0; i < movers.size(); ++i) movers[i]->update(stepF);
        updateRect(false, false);
    }
    if (drawer) drawer->update(stepF);
    GUITextureSet& set = drawOptions.textures;
    if (set.aniNormal) set.aniNormal->update(step);
    if (set.aniMark) set.aniMark->update(step);
    if (set.aniBackground) set.aniBackground->update(step);

    tick(times.focus, step);
    tick(times.press, step);
    tick(times.activation, step);
    double& blend = times.activationBlend;
    if (times.activation.flag)
        blend = drawOptions.activeBlend > 0.0 ? blend + step / drawOptions.activeBlend : 1.0;
    else
        blend = drawOptions.inactiveBlend > 0.0 ? blend - step / drawOptions.inactiveBlend : 0.0;
    blend = !(blend > 0.0) ? 0.0 : (blend < 1.0 ? blend : 1.0);

    // A child's update may add, remove or reorder its siblings: walk a held snapshot and pass
    // over children that left meanwhile.
    HeldList<GUIWindow> snapshot(children);
    for (GUIWindow* child : snapshot)
        if (child->parent == this) child->update(dt);
}

}  // namespace Orvex
