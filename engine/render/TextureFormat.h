// Direct3D format names as data files write them ("A8R8G8B8" or "D3DFMT_A8R8G8B8", or a
// decimal number), their names back, pixel sizes, and IEEE 754 half-float conversions.
#pragma once

#include <string>

#include "engine/core/Types.h"
#include "port/d3d9/d3d9.h"

namespace Orvex {

// A format name with or without "D3DFMT_"; any other text is read as a decimal number.
D3DFORMAT parseD3DFormat(std::wstring const& text);
// "D3DFMT_" names of the parseable formats; "D3DFMT_UNKNOWN" for any other value.
std::wstring d3dFormatToString(D3DFORMAT format);
// Bytes per pixel of an uncompressed format (the port's format table); 0 for block-compressed
// and unknown ones.
u32 formatPixelSize(D3DFORMAT format);

// Float to binary16: the mantissa is truncated, magnitudes above 65504 become infinity, below
// 2^-14 subnormals; NaN stays NaN.
u16 floatToHalf(float value);
float halfToFloat(u16 half);

}  // namespace Orvex
