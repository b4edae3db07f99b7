// The reference for the sprite benchmarks: the same scenes drawn by a minimal program on SDL2 and
// OpenGL 3.3 directly, without the port layer. One small shader, one texture per draw or up to
// eight chosen per pixel by a slot attribute, vertices written each frame into one streamed
// buffer, drawn into the window's own framebuffer (or, to show what that costs llvmpipe, into a
// texture as the port's back buffer), optionally with the depth test a Direct3D device keeps on
// (z 0, less-or-equal, depth writes on) in a depth-stencil buffer of the window or of the
// texture. A frame ends as the port's benchmarks end theirs: a 1x1 read-back (the GL work is
// finished inside the frame) and a buffer swap.
#pragma once

#include <cstdint>
#include <vector>

struct SDL_Window;

namespace bench {

// One sprite of a scene: top-left corner, size, texture index, colour as 0xAARRGGBB.
struct DirectSprite {
    float x, y, width, height;
    unsigned texture;
    uint32_t colour;
};

class DirectGl {
public:
    static constexpr unsigned kMaxSlots = 8;

    DirectGl() = default;
    ~DirectGl();
    DirectGl(DirectGl const&) = delete;
    DirectGl& operator=(DirectGl const&) = delete;

    // A hidden window of that size with its own GL context (SDL_VIDEODRIVER=offscreen keeps it
    // off screen), with a 24-bit depth and 8-bit stencil buffer when `windowDepth`; false when
    // either could not be made.
    bool open(unsigned width, unsigned height, unsigned maxSprites, bool windowDepth = false);
    // A texture of 0xAARRGGBB pixels, rows top first; its index for DirectSprite::texture.
    unsigned addTexture(unsigned width, unsigned height, uint32_t const* pixels);
    // Clears, draws the sprites in their order, up to `slots` textures per draw (a draw ends at a
    // texture beyond them), finishes the frame. Returns the number of draws.
    unsigned frame(std::vector<DirectSprite> const& sprites, unsigned slots);
    // Draws the following frames into a texture that is copied to the window at the end of the
    // frame (as the port's back buffer is), or into the window's own framebuffer again.
    void drawIntoTexture(bool intoTexture);
    // The following frames test depth (in the texture's own depth-stencil buffer when drawing
    // into the texture, else in the window's, which open must have asked for).
    void testDepth(bool depth) { depthTest_ = depth; }

private:
    struct Vertex {
        float x, y, u, v;
        uint32_t colour;
        float slot;
    };

    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    unsigned width_ = 0;
    unsigned height_ = 0;
    unsigned programs_[2] = {};  // one slot, eight slots
    unsigned vao_ = 0;
    unsigned vbo_ = 0;
    unsigned ibo_ = 0;
    unsigned targetTexture_ = 0;
    unsigned targetFbo_ = 0;
    unsigned targetDepth_ = 0;
    bool intoTexture_ = false;
    bool depthTest_ = false;
    bool depthAttached_ = false;
    bool depthCleared_[2] = {};  // window, texture
    std::vector<unsigned> textures_;
    std::vector<Vertex> vertices_;
};

}  // namespace bench
