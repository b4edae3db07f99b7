// PostEffect: binding to its shader effect (handles, reload and destruction of the effect),
// the constant-float records and the pixel-to-texel conversion, and the per-frame parameters.
#include "engine/render/PostEffect.h"

#include <algorithm>
#include <string>

#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/EffectManager.h"
#include "engine/render/PostEffectRenderer.h"
#include "engine/render/RenderManager.h"

namespace Orvex {

namespace {

constexpr char kTexelAnnotation[] = "ConvertPixelsToTexels";
constexpr u32 kFloatBytes = 4;

u32 floatsPerValue(u32 type) {
    switch (type) {
    case ConstantFloats::kFloat2:
    case ConstantFloats::kFloat2Texel: return 2;
    case ConstantFloats::kFloat3: return 3;
    case ConstantFloats::kFloat4: return 4;
    default: return 1;
    }
}

}  // namespace

void ConstantFloats::build(u32 width, u32 height) {
    u32 const floats = floatsPerValue(type_);
    stride_ = floats * kFloatBytes;
    count_ = static_cast<u32>(values_.size());
    buffer_.clear();
    buffer_.reserve(static_cast<std::size_t>(count_) * floats);
    for (D3DXVECTOR4 const& v : values_) {
        float const all[4] = {v.x, v.y, v.z, v.w};
        if (type_ == kFloat2Texel) {
            buffer_.push_back(width ? v.x / static_cast<float>(width) : 0.0f);
            buffer_.push_back(height ? v.y / static_cast<float>(height) : 0.0f);
        } else {
            buffer_.insert(buffer_.end(), all, all + floats);
        }
    }
}

void ConstantFloats::apply(ID3DXEffect& effect) const {
    for (std::string const& name : fill_) {
        D3DXHANDLE const handle = effect.GetParameterByName(nullptr, name.c_str());
        D3DXPARAMETER_DESC desc{};
        if (!handle || FAILED(effect.GetParameterDesc(handle, &desc))) continue;
        u32 const elements = desc.Bytes / stride_;
        u32 const values = std::min(count_, elements);
        if (values) effect.SetValue(handle, buffer_.data(), values * stride_);
    }
}

void PostEffect::targetSize(u32& width, u32& height) const {
    if (renderer_ && renderer_->getOwner()) {
        renderer_->getOwner()->getTargetSize(width, height);
        return;
    }
    width = d3d_->getWidth();
    height = d3d_->getHeight();
}

void PostEffect::unbind() {
    if (effect_) {
        effect_->signalReloaded.disconnect(this);
        effect_->signalDestroyed.disconnect(this);
    }
    effect_ = nullptr;
    initialized_ = 0;
}

void PostEffect::onEffectReloaded(Effect&) {
    if (!bindTried_) return;
    initialized_ = 0;
    bindEffect();
}

void PostEffect::onEffectDestroyed(NamedObject*) {
    // The effect manager let go of the effect: nothing to draw with until bound again.
    effect_ = nullptr;
    initialized_ = 0;
}

void PostEffect::bindEffect() {
    bindTried_ = 1;
    unbind();
    effect_ = EffectManager::getInstance().findEffect(effectName_);
    if (!effect_) return;
    effect_->signalDestroyed.connect(this, &PostEffect::onEffectDestroyed);
    ID3DXEffect* fx = effect_->getD3DXEffect();
    if (!fx) return;
    effect_->signalReloaded.connect(this, &PostEffect::onEffectReloaded);
    for (u32 i = 0; i < kParamCount; ++i) {
        std::string const n = std::to_string(i + 1);
        vec4Handles_[i] = fx->GetParameterByName(nullptr, ("g_Vec4_Param" + n).c_str());
        floatHandles_[i] = fx->GetParameterByName(nullptr, ("g_Float_Param" + n).c_str());
        matrixHandles_[i] = fx->GetParameterByName(nullptr, ("g_Matrix_Param" + n).c_str());
    }
    u32 width = 0;
    u32 height = 0;
    targetSize(width, height);
    for (ConstantFloats* c : constants_) {
        c->build(width, height);
        if (!c->isSetAlways()) c->apply(*fx);
    }
    convertPixelsToTexels(*fx, width, height);
    initialized_ = 1;
}

void PostEffect::refreshConstants() {
    ID3DXEffect* fx = effect_ ? effect_->getD3DXEffect() : nullptr;
    u32 width = 0;
    u32 height = 0;
    targetSize(width, height);
    for (ConstantFloats* c : constants_) {
        c->build(width, height);
        if (fx && !c->isSetAlways()) c->apply(*fx);
    }
}

void PostEffect::convertPixelsToTexels(ID3DXEffect& effect, u32 width, u32 height) {
    if (!width || !height) return;
    for (UINT index = 0;; ++index) {
        D3DXHANDLE const target = effect.GetParameter(nullptr, index);
        if (!target) break;
        D3DXHANDLE const annotation = effect.GetAnnotationByName(target, kTexelAnnotation);
        LPCSTR sourceName = nullptr;
        if (!annotation || FAILED(effect.GetString(annotation, &sourceName)) || !sourceName) continue;
        D3DXHANDLE const source = effect.GetParameterByName(nullptr, sourceName);
        D3DXPARAMETER_DESC from{};
        D3DXPARAMETER_DESC to{};
        if (!source || FAILED(effect.GetParameterDesc(source, &from)) || FAILED(effect.GetParameterDesc(target, &to)))
            continue;
        // Sized by both descriptions: a float4 holds one vector of 16 bytes, not Bytes / 8, and
        // the target may be smaller than the source.
        u32 const floats = std::min(from.Bytes, to.Bytes) / kFloatBytes;
        u32 const columns = from.Columns ? from.Columns : 1;
        if (!floats) continue;
        std::vector<float> values(from.Bytes / kFloatBytes, 0.0f);
        if (FAILED(effect.GetFloatArray(source, values.data(), static_cast<UINT>(values.size())))) continue;
        for (u32 i = 0; i < floats; i += columns) {
            values[i] /= static_cast<float>(width);
            if (columns > 1 && i + 1 < floats) values[i + 1] /= static_cast<float>(height);
        }
        effect.SetFloatArray(target, values.data(), floats);
    }
}

void PostEffect::applyParameters(ID3DXEffect& effect) {
    for (u32 i = 0; i < kParamCount; ++i) {
        if (floatHandles_[i]) effect.SetFloat(floatHandles_[i], floatParams_[i]);
        if (vec4Handles_[i]) effect.SetVector(vec4Handles_[i], &vec4Params_[i]);
        if (setMatrices_ && matrixHandles_[i]) effect.SetMatrix(matrixHandles_[i], &matrixParams_[i]);
    }
    for (ConstantFloats* c : constants_)
        if (c->isSetAlways()) c->apply(effect);
}

}  // namespace Orvex
