// ID3DXEffect: handles, descriptions, and getting and setting parameter values with D3DX's
// conversions between bool, int and float.
#include "port/d3dx9/FxEffect.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace port::fx {

namespace {

float toFloat(D3DXPARAMETER_TYPE type, uint32_t word) {
    if (type == D3DXPT_FLOAT) {
        float f;
        std::memcpy(&f, &word, 4);
        return f;
    }
    return static_cast<float>(static_cast<int32_t>(word));
}

uint32_t fromFloat(D3DXPARAMETER_TYPE type, float f) {
    if (type == D3DXPT_FLOAT) {
        uint32_t w;
        std::memcpy(&w, &f, 4);
        return w;
    }
    if (type == D3DXPT_BOOL) return f != 0.0f ? 1u : 0u;
    return static_cast<uint32_t>(saturate32(f));
}

int32_t toInt(D3DXPARAMETER_TYPE type, uint32_t word) {
    return type == D3DXPT_FLOAT ? saturate32(toFloat(type, word)) : static_cast<int32_t>(word);
}

uint32_t fromInt(D3DXPARAMETER_TYPE type, int32_t v) {
    if (type == D3DXPT_FLOAT) return fromFloat(type, static_cast<float>(v));
    if (type == D3DXPT_BOOL) return v != 0 ? 1u : 0u;
    return static_cast<uint32_t>(v);
}

// The words of a variable (all its elements).
uint32_t* words(Variable const& v) {
    return v.storage->words.data() + static_cast<std::size_t>(v.firstElement) * v.type.components();
}
std::size_t wordCount(Variable const& v) { return static_cast<std::size_t>(v.count()) * v.type.components(); }

bool isMatrix(Variable const& v) { return v.type.cls == D3DXPC_MATRIX_ROWS || v.type.cls == D3DXPC_MATRIX_COLUMNS; }


}  // namespace

// ---- handles ----

void Effect::registerVariable(Variable& v, Kind kind) {
    handles_[handleOf(v.name)] = {kind, &v};
    for (auto& a : v.annotations) registerVariable(*a, Kind::Annotation);
    for (auto& e : v.elementViews) registerVariable(*e, Kind::Parameter);
}

void Effect::registerHandles() {
    handles_.clear();
    for (auto& p : model_->parameters) registerVariable(*p, Kind::Parameter);
    for (auto& t : model_->techniques) {
        handles_[handleOf(t->name)] = {Kind::Technique, t.get()};
        for (auto& a : t->annotations) registerVariable(*a, Kind::Annotation);
        for (auto& p : t->passes) {
            handles_[handleOf(p->name)] = {Kind::Pass, p.get()};
            for (auto& a : p->annotations) registerVariable(*a, Kind::Annotation);
        }
    }
}

Effect::Target const* Effect::target(D3DXHANDLE handle) const {
    auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : &it->second;
}

Variable* Effect::variable(D3DXHANDLE handle, bool annotationsToo) {
    if (!handle) return nullptr;
    if (Target const* t = target(handle)) {
        if (t->kind == Kind::Parameter || (annotationsToo && t->kind == Kind::Annotation))
            return static_cast<Variable*>(t->object);
        return nullptr;
    }
    D3DXHANDLE byName = GetParameterByName(nullptr, handle);
    Target const* t = byName ? target(byName) : nullptr;
    return t ? static_cast<Variable*>(t->object) : nullptr;
}

Variable* Effect::writable(D3DXHANDLE handle, bool numericOnly) {
    Variable* v = variable(handle, false);
    if (!v || (numericOnly && !v->type.numeric())) return nullptr;
    return v;
}

Technique* Effect::technique(D3DXHANDLE handle) {
    if (!handle) return nullptr;
    if (Target const* t = target(handle)) return t->kind == Kind::Technique ? static_cast<Technique*>(t->object) : nullptr;
    D3DXHANDLE byName = GetTechniqueByName(handle);
    return byName ? static_cast<Technique*>(target(byName)->object) : nullptr;
}

Pass* Effect::pass(D3DXHANDLE handle) {
    Target const* t = handle ? target(handle) : nullptr;
    return t && t->kind == Kind::Pass ? static_cast<Pass*>(t->object) : nullptr;
}

