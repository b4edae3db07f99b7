// ID3DXSprite: sprites queued between Begin and End and drawn as pre-transformed textured quads
// through the device's fixed-function path, one DrawPrimitiveUP per run of one texture.
// Positions are moved by half a pixel so that texel centres land on pixel centres.
#include "port/d3d9/d3d9_gl.h"
#include "port/d3dx9/DxCom.h"

#include <algorithm>
#include <vector>

namespace port::dx {

namespace {

struct SpriteVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};
constexpr DWORD kSpriteFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct QueuedSprite {
    IDirect3DTexture9* texture;
    SpriteVertex corners[4];  // top-left, top-right, bottom-left, bottom-right
    float depth;
};

class Sprite final : public DeviceObject<ID3DXSprite> {
public:
    explicit Sprite(IDirect3DDevice9* device) : DeviceObject(device) {
        D3DXMatrixIdentity(&transform_);
        D3DXMatrixIdentity(&world_);
        D3DXMatrixIdentity(&view_);
    }

    HRESULT GetTransform(D3DXMATRIX* transform) override {
        if (!transform) return D3DERR_INVALIDCALL;
        *transform = transform_;
        return S_OK;
    }
    HRESULT SetTransform(const D3DXMATRIX* transform) override {
        if (!transform) return D3DERR_INVALIDCALL;
        transform_ = *transform;
        return S_OK;
    }
    HRESULT SetWorldViewRH(const D3DXMATRIX* world, const D3DXMATRIX* view) override { return SetWorldViewLH(world, view); }
    HRESULT SetWorldViewLH(const D3DXMATRIX* world, const D3DXMATRIX* view) override {
        if (world) world_ = *world;
        if (view) view_ = *view;
        return S_OK;
    }

    HRESULT Begin(DWORD flags) override {
        if (begun_) return D3DERR_INVALIDCALL;
        flags_ = flags;
        if (!(flags & D3DXSPRITE_DONOTSAVESTATE)) saved_.save(device_);
        begun_ = true;
        return S_OK;
    }

    HRESULT Draw(IDirect3DTexture9* texture, const RECT* sourceRect, const D3DXVECTOR3* center,
                 const D3DXVECTOR3* position, D3DCOLOR color) override {
        if (!begun_ || !texture) return D3DERR_INVALIDCALL;
        D3DSURFACE_DESC desc;
        if (FAILED(texture->GetLevelDesc(0, &desc)) || desc.Width == 0 || desc.Height == 0) return D3DERR_INVALIDCALL;
        RECT r = sourceRect ? *sourceRect : RECT{0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
        D3DXVECTOR3 c = center ? *center : D3DXVECTOR3(0, 0, 0);
        D3DXVECTOR3 p = position ? *position : D3DXVECTOR3(0, 0, 0);
        float w = static_cast<float>(r.right - r.left), h = static_cast<float>(r.bottom - r.top);
        float u0 = r.left / static_cast<float>(desc.Width), u1 = r.right / static_cast<float>(desc.Width);
        float v0 = r.top / static_cast<float>(desc.Height), v1 = r.bottom / static_cast<float>(desc.Height);
        D3DXVECTOR3 local[4] = {{0, 0, 0}, {w, 0, 0}, {0, h, 0}, {w, h, 0}};
        float us[4] = {u0, u1, u0, u1}, vs[4] = {v0, v0, v1, v1};
        QueuedSprite q{texture, {}, 0.0f};
        D3DXMATRIX toScreen = transform_;
        D3DVIEWPORT9 viewport{};
        bool objectSpace = flags_ & D3DXSPRITE_OBJECTSPACE;
        if (objectSpace) {
            D3DXMATRIX world, view, projection;
            device_->GetTransform(D3DTS_WORLD, &world);
            device_->GetTransform(D3DTS_VIEW, &view);
            device_->GetTransform(D3DTS_PROJECTION, &projection);
            toScreen = transform_ * world * view * projection;
            device_->GetViewport(&viewport);
        }
        for (int i = 0; i < 4; ++i) {
            D3DXVECTOR3 corner = local[i] - c + p;
            D3DXVECTOR4 t;
            D3DXVec3Transform(&t, &corner, &toScreen);
            float invW = t.w != 0.0f ? 1.0f / t.w : 1.0f;
            SpriteVertex& v = q.corners[i];
            if (objectSpace) {
                v.x = viewport.X + (1.0f + t.x * invW) * viewport.Width * 0.5f;
                v.y = viewport.Y + (1.0f - t.y * invW) * viewport.Height * 0.5f;
                v.z = t.z * invW;
                v.rhw = invW;
            } else {
                v.x = t.x * invW;
                v.y = t.y * invW;
                v.z = std::clamp(t.z * invW, 0.0f, 1.0f);
                v.rhw = 1.0f;
            }
            v.x -= 0.5f;
            v.y -= 0.5f;
            v.color = color;
            v.u = us[i];
            v.v = vs[i];
            q.depth += v.z * 0.25f;
        }
        if (!(flags_ & D3DXSPRITE_DO_NOT_ADDREF_TEXTURE)) texture->AddRef();
        queue_.push_back(q);
        return S_OK;
    }

    HRESULT Flush() override {
        if (!begun_) return D3DERR_INVALIDCALL;
        if (queue_.empty()) return S_OK;
        if (flags_ & D3DXSPRITE_SORT_DEPTH_BACKTOFRONT)
            std::stable_sort(queue_.begin(), queue_.end(), [](auto const& a, auto const& b) { return a.depth > b.depth; });
        else if (flags_ & D3DXSPRITE_SORT_DEPTH_FRONTTOBACK)
            std::stable_sort(queue_.begin(), queue_.end(), [](auto const& a, auto const& b) { return a.depth < b.depth; });
        else if (flags_ & D3DXSPRITE_SORT_TEXTURE)
            std::stable_sort(queue_.begin(), queue_.end(), [](auto const& a, auto const& b) { return a.texture < b.texture; });
        setStates();
        std::vector<SpriteVertex> vertices;
        for (std::size_t i = 0; i < queue_.size();) {
            IDirect3DTexture9* texture = queue_[i].texture;
            vertices.clear();
            for (; i < queue_.size() && queue_[i].texture == texture; ++i) {
                SpriteVertex const* c = queue_[i].corners;
                for (int k : {0, 1, 2, 1, 3, 2}) vertices.push_back(c[k]);
            }
            device_->SetTexture(0, texture);
            device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(vertices.size() / 3), vertices.data(),
                                     sizeof(SpriteVertex));
        }
        releaseQueue();
        return S_OK;
    }

