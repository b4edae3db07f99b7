// Format names (the engine's names over the port's format table), pixel sizes and half-float
// conversions.
#include "engine/render/TextureFormat.h"

#include <cstring>
#include <iterator>

#include "port/crt/crt.h"
#include "port/d3d9/d3d9_port.h"

namespace Orvex {

namespace {

struct FormatName {
    wchar_t const* name;  // without "D3DFMT_"
    D3DFORMAT format;
};

// In the order of the lookup (the first match wins).
constexpr FormatName kFormatNames[] = {
    {L"UNKNOWN", D3DFMT_UNKNOWN},
    {L"R5G6B5", D3DFMT_R5G6B5},
    {L"A4R4G4B4", D3DFMT_A4R4G4B4},
    {L"A8R8G8B8", D3DFMT_A8R8G8B8},
    {L"X8R8G8B8", D3DFMT_X8R8G8B8},
    {L"A8", D3DFMT_A8},
    {L"L8", D3DFMT_L8},
    {L"A16B16G16R16", D3DFMT_A16B16G16R16},
    {L"A8L8", D3DFMT_A8L8},
    {L"DXT1", D3DFMT_DXT1},
    {L"DXT2", D3DFMT_DXT2},
    {L"DXT3", D3DFMT_DXT3},
    {L"DXT4", D3DFMT_DXT4},
    {L"DXT5", D3DFMT_DXT5},
    {L"INDEX16", D3DFMT_INDEX16},
    {L"INDEX32", D3DFMT_INDEX32},
    {L"X1R5G5B5", D3DFMT_X1R5G5B5},
    {L"D16_LOCKABLE", D3DFMT_D16_LOCKABLE},
    {L"D32", D3DFMT_D32},
    {L"D24S8", D3DFMT_D24S8},
    {L"D24X8", D3DFMT_D24X8},
    {L"D16", D3DFMT_D16},
    {L"D32F_LOCKABLE", D3DFMT_D32F_LOCKABLE},
    {L"L16", D3DFMT_L16},
    {L"R16F", D3DFMT_R16F},
    {L"A16B16G16R16F", D3DFMT_A16B16G16R16F},
    {L"R32F", D3DFMT_R32F},
    {L"A32B32G32R32F", D3DFMT_A32B32G32R32F},
    {L"A2R10G10B10", D3DFMT_A2R10G10B10},
    {L"A1R5G5B5", D3DFMT_A1R5G5B5},
};

constexpr wchar_t kPrefix[] = L"D3DFMT_";

}  // namespace

D3DFORMAT parseD3DFormat(std::wstring const& text) {
    std::wstring const prefix = kPrefix;
    for (FormatName const& entry : kFormatNames)
        if (text == entry.name || text == prefix + entry.name) return entry.format;
    return static_cast<D3DFORMAT>(msvc::wtoi(text.c_str()));
}

std::wstring d3dFormatToString(D3DFORMAT format) {
    for (FormatName const& entry : kFormatNames)
        if (entry.format == format) return std::wstring(kPrefix) + entry.name;
    return L"D3DFMT_UNKNOWN";
}

u32 formatPixelSize(D3DFORMAT format) {
    port::d3d9::PixelFormat const* p = port::d3d9::pixelFormat(format);
    return p ? p->bytesPerPixel : 0;
}

u16 floatToHalf(float value) {
    u32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    u16 const sign = static_cast<u16>((bits >> 16) & 0x8000u);
    u32 const exponent = (bits >> 23) & 0xFFu;
    u32 const mantissa = bits & 0x7FFFFFu;
    if (exponent == 0xFFu) return static_cast<u16>(sign | 0x7C00u | (mantissa ? 0x200u | (mantissa >> 13) : 0u));
    int const e = static_cast<int>(exponent) - 127 + 15;
    if (e >= 0x1F) return static_cast<u16>(sign | 0x7C00u);  // above 65504: infinity
    if (e <= 0) {
        // Subnormal (or zero): the implicit bit joins the mantissa, shifted out by the deficit.
        if (e < -10) return sign;
        u32 const full = mantissa | 0x800000u;
        return static_cast<u16>(sign | (full >> (14 - e)));
    }
    return static_cast<u16>(sign | (static_cast<u32>(e) << 10) | (mantissa >> 13));
}

float halfToFloat(u16 half) {
    u32 const sign = static_cast<u32>(half & 0x8000u) << 16;
    u32 const exponent = (half >> 10) & 0x1Fu;
    u32 mantissa = half & 0x3FFu;
    u32 bits;
    if (exponent == 0x1Fu) {
        bits = sign | 0x7F800000u | (mantissa << 13);
    } else if (exponent == 0) {
        if (mantissa == 0) {
            bits = sign;
        } else {
            int e = -14;
            while (!(mantissa & 0x400u)) {
                mantissa <<= 1;
                --e;
            }
            mantissa &= 0x3FFu;
            bits = sign | (static_cast<u32>(e + 127) << 23) | (mantissa << 13);
        }
    } else {
        bits = sign | ((exponent - 15 + 127) << 23) | (mantissa << 13);
    }
    float out;
    std::memcpy(&out, &bits, sizeof out);
    return out;
}

}  // namespace Orvex
