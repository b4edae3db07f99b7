// Small helpers the D3DX objects share (their IUnknown is port::ComObject, answering IID_IUnknown).
#pragma once

#include "port/d3dx9/d3dx9.h"
#include "port/win32/ComObject.h"
#include "port/win32/HostPath.h"
#include "port/win32/log.h"

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
