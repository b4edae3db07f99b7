// The DirectInput devices of the input system: keyboard and mouse (buffered events or state
// snapshots compared with the previous poll) and every attached joystick (state snapshots).
// A device that lost its acquisition (focus gone) is acquired again at the next poll; what was
// held meanwhile is released.
#include <cstdlib>
#include <cstring>

#include "engine/core/Logger.h"
#include "engine/platform/DirectInputInterface.h"
#include "port/dinput/dinput.h"

namespace Orvex {

namespace {

constexpr DWORD kBufferSize = 256;
constexpr LONG kJoystickRange = 1000;

bool setBufferSize(IDirectInputDevice8W* device) {
    DIPROPDWORD prop{};
    prop.diph.dwSize = sizeof(prop);
    prop.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    prop.diph.dwHow = DIPH_DEVICE;
    prop.dwData = kBufferSize;
    return SUCCEEDED(device->SetProperty(DIPROP_BUFFERSIZE, &prop.diph));
}

// Takes the device's buffered events; acquires it again when it was lost. False when nothing
// could be read.
bool readBuffered(IDirectInputDevice8W* device, std::vector<DIDEVICEOBJECTDATA>& out) {
    out.resize(kBufferSize);
    DWORD count = kBufferSize;
    HRESULT hr = device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), out.data(), &count, 0);
    if (hr == DIERR_INPUTLOST || hr == DIERR_NOTACQUIRED) {
        device->Acquire();
        count = kBufferSize;
        hr = device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), out.data(), &count, 0);
    }
    if (FAILED(hr)) count = 0;
    out.resize(count);
    return SUCCEEDED(hr);
}

bool readState(IDirectInputDevice8W* device, DWORD size, void* data) {
    HRESULT hr = device->GetDeviceState(size, data);
    if (hr == DIERR_INPUTLOST || hr == DIERR_NOTACQUIRED) {
        device->Acquire();
        hr = device->GetDeviceState(size, data);
    }
    return SUCCEEDED(hr);
}

BOOL collectJoystick(LPCDIDEVICEINSTANCEW instance, LPVOID ref) {
    static_cast<std::vector<GUID>*>(ref)->push_back(instance->guidInstance);
    return DIENUM_CONTINUE;
}

}  // namespace

bool DirectInputInterface::openDirectInput() {
    if (directInput_) return true;
    void* object = nullptr;
    if (FAILED(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8W, &object, nullptr)) || !object) {
        logError(L"Input: DirectInput8Create failed");
        return false;
    }
    directInput_ = static_cast<IDirectInput8W*>(object);
    // The devices are released before the port's input hub goes away at exit.
    static bool shutdownRegistered = false;
    if (!shutdownRegistered) {
        shutdownRegistered = true;
        std::atexit([] { DirectInputInterface::getInstance().shutdown(); });
    }
    return true;
}

bool DirectInputInterface::openKeyboard() {
    if (FAILED(directInput_->CreateDevice(GUID_SysKeyboard, &keyboard_, nullptr)) || !keyboard_ ||
        FAILED(keyboard_->SetDataFormat(&c_dfDIKeyboard)) ||
        FAILED(keyboard_->SetCooperativeLevel(window_, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND)) ||
        (params_.bufferedKeyboard && !setBufferSize(keyboard_))) {
        logError(L"Input: the DirectInput keyboard cannot be opened");
        return false;
    }
    keyboard_->Acquire();
    std::memset(keyboardSnapshot_, 0, sizeof(keyboardSnapshot_));
    return true;
}

bool DirectInputInterface::openMouse() {
    if (FAILED(directInput_->CreateDevice(GUID_SysMouse, &mouseDevice_, nullptr)) || !mouseDevice_ ||
        FAILED(mouseDevice_->SetDataFormat(&c_dfDIMouse2)) ||
        FAILED(mouseDevice_->SetCooperativeLevel(window_, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND)) ||
        (params_.bufferedMouse && !setBufferSize(mouseDevice_))) {
        logError(L"Input: the DirectInput mouse cannot be opened");
        return false;
    }
    mouseDevice_->Acquire();
    std::memset(mouseButtonsSnapshot_, 0, sizeof(mouseButtonsSnapshot_));
    return true;
}

