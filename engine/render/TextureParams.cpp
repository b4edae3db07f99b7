// Creation parameters from "FILE_INFO", size limits from "QUALTIY", and the load-time size
// reduction.
#include "engine/render/TextureParams.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "engine/core/XMLNode.h"
#include "engine/render/TextureFormat.h"
#include "engine/render/TextureSettings.h"

namespace Orvex {

namespace {

struct ParamWord {
    wchar_t const* text;
    u32 value;
};

constexpr ParamWord kPools[] = {{L"DEFAULT", D3DPOOL_DEFAULT},
                           {L"MANAGED", D3DPOOL_MANAGED},
                           {L"SYSTEMMEM", D3DPOOL_SYSTEMMEM},
                           {L"SCRATCH", D3DPOOL_SCRATCH}};
constexpr ParamWord kFilters[] = {{L"NONE", D3DX_FILTER_NONE},
                             {L"POINT", D3DX_FILTER_POINT},
                             {L"LINEAR", D3DX_FILTER_LINEAR},
                             {L"TRIANGLE", D3DX_FILTER_TRIANGLE},
                             {L"BOX", D3DX_FILTER_BOX}};
constexpr ParamWord kUsages[] = {{L"RENDERTARGET", D3DUSAGE_RENDERTARGET},
                            {L"DEPTHSTENCIL", D3DUSAGE_DEPTHSTENCIL},
                            {L"DYNAMIC", D3DUSAGE_DYNAMIC},
                            {L"AUTOGENMIPMAP", D3DUSAGE_AUTOGENMIPMAP}};

template <std::size_t N>
bool lookUp(ParamWord const (&words)[N], std::wstring const& text, u32& out) {
    for (ParamWord const& w : words)
        if (text == w.text) {
            out = w.value;
            return true;
        }
    return false;
}

// An attribute read as one of the words; an unknown word keeps the field.
template <std::size_t N>
void readWord(XMLNode& node, wchar_t const* key, ParamWord const (&words)[N], u32& field) {
    if (XMLAttribute const* attribute = node.getAttribute(key)) lookUp(words, attribute->getString(), field);
}

// "size [flag]".
void readLimit(XMLNode& node, wchar_t const* key, u32& size, u8& use) {
    XMLAttribute* attribute = node.getAttribute(key);
    if (!attribute) return;
    XMLValueTokens const pieces = static_cast<XMLProperty const*>(attribute)->split(L" ");
    if (XMLProperty* first = pieces.get(0)) {
        size = first->getLong();
        use = 1;
    }
    if (XMLProperty* second = pieces.get(1)) use = second->getBool() ? 1 : 0;
}

u32 limitAxis(u32 original, float& scale, u32 minSize, u32 maxSize, u8 useMin, u8 useMax) {
    TextureModuleSettings const& settings = TextureModuleSettings::get();
    if (original == 0) {
        scale = 1.0f;
        return 0;
    }
    u32 scaled = original;
    if (settings.globalScaleEnabled) {
        double const v = std::trunc(static_cast<double>(original) * settings.globalScale);
        scaled = v <= 0.0 ? 0u : v >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<u32>(v);
    }
    // No minimum is a minimum of 0: taking all-ones there would hold every image at its full
    // size and switch the maximum and the scale factor off with it.
    u32 const lower = settings.globalMinEnabled ? settings.globalMinSize : useMin ? minSize : 0u;
    u32 const upper = settings.globalMaxEnabled ? settings.globalMaxSize : useMax ? maxSize : 0xFFFFFFFFu;
    u32 const lo = std::min(original, lower);
    u32 const hi = std::min(original, upper);
    u32 const result = std::max(lo, std::min(scaled, hi));
    scale = static_cast<float>(result) / static_cast<float>(original);
    return result;
}

}  // namespace

TextureCreateParams::TextureCreateParams(XMLNode& node) {
    readXML(node);
    Width = node.getAttributeLong(L"Width", Width);
    Height = node.getAttributeLong(L"Height", Height);
}

void TextureCreateParams::readXML(XMLNode& node) {
    MipLevels = static_cast<UINT>(node.getAttributeInt(L"MipLevels", static_cast<int>(MipLevels)));
    if (XMLNode const* usage = node.getChild(L"Usage")) {
        Usage = 0;
        for (u32 i = 0; i < usage->getValueCount(); ++i) {
            u32 bit = 0;
            if (lookUp(kUsages, usage->getValue(i)->getString(), bit)) Usage |= bit;
        }
    }
    u32 pool = static_cast<u32>(Pool);
    readWord(node, L"Pool", kPools, pool);
    Pool = static_cast<D3DPOOL>(pool);
    readWord(node, L"MipFilter", kFilters, MipFilter);
    readWord(node, L"Filter", kFilters, Filter);
    ColorKey = node.getAttributeHex(L"ColorKey", ColorKey);
    if (XMLAttribute const* format = node.getAttribute(L"Format")) Format = parseD3DFormat(format->getString());
}

TextureLoadParams::TextureLoadParams(XMLNode& quality) {
    readLimit(quality, L"MIN_SIZE", minSize, useMin);
    readLimit(quality, L"MAX_SIZE", maxSize, useMax);
}

void TextureLoadParams::computeScale(D3DXVECTOR2& scale, u32& width, u32& height) const {
    width = limitAxis(width, scale.x, minSize, maxSize, useMin, useMax);
    height = limitAxis(height, scale.y, minSize, maxSize, useMin, useMax);
}

}  // namespace Orvex
