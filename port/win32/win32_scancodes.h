// SDL key positions (scan codes from the USB usage tables) to PC set-1 scan codes: the one table
// behind Win32 key messages and DirectInput key codes (DIK_ codes are these numbers).
#pragma once

#include <SDL.h>

namespace port::win32 {

// Marks a code whose key sends the E0 prefix (DirectInput's numbering; Win32's extended bit).
constexpr unsigned char kExtendedScanCode = 0x80;

// The set-1 code of a key position, 0 for keys without one.
unsigned char scanCodeFromSdl(int scancode);

// The first SDL scan code giving that set-1 code (SDL_SCANCODE_UNKNOWN when none).
SDL_Scancode sdlFromScanCode(unsigned char code);

}  // namespace port::win32