void DirectInputInterface::openJoysticks() {
    std::vector<GUID> found;
    directInput_->EnumDevices(DI8DEVCLASS_GAMECTRL, collectJoystick, &found, DIEDFL_ATTACHEDONLY);
    for (GUID const& guid : found) {
        IDirectInputDevice8W* device = nullptr;
        if (FAILED(directInput_->CreateDevice(guid, &device, nullptr)) || !device) continue;
        if (FAILED(device->SetDataFormat(&c_dfDIJoystick2)) ||
            FAILED(device->SetCooperativeLevel(window_, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND))) {
            device->Release();
            continue;
        }
        DIPROPRANGE range{};
        range.diph.dwSize = sizeof(range);
        range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
        range.diph.dwHow = DIPH_DEVICE;
        range.lMin = -kJoystickRange;
        range.lMax = kJoystickRange;
        device->SetProperty(DIPROP_RANGE, &range.diph);
        device->Acquire();
        Joystick joystick;
        joystick.device = device;
        joystick.state.index = static_cast<int>(joysticks_.size());
        joysticks_.push_back(joystick);
    }
    if (!joysticks_.empty()) logInfo(L"Input: " + std::to_wstring(joysticks_.size()) + L" joystick(s)");
}

void DirectInputInterface::closeDevices() {
    for (IDirectInputDevice8W** device : {&keyboard_, &mouseDevice_}) {
        if (*device) {
            (*device)->Unacquire();
            (*device)->Release();
            *device = nullptr;
        }
    }
    for (Joystick& joystick : joysticks_) {
        joystick.device->Unacquire();
        joystick.device->Release();
    }
    joysticks_.clear();
    if (directInput_) directInput_->Release();
    directInput_ = nullptr;
}

// ---- keyboard and mouse ----

void DirectInputInterface::readKeyboard(std::vector<KeyEvent>& out) {
    if (!keyboard_) return;
    if (params_.bufferedKeyboard) {
        std::vector<DIDEVICEOBJECTDATA> data;
        if (!readBuffered(keyboard_, data)) return;
        for (DIDEVICEOBJECTDATA const& item : data) {
            if (item.dwOfs >= KeyState::kKeyCount) continue;
            out.push_back({static_cast<u8>(item.dwOfs), (item.dwData & 0x80) != 0, false, 0});
        }
        return;
    }
    unsigned char state[256] = {};
    if (!readState(keyboard_, sizeof(state), state)) return;
    for (unsigned code = 1; code < 256; ++code) {
        bool down = (state[code] & 0x80) != 0;
        if (down != ((keyboardSnapshot_[code] & 0x80) != 0)) out.push_back({static_cast<u8>(code), down, false, 0});
    }
    std::memcpy(keyboardSnapshot_, state, sizeof(state));
}

