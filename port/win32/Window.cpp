// Window classes and windows: one SDL window per Win32 window, created GL-capable so a
// Direct3D device can draw into it. Windows have no frame of their own (window rect = client
// rect placed at the window position). Child windows are not supported.
#include "port/win32/win32_text.h"
#include "port/win32/win32_log.h"
#include "port/win32/win32_sdl.h"
#include "port/win32/Internal.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>

namespace port::win32 {
namespace {

struct ClassRecord {
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    ATOM atom = 0;
};

std::map<std::wstring, ClassRecord>& classes() {
    static std::map<std::wstring, ClassRecord> table;
    return table;
}

std::map<HWND, std::unique_ptr<WindowRecord>>& windows() {
    static std::map<HWND, std::unique_ptr<WindowRecord>> table;
    return table;
}

// The environment's stand-in for the desktop's size, and the largest side it may give.
constexpr char kDesktopSizeVariable[] = "ORVEX_DESKTOP_SIZE";
constexpr int kMaxDesktopSide = 16384;

HWND g_active = nullptr;
HWND g_capture = nullptr;
bool g_keepSizes = false;
uintptr_t g_nextHandle = 0x10010;
ATOM g_nextAtom = 0xC000;

std::wstring classKey(LPCWSTR name) {
    std::wstring key;
    if (!name) return key;
    if (reinterpret_cast<uintptr_t>(name) < 0x10000) return L"#" + std::to_wstring(reinterpret_cast<uintptr_t>(name));
    for (LPCWSTR p = name; *p; ++p) key.push_back(port::foldCase(*p));
    return key;
}

ClassRecord* findClass(LPCWSTR name) {
    auto it = classes().find(classKey(name));
    if (it != classes().end()) return &it->second;
    // A class can also be named by its atom.
    uintptr_t atom = reinterpret_cast<uintptr_t>(name);
    if (atom < 0x10000)
        for (auto& [key, record] : classes())
            if (record.atom == atom) return &record;
    return nullptr;
}

ATOM registerClass(LPCWSTR name, UINT style, WNDPROC proc, HINSTANCE instance) {
    if (!name || !proc) return 0;
    std::wstring key = classKey(name);
    if (classes().count(key)) return 0;  // ERROR_CLASS_ALREADY_EXISTS
    ClassRecord record{style, proc, instance, g_nextAtom++};
    classes()[key] = record;
    return record.atom;
}

// Closes the SDL window once the window is destroyed and no device holds it.
void collect(HWND window) {
    auto it = windows().find(window);
    if (it == windows().end()) return;
    WindowRecord& record = *it->second;
    if (!record.destroyed || record.users > 0) return;
    if (record.sdl) SDL_DestroyWindow(record.sdl);
    windows().erase(it);
}

}  // namespace

bool ensureVideo() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        port::logLine(port::LogLevel::Error, L"SDL video could not start: " + port::fromUtf8(SDL_GetError()));
        return false;
    }
    endOnDisplayLoss();
    return true;
}

