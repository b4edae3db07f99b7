// Joysticks: objects from SDL's axis, button and hat counts, axis mapping with range, dead zone
// and saturation, and the immediate DIJOYSTATE(2) read from SDL's joystick state.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "port/dinput/InputDevice.h"
#include "port/win32/win32_text.h"

namespace port::dinput {
namespace {

// Instance GUIDs carry SDL's instance id in Data1 and this mark in the rest.
constexpr uint16_t kMark2 = 0x5344;  // "SD"
constexpr uint16_t kMark3 = 0x4C4A;  // "LJ"
constexpr uint8_t kMark4[8] = {'P', 'O', 'R', 'T', 'J', 'O', 'Y', 0};

}  // namespace

DWORD povFromHat(Uint8 hat) {
    switch (hat) {
    case SDL_HAT_UP: return 0;
    case SDL_HAT_RIGHTUP: return 4500;
    case SDL_HAT_RIGHT: return 9000;
    case SDL_HAT_RIGHTDOWN: return 13500;
    case SDL_HAT_DOWN: return 18000;
    case SDL_HAT_LEFTDOWN: return 22500;
    case SDL_HAT_LEFT: return 27000;
    case SDL_HAT_LEFTUP: return 31500;
    default: return 0xFFFFFFFF;
    }
}

GUID joystickInstanceGuid(SDL_JoystickID id) {
    GUID g{static_cast<uint32_t>(id), kMark2, kMark3, {}};
    std::memcpy(g.Data4, kMark4, 8);
    return g;
}

SDL_JoystickID joystickIdFromGuid(GUID const& guid) {
    if (guid.Data2 != kMark2 || guid.Data3 != kMark3 || std::memcmp(guid.Data4, kMark4, 8) != 0) return -1;
    return static_cast<SDL_JoystickID>(guid.Data1);
}

DIDEVICEINSTANCEW joystickInstance(int index) {
    DIDEVICEINSTANCEW d{};
    d.dwSize = sizeof(d);
    d.guidInstance = joystickInstanceGuid(SDL_JoystickGetDeviceInstanceID(index));
    SDL_JoystickGUID product = SDL_JoystickGetDeviceGUID(index);
    static_assert(sizeof(product.data) == sizeof(GUID));
    std::memcpy(&d.guidProduct, product.data, sizeof(GUID));
    d.dwDevType = SDL_IsGameController(index) ? DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8)
                                              : DI8DEVTYPE_JOYSTICK | (DI8DEVTYPEJOYSTICK_STANDARD << 8);
    char const* name = SDL_JoystickNameForIndex(index);
    std::wstring wide = port::fromUtf8(name ? name : "Joystick");
    std::size_t n = std::min<std::size_t>(wide.size(), MAX_PATH - 1);
    std::copy_n(wide.begin(), n, d.tszInstanceName);
    std::copy_n(wide.begin(), n, d.tszProductName);
    d.wUsagePage = 1;  // generic desktop
    d.wUsage = SDL_IsGameController(index) ? 5 : 4;
    return d;
}

void InputDevice::buildJoystickObjects() {
    static GUID const kAxisGuids[8] = {GUID_XAxis,  GUID_YAxis,  GUID_ZAxis,  GUID_RxAxis,
                                       GUID_RyAxis, GUID_RzAxis, GUID_Slider, GUID_Slider};
    static wchar_t const* const kAxisNames[8] = {L"X-axis",  L"Y-axis",  L"Z-axis", L"X-rotation",
                                                 L"Y-rotation", L"Z-rotation", L"Slider", L"Slider 2"};
    int axes = std::clamp(SDL_JoystickNumAxes(joystick_), 0, 8);
    int buttons = std::clamp(SDL_JoystickNumButtons(joystick_), 0, 128);
    int hats = std::clamp(SDL_JoystickNumHats(joystick_), 0, 4);
    axes_.assign(static_cast<std::size_t>(axes), AxisProps{});
    for (int a = 0; a < axes; ++a)
        objects_.push_back({kAxisGuids[a], DWORD(a) * 4, DWORD(DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(a)), kAxisNames[a]});
    for (int h = 0; h < hats; ++h)
        objects_.push_back({GUID_POV, DWORD(DIJOFS_POV(h)), DWORD(DIDFT_POV | DIDFT_MAKEINSTANCE(h)),
                            L"Hat " + std::to_wstring(h)});
    for (int b = 0; b < buttons; ++b)
        objects_.push_back({GUID_Button, DWORD(DIJOFS_BUTTON(b)), DWORD(DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(b)),
                            L"Button " + std::to_wstring(b)});
}

DWORD InputDevice::buttonLimit() const { return format_ == Format::Joystick2 ? 128 : 32; }

LONG InputDevice::mapAxis(int axis, int raw) const {
    AxisProps const& p = axes_[static_cast<std::size_t>(axis)];
    double v = raw >= 0 ? raw / 32767.0 : raw / 32768.0;
    double magnitude = std::min(std::fabs(v), 1.0);
    double dead = p.deadzone / 10000.0;
    double saturation = std::max(p.saturation / 10000.0, dead);
    double scaled = magnitude <= dead ? 0.0 : magnitude >= saturation ? 1.0 : (magnitude - dead) / (saturation - dead);
    double n = v < 0 ? -scaled : scaled;
    double span = double(p.max) - double(p.min);
    return static_cast<LONG>(std::llround(double(p.min) + (n + 1.0) * 0.5 * span));
}

HRESULT InputDevice::joystickState(DWORD size, LPVOID data) {
    bool two = format_ == Format::Joystick2;
    if (format_ == Format::None || size != (two ? sizeof(DIJOYSTATE2) : sizeof(DIJOYSTATE))) return DIERR_INVALIDPARAM;
    std::size_t axisCount = 0;
    {
        std::lock_guard<std::mutex> lock(Hub::instance().mutex);
        HRESULT hr = checkAcquired();
        if (FAILED(hr)) return hr;
        axisCount = axes_.size();
    }
    // SDL's own state, read without the hub's lock.
    if (!SDL_JoystickGetAttached(joystick_)) return DIERR_INPUTLOST;
    int raw[8] = {};
    for (std::size_t a = 0; a < axisCount; ++a) raw[a] = SDL_JoystickGetAxis(joystick_, static_cast<int>(a));
    DIJOYSTATE2 state{};
    LONG* axes[8] = {&state.lX,  &state.lY,  &state.lZ,           &state.lRx,
                     &state.lRy, &state.lRz, &state.rglSlider[0], &state.rglSlider[1]};
    {
        std::lock_guard<std::mutex> lock(Hub::instance().mutex);
        for (std::size_t a = 0; a < 8; ++a)
            *axes[a] = a < axisCount ? mapAxis(static_cast<int>(a), raw[a]) : 0;
    }
    for (int h = 0; h < 4; ++h)
        state.rgdwPOV[h] = h < SDL_JoystickNumHats(joystick_) ? povFromHat(SDL_JoystickGetHat(joystick_, h)) : 0xFFFFFFFF;
    int buttons = std::min<int>(SDL_JoystickNumButtons(joystick_), static_cast<int>(buttonLimit()));
    for (int b = 0; b < buttons; ++b) state.rgbButtons[b] = SDL_JoystickGetButton(joystick_, b) ? 0x80 : 0;
    std::memcpy(data, &state, size);  // DIJOYSTATE is the start of DIJOYSTATE2
    return DI_OK;
}

}  // namespace port::dinput
