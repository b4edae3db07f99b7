// The DirectInput keyboard: DIK codes for every key of German and English keyboards, buffered
// order, immediate state, overflow, acquisition and focus.
#include <cstring>

#include "tests/port/dinput/DinputTest.h"

namespace {

using namespace dinputtest;

// Key position -> DirectInput code, written as numbers so that a wrong DIK_ constant shows too.
struct KeyCase {
    SDL_Scancode scancode;
    unsigned char dik;
};
// German keys: MINUS ß, EQUALS ´, Y Z, LEFTBRACKET Ü, RIGHTBRACKET +, SEMICOLON Ö, APOSTROPHE Ä,
// GRAVE ^, NONUSHASH # (ISO, left of Enter), Z Y, SLASH -, NONUSBACKSLASH < > | (ISO), RALT AltGr.
KeyCase const kKeys[] = {
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_2, 0x03}, {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05}, {SDL_SCANCODE_5, 0x06}, {SDL_SCANCODE_6, 0x07}, {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09}, {SDL_SCANCODE_9, 0x0A}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_BACKSPACE, 0x0E}, {SDL_SCANCODE_TAB, 0x0F}, {SDL_SCANCODE_Q, 0x10},
    {SDL_SCANCODE_W, 0x11}, {SDL_SCANCODE_E, 0x12}, {SDL_SCANCODE_R, 0x13}, {SDL_SCANCODE_T, 0x14},
    {SDL_SCANCODE_Y, 0x15}, {SDL_SCANCODE_U, 0x16}, {SDL_SCANCODE_I, 0x17}, {SDL_SCANCODE_O, 0x18},
    {SDL_SCANCODE_P, 0x19}, {SDL_SCANCODE_LEFTBRACKET, 0x1A}, {SDL_SCANCODE_RIGHTBRACKET, 0x1B},
    {SDL_SCANCODE_RETURN, 0x1C}, {SDL_SCANCODE_LCTRL, 0x1D}, {SDL_SCANCODE_A, 0x1E}, {SDL_SCANCODE_S, 0x1F},
    {SDL_SCANCODE_D, 0x20}, {SDL_SCANCODE_F, 0x21}, {SDL_SCANCODE_G, 0x22}, {SDL_SCANCODE_H, 0x23},
    {SDL_SCANCODE_J, 0x24}, {SDL_SCANCODE_K, 0x25}, {SDL_SCANCODE_L, 0x26}, {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28}, {SDL_SCANCODE_GRAVE, 0x29}, {SDL_SCANCODE_LSHIFT, 0x2A},
    {SDL_SCANCODE_BACKSLASH, 0x2B}, {SDL_SCANCODE_NONUSHASH, 0x2B}, {SDL_SCANCODE_Z, 0x2C}, {SDL_SCANCODE_X, 0x2D},
    {SDL_SCANCODE_C, 0x2E}, {SDL_SCANCODE_V, 0x2F}, {SDL_SCANCODE_B, 0x30}, {SDL_SCANCODE_N, 0x31},
    {SDL_SCANCODE_M, 0x32}, {SDL_SCANCODE_COMMA, 0x33}, {SDL_SCANCODE_PERIOD, 0x34}, {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36}, {SDL_SCANCODE_KP_MULTIPLY, 0x37}, {SDL_SCANCODE_LALT, 0x38},
    {SDL_SCANCODE_SPACE, 0x39}, {SDL_SCANCODE_CAPSLOCK, 0x3A}, {SDL_SCANCODE_F1, 0x3B}, {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D}, {SDL_SCANCODE_F4, 0x3E}, {SDL_SCANCODE_F5, 0x3F}, {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41}, {SDL_SCANCODE_F8, 0x42}, {SDL_SCANCODE_F9, 0x43}, {SDL_SCANCODE_F10, 0x44},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45}, {SDL_SCANCODE_SCROLLLOCK, 0x46}, {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48}, {SDL_SCANCODE_KP_9, 0x49}, {SDL_SCANCODE_KP_MINUS, 0x4A}, {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C}, {SDL_SCANCODE_KP_6, 0x4D}, {SDL_SCANCODE_KP_PLUS, 0x4E}, {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50}, {SDL_SCANCODE_KP_3, 0x51}, {SDL_SCANCODE_KP_0, 0x52}, {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56}, {SDL_SCANCODE_F11, 0x57}, {SDL_SCANCODE_F12, 0x58},
    {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_RCTRL, 0x9D}, {SDL_SCANCODE_KP_DIVIDE, 0xB5},
    {SDL_SCANCODE_PRINTSCREEN, 0xB7}, {SDL_SCANCODE_RALT, 0xB8}, {SDL_SCANCODE_PAUSE, 0xC5},
    {SDL_SCANCODE_HOME, 0xC7}, {SDL_SCANCODE_UP, 0xC8}, {SDL_SCANCODE_PAGEUP, 0xC9}, {SDL_SCANCODE_LEFT, 0xCB},
    {SDL_SCANCODE_RIGHT, 0xCD}, {SDL_SCANCODE_END, 0xCF}, {SDL_SCANCODE_DOWN, 0xD0}, {SDL_SCANCODE_PAGEDOWN, 0xD1},
    {SDL_SCANCODE_INSERT, 0xD2}, {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_LGUI, 0xDB}, {SDL_SCANCODE_RGUI, 0xDC},
    {SDL_SCANCODE_APPLICATION, 0xDD},
};

