// The hub: one SDL event watch for all DirectInput devices, installed while any device exists.
// It keeps the key and mouse button states and hands every event to the devices.
#include <algorithm>
#include <cstring>

#include "port/dinput/InputDevice.h"
#include "port/dinput/KeyMap.h"

namespace port::dinput {

Hub& Hub::instance() {
    static Hub hub;
    return hub;
}

void Hub::attach(InputDevice* device) {
    bool first = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        first = devices_.empty();
        devices_.push_back(device);
    }
    if (first) SDL_AddEventWatch(&Hub::watch, this);
}

void Hub::detach(InputDevice* device) {
    bool last = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        devices_.erase(std::remove(devices_.begin(), devices_.end(), device), devices_.end());
        last = devices_.empty();
    }
    if (last) SDL_DelEventWatch(&Hub::watch, this);
}

int Hub::watch(void* self, SDL_Event* event) {
    static_cast<Hub*>(self)->dispatch(*event);
    return 1;
}

void Hub::dispatch(SDL_Event const& e) {
    std::lock_guard<std::mutex> lock(mutex);
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        unsigned char dik = dikFromScancode(e.key.keysym.scancode);
        BYTE state = e.type == SDL_KEYDOWN ? 0x80 : 0;
        if (!dik || e.key.repeat || keys[dik] == state) return;  // DirectInput reports no repeats
        keys[dik] = state;
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int button = mouseButtonFromSdl(e.button.button);
        if (button < 0) return;
        mouseButtons[button] = e.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0;
        break;
    }
    case SDL_MOUSEMOTION:
    case SDL_MOUSEWHEEL:
    case SDL_JOYAXISMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
    case SDL_JOYHATMOTION:
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) focused = true;
        if (e.window.event != SDL_WINDOWEVENT_FOCUS_LOST) return;
        focused = false;
        std::memset(keys, 0, sizeof(keys));
        std::memset(mouseButtons, 0, sizeof(mouseButtons));
        for (InputDevice* device : devices_) device->onFocusLost();
        return;
    default:
        return;
    }
    DWORD sequence = ++sequence_;
    for (InputDevice* device : devices_) device->onEvent(e, sequence);
}

}  // namespace port::dinput
