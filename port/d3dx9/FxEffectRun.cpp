// ID3DXEffect: techniques and drawing (Begin, BeginPass, CommitChanges, EndPass, End). Pass
// states go through the device's SetRenderState/SetSamplerState/SetTextureStageState/SetTexture;
// a pass with GLSL blocks becomes the device's program override while it is active.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "port/d3d9/d3d9_gl.h"
#include "port/d3dx9/FxEffect.h"

#include <cstring>
#include <set>

namespace port::fx {

Effect::Effect(IDirect3DDevice9* device, EffectPool* pool, std::string source, std::unique_ptr<EffectModel> model)
    : device_(device), pool_(pool), source_(std::move(source)), model_(std::move(model)) {
    if (device_) device_->AddRef();
    if (pool_) pool_->AddRef();
}

bool Effect::build(Diagnostics& diag) {
    // Shared parameters take the pool's storage when it already holds one of the same type.
    if (pool_) {
        for (auto& p : model_->parameters) {
            if (!(p->flags & D3DX_PARAMETER_SHARED)) continue;
            auto found = pool_->shared.find(p->name);
            if (found == pool_->shared.end()) {
                pool_->shared[p->name] = {p->type, p->elements, p->storage};
            } else if (found->second.type == p->type && found->second.elements == p->elements) {
                p->storage = found->second.storage;
                buildElementViews(*p);
            } else {
                diag.error(p->file, p->line, 1, "shared parameter '" + p->name + "' has another type in the pool");
            }
        }
    }
    if (diag.failed() || !compilePrograms(diag)) return false;
    for (auto& p : model_->parameters)
        if (!p->samplerTexture.empty()) p->samplerTextureParameter = model_->findParameter(p->samplerTexture);
    registerHandles();
    current_ = model_->techniques.empty() ? nullptr : model_->techniques.front().get();
    return true;
}

// ---- techniques ----

HRESULT Effect::GetPool(ID3DXEffectPool** pool) {
    if (!pool) return D3DERR_INVALIDCALL;
    *pool = pool_;
    if (pool_) pool_->AddRef();
    return S_OK;
}

HRESULT Effect::SetTechnique(D3DXHANDLE handle) {
    Technique* t = technique(handle);
    if (!t || begun_) return D3DERR_INVALIDCALL;
    current_ = t;
    return S_OK;
}

D3DXHANDLE Effect::GetCurrentTechnique() { return current_ ? handleOf(current_->name) : nullptr; }

HRESULT Effect::ValidateTechnique(D3DXHANDLE handle) {
    Technique* t = technique(handle);
    if (!t) return D3DERR_INVALIDCALL;
    for (auto const& p : t->passes)
        if (!p->vertexShader.empty() && !programFor(*p)) return E_FAIL;
    return S_OK;
}

HRESULT Effect::FindNextValidTechnique(D3DXHANDLE handle, D3DXHANDLE* next) {
    if (!next) return D3DERR_INVALIDCALL;
    *next = nullptr;
    std::size_t start = 0;
    if (handle) {
        Technique* t = technique(handle);
        if (!t) return D3DERR_INVALIDCALL;
        while (start < model_->techniques.size() && model_->techniques[start].get() != t) ++start;
        ++start;
    }
    for (std::size_t i = start; i < model_->techniques.size(); ++i) {
        D3DXHANDLE h = handleOf(model_->techniques[i]->name);
        if (SUCCEEDED(ValidateTechnique(h))) {
            *next = h;
            break;
        }
    }
    return S_OK;
}

bool Effect::usesParameter(Technique const& t, Variable const* parameter) {
    auto samplerUses = [&](Variable const* sampler) {
        return sampler == parameter || (sampler && sampler->samplerTexture == parameter->name);
    };
    for (auto const& p : t.passes) {
        if (PassProgram* program = programFor(*p)) {
            for (auto const& u : program->withAlphaTest.uniforms)
                if (u.variable == parameter) return true;
            for (auto const& s : program->samplers)
                if (samplerUses(s.variable)) return true;
        }
        for (auto const& sa : p->states) {
            if (sa.ref == parameter->name) return true;
            if (sa.kind == StateKind::SamplerObject && samplerUses(model_->findParameter(sa.ref))) return true;
        }
    }
    return false;
}

BOOL Effect::IsParameterUsed(D3DXHANDLE parameter, D3DXHANDLE handle) {
    Variable* v = variable(parameter, false);
    Technique* t = technique(handle);
    if (!v || !t) return FALSE;
    return usesParameter(*t, v->root()) ? TRUE : FALSE;
}

// ---- drawing ----

DWORD Effect::stateValue(StateAssignment const& sa) const {
    if (sa.ref.empty()) return sa.value;
    Variable const* v = model_->findParameter(sa.ref);
    if (!v || v->storage->words.empty()) return sa.value;
    uint32_t word = v->storage->words[0];
    if (v->type.type != D3DXPT_FLOAT) return word;
    float f;
    std::memcpy(&f, &word, 4);
    if (sa.type == ValueType::Float) return word;
    if (sa.type == ValueType::Color) return static_cast<DWORD>(D3DXCOLOR(f, f, f, f));
    return static_cast<DWORD>(saturate(f));
}

void Effect::applySampler(UINT unit, Variable const& sampler) {
    IDirect3DBaseTexture9* texture = nullptr;
    Variable const* t = sampler.samplerTextureParameter;
    if (!t && !sampler.samplerTexture.empty()) t = model_->findParameter(sampler.samplerTexture);
    if (t)
        texture = t->storage->textures.empty() ? nullptr : t->storage->textures[0];
    device_->SetTexture(unit, texture);
    for (auto const& [state, value] : sampler.samplerStates)
        device_->SetSamplerState(unit, static_cast<D3DSAMPLERSTATETYPE>(state), value);
}

void Effect::applyPass(Pass const& pass, bool refsOnly) {
    for (auto const& sa : pass.states) {
        if (refsOnly && sa.ref.empty()) continue;
        switch (sa.kind) {
            case StateKind::Render:
                device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(sa.state), stateValue(sa));
                break;
            case StateKind::Sampler:
                device_->SetSamplerState(sa.index, static_cast<D3DSAMPLERSTATETYPE>(sa.state), stateValue(sa));
                break;
            case StateKind::Stage:
                device_->SetTextureStageState(sa.index, static_cast<D3DTEXTURESTAGESTATETYPE>(sa.state), stateValue(sa));
                break;
            case StateKind::Texture: {
                Variable const* t = model_->findParameter(sa.ref);
                device_->SetTexture(sa.index, t && !t->storage->textures.empty() ? t->storage->textures[0] : nullptr);
                break;
            }
            case StateKind::SamplerObject:
                if (Variable const* s = model_->findParameter(sa.ref)) applySampler(sa.index, *s);
                break;
            default:
                break;
        }
    }
    if (PassProgram* program = programFor(pass)) {
        for (auto const& s : program->samplers) applySampler(s.unit, *s.variable);
        if (port::gl::makeCurrent(device_)) uploadUniforms(*program, !refsOnly);
        port::gl::setProgramOverride(device_, program->withAlphaTest.program);
    } else if (!refsOnly) {
        port::gl::setProgramOverride(device_, 0);
    }
}

