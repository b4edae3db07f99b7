// Where a window shows the picture a device draws for it. A windowed back buffer is stretched over
// the whole client area, whatever the shapes of the two, as Direct3D does when the window keeps a
// size of its own (no window manager gave it the size asked for, or the user resized it).
// Present draws through this transform and the input maps pointer positions back through it, so
// the pointer over a drawn button is over that button in the picture's pixels.
#pragma once

#include "port/win32/windows_types.h"

namespace port::win32 {

struct PictureTransform {
    int clientWidth = 0;  // the client area (or the drawable of the same window)
    int clientHeight = 0;
    unsigned pictureWidth = 0;  // the back buffer
    unsigned pictureHeight = 0;
    RECT area{};  // the part of the client area the picture fills

    // A client point (in pixels, the top left pixel at 0, 0) as the picture point shown there; a
    // point inside the area stays inside the picture.
    void toPicture(float& x, float& y) const;
    // A picture point as the client point where it is shown.
    void toClient(float& x, float& y) const;
};

// The transform for a client area and a picture of these sizes (empty sizes count as 1).
PictureTransform pictureTransform(int clientWidth, int clientHeight, unsigned pictureWidth, unsigned pictureHeight);

// The size of the picture a device shows in the window; 0 x 0 when none does. The device sets it
// at every Reset and clears it when it goes.
void setWindowPicture(HWND window, unsigned width, unsigned height);
// The transform between the window's client area as it is now and the picture shown in it; false
// (and the transform untouched) when no picture is shown or the window is gone.
bool windowPicture(HWND window, PictureTransform& transform);

}  // namespace port::win32
