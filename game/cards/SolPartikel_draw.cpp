// A particle's animation and its drawing: layer 0 through the table camera, the other layers in
// screen space with the context's offset; centred on the particle's position.
#include <cstdlib>

#include "engine/render/BaseSprite.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/cards/CardDrawing.h"
#include "game/cards/SolPartikel.h"
#include "game/cards/SolitaireCamera.h"

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
        std::wstring const& name = animations_[static_cast<std::size_t>(std::rand()) % animations_.size()];
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
    D3DXCOLOR const& curve = colourCurve_.getValue();
    return (std::uint32_t{colourByte(colour_.a * curve.a)} << 24) | (std::uint32_t{colourByte(colour_.r * curve.r)} << 16) |
           (std::uint32_t{colourByte(colour_.g * curve.g)} << 8) | std::uint32_t{colourByte(colour_.b * curve.b)};
}

D3DXVECTOR2 SolPartikel::drawSize() const {
    D3DXVECTOR2 const& scale = scaleCurve_.getValue();
    return {size_.x * scale.x, size_.y * scale.y};
}

void SolPartikel::queueRender(RenderQueue& queue, RenderContext const&) {
    if (animation_.get()) queue.add(this, drawOrder_);
}

void SolPartikel::render(RenderContext const& context) {
    Orvex::Texture2DAnimation* animation = animation_.get();
    if (!animation || !context.sprite) return;
    Orvex::AnimationFrame const* frame = animation->getCurrentFrame();
    if (!frame || !frame->texture) return;
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
    Orvex::SpriteRect const place(position, size, rotation_, centre_,
                                  Orvex::SpriteRect::kCentreRelative | Orvex::SpriteRect::kPositionIsCentre);
    context.sprite->drawSpriteRect(frame->texture, &frame->rect, place, Orvex::SDP_SCALE, Orvex::SDP_SCALE,
                                   packedColour());
}

}  // namespace Solitaire
