// Suspend, resume, the idle check and the device-signal connections of textures.
#include "engine/render/TextureBase.h"

#include "engine/platform/D3DInterface.h"
#include "engine/render/TextureSettings.h"

namespace Orvex {

BaseTexture::BaseTexture() { initFromSettings(); }

BaseTexture::BaseTexture(std::wstring const& name) : NamedObject(name) { initFromSettings(); }

BaseTexture::BaseTexture(BaseTexture const& other)
    : NamedObject(other),
      emitSuspendSignals_(other.emitSuspendSignals_),
      suspended_(other.suspended_),
      canSuspend_(other.canSuspend_),
      autoSuspendTime_(other.autoSuspendTime_),
      // Stamped on the texture clock, the one the idle check compares with.
      lastUse_(getTextureTickCount()),
      fileName_(other.fileName_),
      created_(other.created_),
      loading_(other.loading_),
      creationKind_(other.creationKind_),
      loadParams_(other.loadParams_),
      applyFilter_(other.applyFilter_),
      dontApplyFilter_(other.dontApplyFilter_),
      filterDefault_(other.filterDefault_),
      lostFlag_(other.lostFlag_) {
    setAutoSuspend(other.autoSuspend_ != 0, kKeepTime);
}

BaseTexture::~BaseTexture() = default;

void BaseTexture::initFromSettings() {
    TextureModuleSettings const& settings = TextureModuleSettings::get();
    suspended_ = settings.suspendOnCreate ? 1 : 0;
    autoSuspendTime_ = settings.overrideAutoSuspendTime;
    // The texture clock, not GetTickCount: a texture made while loading (no updates yet) must
    // not look idle at the first check.
    lastUse_ = getTextureTickCount();
    setAutoSuspend(settings.overrideAutoSuspend, kKeepTime);
}

void BaseTexture::readXML(XMLNode& node) {
    NamedObject::readXML(node);
    bool const autoSuspend = node.getAttributeBool(L"AUTO_SUPEND", autoSuspend_ != 0);
    canSuspend_ = node.getAttributeBool(L"CAN_SUPEND", canSuspend_ != 0) ? 1 : 0;
    u32 const time = node.getAttributeLong(L"AUTO_SUPEND_TIME", kKeepTime);
    setAutoSuspend(autoSuspend, time);
}

void BaseTexture::suspend() {
    if (suspended_ || !canSuspend_) return;
    suspended_ = 1;
    releaseTexture();
    if (emitSuspendSignals_) signalSuspended.emit(*this);
}

void BaseTexture::resume() {
    suspended_ = 0;
    recreateTexture();
    if (emitSuspendSignals_) signalResumed.emit(*this);
}

void BaseTexture::setSuspended(bool const& on) {
    if (on)
        suspend();
    else if (suspended_)
        resume();
}

void BaseTexture::setAutoSuspend(bool const& on, u32 const& time) {
    if (time != kKeepTime) autoSuspendTime_ = time;
    if (on == (autoSuspend_ != 0)) return;
    autoSuspend_ = on ? 1 : 0;
    // Connected exactly while auto-suspend is on: a change is a connect or a disconnect.
    sigslot::signal0<>& check = TextureClock::get().checkSignal;
    if (on)
        check.connect(this, &BaseTexture::checkIdle);
    else
        check.disconnect(this);
}

void BaseTexture::checkIdle() {
    if (!autoSuspend_ || !canSuspend_ || suspended_) return;
    u32 const idle = getTextureTickCount() - lastUse_;
    // A stamp ahead of the clock (the clock was set back) is not idleness: restamp.
    if (idle > 0x80000000u) {
        lastUse_ = getTextureTickCount();
        return;
    }
    if (idle > autoSuspendTime_) suspend();
}

void BaseTexture::touch() { lastUse_ = getTextureTickCount(); }

void BaseTexture::connectDeviceSignals() {
    disconnectDeviceSignals();
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceLost.connect(this, &BaseTexture::onDeviceLostSlot);
    d3d.signalDeviceReset.connect(this, &BaseTexture::onDeviceResetSlot);
}

void BaseTexture::disconnectDeviceSignals() {
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceLost.disconnect(this);
    d3d.signalDeviceReset.disconnect(this);
}

}  // namespace Orvex
