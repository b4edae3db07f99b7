// GLSL programs: the built-in fixed-function stand-in (one program per combination of position
// kind, texture stage operations, texture presence and alpha test, made on first use), the
// variants of caller programs without the alpha test, the uniforms the
// device sets in every program, and the GL contract of d3d9_gl.h.
#include "port/d3d9/Internal.h"

#include "port/d3d9/d3d9_gl.h"
#include "port/win32/win32_text.h"
#include "port/win32/win32_log.h"

#include <cstring>
#include <string>

namespace port::gl {

char const* const kVertexPrelude = R"(
uniform vec4 port_ScreenToClip;
vec4 port_screenToClip(vec4 p) {
    float w = p.w != 0.0 ? 1.0 / p.w : 1.0;
    return vec4(p.xy * port_ScreenToClip.xy + port_ScreenToClip.zw, p.z * 2.0 - 1.0, 1.0) * w;
}
vec4 port_d3dClipToGL(vec4 c) {
    return vec4(c.x + c.w * port_ScreenToClip.x * 0.5, -c.y + c.w * port_ScreenToClip.y * 0.5, 2.0 * c.z - c.w, c.w);
}
)";

char const* const kFragmentPrelude = R"(
uniform ivec2 port_AlphaTest;
void port_alphaTest(float alpha) {
    int a = int(floor(clamp(alpha, 0.0, 1.0) * 255.0 + 0.5));
    int ref = port_AlphaTest.y;
    int f = port_AlphaTest.x;
    bool pass = f == 2 ? a < ref : f == 3 ? a == ref : f == 4 ? a <= ref : f == 5 ? a > ref
              : f == 6 ? a != ref : f == 7 ? a >= ref : f != 1;
    if (!pass) discard;
}
)";

char const* const kFragmentPreludeWithoutAlphaTest = R"(
void port_alphaTest(float alpha) {}
)";

char const* attributeName(unsigned location) {
    static char const* const names[] = {"in_Position",  "in_Normal",    "in_Diffuse",   "in_Specular",
                                        "in_TexCoord0", "in_TexCoord1", "in_TexCoord2", "in_TexCoord3",
                                        "in_TexCoord4", "in_TexCoord5", "in_TexCoord6", "in_TexCoord7"};
    return location < kAttribCount ? names[location] : nullptr;
}

void bindAttributeLocations(unsigned program) {
    for (unsigned i = 0; i < kAttribCount; ++i) glBindAttribLocation(program, i, attributeName(i));
}

bool makeCurrent(IDirect3DDevice9* device) { return device && port::d3d9::deviceOf(device)->makeCurrent(); }

unsigned textureName(IDirect3DBaseTexture9* texture) {
    if (!texture) return 0;
    return static_cast<port::d3d9::Texture*>(static_cast<IDirect3DTexture9*>(texture))->gl();
}

unsigned textureTarget(IDirect3DBaseTexture9* texture) { return textureName(texture) ? GL_TEXTURE_2D : 0; }

void setProgramOverride(IDirect3DDevice9* device, unsigned program) {
    if (device) port::d3d9::deviceOf(device)->setProgramOverride(program);
}

void shaderCompiled(IDirect3DDevice9* device) {
    if (device) port::d3d9::deviceOf(device)->noteShaderCompiled();
}

void useProgram(IDirect3DDevice9* device, unsigned program) {
    if (device) port::d3d9::deviceOf(device)->useProgram(program);
}

unsigned programOverride(IDirect3DDevice9* device) {
    return device ? port::d3d9::deviceOf(device)->programOverride() : 0;
}

void setAlphaTestVariant(IDirect3DDevice9* device, unsigned program, unsigned withoutAlphaTest) {
    if (device) port::d3d9::deviceOf(device)->setAlphaTestVariant(program, withoutAlphaTest);
}

}  // namespace port::gl

