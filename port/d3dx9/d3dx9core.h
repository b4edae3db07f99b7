// D3DX core objects: buffers, the sprite batcher, fonts, lines and render-to-surface, drawn
// through the device's own draw calls. Flag values are D3DX's.
#pragma once

#include "port/d3dx9/d3dx9math.h"
#include "port/gdi/wingdi.h"
#include "port/win32/winuser.h"

// Results and special sizes shared by the D3DX headers.
#define D3DX_DEFAULT ((UINT)-1)
#define D3DX_DEFAULT_NONPOW2 ((UINT)-2)
#define D3DX_DEFAULT_FLOAT 3.402823466e+38F
#define D3DX_FROM_FILE ((UINT)-3)
#define D3DFMT_FROM_FILE ((D3DFORMAT)-3)
#define D3DXERR_INVALIDDATA MAKE_D3DHRESULT(2905)

// A block of bytes handed out by D3DX (compiled effects, error texts).
struct ID3DXBuffer : public IUnknown {
    virtual LPVOID GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};
typedef ID3DXBuffer* LPD3DXBUFFER;

// A zero-filled buffer of the given size.
HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer);

#define D3DXSPRITE_DONOTSAVESTATE (1 << 0)
#define D3DXSPRITE_DONOTMODIFY_RENDERSTATE (1 << 1)
#define D3DXSPRITE_OBJECTSPACE (1 << 2)
#define D3DXSPRITE_BILLBOARD (1 << 3)
#define D3DXSPRITE_ALPHABLEND (1 << 4)
#define D3DXSPRITE_SORT_TEXTURE (1 << 5)
#define D3DXSPRITE_SORT_DEPTH_FRONTTOBACK (1 << 6)
#define D3DXSPRITE_SORT_DEPTH_BACKTOFRONT (1 << 7)
#define D3DXSPRITE_DO_NOT_ADDREF_TEXTURE (1 << 8)

// Textured quads queued between Begin and End and drawn in batches. A sprite's corner v is
// placed at (v - center + position) * transform; without D3DXSPRITE_OBJECTSPACE the result is
// in screen pixels (a sprite at integer coordinates maps texels to pixels one to one).
// Each Flush (and End) sets, unless D3DXSPRITE_DONOTMODIFY_RENDERSTATE, blending and alpha test
// for D3DXSPRITE_ALPHABLEND, no culling, no depth test, texture stage 0 modulating texture and
// vertex colour, linear filtering with clamped addressing, and the built-in program; stencil
// states and colour writes are left alone. End restores the states of Begin unless
// D3DXSPRITE_DONOTSAVESTATE. Queued textures hold a reference unless
// D3DXSPRITE_DO_NOT_ADDREF_TEXTURE.
struct ID3DXSprite : public IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT GetTransform(D3DXMATRIX* transform) = 0;
    virtual HRESULT SetTransform(const D3DXMATRIX* transform) = 0;
    virtual HRESULT SetWorldViewRH(const D3DXMATRIX* world, const D3DXMATRIX* view) = 0;
    virtual HRESULT SetWorldViewLH(const D3DXMATRIX* world, const D3DXMATRIX* view) = 0;
    virtual HRESULT Begin(DWORD flags) = 0;
    virtual HRESULT Draw(IDirect3DTexture9* texture, const RECT* sourceRect, const D3DXVECTOR3* center,
                         const D3DXVECTOR3* position, D3DCOLOR color) = 0;
    virtual HRESULT Flush() = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
};
typedef ID3DXSprite* LPD3DXSPRITE;

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite);

struct D3DXFONT_DESCW {
    INT Height;
    UINT Width;
    UINT Weight;
    UINT MipLevels;
    BOOL Italic;
    BYTE CharSet;
    BYTE OutputPrecision;
    BYTE Quality;
    BYTE PitchAndFamily;
    WCHAR FaceName[LF_FACESIZE];
};

