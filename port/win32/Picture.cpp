// The picture's place in its window, shared by the device's Present and the input's pointer.
#include "port/win32/win32_picture.h"

#include "port/win32/Internal.h"


#include <algorithm>

namespace port::win32 {
namespace {

// One axis: client pixel c shows the picture at (c + 0.5) / scale - 0.5, pixel centres meeting
// as the stretching copy's do, so equal sizes map every pixel onto itself.
float toPictureAxis(float c, LONG areaStart, LONG areaEnd, unsigned size) {
    double const scale = static_cast<double>(areaEnd - areaStart) / size;
    double const p = (c + 0.5 - areaStart) / scale - 0.5;
    if (c < areaStart || c >= areaEnd) return static_cast<float>(p);
    return static_cast<float>(std::clamp(p, 0.0, static_cast<double>(size - 1)));
}

float toClientAxis(float p, LONG areaStart, LONG areaEnd, unsigned size) {
    double const scale = static_cast<double>(areaEnd - areaStart) / size;
    return static_cast<float>((p + 0.5) * scale + areaStart - 0.5);
}

}  // namespace

void PictureTransform::toPicture(float& x, float& y) const {
    float const cx = x, cy = y;
    x = toPictureAxis(cx, area.left, area.right, pictureWidth);
    y = toPictureAxis(cy, area.top, area.bottom, pictureHeight);
}

void PictureTransform::toClient(float& x, float& y) const {
    float const px = x, py = y;
    x = toClientAxis(px, area.left, area.right, pictureWidth);
    y = toClientAxis(py, area.top, area.bottom, pictureHeight);
}

PictureTransform pictureTransform(int clientWidth, int clientHeight, unsigned pictureWidth, unsigned pictureHeight) {
    PictureTransform t;
    t.clientWidth = std::max(1, clientWidth);
    t.clientHeight = std::max(1, clientHeight);
    t.pictureWidth = std::max(1u, pictureWidth);
    t.pictureHeight = std::max(1u, pictureHeight);
    t.area = RECT{0, 0, t.clientWidth, t.clientHeight};
    return t;
}

void setWindowPicture(HWND window, unsigned width, unsigned height) {
    if (WindowRecord* record = findWindow(window)) {
        record->pictureWidth = width;
        record->pictureHeight = height;
    }
}

bool windowPicture(HWND window, PictureTransform& transform) {
    WindowRecord const* record = findWindow(window);
    if (!record || !record->sdl || record->pictureWidth == 0 || record->pictureHeight == 0) return false;
    int w = 0, h = 0;
    clientSize(*record, w, h);
    transform = pictureTransform(w, h, record->pictureWidth, record->pictureHeight);
    return true;
}

}  // namespace port::win32
