// 2D textures: a lock hands out the level's bytes in the Direct3D format and the unlock uploads
// the locked rectangle to the GL texture. A picture is written once and then only drawn, so
// after its first write the bytes live in GL alone (no second copy of every picture); a level
// locked again is read back from GL and keeps its memory from then on. Block-compressed levels
// keep theirs (GL holds them decoded). Render-target textures have no memory (GL draws into
// them) and cannot be locked.
#include "port/d3d9/Internal.h"

#include "port/win32/win32_log.h"

#include <algorithm>
#include <cstring>

namespace port::d3d9 {

ResourceBase::ResourceBase(Device* device, bool defaultPool) : device_(device), defaultPool_(defaultPool) {
    if (device_) device_->resourceCreated(this, defaultPool_);
}

ResourceBase::~ResourceBase() {
    if (device_) device_->resourceDestroyed(this, defaultPool_);
}

HRESULT ResourceBase::handOutDevice(IDirect3DDevice9** device) const {
    if (!device || !device_) return D3DERR_INVALIDCALL;
    device_->AddRef();
    *device = device_;
    return D3D_OK;
}

Texture::Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool)
    : ResourceBase(device, pool == D3DPOOL_DEFAULT), format_(format), usage_(usage), pool_(pool) {
    info_ = formatInfo(format);
    if (!info_ || info_->depth || width == 0 || height == 0 || !device->makeCurrent()) return;
    if (renderTarget() && info_->blockBytes) return;
    UINT fullChain = 1;
    for (UINT w = width, h = height; w > 1 || h > 1; w = std::max(1u, w / 2), h = std::max(1u, h / 2)) ++fullChain;
    bool autoGen = (usage & D3DUSAGE_AUTOGENMIPMAP) != 0;
    UINT count = autoGen ? 1 : (levels == 0 ? fullChain : std::min(levels, fullChain));
    UINT glLevels = autoGen ? fullChain : count;
    levels_.resize(count);
    glGenTextures(1, &gl_);
    device->bindWorkTexture(gl_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    UINT w = width, h = height;
    for (UINT i = 0; i < glLevels; ++i) {
        GLenum uploadFormat = info_->blockBytes ? GL_RGBA : info_->uploadFormat;
        GLenum uploadType = info_->blockBytes ? GL_UNSIGNED_BYTE : info_->uploadType;
        glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), static_cast<GLint>(info_->internalFormat),
                     static_cast<GLsizei>(w), static_cast<GLsizei>(h), 0, uploadFormat, uploadType, nullptr);
        if (i < count) {
            levels_[i].width = w;
            levels_[i].height = h;
        }
        w = std::max(1u, w / 2);
        h = std::max(1u, h / 2);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(glLevels - 1));
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, info_->swizzle);
    if (renderTarget()) {
        // A new render target reads as black, not as undefined memory.
        device->bindDrawImage(GlImage{gl_, 0, 0, false, width, height});
        device->dirtyPipeline();
        glDisable(GL_SCISSOR_TEST);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
}

Texture::~Texture() {
    if (gl_ && device_ && device_->makeCurrent()) {
        device_->forgetBindings();
        glDeleteTextures(1, &gl_);
    }
}

void Texture::orphan() {
    if (gl_) glDeleteTextures(1, &gl_);
    gl_ = 0;
    device_ = nullptr;
}

DWORD Texture::SetLOD(DWORD lod) {
    DWORD old = lod_;
    if (pool_ == D3DPOOL_MANAGED) lod_ = std::min<DWORD>(lod, GetLevelCount() ? GetLevelCount() - 1 : 0);
    return old;
}

HRESULT Texture::SetAutoGenFilterType(D3DTEXTUREFILTERTYPE filter) {
    autoGenFilter_ = filter;
    return D3D_OK;
}

void Texture::GenerateMipSubLevels() {
    if (!gl_ || !(usage_ & D3DUSAGE_AUTOGENMIPMAP) || !device_ || !device_->makeCurrent()) return;
    device_->bindWorkTexture(gl_);
    glGenerateMipmap(GL_TEXTURE_2D);
}

HRESULT Texture::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (!desc || level >= levels_.size()) return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{format_, D3DRTYPE_SURFACE, usage_, pool_, D3DMULTISAMPLE_NONE, 0,
                            levels_[level].width, levels_[level].height};
    return D3D_OK;
}

HRESULT Texture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    if (!surface || level >= levels_.size()) return D3DERR_INVALIDCALL;
    Level& l = levels_[level];
    if (!l.surface) l.surface = std::make_unique<Surface>(this, level);
    AddRef();
    *surface = l.surface.get();
    return D3D_OK;
}

void Texture::provideMemory(UINT level, bool discard) {
    Level& l = levels_[level];
    if (!l.memory.empty()) return;
    l.memory.assign(static_cast<size_t>(rowPitch(*info_, l.width)) * rowCount(*info_, l.height), 0);
    if (!l.filled || discard || info_->blockBytes || !device_ || !device_->makeCurrent()) return;
    device_->bindWorkTexture(gl_);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glGetTexImage(GL_TEXTURE_2D, static_cast<GLint>(level), info_->uploadFormat, info_->uploadType, l.memory.data());
}

