// Small helpers the D3DX objects share (their IUnknown is port::ComObject, answering IID_IUnknown).
#pragma once

#include "port/d3d9/d3d9_gl.h"
#include "port/d3dx9/d3dx9.h"
#include "port/win32/ComObject.h"
#include "port/win32/win32_text.h"
#include "port/win32/win32_log.h"

#include <string>
#include <string_view>

namespace port::dx {

// Releases a COM pointer and sets it to null.
template <class T>
void safeRelease(T*& object) {
    if (object) {
        object->Release();
        object = nullptr;
    }
}

// A D3DX object made for a device (sprite, line, render-to-surface): holds a reference to the
// device for its whole life (released after the derived object's own clean-up) and hands it out
// with GetDevice.
template <class Interface>
class DeviceObject : public ComObject<Interface> {
public:
    HRESULT GetDevice(IDirect3DDevice9** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        *device = device_;
        device_->AddRef();
        return S_OK;
    }

protected:
    explicit DeviceObject(IDirect3DDevice9* device) : device_(device) { device_->AddRef(); }
    ~DeviceObject() override { device_->Release(); }

    IDirect3DDevice9* const device_;
};

// The device's whole state and its program override, saved at Begin and put back at End by
// sprites and lines. The state block lives in the device, so a lost device drops both (a program
// from before a Reset may be gone); End then puts back nothing.
class SavedDeviceState {
public:
    SavedDeviceState() = default;
    SavedDeviceState(SavedDeviceState const&) = delete;
    SavedDeviceState& operator=(SavedDeviceState const&) = delete;
    ~SavedDeviceState() { drop(); }

    void save(IDirect3DDevice9* device) {
        drop();
        if (FAILED(device->CreateStateBlock(D3DSBT_ALL, &block_))) block_ = nullptr;
        program_ = port::gl::programOverride(device);
    }
    void restore(IDirect3DDevice9* device) {
        if (!block_) return;
        block_->Apply();
        safeRelease(block_);
        port::gl::setProgramOverride(device, program_);
    }
    void drop() { safeRelease(block_); }

private:
    IDirect3DStateBlock9* block_ = nullptr;
    unsigned program_ = 0;
};

// One error line in the port log for failures the caller cannot see otherwise (broken files).
inline void logLine(std::string const& text) { port::logLine(port::LogLevel::Error, L"D3DX: " + port::fromUtf8(text)); }

// ASCII case-insensitive comparison (state names, semantics, type words).
bool equalsNoCase(std::string_view a, std::string_view b);
// The whole file at a host path; false when it cannot be read.
bool readHostFile(std::string const& hostPath, std::string& bytes);

// A buffer holding a copy of the bytes (and a terminating zero past them).
ID3DXBuffer* makeBuffer(void const* data, std::size_t size);
// A text buffer whose size includes the terminating zero, as D3DX's error buffers.
ID3DXBuffer* makeTextBuffer(std::string const& text);

}  // namespace port::dx
