// The base of the engine's textures: suspend and resume (the device texture is released while
// the object, its size and its recipe stay), the idle check of auto-suspend mode, the hooks for
// a lost device, and the recipe by which the texture is made again (creation kind, the node it
// was loaded from, its file name).
//
// Auto-suspend: a texture in that mode is connected to the engine's texture check signal
// (TextureClock::checkSignal, about once a second of updates) and suspends itself when
// it has not been used for longer than its idle time on the texture clock (TextureSettings.h).
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "engine/core/XMLNode.h"
#include "port/d3d9/d3d9.h"
#include "signals/sigslot.h"

namespace Orvex {

class BaseTexture : public NamedObject {
public:
    // Recipes (creationKind).
    static constexpr u32 kCreatedFromNode = 1;
    static constexpr u32 kCreatedAsPart = 3;
    static constexpr u32 kCreatedEmpty = 4;
    static constexpr u32 kCreatedFromFile = 8;
    // Passed as a time to setAutoSuspend: keep the present idle time.
    static constexpr u32 kKeepTime = 0xFFFFFFFFu;

    BaseTexture();
    explicit BaseTexture(std::wstring const& name);
    // Copies the suspend state, the auto-suspend connection, the recipe and the filter lists;
    // the copy is a new named object (new id, count 1) stamped as used now.
    BaseTexture(BaseTexture const& other);
    BaseTexture& operator=(BaseTexture const&) = delete;
    ~BaseTexture() override;

    // "NAME", then "AUTO_SUPEND" (bool), "CAN_SUPEND" (bool), "AUTO_SUPEND_TIME" (ms).
    void readXML(XMLNode& node) override;

    // A copy of this texture; with tex given, the copy holds tex as its device texture.
    virtual BaseTexture* clone(IDirect3DTexture9* tex) = 0;
    // Device loss of D3DPOOL_DEFAULT textures (connected to the device object's signals).
    virtual void onLostDevice() {}
    virtual void onResetDevice() {}
    // The device texture (resumes a suspended texture), or null.
    virtual IDirect3DTexture9* getTexture() = 0;
    // Device objects of other dimensionalities (null for 2D textures).
    virtual IDirect3DBaseTexture9* getTextureVariantA() = 0;
    virtual IDirect3DBaseTexture9* getTextureVariantB() = 0;
    virtual IDirect3DBaseTexture9* getBaseTexture() = 0;
    virtual void releaseTexture() {}
    // Makes the device texture again from the recipe.
    virtual void recreateTexture() {}

    // Releases the device texture unless suspended already or canSuspend is off.
    void suspend();
    // false resumes (re-creates) a suspended texture; true suspends.
    void setSuspended(bool const& on);
    bool isSuspended() const { return suspended_ != 0; }
    // A time other than kKeepTime replaces the idle time; joining or leaving the check follows on.
    void setAutoSuspend(bool const& on, u32 const& time);
    bool isAutoSuspend() const { return autoSuspend_ != 0; }
    u32 getAutoSuspendTime() const { return autoSuspendTime_; }
    void setCanSuspend(bool const& on) { canSuspend_ = on ? 1 : 0; }
    bool canSuspend() const { return canSuspend_ != 0; }
    // Slot of the engine's texture check signal: suspends when idle longer than the idle time.
    void checkIdle();
    // Stamps the texture as used now (texture clock).
    void touch();
    u32 getLastUse() const { return lastUse_; }

    // The suspended and resumed signals fire only when this is on.
    void setEmitSuspendSignals(bool const& on) { emitSuspendSignals_ = on ? 1 : 0; }

    std::wstring const& getFileName() const { return fileName_; }
    bool isCreated() const { return created_ != 0; }
    bool isLoading() const { return loading_ != 0; }
    bool isLost() const { return lostFlag_ != 0; }
    u32 getCreationKind() const { return creationKind_; }
    XMLNode const& getLoadParams() const { return loadParams_; }
    std::vector<std::wstring> const& getApplyFilter() const { return applyFilter_; }
    std::vector<std::wstring> const& getDontApplyFilter() const { return dontApplyFilter_; }
    bool getFilterDefault() const { return filterDefault_ != 0; }

    sigslot::signal1<BaseTexture*> signalLost;
    sigslot::signal1<BaseTexture*> signalRestored;
    sigslot::signal1<BaseTexture&> signalSuspended;
    sigslot::signal1<BaseTexture&> signalResumed;

protected:
    // suspended := 0, recreateTexture, resumed signal.
    void resume();
    // Connects onLostDevice/onResetDevice to the device object (after disconnecting).
    void connectDeviceSignals();
    void disconnectDeviceSignals();

    u8 emitSuspendSignals_ = 0;
    u8 suspended_ = 0;
    u8 canSuspend_ = 1;
    u8 autoSuspend_ = 0;
    u32 autoSuspendTime_ = 5000;
    u32 lastUse_ = 0;
    std::wstring fileName_;
    u8 created_ = 0;
    u8 loading_ = 0;
    u32 creationKind_ = 0;
    XMLNode loadParams_;
    std::vector<std::wstring> applyFilter_;
    std::vector<std::wstring> dontApplyFilter_;
    u8 filterDefault_ = 1;
    u8 lostFlag_ = 0;

private:
    void initFromSettings();
    void onDeviceLostSlot() { onLostDevice(); }
    void onDeviceResetSlot() { onResetDevice(); }
};

}  // namespace Orvex
