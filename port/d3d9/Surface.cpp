// Surfaces (texture levels, render targets, depth-stencil and system-memory surfaces) and the
// device calls that copy between them: StretchRect, GetRenderTargetData, UpdateSurface,
// ColorFill.
#include "port/d3d9/Internal.h"

#include "port/win32/win32_log.h"

#include <algorithm>
#include <cstring>

namespace port::d3d9 {

Surface::Surface(Texture* owner, UINT level)
    : ResourceBase(owner->device(), false), kind_(Kind::TextureLevel), owner_(owner), level_(level),
      width_(owner->levelWidth(level)), height_(owner->levelHeight(level)), format_(owner->format()),
      pool_(owner->pool()), usage_(owner->usage()), valid_(true) {}

Surface::Surface(Device* device, Kind kind, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool, DWORD usage,
                 bool countsForReset, bool onWindow)
    : ResourceBase(device, countsForReset && pool == D3DPOOL_DEFAULT), kind_(kind), width_(width),
      height_(height), format_(format), pool_(pool), usage_(usage), onWindow_(onWindow) {
    FormatInfo const* info = formatInfo(format);
    if (!info || width == 0 || height == 0) return;
    inWindow_ = onWindow;
    if (kind == Kind::SystemMemory) {
        if (info->depth) return;
        memory_.assign(static_cast<size_t>(rowPitch(*info, width)) * rowCount(*info, height), 0);
        valid_ = true;
        return;
    }
    if (kind == Kind::DepthStencil ? !info->depth : (info->depth || info->blockBytes != 0)) return;
    // A surface in the window gets storage of its own only when it first has to leave it.
    valid_ = onWindow || (device->makeCurrent() && makeStorage());
}

bool Surface::makeStorage() {
    if (texture_ || renderbuffer_) return true;
    if (!device_ || !device_->makeCurrent()) return false;
    if (kind_ == Kind::DepthStencil) {
        glGenRenderbuffers(1, &renderbuffer_);
        glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, static_cast<GLsizei>(width_),
                              static_cast<GLsizei>(height_));
        return true;
    }
    FormatInfo const* info = formatInfo(format_);
    glGenTextures(1, &texture_);
    device_->bindWorkTexture(texture_);
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(info->internalFormat), static_cast<GLsizei>(width_),
                 static_cast<GLsizei>(height_), 0, info->uploadFormat, info->uploadType, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, info->swizzle);
    return true;
}

Surface::~Surface() {
    if ((texture_ || renderbuffer_) && device_ && device_->makeCurrent()) {
        device_->forgetBindings();
        if (texture_) glDeleteTextures(1, &texture_);
        if (renderbuffer_) glDeleteRenderbuffers(1, &renderbuffer_);
    }
}

void Surface::orphan() {
    if (texture_) glDeleteTextures(1, &texture_);
    if (renderbuffer_) glDeleteRenderbuffers(1, &renderbuffer_);
    texture_ = renderbuffer_ = 0;
    valid_ = kind_ == Kind::SystemMemory;
    device_ = nullptr;
}

ULONG Surface::AddRef() { return owner_ ? owner_->AddRef() : ComObjectOf::AddRef(); }
ULONG Surface::Release() { return owner_ ? owner_->Release() : ComObjectOf::Release(); }

HRESULT Surface::GetContainer(REFIID riid, void** container) {
    if (!container) return D3DERR_INVALIDCALL;
    if (owner_) return owner_->QueryInterface(riid, container);
    if (device_ && riid == IID_IDirect3DDevice9) {
        device_->AddRef();
        *container = static_cast<IDirect3DDevice9*>(device_);
        return D3D_OK;
    }
    *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT Surface::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{format_, D3DRTYPE_SURFACE, usage_, pool_, D3DMULTISAMPLE_NONE, 0, width_, height_};
    return D3D_OK;
}

unsigned Surface::pitch() const {
    FormatInfo const* info = formatInfo(format_);
    return info ? rowPitch(*info, width_) : 0;
}

