// The "FX_" console commands through the console, reload signals, recovery of an effect whose
// reload failed, and the compiled-effect cache.
#include <filesystem>

#include "engine/core/AppInfo.h"
#include "engine/core/Console.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/render/RenderFixture.h"
#include "tests/support/TestSupport.h"

using Orvex::Effect;

namespace rendertest {
namespace {

struct ReloadCounter : sigslot::has_slots<> {
    int count = 0;
    void onReloaded(Effect&) { ++count; }
};

D3DXVECTOR4 colourOf(Effect* effect) {
    D3DXVECTOR4 colour(-1, -1, -1, -1);
    if (effect && effect->getD3DXEffect()) effect->getD3DXEffect()->GetVector("g_Colour", &colour);
    return colour;
}

std::wstring run(std::wstring const& line) { return Orvex::Console::getInstance().execute(line); }

class EffectConsoleTest : public RenderFixture {
protected:
    void SetUp() override {
        RenderFixture::SetUp();
        std::filesystem::remove_all(cacheFolder());
    }
    void loadTwo() {
        write("a.fx", flatEffect("float4(1.0, 0.0, 0.0, 1.0)"));
        write("b.fx", flatEffect("float4(0.0, 1.0, 0.0, 1.0)"));
        Orvex::XMLNode list = parse(L"<L>" + definition(L"Alpha", "a.fx") + definition(L"Beta", "b.fx") +
                                    definition(L"Alphorn", "a.fx") + L"</L>");
        effectManager.loadEffects(list);
        ASSERT_EQ(effectManager.getEffects().size(), 3u);
    }
    std::filesystem::path cacheFolder() const {
        return port::hostPath(Orvex::AppInfo::getInstance().getUserFolder() + L"\\FXCache");
    }
};

TEST_F(EffectConsoleTest, ReloadEffectAndReloadAllEffectsRecompileChangedSource) {
    loadTwo();
    Effect* alpha = effectManager.findEffect(L"Alpha");
    ReloadCounter counter;
    alpha->signalReloaded.connect(&counter, &ReloadCounter::onReloaded);
    write("a.fx", flatEffect("float4(0.0, 0.0, 1.0, 1.0)"));

    EXPECT_EQ(run(L"FX_reloadEffect Alpha"), L"Effekt neu geladen!");
    EXPECT_EQ(colourOf(alpha), D3DXVECTOR4(0, 0, 1, 1));
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(colourOf(effectManager.findEffect(L"Alphorn")), D3DXVECTOR4(1, 0, 0, 1));  // not reloaded

    EXPECT_EQ(run(L"FX_reloadEffect alpha"), L"Effekt nicht gefunden!");  // effect names are exact
    EXPECT_EQ(counter.count, 1);

    write("a.fx", flatEffect("float4(0.5, 0.5, 0.5, 1.0)"));
    write("b.fx", flatEffect("float4(0.25, 0.25, 0.25, 1.0)"));
    EXPECT_EQ(run(L"FX_reloadAllEffects"), L"alle Effekte neu geladen");
    EXPECT_EQ(colourOf(alpha), D3DXVECTOR4(0.5f, 0.5f, 0.5f, 1));
    EXPECT_EQ(colourOf(effectManager.findEffect(L"Beta")), D3DXVECTOR4(0.25f, 0.25f, 0.25f, 1));
    EXPECT_EQ(colourOf(effectManager.findEffect(L"Alphorn")), D3DXVECTOR4(0.5f, 0.5f, 0.5f, 1));
}

TEST_F(EffectConsoleTest, AnEffectWhoseReloadFailedComesBackOnceTheSourceIsMended) {
    loadTwo();
    Effect* beta = effectManager.findEffect(L"Beta");
    ReloadCounter counter;
    beta->signalReloaded.connect(&counter, &ReloadCounter::onReloaded);
    std::string broken = flatEffect();
    broken.replace(broken.find("g_Colour * colour"), 17, "g_Colour * nothing");
    write("b.fx", broken);

    EXPECT_EQ(run(L"FX_reloadEffect Beta"), L"Effekt neu geladen!");
    EXPECT_FALSE(beta->isLoaded());
    EXPECT_EQ(beta->getD3DXEffect(), nullptr);
    std::vector<std::wstring> boxes = takeBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(L"D3DXCreateEffect() schlug fehl"), std::wstring::npos);
    EXPECT_EQ(counter.count, 0);
    EXPECT_EQ(effectManager.findEffect(L"Beta"), beta);  // still listed

