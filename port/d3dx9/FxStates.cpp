// The D3DX effect states a pass may assign (render, sampler and texture stage states by their
// effect names) and the enumeration words of their values, with Direct3D 9's numbers.
#include "port/d3dx9/FxModel.h"

#include <cctype>

namespace port::fx {

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

using K = StateKind;
using V = ValueType;

StateInfo const kStates[] = {
    {"ZEnable", K::Render, D3DRS_ZENABLE, V::ZBuffer},
    {"FillMode", K::Render, D3DRS_FILLMODE, V::Fill},
    {"ShadeMode", K::Render, D3DRS_SHADEMODE, V::Shade},
    {"ZWriteEnable", K::Render, D3DRS_ZWRITEENABLE, V::Bool},
    {"AlphaTestEnable", K::Render, D3DRS_ALPHATESTENABLE, V::Bool},
    {"LastPixel", K::Render, D3DRS_LASTPIXEL, V::Bool},
    {"SrcBlend", K::Render, D3DRS_SRCBLEND, V::Blend},
    {"DestBlend", K::Render, D3DRS_DESTBLEND, V::Blend},
    {"CullMode", K::Render, D3DRS_CULLMODE, V::Cull},
    {"ZFunc", K::Render, D3DRS_ZFUNC, V::Cmp},
    {"AlphaRef", K::Render, D3DRS_ALPHAREF, V::Dword},
    {"AlphaFunc", K::Render, D3DRS_ALPHAFUNC, V::Cmp},
    {"DitherEnable", K::Render, D3DRS_DITHERENABLE, V::Bool},
    {"AlphaBlendEnable", K::Render, D3DRS_ALPHABLENDENABLE, V::Bool},
    {"FogEnable", K::Render, D3DRS_FOGENABLE, V::Bool},
    {"SpecularEnable", K::Render, D3DRS_SPECULARENABLE, V::Bool},
    {"FogColor", K::Render, D3DRS_FOGCOLOR, V::Color},
    {"FogTableMode", K::Render, D3DRS_FOGTABLEMODE, V::FogMode},
    {"FogStart", K::Render, D3DRS_FOGSTART, V::Float},
    {"FogEnd", K::Render, D3DRS_FOGEND, V::Float},
    {"FogDensity", K::Render, D3DRS_FOGDENSITY, V::Float},
    {"RangeFogEnable", K::Render, D3DRS_RANGEFOGENABLE, V::Bool},
    {"StencilEnable", K::Render, D3DRS_STENCILENABLE, V::Bool},
    {"StencilFail", K::Render, D3DRS_STENCILFAIL, V::StencilOp},
    {"StencilZFail", K::Render, D3DRS_STENCILZFAIL, V::StencilOp},
    {"StencilPass", K::Render, D3DRS_STENCILPASS, V::StencilOp},
    {"StencilFunc", K::Render, D3DRS_STENCILFUNC, V::Cmp},
    {"StencilRef", K::Render, D3DRS_STENCILREF, V::Dword},
    {"StencilMask", K::Render, D3DRS_STENCILMASK, V::Dword},
    {"StencilWriteMask", K::Render, D3DRS_STENCILWRITEMASK, V::Dword},
    {"TextureFactor", K::Render, D3DRS_TEXTUREFACTOR, V::Color},
    {"Wrap0", K::Render, D3DRS_WRAP0, V::Dword},
    {"Wrap1", K::Render, D3DRS_WRAP1, V::Dword},
    {"Wrap2", K::Render, D3DRS_WRAP2, V::Dword},
    {"Wrap3", K::Render, D3DRS_WRAP3, V::Dword},
    {"Wrap4", K::Render, D3DRS_WRAP4, V::Dword},
    {"Wrap5", K::Render, D3DRS_WRAP5, V::Dword},
    {"Wrap6", K::Render, D3DRS_WRAP6, V::Dword},
    {"Wrap7", K::Render, D3DRS_WRAP7, V::Dword},
    {"Clipping", K::Render, D3DRS_CLIPPING, V::Bool},
    {"Lighting", K::Render, D3DRS_LIGHTING, V::Bool},
    {"Ambient", K::Render, D3DRS_AMBIENT, V::Color},
    {"FogVertexMode", K::Render, D3DRS_FOGVERTEXMODE, V::FogMode},
    {"ColorVertex", K::Render, D3DRS_COLORVERTEX, V::Bool},
    {"LocalViewer", K::Render, D3DRS_LOCALVIEWER, V::Bool},
    {"NormalizeNormals", K::Render, D3DRS_NORMALIZENORMALS, V::Bool},
    {"DiffuseMaterialSource", K::Render, D3DRS_DIFFUSEMATERIALSOURCE, V::MaterialSource},
    {"SpecularMaterialSource", K::Render, D3DRS_SPECULARMATERIALSOURCE, V::MaterialSource},
    {"AmbientMaterialSource", K::Render, D3DRS_AMBIENTMATERIALSOURCE, V::MaterialSource},
    {"EmissiveMaterialSource", K::Render, D3DRS_EMISSIVEMATERIALSOURCE, V::MaterialSource},
    {"VertexBlend", K::Render, D3DRS_VERTEXBLEND, V::VertexBlend},
    {"ClipPlaneEnable", K::Render, D3DRS_CLIPPLANEENABLE, V::Dword},
    {"PointSize", K::Render, D3DRS_POINTSIZE, V::Float},
    {"PointSize_Min", K::Render, D3DRS_POINTSIZE_MIN, V::Float},
    {"PointSpriteEnable", K::Render, D3DRS_POINTSPRITEENABLE, V::Bool},
    {"PointScaleEnable", K::Render, D3DRS_POINTSCALEENABLE, V::Bool},
    {"PointScale_A", K::Render, D3DRS_POINTSCALE_A, V::Float},
    {"PointScale_B", K::Render, D3DRS_POINTSCALE_B, V::Float},
    {"PointScale_C", K::Render, D3DRS_POINTSCALE_C, V::Float},
    {"MultiSampleAntialias", K::Render, D3DRS_MULTISAMPLEANTIALIAS, V::Bool},
    {"MultiSampleMask", K::Render, D3DRS_MULTISAMPLEMASK, V::Dword},
    {"PointSize_Max", K::Render, D3DRS_POINTSIZE_MAX, V::Float},
    {"IndexedVertexBlendEnable", K::Render, D3DRS_INDEXEDVERTEXBLENDENABLE, V::Bool},
    {"ColorWriteEnable", K::Render, D3DRS_COLORWRITEENABLE, V::ColorWrite},
    {"TweenFactor", K::Render, D3DRS_TWEENFACTOR, V::Float},
    {"BlendOp", K::Render, D3DRS_BLENDOP, V::BlendOp},
    {"ScissorTestEnable", K::Render, D3DRS_SCISSORTESTENABLE, V::Bool},
    {"SlopeScaleDepthBias", K::Render, D3DRS_SLOPESCALEDEPTHBIAS, V::Float},
    {"AntialiasedLineEnable", K::Render, D3DRS_ANTIALIASEDLINEENABLE, V::Bool},
    {"EnableAdaptiveTessellation", K::Render, D3DRS_ENABLEADAPTIVETESSELLATION, V::Bool},
    {"TwoSidedStencilMode", K::Render, D3DRS_TWOSIDEDSTENCILMODE, V::Bool},
    {"CCW_StencilFail", K::Render, D3DRS_CCW_STENCILFAIL, V::StencilOp},
    {"CCW_StencilZFail", K::Render, D3DRS_CCW_STENCILZFAIL, V::StencilOp},
    {"CCW_StencilPass", K::Render, D3DRS_CCW_STENCILPASS, V::StencilOp},
    {"CCW_StencilFunc", K::Render, D3DRS_CCW_STENCILFUNC, V::Cmp},
    {"ColorWriteEnable1", K::Render, D3DRS_COLORWRITEENABLE1, V::ColorWrite},
    {"ColorWriteEnable2", K::Render, D3DRS_COLORWRITEENABLE2, V::ColorWrite},
    {"ColorWriteEnable3", K::Render, D3DRS_COLORWRITEENABLE3, V::ColorWrite},
    {"BlendFactor", K::Render, D3DRS_BLENDFACTOR, V::Color},
    {"SRGBWriteEnable", K::Render, D3DRS_SRGBWRITEENABLE, V::Bool},
    {"DepthBias", K::Render, D3DRS_DEPTHBIAS, V::Float},
    {"SeparateAlphaBlendEnable", K::Render, D3DRS_SEPARATEALPHABLENDENABLE, V::Bool},
    {"SrcBlendAlpha", K::Render, D3DRS_SRCBLENDALPHA, V::Blend},
    {"DestBlendAlpha", K::Render, D3DRS_DESTBLENDALPHA, V::Blend},
    {"BlendOpAlpha", K::Render, D3DRS_BLENDOPALPHA, V::BlendOp},
    {"AddressU", K::Sampler, D3DSAMP_ADDRESSU, V::Address},
    {"AddressV", K::Sampler, D3DSAMP_ADDRESSV, V::Address},
    {"AddressW", K::Sampler, D3DSAMP_ADDRESSW, V::Address},
    {"BorderColor", K::Sampler, D3DSAMP_BORDERCOLOR, V::Color},
    {"MagFilter", K::Sampler, D3DSAMP_MAGFILTER, V::Filter},
    {"MinFilter", K::Sampler, D3DSAMP_MINFILTER, V::Filter},
    {"MipFilter", K::Sampler, D3DSAMP_MIPFILTER, V::Filter},
    {"MipMapLodBias", K::Sampler, D3DSAMP_MIPMAPLODBIAS, V::Float},
    {"MaxMipLevel", K::Sampler, D3DSAMP_MAXMIPLEVEL, V::Dword},
    {"MaxAnisotropy", K::Sampler, D3DSAMP_MAXANISOTROPY, V::Dword},
    {"SRGBTexture", K::Sampler, D3DSAMP_SRGBTEXTURE, V::Bool},
    {"ColorOp", K::Stage, D3DTSS_COLOROP, V::TextureOp},
    {"ColorArg0", K::Stage, D3DTSS_COLORARG0, V::TextureArg},
    {"ColorArg1", K::Stage, D3DTSS_COLORARG1, V::TextureArg},
    {"ColorArg2", K::Stage, D3DTSS_COLORARG2, V::TextureArg},
    {"AlphaOp", K::Stage, D3DTSS_ALPHAOP, V::TextureOp},
    {"AlphaArg0", K::Stage, D3DTSS_ALPHAARG0, V::TextureArg},
    {"AlphaArg1", K::Stage, D3DTSS_ALPHAARG1, V::TextureArg},
    {"AlphaArg2", K::Stage, D3DTSS_ALPHAARG2, V::TextureArg},
    {"ResultArg", K::Stage, D3DTSS_RESULTARG, V::TextureArg},
    {"TexCoordIndex", K::Stage, D3DTSS_TEXCOORDINDEX, V::Dword},
    {"TextureTransformFlags", K::Stage, D3DTSS_TEXTURETRANSFORMFLAGS, V::TextureTransform},
    {"Texture", K::Texture, 0, V::Object},
    {"Sampler", K::SamplerObject, 0, V::Object},
    {"VertexShader", K::VertexShader, 0, V::Object},
    {"PixelShader", K::PixelShader, 0, V::Object},
};

struct EnumWord {
    ValueType type;
    char const* word;
    DWORD value;
};

EnumWord const kWords[] = {
    {V::Blend, "Zero", D3DBLEND_ZERO},
    {V::Blend, "One", D3DBLEND_ONE},
    {V::Blend, "SrcColor", D3DBLEND_SRCCOLOR},
    {V::Blend, "InvSrcColor", D3DBLEND_INVSRCCOLOR},
    {V::Blend, "SrcAlpha", D3DBLEND_SRCALPHA},
    {V::Blend, "InvSrcAlpha", D3DBLEND_INVSRCALPHA},
    {V::Blend, "DestAlpha", D3DBLEND_DESTALPHA},
    {V::Blend, "InvDestAlpha", D3DBLEND_INVDESTALPHA},
    {V::Blend, "DestColor", D3DBLEND_DESTCOLOR},
    {V::Blend, "InvDestColor", D3DBLEND_INVDESTCOLOR},
    {V::Blend, "SrcAlphaSat", D3DBLEND_SRCALPHASAT},
    {V::Blend, "BothSrcAlpha", D3DBLEND_BOTHSRCALPHA},
    {V::Blend, "BothInvSrcAlpha", D3DBLEND_BOTHINVSRCALPHA},
    {V::Blend, "BlendFactor", D3DBLEND_BLENDFACTOR},
    {V::Blend, "InvBlendFactor", D3DBLEND_INVBLENDFACTOR},
    {V::BlendOp, "Add", D3DBLENDOP_ADD},
    {V::BlendOp, "Subtract", D3DBLENDOP_SUBTRACT},
    {V::BlendOp, "RevSubtract", D3DBLENDOP_REVSUBTRACT},
    {V::BlendOp, "Min", D3DBLENDOP_MIN},
    {V::BlendOp, "Max", D3DBLENDOP_MAX},
    {V::Cmp, "Never", D3DCMP_NEVER},
    {V::Cmp, "Less", D3DCMP_LESS},
    {V::Cmp, "Equal", D3DCMP_EQUAL},
    {V::Cmp, "LessEqual", D3DCMP_LESSEQUAL},
    {V::Cmp, "Greater", D3DCMP_GREATER},
    {V::Cmp, "NotEqual", D3DCMP_NOTEQUAL},
    {V::Cmp, "GreaterEqual", D3DCMP_GREATEREQUAL},
    {V::Cmp, "Always", D3DCMP_ALWAYS},
    {V::StencilOp, "Keep", D3DSTENCILOP_KEEP},
    {V::StencilOp, "Zero", D3DSTENCILOP_ZERO},
    {V::StencilOp, "Replace", D3DSTENCILOP_REPLACE},
    {V::StencilOp, "IncrSat", D3DSTENCILOP_INCRSAT},
    {V::StencilOp, "DecrSat", D3DSTENCILOP_DECRSAT},
    {V::StencilOp, "Invert", D3DSTENCILOP_INVERT},
    {V::StencilOp, "Incr", D3DSTENCILOP_INCR},
    {V::StencilOp, "Decr", D3DSTENCILOP_DECR},
    {V::Cull, "None", D3DCULL_NONE},
    {V::Cull, "CW", D3DCULL_CW},
    {V::Cull, "CCW", D3DCULL_CCW},
    {V::Fill, "Point", D3DFILL_POINT},
    {V::Fill, "Wireframe", D3DFILL_WIREFRAME},
    {V::Fill, "Solid", D3DFILL_SOLID},
    {V::Shade, "Flat", D3DSHADE_FLAT},
    {V::Shade, "Gouraud", D3DSHADE_GOURAUD},
    {V::Shade, "Phong", D3DSHADE_PHONG},
    {V::ZBuffer, "UseW", D3DZB_USEW},
    {V::FogMode, "None", D3DFOG_NONE},
    {V::FogMode, "Exp", D3DFOG_EXP},
    {V::FogMode, "Exp2", D3DFOG_EXP2},
    {V::FogMode, "Linear", D3DFOG_LINEAR},
    {V::MaterialSource, "Material", D3DMCS_MATERIAL},
    {V::MaterialSource, "Color1", D3DMCS_COLOR1},
    {V::MaterialSource, "Color2", D3DMCS_COLOR2},
    {V::VertexBlend, "Disable", D3DVBF_DISABLE},
    {V::VertexBlend, "1Weights", D3DVBF_1WEIGHTS},
    {V::VertexBlend, "2Weights", D3DVBF_2WEIGHTS},
    {V::VertexBlend, "3Weights", D3DVBF_3WEIGHTS},
    {V::TextureOp, "Disable", D3DTOP_DISABLE},
    {V::TextureOp, "SelectArg1", D3DTOP_SELECTARG1},
    {V::TextureOp, "SelectArg2", D3DTOP_SELECTARG2},
    {V::TextureOp, "Modulate", D3DTOP_MODULATE},
    {V::TextureOp, "Modulate2x", D3DTOP_MODULATE2X},
    {V::TextureOp, "Modulate4x", D3DTOP_MODULATE4X},
    {V::TextureOp, "Add", D3DTOP_ADD},
    {V::TextureOp, "AddSigned", D3DTOP_ADDSIGNED},
    {V::TextureOp, "AddSigned2x", D3DTOP_ADDSIGNED2X},
    {V::TextureOp, "Subtract", D3DTOP_SUBTRACT},
    {V::TextureOp, "AddSmooth", D3DTOP_ADDSMOOTH},
    {V::TextureOp, "BlendDiffuseAlpha", D3DTOP_BLENDDIFFUSEALPHA},
    {V::TextureOp, "BlendTextureAlpha", D3DTOP_BLENDTEXTUREALPHA},
    {V::TextureOp, "BlendFactorAlpha", D3DTOP_BLENDFACTORALPHA},
    {V::TextureOp, "BlendTextureAlphaPM", D3DTOP_BLENDTEXTUREALPHAPM},
    {V::TextureOp, "BlendCurrentAlpha", D3DTOP_BLENDCURRENTALPHA},
    {V::TextureOp, "DotProduct3", D3DTOP_DOTPRODUCT3},
    {V::TextureOp, "MultiplyAdd", D3DTOP_MULTIPLYADD},
    {V::TextureOp, "Lerp", D3DTOP_LERP},
    {V::TextureArg, "Diffuse", D3DTA_DIFFUSE},
    {V::TextureArg, "Current", D3DTA_CURRENT},
    {V::TextureArg, "Texture", D3DTA_TEXTURE},
    {V::TextureArg, "TFactor", D3DTA_TFACTOR},
    {V::TextureArg, "Specular", D3DTA_SPECULAR},
    {V::TextureArg, "Temp", D3DTA_TEMP},
    {V::TextureArg, "Constant", D3DTA_CONSTANT},
    {V::TextureArg, "Complement", D3DTA_COMPLEMENT},
    {V::TextureArg, "AlphaReplicate", D3DTA_ALPHAREPLICATE},
    {V::Address, "Wrap", D3DTADDRESS_WRAP},
    {V::Address, "Mirror", D3DTADDRESS_MIRROR},
    {V::Address, "Clamp", D3DTADDRESS_CLAMP},
    {V::Address, "Border", D3DTADDRESS_BORDER},
    {V::Address, "MirrorOnce", D3DTADDRESS_MIRRORONCE},
    {V::Filter, "None", D3DTEXF_NONE},
    {V::Filter, "Point", D3DTEXF_POINT},
    {V::Filter, "Linear", D3DTEXF_LINEAR},
    {V::Filter, "Anisotropic", D3DTEXF_ANISOTROPIC},
    {V::Filter, "PyramidalQuad", D3DTEXF_PYRAMIDALQUAD},
    {V::Filter, "GaussianQuad", D3DTEXF_GAUSSIANQUAD},
    {V::ColorWrite, "Red", D3DCOLORWRITEENABLE_RED},
    {V::ColorWrite, "Green", D3DCOLORWRITEENABLE_GREEN},
    {V::ColorWrite, "Blue", D3DCOLORWRITEENABLE_BLUE},
    {V::ColorWrite, "Alpha", D3DCOLORWRITEENABLE_ALPHA},
    {V::TextureTransform, "Disable", D3DTTFF_DISABLE},
    {V::TextureTransform, "Count1", D3DTTFF_COUNT1},
    {V::TextureTransform, "Count2", D3DTTFF_COUNT2},
    {V::TextureTransform, "Count3", D3DTTFF_COUNT3},
    {V::TextureTransform, "Count4", D3DTTFF_COUNT4},
    {V::TextureTransform, "Projected", D3DTTFF_PROJECTED},
};

}  // namespace

StateInfo const* findState(std::string_view name) {
    for (auto const& s : kStates)
        if (equalsNoCase(s.name, name)) return &s;
    return nullptr;
}

bool enumValue(ValueType type, std::string_view word, DWORD& value) {
    if (equalsNoCase(word, "true") || equalsNoCase(word, "false")) {
        value = equalsNoCase(word, "true") ? 1 : 0;
        return type == V::Bool || type == V::ZBuffer || type == V::Dword;
    }
    for (auto const& w : kWords) {
        if (w.type == type && equalsNoCase(w.word, word)) {
            value = w.value;
            return true;
        }
    }
    return false;
}

}  // namespace port::fx
