// Texture module settings, the texture clock and applying the "TEXINITPARAMS" record.
#include "engine/render/TextureSettings.h"

#include <cmath>

#include "engine/core/XMLNode.h"
#include "port/win32/kernel.h"

namespace Orvex {

namespace {

// The update milliseconds, wrapped to 32 bits.
u32 updateMilliseconds(double ms) {
    if (!(ms > 0.0)) return 0;
    return static_cast<u32>(static_cast<u64>(std::fmod(ms, 4294967296.0)));
}

}  // namespace

TextureClock& TextureClock::get() {
    static TextureClock clock;
    return clock;
}

TextureClock::TextureClock() : base_(GetTickCount()) {}

void TextureClock::advance(double milliseconds) {
    updateMs_ += milliseconds;
    checkAcc_ += milliseconds;
    if (checkAcc_ >= kCheckMs) {
        checkAcc_ = 0.0;
        checkSignal.emit();
    }
}

bool TextureInitParams::readConfig(XMLNode const& section) {
    suspendOnTexLoad = section.getAttributeBool(L"SUSPEND_ON_TEX_LOAD", suspendOnTexLoad);
    suspendOnTexCreate = section.getAttributeBool(L"SUSPEND_ON_TEX_CREATE", suspendOnTexCreate);
    overrideAutoSuspend = section.getAttributeBool(L"OVERRIDE_AUTO_SUSPEND", overrideAutoSuspend);
    overrideAutoSuspendTime = section.getAttributeLong(L"OVERRIDE_AUTO_SUSPEND_TIME", overrideAutoSuspendTime);
    actualTickCount = section.getAttributeLong(L"ACTUAL_TICKCOUNT", actualTickCount);
    return true;
}

void TextureInitParams::writeConfig(XMLNode& section) const {
    section.setAttribute(L"SUSPEND_ON_TEX_CREATE", suspendOnTexCreate ? L"1" : L"0");
    section.setAttribute(L"SUSPEND_ON_TEX_LOAD", suspendOnTexLoad ? L"1" : L"0");
    section.setAttribute(L"OVERRIDE_AUTO_SUSPEND", overrideAutoSuspend ? L"1" : L"0");
    section.setAttribute(L"OVERRIDE_AUTO_SUSPEND_TIME", std::to_wstring(overrideAutoSuspendTime));
    section.setAttribute(L"ACTUAL_TICKCOUNT", std::to_wstring(actualTickCount));
}

TextureModuleSettings& TextureModuleSettings::get() {
    static TextureModuleSettings settings;
    return settings;
}

u32 getTextureTickCount() {
    TextureClock const& clock = TextureClock::get();
    return clock.base_ + updateMilliseconds(clock.updateMs_);
}

void setTextureTickCount(u32 value) {
    TextureClock& clock = TextureClock::get();
    clock.base_ = value - updateMilliseconds(clock.updateMs_);
}

void applyTextureInitParams(TextureInitParams const& params) {
    TextureModuleSettings& settings = TextureModuleSettings::get();
    settings.suspendOnCreate = params.suspendOnTexCreate;
    settings.suspendOnLoad = params.suspendOnTexLoad;
    settings.overrideAutoSuspend = params.overrideAutoSuspend;
    settings.overrideAutoSuspendTime = params.overrideAutoSuspendTime;
    u32 const ticks = params.actualTickCount;
    setTextureTickCount(ticks == TextureInitParams::kUseTickCount ? GetTickCount() : ticks);
}

}  // namespace Orvex
