// The direct SDL2 + OpenGL 3.3 reference renderer of the sprite benchmarks (see DirectGl.h).
#include "bench/DirectGl.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <string>

namespace bench {
namespace {

// Quads one 16-bit index buffer can address.
constexpr unsigned kMaxQuads = 16384;

char const* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec2 in_position;
layout(location = 1) in vec2 in_uv;
layout(location = 2) in vec4 in_colour;
layout(location = 3) in float in_slot;
uniform vec2 u_scale;
out vec2 v_uv;
out vec4 v_colour;
flat out int v_slot;
void main() {
    gl_Position = vec4(in_position * u_scale + vec2(-1.0, 1.0), -1.0, 1.0);  // depth 0, Direct3D's z 0
    v_uv = in_uv;
    v_colour = in_colour;
    v_slot = int(in_slot + 0.5);
}
)";

char const* const kOneSlotShader = R"(#version 330 core
in vec2 v_uv;
in vec4 v_colour;
uniform sampler2D u_texture0;
out vec4 out_colour;
void main() { out_colour = texture(u_texture0, v_uv) * v_colour; }
)";

char const* const kEightSlotShader = R"(#version 330 core
in vec2 v_uv;
in vec4 v_colour;
flat in int v_slot;
uniform sampler2D u_texture0, u_texture1, u_texture2, u_texture3, u_texture4, u_texture5, u_texture6, u_texture7;
out vec4 out_colour;
void main() {
    vec4 texel;
    if (v_slot == 0) texel = texture(u_texture0, v_uv);
    else if (v_slot == 1) texel = texture(u_texture1, v_uv);
    else if (v_slot == 2) texel = texture(u_texture2, v_uv);
    else if (v_slot == 3) texel = texture(u_texture3, v_uv);
    else if (v_slot == 4) texel = texture(u_texture4, v_uv);
    else if (v_slot == 5) texel = texture(u_texture5, v_uv);
    else if (v_slot == 6) texel = texture(u_texture6, v_uv);
    else texel = texture(u_texture7, v_uv);
    out_colour = texel * v_colour;
}
)";

GLuint compile(GLenum kind, char const* source) {
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        std::fprintf(stderr, "direct GL shader: %s\n", log);
    }
    return shader;
}

}  // namespace

DirectGl::~DirectGl() {
    if (context_) {
        SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_));
        glDeleteProgram(programs_[0]);
        glDeleteProgram(programs_[1]);
        glDeleteTextures(static_cast<GLsizei>(textures_.size()), textures_.data());
        glDeleteTextures(1, &targetTexture_);
        glDeleteFramebuffers(1, &targetFbo_);
        glDeleteRenderbuffers(1, &targetDepth_);
        GLuint buffers[] = {vbo_, ibo_};
        glDeleteBuffers(2, buffers);
        glDeleteVertexArrays(1, &vao_);
        SDL_GL_MakeCurrent(window_, nullptr);
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
    }
    if (window_) SDL_DestroyWindow(window_);
    if (window_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool DirectGl::open(unsigned width, unsigned height, unsigned maxSprites, bool windowDepth) {
    if (maxSprites > kMaxQuads || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    width_ = width;
    height_ = height;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, windowDepth ? 24 : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, windowDepth ? 8 : 0);
    window_ = SDL_CreateWindow("direct GL", 0, 0, static_cast<int>(width), static_cast<int>(height),
                               SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window_) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    context_ = SDL_GL_CreateContext(window_);
    if (!context_ || SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_)) != 0) return false;
    SDL_GL_SetSwapInterval(0);
    GLuint vs = compile(GL_VERTEX_SHADER, kVertexShader);
    for (int i = 0; i < 2; ++i) {
        GLuint fs = compile(GL_FRAGMENT_SHADER, i == 0 ? kOneSlotShader : kEightSlotShader);
        GLuint p = glCreateProgram();
        glAttachShader(p, vs);
        glAttachShader(p, fs);
        glLinkProgram(p);
        glDeleteShader(fs);
        glUseProgram(p);
        glUniform2f(glGetUniformLocation(p, "u_scale"), 2.0f / static_cast<float>(width),
                    -2.0f / static_cast<float>(height));
        for (unsigned unit = 0; unit < kMaxSlots; ++unit)
            glUniform1i(glGetUniformLocation(p, ("u_texture" + std::to_string(unit)).c_str()), static_cast<GLint>(unit));
        programs_[i] = p;
    }
    glDeleteShader(vs);
    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    glGenBuffers(1, &vbo_);
    glGenBuffers(1, &ibo_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, x)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, u)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, colour)));
    glEnableVertexAttribArray(3);
    glVertexAttribPointer(3, 1, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, slot)));
    std::vector<uint16_t> indices;
    indices.reserve(static_cast<size_t>(maxSprites) * 6);
    for (unsigned q = 0; q < maxSprites; ++q)
        for (unsigned k : {0u, 1u, 2u, 1u, 3u, 2u}) indices.push_back(static_cast<uint16_t>(4 * q + k));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * 2), indices.data(), GL_STATIC_DRAW);
    vertices_.reserve(static_cast<size_t>(maxSprites) * 4);
    return glGetError() == GL_NO_ERROR;
}

