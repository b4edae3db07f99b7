// Effects on a device: an effect file with two techniques, annotations, a shared parameter in a
// pool, an include from the parent folder and a macro-dependent branch; enumeration of names and
// sizes; values; drawing with a GLSL pass; state saving; compile errors of GLSL code.
#include "port/d3dx9/d3dx9.h"
#include "tests/support/gl/DeviceFixture.h"
#include "tests/support/TestSupport.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/HostPath.h"

#include <cstring>
#include <string>

namespace {

using testsupport::colorNear;

char const* const kCommon =
    "// shared by every effect\n"
    "shared float4x4 g_View : VIEW;\n"
    "shared float g_Time < string UIName = \"time\"; > = 0.5;\n";

char const* const kMain =
    "#include \"../common.fxh\"\n"
    "float4 g_Color < string ConvertPixelsToTexels = \"g_Offsets\"; int Order = 3; > = {1, 0, 0, 1};\n"
    "float2 g_Offsets[3];\n"
    "texture g_Textur0;\n"
    "sampler2D s0 = sampler_state { Texture = <g_Textur0>; MinFilter = Point; MagFilter = Point; AddressU = Clamp; };\n"
    "#ifdef HIGH\n"
    "int g_Quality = 2;\n"
    "#else\n"
    "int g_Quality = 1;\n"
    "#endif\n"
    "glsl_vertex VS {\n"
    "  out vec4 colour;\n"
    "  out vec2 uv;\n"
    "  void main() {\n"
    "    gl_Position = port_screenToClip(in_Position);\n"
    "    colour = in_Diffuse;\n"
    "    uv = in_TexCoord0.xy;\n"
    "  }\n"
    "}\n"
    "glsl_pixel PS_Flat {\n"
    "  in vec4 colour;\n"
    "  in vec2 uv;\n"
    "  out vec4 result;\n"
    "  void main() { result = g_Color * colour; }\n"
    "}\n"
    "glsl_pixel PS_Textured {\n"
    "  in vec4 colour;\n"
    "  in vec2 uv;\n"
    "  out vec4 result;\n"
    "  void main() { result = texture(s0, uv) * g_Time * 2.0; }\n"
    "}\n"
    "technique Render2D < int TEX_COUNT = 8; >\n"
    "{\n"
    "    pass P0 < float fScaleX = 0.5; >\n"
    "    {\n"
    "        AlphaBlendEnable = true;\n"
    "        SrcBlend = SrcAlpha;\n"
    "        DestBlend = InvSrcAlpha;\n"
    "        VertexShader = VS;\n"
    "        PixelShader = PS_Flat;\n"
    "    }\n"
    "}\n"
    "technique RenderTextured\n"
    "{\n"
    "    pass First { VertexShader = VS; PixelShader = PS_Textured; }\n"
    "    pass Second { StencilEnable = true; StencilFunc = Equal; VertexShader = VS; PixelShader = PS_Textured; }\n"
    "}\n";

struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR color;
    float u, v;
};

class EffectTest : public testsupport::DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        folder = testsupport::makeTempDir("fx");
        testsupport::writeFile(folder / "common.fxh", kCommon);
        testsupport::writeFile(folder / "sub" / "main.fx", kMain);
    }

    ID3DXEffect* load(ID3DXEffectPool* pool, D3DXMACRO const* macros = nullptr, std::string* errors = nullptr) {
        ID3DXEffect* effect = nullptr;
        ID3DXBuffer* errorBuffer = nullptr;
        std::wstring path = port::fromUtf8((folder / "sub" / "main.fx").string());
        HRESULT hr = D3DXCreateEffectFromFileW(device, path.c_str(), macros, nullptr, 0, pool, &effect, &errorBuffer);
        if (errorBuffer) {
            if (errors) *errors = static_cast<char const*>(errorBuffer->GetBufferPointer());
            ADD_FAILURE() << static_cast<char const*>(errorBuffer->GetBufferPointer());
            errorBuffer->Release();
        }
        EXPECT_EQ(hr, S_OK);
        return effect;
    }

    void drawQuad(float x0, float y0, float x1, float y1, D3DCOLOR color) {
        Vertex v[4] = {{x0, y0, 0.5f, 1, color, 0, 0}, {x1, y0, 0.5f, 1, color, 1, 0},
                       {x0, y1, 0.5f, 1, color, 0, 1}, {x1, y1, 0.5f, 1, color, 1, 1}};
        device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
        device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, v, sizeof(Vertex));
    }

    std::filesystem::path folder;
};

