// Texture module settings, the texture clock and the "TEXINITPARAMS" record.
#include "engine/render/TextureSettings.h"

#include <cmath>

#include "engine/core/OrvexEngine.h"
#include "engine/core/XMLNode.h"
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

TextureInitSettings TextureInitSettings::fromEngineRecord(TextureInitParams const& record) {
    TextureInitSettings settings;
    settings.suspendOnTexLoad = record.suspendOnTexLoad;
    settings.overrideAutoSuspend = record.overrideAutoSuspend;
    settings.actualTickCount = static_cast<u32>(record.actualTickCount);
    return settings;
}

void TextureInitSettings::read(XMLNode& node) {
    suspendOnTexLoad = node.getAttributeBool(L"SUSPEND_ON_TEX_LOAD", suspendOnTexLoad);
    suspendOnTexCreate = node.getAttributeBool(L"SUSPEND_ON_TEX_CREATE", suspendOnTexCreate);
    overrideAutoSuspend = node.getAttributeBool(L"OVERRIDE_AUTO_SUSPEND", overrideAutoSuspend);
    overrideAutoSuspendTime = node.getAttributeLong(L"OVERRIDE_AUTO_SUSPEND_TIME", overrideAutoSuspendTime);
    actualTickCount = node.getAttributeLong(L"ACTUAL_TICKCOUNT", actualTickCount);
}

void TextureInitSettings::write(XMLNode& node) const {
    node.setAttribute(L"SUSPEND_ON_TEX_CREATE", suspendOnTexCreate ? L"1" : L"0");
    node.setAttribute(L"SUSPEND_ON_TEX_LOAD", suspendOnTexLoad ? L"1" : L"0");
    node.setAttribute(L"OVERRIDE_AUTO_SUSPEND", overrideAutoSuspend ? L"1" : L"0");
    node.setAttribute(L"OVERRIDE_AUTO_SUSPEND_TIME", std::to_wstring(overrideAutoSuspendTime));
    node.setAttribute(L"ACTUAL_TICKCOUNT", std::to_wstring(actualTickCount));
}

void TextureInitSettings::apply() const {
    TextureModuleSettings& settings = TextureModuleSettings::get();
    settings.suspendOnCreate = suspendOnTexCreate;
    settings.suspendOnLoad = suspendOnTexLoad;
    settings.overrideAutoSuspend = overrideAutoSuspend;
    settings.overrideAutoSuspendTime = overrideAutoSuspendTime;
    setTextureTickCount(actualTickCount == 0xFFFFFFFFu ? GetTickCount() : actualTickCount);
}

}  // namespace Orvex
