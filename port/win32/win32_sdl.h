// Internal link between the Win32 windows and the layers that draw into them (the Direct3D
// device): the SDL window behind a window handle, kept alive while a device uses it.
#pragma once

#include "port/win32/windows_types.h"

struct SDL_Window;

namespace port::win32 {

// Starts SDL's video subsystem once (idempotent). False, with one log line, when it cannot start.
// On X11 a lost display connection then ends the program at once (endOnDisplayLoss).
bool ensureVideo();
// Makes a broken X11 display connection end the program with one log line and exit code 1,
// without the static destructors (which would wait on the dead connection); nothing elsewhere.
void endOnDisplayLoss();

// True when no real display is in use (video driver "offscreen" or "dummy").
bool headlessVideo();

// The desktop's size in pixels: "ORVEX_DESKTOP_SIZE" of the environment ("1280x720") when set,
// which stands for a display a test has in mind; else SDL's desktop mode of display 0. A
// headless display has no size of its own (SDL makes one up): it reports kHeadlessDesktop, as a
// display where nothing runs short. True when the size comes from a display or the override,
// false for the headless stand-in (or when video cannot start).
inline constexpr int kHeadlessDesktopWidth = 1920;
inline constexpr int kHeadlessDesktopHeight = 1080;
bool desktopSize(int& width, int& height);

// Asks SDL for the framebuffer every window and its GL context get: 8-bit colour with alpha,
// single-sampled, with 24-bit depth and 8-bit stencil, so a device can draw its back buffer and
// its automatic depth-stencil surface in the window. Windows choose their pixel format when they
// are made (X11, EGL), so window creation asks too.
void requestWindowFramebuffer();

// The SDL window of a live window handle, or null.
SDL_Window* sdlWindow(HWND window);

// The window handle of an SDL window id, or null.
HWND windowFromSdlId(unsigned id);

// A device holds the SDL window while it draws into it: DestroyWindow then only hides it, and
// the SDL window closes with the last release.
void retainWindow(HWND window);
void releaseWindow(HWND window);

// Windows keep their size when the program asks for another, as on a display where no window
// manager gives them the size asked for; for tests of what such a window shows and reads.
void keepWindowSizes(bool keep);

// The window's client size as the display shows it: on X11 the X server's, as refreshWindowSize
// last saw it (a full-screen window that no window manager resized keeps the size it had, while
// SDL reports the display mode's); elsewhere SDL's. False for no live window.
bool windowClientSize(HWND window, int& width, int& height);
// Asks the display for the window's size (a round trip on X11; nothing more elsewhere). A size
// other than the last reported one is reported as a change from outside the program (WM_SIZE,
// externalResizeCount), whatever made it. A device looks after each reset and once a frame.
void refreshWindowSize(HWND window);

// Counts size changes that came from outside the program (the user or the window manager
// resizing the window); a device compares it to notice that its back buffer no longer fits.
unsigned externalResizeCount(HWND window);

}  // namespace port::win32
