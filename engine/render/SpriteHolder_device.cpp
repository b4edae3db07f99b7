// The device object's sprite pair. Defined here rather than with the device object so that the
// platform library does not depend on the render library that owns the type.
#include "engine/platform/D3DInterface.h"
#include "engine/render/SpriteHolder.h"

namespace Orvex {

SpriteHolder& D3DInterface::getSprite() {
    // Lives until exit like the device object itself; the holder recreates its sprites on every
    // device creation.
    if (!spriteHolder_) spriteHolder_ = new SpriteHolder();
    return *spriteHolder_;
}

}  // namespace Orvex
