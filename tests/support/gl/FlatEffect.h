// A small effect source in the port's effect language for tests that load effects: a flat
// colour times the vertex colour for pre-transformed vertices. VALUE (a macro, 0 when not given)
// is readable as the int parameter g_Value; technique "Flat" draws opaque, "Other" blended.
#pragma once

#include <string>

namespace testsupport {

inline std::string flatEffect(std::string const& colour = "float4(1.0, 0.0, 0.0, 1.0)") {
    return "#ifndef VALUE\n#define VALUE 0\n#endif\n"
           "int g_Value = VALUE;\n"
           "float4 g_Colour = " + colour + ";\n"
           "float4x4 g_Unused;\n"
           "glsl_vertex VS {\n"
           "  out vec4 colour;\n"
           "  void main() { gl_Position = port_screenToClip(in_Position); colour = in_Diffuse; }\n"
           "}\n"
           "glsl_pixel PS {\n"
           "  in vec4 colour;\n"
           "  out vec4 result;\n"
           "  void main() { result = g_Colour * colour; }\n"
           "}\n"
           "technique Flat < int TEX_COUNT = 2; > { pass P0 { VertexShader = VS; PixelShader = PS; } }\n"
           "technique Other { pass P0 { AlphaBlendEnable = true; VertexShader = VS; PixelShader = PS; } }\n";
}

}  // namespace testsupport
