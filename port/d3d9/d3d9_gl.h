// The OpenGL side of the Direct3D 9 device, for layers above it (D3DX effects, sprites, texture
// loading) that draw with their own GLSL programs through the device's draw calls.
//
// How the device uses GL
// - One OpenGL 3.3 core context per device, on the device window's SDL window. Textures and
//   render targets are drawn through framebuffer objects. The back buffer is the window's own
//   framebuffer where the window has what the present parameters ask (its size, 8-bit RGBA, no
//   multisampling, GL clip control; port::d3d9::backBufferOnWindow tells), otherwise a texture
//   that Present copies to the window. The window's depth-stencil buffer holds the automatic
//   depth-stencil surface while the back buffer is the target (port::d3d9::depthStencilOnWindow);
//   with a depth-stencil surface of another kind, from the first draw that tests depth or
//   stencil on the back buffer until Present, the back buffer is a texture of its own.
// - Rows are stored top row first in textures and render targets: GL row 0 is Direct3D's top
//   row. So a texture coordinate v = 0 samples the top row in GL too, and render-target textures
//   need no flip. The window counts rows from the bottom: while it is the target the device sets
//   the clip origin to the upper left, so the same gl_Position puts a pixel at the same place
//   either way (gl_FragCoord.y does differ: it counts from the window's bottom there).
// - Texture stage / sampler i is GL texture unit i. At each draw the device binds, for every
//   stage 0..7 with a texture set, that texture and a sampler object carrying the stage's
//   D3DSAMP_ states (filters, address modes, border colour, LOD bias).
// - At each draw the device binds its own vertex array object, buffers, textures and program,
//   and applies the render states (blending, alpha test in the built-in program, stencil, depth,
//   culling, colour mask, scissor, viewport) when they changed since the last draw; vertex
//   attributes, framebuffer attachments and sampler parameters also only when they changed.
//   Textures are bound and the program made current only when they differ from what the device
//   bound last. Callers may change GL_ARRAY_BUFFER and uniforms between draws, and make a
//   program current through useProgram (below) to set its uniforms; they must not bind textures,
//   samplers or programs, change the active texture unit, the framebuffer, the device's vertex
//   array object, enables, blend/stencil/depth/colour-mask/viewport/scissor state directly: set
//   those through IDirect3DDevice9 so the device's cache stays true.
//
// Drawing with an own program (program override)
// - Link the program with the attribute locations below (call bindAttributeLocations before
//   glLinkProgram, or use `layout(location = N)` with the same numbers). The device feeds each
//   attribute the current FVF has; attributes the FVF lacks read GL's constant default
//   (0, 0, 0, 1), except in_Diffuse, which reads opaque white as Direct3D does.
//   - in_Position: vec4. XYZ gives (x, y, z, 1); XYZRHW gives (x, y, z, rhw) in screen pixels;
//     XYZW gives (x, y, z, w).
//   - in_Normal: vec3. in_Diffuse, in_Specular: vec4 rgba in 0..1 (from the D3DCOLOR bytes).
//   - in_TexCoord0 .. in_TexCoord7: the FVF's coordinate sets, 1 to 4 floats each.
// - setProgramOverride(device, program) makes the following draws use that program instead of
//   the built-in fixed-function program; 0 restores the built-in one. The override stays until
//   changed (Reset clears it). The device makes the program current at each draw; the caller
//   sets its own uniforms (after useProgram) before the draw. The device keeps the locations
//   of its uniforms while the override stays: set another override (or 0) before deleting the
//   program, since GL may give its name to the next one.
// - Screen mapping: when the program has `uniform vec4 port_ScreenToClip;` the device sets it at
//   each draw to (2/W, 2/H, (1 - 2X)/W - 1, (1 - 2Y)/H - 1) for the current viewport (X, Y, W, H).
//   With it, a screen position p (Direct3D pixel coordinates, pixel centres on integers) maps to
//   normalized device coordinates as p.xy * port_ScreenToClip.xy + port_ScreenToClip.zw. That is
//   Direct3D 9's convention: the pixel (i, j) is centred on (i, j), so a quad whose edges lie on
//   integer coordinates covers exactly the pixels inside it and samples each texel at its
//   top-left corner (point filtering copies texels one to one; with linear filtering a quad
//   moved by (-0.5, -0.5) does, as on Direct3D 9).
// - kVertexPrelude (below) is GLSL to paste after the #version line of a vertex shader: it
//   declares port_ScreenToClip and two functions:
//     vec4 port_screenToClip(vec4 p)  // XYZRHW position -> gl_Position (z 0..1, rhw kept)
//     vec4 port_d3dClipToGL(vec4 c)   // a Direct3D clip position (v * World*View*Projection,
//                                     // z in 0..w) -> gl_Position with the same pixel mapping
// - Matrices: a D3DMATRIX uploaded with glUniformMatrix4fv(..., GL_FALSE, &m._11) is used in GLSL
//   as `M * v` to compute Direct3D's row-vector product v * M.
// - Alpha test: Direct3D's alpha test (D3DRS_ALPHATESTENABLE, ALPHAFUNC, ALPHAREF) runs after
//   the pixel shader; GL has none. When the program has `uniform ivec2 port_AlphaTest;` the device
//   sets it at each draw to (ALPHAFUNC, or D3DCMP_ALWAYS while the test is off; ALPHAREF & 0xFF).
//   kFragmentPrelude declares it with `void port_alphaTest(float alpha)`, which discards the
//   fragment when the test fails; call it with the final alpha.
// - A `discard` anywhere in a program costs a software rasteriser on every pixel, even with the
//   alpha test off. So a caller may link a second program from kFragmentPreludeWithoutAlphaTest
//   (port_alphaTest does nothing) and pair it with setAlphaTestVariant(device, program, variant):
//   draws with the override `program` then use `variant` while the alpha test is off (disabled,
//   or D3DCMP_ALWAYS). The caller sets its uniforms in both programs. Pair with 0 before
//   deleting either program.
#pragma once

