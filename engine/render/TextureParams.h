// The parameters of texture creation: TextureCreateParams (what D3DX is asked for, read from a
// "FILE_INFO" element) and TextureLoadParams (the size limits of a "QUALTIY" element), with the
// load-time size reduction.
#pragma once

#include "engine/core/Types.h"
#include "port/d3dx9/d3dx9.h"

namespace Orvex {

class XMLNode;

// "FILE_INFO" keys: "MipLevels" (int), "Usage" (child with values "RENDERTARGET",
// "DEPTHSTENCIL", "DYNAMIC", "AUTOGENMIPMAP"; Usage starts from 0 when present), "Pool"
// ("DEFAULT", "MANAGED", "SYSTEMMEM", "SCRATCH"), "MipFilter" and "Filter" ("NONE", "POINT",
// "LINEAR", "TRIANGLE", "BOX"), "ColorKey" (hex), "Format" (a format name or number); the node
// constructor also reads "Width" and "Height". Unknown Pool or filter words keep the field.
struct TextureCreateParams {
    UINT MipLevels = 1;
    DWORD Usage = 0;
    D3DFORMAT Format = D3DFMT_UNKNOWN;
    D3DPOOL Pool = D3DPOOL_MANAGED;
    DWORD Filter = D3DX_FILTER_NONE;
    DWORD MipFilter = D3DX_FILTER_NONE;
    D3DCOLOR ColorKey = 0;
    PALETTEENTRY* palette = nullptr;
    D3DXIMAGE_INFO imageInfo{};
    UINT Width = D3DX_DEFAULT;
    UINT Height = D3DX_DEFAULT;

    TextureCreateParams() = default;
    explicit TextureCreateParams(XMLNode& node);
    void readXML(XMLNode& node);
};

// Size limits of one texture: minSize applies when useMin, maxSize when useMax. Only consulted
// while a global size-reduction flag is on (TextureModuleSettings).
struct TextureLoadParams {
    u32 minSize = 0;
    u32 maxSize = 0xFFFFFFFFu;
    u8 useMin = 1;
    u8 useMax = 1;

    TextureLoadParams() = default;
    TextureLoadParams(u32 min, u32 max, u8 withMin, u8 withMax)
        : minSize(min), maxSize(max), useMin(withMin), useMax(withMax) {}
    // "MIN_SIZE", "MAX_SIZE": "size [flag]"; a size sets its use flag to 1, a second piece is
    // the flag itself.
    explicit TextureLoadParams(XMLNode& quality);

    // Per axis (o = size in the file): scaled by the global factor, kept between the lower and
    // upper limits (each at most o); scale receives result / o. Width and height are in and out.
    void computeScale(D3DXVECTOR2& scale, u32& width, u32& height) const;
};

}  // namespace Orvex
