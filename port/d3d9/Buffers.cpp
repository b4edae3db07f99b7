// Vertex and index buffers: the whole buffer is kept in memory (so locks, also read-backs, are
// plain pointers); Unlock uploads the range written since the first lock. Dynamic write-only
// buffers are written where GL keeps them instead (mapped at the first lock, unmapped at the
// last unlock), which saves streaming vertices a second copy; their DISCARD switches between two
// GL buffers, orphaning only when the other one may still be read. Elsewhere DISCARD orphans
// the GL storage first, so draws still in flight keep their data (the new storage holds what
// is written after it only, as Direct3D leaves the rest undefined); NOOVERWRITE writes in place.
#include "port/d3d9/Internal.h"

#include <algorithm>

namespace port::d3d9 {

template <class Interface, class Desc>
Buffer<Interface, Desc>::Buffer(Device* device, UINT length, DWORD usage, D3DPOOL pool, D3DFORMAT format, DWORD fvf)
    : ResourceBase(device, pool == D3DPOOL_DEFAULT), usage_(usage), pool_(pool), format_(format), fvf_(fvf) {
    if (length == 0 || !device->makeCurrent()) return;
    memory_.assign(length, 0);
    length_ = length;
    glGenBuffers(1, &gl_);
    glBindBuffer(GL_ARRAY_BUFFER, gl_);
    glBufferData(GL_ARRAY_BUFFER, length, memory_.data(), (usage & D3DUSAGE_DYNAMIC) ? GL_STREAM_DRAW : GL_STATIC_DRAW);
    if (mapsGl()) std::vector<uint8_t>().swap(memory_);  // zeroed in GL; kept there alone
}

template <class Interface, class Desc>
Buffer<Interface, Desc>::~Buffer() {
    if (gl_ && device_ && device_->makeCurrent()) {
        device_->forgetBindings();
        GLuint buffers[] = {gl_, spare_};
        glDeleteBuffers(2, buffers);  // a zero name is skipped
    }
}

template <class Interface, class Desc>
void Buffer<Interface, Desc>::orphan() {
    GLuint buffers[] = {gl_, spare_};
    if (gl_) glDeleteBuffers(2, buffers);
    gl_ = spare_ = 0;
    mapped_ = nullptr;
    device_ = nullptr;
}

template <class Interface, class Desc>
D3DRESOURCETYPE Buffer<Interface, Desc>::GetType() {
    return std::is_same_v<Interface, IDirect3DVertexBuffer9> ? D3DRTYPE_VERTEXBUFFER : D3DRTYPE_INDEXBUFFER;
}

template <class Interface, class Desc>
HRESULT Buffer<Interface, Desc>::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    if (!data || !gl_) return D3DERR_INVALIDCALL;
    UINT total = length_;
    if (offset > total || (size != 0 && size > total - offset)) return D3DERR_INVALIDCALL;
    UINT end = size == 0 ? total : offset + size;
    if (mapsGl()) return lockMapped(offset, flags, data);
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
HRESULT Buffer<Interface, Desc>::lockMapped(UINT offset, DWORD flags, void** data) {
    if (!mapped_) {
        if (!device_ || !device_->makeCurrent()) return D3DERR_INVALIDCALL;
        // The whole buffer is mapped, so locks taken while one is held share the mapping. A
        // discarding lock writes storage no draw in flight reads (mapping with GL's invalidate
        // bit instead makes llvmpipe finish the frame's work so far).
        GLbitfield access = GL_MAP_WRITE_BIT;
        glBindBuffer(GL_ARRAY_BUFFER, gl_);
        if (flags & D3DLOCK_DISCARD) takeFreeStorage();
        if (flags & (D3DLOCK_DISCARD | D3DLOCK_NOOVERWRITE)) access |= GL_MAP_UNSYNCHRONIZED_BIT;
        mapped_ = static_cast<uint8_t*>(
            glMapBufferRange(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(length_), access));
        if (!mapped_) return D3DERR_INVALIDCALL;
    }
    ++locks_;
    *data = mapped_ + offset;
    return D3D_OK;
}

template <class Interface, class Desc>
void Buffer<Interface, Desc>::takeFreeStorage() {
    // The storage left at the last DISCARD comes back once the frames that drew from it are
    // finished; otherwise the storage is orphaned. Fresh storage is fresh pages to llvmpipe, and
    // faulting in a whole ring at every wrap cost more than writing the frame's vertices.
    auto moveToSpare = [this] {
        std::swap(gl_, spare_);
        spareRetired_ = device_->presentCount();
        glBindBuffer(GL_ARRAY_BUFFER, gl_);
    };
    if (spare_ && device_->finishedBefore(spareRetired_ + 1)) {
        moveToSpare();
    } else if (!spare_) {
        glGenBuffers(1, &spare_);
        moveToSpare();
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(length_), nullptr, GL_STREAM_DRAW);
    } else {
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(length_), nullptr, GL_STREAM_DRAW);
    }
}

template <class Interface, class Desc>
HRESULT Buffer<Interface, Desc>::Unlock() {
    if (locks_ == 0) return D3DERR_INVALIDCALL;
    if (--locks_ > 0) return D3D_OK;
    if (mapped_) {
        if (device_ && device_->makeCurrent()) {
            glBindBuffer(GL_ARRAY_BUFFER, gl_);
            glUnmapBuffer(GL_ARRAY_BUFFER);
        }
        mapped_ = nullptr;
        return D3D_OK;
    }
    if (dirtyEnd_ > dirtyBegin_ && device_ && device_->makeCurrent()) {
        glBindBuffer(GL_ARRAY_BUFFER, gl_);
        // A discarding lock leaves the rest of the buffer undefined, as in Direct3D: new storage
        // gets the written range alone (copying all of a large ring at every wrap cost more
        // than the frame's own vertices).
        if (discard_)
            glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(length_), nullptr, GL_STREAM_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, dirtyBegin_, dirtyEnd_ - dirtyBegin_, memory_.data() + dirtyBegin_);
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
