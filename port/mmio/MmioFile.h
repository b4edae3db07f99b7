// The open mmio file: the whole content in memory, a position and the direct-access buffer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "port/mmio/mmsystem.h"

struct HMMIO__ {
    std::wstring name;      // for log lines: the path as given, or "(memory)"
    std::string hostPath;   // empty for memory files
    bool canRead = true;
    bool canWrite = false;
    bool modified = false;
    bool growable = true;   // false for a caller's fixed memory block
    std::vector<char> own;  // the content, unless it lives in the caller's block
    char* external = nullptr;
    std::size_t size = 0;   // logical size; for external blocks the block size
    std::size_t pos = 0;
    DWORD openFlags = 0;
    FOURCC ioProc = FOURCC_DOS;
    std::vector<char> buffer;  // direct-access buffer (mmioGetInfo)
    std::size_t bufferOffset = 0;

    char* data() { return external ? external : own.data(); }
    // Bytes available from the position (0 past the end).
    std::size_t remaining() const { return pos < size ? size - pos : 0; }
    // Reads up to count bytes at the position and advances; returns the count read.
    std::size_t readBytes(void* out, std::size_t count);
    // Writes at the position (growing the content where allowed) and advances; returns the
    // count written.
    std::size_t writeBytes(void const* in, std::size_t count);
    // Reads/writes a little-endian 32-bit value at an absolute offset; false when out of range.
    bool peek32(std::size_t offset, DWORD& value) const;
    bool poke32(std::size_t offset, DWORD value);
};
