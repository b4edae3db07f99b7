// Vertex and index buffers: the whole buffer is kept in memory (so locks, also read-backs, are
// plain pointers); Unlock uploads the range written since the first lock. DISCARD orphans the GL
// storage first, so draws still in flight keep their data; NOOVERWRITE uploads in place.
#include "port/d3d9/Internal.h"

#include <algorithm>

namespace port::d3d9 {

template <class Interface, class Desc>
Buffer<Interface, Desc>::Buffer(Device* device, UINT length, DWORD usage, D3DPOOL pool, D3DFORMAT format, DWORD fvf)
    : ResourceBase(device, pool == D3DPOOL_DEFAULT), usage_(usage), pool_(pool), format_(format), fvf_(fvf) {
    if (length == 0 || !device->makeCurrent()) return;
    memory_.assign(length, 0);
    glGenBuffers(1, &gl_);
    glBindBuffer(GL_ARRAY_BUFFER, gl_);
    glBufferData(GL_ARRAY_BUFFER, length, memory_.data(), (usage & D3DUSAGE_DYNAMIC) ? GL_STREAM_DRAW : GL_STATIC_DRAW);
}

template <class Interface, class Desc>
Buffer<Interface, Desc>::~Buffer() {
    if (gl_ && device_ && device_->makeCurrent()) {
        device_->forgetBindings();
        glDeleteBuffers(1, &gl_);
    }
}

template <class Interface, class Desc>
void Buffer<Interface, Desc>::orphan() {
    if (gl_) glDeleteBuffers(1, &gl_);
    gl_ = 0;
    device_ = nullptr;
}

template <class Interface, class Desc>
D3DRESOURCETYPE Buffer<Interface, Desc>::GetType() {
    return std::is_same_v<Interface, IDirect3DVertexBuffer9> ? D3DRTYPE_VERTEXBUFFER : D3DRTYPE_INDEXBUFFER;
}

template <class Interface, class Desc>
HRESULT Buffer<Interface, Desc>::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    if (!data || !gl_) return D3DERR_INVALIDCALL;
    UINT total = static_cast<UINT>(memory_.size());
    if (offset > total || (size != 0 && size > total - offset)) return D3DERR_INVALIDCALL;
    UINT end = size == 0 ? total : offset + size;
    if (!(flags & D3DLOCK_READONLY)) {
        if (locks_ == 0 || dirtyBegin_ == dirtyEnd_) {
            dirtyBegin_ = offset;
            dirtyEnd_ = end;
        } else {
            dirtyBegin_ = std::min(dirtyBegin_, offset);
            dirtyEnd_ = std::max(dirtyEnd_, end);
        }
        if ((flags & D3DLOCK_DISCARD) && (usage_ & D3DUSAGE_DYNAMIC)) discard_ = true;
    }
    ++locks_;
    *data = memory_.data() + offset;
    return D3D_OK;
}

template <class Interface, class Desc>
HRESULT Buffer<Interface, Desc>::Unlock() {
    if (locks_ == 0) return D3DERR_INVALIDCALL;
    if (--locks_ > 0) return D3D_OK;
    if (dirtyEnd_ > dirtyBegin_ && device_ && device_->makeCurrent()) {
        glBindBuffer(GL_ARRAY_BUFFER, gl_);
        if (discard_) {
            // New storage: the whole buffer, since Direct3D keeps the parts not rewritten.
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(memory_.size()), memory_.data(), GL_STREAM_DRAW);
        } else {
            glBufferSubData(GL_ARRAY_BUFFER, dirtyBegin_, dirtyEnd_ - dirtyBegin_, memory_.data() + dirtyBegin_);
        }
    }
    dirtyBegin_ = dirtyEnd_ = 0;
    discard_ = false;
    return D3D_OK;
}

template <>
HRESULT Buffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = D3DVERTEXBUFFER_DESC{D3DFMT_VERTEXDATA, D3DRTYPE_VERTEXBUFFER, usage_, pool_, size(), fvf_};
    return D3D_OK;
}

template <>
HRESULT Buffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = D3DINDEXBUFFER_DESC{format_, D3DRTYPE_INDEXBUFFER, usage_, pool_, size()};
    return D3D_OK;
}

template class Buffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
template class Buffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

HRESULT Device::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                                   HANDLE*) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    return handOutCreated(new VertexBuffer(this, length, usage, pool, D3DFMT_VERTEXDATA, fvf), buffer);
}

HRESULT Device::CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DIndexBuffer9** buffer, HANDLE*) {
    if (!buffer || (format != D3DFMT_INDEX16 && format != D3DFMT_INDEX32)) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    return handOutCreated(new IndexBuffer(this, length, usage, pool, format, 0), buffer);
}

}  // namespace port::d3d9
