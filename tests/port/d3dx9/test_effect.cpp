// Effects on a device: an effect file with two techniques, annotations, a shared parameter in a
// pool, an include from the parent folder and a macro-dependent branch; enumeration of names and
// sizes; values; drawing with a GLSL pass; state saving; compile errors of GLSL code.
#include "port/d3dx9/d3dx9.h"
#include "tests/support/gl/DeviceFixture.h"
#include "tests/support/TestSupport.h"
#include "port/d3d9/d3d9_gl.h"
#include "port/d3d9/d3d9_port.h"
#include "port/win32/win32_text.h"
#include "tests/support/gl/TestMatrices.h"

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
    "  out vec4 colour; out vec2 uv;\n"
    "  void main() { gl_Position = port_screenToClip(in_Position); colour = in_Diffuse; uv = in_TexCoord0.xy; }\n"
    "}\n"
    "glsl_pixel PS_Flat {\n"
    "  in vec4 colour; in vec2 uv; out vec4 result;\n"
    "  void main() { result = g_Color * colour; }\n"
    "}\n"
    "glsl_pixel PS_Textured {\n"
    "  in vec4 colour; in vec2 uv; out vec4 result;\n"
    "  void main() { result = texture(s0, uv) * g_Time * 2.0; }\n"
    "}\n"
    "technique Render2D < int TEX_COUNT = 8; > {\n"
    "  pass P0 < float fScaleX = 0.5; > {\n"
    "    AlphaBlendEnable = true; SrcBlend = SrcAlpha; DestBlend = InvSrcAlpha; VertexShader = VS; PixelShader = PS_Flat;\n"
    "  }\n"
    "}\n"
    "technique RenderTextured {\n"
    "  pass First { VertexShader = VS; PixelShader = PS_Textured; }\n"
    "  pass Second { StencilEnable = true; StencilFunc = Equal; VertexShader = VS; PixelShader = PS_Textured; }\n"
    "}\n";