HRESULT Surface::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (owner_) return owner_->LockRect(level_, locked, rect, flags);
    if (kind_ != Kind::SystemMemory || !locked || locked_ || !valid_) return D3DERR_INVALIDCALL;
    FormatInfo const* info = formatInfo(format_);
    RECT area = rect ? *rect : RECT{0, 0, static_cast<LONG>(width_), static_cast<LONG>(height_)};
    if (area.left < 0 || area.top < 0 || area.right > static_cast<LONG>(width_) ||
        area.bottom > static_cast<LONG>(height_) || area.left >= area.right || area.top >= area.bottom)
        return D3DERR_INVALIDCALL;
    size_t offset = info->blockBytes ? static_cast<size_t>(area.top / 4) * pitch() + static_cast<size_t>(area.left / 4) * info->blockBytes
                                     : static_cast<size_t>(area.top) * pitch() + static_cast<size_t>(area.left) * info->bytesPerPixel;
    locked->Pitch = static_cast<INT>(pitch());
    locked->pBits = memory_.data() + offset;
    locked_ = true;
    return D3D_OK;
}

HRESULT Surface::UnlockRect() {
    if (owner_) return owner_->UnlockRect(level_);
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
}

GlImage Surface::image() const {
    if (owner_) return GlImage{owner_->gl(), static_cast<GLint>(level_), 0, false, width_, height_};
    if (inWindow()) return GlImage{0, 0, 0, kind_ == Kind::DepthStencil, width_, height_, true};
    return GlImage{texture_, 0, renderbuffer_, kind_ == Kind::DepthStencil, width_, height_};
}

// --- Device: surfaces and copies ---------------------------------------------------------------

namespace {

Surface* asSurface(IDirect3DSurface9* surface) { return static_cast<Surface*>(surface); }

bool hasGlColor(Surface* s) {
    GlImage image = s->image();
    return s->valid() && (image.texture != 0 || image.window) && !image.depth;
}

RECT wholeRect(Surface* s) { return RECT{0, 0, static_cast<LONG>(s->width()), static_cast<LONG>(s->height())}; }

bool insideSurface(RECT const& r, Surface* s) {
    return r.left >= 0 && r.top >= 0 && r.right <= static_cast<LONG>(s->width()) &&
           r.bottom <= static_cast<LONG>(s->height()) && r.left < r.right && r.top < r.bottom;
}

}  // namespace

HRESULT writeTextureLevel(IDirect3DSurface9* surface, RECT const& rect, void const* bytes, unsigned pitch) {
    Surface* level = asSurface(surface);
    if (!level || !bytes || level->kind() != Surface::Kind::TextureLevel) return D3DERR_INVALIDCALL;
    return level->owner()->writeRect(level->level(), rect, static_cast<uint8_t const*>(bytes), pitch);
}

void Device::attachImage(GLenum target, GLenum attachment, GlImage const& image) {
    if (image.renderbuffer) {
        glFramebufferTexture2D(target, attachment, GL_TEXTURE_2D, 0, 0);
        glFramebufferRenderbuffer(target, attachment, GL_RENDERBUFFER, image.renderbuffer);
    } else {
        glFramebufferRenderbuffer(target, attachment, GL_RENDERBUFFER, 0);
        glFramebufferTexture2D(target, attachment, GL_TEXTURE_2D, image.texture, image.level);
    }
}

void Device::bindReadImage(GlImage const& image) {
    if (image.window) {  // its read buffer stays GL's default: the one drawn into
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
        return;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFbo_);
    // One attachment at a time: a framebuffer is as large as its smallest attachment.
    attachImage(GL_READ_FRAMEBUFFER, image.depth ? GL_COLOR_ATTACHMENT0 : GL_DEPTH_STENCIL_ATTACHMENT, GlImage{});
    attachImage(GL_READ_FRAMEBUFFER, image.depth ? GL_DEPTH_STENCIL_ATTACHMENT : GL_COLOR_ATTACHMENT0, image);
    glReadBuffer(image.depth ? GL_NONE : GL_COLOR_ATTACHMENT0);
}

void Device::bindDrawImage(GlImage const& image) {
    if (image.window) {
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        windowCleared_ = false;
        return;
    }
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, blitFbo_);
    attachImage(GL_DRAW_FRAMEBUFFER, image.depth ? GL_COLOR_ATTACHMENT0 : GL_DEPTH_STENCIL_ATTACHMENT, GlImage{});
    attachImage(GL_DRAW_FRAMEBUFFER, image.depth ? GL_DEPTH_STENCIL_ATTACHMENT : GL_COLOR_ATTACHMENT0, image);
    GLenum buffer = image.depth ? GL_NONE : GL_COLOR_ATTACHMENT0;
    glDrawBuffers(1, &buffer);
}

