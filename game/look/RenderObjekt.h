// The base of everything the table renderer draws (cards, piles, the background): objects queue
// themselves with a float order key each frame and are drawn in ascending order of it. Also the
// queue itself and the context a frame is drawn with.
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/render/FRect.h"
#include "engine/render/SpriteRect.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class BaseSprite;
class Texture2D;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class RenderObjekt;

class SolitaireCamera;

// Layers of the table passes (the context's layer mask; -1 all).
enum RenderLayer : int { kLayerCards = 1, kLayerParticles = 2, kLayerPiles = 4, kLayerBackground = 8 };

// Particle layers of a pass besides a single one (particle layers are 16-bit, 0 the table's):
// every layer, or every layer but the table's.
constexpr int kAllParticleLayers = -1;
constexpr int kScreenParticleLayers = -0x10000;

// Whether a particle of `layer` belongs to a pass of `passLayer`.
constexpr bool inParticleLayer(int layer, int passLayer) {
    if (passLayer == kAllParticleLayers) return true;
    if (passLayer == kScreenParticleLayers) return layer != 0;
    return layer == passLayer;
}

// What one pass draws or picks with: the sprite batcher and the target rectangle drawn into, the
// table camera (or none: identity), a screen offset, the layer mask, the particle layer and the
// rectangle of the pass (a 1 by 1 rectangle at the pointer when picking).
struct RenderContext {
    Orvex::BaseSprite* sprite = nullptr;
    Orvex::FRect target;
    SolitaireCamera const* camera = nullptr;
    D3DXVECTOR2 screenOffset{0.0f, 0.0f};
    int layerMask = -1;
    int particleLayer = kAllParticleLayers;
    float left = 0.0f, right = 1024.0f, top = 0.0f, bottom = 768.0f;
};

struct RenderItem {
    RenderObjekt* object = nullptr;
    float order = 0.0f;
};

// One frame's items; sortItems orders them stably by ascending key (equal keys keep the order in
// which they were queued). The same list serves picking.
class RenderQueue {
public:
    void add(RenderObjekt* object, float order);
    void sortItems();
    void clear() { items_.clear(); }
    std::vector<RenderItem> const& items() const { return items_; }

private:
    std::vector<RenderItem> items_;
};

class RenderObjekt : public Orvex::NamedObject {
public:
    // 2^126: an object without an order of its own is drawn after everything else.
    static constexpr float kLastOrder = 8.50705917e37f;

    RenderObjekt() = default;
    explicit RenderObjekt(std::wstring const& name) : Orvex::NamedObject(name) {}
    explicit RenderObjekt(Orvex::XMLNode& node) : Orvex::NamedObject(node) {}

    // Adds the object to the frame's queue when it has something to draw.
    virtual void queueRender(RenderQueue& queue, RenderContext const& context) = 0;
    virtual void render(RenderContext const& context) = 0;
    // The screen rectangle used for picking.
    virtual Orvex::SpriteRect getScreenQuad() = 0;
    // The texture giving the object's outline, or null.
    virtual Orvex::Texture2D* getShapeTexture() = 0;
    virtual float getRenderOrder() { return kLastOrder; }
};

}  // namespace Solitaire