class EffectTest : public testsupport::DeviceFixture {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        folder = testsupport::makeTempDir("fx");
        testsupport::writeFile(folder / "common.fxh", kCommon);
        testsupport::writeFile(folder / "sub" / "main.fx", kMain);
    }

    // The effect file above; compile errors fail the test.
    ID3DXEffect* load(ID3DXEffectPool* pool, D3DXMACRO const* macros = nullptr) {
        ID3DXEffect* effect = nullptr;
        ID3DXBuffer* errors = nullptr;
        std::wstring path = port::fromUtf8((folder / "sub" / "main.fx").string());
        EXPECT_EQ(D3DXCreateEffectFromFileW(device, path.c_str(), macros, nullptr, 0, pool, &effect, &errors), S_OK);
        return reportErrors(effect, errors);
    }
    // An effect from source in memory; compile errors fail the test.
    ID3DXEffect* create(std::string const& source) {
        ID3DXEffect* effect = nullptr;
        ID3DXBuffer* errors = nullptr;
        EXPECT_EQ(D3DXCreateEffect(device, source.data(), static_cast<UINT>(source.size()), nullptr, nullptr, 0, nullptr,
                                   &effect, &errors),
                  S_OK);
        return reportErrors(effect, errors);
    }
    // The colour (RGB) of a quad drawn over black with the effect's first pass; 0xFFFFFFFF when
    // the pass does not begin.
    uint32_t drawnColour(ID3DXEffect* effect) {
        clear(0xFF000000);
        UINT passes = 0;
        if (effect->Begin(&passes, 0) != S_OK) return 0xFFFFFFFFu;
        if (effect->BeginPass(0) != S_OK) {
            effect->End();
            return 0xFFFFFFFFu;
        }
        drawQuad(0, 0, 8, 8, 0xFFFFFFFF);
        effect->EndPass();
        effect->End();
        return pixel(readTarget(), 4, 4) & 0xFFFFFFu;
    }
    static ID3DXEffect* reportErrors(ID3DXEffect* effect, ID3DXBuffer* errors) {
        if (errors) {
            ADD_FAILURE() << static_cast<char const*>(errors->GetBufferPointer());
            errors->Release();
        }
        return effect;
    }
    static D3DXPARAMETER_DESC describe(ID3DXEffect* effect, D3DXHANDLE parameter) {
        D3DXPARAMETER_DESC desc{};
        EXPECT_EQ(effect->GetParameterDesc(parameter, &desc), S_OK);
        return desc;
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
    for (UINT i = 0; i < 7; ++i) EXPECT_STREQ(describe(effect, effect->GetParameter(nullptr, i)).Name, names[i]);
    EXPECT_EQ(effect->GetParameter(nullptr, 7), nullptr);

    D3DXPARAMETER_DESC pd = describe(effect, effect->GetParameterByName(nullptr, "g_View"));
    EXPECT_EQ(pd.Class, D3DXPC_MATRIX_COLUMNS);
    EXPECT_EQ(pd.Type, D3DXPT_FLOAT);
    EXPECT_EQ(pd.Rows, 4u);
    EXPECT_EQ(pd.Columns, 4u);
    EXPECT_EQ(pd.Bytes, 64u);
    EXPECT_EQ(pd.Flags, static_cast<DWORD>(D3DX_PARAMETER_SHARED));
    EXPECT_STREQ(pd.Semantic, "VIEW");
    pd = describe(effect, "g_Offsets");
    EXPECT_EQ(pd.Elements, 3u);
    EXPECT_EQ(pd.Bytes, 24u);
    EXPECT_EQ(pd.Class, D3DXPC_VECTOR);
    pd = describe(effect, "g_Color");
    EXPECT_EQ(pd.Annotations, 2u);
    EXPECT_EQ(pd.Bytes, 16u);
    pd = describe(effect, "g_Textur0");
    EXPECT_EQ(pd.Type, D3DXPT_TEXTURE);
    EXPECT_EQ(pd.Class, D3DXPC_OBJECT);
    EXPECT_EQ(describe(effect, "s0").Type, D3DXPT_SAMPLER2D);
    EXPECT_EQ(effect->GetParameterBySemantic(nullptr, "view"), effect->GetParameterByName(nullptr, "g_View"));
    INT quality = 0;
    EXPECT_EQ(effect->GetInt("g_Quality", &quality), S_OK);
    EXPECT_EQ(quality, 1);  // HIGH is not defined

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
    pd = describe(effect, effect->GetAnnotation("g_Color", 1));
    EXPECT_STREQ(pd.Name, "Order");
    EXPECT_EQ(pd.Flags, static_cast<DWORD>(D3DX_PARAMETER_ANNOTATION));
    EXPECT_EQ(effect->GetAnnotationByName("g_Color", "Missing"), nullptr);
    EXPECT_EQ(effect->SetFloat(convert, 1.0f), D3DERR_INVALIDCALL);  // annotations are read-only

    // Which parameters each technique uses.
    EXPECT_TRUE(effect->IsParameterUsed("g_Color", render2D));
    EXPECT_FALSE(effect->IsParameterUsed("g_Color", textured));
    EXPECT_TRUE(effect->IsParameterUsed("s0", textured));
    EXPECT_TRUE(effect->IsParameterUsed("g_Textur0", textured));  // through the sampler
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
    D3DXMATRIX view, read;
    view = testsupport::translationMatrix(1.0f, 2.0f, 3.0f);
    ASSERT_EQ(first->SetMatrix("g_View", &view), S_OK);
    ASSERT_EQ(second->GetMatrix("g_View", &read), S_OK);
    EXPECT_EQ(read, view);
    ASSERT_EQ(alone->GetMatrix("g_View", &read), S_OK);
    EXPECT_EQ(read, D3DXMATRIX());
    // Non-shared parameters stay per effect.
    D3DXVECTOR4 colour(0.0f, 1.0f, 0.0f, 1.0f), back;
    first->SetVector("g_Color", &colour);
    second->GetVector("g_Color", &back);
    EXPECT_EQ(back, D3DXVECTOR4(1.0f, 0.0f, 0.0f, 1.0f));
    first->Release();
    second->Release();
    alone->Release();
    pool->Release();
}