TEST_F(EffectTest, EnumeratesTechniquesPassesParametersAndAnnotations) {
    ID3DXEffectPool* pool = nullptr;
    ASSERT_EQ(D3DXCreateEffectPool(&pool), S_OK);
    ID3DXEffect* effect = load(pool);
    ASSERT_NE(effect, nullptr);

    D3DXEFFECT_DESC desc{};
    ASSERT_EQ(effect->GetDesc(&desc), S_OK);
    EXPECT_EQ(desc.Techniques, 2u);
    ASSERT_EQ(desc.Parameters, 7u);
    char const* names[] = {"g_View", "g_Time", "g_Color", "g_Offsets", "g_Textur0", "s0", "g_Quality"};
    for (UINT i = 0; i < 7; ++i) {
        D3DXHANDLE h = effect->GetParameter(nullptr, i);
        ASSERT_NE(h, nullptr);
        D3DXPARAMETER_DESC pd{};
        ASSERT_EQ(effect->GetParameterDesc(h, &pd), S_OK);
        EXPECT_STREQ(pd.Name, names[i]);
    }
    EXPECT_EQ(effect->GetParameter(nullptr, 7), nullptr);

    D3DXPARAMETER_DESC pd{};
    ASSERT_EQ(effect->GetParameterDesc(effect->GetParameterByName(nullptr, "g_View"), &pd), S_OK);
    EXPECT_EQ(pd.Class, D3DXPC_MATRIX_COLUMNS);
    EXPECT_EQ(pd.Type, D3DXPT_FLOAT);
    EXPECT_EQ(pd.Rows, 4u);
    EXPECT_EQ(pd.Columns, 4u);
    EXPECT_EQ(pd.Bytes, 64u);
    EXPECT_EQ(pd.Flags, static_cast<DWORD>(D3DX_PARAMETER_SHARED));
    EXPECT_STREQ(pd.Semantic, "VIEW");
    ASSERT_EQ(effect->GetParameterDesc("g_Offsets", &pd), S_OK);
    EXPECT_EQ(pd.Elements, 3u);
    EXPECT_EQ(pd.Bytes, 24u);
    EXPECT_EQ(pd.Class, D3DXPC_VECTOR);
    ASSERT_EQ(effect->GetParameterDesc("g_Color", &pd), S_OK);
    EXPECT_EQ(pd.Annotations, 2u);
    EXPECT_EQ(pd.Bytes, 16u);
    ASSERT_EQ(effect->GetParameterDesc("g_Textur0", &pd), S_OK);
    EXPECT_EQ(pd.Type, D3DXPT_TEXTURE);
    EXPECT_EQ(pd.Class, D3DXPC_OBJECT);
    ASSERT_EQ(effect->GetParameterDesc("s0", &pd), S_OK);
    EXPECT_EQ(pd.Type, D3DXPT_SAMPLER2D);
    EXPECT_EQ(effect->GetParameterBySemantic(nullptr, "view"), effect->GetParameterByName(nullptr, "g_View"));

    // The macro-free branch was taken.
    INT quality = 0;
    EXPECT_EQ(effect->GetInt("g_Quality", &quality), S_OK);
    EXPECT_EQ(quality, 1);

    // Techniques and passes.
    D3DXHANDLE render2D = effect->GetTechnique(0);
    D3DXTECHNIQUE_DESC td{};
    ASSERT_EQ(effect->GetTechniqueDesc(render2D, &td), S_OK);
    EXPECT_STREQ(td.Name, "Render2D");
    EXPECT_EQ(td.Passes, 1u);
    EXPECT_EQ(td.Annotations, 1u);
    D3DXHANDLE textured = effect->GetTechniqueByName("RenderTextured");
    ASSERT_EQ(effect->GetTechniqueDesc(textured, &td), S_OK);
    EXPECT_EQ(td.Passes, 2u);
    D3DXPASS_DESC passDesc{};
    ASSERT_EQ(effect->GetPassDesc(effect->GetPass(textured, 1), &passDesc), S_OK);
    EXPECT_STREQ(passDesc.Name, "Second");
    EXPECT_EQ(effect->GetTechnique(2), nullptr);
    EXPECT_EQ(effect->GetTechniqueByName("Nope"), nullptr);

    // Annotations of a technique, a pass and a parameter.
    INT texCount = 0;
    EXPECT_EQ(effect->GetInt(effect->GetAnnotationByName(render2D, "TEX_COUNT"), &texCount), S_OK);
    EXPECT_EQ(texCount, 8);
    FLOAT scaleX = 0.0f;
    EXPECT_EQ(effect->GetFloat(effect->GetAnnotationByName(effect->GetPass(render2D, 0), "fScaleX"), &scaleX), S_OK);
    EXPECT_EQ(scaleX, 0.5f);
    LPCSTR target = nullptr;
    D3DXHANDLE convert = effect->GetAnnotationByName("g_Color", "ConvertPixelsToTexels");
    ASSERT_EQ(effect->GetString(convert, &target), S_OK);
    EXPECT_STREQ(target, "g_Offsets");
    ASSERT_EQ(effect->GetParameterDesc(effect->GetAnnotation("g_Color", 1), &pd), S_OK);
    EXPECT_STREQ(pd.Name, "Order");
    EXPECT_EQ(pd.Flags, static_cast<DWORD>(D3DX_PARAMETER_ANNOTATION));
    EXPECT_EQ(effect->GetAnnotationByName("g_Color", "Missing"), nullptr);
    EXPECT_EQ(effect->SetFloat(convert, 1.0f), D3DERR_INVALIDCALL);  // annotations are read-only

    // Which parameters each technique uses.
    EXPECT_TRUE(effect->IsParameterUsed("g_Color", render2D));
    EXPECT_FALSE(effect->IsParameterUsed("g_Color", textured));
    EXPECT_TRUE(effect->IsParameterUsed("g_Textur0", textured));
    EXPECT_TRUE(effect->IsParameterUsed("s0", textured));
    EXPECT_FALSE(effect->IsParameterUsed("g_Textur0", render2D));
    EXPECT_FALSE(effect->IsParameterUsed("g_View", render2D));
    EXPECT_EQ(effect->ValidateTechnique(textured), S_OK);
    D3DXHANDLE next = nullptr;
    EXPECT_EQ(effect->FindNextValidTechnique(render2D, &next), S_OK);
    EXPECT_EQ(next, textured);

    effect->Release();
    pool->Release();
}

