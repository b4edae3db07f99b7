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

using GetWindowAttributes = Status (*)(Display*, ::Window, XWindowAttributes*);

GetWindowAttributes xGetWindowAttributes() {
    static GetWindowAttributes const function = [] {
        void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
        if (!xlib) return GetWindowAttributes{};
        auto const found = reinterpret_cast<GetWindowAttributes>(dlsym(xlib, "XGetWindowAttributes"));
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
    GetWindowAttributes const get = xGetWindowAttributes();
    XWindowAttributes attributes{};
    if (!get || !get(info.info.x11.display, info.info.x11.window, &attributes)) return false;
    if (attributes.width <= 0 || attributes.height <= 0) return false;
    width = attributes.width;
    height = attributes.height;
    return true;
}

}  // namespace port::win32
