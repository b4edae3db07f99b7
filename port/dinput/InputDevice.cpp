// DirectInput devices: acquisition, cooperative level, data formats, properties, buffered data,
// and the keyboard and mouse states. Joystick specifics are in JoystickDevice.cpp.
#include "port/dinput/InputDevice.h"

#include <algorithm>
#include <cstring>

#include "port/dinput/KeyMap.h"
#include "port/win32/win32_text.h"

namespace port::dinput {
namespace {

DWORD const kDx3ObjectSize = 16;  // DIDEVICEOBJECTDATA without uAppData

bool isProperty(REFGUID guid, uint32_t number) {
    return guid == MAKEDIPROP(number);
}

Format formatOf(LPCDIDATAFORMAT f) {
    if (f == &c_dfDIKeyboard) return Format::Keyboard;
    if (f == &c_dfDIMouse) return Format::Mouse;
    if (f == &c_dfDIMouse2) return Format::Mouse2;
    if (f == &c_dfDIJoystick) return Format::Joystick;
    if (f == &c_dfDIJoystick2) return Format::Joystick2;
    return Format::None;
}

void copyName(WCHAR* out, std::wstring const& name) {
    std::size_t n = std::min<std::size_t>(name.size(), MAX_PATH - 1);
    std::copy_n(name.begin(), n, out);
    out[n] = 0;
}

}  // namespace

InputDevice::InputDevice(DeviceKind kind, DIDEVICEINSTANCEW const& instance, SDL_Joystick* joystick)
    : kind_(kind), instance_(instance), joystick_(joystick) {
    SDL_InitSubSystem(kind == DeviceKind::Joystick ? SDL_INIT_JOYSTICK : SDL_INIT_EVENTS);
    if (joystick_) joystickId_ = SDL_JoystickInstanceID(joystick_);
    buildObjects();
    Hub::instance().attach(this);
}

InputDevice::~InputDevice() {
    Hub::instance().detach(this);
    if (joystick_) SDL_JoystickClose(joystick_);
    SDL_QuitSubSystem(kind_ == DeviceKind::Joystick ? SDL_INIT_JOYSTICK : SDL_INIT_EVENTS);
}

void InputDevice::buildObjects() {
    if (kind_ == DeviceKind::Joystick) {
        buildJoystickObjects();
        return;
    }
    if (kind_ == DeviceKind::Mouse) {
        objects_.push_back({GUID_XAxis, DIMOFS_X, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(0), L"X-axis"});
        objects_.push_back({GUID_YAxis, DIMOFS_Y, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(1), L"Y-axis"});
        objects_.push_back({GUID_ZAxis, DIMOFS_Z, DIDFT_RELAXIS | DIDFT_MAKEINSTANCE(2), L"Wheel"});
        for (DWORD b = 0; b < 5; ++b)
            objects_.push_back({GUID_Button, DIMOFS_BUTTON0 + b, DWORD(DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(3 + b)),
                                L"Button " + std::to_wstring(b)});
        return;
    }
    for (int dik = 1; dik < 256; ++dik) {
        SDL_Scancode sc = scancodeFromDik(static_cast<unsigned char>(dik));
        if (sc == SDL_SCANCODE_UNKNOWN) continue;
        objects_.push_back({GUID_Key, DWORD(dik), DWORD(DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(dik)),
                            port::fromUtf8(SDL_GetScancodeName(sc))});
    }
}

void InputDevice::onFocusLost() {
    if (acquired_ && (cooperative_ & DISCL_FOREGROUND)) {
        acquired_ = false;
        lost_ = true;
    }
}

void InputDevice::push(DWORD ofs, DWORD value, SDL_Event const& e, DWORD sequence, int axis) {
    if (!acquired_ || bufferSize_ == 0) return;
    if (queue_.size() >= bufferSize_) {
        overflow_ = true;  // the oldest events stay; newer ones are lost
        return;
    }
    queue_.push_back({{ofs, value, e.common.timestamp, sequence, 0}, axis});
}

void InputDevice::onEvent(SDL_Event const& e, DWORD sequence) {
    switch (kind_) {
    case DeviceKind::Keyboard:
        if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP)
            push(dikFromScancode(e.key.keysym.scancode), e.type == SDL_KEYDOWN ? 0x80 : 0, e, sequence);
        return;
    case DeviceKind::Mouse: {
        if (!acquired_) return;
        if (e.type == SDL_MOUSEMOTION || e.type == SDL_MOUSEWHEEL) {
            LONG delta[3] = {0, 0, 0};
            if (e.type == SDL_MOUSEMOTION) {
                delta[0] = e.motion.xrel;
                delta[1] = e.motion.yrel;
            } else {
                LONG notches = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                delta[2] = notches * 120;
            }
            for (int a = 0; a < 3; ++a) {
                if (!delta[a]) continue;
                motion_[a] += delta[a];
                total_[a] += delta[a];
                push(DWORD(a * 4), DWORD(absoluteAxes_ ? total_[a] : delta[a]), e, sequence);
            }
        } else if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) {
            int button = mouseButtonFromSdl(e.button.button);
            int buttons = format_ == Format::Mouse2 ? 8 : 4;
            if (button >= 0 && button < buttons)
                push(DIMOFS_BUTTON0 + button, e.type == SDL_MOUSEBUTTONDOWN ? 0x80 : 0, e, sequence);
        }
        return;
    }
    case DeviceKind::Joystick:
        if (e.type == SDL_JOYAXISMOTION && e.jaxis.which == joystickId_ && e.jaxis.axis < axes_.size())
            push(DWORD(e.jaxis.axis) * 4, DWORD(int32_t(e.jaxis.value)), e, sequence, e.jaxis.axis);
        else if ((e.type == SDL_JOYBUTTONDOWN || e.type == SDL_JOYBUTTONUP) && e.jbutton.which == joystickId_ &&
                 e.jbutton.button < buttonLimit())
            push(DIJOFS_BUTTON(e.jbutton.button), e.type == SDL_JOYBUTTONDOWN ? 0x80 : 0, e, sequence);
        else if (e.type == SDL_JOYHATMOTION && e.jhat.which == joystickId_ && e.jhat.hat < 4) {
            push(DIJOFS_POV(e.jhat.hat), povFromHat(e.jhat.value), e, sequence);
        }
        return;
    }
}

