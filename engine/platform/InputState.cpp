// Queries on the key, mouse and joystick states.
#include "engine/platform/InputState.h"

#include <algorithm>
#include <atomic>

#include "port/dinput/dinput_keys.h"

namespace Orvex {

namespace {

std::atomic<bool> g_consoleOpen{false};
std::atomic<bool> g_buttonsSwapped{false};

}  // namespace

void setConsoleOpen(bool open) { g_consoleOpen = open; }
bool isConsoleOpen() { return g_consoleOpen; }

// ---- KeyState ----

void KeyState::releaseAll() {
    std::fill(std::begin(down_), std::end(down_), false);
    pressed_.clear();
    repeat_ = false;
    repeatCount_ = 0;
}

u32 KeyState::countKeysDown() const {
    return static_cast<u32>(std::count(std::begin(down_), std::end(down_), true));
}

bool KeyState::wasPressed(u8 key) const {
    return std::find(pressed_.begin(), pressed_.end(), key) != pressed_.end();
}

void KeyState::addPressed(u8 key) {
    if (!wasPressed(key)) pressed_.push_back(key);
}

bool KeyState::isShiftDown() const { return down_[DIK_LSHIFT] || down_[DIK_RSHIFT]; }
bool KeyState::isCtrlDown() const { return down_[DIK_LCONTROL] || down_[DIK_RCONTROL]; }
bool KeyState::isAltDown() const { return down_[DIK_LMENU] || down_[DIK_RMENU]; }
bool KeyState::isAltGrDown() const { return down_[DIK_RMENU] || (isCtrlDown() && down_[DIK_LMENU]); }

bool KeyState::areKeysDown(std::vector<u8> const& keys, bool exactCount, bool ignoreConsole) const {
    if (!ignoreConsole && isConsoleOpen()) return false;
    // A combination that names no key would otherwise match whenever nothing is held.
    if (keys.empty()) return false;
    for (u8 key : keys) {
        if (!down_[key]) return false;
    }
    if (!exactCount) return true;
    // Every key that is down must be one of the listed ones (the list may repeat a key).
    for (std::size_t key = 0; key < kKeyCount; ++key) {
        if (down_[key] && std::find(keys.begin(), keys.end(), static_cast<u8>(key)) == keys.end())
            return false;
    }
    return true;
}

u32 KeyState::countKeysPressed(std::vector<u8> const& keys, bool ignoreConsole) const {
    if (!ignoreConsole && isConsoleOpen()) return 0;
    u32 count = 0;
    for (u8 key : pressed_) {
        if (std::find(keys.begin(), keys.end(), key) != keys.end()) ++count;
    }
    return count;
}

// ---- MouseState ----

void MouseState::setButtonsSwapped(bool swapped) { g_buttonsSwapped = swapped; }
bool MouseState::areButtonsSwapped() { return g_buttonsSwapped; }

bool MouseState::isButtonDown(int const& button) const {
    int physical = button;
    if (areButtonsSwapped() && (button == 0 || button == 1)) physical = 1 - button;
    if (physical < 0 || physical >= OMB_COUNT) return false;
    return buttons[physical];
}

void MouseState::setButtonDown(int button, bool down) {
    if (button >= 0 && button < OMB_COUNT) buttons[button] = down;
}

float MouseState::getMovement(OrvexAchse axis) const {
    switch (axisGroup(axis)) {
        case 0: return moveX;
        case 1: return moveY;
        case 6: return moveZ;
        default: return 0.0f;
    }
}

// ---- JoystickState ----

bool JoystickState::isButtonDown(int const& button) const {
    if (button < 0 || button >= kButtonCount) return false;
    return buttons[button];
}

s32 JoystickState::getAxis(OrvexAchse axis) const {
    switch (axisGroup(axis)) {
        case 2: return axisX;
        case 3: return axisY;
        case 4: return axisZ;
        case 5: return axisRZ;
        case 7: return axisRX;
        case 8: return axisRY;
        case 9: return sliders[0];
        case 10: return sliders[1];
        default: return 0;
    }
}

}  // namespace Orvex