HRESULT Device::CreateRenderTarget(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE, DWORD, BOOL,
                                   IDirect3DSurface9** surface, HANDLE*) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    auto* s = new Surface(this, Surface::Kind::RenderTarget, width, height, format, D3DPOOL_DEFAULT,
                          D3DUSAGE_RENDERTARGET);
    return handOutCreated(s, surface);
}

HRESULT Device::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE, DWORD, BOOL,
                                          IDirect3DSurface9** surface, HANDLE*) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    auto* s = new Surface(this, Surface::Kind::DepthStencil, width, height, format, D3DPOOL_DEFAULT,
                          D3DUSAGE_DEPTHSTENCIL);
    return handOutCreated(s, surface);
}

HRESULT Device::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                            IDirect3DSurface9** surface, HANDLE*) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    // Plain surfaces live in memory in every pool; a DEFAULT one still counts against Reset.
    return handOutCreated(new Surface(this, Surface::Kind::SystemMemory, width, height, format, pool, 0), surface);
}

HRESULT Device::UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                              const POINT* destPoint) {
    Surface* src = asSurface(source);
    Surface* dst = asSurface(dest);
    if (!src || !dst || src->kind() != Surface::Kind::SystemMemory || src->format() != dst->format())
        return D3DERR_INVALIDCALL;
    RECT from = sourceRect ? *sourceRect : wholeRect(src);
    if (!insideSurface(from, src)) return D3DERR_INVALIDCALL;
    POINT at = destPoint ? *destPoint : POINT{0, 0};
    RECT to{at.x, at.y, at.x + (from.right - from.left), at.y + (from.bottom - from.top)};
    if (!insideSurface(to, dst)) return D3DERR_INVALIDCALL;
    FormatInfo const* info = formatInfo(src->format());
    if (!info || info->blockBytes) return D3DERR_INVALIDCALL;
    uint8_t const* bytes = src->memory().data() + static_cast<size_t>(from.top) * src->pitch() +
                           static_cast<size_t>(from.left) * info->bytesPerPixel;
    if (dst->kind() == Surface::Kind::TextureLevel) return dst->owner()->writeRect(dst->level(), to, bytes, src->pitch());
    if (dst->kind() == Surface::Kind::SystemMemory) {
        size_t rowBytes = static_cast<size_t>(to.right - to.left) * info->bytesPerPixel;
        for (LONG y = 0; y < to.bottom - to.top; ++y)
            std::memcpy(dst->memory().data() + static_cast<size_t>(to.top + y) * dst->pitch() +
                            static_cast<size_t>(to.left) * info->bytesPerPixel,
                        bytes + static_cast<size_t>(y) * src->pitch(), rowBytes);
        return D3D_OK;
    }
    return D3DERR_INVALIDCALL;
}

HRESULT Device::GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* dest) {
    Surface* src = asSurface(renderTarget);
    Surface* dst = asSurface(dest);
    // The destination is system memory: a plain surface, or a level of a SYSTEMMEM texture
    // (screenshots copy the back buffer into a texture to save it).
    bool const intoLevel =
        dst && dst->kind() == Surface::Kind::TextureLevel && dst->owner()->pool() == D3DPOOL_SYSTEMMEM;
    if (!src || !dst || !hasGlColor(src) || (dst->kind() != Surface::Kind::SystemMemory && !intoLevel) ||
        src->width() != dst->width() || src->height() != dst->height())
        return D3DERR_INVALIDCALL;
    FormatInfo const* info = formatInfo(dst->format());
    if (!info || info->blockBytes || info->depth || !makeCurrent()) return D3DERR_INVALIDCALL;
    size_t const pitch = intoLevel ? static_cast<size_t>(dst->width()) * info->bytesPerPixel : dst->pitch();
    std::vector<uint8_t> scratch(intoLevel ? pitch * dst->height() : 0);
    uint8_t* bytes = intoLevel ? scratch.data() : dst->memory().data();
    GlImage image = src->image();
    bindReadImage(image);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, static_cast<GLint>(dst->width()));
    glReadPixels(0, 0, static_cast<GLsizei>(dst->width()), static_cast<GLsizei>(dst->height()), info->uploadFormat,
                 info->uploadType, bytes);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    if (image.window) {  // the window's rows come bottom first
        for (size_t top = 0, bottom = dst->height() - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(bytes + top * pitch, bytes + (top + 1) * pitch, bytes + bottom * pitch);
    }
    if (dst->format() == D3DFMT_X8R8G8B8)  // X formats read back opaque
        for (size_t i = 3; i < pitch * dst->height(); i += 4) bytes[i] = 0xFF;
    if (intoLevel) return dst->owner()->writeRect(dst->level(), wholeRect(dst), bytes, static_cast<unsigned>(pitch));
    return D3D_OK;
}

