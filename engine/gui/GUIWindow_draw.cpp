// Drawing a GUI window tree: the stencil pass that writes the shape of every window that clips
// its children ("DRAW_IN_CLIENT_ONLY") into a bit of the stencil buffer, nested inside the bit
// of its clipping ancestor, and the drawing pass that restricts each clipping window's subtree
// to its bit. Every state change flushes the GUI sprite's batch (End, then Begin with the
// alpha-blend flag), because render states act on whole batches.
//
// Stencil bits: bit 0 is set everywhere by the clear; clipping windows get bits 1 .. 7 of the
// device's eight (D24S8), numbered by nesting depth, or one per clipping window with the
// quality switch. A window that would need a bit beyond them clips its subtree by its rectangle
// (the scissor test) instead; its bit number is never formed, so no shift reaches past the
// stencil's bits and no other window's bit is written. A clipping window without any picture has
// no shape to write and clips by its rectangle the same way.
//
// The clear: between the top-level windows of one GUI frame (GUISystem::draw) the stencil is
// known, since the frame's first clear sets every pixel to 1 and only clip shapes change it after.
// Each later top-level window clears just the places shapes were written since the last clear,
// not the whole buffer: the stencil comes out the same everywhere, and a GUI of thousands of
// top-level windows no longer pays a whole-screen clear (and a batch flush) for each. Where a
// shape was written is measured by the GUI sprite as the shape is drawn (the box around its
// quads: a widget's own parts, a picture at natural size overhanging its window, a turned
// window). A shape whose extent the sprite cannot tell, a stencil write by anyone else (the
// device counts them) or another viewport or scissor makes the next window clear everything
// again.
#include <cmath>
#include <vector>

#include "engine/core/Logger.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/GUIWindowDrawer.h"
#include "engine/gui/GUIWindowRef.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/D3DXSprite.h"
#include "engine/render/SpriteHolder.h"
#include "port/d3d9/d3d9_port.h"

