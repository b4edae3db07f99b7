// The table renderer: one pass queues the card manager's objects of the context's layers (piles,
// cards, the current background) and the particles of the context's particle layer, sorts them
// stably by ascending order and draws them in that order, so later items cover earlier ones.
// SolitaireRenderer runs such passes when its game windows have been drawn: the main window
// draws the table (without the background when a background window draws it, with only the
// table's particle layer 0 when a particle window draws the screen layers). With render-to-
// texture on, the table is drawn into a target texture of the viewport's size and the main
// window shows that picture. It also maps points between the window and the game's viewport.
// Split over TableRenderer.cpp (passes, windows, points) and TableRenderer_target.cpp (the
// render target).
#pragma once

#include "game/look/RenderObjekt.h"
#include "port/win32/windows_types.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUIWindow;
class RenderToTexture;
}  // namespace Orvex

namespace Solitaire {

class Kartenmanager;

// One pass: the manager's objects and (layer bit 2, a spawn multiplier above 0) the particles.
void drawTable(Kartenmanager& manager, RenderContext const& context, RenderQueue& queue);

class SolitaireRenderer : public sigslot::has_slots<sigslot::single_threaded> {
public:
    // A side of the render target at most (the device's texture limit on small cards).
    static constexpr LONG kMaxTargetSide = 8192;

    // The camera null: the card manager's camera at the time of each pass.
    explicit SolitaireRenderer(Orvex::BaseSprite* sprite, SolitaireCamera const* camera = nullptr);
    ~SolitaireRenderer() override;
    SolitaireRenderer(SolitaireRenderer const&) = delete;
    SolitaireRenderer& operator=(SolitaireRenderer const&) = delete;

    // Takes a reference on each window and listens to its draw signal; null drops the old one.
    void setWindows(Orvex::GUIWindow* main, Orvex::GUIWindow* background);
    // The window whose draw signal draws the particles of the screen layers (all but 0).
    void setParticleWindow(Orvex::GUIWindow* window);
    // Stores the layer mask; with render-to-texture on, the target is drawn again at once.
    void setRenderFrames(int mask);
    // Keeps the render-to-texture state (a target of another size is made anew).
    void setViewport(RECT const& viewport);
    void setViewport(RECT const& viewport, bool renderToTexture);
    // Makes or deletes the target when the state changes, or when its size no longer is the
    // viewport's; an empty or oversized viewport gets no target.
    void setRenderToTexture(bool on);
    void setSprite(Orvex::BaseSprite* sprite) { sprite_ = sprite; }
    RECT const& getViewport() const { return viewport_; }
    bool isRenderToTexture() const { return renderToTexture_; }
    Orvex::RenderToTexture* getRenderTarget() const { return target_; }
    int getRenderFrames() const { return layerMask_; }
    // The main window's screen rectangle, or the viewport without one.
    Orvex::FRect getWindowRect() const;

    // Viewport point to window point and back; (0, 0) without a main window or with an empty
    // rectangle (nothing to scale by).
    D3DXVECTOR2 toWindowPoint(D3DXVECTOR2 const& p) const;
    D3DXVECTOR2 toGamePoint(D3DXVECTOR2 const& p) const;

    void onMainWindowDrawn(Orvex::GUIWindow& window, bool const& drawn);
    void onBackgroundWindowDrawn(Orvex::GUIWindow& window, bool const& drawn);
    void onParticleWindowDrawn(Orvex::GUIWindow& window, bool const& drawn);
    // After the GUI has drawn, inside the sprite's batch: the screen-layer particles when no
    // particle window drew them this frame (no table on screen: the story, the menus).
    void drawScreenParticlesOffTable();
    // Draws the table into the target (its scene is open).
    void onRenderTarget(Orvex::RenderToTexture& target);
    // The target was made again (a device reset): every layer, drawn again.
    void onRenderTargetChanged(Orvex::RenderToTexture& target);

private:
    RenderContext makeContext(Orvex::FRect const& rect, int mask, int particleLayer) const;
    // The main window's layers: without the background when a background window draws it.
    int mainMask() const;
    // The table's particle layer 0 when a particle window draws the others, else all.
    int mainParticleLayer() const;
    void drawTarget();
    void deleteTarget();
    void take(Orvex::GUIWindow*& slot, Orvex::GUIWindow* window,
              void (SolitaireRenderer::*slotFunction)(Orvex::GUIWindow&, bool const&));

    Orvex::RenderToTexture* target_ = nullptr;
    Orvex::GUIWindow* main_ = nullptr;
    Orvex::GUIWindow* background_ = nullptr;
    Orvex::GUIWindow* particles_ = nullptr;
    bool particleWindowDrew_ = false;  // since the last drawScreenParticlesOffTable
    Orvex::BaseSprite* sprite_ = nullptr;
    SolitaireCamera const* camera_ = nullptr;
    int layerMask_ = -1;
    bool renderToTexture_ = false;
    RECT viewport_{0, 0, 1024, 768};
    RenderQueue queue_;
};

}  // namespace Solitaire
