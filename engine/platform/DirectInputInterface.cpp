// The input system: init parameters, the per-frame poll and the event processing shared by the
// DirectInput and window-message paths (key repeat, button and double-click signals, movement
// and wheel), and the pointer helpers.
#include "engine/platform/DirectInputInterface.h"

#include <cmath>
#include <cstdlib>
#include <cwchar>

#include "engine/core/Logger.h"
#include "engine/core/SettingsSection.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/AppWindow.h"
#include "port/dinput/dinput_keys.h"
#include "port/win32/kernel.h"
#include "port/win32/win32_picture.h"

namespace Orvex {

// ---- init parameters ----

void DirectInputInitParams::readConfig(XMLNode const& node) {
    SettingsSection const section(node, L"DINPUTINITPARAMS");
    section.read(L"BUFFERED_KEYBOARD", bufferedKeyboard);
    section.read(L"BUFFERED_MOUSE", bufferedMouse);
    section.read(L"MAX_POLL_RATE_MOUSE", 0, kMaxIntervalMs, maxPollRateMouse);
    section.read(L"MAX_POLL_RATE_KEYBOARD", 0, kMaxIntervalMs, maxPollRateKeyboard);
    if (XMLNode const* repeat = node.getChild(L"KEY_REPEAT_RATE")) {
        section.read(repeat->getValue(0), L"KEY_REPEAT_RATE delay", 0, kMaxIntervalMs, keyRepeatDelay);
        section.read(repeat->getValue(1), L"KEY_REPEAT_RATE rate", 0, kMaxIntervalMs, keyRepeatRate);
    }
    section.read(L"USE_WINAPI", useWinApi);
    section.read(L"USE_WINAPI_CAPTURE_B_MD_MU", useWinApiCapture);
    section.read(L"SCAN_DBL_CLICKS", scanDoubleClicks);
}

void DirectInputInitParams::writeConfig(XMLNode& section) const {
    section.addAttribute(new XMLAttribute(L"BUFFERED_KEYBOARD", bufferedKeyboard));
    section.addAttribute(new XMLAttribute(L"BUFFERED_MOUSE", bufferedMouse));
    section.addAttribute(new XMLAttribute(L"MAX_POLL_RATE_MOUSE", static_cast<int>(maxPollRateMouse)));
    section.addAttribute(new XMLAttribute(L"MAX_POLL_RATE_KEYBOARD", static_cast<int>(maxPollRateKeyboard)));
    section.addAttribute(new XMLAttribute(L"USE_WINAPI", static_cast<unsigned int>(useWinApi)));
    section.addAttribute(new XMLAttribute(L"USE_WINAPI_CAPTURE_B_MD_MU", static_cast<unsigned int>(useWinApiCapture)));
    section.addAttribute(new XMLAttribute(L"SCAN_DBL_CLICKS", static_cast<unsigned int>(scanDoubleClicks)));
    XMLNode* repeat = section.addChild(L"KEY_REPEAT_RATE");
    repeat->addValue(new XMLProperty(static_cast<int>(keyRepeatDelay)));
    repeat->addValue(new XMLProperty(static_cast<int>(keyRepeatRate)));
}

// ---- life cycle ----

DirectInputInterface& DirectInputInterface::getInstance() {
    static DirectInputInterface instance;
    return instance;
}

DirectInputInterface::~DirectInputInterface() { shutdown(); }

bool DirectInputInterface::init(HWND window) {
    if (initialised_) return true;
    window_ = window;
    bool ok = true;
    if (params_.useWinApi) {
        AppWindow::getInstance().signalMessage.connect(this, &DirectInputInterface::onWindowMessage);
    } else {
        ok = openDirectInput() && openKeyboard() && openMouse();
        if (!ok) {
            closeDevices();
            window_ = nullptr;
            return false;
        }
    }
    if (openDirectInput()) openJoysticks();
    initialised_ = true;
    polledOnce_ = false;
    logInfo(params_.useWinApi ? L"Input: keyboard and mouse from window messages"
                              : L"Input: keyboard and mouse through DirectInput");
    return ok;
}

void DirectInputInterface::shutdown() {
    // The only signal this object listens to is the window's; a destroyed window has already
    // cut the connection.
    if (sender_count() > 0) AppWindow::getInstance().signalMessage.disconnect(this);
    closeDevices();
    keyQueue_.clear();
    mouseQueue_.clear();
    releaseAll();
    systemText_ = false;
    initialised_ = false;
    window_ = nullptr;
}

void DirectInputInterface::setClock(std::function<u32()> clock) { clock_ = std::move(clock); }

u32 DirectInputInterface::now() const { return clock_ ? clock_() : static_cast<u32>(GetTickCount()); }

bool DirectInputInterface::pollDue(u32& last, s32 rate) {
    u32 t = now();
    if (polledOnce_ && rate > 0 && t - last < static_cast<u32>(rate)) return false;
    last = t;
    return true;
}

// ---- the poll ----

namespace {

// The events of one device for this poll: the queued window messages, or what the device reads.
template <class Event, class Read>
std::vector<Event> takeEvents(bool fromQueue, std::deque<Event>& queue, Read read) {
    std::vector<Event> events;
    if (fromQueue) {
        events.assign(queue.begin(), queue.end());
        queue.clear();
    } else {
        read(events);
    }
    return events;
}

}  // namespace

void DirectInputInterface::update() {
    if (!initialised_) return;
    bool const fromQueue = params_.useWinApi != 0;
    if (pollDue(lastKeyboardPoll_, params_.maxPollRateKeyboard)) {
        typedText_.swap(pendingText_);
        pendingText_.clear();
        auto read = [this](std::vector<KeyEvent>& out) { readKeyboard(out); };
        for (KeyEvent const& event : takeEvents(fromQueue, keyQueue_, read)) processKey(event);
    }
    processKeyRepeat();
    if (pollDue(lastMousePoll_, params_.maxPollRateMouse)) {
        auto read = [this](std::vector<MouseEvent>& out) { readMouse(out); };
        for (MouseEvent const& event : takeEvents(fromQueue, mouseQueue_, read)) processMouse(event);
    }
    polledOnce_ = true;
    pollJoysticks();
}

// ---- keys ----

void DirectInputInterface::processKey(KeyEvent const& event) {
    if (event.releaseAll) {
        for (unsigned held = 1; held < KeyState::kKeyCount; ++held) {
            if (keys_.isKeyDown(static_cast<u8>(held))) processKey({static_cast<u8>(held), false, false, 0});
        }
        return;
    }
    unsigned char const code = event.code;
    if (event.down) {
        // A key already down is the system's own auto-repeat; the repeat is made here instead.
        if (keys_.isKeyDown(code)) return;
        if (code == DIK_CAPITAL) keys_.setCapsLock(!keys_.isCapsLockOn());
        keys_.setKeyDown(code, true);
        keys_.clearPressed();
        keys_.addPressed(code);
        keys_.setRepeat(false, 0);
        keys_.setTypedChar(event.typed, systemText_);
        repeatKey_ = code;
        repeatChar_ = event.typed;
        repeatCount_ = 0;
        keyPressedSignal.emit(keys_, code);
        keyDownSignal.emit(keys_, code);
        // The delay runs from when the press has been handled: a slow handler (a screenshot) must
        // not make the key look held, since its release can only be seen at the next poll.
        repeatNext_ = now() + static_cast<u32>(params_.keyRepeatDelay > 0 ? params_.keyRepeatDelay : 0);
    } else {
        if (!keys_.isKeyDown(code)) return;
        keys_.setKeyDown(code, false);
        keys_.clearPressed();
        keys_.setRepeat(false, 0);
        keys_.setTypedChar(0, systemText_);
        if (repeatKey_ == code) repeatKey_ = -1;
        keyReleasedSignal.emit(keys_, code);
    }
}

void DirectInputInterface::processKeyRepeat() {
    if (repeatKey_ < 0 || params_.keyRepeatDelay <= 0 || params_.keyRepeatRate <= 0) return;
    unsigned char const code = static_cast<unsigned char>(repeatKey_);
    if (!keys_.isKeyDown(code)) {
        repeatKey_ = -1;
        return;
    }
    u32 t = now();
    if (static_cast<s32>(t - repeatNext_) < 0) return;
    repeatNext_ += static_cast<u32>(params_.keyRepeatRate);
    // Behind by more than a step (a stalled frame): one repeat now, the next a full step later.
    if (static_cast<s32>(t - repeatNext_) >= 0) repeatNext_ = t + static_cast<u32>(params_.keyRepeatRate);
    ++repeatCount_;
    keys_.clearPressed();
    keys_.addPressed(code);
    keys_.setRepeat(true, repeatCount_);
    keys_.setTypedChar(repeatChar_, systemText_);
    keyPressedSignal.emit(keys_, code);
}

// ---- mouse ----

namespace {

// The rectangle pointer positions lie in: the picture a device shows in the window (the back
// buffer's pixels, which the windows' rectangles are in; a window of another size shows it
// stretched), else the client area. False without a window.
bool pointerArea(HWND window, RECT& area) {
    port::win32::PictureTransform picture;
    if (window && port::win32::windowPicture(window, picture)) {
        area = RECT{0, 0, static_cast<LONG>(picture.pictureWidth), static_cast<LONG>(picture.pictureHeight)};
        return true;
    }
    return window && GetClientRect(window, &area);
}

}  // namespace

void DirectInputInterface::processMouse(MouseEvent const& event) {
    mouse_.moveX = mouse_.moveY = mouse_.moveZ = 0.0f;
    float oldX = mouseX, oldY = mouseY;
    if (event.absolute) {
        mouseX = event.x;
        mouseY = event.y;
        // Messages give client pixels; the windows' rectangles are in the picture's.
        port::win32::PictureTransform picture;
        if (window_ && port::win32::windowPicture(window_, picture)) picture.toPicture(mouseX, mouseY);
    } else if (event.kind == MouseEvent::Move) {
        mouseX += event.x;
        mouseY += event.y;
        RECT area{};
        if (pointerArea(window_, area)) {
            mouseX = std::fmax(0.0f, std::fmin(mouseX, static_cast<float>(area.right - 1)));
            mouseY = std::fmax(0.0f, std::fmin(mouseY, static_cast<float>(area.bottom - 1)));
        }
    }
    mouse_.x = mouseX;
    mouse_.y = mouseY;

    switch (event.kind) {
    case MouseEvent::Move: {
        mouse_.moveX = mouseX - oldX;
        mouse_.moveY = mouseY - oldY;
        if (mouse_.moveX != 0.0f) mouseAxisSignal.emit(mouse_, OA_MOUSE_X);
        if (mouse_.moveY != 0.0f) mouseAxisSignal.emit(mouse_, OA_MOUSE_Y);
        break;
    }
    case MouseEvent::Wheel:
        if (event.wheel == 0.0f) break;
        mouse_.moveZ = event.wheel;
        mouse_.wheel += event.wheel;
        mouseAxisSignal.emit(mouse_, event.wheel > 0.0f ? OA_MOUSE_Z_POS : OA_MOUSE_Z_NEG);
        break;
    case MouseEvent::Button:
        emitButton(event.button, event.down);
        break;
    case MouseEvent::DoubleClick:
        // The double-click message stands in for the second press.
        if (event.button < 0 || event.button >= OMB_COUNT) break;
        if (mouse_.buttons[event.button]) {
            // Still held (its release was lost): no press to report, the double click alone.
            lastPressButton_ = -1;
            mouseDoubleClickSignal.emit(mouse_, static_cast<OrvexMouseButton>(event.button));
            break;
        }
        emitButton(event.button, true, false, true);
        break;
    }
}

void DirectInputInterface::emitButton(int buttonIndex, bool down, bool scanDoubleClick, bool doubleClick) {
    if (buttonIndex < 0 || buttonIndex >= OMB_COUNT) return;
    OrvexMouseButton const button = static_cast<OrvexMouseButton>(buttonIndex);
    bool const wasDown = mouse_.buttons[buttonIndex];
    if (down == wasDown) return;
    mouse_.buttons[buttonIndex] = down;
    bool const capture = params_.useWinApi && params_.useWinApiCapture && window_;
    if (down) {
        if (capture) SetCapture(window_);
        if (params_.scanDoubleClicks && scanDoubleClick) {
            u32 t = now();
            float const slopX = static_cast<float>(GetSystemMetrics(SM_CXDOUBLECLK)) / 2.0f;
            float const slopY = static_cast<float>(GetSystemMetrics(SM_CYDOUBLECLK)) / 2.0f;
            if (lastPressButton_ == buttonIndex && t - lastPressTime_ <= GetDoubleClickTime() &&
                std::fabs(mouseX - lastPressX_) <= slopX && std::fabs(mouseY - lastPressY_) <= slopY) {
                doubleClick = true;
            } else {
                lastPressButton_ = buttonIndex;
                lastPressTime_ = t;
                lastPressX_ = mouseX;
                lastPressY_ = mouseY;
            }
        }
        // The press first (every receiver sees every press), marked when the double click follows.
        mouse_.doubleClickPress = doubleClick;
        mouseButtonDownSignal.emit(mouse_, button);
        if (doubleClick) {
            lastPressButton_ = -1;  // a third press starts a new pair
            mouseDoubleClickSignal.emit(mouse_, button);
        }
        mouse_.doubleClickPress = false;
    } else {
        mouseButtonUpSignal.emit(mouse_, button);
        if (capture) {
            bool any = false;
            for (bool held : mouse_.buttons) any = any || held;
            if (!any && GetCapture() == window_) ReleaseCapture();
        }
    }
}

void DirectInputInterface::releaseAll() {
    keys_.releaseAll();
    keys_.clearPressed();
    keys_.setRepeat(false, 0);
    keys_.setTypedChar(0, false);
    repeatKey_ = -1;
    for (bool& held : mouse_.buttons) held = false;
    lastPressButton_ = -1;
}

// ---- pointer ----

void DirectInputInterface::centerMouse() {
    RECT area{};
    if (!pointerArea(window_, area)) return;
    int cx = (area.right - area.left) / 2;
    int cy = (area.bottom - area.top) / 2;
    mouseX = mouse_.x = static_cast<float>(cx);
    mouseY = mouse_.y = static_cast<float>(cy);
    // The system cursor goes where the middle is shown.
    float wx = mouseX, wy = mouseY;
    port::win32::PictureTransform picture;
    if (port::win32::windowPicture(window_, picture)) picture.toClient(wx, wy);
    POINT point{static_cast<LONG>(std::lround(wx)), static_cast<LONG>(std::lround(wy))};
    ClientToScreen(window_, &point);
    SetCursorPos(point.x, point.y);
}

bool DirectInputInterface::isMouseInClient() const {
    if (!window_ || !IsWindow(window_)) return false;
    POINT point{};
    RECT client{};
    if (!GetCursorPos(&point) || !ScreenToClient(window_, &point) || !GetClientRect(window_, &client)) return false;
    return point.x >= client.left && point.x < client.right && point.y >= client.top && point.y < client.bottom;
}

}  // namespace Orvex
