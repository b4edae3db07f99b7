// D3DX effects with GLSL programs. The source format keeps D3DX's structure: a C preprocessor
// (#include through ID3DXInclude, #define, #if/#ifdef/#elif/#else/#endif, macros handed in);
// parameters with HLSL types, semantics and annotations; `shared` parameters living in an
// ID3DXEffectPool; samplers with sampler_state blocks; techniques and passes with D3DX effect
// states; and `glsl_vertex NAME { ... }` / `glsl_pixel NAME { ... }` blocks that passes name as
// VertexShader and PixelShader. Each numeric parameter and sampler is a GLSL uniform of the same
// name (declared by the layer); matrices are uploaded as stored, so GLSL `M * v` equals D3DX's
// `v * M`. Vertex shaders get the attributes of port/d3d9/d3d9_gl.h declared (in_Position,
// in_Diffuse, in_TexCoord0..7 as vec4) and may call port_screenToClip for pre-transformed
// positions; pixel shaders declare their own `out vec4` and may call port_alphaTest(alpha) to
// honour D3DRS_ALPHATESTENABLE. One GL program is linked per pass.
#pragma once

#include "port/d3dx9/d3dx9core.h"

typedef LPCSTR D3DXHANDLE;
typedef D3DXHANDLE* LPD3DXHANDLE;

struct D3DXMACRO {
    LPCSTR Name;
    LPCSTR Definition;
};
typedef D3DXMACRO* LPD3DXMACRO;

enum D3DXINCLUDE_TYPE { D3DXINC_LOCAL = 0, D3DXINC_SYSTEM = 1, D3DXINC_FORCE_DWORD = 0x7fffffff };

// Supplies the text of #include files; Close receives what Open handed out.
struct ID3DXInclude {
    virtual HRESULT Open(D3DXINCLUDE_TYPE includeType, LPCSTR fileName, LPCVOID parentData, LPCVOID* data,
                         UINT* bytes) = 0;
    virtual HRESULT Close(LPCVOID data) = 0;
};
typedef ID3DXInclude* LPD3DXINCLUDE;

#define D3DXSHADER_DEBUG (1 << 0)
#define D3DXSHADER_SKIPVALIDATION (1 << 1)
#define D3DXSHADER_SKIPOPTIMIZATION (1 << 2)
#define D3DXSHADER_PACKMATRIX_ROWMAJOR (1 << 3)
#define D3DXSHADER_PACKMATRIX_COLUMNMAJOR (1 << 4)
#define D3DXSHADER_PARTIALPRECISION (1 << 5)
#define D3DXSHADER_NO_PRESHADER (1 << 8)
#define D3DXSHADER_AVOID_FLOW_CONTROL (1 << 9)
#define D3DXSHADER_PREFER_FLOW_CONTROL (1 << 10)
#define D3DXSHADER_ENABLE_BACKWARDS_COMPATIBILITY (1 << 12)
#define D3DXSHADER_IEEE_STRICTNESS (1 << 13)
#define D3DXSHADER_OPTIMIZATION_LEVEL0 (1 << 14)
#define D3DXSHADER_OPTIMIZATION_LEVEL1 0
#define D3DXSHADER_OPTIMIZATION_LEVEL2 ((1 << 14) | (1 << 15))
#define D3DXSHADER_OPTIMIZATION_LEVEL3 (1 << 15)

#define D3DXFX_DONOTSAVESTATE (1 << 0)
#define D3DXFX_DONOTSAVESHADERSTATE (1 << 1)
#define D3DXFX_DONOTSAVESAMPLERSTATE (1 << 2)
#define D3DXFX_NOT_CLONEABLE (1 << 11)
#define D3DXFX_LARGEADDRESSAWARE (1 << 17)

#define D3DX_PARAMETER_SHARED (1 << 0)
#define D3DX_PARAMETER_LITERAL (1 << 1)
#define D3DX_PARAMETER_ANNOTATION (1 << 2)

enum D3DXPARAMETER_CLASS {
    D3DXPC_SCALAR = 0,
    D3DXPC_VECTOR = 1,
    D3DXPC_MATRIX_ROWS = 2,
    D3DXPC_MATRIX_COLUMNS = 3,
    D3DXPC_OBJECT = 4,
    D3DXPC_STRUCT = 5,
    D3DXPC_FORCE_DWORD = 0x7fffffff
};

enum D3DXPARAMETER_TYPE {
    D3DXPT_VOID = 0,
    D3DXPT_BOOL = 1,
    D3DXPT_INT = 2,
    D3DXPT_FLOAT = 3,
    D3DXPT_STRING = 4,
    D3DXPT_TEXTURE = 5,
    D3DXPT_TEXTURE1D = 6,
    D3DXPT_TEXTURE2D = 7,
    D3DXPT_TEXTURE3D = 8,
    D3DXPT_TEXTURECUBE = 9,
    D3DXPT_SAMPLER = 10,
    D3DXPT_SAMPLER1D = 11,
    D3DXPT_SAMPLER2D = 12,
    D3DXPT_SAMPLER3D = 13,
    D3DXPT_SAMPLERCUBE = 14,
    D3DXPT_PIXELSHADER = 15,
    D3DXPT_VERTEXSHADER = 16,
    D3DXPT_PIXELFRAGMENT = 17,
    D3DXPT_VERTEXFRAGMENT = 18,
    D3DXPT_UNSUPPORTED = 19,
    D3DXPT_FORCE_DWORD = 0x7fffffff
};