TEST_F(EffectTest, MacroSelectsTheOtherBranch) {
    D3DXMACRO macros[] = {{"HIGH", "1"}, {nullptr, nullptr}};
    ID3DXEffect* effect = load(nullptr, macros);
    ASSERT_NE(effect, nullptr);
    INT quality = 0;
    EXPECT_EQ(effect->GetInt("g_Quality", &quality), S_OK);
    EXPECT_EQ(quality, 2);
    effect->Release();
}

TEST_F(EffectTest, SharedParametersLiveInThePool) {
    ID3DXEffectPool* pool = nullptr;
    ASSERT_EQ(D3DXCreateEffectPool(&pool), S_OK);
    ID3DXEffect* first = load(pool);
    ID3DXEffect* second = load(pool);
    ID3DXEffect* alone = load(nullptr);
    ASSERT_TRUE(first && second && alone);
    D3DXMATRIX view;
    D3DXMatrixTranslation(&view, 1.0f, 2.0f, 3.0f);
    ASSERT_EQ(first->SetMatrix("g_View", &view), S_OK);
    D3DXMATRIX read;
    ASSERT_EQ(second->GetMatrix("g_View", &read), S_OK);
    EXPECT_EQ(read, view);
    ASSERT_EQ(alone->GetMatrix("g_View", &read), S_OK);
    EXPECT_EQ(read, D3DXMATRIX());
    // Non-shared parameters stay per effect.
    D3DXVECTOR4 colour(0.0f, 1.0f, 0.0f, 1.0f), back;
    first->SetVector("g_Color", &colour);
    second->GetVector("g_Color", &back);
    EXPECT_EQ(back, D3DXVECTOR4(1.0f, 0.0f, 0.0f, 1.0f));
    ID3DXEffectPool* got = nullptr;
    EXPECT_EQ(first->GetPool(&got), S_OK);
    EXPECT_EQ(got, pool);
    got->Release();
    first->Release();
    second->Release();
    alone->Release();
    pool->Release();
}

