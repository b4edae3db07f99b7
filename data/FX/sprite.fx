// Sprite: the effect the engine's sprite batcher draws every sprite with (GUI, cards, tables).
//
// Vertex input: one 48-byte layout for 2D and 3D, stream 0, stride 48.
//   offset  0  float4   position   2D: FVF 0x2C0344 (XYZRHW): screen pixels x, y, z 0, rhw 1.0
//                                  3D: FVF 0x2C4342 (XYZW): world position x, y, z, w 1.0
//   offset 16  D3DCOLOR diffuse    multiplies the texel (colour and alpha)
//   offset 20  float2   TEXCOORD0  u, v of the texture
//   offset 28  float    TEXCOORD1  texture slot 0..7: the sprite samples g_Textur<slot>
//   offset 32  float4   TEXCOORD2  3D: the sprite's centre (x, y, z, 0); 2D: unused, write zero
//
// Parameters set by the batcher: g_Textur0 .. g_Textur7 (one texture per slot in use), and for
// the 3D techniques g_View, g_Projection and g_ViewInv (identity; for billboards the inverse
// view without its translation). A 3D corner is placed at centre + (corner - centre) * g_ViewInv
// and then transformed by g_View and g_Projection, so billboards turn to face the camera.
//
// Techniques (one pass each):
//   Render2D < TEX_COUNT >      opaque (no blending); TEX_COUNT is the number of texture slots
//   Render2DAlpha               alpha blended with the device's blend factors (the batcher's
//                               Begin sets SrcAlpha, InvSrcAlpha; with its flag 0x2 the caller's
//                               own factors stay)
//   Render3D                    opaque
//   Render3DAlpha               alpha blended as Render2DAlpha
//   Render3DAlphaTest           alpha blended; pixels failing the alpha test (AlphaFunc Greater
//                               against the device's AlphaRef, 0 after the batcher's Begin)
//                               are dropped, so transparent pixels write no depth
// The device's alpha test state is honoured by every technique.
//
// Pixel mapping: 2D positions follow Direct3D 9's pixel centres (through port_screenToClip) and
// are moved by half a pixel up and left, as the D3DX sprite does: a quad with edges on whole
// pixels covers the same pixels and samples texel centres, so a texture drawn 1:1 comes out
// exact with linear filtering. Samplers filter linearly and clamp; with the macro
// SPRITE_POINT_FILTER defined (for example in the effect list's "MACROS") they take the
// nearest texel instead.

// Texture slots per draw (the "TEX_COUNT" of "Render2D"): SPRITE_TEX_COUNT, 8 unless the effect
// list's "MACROS" say otherwise. With one slot the pixel shader samples one texture; with more
// it chooses among the slots by a chain of branches, which saves draws on a GPU, while a
// software rasteriser runs every branch for every pixel (the shipped list asks for 1).
#ifndef SPRITE_TEX_COUNT
#define SPRITE_TEX_COUNT 8
#endif

#ifdef SPRITE_POINT_FILTER
#define SPRITE_FILTER Point
#else
#define SPRITE_FILTER Linear
#endif

float4x4 g_View : VIEW;
float4x4 g_ViewInv;
float4x4 g_Projection : PROJECTION;

texture g_Textur0;
texture g_Textur1;
texture g_Textur2;
texture g_Textur3;
texture g_Textur4;
texture g_Textur5;
texture g_Textur6;
texture g_Textur7;

#define SPRITE_SAMPLER(index) \
    sampler2D s_Textur##index = sampler_state { \
        Texture = <g_Textur##index>; \
        MinFilter = SPRITE_FILTER; MagFilter = SPRITE_FILTER; MipFilter = SPRITE_FILTER; \
        AddressU = Clamp; AddressV = Clamp; \
    };

SPRITE_SAMPLER(0)
SPRITE_SAMPLER(1)
SPRITE_SAMPLER(2)
SPRITE_SAMPLER(3)
SPRITE_SAMPLER(4)
SPRITE_SAMPLER(5)
SPRITE_SAMPLER(6)
SPRITE_SAMPLER(7)

glsl_vertex VS_Sprite2D {
    out vec4 v_Colour;
    out vec2 v_TexCoord;
    flat out int v_Slot;
    void main() {
        gl_Position = port_screenToClip(vec4(in_Position.xy - vec2(0.5), in_Position.zw));
        v_Colour = in_Diffuse;
        v_TexCoord = in_TexCoord0.xy;
        v_Slot = int(in_TexCoord1.x + 0.5);
    }
}

glsl_vertex VS_Sprite3D {
    out vec4 v_Colour;
    out vec2 v_TexCoord;
    flat out int v_Slot;
    void main() {
        vec3 centre = in_TexCoord2.xyz;
        vec4 world = vec4(centre, 1.0) + g_ViewInv * vec4(in_Position.xyz - centre, 0.0);
        gl_Position = port_d3dClipToGL(g_Projection * (g_View * world));
        v_Colour = in_Diffuse;
        v_TexCoord = in_TexCoord0.xy;
        v_Slot = int(in_TexCoord1.x + 0.5);
    }
}

glsl_pixel PS_Sprite {
    in vec4 v_Colour;
    in vec2 v_TexCoord;
    flat in int v_Slot;
    out vec4 result;
    void main() {
#if SPRITE_TEX_COUNT > 1
        // Gradients taken outside the branches: neighbouring sprites may use other slots.
        vec2 dx = dFdx(v_TexCoord);
        vec2 dy = dFdy(v_TexCoord);
        vec4 texel;
        if (v_Slot <= 0) texel = textureGrad(s_Textur0, v_TexCoord, dx, dy);
        else if (v_Slot == 1) texel = textureGrad(s_Textur1, v_TexCoord, dx, dy);
        else if (v_Slot == 2) texel = textureGrad(s_Textur2, v_TexCoord, dx, dy);
        else if (v_Slot == 3) texel = textureGrad(s_Textur3, v_TexCoord, dx, dy);
        else if (v_Slot == 4) texel = textureGrad(s_Textur4, v_TexCoord, dx, dy);
        else if (v_Slot == 5) texel = textureGrad(s_Textur5, v_TexCoord, dx, dy);
        else if (v_Slot == 6) texel = textureGrad(s_Textur6, v_TexCoord, dx, dy);
        else texel = textureGrad(s_Textur7, v_TexCoord, dx, dy);
#else
        vec4 texel = texture(s_Textur0, v_TexCoord);
#endif
        result = texel * v_Colour;
        port_alphaTest(result.a);
    }
}

technique Render2D < int TEX_COUNT = SPRITE_TEX_COUNT; >
{
    pass P0 { AlphaBlendEnable = false; VertexShader = VS_Sprite2D; PixelShader = PS_Sprite; }
}

technique Render2DAlpha
{
    pass P0
    {
        AlphaBlendEnable = true;
        VertexShader = VS_Sprite2D;
        PixelShader = PS_Sprite;
    }
}

technique Render3D
{
    pass P0 { AlphaBlendEnable = false; VertexShader = VS_Sprite3D; PixelShader = PS_Sprite; }
}

technique Render3DAlpha
{
    pass P0
    {
        AlphaBlendEnable = true;
        VertexShader = VS_Sprite3D;
        PixelShader = PS_Sprite;
    }
}

technique Render3DAlphaTest
{
    pass P0
    {
        AlphaBlendEnable = true;
        AlphaTestEnable = true;
        AlphaFunc = Greater;
        VertexShader = VS_Sprite3D;
        PixelShader = PS_Sprite;
    }
}
