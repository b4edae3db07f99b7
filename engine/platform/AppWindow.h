// The program's one window. Its window procedure re-emits every message on signalMessage (the
// Windows-message input path reads keys and mouse from there), reports activation changes and
// tells whoever listens on signalClosed that the player closed the window.
// The window is placed for a display mode: a captioned, fixed-size window centred on the screen
// when windowed, a borderless window at the origin for full screen. Only one window exists.
#pragma once

#include <string>

#include "engine/core/Types.h"
#include "port/win32/windows.h"
#include "signals/sigslot.h"

namespace Orvex {

class AppWindow {
public:
    // The window object (made on first use, destroyed at program exit).
    static AppWindow& getInstance();

    // The program's instance handle; the window class takes its icon from it.
    void setInstance(HINSTANCE instance) { instance_ = instance; }
    HINSTANCE getInstanceHandle() const { return instance_; }

    // The window handle; null before create and after destroy.
    HWND getHWND() const { return hwnd_; }
    bool isCreated() const { return hwnd_ != nullptr; }

    // The caption (also applied to a window that already exists).
    void setTitle(std::wstring const& title);
    std::wstring const& getTitle() const { return title_; }

    // Creates and shows the window with a client area of width x height. False (with one log
    // line) when the window cannot be made or the size is 0; an existing window is kept.
    bool create(std::wstring const& title, u32 width, u32 height, bool windowed);
    // Re-places an existing window for a new client size and window mode.
    bool place(u32 width, u32 height, bool windowed);
    // Destroys the window without reporting it as closed by the player.
    void destroy();

    // The system-cursor flag: when off, the Windows cursor is hidden each time the window has
    // been placed (the game then draws its own).
    void setSystemCursor(bool on) { systemCursor_ = on; }
    bool getSystemCursor() const { return systemCursor_; }

    // True while the window is the active one (last WM_ACTIVATE).
    bool isActive() const { return active_; }

    // Every message the window procedure receives, before it handles it.
    sigslot::signal4<HWND, UINT, WPARAM, LPARAM> signalMessage;
    // WM_ACTIVATE: true when the window became active, false when it lost activation or was
    // activated while minimised.
    sigslot::signal1<bool const&> signalActive;
    // The window was closed or destroyed from outside (close button, WM_CLOSE, DestroyWindow);
    // emitted once per window, never for destroy().
    sigslot::signal0<> signalClosed;

    // The window procedure of the window class.
    static LRESULT windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    AppWindow(AppWindow const&) = delete;
    AppWindow& operator=(AppWindow const&) = delete;

private:
    AppWindow();
    ~AppWindow();

    bool registerClass();
    void hideCursor();
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    std::wstring title_ = L"Orvex";
    bool classRegistered_ = false;
    bool systemCursor_ = true;
    bool active_ = false;
    bool closing_ = false;     // destroy() is running: WM_DESTROY is ours
    bool creating_ = false;    // a failing creation destroys its window: not a close either
    bool closeReported_ = false;
};

}  // namespace Orvex
