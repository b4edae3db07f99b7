// The window-message input path: the window procedure's messages are queued here and handed to
// the shared event processing at the next poll. Key messages carry the set-1 scan code in bits
// 16..23 of lParam and the extended-key flag in bit 24, which together are the DirectInput code.
#include "engine/platform/DirectInputInterface.h"

namespace Orvex {

namespace {

// The button of a mouse message and whether it is a press, release or double click; -1 for
// other messages.
int mouseButtonOf(UINT message, WPARAM wParam) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        return OMB_LEFT;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
        return OMB_RIGHT;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
        return OMB_MIDDLE;
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP:
    case WM_XBUTTONDBLCLK:
        return HIWORD(wParam) == XBUTTON2 ? OMB_BUTTON5 : OMB_BUTTON4;
    default:
        return -1;
    }
}

}  // namespace

void DirectInputInterface::onWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!initialised_ || !params_.useWinApi) return;
    if (window_ && window != window_) return;
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        DWORD const bits = static_cast<DWORD>(lParam);
        unsigned code = (bits >> 16) & 0xFF;
        if (code == 0) return;  // a key without a scan code has no DirectInput code
        if (bits & (1u << 24)) code |= 0x80;
        if (keyQueue_.size() >= kMaxQueued) keyQueue_.pop_front();
        keyQueue_.push_back({static_cast<u8>(code), message == WM_KEYDOWN || message == WM_SYSKEYDOWN, false, 0});
        return;
    }
    case WM_CHAR:
        if (pendingText_.size() < kMaxQueued) pendingText_ += static_cast<wchar_t>(wParam);
        queueTypedChar(static_cast<wchar_t>(wParam));
        return;
    case WM_KILLFOCUS:
        // Keys released while the window had no focus never report it: let them go now.
        keyQueue_.push_back({0, false, true, 0});
        return;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) keyQueue_.push_back({0, false, true, 0});
        return;
    default:
        break;
    }

    if (message < WM_MOUSEFIRST || message > WM_MOUSELAST) return;
    queueMouseMessage(message, wParam, lParam);
}

void DirectInputInterface::queueTypedChar(wchar_t ch) {
    // Control characters (Backspace, Return, Ctrl+letter) are the keys' own business.
    if (ch < 0x20 || (ch >= 0x7F && ch < 0xA0)) return;
    systemText_ = true;
    // The window system sends a key's character right after its press; a dead key's press
    // brings none, and the character it composes comes with the next key.
    for (auto it = keyQueue_.rbegin(); it != keyQueue_.rend() && !it->releaseAll; ++it) {
        if (!it->down) continue;
        if (it->typed != 0) break;
        it->typed = ch;
        return;
    }
    // A character without a press of its own (an input method's, a key the window system has no
    // scan code for) is typed by a press and release of no key.
    if (keyQueue_.size() + 2 > kMaxQueued) return;
    keyQueue_.push_back({0, true, false, ch});
    keyQueue_.push_back({0, false, false, 0});
}

void DirectInputInterface::queueMouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    MouseEvent event{};
    if (message == WM_MOUSEWHEEL) {
        // The wheel message's position is in screen coordinates; the position stays as it is.
        event.kind = MouseEvent::Wheel;
        event.wheel = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam));
    } else {
        event.absolute = true;
        event.x = static_cast<float>(GET_X_LPARAM(lParam));
        event.y = static_cast<float>(GET_Y_LPARAM(lParam));
        int button = mouseButtonOf(message, wParam);
        if (message == WM_MOUSEMOVE) {
            event.kind = MouseEvent::Move;
            // Consecutive movements collapse into the last position.
            if (!mouseQueue_.empty() && mouseQueue_.back().kind == MouseEvent::Move) {
                mouseQueue_.back() = event;
                return;
            }
        } else if (button < 0) {
            return;  // horizontal wheel and other mouse messages are not used
        } else if (message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK ||
                   message == WM_XBUTTONDBLCLK) {
            event.kind = MouseEvent::DoubleClick;
            event.button = button;
        } else {
            event.kind = MouseEvent::Button;
            event.button = button;
            event.down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                         message == WM_XBUTTONDOWN;
        }
    }
    if (mouseQueue_.size() >= kMaxQueued) mouseQueue_.pop_front();
    mouseQueue_.push_back(event);
}

}  // namespace Orvex
