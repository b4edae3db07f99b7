// Cameras: Camera holds a left-handed perspective projection and a view and keeps the derived
// matrices (inverses, view-projection, camera-to-world) up to date; LookAtCamera, the concrete
// camera, builds its view from an eye point, a look-at point and an up vector.
// Camera.cpp: construction, the projection and the matrices; Camera_xml.cpp: writing and
// reading back ("FOV", "FOV_EXTREMA", "FOV_FIXED", "ZNEAR", "ZFAR", and for look-at cameras
// "TYPE" "LOOKAT" with the children "POSITION_EYE", "POSITION_LOOKAT", "UP").
//
// Field of view: an FOV record holds an angle in degrees, the aspect it belongs to and a fixed
// flag. A fixed angle is the vertical angle on every screen; a free one widens with the screen:
// vertical = screen aspect x degrees / record aspect. The vertical angle handed to the
// projection is kept within [kMinFovDegrees, kMaxFovDegrees], since at 180 degrees and beyond
// the projection turns over (a wide screen with a large stored angle gets there). zoom()
// scales the vertical angle within the range the extrema records give.
//
// The screen aspect comes from the device object's display mode; while that has no size (a
// height or width of 0 before the device exists) the previous aspect stays (1 at first).
// The projection is rebuilt on every device reset; cameras hold no device resources.
#pragma once

#include <string>
#include <vector>

#include "engine/core/NamedObject.h"
#include "engine/core/Types.h"
#include "port/d3dx9/d3dx9math.h"
#include "signals/sigslot.h"

namespace Orvex {

class D3DInterface;
class XMLNode;

class Camera : public NamedObject {
public:
    static constexpr double kMinFovDegrees = 1.0;
    static constexpr double kMaxFovDegrees = 179.0;
    // The aspect a written free angle belongs to.
    static constexpr double kSavedAspect = 1.3333333333333333;

    struct FOV {
        double degrees = 90.0;
        double aspect = 1.0;
        u8 fixed = 1;

        // The vertical angle on a screen of that aspect (before the range limit).
        double verticalDegrees(double screenAspect) const {
            return fixed ? degrees : screenAspect * degrees / aspect;
        }
        // The angle as written: fixed as it is, free for a 4:3 screen.
        double savedDegrees() const { return fixed ? degrees : degrees * kSavedAspect / aspect; }
    };

    explicit Camera(std::wstring const& name);
    // Copies every field and the three change signals with their listeners; the copy does not
    // listen to the device.
    Camera(Camera const& other);
    Camera& operator=(Camera const&) = delete;

    void readXML(XMLNode& node) override;
    void writeXML(XMLNode& node) const override;

    virtual Camera* clone() const = 0;
    virtual void update(float const& elapsed);
    virtual void buildProjection();
    virtual void buildView();
    // Sets projection, view and world on the device (in that order).
    virtual void apply();
    // The translation row of the camera-to-world matrix.
    virtual D3DXVECTOR3 getPosition();
    // Camera-to-world without its translation, inverted.
    virtual D3DXMATRIX getInverseRotation();
    virtual void setEyePosition(D3DXVECTOR3 const& eye) = 0;
    // (0, 0, 1) transformed by camera-to-world.
    virtual D3DXVECTOR3 getLookAt();
    virtual D3DXVECTOR3 getEyePosition();
    // The point (0, 1, 0) transformed by camera-to-world.
    virtual D3DXVECTOR3 getUp();
    // Derives what changed: inverse projection, view and camera-to-world, view-projection and
    // its inverse; emits projectionChanged, viewChanged (each when it changed), then changed.
    virtual void updateMatrices();

    void getClipPlanes(double& zNear, double& zFar) const {
        zNear = zNear_;
        zFar = zFar_;
    }
    // Usable clip planes (usableClipPlanes); otherwise nothing changes and false returns.
    bool setClipPlanes(double zNear, double zFar);
    // Whether the single-precision projection can take the planes: zNear above 0 and below
    // zFar also as floats, zFar within float range, and the depth terms zf / (zf - zn) and
    // zn x zf / (zf - zn) finite (1 and 1e39, or 1 and 1.00000001, would give a projection of
    // infinities and NaNs).
    static bool usableClipPlanes(double zNear, double zFar);

