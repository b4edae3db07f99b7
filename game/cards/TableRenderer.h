// The table renderer: one pass queues the card manager's objects of the context's layers (piles,
// cards, the current background), sorts them stably by ascending order and draws them in that
// order, so later items cover earlier ones. SolitaireRenderer runs such passes when its game
// windows have been drawn (the main window without the background when a background window
// draws it) and maps points between the window and the game's viewport.
#pragma once

#include "game/cards/RenderObjekt.h"
#include "port/win32/windows_types.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUIWindow;
}

namespace Solitaire {

class Kartenmanager;

void drawTable(Kartenmanager& manager, RenderContext const& context, RenderQueue& queue);

class SolitaireRenderer : public sigslot::has_slots<sigslot::single_threaded> {
public:
    explicit SolitaireRenderer(Orvex::BaseSprite* sprite);
    ~SolitaireRenderer() override;
    SolitaireRenderer(SolitaireRenderer const&) = delete;
    SolitaireRenderer& operator=(SolitaireRenderer const&) = delete;

    // Takes a reference on each window and listens to its draw signal; null drops the old one.
    void setWindows(Orvex::GUIWindow* main, Orvex::GUIWindow* background);
    void setRenderFrames(int mask) { layerMask_ = mask; }
    void setViewport(RECT const& viewport) { viewport_ = viewport; }
    void setSprite(Orvex::BaseSprite* sprite) { sprite_ = sprite; }
    RECT const& getViewport() const { return viewport_; }
    // The main window's screen rectangle, or the viewport without one.
    Orvex::FRect getWindowRect() const;

    // Viewport point to window point and back; (0, 0) without a main window or with an empty
    // rectangle (nothing to scale by).
    D3DXVECTOR2 toWindowPoint(D3DXVECTOR2 const& p) const;
    D3DXVECTOR2 toGamePoint(D3DXVECTOR2 const& p) const;

    void onMainWindowDrawn(Orvex::GUIWindow& window, bool const& drawn);
    void onBackgroundWindowDrawn(Orvex::GUIWindow& window, bool const& drawn);

private:
    void pass(Orvex::FRect const& rect, int mask);
    void take(Orvex::GUIWindow*& slot, Orvex::GUIWindow* window,
              void (SolitaireRenderer::*slotFunction)(Orvex::GUIWindow&, bool const&));

    Orvex::GUIWindow* main_ = nullptr;
    Orvex::GUIWindow* background_ = nullptr;
    Orvex::BaseSprite* sprite_ = nullptr;
    int layerMask_ = -1;
    RECT viewport_{0, 0, 1024, 768};
    RenderQueue queue_;
};

}  // namespace Solitaire
