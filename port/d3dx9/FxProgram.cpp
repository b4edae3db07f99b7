// GLSL programs of effect passes: the declarations the layer puts before each block (version,
// the device's vertex prelude and attributes, one uniform per numeric parameter and sampler),
// compiling and linking through the d3d9_gl.h contract, GL messages turned into file(line)
// messages, and uploading parameter values to the uniforms a program uses.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "port/d3d9/d3d9_gl.h"
#include "port/d3dx9/FxEffect.h"

#include <cstdlib>
#include <cstring>

namespace port::fx {

namespace {

char const* const kAttributeDeclarations =
    "in vec4 in_Position;\nin vec3 in_Normal;\nin vec4 in_Diffuse;\nin vec4 in_Specular;\n"
    "in vec4 in_TexCoord0;\nin vec4 in_TexCoord1;\nin vec4 in_TexCoord2;\nin vec4 in_TexCoord3;\n"
    "in vec4 in_TexCoord4;\nin vec4 in_TexCoord5;\nin vec4 in_TexCoord6;\nin vec4 in_TexCoord7;\n";

// The GLSL type of a numeric parameter ("" when it has none).
std::string glslType(TypeDesc const& t) {
    std::string scalar = t.type == D3DXPT_FLOAT ? "float" : t.type == D3DXPT_INT ? "int" : "bool";
    std::string prefix = t.type == D3DXPT_FLOAT ? "" : t.type == D3DXPT_INT ? "i" : "b";
    bool matrix = (t.cls == D3DXPC_MATRIX_ROWS || t.cls == D3DXPC_MATRIX_COLUMNS) && t.rows > 1 && t.cols > 1;
    if (matrix) {
        if (t.type != D3DXPT_FLOAT) return "";
        return t.rows == t.cols ? "mat" + std::to_string(t.rows) : "mat" + std::to_string(t.rows) + "x" + std::to_string(t.cols);
    }
    UINT n = t.rows * t.cols;
    if (n == 1) return scalar;
    if (n > 4) return "";
    return prefix + "vec" + std::to_string(n);
}

std::string declarations(EffectModel const& model) {
    std::string out;
    for (auto const& p : model.parameters) {
        std::string type;
        if (p->type.numeric()) type = glslType(p->type);
        else if (p->type.type == D3DXPT_SAMPLER3D) type = "sampler3D";
        else if (p->type.type == D3DXPT_SAMPLERCUBE) type = "samplerCube";
        else if (p->type.sampler()) type = "sampler2D";
        if (type.empty()) continue;
        out += "uniform " + type + " " + p->name;
        if (p->elements) out += "[" + std::to_string(p->elements) + "]";
        out += ";\n";
    }
    return out;
}

// "0:12(5): error: text" (Mesa) or "0(12) : error" and similar become "file(12,5): error: text".
std::string translateLog(std::string const& log, ShaderBlock const& block) {
    std::string out;
    std::size_t pos = 0;
    while (pos < log.size()) {
        std::size_t eol = log.find('\n', pos);
        std::string line = log.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos);
        pos = eol == std::string::npos ? log.size() : eol + 1;
        if (line.empty()) continue;
        long number = -1, column = 1;
        std::size_t rest = 0;
        if (line.compare(0, 2, "0:") == 0 || line.compare(0, 2, "0(") == 0) {
            char* end = nullptr;
            number = std::strtol(line.c_str() + 2, &end, 10);
            if (*end == '(') column = std::strtol(end + 1, &end, 10);
            while (*end == ')' || *end == ':' || *end == ' ') ++end;
            rest = static_cast<std::size_t>(end - line.c_str());
        }
        if (number > 0)
            out += block.file + "(" + std::to_string(number) + "," + std::to_string(column) + "): " + line.substr(rest) + "\n";
        else
            out += block.file + "(" + std::to_string(block.line) + ",1): " + line + "\n";
    }
    return out;
}

unsigned compileStage(bool vertex, std::string const& source, ShaderBlock const& block, Diagnostics& diag,
                      std::string& messages) {
    GLuint shader = glCreateShader(vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    char const* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE, length = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    if (!ok) {
        std::string log(static_cast<std::size_t>(std::max(length, 1)), '\0');
        glGetShaderInfoLog(shader, length, nullptr, log.data());
        log.resize(std::strlen(log.c_str()));
        std::string text = translateLog(log, block);
        messages += text;
        diag.error(block.file, block.line, 1,
                   std::string(vertex ? "glsl_vertex '" : "glsl_pixel '") + block.name + "' does not compile");
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

PassProgram* Effect::linkProgram(ShaderBlock const& vs, ShaderBlock const& ps, Diagnostics& diag) {
    std::string common = declarations(*model_);
    std::string vsSource = std::string("#version 330 core\n") + port::gl::kVertexPrelude + "\n" +
                           kAttributeDeclarations + common + "#line " + std::to_string(vs.line) + "\n" + vs.code + "\n";
    auto psSource = [&](char const* prelude) {
        return std::string("#version 330 core\n") + prelude + "\n" + common + "#line " + std::to_string(ps.line) +
               "\n" + ps.code + "\n";
    };
    // Pixel code that never calls port_alphaTest has no variant: both would be the same.
    bool variant = ps.code.find("port_alphaTest") != std::string::npos;
    std::string messages;
    port::gl::shaderCompiled(device_);
    GLuint v = compileStage(true, vsSource, vs, diag, messages);
    GLuint f = compileStage(false, psSource(port::gl::kFragmentPrelude), ps, diag, messages);
    GLuint g = v && f && variant
                   ? compileStage(false, psSource(port::gl::kFragmentPreludeWithoutAlphaTest), ps, diag, messages)
                   : 0;
    auto pp = std::make_unique<PassProgram>();
    bool ok = v && f && (g || !variant);
    if (!ok) diag.error(vs.file, vs.line, 1, "GLSL messages:\n" + messages);
    ok = ok && linkVariant(*pp, v, f, vs, ps, true, diag) && (!g || linkVariant(*pp, v, g, vs, ps, false, diag));
    for (GLuint shader : {v, f, g})
        if (shader) glDeleteShader(shader);
    if (!ok) {
        for (auto* linked : {&pp->withAlphaTest, &pp->withoutAlphaTest})
            if (linked->program) glDeleteProgram(linked->program);
        return nullptr;
    }
    if (pp->withoutAlphaTest.program)
        port::gl::setAlphaTestVariant(device_, pp->withAlphaTest.program, pp->withoutAlphaTest.program);
    PassProgram* result = pp.get();
    programs_[{vs.name, ps.name}] = std::move(pp);
    return result;
}

// Links one variant from compiled stages and finds the parameters it uses.
bool Effect::linkVariant(PassProgram& pp, unsigned vertexShader, unsigned pixelShader, ShaderBlock const& vs,
                         ShaderBlock const& ps, bool alphaTest, Diagnostics& diag) {
    GLuint program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, pixelShader);
    port::gl::bindAttributeLocations(program);
    glLinkProgram(program);
    glDetachShader(program, vertexShader);
    glDetachShader(program, pixelShader);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetProgramInfoLog(program, sizeof(log) - 1, nullptr, log);
        diag.error(ps.file, ps.line, 1, "'" + vs.name + "' and '" + ps.name + "' do not link: " + log);
        glDeleteProgram(program);
        return false;
    }
    PassProgram::Variant& variant = alphaTest ? pp.withAlphaTest : pp.withoutAlphaTest;
    variant.program = program;
    port::gl::useProgram(device_, program);  // the device's next draw makes its own program current
    UINT unit = 0;
    for (auto const& p : model_->parameters) {
        GLint location = glGetUniformLocation(program, p->name.c_str());
        if (location < 0) continue;
        if (p->type.numeric()) {
            variant.uniforms.push_back({p.get(), location});
        } else if (p->type.sampler()) {
            if (unit >= PORT_D3D_MAX_STAGES) {
                diag.error(ps.file, ps.line, 1, "more than 8 samplers used by '" + vs.name + "' and '" + ps.name + "'");
                break;
            }
            glUniform1i(location, static_cast<GLint>(unit));
            if (alphaTest) pp.samplers.push_back({p.get(), unit});
            ++unit;
        }
    }
    return !diag.failed();
}

bool Effect::compilePrograms(Diagnostics& diag) {
    bool needGL = false;
    for (auto const& t : model_->techniques)
        for (auto const& p : t->passes) needGL = needGL || !p->vertexShader.empty();
    if (needGL && !port::gl::makeCurrent(device_)) {
        diag.error("memory", 0, 0, "the device has no GL context");
        return false;
    }
    for (auto const& t : model_->techniques) {
        for (auto const& p : t->passes) {
            if (p->vertexShader.empty()) continue;
            auto found = programs_.find({p->vertexShader, p->pixelShader});
            PassProgram* program = found != programs_.end() ? found->second.get() : nullptr;
            if (!program) {
                ShaderBlock const* vs = model_->findShader(p->vertexShader, true);
                ShaderBlock const* ps = model_->findShader(p->pixelShader, false);
                if (!vs || !ps) return false;
                program = linkProgram(*vs, *ps, diag);
                if (!program) return false;
            }
            passPrograms_[p.get()] = program;
        }
    }
    return true;
}

PassProgram* Effect::programFor(Pass const& pass) {
    auto it = passPrograms_.find(&pass);
    return it == passPrograms_.end() ? nullptr : it->second;
}

void Effect::uploadUniforms(PassProgram& program, bool force) {
    for (auto* variant : {&program.withAlphaTest, &program.withoutAlphaTest}) {
        if (variant->program) uploadUniforms(*variant, force);
    }
}

void Effect::uploadUniforms(PassProgram::Variant& variant, bool force) {
    bool current = false;  // switching programs costs GL work: only for a value to upload
    for (auto& u : variant.uniforms) {
        Storage* s = u.variable->storage.get();
        if (!force && u.uploadedStorage == s && u.uploaded == s->version) continue;
        if (!current) port::gl::useProgram(device_, variant.program);
        current = true;
        u.uploaded = s->version;
        u.uploadedStorage = s;
        TypeDesc const& t = u.variable->type;
        GLsizei count = static_cast<GLsizei>(u.variable->count());
        void const* data = s->words.data();
        auto const* f = static_cast<GLfloat const*>(data);
        auto const* i = static_cast<GLint const*>(data);
        bool matrix = (t.cls == D3DXPC_MATRIX_ROWS || t.cls == D3DXPC_MATRIX_COLUMNS) && t.rows > 1 && t.cols > 1;
        if (matrix) {
            // Stored row by row: GLSL's matRxC takes each row as a column, so M * v is D3DX's v * M.
            switch (t.rows * 10 + t.cols) {
                case 22: glUniformMatrix2fv(u.location, count, GL_FALSE, f); break;
                case 33: glUniformMatrix3fv(u.location, count, GL_FALSE, f); break;
                case 44: glUniformMatrix4fv(u.location, count, GL_FALSE, f); break;
                case 23: glUniformMatrix2x3fv(u.location, count, GL_FALSE, f); break;
                case 24: glUniformMatrix2x4fv(u.location, count, GL_FALSE, f); break;
                case 32: glUniformMatrix3x2fv(u.location, count, GL_FALSE, f); break;
                case 34: glUniformMatrix3x4fv(u.location, count, GL_FALSE, f); break;
                case 42: glUniformMatrix4x2fv(u.location, count, GL_FALSE, f); break;
                case 43: glUniformMatrix4x3fv(u.location, count, GL_FALSE, f); break;
                default: break;
            }
            continue;
        }
        UINT n = t.rows * t.cols;
        if (t.type == D3DXPT_FLOAT) {
            if (n == 1) glUniform1fv(u.location, count, f);
            else if (n == 2) glUniform2fv(u.location, count, f);
            else if (n == 3) glUniform3fv(u.location, count, f);
            else if (n == 4) glUniform4fv(u.location, count, f);
        } else {
            if (n == 1) glUniform1iv(u.location, count, i);
            else if (n == 2) glUniform2iv(u.location, count, i);
            else if (n == 3) glUniform3iv(u.location, count, i);
            else if (n == 4) glUniform4iv(u.location, count, i);
        }
    }
}

Effect::~Effect() {
    if (begun_) restoreStates();
    if (!programs_.empty() && port::gl::makeCurrent(device_)) {
        for (auto const& [names, program] : programs_) {
            unsigned main = program->withAlphaTest.program;
            if (port::gl::programOverride(device_) == main) port::gl::setProgramOverride(device_, 0);
            port::gl::setAlphaTestVariant(device_, main, 0);
            glDeleteProgram(main);
            if (program->withoutAlphaTest.program) glDeleteProgram(program->withoutAlphaTest.program);
        }
    }
    programs_.clear();
    model_.reset();  // releases textures held by parameters before the device goes
    if (pool_) pool_->Release();
    if (device_) device_->Release();
}

}  // namespace port::fx