HRESULT InputDevice::checkAcquired() {
    if (acquired_) return DI_OK;
    if (lost_) {
        lost_ = false;
        return DIERR_INPUTLOST;
    }
    return DIERR_NOTACQUIRED;
}

HRESULT InputDevice::Acquire() {
    if (format_ == Format::None) return DIERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(Hub::instance().mutex);
    if (acquired_) return DI_NOEFFECT;
    if ((cooperative_ & DISCL_FOREGROUND) && !Hub::instance().focused) return DIERR_OTHERAPPHASPRIO;
    acquired_ = true;
    lost_ = false;
    overflow_ = false;
    queue_.clear();
    std::fill(std::begin(motion_), std::end(motion_), 0);
    return DI_OK;
}

HRESULT InputDevice::Unacquire() {
    std::lock_guard<std::mutex> lock(Hub::instance().mutex);
    lost_ = false;
    if (!acquired_) return DI_NOEFFECT;
    acquired_ = false;
    return DI_OK;
}

HRESULT InputDevice::SetDataFormat(LPCDIDATAFORMAT format) {
    if (!format) return DIERR_INVALIDPARAM;
    {
        std::lock_guard<std::mutex> lock(Hub::instance().mutex);
        if (acquired_) return DIERR_ACQUIRED;
    }
    Format f = formatOf(format);
    bool fits = (kind_ == DeviceKind::Keyboard && f == Format::Keyboard) ||
                (kind_ == DeviceKind::Mouse && (f == Format::Mouse || f == Format::Mouse2)) ||
                (kind_ == DeviceKind::Joystick && (f == Format::Joystick || f == Format::Joystick2));
    if (!fits) return DIERR_INVALIDPARAM;
    format_ = f;
    absoluteAxes_ = false;
    return DI_OK;
}

