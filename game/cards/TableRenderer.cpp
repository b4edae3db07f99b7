// The table renderer's passes, its game windows and the window-point mapping (see
// TableRenderer.h).
#include "game/cards/TableRenderer.h"

#include "engine/gui/GUIWindow.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/RenderToTexture.h"
#include "game/cards/Kartenmanager.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikelManager.h"

namespace Solitaire {

namespace {

Orvex::FRect asRect(RECT const& r) {
    return Orvex::FRect(static_cast<float>(r.left), static_cast<float>(r.top), static_cast<float>(r.right),
                        static_cast<float>(r.bottom));
}

bool particlesShown() { return StyleSettings::instance().getParticleSpawnMult() > 0.0f; }

}  // namespace

void drawTable(Kartenmanager& manager, RenderContext const& context, RenderQueue& queue) {
    queue.clear();
    manager.queueRender(context, queue);
    if ((context.layerMask & kLayerParticles) && particlesShown())
        SolPartikelManager::instance().queueRender(context, queue);
    queue.sortItems();
    for (RenderItem const& item : queue.items()) item.object->render(context);
    queue.clear();
}

SolitaireRenderer::SolitaireRenderer(Orvex::BaseSprite* sprite, SolitaireCamera const* camera)
    : sprite_(sprite), camera_(camera) {}

SolitaireRenderer::~SolitaireRenderer() {
    setWindows(nullptr, nullptr);
    setParticleWindow(nullptr);
    deleteTarget();
}

void SolitaireRenderer::take(Orvex::GUIWindow*& slot, Orvex::GUIWindow* window,
                             void (SolitaireRenderer::*slotFunction)(Orvex::GUIWindow&, bool const&)) {
    if (slot == window) return;
    if (window) window->addRef();
    if (slot) {
        slot->selfDrawn.disconnect(this);
        slot->release();
    }
    slot = window;
    if (slot) slot->selfDrawn.connect(this, slotFunction);
}

void SolitaireRenderer::setWindows(Orvex::GUIWindow* main, Orvex::GUIWindow* background) {
    take(main_, main, &SolitaireRenderer::onMainWindowDrawn);
    take(background_, background, &SolitaireRenderer::onBackgroundWindowDrawn);
}

void SolitaireRenderer::setParticleWindow(Orvex::GUIWindow* window) {
    take(particles_, window, &SolitaireRenderer::onParticleWindowDrawn);
}

Orvex::FRect SolitaireRenderer::getWindowRect() const {
    return main_ ? main_->getScreenRect() : asRect(viewport_);
}

// Both directions offset by the window's left and top on either side: they invert each other.
D3DXVECTOR2 SolitaireRenderer::toWindowPoint(D3DXVECTOR2 const& p) const {
    if (!main_) return {0.0f, 0.0f};
    Orvex::FRect const w = main_->getScreenRect();
    float const vw = static_cast<float>(viewport_.right - viewport_.left);
    float const vh = static_cast<float>(viewport_.bottom - viewport_.top);
    if (vw == 0.0f || vh == 0.0f) return {0.0f, 0.0f};
    return {(p.x - w.left) / vw * (w.right - w.left) + w.left, (p.y - w.top) / vh * (w.bottom - w.top) + w.top};
}

D3DXVECTOR2 SolitaireRenderer::toGamePoint(D3DXVECTOR2 const& p) const {
    if (!main_) return {0.0f, 0.0f};
    Orvex::FRect const w = main_->getScreenRect();
    float const ww = w.right - w.left, wh = w.bottom - w.top;
    if (ww == 0.0f || wh == 0.0f) return {0.0f, 0.0f};
    return {(p.x - w.left) / ww * static_cast<float>(viewport_.right - viewport_.left) + w.left,
            (p.y - w.top) / wh * static_cast<float>(viewport_.bottom - viewport_.top) + w.top};
}

RenderContext SolitaireRenderer::makeContext(Orvex::FRect const& rect, int mask, int particleLayer) const {
    RenderContext context;
    context.sprite = sprite_;
    context.camera = camera_ ? camera_ : Kartenmanager::instance().getCamera();
    context.target = rect;
    context.left = rect.left;
    context.right = rect.right;
    context.top = rect.top;
    context.bottom = rect.bottom;
    context.layerMask = mask;
    context.particleLayer = particleLayer;
    return context;
}

int SolitaireRenderer::mainMask() const { return background_ ? layerMask_ & ~kLayerBackground : layerMask_; }

int SolitaireRenderer::mainParticleLayer() const { return particles_ ? 0 : kAllParticleLayers; }

void SolitaireRenderer::onMainWindowDrawn(Orvex::GUIWindow& window, bool const& drawn) {
    if (!drawn) return;
    if (!renderToTexture_) {
        drawTable(Kartenmanager::instance(), makeContext(asRect(viewport_), mainMask(), mainParticleLayer()), queue_);
        return;
    }
    if (target_ && sprite_)
        sprite_->drawInRect(&target_->getTexture(), nullptr, window.getScreenRect(), Orvex::SDP_SCALE,
                            Orvex::SDP_SCALE, 0xFFFFFFFF);
}

void SolitaireRenderer::onBackgroundWindowDrawn(Orvex::GUIWindow& window, bool const& drawn) {
    if (drawn) drawTable(Kartenmanager::instance(), makeContext(window.getScreenRect(), kLayerBackground, 0), queue_);
}

void SolitaireRenderer::onParticleWindowDrawn(Orvex::GUIWindow&, bool const& drawn) {
    if (!drawn) return;
    particleWindowDrew_ = true;
    if (!particlesShown()) return;
    SolPartikelManager::instance().render(makeContext(asRect(viewport_), kLayerParticles, kScreenParticleLayers));
}

void SolitaireRenderer::drawScreenParticlesOffTable() {
    bool const drawn = particleWindowDrew_;
    particleWindowDrew_ = false;
    if (drawn || !particlesShown()) return;
    SolPartikelManager::instance().render(makeContext(asRect(viewport_), kLayerParticles, kScreenParticleLayers));
}

}  // namespace Solitaire