namespace Orvex {

namespace {

// The device object's depth-stencil format is D24S8.
constexpr int kStencilBits = 8;
constexpr int kMaxClipBit = kStencilBits - 1;
constexpr D3DCOLOR kStencilClearColour = 0xFF646464;

// A debug event for the length of a scope.
class PerfEvent {
public:
    explicit PerfEvent(std::wstring const& name) { D3DPERF_BeginEvent(0, name.c_str()); }
    ~PerfEvent() { D3DPERF_EndEvent(); }
    PerfEvent(PerfEvent const&) = delete;
    PerfEvent& operator=(PerfEvent const&) = delete;
};

// Strict overlap with the clip, and a size in both directions.
bool overlapsClip(FRect const& r, FRect const& clip) {
    return clip.top < r.bottom && r.top < clip.bottom && clip.left < r.right && r.left < clip.right &&
           r.right - r.left != 0.0f && r.bottom - r.top != 0.0f;
}

// The rectangles of the windows that clip by scissor (out of stencil bits), innermost last, and
// the scissor state found before the first.
struct ScissorStack {
    std::vector<RECT> rects;
    RECT saved{0, 0, 0, 0};
    DWORD savedEnable = FALSE;
};
ScissorStack gScissor;

LONG pixelEdge(float v) {
    constexpr float kLimit = 1.0e9f;
    if (!(v > -kLimit)) return static_cast<LONG>(-kLimit);
    if (!(v < kLimit)) return static_cast<LONG>(kLimit);
    return static_cast<LONG>(std::floor(v));
}

// The innermost scissor rectangle into the device (after every Begin, which resets states).
void applyScissor(IDirect3DDevice9* dev) {
    if (!dev || gScissor.rects.empty()) return;
    dev->SetScissorRect(&gScissor.rects.back());
    dev->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
}

void pushScissor(IDirect3DDevice9* dev, FRect const& r) {
    if (!dev) return;
    RECT next{pixelEdge(r.left), pixelEdge(r.top), pixelEdge(std::ceil(r.right)), pixelEdge(std::ceil(r.bottom))};
    if (gScissor.rects.empty()) {
        dev->GetScissorRect(&gScissor.saved);
        dev->GetRenderState(D3DRS_SCISSORTESTENABLE, &gScissor.savedEnable);
    } else {
        RECT const& outer = gScissor.rects.back();
        next = RECT{std::max(next.left, outer.left), std::max(next.top, outer.top), std::min(next.right, outer.right),
                    std::min(next.bottom, outer.bottom)};
    }
    if (next.right < next.left) next.right = next.left;
    if (next.bottom < next.top) next.bottom = next.top;
    gScissor.rects.push_back(next);
    applyScissor(dev);
}

void popScissor(IDirect3DDevice9* dev) {
    if (!dev || gScissor.rects.empty()) return;
    gScissor.rects.pop_back();
    if (!gScissor.rects.empty()) {
        applyScissor(dev);
        return;
    }
    dev->SetScissorRect(&gScissor.saved);
    dev->SetRenderState(D3DRS_SCISSORTESTENABLE, gScissor.savedEnable);
}

// What the stencil holds while GUISystem::draw draws its top-level windows.
struct StencilSeries {
    bool active = false;        // inside GUISystem::draw
    bool known = false;         // every pixel of the cleared area outside `written` holds 1
    std::vector<RECT> written;  // where clip shapes were written since the last clear
    // What the whole clear covered, and the device's count of stencil changes after the last
    // write of ours: another count means someone else wrote the stencil meanwhile.
    D3DVIEWPORT9 viewport{};
    DWORD scissorOn = FALSE;
    RECT scissor{0, 0, 0, 0};
    uint64_t changes = 0;
};
StencilSeries gSeries;
// More places than this are kept as the one rectangle around them.
constexpr std::size_t kMaxWrittenRects = 8;

RECT outerPixels(FRect const& r) {
    return RECT{pixelEdge(r.left), pixelEdge(r.top), pixelEdge(std::ceil(r.right)), pixelEdge(std::ceil(r.bottom))};
}

RECT unite(RECT const& a, RECT const& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

// A clip shape was written within reach (null: somewhere unknown).
void noteShapeWritten(FRect const* reach, IDirect3DDevice9* dev) {
    if (!gSeries.known) return;
    if (!reach) {
        gSeries.known = false;
        return;
    }
    gSeries.changes = port::d3d9::stencilChanges(dev);
    RECT const r = outerPixels(*reach);
    if (r.left >= r.right || r.top >= r.bottom) return;
    if (gSeries.written.size() >= kMaxWrittenRects) {
        RECT all = r;
        for (RECT const& w : gSeries.written) all = unite(all, w);
        gSeries.written.assign(1, all);
        return;
    }
    gSeries.written.push_back(r);
}

// Whether the stencil is still what the series' writes left: same clear area, nobody else wrote.
bool stencilStillKnown(IDirect3DDevice9* dev) {
    if (!gSeries.active || !gSeries.known || port::d3d9::stencilChanges(dev) != gSeries.changes) return false;
    D3DVIEWPORT9 viewport{};
    DWORD scissorOn = FALSE;
    RECT scissor{0, 0, 0, 0};
    dev->GetViewport(&viewport);
    dev->GetRenderState(D3DRS_SCISSORTESTENABLE, &scissorOn);
    dev->GetScissorRect(&scissor);
    D3DVIEWPORT9 const& v = gSeries.viewport;
    bool const sameViewport = viewport.X == v.X && viewport.Y == v.Y && viewport.Width == v.Width &&
                              viewport.Height == v.Height;
    RECT const& s = gSeries.scissor;
    bool const sameScissor = scissorOn == gSeries.scissorOn &&
                             (!scissorOn || (scissor.left == s.left && scissor.top == s.top &&
                                             scissor.right == s.right && scissor.bottom == s.bottom));
    return sameViewport && sameScissor;
}

// The stencil set to 1 (bit 0 everywhere, no clip bit) for a top-level window, the queued
// drawing done first: the whole buffer, or, within a frame whose stencil is known, only where
// shapes were written since the last clear (nothing at all when none was).
void clearStencilForRoot(BaseSprite* sprite, IDirect3DDevice9* dev) {
    if (!dev) {
        sprite->End();
        sprite->Begin(GUISystem::kSpriteFlags, nullptr);
        return;
    }
    if (stencilStillKnown(dev)) {
        if (gSeries.written.empty()) return;
        std::vector<D3DRECT> rects;
        rects.reserve(gSeries.written.size());
        for (RECT const& r : gSeries.written)
            if (r.left < r.right && r.top < r.bottom) rects.push_back(D3DRECT{r.left, r.top, r.right, r.bottom});
        sprite->End();
        if (!rects.empty())
            dev->Clear(static_cast<DWORD>(rects.size()), rects.data(), D3DCLEAR_STENCIL, kStencilClearColour, 1.0f, 1);
        sprite->Begin(GUISystem::kSpriteFlags, nullptr);
    } else {
        sprite->End();
        dev->Clear(0, nullptr, D3DCLEAR_STENCIL, kStencilClearColour, 1.0f, 1);
        sprite->Begin(GUISystem::kSpriteFlags, nullptr);
        gSeries.known = gSeries.active;
        dev->GetViewport(&gSeries.viewport);
        dev->GetRenderState(D3DRS_SCISSORTESTENABLE, &gSeries.scissorOn);
        dev->GetScissorRect(&gSeries.scissor);
    }
    gSeries.written.clear();
    gSeries.changes = port::d3d9::stencilChanges(dev);
}

// End and Begin of the GUI sprite: what was queued is drawn with the present states.
void flushBatch(BaseSprite* sprite, IDirect3DDevice9* dev) {
    if (!sprite) return;
    sprite->End();
    sprite->Begin(GUISystem::kSpriteFlags, nullptr);
    applyScissor(dev);
}

void setStates(IDirect3DDevice9* dev, std::initializer_list<std::pair<D3DRENDERSTATETYPE, DWORD>> states) {
    if (!dev) return;
    for (auto const& s : states) dev->SetRenderState(s.first, s.second);
}

DWORD bitMask(int bit) { return bit >= 0 && bit <= kMaxClipBit ? (1u << bit) : 0u; }

// Logged once: a tree deeper (or, with the quality switch, wider) than the stencil's bits.
void noteOutOfBits(std::wstring const& name) {
    static bool noted = false;
    if (noted) return;
    noted = true;
    logWarning(L"GUI window \"" + name + L"\" needs a stencil bit beyond the " + std::to_wstring(kMaxClipBit) +
               L" there are; it and later ones clip to their rectangles");
}

}  // namespace

BaseSprite* guiSprite() {
    GUISystem& gui = GUISystem::instance();
    if (!gui.getSprite()) gui.setSprite(&D3DInterface::getInstance().getSprite().getD3DXSpriteObject());
    return gui.getSprite();
}

void GUIWindow::beginTopLevelSeries() {
    gSeries = StencilSeries{};
    gSeries.active = true;
}

void GUIWindow::endTopLevelSeries() { gSeries = StencilSeries{}; }

void GUIWindow::drawRoot(bool const& beginSprite) {
    BaseSprite* sprite = guiSprite();
    if (beginSprite) sprite->Begin(GUISystem::kSpriteFlags, nullptr);
    // Drawn on its own, even amid a frame's windows: the whole stencil is cleared.
    if (beginSprite) gSeries.known = false;
    int counter = 0;
    int parentBit = 0;
    RECT screen{0, 0, 0, 0};
    device->getScreenRect(screen);
    FRect const clip = FRect::fromRECT(screen);
    createStencilBuffer(counter, parentBit, clip, true);
    draw(clip);
    if (beginSprite) sprite->End();
}

void GUIWindow::createStencilBuffer(int& counter, int& parentBit, FRect const& clip, bool const& isRoot) {
    stencilBit = -1;
    if (!options.visible) return;
    HeldRef<GUIWindow> hold(this);
    BaseSprite* sprite = guiSprite();
    IDirect3DDevice9* dev = device->getDevice();
    if (isRoot) {
        D3DPERF_BeginEvent(0, L"createStencilBuffer");
        clearStencilForRoot(sprite, dev);
        applyScissor(dev);
    }
    bool scissored = false;
    {
        PerfEvent event(getName() + L"_STENCIL");
        int bit = parentBit;
        if (overlapsClip(screenRect, clip) && options.drawInClientOnly) {
            int const n = GUISystem::useQualityStencil() ? counter : parentBit;
            if (hasShape() && n >= 0 && n < kMaxClipBit && parentBit >= 0 && parentBit <= kMaxClipBit) {
                flushBatch(sprite, dev);
                // The shape sets its bit only where the parent's bit is set; transparent
                // texels of the shape do not count (alpha test). The depth an earlier drawing
                // left does not cut a clip shape: the depth test is off while it is drawn.
                DWORD depthTest = D3DZB_TRUE;
                if (dev) dev->GetRenderState(D3DRS_ZENABLE, &depthTest);
                setStates(dev, {{D3DRS_STENCILENABLE, TRUE},
                                {D3DRS_STENCILFUNC, D3DCMP_EQUAL},
                                {D3DRS_STENCILREF, 0xFFFFFFFF},
                                {D3DRS_STENCILMASK, bitMask(parentBit)},
                                {D3DRS_STENCILWRITEMASK, bitMask(n + 1)},
                                {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP},
                                {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP},
                                {D3DRS_STENCILPASS, D3DSTENCILOP_REPLACE},
                                {D3DRS_COLORWRITEENABLE, 0},
                                {D3DRS_ALPHATESTENABLE, TRUE},
                                {D3DRS_ZENABLE, D3DZB_FALSE}});
                if (sprite) sprite->startReach();
                drawShape();
                FRect reach;
                bool const reachKnown = sprite && sprite->takeReach(reach);
                flushBatch(sprite, dev);
                noteShapeWritten(reachKnown ? &reach : nullptr, dev);
                setStates(dev, {{D3DRS_ZENABLE, depthTest}});
                ++counter;
                stencilBit = n + 1;
                bit = stencilBit;
            } else {
                if (hasShape()) noteOutOfBits(getName());
                flushBatch(sprite, dev);
                pushScissor(dev, screenRect);
                scissored = true;
            }
        }
        PerfEvent sub(L"drawSubWindows");
        if (options.drawSubwindows) {
            FRect const childClip = options.drawInClientOnly ? clip.intersection(screenRect) : clip;
            for (unsigned i = 0; i < children.size(); ++i) {
                GUIWindow* child = children[i];
                if (shouldDrawChild(i, child)) child->createStencilBuffer(counter, bit, childClip, false);
            }
        }
    }
    if (scissored) {
        flushBatch(sprite, dev);
        popScissor(dev);
    }
    if (isRoot) {
        flushBatch(sprite, dev);
        setStates(dev, {{D3DRS_STENCILENABLE, TRUE},
                        {D3DRS_STENCILFUNC, D3DCMP_EQUAL},
                        {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP},
                        {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP},
                        {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP},
                        {D3DRS_STENCILREF, 0xFFFFFFFF},
                        {D3DRS_STENCILMASK, 1},
                        {D3DRS_STENCILENABLE, TRUE},
                        {D3DRS_COLORWRITEENABLE, 0xF}});
        D3DPERF_EndEvent();
    }
}

void GUIWindow::draw(FRect const& clip) {
    PerfEvent event(getName());
    if (!options.visible) return;
    HeldRef<GUIWindow> hold(this);
    BaseSprite* sprite = guiSprite();
    IDirect3DDevice9* dev = device->getDevice();
    bool const overlaps = overlapsClip(screenRect, clip);

    bool const stencilled = stencilBit >= 1 && stencilBit <= kMaxClipBit && dev;
    if (stencilled) {
        if (!stateBlock) {
            dev->CreateStateBlock(D3DSBT_PIXELSTATE, &stateBlock);
            device->signalDeviceLost.disconnect(this);
            device->signalDeviceShutdown.disconnect(this);
            device->signalDeviceLost.connect(this, &GUIWindow::releaseStateBlock);
            device->signalDeviceShutdown.connect(this, &GUIWindow::releaseStateBlock);
        } else {
            stateBlock->Capture();
        }
        flushBatch(sprite, dev);
        setStates(dev, {{D3DRS_STENCILENABLE, TRUE},
                        {D3DRS_STENCILFUNC, D3DCMP_EQUAL},
                        {D3DRS_STENCILREF, 0xFFFFFFFF},
                        {D3DRS_STENCILMASK, bitMask(stencilBit)},
                        {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP},
                        {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP},
                        {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP}});
    }
    // Out of stencil bits: the subtree is clipped to the rectangle instead.
    bool const scissored = !stencilled && options.drawInClientOnly && overlaps && dev;
    if (scissored) {
        flushBatch(sprite, dev);
        pushScissor(dev, screenRect);
    }

    bool drawChildren = options.drawSubwindows;
    bool drawn = false;
    if (overlaps) {
        drawn = true;
        PerfEvent self(L"drawSelf()");
        bool drawIt = true;
        bool extra = false;
        beforeDrawSelf.emit(*this, drawIt, extra, drawChildren);
        if (drawIt) drawSelf();
    }
    selfDrawn.emit(*this, drawn);
    {
        PerfEvent sub(L"drawSubWindows");
        if (options.drawSubwindows && drawChildren) {
            FRect const childClip = options.drawInClientOnly ? clip.intersection(screenRect) : clip;
            for (unsigned i = 0; i < children.size(); ++i) {
                GUIWindow* child = children[i];
                if (shouldDrawChild(i, child)) child->draw(childClip);
            }
        }
    }
    childrenDrawn.emit(*this, drawn);

    if (scissored) {
        flushBatch(sprite, dev);
        popScissor(dev);
    }
    if (stencilled) {
        flushBatch(sprite, dev);
        if (stateBlock) stateBlock->Apply();
    }
}

void GUIWindow::drawShape() {
    if (drawer) drawer->drawShape(*this, screenRect);
}

bool GUIWindow::hasShape() const {
    if (!drawer) return false;
    GUITextureSet const& t = drawOptions.textures;
    return t.shape || t.normal || t.mark || t.disable || t.background || t.foreground || t.aniNormal || t.aniMark ||
           t.aniBackground || t.aniForeground;
}

void GUIWindow::drawSelf() {
    if (!drawer) return;
    if (drawOptions.drawUseFRect) {
        drawer->draw(*this, screenRect);
        return;
    }
    FRect const whole(std::trunc(screenRect.left), std::trunc(screenRect.top), std::trunc(screenRect.right),
                      std::trunc(screenRect.bottom));
    drawer->draw(*this, whole);
}

bool GUIWindow::shouldDrawChild(unsigned /*index*/, GUIWindow* /*child*/) { return true; }

void GUIWindow::releaseStateBlock() {
    if (stateBlock) stateBlock->Release();
    stateBlock = nullptr;
}

}  // namespace Orvex