TEST_F(EffectTest, ValueConversionsArraysAndElements) {
    ID3DXEffect* effect = load(nullptr);
    ASSERT_NE(effect, nullptr);
    D3DXVECTOR4 offsets[3] = {{64, 32, 9, 9}, {1, 2, 9, 9}, {3, 4, 9, 9}}, back[3];
    ASSERT_EQ(effect->SetVectorArray("g_Offsets", offsets, 3), S_OK);
    ASSERT_EQ(effect->GetVectorArray("g_Offsets", back, 3), S_OK);
    EXPECT_EQ(back[0], D3DXVECTOR4(64, 32, 0, 0));  // float2 elements: z and w read as 0
    EXPECT_EQ(back[2], D3DXVECTOR4(3, 4, 0, 0));
    D3DXHANDLE element = effect->GetParameterElement("g_Offsets", 1);
    ASSERT_NE(element, nullptr);
    D3DXVECTOR4 one;
    EXPECT_EQ(effect->GetVector(element, &one), S_OK);
    EXPECT_EQ(one, D3DXVECTOR4(1, 2, 0, 0));
    EXPECT_EQ(effect->GetParameterByName(nullptr, "g_Offsets[2]"), effect->GetParameterElement("g_Offsets", 2));
    EXPECT_EQ(effect->GetParameterElement("g_Offsets", 3), nullptr);
    float raw[6] = {1, 2, 3, 4, 5, 6}, rawBack[6] = {};
    EXPECT_EQ(effect->SetValue("g_Offsets", raw, sizeof(raw)), S_OK);
    EXPECT_EQ(effect->GetValue("g_Offsets", rawBack, sizeof(rawBack)), S_OK);
    EXPECT_EQ(0, std::memcmp(raw, rawBack, sizeof(raw)));
    // int <-> float <-> bool.
    EXPECT_EQ(effect->SetFloat("g_Quality", 3.7f), S_OK);
    INT q = 0;
    effect->GetInt("g_Quality", &q);
    EXPECT_EQ(q, 3);
    BOOL b = FALSE;
    effect->GetBool("g_Quality", &b);
    EXPECT_TRUE(b);
    FLOAT t = 0;
    effect->GetFloat("g_Time", &t);
    EXPECT_EQ(t, 0.5f);
    // Wrong kinds fail.
    D3DXMATRIX m;
    EXPECT_EQ(effect->SetMatrix("g_Color", &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetTexture("g_Color", nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetFloat("missing", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetFloat(nullptr, 1.0f), D3DERR_INVALIDCALL);
    effect->Release();
}

TEST_F(EffectTest, DrawsWithGlslPassesAndRestoresStates) {
    ID3DXEffect* effect = load(nullptr);
    ASSERT_NE(effect, nullptr);
    IDirect3DTexture9* texture = makeTexture(2, 2, [](UINT x, UINT) { return x == 0 ? 0xFF808080u : 0xFF404040u; });
    clear(0xFF000000);
    device->BeginScene();

    // Technique 1: uniform colour times vertex colour, with the pass's blending.
    D3DXVECTOR4 colour(0.0f, 1.0f, 0.0f, 0.5f);
    effect->SetVector("g_Color", &colour);
    ASSERT_EQ(effect->SetTechnique("Render2D"), S_OK);
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), S_OK);
    EXPECT_EQ(passes, 1u);
    ASSERT_EQ(effect->BeginPass(0), S_OK);
    drawQuad(0, 0, 8, 8, 0xFFFFFFFF);
    // A value changed inside the pass reaches the program with CommitChanges.
    D3DXVECTOR4 blue(0.0f, 0.0f, 1.0f, 1.0f);
    effect->SetVector("g_Color", &blue);
    effect->CommitChanges();
    drawQuad(8, 0, 16, 8, 0xFFFFFFFF);
    EXPECT_EQ(effect->EndPass(), S_OK);
    EXPECT_EQ(effect->End(), S_OK);
    DWORD blend = 1;
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    EXPECT_EQ(blend, FALSE);

    // Technique 2: a texture through a sampler, scaled by the shared time value (0.5 * 2).
    effect->SetTexture("g_Textur0", texture);
    ASSERT_EQ(effect->SetTechnique(effect->GetTechnique(1)), S_OK);
    ASSERT_EQ(effect->Begin(&passes, 0), S_OK);
    EXPECT_EQ(passes, 2u);
    ASSERT_EQ(effect->BeginPass(0), S_OK);
    drawQuad(20, 0, 22, 2, 0xFFFFFFFF);
    effect->EndPass();
    ASSERT_EQ(effect->BeginPass(1), S_OK);
    DWORD stencil = 0;
    device->GetRenderState(D3DRS_STENCILENABLE, &stencil);
    EXPECT_EQ(stencil, TRUE);
    effect->EndPass();
    effect->End();
    device->GetRenderState(D3DRS_STENCILENABLE, &stencil);
    EXPECT_EQ(stencil, FALSE);
    device->EndScene();

    auto pixels = readTarget();
    EXPECT_TRUE(colorNear(pixel(pixels, 3, 3), 0xFF008000)) << std::hex << pixel(pixels, 3, 3);  // half green over black
    EXPECT_TRUE(colorNear(pixel(pixels, 12, 3), 0xFF0000FF)) << std::hex << pixel(pixels, 12, 3);
    EXPECT_TRUE(colorNear(pixel(pixels, 20, 0), 0xFF808080)) << std::hex << pixel(pixels, 20, 0);
    EXPECT_TRUE(colorNear(pixel(pixels, 21, 1), 0xFF404040)) << std::hex << pixel(pixels, 21, 1);
    EXPECT_EQ(pixel(pixels, 23, 0), 0xFF000000u);

    EXPECT_EQ(effect->BeginPass(0), D3DERR_INVALIDCALL);  // outside Begin
    effect->Release();
    texture->Release();
}

TEST_F(EffectTest, GlslErrorsNameFileAndLine) {
    std::string source =
        "float4 g_Color;\n"
        "glsl_vertex VS {\n"
        "  void main() { gl_Position = port_screenToClip(in_Position); }\n"
        "}\n"
        "glsl_pixel PS {\n"
        "  out vec4 result;\n"
        "  void main() {\n"
        "    result = undefinedThing;\n"
        "  }\n"
        "}\n"
        "technique T { pass P { VertexShader = VS; PixelShader = PS; } }\n";
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    EXPECT_TRUE(FAILED(D3DXCreateEffect(device, source.c_str(), static_cast<UINT>(source.size()), nullptr, nullptr, 0,
                                        nullptr, &effect, &errors)));
    EXPECT_EQ(effect, nullptr);
    ASSERT_NE(errors, nullptr);
    std::string text = static_cast<char const*>(errors->GetBufferPointer());
    EXPECT_NE(text.find("memory(8,"), std::string::npos) << text;
    errors->Release();
}

TEST_F(EffectTest, CompiledFormCreatesTheSameEffectAndClones) {
    std::string source = std::string("#define TINT 0.25\nfloat g_Tint = TINT;\n") +
                         "technique T { pass P { AlphaBlendEnable = false; } }\n";
    ID3DXEffectCompiler* compiler = nullptr;
    ASSERT_EQ(D3DXCreateEffectCompiler(source.c_str(), static_cast<UINT>(source.size()), nullptr, nullptr, 0, &compiler,
                                       nullptr),
              S_OK);
    ID3DXBuffer* compiled = nullptr;
    ASSERT_EQ(compiler->CompileEffect(0, &compiled, nullptr), S_OK);
    ID3DXEffect* effect = nullptr;
    ASSERT_EQ(D3DXCreateEffect(device, compiled->GetBufferPointer(), compiled->GetBufferSize(), nullptr, nullptr, 0,
                               nullptr, &effect, nullptr),
              S_OK);
    FLOAT tint = 0;
    effect->GetFloat("g_Tint", &tint);
    EXPECT_EQ(tint, 0.25f);
    effect->SetFloat("g_Tint", 0.75f);
    ID3DXEffect* clone = nullptr;
    ASSERT_EQ(effect->CloneEffect(device, &clone), S_OK);
    clone->GetFloat("g_Tint", &tint);
    EXPECT_EQ(tint, 0.75f);
    clone->Release();
    effect->Release();
    compiled->Release();
    compiler->Release();
}

}  // namespace

