// The device: its GL context on the window's SDL window, the back buffer (the window's own
// framebuffer, or a GL texture where the window cannot serve, see Device_window.cpp) with an
// automatic D24S8 depth-stencil renderbuffer, Present, Reset and device loss, render targets,
// Clear and scenes. Drawing is in Device_draw.cpp, states in Device_states.cpp.
#include "port/d3d9/Internal.h"

#include "port/d3d9/d3d9_gl.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/win32_text.h"
#include "port/win32/win32_log.h"
#include "port/win32/win32_picture.h"
#include "port/win32/win32_sdl.h"
#include "port/win32/winuser.h"

#include <SDL.h>

#include <malloc.h>

#include <algorithm>
#include <cstring>

namespace port::d3d9 {
namespace {

Device* g_current = nullptr;

}  // namespace

Device* deviceOf(IDirect3DDevice9* device) { return static_cast<Device*>(device); }

void loseDevice(IDirect3DDevice9* device) {
    if (device) deviceOf(device)->loseDevice();
}

unsigned defaultPoolResources(IDirect3DDevice9* device) { return device ? deviceOf(device)->defaultResources() : 0; }

unsigned shaderCompilerReleases(IDirect3DDevice9* device) {
    return device ? deviceOf(device)->shaderCompilerReleases() : 0;
}

void lookAtNextPresent(IDirect3DDevice9* device) {
    if (device) deviceOf(device)->lookAtNextPresent();
}

uint64_t lookedAtPicture(IDirect3DDevice9* device, uint64_t& present) {
    present = 0;
    return device ? deviceOf(device)->lookedAtPicture(present) : 0;
}

Device::Device(Direct3D* d3d, HWND window, DWORD behavior) : d3d_(d3d), window_(window), behavior_(behavior) {
    d3d_->AddRef();
    forgetBindings();
}

Device::~Device() {
    bool current = makeCurrent();
    releaseObjects(state_);
    for (Surface** s : {&renderTarget_, &depthStencil_, &backBuffer_, &autoDepth_})
        if (*s) {
            (*s)->Release();
            *s = nullptr;
        }
    std::vector<ResourceBase*> left;
    left.swap(resources_);
    for (ResourceBase* resource : left) resource->orphan();
    if (current) {
        for (auto& [number, fence] : presentFences_) glDeleteSync(fence);
        for (auto& [key, program] : programs_) glDeleteProgram(program);
        GLuint fbos[] = {drawFbo_, readFbo_, blitFbo_};
        glDeleteFramebuffers(3, fbos);
        glDeleteVertexArrays(1, &vao_);
        GLuint buffers[] = {streamVbo_, streamIbo_};
        glDeleteBuffers(2, buffers);
        glDeleteSamplers(PORT_D3D_MAX_SAMPLERS, samplers_);
    }
    if (g_current == this) g_current = nullptr;
    if (context_) {
        SDL_GL_MakeCurrent(sdl_, nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
    }
    if (sdl_) {
        port::win32::setWindowPicture(window_, 0, 0);
        port::win32::releaseWindow(window_);
    }
    d3d_->Release();
}

void Device::resourceCreated(ResourceBase* resource, bool defaultPool) {
    resources_.push_back(resource);
    if (defaultPool) ++defaultResources_;
}

void Device::resourceDestroyed(ResourceBase* resource, bool defaultPool) {
    auto it = std::find(resources_.begin(), resources_.end(), resource);
    if (it != resources_.end()) resources_.erase(it);
    if (defaultPool && defaultResources_ > 0) --defaultResources_;
}

bool Device::makeCurrent() {
    if (!context_) return false;
    if (g_current == this && SDL_GL_GetCurrentContext() == context_) return true;
    if (SDL_GL_MakeCurrent(sdl_, static_cast<SDL_GLContext>(context_)) != 0) return false;
    g_current = this;
    return true;
}

bool Device::create(D3DPRESENT_PARAMETERS& parameters) {
    sdl_ = port::win32::sdlWindow(window_);
    if (!sdl_) {
        port::logLine(port::LogLevel::Error, L"CreateDevice: the focus window is not a live window");
        return false;
    }
    port::win32::retainWindow(window_);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    port::win32::requestWindowFramebuffer();
    context_ = SDL_GL_CreateContext(sdl_);
    if (!context_) {
        port::logLine(port::LogLevel::Error, L"CreateDevice: no OpenGL 3.3 context: " + port::fromUtf8(SDL_GetError()));
        return false;
    }
    g_current = nullptr;
    if (!makeCurrent()) return false;
    glGenFramebuffers(1, &drawFbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, drawFbo_);
    GLenum buffer = GL_COLOR_ATTACHMENT0;
    glDrawBuffers(1, &buffer);
    glGenFramebuffers(1, &readFbo_);
    glGenFramebuffers(1, &blitFbo_);
    glGenVertexArrays(1, &vao_);
    glGenBuffers(1, &streamVbo_);
    glGenBuffers(1, &streamIbo_);
    glGenSamplers(PORT_D3D_MAX_SAMPLERS, samplers_);
    // Unit i samples with sampler object i for the device's whole life.
    for (GLuint unit = 0; unit < PORT_D3D_MAX_SAMPLERS; ++unit) glBindSampler(unit, samplers_[unit]);
    if (SDL_GL_ExtensionSupported("GL_ARB_clip_control"))
        clipControl_ = reinterpret_cast<void (*)(GLenum, GLenum)>(SDL_GL_GetProcAddress("glClipControl"));
    return Reset(&parameters) == D3D_OK;
}

void Device::applyWindowMode(D3DPRESENT_PARAMETERS const& parameters) {
    SDL_GL_SetSwapInterval(parameters.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
    if (port::win32::headlessVideo()) return;
    if (!parameters.Windowed) {
        SDL_DisplayMode want{SDL_PIXELFORMAT_UNKNOWN, static_cast<int>(parameters.BackBufferWidth),
                             static_cast<int>(parameters.BackBufferHeight),
                             static_cast<int>(parameters.FullScreen_RefreshRateInHz), nullptr};
        SDL_DisplayMode closest{};
        int display = std::max(0, SDL_GetWindowDisplayIndex(sdl_));
        if (SDL_GetClosestDisplayMode(display, &want, &closest)) SDL_SetWindowDisplayMode(sdl_, &closest);
        SDL_SetWindowFullscreen(sdl_, SDL_WINDOW_FULLSCREEN);
    } else if (SDL_GetWindowFlags(sdl_) & SDL_WINDOW_FULLSCREEN) {
        SDL_SetWindowFullscreen(sdl_, 0);
    }
}

bool Device::createBackBuffer(D3DPRESENT_PARAMETERS const& p) {
    windowBackBuffer_ = chooseWindowBackBuffer(p, windowDepth_);
    backBuffer_ = new Surface(this, Surface::Kind::RenderTarget, p.BackBufferWidth, p.BackBufferHeight,
                              p.BackBufferFormat, D3DPOOL_DEFAULT, D3DUSAGE_RENDERTARGET, false, windowBackBuffer_);
    if (!backBuffer_->valid()) return false;
    if (p.EnableAutoDepthStencil) {
        autoDepth_ = new Surface(this, Surface::Kind::DepthStencil, p.BackBufferWidth, p.BackBufferHeight,
                                 p.AutoDepthStencilFormat, D3DPOOL_DEFAULT, D3DUSAGE_DEPTHSTENCIL, false, windowDepth_);
        if (!autoDepth_->valid()) return false;
    }
    renderTarget_ = backBuffer_;
    renderTarget_->AddRef();
    ++stencilChanges_;
    if (autoDepth_) {
        depthStencil_ = autoDepth_;
        depthStencil_->AddRef();
    }
    return true;
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* parameters) {
    if (!parameters || !makeCurrent()) return D3DERR_INVALIDCALL;
    if (defaultResources_ > 0) {
        port::logLine(port::LogLevel::Error, L"Reset: " + std::to_wstring(defaultResources_) +
                                                 L" D3DPOOL_DEFAULT resources or state blocks are still alive");
        lost_ = LostState::NotReset;
        return D3DERR_INVALIDCALL;
    }
    D3DPRESENT_PARAMETERS p = *parameters;
    if (p.BackBufferWidth == 0 || p.BackBufferHeight == 0) {
        int w = 0, h = 0;
        windowSize(w, h);
        if (p.BackBufferWidth == 0) p.BackBufferWidth = static_cast<UINT>(std::max(1, w));
        if (p.BackBufferHeight == 0) p.BackBufferHeight = static_cast<UINT>(std::max(1, h));
    }
    if (p.BackBufferFormat == D3DFMT_UNKNOWN) p.BackBufferFormat = D3DFMT_X8R8G8B8;
    if (p.BackBufferCount == 0) p.BackBufferCount = 1;
    if (p.EnableAutoDepthStencil && !formatInfo(p.AutoDepthStencilFormat)) p.AutoDepthStencilFormat = D3DFMT_D24S8;
    *parameters = p;

    releaseObjects(state_);
    for (Surface** s : {&renderTarget_, &depthStencil_, &backBuffer_, &autoDepth_})
        if (*s) {
            (*s)->Release();
            *s = nullptr;
        }
    params_ = p;
    applyWindowMode(p);
    // The size the window got, which the back buffer's place is chosen for.
    port::win32::refreshWindowSize(window_);
    if (!createBackBuffer(p)) {
        port::logLine(port::LogLevel::Error, L"Reset: the back buffer could not be made");
        lost_ = LostState::NotReset;
        return D3DERR_INVALIDCALL;
    }
    setDefaultStates();
    programOverride_ = 0;
    inScene_ = false;
    lost_ = LostState::Ok;
    resizeCount_ = port::win32::externalResizeCount(window_);
    port::win32::setWindowPicture(window_, p.BackBufferWidth, p.BackBufferHeight);
    // Fresh buffers start black, with depth 1 and stencil 0.
    Clear(0, nullptr, D3DCLEAR_TARGET | (autoDepth_ ? D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL : 0), 0xFF000000, 1.0f, 0);
    return D3D_OK;
}

HRESULT Device::TestCooperativeLevel() { return cooperativeLevel(true); }

HRESULT Device::cooperativeLevel(bool lookAtWindow) {
    bool minimized = IsIconic(window_) || (SDL_GetWindowFlags(sdl_) & SDL_WINDOW_MINIMIZED);
    bool active = GetActiveWindow() == window_;
    if (lost_ == LostState::Ok) {
        if (lookAtWindow) port::win32::refreshWindowSize(window_);
        unsigned resizes = port::win32::externalResizeCount(window_);
        if (!params_.Windowed && (minimized || !active)) {
            lost_ = LostState::Lost;
            lostReported_ = false;
        } else if (resizes != resizeCount_) {
            // A window resized from outside, in full screen as in a window (a window manager may
            // give a full-screen window a size of its own): the back buffer is placed anew.
            int w = 0, h = 0;
            windowSize(w, h);
            resizeCount_ = resizes;
            bool const fits = static_cast<UINT>(w) == params_.BackBufferWidth &&
                              static_cast<UINT>(h) == params_.BackBufferHeight;
            if (!fits || !windowBackBuffer_) lost_ = LostState::NotReset;
        }
    }
    if (lost_ == LostState::Lost) {
        bool canReset = params_.Windowed || (active && !minimized);
        if (!lostReported_ || !canReset) {
            lostReported_ = true;
            return D3DERR_DEVICELOST;
        }
        lost_ = LostState::NotReset;
    }
    return lost_ == LostState::NotReset ? D3DERR_DEVICENOTRESET : D3D_OK;
}

HRESULT Device::Present(const RECT*, const RECT*, HWND destWindow, const RGNDATA*) {
    // The window's size was looked at by the check before the frame (a round trip on X11).
    if (cooperativeLevel(false) != D3D_OK) return D3DERR_DEVICELOST;
    if (!makeCurrent()) return D3DERR_DEVICELOST;
    SDL_Window* target = destWindow ? port::win32::sdlWindow(destWindow) : sdl_;
    if (target != sdl_) return D3DERR_INVALIDCALL;  // one window per device
    if (windowBackBuffer_) {
        moveBackBuffer(true);
        windowCleared_ = false;  // what a swap leaves behind is not ours to know
        lookAtPicture();
        SDL_GL_SwapWindow(sdl_);
        fencePresent();
        return D3D_OK;
    }
    int w = 0, h = 0;
    windowSize(w, h);
    bindReadImage(backBuffer_->image());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    pipelineDirty_ = true;
    // Rows are stored top first; the window's origin is at the bottom. The input maps the pointer
    // through the same transform.
    GLint bw = static_cast<GLint>(backBuffer_->width()), bh = static_cast<GLint>(backBuffer_->height());
    RECT const area = port::win32::pictureTransform(w, h, backBuffer_->width(), backBuffer_->height()).area;
    bool const same = area.right - area.left == bw && area.bottom - area.top == bh;
    glBlitFramebuffer(0, 0, bw, bh, area.left, h - area.top, area.right, h - area.bottom, GL_COLOR_BUFFER_BIT,
                      same ? GL_NEAREST : GL_LINEAR);
    lookAtPicture();
    SDL_GL_SwapWindow(sdl_);
    fencePresent();
    return D3D_OK;
}

void Device::lookAtPicture() {
    if (!lookRequested_) return;
    lookRequested_ = false;
    constexpr int kStripRows = 32;  // read a strip at a time: a small buffer for any window size
    int w = 0, h = 0;
    windowSize(w, h);
    if (w <= 0 || h <= 0) return;
    lookPixels_.resize(static_cast<size_t>(w) * kStripRows * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    // 64-bit words mixed as FNV does bytes: a changed pixel changes the hash.
    uint64_t hash = 0xCBF29CE484222325ull;
    for (int y = 0; y < h; y += kStripRows) {
        int const rows = std::min(kStripRows, h - y);
        glReadPixels(0, y, w, rows, GL_BGRA, GL_UNSIGNED_BYTE, lookPixels_.data());
        size_t const bytes = static_cast<size_t>(w) * static_cast<size_t>(rows) * 4;
        for (size_t i = 0; i + 8 <= bytes; i += 8) {
            uint64_t word = 0;
            std::memcpy(&word, lookPixels_.data() + i, 8);
            hash = (hash ^ word) * 0x100000001B3ull;
            hash ^= hash >> 29;
        }
    }
    lookedHash_ = hash;
    lookedPresent_ = presents_ + 1;
}

void Device::fencePresent() {
    constexpr std::size_t kMaxPresentFences = 8;  // a later fence stands for the ones dropped
    ++presents_;
    if (presentFences_.size() >= kMaxPresentFences) {
        glDeleteSync(presentFences_.front().second);
        presentFences_.pop_front();
    }
    if (GLsync fence = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0)) presentFences_.emplace_back(presents_, fence);
    if (compilerHeld_ && ++presentsSinceCompile_ >= port::gl::kQuietPresents) releaseShaderCompiler();
}

void Device::releaseShaderCompiler() {
    using Release = void (*)();
    static auto const release = reinterpret_cast<Release>(SDL_GL_GetProcAddress("glReleaseShaderCompiler"));
    compilerHeld_ = false;
    ++compilerReleases_;
    if (release) release();
    // The compiler's memory lies among live allocations: without a trim the pages stay ours.
    malloc_trim(0);
}

bool Device::finishedBefore(uint64_t present) {
    while (presentsFinished_ < present && !presentFences_.empty()) {
        GLenum const state = glClientWaitSync(presentFences_.front().second, 0, 0);
        if (state != GL_ALREADY_SIGNALED && state != GL_CONDITION_SATISFIED) break;
        presentsFinished_ = presentFences_.front().first;
        glDeleteSync(presentFences_.front().second);
        presentFences_.pop_front();
    }
    return presentsFinished_ >= present;
}

HRESULT Device::GetDirect3D(IDirect3D9** d3d) {
    if (!d3d) return D3DERR_INVALIDCALL;
    d3d_->AddRef();
    *d3d = d3d_;
    return D3D_OK;
}

HRESULT Device::GetDeviceCaps(D3DCAPS9* caps) {
    if (!caps) return D3DERR_INVALIDCALL;
    fillCaps(*caps);
    return D3D_OK;
}

HRESULT Device::GetDisplayMode(UINT, D3DDISPLAYMODE* mode) {
    if (!mode) return D3DERR_INVALIDCALL;
    if (!params_.Windowed) {
        *mode = D3DDISPLAYMODE{params_.BackBufferWidth, params_.BackBufferHeight, params_.FullScreen_RefreshRateInHz,
                               params_.BackBufferFormat};
        return D3D_OK;
    }
    return d3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, mode);
}

HRESULT Device::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    if (!parameters) return D3DERR_INVALIDCALL;
    *parameters = D3DDEVICE_CREATION_PARAMETERS{D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_, behavior_};
    return D3D_OK;
}

void Device::SetCursorPosition(int x, int y, DWORD) {
    POINT p{x, y};
    ClientToScreen(window_, &p);
    SetCursorPos(p.x, p.y);
}

BOOL Device::ShowCursor(BOOL show) {
    static BOOL shown = FALSE;  // the device cursor (no cursor image is supported: the system cursor)
    BOOL old = shown;
    shown = show;
    return old;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE, IDirect3DSurface9** surface) {
    if (!surface || swapChain != 0 || backBuffer != 0 || !backBuffer_) return D3DERR_INVALIDCALL;
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return D3D_OK;
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DTexture9** texture, HANDLE*) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    if ((usage & D3DUSAGE_RENDERTARGET) && pool != D3DPOOL_DEFAULT) return D3DERR_INVALIDCALL;
    auto* t = new Texture(this, width, height, levels, usage, format, pool);
    if (!t->valid())
        port::logLine(port::LogLevel::Warning, L"CreateTexture: format " + std::to_wstring(format) + L" at " +
                                                   std::to_wstring(width) + L"x" + std::to_wstring(height) +
                                                   L" is not supported");
    return handOutCreated(t, texture);
}

