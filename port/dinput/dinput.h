// DirectInput 8 (wide-character interfaces) over SDL2: the system keyboard, the system mouse and
// SDL joysticks. Input arrives through an SDL event watch, so it is seen whoever pumps SDL's
// events. Devices take the predefined data formats c_dfDIKeyboard, c_dfDIMouse, c_dfDIMouse2,
// c_dfDIJoystick and c_dfDIJoystick2 only (custom object lists are refused).
// Focus: foreground devices lose acquisition when SDL reports the window's focus lost (the next
// read says DIERR_INPUTLOST) and cannot be acquired again until focus returns. Exclusive mode
// does not capture or hide the pointer; that is the window's business.
// Time stamps are SDL's millisecond ticks. Force feedback, action maps and event notification
// handles are not provided.
#pragma once

#include "port/dinput/dinput_keys.h"
#include "port/win32/unknwn.h"
#include "port/win32/windows_types.h"

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif
#ifndef INFINITE
#define INFINITE 0xFFFFFFFF
#endif
#ifndef E_ACCESSDENIED
#define E_ACCESSDENIED ((HRESULT)0x80070005L)
#endif
#ifndef E_HANDLE
#define E_HANDLE ((HRESULT)0x80070006L)
#endif

// Results.
#define DI_OK S_OK
#define DI_NOTATTACHED S_FALSE
#define DI_BUFFEROVERFLOW S_FALSE
#define DI_PROPNOEFFECT S_FALSE
#define DI_NOEFFECT S_FALSE
#define DI_POLLEDDEVICE ((HRESULT)0x00000002L)
#define DIERR_OLDDIRECTINPUTVERSION ((HRESULT)0x8007047EL)
#define DIERR_BETADIRECTINPUTVERSION ((HRESULT)0x80070481L)
#define DIERR_BADDRIVERVER ((HRESULT)0x80070077L)
#define DIERR_DEVICENOTREG ((HRESULT)0x80040154L)
#define DIERR_NOTFOUND ((HRESULT)0x80070002L)
#define DIERR_OBJECTNOTFOUND ((HRESULT)0x80070002L)
#define DIERR_INVALIDPARAM E_INVALIDARG
#define DIERR_NOINTERFACE E_NOINTERFACE
#define DIERR_GENERIC E_FAIL
#define DIERR_OUTOFMEMORY E_OUTOFMEMORY
#define DIERR_UNSUPPORTED E_NOTIMPL
#define DIERR_NOTINITIALIZED ((HRESULT)0x80070015L)
#define DIERR_ALREADYINITIALIZED ((HRESULT)0x800704DFL)
#define DIERR_NOAGGREGATION ((HRESULT)0x80040110L)
#define DIERR_OTHERAPPHASPRIO E_ACCESSDENIED
#define DIERR_INPUTLOST ((HRESULT)0x8007001EL)
#define DIERR_ACQUIRED ((HRESULT)0x800700AAL)
#define DIERR_NOTACQUIRED ((HRESULT)0x8007000CL)
#define DIERR_READONLY E_ACCESSDENIED
#define DIERR_HANDLEEXISTS E_ACCESSDENIED
#define DIERR_NOTBUFFERED ((HRESULT)0x80040207L)
#define DIERR_UNPLUGGED ((HRESULT)0x80040209L)

// Cooperative levels.
#define DISCL_EXCLUSIVE 0x00000001
#define DISCL_NONEXCLUSIVE 0x00000002
#define DISCL_FOREGROUND 0x00000004
#define DISCL_BACKGROUND 0x00000008
#define DISCL_NOWINKEY 0x00000010

// Device classes and types.
#define DI8DEVCLASS_ALL 0
#define DI8DEVCLASS_DEVICE 1
#define DI8DEVCLASS_POINTER 2
#define DI8DEVCLASS_KEYBOARD 3
#define DI8DEVCLASS_GAMECTRL 4
#define DI8DEVTYPE_DEVICE 0x11
#define DI8DEVTYPE_MOUSE 0x12
#define DI8DEVTYPE_KEYBOARD 0x13
#define DI8DEVTYPE_JOYSTICK 0x14
#define DI8DEVTYPE_GAMEPAD 0x15
#define DI8DEVTYPEMOUSE_UNKNOWN 1
#define DI8DEVTYPEKEYBOARD_PCENH 4
#define DI8DEVTYPEJOYSTICK_STANDARD 2
#define DI8DEVTYPEGAMEPAD_STANDARD 2
#define GET_DIDEVICE_TYPE(dwDevType) LOBYTE(dwDevType)
#define GET_DIDEVICE_SUBTYPE(dwDevType) HIBYTE(dwDevType)
#define DIEDFL_ALLDEVICES 0x00000000
#define DIEDFL_ATTACHEDONLY 0x00000001
#define DIEDFL_FORCEFEEDBACK 0x00000100
#define DIENUM_STOP 0
#define DIENUM_CONTINUE 1

