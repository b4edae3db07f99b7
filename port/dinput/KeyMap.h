// SDL scan codes (key positions, from the USB usage tables) to DirectInput key codes: DIK codes
// are the set-1 codes of port/win32/win32_scancodes.h.
#pragma once

#include <SDL.h>

namespace port::dinput {

// The DIK code of a key position, 0 for keys DirectInput has no code for.
unsigned char dikFromScancode(SDL_Scancode scancode);

// The first SDL scan code giving that DIK code (SDL_SCANCODE_UNKNOWN when none).
SDL_Scancode scancodeFromDik(unsigned char dik);

// The DirectInput button number of an SDL mouse button (SDL counts left, middle, right, X1, X2;
// DirectInput left, right, middle, X1, X2), -1 for none.
int mouseButtonFromSdl(Uint8 button);

}  // namespace port::dinput
