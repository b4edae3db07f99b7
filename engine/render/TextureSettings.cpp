// Texture module settings, the texture clock and the "TEXINITPARAMS" record.
#include "engine/render/TextureSettings.h"

#include <cmath>

#include "engine/core/SettingsSection.h"
#include "engine/core/XMLNode.h"
#include "port/win32/kernel.h"

namespace Orvex {

namespace {

constexpr s64 kMaxU32 = 0xFFFFFFFF;

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

bool TextureInitParams::read(XMLNode const& node) {
    SettingsSection const section(node, L"TEXINITPARAMS");
    section.read(L"SUSPEND_ON_TEX_LOAD", suspendOnTexLoad);
    section.read(L"SUSPEND_ON_TEX_CREATE", suspendOnTexCreate);
    section.read(L"OVERRIDE_AUTO_SUSPEND", overrideAutoSuspend);
    section.read(L"OVERRIDE_AUTO_SUSPEND_TIME", 0, kMaxU32, overrideAutoSuspendTime);
    section.read(L"ACTUAL_TICKCOUNT", 0, kMaxU32, actualTickCount);
    return true;
}

void TextureInitParams::write(XMLNode& section) const {
    section.setAttribute(L"SUSPEND_ON_TEX_CREATE", suspendOnTexCreate ? L"1" : L"0");
    section.setAttribute(L"SUSPEND_ON_TEX_LOAD", suspendOnTexLoad ? L"1" : L"0");
    section.setAttribute(L"OVERRIDE_AUTO_SUSPEND", overrideAutoSuspend ? L"1" : L"0");
    section.setAttribute(L"OVERRIDE_AUTO_SUSPEND_TIME", std::to_wstring(overrideAutoSuspendTime));
    section.setAttribute(L"ACTUAL_TICKCOUNT", std::to_wstring(actualTickCount));
}

void TextureInitParams::apply() const {
    TextureModuleSettings& settings = TextureModuleSettings::get();
    settings.suspendOnCreate = suspendOnTexCreate;
    settings.suspendOnLoad = suspendOnTexLoad;
    settings.overrideAutoSuspend = overrideAutoSuspend;
    settings.overrideAutoSuspendTime = overrideAutoSuspendTime;
    setTextureTickCount(actualTickCount == kUseTickCount ? GetTickCount() : actualTickCount);
}

}  // namespace Orvex
