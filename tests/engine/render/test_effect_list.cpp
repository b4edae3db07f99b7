// Effect lists: pools read before the effects that use them, first definitions winning,
// bundles with permutations, macros and shared members, and macro list operations.
#include "engine/render/EffectBundle.h"
#include "tests/engine/render/RenderFixture.h"

using Orvex::Effect;
using Orvex::EffectBundle;
using Orvex::EffectMacroList;

namespace rendertest {
namespace {

using EffectTest = RenderFixture;

int valueOf(Effect* effect) {
    INT value = -1;
    if (!effect || !effect->getD3DXEffect()) return -1;
    effect->getD3DXEffect()->GetInt("g_Value", &value);
    return value;
}

TEST(EffectMacroListTest, MergeKeepsTheLastDefinitionAndReadSkipsIncompleteMacros) {
    EffectMacroList own;
    own.add("X", "0");
    own.add("Y", "1");
    EffectMacroList permutation;
    permutation.add("X", "1");
    own.merge(permutation);
    EXPECT_EQ(own.toText(L'_', L'_'), L"Y_1_X_1");
    own.merge(permutation);  // merging again does not grow the list
    EXPECT_EQ(own.toText(L',', L'='), L"Y=1,X=1");

    D3DXMACRO const* macros = own.toD3DXMacros();
    EXPECT_STREQ(macros[0].Name, "Y");
    EXPECT_STREQ(macros[1].Definition, "1");
    EXPECT_EQ(macros[2].Name, nullptr);
    EXPECT_EQ(macros[2].Definition, nullptr);
    EXPECT_EQ(EffectMacroList().toD3DXMacros()[0].Name, nullptr);

    // Reading skips incomplete macros and converts to the ANSI code page.
    Orvex::XMLNode node;
    ASSERT_TRUE(node.loadFromText(L"<MACROS><MACRO NAME=\"A\" DEFINITION=\"1\" /><MACRO NAME=\"B\" />"
                                  L"<MACRO DEFINITION=\"2\" /><OTHER NAME=\"C\" DEFINITION=\"3\" />"
                                  L"<MACRO NAME=\"GRÜN\" DEFINITION=\"€\" /></MACROS>"));
    EffectMacroList list = EffectMacroList::read(node);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.macros()[0], (EffectMacroList::Macro{"A", "1"}));
    EXPECT_EQ(list.macros()[1], (EffectMacroList::Macro{"GR\xDCN", "\x80"}));
}

TEST_F(EffectTest, PoolsServeEffectsDeclaredBeforeThemAndFirstNamesWin) {
    std::string shared = "shared float4 g_Shared;\n" + flatEffect();
    write("shared.fx", shared);
    write("flat.fx", flatEffect());
    Orvex::XMLNode list = parse(L"<EFFECTE>" + definition(L"A", "shared.fx", L"", L" EFFECT_POOL=\"Pool\"") +
                                definition(L"B", "shared.fx", L"", L" EFFECT_POOL=\"Pool\"") +
                                definition(L"A", "flat.fx") + definition(L"C", "shared.fx") +
                                L"<EFFECT_POOL NAME=\"Pool\" /><EFFECT_POOL NAME=\"Pool\" /></EFFECTE>");
    effectManager.loadEffects(list);
    ASSERT_EQ(effectManager.getPools().size(), 1u);
    ASSERT_NE(effectManager.findPool(L"Pool")->getPool(), nullptr);
    ASSERT_EQ(effectManager.getEffects().size(), 3u);
    Effect* a = effectManager.findEffect(L"A");
    Effect* b = effectManager.findEffect(L"B");
    Effect* c = effectManager.findEffect(L"C");
    ASSERT_TRUE(a && b && c);
    EXPECT_NE(a->findParameter(L"g_Shared"), nullptr);  // the first "A" (shared.fx) won

    D3DXVECTOR4 value(1, 2, 3, 4), read;
    ASSERT_EQ(a->getD3DXEffect()->SetVector("g_Shared", &value), S_OK);
    b->getD3DXEffect()->GetVector("g_Shared", &read);
    EXPECT_EQ(read, value);
    c->getD3DXEffect()->GetVector("g_Shared", &read);
    EXPECT_EQ(read, D3DXVECTOR4(0, 0, 0, 0));  // no pool: its own value

    // A second list adds only new names.
    Orvex::XMLNode more = parse(L"<MORE>" + definition(L"A", "flat.fx") + definition(L"D", "flat.fx") + L"</MORE>");
    effectManager.loadEffects(more);
    EXPECT_EQ(effectManager.getEffects().size(), 4u);
    EXPECT_EQ(effectManager.findEffect(L"A"), a);
    EXPECT_EQ(effectManager.findEffect(L"a"), nullptr);
}

TEST_F(EffectTest, FailedEffectsAreNotListed) {
    write("flat.fx", flatEffect());
    write("broken.fx", "technique T { pass P { VertexShader = Nothing; } }\n");
    Orvex::XMLNode list = parse(L"<L>" + definition(L"Good", "flat.fx") + definition(L"Bad", "broken.fx") +
                                L"<EFFECT NAME=\"NoFile\" /></L>");
    effectManager.loadEffects(list);
    ASSERT_EQ(effectManager.getEffects().size(), 1u);
    EXPECT_EQ(effectManager.getEffects()[0]->getName(), L"Good");
    EXPECT_EQ(effectManager.getEffects()[0]->getRefCount(), 1);  // the list's reference only
    EXPECT_EQ(takeBoxes().size(), 1u);
}

TEST_F(EffectTest, BundlePermutationsCompileWithTheirMacrosOverTheEffectsOwn) {
    write("perm.fx", flatEffect());
    Orvex::XMLNode list = parse(
        L"<L>"
        L"<EFFECT_BUNDLE NAME=\"Bundle\">"
        L"  <EFFECT><FILE FILENAME=\"" + pathOf("perm.fx") + L"\" />"
        L"    <MACROS><MACRO NAME=\"VALUE\" DEFINITION=\"5\" /><MACRO NAME=\"Y\" DEFINITION=\"1\" /></MACROS></EFFECT>"
        L"  <EFFECT NAME=\"Renamed\"><FILE FILENAME=\"" + pathOf("perm.fx") + L"\" /></EFFECT>"
        L"  <PERMUTATION NAME=\"Plain\" />"
        L"  <PERMUTATION NAME=\"Seven\"><MACROS><MACRO NAME=\"VALUE\" DEFINITION=\"7\" /></MACROS></PERMUTATION>"
        L"  <PERMUTATION NAME=\"Other\" USE_EFFECT=\"Renamed\">"
        L"    <MACROS><MACRO NAME=\"VALUE\" DEFINITION=\"9\" /></MACROS></PERMUTATION>"
        L"  <PERMUTATION NAME=\"Nowhere\" USE_EFFECT=\"Missing\" />"
        L"  <PERMUTATION />"
        L"  <PERMUTATION NAME=\"Seven\"><MACROS><MACRO NAME=\"VALUE\" DEFINITION=\"8\" /></MACROS></PERMUTATION>"
        L"</EFFECT_BUNDLE>"
        L"<EFFECT_BUNDLE NAME=\"Second\">"
        L"  <EFFECT><FILE FILENAME=\"" + pathOf("perm.fx") + L"\" /></EFFECT>"
        L"  <PERMUTATION EXISTING_EFFECT=\"Bundle Seven\" NAME=\"Own\" />"
        L"  <PERMUTATION EXISTING_EFFECT=\"Bundle Unknown\" NAME=\"Fallback\" />"
        L"</EFFECT_BUNDLE>"
        L"<EFFECT_BUNDLE NAME=\"Empty\"><PERMUTATION NAME=\"X\" /></EFFECT_BUNDLE>"
        L"</L>");
    effectManager.loadEffects(list);

    ASSERT_EQ(effectManager.getBundles().size(), 2u);
    EXPECT_EQ(effectManager.findBundle(L"Empty"), nullptr);
    EffectBundle* bundle = effectManager.findBundle(L"Bundle");
    ASSERT_NE(bundle, nullptr);
    ASSERT_EQ(bundle->getMembers().size(), 3u);

    Effect* plain = effectManager.findEffect(L"Plain");
    Effect* seven = effectManager.findEffect(L"Seven");
    Effect* renamed = effectManager.findEffect(L"Renamed");
    EXPECT_EQ(valueOf(plain), 5);
    EXPECT_EQ(valueOf(seven), 7);  // the permutation's definition wins; the repeated key is dropped
    EXPECT_EQ(seven->getMacros().toText(L'_', L'_'), L"Y_1_VALUE_7");
    EXPECT_EQ(valueOf(renamed), 9);  // listed under the definition's NAME, not the key
    EXPECT_EQ(effectManager.findEffect(L"Other"), nullptr);
    EXPECT_EQ(bundle->findMember(L"Other")->effect, renamed);

    // "EXISTING_EFFECT" shares the member without compiling; an unknown key falls back to NAME.
    EffectBundle* second = effectManager.findBundle(L"Second");
    ASSERT_NE(second, nullptr);
    ASSERT_NE(second->findMember(L"Seven"), nullptr);
    EXPECT_EQ(second->findMember(L"Seven")->effect, seven);
    EXPECT_EQ(second->findMember(L"Own"), nullptr);
    EXPECT_EQ(valueOf(effectManager.findEffect(L"Fallback")), 0);
    EXPECT_EQ(seven->getRefCount(), 3);  // the effectManager and both bundles
    EXPECT_EQ(effectManager.getEffects().size(), 4u);

    // Reloading merges the permutation's macros again without growing the list.
    ASSERT_TRUE(seven->reload());
    EXPECT_EQ(valueOf(seven), 7);
    EXPECT_EQ(seven->getMacros().toText(L'_', L'_'), L"Y_1_VALUE_7");
}

}  // namespace
}  // namespace rendertest
