// The device object's own texture list. Defined here rather than with the device object so that
// the platform library does not depend on the render library that owns the type.
#include "engine/platform/D3DInterface.h"
#include "engine/render/TextureManager.h"

namespace Orvex {

TextureManager& D3DInterface::getTextureManager() {
    // Lives until exit: textures keep their device textures while the device exists, and the
    // device object is never destroyed before the program ends.
    if (!textureManager_) textureManager_ = new TextureManager(L"D3DInterface");
    return *textureManager_;
}

}  // namespace Orvex