namespace port::d3d9 {
namespace {

char const* const kBuiltInVertex = R"(
layout(location = 0) in vec4 in_Position;
layout(location = 2) in vec4 in_Diffuse;
layout(location = 3) in vec4 in_Specular;
layout(location = 4) in vec4 in_TexCoord0;
layout(location = 5) in vec4 in_TexCoord1;
layout(location = 6) in vec4 in_TexCoord2;
layout(location = 7) in vec4 in_TexCoord3;
layout(location = 8) in vec4 in_TexCoord4;
layout(location = 9) in vec4 in_TexCoord5;
layout(location = 10) in vec4 in_TexCoord6;
layout(location = 11) in vec4 in_TexCoord7;
uniform mat4 u_worldViewProjection;
out vec4 v_diffuse;
out vec4 v_specular;
out vec4 v_tex0;
out vec4 v_tex1;
void main() {
#if PRETRANSFORMED
    gl_Position = port_screenToClip(in_Position);
#else
    gl_Position = port_d3dClipToGL(u_worldViewProjection * in_Position);
#endif
    v_diffuse = in_Diffuse;
    v_specular = in_Specular;
    v_tex0 = TEXCOORD0;
    v_tex1 = TEXCOORD1;
}
)";

char const* const kBuiltInFragment = R"(
in vec4 v_diffuse;
in vec4 v_specular;
in vec4 v_tex0;
in vec4 v_tex1;
uniform sampler2D u_texture0;
uniform sampler2D u_texture1;
uniform vec4 u_textureFactor;
out vec4 out_Color;
vec4 arg(int a, vec4 current, vec4 tex) {
    int sel = a & 15;
    vec4 r = sel == 0 ? v_diffuse : sel == 2 ? tex : sel == 3 ? u_textureFactor : sel == 4 ? v_specular : current;
    if ((a & 16) != 0) r = vec4(1.0) - r;
    if ((a & 32) != 0) r = vec4(r.a);
    return r;
}
vec4 op(int o, vec4 a1, vec4 a2, vec4 current, vec4 tex) {
    if (o == 2) return a1;
    if (o == 3) return a2;
    if (o == 5) return a1 * a2 * 2.0;
    if (o == 6) return a1 * a2 * 4.0;
    if (o == 7) return a1 + a2;
    if (o == 8) return a1 + a2 - 0.5;
    if (o == 9) return (a1 + a2 - 0.5) * 2.0;
    if (o == 10) return a1 - a2;
    if (o == 11) return a1 + a2 - a1 * a2;
    if (o == 12) return mix(a2, a1, v_diffuse.a);
    if (o == 13) return mix(a2, a1, tex.a);
    if (o == 14) return mix(a2, a1, u_textureFactor.a);
    if (o == 16) return mix(a2, a1, current.a);
    return a1 * a2;
}
vec4 stage(int cop, int ca1, int ca2, int aop, int aa1, int aa2, vec4 current, vec4 tex) {
    vec3 c = op(cop, arg(ca1, current, tex), arg(ca2, current, tex), current, tex).rgb;
    float a = aop == 1 ? current.a : op(aop, arg(aa1, current, tex), arg(aa2, current, tex), current, tex).a;
    return clamp(vec4(c, a), 0.0, 1.0);
}
void main() {
    vec4 current = v_diffuse;
#if C0OP != 1
    vec4 tex0 = HAS_TEX0 != 0 ? texture(u_texture0, v_tex0.xy) : vec4(1.0);
    current = stage(C0OP, C0A1, C0A2, A0OP, A0A1, A0A2, current, tex0);
#if C1OP != 1
    vec4 tex1 = HAS_TEX1 != 0 ? texture(u_texture1, v_tex1.xy) : vec4(1.0);
    current = stage(C1OP, C1A1, C1A2, A1OP, A1A1, A1A2, current, tex1);
#endif
#endif
#if SPECULAR
    current.rgb = clamp(current.rgb + v_specular.rgb, 0.0, 1.0);
#endif
#if ALPHA_TEST
    port_alphaTest(current.a);
#endif
    out_Color = current;
}
)";

GLuint compile(GLenum kind, std::string const& source) {
    GLuint shader = glCreateShader(kind);
    char const* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        port::logLine(port::LogLevel::Error, L"built-in shader failed: " + port::fromUtf8(log));
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

// Compiles and links the built-in program for its defines; 0 (logged) when GL refuses.
GLuint linkBuiltIn(std::string const& defines) {
    std::string head = "#version 330 core\n" + defines;
    GLuint vs = compile(GL_VERTEX_SHADER, head + gl::kVertexPrelude + kBuiltInVertex);
    GLuint fs = compile(GL_FRAGMENT_SHADER, head + gl::kFragmentPrelude + kBuiltInFragment);
    GLuint program = 0;
    if (vs && fs) {
        program = glCreateProgram();
        glAttachShader(program, vs);
        glAttachShader(program, fs);
        glLinkProgram(program);
        GLint ok = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            port::logLine(port::LogLevel::Error, L"built-in program failed to link");
            glDeleteProgram(program);
            program = 0;
        }
    }
    if (vs) glDeleteShader(vs);
    if (fs) glDeleteShader(fs);
    return program;
}

