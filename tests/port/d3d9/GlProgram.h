// A caller's GL program for the override tests, linked with the device's attribute locations.
#pragma once

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>
#include <gtest/gtest.h>

#include <string>

#include "port/d3d9/d3d9_gl.h"

namespace d3d9test {

inline GLuint linkProgram(std::string const& vertex, std::string const& fragment) {
    auto compile = [](GLenum kind, std::string const& text) {
        GLuint shader = glCreateShader(kind);
        char const* source = text.c_str();
        glShaderSource(shader, 1, &source, nullptr);
        glCompileShader(shader);
        GLint ok = 0;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
        EXPECT_TRUE(ok);
        return shader;
    };
    GLuint program = glCreateProgram();
    GLuint v = compile(GL_VERTEX_SHADER, vertex), f = compile(GL_FRAGMENT_SHADER, fragment);
    glAttachShader(program, v);
    glAttachShader(program, f);
    port::gl::bindAttributeLocations(program);
    glLinkProgram(program);
    glDeleteShader(v);
    glDeleteShader(f);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    EXPECT_TRUE(linked);
    return program;
}

}  // namespace d3d9test
