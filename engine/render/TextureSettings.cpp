// Texture module settings, the texture clock and applying the "TEXINITPARAMS" record.
#include "engine/render/TextureSettings.h"

#include <cmath>

#include "engine/core/OrvexEngine.h"
#include "port/win32/kernel.h"

namespace Orvex {

namespace {

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