HRESULT InputDevice::SetCooperativeLevel(HWND window, DWORD flags) {
    bool exclusive = flags & DISCL_EXCLUSIVE, nonexclusive = flags & DISCL_NONEXCLUSIVE;
    bool foreground = flags & DISCL_FOREGROUND, background = flags & DISCL_BACKGROUND;
    if (exclusive == nonexclusive || foreground == background) return DIERR_INVALIDPARAM;
    if (foreground && !window) return DIERR_INVALIDPARAM;
    if (kind_ == DeviceKind::Keyboard && exclusive && background) return DIERR_UNSUPPORTED;
    if ((flags & DISCL_NOWINKEY) && kind_ != DeviceKind::Keyboard) return DIERR_INVALIDPARAM;
    std::lock_guard<std::mutex> lock(Hub::instance().mutex);
    if (acquired_) return DIERR_ACQUIRED;
    cooperative_ = flags;
    return DI_OK;
}

HRESULT InputDevice::SetEventNotification(HANDLE) { return DIERR_UNSUPPORTED; }

HRESULT InputDevice::GetDeviceInfo(LPDIDEVICEINSTANCEW instance) {
    if (!instance || instance->dwSize != sizeof(DIDEVICEINSTANCEW)) return DIERR_INVALIDPARAM;
    *instance = instance_;
    return DI_OK;
}

HRESULT InputDevice::Poll() {
    {
        std::lock_guard<std::mutex> lock(Hub::instance().mutex);
        HRESULT hr = checkAcquired();
        if (FAILED(hr)) return hr;
    }
    if (kind_ != DeviceKind::Joystick) return DI_NOEFFECT;  // keyboard and mouse are not polled
    SDL_JoystickUpdate();
    return DI_OK;
}

HRESULT InputDevice::GetCapabilities(LPDIDEVCAPS caps) {
    if (!caps || caps->dwSize != sizeof(DIDEVCAPS)) return DIERR_INVALIDPARAM;
    *caps = DIDEVCAPS{};
    caps->dwSize = sizeof(DIDEVCAPS);
    caps->dwFlags = DIDC_ATTACHED | (kind_ == DeviceKind::Joystick ? DIDC_POLLEDDEVICE | DIDC_POLLEDDATAFORMAT : 0);
    caps->dwDevType = instance_.dwDevType;
    for (ObjectInfo const& o : objects_) {
        DWORD t = DIDFT_GETTYPE(o.type);
        if (t & DIDFT_AXIS) ++caps->dwAxes;
        if (t & DIDFT_BUTTON) ++caps->dwButtons;
        if (t & DIDFT_POV) ++caps->dwPOVs;
    }
    return DI_OK;
}

HRESULT InputDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKW callback, LPVOID ref, DWORD flags) {
    if (!callback) return DIERR_INVALIDPARAM;
    DWORD wanted = DIDFT_GETTYPE(flags);
    for (ObjectInfo const& o : objects_) {
        if (wanted && !(DIDFT_GETTYPE(o.type) & wanted)) continue;
        DIDEVICEOBJECTINSTANCEW info{};
        info.dwSize = sizeof(info);
        info.guidType = o.guidType;
        info.dwOfs = o.ofs;
        info.dwType = o.type;
        info.dwFlags = (DIDFT_GETTYPE(o.type) & DIDFT_AXIS) ? DIDOI_ASPECTPOSITION : 0;
        copyName(info.tszName, o.name);
        if (callback(&info, ref) == DIENUM_STOP) break;
    }
    return DI_OK;
}

ObjectInfo const* InputDevice::findObject(DIPROPHEADER const& header) const {
    for (ObjectInfo const& o : objects_) {
        if (header.dwHow == DIPH_BYOFFSET && o.ofs == header.dwObj) return &o;
        if (header.dwHow == DIPH_BYID && DIDFT_GETINSTANCE(o.type) == DIDFT_GETINSTANCE(header.dwObj) &&
            (DIDFT_GETTYPE(o.type) & DIDFT_GETTYPE(header.dwObj)))
            return &o;
    }
    return nullptr;
}

