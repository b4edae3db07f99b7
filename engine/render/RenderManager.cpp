// RenderManager: construction, the frame, the target size, the active list and skip level, the
// own depth-stencil surface and the device signals.
#include "engine/render/RenderManager.h"

#include <algorithm>

#include "engine/core/NamedObjectList.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/DeviceObjects.h"
#include "engine/render/PostEffect.h"

namespace Orvex {

namespace {
constexpr D3DCOLOR kSetupColour = 0xFFA0A0A0;
}  // namespace

RenderManager::RenderManager(unsigned long const& width, unsigned long const& height)
    : targetWidth_(static_cast<u32>(width)),
      targetHeight_(static_cast<u32>(height)),
      d3d_(&D3DInterface::getInstance()),
      forwardRenderer_(this),
      postEffectRenderer_(this) {
    registerCommands();
    d3d_->signalSizeChanged.connect(this, &RenderManager::onResize);
    d3d_->signalDeviceLost.connect(this, &RenderManager::onDeviceLost);
    d3d_->signalDeviceReset.connect(this, &RenderManager::onDeviceReset);
    d3d_->signalDeviceShutdown.connect(this, &RenderManager::onDeviceLost);
    d3d_->signalDeviceCreated.connect(this, &RenderManager::onDeviceReset);
}

RenderManager::~RenderManager() {
    postEffectRenderer_.getEffects().clear();
    releaseAll(postEffects_);
    stringMappings_.clear();
    mappingIndex_.clear();
    releaseCom(depthStencil_);
}

void RenderManager::getTargetSize(u32& width, u32& height) const {
    width = targetWidth_ == kFollowDevice ? d3d_->getWidth() : targetWidth_;
    height = targetHeight_ == kFollowDevice ? d3d_->getHeight() : targetHeight_;
}

PostEffect* RenderManager::createPostEffect(XMLNode& definition, PostEffectRenderer* renderer) {
    if (definition.getAttributeString(L"TYPE", L"") == L"COMBINATION") return new PE_Combiniation(definition, renderer);
    return new PostEffect(definition, renderer);
}

PostEffect* RenderManager::findPostEffect(std::wstring const& name) const {
    for (PostEffect* effect : postEffects_)
        if (PostEffect* found = effect->findPostEffect(name)) return found;
    return nullptr;
}

void RenderManager::sortActive() {
    std::vector<PostEffect*>& active = postEffectRenderer_.getEffects();
    std::stable_sort(active.begin(), active.end(),
                     [](PostEffect* a, PostEffect* b) { return a->getPriority() < b->getPriority(); });
}

void RenderManager::addActiveEffect(PostEffect* effect) {
    std::vector<PostEffect*>& active = postEffectRenderer_.getEffects();
    if (!effect || std::find(active.begin(), active.end(), effect) != active.end()) return;
    effect->bindEffect();
    active.push_back(effect);
    sortActive();
    setSkipLevel(skipLevel_);
}

void RenderManager::removeActiveEffect(PostEffect* effect) {
    if (!effect) return;
    std::vector<PostEffect*>& active = postEffectRenderer_.getEffects();
    active.erase(std::remove(active.begin(), active.end(), effect), active.end());
    sortActive();
}

void RenderManager::setSkipLevel(u32 const& level) {
    bool const changed = level != skipLevel_;
    skipLevel_ = level;
    for (PostEffect* effect : postEffectRenderer_.getEffects()) effect->setSkipLevel(level);
    if (changed) skipLevelChanged.emit(level);
}

void RenderManager::render(Camera* camera, IDirect3DTexture9* sceneTexture) {
    PixEvent frame(0xFFFFFFFF, L"RenderManager::render");
    ++frameCounter_;
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!device) return;
    IDirect3DSurface9* savedTarget = nullptr;
    IDirect3DSurface9* savedDepth = nullptr;
    {
        PixEvent setup(kSetupColour, L"Setting Up RenderTargets");
        if (FAILED(device->GetRenderTarget(0, &savedTarget)) || !savedTarget) {
            // Without it the frame cannot be put back as it was: skip it.
            savedTarget = nullptr;
            return;
        }
        // A device without a depth buffer has none to save; the frame still runs.
        if (FAILED(device->GetDepthStencilSurface(&savedDepth))) savedDepth = nullptr;
        if (createDepthStencil_) device->SetDepthStencilSurface(depthStencil_);
    }
    currentSurface_ = savedTarget;
    currentTexture_ = sceneTexture;
    if (forwardRenderer_.isEnabled()) {
        PixEvent event(0xFFA00000, L"ForwardRenderer");
        forwardRenderer_.render(camera);
        IDirect3DTexture9* texture = nullptr;
        IDirect3DSurface9* surface = nullptr;
        if (forwardRenderer_.getTarget(texture, surface)) {
            currentTexture_ = texture;
            currentSurface_ = surface;
        }
    }
    if (postEffectRenderer_.isEnabled()) {
        PixEvent event(0xFF0000A0, L"PostEffects");
        postEffectRenderer_.setLastResult(currentTexture_, currentSurface_);
        postEffectRenderer_.render(camera);
        postEffectRenderer_.getOriginal(currentTexture_, currentSurface_);
    }
    {
        PixEvent reset(kSetupColour, L"Reseting RenderTargets");
        // With neither renderer at work the picture already is the saved target: no copy onto
        // itself.
        if (stretchToOrg_ && currentSurface_ && currentSurface_ != savedTarget) {
            D3DPERF_SetMarker(kSetupColour, L"STRETCHING_TO_ORG_RENDERTARGET");
            device->StretchRect(currentSurface_, nullptr, savedTarget, nullptr, D3DTEXF_NONE);
        }
        device->SetRenderTarget(0, savedTarget);
        device->SetDepthStencilSurface(savedDepth);
        releaseCom(savedTarget);
        releaseCom(savedDepth);
    }
    currentSurface_ = nullptr;
}

void RenderManager::onResize(unsigned long const&, unsigned long const&) {
    if (targetWidth_ == kFollowDevice || targetHeight_ == kFollowDevice) targetChanged.emit(*this);
}

void RenderManager::setDepthStencil(bool const& create, D3DFORMAT const& format) {
    createDepthStencil_ = create ? 1 : 0;
    depthStencilFormat_ = format;
    currentTexture_ = nullptr;
    currentSurface_ = nullptr;
    onDeviceReset();
}

void RenderManager::onDeviceLost() {
    currentTexture_ = nullptr;
    currentSurface_ = nullptr;
    releaseCom(depthStencil_);
}

void RenderManager::onDeviceReset() {
    releaseCom(depthStencil_);
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!createDepthStencil_ || !device) return;
    u32 w = 0;
    u32 h = 0;
    getTargetSize(w, h);
    if (FAILED(device->CreateDepthStencilSurface(w, h, depthStencilFormat_, D3DMULTISAMPLE_NONE, 0, FALSE,
                                                 &depthStencil_, nullptr)))
        depthStencil_ = nullptr;
}

void broadcastCall(RenderManager& manager, double const& step) {
    for (PostEffect* effect : manager.getPostEffects()) effect->addTime(step);
}

}  // namespace Orvex
