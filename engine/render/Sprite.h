// The engine's sprite batcher. Between Begin and End it queues textured quads as draw records
// (a 2D list and a 3D list), optionally culls 2D sprites against the render target, sorts the
// lists, and at End streams them through a ring in one dynamic vertex buffer, drawing up to
// kMaxTextureSlots textures per call with the techniques of its effect ("Render2D" with its
// "TEX_COUNT" annotation, "Render2DAlpha", "Render3D", "Render3DAlpha", "Render3DAlphaTest").
//
// The effect reads per vertex: position (2D: XYZRHW screen pixels; 3D: XYZW world), diffuse
// colour, texture coordinate set 0 (u, v), set 1 (the texture slot index, one float choosing
// among "g_Textur0" .. "g_Textur7") and set 2 (3D: the sprite's centre x, y, z, 0 for
// billboards; zero in 2D); 3D techniques use "g_View", "g_ViewInv" and "g_Projection".
//
// A chunk (one draw call per effect pass) ends on a texture beyond the slot count, at the end of
// the ring, or at the end of the list. The ring is locked with NOOVERWRITE and DISCARD only
// after wrapping around. Buffers and the state block are D3DPOOL_DEFAULT objects: released on
// the device object's device-lost signal and made again on device-reset.
//
// Limits: kRingQuads quads per ring, kMaxTextureSlots textures per draw call ("TEX_COUNT" is
// clamped to 1 .. kMaxTextureSlots). Records hold no texture reference: textures must live
// until End.
//
// Split: Sprite.cpp (device objects and their loss, the effect, Begin and End, queuing 2D and 3D
// sprites, culling), Sprite_batch.cpp (sorting, the techniques, streaming the lists through the
// ring in chunks).
#pragma once

#include <cstdint>
#include <vector>

#include "engine/core/Types.h"
#include "engine/render/BaseSprite.h"

namespace Orvex {

class D3DInterface;

// One vertex as the hardware reads it (48 bytes, the same layout for 2D and 3D).
struct SpriteVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;
    D3DCOLOR colour = 0;
    float u = 0.0f, v = 0.0f;
    float slot = 0.0f;
    float centre[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};
static_assert(sizeof(SpriteVertex) == 48, "the vertex layout is fixed by the FVF");

// One queued sprite: top-left, top-right, bottom-left, bottom-right.
struct SpriteDrawRecord {
    SpriteVertex vertices[4];
    IDirect3DTexture9* texture = nullptr;
    u8 slot = 0;
    float distance = 0.0f;  // squared distance to the camera (3D depth sort key)
};

// What the last batch did (since Begin), for tests and measurements.
struct SpriteBatchStats {
    u32 quads = 0;
    u32 chunks = 0;
    u32 drawCalls = 0;
    u32 discardLocks = 0;
    u32 culled = 0;
};

class Sprite : public BaseSprite {
public:
    static constexpr u32 kRingQuads = 16384;
    static constexpr u32 kVerticesPerQuad = 4;
    static constexpr u32 kIndicesPerQuad = 6;
    static constexpr u32 kQuadBytes = kVerticesPerQuad * sizeof(SpriteVertex);
    // Quads left free between two chunks of the ring.
    static constexpr u32 kChunkGap = 4;
    static constexpr int kMaxTextureSlots = 8;
    // The slot count every Begin starts with (until "TEX_COUNT" is read).
    static constexpr int kDefaultTextureSlots = 4;
    static constexpr DWORD kFVF2D = 0x2C0344;  // XYZRHW | DIFFUSE | TEX3, sets of 2, 1, 4 floats
    static constexpr DWORD kFVF3D = 0x2C4342;  // XYZW | DIFFUSE | TEX3, sets of 2, 1, 4 floats

    // Takes the device object; create() makes the device objects.
    Sprite();
    ~Sprite() override;

    bool create() override;
    // False when begun already (Begin does not nest), without buffers, or without an effect
    // (the given one, else the default effect).
    bool Begin(u32 flags, Effect* effect) override;
    // Draws the batch and restores the states captured by Begin. Always false.
    bool End() override;
    void resumeBatch() override {}
    bool flushBatch() override { return false; }
    bool isInBegin() override { return beginCount_ > 0; }
    void onLostDevice() override;
    void onResetDevice() override;
    // Lets go of the device objects and the default effect before the device is shut down;
    // the next create makes them again.
    void release();

