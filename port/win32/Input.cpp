// Keys, key state, cursor and system metrics. SDL key positions become Win32 virtual keys and
// PC set-1 scan codes (win32_scancodes.h, with the extended-key bit), letters and digits following the
// keyboard layout as Windows virtual keys do.
#include "port/win32/win32_scancodes.h"
#include "port/win32/win32_sdl.h"
#include "port/win32/Internal.h"

#include <SDL.h>

#include <array>

namespace port::win32 {
namespace {

struct KeyEntry {
    SDL_Scancode sdl;
    int vk;
};

// Positions whose virtual key does not depend on the layout (US positions for OEM keys).
constexpr KeyEntry kKeys[] = {
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE}, {SDL_SCANCODE_MINUS, VK_OEM_MINUS}, {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_BACKSPACE, VK_BACK}, {SDL_SCANCODE_TAB, VK_TAB}, {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6}, {SDL_SCANCODE_RETURN, VK_RETURN}, {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1}, {SDL_SCANCODE_APOSTROPHE, VK_OEM_7}, {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT}, {SDL_SCANCODE_BACKSLASH, VK_OEM_5}, {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD}, {SDL_SCANCODE_SLASH, VK_OEM_2}, {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY}, {SDL_SCANCODE_LALT, VK_MENU}, {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL}, {SDL_SCANCODE_F1, VK_F1}, {SDL_SCANCODE_F2, VK_F2},
    {SDL_SCANCODE_F3, VK_F3}, {SDL_SCANCODE_F4, VK_F4}, {SDL_SCANCODE_F5, VK_F5}, {SDL_SCANCODE_F6, VK_F6},
    {SDL_SCANCODE_F7, VK_F7}, {SDL_SCANCODE_F8, VK_F8}, {SDL_SCANCODE_F9, VK_F9}, {SDL_SCANCODE_F10, VK_F10},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK}, {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL}, {SDL_SCANCODE_KP_7, VK_NUMPAD7},
    {SDL_SCANCODE_KP_8, VK_NUMPAD8}, {SDL_SCANCODE_KP_9, VK_NUMPAD9}, {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_4, VK_NUMPAD4}, {SDL_SCANCODE_KP_5, VK_NUMPAD5}, {SDL_SCANCODE_KP_6, VK_NUMPAD6},
    {SDL_SCANCODE_KP_PLUS, VK_ADD}, {SDL_SCANCODE_KP_1, VK_NUMPAD1}, {SDL_SCANCODE_KP_2, VK_NUMPAD2},
    {SDL_SCANCODE_KP_3, VK_NUMPAD3}, {SDL_SCANCODE_KP_0, VK_NUMPAD0}, {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102}, {SDL_SCANCODE_F11, VK_F11}, {SDL_SCANCODE_F12, VK_F12},
    {SDL_SCANCODE_F13, VK_F13}, {SDL_SCANCODE_F14, VK_F14}, {SDL_SCANCODE_F15, VK_F15},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN}, {SDL_SCANCODE_RCTRL, VK_CONTROL}, {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT}, {SDL_SCANCODE_RALT, VK_MENU}, {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_HOME, VK_HOME}, {SDL_SCANCODE_UP, VK_UP}, {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_LEFT, VK_LEFT}, {SDL_SCANCODE_RIGHT, VK_RIGHT}, {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_DOWN, VK_DOWN}, {SDL_SCANCODE_PAGEDOWN, VK_NEXT}, {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_DELETE, VK_DELETE}, {SDL_SCANCODE_LGUI, VK_LWIN}, {SDL_SCANCODE_RGUI, VK_RWIN},
    {SDL_SCANCODE_APPLICATION, VK_APPS},
};

std::array<bool, 256> g_keys{};
int g_cursorCount = 0;
POINT g_cursor{0, 0};

}  // namespace