HRESULT Device::SetRenderTarget(DWORD index, IDirect3DSurface9* renderTarget) {
    if (index != 0 || !renderTarget) return D3DERR_INVALIDCALL;
    auto* s = static_cast<Surface*>(renderTarget);
    bool drawable = s->valid() && (s->kind() == Surface::Kind::RenderTarget ||
                                   (s->kind() == Surface::Kind::TextureLevel && s->owner()->renderTarget()));
    if (!drawable) return D3DERR_INVALIDCALL;
    s->AddRef();
    if (renderTarget_) renderTarget_->Release();
    renderTarget_ = s;
    state_.viewport = D3DVIEWPORT9{0, 0, s->width(), s->height(), 0.0f, 1.0f};
    pipelineDirty_ = true;
    state_.scissor = RECT{0, 0, static_cast<LONG>(s->width()), static_cast<LONG>(s->height())};
    return D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD index, IDirect3DSurface9** renderTarget) {
    if (index != 0 || !renderTarget) return D3DERR_INVALIDCALL;
    *renderTarget = renderTarget_;
    if (!renderTarget_) return D3DERR_NOTFOUND;
    renderTarget_->AddRef();
    return D3D_OK;
}

HRESULT Device::SetDepthStencilSurface(IDirect3DSurface9* depthStencil) {
    auto* s = static_cast<Surface*>(depthStencil);
    if (s && s->kind() != Surface::Kind::DepthStencil) return D3DERR_INVALIDCALL;
    if (s) s->AddRef();
    if (depthStencil_) depthStencil_->Release();
    depthStencil_ = s;
    ++stencilChanges_;
    pipelineDirty_ = true;  // depth and stencil tests follow the surface's presence
    return D3D_OK;
}

