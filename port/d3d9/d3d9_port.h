// Extras of the Direct3D 9 layer that Direct3D itself does not have: hooks for tests to drive
// the device-loss path, and the pixel-format table and block decoder the D3DX layer and the
// engine share.
#pragma once

#include "port/d3d9/d3d9.h"

namespace port::d3d9 {

// Makes the device lost, as a full-screen device is when the program loses the display: the next
// TestCooperativeLevel returns D3DERR_DEVICELOST, later calls D3DERR_DEVICENOTRESET until Reset
// succeeds; Present returns D3DERR_DEVICELOST meanwhile.
void loseDevice(IDirect3DDevice9* device);

// Whether the device draws its back buffer straight into the window's framebuffer (chosen at
// creation and Reset) rather than into a texture copied to the window at Present.
bool backBufferOnWindow(IDirect3DDevice9* device);
// Whether the automatic depth-stencil surface is the window's own depth and stencil buffer (so
// frames that test depth or stencil stay in the window), and how many times the back buffer's or
// that surface's pixels were copied between the window and storage of their own (each a
// full-screen copy a software rasteriser pays for).
bool depthStencilOnWindow(IDirect3DDevice9* device);
unsigned windowStorageMoves(IDirect3DDevice9* device);
// Counts what may have changed the stencil values in use: stencil clears, draws that can write
// the stencil, depth-stencil copies, another depth-stencil surface set, the device made or reset.
// A caller that knows what its own writes left can tell from an unchanged count that nobody else
// wrote since.
uint64_t stencilChanges(IDirect3DDevice9* device);
// Devices made or Reset from now on keep the back buffer in a texture (true) or use the window
// where it can serve (false, the default): for benchmarks of what the copy at Present costs.
void preferTextureBackBuffer(bool texture);

// Reads the picture of the next Present (before it is shown) and keeps a hash of its pixels, for
// callers that want to know whether the picture changed; one read of the back buffer per
// present asked for.
void lookAtNextPresent(IDirect3DDevice9* device);
// The hash of the last picture looked at and the number of its present (counted from 1 since
// the device was made); the number is 0 before any.
uint64_t lookedAtPicture(IDirect3DDevice9* device, uint64_t& present);

// How many times the device has given the shader compiler's state back (see
// port::gl::shaderCompiled).
unsigned shaderCompilerReleases(IDirect3DDevice9* device);

// Writes rows in the surface's own format into a rectangle of a texture level, as a lock of the
// rectangle, a copy and the unlock would, but without the lock's copy of the level in memory: a
// picture loaded whole costs no second buffer. D3DERR_INVALIDCALL for a surface that is no
// texture level, a render target, a block format or a rectangle outside the level.
HRESULT writeTextureLevel(IDirect3DSurface9* surface, RECT const& rect, void const* bytes, unsigned pitch);

// Number of live D3DPOOL_DEFAULT resources and state blocks that keep Reset from succeeding.
unsigned defaultPoolResources(IDirect3DDevice9* device);

// What the layers know of a format's pixels: one table (Formats.cpp) for the device, D3DX and the
// engine, covering every format any of them reads, writes or stores.
struct PixelFormat {
    D3DFORMAT format = D3DFMT_UNKNOWN;
    unsigned bytesPerPixel = 0;  // in memory; 0 for block formats, 4 for the device's depth words
    unsigned blockBytes = 0;     // DXT: bytes per 4x4 block
    bool alpha = false;          // the pixels keep an alpha channel
    bool writable = false;       // D3DX converts ARGB images into it
    bool depth = false;
};
// Null for a format no layer knows.
PixelFormat const* pixelFormat(D3DFORMAT format);

// Decodes DXT1/DXT2/DXT3/DXT4/DXT5 blocks (rows of blocks `pitch` bytes apart) into RGBA8 bytes
// in memory order R, G, B, A.
void decodeDxt(D3DFORMAT format, uint8_t const* blocks, unsigned pitch, unsigned width, unsigned height,
               uint8_t* rgba);

}  // namespace port::d3d9
