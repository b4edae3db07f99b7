// ID3DXBuffer (a block of bytes with a terminating zero kept past its size) and the small
// helpers the D3DX objects share.
#include "port/d3dx9/DxCom.h"
#include "port/win32/win32_paths.h"

#include <cctype>
#include <cstring>
#include <cstdio>
#include <iterator>
#include <vector>

namespace port::dx {
namespace {

class Buffer final : public ComObject<ID3DXBuffer> {
public:
    Buffer(void const* data, std::size_t size) : bytes_(size + 1, 0) {
        if (data && size) std::memcpy(bytes_.data(), data, size);
    }
    LPVOID GetBufferPointer() override { return bytes_.data(); }
    DWORD GetBufferSize() override { return static_cast<DWORD>(bytes_.size() - 1); }

private:
    std::vector<unsigned char> bytes_;
};

}  // namespace

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool readHostFile(std::string const& hostPath, std::string& bytes) {
    // Only a regular file: a FIFO or device in its place must not block the reader.
    std::FILE* in = port::openRegularFile(hostPath, "rb");
    if (!in) return false;
    bytes.clear();
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0) bytes.append(chunk, got);
    bool const ok = !std::ferror(in);
    std::fclose(in);
    return ok;
}

ID3DXBuffer* makeBuffer(void const* data, std::size_t size) { return new Buffer(data, size); }

ID3DXBuffer* makeTextBuffer(std::string const& text) { return new Buffer(text.c_str(), text.size() + 1); }

}  // namespace port::dx

HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = port::dx::makeBuffer(nullptr, size);
    return S_OK;
}
