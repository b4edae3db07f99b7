// Key positions to DIK codes through the shared set-1 table, and mouse button numbers.
#include "port/dinput/KeyMap.h"

#include <iterator>

#include "port/win32/win32_scancodes.h"

namespace port::dinput {

unsigned char dikFromScancode(SDL_Scancode scancode) { return port::win32::scanCodeFromSdl(scancode); }

SDL_Scancode scancodeFromDik(unsigned char dik) { return port::win32::sdlFromScanCode(dik); }

int mouseButtonFromSdl(Uint8 button) {
    static constexpr int kOrder[] = {-1, 0, 2, 1, 3, 4, 5, 6, 7};
    return button < std::size(kOrder) ? kOrder[button] : -1;
}

}  // namespace port::dinput
