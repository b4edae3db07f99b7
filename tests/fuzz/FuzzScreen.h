// For the fuzz targets that lay out windows without a device: quiet logs and a display mode of
// 640 x 480 on the device object, which the GUI and the cameras take as the screen.
#pragma once

#include "engine/platform/D3DInterface.h"
#include "tests/fuzz/FuzzSupport.h"

namespace fuzz {

inline void quietScreen() {
    quietLog();
    D3DDISPLAYMODE& mode = Orvex::D3DInterface::getInstance().getInitParams().displayMode;
    mode.Width = 640;
    mode.Height = 480;
}

}  // namespace fuzz
