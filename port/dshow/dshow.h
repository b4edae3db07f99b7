// DirectShow as the engine uses it for music: a filter graph made with
// CoCreateInstance(CLSID_FilterGraph) that renders one audio file (Ogg Vorbis, MP3, WAV through
// SDL2_mixer) and is driven through IMediaControl, IMediaSeeking / IMediaPosition, IBasicAudio
// and IMediaEventEx (EC_COMPLETE at the end, so the caller can loop by seeking to 0).
// Limits: one graph plays at a time; running a graph while another runs pauses the other
// (its GetState then says State_Paused). There is no video: a file SDL2_mixer cannot decode
// (a video such as "intro.wmv") fails in RenderFile with VFW_E_UNSUPPORTED_STREAM, and graphs
// have no IVideoWindow. Events are polled with GetEvent; SetNotifyWindow posts nothing and
// answers E_NOTIMPL. Playback rate is 1.0 only; the stop position is always the end.
#pragma once

#include "port/win32/unknwn.h"
#include "port/win32/windows_types.h"

typedef WCHAR* BSTR;
typedef double REFTIME;            // seconds
typedef LONGLONG REFERENCE_TIME;   // 100-nanosecond units
typedef LONG OAFilterState;
typedef LONG_PTR OAHWND;
typedef LONG_PTR OAEVENT;
typedef LONG* LPLONG;
typedef const GUID* LPCGUID;

#ifndef CLSCTX_INPROC_SERVER
#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CLSCTX_LOCAL_SERVER 0x4
#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL 0x17
#endif
#ifndef REGDB_E_CLASSNOTREG
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154L)
#endif
#ifndef CLASS_E_NOAGGREGATION
#define CLASS_E_NOAGGREGATION ((HRESULT)0x80040110L)
#endif

#define VFW_E_NOT_FOUND ((HRESULT)0x80040216L)
#define VFW_E_CANNOT_RENDER ((HRESULT)0x80040218L)
#define VFW_E_UNSUPPORTED_STREAM ((HRESULT)0x80040265L)
#define VFW_E_WRONG_STATE ((HRESULT)0x80040227L)
#define VFW_E_TIME_NOT_SET ((HRESULT)0x80040272L)
#define VFW_S_STATE_INTERMEDIATE ((HRESULT)0x00040237L)
#define HRESULT_FILE_NOT_FOUND ((HRESULT)0x80070002L)

enum _FilterState { State_Stopped = 0, State_Paused = 1, State_Running = 2 };

// Event codes.
#define EC_COMPLETE 0x01
#define EC_USERABORT 0x02
#define EC_ERRORABORT 0x03
#define AM_MEDIAEVENT_NONOTIFY 0x01

// Seeking.
#define AM_SEEKING_NoPositioning 0x0
#define AM_SEEKING_AbsolutePositioning 0x1
#define AM_SEEKING_RelativePositioning 0x2
#define AM_SEEKING_IncrementalPositioning 0x3
#define AM_SEEKING_PositioningBitsMask 0x3
#define AM_SEEKING_SeekToKeyFrame 0x4
#define AM_SEEKING_ReturnTime 0x8
#define AM_SEEKING_Segment 0x10
#define AM_SEEKING_NoFlush 0x20
#define AM_SEEKING_CanSeekAbsolute 0x1
#define AM_SEEKING_CanSeekForwards 0x2
#define AM_SEEKING_CanSeekBackwards 0x4
#define AM_SEEKING_CanGetCurrentPos 0x8
#define AM_SEEKING_CanGetStopPos 0x10
#define AM_SEEKING_CanGetDuration 0x20

