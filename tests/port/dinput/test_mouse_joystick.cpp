// The DirectInput mouse (relative and absolute axes, wheel, buttons, buffered order) and
// joysticks (absent ones are not listed; an SDL virtual joystick stands in for a real one).
#include "tests/port/dinput/DinputSupport.h"

namespace {

using namespace dinputtest;

TEST_F(DirectInputTest, MouseAxesWheelAndButtons) {
    IDirectInputDevice8* mouse = open(GUID_SysMouse, c_dfDIMouse2, 32);
    ASSERT_NE(mouse, nullptr);
    pushMotion(5, -3);
    pushMotion(2, 0);
    pushWheel(1);
    pushWheel(-2);
    pushWheel(1, true);  // flipped direction: still "away from the user" is positive
    pushButton(SDL_BUTTON_LEFT, true);
    pushButton(SDL_BUTTON_RIGHT, true);
    pushButton(SDL_BUTTON_MIDDLE, true);
    pushButton(SDL_BUTTON_X1, true);
    pushButton(SDL_BUTTON_RIGHT, false);

    DIMOUSESTATE2 state{};
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 7);
    EXPECT_EQ(state.lY, -3);
    EXPECT_EQ(state.lZ, 120 - 240 - 120);
    EXPECT_EQ(state.rgbButtons[0], 0x80);
    EXPECT_EQ(state.rgbButtons[1], 0);
    EXPECT_EQ(state.rgbButtons[2], 0x80);
    EXPECT_EQ(state.rgbButtons[3], 0x80);
    // Relative axes report the movement since the last read.
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 0);
    EXPECT_EQ(state.lZ, 0);

    auto events = take(mouse);
    struct Expect {
        DWORD ofs;
        LONG data;
    } const expected[] = {{DIMOFS_X, 5},       {DIMOFS_Y, -3},      {DIMOFS_X, 2},       {DIMOFS_Z, 120},
                          {DIMOFS_Z, -240},    {DIMOFS_Z, -120},    {DIMOFS_BUTTON0, 0x80}, {DIMOFS_BUTTON1, 0x80},
                          {DIMOFS_BUTTON2, 0x80}, {DIMOFS_BUTTON3, 0x80}, {DIMOFS_BUTTON1, 0}};
    ASSERT_EQ(events.size(), std::size(expected));
    for (std::size_t i = 0; i < events.size(); ++i) {
        EXPECT_EQ(events[i].dwOfs, expected[i].ofs) << i;
        EXPECT_EQ(static_cast<LONG>(events[i].dwData), expected[i].data) << i;
    }
    // X and Y of one movement share a sequence number; later events have later ones.
    EXPECT_EQ(events[0].dwSequence, events[1].dwSequence);
    EXPECT_TRUE(DISEQUENCE_COMPARE(events[1].dwSequence, <, events[2].dwSequence));

    DIPROPDWORD granularity{};
    granularity.diph = {sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), DIMOFS_Z, DIPH_BYOFFSET};
    ASSERT_EQ(mouse->GetProperty(DIPROP_GRANULARITY, &granularity.diph), DI_OK);
    EXPECT_EQ(granularity.dwData, 120u);
    mouse->Release();
}

TEST_F(DirectInputTest, MouseAbsoluteModeAndFourButtonFormat) {
    IDirectInputDevice8* mouse = nullptr;
    ASSERT_EQ(input->CreateDevice(GUID_SysMouse, &mouse, nullptr), DI_OK);
    ASSERT_EQ(mouse->SetDataFormat(&c_dfDIMouse), DI_OK);
    DIPROPDWORD mode{};
    mode.diph = {sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
    mode.dwData = DIPROPAXISMODE_ABS;
    ASSERT_EQ(mouse->SetProperty(DIPROP_AXISMODE, &mode.diph), DI_OK);
    ASSERT_EQ(setBufferSize(mouse, 8), DI_OK);
    ASSERT_EQ(mouse->Acquire(), DI_OK);
    pushMotion(10, 20);
    pushMotion(-4, 1);
    pushButton(SDL_BUTTON_X2, true);  // a fifth button does not fit DIMOUSESTATE
    DIMOUSESTATE state{};
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 6);
    EXPECT_EQ(state.lY, 21);
    ASSERT_EQ(mouse->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 6);  // absolute: running position
    EXPECT_EQ(mouse->GetDeviceState(sizeof(DIMOUSESTATE2), &state), DIERR_INVALIDPARAM);
    auto events = take(mouse);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(static_cast<LONG>(events[2].dwData), 6);
    EXPECT_EQ(static_cast<LONG>(events[3].dwData), 21);
    mouse->Release();
}

int countDevices(IDirectInput8* input, DWORD deviceClass) {
    int count = 0;
    EXPECT_EQ(input->EnumDevices(deviceClass, [](LPCDIDEVICEINSTANCE, LPVOID ref) -> BOOL {
        ++*static_cast<int*>(ref);
        return DIENUM_CONTINUE;
    }, &count, DIEDFL_ATTACHEDONLY), DI_OK);
    return count;
}

TEST_F(DirectInputTest, AbsentJoysticksAreNotListed) {
    EXPECT_EQ(countDevices(input, DI8DEVCLASS_GAMECTRL), SDL_NumJoysticks());
    EXPECT_EQ(countDevices(input, DI8DEVCLASS_ALL), 2 + SDL_NumJoysticks());  // mouse and keyboard
    if (SDL_NumJoysticks() == 0) {
        IDirectInputDevice8* joystick = nullptr;
        EXPECT_EQ(input->CreateDevice(GUID_Joystick, &joystick, nullptr), DIERR_DEVICENOTREG);
        EXPECT_EQ(joystick, nullptr);
        EXPECT_EQ(input->GetDeviceStatus(GUID_Joystick), DI_NOTATTACHED);
    }
}

