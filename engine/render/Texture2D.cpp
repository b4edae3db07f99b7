// Texture2D: construction and copies, the device texture's lifetime (suspend, resume by recipe,
// device loss), size queries and locking.
#include "engine/render/Texture2D.h"

#include "engine/core/PerfTimer.h"
#include "engine/render/FilePictures.h"
#include "engine/render/TextureSettings.h"

namespace Orvex {

Texture2D::Texture2D() = default;

Texture2D::Texture2D(std::wstring const& name) : BaseTexture(name) {}

Texture2D::Texture2D(Texture2D const& other)
    : BaseTexture(other),
      sizeKnown_(other.sizeKnown_),
      rect_(other.rect_),
      width_(other.width_),
      height_(other.height_),
      texture_(other.texture_),
      createParams_(other.createParams_),
      requestedParams_(other.requestedParams_),
      source_(other.source_),
      pixelList_(other.pixelList_),
      pixelListBuilt_(other.pixelListBuilt_),
      scaleU_(other.scaleU_),
      scaleV_(other.scaleV_) {
    if (texture_) texture_->AddRef();
    if (source_) source_->addRef();
    // A copy sharing a D3DPOOL_DEFAULT texture must let go of it on a lost device too, or the
    // device cannot be reset; it is made again by the same recipe afterwards.
    if (texture_ && createParams_.Pool == D3DPOOL_DEFAULT) connectDeviceSignals();
}

Texture2D::~Texture2D() {
    releaseD3DTexture();
    if (source_) source_->release();
    source_ = nullptr;
}

Texture2D* Texture2D::clone(IDirect3DTexture9* tex) {
    Texture2D* copy = new Texture2D(*this);
    if (tex) {
        copy->releaseD3DTexture();
        tex->AddRef();
        copy->texture_ = tex;
        copy->pixelList_.clear();
        copy->pixelListBuilt_ = 0;
    }
    return copy;
}

void Texture2D::releaseD3DTexture() {
    IDirect3DTexture9* const texture = texture_;
    texture_ = nullptr;
    locked_ = 0;
    if (texture) FilePictures::released(texture, texture->Release());
}

void Texture2D::releaseTexture() {
    if (created_ && !locked_) releaseD3DTexture();
}

void Texture2D::recreateByKind() {
    switch (creationKind_) {
    case kCreatedFromNode: {
        XMLNode node(loadParams_);
        loadFromXML(node, TextureLoadParams(0, 0xFFFFFFFFu, 1, 1));
        break;
    }
    case kCreatedAsPart: {
        XMLNode node(loadParams_);
        // loadPart takes its own reference of the source and lets go of the one held.
        loadPart(node, source_);
        break;
    }
    case kCreatedEmpty: {
        TextureCreateParams const params = createParams_;
        create(params.Width, params.Height, params.MipLevels, params.Usage, params.Format, params.Pool);
        break;
    }
    case kCreatedFromFile: {
        std::wstring const file = fileName_;
        // The parameters the file was first loaded with (a colour key must survive a resume).
        TextureCreateParams const params = requestedParams_;
        loadFromFile(file, TextureLoadParams(), params);
        break;
    }
    default:
        break;
    }
}

void Texture2D::recreateTexture() {
    loading_ = 1;
    recreateByKind();
    // The loaders skip the device connection while loading; a default-pool texture made for the
    // first time here (it was created or loaded while suspended) would otherwise never let go of
    // its device texture on a lost device, and the reset would fail for good.
    if (texture_ && createParams_.Pool == D3DPOOL_DEFAULT) connectDeviceSignals();
    // The loading time must not count as frame time.
    PerfTimer* timer = &PerfTimer::frameTimer();
    timer->update();
    timer->update();
    loading_ = 0;
}

void Texture2D::onLostDevice() {
    releaseD3DTexture();
    lostFlag_ = 1;
    signalLost.emit(this);
}

void Texture2D::onResetDevice() {
    if (!lostFlag_) return;
    lostFlag_ = 0;
    loading_ = 1;
    recreateByKind();
    loading_ = 0;
    signalRestored.emit(this);
}

void Texture2D::applyDefaultPoolRules(bool mayConnect) {
    if (createParams_.Pool != D3DPOOL_DEFAULT) return;
    if (createParams_.Usage & D3DUSAGE_RENDERTARGET) {
        canSuspend_ = 0;
        setAutoSuspend(false, kKeepTime);
    }
    if (!loading_ && mayConnect) connectDeviceSignals();
}

IDirect3DTexture9** Texture2D::getD3DTexture() {
    if (!texture_ && suspended_) resume();
    touch();
    return &texture_;
}

IDirect3DTexture9* Texture2D::getTexture() { return *getD3DTexture(); }

IDirect3DBaseTexture9* Texture2D::getBaseTexture() { return *getD3DTexture(); }

RECT const& Texture2D::getRect() {
    if (!sizeKnown_ && suspended_) resume();
    touch();
    return rect_;
}

u32 Texture2D::getWidth() {
    if (!sizeKnown_ && suspended_) resume();
    return width_;
}

u32 Texture2D::getHeight() {
    if (!sizeKnown_ && suspended_) resume();
    return height_;
}

void Texture2D::reset(bool const& disconnectDevice) {
    if (disconnectDevice) disconnectDeviceSignals();
    releaseD3DTexture();
    applyFilter_.clear();
    dontApplyFilter_.clear();
    scaleU_ = scaleV_ = 1.0f;
    fileName_.clear();
}

bool Texture2D::lockRect(UINT level, D3DLOCKED_RECT& out, RECT const& area, DWORD flags) {
    if (!created_ || locked_) return false;
    IDirect3DTexture9* texture = *getD3DTexture();
    bool const fromFile = creationKind_ == kCreatedFromNode || creationKind_ == kCreatedFromFile;
    if (texture && fromFile && !(flags & D3DLOCK_READONLY) && FilePictures::instance().isShared(texture)) {
        // The other textures of the file keep their pixels.
        ownPicture_ = 1;
        releaseD3DTexture();
        recreateTexture();
        texture = texture_;
    }
    if (!texture) return false;
    D3DSURFACE_DESC desc{};
    if (FAILED(texture->GetLevelDesc(level, &desc))) return false;
    // An area outside the level would hand out sizes that reach past the locked memory.
    if (area.left < 0 || area.top < 0 || area.right <= area.left || area.bottom <= area.top ||
        static_cast<UINT>(area.right) > desc.Width || static_cast<UINT>(area.bottom) > desc.Height)
        return false;
    D3DLOCKED_RECT locked{};
    if (FAILED(texture->LockRect(level, &locked, &area, flags))) return false;
    lockedRect_ = locked;
    out = locked;
    locked_ = 1;
    lockArea_ = area;
    lockedWidth_ = static_cast<u32>(area.right - area.left);
    lockedHeight_ = static_cast<u32>(area.bottom - area.top);
    lockedFormat_ = desc.Format;
    return true;
}

bool Texture2D::unlockRect(UINT level) {
    if (!created_ || !texture_) return false;
    if (FAILED(texture_->UnlockRect(level))) return false;
    locked_ = 0;
    return true;
}

}  // namespace Orvex
