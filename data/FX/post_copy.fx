// PostCopy: hands the picture on unchanged (texel for texel).
#define POST_FILTER Point
#include "post_common.fxh"

glsl_pixel PS_Copy {
    in vec2 v_TexCoord;
    out vec4 result;
    void main() { result = texture(s_Source, v_TexCoord); }
}

technique RenderPost
{
    pass P0 { ZEnable = false; AlphaBlendEnable = false; CullMode = None; VertexShader = VS_PostQuad; PixelShader = PS_Copy; }
}