TEST_F(EffectTest, ValueConversionsArraysAndElements) {
    ID3DXEffect* effect = load(nullptr);
    ASSERT_NE(effect, nullptr);
    D3DXVECTOR4 offsets[3] = {{64, 32, 9, 9}, {1, 2, 9, 9}, {3, 4, 9, 9}}, back[3], one;
    ASSERT_EQ(effect->SetVectorArray("g_Offsets", offsets, 3), S_OK);
    ASSERT_EQ(effect->GetVectorArray("g_Offsets", back, 3), S_OK);
    EXPECT_EQ(back[0], D3DXVECTOR4(64, 32, 0, 0));  // float2 elements: z and w read as 0
    EXPECT_EQ(back[2], D3DXVECTOR4(3, 4, 0, 0));
    D3DXHANDLE element = effect->GetParameterElement("g_Offsets", 1);
    ASSERT_NE(element, nullptr);
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
    D3DXVECTOR4 colour(0.0f, 1.0f, 0.0f, 0.5f), blue(0.0f, 0.0f, 1.0f, 1.0f);
    effect->SetVector("g_Color", &colour);
    ASSERT_EQ(effect->SetTechnique("Render2D"), S_OK);
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), S_OK);
    EXPECT_EQ(passes, 1u);
    ASSERT_EQ(effect->BeginPass(0), S_OK);
    drawQuad(0, 0, 8, 8, 0xFFFFFFFF);
    effect->SetVector("g_Color", &blue);  // reaches the program with CommitChanges
    effect->CommitChanges();
    drawQuad(8, 0, 16, 8, 0xFFFFFFFF);
    EXPECT_EQ(effect->EndPass(), S_OK);
    EXPECT_EQ(effect->End(), S_OK);
    DWORD state = 1;
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &state);
    EXPECT_EQ(state, FALSE);

    // Technique 2: a texture through a sampler, scaled by the shared time value (0.5 * 2).
    effect->SetTexture("g_Textur0", texture);
    ASSERT_EQ(effect->SetTechnique(effect->GetTechnique(1)), S_OK);
    ASSERT_EQ(effect->Begin(&passes, 0), S_OK);
    EXPECT_EQ(passes, 2u);
    ASSERT_EQ(effect->BeginPass(0), S_OK);
    drawQuad(20, 0, 22, 2, 0xFFFFFFFF);
    effect->EndPass();
    ASSERT_EQ(effect->BeginPass(1), S_OK);
    device->GetRenderState(D3DRS_STENCILENABLE, &state);
    EXPECT_EQ(state, TRUE);
    effect->EndPass();
    effect->End();
    device->GetRenderState(D3DRS_STENCILENABLE, &state);
    EXPECT_EQ(state, FALSE);
    device->EndScene();

    auto pixels = readTarget();
    EXPECT_TRUE(colorNear(pixel(pixels, 3, 3), 0xFF008000));  // half green over black
    EXPECT_TRUE(colorNear(pixel(pixels, 12, 3), 0xFF0000FF));
    EXPECT_TRUE(colorNear(pixel(pixels, 20, 0), 0xFF808080));
    EXPECT_TRUE(colorNear(pixel(pixels, 21, 1), 0xFF404040));
    EXPECT_EQ(pixel(pixels, 23, 0), 0xFF000000u);
    EXPECT_EQ(effect->BeginPass(0), D3DERR_INVALIDCALL);  // outside Begin
    effect->Release();
    texture->Release();
}

TEST_F(EffectTest, GlslErrorsNameFileAndLine) {
    std::string source =
        "float4 g_Color;\n"
        "glsl_vertex VS { void main() { gl_Position = port_screenToClip(in_Position); } }\n"
        "glsl_pixel PS {\n"
        "  out vec4 result;\n"
        "  void main() { result = undefinedThing; }\n"
        "}\n"
        "technique T { pass P { VertexShader = VS; PixelShader = PS; } }\n";
    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    EXPECT_TRUE(FAILED(D3DXCreateEffect(device, source.c_str(), static_cast<UINT>(source.size()), nullptr, nullptr, 0,
                                        nullptr, &effect, &errors)));
    EXPECT_EQ(effect, nullptr);
    ASSERT_NE(errors, nullptr);
    std::string text = static_cast<char const*>(errors->GetBufferPointer());
    EXPECT_NE(text.find("memory(5,"), std::string::npos) << text;
    errors->Release();
}

