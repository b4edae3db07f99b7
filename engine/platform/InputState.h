// The input states that key, mouse and joystick signals carry, and the axis and button names.
// The input interface fills them; receivers only read them. Key codes are DirectInput scan codes
// (DIK_*), 0 to 255. Two process-wide flags live here because every state consults them: the
// engine's console being open (key queries then report nothing) and swapped mouse buttons.
#pragma once

#include <cstddef>
#include <vector>

#include "engine/core/Types.h"

namespace Orvex {

// Mouse buttons as DirectInput numbers them (physical buttons, before any swapping).
enum OrvexMouseButton {
    OMB_LEFT = 0,
    OMB_RIGHT = 1,
    OMB_MIDDLE = 2,
    OMB_BUTTON4 = 3,
    OMB_BUTTON5 = 4,
    OMB_BUTTON6 = 5,
    OMB_BUTTON7 = 6,
    OMB_BUTTON8 = 7,
    OMB_COUNT = 8,
};

// Input axes. Every axis has three values in a row: the movement towards negative, towards
// positive, and the axis as a whole. Movement events use the whole-axis values (mouse X 2,
// mouse Y 5); the wheel reports its direction (18 turned towards the user, 19 away). The type is int
// so that any number a receiver is handed (from data too) is a value of it.
enum OrvexAchse : int {
    OA_MOUSE_X_NEG = 0,
    OA_MOUSE_X_POS = 1,
    OA_MOUSE_X = 2,
    OA_MOUSE_Y_NEG = 3,
    OA_MOUSE_Y_POS = 4,
    OA_MOUSE_Y = 5,
    OA_JOY_X_NEG = 6,
    OA_JOY_X_POS = 7,
    OA_JOY_X = 8,
    OA_JOY_Y_NEG = 9,
    OA_JOY_Y_POS = 10,
    OA_JOY_Y = 11,
    OA_JOY_Z_NEG = 12,
    OA_JOY_Z_POS = 13,
    OA_JOY_Z = 14,
    OA_JOY_RZ_NEG = 15,
    OA_JOY_RZ_POS = 16,
    OA_JOY_RZ = 17,
    OA_MOUSE_Z_NEG = 18,
    OA_MOUSE_Z_POS = 19,
    OA_MOUSE_Z = 20,
    OA_JOY_RX_NEG = 21,
    OA_JOY_RX_POS = 22,
    OA_JOY_RX = 23,
    OA_JOY_RY_NEG = 24,
    OA_JOY_RY_POS = 25,
    OA_JOY_RY = 26,
    OA_JOY_SLIDER0_NEG = 27,
    OA_JOY_SLIDER0_POS = 28,
    OA_JOY_SLIDER0 = 29,
    OA_JOY_SLIDER1_NEG = 30,
    OA_JOY_SLIDER1_POS = 31,
    OA_JOY_SLIDER1 = 32,
    OA_COUNT = 33,
};

// The axis group of a value (0 mouse X, 1 mouse Y, 2 joystick X, ... 6 wheel, ...; -1 for values
// outside the enumeration) and its part.
enum class AxisPart { Negative = 0, Positive = 1, Whole = 2 };
inline int axisGroup(OrvexAchse axis) {
    int value = static_cast<int>(axis);
    return value >= 0 && value < OA_COUNT ? value / 3 : -1;
}
inline AxisPart axisPart(OrvexAchse axis) { return static_cast<AxisPart>(static_cast<int>(axis) % 3); }
inline OrvexAchse makeAxis(int group, AxisPart part) {
    return static_cast<OrvexAchse>(group * 3 + static_cast<int>(part));
}

// The engine's console state as the key queries see it; the engine sets it when the console
// opens or closes.
void setConsoleOpen(bool open);
bool isConsoleOpen();

// The keyboard after one key event.
class KeyState {
public:
    static constexpr std::size_t kKeyCount = 256;

    KeyState() = default;

    bool isKeyDown(u8 key) const { return down_[key]; }
    void setKeyDown(u8 key, bool down) { down_[key] = down; }
    void releaseAll();
    // Number of keys currently down.
    u32 countKeysDown() const;

