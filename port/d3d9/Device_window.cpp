// The back buffer in the window's own framebuffer. Drawing there saves a software rasteriser
// the copy of a texture back buffer at every Present, but GL counts the window's rows from the
// bottom: the clip origin is turned to the upper left while the window is the target (so
// pictures, winding and stencil faces come out as in textures) and viewport, scissor, reads and
// copies turn the rows over. The window's depth-stencil serves the back buffer; a depth surface
// used with both the window and textures has its values copied between the window and its own
// renderbuffer when it changes sides. Where the window cannot give what the present parameters
// ask, the back buffer stays a texture copied to the window at Present.
#include "port/d3d9/Internal.h"

#include "port/win32/win32_log.h"

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

bool Device::chooseWindowBackBuffer(D3DPRESENT_PARAMETERS const& p) {
    std::wstring refusal;
    int w = 0, h = 0, surfaceWidth = 0, surfaceHeight = 0;
    SDL_GL_GetDrawableSize(sdl_, &w, &h);
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
    } else if (defaultFramebufferSize(GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE) < kDepthBits ||
               defaultFramebufferSize(GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE) < kStencilBits) {
        refusal = L"the window has no D24S8 depth-stencil";
    }
    while (glGetError() != GL_NO_ERROR) {
    }
    std::wstring choice = refusal.empty() ? L"Direct3D device: the back buffer is the window's framebuffer"
                                          : L"Direct3D device: the back buffer is a texture copied to the window (" +
                                                refusal + L")";
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

void Device::depthSurfaceDestroyed(Surface* surface) {
    if (windowDepthHolder_ == surface) windowDepthHolder_ = nullptr;
    if (depthDiscard_ == surface) depthDiscard_ = nullptr;
}

bool Device::depthOffWindow(Surface* surface) {
    if (surface->kind() != Surface::Kind::DepthStencil) return true;
    if (surface == windowDepthHolder_) evictWindowDepth();
    return surface->ensureStorage();
}

namespace {

// Copies the depth and stencil of the top `width` x `height` rows between the window's
// framebuffer and a surface's (bound for reading and drawing), turning the rows over.
void blitDepth(bool toWindow, GLint width, GLint height, GLint windowHeight) {
    glDisable(GL_SCISSOR_TEST);
    GLint top = windowHeight, bottom = windowHeight - height;
    while (glGetError() != GL_NO_ERROR) {
    }
    if (toWindow)
        glBlitFramebuffer(0, 0, width, height, 0, top, width, bottom, GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT,
                          GL_NEAREST);
    else
        glBlitFramebuffer(0, top, width, bottom, 0, 0, width, height, GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT,
                          GL_NEAREST);
    // A driver whose window depth-stencil differs from GL_DEPTH24_STENCIL8 refuses the copy.
    static bool logged = false;
    if (glGetError() != GL_NO_ERROR && !logged) {
        logged = true;
        port::logLine(port::LogLevel::Error, L"Direct3D device: depth values could not be copied to or from the window");
    }
}

}  // namespace

void Device::evictWindowDepth() {
    Surface* surface = windowDepthHolder_;
    windowDepthHolder_ = nullptr;
    if (!surface || !surface->ensureStorage()) {
        port::logLine(port::LogLevel::Error, L"Direct3D device: no storage for depth values leaving the window");
        return;
    }
    if (surface == depthDiscard_) return;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    bindDrawImage(surface->image());
    GLint width = static_cast<GLint>(std::min(surface->width(), backBuffer_->width()));
    GLint height = static_cast<GLint>(std::min(surface->height(), backBuffer_->height()));
    blitDepth(false, width, height, static_cast<GLint>(backBuffer_->height()));
    pipelineDirty_ = true;
}

void Device::moveDepthToWindow(Surface* surface) {
    if (windowDepthHolder_) evictWindowDepth();
    windowDepthHolder_ = surface;
    GlImage image = surface->image();
    if (!image.renderbuffer || surface == depthDiscard_) return;  // no values yet, or about to be cleared
    bindReadImage(image);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    GLint width = static_cast<GLint>(std::min(surface->width(), backBuffer_->width()));
    GLint height = static_cast<GLint>(std::min(surface->height(), backBuffer_->height()));
    blitDepth(true, width, height, static_cast<GLint>(backBuffer_->height()));
    pipelineDirty_ = true;
}

void preferTextureBackBuffer(bool texture) { g_textureBackBuffer = texture; }

bool backBufferOnWindow(IDirect3DDevice9* device) { return device && deviceOf(device)->backBufferOnWindow(); }

}  // namespace port::d3d9