TEST_F(EffectTest, CompiledFormCreatesTheSameEffectAndClones) {
    std::string source = "#define TINT 0.25\nfloat g_Tint = TINT;\ntechnique T { pass P { AlphaBlendEnable = false; } }\n";
    ID3DXEffectCompiler* compiler = nullptr;
    ASSERT_EQ(D3DXCreateEffectCompiler(source.c_str(), static_cast<UINT>(source.size()), nullptr, nullptr, 0, &compiler,
                                       nullptr),
              S_OK);
    ID3DXBuffer* compiled = nullptr;
    ASSERT_EQ(compiler->CompileEffect(0, &compiled, nullptr), S_OK);
    ID3DXEffect* effect =
        create(std::string(static_cast<char const*>(compiled->GetBufferPointer()), compiled->GetBufferSize()));
    ASSERT_NE(effect, nullptr);
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
    effect->SetTexture("g_Textur0", managed);  // managed textures stay
    effect->OnLostDevice();
    effect->GetTexture("g_Textur0", &held);
    EXPECT_EQ(held, managed);
    held->Release();
    EXPECT_EQ(effect->OnResetDevice(), S_OK);
    effect->Release();
    managed->Release();
}

// The engine's sprite batcher path: FVF 0x2C0344 (XYZRHW, diffuse, set 0 uv, set 1 slot, set 2
// centre), indexed triangles from buffers, eight texture parameters chosen per vertex slot, and
// textures changed between draws with CommitChanges inside the pass.
TEST_F(EffectTest, SpriteBatcherStyleEffectPicksTexturesBySlot) {
    std::string source;
    for (char i = '0'; i < '8'; ++i)
        source += std::string("texture g_Textur") + i + ";\nsampler2D s" + i + " = sampler_state { Texture = <g_Textur" +
                  i + ">; MinFilter = Point; MagFilter = Point; };\n";
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
    ID3DXEffect* effect = create(source);
    ASSERT_NE(effect, nullptr);
    IDirect3DTexture9* red = makeTexture(1, 1, [](UINT, UINT) { return 0xFFFF0000u; });
    IDirect3DTexture9* green = makeTexture(1, 1, [](UINT, UINT) { return 0xFF00FF00u; });
    IDirect3DTexture9* blue = makeTexture(1, 1, [](UINT, UINT) { return 0xFF0000FFu; });

    struct SpriteVertex {
        float x, y, z, rhw;
        D3DCOLOR colour;
        float u, v, slot, cx, cy, cz, cw;
    };
    static_assert(sizeof(SpriteVertex) == 48);
    IDirect3DVertexBuffer9* vb = nullptr;
    IDirect3DIndexBuffer9* ib = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(3 * 4 * sizeof(SpriteVertex), D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY, 0,
                                         D3DPOOL_DEFAULT, &vb, nullptr),
              D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(3 * 6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_DEFAULT, &ib, nullptr), D3D_OK);
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, D3DLOCK_DISCARD), D3D_OK);
    auto* v = static_cast<SpriteVertex*>(data);
    float const slots[3] = {0, 1, 0};  // quads at x = 0, 8, 16
    for (int q = 0; q < 3; ++q)
        for (int i = 0; i < 4; ++i)
            *v++ = {8.0f * q + 4 * (i & 1), 4.0f * (i >> 1), 0.5f, 1.0f, 0xFFFFFFFF, 0.5f, 0.5f, slots[q], 0, 0, 0, 0};
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
    for (IUnknown* object : std::initializer_list<IUnknown*>{vb, ib, red, green, blue, effect}) object->Release();
}

