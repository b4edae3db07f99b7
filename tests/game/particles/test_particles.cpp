// Particles and emitters: emission by rate, limit and spawn multiplier, lifetimes, circles, paths
// (the three modes, a template's own path, wave paths), which file's template wins, copies of
// templates defined further down, the runtime's rand picking a particle's animation, and live
// particles sharing their animation's frames.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/render/Texture2DAnimation.h"
#include "engine/render/TextureSettings.h"
#include "port/crt/crt.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/look/StyleFiles.h"
#include "tests/game/particles/ParticleFiles.h"

namespace Solitaire {
namespace {

using particletest::ParticleTest;

constexpr wchar_t kSpark[] = L"<PARTIKEL_VORLAGE NAME=\"SPARK\" LIFETIME=\"10\" SPEED=\"10\"/>";

struct EmissionCase {
    wchar_t const* what;
    wchar_t const* keys;    // the emitter's attributes
    float multiplier;       // the style settings' "PARTIKEL_SPAWN_MULT"
    std::size_t particles;  // live after one second
    std::size_t emitters;   // live after one second
};

class Emission : public ParticleTest, public ::testing::WithParamInterface<EmissionCase> {};

TEST_P(Emission, CountsStepsAndSpawnsWithinTheLimit) {
    EmissionCase const& c = GetParam();
    load(std::wstring(kSpark) + L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" " + c.keys +
         L"><PARTIKEL>\"|SPARK|\"</PARTIKEL></EMITTER_VORLAGE>");
    StyleSettings::instance().setParticleSpawnMult(c.multiplier);
    ASSERT_NE(manager().spawn(L"E", {0.0f, 0.0f}), nullptr);
    run(20, 0.0501f);  // just over a second, off the step boundaries
    EXPECT_EQ(particles(), c.particles);
    EXPECT_EQ(emitters(), c.emitters);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Emission,
    ::testing::Values(
        EmissionCase{L"rate 10 limit 5: five particles, then finished", L"PPS=\"10\" MAXPARTIKEL=\"5\"", 1.0f, 5, 0},
        EmissionCase{L"multiplier 0 counts five steps but shows nothing", L"PPS=\"10\" MAXPARTIKEL=\"5\"", 0.0f, 0, 0},
        EmissionCase{L"a multiplier above 1 counts as 1", L"PPS=\"10\" MAXPARTIKEL=\"5\"", 7.0f, 5, 0},
        EmissionCase{L"a negative multiplier counts as 0", L"PPS=\"10\" MAXPARTIKEL=\"5\"", -3.0f, 0, 0},
        EmissionCase{L"rate 0 emits nothing and the update returns", L"PPS=\"0\" MAXPARTIKEL=\"5\"", 1.0f, 0, 1},
        EmissionCase{L"a negative rate emits nothing", L"PPS=\"-4\"", 1.0f, 0, 1},
        EmissionCase{L"no limit and a negative lifetime emit on", L"PPS=\"10\"", 1.0f, 10, 1},
        EmissionCase{L"a huge rate is bounded per update", L"PPS=\"1e30\"", 1.0f,
                     20 * SolPartikelEmitter::kMaxStepsPerUpdate, 1}));

TEST_F(ParticleTest, ParticlesDieWithinTheirLifetimes) {
    load(L"<PARTIKEL_VORLAGE NAME=\"SHORT\" LIFETIME=\"0.2 0.4\"/>"
         L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"1000\" MAXPARTIKEL=\"3\"><PARTIKEL>\"|SHORT|\"</PARTIKEL>"
         L"</EMITTER_VORLAGE>");
    manager().spawn(L"E", {0.0f, 0.0f});
    run(5, 0.01f);
    ASSERT_EQ(particles(), 3u);
    for (SolPartikel const* p : manager().liveParticles()) {
        EXPECT_GE(p->getLifetime(), 0.2f);
        EXPECT_LE(p->getLifetime(), 0.4f);
    }
    run(10, 0.01f);
    EXPECT_EQ(particles(), 3u);  // the shortest life is 0.2 s
    run(40, 0.01f);
    EXPECT_EQ(particles(), 0u);
}

TEST_F(ParticleTest, LifetimeZeroEndsAfterTheFirstUpdateWithoutDividingByIt) {
    load(L"<PARTIKEL_VORLAGE NAME=\"FLASH\" LIFETIME=\"0\"/>"
         L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"0\" PPS=\"1000\"><PARTIKEL>\"|FLASH|\"</PARTIKEL></EMITTER_VORLAGE>");
    SolPartikel* emitter = manager().spawn(L"E", {0.0f, 0.0f});
    ASSERT_NE(emitter, nullptr);
    EXPECT_EQ(emitter->lifeFraction(), 1.0f);
    run(1, 0.01f);
    EXPECT_EQ(emitters(), 0u);
    EXPECT_EQ(particles(), 0u);
}

TEST_F(ParticleTest, CircleEntrySpreadsItsParticlesEvenly) {
    load(L"<PARTIKEL_VORLAGE NAME=\"DOT\" LIFETIME=\"10\" SPEED=\"10\"/>"
         L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"100\" MAXPARTIKEL=\"8\">"
         L"<VORLAGE NAME=\"DOT\" CIRCLE=\"1\" MAX_ANZ=\"8\"/></EMITTER_VORLAGE>");
    manager().spawn(L"E", {0.0f, 0.0f});
    run(10, 0.02f);
    ASSERT_EQ(particles(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        D3DXVECTOR2 const v = manager().liveParticles()[i]->getVelocity();
        float const angle = std::atan2(v.y, v.x) * 180.0f / 3.14159265f;
        float const expected = static_cast<float>((i + 1) * 45 % 360);
        EXPECT_NEAR(std::remainder(angle - expected, 360.0f), 0.0f, 0.01f) << i;
    }
}

struct CircleLimitCase {
    wchar_t const* limit;
    std::size_t particles;
};

class CircleLimit : public ParticleTest, public ::testing::WithParamInterface<CircleLimitCase> {};

// A circle without a positive limit has no angle step: no division by it, no NaN direction.
TEST_P(CircleLimit, HasFiniteDirections) {
    load(std::wstring(L"<PARTIKEL_VORLAGE NAME=\"DOT\" LIFETIME=\"10\" SPEED=\"10\"/>"
                      L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"100\" MAXPARTIKEL=\"4\">"
                      L"<VORLAGE NAME=\"DOT\" CIRCLE=\"1\" MAX_ANZ=\"") +
         GetParam().limit + L"\"/></EMITTER_VORLAGE>");
    manager().spawn(L"E", {0.0f, 0.0f});
    run(10, 0.02f);
    EXPECT_EQ(particles(), GetParam().particles);
    for (SolPartikel const* p : manager().liveParticles()) {
        EXPECT_TRUE(std::isfinite(p->getVelocity().x) && std::isfinite(p->getVelocity().y));
    }
}

INSTANTIATE_TEST_SUITE_P(Table, CircleLimit,
                         ::testing::Values(CircleLimitCase{L"0", 0}, CircleLimitCase{L"0.5", 0},
                                           CircleLimitCase{L"-1", 4}, CircleLimitCase{L"1e20", 4}));

TEST_F(ParticleTest, FirstFileWins) {
    load(L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"100\" MAXPARTIKEL=\"2\"><PARTIKEL>\"|P|\"</PARTIKEL>"
         L"</EMITTER_VORLAGE><PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"10\" SPEED=\"5\"/>",
         L"data\\Level\\Partikel.par");
    load(L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"100\" MAXPARTIKEL=\"7\"><PARTIKEL>\"|P|\"</PARTIKEL>"
         L"</EMITTER_VORLAGE><PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"10\" SPEED=\"50\"/>",
         L"data\\Partikel.par");
    manager().spawn(L"E", {0.0f, 0.0f});
    run(10, 0.02f);
    ASSERT_EQ(particles(), 2u);
    D3DXVECTOR2 const v = manager().liveParticles()[0]->getVelocity();
    EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y), 5.0f, 0.001f);
}

TEST_F(ParticleTest, AnEmitterEmittingItselfStopsAtTheLiveCap) {
    load(L"<EMITTER_VORLAGE NAME=\"SELF\" LIFETIME=\"-1\" PPS=\"50\"><PARTIKEL>\"|SELF|\"</PARTIKEL></EMITTER_VORLAGE>");
    manager().spawn(L"SELF", {0.0f, 0.0f});
    run(30, 0.05f);
    EXPECT_EQ(emitters() + particles(), SolPartikelManager::kMaxLive);
    EXPECT_EQ(manager().spawn(L"SELF", {0.0f, 0.0f}), nullptr);  // full: refused, not grown
}

TEST_F(ParticleTest, FlyingEffectEndsAtItsEndPoint) {
    load(L"<EMITTER_VORLAGE NAME=\"FLY\" LIFETIME=\"1\" PPS=\"0\"/>");
    SolPartikel* fly = manager().spawnFlying(L"FLY", {0.0f, 0.0f}, {100.0f, 0.0f}, 0.25f, 2);
    ASSERT_NE(fly, nullptr);
    fly->addRef();
    float maxOff = 0.0f;
    for (int i = 0; i < 11; ++i) {  // the last update places it at 0.999 of its life, then ends it
        manager().update(0.0999f, -1);
        maxOff = std::fmax(maxOff, std::fabs(fly->getPosition().y));
    }
    EXPECT_NEAR(fly->getPosition().x, 100.0f, 1.0f);
    EXPECT_GT(maxOff, 1.0f);  // it waved on the way
    EXPECT_EQ(emitters(), 0u);
    fly->release();
}

struct PathCase {
    int mode;
    float x;  // after five updates of 0.1 s along a straight path from (0, 0) to (100, 0)
};

class PathModes : public ParticleTest, public ::testing::WithParamInterface<PathCase> {};

// The path's point at the fraction of life is the position (from the start offset, not the start
// point), the velocity or the gravitation (added to their start values); other modes count as 0.
TEST_P(PathModes, MoveByTheirPathPoint) {
    load(L"<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"1\"/>");
    SolPartikel* p = manager().findParticleTemplate(L"P")->clone();
    p->start({1000.0f, 0.0f}, nullptr);
    p->setWave(makeWaveSpline({0.0f, 0.0f}, {100.0f, 0.0f}, 0.0f, 1), GetParam().mode);
    for (int i = 0; i < 5; ++i) p->update(0.1f);
    EXPECT_NEAR(p->getPosition().x, GetParam().x, 0.01f);
    EXPECT_NEAR(p->getPosition().y, 0.0f, 0.01f);
    p->release();
}

INSTANTIATE_TEST_SUITE_P(Table, PathModes,
                         ::testing::Values(PathCase{0, 40.0f},     // the point at 0.4 of the way
                                           PathCase{1, 1010.0f},   // velocities 0, 10, .. 40
                                           PathCase{2, 1002.0f},   // gravitations 0, 10, .. 40
                                           PathCase{7, 40.0f}));

struct OwnPathCase {
    wchar_t const* spline;
    float x, y;  // after five updates of 0.1 s of a particle started at (5, 5) with speed 10 along x
};

class OwnPath : public ParticleTest, public ::testing::WithParamInterface<OwnPathCase> {};

// A template's own path is followed from its start offset (copies share it); one without points or
// with a refused value is refused and the particle moves by its velocity.
TEST_P(OwnPath, IsFollowedOrRefused) {
    load(std::wstring(L"<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"1\" SPEED=\"10\">") + GetParam().spline +
         L"</PARTIKEL_VORLAGE><PARTIKEL_VORLAGE NAME=\"COPY\" VORLAGE=\"P\"/>");
    for (wchar_t const* name : {L"P", L"COPY"}) {
        SolPartikel* p = manager().findParticleTemplate(name)->clone();
        p->start({5.0f, 5.0f}, nullptr);
        for (int i = 0; i < 5; ++i) p->update(0.1f);
        EXPECT_NEAR(p->getPosition().x, GetParam().x, 0.01f);
        EXPECT_NEAR(p->getPosition().y, GetParam().y, 0.01f);
        p->release();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, OwnPath,
    ::testing::Values(OwnPathCase{L"<SPLINE><CONTROLPOINT POSITION=\"0 0 0\"/><CONTROLPOINT POSITION=\"0 50 0\"/>"
                                  L"</SPLINE>",
                                  0.0f, 20.0f},
                      OwnPathCase{L"<SPLINE/>", 10.0f, 5.0f},
                      OwnPathCase{L"<SPLINE><CONTROLPOINT POSITION=\"0 0 0\"/><CONTROLPOINT POSITION=\"nan\"/></SPLINE>",
                                  10.0f, 5.0f}));

struct WaveCase {
    D3DXVECTOR2 start, end;
    float amplitude;
    int frequency;
    std::size_t points;  // null path: 0
};

class WavePaths : public ::testing::TestWithParam<WaveCase> {};

// Eight points per half wave and the end point; finite points along it whatever the input.
TEST_P(WavePaths, AreBoundedAndFinite) {
    WaveCase const& c = GetParam();
    std::shared_ptr<WavePath const> const path = makeWaveSpline(c.start, c.end, c.amplitude, c.frequency);
    if (c.points == 0) {
        EXPECT_EQ(path, nullptr);
        return;
    }
    ASSERT_NE(path, nullptr);
    EXPECT_EQ(path->points().size(), c.points);
    for (float const t : {0.0f, 0.3f, 0.77f, 1.0f, 2.0f, std::nanf("")}) {
        D3DXVECTOR2 const p = path->pointAt(t);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << t;
    }
    EXPECT_EQ(path->pointAt(1.0f).x, c.end.x);
}

float const kNaN = std::nanf("");
INSTANTIATE_TEST_SUITE_P(
    Table, WavePaths,
    ::testing::Values(WaveCase{{0, 0}, {100, 0}, 0.25f, 2, 17}, WaveCase{{0, 0}, {100, 0}, 0.25f, 0, 2},
                      WaveCase{{0, 0}, {100, 0}, 0.25f, -3, 2},
                      WaveCase{{0, 0}, {100, 0}, 0.25f, 1000, 8 * SolPartikel::kMaxWaveFrequency + 1},
                      WaveCase{{5, 5}, {5, 5}, 0.25f, 2, 17}, WaveCase{{0, 0}, {100, 0}, kNaN, 2, 17},
                      WaveCase{{0, 0}, {100, 0}, 3e38f, 2, 17}, WaveCase{{-3e38f, 0}, {3e38f, 0}, 1.0f, 2, 17},
                      WaveCase{{kNaN, 0}, {100, 0}, 0.25f, 2, 0}));

TEST_F(ParticleTest, AnEntryPathLeadsItsParticlesToItsEndArea) {
    load(L"<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"1\"/><EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"1000\" "
         L"MAXPARTIKEL=\"3\"><VORLAGE NAME=\"P\"><SPLINE START=\"10 20\" END=\"110 20 130 20\" AMP=\"0.5\" FREQ=\"3\"/>"
         L"</VORLAGE></EMITTER_VORLAGE>");
    manager().spawn(L"E", {-500.0f, -500.0f});
    run(1, 0.01f);
    ASSERT_EQ(particles(), 3u);
    run(98, 0.01f);  // the particles are 0.98 s old
    for (SolPartikel const* p : manager().liveParticles()) {
        EXPECT_GT(p->getPosition().x, 105.0f);
        EXPECT_LT(p->getPosition().x, 135.0f);
        EXPECT_NEAR(p->getPosition().y, 20.0f, 3.0f);
    }
}

TEST_F(ParticleTest, AnEntryThatRemovesOthersIsTheOnlyOneAfterItsFirstSpawn) {
    load(L"<PARTIKEL_VORLAGE NAME=\"A\" LIFETIME=\"10\"/><PARTIKEL_VORLAGE NAME=\"B\" LIFETIME=\"10\"/>"
         L"<PARTIKEL_VORLAGE NAME=\"C\" LIFETIME=\"10\"/><EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"100\" "
         L"MAXPARTIKEL=\"60\"><VORLAGE NAME=\"A\"/><VORLAGE NAME=\"B\" REMOVE_OTHERS=\"1\"/><VORLAGE NAME=\"C\"/>"
         L"</EMITTER_VORLAGE>");
    manager().spawn(L"E", {0.0f, 0.0f});
    run(40, 0.02f);
    ASSERT_EQ(particles(), 60u);
    bool seen = false;
    for (SolPartikel const* p : manager().liveParticles()) {
        if (seen) EXPECT_EQ(p->getName(), L"B");
        seen = seen || p->getName() == L"B";
    }
    EXPECT_TRUE(seen);
}

TEST_F(ParticleTest, AnEmitterStartedDuringTheUpdateIsUpdatedInTheSamePass) {
    load(L"<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"10\"/><EMITTER_VORLAGE NAME=\"CHILD\" LIFETIME=\"-1\" PPS=\"1000\" "
         L"MAXPARTIKEL=\"1\"><PARTIKEL>\"|P|\"</PARTIKEL></EMITTER_VORLAGE><EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" "
         L"PPS=\"1000\" MAXPARTIKEL=\"1\"><PARTIKEL>\"|CHILD|\"</PARTIKEL></EMITTER_VORLAGE>");
    manager().spawn(L"E", {0.0f, 0.0f});
    run(1, 0.01f);
    EXPECT_EQ(particles(), 1u);  // the child emitter emitted in the pass that started it
    EXPECT_EQ(emitters(), 0u);   // both reached their limit
}

// A "VORLAGE" copies its template wherever that stands in the file: before, after, or at the
// end of a chain defined backwards. Each emitter emits three particles of speed 5 when its copy
// worked, none otherwise.
struct CopyCase {
    char const* what;
    wchar_t const* file;
};

class TemplateCopies : public ParticleTest, public ::testing::WithParamInterface<CopyCase> {};

TEST_P(TemplateCopies, FindTheirTemplateWhereverItStands) {
    logtest::LogWatch log;
    load(GetParam().file);
    EXPECT_TRUE(log.errors().empty()) << GetParam().what;
    ASSERT_NE(manager().spawn(L"USER", {0.0f, 0.0f}), nullptr) << GetParam().what;
    run(10, 0.02f);
    ASSERT_EQ(particles(), 3u) << GetParam().what;
    D3DXVECTOR2 const v = manager().liveParticles()[0]->getVelocity();
    EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y), 5.0f, 0.001f) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TemplateCopies,
    ::testing::Values(
        CopyCase{"emitter before its emitter template",
                 L"<EMITTER_VORLAGE NAME=\"USER\" VORLAGE=\"BASE\"/>"
                 L"<EMITTER_VORLAGE NAME=\"BASE\" LIFETIME=\"-1\" PPS=\"100\" MAXPARTIKEL=\"3\"><PARTIKEL>\"|P|\"</PARTIKEL>"
                 L"</EMITTER_VORLAGE><PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"10\" SPEED=\"5\"/>"},
        CopyCase{"particle before its particle template",
                 L"<EMITTER_VORLAGE NAME=\"USER\" LIFETIME=\"-1\" PPS=\"100\" MAXPARTIKEL=\"3\"><PARTIKEL>\"|Q|\"</PARTIKEL>"
                 L"</EMITTER_VORLAGE><PARTIKEL_VORLAGE NAME=\"Q\" VORLAGE=\"P\"/>"
                 L"<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"10\" SPEED=\"5\"/>"},
        CopyCase{"a chain defined backwards",
                 L"<EMITTER_VORLAGE NAME=\"USER\" VORLAGE=\"MITTE\"/><EMITTER_VORLAGE NAME=\"MITTE\" VORLAGE=\"BASE\"/>"
                 L"<EMITTER_VORLAGE NAME=\"BASE\" LIFETIME=\"-1\" PPS=\"100\" MAXPARTIKEL=\"3\"><PARTIKEL>\"|Q|\"</PARTIKEL>"
                 L"</EMITTER_VORLAGE><PARTIKEL_VORLAGE NAME=\"Q\" VORLAGE=\"P\"/>"
                 L"<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"10\" SPEED=\"5\"/>"},
        CopyCase{"an emitter copying a particle template further down",
                 L"<EMITTER_VORLAGE NAME=\"USER\" VORLAGE=\"FLUG\" PPS=\"100\" MAXPARTIKEL=\"3\"><PARTIKEL>\"|P|\"</PARTIKEL>"
                 L"</EMITTER_VORLAGE><PARTIKEL_VORLAGE NAME=\"FLUG\" LIFETIME=\"-1\"/>"
                 L"<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"10\" SPEED=\"5\"/>"}),
    [](auto const& info) { return "case" + std::to_string(info.index); });