std::vector<std::unique_ptr<Variable>>* Effect::annotationsOf(D3DXHANDLE object) {
    if (Pass* p = pass(object)) return &p->annotations;
    if (Target const* t = object ? target(object) : nullptr) {
        if (t->kind == Kind::Technique) return &static_cast<Technique*>(t->object)->annotations;
        if (t->kind == Kind::Parameter) return &static_cast<Variable*>(t->object)->annotations;
        return nullptr;
    }
    if (Variable* v = variable(object, false)) return &v->annotations;
    if (Technique* t = technique(object)) return &t->annotations;
    return nullptr;
}

// ---- descriptions and lookups ----

HRESULT Effect::GetDesc(D3DXEFFECT_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    desc->Creator = "port d3dx9 effect (GLSL)";
    desc->Parameters = static_cast<UINT>(model_->parameters.size());
    desc->Techniques = static_cast<UINT>(model_->techniques.size());
    desc->Functions = 0;
    return S_OK;
}

HRESULT Effect::GetParameterDesc(D3DXHANDLE parameter, D3DXPARAMETER_DESC* desc) {
    Variable* v = variable(parameter, true);
    if (!v || !desc) return D3DERR_INVALIDCALL;
    desc->Name = v->name.c_str();
    desc->Semantic = v->semantic.empty() ? nullptr : v->semantic.c_str();
    desc->Class = v->type.cls;
    desc->Type = v->type.type;
    desc->Rows = v->type.rows;
    desc->Columns = v->type.cols;
    desc->Elements = v->elementView ? 0 : v->elements;
    desc->Annotations = static_cast<UINT>(v->annotations.size());
    desc->StructMembers = 0;
    desc->Flags = v->flags;
    desc->Bytes = v->bytes();
    return S_OK;
}

HRESULT Effect::GetTechniqueDesc(D3DXHANDLE handle, D3DXTECHNIQUE_DESC* desc) {
    Technique* t = technique(handle);
    if (!t || !desc) return D3DERR_INVALIDCALL;
    desc->Name = t->name.c_str();
    desc->Passes = static_cast<UINT>(t->passes.size());
    desc->Annotations = static_cast<UINT>(t->annotations.size());
    return S_OK;
}

HRESULT Effect::GetPassDesc(D3DXHANDLE handle, D3DXPASS_DESC* desc) {
    Pass* p = pass(handle);
    if (!p || !desc) return D3DERR_INVALIDCALL;
    desc->Name = p->name.c_str();
    desc->Annotations = static_cast<UINT>(p->annotations.size());
    desc->pVertexShaderFunction = nullptr;
    desc->pPixelShaderFunction = nullptr;
    return S_OK;
}

D3DXHANDLE Effect::GetParameter(D3DXHANDLE parent, UINT index) {
    if (!parent) return index < model_->parameters.size() ? handleOf(model_->parameters[index]->name) : nullptr;
    Variable* v = variable(parent, false);
    if (!v || index >= v->elementViews.size()) return nullptr;
    return handleOf(v->elementViews[index]->name);
}

D3DXHANDLE Effect::GetParameterByName(D3DXHANDLE parent, LPCSTR nameIn) {
    if (!nameIn) return nullptr;
    std::string name = nameIn;
    if (parent) {
        Variable* v = variable(parent, false);
        if (!v) return nullptr;
        name = v->name + (name.empty() || name[0] == '[' ? "" : ".") + name;
    }
    // "name" or "name[index]".
    std::string base = name;
    long index = -1;
    if (std::size_t open = name.find('['); open != std::string::npos && name.back() == ']') {
        base = name.substr(0, open);
        char* end = nullptr;
        std::string digits = name.substr(open + 1, name.size() - open - 2);
        index = std::strtol(digits.c_str(), &end, 10);
        if (digits.empty() || *end) return nullptr;
    }
    Variable* v = model_->findParameter(base);
    if (!v) return nullptr;
    if (index < 0) return handleOf(v->name);
    if (static_cast<std::size_t>(index) >= v->elementViews.size()) return nullptr;
    return handleOf(v->elementViews[static_cast<std::size_t>(index)]->name);
}

