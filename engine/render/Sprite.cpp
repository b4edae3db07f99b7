// The engine batcher: device objects, Begin and End, queuing of 2D and 3D sprites.
#include "engine/render/Sprite.h"

#include <algorithm>
#include <iterator>

#include "engine/platform/D3DInterface.h"
#include "engine/render/DeviceObjects.h"
#include "engine/render/Effect.h"

namespace Orvex {

namespace {

constexpr UINT kVertexBufferBytes = Sprite::kRingQuads * Sprite::kQuadBytes;
constexpr UINT kIndexBufferBytes = Sprite::kRingQuads * Sprite::kIndicesPerQuad * sizeof(u16);
static_assert(kVertexBufferBytes == 0x300000 && kIndexBufferBytes == 0x30000);

// The render states Begin sets unless D3DXSPRITE_DONOTMODIFY_RENDERSTATE, in this order.
struct StateValue {
    D3DRENDERSTATETYPE state;
    DWORD value;
};
constexpr StateValue kBeginStates[] = {
    {D3DRS_ALPHABLENDENABLE, TRUE},
    {D3DRS_ALPHAFUNC, D3DCMP_GREATER},
    {D3DRS_ALPHAREF, 0},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_CLIPPING, TRUE},
    {D3DRS_CLIPPLANEENABLE, 0},
    {D3DRS_COLORWRITEENABLE, 15},
    {D3DRS_CULLMODE, D3DCULL_NONE},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
    {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1},
    {D3DRS_ENABLEADAPTIVETESSELLATION, FALSE},
    {D3DRS_FILLMODE, D3DFILL_SOLID},
    {D3DRS_FOGENABLE, FALSE},
    {D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE},
    {D3DRS_LIGHTING, FALSE},
    {D3DRS_RANGEFOGENABLE, FALSE},
    {D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
    {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
    {D3DRS_SPECULARENABLE, FALSE},
    {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_SRGBWRITEENABLE, FALSE},
    {D3DRS_STENCILENABLE, FALSE},
    {D3DRS_VERTEXBLEND, 0},
    {D3DRS_WRAP0, 0},
};

// Level 0's description, read once per queued sprite; `read` false when it could not be read.
struct Level0 {
    D3DSURFACE_DESC desc{};
    bool read = false;

    explicit Level0(IDirect3DTexture9* texture) : read(SUCCEEDED(texture->GetLevelDesc(0, &desc))) {}
};

// Texture coordinates of the source rectangle's corners in the texture's level 0.
void setTexCoords(SpriteDrawRecord& record, Level0 const& level, RECT const& source) {
    float w = 1.0f;
    float h = 1.0f;
    if (level.read && level.desc.Width > 0 && level.desc.Height > 0) {
        w = static_cast<float>(level.desc.Width);
        h = static_cast<float>(level.desc.Height);
    }
    float const u0 = static_cast<float>(source.left) / w;
    float const u1 = static_cast<float>(source.right) / w;
    float const v0 = static_cast<float>(source.top) / h;
    float const v1 = static_cast<float>(source.bottom) / h;
    SpriteVertex* v = record.vertices;
    v[0].u = u0, v[0].v = v0;
    v[1].u = u1, v[1].v = v0;
    v[2].u = u0, v[2].v = v1;
    v[3].u = u1, v[3].v = v1;
}

// The source rectangle, or the whole level 0 when none is given.
RECT sourceOf(Level0 const& level, RECT const* source) {
    if (source) return *source;
    if (!level.read) return RECT{0, 0, 0, 0};
    return RECT{0, 0, static_cast<LONG>(level.desc.Width), static_cast<LONG>(level.desc.Height)};
}

}  // namespace

Sprite::Sprite() : d3d_(&D3DInterface::getInstance()) {
    measureReach();
    unitCorners_[0] = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    unitCorners_[1] = D3DXVECTOR3(1.0f, 0.0f, 0.0f);
    unitCorners_[2] = D3DXVECTOR3(0.0f, 1.0f, 0.0f);
    unitCorners_[3] = D3DXVECTOR3(1.0f, 1.0f, 0.0f);
}

Sprite::~Sprite() {
    releaseDeviceObjects();
    if (defaultEffect_) defaultEffect_->release();
    defaultEffect_ = nullptr;
}

void Sprite::release() {
    releaseDeviceObjects();
    setEffect(nullptr);
    effect_ = nullptr;
}

void Sprite::releaseDeviceObjects() {
    // The device keeps its own references to bound buffers; unbind ours so that a reset finds
    // no D3DPOOL_DEFAULT object alive.
    if (IDirect3DDevice9* device = d3d_->getDevice()) {
        IDirect3DVertexBuffer9* stream = nullptr;
        UINT offset = 0;
        UINT stride = 0;
        if (SUCCEEDED(device->GetStreamSource(0, &stream, &offset, &stride)) && stream) {
            if (stream == vertexBuffer_) device->SetStreamSource(0, nullptr, 0, 0);
            stream->Release();
        }
        IDirect3DIndexBuffer9* indices = nullptr;
        if (SUCCEEDED(device->GetIndices(&indices)) && indices) {
            if (indices == indexBuffer_) device->SetIndices(nullptr);
            indices->Release();
        }
    }
    releaseCom(vertexBuffer_);
    releaseCom(indexBuffer_);
    releaseCom(stateBlock_);
    stateCaptured_ = false;
}

bool Sprite::create() {
    releaseDeviceObjects();
    // A second create must not connect twice (every slot would run twice).
    d3d_->signalDeviceLost.disconnect(this);
    d3d_->signalDeviceReset.disconnect(this);
    d3d_->signalDeviceCreated.disconnect(this);
    d3d_->signalDeviceLost.connect(this, &Sprite::onLostDevice);
    d3d_->signalDeviceReset.connect(this, &Sprite::onResetDevice);
    beginCount_ = 0;
    if (!d3d_->getDevice())
        d3d_->signalDeviceCreated.connect(this, &Sprite::onResetDevice);
    else
        onResetDevice();
    return true;
}

void Sprite::onLostDevice() { releaseDeviceObjects(); }

void Sprite::onResetDevice() {
    releaseDeviceObjects();
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!device) return;
    device->CreateStateBlock(D3DSBT_ALL, &stateBlock_);
    ringPosition_ = 0;
    discardNext_ = false;
    if (FAILED(device->CreateVertexBuffer(kVertexBufferBytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0,
                                          D3DPOOL_DEFAULT, &vertexBuffer_, nullptr))) {
        vertexBuffer_ = nullptr;
        return;
    }
    if (FAILED(device->CreateIndexBuffer(kIndexBufferBytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT,
                                         &indexBuffer_, nullptr))) {
        indexBuffer_ = nullptr;
        return;
    }
    if (!fillIndexBuffer()) releaseCom(indexBuffer_);
}

bool Sprite::fillIndexBuffer() {
    void* data = nullptr;
    if (FAILED(indexBuffer_->Lock(0, 0, &data, 0)) || !data) return false;
    u16* index = static_cast<u16*>(data);
    for (u32 q = 0; q < kRingQuads; ++q) {
        u16 const base = static_cast<u16>(q * kVerticesPerQuad);
        u16 const quad[kIndicesPerQuad] = {base,
                                           static_cast<u16>(base + 1),
                                           static_cast<u16>(base + 2),
                                           static_cast<u16>(base + 1),
                                           static_cast<u16>(base + 3),
                                           static_cast<u16>(base + 2)};
        index = std::copy(std::begin(quad), std::end(quad), index);
    }
    indexBuffer_->Unlock();
    return true;
}

void Sprite::setEffect(Effect* effect) {
    if (effect) effect->addRef();
    if (defaultEffect_) defaultEffect_->release();
    defaultEffect_ = effect;
}

void Sprite::setRenderStates() {
    IDirect3DDevice9* device = d3d_->getDevice();
    for (StateValue const& s : kBeginStates) device->SetRenderState(s.state, s.value);
}

bool Sprite::Begin(u32 flags, Effect* effect) {
    PixEvent event(0xFFFF0000, L"Sprite::Begin()");
    // Without index buffer nothing could be drawn either.
    if (beginCount_ > 0 || !hasBuffers() || !d3d_->getDevice()) return false;
    Effect* const use = effect ? effect : defaultEffect_;
    if (!use) return false;
    effect_ = use;
    beginCount_ = 1;
    flags_ = flags | defaultFlags_;
    textureSlots_ = kDefaultTextureSlots;
    list2D_.clear();
    sortPending_ = false;
    list3D_.clear();
    stats_ = SpriteBatchStats();
    stateCaptured_ = false;
    if (!(flags_ & D3DXSPRITE_DONOTSAVESTATE) && stateBlock_)
        stateCaptured_ = SUCCEEDED(stateBlock_->Capture());
    if (!(flags_ & D3DXSPRITE_DONOTMODIFY_RENDERSTATE)) setRenderStates();
    return true;
}

bool Sprite::End() {
    PixEvent event(0xFF00FF00, L"Sprite::End()");
    if (beginCount_ <= 0) return false;
    beginCount_ = 0;
    drawBatch(true);
    // Only what Begin captured is restored: with D3DXSPRITE_DONOTSAVESTATE the block holds an
    // older state that would undo the caller's own changes.
    if (stateBlock_ && stateCaptured_) stateBlock_->Apply();
    stateCaptured_ = false;
    return false;
}

bool Sprite::DrawSprite2D(IDirect3DTexture9* const& texture, RECT const* source, D3DXMATRIX const* transform,
                          D3DCOLOR const& colour) {
    if (!texture || beginCount_ <= 0) return false;
    PixEvent event(0xFFFFFF00, L"Sprite::DrawSprite2D()");
    Level0 const level(texture);
    RECT const src = sourceOf(level, source);
    D3DXVECTOR2 placed[4];
    placeCorners(src, transform, placed);
    if ((flags_ & kSpriteCulling) && outsideRenderTarget(placed)) {
        ++stats_.culled;
        return false;
    }
    if (measuringReach()) noteReach(placed, 4);
    // Built in its place in the list: a record is 208 bytes, and thousands are queued a frame.
    SpriteDrawRecord& record = list2D_.emplace_back();
    for (int i = 0; i < 4; ++i) {
        SpriteVertex& v = record.vertices[i];
        v.x = placed[i].x;
        v.y = placed[i].y;
        v.z = 0.0f;
        v.w = 1.0f;
        v.colour = colour;
    }
    setTexCoords(record, level, src);
    record.texture = texture;
    if (flags_ & kSpriteImmediate) {
        // Only the 2D list: the 3D list is drawn once, at End.
        drawBatch(false);
        list2D_.clear();
        sortPending_ = false;
    }
    return true;
}

bool Sprite::outsideRenderTarget(D3DXVECTOR2 const (&corners)[4]) {
    PixEvent event(0xFF808000, L"CULLING");
    IDirect3DSurface9* target = nullptr;
    if (FAILED(d3d_->getDevice()->GetRenderTarget(0, &target)) || !target) return false;
    D3DSURFACE_DESC desc{};
    HRESULT const hr = target->GetDesc(&desc);
    target->Release();
    if (FAILED(hr)) return false;
    FRect box(corners[0].x, corners[0].y, corners[0].x, corners[0].y);
    for (D3DXVECTOR2 const& c : corners) box.unite(FRect(c.x, c.y, c.x, c.y));
    FRect const screen(0.0f, 0.0f, static_cast<float>(desc.Width), static_cast<float>(desc.Height));
    if (box.overlaps(screen)) return false;
    D3DPERF_SetMarker(0xFF0000FF, L"OUTSIDE_RENDERTARGET");
    return true;
}

bool Sprite::drawSprite3D(IDirect3DTexture9* const& texture, RECT const* source, D3DXVECTOR3 const* scaling,
                          D3DXQUATERNION const* rotation, D3DXVECTOR3 const* translation, D3DXVECTOR3 const* centre,
                          D3DCOLOR const& colour) {
    if (!texture) return false;
    noteUnknownReach();
    D3DXMATRIX m;
    D3DXMatrixTransformation(&m, centre, nullptr, scaling, centre, rotation, translation);
    D3DXVec3TransformCoordArray(scratchCorners_, sizeof(D3DXVECTOR3), unitCorners_, sizeof(D3DXVECTOR3), &m, 4);
    D3DXVECTOR3 c(0.0f, 0.0f, 0.0f);
    for (D3DXVECTOR3 const& p : scratchCorners_) c += p;
    c *= 0.25f;
    SpriteDrawRecord record;
    for (int i = 0; i < 4; ++i) {
        SpriteVertex& v = record.vertices[i];
        v.x = scratchCorners_[i].x;
        v.y = scratchCorners_[i].y;
        v.z = scratchCorners_[i].z;
        v.w = 1.0f;
        v.colour = colour;
        v.centre[0] = c.x;
        v.centre[1] = c.y;
        v.centre[2] = c.z;
        v.centre[3] = 0.0f;
    }
    Level0 const level(texture);
    setTexCoords(record, level, sourceOf(level, source));
    record.texture = texture;
    list3D_.push_back(record);
    return true;
}

}  // namespace Orvex
