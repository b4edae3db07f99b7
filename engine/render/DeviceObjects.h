// Small helpers for code that holds Direct3D objects: releasing a COM pointer and forgetting it,
// the device-signal connections of a holder, and a performance event (PIX) that lasts as long as
// a scope.
#pragma once

#include "engine/platform/D3DInterface.h"
#include "port/d3d9/d3d9.h"

namespace Orvex {

template <class T>
void releaseCom(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

// A holder of D3DPOOL_DEFAULT objects lets go of them on device-lost and when the device object
// shuts down, and makes them on device-reset and on every device's creation.
template <class Holder>
void connectDeviceObjects(Holder* holder, void (Holder::*release)(), void (Holder::*make)()) {
    D3DInterface& d3d = D3DInterface::getInstance();
    d3d.signalDeviceLost.connect(holder, release);
    d3d.signalDeviceShutdown.connect(holder, release);
    d3d.signalDeviceReset.connect(holder, make);
    d3d.signalDeviceCreated.connect(holder, make);
}

class PixEvent {
public:
    PixEvent(D3DCOLOR colour, wchar_t const* name) { D3DPERF_BeginEvent(colour, name); }
    ~PixEvent() { D3DPERF_EndEvent(); }
    PixEvent(PixEvent const&) = delete;
    PixEvent& operator=(PixEvent const&) = delete;
};

}  // namespace Orvex
