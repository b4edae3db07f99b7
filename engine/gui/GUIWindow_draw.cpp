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

FRect intersect(FRect const& a, FRect const& b) {
    return FRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom));
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

void GUIWindow::drawRoot(bool const& beginSprite) {
    BaseSprite* sprite = guiSprite();
    if (beginSprite) sprite->Begin(GUISystem::kSpriteFlags, nullptr);
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
        sprite->End();
        if (dev) dev->Clear(0, nullptr, D3DCLEAR_STENCIL, kStencilClearColour, 1.0f, 1);
        sprite->Begin(GUISystem::kSpriteFlags, nullptr);
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
                drawShape();
                flushBatch(sprite, dev);
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
            FRect const childClip = options.drawInClientOnly ? intersect(clip, screenRect) : clip;
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
            FRect const childClip = options.drawInClientOnly ? intersect(clip, screenRect) : clip;
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