TEST_F(EffectTest, SaveStateFlagsOfBegin) {
    ID3DXEffect* effect = create(
        "texture g_T;\n"
        "sampler s = sampler_state { Texture = <g_T>; MagFilter = Point; };\n"
        "technique T { pass P { AlphaRef = 77; Sampler[2] = <s>; MinFilter[3] = Linear; } }\n");
    ASSERT_NE(effect, nullptr);
    device->SetRenderState(D3DRS_ALPHAREF, 5);
    device->SetSamplerState(2, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    auto expectStates = [&](DWORD alphaRef, DWORD magFilter2) {
        DWORD value = 0;
        device->GetRenderState(D3DRS_ALPHAREF, &value);
        EXPECT_EQ(value, alphaRef);
        device->GetSamplerState(2, D3DSAMP_MAGFILTER, &value);
        EXPECT_EQ(value, magFilter2);
    };
    auto runPass = [&](DWORD flags) {
        UINT passes = 0;
        ASSERT_EQ(effect->Begin(&passes, flags), S_OK);
        ASSERT_EQ(effect->BeginPass(0), S_OK);
        expectStates(77, D3DTEXF_POINT);
        effect->EndPass();
        effect->End();
    };
    runPass(0);
    expectStates(5, D3DTEXF_LINEAR);  // saved and restored
    runPass(D3DXFX_DONOTSAVESAMPLERSTATE);
    expectStates(5, D3DTEXF_POINT);  // render states restored, sampler states kept
    runPass(D3DXFX_DONOTSAVESTATE);
    expectStates(77, D3DTEXF_POINT);  // nothing restored
    DWORD minFilter3 = 0;
    device->GetSamplerState(3, D3DSAMP_MINFILTER, &minFilter3);
    EXPECT_EQ(minFilter3, static_cast<DWORD>(D3DTEXF_LINEAR));
    EXPECT_EQ(effect->End(), D3DERR_INVALIDCALL);
    effect->Release();
}

// A pass calling port_alphaTest is linked with and without the test; draws switch between the
// two with the device's alpha test, and parameter values reach both.
TEST_F(EffectTest, AlphaTestVariantsFollowTheDeviceStateAndShareValues) {
    std::string const source =
        "float4 g_Colour = {1, 1, 1, 0.25};\n"
        "glsl_vertex VS { void main() { gl_Position = port_screenToClip(in_Position); } }\n"
        "glsl_pixel PS { out vec4 result; void main() { result = g_Colour; port_alphaTest(result.a); } }\n"
        "technique T { pass P { AlphaTestEnable = false; VertexShader = VS; PixelShader = PS; } }\n"
        "technique Tested { pass P { AlphaTestEnable = true; AlphaFunc = Greater; VertexShader = VS; PixelShader = PS; } }\n";
    ID3DXEffect* effect = create(source);
    ASSERT_NE(effect, nullptr);
    clear(0xFF000000);
    device->SetRenderState(D3DRS_ALPHAREF, 0x80);
    struct Step {
        BOOL test;        // set on the device inside the pass
        DWORD func;
        D3DCOLOR colour;  // g_Colour (alpha 0x40 fails GREATER 0x80)
        D3DCOLOR expected;
    } const steps[] = {{FALSE, D3DCMP_GREATER, 0x40FF0000, 0xFF0000}, {TRUE, D3DCMP_GREATER, 0x40FF0000, 0},
                       {TRUE, D3DCMP_LESS, 0x4000FF00, 0x00FF00},     {FALSE, D3DCMP_LESS, 0x400000FF, 0x0000FF},
                       {TRUE, D3DCMP_GREATER, 0xC0FFFF00, 0xFFFF00},  {TRUE, D3DCMP_GREATER, 0x40FFFFFF, 0}};
    effect->SetTechnique("T");
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), S_OK);
    ASSERT_EQ(effect->BeginPass(0), S_OK);
    float x = 0;
    for (Step const& s : steps) {
        D3DXCOLOR colour(s.colour);
        effect->SetVector("g_Colour", reinterpret_cast<D3DXVECTOR4 const*>(&colour));
        effect->CommitChanges();
        device->SetRenderState(D3DRS_ALPHATESTENABLE, s.test);
        device->SetRenderState(D3DRS_ALPHAFUNC, s.func);
        drawQuad(x, 0, x + 8, 8, 0xFFFFFFFF);
        x += 8;
    }
    effect->EndPass();
    effect->End();
    // A technique turning the test on in its pass state.
    effect->SetTechnique("Tested");
    ASSERT_EQ(effect->Begin(&passes, 0), S_OK);
    ASSERT_EQ(effect->BeginPass(0), S_OK);
    drawQuad(0, 8, 8, 16, 0xFFFFFFFF);  // g_Colour still alpha 0x40: dropped
    effect->EndPass();
    effect->End();
    auto pixels = readTarget();
    for (size_t i = 0; i < std::size(steps); ++i)
        EXPECT_EQ(pixel(pixels, static_cast<int>(i) * 8 + 4, 4) & 0xFFFFFFu, steps[i].expected) << "step " << i;
    EXPECT_EQ(pixel(pixels, 4, 12) & 0xFFFFFFu, 0u);
    effect->Release();
}

