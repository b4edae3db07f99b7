// Cameras: construction, the perspective projection with its angle limits, zoom, and the
// derived matrices.
#include "engine/render/Camera.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/platform/D3DInterface.h"

namespace Orvex {

namespace {

bool positiveFinite(double value) { return std::isfinite(value) && value > 0.0; }

bool validFov(Camera::FOV const& fov) { return positiveFinite(fov.degrees) && (fov.fixed || positiveFinite(fov.aspect)); }

double limitedFov(double degrees) {
    if (!(degrees >= Camera::kMinFovDegrees)) return Camera::kMinFovDegrees;
    return std::min(degrees, Camera::kMaxFovDegrees);
}

// A view that cannot be inverted (eye on the look-at point, up along the line of sight) leaves
// the previous inverse, so no garbage reaches the derived matrices.
void invertInto(D3DXMATRIX& out, D3DXMATRIX const& m) {
    D3DXMATRIX inverse;
    if (D3DXMatrixInverse(&inverse, nullptr, &m)) out = inverse;
}

}  // namespace

Camera::Camera(std::wstring const& name) : NamedObject(name), d3d_(&D3DInterface::getInstance()) {
    D3DXMatrixIdentity(&projection_);
    D3DXMatrixIdentity(&inverseProjection_);
    D3DXMatrixIdentity(&view_);
    D3DXMatrixIdentity(&builtView_);
    D3DXMatrixIdentity(&cameraToWorld_);
    D3DXMatrixIdentity(&viewProjection_);
    D3DXMatrixIdentity(&inverseViewProjection_);
    D3DXMatrixIdentity(&world_);
    d3d_->signalDeviceLost.connect(this, &Camera::onDeviceLost);
    d3d_->signalDeviceReset.connect(this, &Camera::onDeviceReset);
    // Virtual calls from a constructor reach this class's own versions, as intended here.
    Camera::buildProjection();
    viewDirty_ = 1;
    Camera::updateMatrices();
}

Camera::Camera(Camera const& other)
    : NamedObject(other),
      projectionChanged(other.projectionChanged),
      viewChanged(other.viewChanged),
      changed(other.changed),
      projectionDirty_(other.projectionDirty_),
      viewDirty_(other.viewDirty_),
      d3d_(other.d3d_),
      zNear_(other.zNear_),
      zFar_(other.zFar_),
      fov_(other.fov_),
      fovMin_(other.fovMin_),
      fovMax_(other.fovMax_),
      projection_(other.projection_),
      inverseProjection_(other.inverseProjection_),
      view_(other.view_),
      builtView_(other.builtView_),
      cameraToWorld_(other.cameraToWorld_),
      viewProjection_(other.viewProjection_),
      inverseViewProjection_(other.inverseViewProjection_),
      world_(other.world_),
      aspect_(other.aspect_),
      autoAspect_(other.autoAspect_) {}

void Camera::update(float const&) {}

void Camera::buildProjection() {
    if (autoAspect_) {
        RECT screen{};
        d3d_->getScreenRect(screen);
        long const width = screen.right - screen.left;
        long const height = screen.bottom - screen.top;
        if (width > 0 && height > 0) aspect_ = static_cast<float>(width) / static_cast<float>(height);
    }
    float const radians = D3DXToRadian(static_cast<float>(getVerticalFovDegrees()));
    D3DXMatrixPerspectiveFovLH(&projection_, radians, aspect_, static_cast<float>(zNear_), static_cast<float>(zFar_));
    projectionDirty_ = 1;
    updateMatrices();
}

void Camera::buildView() {
    viewDirty_ = 1;
    updateMatrices();
}

void Camera::apply() {
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!device) return;
    device->SetTransform(D3DTS_PROJECTION, &projection_);
    device->SetTransform(D3DTS_VIEW, &view_);
    device->SetTransform(D3DTS_WORLD, &world_);
}

D3DXVECTOR3 Camera::getPosition() { return D3DXVECTOR3(cameraToWorld_._41, cameraToWorld_._42, cameraToWorld_._43); }

D3DXMATRIX Camera::getInverseRotation() {
    D3DXMATRIX rotation = cameraToWorld_;
    rotation._41 = rotation._42 = rotation._43 = 0.0f;
    D3DXMATRIX inverse;
    D3DXMatrixIdentity(&inverse);
    invertInto(inverse, rotation);
    return inverse;
}