D3DMATRIX multiply(D3DMATRIX const& a, D3DMATRIX const& b) {
    D3DMATRIX out{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
            out.m[i][j] = sum;
        }
    return out;
}

}  // namespace

bool Device::alphaTestInUse() const {
    DWORD func = state_.render[D3DRS_ALPHAFUNC];
    return state_.render[D3DRS_ALPHATESTENABLE] && func >= D3DCMP_NEVER && func < D3DCMP_ALWAYS;
}

void Device::setProgramOverride(GLuint program) {
    // A caller's program name can come back for another program after a delete: its uniform
    // locations are looked up again whenever another override is set.
    if (program != programOverride_) {
        uniforms_.erase(program);
        auto variant = alphaTestVariants_.find(program);
        if (variant != alphaTestVariants_.end()) uniforms_.erase(variant->second);
        lastUniforms_ = nullptr;
    }
    programOverride_ = program;
}

void Device::setAlphaTestVariant(GLuint program, GLuint withoutAlphaTest) {
    lastUniforms_ = nullptr;
    auto found = alphaTestVariants_.find(program);
    if (found != alphaTestVariants_.end()) {
        uniforms_.erase(found->second);
        alphaTestVariants_.erase(found);
    }
    if (program && withoutAlphaTest) {
        uniforms_.erase(withoutAlphaTest);
        alphaTestVariants_[program] = withoutAlphaTest;
    }
}

GLuint Device::builtInProgram(bool pretransformed, DWORD fvf, bool alphaTest) {
    unsigned sets = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    // Everything the program text depends on; the text is only made when it changed.
    BuiltInKey key{};
    std::size_t k = 0;
    key.values[k++] = pretransformed;
    key.values[k++] = sets;
    key.values[k++] = state_.render[D3DRS_SPECULARENABLE] && (fvf & D3DFVF_SPECULAR);
    key.values[k++] = alphaTest;
    for (int i = 0; i < 2; ++i) {
        DWORD const* t = state_.stage[i];
        for (D3DTEXTURESTAGESTATETYPE type : {D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2, D3DTSS_ALPHAOP,
                                              D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2, D3DTSS_TEXCOORDINDEX})
            key.values[k++] = t[type];
        key.values[k++] = state_.textures[i] != nullptr;
    }
    if (builtInKnown_ && key == lastBuiltIn_) return lastBuiltInProgram_;
    std::string defines = "#define PRETRANSFORMED " + std::to_string(pretransformed ? 1 : 0) + "\n";
    auto define = [&](char const* name, DWORD value) {
        defines += "#define " + std::string(name) + " " + std::to_string(value) + "\n";
    };
    for (int i = 0; i < 2; ++i) {
        DWORD const* t = state_.stage[i];
        std::string n = std::to_string(i);
        define(("C" + n + "OP").c_str(), t[D3DTSS_COLOROP]);
        define(("C" + n + "A1").c_str(), t[D3DTSS_COLORARG1]);
        define(("C" + n + "A2").c_str(), t[D3DTSS_COLORARG2]);
        define(("A" + n + "OP").c_str(), t[D3DTSS_ALPHAOP]);
        define(("A" + n + "A1").c_str(), t[D3DTSS_ALPHAARG1]);
        define(("A" + n + "A2").c_str(), t[D3DTSS_ALPHAARG2]);
        define(("HAS_TEX" + n).c_str(), state_.textures[i] ? 1 : 0);
        DWORD set = t[D3DTSS_TEXCOORDINDEX] & 0xFFFF;
        defines += "#define TEXCOORD" + n + " " +
                   (set < sets && set < 8 ? "in_TexCoord" + std::to_string(set) : std::string("vec4(0.0)")) + "\n";
    }
    define("SPECULAR", state_.render[D3DRS_SPECULARENABLE] && (fvf & D3DFVF_SPECULAR) ? 1 : 0);
    define("ALPHA_TEST", alphaTest ? 1 : 0);
    auto found = programs_.find(defines);
    GLuint program = found != programs_.end() ? found->second : 0;
    if (found == programs_.end()) {
        program = programs_[defines] = linkBuiltIn(defines);
        noteShaderCompiled();
    }
    lastBuiltIn_ = key;
    lastBuiltInProgram_ = program;
    builtInKnown_ = true;
    return program;
}