HRESULT Texture::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (!locked || level >= levels_.size() || !gl_ || renderTarget()) return D3DERR_INVALIDCALL;
    Level& l = levels_[level];
    if (l.locked) return D3DERR_INVALIDCALL;
    RECT area = rect ? *rect : RECT{0, 0, static_cast<LONG>(l.width), static_cast<LONG>(l.height)};
    if (area.left < 0 || area.top < 0 || area.right > static_cast<LONG>(l.width) ||
        area.bottom > static_cast<LONG>(l.height) || area.left >= area.right || area.top >= area.bottom)
        return D3DERR_INVALIDCALL;
    if (info_->blockBytes && ((area.left | area.top) & 3)) return D3DERR_INVALIDCALL;
    bool const whole = area.left == 0 && area.top == 0 && area.right == static_cast<LONG>(l.width) &&
                       area.bottom == static_cast<LONG>(l.height);
    provideMemory(level, whole && (flags & D3DLOCK_DISCARD) != 0);
    ++l.locks;
    unsigned pitch = rowPitch(*info_, l.width);
    size_t offset = info_->blockBytes
                        ? static_cast<size_t>(area.top / 4) * pitch + static_cast<size_t>(area.left / 4) * info_->blockBytes
                        : static_cast<size_t>(area.top) * pitch + static_cast<size_t>(area.left) * info_->bytesPerPixel;
    locked->Pitch = static_cast<INT>(pitch);
    locked->pBits = l.memory.data() + offset;
    l.locked = true;
    l.readOnly = (flags & D3DLOCK_READONLY) != 0;
    l.lockRect = area;
    return D3D_OK;
}

HRESULT Texture::UnlockRect(UINT level) {
    if (level >= levels_.size() || !levels_[level].locked) return D3DERR_INVALIDCALL;
    Level& l = levels_[level];
    l.locked = false;
    if (!l.readOnly) upload(level, l.lockRect);
    // The first write of a picture: from now on GL keeps it alone.
    if (l.locks == 1 && l.filled && !info_->blockBytes) std::vector<uint8_t>().swap(l.memory);
    return D3D_OK;
}

HRESULT Texture::writeRect(UINT level, RECT const& rect, uint8_t const* bytes, unsigned pitch) {
    if (level >= levels_.size() || renderTarget() || info_->blockBytes) return D3DERR_INVALIDCALL;
    Level& l = levels_[level];
    if (rect.left < 0 || rect.top < 0 || rect.right > static_cast<LONG>(l.width) ||
        rect.bottom > static_cast<LONG>(l.height) || rect.left >= rect.right || rect.top >= rect.bottom)
        return D3DERR_INVALIDCALL;
    if (l.memory.empty()) {
        // Nothing kept to update: the rows go to GL straight from the caller.
        uploadRect(level, rect, bytes, pitch);
        return D3D_OK;
    }
    unsigned levelPitch = rowPitch(*info_, l.width);
    size_t rowBytes = static_cast<size_t>(rect.right - rect.left) * info_->bytesPerPixel;
    for (LONG y = rect.top; y < rect.bottom; ++y)
        std::memcpy(l.memory.data() + static_cast<size_t>(y) * levelPitch + static_cast<size_t>(rect.left) * info_->bytesPerPixel,
                    bytes + static_cast<size_t>(y - rect.top) * pitch, rowBytes);
    upload(level, rect);
    return D3D_OK;
}

void Texture::upload(UINT level, RECT const& rect) {
    Level& l = levels_[level];
    unsigned const pitch = rowPitch(*info_, l.width);
    if (!info_->blockBytes) {
        uploadRect(level, rect,
                   l.memory.data() + static_cast<size_t>(rect.top) * pitch + static_cast<size_t>(rect.left) * info_->bytesPerPixel,
                   pitch);
        return;
    }
    if (!gl_ || !device_ || !device_->makeCurrent()) return;
    l.filled = true;
    device_->bindWorkTexture(gl_);
    // Whole block rows of the rectangle, decoded to RGBA.
    LONG top = rect.top & ~3, bottom = std::min<LONG>((rect.bottom + 3) & ~3, static_cast<LONG>(l.height));
    unsigned height = static_cast<unsigned>(bottom - top);
    std::vector<uint8_t> rgba(static_cast<size_t>(l.width) * height * 4);
    decodeDxt(format_, l.memory.data() + static_cast<size_t>(top / 4) * pitch, pitch, l.width, height, rgba.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, top, static_cast<GLsizei>(l.width),
                    static_cast<GLsizei>(height), GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    if (level == 0 && (usage_ & D3DUSAGE_AUTOGENMIPMAP)) glGenerateMipmap(GL_TEXTURE_2D);
}

void Texture::uploadRect(UINT level, RECT const& rect, uint8_t const* start, unsigned pitch) {
    if (!gl_ || !device_ || !device_->makeCurrent()) return;
    levels_[level].filled = true;
    device_->bindWorkTexture(gl_);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLsizei const width = rect.right - rect.left;
    if (pitch % info_->bytesPerPixel == 0) {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, static_cast<GLint>(pitch / info_->bytesPerPixel));
        glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), rect.left, rect.top, width, rect.bottom - rect.top,
                        info_->uploadFormat, info_->uploadType, start);
    } else {
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);  // rows that are no whole pixels apart, one by one
        for (LONG y = rect.top; y < rect.bottom; ++y)
            glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), rect.left, y, width, 1, info_->uploadFormat,
                            info_->uploadType, start + static_cast<size_t>(y - rect.top) * pitch);
    }
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (level == 0 && (usage_ & D3DUSAGE_AUTOGENMIPMAP)) glGenerateMipmap(GL_TEXTURE_2D);
}

}  // namespace port::d3d9
