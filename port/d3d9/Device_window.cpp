// The back buffer in the window's own framebuffer. Drawing there saves a software rasteriser
// the copy of a texture back buffer at every Present, but GL counts the window's rows from the
// bottom: the clip origin is turned to the upper left while the window is the target (so
// pictures, winding and stencil faces come out as in textures) and viewport, scissor, reads and
// copies turn the rows over. The window is made with a 24-bit depth and 8-bit stencil buffer,
// which holds the automatic depth-stencil surface while the back buffer is the target, so frames
// that test depth or stencil (every GUI frame clips by stencil) stay in the window. Used with a
// texture target the automatic depth-stencil moves into a renderbuffer of its own, and back when
// the window is the target again. A depth-stencil surface of another kind cannot be the window's:
// the first draw that tests depth or stencil with it on the back buffer moves the back buffer's
// pixels into a texture of its own, where they stay until Present copies them back. Either
// storage is made only when first needed. Where the window cannot give what the present
// parameters ask, the back buffer stays a texture copied to the window at Present, and the
// automatic depth-stencil a renderbuffer.
#include "port/d3d9/Internal.h"

#include "port/win32/win32_log.h"
#include "port/win32/win32_sdl.h"

#include <EGL/egl.h>
#include <SDL.h>

namespace port::d3d9 {
namespace {

constexpr GLint kColourBits = 8;
constexpr GLint kDepthBits = 24;
constexpr GLint kStencilBits = 8;

bool g_textureBackBuffer = false;

GLint defaultFramebufferSize(GLenum attachment, GLenum size) {
    GLint type = GL_NONE;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    GLint bits = 0;
    if (type != GL_NONE) glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, size, &bits);
    return bits;
}

// The size GL draws into where EGL made the window's surface: SDL's offscreen driver keeps the
// surface it made first when the window is resized. False where EGL does not draw the window.
bool eglSurfaceSize(int& width, int& height) {
    EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
    if (surface == EGL_NO_SURFACE) return false;
    EGLint w = 0, h = 0;
    EGLDisplay display = eglGetCurrentDisplay();
    if (!eglQuerySurface(display, surface, EGL_WIDTH, &w) || !eglQuerySurface(display, surface, EGL_HEIGHT, &h))
        return false;
    width = w;
    height = h;
    return true;
}

}  // namespace

void Device::windowSize(int& width, int& height) const {
    if (!port::win32::windowClientSize(window_, width, height)) SDL_GL_GetDrawableSize(sdl_, &width, &height);
}

bool Device::chooseWindowBackBuffer(D3DPRESENT_PARAMETERS const& p, bool& windowDepth) {
    windowDepth = false;
    std::wstring refusal;
    int w = 0, h = 0, surfaceWidth = 0, surfaceHeight = 0;
    windowSize(w, h);
    if (!eglSurfaceSize(surfaceWidth, surfaceHeight)) surfaceWidth = w, surfaceHeight = h;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint samples = 0;
    glGetIntegerv(GL_SAMPLES, &samples);
    if (g_textureBackBuffer) {
        refusal = L"a texture back buffer was asked for";
    } else if (!clipControl_) {
        refusal = L"GL has no clip control to keep Direct3D's rows";
    } else if (p.BackBufferFormat != D3DFMT_X8R8G8B8 && p.BackBufferFormat != D3DFMT_A8R8G8B8) {
        refusal = L"the back buffer format is not 8-bit RGB";
    } else if (p.MultiSampleType != D3DMULTISAMPLE_NONE || samples != 0) {
        refusal = L"multisampling differs";
    } else if (static_cast<UINT>(w) != p.BackBufferWidth || static_cast<UINT>(h) != p.BackBufferHeight ||
               surfaceWidth != w || surfaceHeight != h) {
        refusal = L"the window is " + std::to_wstring(w) + L"x" + std::to_wstring(h) + L", its GL surface " +
                  std::to_wstring(surfaceWidth) + L"x" + std::to_wstring(surfaceHeight);
    } else if (defaultFramebufferSize(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_RED_SIZE) != kColourBits ||
               defaultFramebufferSize(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE) != kColourBits) {
        refusal = L"the window has no 8-bit alpha channel";  // the back buffer keeps alpha
    }
    // The automatic depth-stencil is the window's where the window has one of its kind.
    bool const depthFormat = p.AutoDepthStencilFormat == D3DFMT_D24S8 || p.AutoDepthStencilFormat == D3DFMT_D24X8;
    windowDepth = refusal.empty() && p.EnableAutoDepthStencil && depthFormat &&
                  defaultFramebufferSize(GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE) == kDepthBits &&
                  defaultFramebufferSize(GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE) == kStencilBits;
    while (glGetError() != GL_NO_ERROR) {
    }
    std::wstring choice = !refusal.empty()
                              ? L"Direct3D device: the back buffer is a texture copied to the window (" + refusal + L")"
                          : windowDepth ? L"Direct3D device: the back buffer is the window's framebuffer, with its "
                                          L"depth-stencil"
                                        : L"Direct3D device: the back buffer is the window's framebuffer";
    if (choice != loggedChoice_) {
        port::logLine(port::LogLevel::Info, choice);
        loggedChoice_ = choice;
    }
    return refusal.empty();
}

