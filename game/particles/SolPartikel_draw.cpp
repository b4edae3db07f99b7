// A particle's animation and its drawing: layer 0 through the table camera, the other layers in
// screen space with the context's offset; centred on the particle's position.
#include <cmath>

#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/look/ColourBytes.h"
#include "game/particles/SolPartikel.h"
#include "game/look/SolitaireCamera.h"
#include "port/crt/crt.h"

namespace Solitaire {

OwnedAnimation::OwnedAnimation(OwnedAnimation const& other)
    : animation_(other.animation_ ? other.animation_->clone() : nullptr) {}

OwnedAnimation& OwnedAnimation::operator=(OwnedAnimation const& other) {
    if (this != &other) reset(other.animation_ ? other.animation_->clone() : nullptr);
    return *this;
}

OwnedAnimation::~OwnedAnimation() { reset(nullptr); }

void OwnedAnimation::reset(Orvex::Texture2DAnimation* animation) {
    if (animation_) animation_->release();
    animation_ = animation;
}

void SolPartikel::startAnimation() {
    if (!animations_.empty()) {
        std::wstring const& name = animations_[static_cast<std::size_t>(msvc::rand()) % animations_.size()];
        Orvex::Texture2DAnimation* found = Orvex::Texture2DAnimationManager::instance().findAnimation(name);
        animation_.reset(found ? found->clone() : nullptr);
    }
    Orvex::Texture2DAnimation* animation = animation_.get();
    if (!animation) return;
    animation->ended.connect(this, &SolPartikel::onAnimationEnded);
    if (syncWithAnimation_ && lifetime_ > 0.0f)
        animation->setSpeed(static_cast<float>(animation->getFrameCount()) / lifetime_);
    animation->play();
}

void SolPartikel::onAnimationEnded(Orvex::Texture2DAnimation&) {
    if (endIfAnimationFinished_) finished_ = true;
}

std::uint32_t SolPartikel::packedColour() const {
    D3DXCOLOR const& curve = curveColour_;
    return (std::uint32_t{colourByte(colour_.a * curve.a)} << 24) | (std::uint32_t{colourByte(colour_.r * curve.r)} << 16) |
           (std::uint32_t{colourByte(colour_.g * curve.g)} << 8) | std::uint32_t{colourByte(colour_.b * curve.b)};
}

D3DXVECTOR2 SolPartikel::drawSize() const {
    D3DXVECTOR2 const& scale = curveScale_;
    return {size_.x * scale.x, size_.y * scale.y};
}

void SolPartikel::queueRender(RenderQueue& queue, RenderContext const&) {
    if (animation_.get()) queue.add(this, drawOrder_);
}

// The frame's source rectangle scaled to the size, turned about the rotation centre (a fraction
// of the size) and that centre put on the position: the one piece a stretched sprite rectangle
// makes, with its matrix written out, as thousands of particles are drawn per frame.
void SolPartikel::render(RenderContext const& context) {
    Orvex::Texture2DAnimation* animation = animation_.get();
    if (!animation || !context.sprite) return;
    Orvex::AnimationFrame const* frame = animation->getCurrentFrame();
    if (!frame || !frame->texture) return;
    RECT const& source = frame->rect;
    float const sourceW = static_cast<float>(source.right - source.left);
    float const sourceH = static_cast<float>(source.bottom - source.top);
    if (sourceW <= 0.0f || sourceH <= 0.0f) return;
    D3DXVECTOR2 position = position_;
    D3DXVECTOR2 size = drawSize();
    if (layer_ == 0) {
        if (context.camera) {
            float const zoom = context.camera->getScale(false);
            position = position * zoom + context.camera->getOffset();
            size = size * zoom;
        }
    } else {
        position += context.screenOffset;
    }
    IDirect3DTexture9** texture = frame->texture->getD3DTexture();
    if (!texture || !*texture) return;
    float const angle = D3DXToRadian(rotation_);
    float const c = std::cos(angle), s = std::sin(angle);
    float const sx = size.x / sourceW, sy = size.y / sourceH;
    float const cx = size.x * centre_.x, cy = size.y * centre_.y;
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    m._11 = sx * c;
    m._12 = sx * s;
    m._21 = -sy * s;
    m._22 = sy * c;
    m._41 = position.x - cx * c + cy * s;
    m._42 = position.y - cx * s - cy * c;
    context.sprite->DrawSprite2D(*texture, &source, &m, packedColour());
}

}  // namespace Solitaire