struct D3DXEFFECT_DESC {
    LPCSTR Creator;
    UINT Parameters;
    UINT Techniques;
    UINT Functions;
};

// Bytes: the value's size (rows x columns x 4 per element; a pointer for strings, textures and
// samplers). Elements: the array length, 0 for a single value.
struct D3DXPARAMETER_DESC {
    LPCSTR Name;
    LPCSTR Semantic;
    D3DXPARAMETER_CLASS Class;
    D3DXPARAMETER_TYPE Type;
    UINT Rows;
    UINT Columns;
    UINT Elements;
    UINT Annotations;
    UINT StructMembers;
    DWORD Flags;
    UINT Bytes;
};

struct D3DXTECHNIQUE_DESC {
    LPCSTR Name;
    UINT Passes;
    UINT Annotations;
};

// The shader function pointers are null: programs are GLSL.
struct D3DXPASS_DESC {
    LPCSTR Name;
    UINT Annotations;
    const DWORD* pVertexShaderFunction;
    const DWORD* pPixelShaderFunction;
};

// Holds the values of `shared` parameters for every effect created with it.
struct ID3DXEffectPool : public IUnknown {};
typedef ID3DXEffectPool* LPD3DXEFFECTPOOL;

// Parameters, techniques, passes and annotations by handle. A handle is the pointer returned by
// a Get... call; any other pointer is read as a name. Getters accept annotations too; setters
// convert between bool, int and float as D3DX does.
struct ID3DXBaseEffect : public IUnknown {
    virtual HRESULT GetDesc(D3DXEFFECT_DESC* desc) = 0;
    virtual HRESULT GetParameterDesc(D3DXHANDLE parameter, D3DXPARAMETER_DESC* desc) = 0;
    virtual HRESULT GetTechniqueDesc(D3DXHANDLE technique, D3DXTECHNIQUE_DESC* desc) = 0;
    virtual HRESULT GetPassDesc(D3DXHANDLE pass, D3DXPASS_DESC* desc) = 0;
    virtual D3DXHANDLE GetParameter(D3DXHANDLE parent, UINT index) = 0;
    virtual D3DXHANDLE GetParameterByName(D3DXHANDLE parent, LPCSTR name) = 0;
    virtual D3DXHANDLE GetParameterBySemantic(D3DXHANDLE parent, LPCSTR semantic) = 0;
    virtual D3DXHANDLE GetParameterElement(D3DXHANDLE parameter, UINT index) = 0;
    virtual D3DXHANDLE GetTechnique(UINT index) = 0;
    virtual D3DXHANDLE GetTechniqueByName(LPCSTR name) = 0;
    virtual D3DXHANDLE GetPass(D3DXHANDLE technique, UINT index) = 0;
    virtual D3DXHANDLE GetPassByName(D3DXHANDLE technique, LPCSTR name) = 0;
    virtual D3DXHANDLE GetAnnotation(D3DXHANDLE object, UINT index) = 0;
    virtual D3DXHANDLE GetAnnotationByName(D3DXHANDLE object, LPCSTR name) = 0;
    virtual HRESULT SetValue(D3DXHANDLE parameter, LPCVOID data, UINT bytes) = 0;
    virtual HRESULT GetValue(D3DXHANDLE parameter, LPVOID data, UINT bytes) = 0;
    virtual HRESULT SetBool(D3DXHANDLE parameter, BOOL value) = 0;
    virtual HRESULT GetBool(D3DXHANDLE parameter, BOOL* value) = 0;
    virtual HRESULT SetBoolArray(D3DXHANDLE parameter, const BOOL* values, UINT count) = 0;
    virtual HRESULT GetBoolArray(D3DXHANDLE parameter, BOOL* values, UINT count) = 0;
    virtual HRESULT SetInt(D3DXHANDLE parameter, INT value) = 0;
    virtual HRESULT GetInt(D3DXHANDLE parameter, INT* value) = 0;
    virtual HRESULT SetIntArray(D3DXHANDLE parameter, const INT* values, UINT count) = 0;
    virtual HRESULT GetIntArray(D3DXHANDLE parameter, INT* values, UINT count) = 0;
    virtual HRESULT SetFloat(D3DXHANDLE parameter, FLOAT value) = 0;
    virtual HRESULT GetFloat(D3DXHANDLE parameter, FLOAT* value) = 0;
    virtual HRESULT SetFloatArray(D3DXHANDLE parameter, const FLOAT* values, UINT count) = 0;
    virtual HRESULT GetFloatArray(D3DXHANDLE parameter, FLOAT* values, UINT count) = 0;
    virtual HRESULT SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) = 0;
    virtual HRESULT GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) = 0;
    virtual HRESULT SetVectorArray(D3DXHANDLE parameter, const D3DXVECTOR4* vectors, UINT count) = 0;
    virtual HRESULT GetVectorArray(D3DXHANDLE parameter, D3DXVECTOR4* vectors, UINT count) = 0;
    virtual HRESULT SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) = 0;
    virtual HRESULT GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) = 0;
    virtual HRESULT SetMatrixArray(D3DXHANDLE parameter, const D3DXMATRIX* matrices, UINT count) = 0;
    virtual HRESULT GetMatrixArray(D3DXHANDLE parameter, D3DXMATRIX* matrices, UINT count) = 0;
    virtual HRESULT SetMatrixTranspose(D3DXHANDLE parameter, const D3DXMATRIX* matrix) = 0;
    virtual HRESULT GetMatrixTranspose(D3DXHANDLE parameter, D3DXMATRIX* matrix) = 0;
    virtual HRESULT SetString(D3DXHANDLE parameter, LPCSTR string) = 0;
    virtual HRESULT GetString(D3DXHANDLE parameter, LPCSTR* string) = 0;
    virtual HRESULT SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) = 0;
    virtual HRESULT GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) = 0;
};

