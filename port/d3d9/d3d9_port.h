// Extras of the Direct3D 9 layer that Direct3D itself does not have: hooks for tests to drive
// the device-loss path, and the block decoder the D3DX layer shares.
#pragma once

#include "port/d3d9/d3d9.h"

namespace port::d3d9 {

// Makes the device lost, as a full-screen device is when the program loses the display: the next
// TestCooperativeLevel returns D3DERR_DEVICELOST, later calls D3DERR_DEVICENOTRESET until Reset
// succeeds; Present returns D3DERR_DEVICELOST meanwhile.
void loseDevice(IDirect3DDevice9* device);

// Number of live D3DPOOL_DEFAULT resources and state blocks that keep Reset from succeeding.
unsigned defaultPoolResources(IDirect3DDevice9* device);

// Decodes DXT1/DXT2/DXT3/DXT4/DXT5 blocks (rows of blocks `pitch` bytes apart) into RGBA8 bytes
// in memory order R, G, B, A.
void decodeDxt(D3DFORMAT format, uint8_t const* blocks, unsigned pitch, unsigned width, unsigned height,
               uint8_t* rgba);

}  // namespace port::d3d9
