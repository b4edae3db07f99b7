// Internal classes of the Direct3D 9 layer: the device, textures, surfaces, buffers and state
// blocks, with the GL objects behind them. Not for use outside port/d3d9.
//
// Files: Device.cpp (the context, the back buffer, Present, Reset and loss, render targets,
// Clear and scenes), Device_states.cpp (recorded states, streams and state blocks),
// Device_draw.cpp (FVF layouts, GL state at each draw, the draw calls), Device_window.cpp (the
// back buffer in the window's framebuffer), Programs.cpp (the built-in and caller programs and
// their uniforms), Surface.cpp (surfaces and the device's copies between them), Buffers.cpp
// (vertex and index buffers), Texture.cpp (textures), Formats.cpp (the format table),
// Direct3D.cpp (the Direct3D object).
#pragma once

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "port/d3d9/d3d9.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/ComObject.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

struct SDL_Window;

namespace port::d3d9 {

class Device;
class Texture;

// How a Direct3D format is stored in memory and uploaded to GL (internalFormat 0: formats only
// converted on the CPU, which the device does not store).
struct FormatInfo : PixelFormat {
    GLenum internalFormat = 0;
    GLenum uploadFormat = 0;
    GLenum uploadType = 0;
    GLint swizzle[4] = {GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA};
};
// Null for formats the device does not store.
FormatInfo const* formatInfo(D3DFORMAT format);
// Bytes of one row of `width` pixels (block formats: one row of blocks).
unsigned rowPitch(FormatInfo const& info, unsigned width);
// Rows in memory for `height` pixels (block formats: rows of blocks).
unsigned rowCount(FormatInfo const& info, unsigned height);

// glClearColor of a Direct3D colour (0xAARRGGBB).
inline void setClearColour(DWORD c) {
    glClearColor(((c >> 16) & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f, (c & 0xFF) / 255.0f,
                 ((c >> 24) & 0xFF) / 255.0f);
}

// Every resource knows its device (without holding a reference, so bound resources make no
// cycles) and whether it counts against Reset. A device that goes away first orphans its
// resources: their GL objects are freed and their calls fail from then on.
class ResourceBase {
public:
    ResourceBase(Device* device, bool defaultPool);
    virtual ~ResourceBase();
    Device* device() const { return device_; }
    // GetDevice of every resource: the device with a reference; D3DERR_INVALIDCALL once orphaned.
    HRESULT handOutDevice(IDirect3DDevice9** device) const;
    // The device is going away: free GL objects (its context is current), forget the device.
    virtual void orphan() = 0;

protected:
    Device* device_;
    bool defaultPool_;
};

// The end of every Create call: hands out the new resource when its GL side came to be,
// otherwise releases it and fails.
template <class Out, class Resource>
HRESULT handOutCreated(Resource* made, Out** out) {
    if (!made->valid()) {
        made->Release();
        return D3DERR_INVALIDCALL;
    }
    *out = made;
    return D3D_OK;
}

// A GL surface to draw into or read from: a texture level or a renderbuffer.
struct GlImage {
    GLuint texture = 0;
    GLint level = 0;
    GLuint renderbuffer = 0;
    bool depth = false;
    unsigned width = 0;
    unsigned height = 0;
    bool window = false;  // the window's own framebuffer (colour: the back buffer drawn in place)
};

class Surface : public port::ComObject<IDirect3DSurface9, IID_IDirect3DResource9, IID_IDirect3DSurface9>,
                public ResourceBase {
public:
    enum class Kind { TextureLevel, RenderTarget, DepthStencil, SystemMemory };
    // A level of a texture (reference counts go to the texture).
    Surface(Texture* owner, UINT level);
    // A stand-alone surface. The device's own back buffer and depth surface do not count
    // against Reset (countsForReset false). `onWindow`: the back buffer drawn in the window's
    // own framebuffer, or the automatic depth-stencil kept in the window's own; it starts in the
    // window and gets a texture (a renderbuffer) only when its pixels first have to leave it
    // (see Device_window.cpp).
    Surface(Device* device, Kind kind, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool, DWORD usage,
            bool countsForReset = true, bool onWindow = false);
    ~Surface() override;

    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT GetDevice(IDirect3DDevice9** device) override { return handOutDevice(device); }
    DWORD SetPriority(DWORD) override { return 0; }
    DWORD GetPriority() override { return 0; }
    void PreLoad() override {}
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_SURFACE; }
    HRESULT GetContainer(REFIID riid, void** container) override;
    HRESULT GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect() override;

    void orphan() override;
    Kind kind() const { return kind_; }
    Texture* owner() const { return owner_; }
    UINT level() const { return level_; }
    bool valid() const { return valid_; }
    GlImage image() const;
    // The back buffer or the depth-stencil of the window, and whether its pixels are in the
    // window now (else in its own texture or renderbuffer).
    bool onWindow() const { return onWindow_; }
    bool inWindow() const { return onWindow_ && inWindow_; }
    void setInWindow(bool inWindow) { inWindow_ = inWindow; }
    // The texture (colour) or renderbuffer (depth-stencil) outside the window, made on the first
    // call; false when GL cannot make it.
    bool makeStorage();
    D3DFORMAT format() const { return format_; }
    UINT width() const { return width_; }
    UINT height() const { return height_; }
    // System-memory surfaces: their bytes.
    std::vector<uint8_t>& memory() { return memory_; }
    unsigned pitch() const;

private:
    Kind kind_;
    Texture* owner_ = nullptr;
    UINT level_ = 0;
    UINT width_ = 0;
    UINT height_ = 0;
    D3DFORMAT format_ = D3DFMT_UNKNOWN;
    D3DPOOL pool_ = D3DPOOL_DEFAULT;
    DWORD usage_ = 0;
    bool valid_ = false;
    bool onWindow_ = false;
    bool inWindow_ = false;
    GLuint texture_ = 0;
    GLuint renderbuffer_ = 0;
    std::vector<uint8_t> memory_;
    bool locked_ = false;
};

class Texture : public port::ComObject<IDirect3DTexture9, IID_IDirect3DResource9, IID_IDirect3DBaseTexture9,
                                      IID_IDirect3DTexture9>,
                public ResourceBase {
public:
    Texture(Device* device, UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    ~Texture() override;
    bool valid() const { return gl_ != 0; }

    HRESULT GetDevice(IDirect3DDevice9** device) override { return handOutDevice(device); }
    DWORD SetPriority(DWORD) override { return 0; }
    DWORD GetPriority() override { return 0; }
    void PreLoad() override {}
    D3DRESOURCETYPE GetType() override { return D3DRTYPE_TEXTURE; }
    DWORD SetLOD(DWORD lod) override;
    DWORD GetLOD() override { return lod_; }
    DWORD GetLevelCount() override { return static_cast<DWORD>(levels_.size()); }
    HRESULT SetAutoGenFilterType(D3DTEXTUREFILTERTYPE filter) override;
    D3DTEXTUREFILTERTYPE GetAutoGenFilterType() override { return autoGenFilter_; }
    void GenerateMipSubLevels() override;
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT UnlockRect(UINT level) override;
    HRESULT AddDirtyRect(const RECT*) override { return D3D_OK; }

    void orphan() override;
    GLuint gl() const { return gl_; }
    D3DFORMAT format() const { return format_; }
    DWORD usage() const { return usage_; }
    D3DPOOL pool() const { return pool_; }
    UINT levelWidth(UINT level) const { return levels_[level].width; }
    UINT levelHeight(UINT level) const { return levels_[level].height; }
    bool renderTarget() const { return (usage_ & D3DUSAGE_RENDERTARGET) != 0; }
    // Copies rows into a level's memory and uploads them (UpdateSurface).
    HRESULT writeRect(UINT level, RECT const& rect, uint8_t const* bytes, unsigned pitch);

private:
    struct Level {
        UINT width = 0;
        UINT height = 0;
        // The level in its Direct3D format while a lock needs it (never for render targets).
        // After the first write GL alone keeps the pixels; a later lock reads them back and the
        // memory then stays, as such levels are written again and again.
        std::vector<uint8_t> memory;
        unsigned locks = 0;
        bool filled = false;  // GL holds pixels written through a lock or writeRect
        bool locked = false;
        bool readOnly = false;
        RECT lockRect{};
        std::unique_ptr<Surface> surface;
    };
    // Gives the level memory holding its pixels (read back from GL when dropped), unless the
    // caller overwrites them (discard).
    void provideMemory(UINT level, bool discard);
    // Uploads a rectangle of the level's memory.
    void upload(UINT level, RECT const& rect);
    // Uploads a rectangle of an uncompressed level from rows starting at start, pitch bytes apart.
    void uploadRect(UINT level, RECT const& rect, uint8_t const* start, unsigned pitch);

    std::vector<Level> levels_;
    FormatInfo const* info_ = nullptr;
    D3DFORMAT format_;
    DWORD usage_;
    D3DPOOL pool_;
    DWORD lod_ = 0;
    D3DTEXTUREFILTERTYPE autoGenFilter_ = D3DTEXF_LINEAR;
    GLuint gl_ = 0;
};

// Vertex and index buffers: memory of the whole buffer, uploaded to GL at Unlock.
template <class Interface>
inline constexpr IID const& kBufferIid =
    std::is_same_v<Interface, IDirect3DVertexBuffer9> ? IID_IDirect3DVertexBuffer9 : IID_IDirect3DIndexBuffer9;

template <class Interface, class Desc>
class Buffer : public port::ComObject<Interface, IID_IDirect3DResource9, kBufferIid<Interface>>, public ResourceBase {
public:
    Buffer(Device* device, UINT length, DWORD usage, D3DPOOL pool, D3DFORMAT format, DWORD fvf);
    ~Buffer() override;
    bool valid() const { return gl_ != 0; }

    HRESULT GetDevice(IDirect3DDevice9** device) override { return handOutDevice(device); }
    DWORD SetPriority(DWORD) override { return 0; }
    DWORD GetPriority() override { return 0; }
    void PreLoad() override {}
    D3DRESOURCETYPE GetType() override;
    HRESULT Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT Unlock() override;
    HRESULT GetDesc(Desc* desc) override;

    void orphan() override;
    GLuint gl() const { return gl_; }
    D3DFORMAT format() const { return format_; }
    UINT size() const { return length_; }

private:
    // Dynamic write-only buffers are locked straight in GL's storage (nothing is read back).
    bool mapsGl() const { return (usage_ & D3DUSAGE_DYNAMIC) && (usage_ & D3DUSAGE_WRITEONLY); }
    HRESULT lockMapped(UINT offset, DWORD flags, void** data);
    // DISCARD of a mapped buffer: storage no draw in flight reads.
    void takeFreeStorage();

    std::vector<uint8_t> memory_;  // the buffer's bytes, except where GL's storage is locked
    UINT length_ = 0;
    uint8_t* mapped_ = nullptr;
    // Mapped buffers: the storage a DISCARD moved away from, and the presents made by then.
    GLuint spare_ = 0;
    uint64_t spareRetired_ = 0;

    DWORD usage_;
    D3DPOOL pool_;
    D3DFORMAT format_;
    DWORD fvf_;
    GLuint gl_ = 0;
    int locks_ = 0;
    UINT dirtyBegin_ = 0;
    UINT dirtyEnd_ = 0;
    bool discard_ = false;
};
using VertexBuffer = Buffer<IDirect3DVertexBuffer9, D3DVERTEXBUFFER_DESC>;
using IndexBuffer = Buffer<IDirect3DIndexBuffer9, D3DINDEXBUFFER_DESC>;

// Transforms kept by the device: VIEW, PROJECTION, TEXTURE0..7, WORLD..WORLD3.
constexpr int kTransformCount = 14;
int transformSlot(D3DTRANSFORMSTATETYPE state);

// The device state a state block saves. Pointers hold one reference each.
struct StateSet {
    DWORD render[D3DRS_MAX_STATE] = {};
    DWORD stage[PORT_D3D_MAX_STAGES][D3DTSS_MAX_STATE] = {};
    DWORD sampler[PORT_D3D_MAX_SAMPLERS][D3DSAMP_MAX_STATE] = {};
    D3DMATRIX transforms[kTransformCount] = {};
    D3DVIEWPORT9 viewport{};
    RECT scissor{};
    DWORD fvf = 0;
    IDirect3DBaseTexture9* textures[PORT_D3D_MAX_SAMPLERS] = {};
    VertexBuffer* stream = nullptr;
    UINT streamOffset = 0;
    UINT streamStride = 0;
    IndexBuffer* indices = nullptr;
};
// Takes the references of the source's objects into the target (releasing the target's).
void assignObjects(StateSet& target, StateSet const& source);
void releaseObjects(StateSet& set);

bool isPixelRenderState(DWORD state);
bool isVertexRenderState(DWORD state);

class StateBlock : public port::ComObject<IDirect3DStateBlock9, IID_IDirect3DStateBlock9>, public ResourceBase {
public:
    StateBlock(Device* device, D3DSTATEBLOCKTYPE type);
    ~StateBlock() override;
    HRESULT GetDevice(IDirect3DDevice9** device) override { return handOutDevice(device); }
    HRESULT Capture() override;
    HRESULT Apply() override;
    void orphan() override { device_ = nullptr; }

private:
    D3DSTATEBLOCKTYPE type_;
    StateSet saved_;
};

// Locations of the uniforms the device sets in a program, and the values it last gave the
// screen mapping, the alpha test and the texture factor (a draw sets only what changed).
struct ProgramUniforms {
    GLint screenToClip = -1;
    GLint alphaTest = -1;
    GLint worldViewProjection = -1;
    GLint textureFactor = -1;
    GLint sampler[2] = {-1, -1};
    bool valuesKnown = false;
    float screenToClipValue[4] = {};
    GLint alphaTestValue[2] = {};
    DWORD textureFactorValue = 0;
};

class Direct3D;

class Device : public port::ComObject<IDirect3DDevice9, IID_IDirect3DDevice9> {
public:
    Device(Direct3D* d3d, HWND window, DWORD behavior);
    ~Device() override;
    // Context, back buffer and default states; false (logged) when GL cannot start.
    bool create(D3DPRESENT_PARAMETERS& parameters);

    HRESULT TestCooperativeLevel() override;
    UINT GetAvailableTextureMem() override { return 512u * 1024u * 1024u; }
    HRESULT EvictManagedResources() override { return D3D_OK; }
    HRESULT GetDirect3D(IDirect3D9** d3d) override;
    HRESULT GetDeviceCaps(D3DCAPS9* caps) override;
    HRESULT GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) override;
    HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) override;
    void SetCursorPosition(int x, int y, DWORD flags) override;
    BOOL ShowCursor(BOOL show) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* source, const RECT* dest, HWND destWindow, const RGNDATA* dirtyRegion) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) override;
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer,
                               HANDLE* sharedHandle) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer,
                              HANDLE* sharedHandle) override;
    HRESULT CreateRenderTarget(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                               DWORD multisampleQuality, BOOL lockable, IDirect3DSurface9** surface,
                               HANDLE* sharedHandle) override;
    HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                      DWORD multisampleQuality, BOOL discard, IDirect3DSurface9** surface,
                                      HANDLE* sharedHandle) override;
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** surface, HANDLE* sharedHandle) override;
    HRESULT UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                          const POINT* destPoint) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* dest) override;
    HRESULT StretchRect(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                        const RECT* destRect, D3DTEXTUREFILTERTYPE filter) override;
    HRESULT ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) override;
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* renderTarget) override;
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** renderTarget) override;
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* depthStencil) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** depthStencil) override;
    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z, DWORD stencil) override;
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT CreateStateBlock(D3DSTATEBLOCKTYPE type, IDirect3DStateBlock9** block) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT ValidateDevice(DWORD* passes) override;
    HRESULT SetScissorRect(const RECT* rect) override;
    HRESULT GetScissorRect(RECT* rect) override;
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex, UINT numVertices,
                                 UINT startIndex, UINT primitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT vertexStride) override;
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT numVertices, UINT primitiveCount,
                                   const void* indexData, D3DFORMAT indexFormat, const void* vertexData,
                                   UINT vertexStride) override;
    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) override;
    HRESULT GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* indices) override;
    HRESULT GetIndices(IDirect3DIndexBuffer9** indices) override;

    // Layer internals.
    bool makeCurrent();
    // The state for writing by the layer itself (state blocks): the GL pipeline state is made
    // again at the next draw.
    StateSet& state() {
        pipelineDirty_ = true;
        return state_;
    }
    // GL state the draws set was changed by other work (Clear, copies, Present, new targets).
    void dirtyPipeline() { pipelineDirty_ = true; }
    void resourceCreated(ResourceBase* resource, bool defaultPool);
    void resourceDestroyed(ResourceBase* resource, bool defaultPool);
    unsigned defaultResources() const { return defaultResources_; }
    void loseDevice() { lost_ = LostState::Lost; lostReported_ = false; }
    void setProgramOverride(GLuint program);
    GLuint programOverride() const { return programOverride_; }
    // Draws with `program` while the alpha test is off use `withoutAlphaTest` (0 forgets).
    void setAlphaTestVariant(GLuint program, GLuint withoutAlphaTest);
    // A GL texture, renderbuffer or buffer is about to be deleted: its name may come back for
    // another object, so the framebuffer attachments and vertex attributes are set again at the
    // next draw.
    void forgetBindings() {
        attachmentsKnown_ = bindingKnown_ = false;
        std::fill(std::begin(boundTextures_), std::end(boundTextures_), kUnknownName);
    }
    // Binds a texture on unit 0 (the active unit outside draws) for uploads and other work, so
    // the draws know what unit 0 holds.
    void bindWorkTexture(GLuint texture);
    // Makes the program current (layers above that set uniforms use this, so the draws know
    // which program GL has).
    void useProgram(GLuint program);
    // Binds a framebuffer with the image as colour (or depth-stencil) attachment for reading.
    void bindReadImage(GlImage const& image);
    void bindDrawImage(GlImage const& image);
    // The GL row (from the bottom) of the lower edge of `height` rows from `top` (Direct3D rows,
    // top first) of an image: the same row in textures, turned over in the window.
    GLint glRow(GlImage const& image, LONG top, LONG height) const {
        return image.window ? static_cast<GLint>(image.height) - static_cast<GLint>(top + height)
                            : static_cast<GLint>(top);
    }
    // Whether the back buffer is the window's own framebuffer (else a texture copied at Present),
    // and the automatic depth-stencil the window's own; the copies of either between the window
    // and their own storage so far.
    bool backBufferOnWindow() const { return windowBackBuffer_; }
    bool depthStencilOnWindow() const { return windowDepth_; }
    unsigned windowStorageMoves() const { return storageMoves_; }
    // Operations that may have changed the stencil in use (d3d9_port.h, stencilChanges).
    uint64_t stencilChanges() const { return stencilChanges_; }
    // Presents made so far, and whether GL has finished the work issued before present number
    // `present` (a fence follows every Present).
    uint64_t presentCount() const { return presents_; }
    // d3d9_gl.h: a shader was compiled; the compiler is released after kQuietPresents presents
    // without another.
    void noteShaderCompiled() { presentsSinceCompile_ = 0, compilerHeld_ = true; }
    unsigned shaderCompilerReleases() const { return compilerReleases_; }
    bool finishedBefore(uint64_t present);
    // d3d9_port.h: the picture of the next Present is read and hashed.
    void lookAtNextPresent() { lookRequested_ = true; }
    uint64_t lookedAtPicture(uint64_t& present) const {
        present = lookedPresent_;
        return lookedHash_;
    }