TEST_F(DirectInputTest, EveryKeyOfGermanAndEnglishKeyboardsGivesItsDikCode) {
    IDirectInputDevice8* keyboard = open(GUID_SysKeyboard, c_dfDIKeyboard, 512);
    ASSERT_NE(keyboard, nullptr);
    for (KeyCase const& k : kKeys) {
        pushKey(k.scancode, true);
        BYTE state[256];
        ASSERT_EQ(keyboard->GetDeviceState(sizeof(state), state), DI_OK);
        EXPECT_EQ(state[k.dik], 0x80) << SDL_GetScancodeName(k.scancode);
        pushKey(k.scancode, false);
        ASSERT_EQ(keyboard->GetDeviceState(sizeof(state), state), DI_OK);
        EXPECT_EQ(state[k.dik], 0) << SDL_GetScancodeName(k.scancode);
    }
    auto events = take(keyboard, nullptr, 512);
    ASSERT_EQ(events.size(), 2 * std::size(kKeys));
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        EXPECT_EQ(events[2 * i].dwOfs, kKeys[i].dik) << SDL_GetScancodeName(kKeys[i].scancode);
        EXPECT_EQ(events[2 * i].dwData, 0x80u);
        EXPECT_EQ(events[2 * i + 1].dwOfs, kKeys[i].dik);
        EXPECT_EQ(events[2 * i + 1].dwData, 0u);
    }
    static_assert(DIK_F1 == 0x3B && DIK_F7 == 0x41 && DIK_F8 == 0x42 && DIK_RMENU == 0xB8 && DIK_OEM_102 == 0x56);
    keyboard->Release();
}

TEST_F(DirectInputTest, BufferedKeysComeInOrderWithoutRepeats) {
    IDirectInputDevice8* keyboard = open(GUID_SysKeyboard, c_dfDIKeyboard, 16);
    pushKey(SDL_SCANCODE_LSHIFT, true);
    pushKey(SDL_SCANCODE_A, true);
    pushKey(SDL_SCANCODE_A, true, true);  // auto-repeat
    pushKey(SDL_SCANCODE_A, false);
    pushKey(SDL_SCANCODE_LSHIFT, false);
    pushKey(SDL_SCANCODE_UNKNOWN, true);  // no DirectInput code: ignored

    // Peeking leaves the events in place.
    DIDEVICEOBJECTDATA one{};
    DWORD count = 1;
    EXPECT_EQ(keyboard->GetDeviceData(sizeof(one), &one, &count, DIGDD_PEEK), DI_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(one.dwOfs, DWORD(DIK_LSHIFT));

    auto events = take(keyboard);
    ASSERT_EQ(events.size(), 4u);
    std::pair<DWORD, DWORD> const expected[] = {{DIK_LSHIFT, 0x80}, {DIK_A, 0x80}, {DIK_A, 0}, {DIK_LSHIFT, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(std::make_pair(events[i].dwOfs, events[i].dwData), expected[i]) << i;
        if (i) {
            EXPECT_TRUE(DISEQUENCE_COMPARE(events[i - 1].dwSequence, <, events[i].dwSequence));
            EXPECT_LE(events[i - 1].dwTimeStamp, events[i].dwTimeStamp);
        }
    }
    EXPECT_TRUE(take(keyboard).empty());
    keyboard->Release();
}

TEST_F(DirectInputTest, FullBufferKeepsOldestAndReportsOverflow) {
    IDirectInputDevice8* keyboard = open(GUID_SysKeyboard, c_dfDIKeyboard, 2);
    pushKey(SDL_SCANCODE_Q, true);
    pushKey(SDL_SCANCODE_W, true);
    pushKey(SDL_SCANCODE_E, true);
    HRESULT hr = DI_OK;
    auto events = take(keyboard, &hr);
    EXPECT_EQ(hr, DI_BUFFEROVERFLOW);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].dwOfs, DWORD(DIK_Q));
    EXPECT_EQ(events[1].dwOfs, DWORD(DIK_W));
    take(keyboard, &hr);
    EXPECT_EQ(hr, DI_OK);

    // Flushing: no buffer given, INFINITE count.
    pushKey(SDL_SCANCODE_Q, false);
    DWORD count = INFINITE;
    EXPECT_EQ(keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &count, 0), DI_OK);
    EXPECT_EQ(count, 1u);
    EXPECT_TRUE(take(keyboard).empty());
    keyboard->Release();
}