// What Begin saves depends on the technique and the flags alone: planned once, so a Begin (one
// per sprite batch, thousands a frame) only reads the states.
std::vector<Effect::SaveItem> const& Effect::savePlan(Technique const& t, bool samplers) {
    auto [it, made] = savePlans_.try_emplace({&t, samplers});
    std::vector<SaveItem>& plan = it->second;
    if (!made) return plan;
    std::set<std::tuple<int, DWORD, DWORD>> seen;
    auto save = [&](StateKind kind, DWORD index, DWORD state) {
        if (seen.insert({static_cast<int>(kind), index, state}).second) plan.push_back(SaveItem{kind, index, state});
    };
    auto saveSampler = [&](DWORD unit, Variable const& s) {
        save(StateKind::Texture, unit, 0);
        if (samplers)
            for (auto const& [state, value] : s.samplerStates) save(StateKind::Sampler, unit, state);
    };
    for (auto const& p : t.passes) {
        for (auto const& sa : p->states) {
            if (sa.kind == StateKind::Render || sa.kind == StateKind::Stage) save(sa.kind, sa.index, sa.state);
            else if (sa.kind == StateKind::Sampler && samplers) save(sa.kind, sa.index, sa.state);
            else if (sa.kind == StateKind::Texture) save(StateKind::Texture, sa.index, 0);
            else if (sa.kind == StateKind::SamplerObject)
                if (Variable const* s = model_->findParameter(sa.ref)) saveSampler(sa.index, *s);
        }
        if (PassProgram* program = programFor(*p))
            for (auto const& s : program->samplers) saveSampler(s.unit, *s.variable);
    }
    return plan;
}

