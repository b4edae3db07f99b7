// The table renderer's render target: made and deleted with the render-to-texture state and the
// viewport's size, and the table drawn into it (see TableRenderer.h).
//
// The target starts transparent; its colour channels blend as on the screen, its alpha adds up
// the coverage (one, inverse source alpha), so a table with its opaque background stays opaque
// where card edges are half transparent and the picture shows as the direct drawing would. The
// plain blend would multiply those edges' alpha below 1 and let the window behind show through.
#include <cstdint>

#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/RenderToTexture.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/TableRenderer.h"

namespace Solitaire {

namespace {

// The sprite batch the game draws with: alpha blending.
constexpr std::uint32_t kTargetSpriteFlags = D3DXSPRITE_ALPHABLEND;

LONG width(RECT const& r) { return r.right - r.left; }
LONG height(RECT const& r) { return r.bottom - r.top; }

bool fitsTarget(RECT const& r) {
    return width(r) > 0 && height(r) > 0 && width(r) <= SolitaireRenderer::kMaxTargetSide &&
           height(r) <= SolitaireRenderer::kMaxTargetSide;
}

void blendCoverage(IDirect3DDevice9* device) {
    device->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLENDALPHA, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLENDALPHA, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_BLENDOPALPHA, D3DBLENDOP_ADD);
}

}  // namespace

void SolitaireRenderer::setViewport(RECT const& viewport) { setViewport(viewport, renderToTexture_); }

void SolitaireRenderer::setViewport(RECT const& viewport, bool renderToTexture) {
    viewport_ = viewport;
    setRenderToTexture(renderToTexture);
}

void SolitaireRenderer::setRenderFrames(int mask) {
    layerMask_ = mask;
    if (renderToTexture_) drawTarget();
}

void SolitaireRenderer::setRenderToTexture(bool on) {
    bool const wanted = on && fitsTarget(viewport_);
    bool const fits = target_ && static_cast<LONG>(target_->getWidth()) == width(viewport_) &&
                      static_cast<LONG>(target_->getHeight()) == height(viewport_);
    if (on == renderToTexture_ && (wanted ? fits : target_ == nullptr)) return;
    deleteTarget();
    renderToTexture_ = on;
    if (!wanted) return;
    target_ = new Orvex::RenderToTexture(RECT{0, 0, width(viewport_), height(viewport_)}, D3DFMT_A8R8G8B8,
                                         D3DFMT_D24S8, 0);
    target_->release();
    target_->signalRender.connect(this, &SolitaireRenderer::onRenderTarget);
    target_->signalCreated.connect(this, &SolitaireRenderer::onRenderTargetChanged);
}

void SolitaireRenderer::deleteTarget() {
    delete target_;
    target_ = nullptr;
}

void SolitaireRenderer::drawTarget() {
    if (!target_ || !sprite_) return;
    // A batch still open (a redraw asked for while the GUI draws) is set aside meanwhile; a
    // batcher that cannot set it aside keeps the last picture rather than clearing it.
    bool const open = sprite_->isInBegin();
    if (open) sprite_->flushBatch();
    if (!sprite_->isInBegin()) target_->render();
    if (open) sprite_->resumeBatch();
}

void SolitaireRenderer::onRenderTarget(Orvex::RenderToTexture& target) {
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    if (&target != target_ || !device || !sprite_) return;
    if (!sprite_->Begin(kTargetSpriteFlags, nullptr)) return;
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    blendCoverage(device);
    Orvex::FRect const area(0.0f, 0.0f, static_cast<float>(width(viewport_)), static_cast<float>(height(viewport_)));
    drawTable(Kartenmanager::instance(), makeContext(area, mainMask(), mainParticleLayer()), queue_);
    sprite_->End();
}

void SolitaireRenderer::onRenderTargetChanged(Orvex::RenderToTexture& target) {
    if (&target != target_) return;
    layerMask_ = -1;
    if (renderToTexture_) drawTarget();
}

}  // namespace Solitaire