D3DXHANDLE Effect::GetParameterBySemantic(D3DXHANDLE parent, LPCSTR semantic) {
    if (!semantic || parent) return nullptr;
    for (auto const& p : model_->parameters)
        if (dx::equalsNoCase(semantic, p->semantic)) return handleOf(p->name);
    return nullptr;
}

D3DXHANDLE Effect::GetParameterElement(D3DXHANDLE parameter, UINT index) {
    Variable* v = variable(parameter, false);
    if (!v || index >= v->elementViews.size()) return nullptr;
    return handleOf(v->elementViews[index]->name);
}

D3DXHANDLE Effect::GetTechnique(UINT index) {
    return index < model_->techniques.size() ? handleOf(model_->techniques[index]->name) : nullptr;
}

D3DXHANDLE Effect::GetTechniqueByName(LPCSTR name) {
    if (!name) return nullptr;
    for (auto const& t : model_->techniques)
        if (t->name == name) return handleOf(t->name);
    return nullptr;
}

D3DXHANDLE Effect::GetPass(D3DXHANDLE handle, UINT index) {
    Technique* t = technique(handle);
    if (!t || index >= t->passes.size()) return nullptr;
    return handleOf(t->passes[index]->name);
}

D3DXHANDLE Effect::GetPassByName(D3DXHANDLE handle, LPCSTR name) {
    Technique* t = technique(handle);
    if (!t || !name) return nullptr;
    for (auto const& p : t->passes)
        if (p->name == name) return handleOf(p->name);
    return nullptr;
}

D3DXHANDLE Effect::GetAnnotation(D3DXHANDLE object, UINT index) {
    auto* list = annotationsOf(object);
    if (!list || index >= list->size()) return nullptr;
    return handleOf((*list)[index]->name);
}

D3DXHANDLE Effect::GetAnnotationByName(D3DXHANDLE object, LPCSTR name) {
    auto* list = annotationsOf(object);
    if (!list || !name) return nullptr;
    for (auto const& a : *list)
        if (a->name == name) return handleOf(a->name);
    return nullptr;
}

// ---- values ----

HRESULT Effect::SetValue(D3DXHANDLE parameter, LPCVOID data, UINT bytes) {
    Variable* v = writable(parameter, false);
    if (!v || !data) return D3DERR_INVALIDCALL;
    Storage& s = *v->storage;
    if (v->type.numeric()) {
        std::size_t n = std::min<std::size_t>(bytes / 4, wordCount(*v));
        std::memcpy(words(*v), data, n * 4);
    } else if (v->type.texture()) {
        auto const* list = static_cast<IDirect3DBaseTexture9* const*>(data);
        std::size_t n = std::min<std::size_t>(bytes / sizeof(void*), v->count());
        for (std::size_t i = 0; i < n; ++i) s.setTexture(v->firstElement + i, list[i]);
    } else if (v->type.string()) {
        auto const* list = static_cast<LPCSTR const*>(data);
        std::size_t n = std::min<std::size_t>(bytes / sizeof(void*), v->count());
        for (std::size_t i = 0; i < n; ++i) s.strings[v->firstElement + i] = list[i] ? list[i] : "";
    } else {
        return D3DERR_INVALIDCALL;
    }
    ++s.version;
    return S_OK;
}

HRESULT Effect::GetValue(D3DXHANDLE parameter, LPVOID data, UINT bytes) {
    Variable* v = variable(parameter, true);
    if (!v || !data) return D3DERR_INVALIDCALL;
    Storage& s = *v->storage;
    if (v->type.numeric()) {
        std::memcpy(data, words(*v), std::min<std::size_t>(bytes / 4, wordCount(*v)) * 4);
    } else if (v->type.texture()) {
        std::size_t n = std::min<std::size_t>(bytes / sizeof(void*), v->count());
        std::memcpy(data, s.textures.data() + v->firstElement, n * sizeof(void*));
    } else if (v->type.string()) {
        auto* list = static_cast<LPCSTR*>(data);
        std::size_t n = std::min<std::size_t>(bytes / sizeof(void*), v->count());
        for (std::size_t i = 0; i < n; ++i) list[i] = s.strings[v->firstElement + i].c_str();
    } else {
        return D3DERR_INVALIDCALL;
    }
    return S_OK;
}