namespace {

// A render target held as an effect's texture parameter would keep the device from being reset;
// OnLostDevice lets it go (the engine sets its sources again every frame).
TEST_F(EffectTest, OnLostDeviceLetsGoOfRenderTargetTextures) {
    ID3DXEffect* effect = load(nullptr);
    ASSERT_NE(effect, nullptr);
    IDirect3DTexture9* target = nullptr;
    ASSERT_EQ(device->CreateTexture(8, 8, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8, D3DPOOL_DEFAULT, &target, nullptr),
              D3D_OK);
    IDirect3DTexture9* managed = makeTexture(2, 2, [](UINT, UINT) { return 0u; });
    effect->SetTexture("g_Textur0", target);
    target->Release();
    EXPECT_EQ(port::d3d9::defaultPoolResources(device), 1u);
    EXPECT_EQ(effect->OnLostDevice(), S_OK);
    EXPECT_EQ(port::d3d9::defaultPoolResources(device), 0u);
    IDirect3DBaseTexture9* held = reinterpret_cast<IDirect3DBaseTexture9*>(1);
    effect->GetTexture("g_Textur0", &held);
    EXPECT_EQ(held, nullptr);
    // Managed textures stay.
    effect->SetTexture("g_Textur0", managed);
    effect->OnLostDevice();
    effect->GetTexture("g_Textur0", &held);
    EXPECT_EQ(held, managed);
    held->Release();
    EXPECT_EQ(effect->OnResetDevice(), S_OK);
    effect->Release();
    managed->Release();
}

}  // namespace

