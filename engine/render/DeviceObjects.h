// Small helpers for code that holds Direct3D objects: releasing a COM pointer and forgetting it,
// and a performance event (PIX) that lasts as long as a scope.
#pragma once

#include "port/d3d9/d3d9.h"

namespace Orvex {

template <class T>
void releaseCom(T*& object) {
    if (object) object->Release();
    object = nullptr;
}

class PixEvent {
public:
    PixEvent(D3DCOLOR colour, wchar_t const* name) { D3DPERF_BeginEvent(colour, name); }
    ~PixEvent() { D3DPERF_EndEvent(); }
    PixEvent(PixEvent const&) = delete;
    PixEvent& operator=(PixEvent const&) = delete;
};

}  // namespace Orvex