// Device capabilities.
#define DIDC_ATTACHED 0x00000001
#define DIDC_POLLEDDEVICE 0x00000002
#define DIDC_EMULATED 0x00000004
#define DIDC_POLLEDDATAFORMAT 0x00000008

// Data format object types.
#define DIDFT_ALL 0x00000000
#define DIDFT_RELAXIS 0x00000001
#define DIDFT_ABSAXIS 0x00000002
#define DIDFT_AXIS 0x00000003
#define DIDFT_PSHBUTTON 0x00000004
#define DIDFT_TGLBUTTON 0x00000008
#define DIDFT_BUTTON 0x0000000C
#define DIDFT_POV 0x00000010
#define DIDFT_COLLECTION 0x00000040
#define DIDFT_NODATA 0x00000080
#define DIDFT_ANYINSTANCE 0x00FFFF00
#define DIDFT_INSTANCEMASK DIDFT_ANYINSTANCE
#define DIDFT_MAKEINSTANCE(n) ((WORD)(n) << 8)
#define DIDFT_GETTYPE(n) LOBYTE(n)
#define DIDFT_GETINSTANCE(n) LOWORD((n) >> 8)
#define DIDFT_FFACTUATOR 0x01000000
#define DIDFT_OPTIONAL 0x80000000
#define DIDF_ABSAXIS 0x00000001
#define DIDF_RELAXIS 0x00000002
#define DIDOI_ASPECTPOSITION 0x00000100

// Properties: identified by number; pass them where a property GUID is asked for.
#define MAKEDIPROP(prop) (::GUID{(uint32_t)(prop), 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}})
#define DIPROP_BUFFERSIZE MAKEDIPROP(1)
#define DIPROP_AXISMODE MAKEDIPROP(2)
#define DIPROP_GRANULARITY MAKEDIPROP(3)
#define DIPROP_RANGE MAKEDIPROP(4)
#define DIPROP_DEADZONE MAKEDIPROP(5)
#define DIPROP_SATURATION MAKEDIPROP(6)
#define DIPROPAXISMODE_ABS 0
#define DIPROPAXISMODE_REL 1
#define DIPROPRANGE_NOMIN ((LONG)0x80000000)
#define DIPROPRANGE_NOMAX ((LONG)0x7FFFFFFF)
#define DIPH_DEVICE 0
#define DIPH_BYOFFSET 1
#define DIPH_BYID 2
#define DIPH_BYUSAGE 3

#define DIGDD_PEEK 0x00000001
#define DISEQUENCE_COMPARE(dwSequence1, cmp, dwSequence2) ((int)((dwSequence1) - (dwSequence2)) cmp 0)

// Offsets in the predefined data formats.
#define DIMOFS_X 0
#define DIMOFS_Y 4
#define DIMOFS_Z 8
#define DIMOFS_BUTTON0 12
#define DIMOFS_BUTTON1 13
#define DIMOFS_BUTTON2 14
#define DIMOFS_BUTTON3 15
#define DIMOFS_BUTTON4 16
#define DIMOFS_BUTTON5 17
#define DIMOFS_BUTTON6 18
#define DIMOFS_BUTTON7 19
#define DIJOFS_X 0
#define DIJOFS_Y 4
#define DIJOFS_Z 8
#define DIJOFS_RX 12
#define DIJOFS_RY 16
#define DIJOFS_RZ 20
#define DIJOFS_SLIDER(n) (24 + (n) * 4)
#define DIJOFS_POV(n) (32 + (n) * 4)
#define DIJOFS_BUTTON(n) (48 + (n))
#define DIJOFS_BUTTON0 DIJOFS_BUTTON(0)

