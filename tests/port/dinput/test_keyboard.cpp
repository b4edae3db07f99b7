// The DirectInput keyboard: DIK codes of German and English keyboards, buffered
// order, immediate state, overflow, acquisition and focus.
#include <cstring>

#include "tests/port/dinput/DinputSupport.h"

namespace {

using namespace dinputtest;

// Key position -> DirectInput code, written as numbers so that a wrong DIK_ constant shows too:
// the positions German and ISO keyboards use differently, extended keys and the odd ones.
struct KeyCase {
    SDL_Scancode scancode;
    unsigned char dik;
};
// German keys: MINUS ß, EQUALS ´, Y Z, LEFTBRACKET Ü, RIGHTBRACKET +, SEMICOLON Ö, APOSTROPHE Ä,
// GRAVE ^, NONUSHASH # (ISO, left of Enter), Z Y, SLASH -, NONUSBACKSLASH < > | (ISO), RALT AltGr.
KeyCase const kKeys[] = {
    {SDL_SCANCODE_ESCAPE, 0x01}, {SDL_SCANCODE_1, 0x02}, {SDL_SCANCODE_0, 0x0B}, {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D}, {SDL_SCANCODE_Y, 0x15}, {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B}, {SDL_SCANCODE_A, 0x1E}, {SDL_SCANCODE_SEMICOLON, 0x27},
    {SDL_SCANCODE_APOSTROPHE, 0x28}, {SDL_SCANCODE_GRAVE, 0x29}, {SDL_SCANCODE_BACKSLASH, 0x2B},
    {SDL_SCANCODE_NONUSHASH, 0x2B}, {SDL_SCANCODE_Z, 0x2C}, {SDL_SCANCODE_SLASH, 0x35}, {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45}, {SDL_SCANCODE_KP_0, 0x52}, {SDL_SCANCODE_NONUSBACKSLASH, 0x56},
    {SDL_SCANCODE_F12, 0x58}, {SDL_SCANCODE_KP_ENTER, 0x9C}, {SDL_SCANCODE_RCTRL, 0x9D},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5}, {SDL_SCANCODE_PRINTSCREEN, 0xB7}, {SDL_SCANCODE_RALT, 0xB8},
    {SDL_SCANCODE_PAUSE, 0xC5}, {SDL_SCANCODE_UP, 0xC8}, {SDL_SCANCODE_DELETE, 0xD3}, {SDL_SCANCODE_LGUI, 0xDB},
    {SDL_SCANCODE_APPLICATION, 0xDD},
};

TEST_F(DirectInputTest, KeysOfGermanAndEnglishKeyboardsGiveTheirDikCodes) {
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
    EXPECT_GT(caps.dwButtons, 100u);  // every key of a full keyboard
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