ProgramUniforms& Device::uniformsOf(GLuint program) {
    if (lastUniforms_ && lastUniformsProgram_ == program) return *lastUniforms_;
    lastUniformsProgram_ = program;
    lastUniforms_ = &lookUpUniforms(program);
    return *lastUniforms_;
}

ProgramUniforms& Device::lookUpUniforms(GLuint program) {
    auto found = uniforms_.find(program);
    if (found != uniforms_.end()) return found->second;
    ProgramUniforms u;
    u.screenToClip = glGetUniformLocation(program, "port_ScreenToClip");
    u.alphaTest = glGetUniformLocation(program, "port_AlphaTest");
    u.worldViewProjection = glGetUniformLocation(program, "u_worldViewProjection");
    u.textureFactor = glGetUniformLocation(program, "u_textureFactor");
    u.sampler[0] = glGetUniformLocation(program, "u_texture0");
    u.sampler[1] = glGetUniformLocation(program, "u_texture1");
    return uniforms_[program] = u;
}

void Device::setProgramUniforms(GLuint program, bool pretransformed) {
    // A program keeps its uniforms' values: only those that changed since its last draw are set.
    ProgramUniforms& u = uniformsOf(program);
    bool const known = u.valuesKnown;
    u.valuesKnown = true;
    if (u.screenToClip >= 0) {
        D3DVIEWPORT9 const& vp = state_.viewport;
        float w = static_cast<float>(vp.Width ? vp.Width : 1), h = static_cast<float>(vp.Height ? vp.Height : 1);
        float const value[4] = {2.0f / w, 2.0f / h, (1.0f - 2.0f * static_cast<float>(vp.X)) / w - 1.0f,
                                (1.0f - 2.0f * static_cast<float>(vp.Y)) / h - 1.0f};
        if (!known || std::memcmp(value, u.screenToClipValue, sizeof(value)) != 0) {
            glUniform4fv(u.screenToClip, 1, value);
            std::memcpy(u.screenToClipValue, value, sizeof(value));
        }
    }
    if (u.alphaTest >= 0) {
        DWORD const* r = state_.render;
        GLint const value[2] = {r[D3DRS_ALPHATESTENABLE] ? static_cast<GLint>(r[D3DRS_ALPHAFUNC]) : D3DCMP_ALWAYS,
                                static_cast<GLint>(r[D3DRS_ALPHAREF] & 0xFF)};
        if (!known || value[0] != u.alphaTestValue[0] || value[1] != u.alphaTestValue[1]) {
            glUniform2iv(u.alphaTest, 1, value);
            u.alphaTestValue[0] = value[0];
            u.alphaTestValue[1] = value[1];
        }
    }
    if (u.worldViewProjection >= 0 && !pretransformed) {
        D3DMATRIX wvp = multiply(multiply(state_.transforms[transformSlot(D3DTS_WORLD)],
                                          state_.transforms[transformSlot(D3DTS_VIEW)]),
                                 state_.transforms[transformSlot(D3DTS_PROJECTION)]);
        glUniformMatrix4fv(u.worldViewProjection, 1, GL_FALSE, &wvp.m[0][0]);
    }
    if (u.textureFactor >= 0) {
        DWORD c = state_.render[D3DRS_TEXTUREFACTOR];
        if (!known || c != u.textureFactorValue) {
            glUniform4f(u.textureFactor, ((c >> 16) & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f,
                        (c & 0xFF) / 255.0f, ((c >> 24) & 0xFF) / 255.0f);
            u.textureFactorValue = c;
        }
    }
    if (!known)
        for (int i = 0; i < 2; ++i)
            if (u.sampler[i] >= 0) glUniform1i(u.sampler[i], i);
}

}  // namespace port::d3d9