namespace {

// The engine's sprite batcher path: FVF 0x2C0344 (XYZRHW, diffuse, set 0 uv, set 1 slot, set 2
// centre), indexed triangles from buffers, eight texture parameters chosen per vertex slot, and
// textures changed between draws with CommitChanges inside the pass.
TEST_F(EffectTest, SpriteBatcherStyleEffectPicksTexturesBySlot) {
    std::string source;
    for (int i = 0; i < 8; ++i) {
        std::string n = std::to_string(i);
        source += "texture g_Textur" + n + ";\nsampler2D s" + n + " = sampler_state { Texture = <g_Textur" + n +
                  ">; MinFilter = Point; MagFilter = Point; };\n";
    }
    source +=
        "glsl_vertex VS {\n"
        "  out vec4 colour; out vec2 uv; flat out int slot;\n"
        "  void main() { gl_Position = port_screenToClip(in_Position); colour = in_Diffuse;\n"
        "                uv = in_TexCoord0.xy; slot = int(in_TexCoord1.x + 0.5); }\n"
        "}\n"
        "glsl_pixel PS {\n"
        "  in vec4 colour; in vec2 uv; flat in int slot; out vec4 result;\n"
        "  void main() {\n"
        "    vec4 t = slot == 0 ? texture(s0, uv) : slot == 1 ? texture(s1, uv) : texture(s7, uv);\n"
        "    result = t * colour;\n"
        "    port_alphaTest(result.a);\n"
        "  }\n"
        "}\n"
        "technique Render2D < int TEX_COUNT = 8; > { pass P0 { CullMode = None; VertexShader = VS; PixelShader = PS; } }\n";
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    HRESULT hr = D3DXCreateEffect(device, source.c_str(), static_cast<UINT>(source.size()), nullptr, nullptr, 0, nullptr,
                                  &effect, &errors);
    if (errors) {
        ADD_FAILURE() << static_cast<char const*>(errors->GetBufferPointer());
        errors->Release();
    }
    ASSERT_EQ(hr, S_OK);
    IDirect3DTexture9* red = makeTexture(1, 1, [](UINT, UINT) { return 0xFFFF0000u; });
    IDirect3DTexture9* green = makeTexture(1, 1, [](UINT, UINT) { return 0xFF00FF00u; });
    IDirect3DTexture9* blue = makeTexture(1, 1, [](UINT, UINT) { return 0xFF0000FFu; });

    struct SpriteVertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
        float u, v, slot, cx, cy, cz, cw;
    };
    static_assert(sizeof(SpriteVertex) == 48);
    auto quad = [](SpriteVertex* v, float x, float y, float slot) {
        float xs[4] = {x, x + 4, x, x + 4}, ys[4] = {y, y, y + 4, y + 4};
        for (int i = 0; i < 4; ++i) v[i] = {xs[i], ys[i], 0.5f, 1.0f, 0xFFFFFFFF, 0.5f, 0.5f, slot, 0, 0, 0, 0};
    };
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(3 * 4 * sizeof(SpriteVertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0,
                                         D3DPOOL_DEFAULT, &vb, nullptr),
              D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(3 * 6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &ib, nullptr), D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    auto* v = static_cast<SpriteVertex*>(data);
    quad(v, 0, 0, 0);
    quad(v + 4, 8, 0, 1);
    quad(v + 8, 16, 0, 0);
    vb->Unlock();
    ASSERT_EQ(ib->Lock(0, 0, &data, 0), D3D_OK);
    auto* idx = static_cast<uint16_t*>(data);
    for (uint16_t q = 0; q < 3; ++q)
        for (uint16_t k : {0, 1, 2, 1, 3, 2}) *idx++ = static_cast<uint16_t>(4 * q + k);
    ib->Unlock();

    clear(0xFF000000);
    device->BeginScene();
    device->SetStreamSource(0, vb, 0, sizeof(SpriteVertex));
    device->SetIndices(ib);
    device->SetFVF(0x2C0344);
    INT texCount = 0;
    effect->GetInt(effect->GetAnnotationByName("Render2D", "TEX_COUNT"), &texCount);
    EXPECT_EQ(texCount, 8);
    effect->SetTechnique("Render2D");
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), S_OK);
    effect->SetTexture("g_Textur0", red);
    effect->SetTexture("g_Textur1", green);
    effect->CommitChanges();
    ASSERT_EQ(effect->BeginPass(0), S_OK);
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 12, 0, 4), D3D_OK);  // quads 0 and 1
    effect->SetTexture("g_Textur0", blue);
    effect->CommitChanges();
    EXPECT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 12, 12, 2), D3D_OK);  // quad 2
    effect->EndPass();
    effect->End();
    device->EndScene();
    auto pixels = readTarget();
    EXPECT_EQ(pixel(pixels, 1, 1), 0xFFFF0000u);
    EXPECT_EQ(pixel(pixels, 9, 1), 0xFF00FF00u);
    EXPECT_EQ(pixel(pixels, 17, 1), 0xFF0000FFu);
    EXPECT_EQ(pixel(pixels, 5, 1), 0xFF000000u);
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    vb->Release();
    ib->Release();
    red->Release();
    green->Release();
    blue->Release();
    effect->Release();
}

}  // namespace