KeyCodes translateKey(int sdlScancode, int sdlKeycode) {
    KeyCodes codes;
    // Scan code from the physical position.
    unsigned char const code = scanCodeFromSdl(sdlScancode);
    codes.scanCode = code & ~kExtendedScanCode;
    codes.extended = (code & kExtendedScanCode) != 0;
    // Key messages flag NumLock as extended and Pause not, the reverse of their set-1 codes.
    if (sdlScancode == SDL_SCANCODE_NUMLOCKCLEAR || sdlScancode == SDL_SCANCODE_PAUSE) codes.extended = !codes.extended;
    if (sdlScancode >= SDL_SCANCODE_A && sdlScancode <= SDL_SCANCODE_Z) {
        codes.virtualKey = 'A' + (sdlScancode - SDL_SCANCODE_A);
    } else if (sdlScancode >= SDL_SCANCODE_1 && sdlScancode <= SDL_SCANCODE_0) {
        codes.virtualKey = sdlScancode == SDL_SCANCODE_0 ? '0' : '1' + (sdlScancode - SDL_SCANCODE_1);
    } else {
        for (KeyEntry const& entry : kKeys)
            if (entry.sdl == sdlScancode) {
                codes.virtualKey = entry.vk;
                break;
            }
    }
    // Letters and digits follow the layout, as virtual keys do on Windows.
    if (sdlKeycode >= 'a' && sdlKeycode <= 'z')
        codes.virtualKey = 'A' + (sdlKeycode - 'a');
    else if (sdlKeycode >= '0' && sdlKeycode <= '9' && codes.virtualKey >= '0' && codes.virtualKey <= '9')
        codes.virtualKey = sdlKeycode;
    return codes;
}

void setKeyDown(int virtualKey, bool down) {
    if (virtualKey > 0 && virtualKey < 256) g_keys[static_cast<size_t>(virtualKey)] = down;
}

bool isKeyDown(int virtualKey) {
    return virtualKey > 0 && virtualKey < 256 && g_keys[static_cast<size_t>(virtualKey)];
}

WPARAM mouseKeyFlags() {
    WPARAM flags = 0;
    if (isKeyDown(VK_LBUTTON)) flags |= MK_LBUTTON;
    if (isKeyDown(VK_RBUTTON)) flags |= MK_RBUTTON;
    if (isKeyDown(VK_MBUTTON)) flags |= MK_MBUTTON;
    if (isKeyDown(VK_XBUTTON1)) flags |= MK_XBUTTON1;
    if (isKeyDown(VK_XBUTTON2)) flags |= MK_XBUTTON2;
    if (isKeyDown(VK_SHIFT)) flags |= MK_SHIFT;
    if (isKeyDown(VK_CONTROL)) flags |= MK_CONTROL;
    return flags;
}

void setCursorScreenPos(int x, int y) { g_cursor = POINT{x, y}; }

}  // namespace port::win32

using namespace port::win32;

int ShowCursor(BOOL show) {
    g_cursorCount += show ? 1 : -1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(g_cursorCount >= 0 ? SDL_ENABLE : SDL_DISABLE);
    return g_cursorCount;
}

BOOL SetCursorPos(int x, int y) {
    g_cursor = POINT{x, y};
    HWND active = GetActiveWindow();
    WindowRecord* record = findWindow(active);
    if (record && record->sdl) {
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(record->sdl, &wx, &wy);
        record->mouseX = x - wx;
        record->mouseY = y - wy;
        if (!headlessVideo()) SDL_WarpMouseInWindow(record->sdl, x - wx, y - wy);
    }
    return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    *point = g_cursor;
    return TRUE;
}

// Stock cursors and icons are tokens: the system cursor is SDL's.
HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name) { return reinterpret_cast<HCURSOR>(const_cast<LPWSTR>(name)); }
HICON LoadIconW(HINSTANCE, LPCWSTR name) { return reinterpret_cast<HICON>(const_cast<LPWSTR>(name)); }

int GetSystemMetrics(int index) {
    auto desktop = [](bool width) {
        int w = 0, h = 0;
        desktopSize(w, h);
        return width ? w : h;
    };
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
    case SM_CXVIRTUALSCREEN: return desktop(true);
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
    case SM_CYVIRTUALSCREEN: return desktop(false);
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_MOUSEPRESENT:
    case SM_MOUSEWHEELPRESENT:
    case SM_CMONITORS: return 1;
    case SM_CMOUSEBUTTONS: return 3;
    default: return 0;  // frames, captions and borders: the windows have none of their own
    }
}