struct IDirect3DDevice9;
struct IDirect3DBaseTexture9;

namespace port::gl {

// Attribute locations of the FVF elements.
enum Attribute : unsigned {
    kAttribPosition = 0,
    kAttribNormal = 1,
    kAttribDiffuse = 2,
    kAttribSpecular = 3,
    kAttribTexCoord0 = 4,  // kAttribTexCoord0 + n for coordinate set n (0..7)
    kAttribCount = 12
};

// "in_Position", "in_Normal", "in_Diffuse", "in_Specular", "in_TexCoord0" .. "in_TexCoord7";
// null for a location of kAttribCount or more.
char const* attributeName(unsigned location);

// glBindAttribLocation for every attribute above (the context must be current).
void bindAttributeLocations(unsigned program);

// GLSL text declaring port_ScreenToClip, port_screenToClip and port_d3dClipToGL (see above).
extern char const* const kVertexPrelude;
// GLSL text declaring port_AlphaTest and port_alphaTest (see above).
extern char const* const kFragmentPrelude;
// GLSL text declaring a port_alphaTest that does nothing, for the variant without alpha test.
extern char const* const kFragmentPreludeWithoutAlphaTest;

// Makes the device's GL context current on this thread. False for a null device or one that has
// no context (for example after a failed creation).
bool makeCurrent(IDirect3DDevice9* device);

// The GL texture name of a texture made by the device, and its target (GL_TEXTURE_2D). 0 for
// null or a texture of no GL object.
unsigned textureName(IDirect3DBaseTexture9* texture);
unsigned textureTarget(IDirect3DBaseTexture9* texture);

// Replaces the built-in program for the device's following draws (0: built-in again).
void setProgramOverride(IDirect3DDevice9* device, unsigned program);
// glUseProgram through the device, which then knows the current program (the context must be
// current).
void useProgram(IDirect3DDevice9* device, unsigned program);
unsigned programOverride(IDirect3DDevice9* device);

// Pairs an override program with its variant for draws without alpha test (0: no variant).
void setAlphaTestVariant(IDirect3DDevice9* device, unsigned program, unsigned withoutAlphaTest);

// Call after compiling a shader in the device's context: once the device has presented
// kQuietPresents frames without another compile, it hands GL's compiler state back
// (glReleaseShaderCompiler; GL makes it again for the next compile) and returns the freed heap
// to the system. Compiles come in bursts (loading, a new screen), and the compiler's built-in
// function library alone holds several megabytes for the program's lifetime otherwise.
void shaderCompiled(IDirect3DDevice9* device);
constexpr unsigned kQuietPresents = 10;

}  // namespace port::gl