struct VirtualJoystick {
    int index = -1;
    SDL_Joystick* handle = nullptr;
    VirtualJoystick() {
        index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 3, 4, 1);
        if (index >= 0) handle = SDL_JoystickOpen(index);
    }
    ~VirtualJoystick() {
        if (handle) SDL_JoystickClose(handle);
        if (index >= 0) SDL_JoystickDetachVirtual(index);
    }
};

TEST_F(DirectInputTest, JoystickAxesPovAndButtons) {
    VirtualJoystick stick;
    if (!stick.handle) GTEST_SKIP() << "SDL has no virtual joysticks here: " << SDL_GetError();
    GUID instance{};
    ASSERT_EQ(input->EnumDevices(DI8DEVCLASS_GAMECTRL, [](LPCDIDEVICEINSTANCE d, LPVOID ref) -> BOOL {
        *static_cast<GUID*>(ref) = d->guidInstance;
        return DIENUM_STOP;
    }, &instance, DIEDFL_ATTACHEDONLY), DI_OK);
    IDirectInputDevice8* joystick = nullptr;
    ASSERT_EQ(input->CreateDevice(instance, &joystick, nullptr), DI_OK);
    ASSERT_EQ(joystick->SetDataFormat(&c_dfDIJoystick), DI_OK);
    ASSERT_EQ(joystick->SetCooperativeLevel(fakeWindow(), DISCL_EXCLUSIVE | DISCL_FOREGROUND), DI_OK);
    ASSERT_EQ(setBufferSize(joystick, 16), DI_OK);

    // The usual set-up: every axis to -1000..1000 by its id, a 20 % dead zone on the device.
    ASSERT_EQ(joystick->EnumObjects([](LPCDIDEVICEOBJECTINSTANCE o, LPVOID ref) -> BOOL {
        DIPROPRANGE range{};
        range.diph = {sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), o->dwType, DIPH_BYID};
        range.lMin = -1000;
        range.lMax = 1000;
        EXPECT_EQ(static_cast<IDirectInputDevice8*>(ref)->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
        return DIENUM_CONTINUE;
    }, joystick, DIDFT_AXIS), DI_OK);
    DIPROPDWORD dead{};
    dead.diph = {sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
    dead.dwData = 2000;
    ASSERT_EQ(joystick->SetProperty(DIPROP_DEADZONE, &dead.diph), DI_OK);
    ASSERT_EQ(joystick->Acquire(), DI_OK);

    SDL_JoystickSetVirtualAxis(stick.handle, 0, 32767);
    SDL_JoystickSetVirtualAxis(stick.handle, 1, 3000);    // inside the dead zone
    SDL_JoystickSetVirtualAxis(stick.handle, 2, -16384);  // halfway left: (0.5 - 0.2) / 0.8
    SDL_JoystickSetVirtualButton(stick.handle, 2, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(stick.handle, 0, SDL_HAT_RIGHTDOWN);
    ASSERT_EQ(joystick->Poll(), DI_OK);
    DIJOYSTATE state{};
    ASSERT_EQ(joystick->GetDeviceState(sizeof(state), &state), DI_OK);
    EXPECT_EQ(state.lX, 1000);
    EXPECT_EQ(state.lY, 0);
    EXPECT_EQ(state.lZ, -375);
    EXPECT_EQ(state.rgbButtons[2], 0x80);
    EXPECT_EQ(state.rgbButtons[0], 0);
    EXPECT_EQ(state.rgdwPOV[0], 13500u);
    EXPECT_EQ(state.rgdwPOV[1], 0xFFFFFFFFu);

    bool sawX = false, sawButton = false, sawPov = false;
    for (auto const& e : take(joystick)) {
        if (e.dwOfs == DIJOFS_X) sawX = static_cast<LONG>(e.dwData) == 1000;
        if (e.dwOfs == DIJOFS_BUTTON(2)) sawButton = e.dwData == 0x80;
        if (e.dwOfs == DIJOFS_POV(0)) sawPov = e.dwData == 13500;
    }
    EXPECT_TRUE(sawX && sawButton && sawPov);

    DIDEVCAPS caps{};
    caps.dwSize = sizeof(caps);
    joystick->GetCapabilities(&caps);
    EXPECT_EQ(caps.dwAxes, 3u);
    EXPECT_EQ(caps.dwButtons, 4u);
    EXPECT_EQ(caps.dwPOVs, 1u);
    EXPECT_TRUE(caps.dwFlags & DIDC_POLLEDDEVICE);
    DIPROPRANGE range{};
    range.diph = {sizeof(DIPROPRANGE), sizeof(DIPROPHEADER), DIJOFS_Y, DIPH_BYOFFSET};
    ASSERT_EQ(joystick->GetProperty(DIPROP_RANGE, &range.diph), DI_OK);
    EXPECT_EQ(range.lMin, -1000);
    range.lMin = 5;
    range.lMax = 5;
    EXPECT_EQ(joystick->SetProperty(DIPROP_RANGE, &range.diph), DIERR_INVALIDPARAM);
    range.diph.dwObj = DIJOFS_RZ;  // no fourth axis on this stick
    EXPECT_EQ(joystick->SetProperty(DIPROP_RANGE, &range.diph), DIERR_OBJECTNOTFOUND);
    joystick->Release();
}

}  // namespace
