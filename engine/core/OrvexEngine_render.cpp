// The engine's side of the render managers: the managers it makes so that they outlive it, the
// texture settings handed to the texture module once the device exists, and the release of
// everything that holds the device before the device object closes it. Effects and textures
// keep a reference to the device, so closing the device first would leave it (and its GL
// context) alive until the process ends.
#include "engine/core/Logger.h"
#include "engine/core/OrvexEngine.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/CameraManager.h"
#include "engine/render/EffectManager.h"
#include "engine/render/SplineManager.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureSettings.h"
#include "port/win32/winuser.h"

namespace Orvex {

void OrvexEngine::acquireRender() {
    // Function-local singletons die in reverse order of their making: made here, they are still
    // there when the engine's destructor releases the device. The port's window table is one of
    // them (the device's window is destroyed through it).
    EffectManager::getInstance();
    IsWindow(nullptr);
    // The camera manager ("CAM_") lives to process exit; the spline manager ("SPL_reload") is
    // the engine's. Neither holds device resources: cameras rebuild their projection on a
    // device reset by themselves.
    CameraManager::getInstance();
    splineManager_ = std::make_unique<SplineManager>();
}

void OrvexEngine::initRender() { applyTextureInitParams(texParams_); }

void OrvexEngine::releaseDevice() {
    // The batcher holds an effect reference, so it goes before the effects.
    if (SpriteHolder* sprites = d3d_->findSprite()) sprites->release();
    EffectManager::getInstance().clear();
    d3d_->getTextureManager().releaseAll();
    d3d_->shutdown();
}

}  // namespace Orvex