private:
    enum class LostState { Ok, Lost, NotReset };
    bool createBackBuffer(D3DPRESENT_PARAMETERS const& parameters);
    void applyWindowMode(D3DPRESENT_PARAMETERS const& parameters);
    // TestCooperativeLevel; lookAtWindow asks the display for the window's size first.
    HRESULT cooperativeLevel(bool lookAtWindow);
    void setDefaultStates();
    // Binds the draw framebuffer with the render target, and the depth-stencil surface when
    // `withDepth`; attachments change only when they differ from the last ones.
    void bindFramebuffer(bool withDepth);
    bool depthInUse() const;
    bool alphaTestInUse() const;
    void applyPipelineState(bool pretransformed);
    void applySamplers();
    GLuint builtInProgram(bool pretransformed, DWORD fvf, bool alphaTest);
    ProgramUniforms& uniformsOf(GLuint program);
    ProgramUniforms& lookUpUniforms(GLuint program);
    void setProgramUniforms(GLuint program, bool pretransformed);
    bool prepareDraw(DWORD fvf, GLuint vertexBuffer, size_t vertexOffset, UINT stride);
    // Whether a draw with the present states may change stencil values.
    bool writesStencil() const;
    void attachImage(GLenum target, GLenum attachment, GlImage const& image);
    // Device_window.cpp: whether the window's framebuffer can be the back buffer for these
    // parameters (logged when the choice changes), the clip origin of the current target, and
    // the back buffer's pixels moved between the window and its texture.
    bool chooseWindowBackBuffer(D3DPRESENT_PARAMETERS const& parameters, bool& windowDepth);
    // The window's client size as the display shows it (port::win32::windowClientSize), which a
    // full-screen window keeps when no window manager gives it the mode's size.
    void windowSize(int& width, int& height) const;
    void setClipOrigin(bool upperLeft);
    void moveBackBuffer(bool toWindow);
    // The window's depth-stencil surface's values moved between the window and its renderbuffer
    // (kept unless `keep` is false), and the depth-stencil surface placed beside the render
    // target for a draw that tests depth or stencil.
    void moveDepth(Surface& depth, bool toWindow, bool keep = true);
    void placeDepth();
    // Clear of the back buffer in the window with depth or stencil: colour in the window, depth
    // and stencil in the depth surface on its own.
    void clearBeside(std::vector<RECT> const& rects, GLbitfield bits);
    void fencePresent();
    void releaseShaderCompiler();
    // Hashes the window's back buffer when a look was asked for (before the swap).
    void lookAtPicture();

    Direct3D* d3d_;
    HWND window_;
    SDL_Window* sdl_ = nullptr;
    void* context_ = nullptr;
    DWORD behavior_;
    D3DPRESENT_PARAMETERS params_{};
    Surface* backBuffer_ = nullptr;
    Surface* autoDepth_ = nullptr;
    Surface* renderTarget_ = nullptr;
    Surface* depthStencil_ = nullptr;
    StateSet state_;
    unsigned defaultResources_ = 0;
    LostState lost_ = LostState::Ok;
    bool lostReported_ = false;
    unsigned resizeCount_ = 0;
    bool inScene_ = false;
    GLuint programOverride_ = 0;
    bool lookRequested_ = false;
    uint64_t lookedHash_ = 0;
    uint64_t lookedPresent_ = 0;
    std::vector<uint8_t> lookPixels_;
    std::unordered_map<GLuint, GLuint> alphaTestVariants_;
    GlImage attachedColor_;
    GlImage attachedDepth_;
    bool attachmentsKnown_ = false;
    // The vertex attributes last specified in the vertex array object.
    struct VertexBinding {
        DWORD fvf = 0;
        GLuint buffer = 0;
        size_t offset = 0;
        UINT stride = 0;
        bool operator==(VertexBinding const&) const = default;
    };
    VertexBinding vertexBinding_;
    bool bindingKnown_ = false;
    // The back buffer is drawn in the window's framebuffer, upside down for GL (clip origin
    // upper left there); textures keep GL's lower-left origin with Direct3D's rows.
    bool windowBackBuffer_ = false;
    bool windowDepth_ = false;
    unsigned storageMoves_ = 0;
    uint64_t stencilChanges_ = 0;
    std::wstring loggedChoice_;
    void (*clipControl_)(GLenum, GLenum) = nullptr;
    int clipOrigin_ = -1;  // -1 unknown, 0 lower left, 1 upper left
    // The back buffer in the window holds one colour from a whole Clear and nothing else since:
    // moving it into its texture clears the texture instead of copying.
    bool windowCleared_ = false;
    D3DCOLOR windowClearColour_ = 0;
    GLuint drawFbo_ = 0;
    GLuint readFbo_ = 0;
    GLuint blitFbo_ = 0;
    GLuint vao_ = 0;
    GLuint streamVbo_ = 0;
    GLuint streamIbo_ = 0;
    GLuint samplers_[PORT_D3D_MAX_SAMPLERS] = {};
    // The texture each unit holds in GL (kUnknownName after a deletion: GL reuses names), and
    // the current program: bound again only when they differ.
    static constexpr GLuint kUnknownName = ~0u;
    GLuint boundTextures_[PORT_D3D_MAX_SAMPLERS] = {};  // filled with kUnknownName at construction
    GLuint currentProgram_ = 0;
    bool programKnown_ = false;
    // The uniforms of the program drawn with last (draws mostly repeat their program).
    GLuint lastUniformsProgram_ = 0;
    ProgramUniforms* lastUniforms_ = nullptr;
    std::unordered_map<std::string, GLuint> programs_;
    // The key of the built-in program last used, and that program.
    struct BuiltInKey {
        DWORD values[20];
        bool operator==(BuiltInKey const&) const = default;
    };
    BuiltInKey lastBuiltIn_{};
    GLuint lastBuiltInProgram_ = 0;
    bool builtInKnown_ = false;
    // The render states, viewport and scissor rectangle are made into GL state at the next draw
    // only when something changed them (most draws change only textures and vertices).
    bool pipelineDirty_ = true;
    // The parameters last given to each sampler object.
    struct SamplerParameters {
        GLint magFilter = 0, minFilter = 0, wrapS = 0, wrapT = 0;
        float border[4] = {};
        float lodBias = 0.0f, minLod = 0.0f;
        bool operator==(SamplerParameters const&) const = default;
    };
    SamplerParameters samplerParameters_[PORT_D3D_MAX_SAMPLERS];
    bool samplerKnown_[PORT_D3D_MAX_SAMPLERS] = {};
    std::unordered_map<GLuint, ProgramUniforms> uniforms_;
    std::vector<ResourceBase*> resources_;
    // Fences set after the presents not yet known finished, with their numbers.
    std::deque<std::pair<uint64_t, GLsync>> presentFences_;
    uint64_t presents_ = 0;
    uint64_t presentsFinished_ = 0;
    bool compilerHeld_ = false;
    unsigned presentsSinceCompile_ = 0;
    unsigned compilerReleases_ = 0;
};

class Direct3D : public port::ComObject<IDirect3D9, IID_IDirect3D9> {
public:
    Direct3D();
    UINT GetAdapterCount() override { return 1; }
    HRESULT GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER9* identifier) override;
    UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* displayMode) override;
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) override;
    HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT displayFormat, D3DFORMAT backBufferFormat,
                            BOOL windowed) override;
    HRESULT CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat, DWORD usage,
                              D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) override;
    HRESULT CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE type, D3DFORMAT surfaceFormat, BOOL windowed,
                                       D3DMULTISAMPLE_TYPE multiSample, DWORD* qualityLevels) override;
    HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                   D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) override;
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) override;
    HMONITOR GetAdapterMonitor(UINT adapter) override;
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) override;

private:
    std::vector<D3DDISPLAYMODE> modes(D3DFORMAT format) const;
};

void fillCaps(D3DCAPS9& caps);
Device* deviceOf(IDirect3DDevice9* device);

}  // namespace port::d3d9