    bool DrawSprite2D(IDirect3DTexture9* const& texture, RECT const* source, D3DXMATRIX const* transform,
                      D3DCOLOR const& colour) override;
    using BaseSprite::DrawSprite2D;
    // Queued whether begun or not (a queue outside Begin is emptied by the next Begin). The quad
    // is a unit square placed by scaling, rotation about the centre and translation.
    bool drawSprite3D(IDirect3DTexture9* const& texture, RECT const* source, D3DXVECTOR3 const* scaling,
                      D3DXQUATERNION const* rotation, D3DXVECTOR3 const* translation, D3DXVECTOR3 const* centre,
                      D3DCOLOR const& colour) override;

    // The default effect (one reference held).
    void setEffect(Effect* effect);
    Effect* getEffect() const { return defaultEffect_; }
    // ORed into every Begin's flags.
    void setDefaultFlags(u32 flags) { defaultFlags_ = flags; }
    u32 getDefaultFlags() const { return defaultFlags_; }

    u32 getRingPosition() const { return ringPosition_; }
    int getTextureSlotCount() const { return textureSlots_; }
    SpriteBatchStats const& getStats() const { return stats_; }
    // The 2D list in drawing order (a list sorted by texture is put in that order here, since
    // drawing only reads it through the sorted indices).
    std::vector<SpriteDrawRecord> const& get2DList();
    std::vector<SpriteDrawRecord> const& get3DList() const { return list3D_; }
    bool hasBuffers() const { return vertexBuffer_ && indexBuffer_; }

private:
    void releaseDeviceObjects();
    bool fillIndexBuffer();
    void setRenderStates();
    // True when the sprite's bounding box misses render target 0 (kept when it cannot be read).
    bool outsideRenderTarget(D3DXVECTOR2 const (&corners)[4]);
    // Draws the queued lists: the 3D list (when with3D) before the 2D list.
    void drawBatch(bool with3D);
    void draw3DList(ID3DXEffect& effect);
    void draw2DList(ID3DXEffect& effect);
    // Orders the 2D list by texture as std::sort of the records would, sorting small key and
    // index pairs instead of records (sortOrder_; the records do not move).
    void sortByTexture();
    // A sprite of the 2D list by its texture's address, for sorting.
    struct SortKey {
        std::uintptr_t texture;
        u32 index;
    };
    // A run of the list drawn with one call per pass: its place in the ring and its textures.
    struct Chunk {
        std::size_t first = 0;
        u32 count = 0;
        u32 ring = 0;
        int used = 0;
        IDirect3DTexture9* slots[kMaxTextureSlots] = {};
    };
    // Streams a list through the ring in chunks of at most textureSlots_ textures, in the order
    // of `order` where given.
    void drawList(ID3DXEffect& effect, std::vector<SpriteDrawRecord>& list, std::vector<SortKey> const* order);
    // Copies the planned chunks (chunks_, up to the ring's end) into the ring with one lock.
    void writeChunks(std::vector<SpriteDrawRecord> const& list, std::vector<SortKey> const* order);
    // Binds a written chunk's textures and draws it (in the begun pass when `passBegun`, else
    // once per pass).
    void drawChunk(ID3DXEffect& effect, UINT passes, Chunk const& chunk, bool passBegun);

    s32 beginCount_ = 0;
    Effect* effect_ = nullptr;
    Effect* defaultEffect_ = nullptr;
    IDirect3DVertexBuffer9* vertexBuffer_ = nullptr;
    IDirect3DIndexBuffer9* indexBuffer_ = nullptr;
    u32 flags_ = 0;
    std::vector<SpriteDrawRecord> list2D_;
    std::vector<SpriteDrawRecord> list3D_;
    // Storage of sortByTexture, kept between frames; the 2D list is not yet in sortOrder_'s
    // order while sortPending_.
    std::vector<SortKey> sortOrder_;
    std::vector<SpriteDrawRecord> sortScratch_;
    bool sortPending_ = false;
    // The chunks of drawList between two ring wraps, kept between frames.
    std::vector<Chunk> chunks_;
    // The effect's handles of "g_Textur0" .. "g_Textur7" for the list being drawn.
    D3DXHANDLE textureHandles_[kMaxTextureSlots] = {};
    u32 ringPosition_ = 0;
    // The next lock discards (the ring wrapped); kept across lists and frames.
    bool discardNext_ = false;
    D3DXVECTOR3 unitCorners_[4];
    D3DXVECTOR3 scratchCorners_[4];
    int textureSlots_ = kDefaultTextureSlots;
    IDirect3DStateBlock9* stateBlock_ = nullptr;
    // Begin captured the state block, so End applies it.
    bool stateCaptured_ = false;
    D3DInterface* d3d_ = nullptr;
    u32 defaultFlags_ = 0;
    SpriteBatchStats stats_;
};

}  // namespace Orvex