void requestWindowFramebuffer() {
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

bool headlessVideo() {
    char const* driver = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetCurrentVideoDriver() : std::getenv("SDL_VIDEODRIVER");
    if (!driver) return false;
    return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

bool desktopSize(int& width, int& height) {
    width = kHeadlessDesktopWidth;
    height = kHeadlessDesktopHeight;
    if (char const* wanted = std::getenv(kDesktopSizeVariable)) {
        int w = 0, h = 0;
        char tail = 0;
        if (std::sscanf(wanted, "%dx%d%c", &w, &h, &tail) == 2 && w > 0 && h > 0 && w <= kMaxDesktopSide &&
            h <= kMaxDesktopSide) {
            width = w;
            height = h;
            return true;
        }
        static bool warned = false;
        if (!warned)
            port::logLine(port::LogLevel::Warning, std::wstring(L"ORVEX_DESKTOP_SIZE=\"") + port::fromUtf8(wanted) +
                                                       L"\" is no size like 1280x720; the display's own is used");
        warned = true;
    }
    if (!ensureVideo() || headlessVideo()) return false;
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0 || mode.h <= 0) return false;
    width = mode.w;
    height = mode.h;
    return true;
}

WindowRecord* findWindow(HWND window) {
    auto it = windows().find(window);
    if (it == windows().end() || it->second->destroyed) return nullptr;
    return it->second.get();
}

WindowRecord* findWindowBySdlId(unsigned id) {
    for (auto& [handle, record] : windows())
        if (record->sdlId == id && !record->destroyed) return record.get();
    return nullptr;
}

SDL_Window* sdlWindow(HWND window) {
    auto it = windows().find(window);
    return it == windows().end() ? nullptr : it->second->sdl;
}

HWND windowFromSdlId(unsigned id) {
    WindowRecord* record = findWindowBySdlId(id);
    return record ? record->handle : nullptr;
}

void retainWindow(HWND window) {
    auto it = windows().find(window);
    if (it != windows().end()) ++it->second->users;
}

void releaseWindow(HWND window) {
    auto it = windows().find(window);
    if (it == windows().end() || it->second->users <= 0) return;
    --it->second->users;
    collect(window);
}

void keepWindowSizes(bool keep) { g_keepSizes = keep; }

unsigned externalResizeCount(HWND window) {
    auto it = windows().find(window);
    return it == windows().end() ? 0 : it->second->externalResizes;
}

void activate(HWND window, WORD how) {
    if (window == g_active) return;
    HWND old = g_active;
    g_active = window;
    if (old && findWindow(old)) {
        SendMessageW(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(window));
        if (!window) SendMessageW(old, WM_ACTIVATEAPP, FALSE, 0);
    }
    if (window && findWindow(window)) {
        if (!old) SendMessageW(window, WM_ACTIVATEAPP, TRUE, 0);
        WindowRecord* record = findWindow(window);
        SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(how, record && record->minimized ? 1 : 0),
                     reinterpret_cast<LPARAM>(old));
    }
}

void reportSize(WindowRecord& record, int width, int height, bool external) {
    if (width == record.width && height == record.height) return;
    record.width = width;
    record.height = height;
    if (external) ++record.externalResizes;
    WPARAM kind = record.minimized ? SIZE_MINIMIZED
                  : record.sdl && (SDL_GetWindowFlags(record.sdl) & SDL_WINDOW_MAXIMIZED) ? SIZE_MAXIMIZED
                                                                                            : SIZE_RESTORED;
    SendMessageW(record.handle, WM_SIZE, kind, MAKELPARAM(width, height));
}

void clientSize(WindowRecord const& record, int& width, int& height) {
    if (record.shownWidth > 0 && record.shownHeight > 0) {
        width = record.shownWidth;
        height = record.shownHeight;
        return;
    }
    width = height = 0;
    if (record.sdl) SDL_GetWindowSize(record.sdl, &width, &height);
}

void lookAtSize(WindowRecord& record, int width, int height) {
    if (x11WindowSize(record.sdl, width, height)) {
        record.shownWidth = width;
        record.shownHeight = height;
    }
    if (!record.minimized) reportSize(record, width, height, true);
}

bool windowClientSize(HWND window, int& width, int& height) {
    WindowRecord const* record = findWindow(window);
    if (!record) return false;
    clientSize(*record, width, height);
    return true;
}

void refreshWindowSize(HWND window) {
    WindowRecord* record = findWindow(window);
    if (!record || !record->sdl) return;
    int width = 0, height = 0;
    if (!x11WindowSize(record->sdl, width, height)) return;
    lookAtSize(*record, width, height);
}

}  // namespace port::win32

using namespace port::win32;

