// ID3DXLine: polylines of a given width drawn as screen-space quads (two triangles per segment)
// with alpha blending through the device's fixed-function path. Draw outside Begin/End brackets
// itself. Patterns and antialiasing are stored but not drawn.
#include "port/d3d9/d3d9_gl.h"
#include "port/d3dx9/DxCom.h"

#include <vector>

namespace port::dx {

namespace {

struct LineVertex {
    float x, y, z, rhw;
    D3DCOLOR color;
};
constexpr DWORD kLineFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE;

class Line final : public DeviceObject<ID3DXLine> {
public:
    explicit Line(IDirect3DDevice9* device) : DeviceObject(device) {}

    HRESULT Begin() override {
        if (begun_) return D3DERR_INVALIDCALL;
        saved_.save(device_);
        port::gl::setProgramOverride(device_, 0);
        device_->SetFVF(kLineFvf);
        device_->SetTexture(0, nullptr);
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device_->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
        device_->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
        device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        device_->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
        device_->SetRenderState(D3DRS_LIGHTING, FALSE);
        device_->SetRenderState(D3DRS_FOGENABLE, FALSE);
        device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
        begun_ = true;
        return S_OK;
    }

    HRESULT Draw(const D3DXVECTOR2* points, DWORD count, D3DCOLOR color) override {
        if (!points || count < 2) return D3DERR_INVALIDCALL;
        std::vector<D3DXVECTOR3> screen(count);
        for (DWORD i = 0; i < count; ++i) screen[i] = {points[i].x, points[i].y, 0.0f};
        return drawScreen(screen, color);
    }

    HRESULT DrawTransform(const D3DXVECTOR3* points, DWORD count, const D3DXMATRIX* transform, D3DCOLOR color) override {
        if (!points || !transform || count < 2) return D3DERR_INVALIDCALL;
        D3DVIEWPORT9 vp{};
        device_->GetViewport(&vp);
        std::vector<D3DXVECTOR3> screen(count);
        for (DWORD i = 0; i < count; ++i) {
            D3DXVECTOR3 clip;
            D3DXVec3TransformCoord(&clip, &points[i], transform);
            screen[i] = {vp.X + (1.0f + clip.x) * vp.Width * 0.5f, vp.Y + (1.0f - clip.y) * vp.Height * 0.5f, clip.z};
        }
        return drawScreen(screen, color);
    }

    HRESULT SetPattern(DWORD pattern) override {
        pattern_ = pattern;
        return S_OK;
    }
    DWORD GetPattern() override { return pattern_; }
    HRESULT SetPatternScale(FLOAT scale) override {
        patternScale_ = scale;
        return S_OK;
    }
    FLOAT GetPatternScale() override { return patternScale_; }
    HRESULT SetWidth(FLOAT width) override {
        if (!(width > 0.0f)) return D3DERR_INVALIDCALL;
        width_ = width;
        return S_OK;
    }
    FLOAT GetWidth() override { return width_; }
    HRESULT SetAntialias(BOOL antialias) override {
        antialias_ = antialias;
        return S_OK;
    }
    BOOL GetAntialias() override { return antialias_; }
    HRESULT SetGLLines(BOOL glLines) override {
        glLines_ = glLines;
        return S_OK;
    }
    BOOL GetGLLines() override { return glLines_; }

    HRESULT End() override {
        if (!begun_) return D3DERR_INVALIDCALL;
        saved_.restore(device_);
        begun_ = false;
        return S_OK;
    }
    HRESULT OnLostDevice() override {
        saved_.drop();
        return S_OK;
    }
    HRESULT OnResetDevice() override { return S_OK; }

private:

    HRESULT drawScreen(std::vector<D3DXVECTOR3> const& p, D3DCOLOR color) {
        bool ownBegin = !begun_;
        if (ownBegin) Begin();
        std::vector<LineVertex> vertices;
        float half = width_ * 0.5f;
        for (std::size_t i = 0; i + 1 < p.size(); ++i) {
            D3DXVECTOR2 d(p[i + 1].x - p[i].x, p[i + 1].y - p[i].y);
            if (D3DXVec2LengthSq(&d) == 0.0f) continue;
            D3DXVec2Normalize(&d, &d);
            D3DXVECTOR2 n(-d.y * half, d.x * half);
            LineVertex a{p[i].x + n.x, p[i].y + n.y, p[i].z, 1.0f, color};
            LineVertex b{p[i].x - n.x, p[i].y - n.y, p[i].z, 1.0f, color};
            LineVertex c{p[i + 1].x + n.x, p[i + 1].y + n.y, p[i + 1].z, 1.0f, color};
            LineVertex e{p[i + 1].x - n.x, p[i + 1].y - n.y, p[i + 1].z, 1.0f, color};
            for (LineVertex const& v : {a, b, c, b, e, c}) vertices.push_back(v);
        }
        HRESULT hr = S_OK;
        if (!vertices.empty())
            hr = device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(vertices.size() / 3), vertices.data(),
                                          sizeof(LineVertex));
        if (ownBegin) End();
        return hr;
    }

    bool begun_ = false;
    SavedDeviceState saved_;
    float width_ = 1.0f;
    float patternScale_ = 1.0f;
    DWORD pattern_ = 0xFFFFFFFF;
    BOOL antialias_ = FALSE;
    BOOL glLines_ = FALSE;
};

}  // namespace

}  // namespace port::dx

HRESULT D3DXCreateLine(IDirect3DDevice9* device, ID3DXLine** line) {
    if (!device || !line) return D3DERR_INVALIDCALL;
    *line = new port::dx::Line(device);
    return S_OK;
}
