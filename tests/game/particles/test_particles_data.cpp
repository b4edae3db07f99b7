// The shipped particle file: every effect a card set names has its emitter, the card game's
// effects start from it, and broken particle files are refused with one log line.
#include <cmath>
#include <cwchar>
#include <string>

#include "engine/render/SpriteRect.h"
#include "game/look/Kartenset.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/look/StyleFiles.h"
#include "tests/game/particles/ParticleFiles.h"
#include "tests/support/TestSupport.h"

namespace Solitaire {
namespace {

using particletest::ParticleTest;

void loadShipped() {
    styletest::addSourceSearchPath();
    Orvex::XMLNode root;
    ASSERT_TRUE(root.load((testsupport::sourceDir() / "data" / "Partikel.par").wstring()));
    SolPartikelManager::instance().loadTemplates(root, L"data\\Partikel.par");
}

TEST_F(ParticleTest, EveryCardSetEffectHasAShippedEmitter) {
    loadShipped();
    Kartenset const set(L"default");
    for (std::wstring const* name :
         {&set.tipEmitter, &set.toGoalEmitter, &set.movedEmitter, &set.moveEmitter, &set.addPointsEmitter,
          &set.removePointsEmitter, &set.addMultiplierEmitter, &set.removeMultiplierEmitter, &set.addComboEmitter,
          &set.endComboEmitter, &set.maxComboEmitter, &set.extraCardExposedEmitter, &set.shuffleEmitter})
        EXPECT_NE(manager().findEmitterTemplate(*name), nullptr) << std::string(name->begin(), name->end());
}

struct EffectCase {
    std::wstring Kartenset::*name;
    bool flying;
};

class ShippedEffect : public ParticleTest, public ::testing::WithParamInterface<EffectCase> {};

// The hint, goal, combo and multiplier effects start and put particles on the table.
TEST_P(ShippedEffect, StartsAndShowsParticles) {
    loadShipped();
    Kartenset const set(L"default");
    std::wstring const& name = set.*GetParam().name;
    SolPartikel* effect = GetParam().flying
                              ? manager().spawnFlying(name, {0.0f, 0.0f}, {300.0f, 200.0f}, 0.25f, 2)
                              : manager().spawn(name, {100.0f, 100.0f});
    ASSERT_NE(effect, nullptr);
    run(10, 0.03f);
    EXPECT_GT(particles(), 0u);
    run(200, 0.03f);  // every shipped effect ends within six seconds
    EXPECT_EQ(particles() + emitters(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Table, ShippedEffect,
                         ::testing::Values(EffectCase{&Kartenset::tipEmitter, false},
                                           EffectCase{&Kartenset::toGoalEmitter, false},
                                           EffectCase{&Kartenset::addComboEmitter, true},
                                           EffectCase{&Kartenset::maxComboEmitter, true},
                                           EffectCase{&Kartenset::endComboEmitter, true},
                                           EffectCase{&Kartenset::addMultiplierEmitter, true},
                                           EffectCase{&Kartenset::removeMultiplierEmitter, true}));

struct BrokenCase {
    wchar_t const* text;
    wchar_t const* named;  // what the one log line names
    wchar_t const* line;   // and the line it names
};

class BrokenParticles : public ParticleTest, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenParticles, LogOneLineAndKeepTheDefaults) {
    logtest::LogWatch watch;
    load(GetParam().text, L"broken.par");
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"broken.par"));
    EXPECT_TRUE(logtest::contains(errors[0], GetParam().named)) << std::string(errors[0].begin(), errors[0].end());
    EXPECT_TRUE(logtest::contains(errors[0], GetParam().line)) << std::string(errors[0].begin(), errors[0].end());
    SolPartikelEmitter const* emitter = manager().findEmitterTemplate(L"E");
    ASSERT_NE(emitter, nullptr);
    for (SolPartikelEmitter::SpawnEntry const& entry : emitter->getEntries()) EXPECT_EQ(entry.limit, -1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BrokenParticles,
    ::testing::Values(
        BrokenCase{L"<EMITTER_VORLAGE NAME=\"E\"><VORLAGE NAME=\"P\" MAX_ANZ=\"1e20\"/></EMITTER_VORLAGE>", L"MAX_ANZ",
                   L"line 1"},
        BrokenCase{L"<EMITTER_VORLAGE NAME=\"E\">\n<VORLAGE NAME=\"P\" MAX_ANZ=\"-3e9\"/></EMITTER_VORLAGE>", L"MAX_ANZ",
                   L"line 2"},
        BrokenCase{L"\n<EMITTER_VORLAGE NAME=\"E\" MAXPARTIKEL=\"5e12\"/>", L"MAXPARTIKEL", L"line 2"},
        BrokenCase{L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"1e39\"/>", L"LIFETIME", L"line 1"},
        BrokenCase{L"<EMITTER_VORLAGE NAME=\"E\" SPEED=\"1 1e300\"/>", L"SPEED", L"line 1"},
        BrokenCase{L"<EMITTER_VORLAGE NAME=\"E\"><VORLAGE NAME=\"P\"><SPLINE FREQ=\"100000000\"/>"
                   L"</VORLAGE></EMITTER_VORLAGE>",
                   L"FREQ", L"line 1"},
        BrokenCase{L"<EMITTER_VORLAGE NAME=\"E\">\n\n<SPLINE><CONTROLPOINT POSITION=\"0 nan\"/></SPLINE></EMITTER_VORLAGE>",
                   L"SPLINE", L"line 3"},
        BrokenCase{L"<EMITTER_VORLAGE NAME=\"E\">\n<SPLINE LOOP=\"1\"/></EMITTER_VORLAGE>", L"SPLINE", L"line 2"},
        // Copies that name nothing, or lead back to the template itself.
        BrokenCase{L"\n<EMITTER_VORLAGE NAME=\"E\" VORLAGE=\"NIRGENDS\"/>", L"NIRGENDS", L"line 2"},
        BrokenCase{L"<EMITTER_VORLAGE NAME=\"E\" VORLAGE=\"E\"/>", L"leads back", L"line 1"},
        BrokenCase{L"<PARTIKEL_VORLAGE NAME=\"A\" VORLAGE=\"B\"/>\n<PARTIKEL_VORLAGE NAME=\"B\" VORLAGE=\"A\"/>"
                   L"<EMITTER_VORLAGE NAME=\"E\"/>",
                   L"leads back", L"line 2"}));

// A particle's size, place, turn and turning centre, its scale over its life, and an emitter path's
// ends and amplitude: 3e38 drew the particle past a float and 1e7 was taken, with no line. Past
// Orvex::kMaxMeasure a list is refused with its line and keeps its default; every particle the
// emitter gives is drawn finitely.
TEST_F(ParticleTest, SizesPlacesAndScalesPastTheBoundAreRefusedAndDrawnFinitely) {
    struct Row {
        wchar_t const* particle;  // the particle template's keys and children, on line 2
        wchar_t const* entry;     // the emitter entry's children, on line 3
        wchar_t const* refused;
    } const rows[] = {
        {L"SIZE=\"3e38\"", L"", L"\"SIZE\" \"3e38\" is not a list of numbers within -1e+06..1e+06"},
        {L"SIZE=\"1 1e7\"", L"", L"\"SIZE\" \"1 1e7\" is not a list of numbers within"},
        {L"POSITION=\"0 0 -3e38 3e38\"", L"", L"\"POSITION\" \"0 0 -3e38 3e38\" is not a list of numbers within"},
        {L"ROTATION_CENTER=\"0.5 1e30\"", L"", L"\"ROTATION_CENTER\" \"0.5 1e30\" is not a list of numbers within"},
        {L"ROTATION=\"-3e38\"", L"", L"\"ROTATION\" \"-3e38\" is not a list of numbers within"},
        {L"><SCALE_AT_LIFE VALUE=\"3e38\"/></PARTIKEL_VORLAGE", L"",
         L"\"VALUE\" \"3e38\" is not a list of numbers within -1e+06..1e+06"},
        {L"", L"<SPLINE START=\"0 0\" END=\"3e38 0\"/>", L"\"END\" \"3e38 0\" is not a list of numbers within"},
        {L"", L"<SPLINE START=\"0 0\" END=\"100 0\" AMP=\"1e30\"/>", L"\"AMP\" \"1e30\" is not a number within"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.particle, row.particle + std::wcslen(row.particle)) +
                     std::string(row.entry, row.entry + std::wcslen(row.entry)));
        manager().clear();
        logtest::LogWatch watch;
        std::wstring const keys = row.particle;
        std::wstring particle = L"\n<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"10\" " +
                                std::wstring(keys.find(L"SIZE=") == std::wstring::npos ? L"SIZE=\"20\" " : L"") + keys;
        if (particle.back() != L'E') particle += L"/";
        load(particle + L">\n<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"100\" MAXPARTIKEL=\"5\"><VORLAGE NAME=\"P\">" +
             row.entry + L"</VORLAGE></EMITTER_VORLAGE>", L"broken.par");
        auto const errors = watch.errors();
        EXPECT_TRUE(errors.size() == 1 && logtest::contains(errors[0], L"broken.par") &&
                    logtest::contains(errors[0], row.refused))
            << errors.size() << " lines" << (errors.empty() ? std::string() : ", the first: " + std::string(errors[0].begin(), errors[0].end()));
        ASSERT_NE(manager().spawn(L"E", {100.0f, 100.0f}), nullptr);
        run(10, 0.05f);
        ASSERT_GT(particles(), 0u);
        for (SolPartikel* p : manager().liveParticles()) {
            Orvex::SpriteRect const q = p->getScreenQuad();
            EXPECT_TRUE(std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.w) && std::isfinite(q.h) &&
                        std::isfinite(q.rotation))
                << q.x << " " << q.y << " " << q.w << " " << q.h << " " << q.rotation;
        }
    }
}

}  // namespace
}  // namespace Solitaire
