// The message queue: SDL events become Win32 messages packed as Windows packs them. Window
// state changes (close, size, move, activation, focus) are sent to the window procedure while
// the queue is pumped, as Windows sends them; input (keys, characters, mouse) is posted to the
// queue. One queue serves the program; posting from other threads is safe.
#include "port/win32/win32_text.h"
#include "port/win32/win32_sdl.h"
#include "port/win32/Internal.h"
#include "port/win32/kernel.h"

#include <SDL.h>

#include <cstdlib>
#include <deque>
#include <mutex>

namespace port::win32 {
namespace {

constexpr UINT kDoubleClickTime = 500;
constexpr int kDoubleClickBox = 4;  // SM_CXDOUBLECLK / SM_CYDOUBLECLK

std::mutex g_queueMutex;
std::deque<MSG> g_queue;
bool g_quitPosted = false;
int g_quitCode = 0;

POINT cursorPoint() {
    POINT p{0, 0};
    GetCursorPos(&p);
    return p;
}

void post(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD time, bool front = false) {
    MSG msg{window, message, wParam, lParam, time, cursorPoint()};
    std::lock_guard<std::mutex> lock(g_queueMutex);
    if (front)
        g_queue.push_front(msg);
    else
        g_queue.push_back(msg);
}

HWND targetWindow(unsigned sdlId) {
    WindowRecord* record = findWindowBySdlId(sdlId);
    if (record) return record->handle;
    return GetActiveWindow();
}

// Decodes UTF-8 text into code points (invalid bytes are skipped).
std::u32string decodeUtf8(char const* text) {
    std::u32string out;
    std::wstring wide = port::fromUtf8(text);
    for (wchar_t ch : wide) out.push_back(static_cast<char32_t>(ch));
    return out;
}

void onWindowEvent(SDL_WindowEvent const& e) {
    WindowRecord* record = findWindowBySdlId(e.windowID);
    if (!record) return;
    HWND window = record->handle;
    switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: SendMessageW(window, WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (!record->minimized) lookAtSize(*record, e.data1, e.data2);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
        if (!record->minimized) {
            record->minimized = true;
            record->width = record->height = 0;
            SendMessageW(window, WM_SIZE, SIZE_MINIMIZED, 0);
        }
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED: {
        record->minimized = false;
        int w = 0, h = 0;
        SDL_GetWindowSize(record->sdl, &w, &h);
        record->width = record->height = -1;  // report again even at the same size
        reportSize(*record, w, h, false);
        break;
    }
    case SDL_WINDOWEVENT_MOVED: SendMessageW(window, WM_MOVE, 0, MAKELPARAM(e.data1, e.data2)); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        activate(window, WA_ACTIVE);
        if (findWindow(window)) SendMessageW(window, WM_SETFOCUS, 0, 0);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        if (GetActiveWindow() == window) activate(nullptr, WA_INACTIVE);
        if (findWindow(window)) SendMessageW(window, WM_KILLFOCUS, 0, 0);
        break;
    case SDL_WINDOWEVENT_SHOWN: record->visible = true; break;
    case SDL_WINDOWEVENT_HIDDEN: record->visible = false; break;
    default: break;
    }
}

void onKey(SDL_KeyboardEvent const& e) {
    KeyCodes codes = translateKey(e.keysym.scancode, e.keysym.sym);
    if (codes.virtualKey == 0) return;
    bool down = e.type == SDL_KEYDOWN;
    bool wasDown = isKeyDown(codes.virtualKey);
    setKeyDown(codes.virtualKey, down);
    bool alt = isKeyDown(VK_MENU);
    bool ctrl = isKeyDown(VK_CONTROL);
    bool system = (alt && !ctrl) || codes.virtualKey == VK_F10 || (codes.virtualKey == VK_MENU && !ctrl);
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    DWORD lParam = 1u | (static_cast<DWORD>(codes.scanCode & 0xff) << 16);
    if (codes.extended) lParam |= 1u << 24;
    if (alt) lParam |= 1u << 29;
    if (!down || wasDown || e.repeat) lParam |= 1u << 30;
    if (!down) lParam |= 1u << 31;
    post(targetWindow(e.windowID), message, static_cast<WPARAM>(codes.virtualKey), static_cast<LPARAM>(lParam),
         e.timestamp);
}

void onText(SDL_TextInputEvent const& e) {
    HWND window = targetWindow(e.windowID);
    bool alt = isKeyDown(VK_MENU) && !isKeyDown(VK_CONTROL);
    for (char32_t ch : decodeUtf8(e.text))
        post(window, alt ? WM_SYSCHAR : WM_CHAR, static_cast<WPARAM>(ch), 1, e.timestamp);
}

void onMotion(SDL_MouseMotionEvent const& e) {
    if (e.which == SDL_TOUCH_MOUSEID) return;
    WindowRecord* record = findWindowBySdlId(e.windowID);
    if (!record) return;
    record->mouseX = e.x;
    record->mouseY = e.y;
    int wx = 0, wy = 0;
    SDL_GetWindowPosition(record->sdl, &wx, &wy);
    setCursorScreenPos(wx + e.x, wy + e.y);
    post(record->handle, WM_MOUSEMOVE, mouseKeyFlags(), MAKELPARAM(e.x, e.y), e.timestamp);
}

void onButton(SDL_MouseButtonEvent const& e) {
    if (e.which == SDL_TOUCH_MOUSEID) return;
    WindowRecord* record = findWindowBySdlId(e.windowID);
    if (!record) return;
    bool down = e.type == SDL_MOUSEBUTTONDOWN;
    UINT downMsg = 0, upMsg = 0, dblMsg = 0;
    int vk = 0;
    WORD xbutton = 0;
    switch (e.button) {
    case SDL_BUTTON_LEFT: downMsg = WM_LBUTTONDOWN, upMsg = WM_LBUTTONUP, dblMsg = WM_LBUTTONDBLCLK, vk = VK_LBUTTON; break;
    case SDL_BUTTON_RIGHT: downMsg = WM_RBUTTONDOWN, upMsg = WM_RBUTTONUP, dblMsg = WM_RBUTTONDBLCLK, vk = VK_RBUTTON; break;
    case SDL_BUTTON_MIDDLE: downMsg = WM_MBUTTONDOWN, upMsg = WM_MBUTTONUP, dblMsg = WM_MBUTTONDBLCLK, vk = VK_MBUTTON; break;
    case SDL_BUTTON_X1: downMsg = WM_XBUTTONDOWN, upMsg = WM_XBUTTONUP, dblMsg = WM_XBUTTONDBLCLK, vk = VK_XBUTTON1, xbutton = XBUTTON1; break;
    case SDL_BUTTON_X2: downMsg = WM_XBUTTONDOWN, upMsg = WM_XBUTTONUP, dblMsg = WM_XBUTTONDBLCLK, vk = VK_XBUTTON2, xbutton = XBUTTON2; break;
    default: return;
    }
    setKeyDown(vk, down);
    record->mouseX = e.x;
    record->mouseY = e.y;
    UINT message = down ? downMsg : upMsg;
    if (down) {
        bool dbl = (record->classStyle & CS_DBLCLKS) && record->lastButton == e.button &&
                   e.timestamp - record->lastButtonTime <= kDoubleClickTime &&
                   std::abs(e.x - record->lastButtonX) <= kDoubleClickBox / 2 &&
                   std::abs(e.y - record->lastButtonY) <= kDoubleClickBox / 2;
        if (dbl) {
            message = dblMsg;
            record->lastButton = 0;  // a third press starts a new pair
        } else {
            record->lastButton = e.button;
            record->lastButtonTime = e.timestamp;
            record->lastButtonX = e.x;
            record->lastButtonY = e.y;
        }
    }
    WPARAM wParam = xbutton ? MAKEWPARAM(mouseKeyFlags(), xbutton) : mouseKeyFlags();
    post(record->handle, message, wParam, MAKELPARAM(e.x, e.y), e.timestamp);
}

void onWheel(SDL_MouseWheelEvent const& e) {
    if (e.which == SDL_TOUCH_MOUSEID) return;
    HWND window = targetWindow(e.windowID);
    if (!window) return;
    int notches = e.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.y : e.y;
    int horizontal = e.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.x : e.x;
    POINT p = cursorPoint();
    if (notches)
        post(window, WM_MOUSEWHEEL, MAKEWPARAM(mouseKeyFlags(), static_cast<WORD>(static_cast<short>(notches * WHEEL_DELTA))),
             MAKELPARAM(p.x, p.y), e.timestamp);
    if (horizontal)
        post(window, WM_MOUSEHWHEEL,
             MAKEWPARAM(mouseKeyFlags(), static_cast<WORD>(static_cast<short>(horizontal * WHEEL_DELTA))),
             MAKELPARAM(p.x, p.y), e.timestamp);
}

bool matches(MSG const& msg, HWND window, UINT filterMin, UINT filterMax) {
    if (window == reinterpret_cast<HWND>(-1)) {
        if (msg.hwnd) return false;
    } else if (window && msg.hwnd != window) {
        return false;
    }
    if (filterMin == 0 && filterMax == 0) return true;
    return msg.message >= filterMin && msg.message <= filterMax;
}

}  // namespace

DWORD messageClock() { return SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetTicks() : 0; }

void pumpEvents() {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_PumpEvents();
    SDL_Event events[64];
    for (;;) {
        int count = SDL_PeepEvents(events, 64, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
        if (count <= 0) break;
        for (int i = 0; i < count; ++i) {
            SDL_Event const& e = events[i];
            switch (e.type) {
            case SDL_WINDOWEVENT: onWindowEvent(e.window); break;
            case SDL_KEYDOWN:
            case SDL_KEYUP: onKey(e.key); break;
            case SDL_TEXTINPUT: onText(e.text); break;
            case SDL_MOUSEMOTION: onMotion(e.motion); break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: onButton(e.button); break;
            case SDL_MOUSEWHEEL: onWheel(e.wheel); break;
            case SDL_QUIT:
                // A termination request (a signal): the active window is asked to close.
                if (HWND active = GetActiveWindow()) SendMessageW(active, WM_CLOSE, 0, 0);
                break;
            default: break;
            }
        }
    }
}

}  // namespace port::win32

using namespace port::win32;

BOOL PeekMessageW(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg) return FALSE;
    pumpEvents();
    {
        std::lock_guard<std::mutex> lock(g_queueMutex);
        for (auto it = g_queue.begin(); it != g_queue.end(); ++it) {
            if (!matches(*it, window, filterMin, filterMax)) continue;
            *msg = *it;
            if (removeFlags & PM_REMOVE) g_queue.erase(it);
            return TRUE;
        }
        bool quitWanted = (filterMin == 0 && filterMax == 0) || (filterMin <= WM_QUIT && filterMax >= WM_QUIT);
        if (g_quitPosted && quitWanted && (window == nullptr || window == reinterpret_cast<HWND>(-1))) {
            *msg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(g_quitCode), 0, messageClock(), POINT{0, 0}};
            if (removeFlags & PM_REMOVE) g_quitPosted = false;
            return TRUE;
        }
    }
    return FALSE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, HANDLE const*, BOOL, DWORD milliseconds, DWORD) {
    if (count != 0) return WAIT_FAILED;
    pumpEvents();
    {
        std::lock_guard<std::mutex> lock(g_queueMutex);
        if (!g_queue.empty() || g_quitPosted) return WAIT_OBJECT_0;
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO)) {
        Sleep(milliseconds);
        return WAIT_TIMEOUT;
    }
    // Without an event to fill, SDL leaves the event queued for the next PeekMessageW.
    int const timeout = milliseconds > 0x7FFFFFFFu ? -1 : static_cast<int>(milliseconds);
    return SDL_WaitEventTimeout(nullptr, timeout) == 1 ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL TranslateMessage(const MSG* msg) {
    if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    WPARAM ch = 0;
    switch (msg->wParam) {
    case VK_BACK: ch = 8; break;
    case VK_TAB: ch = 9; break;
    case VK_RETURN: ch = 13; break;
    case VK_ESCAPE: ch = 27; break;
    default:
        if (isKeyDown(VK_CONTROL) && !isKeyDown(VK_MENU) && msg->wParam >= 'A' && msg->wParam <= 'Z')
            ch = msg->wParam - 'A' + 1;
        break;
    }
    if (!ch) return FALSE;
    post(msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, ch, msg->lParam & 0x00ffffff, msg->time,
         true);
    return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg || !msg->hwnd) return 0;
    WindowRecord* record = findWindow(msg->hwnd);
    if (!record || !record->proc) return 0;
    return record->proc(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !IsWindow(window)) return FALSE;
    post(window, message, wParam, lParam, messageClock());
    return TRUE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = findWindow(window);
    if (!record || !record->proc) return 0;
    return record->proc(window, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    std::lock_guard<std::mutex> lock(g_queueMutex);
    g_quitPosted = true;
    g_quitCode = exitCode;
}

LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_NCCREATE: return TRUE;
    case WM_CLOSE: DestroyWindow(window); return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_MOUSEACTIVATE: return 1;  // MA_ACTIVATE
    case WM_SETCURSOR: return FALSE;
    default: return 0;
    }
}

UINT GetDoubleClickTime() { return kDoubleClickTime; }