HRESULT Device::GetDepthStencilSurface(IDirect3DSurface9** depthStencil) {
    if (!depthStencil) return D3DERR_INVALIDCALL;
    *depthStencil = depthStencil_;
    if (!depthStencil_) return D3DERR_NOTFOUND;
    depthStencil_->AddRef();
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    if (makeCurrent()) glFlush();
    return D3D_OK;
}

void Device::placeDepth() {
    if (!depthStencil_) return;
    if (renderTarget_->inWindow()) {
        // The window's depth-stencil serves only the automatic one; with another the back buffer
        // moves into its texture until Present.
        if (depthStencil_->onWindow()) moveDepth(*depthStencil_, true);
        else moveBackBuffer(false);
    } else if (depthStencil_->inWindow()) {
        moveDepth(*depthStencil_, false);
    }
}

void Device::bindFramebuffer(bool withDepth) {
    if (withDepth) placeDepth();
    if (renderTarget_->inWindow()) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        setClipOrigin(true);
        windowCleared_ = false;
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, drawFbo_);
    setClipOrigin(false);
    // Changing an attachment makes llvmpipe finish the work queued for the old one: only
    // attach what differs from the last draw.
    auto same = [](GlImage const& a, GlImage const& b) {
        return a.texture == b.texture && a.level == b.level && a.renderbuffer == b.renderbuffer;
    };
    GlImage color = renderTarget_->image();
    if (!attachmentsKnown_ || !same(color, attachedColor_)) {
        attachImage(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, color);
        attachedColor_ = color;
    }
    GlImage depth = withDepth && depthStencil_ ? depthStencil_->image() : GlImage{};
    if (!attachmentsKnown_ || !same(depth, attachedDepth_)) {
        attachImage(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, depth);
        attachedDepth_ = depth;
    }
    attachmentsKnown_ = true;
}