// Drawing with an effect: Begin (saving the states the technique changes unless
// D3DXFX_DONOTSAVESTATE), BeginPass (states, program, uniforms and samplers of the pass),
// CommitChanges (values set since), EndPass, End (states restored).
struct ID3DXEffect : public ID3DXBaseEffect {
    virtual HRESULT GetPool(ID3DXEffectPool** pool) = 0;
    virtual HRESULT SetTechnique(D3DXHANDLE technique) = 0;
    virtual D3DXHANDLE GetCurrentTechnique() = 0;
    virtual HRESULT ValidateTechnique(D3DXHANDLE technique) = 0;
    virtual HRESULT FindNextValidTechnique(D3DXHANDLE technique, D3DXHANDLE* next) = 0;
    virtual BOOL IsParameterUsed(D3DXHANDLE parameter, D3DXHANDLE technique) = 0;
    virtual HRESULT Begin(UINT* passes, DWORD flags) = 0;
    virtual HRESULT BeginPass(UINT pass) = 0;
    virtual HRESULT CommitChanges() = 0;
    virtual HRESULT EndPass() = 0;
    virtual HRESULT End() = 0;
    virtual HRESULT GetDevice(IDirect3DDevice9** device) = 0;
    virtual HRESULT OnLostDevice() = 0;
    virtual HRESULT OnResetDevice() = 0;
    // A new effect from the same source on a device, with the current parameter values.
    virtual HRESULT CloneEffect(IDirect3DDevice9* device, ID3DXEffect** effect) = 0;
};
typedef ID3DXEffect* LPD3DXEFFECT;

// Preprocesses and checks an effect source; CompileEffect hands out the compiled form, which
// D3DXCreateEffect accepts like a source.
struct ID3DXEffectCompiler : public IUnknown {
    virtual HRESULT CompileEffect(DWORD flags, ID3DXBuffer** effect, ID3DXBuffer** errors) = 0;
};
typedef ID3DXEffectCompiler* LPD3DXEFFECTCOMPILER;

HRESULT D3DXCreateEffectPool(ID3DXEffectPool** pool);

// Errors name the file and line ("file(line,column): error: text"); a source given in memory
// is called "memory". errors (when given) receives the text, also for warnings on success.
HRESULT D3DXCreateEffectCompiler(LPCSTR srcData, UINT srcDataLen, const D3DXMACRO* defines, ID3DXInclude* include,
                                 DWORD flags, ID3DXEffectCompiler** compiler, ID3DXBuffer** errors);
HRESULT D3DXCreateEffect(IDirect3DDevice9* device, LPCVOID srcData, UINT srcDataLen, const D3DXMACRO* defines,
                         ID3DXInclude* include, DWORD flags, ID3DXEffectPool* pool, ID3DXEffect** effect,
                         ID3DXBuffer** errors);
// Reads the file (a Windows path); without an include handler, includes are read relative to
// the including file.
HRESULT D3DXCreateEffectFromFileW(IDirect3DDevice9* device, LPCWSTR file, const D3DXMACRO* defines,
                                  ID3DXInclude* include, DWORD flags, ID3DXEffectPool* pool, ID3DXEffect** effect,
                                  ID3DXBuffer** errors);
inline HRESULT D3DXCreateEffectFromFile(IDirect3DDevice9* device, LPCWSTR file, const D3DXMACRO* defines,
                                        ID3DXInclude* include, DWORD flags, ID3DXEffectPool* pool,
                                        ID3DXEffect** effect, ID3DXBuffer** errors) {
    return D3DXCreateEffectFromFileW(device, file, defines, include, flags, pool, effect, errors);
}