// A released effect takes its pairing along: a later program under the same GL name draws
// with itself, whatever the alpha test.
TEST_F(EffectTest, ReleasedEffectsVariantIsNotUsedForTheNextProgram) {
    std::string const tested =
        "glsl_vertex VS { void main() { gl_Position = port_screenToClip(in_Position); } }\n"
        "glsl_pixel PS { out vec4 result; void main() { result = vec4(1, 0, 0, 1); port_alphaTest(1.0); } }\n"
        "technique T { pass P { VertexShader = VS; PixelShader = PS; } }\n";
    std::string const plain =
        "glsl_vertex VS { void main() { gl_Position = port_screenToClip(in_Position); } }\n"
        "glsl_pixel PS { out vec4 result; void main() { result = vec4(0, 1, 0, 1); } }\n"
        "technique T { pass P { VertexShader = VS; PixelShader = PS; } }\n";
    ID3DXEffect* first = create(tested);
    ASSERT_NE(first, nullptr);
    first->Release();
    ID3DXEffect* second = create(plain);
    ASSERT_NE(second, nullptr);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    EXPECT_EQ(drawnColour(second), 0x00FF00u);
    second->Release();
}

// GL's compiler state is handed back once frames go by without a compile, and GL makes it again
// for the next one: an effect made after the release still compiles, reports its errors and draws.
TEST_F(EffectTest, ShaderCompilerIsGivenBackAfterQuietFramesAndServesTheNextCompile) {
    auto effectOf = [](char const* colour) {
        return std::string("glsl_vertex VS { void main() { gl_Position = port_screenToClip(in_Position); } }\n"
                           "glsl_pixel PS { out vec4 result; void main() { result = ") +
               colour + "; } }\ntechnique T { pass P { VertexShader = VS; PixelShader = PS; } }\n";
    };
    auto presentFrames = [&](unsigned count) {
        for (unsigned i = 0; i < count; ++i) ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    };
    ID3DXEffect* first = create(effectOf("vec4(1, 0, 0, 1)"));
    ASSERT_NE(first, nullptr);
    unsigned const before = port::d3d9::shaderCompilerReleases(device);
    presentFrames(port::gl::kQuietPresents - 1);
    EXPECT_EQ(port::d3d9::shaderCompilerReleases(device), before);
    presentFrames(1);
    EXPECT_EQ(port::d3d9::shaderCompilerReleases(device), before + 1);
    presentFrames(port::gl::kQuietPresents);  // nothing compiled since: nothing to give back
    EXPECT_EQ(port::d3d9::shaderCompilerReleases(device), before + 1);

    std::string broken = effectOf("undefinedThing");
    ID3DXEffect* failed = nullptr;
    ID3DXBuffer* errors = nullptr;
    EXPECT_TRUE(FAILED(D3DXCreateEffect(device, broken.data(), static_cast<UINT>(broken.size()), nullptr, nullptr, 0,
                                        nullptr, &failed, &errors)));
    ASSERT_NE(errors, nullptr);
    EXPECT_NE(std::string(static_cast<char const*>(errors->GetBufferPointer())).find("memory("), std::string::npos);
    errors->Release();
    ID3DXEffect* second = create(effectOf("vec4(0, 1, 0, 1)"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(drawnColour(second), 0x00FF00u);
    presentFrames(port::gl::kQuietPresents);
    EXPECT_EQ(port::d3d9::shaderCompilerReleases(device), before + 2);
    first->Release();
    second->Release();
}

}  // namespace