unsigned DirectGl::addTexture(unsigned width, unsigned height, uint32_t const* pixels) {
    SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width), static_cast<GLsizei>(height), 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, pixels);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    textures_.push_back(texture);
    return static_cast<unsigned>(textures_.size() - 1);
}

void DirectGl::drawIntoTexture(bool intoTexture) {
    intoTexture_ = intoTexture;
    if (!intoTexture || targetFbo_) return;
    SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_));
    glGenTextures(1, &targetTexture_);
    glBindTexture(GL_TEXTURE_2D, targetTexture_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), 0, GL_BGRA,
                 GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glGenFramebuffers(1, &targetFbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, targetFbo_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, targetTexture_, 0);
    glGenRenderbuffers(1, &targetDepth_);
    glBindRenderbuffer(GL_RENDERBUFFER, targetDepth_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, static_cast<GLsizei>(width_),
                          static_cast<GLsizei>(height_));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

unsigned DirectGl::frame(std::vector<DirectSprite> const& sprites, unsigned slots) {
    slots = std::clamp(slots, 1u, kMaxSlots);
    SDL_GL_MakeCurrent(window_, static_cast<SDL_GLContext>(context_));
    // Vertices and chunks first: the slot of a sprite is known once its chunk is.
    struct Chunk {
        unsigned first, count, used;
        unsigned textures[kMaxSlots];
    };
    std::vector<Chunk> chunks;
    vertices_.clear();
    size_t const quads = std::min<size_t>(sprites.size(), kMaxQuads);
    for (size_t i = 0; i < quads; ++i) {
        DirectSprite const& s = sprites[i];
        Chunk* chunk = chunks.empty() ? nullptr : &chunks.back();
        unsigned slot = 0;
        while (chunk && slot < chunk->used && chunk->textures[slot] != s.texture) ++slot;
        if (!chunk || (slot == chunk->used && chunk->used == slots)) {
            chunks.push_back(Chunk{static_cast<unsigned>(i), 0, 0, {}});
            chunk = &chunks.back();
            slot = 0;
        }
        if (slot == chunk->used) chunk->textures[chunk->used++] = s.texture;
        ++chunk->count;
        float const x1 = s.x + s.width, y1 = s.y + s.height, f = static_cast<float>(slot);
        vertices_.push_back({s.x, s.y, 0, 0, s.colour, f});
        vertices_.push_back({x1, s.y, 1, 0, s.colour, f});
        vertices_.push_back({s.x, y1, 0, 1, s.colour, f});
        vertices_.push_back({x1, y1, 1, 1, s.colour, f});
    }
    glBindFramebuffer(GL_FRAMEBUFFER, intoTexture_ ? targetFbo_ : 0);
    glViewport(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
    glClearColor(0x20 / 255.0f, 0x60 / 255.0f, 0x20 / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    if (intoTexture_ && depthAttached_ != depthTest_) {  // only while tested, as the port attaches it
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                  depthTest_ ? targetDepth_ : 0);
        depthAttached_ = depthTest_;
    }
    if (depthTest_ && !depthCleared_[intoTexture_ ? 1 : 0]) {  // once, as a device clears it at creation
        glDepthMask(GL_TRUE);
        glClearDepth(1.0);
        glClear(GL_DEPTH_BUFFER_BIT);
        depthCleared_[intoTexture_ ? 1 : 0] = true;
    }
    if (depthTest_) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(GL_TRUE);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glUseProgram(programs_[slots > 1 ? 1 : 0]);
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    GLsizeiptr const bytes = static_cast<GLsizeiptr>(vertices_.size() * sizeof(Vertex));
    glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);  // a fresh buffer each frame
    glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices_.data());
    for (Chunk const& c : chunks) {
        for (unsigned unit = 0; unit < c.used; ++unit) {
            glActiveTexture(GL_TEXTURE0 + unit);
            glBindTexture(GL_TEXTURE_2D, textures_[c.textures[unit]]);
        }
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(c.count * 6), GL_UNSIGNED_SHORT,
                       reinterpret_cast<void*>(static_cast<uintptr_t>(c.first) * 6 * 2));
    }
    glActiveTexture(GL_TEXTURE0);
    uint8_t corner[4];
    glReadPixels(0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
    if (intoTexture_) {  // rows top first in the texture: flipped on the way to the window
        GLint const w = static_cast<GLint>(width_), h = static_cast<GLint>(height_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        glBlitFramebuffer(0, 0, w, h, 0, h, w, 0, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    }
    SDL_GL_SwapWindow(window_);
    return static_cast<unsigned>(chunks.size());
}

}  // namespace bench