HRESULT InputDevice::SetProperty(REFGUID property, LPCDIPROPHEADER header) {
    if (!header || header->dwHeaderSize != sizeof(DIPROPHEADER)) return DIERR_INVALIDPARAM;
    bool wholeDevice = header->dwHow == DIPH_DEVICE;
    if (wholeDevice && header->dwObj != 0) return DIERR_INVALIDPARAM;
    if (isProperty(property, 1) || isProperty(property, 2)) {  // buffer size, axis mode
        if (header->dwSize != sizeof(DIPROPDWORD) || !wholeDevice) return DIERR_INVALIDPARAM;
        DWORD value = reinterpret_cast<DIPROPDWORD const*>(header)->dwData;
        std::lock_guard<std::mutex> lock(Hub::instance().mutex);
        if (acquired_) return DIERR_ACQUIRED;
        if (isProperty(property, 1)) {
            bufferSize_ = value;
            return DI_OK;
        }
        if (kind_ != DeviceKind::Mouse) return DIERR_UNSUPPORTED;
        if (value != DIPROPAXISMODE_ABS && value != DIPROPAXISMODE_REL) return DIERR_INVALIDPARAM;
        absoluteAxes_ = value == DIPROPAXISMODE_ABS;
        return DI_OK;
    }
    bool range = isProperty(property, 4);
    if (!range && !isProperty(property, 5) && !isProperty(property, 6)) return DIERR_UNSUPPORTED;
    if (kind_ != DeviceKind::Joystick) return DIERR_UNSUPPORTED;
    if (header->dwSize != (range ? sizeof(DIPROPRANGE) : sizeof(DIPROPDWORD))) return DIERR_INVALIDPARAM;
    std::vector<std::size_t> targets;
    if (wholeDevice) {
        for (std::size_t a = 0; a < axes_.size(); ++a) targets.push_back(a);
    } else {
        ObjectInfo const* o = findObject(*header);
        if (!o) return DIERR_OBJECTNOTFOUND;
        if (!(DIDFT_GETTYPE(o->type) & DIDFT_AXIS)) return DIERR_UNSUPPORTED;
        targets.push_back(DIDFT_GETINSTANCE(o->type));
    }
    std::lock_guard<std::mutex> lock(Hub::instance().mutex);
    if (range) {
        auto const* r = reinterpret_cast<DIPROPRANGE const*>(header);
        if (r->lMin >= r->lMax) return DIERR_INVALIDPARAM;
        for (std::size_t a : targets) axes_[a].min = r->lMin, axes_[a].max = r->lMax;
    } else {
        DWORD value = reinterpret_cast<DIPROPDWORD const*>(header)->dwData;
        if (value > 10000) return DIERR_INVALIDPARAM;
        for (std::size_t a : targets) (isProperty(property, 5) ? axes_[a].deadzone : axes_[a].saturation) = value;
    }
    return DI_OK;
}