namespace {

TEST_F(EffectTest, SaveStateFlagsOfBegin) {
    std::string source =
        "texture g_T;\n"
        "sampler s = sampler_state { Texture = <g_T>; MagFilter = Point; };\n"
        "technique T { pass P { AlphaRef = 77; Sampler[2] = <s>; MinFilter[3] = Linear; } }\n";
    ID3DXEffect* effect = nullptr;
    ASSERT_EQ(D3DXCreateEffect(device, source.c_str(), static_cast<UINT>(source.size()), nullptr, nullptr, 0, nullptr,
                               &effect, nullptr),
              S_OK);
    DWORD value = 0;
    device->SetRenderState(D3DRS_ALPHAREF, 5);
    device->SetSamplerState(2, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    UINT passes = 0;
    // Saved and restored.
    ASSERT_EQ(effect->Begin(&passes, 0), S_OK);
    ASSERT_EQ(effect->BeginPass(0), S_OK);
    device->GetRenderState(D3DRS_ALPHAREF, &value);
    EXPECT_EQ(value, 77u);
    device->GetSamplerState(2, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_POINT));
    effect->EndPass();
    effect->End();
    device->GetRenderState(D3DRS_ALPHAREF, &value);
    EXPECT_EQ(value, 5u);
    device->GetSamplerState(2, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_LINEAR));
    // Sampler states kept, render states restored.
    ASSERT_EQ(effect->Begin(&passes, D3DXFX_DONOTSAVESAMPLERSTATE), S_OK);
    effect->BeginPass(0);
    effect->EndPass();
    effect->End();
    device->GetRenderState(D3DRS_ALPHAREF, &value);
    EXPECT_EQ(value, 5u);
    device->GetSamplerState(2, D3DSAMP_MAGFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_POINT));
    // Nothing restored.
    ASSERT_EQ(effect->Begin(&passes, D3DXFX_DONOTSAVESTATE), S_OK);
    effect->BeginPass(0);
    effect->EndPass();
    effect->End();
    device->GetRenderState(D3DRS_ALPHAREF, &value);
    EXPECT_EQ(value, 77u);
    device->GetSamplerState(3, D3DSAMP_MINFILTER, &value);
    EXPECT_EQ(value, static_cast<DWORD>(D3DTEXF_LINEAR));
    EXPECT_EQ(effect->End(), D3DERR_INVALIDCALL);
    effect->Release();
}

}  // namespace
