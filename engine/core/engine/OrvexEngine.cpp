// The engine object: construction with its managers, ownership of the user globals,
// initialisation and the replaceable clock, sleep and device check.
#include "engine/core/engine/OrvexEngine.h"

#include <algorithm>

#include "engine/core/Console.h"
#include "engine/core/Logger.h"
#include "engine/core/UserGlobals.h"
#include "engine/core/engine/OrvexEngineConsole.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/platform/D3DInterface.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/render/RenderManager.h"
#include "engine/render/SplineManager.h"
#include "port/win32/kernel.h"

namespace Orvex {

OrvexEngine* OrvexEngine::getInstance() {
    static OrvexEngine instance;
    return &instance;
}

OrvexEngine::OrvexEngine() {
    // The log (which takes the port layer's lines) and the console exist before the engine, so
    // they outlive it.
    Logger::getInstance();
    Console::getInstance();
    registerCommands();
    // Window, device, input (and its per-step manager), sound and music, in this order; the
    // managers built on the device (render manager, then spline manager) follow them once they
    // exist.
    acquirePlatform();
    acquireRender();
    ingameConsole_ = std::make_unique<IngameConsole>();
}

OrvexEngine::~OrvexEngine() {
    // Still up at exit (the entry point did not shut down): give the device back, so that no
    // effect or texture keeps it alive. Input and sound are left alone: their port parts were
    // made after the engine and are gone by now.
    if (initialised_) releaseDevice();
    releasePlatform();
    renderManager_.reset();
    ingameConsole_.reset();
    splineManager_.reset();
    userGlobals_.reset();
    if (GUITooltipParam::getLanguageSource() == &language_) GUITooltipParam::setLanguageSource(nullptr);
}

void OrvexEngine::setUserGlobals(UserGlobals* globals) {
    if (globals == userGlobals_.get()) return;
    userGlobals_.reset(globals);
}

bool OrvexEngine::init() {
    if (initialised_) return true;
    EngineInitParams params{&d3d_->getInitParams(), &input_->getInitParams(), &texParams_};
    if (userGlobals_ && !userGlobals_->onPreInit(params)) {
        logError(L"OrvexEngine::init: the user globals refused to start (onPreInit)");
        return false;
    }
    if (!initPlatform()) return false;
    // Before anything loads a texture: the user globals' post-init hook may.
    initRender();
    if (userGlobals_ && !userGlobals_->onPostInit(params)) {
        logError(L"OrvexEngine::init: the user globals failed after start-up (onPostInit)");
        return false;
    }
    initialised_ = true;
    if (showConsole_) Logger::getInstance().showConsole(true);
    logInfo(L"OrvexEngine initialised");
    return true;
}

void OrvexEngine::setRenderInterval(double const& seconds) { renderInterval_ = std::max(0.0, seconds); }
void OrvexEngine::setUpdateInterval(double const& seconds) { updateInterval_ = std::max(0.0, seconds); }
void OrvexEngine::setTickInterval(double const& seconds) { tickInterval_ = std::max(0.0, seconds); }

void OrvexEngine::setLoopClock(std::function<double()> now, std::function<void(u32)> sleep) {
    clock_ = std::move(now);
    sleep_ = std::move(sleep);
}

void OrvexEngine::setDeviceCheck(std::function<bool()> check) { deviceCheck_ = std::move(check); }

void OrvexEngine::setPictureLook(std::function<void()> ask, std::function<bool(std::uint64_t&)> take) {
    pictureAsk_ = std::move(ask);
    pictureTake_ = std::move(take);
}

double OrvexEngine::now() const {
    if (clock_) return clock_();
    LARGE_INTEGER counter{};
    LARGE_INTEGER frequency{};
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 || !QueryPerformanceCounter(&counter))
        return static_cast<double>(GetTickCount64()) / 1000.0;
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void OrvexEngine::sleepFor(u32 milliseconds) const {
    if (sleep_)
        sleep_(milliseconds);
    else
        Sleep(milliseconds);
}

void OrvexEngine::waitForMessage(u32 milliseconds) const {
    // Woken by input at once: a press during a long wait of a still picture is handled now, not
    // up to a wait later.
    if (sleep_)
        sleep_(milliseconds);
    else
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds, QS_ALLINPUT);
}

}  // namespace Orvex
