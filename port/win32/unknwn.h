// The COM base interface shared by every port interface (Direct3D, DirectInput, DirectSound ...).
// Interfaces are abstract classes; objects delete themselves when Release drops the count to 0.
#pragma once

#include "port/win32/windows_types.h"

#ifndef PORT_IUNKNOWN_DEFINED
#define PORT_IUNKNOWN_DEFINED
struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;

// The identity of IUnknown itself, so that QueryInterface can answer it.
inline constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
#endif
