// Texture module settings, the texture clock and the "TEXINITPARAMS" record.
#include "engine/render/TextureSettings.h"

#include <cmath>

#include "engine/core/OrvexEngine.h"
#include "engine/core/SettingsSection.h"
#include "engine/core/XMLNode.h"
#include "port/win32/kernel.h"

namespace Orvex {

namespace {

constexpr s64 kMaxU32 = 0xFFFFFFFF;

// The engine's update milliseconds, wrapped to 32 bits.
u32 engineMilliseconds() {
    double const ms = OrvexEngine::getInstance()->getTextureTickCount();
    if (!(ms > 0.0)) return 0;
    return static_cast<u32>(static_cast<u64>(std::fmod(ms, 4294967296.0)));
}

struct TextureClock {
    bool started = false;
    u32 base = 0;
};

TextureClock& textureClock() {
    static TextureClock clock;
    if (!clock.started) {
        clock.started = true;
        clock.base = GetTickCount() - engineMilliseconds();
    }
    return clock;
}

}  // namespace

TextureModuleSettings& TextureModuleSettings::get() {
    static TextureModuleSettings settings;
    return settings;
}

u32 getTextureTickCount() { return textureClock().base + engineMilliseconds(); }

void setTextureTickCount(u32 value) { textureClock().base = value - engineMilliseconds(); }

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
