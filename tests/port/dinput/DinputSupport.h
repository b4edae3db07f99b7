// Shared fixture for the DirectInput tests: a DirectInput object and helpers that inject SDL
// events the way a window's event source would.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "port/dinput/dinput.h"
#include "tests/support/SdlEvents.h"

namespace dinputtest {

inline HWND fakeWindow() { return reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1000)); }

// DirectInput takes the events of every window: they are pushed without a window id.
inline void pushKey(SDL_Scancode scancode, bool down, bool repeat = false) {
    testsupport::pushKey(0, scancode, down, SDLK_UNKNOWN, repeat);
}
inline void pushMotion(int dx, int dy) { testsupport::pushMotion(0, 0, 0, dx, dy); }
inline void pushButton(Uint8 button, bool down) { testsupport::pushButton(0, button, down); }
inline void pushWheel(int notches, bool flipped = false) { testsupport::pushWheel(0, notches, flipped); }
inline void pushFocus(bool gained) {
    testsupport::pushWindowEvent(0, gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

struct DirectInputTest : ::testing::Test {
    IDirectInput8* input = nullptr;
    void SetUp() override {
        ASSERT_EQ(DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8, reinterpret_cast<void**>(&input),
                                     nullptr),
                  DI_OK);
    }
    void TearDown() override {
        if (input) input->Release();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    // A device with a data format, a background non-exclusive level and a buffer, acquired.
    IDirectInputDevice8* open(GUID const& guid, DIDATAFORMAT const& format, DWORD bufferSize) {
        IDirectInputDevice8* device = nullptr;
        EXPECT_EQ(input->CreateDevice(guid, &device, nullptr), DI_OK);
        if (!device) return nullptr;
        EXPECT_EQ(device->SetDataFormat(&format), DI_OK);
        EXPECT_EQ(device->SetCooperativeLevel(fakeWindow(), DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DI_OK);
        if (bufferSize) setBufferSize(device, bufferSize);
        EXPECT_EQ(device->Acquire(), DI_OK);
        return device;
    }

    static HRESULT setBufferSize(IDirectInputDevice8* device, DWORD size) {
        DIPROPDWORD prop{};
        prop.diph.dwSize = sizeof(prop);
        prop.diph.dwHeaderSize = sizeof(DIPROPHEADER);
        prop.diph.dwHow = DIPH_DEVICE;
        prop.dwData = size;
        return device->SetProperty(DIPROP_BUFFERSIZE, &prop.diph);
    }

    static std::vector<DIDEVICEOBJECTDATA> take(IDirectInputDevice8* device, HRESULT* result = nullptr,
                                                std::size_t most = 64) {
        std::vector<DIDEVICEOBJECTDATA> data(most);
        DWORD count = static_cast<DWORD>(data.size());
        HRESULT hr = device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data.data(), &count, 0);
        if (result) *result = hr;
        EXPECT_TRUE(SUCCEEDED(hr)) << std::hex << hr;
        data.resize(SUCCEEDED(hr) ? count : 0);
        return data;
    }
};

}  // namespace dinputtest