D3DXVECTOR3 Camera::getLookAt() {
    D3DXVECTOR3 const ahead(0.0f, 0.0f, 1.0f);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &ahead, &cameraToWorld_);
    return out;
}

D3DXVECTOR3 Camera::getEyePosition() { return getPosition(); }

D3DXVECTOR3 Camera::getUp() {
    D3DXVECTOR3 const above(0.0f, 1.0f, 0.0f);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &above, &cameraToWorld_);
    return out;
}

void Camera::updateMatrices() {
    if (projectionDirty_) invertInto(inverseProjection_, projection_);
    if (viewDirty_) {
        view_ = builtView_;
        invertInto(cameraToWorld_, view_);
    }
    if (!projectionDirty_ && !viewDirty_) return;
    viewProjection_ = view_ * projection_;
    invertInto(inverseViewProjection_, viewProjection_);
    bool const projection = projectionDirty_ != 0;
    bool const view = viewDirty_ != 0;
    projectionDirty_ = 0;
    viewDirty_ = 0;
    if (projection) projectionChanged.emit(*this);
    if (view) viewChanged.emit(*this);
    changed.emit(*this);
}

bool Camera::usableClipPlanes(double zNear, double zFar) {
    if (!positiveFinite(zNear) || !positiveFinite(zFar) || !(zNear < zFar)) return false;
    if (zFar > std::numeric_limits<float>::max()) return false;
    float const n = static_cast<float>(zNear);
    float const f = static_cast<float>(zFar);
    if (!(n > 0.0f && n < f)) return false;
    float const depth = f - n;
    return std::isfinite(f / depth) && std::isfinite(n * f / depth);
}

bool Camera::setClipPlanes(double zNear, double zFar) {
    if (!usableClipPlanes(zNear, zFar)) return false;
    zNear_ = zNear;
    zFar_ = zFar;
    buildProjection();
    return true;
}

bool Camera::setFov(FOV const& fov) {
    if (!validFov(fov)) return false;
    fov_ = fov;
    buildProjection();
    return true;
}

bool Camera::setFovExtrema(FOV const& minimum, FOV const& maximum) {
    if (!validFov(minimum) || !validFov(maximum)) return false;
    fovMin_ = minimum;
    fovMax_ = maximum;
    return true;
}

double Camera::getVerticalFovDegrees() const { return limitedFov(fov_.verticalDegrees(aspect_)); }

double Camera::zoom(double factor) {
    if (!positiveFinite(factor)) return getVerticalFovDegrees();
    double const a = limitedFov(fovMin_.verticalDegrees(aspect_));
    double const b = limitedFov(fovMax_.verticalDegrees(aspect_));
    double const vertical = std::clamp(getVerticalFovDegrees() / factor, std::min(a, b), std::max(a, b));
    fov_.degrees = fov_.fixed ? vertical : vertical * fov_.aspect / aspect_;
    buildProjection();
    return getVerticalFovDegrees();
}

void Camera::setAspect(float aspect, bool autoAspect) {
    if (std::isfinite(aspect) && aspect > 0.0f) aspect_ = aspect;
    autoAspect_ = autoAspect ? 1 : 0;
    buildProjection();
}

LookAtCamera::LookAtCamera(std::wstring const& name) : Camera(name) {
    D3DXMatrixLookAtLH(&builtView_, &eye_, &lookAt_, &up_);
    viewDirty_ = 1;
    LookAtCamera::updateMatrices();
}

Camera* LookAtCamera::clone() const { return new LookAtCamera(*this); }

void LookAtCamera::buildView() {
    D3DXMatrixLookAtLH(&builtView_, &eye_, &lookAt_, &up_);
    viewDirty_ = 1;
    updateMatrices();
}

void LookAtCamera::setEyePosition(D3DXVECTOR3 const& eye) {
    eye_ = eye;
    buildView();
}

void LookAtCamera::setLookAt(D3DXVECTOR3 const& lookAt) {
    lookAt_ = lookAt;
    buildView();
}

void LookAtCamera::setUp(D3DXVECTOR3 const& up) {
    up_ = up;
    buildView();
}

}  // namespace Orvex
