// A lost display connection ends the program at once. Xlib's own handler calls exit(), which runs
// the static destructors; ours tear down GL contexts and SDL windows over the dead connection,
// where Xlib then waits for a reply for ever, one core at full load (seen when the X server goes
// away while the program is quitting, as at the end of a session). Files are written whole or
// not at all, so ending without the destructors loses only what was not saved yet.
#include "port/win32/Internal.h"
#include "port/win32/win32_log.h"

#include <SDL.h>
#include <dlfcn.h>
#include <unistd.h>

#include <cstring>

namespace port::win32 {
namespace {

using IOErrorHandler = int (*)(void* display);

int onDisplayLost(void*) {
    port::logLine(port::LogLevel::Error, L"The connection to the display was lost: the program ends");
    _exit(1);
}

}  // namespace

void endOnDisplayLoss() {
    char const* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return;
    // SDL loads Xlib itself; only its handler setter is wanted, without linking Xlib.
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!xlib) return;
    using SetHandler = IOErrorHandler (*)(IOErrorHandler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(xlib, "XSetIOErrorHandler"))) set(&onDisplayLost);
    dlclose(xlib);
}

}  // namespace port::win32
