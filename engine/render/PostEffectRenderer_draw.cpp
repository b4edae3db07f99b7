// PostEffectRenderer: drawing one post effect, pass by pass, from the source into the target.
#include "engine/render/PostEffectRenderer.h"

#include <cstring>
#include <utility>

#include "engine/platform/D3DInterface.h"
#include "engine/render/DeviceObjects.h"
#include "engine/render/Effect.h"
#include "engine/render/Camera.h"
#include "engine/render/PostEffect.h"
#include "engine/render/PostEffectValues.h"
#include "engine/render/Texture2D.h"


namespace Orvex {

namespace {

constexpr char kTechnique[] = "RenderPost";

// Near plane, far plane and far / near of the camera; false without one.
bool clipPlanes(Camera* camera, float (&out)[3]) {
    if (!camera) return false;
    double zNear = 0.0;
    double zFar = 0.0;
    camera->getClipPlanes(zNear, zFar);
    out[0] = static_cast<float>(zNear);
    out[1] = static_cast<float>(zFar);
    out[2] = zNear > 0.0 ? static_cast<float>(zFar / zNear) : 0.0f;
    return true;
}

// A float annotation of a pass, or 1.
float passScale(ID3DXEffect& effect, D3DXHANDLE pass, char const* name) {
    D3DXHANDLE const annotation = pass ? effect.GetAnnotationByName(pass, name) : nullptr;
    float value = 1.0f;
    if (!annotation || FAILED(effect.GetFloat(annotation, &value))) return 1.0f;
    return value;
}

}  // namespace

void PostEffectRenderer::drawEffect(PostEffect& effect, Camera* camera) {
    if (!created_ || !effect.isActive()) return;
    ID3DXEffect* fx = effect.getEffect() ? effect.getEffect()->getD3DXEffect() : nullptr;
    IDirect3DDevice9* device = d3d_->getDevice();
    if (!fx || !device) return;
    PixEvent event(kPostEffectEventColour, effect.getName().c_str());
    D3DXHANDLE const technique = fx->GetTechniqueByName(kTechnique);
    if (!technique || FAILED(fx->SetTechnique(technique))) return;
    fx->SetTexture("g_Textur_SRC", sourceTexture_);
    fx->SetTexture("g_Textur_ORG", originalTexture_);
    effect.beforeRender(camera);
    fx->SetFloat("g_time", effect.getTime());
    auto const& statics = effect.getStaticTextures();
    for (auto it = statics.rbegin(); it != statics.rend(); ++it) {
        Texture2D* texture = (*it)->getTexture();
        fx->SetTexture((*it)->getHandle().c_str(), texture ? texture->getTexture() : nullptr);
    }
    effect.applyParameters(*fx);
    float planes[3];
    if (clipPlanes(camera, planes)) fx->SetValue("g_ZminMaxQuo", planes, sizeof(planes));

    device->SetRenderTarget(0, targetSurface_);
    device->BeginScene();
    // Only the buffers that exist can be cleared (a clear naming a missing one fails whole).
    IDirect3DSurface9* depth = nullptr;
    DWORD flags = effect.getClearTarget() ? D3DCLEAR_TARGET : 0;
    if (SUCCEEDED(device->GetDepthStencilSurface(&depth)) && depth) flags |= D3DCLEAR_ZBUFFER;
    releaseCom(depth);
    if (flags) device->Clear(0, nullptr, flags, effect.getClearColor(), 1.0f, 0);

    UINT passes = 0;
    if (SUCCEEDED(fx->Begin(&passes, 0))) {
        D3DXVECTOR2 const own = effect.getScale();
        for (UINT p = 0; p < passes; ++p) {
            fx->BeginPass(p);
            bool changed = false;
            if (uMax_ != quad_[1].u0) {
                quad_[1].u0 = quad_[3].u0 = uMax_;
                changed = true;
            }
            if (vMax_ != quad_[2].v0) {
                quad_[2].v0 = quad_[3].v0 = vMax_;
                changed = true;
            }
            D3DXHANDLE const pass = fx->GetPass(technique, p);
            float const sx = passScale(*fx, pass, "fScaleX") * own.x;
            float const sy = passScale(*fx, pass, "fScaleY") * own.y;
            if (sx != 1.0f)
                for (int v : {1, 3}) quad_[v].x = (quad_[v].x + 0.5f) * sx - 0.5f;
            if (sy != 1.0f)
                for (int v : {2, 3}) quad_[v].y = (quad_[v].y + 0.5f) * sy - 0.5f;
            if (sx != 1.0f || sy != 1.0f || changed) {
                D3DPERF_SetMarker(kPostEffectMarkerColour, L"CHANGE_TARGET_SIZE");
                writeQuad();
            }
            uMax_ *= sx;
            vMax_ *= sy;
            device->SetStreamSource(0, vertexBuffer_, 0, sizeof(PostScreenVertex));
            device->SetFVF(kFVF);
            device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
            fx->EndPass();
        }
        fx->End();
        // Nor may the device keep the quad buffer bound.
        device->SetStreamSource(0, nullptr, 0, 0);
    }
    device->EndScene();
    // Bound, the effect would keep the render targets alive through a lost device (the reset
    // would fail).
    fx->SetTexture("g_Textur_SRC", nullptr);
    fx->SetTexture("g_Textur_ORG", nullptr);
    if (effect.getMakeOriginal() && originalSurface_) {
        D3DPERF_SetMarker(kPostEffectMarkerColour, L"MAKE_ORIGINAL");
        device->StretchRect(targetSurface_, nullptr, originalSurface_, nullptr, D3DTEXF_NONE);
    }
    std::swap(sourceTexture_, targetTexture_);
    std::swap(sourceSurface_, targetSurface_);
    effect.afterRender(camera);
}

}  // namespace Orvex