void DirectInputInterface::readMouse(std::vector<MouseEvent>& out) {
    if (!mouseDevice_) return;
    MouseEvent move{};
    move.kind = MouseEvent::Move;
    auto flushMove = [&] {
        if (move.x != 0.0f || move.y != 0.0f) out.push_back(move);
        move.x = move.y = 0.0f;
    };
    if (params_.bufferedMouse) {
        std::vector<DIDEVICEOBJECTDATA> data;
        if (!readBuffered(mouseDevice_, data)) return;
        for (DIDEVICEOBJECTDATA const& item : data) {
            LONG value = static_cast<LONG>(item.dwData);
            if (item.dwOfs == DIMOFS_X) {
                move.x += static_cast<float>(value);
            } else if (item.dwOfs == DIMOFS_Y) {
                move.y += static_cast<float>(value);
            } else if (item.dwOfs == DIMOFS_Z) {
                flushMove();
                MouseEvent wheel{};
                wheel.kind = MouseEvent::Wheel;
                wheel.wheel = static_cast<float>(value);
                out.push_back(wheel);
            } else if (item.dwOfs >= DIMOFS_BUTTON0 && item.dwOfs <= DIMOFS_BUTTON7) {
                flushMove();
                MouseEvent button{};
                button.kind = MouseEvent::Button;
                button.button = static_cast<int>(item.dwOfs - DIMOFS_BUTTON0);
                button.down = (item.dwData & 0x80) != 0;
                out.push_back(button);
            }
        }
        flushMove();
        return;
    }
    DIMOUSESTATE2 state{};
    if (!readState(mouseDevice_, sizeof(state), &state)) return;
    move.x = static_cast<float>(state.lX);
    move.y = static_cast<float>(state.lY);
    flushMove();
    if (state.lZ != 0) {
        MouseEvent wheel{};
        wheel.kind = MouseEvent::Wheel;
        wheel.wheel = static_cast<float>(state.lZ);
        out.push_back(wheel);
    }
    for (int i = 0; i < 8; ++i) {
        bool down = (state.rgbButtons[i] & 0x80) != 0;
        if (down == ((mouseButtonsSnapshot_[i] & 0x80) != 0)) continue;
        MouseEvent button{};
        button.kind = MouseEvent::Button;
        button.button = i;
        button.down = down;
        out.push_back(button);
        mouseButtonsSnapshot_[i] = state.rgbButtons[i];
    }
}

// ---- joysticks ----

void DirectInputInterface::pollJoysticks() {
    for (Joystick& joystick : joysticks_) pollJoystick(joystick);
}

void DirectInputInterface::pollJoystick(Joystick& joystick) {
    joystick.device->Poll();
    DIJOYSTATE2 raw{};
    if (!readState(joystick.device, sizeof(raw), &raw)) return;
    JoystickState& state = joystick.state;
    JoystickState const previous = state;
    state.axisX = raw.lX;
    state.axisY = raw.lY;
    state.axisZ = raw.lZ;
    state.axisRX = raw.lRx;
    state.axisRY = raw.lRy;
    state.axisRZ = raw.lRz;
    state.sliders[0] = raw.rglSlider[0];
    state.sliders[1] = raw.rglSlider[1];
    for (int i = 0; i < JoystickState::kPovCount; ++i) state.pov[i] = raw.rgdwPOV[i];
    for (int i = 0; i < JoystickState::kButtonCount; ++i) state.buttons[i] = (raw.rgbButtons[i] & 0x80) != 0;
    if (!joystick.havePrevious) {
        // The first reading is the rest position, not a movement.
        joystick.havePrevious = true;
        return;
    }
    struct AxisValue {
        OrvexAchse axis;
        s32 now;
        s32 before;
    };
    AxisValue const axes[] = {
        {OA_JOY_X, state.axisX, previous.axisX},          {OA_JOY_Y, state.axisY, previous.axisY},
        {OA_JOY_Z, state.axisZ, previous.axisZ},          {OA_JOY_RX, state.axisRX, previous.axisRX},
        {OA_JOY_RY, state.axisRY, previous.axisRY},       {OA_JOY_RZ, state.axisRZ, previous.axisRZ},
        {OA_JOY_SLIDER0, state.sliders[0], previous.sliders[0]},
        {OA_JOY_SLIDER1, state.sliders[1], previous.sliders[1]},
    };
    for (AxisValue const& axis : axes) {
        if (axis.now == axis.before) continue;
        state.axisDelta = axis.now - axis.before;
        joystickAxisSignal.emit(state, axis.axis);
    }
    state.axisDelta = 0;
    for (int i = 0; i < JoystickState::kButtonCount; ++i) {
        if (state.buttons[i] == previous.buttons[i]) continue;
        if (state.buttons[i]) {
            joystickButtonDownSignal.emit(state, i);
        } else {
            joystickButtonUpSignal.emit(state, i);
        }
    }
}

}  // namespace Orvex
