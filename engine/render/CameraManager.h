// The application's cameras: a list (one reference per camera), the active camera, and the
// "CAM_" console commands that reach the listed cameras by exact name:
//   "CAM_setActiveCamera Cameraname", "CAM_getAllCameraNames",
//   "CAM_setEyePosition Cameraname x y z", "CAM_getEyePosition Cameraname",
//   "CAM_saveCamera filename [name]" (a "CAMERAS" file, UTF-16) and
//   "CAM_loadCamera filename" (reads such a file back: a camera of a listed name takes the
//   file's values, other names become new look-at cameras at the end of the list).
// Nothing in the engine lists cameras; an application adds the cameras the console should
// reach. Cameras hold no device resources, so the manager needs no device connections.
#pragma once

#include <string>
#include <vector>

#include "engine/core/ConsoleCommand.h"
#include "engine/core/Types.h"

namespace Orvex {

class Camera;
class XMLNode;

class CameraManager : public ConsoleCommandReceiver {
public:
    // A camera file adds no cameras beyond this many in the list (a few bytes of file per
    // camera would otherwise take a kilobyte each without end).
    static constexpr u32 kMaxLoadedCameras = 1024;

    static CameraManager& getInstance();

    // Appends the camera with one more reference (a camera already listed is not added again).
    void addCamera(Camera& camera);
    // Takes the camera off the list and releases the list's reference; the active camera
    // becomes null when it was this one. False when it was not listed.
    bool removeCamera(Camera& camera);
    // Releases every camera; no camera is active afterwards.
    void clear();
    // The first listed camera with exactly that name, or null.
    Camera* findCamera(std::wstring const& name) const;
    std::vector<Camera*> const& getCameras() const { return cameras_; }

    // A listed camera or null.
    bool setActiveCamera(Camera* camera);
    Camera* getActiveCamera() const { return active_; }

    // Writes every camera (or those of that name) into a "CAMERAS" node, one "CAMERA" child
    // each; returns the count.
    unsigned fillCameraNode(XMLNode& node, std::wstring const* name) const;
    // Reads a "CAMERAS" file as described above; returns the number of cameras read. A missing
    // or damaged file logs one line naming it; so does a file that would list more than
    // kMaxLoadedCameras cameras (the rest of it is not read).
    unsigned loadCameras(std::wstring const& fileName);

    void executeCommand(ConsoleCommand& command, TypedConsoleCommand& typed) override;
    void completeArguments(TypedConsoleCommand const& typed, std::vector<std::wstring>& offers) override;

    CameraManager(CameraManager const&) = delete;
    CameraManager& operator=(CameraManager const&) = delete;

private:
    CameraManager();
    ~CameraManager() override;

    std::vector<Camera*> cameras_;
    Camera* active_ = nullptr;
};

}  // namespace Orvex
