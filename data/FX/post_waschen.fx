// PostWaschen: the cleaning game's composition. The picture so far (g_Static_SRC) and a pass's
// overlay (g_Static_DST) are mixed channel by channel by the pass's painted mask
// (g_Static_MSK): 0 keeps the picture, 1 shows the overlay. The three are sampled over the whole
// target, whatever their own sizes; the small masks are filtered linearly, so the scrubbed
// places have soft edges.
#define POST_FILTER Point
#include "post_common.fxh"

texture g_Static_SRC;
texture g_Static_DST;
texture g_Static_MSK;

sampler2D s_Picture = sampler_state {
    Texture = <g_Static_SRC>;
    MinFilter = Linear; MagFilter = Linear; MipFilter = Point;
    AddressU = Clamp; AddressV = Clamp;
};
sampler2D s_Overlay = sampler_state {
    Texture = <g_Static_DST>;
    MinFilter = Linear; MagFilter = Linear; MipFilter = Point;
    AddressU = Clamp; AddressV = Clamp;
};
sampler2D s_Mask = sampler_state {
    Texture = <g_Static_MSK>;
    MinFilter = Linear; MagFilter = Linear; MipFilter = Point;
    AddressU = Clamp; AddressV = Clamp;
};

glsl_pixel PS_Waschen {
    in vec2 v_TexCoord;
    out vec4 result;
    void main() {
        vec4 picture = texture(s_Picture, v_TexCoord);
        vec4 overlay = texture(s_Overlay, v_TexCoord);
        vec4 mask = texture(s_Mask, v_TexCoord);
        result = mix(picture, overlay, mask);
    }
}

technique RenderPost
{
    pass P0 { ZEnable = false; AlphaBlendEnable = false; CullMode = None; VertexShader = VS_PostQuad; PixelShader = PS_Waschen; }
}
