// Render-pass files and post-effect definitions: keys, priorities, keyed parameters, string
// mappings, the "RP_" replies and listings, and broken input (one log line, the rest loads).
#include "engine/platform/D3DInterface.h"
#include "engine/render/PostEffect.h"
#include "engine/render/RenderManager.h"
#include "tests/engine/render/RenderFixture.h"

namespace rendertest {
namespace {

using Orvex::PostEffect;
using Orvex::RenderManager;

// A post effect read from text, released at scope end.
struct Effect {
    PostEffect* effect;
    explicit Effect(std::wstring const& text) {
        Orvex::XMLNode node = parse(text);
        effect = RenderManager::createPostEffect(node, nullptr);
    }
    ~Effect() { effect->release(); }
    PostEffect* operator->() const { return effect; }
};

TEST(PostEffectDefinition, PrioritiesAndMatrixValues) {
    struct Case {
        wchar_t const* priority;
        int expected;
    };
    for (Case const& c : {Case{L"LOW", 500}, Case{L"7", 1507}, Case{L"MED -100", 1400}, Case{L"HIGH 5", 2505},
                        // sums past the range are held at its ends
                        Case{L"2147483647 5", 2147483647}, Case{L"-2147483648 -1500", -2147483647 - 1}}) {
        Effect e(std::wstring(L"<POSTEFFECT NAME=\"p\" PRIORITY=\"") + c.priority + L"\"/>");
        EXPECT_EQ(e->getPriority(), c.expected) << "PRIORITY case " << c.expected;
    }
    Effect fifteen(L"<POSTEFFECT><MATRIX_PARAM_2 VALUE=\"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15\"/></POSTEFFECT>");
    EXPECT_EQ(fifteen->getMatrixParam(1), D3DXMATRIX());
    EXPECT_FALSE(fifteen->getSetMatrices());
    Effect sixteen(L"<POSTEFFECT><MATRIX_PARAM_2 VALUE=\"1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16\"/></POSTEFFECT>");
    EXPECT_EQ(sixteen->getMatrixParam(1)._23, 7.0f);
    EXPECT_TRUE(sixteen->getSetMatrices());
    EXPECT_EQ(sixteen->getMatrixParam(9), D3DXMATRIX()) << "an index past the arrays reads nothing";
}

TEST(PostEffectDefinition, KeyedAccessByKind) {
    Effect e(L"<POSTEFFECT NAME=\"p\">"
             L"<STRING_MAPPING STRING=\"v\" MAPPING=\"VECTOR\" PARAM_NR=\"2\" INITIAL_VECTOR=\"1 2 3 4\"/>"
             L"<STRING_MAPPING STRING=\"vy\" MAPPING=\"VECTOR_Y\" PARAM_NR=\"2\"/>"
             L"<STRING_MAPPING STRING=\"f\" MAPPING=\"FLOAT\" PARAM_NR=\"4\" INITIAL_VALUE=\"0.5\"/>"
             L"<STRING_MAPPING STRING=\"f\" MAPPING=\"SCALE_X\" PARAM_NR=\"0\"/>"
             L"<STRING_MAPPING STRING=\"inv\" MAPPING=\"INV_SCALE_XY\" PARAM_NR=\"0\"/>"
             L"<STRING_MAPPING STRING=\"m23\" MAPPING=\"M_23\" PARAM_NR=\"1\"/>"
             L"<STRING_MAPPING STRING=\"on\" MAPPING=\"ENABLE\" PARAM_NR=\"0\"/>"
             L"<STRING_MAPPING STRING=\"big\" MAPPING=\"FLOAT\" PARAM_NR=\"5\"/>"
             L"<STRING_MAPPING STRING=\"neg\" MAPPING=\"FLOAT\" PARAM_NR=\"-1\"/>"
             L"<STRING_MAPPING STRING=\"odd\" MAPPING=\"float\" PARAM_NR=\"0\"/></POSTEFFECT>");
    EXPECT_EQ(e->getVector(L"v"), D3DXVECTOR4(1, 2, 3, 4));
    EXPECT_EQ(e->getFloat(L"vy"), 2.0f);
    EXPECT_EQ(e->getFloat(L"v"), -1.0f) << "a vector key has no float";
    EXPECT_FALSE(e->setFloat(L"v", 1.0f));
    EXPECT_EQ(e->getFloat(L"f"), 0.5f) << "the first mapping of a key wins";
    EXPECT_TRUE(e->setFloat(L"inv", 4.0f));
    EXPECT_EQ(e->getScale(), D3DXVECTOR2(0.25f, 0.25f));
    EXPECT_TRUE(e->setFloat(L"m23", 9.0f));
    EXPECT_EQ(e->getMatrixParam(1)._23, 9.0f);
    EXPECT_EQ(e->getMatrix(L"m23")._11, -1.0f);
    EXPECT_TRUE(e->setFloat(L"on", 0.0f));
    EXPECT_FALSE(e->isEnabled());
    EXPECT_EQ(e->getFloat(L"on"), 0.0f);
    // A PARAM_NR outside the arrays and an unknown kind word are refused, each with a line.
    for (wchar_t const* key : {L"big", L"neg", L"odd"}) {
        EXPECT_FALSE(e->setFloat(key, 1.0f)) << "a refused mapping";
        EXPECT_EQ(loggedCount(std::wstring(L"mapping \"") + key + L"\""), 1u);
    }
    std::vector<std::wstring> keys;
    for (Orvex::PostEffectParam const& p : e->getStringMappings()) keys.push_back(p.key);
    EXPECT_EQ(keys, (std::vector<std::wstring>{L"v", L"vy", L"f", L"inv", L"m23", L"on"}));
}

// The first mapping of a key stands with its initial value; a second one, and mappings past
// the limit, are ignored with one line each.
TEST(PostEffectDefinition, ASecondMappingOfAKeyIsIgnoredWithItsInitialValues) {
    std::wstring text = L"<POSTEFFECT NAME=\"p\">"
                        L"<STRING_MAPPING STRING=\"zwei\" MAPPING=\"FLOAT\" PARAM_NR=\"0\" INITIAL_VALUE=\"0.5\"/>"
                        L"<STRING_MAPPING STRING=\"zwei\" MAPPING=\"FLOAT\" PARAM_NR=\"1\" INITIAL_VALUE=\"2\"/>";
    for (Orvex::u32 i = 0; i < PostEffect::kMaxMappings + 5; ++i)
        text += L"<STRING_MAPPING STRING=\"k" + std::to_wstring(i) + L"\" MAPPING=\"FLOAT\" PARAM_NR=\"2\"/>";
    Effect e(text + L"</POSTEFFECT>");
    EXPECT_EQ(e->getFloat(L"zwei"), 0.5f);
    EXPECT_EQ(e->getFloatParam(1), 0.0f) << "the second mapping's parameter is untouched";
    EXPECT_EQ(loggedCount(L"mapping \"zwei\" is defined already"), 1u);
    EXPECT_EQ(e->getStringMappings().size(), static_cast<std::size_t>(PostEffect::kMaxMappings - 1));
    EXPECT_EQ(loggedCount(L"STRING_MAPPING elements; the rest are ignored"), 1u);
}

class RenderPassConfigTest : public RenderFixture {
protected:
    RenderPassConfigTest() : RenderFixture(640, 480) {}
};

TEST_F(RenderPassConfigTest, ConstantsAndPixelToTexelConversionFollowTheTargetSize) {
    write("texel.fx", "float4 g_Pixels = float4(64.0, 32.0, 5.0, 7.0);\n"
                      "float4 g_Texels < string ConvertPixelsToTexels = \"g_Pixels\"; >;\n"
                      "float2 g_Steps[2] = { float2(64.0, 48.0), float2(320.0, 240.0) };\n"
                      "float2 g_StepTexels[2] < string ConvertPixelsToTexels = \"g_Steps\"; >;\n"
                      "float2 g_Const;\n" + flatEffect().substr(flatEffect().find("float4 g_Colour")));
    Orvex::XMLNode list = parse(L"<L>" + definition(L"Texel", "texel.fx") + L"</L>");
    effectManager.loadEffects(list);
    RenderManager manager(640, 480);
    Orvex::XMLNode rp = parse(
        L"<RP><POSTEFFECT NAME=\"t\" EFFECT=\"Texel\"><CONSTANT_FLOATS FILL=\"g_Const\" TYPE=\"FLOAT2_TEXEL\">"
        L"<PARAM X=\"64\" Y=\"32\"/></CONSTANT_FLOATS></POSTEFFECT>"
        L"<ACTIVE_POSTEFFECTS>\"|t|\"</ACTIVE_POSTEFFECTS></RP>");
    manager.loadConfig(rp, L"texel.rp");
    PostEffect* t = manager.findPostEffect(L"t");
    ASSERT_TRUE(t && t->isInitialized());
    ID3DXEffect* fx = effectManager.findEffect(L"Texel")->getD3DXEffect();
    D3DXVECTOR4 texels;
    fx->GetVector("g_Texels", &texels);
    EXPECT_NEAR(texels.x, 0.1f, 1e-6f);
    EXPECT_NEAR(texels.y, 32.0f / 480.0f, 1e-6f);
    EXPECT_EQ(texels.z, 5.0f) << "only x and y are divided";
    EXPECT_EQ(texels.w, 7.0f);
    float steps[4] = {};
    fx->GetFloatArray("g_StepTexels", steps, 4);
    EXPECT_NEAR(steps[0], 0.1f, 1e-6f);
    EXPECT_NEAR(steps[1], 0.1f, 1e-6f);
    EXPECT_NEAR(steps[2], 0.5f, 1e-6f);
    EXPECT_NEAR(steps[3], 0.5f, 1e-6f);
    float constant[2] = {};
    fx->GetFloatArray("g_Const", constant, 2);
    EXPECT_NEAR(constant[0], 0.1f, 1e-6f);
    EXPECT_NEAR(constant[1], 32.0f / 480.0f, 1e-6f);
}

TEST_F(RenderPassConfigTest, ConsoleRepliesAndListingsComeInFileOrder) {
    RenderManager manager(RenderManager::kFollowDevice, RenderManager::kFollowDevice);
    Orvex::XMLNode rp = parse(
        L"<RP><POSTEFFECT NAME=\"a\"><STRING_MAPPING STRING=\"V\" MAPPING=\"VECTOR\" PARAM_NR=\"0\"/>"
        L"<STRING_MAPPING STRING=\"F\" MAPPING=\"FLOAT\" PARAM_NR=\"1\"/>"
        L"<STRING_MAPPING STRING=\"M\" MAPPING=\"MATRIX\" PARAM_NR=\"0\"/></POSTEFFECT>"
        L"<POSTEFFECT NAME=\"b\"><STRING_MAPPING STRING=\"F\" MAPPING=\"FLOAT\" PARAM_NR=\"0\"/></POSTEFFECT>"
        L"<POSTEFFECTS_STRING_MAPPINGS>"
        L"<STRING_MAPPING POSTEFFECT_NAME=\"b\" STRING=\"zeta\" PARAM_TO_CHANGE=\"F\" INITIAL_VALUE=\"2\"/>"
        L"<STRING_MAPPING POSTEFFECT_NAME=\"a\" STRING=\"alpha\" PARAM_TO_CHANGE=\"V\"/>"
        L"<STRING_MAPPING POSTEFFECT_NAME=\"a\" STRING=\"zeta\" PARAM_TO_CHANGE=\"F\"/>"
        L"<STRING_MAPPING POSTEFFECT_NAME=\"a\" STRING=\"mid\" PARAM_TO_CHANGE=\"M\"/>"
        L"\n<STRING_MAPPING POSTEFFECT_NAME=\"nobody\" STRING=\"lost\" PARAM_TO_CHANGE=\"F\" INITIAL_VALUE=\"3\"/>"
        L"<INITIALIZE STRING=\"alpha\" INITIAL_VECTOR=\"1 2 3 4.5\"/>"
        L"</POSTEFFECTS_STRING_MAPPINGS></RP>");
    manager.loadConfig(rp, L"order.rp");
    EXPECT_EQ(loggedCount(L"\"order.rp\" at line 2: mapping \"lost\" names the unknown post effect \"nobody\""), 1u);
    EXPECT_EQ(runCommand(manager, L"RP_POST_getAllParamListe"),
              L"zeta Typ: FLOAT\nzeta Typ: FLOAT\nalpha Typ: VECTOR\nmid Typ: MATRIX");
    EXPECT_EQ(runCommand(manager, L"RP_POST_getParamVector alpha"), L"Wert: 1 2 3 4.5 ");
    EXPECT_EQ(runCommand(manager, L"RP_POST_setParamFloat zeta 0.125"), L"gesetzt");
    EXPECT_EQ(runCommand(manager, L"RP_POST_getParamFloat zeta"), L"Wert: 0.125");
    EXPECT_EQ(runCommand(manager, L"RP_POST_getParamFloat lost"), L"Param wurde nicht gefunden");
    EXPECT_EQ(runCommand(manager, L"RP_POST_setParamVector alpha 1 2"), L"RP_POST_setParamVector Name Wert; setzt einen Posteffect Parameter Vector");
    EXPECT_EQ(runCommand(manager, L"RP_POST_addActiveEffect nobody"), L"gesetzt");
    EXPECT_EQ(runCommand(manager, L"RP_POST_addActiveEffect b"), L"gesetzt");
    EXPECT_EQ(runCommand(manager, L"RP_POST_addActiveEffect a"), L"gesetzt");
    EXPECT_EQ(runCommand(manager, L"RP_POST_addActiveEffect b"), L"gesetzt");
    EXPECT_EQ(manager.getActiveEffects().size(), 2u) << "activated once";
    EXPECT_EQ(manager.getActiveEffects()[0]->getName(), L"b") << "equal priorities keep their order";
    std::vector<std::wstring> offers;
    manager.completeArguments(Orvex::TypedConsoleCommand(L"RP_POST_setParamFloat "), offers);
    EXPECT_EQ(offers, (std::vector<std::wstring>{L"zeta", L"zeta"}));
    offers.clear();
    manager.completeArguments(Orvex::TypedConsoleCommand(L"rp_post_removeactiveeffect a"), offers);
    EXPECT_EQ(offers, std::vector<std::wstring>{L"a"});
    EXPECT_EQ(runCommand(manager, L"RP_POST_removeActiveEffect b"), L"entfernt");
    EXPECT_EQ(manager.getActiveEffects().size(), 1u);
}

// Definitions past kMaxPostEffects post effects (group members counted) are left out with one
// line; the activations of the file end as one activation after the other would leave them.
TEST_F(RenderPassConfigTest, PostEffectsPastTheLimitAreLeftOut) {
    std::wstring text = L"<RP>";
    for (Orvex::u32 i = 0; i + 6 < RenderManager::kMaxPostEffects; ++i)
        text += L"<POSTEFFECT NAME=\"e" + std::to_wstring(i) + L"\" PRIORITY=\"" + (i % 2 ? L"LOW" : L"HIGH") + L"\"/>";
    text += L"<POSTEFFECT NAME=\"gruppe\" TYPE=\"COMBINATION\" PRIORITY=\"MED\"><POSTEFFECT NAME=\"g1\"/>"
            L"<POSTEFFECT NAME=\"g2\" TYPE=\"COMBINATION\"><POSTEFFECT NAME=\"g3\"/></POSTEFFECT></POSTEFFECT>";
    text += L"\n<POSTEFFECT NAME=\"zu_gross\" TYPE=\"COMBINATION\"><POSTEFFECT/><POSTEFFECT/><POSTEFFECT/></POSTEFFECT>"
            L"<POSTEFFECT NAME=\"danach\"/>";
    text += L"<ACTIVE_POSTEFFECTS>\"|e3|\" \"|gruppe|\" \"|e0|\" \"|e1|\" \"|e3|\" \"|e2|\" \"|g3|\" \"|danach|\""
            L"</ACTIVE_POSTEFFECTS>"
            L"<INACTIVE_POSTEFFECTS>\"|e1|\" \"|e5|\"</INACTIVE_POSTEFFECTS></RP>";
    Orvex::XMLNode rp = parse(text);
    RenderManager manager(RenderManager::kFollowDevice, RenderManager::kFollowDevice);
    manager.loadConfig(rp, L"viele.rp");
    EXPECT_EQ(manager.getPostEffects().size(), static_cast<std::size_t>(RenderManager::kMaxPostEffects - 6 + 1));
    EXPECT_EQ(manager.findPostEffect(L"zu_gross"), nullptr);
    EXPECT_EQ(manager.findPostEffect(L"danach"), nullptr);
    EXPECT_EQ(loggedCount(L"\"viele.rp\" at line 2: post effect \"zu_gross\" would pass 256 post effects"), 1u);
    // By priority, equal ones in the order of activation: e3 LOW, gruppe and g3 MED (g3 by
    // default), e0 and e2 HIGH; e1 went again, "danach" was never made.
    std::wstring order;
    for (PostEffect* effect : manager.getActiveEffects()) order += effect->getName() + L" ";
    EXPECT_EQ(order, L"e3 gruppe g3 e0 e2 ");
}

// Unknown names and broken mappings are named one by one up to a limit, the rest in one line.
TEST_F(RenderPassConfigTest, RefusedNamesAreNamedUpToALimit) {
    std::wstring text = L"<RP><POSTEFFECT NAME=\"a\"/><ACTIVE_POSTEFFECTS>";
    for (Orvex::u32 i = 0; i < RenderManager::kMaxReports; ++i) text += L"\"|fehlt" + std::to_wstring(i) + L"|\" ";
    text += L"</ACTIVE_POSTEFFECTS><POSTEFFECTS_STRING_MAPPINGS>";
    for (int i = 0; i < 5; ++i) text += L"<STRING_MAPPING POSTEFFECT_NAME=\"a\"/>";
    text += L"</POSTEFFECTS_STRING_MAPPINGS></RP>";
    Orvex::XMLNode rp = parse(text);
    RenderManager manager(RenderManager::kFollowDevice, RenderManager::kFollowDevice);
    manager.loadConfig(rp, L"namen.rp");
    EXPECT_EQ(loggedCount(L"\"namen.rp\""), static_cast<std::size_t>(RenderManager::kMaxReports + 1));
    EXPECT_EQ(loggedCount(L"\"namen.rp\": 5 more names or mappings refused"), 1u);
}

TEST_F(RenderPassConfigTest, BrokenRenderPassFileGivesOneLineAndTheRestLoads) {
    std::wstring const path = write("broken.rp", "<RP>\r\n"
                                                 "  <POSTEFFECT NAME=\"first\" PRIORITY=\"LOW\"/>\r\n"
                                                 "  <POSTEFFECT NAME=\"second\"/>\r\n"
                                                 "  <POSTEFFECT NAME=\"third PRIORITY=\"HIGH\"/>\r\n"
                                                 "</RP>\r\n");
    RenderManager manager(RenderManager::kFollowDevice, RenderManager::kFollowDevice);
    manager.loadConfigFile(path);
    EXPECT_EQ(loggedCount(L"broken.rp"), 1u);
    EXPECT_EQ(loggedCount(L"broken.rp", L"line 4"), 1u);
    ASSERT_GE(manager.getPostEffects().size(), 2u);
    EXPECT_EQ(manager.getPostEffects()[0]->getName(), L"first");
    EXPECT_EQ(manager.getPostEffects()[1]->getName(), L"second");
    // A missing file loads nothing and keeps the defaults.
    RenderManager empty(RenderManager::kFollowDevice, RenderManager::kFollowDevice);
    empty.loadConfigFile(pathOf("none.rp"));
    EXPECT_TRUE(empty.getPostEffects().empty());
    EXPECT_TRUE(empty.getStretchToOrg());
}

TEST_F(RenderPassConfigTest, FixedTargetIgnoresResizesAndOwnDepthStencilFollowsTheDevice) {
    RenderManager fixed(512, 256);
    RenderManager follows(RenderManager::kFollowDevice, RenderManager::kFollowDevice);
    struct Count : sigslot::has_slots<> {
        int n = 0;
        void on(RenderManager&) { ++n; }
    } fixedCount, followCount;
    fixed.targetChanged.connect(&fixedCount, &Count::on);
    follows.targetChanged.connect(&followCount, &Count::on);
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    d3d.signalSizeChanged.emit(800ul, 600ul);
    EXPECT_EQ(fixedCount.n, 0);
    EXPECT_EQ(followCount.n, 1);
    Orvex::u32 w = 0, h = 0;
    fixed.getTargetSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(512u, 256u));
    Orvex::XMLNode rp = parse(L"<RP CREATE_DEPTH_STENCIL=\"1\" DEPTH_STENCIL_FORMAT=\"D3DFMT_D24S8\"/>");
    fixed.loadConfig(rp);
    ASSERT_NE(fixed.getDepthStencil(), nullptr);
    D3DSURFACE_DESC desc{};
    fixed.getDepthStencil()->GetDesc(&desc);
    EXPECT_EQ(std::pair(desc.Width, desc.Height), std::pair(512u, 256u));
    fixed.onDeviceLost();
    EXPECT_EQ(fixed.getDepthStencil(), nullptr);
    fixed.onDeviceReset();
    EXPECT_NE(fixed.getDepthStencil(), nullptr);
}

}  // namespace
}  // namespace rendertest
