// What every post effect draws with: a screen quad in a dynamic vertex buffer, two render-target
// textures used in turn as source and target, and the original picture of the frame handed in
// by the render manager. Per frame the manager calls setLastResult (the scene), render (the list
// of active post effects, in order) and getOriginal (the frame's result).
//
// Each post effect draws every pass of its "RenderPost" technique from the source into the
// target, then the two swap: the next effect reads the picture just drawn. A pass whose
// "fScaleX"/"fScaleY" annotations (times the effect's own scale) are not 1 draws into the
// scaled top-left part of the target; the following passes and effects sample only that part
// (uMax, vMax) until the next frame restores the full quad.
//
// Device objects are D3DPOOL_DEFAULT: released on device-lost, on the device object's shutdown,
// when disabled and when the target size changes; made on device-reset, device-created, when
// enabled and after a size change.
//
// Split: PostEffectRenderer.cpp (device objects, the quad, settings, one frame of the chain),
// PostEffectRenderer_draw.cpp (one post effect drawn pass by pass).
#pragma once

#include <vector>

#include "engine/core/Types.h"
#include "port/d3d9/d3d9.h"
#include "signals/sigslot.h"

namespace Orvex {

class Camera;
class D3DInterface;
class PostEffect;
class RenderManager;
class XMLNode;

// The quad's vertex: pre-transformed position and two texture coordinate sets.
struct PostScreenVertex {
    float x, y, z, rhw;
    float u0, v0;
    float u1, v1;
};
static_assert(sizeof(PostScreenVertex) == 32, "the stride is part of the draw call");

class PostEffectRenderer : public sigslot::has_slots<sigslot::single_threaded> {
public:
    static constexpr DWORD kFVF = D3DFVF_XYZRHW | D3DFVF_TEX2;
    static constexpr UINT kQuadBytes = 4 * sizeof(PostScreenVertex);

    explicit PostEffectRenderer(RenderManager* owner);
    ~PostEffectRenderer() override;
    PostEffectRenderer(PostEffectRenderer const&) = delete;
    PostEffectRenderer& operator=(PostEffectRenderer const&) = delete;

    // Makes the quad buffer and both targets at the owner's target size (when enabled and the
    // device exists); created only when every step worked.
    void create();
    void release();

    // "ENABLE" of the "POSTEFFECT_RENDERING" node.
    void readConfig(XMLNode& node);
    void setEnabled(bool on);
    bool isEnabled() const { return enabled_ != 0; }
    bool isCreated() const { return created_ != 0; }

    // The frame's picture: copied into the source. A texture without a surface gives its level 0;
    // with neither, there is nothing to work on and the frame draws no effect.
    void setLastResult(IDirect3DTexture9*& texture, IDirect3DSurface9*& surface);
    // Draws the effect list in order (only when created and given a picture).
    void render(Camera* camera);
    // False unless created and both originals are known.
    bool getOriginal(IDirect3DTexture9*& texture, IDirect3DSurface9*& surface);

    // Draws one post effect (its render calls this when it is active).
    void drawEffect(PostEffect& effect, Camera* camera);

    std::vector<PostEffect*>& getEffects() { return effects_; }
    RenderManager* getOwner() const { return owner_; }
    float getUMax() const { return uMax_; }
    float getVMax() const { return vMax_; }
    PostScreenVertex const (&getQuad() const)[4] { return quad_; }
    IDirect3DTexture9* getSourceTexture() const { return sourceTexture_; }

private:
    void onTargetChanged(RenderManager& owner);
    void resetQuad();
    void writeQuad();
    void forgetOriginals();

    u8 created_ = 0;
    PostScreenVertex quad_[4]{};
    IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
    float uMax_ = 1.0f;
    float vMax_ = 1.0f;
    IDirect3DTexture9* originalTexture_ = nullptr;
    IDirect3DSurface9* originalSurface_ = nullptr;
    // Level 0 of an original texture handed in without its surface (held for the frame).
    IDirect3DSurface9* ownSurface_ = nullptr;
    bool hasPicture_ = false;
    IDirect3DTexture9* sourceTexture_ = nullptr;
    IDirect3DTexture9* targetTexture_ = nullptr;
    IDirect3DSurface9* sourceSurface_ = nullptr;
    IDirect3DSurface9* targetSurface_ = nullptr;
    std::vector<PostEffect*> effects_;
    D3DInterface* d3d_;
    RenderManager* owner_;
    u8 enabled_ = 1;
};

}  // namespace Orvex