    HRESULT End() override {
        if (!begun_) return D3DERR_INVALIDCALL;
        Flush();
        saved_.restore(device_);
        begun_ = false;
        return S_OK;
    }

    // The saved state block lives in the device; it goes with a lost device.
    HRESULT OnLostDevice() override {
        saved_.drop();
        return S_OK;
    }
    HRESULT OnResetDevice() override { return S_OK; }

private:
    ~Sprite() override { releaseQueue(); }

    void releaseQueue() {
        if (!(flags_ & D3DXSPRITE_DO_NOT_ADDREF_TEXTURE))
            for (auto& q : queue_) q.texture->Release();
        queue_.clear();
    }

    void setStates() {
        device_->SetFVF(kSpriteFvf);
        port::gl::setProgramOverride(device_, 0);
        if (flags_ & D3DXSPRITE_DONOTMODIFY_RENDERSTATE) return;
        DWORD blend = (flags_ & D3DXSPRITE_ALPHABLEND) ? TRUE : FALSE;
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, blend);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device_->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
        device_->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, FALSE);
        device_->SetRenderState(D3DRS_ALPHATESTENABLE, blend);
        device_->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
        device_->SetRenderState(D3DRS_ALPHAREF, 0);
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device_->SetRenderState(D3DRS_ZENABLE, (flags_ & D3DXSPRITE_OBJECTSPACE) ? D3DZB_TRUE : D3DZB_FALSE);
        device_->SetRenderState(D3DRS_FILLMODE, D3DFILL_SOLID);
        device_->SetRenderState(D3DRS_LIGHTING, FALSE);
        device_->SetRenderState(D3DRS_FOGENABLE, FALSE);
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        device_->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
        device_->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
        device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        device_->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
        device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
        device_->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
        device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
        device_->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
        device_->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    }

    D3DXMATRIX transform_, world_, view_;
    bool begun_ = false;
    DWORD flags_ = 0;
    std::vector<QueuedSprite> queue_;
    SavedDeviceState saved_;
};

}  // namespace

}  // namespace port::dx

HRESULT D3DXCreateSprite(IDirect3DDevice9* device, ID3DXSprite** sprite) {
    if (!device || !sprite) return D3DERR_INVALIDCALL;
    *sprite = new port::dx::Sprite(device);
    return S_OK;
}