    // Keys newly pressed in this event (a repeat lists the repeated key again).
    std::vector<u8> const& getPressedKeys() const { return pressed_; }
    bool wasPressed(u8 key) const;
    void addPressed(u8 key);
    void clearPressed() { pressed_.clear(); }

    // Key repeat: set while the event comes from holding a key, with the repeats so far.
    bool isRepeat() const { return repeat_; }
    u32 getRepeatCount() const { return repeatCount_; }
    void setRepeat(bool repeat, u32 count) {
        repeat_ = repeat;
        repeatCount_ = repeat ? count : 0;
    }

    // The character the system's keyboard layout typed with the key newly pressed in this event
    // (again with its repeats). With hasSystemText the input reports the system's characters, so
    // 0 means the key typed none (a dead key, a modifier); without it (DirectInput devices, key
    // events that come without text) the keyboard layout file's characters stand in.
    wchar_t getTypedChar() const { return typed_; }
    bool hasSystemText() const { return systemText_; }
    void setTypedChar(wchar_t ch, bool fromSystem) {
        typed_ = ch;
        systemText_ = fromSystem;
    }

    // Caps lock as a toggle, not as a held key.
    bool isCapsLockOn() const { return capsLock_; }
    void setCapsLock(bool on) { capsLock_ = on; }

    bool isShiftDown() const;
    bool isCtrlDown() const;
    bool isAltDown() const;
    // AltGr: the right Alt key, or Ctrl with Alt as Windows reports it.
    bool isAltGrDown() const;

    // True when every listed key is down and, with exactCount, no other key is. An empty list is
    // never down. False while the console is open unless ignoreConsole is set.
    bool areKeysDown(std::vector<u8> const& keys, bool exactCount, bool ignoreConsole = false) const;
    // How many of the listed keys were newly pressed in this event; 0 while the console is open
    // unless ignoreConsole is set.
    u32 countKeysPressed(std::vector<u8> const& keys, bool ignoreConsole = false) const;

private:
    bool down_[kKeyCount] = {};
    std::vector<u8> pressed_;
    bool repeat_ = false;
    u32 repeatCount_ = 0;
    bool capsLock_ = false;
    wchar_t typed_ = 0;
    bool systemText_ = false;
};

// The mouse after one mouse event.
class MouseState {
public:
    // Pointer position in window (back-buffer) pixels.
    float x = 0.0f;
    float y = 0.0f;
    // Movement of this event on X, Y and the wheel (wheel in its raw units, 120 a notch).
    float moveX = 0.0f;
    float moveY = 0.0f;
    float moveZ = 0.0f;
    // Wheel position summed over all events.
    float wheel = 0.0f;

    // Physical buttons as the device reports them.
    bool buttons[OMB_COUNT] = {};
    // Set while the press being reported is a double click's second press: the double-click
    // signal follows with the same state. A receiver that takes the double click as that press
    // leaves the plain one alone.
    bool doubleClickPress = false;

    // True while the button is held; button 0 is the primary button, so with swapped mouse
    // buttons 0 and 1 trade places. Buttons outside 0..7 are never down.
    bool isButtonDown(int const& button) const;
    void setButtonDown(int button, bool down);

    // The movement of this event on the axis' group (negative, positive and whole alike); 0 for
    // axes that are not the mouse's.
    float getMovement(OrvexAchse axis) const;

    // Whether the system swaps the primary and secondary buttons (left-handed mouse).
    static void setButtonsSwapped(bool swapped);
    static bool areButtonsSwapped();
};

// One joystick after one joystick event, laid out like DirectInput's extended joystick state.
class JoystickState {
public:
    static constexpr int kButtonCount = 128;
    static constexpr int kPovCount = 4;

    int index = 0;  // which joystick
    s32 axisX = 0, axisY = 0, axisZ = 0;
    s32 axisRX = 0, axisRY = 0, axisRZ = 0;
    s32 sliders[2] = {};
    u32 pov[kPovCount] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};  // centred
    bool buttons[kButtonCount] = {};
    // Change of the axis that caused this event.
    s32 axisDelta = 0;

    bool isButtonDown(int const& button) const;
    // The position of the joystick axis of that group; 0 for mouse axes and unknown values.
    s32 getAxis(OrvexAchse axis) const;
};

}  // namespace Orvex
