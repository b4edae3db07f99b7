// The ID3DXEffect implementation: the parsed model, its handles, the GL program of each pass
// and the state saving of Begin/End. Split by aspect: FxEffectValues.cpp (handles, getters and
// setters), FxEffectRun.cpp (techniques, Begin ... End), FxProgram.cpp (GLSL programs),
// FxCreate.cpp (creation, pools, the compiler).
#pragma once

#include "port/d3dx9/DxCom.h"
#include "port/d3dx9/FxModel.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace port::fx {

class EffectPool final : public ComObject<ID3DXEffectPool> {
public:
    struct Entry {
        TypeDesc type;
        UINT elements = 0;
        std::shared_ptr<Storage> storage;
    };
    std::map<std::string, Entry> shared;
};

// The GL programs of a pass with the uniforms and samplers they really use.
struct PassProgram {
    struct Uniform {
        Variable* variable;
        int location;
        uint64_t uploaded = 0;
        Storage* uploadedStorage = nullptr;
    };
    struct Sampler {
        Variable* variable;
        UINT unit;
    };
    // One linked GL program with the locations of the parameters it uses.
    struct Variant {
        unsigned program = 0;
        std::vector<Uniform> uniforms;
    };
    // With the alpha test, and without it (program 0 when the pixel code never calls
    // port_alphaTest, so both would be the same).
    Variant withAlphaTest;
    Variant withoutAlphaTest;
    std::vector<Sampler> samplers;
};

class Effect final : public ComObject<ID3DXEffect> {
public:
    // Takes the parsed model; false with messages in diag when a program does not compile.
    Effect(IDirect3DDevice9* device, EffectPool* pool, std::string source, std::unique_ptr<EffectModel> model);
    bool build(Diagnostics& diag);
    EffectModel& model() { return *model_; }

    // ID3DXBaseEffect
    HRESULT GetDesc(D3DXEFFECT_DESC* desc) override;
    HRESULT GetParameterDesc(D3DXHANDLE parameter, D3DXPARAMETER_DESC* desc) override;
    HRESULT GetTechniqueDesc(D3DXHANDLE technique, D3DXTECHNIQUE_DESC* desc) override;
    HRESULT GetPassDesc(D3DXHANDLE pass, D3DXPASS_DESC* desc) override;
    D3DXHANDLE GetParameter(D3DXHANDLE parent, UINT index) override;
    D3DXHANDLE GetParameterByName(D3DXHANDLE parent, LPCSTR name) override;
    D3DXHANDLE GetParameterBySemantic(D3DXHANDLE parent, LPCSTR semantic) override;
    D3DXHANDLE GetParameterElement(D3DXHANDLE parameter, UINT index) override;
    D3DXHANDLE GetTechnique(UINT index) override;
    D3DXHANDLE GetTechniqueByName(LPCSTR name) override;
    D3DXHANDLE GetPass(D3DXHANDLE technique, UINT index) override;
    D3DXHANDLE GetPassByName(D3DXHANDLE technique, LPCSTR name) override;
    D3DXHANDLE GetAnnotation(D3DXHANDLE object, UINT index) override;
    D3DXHANDLE GetAnnotationByName(D3DXHANDLE object, LPCSTR name) override;
    HRESULT SetValue(D3DXHANDLE parameter, LPCVOID data, UINT bytes) override;
    HRESULT GetValue(D3DXHANDLE parameter, LPVOID data, UINT bytes) override;
    HRESULT SetBool(D3DXHANDLE parameter, BOOL value) override;
    HRESULT GetBool(D3DXHANDLE parameter, BOOL* value) override;
    HRESULT SetBoolArray(D3DXHANDLE parameter, const BOOL* values, UINT count) override;
    HRESULT GetBoolArray(D3DXHANDLE parameter, BOOL* values, UINT count) override;
    HRESULT SetInt(D3DXHANDLE parameter, INT value) override;
    HRESULT GetInt(D3DXHANDLE parameter, INT* value) override;
    HRESULT SetIntArray(D3DXHANDLE parameter, const INT* values, UINT count) override;
    HRESULT GetIntArray(D3DXHANDLE parameter, INT* values, UINT count) override;
    HRESULT SetFloat(D3DXHANDLE parameter, FLOAT value) override;
    HRESULT GetFloat(D3DXHANDLE parameter, FLOAT* value) override;
    HRESULT SetFloatArray(D3DXHANDLE parameter, const FLOAT* values, UINT count) override;
    HRESULT GetFloatArray(D3DXHANDLE parameter, FLOAT* values, UINT count) override;
    HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) override;
    HRESULT GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) override;
    HRESULT SetVectorArray(D3DXHANDLE parameter, const D3DXVECTOR4* vectors, UINT count) override;
    HRESULT GetVectorArray(D3DXHANDLE parameter, D3DXVECTOR4* vectors, UINT count) override;
    HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override;
    HRESULT GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) override;
    HRESULT SetMatrixArray(D3DXHANDLE parameter, const D3DXMATRIX* matrices, UINT count) override;
    HRESULT GetMatrixArray(D3DXHANDLE parameter, D3DXMATRIX* matrices, UINT count) override;
    HRESULT SetMatrixTranspose(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override;
    HRESULT GetMatrixTranspose(D3DXHANDLE parameter, D3DXMATRIX* matrix) override;
    HRESULT SetString(D3DXHANDLE parameter, LPCSTR string) override;
    HRESULT GetString(D3DXHANDLE parameter, LPCSTR* string) override;
    HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) override;

    // ID3DXEffect
    HRESULT GetPool(ID3DXEffectPool** pool) override;
    HRESULT SetTechnique(D3DXHANDLE technique) override;
    D3DXHANDLE GetCurrentTechnique() override;
    HRESULT ValidateTechnique(D3DXHANDLE technique) override;
    HRESULT FindNextValidTechnique(D3DXHANDLE technique, D3DXHANDLE* next) override;
    BOOL IsParameterUsed(D3DXHANDLE parameter, D3DXHANDLE technique) override;
    HRESULT Begin(UINT* passes, DWORD flags) override;
    HRESULT BeginPass(UINT pass) override;
    HRESULT CommitChanges() override;
    HRESULT EndPass() override;
    HRESULT End() override;
    HRESULT GetDevice(IDirect3DDevice9** device) override;
    HRESULT OnLostDevice() override;
    HRESULT OnResetDevice() override;
    HRESULT CloneEffect(IDirect3DDevice9* device, ID3DXEffect** effect) override;