ATOM RegisterClassExW(const WNDCLASSEXW* c) {
    return c ? registerClass(c->lpszClassName, c->style, c->lpfnWndProc, c->hInstance) : 0;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    ClassRecord* cls = findClass(className);
    if (!cls) {
        port::logLine(port::LogLevel::Error, L"CreateWindowExW: window class not registered");
        return nullptr;
    }
    if (!ensureVideo()) return nullptr;
    if (width == CW_USEDEFAULT || width <= 0) width = 800;
    if (height == CW_USEDEFAULT || height <= 0) height = 600;
    int sdlX = x == CW_USEDEFAULT ? SDL_WINDOWPOS_CENTERED : x;
    int sdlY = (x == CW_USEDEFAULT || y == CW_USEDEFAULT) ? SDL_WINDOWPOS_CENTERED : y;
    requestWindowFramebuffer();
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    if (style & WS_POPUP) flags |= SDL_WINDOW_BORDERLESS;
    if (style & WS_THICKFRAME) flags |= SDL_WINDOW_RESIZABLE;
    std::wstring title = windowName ? windowName : L"";
    SDL_Window* sdl = SDL_CreateWindow(port::toUtf8(title).c_str(), sdlX, sdlY, width, height, flags);
    if (!sdl) {
        port::logLine(port::LogLevel::Error, L"CreateWindowExW: SDL window failed: " + port::fromUtf8(SDL_GetError()));
        return nullptr;
    }
    auto record = std::make_unique<WindowRecord>();
    record->handle = reinterpret_cast<HWND>(g_nextHandle);
    g_nextHandle += 4;
    record->sdl = sdl;
    record->sdlId = SDL_GetWindowID(sdl);
    record->proc = cls->proc;
    record->classStyle = cls->style;
    record->style = style & ~WS_VISIBLE;
    record->exStyle = exStyle;
    record->instance = instance;
    record->text = title;
    record->width = width;
    record->height = height;
    HWND handle = record->handle;
    windows()[handle] = std::move(record);

    CREATESTRUCTW create{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style),
                         windowName, className, exStyle};
    LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (!SendMessageW(handle, WM_NCCREATE, 0, createParam) || SendMessageW(handle, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (style & WS_VISIBLE) ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL DestroyWindow(HWND window) {
    WindowRecord* record = findWindow(window);
    if (!record) return FALSE;
    if (g_active == window) activate(nullptr, WA_INACTIVE);
    if (g_capture == window) g_capture = nullptr;
    SendMessageW(window, WM_DESTROY, 0, 0);
    SendMessageW(window, WM_NCDESTROY, 0, 0);
    record = findWindow(window);
    if (!record) return TRUE;
    record->destroyed = true;
    if (record->sdl) SDL_HideWindow(record->sdl);
    collect(window);
    return TRUE;
}

BOOL IsWindow(HWND window) { return findWindow(window) ? TRUE : FALSE; }

BOOL IsIconic(HWND window) {
    WindowRecord* record = findWindow(window);
    return record && record->minimized ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command) {
    WindowRecord* record = findWindow(window);
    if (!record) return FALSE;
    BOOL wasVisible = record->visible ? TRUE : FALSE;
    bool activates = false;
    switch (command) {
    case SW_HIDE:
        if (record->visible) SendMessageW(window, WM_SHOWWINDOW, FALSE, 0);
        SDL_HideWindow(record->sdl);
        record->visible = false;
        if (g_active == window) activate(nullptr, WA_INACTIVE);
        return wasVisible;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        SDL_ShowWindow(record->sdl);
        SDL_MinimizeWindow(record->sdl);
        record->visible = true;
        record->minimized = true;
        break;
    case SW_MAXIMIZE:
        SDL_ShowWindow(record->sdl);
        SDL_MaximizeWindow(record->sdl);
        record->visible = true;
        record->minimized = false;
        activates = true;
        break;
    case SW_RESTORE:
        SDL_ShowWindow(record->sdl);
        SDL_RestoreWindow(record->sdl);
        record->visible = true;
        record->minimized = false;
        activates = true;
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        SDL_ShowWindow(record->sdl);
        record->visible = true;
        break;
    default:  // SW_SHOW, SW_SHOWNORMAL, SW_SHOWDEFAULT
        SDL_ShowWindow(record->sdl);
        if (record->minimized) SDL_RestoreWindow(record->sdl);
        record->visible = true;
        record->minimized = false;
        activates = true;
        break;
    }
    if (!wasVisible) SendMessageW(window, WM_SHOWWINDOW, TRUE, 0);
    if (activates && findWindow(window)) activate(window, WA_ACTIVE);
    return wasVisible;
}

BOOL UpdateWindow(HWND window) { return IsWindow(window); }

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    WindowRecord* record = findWindow(window);
    if (!record) return FALSE;
    record->text = text ? text : L"";
    SDL_SetWindowTitle(record->sdl, port::toUtf8(record->text).c_str());
    return TRUE;
}

int GetWindowTextW(HWND window, LPWSTR text, int maxCount) {
    WindowRecord* record = findWindow(window);
    if (!record || !text || maxCount <= 0) return 0;
    int count = static_cast<int>(record->text.size());
    if (count > maxCount - 1) count = maxCount - 1;
    std::memcpy(text, record->text.data(), sizeof(wchar_t) * static_cast<size_t>(count));
    text[count] = 0;
    return count;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WindowRecord* record = findWindow(window);
    if (!record) return FALSE;
    if (!(flags & SWP_NOMOVE)) SDL_SetWindowPosition(record->sdl, x, y);
    if (!(flags & SWP_NOSIZE) && cx > 0 && cy > 0 && !g_keepSizes) {
        SDL_SetWindowSize(record->sdl, cx, cy);
        reportSize(*record, cx, cy, false);
    }
    if (!(flags & SWP_NOZORDER) && insertAfter == HWND_TOPMOST) SDL_RaiseWindow(record->sdl);
    if (flags & SWP_SHOWWINDOW) ShowWindow(window, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (flags & SWP_HIDEWINDOW) ShowWindow(window, SW_HIDE);
    return TRUE;
}

BOOL GetClientRect(HWND window, LPRECT rect) {
    WindowRecord* record = findWindow(window);
    if (!record || !rect) return FALSE;
    int w = 0, h = 0;
    clientSize(*record, w, h);
    *rect = RECT{0, 0, w, h};
    return TRUE;
}

BOOL ClientToScreen(HWND window, LPPOINT point) {
    WindowRecord* record = findWindow(window);
    if (!record || !point) return FALSE;
    int x = 0, y = 0;
    SDL_GetWindowPosition(record->sdl, &x, &y);
    point->x += x;
    point->y += y;
    return TRUE;
}

BOOL ScreenToClient(HWND window, LPPOINT point) {
    WindowRecord* record = findWindow(window);
    if (!record || !point) return FALSE;
    int x = 0, y = 0;
    SDL_GetWindowPosition(record->sdl, &x, &y);
    point->x -= x;
    point->y -= y;
    return TRUE;
}

BOOL AdjustWindowRect(LPRECT rect, DWORD, BOOL) { return rect ? TRUE : FALSE; }

LONG_PTR GetWindowLongPtrW(HWND window, int index) {
    WindowRecord* record = findWindow(window);
    if (!record) return 0;
    switch (index) {
    case GWL_STYLE: return static_cast<LONG_PTR>(record->style | (record->visible ? WS_VISIBLE : 0));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(record->exStyle);
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(record->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(record->instance);
    case GWLP_ID: return record->id;
    case GWLP_USERDATA: return record->userData;
    default: return 0;
    }
}

LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    WindowRecord* record = findWindow(window);
    if (!record) return 0;
    LONG_PTR old = GetWindowLongPtrW(window, index);
    switch (index) {
    case GWL_STYLE: {
        record->style = static_cast<DWORD>(value) & ~WS_VISIBLE;
        SDL_SetWindowBordered(record->sdl, (record->style & WS_POPUP) ? SDL_FALSE : SDL_TRUE);
        SDL_SetWindowResizable(record->sdl, (record->style & WS_THICKFRAME) ? SDL_TRUE : SDL_FALSE);
        bool visible = (static_cast<DWORD>(value) & WS_VISIBLE) != 0;
        if (visible != record->visible) ShowWindow(window, visible ? SW_SHOWNA : SW_HIDE);
        break;
    }
    case GWL_EXSTYLE: record->exStyle = static_cast<DWORD>(value); break;
    case GWLP_WNDPROC: record->proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_HINSTANCE: record->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWLP_ID: record->id = value; break;
    case GWLP_USERDATA: record->userData = value; break;
    default: return 0;
    }
    return old;
}

HWND GetActiveWindow() { return g_active; }

BOOL SetForegroundWindow(HWND window) {
    WindowRecord* record = findWindow(window);
    if (!record) return FALSE;
    SDL_RaiseWindow(record->sdl);
    activate(window, WA_ACTIVE);
    return TRUE;
}

HWND SetActiveWindow(HWND window) {
    HWND old = g_active;
    if (window && !findWindow(window)) return nullptr;
    activate(window, WA_ACTIVE);
    return old;
}

HWND SetFocus(HWND window) {
    HWND old = g_active;
    if (window && !findWindow(window)) return nullptr;
    if (window) {
        WindowRecord* record = findWindow(window);
        if (record->visible && !headlessVideo()) SDL_SetWindowInputFocus(record->sdl);
    }
    activate(window, WA_ACTIVE);
    return old;
}

HWND SetCapture(HWND window) {
    HWND old = g_capture;
    if (!findWindow(window)) return old;
    g_capture = window;
    if (!headlessVideo()) SDL_CaptureMouse(SDL_TRUE);
    return old;
}

BOOL ReleaseCapture() {
    HWND old = g_capture;
    g_capture = nullptr;
    if (!headlessVideo() && SDL_WasInit(SDL_INIT_VIDEO)) SDL_CaptureMouse(SDL_FALSE);
    if (old && findWindow(old)) SendMessageW(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND GetCapture() { return g_capture; }