HRESULT Device::StretchRect(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                            const RECT* destRect, D3DTEXTUREFILTERTYPE filter) {
    Surface* src = asSurface(source);
    Surface* dst = asSurface(dest);
    if (!src || !dst || src == dst) return D3DERR_INVALIDCALL;
    RECT from = sourceRect ? *sourceRect : wholeRect(src);
    RECT to = destRect ? *destRect : wholeRect(dst);
    if (!insideSurface(from, src) || !insideSurface(to, dst) || !makeCurrent()) return D3DERR_INVALIDCALL;
    if (src->kind() == Surface::Kind::DepthStencil || dst->kind() == Surface::Kind::DepthStencil) {
        if (src->kind() != dst->kind() || sourceRect || destRect) return D3DERR_INVALIDCALL;
        // Depth copies are between renderbuffers: the window's depth-stencil leaves it first.
        moveDepth(*src, false);
        moveDepth(*dst, false, false);  // the copy covers all of it
        ++stencilChanges_;
        bindReadImage(src->image());
        bindDrawImage(dst->image());
        glDisable(GL_SCISSOR_TEST);  // left on by draws with a scissor rectangle
        pipelineDirty_ = true;
        glBlitFramebuffer(0, 0, static_cast<GLint>(src->width()), static_cast<GLint>(src->height()), 0, 0,
                          static_cast<GLint>(dst->width()), static_cast<GLint>(dst->height()),
                          GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, GL_NEAREST);
        return D3D_OK;
    }
    if (!hasGlColor(src) || !hasGlColor(dst)) return D3DERR_INVALIDCALL;
    GlImage srcImage = src->image();
    GlImage dstImage = dst->image();
    bindReadImage(srcImage);
    bindDrawImage(dstImage);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    pipelineDirty_ = true;
    GLenum glFilter = (filter == D3DTEXF_NONE || filter == D3DTEXF_POINT) ? GL_NEAREST : GL_LINEAR;
    // Rows of the window run the other way: a window side is given with its edges swapped.
    GLint fromBottom = glRow(srcImage, from.top, from.bottom - from.top);
    GLint toBottom = glRow(dstImage, to.top, to.bottom - to.top);
    GLint fromHeight = from.bottom - from.top, toHeight = to.bottom - to.top;
    GLint srcY0 = srcImage.window ? fromBottom + fromHeight : fromBottom;
    GLint srcY1 = srcImage.window ? fromBottom : fromBottom + fromHeight;
    GLint dstY0 = dstImage.window ? toBottom + toHeight : toBottom;
    GLint dstY1 = dstImage.window ? toBottom : toBottom + toHeight;
    glBlitFramebuffer(from.left, srcY0, from.right, srcY1, to.left, dstY0, to.right, dstY1, GL_COLOR_BUFFER_BIT,
                      glFilter);
    return D3D_OK;
}

HRESULT Device::ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) {
    Surface* s = asSurface(surface);
    if (!s) return D3DERR_INVALIDCALL;
    RECT area = rect ? *rect : wholeRect(s);
    if (!insideSurface(area, s)) return D3DERR_INVALIDCALL;
    if (s->kind() == Surface::Kind::SystemMemory) {
        if (s->format() != D3DFMT_A8R8G8B8 && s->format() != D3DFMT_X8R8G8B8) return D3DERR_INVALIDCALL;
        for (LONG y = area.top; y < area.bottom; ++y)
            for (LONG x = area.left; x < area.right; ++x)
                std::memcpy(s->memory().data() + static_cast<size_t>(y) * s->pitch() + static_cast<size_t>(x) * 4, &color, 4);
        return D3D_OK;
    }
    if (!hasGlColor(s) || !makeCurrent()) return D3DERR_INVALIDCALL;
    GlImage image = s->image();
    bindDrawImage(image);
    glEnable(GL_SCISSOR_TEST);
    glScissor(area.left, glRow(image, area.top, area.bottom - area.top), area.right - area.left,
              area.bottom - area.top);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    pipelineDirty_ = true;
    setClearColour(color);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    return D3D_OK;
}

}  // namespace port::d3d9