// Text in a face of the system or one installed with AddFontMemResourceEx (sizes and face names as
// CreateFontW takes them). Glyphs are rasterised once into the font's textures and drawn as
// sprites: through the sprite given to DrawTextW (inside its Begin, with its transform), or
// through the font's own sprite with alpha blending. DrawTextW takes the DT_ formats DT_LEFT,
// DT_CENTER, DT_RIGHT, DT_TOP, DT_VCENTER, DT_BOTTOM (both for any number of lines),
// DT_SINGLELINE, DT_WORDBREAK, DT_NOCLIP and DT_CALCRECT (the rectangle becomes the one the text
// covers as placed, and nothing is drawn); count -1 reads up to the terminating zero. It returns
// the text height (with DT_VCENTER or DT_BOTTOM the offset from the rectangle's top to the text's
// bottom), 0 on failure. Characters the face lacks draw nothing and take no room.
struct ID3DXFont : public IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT GetDescW(D3DXFONT_DESCW* desc) = 0;
    virtual BOOL GetTextMetricsW(TEXTMETRICW* metrics) = 0;
    virtual HRESULT PreloadCharacters(UINT first, UINT last) = 0;
    virtual HRESULT PreloadTextW(LPCWSTR text, INT count) = 0;
    virtual INT DrawTextW(ID3DXSprite* sprite, LPCWSTR text, INT count, LPRECT rect, DWORD format,
                          D3DCOLOR color) = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
};
typedef ID3DXFont* LPD3DXFONT;

HRESULT D3DXCreateFontW(IDirect3DDevice9* device, INT height, UINT width, UINT weight, UINT mipLevels, BOOL italic,
                        DWORD charSet, DWORD outputPrecision, DWORD quality, DWORD pitchAndFamily, LPCWSTR faceName,
                        ID3DXFont** font);

// Screen-space lines of a given width (pixels) drawn as quads; patterns are stored, not drawn.
struct ID3DXLine : public IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT Begin() = 0;
    virtual HRESULT Draw(const D3DXVECTOR2* vertices, DWORD count, D3DCOLOR color) = 0;
    virtual HRESULT DrawTransform(const D3DXVECTOR3* vertices, DWORD count, const D3DXMATRIX* transform,
                                  D3DCOLOR color) = 0;
    virtual HRESULT SetPattern(DWORD pattern) = 0;
    virtual DWORD GetPattern() = 0;
    virtual HRESULT SetPatternScale(FLOAT scale) = 0;
    virtual FLOAT GetPatternScale() = 0;
    virtual HRESULT SetWidth(FLOAT width) = 0;
    virtual FLOAT GetWidth() = 0;
    virtual HRESULT SetAntialias(BOOL antialias) = 0;
    virtual BOOL GetAntialias() = 0;
    virtual HRESULT SetGLLines(BOOL glLines) = 0;
    virtual BOOL GetGLLines() = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
};
typedef ID3DXLine* LPD3DXLINE;

HRESULT D3DXCreateLine(IDirect3DDevice9* device, ID3DXLine** line);

struct D3DXRTS_DESC {
    UINT Width;
    UINT Height;
    D3DFORMAT Format;
    BOOL DepthStencil;
    D3DFORMAT DepthStencilFormat;
};

// Renders into any surface of its size: BeginScene sets the surface (or, for a surface that is
// no render target, an own render target copied into it at EndScene), its own depth-stencil
// surface when asked for, and the viewport; EndScene restores the previous target, depth
// stencil and viewport.
struct ID3DXRenderToSurface : public IUnknown {
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT GetDesc(D3DXRTS_DESC* desc) = 0;
    virtual HRESULT BeginScene(IDirect3DSurface9* surface, const D3DVIEWPORT9* viewport) = 0;
    virtual HRESULT EndScene(DWORD mipFilter) = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
};
typedef ID3DXRenderToSurface* LPD3DXRENDERTOSURFACE;

HRESULT D3DXCreateRenderToSurface(IDirect3DDevice9* device, UINT width, UINT height, D3DFORMAT format,
                                  BOOL depthStencil, D3DFORMAT depthStencilFormat,
                                  ID3DXRenderToSurface** renderToSurface);