void Effect::saveStates(Technique const& t, DWORD flags) {
    saved_.clear();
    savedTextures_.clear();
    for (SaveItem const& item : savePlan(t, !(flags & D3DXFX_DONOTSAVESAMPLERSTATE))) {
        SavedState s{item.kind, item.index, item.state, 0};
        HRESULT hr = E_FAIL;
        switch (item.kind) {
            case StateKind::Render:
                hr = device_->GetRenderState(static_cast<D3DRENDERSTATETYPE>(item.state), &s.value);
                break;
            case StateKind::Sampler:
                hr = device_->GetSamplerState(item.index, static_cast<D3DSAMPLERSTATETYPE>(item.state), &s.value);
                break;
            case StateKind::Stage:
                hr = device_->GetTextureStageState(item.index, static_cast<D3DTEXTURESTAGESTATETYPE>(item.state),
                                                   &s.value);
                break;
            case StateKind::Texture: {
                IDirect3DBaseTexture9* texture = nullptr;
                if (SUCCEEDED(device_->GetTexture(item.index, &texture))) savedTextures_.emplace_back(item.index, texture);
                continue;
            }
            default:
                continue;
        }
        if (SUCCEEDED(hr)) saved_.push_back(s);
    }
    savedProgram_ = !(flags & D3DXFX_DONOTSAVESHADERSTATE);
    savedOverride_ = port::gl::programOverride(device_);
}

void Effect::restoreStates() {
    for (auto const& s : saved_) {
        if (s.kind == StateKind::Render) device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(s.state), s.value);
        else if (s.kind == StateKind::Sampler)
            device_->SetSamplerState(s.index, static_cast<D3DSAMPLERSTATETYPE>(s.state), s.value);
        else if (s.kind == StateKind::Stage)
            device_->SetTextureStageState(s.index, static_cast<D3DTEXTURESTAGESTATETYPE>(s.state), s.value);
    }
    for (auto& [unit, texture] : savedTextures_) {
        device_->SetTexture(unit, texture);
        if (texture) texture->Release();
    }
    if (savedProgram_) port::gl::setProgramOverride(device_, savedOverride_);
    saved_.clear();
    savedTextures_.clear();
    savedProgram_ = false;
}

HRESULT Effect::Begin(UINT* passes, DWORD flags) {
    if (!current_ || begun_) return D3DERR_INVALIDCALL;
    if (!(flags & D3DXFX_DONOTSAVESTATE)) saveStates(*current_, flags);
    begun_ = true;
    activePass_ = -1;
    if (passes) *passes = static_cast<UINT>(current_->passes.size());
    return S_OK;
}

HRESULT Effect::BeginPass(UINT index) {
    if (!begun_ || index >= current_->passes.size()) return D3DERR_INVALIDCALL;
    Pass const& p = *current_->passes[index];
    if (!p.vertexShader.empty() && !programFor(p)) return E_FAIL;
    activePass_ = static_cast<int>(index);
    applyPass(p, false);
    return S_OK;
}

HRESULT Effect::CommitChanges() {
    if (!begun_ || activePass_ < 0) return S_OK;
    applyPass(*current_->passes[static_cast<std::size_t>(activePass_)], true);
    return S_OK;
}

HRESULT Effect::EndPass() {
    if (activePass_ < 0) return D3DERR_INVALIDCALL;
    activePass_ = -1;
    return S_OK;
}

HRESULT Effect::End() {
    if (!begun_) return D3DERR_INVALIDCALL;
    activePass_ = -1;
    begun_ = false;
    restoreStates();
    return S_OK;
}

HRESULT Effect::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = device_;
    device_->AddRef();
    return S_OK;
}

// GL programs live in the device's context, which survives Reset. Texture parameters that hold
// D3DPOOL_DEFAULT textures (render targets set as sources) are let go, or their references would
// keep the device from being reset; callers set them again before drawing.
HRESULT Effect::OnLostDevice() {
    if (begun_) End();
    for (auto const& p : model_->parameters) {
        Storage& s = *p->storage;
        for (std::size_t i = 0; i < s.textures.size(); ++i) {
            IDirect3DBaseTexture9* t = s.textures[i];
            if (!t || t->GetType() != D3DRTYPE_TEXTURE) continue;
            D3DSURFACE_DESC desc{};
            if (SUCCEEDED(static_cast<IDirect3DTexture9*>(t)->GetLevelDesc(0, &desc)) && desc.Pool == D3DPOOL_DEFAULT)
                s.setTexture(i, nullptr);
        }
    }
    return S_OK;
}
HRESULT Effect::OnResetDevice() { return S_OK; }

}  // namespace port::fx