    FOV const& getFov() const { return fov_; }
    FOV const& getFovMin() const { return fovMin_; }
    FOV const& getFovMax() const { return fovMax_; }
    // Stores the record (its degrees must be positive and finite, its aspect too when free)
    // and rebuilds the projection; false and no change otherwise.
    bool setFov(FOV const& fov);
    bool setFovExtrema(FOV const& minimum, FOV const& maximum);
    // Narrows (factor > 1) or widens (factor < 1) the vertical angle by the factor, within the
    // vertical angles of the extrema at the current aspect; returns the new vertical angle.
    // A factor that is not positive and finite changes nothing.
    double zoom(double factor);
    // The vertical angle the projection uses now, in degrees.
    double getVerticalFovDegrees() const;

    float getAspect() const { return aspect_; }
    bool isAutoAspect() const { return autoAspect_ != 0; }
    // With auto aspect off the aspect given here is used instead of the screen's.
    void setAspect(float aspect, bool autoAspect);

    D3DXMATRIX const& getProjection() const { return projection_; }
    D3DXMATRIX const& getInverseProjection() const { return inverseProjection_; }
    D3DXMATRIX const& getView() const { return view_; }
    D3DXMATRIX const& getCameraToWorld() const { return cameraToWorld_; }
    D3DXMATRIX const& getViewProjection() const { return viewProjection_; }
    D3DXMATRIX const& getInverseViewProjection() const { return inverseViewProjection_; }
    D3DXMATRIX const& getWorld() const { return world_; }
    void setWorld(D3DXMATRIX const& world) { world_ = world; }

    sigslot::signal1<Camera&> projectionChanged;
    sigslot::signal1<Camera&> viewChanged;
    sigslot::signal1<Camera&> changed;

protected:
    // The keys of readXML; what cannot be used is added to problems (one log line names them).
    virtual void readFields(XMLNode& node, std::vector<std::wstring>& problems);
    void onDeviceLost() {}
    void onDeviceReset() { buildProjection(); }

    u8 projectionDirty_ = 0;
    u8 viewDirty_ = 0;
    D3DInterface* d3d_;
    double zNear_ = 0.1;
    double zFar_ = 100.0;
    FOV fov_;
    FOV fovMin_;
    FOV fovMax_;
    D3DXMATRIX projection_;
    D3DXMATRIX inverseProjection_;
    D3DXMATRIX view_;
    D3DXMATRIX builtView_;
    D3DXMATRIX cameraToWorld_;
    D3DXMATRIX viewProjection_;
    D3DXMATRIX inverseViewProjection_;
    D3DXMATRIX world_;
    float aspect_ = 1.0f;
    u32 autoAspect_ = 1;
};

class LookAtCamera : public Camera {
public:
    explicit LookAtCamera(std::wstring const& name);
    LookAtCamera(LookAtCamera const& other) = default;

    void writeXML(XMLNode& node) const override;
    Camera* clone() const override;
    void buildView() override;
    void setEyePosition(D3DXVECTOR3 const& eye) override;
    D3DXVECTOR3 getLookAt() override { return lookAt_; }
    D3DXVECTOR3 getEyePosition() override { return eye_; }
    D3DXVECTOR3 getUp() override { return up_; }

    void setLookAt(D3DXVECTOR3 const& lookAt);
    void setUp(D3DXVECTOR3 const& up);

protected:
    void readFields(XMLNode& node, std::vector<std::wstring>& problems) override;

private:
    D3DXVECTOR3 lookAt_{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 eye_{0.0f, 0.0f, -1.0f};
    D3DXVECTOR3 up_{0.0f, 1.0f, 0.0f};
};

}  // namespace Orvex
