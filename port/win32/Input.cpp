// Keys, key state, cursor and system metrics. SDL key positions become Win32 virtual keys and
// PC set-1 scan codes (with the extended-key bit), letters and digits following the keyboard
// layout as Windows virtual keys do.
#include "port/win32/sdl_window.h"
#include "port/win32/window_internal.h"

#include <SDL2/SDL.h>

#include <array>

namespace port::win32 {
namespace {

struct KeyEntry {
    SDL_Scancode sdl;
    int vk;
    int scan;
    bool extended;
};

// Positions whose virtual key does not depend on the layout (US positions for OEM keys).
constexpr KeyEntry kKeys[] = {
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE, 0x01, false},    {SDL_SCANCODE_MINUS, VK_OEM_MINUS, 0x0C, false},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS, 0x0D, false},  {SDL_SCANCODE_BACKSPACE, VK_BACK, 0x0E, false},
    {SDL_SCANCODE_TAB, VK_TAB, 0x0F, false},          {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4, 0x1A, false},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6, 0x1B, false}, {SDL_SCANCODE_RETURN, VK_RETURN, 0x1C, false},
    {SDL_SCANCODE_LCTRL, VK_CONTROL, 0x1D, false},    {SDL_SCANCODE_SEMICOLON, VK_OEM_1, 0x27, false},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7, 0x28, false}, {SDL_SCANCODE_GRAVE, VK_OEM_3, 0x29, false},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT, 0x2A, false},     {SDL_SCANCODE_BACKSLASH, VK_OEM_5, 0x2B, false},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA, 0x33, false},  {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD, 0x34, false},
    {SDL_SCANCODE_SLASH, VK_OEM_2, 0x35, false},      {SDL_SCANCODE_RSHIFT, VK_SHIFT, 0x36, false},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY, 0x37, false}, {SDL_SCANCODE_LALT, VK_MENU, 0x38, false},
    {SDL_SCANCODE_SPACE, VK_SPACE, 0x39, false},      {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL, 0x3A, false},
    {SDL_SCANCODE_F1, VK_F1, 0x3B, false},            {SDL_SCANCODE_F2, VK_F2, 0x3C, false},
    {SDL_SCANCODE_F3, VK_F3, 0x3D, false},            {SDL_SCANCODE_F4, VK_F4, 0x3E, false},
    {SDL_SCANCODE_F5, VK_F5, 0x3F, false},            {SDL_SCANCODE_F6, VK_F6, 0x40, false},
    {SDL_SCANCODE_F7, VK_F7, 0x41, false},            {SDL_SCANCODE_F8, VK_F8, 0x42, false},
    {SDL_SCANCODE_F9, VK_F9, 0x43, false},            {SDL_SCANCODE_F10, VK_F10, 0x44, false},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK, 0x45, true}, {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL, 0x46, false},
    {SDL_SCANCODE_KP_7, VK_NUMPAD7, 0x47, false},     {SDL_SCANCODE_KP_8, VK_NUMPAD8, 0x48, false},
    {SDL_SCANCODE_KP_9, VK_NUMPAD9, 0x49, false},     {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT, 0x4A, false},
    {SDL_SCANCODE_KP_4, VK_NUMPAD4, 0x4B, false},     {SDL_SCANCODE_KP_5, VK_NUMPAD5, 0x4C, false},
    {SDL_SCANCODE_KP_6, VK_NUMPAD6, 0x4D, false},     {SDL_SCANCODE_KP_PLUS, VK_ADD, 0x4E, false},
    {SDL_SCANCODE_KP_1, VK_NUMPAD1, 0x4F, false},     {SDL_SCANCODE_KP_2, VK_NUMPAD2, 0x50, false},
    {SDL_SCANCODE_KP_3, VK_NUMPAD3, 0x51, false},     {SDL_SCANCODE_KP_0, VK_NUMPAD0, 0x52, false},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL, 0x53, false}, {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102, 0x56, false},
    {SDL_SCANCODE_F11, VK_F11, 0x57, false},          {SDL_SCANCODE_F12, VK_F12, 0x58, false},
    {SDL_SCANCODE_F13, VK_F13, 0x64, false},          {SDL_SCANCODE_F14, VK_F14, 0x65, false},
    {SDL_SCANCODE_F15, VK_F15, 0x66, false},          {SDL_SCANCODE_KP_ENTER, VK_RETURN, 0x1C, true},
    {SDL_SCANCODE_RCTRL, VK_CONTROL, 0x1D, true},     {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE, 0x35, true},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT, 0x37, true}, {SDL_SCANCODE_RALT, VK_MENU, 0x38, true},
    {SDL_SCANCODE_PAUSE, VK_PAUSE, 0x45, false},      {SDL_SCANCODE_HOME, VK_HOME, 0x47, true},
    {SDL_SCANCODE_UP, VK_UP, 0x48, true},             {SDL_SCANCODE_PAGEUP, VK_PRIOR, 0x49, true},
    {SDL_SCANCODE_LEFT, VK_LEFT, 0x4B, true},         {SDL_SCANCODE_RIGHT, VK_RIGHT, 0x4D, true},
    {SDL_SCANCODE_END, VK_END, 0x4F, true},           {SDL_SCANCODE_DOWN, VK_DOWN, 0x50, true},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT, 0x51, true},     {SDL_SCANCODE_INSERT, VK_INSERT, 0x52, true},
    {SDL_SCANCODE_DELETE, VK_DELETE, 0x53, true},     {SDL_SCANCODE_LGUI, VK_LWIN, 0x5B, true},
    {SDL_SCANCODE_RGUI, VK_RWIN, 0x5C, true},         {SDL_SCANCODE_APPLICATION, VK_APPS, 0x5D, true},
};