HRESULT Effect::SetBool(D3DXHANDLE parameter, BOOL value) { return SetIntArray(parameter, &value, 1); }
HRESULT Effect::GetBool(D3DXHANDLE parameter, BOOL* value) { return GetBoolArray(parameter, value, 1); }
template <class T, class Convert>
HRESULT Effect::writeNumbers(D3DXHANDLE parameter, T const* values, UINT count, Convert convert) {
    Variable* v = writable(parameter, true);
    if (!v || !values) return D3DERR_INVALIDCALL;
    std::size_t n = std::min<std::size_t>(count, wordCount(*v));
    for (std::size_t i = 0; i < n; ++i) words(*v)[i] = convert(v->type.type, values[i]);
    ++v->storage->version;
    return S_OK;
}

template <class T, class Convert>
HRESULT Effect::readNumbers(D3DXHANDLE parameter, T* values, UINT count, Convert convert) {
    Variable* v = variable(parameter, true);
    if (!v || !values || !v->type.numeric()) return D3DERR_INVALIDCALL;
    std::size_t n = std::min<std::size_t>(count, wordCount(*v));
    for (std::size_t i = 0; i < n; ++i) values[i] = convert(v->type.type, words(*v)[i]);
    return S_OK;
}

HRESULT Effect::SetBoolArray(D3DXHANDLE parameter, const BOOL* values, UINT count) {
    return SetIntArray(parameter, values, count);
}
HRESULT Effect::GetBoolArray(D3DXHANDLE parameter, BOOL* values, UINT count) {
    return readNumbers(parameter, values, count, [](D3DXPARAMETER_TYPE type, uint32_t word) -> BOOL {
        return toFloat(type, word) != 0.0f ? TRUE : FALSE;
    });
}

HRESULT Effect::SetInt(D3DXHANDLE parameter, INT value) { return SetIntArray(parameter, &value, 1); }
HRESULT Effect::GetInt(D3DXHANDLE parameter, INT* value) { return GetIntArray(parameter, value, 1); }
HRESULT Effect::SetIntArray(D3DXHANDLE parameter, const INT* values, UINT count) {
    return writeNumbers(parameter, values, count, fromInt);
}
HRESULT Effect::GetIntArray(D3DXHANDLE parameter, INT* values, UINT count) {
    return readNumbers(parameter, values, count, toInt);
}

HRESULT Effect::SetFloat(D3DXHANDLE parameter, FLOAT value) { return SetFloatArray(parameter, &value, 1); }
HRESULT Effect::GetFloat(D3DXHANDLE parameter, FLOAT* value) { return GetFloatArray(parameter, value, 1); }
HRESULT Effect::SetFloatArray(D3DXHANDLE parameter, const FLOAT* values, UINT count) {
    return writeNumbers(parameter, values, count, fromFloat);
}
HRESULT Effect::GetFloatArray(D3DXHANDLE parameter, FLOAT* values, UINT count) {
    return readNumbers(parameter, values, count, toFloat);
}

HRESULT Effect::SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) {
    return SetVectorArray(parameter, vector, 1);
}
HRESULT Effect::GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) { return GetVectorArray(parameter, vector, 1); }
HRESULT Effect::SetVectorArray(D3DXHANDLE parameter, const D3DXVECTOR4* vectors, UINT count) {
    Variable* v = writable(parameter, true);
    if (!v || !vectors || isMatrix(*v)) return D3DERR_INVALIDCALL;
    UINT comps = v->type.components();
    for (UINT e = 0; e < std::min(count, v->count()); ++e)
        for (UINT c = 0; c < std::min(comps, 4u); ++c)
            words(*v)[e * comps + c] = fromFloat(v->type.type, static_cast<FLOAT const*>(vectors[e])[c]);
    ++v->storage->version;
    return S_OK;
}
HRESULT Effect::GetVectorArray(D3DXHANDLE parameter, D3DXVECTOR4* vectors, UINT count) {
    Variable* v = variable(parameter, true);
    if (!v || !vectors || !v->type.numeric() || isMatrix(*v)) return D3DERR_INVALIDCALL;
    UINT comps = v->type.components();
    for (UINT e = 0; e < std::min(count, v->count()); ++e) {
        vectors[e] = D3DXVECTOR4(0.0f, 0.0f, 0.0f, 0.0f);
        for (UINT c = 0; c < std::min(comps, 4u); ++c)
            static_cast<FLOAT*>(vectors[e])[c] = toFloat(v->type.type, words(*v)[e * comps + c]);
    }
    return S_OK;
}

