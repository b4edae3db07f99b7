// The sprite interface through which everything two-dimensional is drawn (cards, GUI windows,
// text backgrounds, animation frames). Two batchers implement it: D3DXSprite over the
// platform's ID3DXSprite and the engine's own batcher Sprite. The drawing operations that cut
// a texture into pieces by draw modes (drawSpriteRect, drawInRect and their raw-texture forms)
// and the engine-texture forms (drawTexture2D, drawTexture3D) have one body for both.
//
// Begin flags: 0x1 to 0x100 are the D3DXSPRITE_ flags; kSpriteAlphaTest, kSpriteCulling and
// kSpriteImmediate are the engine's own (read by Sprite only).
//
// Reach: between startReach and takeReach a batcher that measures keeps the box around every 2D
// quad it queues, so a caller learns which pixels a drawing may touch whatever cut it into
// quads (draw modes, a picture at natural size, rotation, a widget's own parts). The GUI's
// stencil pass clears only those places of a clip shape again.
#pragma once

#include <vector>

#include "engine/core/Types.h"
#include "engine/render/FRect.h"
#include "engine/render/SpriteRect.h"
#include "port/d3dx9/d3dx9.h"
#include "signals/sigslot.h"

namespace Orvex {

class Effect;
class Texture2D;

// With D3DXSPRITE_ALPHABLEND: the alpha-tested 3D technique; with BACKTOFRONT: no depth sort.
inline constexpr u32 kSpriteAlphaTest = 0x200;
// 2D sprites wholly outside the render target are dropped.
inline constexpr u32 kSpriteCulling = 0x400;
// Each 2D sprite is drawn right after queuing.
inline constexpr u32 kSpriteImmediate = 0x800;

class BaseSprite : public sigslot::has_slots<sigslot::single_threaded> {
public:
    BaseSprite() = default;
    BaseSprite(BaseSprite const&) = delete;
    BaseSprite& operator=(BaseSprite const&) = delete;
    ~BaseSprite() override = default;

    // Makes the device objects (or arranges for them once the device exists) and connects to
    // the device object's lost and reset signals.
    virtual bool create() = 0;
    // The effect may be null (the batcher's default effect; ignored by D3DXSprite).
    virtual bool Begin(u32 flags, Effect* effect) = 0;
    virtual bool End() = 0;
    // Interleaving other drawing with a running batch: flushBatch ends it for the moment,
    // resumeBatch begins it again.
    virtual void resumeBatch() = 0;
    virtual bool flushBatch() = 0;
    virtual bool isInBegin() = 0;
    virtual void onLostDevice() = 0;
    virtual void onResetDevice() = 0;

    // A source rectangle (null: the whole texture) placed by a transform.
    virtual bool DrawSprite2D(IDirect3DTexture9* const& texture, RECT const* source, D3DXMATRIX const* transform,
                              D3DCOLOR const& colour) = 0;

    // The pieces of buildSpriteQuads drawn through drawTexture2D; the source null: the
    // texture's rectangle. Nothing for a null texture.
    virtual void drawSpriteRect(Texture2D* texture, RECT const* source, SpriteRect const& target, u8 modeX, u8 modeY,
                                D3DCOLOR const& colour);
    // The same with a raw texture; nothing without texture or source.
    virtual void drawSpriteRectD3D(IDirect3DTexture9* const& texture, RECT const* source, SpriteRect const& target,
                                   u8 modeX, u8 modeY, D3DCOLOR const& colour);
    // The pieces of the first matching rule (clamp, stretch, the pair table) into an
    // axis-aligned target.
    virtual void drawInRect(Texture2D* texture, RECT const* source, FRect const& target, u8 modeX, u8 modeY,
                            D3DCOLOR const& colour);
    virtual void drawInRectD3D(IDirect3DTexture9* const& texture, RECT const* source, FRect const& target, u8 modeX,
                               u8 modeY, D3DCOLOR const& colour);

    // The engine texture's device texture (resumed when suspended) and, without a source, its
    // rectangle, drawn with DrawSprite2D in its transform form. False for a null texture.
    virtual bool drawTexture2D(Texture2D* texture, RECT const* source, D3DXVECTOR2 const* scaling,
                               D3DXVECTOR2 const* rotationCentre, float const& rotation, D3DXVECTOR2 const* translation,
                               D3DCOLOR const& colour);
    // Scaling, rotation (radians) about the centre, then translation: the transform form with
    // D3DXMatrixTransformation2D's matrix.
    virtual bool DrawSprite2D(IDirect3DTexture9* const& texture, RECT const* source, D3DXVECTOR2 const* scaling,
                              D3DXVECTOR2 const* rotationCentre, float const& rotation, D3DXVECTOR2 const* translation,
                              D3DCOLOR const& colour);
    virtual bool drawSprite3D(IDirect3DTexture9* const& texture, RECT const* source, D3DXVECTOR3 const* scaling,
                              D3DXQUATERNION const* rotation, D3DXVECTOR3 const* translation,
                              D3DXVECTOR3 const* centre, D3DCOLOR const& colour) = 0;
    virtual bool drawTexture3D(Texture2D* texture, RECT const* source, D3DXVECTOR3 const* scaling,
                               D3DXQUATERNION const* rotation, D3DXVECTOR3 const* translation,
                               D3DXVECTOR3 const* centre, D3DCOLOR const& colour);

    // Starts measuring what is drawn; takeReach ends it with the box around the 2D quads queued
    // since (empty when none). False when that is not known: the batcher does not measure, a 3D
    // sprite was drawn, or a corner was not a finite number.
    void startReach();
    bool takeReach(FRect& out);

protected:
    // The corners (0,0), (w,0), (0,h), (w,h) of a source rectangle placed by a transform (null:
    // none).
    static void placeCorners(RECT const& source, D3DXMATRIX const* transform, D3DXVECTOR2 (&placed)[4]);
    // For batchers that measure: set once, then every queued quad is noted.
    void measureReach() { measures_ = true; }
    bool measuringReach() const { return reach_.on; }
    void noteReach(D3DXVECTOR2 const* corners, int count);
    // The corners of a source rectangle (null: the texture's level 0) placed by a transform.
    void noteReach(IDirect3DTexture9* texture, RECT const* source, D3DXMATRIX const* transform);
    void noteUnknownReach() { reach_.known = false; }

private:
    struct Reach {
        bool on = false;
        bool known = true;
        bool any = false;
        FRect box;
    };
    bool measures_ = false;
    Reach reach_;

    // Draws pieces_ one by one (engine texture when given, else the raw one).
    void drawPieces(IDirect3DTexture9* texture, Texture2D* engineTexture, D3DCOLOR const& colour);

    // Scratch list of the current draw, kept between draws for its storage.
    std::vector<SpriteQuadPiece> pieces_;
};

}  // namespace Orvex