// Set-1 scan codes of the letter positions (US layout positions A..Z) and the digit row.
constexpr int kLetterScan[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
                                 0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};

std::array<bool, 256> g_keys{};
int g_cursorCount = 0;
POINT g_cursor{0, 0};
HCURSOR g_currentCursor = nullptr;

}  // namespace

KeyCodes translateKey(int sdlScancode, int sdlKeycode) {
    KeyCodes codes;
    // Scan code from the physical position.
    if (sdlScancode >= SDL_SCANCODE_A && sdlScancode <= SDL_SCANCODE_Z) {
        codes.scanCode = kLetterScan[sdlScancode - SDL_SCANCODE_A];
        codes.virtualKey = 'A' + (sdlScancode - SDL_SCANCODE_A);
    } else if (sdlScancode >= SDL_SCANCODE_1 && sdlScancode <= SDL_SCANCODE_0) {
        codes.scanCode = 0x02 + (sdlScancode - SDL_SCANCODE_1);
        codes.virtualKey = sdlScancode == SDL_SCANCODE_0 ? '0' : '1' + (sdlScancode - SDL_SCANCODE_1);
    } else {
        for (KeyEntry const& entry : kKeys)
            if (entry.sdl == sdlScancode) {
                codes.virtualKey = entry.vk;
                codes.scanCode = entry.scan;
                codes.extended = entry.extended;
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

SHORT GetKeyState(int virtualKey) { return isKeyDown(virtualKey) ? static_cast<SHORT>(0x8000) : 0; }

SHORT GetAsyncKeyState(int virtualKey) {
    switch (virtualKey) {  // the generic and the sided modifier keys share one state here
    case VK_LSHIFT:
    case VK_RSHIFT: virtualKey = VK_SHIFT; break;
    case VK_LCONTROL:
    case VK_RCONTROL: virtualKey = VK_CONTROL; break;
    case VK_LMENU:
    case VK_RMENU: virtualKey = VK_MENU; break;
    default: break;
    }
    return GetKeyState(virtualKey);
}

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

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR old = g_currentCursor;
    g_currentCursor = cursor;
    return old;
}

// Stock cursors and icons are tokens: the system cursor is SDL's.
HCURSOR LoadCursorW(HINSTANCE, LPCWSTR name) { return reinterpret_cast<HCURSOR>(const_cast<LPWSTR>(name)); }
HICON LoadIconW(HINSTANCE, LPCWSTR name) { return reinterpret_cast<HICON>(const_cast<LPWSTR>(name)); }

BOOL ClipCursor(const RECT* rect) {
    if (!headlessVideo())
        if (WindowRecord* record = findWindow(GetActiveWindow()))
            SDL_SetWindowGrab(record->sdl, rect ? SDL_TRUE : SDL_FALSE);
    return TRUE;
}

int GetSystemMetrics(int index) {
    auto desktop = [](bool width) {
        SDL_DisplayMode mode{};
        if (ensureVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0) return width ? mode.w : mode.h;
        return width ? 1920 : 1080;  // a headless display reports no size
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