HRESULT InputDevice::GetProperty(REFGUID property, LPDIPROPHEADER header) {
    if (!header || header->dwHeaderSize != sizeof(DIPROPHEADER)) return DIERR_INVALIDPARAM;
    bool range = isProperty(property, 4);
    if (header->dwSize != (range ? sizeof(DIPROPRANGE) : sizeof(DIPROPDWORD))) return DIERR_INVALIDPARAM;
    auto* dword = reinterpret_cast<DIPROPDWORD*>(header);
    if (isProperty(property, 1)) {
        dword->dwData = bufferSize_;
        return DI_OK;
    }
    if (isProperty(property, 2)) {
        if (kind_ == DeviceKind::Keyboard) return DIERR_UNSUPPORTED;
        dword->dwData = kind_ == DeviceKind::Mouse && !absoluteAxes_ ? DIPROPAXISMODE_REL : DIPROPAXISMODE_ABS;
        return DI_OK;
    }
    if (isProperty(property, 3)) {  // granularity
        ObjectInfo const* o = findObject(*header);
        dword->dwData = o && kind_ == DeviceKind::Mouse && o->ofs == DIMOFS_Z ? 120 : 1;
        return o || header->dwHow == DIPH_DEVICE ? DI_OK : DIERR_OBJECTNOTFOUND;
    }
    if (!range && !isProperty(property, 5) && !isProperty(property, 6)) return DIERR_UNSUPPORTED;
    if (kind_ != DeviceKind::Joystick) return DIERR_UNSUPPORTED;
    ObjectInfo const* o = findObject(*header);
    if (!o || !(DIDFT_GETTYPE(o->type) & DIDFT_AXIS)) return DIERR_OBJECTNOTFOUND;
    std::lock_guard<std::mutex> lock(Hub::instance().mutex);
    AxisProps const& p = axes_[DIDFT_GETINSTANCE(o->type)];
    if (range) {
        reinterpret_cast<DIPROPRANGE*>(header)->lMin = p.min;
        reinterpret_cast<DIPROPRANGE*>(header)->lMax = p.max;
    } else {
        dword->dwData = isProperty(property, 5) ? p.deadzone : p.saturation;
    }
    return DI_OK;
}

HRESULT InputDevice::GetDeviceState(DWORD size, LPVOID data) {
    if (!data) return DIERR_INVALIDPARAM;
    if (kind_ == DeviceKind::Joystick) return joystickState(size, data);
    Hub& hub = Hub::instance();
    std::lock_guard<std::mutex> lock(hub.mutex);
    if (kind_ == DeviceKind::Keyboard) {
        if (format_ != Format::Keyboard || size != 256) return DIERR_INVALIDPARAM;
        HRESULT hr = checkAcquired();
        if (FAILED(hr)) return hr;
        std::memcpy(data, hub.keys, 256);
        return DI_OK;
    }
    DWORD buttons = format_ == Format::Mouse2 ? 8 : 4;
    if (format_ == Format::None || size != 12 + buttons) return DIERR_INVALIDPARAM;
    HRESULT hr = checkAcquired();
    if (FAILED(hr)) return hr;
    LONG axes[3];
    for (int a = 0; a < 3; ++a) {
        axes[a] = absoluteAxes_ ? total_[a] : motion_[a];
        motion_[a] = 0;
    }
    auto* bytes = static_cast<BYTE*>(data);
    std::memcpy(bytes, axes, sizeof(axes));
    std::memcpy(bytes + 12, hub.mouseButtons, buttons);
    return DI_OK;
}

HRESULT InputDevice::GetDeviceData(DWORD objectSize, LPDIDEVICEOBJECTDATA data, LPDWORD count, DWORD flags) {
    if (!count || (objectSize != sizeof(DIDEVICEOBJECTDATA) && objectSize != kDx3ObjectSize)) return DIERR_INVALIDPARAM;
    if (bufferSize_ == 0) return DIERR_NOTBUFFERED;
    std::lock_guard<std::mutex> lock(Hub::instance().mutex);
    HRESULT hr = checkAcquired();
    if (FAILED(hr)) return hr;
    bool peek = flags & DIGDD_PEEK;
    std::size_t n = std::min<std::size_t>(*count, queue_.size());
    if (data) {
        auto* out = reinterpret_cast<BYTE*>(data);
        for (std::size_t i = 0; i < n; ++i) {
            DIDEVICEOBJECTDATA item = queue_[i].data;
            if (queue_[i].axis >= 0) item.dwData = DWORD(mapAxis(queue_[i].axis, int32_t(item.dwData)));
            std::memcpy(out + i * objectSize, &item, objectSize);
        }
    }
    if (!peek) queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(n));
    *count = static_cast<DWORD>(n);
    bool overflowed = overflow_;
    if (!peek) overflow_ = false;
    return overflowed ? DI_BUFFEROVERFLOW : DI_OK;
}

}  // namespace port::dinput