// The animation of a particle with several is picked by the runtime's rand (the port's generator,
// which the game seeds), not by the C library's.
TEST_F(ParticleTest, TheRuntimesRandPicksTheAnimation) {
    styletest::addSourceSearchPath();
    Orvex::TextureModuleSettings::get().suspendOnLoad = true;
    load(L"<ANIMATIONEN FILE=\"data\\Particles\\partikel.ani\"/>"
         L"<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"1\"><ANIMATIONEN>\"|SPARK|\" \"|GLOW|\"</ANIMATIONEN>"
         L"</PARTIKEL_VORLAGE>");
    Orvex::TextureModuleSettings::get() = Orvex::TextureModuleSettings();
    wchar_t const* const names[] = {L"SPARK", L"GLOW"};
    for (unsigned seed = 1; seed <= 24; ++seed) {
        msvc::srand(seed);
        std::wstring const expected = names[msvc::rand() % 2];
        SolPartikel* particle = manager().findParticleTemplate(L"P")->clone();
        msvc::srand(seed);
        particle->start({0.0f, 0.0f}, nullptr);
        ASSERT_NE(particle->getAnimation(), nullptr);
        EXPECT_EQ(particle->getAnimation()->getName(), expected) << seed;
        particle->release();
    }
}

// An effect of its own kind decides itself when it is over: the manager asks it after each update.
TEST_F(ParticleTest, AnEffectThatEndsByItsOwnRuleIsRemoved) {
    struct Countdown : SolPartikel {
        int frames = 3;
        void update(float const&) override { --frames; }
        bool isFinished() const override { return frames <= 0; }
    };
    auto* countdown = new Countdown();
    countdown->setForceEnd(-1);  // never by the particle's own rule
    manager().add(countdown);
    run(2, 0.02f);
    EXPECT_EQ(particles(), 1u);
    run(1, 0.02f);
    EXPECT_EQ(particles(), 0u);
}

