// The engine's side of the render managers: the managers it makes so that they outlive it, the
// texture settings handed to the texture module once the device exists, and the release of
// everything that holds the device before the device object closes it. Effects and textures
// keep a reference to the device, so closing the device first would leave it (and its GL
// context) alive until the process ends.
#include "engine/core/Logger.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/gui/GlyphTablePlan.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/CameraManager.h"
#include "engine/render/EffectManager.h"
#include "engine/render/RenderManager.h"
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
    D3DXFontInterface::instance();
    IsWindow(nullptr);
    // Run-time glyph tables cover the characters the language texts use.
    setLanguageCharacterSource([this] {
        std::vector<wchar_t> const units = language_.getCharacterList();
        return std::vector<u16>(units.begin(), units.end());
    });
    // Tooltip and label text ids resolve in the engine's languages.
    GUITooltipParam::setLanguageSource(&language_);
    // Its target follows the back buffer; its renderers make their targets once the device
    // exists and let go of them when the device object shuts down.
    renderManager_ = std::make_unique<RenderManager>(RenderManager::kFollowDevice, RenderManager::kFollowDevice);
    // The camera manager ("CAM_") lives to process exit; the spline manager ("SPL_reload") is
    // the engine's. Neither holds device resources: cameras rebuild their projection on a
    // device reset by themselves.
    CameraManager::getInstance();
    splineManager_ = std::make_unique<SplineManager>();
}

D3DXFontInterface* OrvexEngine::getFontManager() const { return &D3DXFontInterface::instance(); }

void OrvexEngine::initRender() {
    texParams_.apply();
    // Once: fonts added later are created as they come.
    D3DXFontInterface& fonts = D3DXFontInterface::instance();
    if (!fonts.isReady()) fonts.initFonts();
}

void OrvexEngine::releaseDevice() {
    // The batcher holds an effect reference, so it goes before the effects.
    if (SpriteHolder* sprites = d3d_->findSprite()) sprites->release();
    EffectManager::getInstance().clear();
    // Fonts and glyph tables hold device textures; the game loads its font files again after
    // a new init.
    D3DXFontInterface::instance().clearAll();
    d3d_->getTextureManager().releaseAll();
    d3d_->shutdown();
}

}  // namespace Orvex
