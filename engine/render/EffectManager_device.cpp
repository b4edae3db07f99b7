// The device object's accessor of the effect manager. Defined here rather than with the device
// object so that the platform library does not depend on the render library that owns the type.
#include "engine/platform/D3DInterface.h"
#include "engine/render/EffectManager.h"

namespace Orvex {

EffectManager& D3DInterface::getEffectManager() {
    if (!effectManager_) effectManager_ = &EffectManager::getInstance();
    return *effectManager_;
}

}  // namespace Orvex