TEST_F(ParticleTest, UnknownNamesSpawnNothing) {
    load(kSpark);
    EXPECT_EQ(manager().spawn(L"SPARK", {0.0f, 0.0f}), nullptr);  // a particle template, not an emitter
    EXPECT_EQ(manager().spawnOnObject(L"NONE", nullptr), nullptr);
}

struct CurveCase {
    wchar_t const* lifetime;
    float age;
    int alpha;    // the draw colour's alpha byte
    float scale;  // the draw size's factor
};

class LifeCurves : public ParticleTest, public ::testing::WithParamInterface<CurveCase> {};

// Alpha fades from 255 to 0 and the scale grows from 1 to 3 over the life; a lifetime of 0 sits
// at the end of its curves, a negative one at their start.
TEST_P(LifeCurves, FollowTheFractionOfLife) {
    load(std::wstring(L"<PARTIKEL_VORLAGE NAME=\"P\" SIZE=\"10 10\" LIFETIME=\"") + GetParam().lifetime +
         L"\"><COLOR_AT_LIFE><VALUE_DELTATIME VALUE=\"FFFFFFFF\"/><VALUE_DELTATIME VALUE=\"00FFFFFF\" "
         L"DELTA_TIME=\"1\"/></COLOR_AT_LIFE><SCALE_AT_LIFE><VALUE_DELTATIME VALUE=\"1\"/>"
         L"<VALUE_DELTATIME VALUE=\"3 3\" DELTA_TIME=\"1\"/></SCALE_AT_LIFE></PARTIKEL_VORLAGE>");
    SolPartikel* p = manager().findParticleTemplate(L"P")->clone();
    p->start({0.0f, 0.0f}, nullptr);
    p->update(GetParam().age);
    EXPECT_NEAR(static_cast<int>(p->packedColour() >> 24), GetParam().alpha, 1);
    EXPECT_NEAR(p->drawSize().x, 10.0f * GetParam().scale, 0.01f);
    p->release();
}