private:
    ~Effect() override;

    enum class Kind { Parameter, Annotation, Technique, Pass };
    struct Target {
        Kind kind;
        void* object;
    };
    static D3DXHANDLE handleOf(std::string const& name) { return name.c_str(); }
    void registerHandles();
    void registerVariable(Variable& v, Kind kind);
    Target const* target(D3DXHANDLE handle) const;
    Variable* variable(D3DXHANDLE handle, bool annotationsToo);
    Variable* writable(D3DXHANDLE handle, bool numericOnly);
    // Numeric values in and out of a parameter, one word per value converted by `convert`, up to
    // the parameter's size (FxEffectValues.cpp).
    template <class T, class Convert>
    HRESULT writeNumbers(D3DXHANDLE parameter, T const* values, UINT count, Convert convert);
    template <class T, class Convert>
    HRESULT readNumbers(D3DXHANDLE parameter, T* values, UINT count, Convert convert);
    Technique* technique(D3DXHANDLE handle);
    Pass* pass(D3DXHANDLE handle);
    std::vector<std::unique_ptr<Variable>>* annotationsOf(D3DXHANDLE object);

    // Running a technique.
    PassProgram* programFor(Pass const& pass);
    DWORD stateValue(StateAssignment const& sa) const;
    void applySampler(UINT unit, Variable const& sampler);
    void applyPass(Pass const& pass, bool refsOnly);
    void uploadUniforms(PassProgram& program, bool force);
    void uploadUniforms(PassProgram::Variant& variant, bool force);
    bool usesParameter(Technique const& technique, Variable const* parameter);
    struct SaveItem {
        StateKind kind;
        DWORD index;
        DWORD state;  // 0 for a texture
    };
    std::vector<SaveItem> const& savePlan(Technique const& technique, bool samplers);
    void saveStates(Technique const& technique, DWORD flags);
    void restoreStates();
    bool compilePrograms(Diagnostics& diag);
    PassProgram* linkProgram(ShaderBlock const& vs, ShaderBlock const& ps, Diagnostics& diag);
    bool linkVariant(PassProgram& pp, unsigned vertexShader, unsigned pixelShader, ShaderBlock const& vs,
                     ShaderBlock const& ps, bool alphaTest, Diagnostics& diag);

    IDirect3DDevice9* device_;
    EffectPool* pool_;
    std::string source_;
    std::unique_ptr<EffectModel> model_;
    std::unordered_map<void const*, Target> handles_;
    std::map<std::pair<std::string, std::string>, std::unique_ptr<PassProgram>> programs_;
    std::map<Pass const*, PassProgram*> passPrograms_;
    Technique* current_ = nullptr;

    bool begun_ = false;
    int activePass_ = -1;
    struct SavedState {
        StateKind kind;
        DWORD index;
        DWORD state;
        DWORD value;
    };
    std::vector<SavedState> saved_;
    std::map<std::pair<Technique const*, bool>, std::vector<SaveItem>> savePlans_;
    std::vector<std::pair<DWORD, IDirect3DBaseTexture9*>> savedTextures_;
    bool savedProgram_ = false;
    unsigned savedOverride_ = 0;
};

}  // namespace port::fx
