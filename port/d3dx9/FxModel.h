// The parsed form of an effect: parameters and annotations with their values, samplers,
// techniques, passes with their state assignments, and the GLSL blocks. Objects are held by
// pointer so that their addresses (the handles) stay fixed.
#pragma once

#include "port/d3dx9/FxPreprocessor.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace port::fx {

struct TypeDesc {
    D3DXPARAMETER_CLASS cls = D3DXPC_SCALAR;
    D3DXPARAMETER_TYPE type = D3DXPT_VOID;
    UINT rows = 1;
    UINT cols = 1;

    bool numeric() const { return type == D3DXPT_BOOL || type == D3DXPT_INT || type == D3DXPT_FLOAT; }
    bool texture() const { return type >= D3DXPT_TEXTURE && type <= D3DXPT_TEXTURECUBE; }
    bool sampler() const { return type >= D3DXPT_SAMPLER && type <= D3DXPT_SAMPLERCUBE; }
    bool string() const { return type == D3DXPT_STRING; }
    UINT components() const { return numeric() ? rows * cols : 0; }
    bool operator==(TypeDesc const&) const = default;
};

// The values of one parameter or annotation; shared between effects through a pool. Numeric
// components are 32-bit words (float bits, int, or BOOL 0/1 by the type), element by element,
// each element row by row. Texture references are owned.
struct Storage {
    std::vector<uint32_t> words;
    std::vector<std::string> strings;
    std::vector<IDirect3DBaseTexture9*> textures;
    uint64_t version = 1;

    Storage() = default;
    Storage(Storage const&) = delete;
    Storage& operator=(Storage const&) = delete;
    ~Storage();
    void setTexture(std::size_t element, IDirect3DBaseTexture9* texture);
};

// A parameter, an element of an array parameter, or an annotation.
struct Variable {
    std::string name;
    std::string semantic;
    TypeDesc type;
    UINT elements = 0;  // array length; 0 for a single value
    DWORD flags = 0;
    std::shared_ptr<Storage> storage;
    UINT firstElement = 0;  // for element views
    bool elementView = false;
    Variable* parent = nullptr;  // the array of an element view
    std::vector<std::unique_ptr<Variable>> annotations;
    std::vector<std::unique_ptr<Variable>> elementViews;
    // Samplers: the texture parameter (Texture = <name>) and D3DSAMP_ states.
    std::string samplerTexture;
    // That texture parameter, found once the effect is built (drawing looks it up at every pass).
    Variable const* samplerTextureParameter = nullptr;
    std::vector<std::pair<DWORD, DWORD>> samplerStates;
    std::string file;
    int line = 0;

    UINT count() const { return elementView ? 1 : (elements ? elements : 1); }
    UINT bytes() const;
    // The top-level parameter this variable belongs to (itself unless an element view).
    Variable const* root() const { return elementView && parent ? parent : this; }
};

enum class StateKind { Render, Sampler, Stage, Texture, SamplerObject, VertexShader, PixelShader };

enum class ValueType {
    Bool,
    Dword,
    Float,
    Color,
    Blend,
    BlendOp,
    Cmp,
    StencilOp,
    Cull,
    Fill,
    Shade,
    ZBuffer,
    FogMode,
    MaterialSource,
    VertexBlend,
    TextureOp,
    TextureArg,
    Address,
    Filter,
    ColorWrite,
    TextureTransform,
    Object
};

struct StateInfo {
    char const* name;
    StateKind kind;
    DWORD id;
    ValueType type;
};

// The D3DX effect state of that name (case-insensitive), or null.
StateInfo const* findState(std::string_view name);
// An enumeration word (Zero, SrcAlpha, Less, Replace, Linear, Clamp ...) for a state's value type.
bool enumValue(ValueType type, std::string_view word, DWORD& value);

struct StateAssignment {
    StateKind kind = StateKind::Render;
    DWORD state = 0;
    DWORD index = 0;  // sampler or stage number
    ValueType type = ValueType::Dword;
    DWORD value = 0;
    std::string ref;  // parameter (value, texture or sampler) or GLSL block name
    std::string file;
    int line = 0;
};

struct Pass {
    std::string name;
    std::vector<std::unique_ptr<Variable>> annotations;
    std::vector<StateAssignment> states;
    std::string vertexShader;
    std::string pixelShader;
    std::string file;
    int line = 0;
};

struct Technique {
    std::string name;
    std::vector<std::unique_ptr<Variable>> annotations;
    std::vector<std::unique_ptr<Pass>> passes;
};

struct ShaderBlock {
    std::string name;
    bool vertex = true;
    std::string code;
    std::string file;
    int line = 0;
};

struct EffectModel {
    std::vector<std::unique_ptr<Variable>> parameters;
    std::vector<std::unique_ptr<Technique>> techniques;
    std::vector<ShaderBlock> shaders;

    Variable* findParameter(std::string_view name) const;
    ShaderBlock const* findShader(std::string_view name, bool vertex) const;
};

// A float as an integer the way a cast would give it, but saturated instead of undefined for
// values out of range (NaN gives 0).
inline int64_t saturate(double v) {
    if (!(v == v)) return 0;
    if (v >= 9.2e18) return INT64_MAX;
    if (v <= -9.2e18) return INT64_MIN;
    return static_cast<int64_t>(v);
}
inline int32_t saturate32(double v) {
    int64_t i = saturate(v);
    return i > INT32_MAX ? INT32_MAX : i < INT32_MIN ? INT32_MIN : static_cast<int32_t>(i);
}

// Parses preprocessed text (with its #line markers) into model; errors name file and line.
bool parseEffect(std::string_view text, EffectModel& model, Diagnostics& diag);

// Creates the element views of an array parameter (after its storage is final).
void buildElementViews(Variable& array);

}  // namespace port::fx
