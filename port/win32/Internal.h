// Internal state shared by the window, message and input files of port/win32.
#pragma once

#include "port/win32/winuser.h"

#include <string>

struct SDL_Window;

namespace port::win32 {

struct WindowRecord {
    HWND handle = nullptr;
    SDL_Window* sdl = nullptr;
    unsigned sdlId = 0;
    WNDPROC proc = nullptr;
    UINT classStyle = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    LONG_PTR id = 0;
    std::wstring text;
    int users = 0;            // devices holding the SDL window
    bool destroyed = false;   // DestroyWindow ran; the record waits for its users
    bool visible = false;
    bool minimized = false;
    int width = 0;            // the size last reported with WM_SIZE
    int height = 0;
    unsigned externalResizes = 0;
    // Double-click detection: the last button press (button 0: none).
    int lastButton = 0;
    DWORD lastButtonTime = 0;
    int lastButtonX = 0;
    int lastButtonY = 0;
    int mouseX = 0;            // last pointer position in client coordinates
    int mouseY = 0;
    unsigned pictureWidth = 0;   // the back buffer a device shows in the window (0: none)
    unsigned pictureHeight = 0;
    int shownWidth = 0;          // the client size the X server last gave (0: not known, not X11)
    int shownHeight = 0;
};

// The record of a live window (not destroyed), or null.
WindowRecord* findWindow(HWND window);
// The live window of an SDL window id, or null.
WindowRecord* findWindowBySdlId(unsigned id);

// Activation bookkeeping: makes the window the active one and sends WM_ACTIVATE (and
// WM_ACTIVATEAPP) to the old and the new one when it changes. Null deactivates.
void activate(HWND window, WORD how);

// Sends WM_SIZE when the size differs from the last reported one. External: the change came from
// outside the program (counted for devices).
void reportSize(WindowRecord& record, int width, int height, bool external);

// The client size as the display shows it: the X server's as last seen, else SDL's.
void clientSize(WindowRecord const& record, int& width, int& height);
// Looks at the size the display gives the window (the X server's; elsewhere width x height, as
// SDL gives it) and reports it as a change from outside when it differs from the last reported.
void lookAtSize(WindowRecord& record, int width, int height);
// The X server's size of an SDL window on X11; false elsewhere (X11Window.cpp).
bool x11WindowSize(SDL_Window* window, int& width, int& height);

// Message-time clock (milliseconds, SDL ticks).
DWORD messageClock();

// Converts pending SDL events into queued messages.
void pumpEvents();

// The Win32 virtual key and set-1 scan code (bit 8: extended) of an SDL key.
struct KeyCodes {
    int virtualKey = 0;
    int scanCode = 0;
    bool extended = false;
};
KeyCodes translateKey(int sdlScancode, int sdlKeycode);

// Key state table fed by the converted key and button events (MK_ flags, system keys).
void setKeyDown(int virtualKey, bool down);
bool isKeyDown(int virtualKey);
WPARAM mouseKeyFlags();

// Cursor position in screen coordinates as last seen or set.
void setCursorScreenPos(int x, int y);

}  // namespace port::win32