INSTANTIATE_TEST_SUITE_P(Table, LifeCurves,
                         ::testing::Values(CurveCase{L"2", 0.5f, 191, 1.5f}, CurveCase{L"2", 1.0f, 128, 2.0f},
                                           CurveCase{L"0", 0.1f, 0, 3.0f}, CurveCase{L"-1", 5.0f, 255, 1.0f}));

// Frame after frame: a curve shorter than the life stays at its end once passed, and a particle
// that lives until it is ended stays at its curve's start (the curves are placed again only
// when the fraction moves them).
TEST_F(ParticleTest, LifeCurvesHoldTheirPlaceOverManyFrames) {
    load(L"<PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"2\"><COLOR_AT_LIFE><VALUE_DELTATIME VALUE=\"FFFFFFFF\"/>"
         L"<VALUE_DELTATIME VALUE=\"00FFFFFF\" DELTA_TIME=\"0.5\"/></COLOR_AT_LIFE></PARTIKEL_VORLAGE>"
         L"<PARTIKEL_VORLAGE NAME=\"Q\" VORLAGE=\"P\" LIFETIME=\"-1\"/>");
    SolPartikel* finite = manager().findParticleTemplate(L"P")->clone();
    SolPartikel* endless = manager().findParticleTemplate(L"Q")->clone();
    finite->start({0.0f, 0.0f}, nullptr);
    endless->start({0.0f, 0.0f}, nullptr);
    int const alphas[] = {191, 128, 64, 0, 0, 0, 0, 0};  // fractions 0.125 .. 1 of a curve ending at 0.5
    for (int alpha : alphas) {
        finite->update(0.25f);
        endless->update(0.25f);
        EXPECT_NEAR(static_cast<int>(finite->packedColour() >> 24), alpha, 1) << finite->getAge();
        EXPECT_EQ(endless->packedColour() >> 24, 255u) << endless->getAge();
    }
    finite->release();
    endless->release();
}

}  // namespace
}  // namespace Solitaire