inline constexpr IID IID_IDirectInput8W = {0xBF798031, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
inline constexpr IID IID_IDirectInput8A = {0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};
inline constexpr IID IID_IDirectInputDevice8W = {0x54D41081, 0xDC15, 0x4833, {0xA4, 0x1B, 0x74, 0x8F, 0x73, 0xA3, 0x81, 0x79}};
#define IID_IDirectInput8 IID_IDirectInput8W
#define IID_IDirectInputDevice8 IID_IDirectInputDevice8W
inline constexpr GUID GUID_SysMouse = {0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Joystick = {0x6F1D2B70, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_XAxis = {0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_YAxis = {0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_ZAxis = {0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_RxAxis = {0xA36D02F4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_RyAxis = {0xA36D02F5, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_RzAxis = {0xA36D02E3, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Slider = {0xA36D02E4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Button = {0xA36D02F0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Key = {0x55728220, 0xD33C, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_POV = {0xA36D02F2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
inline constexpr GUID GUID_Unknown = {0xA36D02F3, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

struct DIOBJECTDATAFORMAT {
    const GUID* pguid;
    DWORD dwOfs;
    DWORD dwType;
    DWORD dwFlags;
};
typedef DIOBJECTDATAFORMAT* LPDIOBJECTDATAFORMAT;

struct DIDATAFORMAT {
    DWORD dwSize;
    DWORD dwObjSize;
    DWORD dwFlags;
    DWORD dwDataSize;
    DWORD dwNumObjs;
    LPDIOBJECTDATAFORMAT rgodf;
};
typedef const DIDATAFORMAT* LPCDIDATAFORMAT;

extern const DIDATAFORMAT c_dfDIKeyboard;  // 256 bytes: 0x80 for each key down, by DIK code
extern const DIDATAFORMAT c_dfDIMouse;     // DIMOUSESTATE
extern const DIDATAFORMAT c_dfDIMouse2;    // DIMOUSESTATE2
extern const DIDATAFORMAT c_dfDIJoystick;  // DIJOYSTATE
extern const DIDATAFORMAT c_dfDIJoystick2; // DIJOYSTATE2

struct DIMOUSESTATE {
    LONG lX;
    LONG lY;
    LONG lZ;  // wheel: 120 per notch, positive away from the user
    BYTE rgbButtons[4];  // left, right, middle, fourth
};
struct DIMOUSESTATE2 {
    LONG lX;
    LONG lY;
    LONG lZ;
    BYTE rgbButtons[8];
};
struct DIJOYSTATE {
    LONG lX, lY, lZ, lRx, lRy, lRz;
    LONG rglSlider[2];
    DWORD rgdwPOV[4];  // hundredths of a degree clockwise from north, 0xFFFFFFFF centred
    BYTE rgbButtons[32];
};
struct DIJOYSTATE2 {
    LONG lX, lY, lZ, lRx, lRy, lRz;
    LONG rglSlider[2];
    DWORD rgdwPOV[4];
    BYTE rgbButtons[128];
    LONG lVX, lVY, lVZ, lVRx, lVRy, lVRz;
    LONG rglVSlider[2];
    LONG lAX, lAY, lAZ, lARx, lARy, lARz;
    LONG rglASlider[2];
    LONG lFX, lFY, lFZ, lFRx, lFRy, lFRz;
    LONG rglFSlider[2];
};
static_assert(sizeof(DIMOUSESTATE) == 16 && sizeof(DIMOUSESTATE2) == 20);
static_assert(sizeof(DIJOYSTATE) == 80 && sizeof(DIJOYSTATE2) == 272);

struct DIDEVICEOBJECTDATA {
    DWORD dwOfs;        // the object's offset in the data format (the DIK code for keys)
    DWORD dwData;       // 0x80 / 0 for buttons and keys, the axis value or movement
    DWORD dwTimeStamp;  // milliseconds
    DWORD dwSequence;   // increases with every event, across devices
    UINT_PTR uAppData;
};
typedef DIDEVICEOBJECTDATA* LPDIDEVICEOBJECTDATA;
typedef const DIDEVICEOBJECTDATA* LPCDIDEVICEOBJECTDATA;

struct DIPROPHEADER {
    DWORD dwSize;
    DWORD dwHeaderSize;
    DWORD dwObj;
    DWORD dwHow;
};
typedef DIPROPHEADER* LPDIPROPHEADER;
typedef const DIPROPHEADER* LPCDIPROPHEADER;
struct DIPROPDWORD {
    DIPROPHEADER diph;
    DWORD dwData;
};
struct DIPROPRANGE {
    DIPROPHEADER diph;
    LONG lMin;
    LONG lMax;
};

struct DIDEVCAPS {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwDevType;
    DWORD dwAxes;
    DWORD dwButtons;
    DWORD dwPOVs;
    DWORD dwFFSamplePeriod;
    DWORD dwFFMinTimeResolution;
    DWORD dwFirmwareRevision;
    DWORD dwHardwareRevision;
    DWORD dwFFDriverVersion;
};
typedef DIDEVCAPS* LPDIDEVCAPS;

struct DIDEVICEINSTANCEW {
    DWORD dwSize;
    GUID guidInstance;
    GUID guidProduct;
    DWORD dwDevType;
    WCHAR tszInstanceName[MAX_PATH];
    WCHAR tszProductName[MAX_PATH];
    GUID guidFFDriver;
    WORD wUsagePage;
    WORD wUsage;
};
typedef DIDEVICEINSTANCEW DIDEVICEINSTANCE;
typedef DIDEVICEINSTANCEW* LPDIDEVICEINSTANCEW;
typedef const DIDEVICEINSTANCEW* LPCDIDEVICEINSTANCEW;
typedef LPCDIDEVICEINSTANCEW LPCDIDEVICEINSTANCE;

struct DIDEVICEOBJECTINSTANCEW {
    DWORD dwSize;
    GUID guidType;
    DWORD dwOfs;
    DWORD dwType;
    DWORD dwFlags;
    WCHAR tszName[MAX_PATH];
    DWORD dwFFMaxForce;
    DWORD dwFFForceResolution;
    WORD wCollectionNumber;
    WORD wDesignatorIndex;
    WORD wUsagePage;
    WORD wUsage;
    DWORD dwDimension;
    WORD wExponent;
    WORD wReportId;
};
typedef DIDEVICEOBJECTINSTANCEW DIDEVICEOBJECTINSTANCE;
typedef const DIDEVICEOBJECTINSTANCEW* LPCDIDEVICEOBJECTINSTANCEW;
typedef LPCDIDEVICEOBJECTINSTANCEW LPCDIDEVICEOBJECTINSTANCE;

typedef BOOL (*LPDIENUMDEVICESCALLBACKW)(LPCDIDEVICEINSTANCEW device, LPVOID ref);
typedef BOOL (*LPDIENUMDEVICEOBJECTSCALLBACKW)(LPCDIDEVICEOBJECTINSTANCEW object, LPVOID ref);
#define LPDIENUMDEVICESCALLBACK LPDIENUMDEVICESCALLBACKW
#define LPDIENUMDEVICEOBJECTSCALLBACK LPDIENUMDEVICEOBJECTSCALLBACKW

struct IDirectInputDevice8W : public IUnknown {
    virtual HRESULT GetCapabilities(LPDIDEVCAPS caps) = 0;
    // Objects of the given DIDFT_ types (DIDFT_ALL for every one).
    virtual HRESULT EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKW callback, LPVOID ref, DWORD flags) = 0;
    virtual HRESULT GetProperty(REFGUID property, LPDIPROPHEADER header) = 0;
    // DIPROP_BUFFERSIZE (device, while unacquired), DIPROP_AXISMODE (mouse), DIPROP_RANGE,
    // DIPROP_DEADZONE and DIPROP_SATURATION (joystick axes, by device, offset or id).
    virtual HRESULT SetProperty(REFGUID property, LPCDIPROPHEADER header) = 0;
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    // The current state in the device's data format; size must be the format's data size.
    virtual HRESULT GetDeviceState(DWORD size, LPVOID data) = 0;
    // Takes up to *count buffered events (oldest first); DI_BUFFEROVERFLOW when events were lost
    // because the buffer was full. data null with *count INFINITE empties the buffer.
    virtual HRESULT GetDeviceData(DWORD objectSize, LPDIDEVICEOBJECTDATA data, LPDWORD count, DWORD flags) = 0;
    virtual HRESULT SetDataFormat(LPCDIDATAFORMAT format) = 0;
    virtual HRESULT SetEventNotification(HANDLE event) = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    virtual HRESULT GetDeviceInfo(LPDIDEVICEINSTANCEW instance) = 0;
    virtual HRESULT Poll() = 0;
};
typedef IDirectInputDevice8W IDirectInputDevice8;
typedef IDirectInputDevice8W* LPDIRECTINPUTDEVICE8W;
typedef LPDIRECTINPUTDEVICE8W LPDIRECTINPUTDEVICE8;

struct IDirectInput8W : public IUnknown {
    // GUID_SysKeyboard, GUID_SysMouse, GUID_Joystick (the first joystick) or an instance GUID
    // from EnumDevices.
    virtual HRESULT CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8W* device, LPUNKNOWN outer) = 0;
    // Calls back for each device of the class or type; joysticks that are not there are not
    // listed.
    virtual HRESULT EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKW callback, LPVOID ref, DWORD flags) = 0;
    virtual HRESULT GetDeviceStatus(REFGUID instance) = 0;
    virtual HRESULT RunControlPanel(HWND owner, DWORD flags) = 0;
    virtual HRESULT Initialize(HINSTANCE instance, DWORD version) = 0;
};
typedef IDirectInput8W IDirectInput8;
typedef IDirectInput8W* LPDIRECTINPUT8W;
typedef LPDIRECTINPUT8W LPDIRECTINPUT8;

HRESULT DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid, LPVOID* out, LPUNKNOWN outer);