inline constexpr CLSID CLSID_FilterGraph = {0xE436EBB3, 0x524F, 0x11CE, {0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IGraphBuilder = {0x56A868A9, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaControl = {0x56A868B1, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaPosition = {0x56A868B2, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IBasicAudio = {0x56A868B3, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IVideoWindow = {0x56A868B4, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IBasicVideo = {0x56A868B5, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaEvent = {0x56A868B6, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaEventEx = {0x56A868C0, 0x0AD4, 0x11CE, {0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70}};
inline constexpr IID IID_IMediaSeeking = {0x36B73880, 0xC2C8, 0x11CF, {0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60}};
inline constexpr GUID TIME_FORMAT_MEDIA_TIME = {0x7B785574, 0x8C82, 0x11CF, {0xBC, 0x0C, 0x00, 0xAA, 0x00, 0xAC, 0x74, 0xF6}};

struct IGraphBuilder : public IUnknown {
    // Builds the graph for a file (Windows path); VFW_E_NOT_FOUND style failures for a missing
    // file (0x80070002), VFW_E_UNSUPPORTED_STREAM for one that cannot be decoded.
    virtual HRESULT RenderFile(LPCWSTR file, LPCWSTR playList) = 0;
    virtual HRESULT Abort() = 0;
};

struct IMediaControl : public IUnknown {
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;  // keeps the position
    virtual HRESULT GetState(LONG msTimeout, OAFilterState* state) = 0;
    virtual HRESULT RenderFile(BSTR file) = 0;
    virtual HRESULT StopWhenReady() = 0;
};

struct IMediaEvent : public IUnknown {
    virtual HRESULT GetEventHandle(OAEVENT* handle) = 0;
    // The next event (E_ABORT when none arrives within msTimeout).
    virtual HRESULT GetEvent(LONG* eventCode, LONG_PTR* param1, LONG_PTR* param2, LONG msTimeout) = 0;
    virtual HRESULT WaitForCompletion(LONG msTimeout, LONG* eventCode) = 0;
    virtual HRESULT CancelDefaultHandling(LONG eventCode) = 0;
    virtual HRESULT RestoreDefaultHandling(LONG eventCode) = 0;
    virtual HRESULT FreeEventParams(LONG eventCode, LONG_PTR param1, LONG_PTR param2) = 0;
};

struct IMediaEventEx : public IMediaEvent {
    virtual HRESULT SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instanceData) = 0;
    virtual HRESULT SetNotifyFlags(LONG flags) = 0;
    virtual HRESULT GetNotifyFlags(LONG* flags) = 0;
};

struct IMediaSeeking : public IUnknown {
    virtual HRESULT GetCapabilities(DWORD* capabilities) = 0;
    virtual HRESULT CheckCapabilities(DWORD* capabilities) = 0;
    virtual HRESULT IsFormatSupported(const GUID* format) = 0;
    virtual HRESULT QueryPreferredFormat(GUID* format) = 0;
    virtual HRESULT GetTimeFormat(GUID* format) = 0;
    virtual HRESULT IsUsingTimeFormat(const GUID* format) = 0;
    virtual HRESULT SetTimeFormat(const GUID* format) = 0;
    virtual HRESULT GetDuration(LONGLONG* duration) = 0;
    virtual HRESULT GetStopPosition(LONGLONG* stop) = 0;
    virtual HRESULT GetCurrentPosition(LONGLONG* current) = 0;
    virtual HRESULT ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                      const GUID* sourceFormat) = 0;
    virtual HRESULT SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) = 0;
    virtual HRESULT GetPositions(LONGLONG* current, LONGLONG* stop) = 0;
    virtual HRESULT GetAvailable(LONGLONG* earliest, LONGLONG* latest) = 0;
    virtual HRESULT SetRate(double rate) = 0;
    virtual HRESULT GetRate(double* rate) = 0;
    virtual HRESULT GetPreroll(LONGLONG* preroll) = 0;
};

struct IMediaPosition : public IUnknown {
    virtual HRESULT get_Duration(REFTIME* length) = 0;
    virtual HRESULT put_CurrentPosition(REFTIME time) = 0;
    virtual HRESULT get_CurrentPosition(REFTIME* time) = 0;
    virtual HRESULT get_StopTime(REFTIME* time) = 0;
    virtual HRESULT put_StopTime(REFTIME time) = 0;
    virtual HRESULT get_PrerollTime(REFTIME* time) = 0;
    virtual HRESULT put_PrerollTime(REFTIME time) = 0;
    virtual HRESULT put_Rate(double rate) = 0;
    virtual HRESULT get_Rate(double* rate) = 0;
    virtual HRESULT CanSeekForward(LONG* can) = 0;
    virtual HRESULT CanSeekBackward(LONG* can) = 0;
};

struct IBasicAudio : public IUnknown {
    // Hundredths of a decibel, -10000 (silence) to 0.
    virtual HRESULT put_Volume(LONG volume) = 0;
    virtual HRESULT get_Volume(LONG* volume) = 0;
    virtual HRESULT put_Balance(LONG balance) = 0;
    virtual HRESULT get_Balance(LONG* balance) = 0;
};

// Makes CLSID_FilterGraph objects (any of the interfaces above); REGDB_E_CLASSNOTREG otherwise.
HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID riid, LPVOID* object);