namespace Solitaire {
namespace {

// Every live particle plays a copy of its animation of its own: each shows the registry's one
// frame table. 4,096 live particles of an animation of 16,384 frames took 6.5 GB before.
TEST_F(ParticleTest, LiveParticlesShareTheirAnimationsFrames) {
    Orvex::XMLNode list;
    ASSERT_TRUE(list.loadFromText(L"<LISTE><ANIMATION_2D NAME=\"GROSS\" ANIMSPEED=\"1\"><FRAME FRAME_SIZE=\"2 2\"/>"
                                  L"<ORDER>\"|16384 x 0|\"</ORDER></ANIMATION_2D></LISTE>"));
    Orvex::Texture2DAnimationManager::instance().load(list, L"gross.ani");
    Orvex::Texture2DAnimation* source = Orvex::Texture2DAnimationManager::instance().findAnimation(L"GROSS");
    ASSERT_NE(source, nullptr);
    ASSERT_EQ(source->getFrameCount(), Orvex::Texture2DAnimation::kMaxFrames);
    load(L"<PARTIKEL_VORLAGE NAME=\"P\" ANIMATION=\"GROSS\" LIFETIME=\"10\"/>"
         L"<EMITTER_VORLAGE NAME=\"E\" LIFETIME=\"-1\" PPS=\"1000\" MAXPARTIKEL=\"8\"><PARTIKEL>\"|P|\"</PARTIKEL>"
         L"</EMITTER_VORLAGE>");
    manager().spawn(L"E", {0.0f, 0.0f});
    run(5, 0.01f);
    ASSERT_EQ(particles(), 8u);
    std::vector<Orvex::Texture2DAnimation*> seen;
    for (SolPartikel* particle : manager().liveParticles()) {
        Orvex::Texture2DAnimation* animation = particle->getAnimation();
        ASSERT_NE(animation, nullptr);
        EXPECT_EQ(&animation->getFrames(), &source->getFrames());
        EXPECT_TRUE(animation->isPlaying());
        EXPECT_EQ(std::count(seen.begin(), seen.end(), animation), 0);
        seen.push_back(animation);
    }
    EXPECT_FALSE(source->isPlaying());
}

}  // namespace
}  // namespace Solitaire
