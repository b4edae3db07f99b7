// PostEffect: parameters addressed by mapping key (the kinds and their keywords) or by index.
#include "engine/render/PostEffect.h"

namespace Orvex {

namespace {

constexpr float kFailure = -1.0f;

D3DXMATRIX failureMatrix() {
    D3DXMATRIX m;
    for (auto& row : m.m)
        for (float& v : row) v = kFailure;
    return m;
}

bool isElementKind(u32 kind) { return kind >= PostEffect::kM11 && kind <= PostEffect::kM44; }

float& component(D3DXVECTOR4& v, u32 i) {
    switch (i) {
    case 0: return v.x;
    case 1: return v.y;
    case 2: return v.z;
    default: return v.w;
    }
}

float& element(D3DXMATRIX& m, u32 i) { return m.m[i / 4][i % 4]; }

}  // namespace

std::wstring const& PostEffect::kindKeyword(u32 kind) {
    // Kinds 7, 10 and 19 had no keyword of their own; they take the names their neighbours
    // suggest.
    static std::wstring const keywords[kKindCount + 1] = {
        L"FLOAT",  L"VECTOR", L"VECTOR_X",  L"VECTOR_Y",    L"VECTOR_Z",    L"VECTOR_W",     L"SCALE_X", L"SCALE_Y",
        L"SCALE_XY", L"INV_SCALE_X", L"INV_SCALE_Y", L"INV_SCALE_XY", L"MATRIX", L"M_11", L"M_12", L"M_13",
        L"M_14",   L"M_21",   L"M_22",      L"M_23",        L"M_24",        L"M_31",         L"M_32",    L"M_33",
        L"M_34",   L"M_41",   L"M_42",      L"M_43",        L"M_44",        L"ENABLE",       L""};
    return keywords[kind < kKindCount ? kind : kKindCount];
}

PostEffect::Mapping const* PostEffect::findMapping(std::wstring const& key) const {
    for (Mapping const& m : mappings_)
        if (m.key == key) return &m;
    return nullptr;
}

bool PostEffect::setFloat(std::wstring const& key, float const& value) {
    Mapping const* m = findMapping(key);
    if (!m || m->kind == kVector || m->kind == kMatrix) return false;
    u32 const nr = m->paramNr;
    switch (m->kind) {
    case kFloat: floatParams_[nr] = value; break;
    case kScaleX: scaleX_ = value; break;
    case kScaleY: scaleY_ = value; break;
    case kScaleXY: scaleX_ = scaleY_ = value; break;
    case kInvScaleX: scaleX_ = 1.0f / value; break;
    case kInvScaleY: scaleY_ = 1.0f / value; break;
    case kInvScaleXY: scaleX_ = scaleY_ = 1.0f / value; break;
    case kEnable: setEnabled(value > 0.0f); break;
    default:
        if (m->kind >= kVectorX && m->kind <= kVectorW)
            component(vec4Params_[nr], m->kind - kVectorX) = value;
        else if (isElementKind(m->kind))
            element(matrixParams_[nr], m->kind - kM11) = value;
        break;
    }
    return true;
}

float PostEffect::getFloat(std::wstring const& key) {
    Mapping const* m = findMapping(key);
    if (!m || m->kind == kVector || m->kind == kMatrix) return kFailure;
    u32 const nr = m->paramNr;
    switch (m->kind) {
    case kFloat: return floatParams_[nr];
    case kScaleX:
    case kScaleXY: return scaleX_;
    case kScaleY: return scaleY_;
    case kInvScaleX:
    case kInvScaleXY: return 1.0f / scaleX_;
    case kInvScaleY: return 1.0f / scaleY_;
    case kEnable: return isEnabled() ? 1.0f : 0.0f;
    default:
        if (m->kind >= kVectorX && m->kind <= kVectorW) return component(vec4Params_[nr], m->kind - kVectorX);
        return element(matrixParams_[nr], m->kind - kM11);
    }
}

bool PostEffect::setVector(std::wstring const& key, D3DXVECTOR4 const& value) {
    Mapping const* m = findMapping(key);
    if (!m || m->kind < kVector || m->kind > kVectorW) return false;
    vec4Params_[m->paramNr] = value;
    return true;
}

D3DXVECTOR4 PostEffect::getVector(std::wstring const& key) {
    Mapping const* m = findMapping(key);
    if (!m || m->kind != kVector) return D3DXVECTOR4(kFailure, kFailure, kFailure, kFailure);
    return vec4Params_[m->paramNr];
}

bool PostEffect::setMatrix(std::wstring const& key, D3DXMATRIX const& value) {
    Mapping const* m = findMapping(key);
    if (!m || m->kind < kMatrix || m->kind > kM44) return false;
    matrixParams_[m->paramNr] = value;
    return true;
}

D3DXMATRIX PostEffect::getMatrix(std::wstring const& key) {
    Mapping const* m = findMapping(key);
    if (!m || m->kind != kMatrix) return failureMatrix();
    return matrixParams_[m->paramNr];
}

void PostEffect::setVec4Param(D3DXVECTOR4 const& value, u32 index) {
    if (index < kParamCount) vec4Params_[index] = value;
}

void PostEffect::setFloatParam(float const& value, u32 index) {
    if (index < kParamCount) floatParams_[index] = value;
}

void PostEffect::setMatrixParam(D3DXMATRIX const& value, u32 index) {
    if (index < kParamCount) matrixParams_[index] = value;
}

D3DXVECTOR4 PostEffect::getVec4Param(u32 index) { return index < kParamCount ? vec4Params_[index] : D3DXVECTOR4(); }

float PostEffect::getFloatParam(u32 index) { return index < kParamCount ? floatParams_[index] : 0.0f; }

D3DXMATRIX PostEffect::getMatrixParam(u32 index) { return index < kParamCount ? matrixParams_[index] : D3DXMATRIX(); }

}  // namespace Orvex
