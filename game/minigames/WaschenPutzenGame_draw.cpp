// The cleaning game's picture: each pass's overlay blended into the background through its painted
// mask by the post effect, into the result picture that the wash area shows.
#include <cmath>

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/BaseSprite.h"
#include "engine/render/Camera.h"
#include "engine/render/PostEffect.h"
#include "engine/render/RenderManager.h"
#include "engine/render/SpriteRect.h"
#include "engine/render/Texture2D.h"
#include "game/minigames/PlayfieldPicture.h"
#include "game/minigames/WaschenPutzenGame.h"
#include "game/minigames/WaschenPutzenPass.h"

namespace Solitaire {

namespace {

void bind(Orvex::PostEffect& effect, Orvex::Texture2D* texture, char const* handle) {
    bool const adopt = true;
    effect.addStaticTexture(new Orvex::StaticPostEffectTexture(texture, handle), adopt);
}

}  // namespace

void WaschenPutzenGame::draw() {
    if (!shown_ || !result_ || !result_->getTexture() || !renderManager_) return;
    Orvex::PostEffect* effect = renderManager_->findPostEffect(effect_);
    IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
    if (!effect || !device) return;
    IDirect3DSurface9* saved = nullptr;
    IDirect3DSurface9* target = nullptr;
    if (FAILED(device->GetRenderTarget(0, &saved)) || FAILED(result_->getTexture()->GetSurfaceLevel(0, &target))) {
        if (saved) saved->Release();
        return;
    }
    device->SetRenderTarget(0, target);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    // Pass by pass, each on top of the picture so far.
    for (std::size_t i = 0; i < passes_.size(); ++i) {
        effect->clearStaticTextures();
        bind(*effect, (i == 0 && background_ ? background_ : result_).get(), kSource);
        bind(*effect, passes_[i]->overlay.get(), kOverlay);
        bind(*effect, passes_[i]->working.get(), kMask);
        renderManager_->render(camera_.get(), result_->getTexture());
    }
    device->SetRenderTarget(0, saved);
    saved->Release();
    target->Release();
}

void WaschenPutzenGame::onWashAreaDrawn(Orvex::GUIWindow& area, bool const& drawn) {
    if (!drawn) {
        // A hidden game's picture is not needed until it is shown again.
        if (!shown_) result_.reset();
        return;
    }
    Orvex::BaseSprite* sprite = Orvex::GUISystem::instance().getSprite();
    if (!result_ || !sprite) return;
    Orvex::FRect const r = area.getScreenRect();
    Orvex::FRect const whole(std::trunc(r.left), std::trunc(r.top), std::trunc(r.right), std::trunc(r.bottom));
    sprite->drawInRect(result_.get(), nullptr, whole, Orvex::SDP_SCALE, Orvex::SDP_SCALE,
                       minigame::whiteWithAlpha(area.getAccumulatedAlpha()));
}

}  // namespace Solitaire
