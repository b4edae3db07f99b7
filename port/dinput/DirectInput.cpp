// The DirectInput object: device creation and enumeration (system keyboard, system mouse and the
// joysticks SDL sees), and the predefined data formats.
#include <SDL.h>

#include <cstring>
#include <vector>

#include "port/dinput/InputDevice.h"

// Only the sizes and axis modes of the predefined formats matter here; devices recognise them by
// address.
const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256, 0, nullptr};
const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, sizeof(DIMOUSESTATE), 0, nullptr};
const DIDATAFORMAT c_dfDIMouse2 = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, sizeof(DIMOUSESTATE2), 0, nullptr};
const DIDATAFORMAT c_dfDIJoystick = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS, sizeof(DIJOYSTATE), 0, nullptr};
const DIDATAFORMAT c_dfDIJoystick2 = {sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_ABSAXIS, sizeof(DIJOYSTATE2), 0, nullptr};

namespace port::dinput {
namespace {

DIDEVICEINSTANCEW systemInstance(GUID const& guid, DWORD type, wchar_t const* name) {
    DIDEVICEINSTANCEW d{};
    d.dwSize = sizeof(d);
    d.guidInstance = guid;
    d.guidProduct = guid;
    d.dwDevType = type;
    std::wcsncpy(d.tszInstanceName, name, MAX_PATH - 1);
    std::wcsncpy(d.tszProductName, name, MAX_PATH - 1);
    d.wUsagePage = 1;
    d.wUsage = type == DI8DEVTYPE_MOUSE ? 2 : 6;
    return d;
}

DIDEVICEINSTANCEW const& mouseInstance() {
    static DIDEVICEINSTANCEW const d =
        systemInstance(GUID_SysMouse, DI8DEVTYPE_MOUSE | (DI8DEVTYPEMOUSE_UNKNOWN << 8), L"Mouse");
    return d;
}

DIDEVICEINSTANCEW const& keyboardInstance() {
    static DIDEVICEINSTANCEW const d =
        systemInstance(GUID_SysKeyboard, DI8DEVTYPE_KEYBOARD | (DI8DEVTYPEKEYBOARD_PCENH << 8), L"Keyboard");
    return d;
}

bool classMatches(DWORD filter, DWORD devType) {
    DWORD type = GET_DIDEVICE_TYPE(devType);
    switch (filter) {
    case DI8DEVCLASS_ALL: return true;
    case DI8DEVCLASS_DEVICE: return type == DI8DEVTYPE_DEVICE;
    case DI8DEVCLASS_POINTER: return type == DI8DEVTYPE_MOUSE;
    case DI8DEVCLASS_KEYBOARD: return type == DI8DEVTYPE_KEYBOARD;
    case DI8DEVCLASS_GAMECTRL: return type == DI8DEVTYPE_JOYSTICK || type == DI8DEVTYPE_GAMEPAD;
    default: return type == GET_DIDEVICE_TYPE(filter);
    }
}

class DirectInput final : public port::ComObject<IDirectInput8W, IID_IDirectInput8W> {
public:
    DirectInput() {
        // Without a joystick subsystem there are simply no joysticks.
        if (SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_JOYSTICK) == 0)
            initialised_ = SDL_INIT_EVENTS | SDL_INIT_JOYSTICK;
        else if (SDL_InitSubSystem(SDL_INIT_EVENTS) == 0)
            initialised_ = SDL_INIT_EVENTS;
    }

    HRESULT CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8W* device, LPUNKNOWN outer) override {
        if (!device) return DIERR_INVALIDPARAM;
        *device = nullptr;
        if (outer) return DIERR_NOAGGREGATION;
        if (guid == GUID_SysKeyboard) {
            *device = new InputDevice(DeviceKind::Keyboard, keyboardInstance(), nullptr);
            return DI_OK;
        }
        if (guid == GUID_SysMouse) {
            *device = new InputDevice(DeviceKind::Mouse, mouseInstance(), nullptr);
            return DI_OK;
        }
        int index = findJoystick(guid);
        if (index < 0) return DIERR_DEVICENOTREG;
        SDL_Joystick* joystick = SDL_JoystickOpen(index);
        if (!joystick) return DIERR_DEVICENOTREG;
        *device = new InputDevice(DeviceKind::Joystick, joystickInstance(index), joystick);
        return DI_OK;
    }

    HRESULT EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKW callback, LPVOID ref, DWORD flags) override {
        if (!callback) return DIERR_INVALIDPARAM;
        if (flags & DIEDFL_FORCEFEEDBACK) return DI_OK;  // none of these devices has force feedback
        std::vector<DIDEVICEINSTANCEW> devices = {mouseInstance(), keyboardInstance()};
        for (int i = 0; i < joystickCount(); ++i) devices.push_back(joystickInstance(i));
        for (DIDEVICEINSTANCEW const& d : devices) {
            if (!classMatches(devType, d.dwDevType)) continue;
            if (callback(&d, ref) == DIENUM_STOP) break;
        }
        return DI_OK;
    }

    HRESULT GetDeviceStatus(REFGUID instance) override {
        if (instance == GUID_SysKeyboard || instance == GUID_SysMouse) return DI_OK;
        if (joystickIdFromGuid(instance) >= 0 || instance == GUID_Joystick)
            return findJoystick(instance) >= 0 ? DI_OK : DI_NOTATTACHED;
        return DIERR_DEVICENOTREG;
    }

    HRESULT RunControlPanel(HWND, DWORD) override { return DIERR_UNSUPPORTED; }
    HRESULT Initialize(HINSTANCE, DWORD version) override {
        return version < 0x0800 ? DIERR_OLDDIRECTINPUTVERSION : DI_OK;
    }

private:
    ~DirectInput() override {
        if (initialised_) SDL_QuitSubSystem(initialised_);
    }

    int joystickCount() const { return (initialised_ & SDL_INIT_JOYSTICK) ? SDL_NumJoysticks() : 0; }

    // The SDL device index for a joystick GUID, -1 when it is not there.
    int findJoystick(GUID const& guid) const {
        if (guid == GUID_Joystick) return joystickCount() > 0 ? 0 : -1;
        SDL_JoystickID id = joystickIdFromGuid(guid);
        if (id < 0) return -1;
        for (int i = 0; i < joystickCount(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
        return -1;
    }

    Uint32 initialised_ = 0;
};

}  // namespace
}  // namespace port::dinput

HRESULT DirectInput8Create(HINSTANCE, DWORD version, REFIID riid, LPVOID* out, LPUNKNOWN outer) {
    if (!out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DIERR_NOAGGREGATION;
    if (version < 0x0800) return DIERR_OLDDIRECTINPUTVERSION;
    if (version > 0x0800) return DIERR_BETADIRECTINPUTVERSION;
    if (!(riid == IID_IDirectInput8W)) return DIERR_NOINTERFACE;
    *out = static_cast<IDirectInput8W*>(new port::dinput::DirectInput());
    return DI_OK;
}