bool Device::depthInUse() const {
    return depthStencil_ && (state_.render[D3DRS_ZENABLE] || state_.render[D3DRS_STENCILENABLE]);
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) {
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depthStencil_) return D3DERR_INVALIDCALL;
    if (!renderTarget_ || !makeCurrent()) return D3DERR_INVALIDCALL;
    D3DVIEWPORT9 const& vp = state_.viewport;
    RECT area{static_cast<LONG>(vp.X), static_cast<LONG>(vp.Y), static_cast<LONG>(vp.X + vp.Width),
              static_cast<LONG>(vp.Y + vp.Height)};
    if (state_.render[D3DRS_SCISSORTESTENABLE]) {
        area.left = std::max(area.left, state_.scissor.left);
        area.top = std::max(area.top, state_.scissor.top);
        area.right = std::min(area.right, state_.scissor.right);
        area.bottom = std::min(area.bottom, state_.scissor.bottom);
    }
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) bits |= GL_COLOR_BUFFER_BIT;
    if (flags & D3DCLEAR_ZBUFFER) bits |= GL_DEPTH_BUFFER_BIT;
    if (flags & D3DCLEAR_STENCIL) {
        bits |= GL_STENCIL_BUFFER_BIT;
        ++stencilChanges_;
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    pipelineDirty_ = true;
    setClearColour(color);
    glClearDepth(z);
    glClearStencil(static_cast<GLint>(stencil & 0xFF));
    std::vector<RECT> cleared;
    auto clip = [&](RECT r) {
        r.left = std::max(r.left, area.left);
        r.top = std::max(r.top, area.top);
        r.right = std::min(r.right, area.right);
        r.bottom = std::min(r.bottom, area.bottom);
        if (r.left < r.right && r.top < r.bottom) cleared.push_back(r);
    };
    if (count == 0 || !rects) {
        clip(area);
    } else {
        for (DWORD i = 0; i < count; ++i) clip(RECT{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2});
    }
    bool depthBits = (bits & (GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT)) != 0;
    if (depthBits && renderTarget_->inWindow() && depthStencil_->onWindow()) {
        // Into the window's own depth-stencil: its old values matter only where the clear
        // leaves some.
        RECT const all{0, 0, static_cast<LONG>(depthStencil_->width()), static_cast<LONG>(depthStencil_->height())};
        bool const whole = (bits & GL_DEPTH_BUFFER_BIT) && (bits & GL_STENCIL_BUFFER_BIT) && cleared.size() == 1 &&
                           cleared[0].left <= all.left && cleared[0].top <= all.top &&
                           cleared[0].right >= all.right && cleared[0].bottom >= all.bottom;
        moveDepth(*depthStencil_, true, !whole);
    }
    glEnable(GL_SCISSOR_TEST);
    if (renderTarget_->inWindow() && depthBits && !depthStencil_->inWindow()) {
        clearBeside(cleared, bits);
    } else {
        // Depth stays attached while in use, as draws have it (attachments change only on need).
        bindFramebuffer(depthBits || (depthInUse() && !renderTarget_->inWindow()));
        GlImage target = renderTarget_->image();
        for (RECT const& r : cleared) {
            glScissor(r.left, glRow(target, r.top, r.bottom - r.top), r.right - r.left, r.bottom - r.top);
            glClear(bits);
        }
    }
    glDisable(GL_SCISSOR_TEST);
    RECT const whole{0, 0, static_cast<LONG>(renderTarget_->width()), static_cast<LONG>(renderTarget_->height())};
    if (renderTarget_->inWindow() && (flags & D3DCLEAR_TARGET) && cleared.size() == 1 &&
        cleared[0].left == whole.left && cleared[0].top == whole.top && cleared[0].right == whole.right &&
        cleared[0].bottom == whole.bottom) {
        windowCleared_ = true;
        windowClearColour_ = color;
    }
    return D3D_OK;
}

}  // namespace port::d3d9
