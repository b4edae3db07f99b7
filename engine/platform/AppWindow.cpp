// The program window: class registration, placement for a display mode, the window procedure.
#include "engine/platform/AppWindow.h"

#include "engine/core/Logger.h"

namespace Orvex {
namespace {

wchar_t const kClassName[] = L"OrvexAppWindow";
// Resource number of the program icon in the instance.
constexpr WORD kIconResource = 101;
// ShowCursor keeps a display count; hiding stops once it is negative. The bound only guards
// against a count that never drops.
constexpr int kMaxCursorHides = 64;

DWORD styleFor(bool windowed) {
    return windowed ? (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX) : WS_POPUP;
}

// Top-left corner of the window: centred on the screen when windowed (never off its top-left
// edge), the origin for full screen.
POINT originFor(u32 width, u32 height, bool windowed) {
    if (!windowed) return POINT{0, 0};
    int x = (GetSystemMetrics(SM_CXSCREEN) - static_cast<int>(width)) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - static_cast<int>(height)) / 2;
    return POINT{x > 0 ? x : 0, y > 0 ? y : 0};
}

}  // namespace

AppWindow& AppWindow::getInstance() {
    static AppWindow window;
    return window;
}

AppWindow::AppWindow() = default;

// The window is destroyed explicitly (destroy) before exit; at static destruction the port's
// own tables may already be gone, so the destructor leaves them alone.
AppWindow::~AppWindow() = default;

void AppWindow::setTitle(std::wstring const& title) {
    title_ = title;
    if (hwnd_) SetWindowTextW(hwnd_, title_.c_str());
}

bool AppWindow::registerClass() {
    if (classRegistered_) return true;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_OWNDC;
    windowClass.lpfnWndProc = &AppWindow::windowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kIconResource));
    if (!windowClass.hIcon) windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass)) {
        logError(L"AppWindow: window class could not be registered");
        return false;
    }
    classRegistered_ = true;
    return true;
}

bool AppWindow::create(std::wstring const& title, u32 width, u32 height, bool windowed) {
    if (hwnd_) {
        logWarning(L"AppWindow: the window exists already");
        return true;
    }
    if (width == 0 || height == 0) {
        logError(L"AppWindow: window size " + std::to_wstring(width) + L"x" + std::to_wstring(height) + L" is empty");
        return false;
    }
    if (!registerClass()) return false;
    title_ = title;
    closeReported_ = false;
    active_ = false;
    POINT origin = originFor(width, height, windowed);
    RECT frame{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    AdjustWindowRect(&frame, styleFor(windowed), FALSE);
    // The handle is stored as soon as the first message arrives (WM_NCCREATE), so signals emitted
    // during creation already see it.
    creating_ = true;
    HWND window = CreateWindowExW(windowed ? 0 : WS_EX_TOPMOST, kClassName, title_.c_str(), styleFor(windowed),
                                  origin.x, origin.y, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, instance_, nullptr);
    creating_ = false;
    if (!window) {
        hwnd_ = nullptr;
        logError(L"AppWindow: CreateWindowExW failed");
        return false;
    }
    hwnd_ = window;
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
    if (!systemCursor_) hideCursor();
    logInfo(L"AppWindow: " + std::to_wstring(width) + L"x" + std::to_wstring(height) +
            (windowed ? L" windowed" : L" full screen"));
    return true;
}

bool AppWindow::place(u32 width, u32 height, bool windowed) {
    if (!hwnd_ || width == 0 || height == 0) return false;
    SetWindowLongPtrW(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(styleFor(windowed) | WS_VISIBLE));
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, windowed ? 0 : WS_EX_TOPMOST);
    POINT origin = originFor(width, height, windowed);
    RECT frame{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    AdjustWindowRect(&frame, styleFor(windowed), FALSE);
    SetWindowPos(hwnd_, windowed ? HWND_NOTOPMOST : HWND_TOPMOST, origin.x, origin.y, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    if (!systemCursor_) hideCursor();
    return true;
}

void AppWindow::destroy() {
    if (!hwnd_) return;
    closing_ = true;
    HWND window = hwnd_;
    DestroyWindow(window);
    hwnd_ = nullptr;
    active_ = false;
    closing_ = false;
}

void AppWindow::hideCursor() {
    for (int i = 0; i < kMaxCursorHides && ShowCursor(FALSE) >= 0; ++i) {
    }
}

LRESULT AppWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return getInstance().handleMessage(window, message, wParam, lParam);
}

LRESULT AppWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE && !hwnd_) hwnd_ = window;
    signalMessage.emit(window, message, wParam, lParam);
    switch (message) {
    case WM_ACTIVATE: {
        // Activation of a minimised window (high word set) does not make it usable yet.
        bool active = LOWORD(wParam) != WA_INACTIVE && HIWORD(wParam) == 0;
        active_ = active;
        signalActive.emit(active);
        return 0;
    }
    case WM_DESTROY:
        if (window == hwnd_ && !closing_ && !creating_ && !closeReported_) {
            closeReported_ = true;
            hwnd_ = nullptr;
            active_ = false;
            logInfo(L"AppWindow: the window was closed");
            signalClosed.emit();
        }
        return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace Orvex