void Device::setClipOrigin(bool upperLeft) {
    int origin = upperLeft ? 1 : 0;
    if (origin == clipOrigin_ || !clipControl_) return;
    clipControl_(upperLeft ? GL_UPPER_LEFT : GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    clipOrigin_ = origin;
}

void Device::moveBackBuffer(bool toWindow) {
    Surface* back = backBuffer_;
    if (!back || !back->onWindow() || back->inWindow() == toWindow || !back->makeStorage()) return;
    ++storageMoves_;
    back->setInWindow(false);
    GlImage texture = back->image();
    GlImage window{0, 0, 0, false, texture.width, texture.height, true};
    bool cleared = !toWindow && windowCleared_;
    bindDrawImage(toWindow ? window : texture);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    pipelineDirty_ = true;  // viewport and scissor rows follow the place
    if (cleared) {
        setClearColour(windowClearColour_);
        glClear(GL_COLOR_BUFFER_BIT);
    } else {
        bindReadImage(toWindow ? texture : window);
        GLint w = static_cast<GLint>(texture.width), h = static_cast<GLint>(texture.height);
        glBlitFramebuffer(0, 0, w, h, 0, h, w, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);  // rows turned over
    }
    windowCleared_ = false;
    back->setInWindow(toWindow);
}

void Device::moveDepth(Surface& depth, bool toWindow, bool keep) {
    if (!depth.onWindow() || depth.inWindow() == toWindow || !depth.makeStorage()) return;
    ++storageMoves_;
    depth.setInWindow(false);
    GlImage own = depth.image();
    if (keep) {
        // The window's side bound directly: its colour is untouched (a whole clear stays known).
        glBindFramebuffer(toWindow ? GL_DRAW_FRAMEBUFFER : GL_READ_FRAMEBUFFER, 0);
        if (toWindow) bindReadImage(own);
        else bindDrawImage(own);
        glDisable(GL_SCISSOR_TEST);
        glDepthMask(GL_TRUE);
        glStencilMask(0xFF);
        pipelineDirty_ = true;
        GLint w = static_cast<GLint>(own.width), h = static_cast<GLint>(own.height);
        glBlitFramebuffer(0, 0, w, h, 0, h, w, 0, GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, GL_NEAREST);  // rows turned over
    }
    depth.setInWindow(toWindow);
}

void Device::clearBeside(std::vector<RECT> const& rects, GLbitfield bits) {
    GlImage window = renderTarget_->image();
    if (bits & GL_COLOR_BUFFER_BIT) {
        bindFramebuffer(false);
        for (RECT const& r : rects) {
            glScissor(r.left, glRow(window, r.top, r.bottom - r.top), r.right - r.left, r.bottom - r.top);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    }
    bindDrawImage(depthStencil_->image());
    for (RECT const& r : rects) {
        glScissor(r.left, r.top, r.right - r.left, r.bottom - r.top);
        glClear(bits & (GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT));
    }
}

void preferTextureBackBuffer(bool texture) { g_textureBackBuffer = texture; }

bool backBufferOnWindow(IDirect3DDevice9* device) { return device && deviceOf(device)->backBufferOnWindow(); }

bool depthStencilOnWindow(IDirect3DDevice9* device) { return device && deviceOf(device)->depthStencilOnWindow(); }

unsigned windowStorageMoves(IDirect3DDevice9* device) { return device ? deviceOf(device)->windowStorageMoves() : 0; }

uint64_t stencilChanges(IDirect3DDevice9* device) { return device ? deviceOf(device)->stencilChanges() : 0; }

}  // namespace port::d3d9
