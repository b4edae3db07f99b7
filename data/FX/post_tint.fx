// PostTint: the picture times g_Vec4_Param1, plus g_time times g_Float_Param1 on every colour
// channel (a fade that grows with the effect's time).
#define POST_FILTER Point
#include "post_common.fxh"

float4 g_Vec4_Param1 = float4(1.0, 1.0, 1.0, 1.0);
float g_Float_Param1 = 0.0;

glsl_pixel PS_Tint {
    in vec2 v_TexCoord;
    out vec4 result;
    void main() {
        vec4 picture = texture(s_Source, v_TexCoord) * g_Vec4_Param1;
        result = vec4(clamp(picture.rgb + vec3(g_time * g_Float_Param1), 0.0, 1.0), picture.a);
    }
}

technique RenderPost
{
    pass P0 { ZEnable = false; AlphaBlendEnable = false; CullMode = None; VertexShader = VS_PostQuad; PixelShader = PS_Tint; }
}
