// Loading one effect definition: tables of techniques and parameters, user names, includes,
// refusals without a box, compile failures with the "Fehler!" box, device loss, and effects
// still listed at exit.
#include <cstdlib>

#include "port/d3d9/d3d9_port.h"
#include "engine/platform/D3DInterface.h"
#include "tests/engine/render/RenderFixture.h"

using Orvex::Effect;
using Orvex::EffectParameter;
using Orvex::EffectTechnique;

namespace rendertest {
namespace {

using EffectTest = RenderFixture;

TEST_F(EffectTest, LoadIndexesTechniquesAndParametersByName) {
    write("flat.fx", flatEffect());
    Orvex::XMLNode node = parse(definition(L"Flat", "flat.fx", L"", L" PRE_COMPILE=\"0\""));
    Effect* effect = new Effect(false);
    ASSERT_TRUE(effect->load(node));
    ASSERT_NE(effect->getD3DXEffect(), nullptr);
    ASSERT_EQ(effect->getTechniques().size(), 2u);
    EXPECT_EQ(effect->getTechniques()[1]->name, L"Other");
    EXPECT_EQ(effect->getTechniqueHandle(L"Other"), effect->getD3DXEffect()->GetTechniqueByName("Other"));

    ASSERT_EQ(effect->getParameters().size(), 3u);
    EXPECT_EQ(effect->getParameters()[1]->name, L"g_Colour");
    EffectTechnique* flat = effect->getTechniques()[0];
    EffectParameter const* colour = effect->findParameter(L"g_Colour");
    ASSERT_NE(colour, nullptr);
    EXPECT_TRUE(colour->usedBy.at(flat));
    EXPECT_FALSE(effect->findParameter(L"g_Unused")->usedBy.at(flat));
    EXPECT_EQ(effect->getParameterHandle(L"g_Colour"), effect->getD3DXEffect()->GetParameterByName(nullptr, "g_Colour"));
    EXPECT_EQ(effect->getParameterHandle(L"g_colour"), nullptr);  // names are exact

    effect->clear();
    EXPECT_FALSE(effect->isLoaded());
    EXPECT_TRUE(effect->getParameters().empty());
    EXPECT_TRUE(effect->getTechniques().empty());
    effect->release();
}

TEST_F(EffectTest, UserNamesReplaceTheEffectsOwnNames) {
    write("flat.fx", flatEffect());
    Orvex::XMLNode node = parse(definition(L"Flat", "flat.fx",
                                           L"<HANDLE_USERNAME NAME=\"g_Colour\" USER_NAME=\"Farbe\" />"
                                           L"<HANDLE_USERNAME NAME=\"g_Value\" />"
                                           L"<TECHNIQUE_USERNAME NAME=\"Other\" USER_NAME=\"Anders\" />"));
    Effect* effect = new Effect(false);
    ASSERT_TRUE(effect->load(node));
    EXPECT_EQ(effect->getParameterHandle(L"Farbe"), effect->getD3DXEffect()->GetParameterByName(nullptr, "g_Colour"));
    EXPECT_EQ(effect->getParameterHandle(L"g_Colour"), nullptr);
    EXPECT_NE(effect->getParameterHandle(L"g_Value"), nullptr);  // no USER_NAME: left alone
    EXPECT_EQ(effect->getParameters()[1]->name, L"Farbe");
    EXPECT_NE(effect->getTechniqueHandle(L"Anders"), nullptr);
    EXPECT_EQ(effect->getTechniqueHandle(L"Other"), nullptr);
    effect->release();
}

TEST_F(EffectTest, IncludeClimbsOneFolderPerParentStep) {
    write("common.fxh", "float4 g_Tint = float4(0.0, 1.0, 0.0, 1.0);\n");
    write("sub/main.fx",
          "#include \"..\\common.fxh\"\n"
          "technique T { pass P { AlphaBlendEnable = false; } }\n");
    Orvex::XMLNode node = parse(definition(L"Inc", "sub/main.fx"));
    Effect* effect = new Effect(false);
    ASSERT_TRUE(effect->load(node));
    D3DXVECTOR4 tint;
    ASSERT_EQ(effect->getD3DXEffect()->GetVector("g_Tint", &tint), S_OK);
    EXPECT_EQ(tint, D3DXVECTOR4(0, 1, 0, 1));
    effect->release();

    // The include handler on its own: a missing file fails, Close takes null.
    Orvex::EffectInclude include(pathOf("sub"));
    LPCVOID data = nullptr;
    UINT bytes = 0;
    EXPECT_EQ(include.Open(D3DXINC_LOCAL, "..\\common.fxh", nullptr, &data, &bytes), S_OK);
    EXPECT_GT(bytes, 0u);
    EXPECT_EQ(include.Close(data), S_OK);
    EXPECT_EQ(include.Open(D3DXINC_LOCAL, "missing.fxh", nullptr, &data, &bytes), E_FAIL);
    EXPECT_EQ(include.Close(nullptr), S_OK);
}

TEST_F(EffectTest, DefinitionWithoutFileOrSourceIsRefusedWithoutABox) {
    Effect* effect = new Effect(false);
    Orvex::XMLNode noFile = parse(L"<EFFECT NAME=\"A\" />");
    EXPECT_FALSE(effect->load(noFile));
    Orvex::XMLNode missing = parse(definition(L"B", "nowhere.fx"));
    EXPECT_FALSE(effect->load(missing));
    EXPECT_FALSE(effect->isLoaded());
    EXPECT_TRUE(takeBoxes().empty());
    effect->release();
}

TEST_F(EffectTest, BrokenShaderShowsTheBoxAndLeavesTheEffectUnloaded) {
    std::string broken = flatEffect();
    broken.replace(broken.find("result = g_Colour * colour;"), 27, "result = undefinedThing;");
    std::wstring path = write("broken.fx", broken);
    Orvex::XMLNode node = parse(definition(L"Broken", "broken.fx"));
    Effect* effect = new Effect(false);
    EXPECT_FALSE(effect->load(node));
    EXPECT_FALSE(effect->isLoaded());
    EXPECT_EQ(effect->getD3DXEffect(), nullptr);
    EXPECT_TRUE(effect->getTechniques().empty());
    EXPECT_FALSE(effect->reload());  // never loaded: nothing to reload from
    std::vector<std::wstring> boxes = takeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    std::wstring const expected = L"MessageBox \"Fehler!\": " + path + L"\nD3DXCreateEffect() schlug fehl\n";
    EXPECT_EQ(boxes[0].compare(0, expected.size(), expected), 0) << boxes[0];
    EXPECT_NE(boxes[0].find(L"undefinedThing"), std::wstring::npos) << boxes[0];
    effect->release();
}

TEST_F(EffectTest, BrokenEffectStructureFailsInTheCompiler) {
    std::wstring path = write("syntax.fx", "float4 g_Colour = ;\ntechnique T { pass P { } }\n");
    Orvex::XMLNode node = parse(definition(L"Syntax", "syntax.fx"));
    Effect* effect = new Effect(false);
    EXPECT_FALSE(effect->load(node));
    std::vector<std::wstring> boxes = takeBoxes();
    ASSERT_EQ(boxes.size(), 1u) << "one box per failure, not a second one for the missing buffer";
    EXPECT_EQ(boxes[0].rfind(L"MessageBox \"Fehler!\": " + path + L"\nD3DXCreateEffectCompiler() schlug fehl\n", 0), 0u);
    effect->release();
}

TEST_F(EffectTest, AFailedLoadOfALoadedEffectEmptiesItsTables) {
    write("flat.fx", flatEffect());
    Orvex::XMLNode node = parse(definition(L"Flat", "flat.fx"));
    Effect* effect = new Effect(false);
    ASSERT_TRUE(effect->load(node));
    write("flat.fx", "technique T { pass P { VertexShader = Missing; } }\n");
    EXPECT_FALSE(effect->load(node));
    EXPECT_FALSE(effect->isLoaded());
    EXPECT_TRUE(effect->getParameters().empty());
    EXPECT_EQ(effect->getParameterHandle(L"g_Colour"), nullptr);
    EXPECT_EQ(takeBoxes().size(), 1u);
    effect->release();
}

TEST_F(EffectTest, EffectsKeepDrawingAcrossALostAndResetDevice) {
    write("flat.fx", flatEffect("float4(0.0, 0.0, 1.0, 1.0)"));
    Orvex::XMLNode list = parse(L"<LIST>" + definition(L"Flat", "flat.fx") + L"</LIST>");
    effectManager.loadEffects(list);
    Effect* effect = effectManager.findEffect(L"Flat");
    ASSERT_NE(effect, nullptr);

    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    port::d3d9::loseDevice(d3d.getDevice());
    EXPECT_FALSE(d3d.checkDevice());
    EXPECT_TRUE(d3d.checkDevice());
    EXPECT_TRUE(effect->isLoaded());

    clear(0xFF000000);
    device()->BeginScene();
    std::vector<SpriteVertex> const quad = {{0, 0, 0, 1, 0xFFFFFFFF, 0, 0, 0, {}}, {8, 0, 0, 1, 0xFFFFFFFF, 1, 0, 0, {}},
                                           {0, 8, 0, 1, 0xFFFFFFFF, 0, 1, 0, {}}, {8, 8, 0, 1, 0xFFFFFFFF, 1, 1, 0, {}}};
    drawQuads(*effect->getD3DXEffect(), "Flat", quad, D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
    device()->EndScene();
    auto pixels = readTarget();
    EXPECT_TRUE(colorNear(at(pixels, 4, 4), 0xFF0000FF));
    EXPECT_EQ(at(pixels, 9, 4), 0xFF000000u);
}

// After the device object has shut the device down, the manager drops the effects still listed
// during static destruction without touching the port's tables.
TEST_F(EffectTest, EffectsLeftAtExitAreDroppedWithoutACrash) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write("flat.fx", flatEffect());
    std::wstring list = L"<L>" + definition(L"Left", "flat.fx") + L"</L>";
    EXPECT_EXIT(
        {
            Orvex::XMLNode node = parse(list);
            effectManager.loadEffects(node);
            bool loaded = effectManager.findEffect(L"Left") != nullptr;
            Orvex::D3DInterface::getInstance().shutdown();
            std::exit(loaded ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace rendertest
