// Fuzzes the camera-file reader with file bytes: the input, written as the file "part0" (see
// FuzzSupport.h), read by the camera manager as "CAM_loadCamera" reads it, then every camera's
// matrices built, the cameras written out as "CAM_saveCamera" writes them and read back.
// Checks: no more cameras than the manager takes, every projection from an angle within its
// range and clip planes in order, and every written camera read back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/core/XMLNode.h"
#include "engine/render/Camera.h"
#include "engine/render/CameraManager.h"
#include "tests/fuzz/FuzzScreen.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

void checkCamera(Orvex::Camera& camera) {
    camera.updateMatrices();
    double const fov = camera.getVerticalFovDegrees();
    check(fov >= Orvex::Camera::kMinFovDegrees && fov <= Orvex::Camera::kMaxFovDegrees);
    double zNear = 0.0, zFar = 0.0;
    camera.getClipPlanes(zNear, zFar);
    check(std::isfinite(zNear) && std::isfinite(zFar) && zNear < zFar);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) check(std::isfinite(camera.getProjection().m[r][c]));
    (void)camera.zoom(0.5);
    (void)camera.zoom(1e30);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietScreen();
    fuzz::serveParts(data, size);
    Orvex::CameraManager& manager = Orvex::CameraManager::getInstance();
    manager.clear();
    unsigned const read = manager.loadCameras(L"part0");
    check(manager.getCameras().size() <= Orvex::CameraManager::kMaxLoadedCameras);
    check(manager.getCameras().size() <= read);
    for (Orvex::Camera* camera : manager.getCameras()) checkCamera(*camera);

    // Read back into an empty list: every written camera is read, none is refused.
    Orvex::XMLNode saved(L"CAMERAS");
    unsigned const written = manager.fillCameraNode(saved, nullptr);
    check(written == manager.getCameras().size());
    std::wstring const file = fuzz::partFile(fuzz::kMaxParts - 1);
    if (saved.save(file, true)) {
        manager.clear();
        check(manager.loadCameras(file) == written);
        check(manager.getCameras().size() <= written);
        for (Orvex::Camera* camera : manager.getCameras()) checkCamera(*camera);
    }
    manager.clear();
    return 0;
}
