// ID3DXBuffer: a block of bytes with a terminating zero kept past its size.
#include "port/d3dx9/DxCom.h"

#include <cstring>
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

ID3DXBuffer* makeBuffer(void const* data, std::size_t size) { return new Buffer(data, size); }

ID3DXBuffer* makeTextBuffer(std::string const& text) { return new Buffer(text.c_str(), text.size() + 1); }

}  // namespace port::dx

HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = port::dx::makeBuffer(nullptr, size);
    return S_OK;
}
