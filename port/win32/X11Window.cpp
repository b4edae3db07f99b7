// What the X server says of a window's size. SDL keeps a size of its own, which for a full-screen
// window is the display mode's as soon as it asks for full screen: where no window manager gives
// the window that size (an X server without one), the window keeps the size it had, and drawing
// and the pointer must follow that one. Asked through the Xlib SDL loaded, without linking it
// (as endOnDisplayLoss does); the X11 names stay in this file.
#include "port/win32/Internal.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <dlfcn.h>

#include <cstring>

namespace port::win32 {
namespace {

// XGetGeometry: one round trip (XGetWindowAttributes takes two).
using GetGeometry = Status (*)(Display*, Drawable, ::Window*, int*, int*, unsigned*, unsigned*, unsigned*, unsigned*);

GetGeometry xGetGeometry() {
    static GetGeometry const function = [] {
        void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (!xlib) return GetGeometry{};
        auto const found = reinterpret_cast<GetGeometry>(dlsym(xlib, "XGetGeometry"));
        dlclose(xlib);  // SDL keeps the library loaded
        return found;
    }();
    return function;
}

}  // namespace

bool x11WindowSize(SDL_Window* window, int& width, int& height) {
    if (!window) return false;
    char const* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    GetGeometry const get = xGetGeometry();
    ::Window root = 0;
    int x = 0, y = 0;
    unsigned w = 0, h = 0, border = 0, depth = 0;
    if (!get || !get(info.info.x11.display, info.info.x11.window, &root, &x, &y, &w, &h, &border, &depth)) return false;
    if (w == 0 || h == 0) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

}  // namespace port::win32
