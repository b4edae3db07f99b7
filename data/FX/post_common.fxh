// Shared by the post effects: the pictures the post-effect renderer hands in, and the vertex
// program of its screen quad (pre-transformed corners at -0.5 .. size - 0.5, so the quad's edges
// lie on pixel edges and texture coordinate set 0 hits texel centres).
texture g_Textur_SRC;
texture g_Textur_ORG;
float g_time;

sampler2D s_Source = sampler_state {
    Texture = <g_Textur_SRC>;
    MinFilter = POST_FILTER; MagFilter = POST_FILTER; MipFilter = Point;
    AddressU = Clamp; AddressV = Clamp;
};

glsl_vertex VS_PostQuad {
    out vec2 v_TexCoord;
    void main() {
        gl_Position = port_screenToClip(in_Position);
        v_TexCoord = in_TexCoord0.xy;
    }
}
