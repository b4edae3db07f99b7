// Process-wide texture settings: whether new textures start suspended, join the idle check and
// with what idle time; the size reduction applied when files are loaded; the texture clock that
// every last-use stamp and idle test reads; and the "TEXINITPARAMS" record of the settings file,
// which the engine object reads early and applies here at start-up.
//
// The texture tick count is one clock for stamps and idle tests alike: the update milliseconds
// the engine's main loop feeds in (TextureClock::advance) plus a base that "ACTUAL_TICKCOUNT"
// (or setTextureTickCount) chooses. Stamping from another clock (GetTickCount) would make
// textures made during loading look idle at the first check.
#pragma once

#include "engine/core/Types.h"
#include "signals/sigslot.h"

namespace Orvex {

class XMLNode;


// The update time that drives texture suspension. The engine's update step advances it; every
// kCheckMs of it, checkSignal fires and textures in auto-suspend mode test their idle time.
class TextureClock {
public:
    static constexpr double kCheckMs = 1000.0;

    static TextureClock& get();

    void advance(double milliseconds);
    // Update milliseconds counted so far (grows without reset).
    double updateMs() const { return updateMs_; }

    sigslot::signal0<> checkSignal;

private:
    friend void setTextureTickCount(u32 value);
    friend u32 getTextureTickCount();

    TextureClock();

    double updateMs_ = 0.0;
    double checkAcc_ = 0.0;
    u32 base_ = 0;
};

struct TextureModuleSettings {
    // A new texture starts suspended (reads only its image information until first use).
    bool suspendOnCreate = false;
    // TextureManager::loadTextures suspends each new texture before loading it.
    bool suspendOnLoad = false;
    // A new texture joins the idle check, with this idle time.
    bool overrideAutoSuspend = false;
    u32 overrideAutoSuspendTime = 5000;

    // Size reduction at load time (all off: files load at their own size).
    u32 globalMinSize = 0;
    u32 globalMaxSize = 0xFFFFFFFFu;
    bool globalMinEnabled = false;
    bool globalMaxEnabled = false;
    float globalScale = 1.0f;
    bool globalScaleEnabled = false;

    bool anySizeReduction() const { return globalMinEnabled || globalMaxEnabled || globalScaleEnabled; }

    static TextureModuleSettings& get();
};

// Milliseconds (wrapping u32) on the texture clock.
u32 getTextureTickCount();
// Makes the texture clock read value now; it keeps advancing with the engine's updates.
void setTextureTickCount(u32 value);

// The "TEXINITPARAMS" section of config.cfg.
struct TextureInitParams {
    static constexpr u32 kUseTickCount = 0xFFFFFFFFu;

    bool suspendOnTexLoad = false;           // "SUSPEND_ON_TEX_LOAD"
    bool suspendOnTexCreate = false;         // "SUSPEND_ON_TEX_CREATE"
    bool overrideAutoSuspend = false;        // "OVERRIDE_AUTO_SUSPEND"
    u32 overrideAutoSuspendTime = 5000;      // "OVERRIDE_AUTO_SUSPEND_TIME", milliseconds
    u32 actualTickCount = kUseTickCount;     // "ACTUAL_TICKCOUNT"; all-ones: start at GetTickCount

    // Takes each of the five attributes that is present (numbers as unsigned base-10; other text
    // keeps the value with a log line).
    bool read(XMLNode const& section);
    // Sets all five attributes, in the file's order.
    void write(XMLNode& section) const;
    // Copies the record into the module settings and sets the texture clock (GetTickCount when
    // the tick count is all-ones). The engine object calls it once the device exists.
    void apply() const;

    bool operator==(TextureInitParams const&) const = default;
};

}  // namespace Orvex
