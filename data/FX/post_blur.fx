// PostBlur: a blur in two passes of the renderer's scaling. Defined with BLUR_DOWN, the pass
// halves the picture (fScaleX/fScaleY 0.5): linear filtering at the 2:1 step averages each 2x2
// block. Without it, the pass doubles the quarter the previous effect left (fScaleX/fScaleY 2)
// with linear filtering, so an edge comes back softened over two pixels.
//
// g_TexelSize receives g_PixelStep divided by the target size (ConvertPixelsToTexels): the up
// pass stops half a texel short of the quarter's far edges, which would else take in the
// cleared texels beyond it.
#define POST_FILTER Linear
#include "post_common.fxh"

float4 g_PixelStep = float4(1.0, 1.0, 0.0, 0.0);
float4 g_TexelSize < string ConvertPixelsToTexels = "g_PixelStep"; > = float4(0.0, 0.0, 0.0, 0.0);

glsl_pixel PS_Blur {
    in vec2 v_TexCoord;
    out vec4 result;
    void main() {
#ifdef BLUR_DOWN
        result = texture(s_Source, v_TexCoord);
#else
        vec2 last = vec2(0.5) - 0.5 * g_TexelSize.xy;
        result = texture(s_Source, min(v_TexCoord, last));
#endif
    }
}

#ifdef BLUR_DOWN
technique RenderPost
{
    pass Down < float fScaleX = 0.5; float fScaleY = 0.5; >
    { ZEnable = false; AlphaBlendEnable = false; CullMode = None; VertexShader = VS_PostQuad; PixelShader = PS_Blur; }
}
#else
technique RenderPost
{
    pass Up < float fScaleX = 2.0; float fScaleY = 2.0; >
    { ZEnable = false; AlphaBlendEnable = false; CullMode = None; VertexShader = VS_PostQuad; PixelShader = PS_Blur; }
}
#endif
