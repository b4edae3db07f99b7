// DirectInput devices over SDL and the hub that feeds them from an SDL event watch.
// Locking: the hub's mutex guards the hub and every device's event-fed state. SDL functions are
// never called with it held, since SDL may call the watch while holding its own locks.
//
// Split: InputDevice.cpp (acquisition, cooperative level, data formats, properties, buffered
// data, keyboard and mouse states), JoystickDevice.cpp (joystick objects, axis mapping, the
// joystick state), InputHub.cpp (the hub and its event watch).
#pragma once

#include <SDL.h>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "port/dinput/dinput.h"
#include "port/win32/ComObject.h"

namespace port::dinput {

enum class DeviceKind { Keyboard, Mouse, Joystick };
enum class Format { None, Keyboard, Mouse, Mouse2, Joystick, Joystick2 };

struct ObjectInfo {
    GUID guidType;
    DWORD ofs;
    DWORD type;  // DIDFT_ type bits and instance
    std::wstring name;
};

struct AxisProps {
    LONG min = 0;
    LONG max = 65535;
    DWORD deadzone = 0;      // 0..10000 of the half range
    DWORD saturation = 10000;
};

// A buffered event; for joystick axes dwData holds SDL's raw value until it is handed out, so
// that the axis range in force then applies.
struct Queued {
    DIDEVICEOBJECTDATA data;
    int axis;  // -1 when dwData is final
};

class InputDevice;

class Hub {
public:
    static Hub& instance();
    void attach(InputDevice* device);
    void detach(InputDevice* device);

    std::mutex mutex;
    BYTE keys[256] = {};
    BYTE mouseButtons[8] = {};
    bool focused = true;

private:
    static int watch(void* self, SDL_Event* event);
    void dispatch(SDL_Event const& event);
    std::vector<InputDevice*> devices_;
    DWORD sequence_ = 0;
};

class InputDevice final : public port::ComObject<IDirectInputDevice8W, IID_IDirectInputDevice8W> {
public:
    // joystick (opened, owned) only for DeviceKind::Joystick.
    InputDevice(DeviceKind kind, DIDEVICEINSTANCEW const& instance, SDL_Joystick* joystick);

    // Called by the hub with its mutex held.
    void onEvent(SDL_Event const& event, DWORD sequence);
    void onFocusLost();

    HRESULT GetCapabilities(LPDIDEVCAPS caps) override;
    HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKW callback, LPVOID ref, DWORD flags) override;
    HRESULT GetProperty(REFGUID property, LPDIPROPHEADER header) override;
    HRESULT SetProperty(REFGUID property, LPCDIPROPHEADER header) override;
    HRESULT Acquire() override;
    HRESULT Unacquire() override;
    HRESULT GetDeviceState(DWORD size, LPVOID data) override;
    HRESULT GetDeviceData(DWORD objectSize, LPDIDEVICEOBJECTDATA data, LPDWORD count, DWORD flags) override;
    HRESULT SetDataFormat(LPCDIDATAFORMAT format) override;
    HRESULT SetEventNotification(HANDLE event) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT GetDeviceInfo(LPDIDEVICEINSTANCEW instance) override;
    HRESULT Poll() override;

private:
    ~InputDevice() override;
    void push(DWORD ofs, DWORD value, SDL_Event const& event, DWORD sequence, int axis = -1);
    HRESULT checkAcquired();  // hub mutex held
    ObjectInfo const* findObject(DIPROPHEADER const& header) const;
    void buildObjects();
    void buildJoystickObjects();
    HRESULT joystickState(DWORD size, LPVOID data);
    LONG mapAxis(int axis, int raw) const;
    DWORD buttonLimit() const;

    DeviceKind kind_;
    DIDEVICEINSTANCEW instance_;
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID joystickId_ = -1;
    std::vector<ObjectInfo> objects_;
    std::vector<AxisProps> axes_;  // joystick axes, in SDL's order (at most 8)
    Format format_ = Format::None;
    DWORD cooperative_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
    DWORD bufferSize_ = 0;
    bool absoluteAxes_ = false;  // mouse axis mode
    // Guarded by the hub's mutex:
    bool acquired_ = false;
    bool lost_ = false;
    bool overflow_ = false;
    std::deque<Queued> queue_;
    LONG motion_[3] = {};  // mouse movement since the last state read
    LONG total_[3] = {};   // running mouse position (absolute mode)
};

// The joystick instance GUID SDL's instance id is known by, and back (-1 when not ours).
GUID joystickInstanceGuid(SDL_JoystickID id);
SDL_JoystickID joystickIdFromGuid(GUID const& guid);
// A hat position as a DirectInput POV: hundredths of a degree clockwise from north, or
// 0xFFFFFFFF when centred.
DWORD povFromHat(Uint8 hat);
// The device description of SDL joystick device index i.
DIDEVICEINSTANCEW joystickInstance(int index);

}  // namespace port::dinput
