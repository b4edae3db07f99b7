// Particle speed: one frame's update of 2,000 live particles (moving, turning, fading over their
// life; or following wave paths). Their drawing, with animated particles, is measured in the
// table frame of bench_cards_frame.cpp.
#include <benchmark/benchmark.h>

#include "engine/core/XMLNode.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"

namespace {

constexpr int kParticles = 2000;

// With paths, every particle follows its own wave of two half waves (mode 0) over a long life.
void fill(Solitaire::SolPartikelManager& manager, bool paths) {
    manager.clear();
    Orvex::XMLNode root;
    root.loadFromText(
        L"<PARTIKEL_DATEI><PARTIKEL_VORLAGE NAME=\"P\" LIFETIME=\"-1\" SPEED=\"10 50\" DIRECTION=\"0 360\" "
        L"SIZE=\"8 8 16 16\" GRAVITATION=\"0 20\" ROTATION_SPEED=\"-90 90\"><COLOR_AT_LIFE>"
        L"<VALUE_DELTATIME VALUE=\"FFFFFFFF\"/><VALUE_DELTATIME VALUE=\"00FFFFFF\" DELTA_TIME=\"1\"/>"
        L"</COLOR_AT_LIFE></PARTIKEL_VORLAGE><PARTIKEL_VORLAGE NAME=\"Q\" VORLAGE=\"P\" LIFETIME=\"1000\"/>"
        L"</PARTIKEL_DATEI>");
    manager.loadTemplates(root, L"bench.par");
    Solitaire::SolPartikel const* model = manager.findParticleTemplate(paths ? L"Q" : L"P");
    for (int i = 0; i < kParticles; ++i) {
        Solitaire::SolPartikel* particle = model->clone();
        particle->start({512.0f, 384.0f}, nullptr);
        if (paths)
            particle->setWave(Solitaire::makeWaveSpline({0.0f, 0.0f}, {800.0f, 600.0f}, 0.25f, 2),
                                Solitaire::SolPartikel::kPathPosition);
        manager.add(particle);
    }
}

void BM_ParticleFrame(benchmark::State& state) {
    Solitaire::SolPartikelManager& manager = Solitaire::SolPartikelManager::instance();
    fill(manager, state.range(0) != 0);
    for (auto _ : state) {
        manager.update(1.0f / 60.0f, -1);
        benchmark::DoNotOptimize(manager.liveParticles().data());
    }
    state.SetLabel(std::to_string(manager.liveParticles().size()) + (state.range(0) ? " particles on paths" : " particles"));
    manager.clear();
}
BENCHMARK(BM_ParticleFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