TEST_F(DirectInputTest, AcquisitionRulesAndErrors) {
    IDirectInputDevice8* keyboard = nullptr;
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM);  // no data format yet
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIMouse), DIERR_INVALIDPARAM);
    ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(keyboard->SetCooperativeLevel(fakeWindow(), DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
              DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(fakeWindow(), DISCL_EXCLUSIVE | DISCL_BACKGROUND), DIERR_UNSUPPORTED);
    BYTE state[256];
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(state), state), DIERR_NOTACQUIRED);
    DWORD count = 4;
    DIDEVICEOBJECTDATA data[4];
    EXPECT_EQ(keyboard->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), data, &count, 0), DIERR_NOTBUFFERED);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), DI_NOEFFECT);
    EXPECT_EQ(setBufferSize(keyboard, 8), DIERR_ACQUIRED);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
    EXPECT_EQ(keyboard->GetDeviceState(100, state), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->Poll(), DI_NOEFFECT);
    EXPECT_EQ(keyboard->Unacquire(), DI_OK);
    EXPECT_EQ(keyboard->Unacquire(), DI_NOEFFECT);
    EXPECT_EQ(setBufferSize(keyboard, 8), DI_OK);
    DIPROPDWORD prop{{sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE}, 0};
    EXPECT_EQ(keyboard->GetProperty(DIPROP_BUFFERSIZE, &prop.diph), DI_OK);
    EXPECT_EQ(prop.dwData, 8u);
    keyboard->Release();
}

TEST_F(DirectInputTest, ForegroundDeviceLosesInputWithFocus) {
    IDirectInputDevice8* keyboard = nullptr;
    ASSERT_EQ(input->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
    keyboard->SetDataFormat(&c_dfDIKeyboard);
    ASSERT_EQ(keyboard->SetCooperativeLevel(fakeWindow(), DISCL_NONEXCLUSIVE | DISCL_FOREGROUND), DI_OK);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    pushKey(SDL_SCANCODE_SPACE, true);
    pushFocus(false);
    BYTE state[256];
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(state), state), DIERR_INPUTLOST);
    EXPECT_EQ(keyboard->GetDeviceState(sizeof(state), state), DIERR_NOTACQUIRED);
    EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
    pushFocus(true);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    ASSERT_EQ(keyboard->GetDeviceState(sizeof(state), state), DI_OK);
    EXPECT_EQ(state[DIK_SPACE], 0);  // keys held when focus went are released
    keyboard->Release();
}

TEST_F(DirectInputTest, KeyboardObjectsAndDeviceInfo) {
    IDirectInputDevice8* keyboard = open(GUID_SysKeyboard, c_dfDIKeyboard, 0);
    DIDEVCAPS caps{};
    caps.dwSize = sizeof(caps);
    ASSERT_EQ(keyboard->GetCapabilities(&caps), DI_OK);
    EXPECT_EQ(GET_DIDEVICE_TYPE(caps.dwDevType), DI8DEVTYPE_KEYBOARD);
    EXPECT_GE(caps.dwButtons, std::size(kKeys) - 1);
    int keys = 0;
    keyboard->EnumObjects([](LPCDIDEVICEOBJECTINSTANCE o, LPVOID ref) -> BOOL {
        EXPECT_TRUE(o->guidType == GUID_Key);
        ++*static_cast<int*>(ref);
        return DIENUM_CONTINUE;
    }, &keys, DIDFT_BUTTON);
    EXPECT_EQ(static_cast<DWORD>(keys), caps.dwButtons);
    keyboard->Release();
}

}  // namespace
