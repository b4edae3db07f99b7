// SDL events pushed into the queue as a window system would send them, for the tests of the port's
// window, input and device code. A window id of 0 is what DirectInput's own tests use.
#pragma once

#include <SDL.h>

namespace testsupport {

inline void pushEvent(SDL_Event e) { SDL_PushEvent(&e); }

inline void pushWindowEvent(Uint32 windowId, Uint8 event, int data1 = 0, int data2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = windowId;
    e.window.event = event;
    e.window.data1 = data1;
    e.window.data2 = data2;
    pushEvent(e);
}

inline void pushKey(Uint32 windowId, SDL_Scancode scancode, bool down, SDL_Keycode sym = SDLK_UNKNOWN,
                    bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = windowId;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    pushEvent(e);
}

inline void pushButton(Uint32 windowId, Uint8 button, bool down, int x = 0, int y = 0) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = windowId;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    pushEvent(e);
}

inline void pushMotion(Uint32 windowId, int x, int y, int dx = 0, int dy = 0) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = windowId;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = dx;
    e.motion.yrel = dy;
    pushEvent(e);
}

inline void pushWheel(Uint32 windowId, int notches, bool flipped = false) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = windowId;
    e.wheel.y = notches;
    e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    pushEvent(e);
}

inline void pushText(Uint32 windowId, char const* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = windowId;
    SDL_strlcpy(e.text.text, utf8, sizeof(e.text.text));
    pushEvent(e);
}

}  // namespace testsupport