    write("b.fx", flatEffect("float4(0.0, 0.0, 1.0, 1.0)"));
    EXPECT_EQ(run(L"FX_reloadEffect Beta"), L"Effekt neu geladen!");
    EXPECT_TRUE(beta->isLoaded());
    EXPECT_EQ(colourOf(beta), D3DXVECTOR4(0, 0, 1, 1));
    EXPECT_EQ(counter.count, 1);
    EXPECT_TRUE(takeBoxes().empty());
}

TEST_F(EffectConsoleTest, ShaderDebuggingRecompilesOnlyOnAChange) {
    loadTwo();
    Effect* alpha = effectManager.findEffect(L"Alpha");
    ReloadCounter counter;
    alpha->signalReloaded.connect(&counter, &ReloadCounter::onReloaded);
    EXPECT_EQ(alpha->getCompileFlags(), static_cast<DWORD>(0x1000));
    EXPECT_EQ(run(L"FX_enableShaderDebugging Alpha 1"), L"Effekt neu kompiliert!");
    EXPECT_TRUE(alpha->getShaderDebugging());
    EXPECT_EQ(alpha->getCompileFlags(), static_cast<DWORD>(0x1005));
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(run(L"FX_enableShaderDebugging Alpha 1"), L"Effekt neu kompiliert!");
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(run(L"FX_enableShaderDebugging Nobody 1"), L"Effekt nicht gefunden!");
    // Too few arguments: the console answers with the help text.
    EXPECT_NE(run(L"FX_enableShaderDebugging Alpha").find(L"Shaderdebugging an/aus"), std::wstring::npos);
}

TEST_F(EffectConsoleTest, EffectNamesCompleteByCaseSensitivePrefix) {
    loadTwo();
    std::vector<std::wstring> offers;
    effectManager.completeArguments(Orvex::TypedConsoleCommand(L"fx_reloadeffect Al"), offers);
    EXPECT_EQ(offers, (std::vector<std::wstring>{L"Alpha", L"Alphorn"}));
    offers.clear();
    effectManager.completeArguments(Orvex::TypedConsoleCommand(L"FX_reloadEffect al"), offers);
    EXPECT_TRUE(offers.empty());
    effectManager.completeArguments(Orvex::TypedConsoleCommand(L"FX_reloadAllEffects A"), offers);
    EXPECT_TRUE(offers.empty());
}

TEST_F(EffectConsoleTest, CompiledCacheIsWrittenReadUntilDeletedAndPurged) {
    Effect::useCompiledCache = 1;
    write("a.fx", flatEffect("float4(1.0, 0.0, 0.0, 1.0)"));
    Orvex::XMLNode list = parse(L"<L>" +
                                definition(L"Cached", "a.fx",
                                           L"<MACROS><MACRO NAME=\"VALUE\" DEFINITION=\"3\" /></MACROS>") +
                                definition(L"Uncached", "a.fx", L"", L" PRE_COMPILE=\"0\"") + L"</L>");
    effectManager.loadEffects(list);
    Effect* cached = effectManager.findEffect(L"Cached");
    ASSERT_NE(cached, nullptr);
    std::filesystem::path file = cacheFolder() / "Cached_a_(VALUE_3).fxo";
    EXPECT_EQ(port::hostPath(cached->getCachePath()), file.string());
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cacheFolder()), {}), 1);  // PRE_COMPILE 0: none

    // The cache has no age check: a changed source is ignored until its file is deleted.
    write("a.fx", flatEffect("float4(0.0, 1.0, 0.0, 1.0)"));
    run(L"FX_reloadEffect Cached");
    EXPECT_EQ(colourOf(cached), D3DXVECTOR4(1, 0, 0, 1));
    EXPECT_EQ(colourOf(effectManager.findEffect(L"Uncached")), D3DXVECTOR4(1, 0, 0, 1));
    run(L"FX_reloadEffect Cached 1");
    EXPECT_EQ(colourOf(cached), D3DXVECTOR4(0, 1, 0, 1));
    ASSERT_TRUE(std::filesystem::exists(file));  // written again

    // "FX_reloadAllEffects 1" does not purge; "FX_reloadAllEffects 0 1" does.
    write("a.fx", flatEffect("float4(0.0, 0.0, 1.0, 1.0)"));
    run(L"FX_reloadAllEffects 1");
    EXPECT_EQ(colourOf(cached), D3DXVECTOR4(0, 1, 0, 1));
    run(L"FX_reloadAllEffects 0 1");
    EXPECT_EQ(colourOf(cached), D3DXVECTOR4(0, 0, 1, 1));
}

TEST_F(EffectConsoleTest, UnusableCacheFileFallsBackToTheSource) {
    Effect::useCompiledCache = 1;
    write("a.fx", flatEffect("float4(0.0, 1.0, 0.0, 1.0)"));
    Orvex::XMLNode list = parse(L"<L>" + definition(L"Damaged", "a.fx") + L"</L>");
    std::filesystem::create_directories(cacheFolder());
    testsupport::writeFile(cacheFolder() / "Damaged_a.fxo", "technique T { pass P { VertexShader = Nothing; } }");
    effectManager.loadEffects(list);
    Effect* effect = effectManager.findEffect(L"Damaged");
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(colourOf(effect), D3DXVECTOR4(0, 1, 0, 1));
    EXPECT_TRUE(takeBoxes().empty());
    // The file was replaced by the good compile.
    EXPECT_NE(testsupport::readFile(cacheFolder() / "Damaged_a.fxo").find("g_Colour"), std::string::npos);
}

TEST_F(EffectConsoleTest, CacheNamesFromDataStayInsideTheCacheFolder) {
    Effect::useCompiledCache = 1;
    write("a.fx", flatEffect());
    Orvex::XMLNode list = parse(L"<L>" +
                                definition(L"..\\..\\Escape", "a.fx",
                                           L"<MACROS><MACRO NAME=\"PATH\" DEFINITION=\"a/b:c\" /></MACROS>") +
                                L"</L>");
    effectManager.loadEffects(list);
    Effect* effect = effectManager.findEffect(L"..\\..\\Escape");
    ASSERT_NE(effect, nullptr);
    EXPECT_TRUE(std::filesystem::exists(cacheFolder() / ".._.._Escape_a_(PATH_a_b_c).fxo"));
}

TEST_F(EffectConsoleTest, WithTheCacheOffNothingIsWritten) {
    write("a.fx", flatEffect());
    Orvex::XMLNode list = parse(L"<L>" + definition(L"Plain", "a.fx") + L"</L>");
    effectManager.loadEffects(list);
    ASSERT_NE(effectManager.findEffect(L"Plain"), nullptr);
    EXPECT_FALSE(std::filesystem::exists(cacheFolder()));
    EXPECT_EQ(run(L"FX_reloadEffect Plain 1"), L"Effekt neu geladen!");
}

}  // namespace
}  // namespace rendertest