HRESULT Effect::SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) {
    return SetMatrixArray(parameter, matrix, 1);
}
HRESULT Effect::GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) { return GetMatrixArray(parameter, matrix, 1); }
HRESULT Effect::SetMatrixArray(D3DXHANDLE parameter, const D3DXMATRIX* matrices, UINT count) {
    Variable* v = writable(parameter, true);
    if (!v || !matrices || !isMatrix(*v)) return D3DERR_INVALIDCALL;
    UINT rows = v->type.rows, cols = v->type.cols;
    for (UINT e = 0; e < std::min(count, v->count()); ++e)
        for (UINT r = 0; r < rows; ++r)
            for (UINT c = 0; c < cols; ++c)
                words(*v)[(e * rows + r) * cols + c] = fromFloat(v->type.type, matrices[e].m[r][c]);
    ++v->storage->version;
    return S_OK;
}
HRESULT Effect::GetMatrixArray(D3DXHANDLE parameter, D3DXMATRIX* matrices, UINT count) {
    Variable* v = variable(parameter, true);
    if (!v || !matrices || !v->type.numeric() || !isMatrix(*v)) return D3DERR_INVALIDCALL;
    UINT rows = v->type.rows, cols = v->type.cols;
    for (UINT e = 0; e < std::min(count, v->count()); ++e) {
        matrices[e] = D3DXMATRIX();
        for (UINT r = 0; r < rows; ++r)
            for (UINT c = 0; c < cols; ++c)
                matrices[e].m[r][c] = toFloat(v->type.type, words(*v)[(e * rows + r) * cols + c]);
    }
    return S_OK;
}
HRESULT Effect::SetMatrixTranspose(D3DXHANDLE parameter, const D3DXMATRIX* matrix) {
    if (!matrix) return D3DERR_INVALIDCALL;
    D3DXMATRIX t;
    D3DXMatrixTranspose(&t, matrix);
    return SetMatrix(parameter, &t);
}
HRESULT Effect::GetMatrixTranspose(D3DXHANDLE parameter, D3DXMATRIX* matrix) {
    HRESULT hr = GetMatrix(parameter, matrix);
    if (SUCCEEDED(hr)) D3DXMatrixTranspose(matrix, matrix);
    return hr;
}

HRESULT Effect::SetString(D3DXHANDLE parameter, LPCSTR string) {
    Variable* v = writable(parameter, false);
    if (!v || !string || !v->type.string()) return D3DERR_INVALIDCALL;
    v->storage->strings[v->firstElement] = string;
    ++v->storage->version;
    return S_OK;
}
HRESULT Effect::GetString(D3DXHANDLE parameter, LPCSTR* string) {
    Variable* v = variable(parameter, true);
    if (!v || !string || !v->type.string()) return D3DERR_INVALIDCALL;
    *string = v->storage->strings[v->firstElement].c_str();
    return S_OK;
}

HRESULT Effect::SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) {
    Variable* v = writable(parameter, false);
    if (!v || !v->type.texture()) return D3DERR_INVALIDCALL;
    v->storage->setTexture(v->firstElement, texture);
    return S_OK;
}
HRESULT Effect::GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) {
    Variable* v = variable(parameter, false);
    if (!v || !texture || !v->type.texture()) return D3DERR_INVALIDCALL;
    *texture = v->storage->textures[v->firstElement];
    if (*texture) (*texture)->AddRef();
    return S_OK;
}

}  // namespace port::fx
