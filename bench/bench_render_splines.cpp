// Spline evaluation speed: placing 52 cards along a spline each frame (distance -> parameter ->
// point), with the default linear entry and with a Catmull-Rom look-ahead frame, and rebuilding
// the tables of a 64-point spline. Reports placements (or rebuilds) per second.
#include <benchmark/benchmark.h>

#include <cmath>

#include "engine/render/Spline.h"

namespace {

constexpr int kCards = 52;

void fill(Orvex::Spline& spline, int count, Orvex::SplineFunction function) {
    auto& points = spline.getControlPoints();
    points.clear();
    for (int i = 0; i < count; ++i) {
        Orvex::SplinePoint p;
        float const a = 3.14159265f * float(i) / float(count - 1);
        p.position[0] = 400.0f + 300.0f * std::cos(a);
        p.position[1] = 300.0f - 200.0f * std::sin(a);
        p.interpolators[0].function = function;
        p.interpolators[0].param = 0.05f;
        points.push_back(p);
    }
    spline.rebuildTables();
}

void placeCards(benchmark::State& state, Orvex::SplineFunction function) {
    Orvex::Spline spline;
    fill(spline, 9, function);
    float const length = spline.getLength();
    for (auto _ : state) {
        for (int card = 0; card < kCards; ++card) {
            float const t = spline.parameterAtDistance(length * float(card) / float(kCards - 1));
            Orvex::SplinePoint const p = spline.getPointAt(t);
            benchmark::DoNotOptimize(p.position[0]);
        }
    }
    state.SetItemsProcessed(state.iterations() * kCards);
}

void BM_SplinePlaceCardsLinear(benchmark::State& state) { placeCards(state, Orvex::splineInterpolateLinear); }
void BM_SplinePlaceCardsCatmullPlus(benchmark::State& state) { placeCards(state, Orvex::splineInterpolateCatmullPlus); }

void BM_SplineRebuildTables(benchmark::State& state) {
    Orvex::Spline spline;
    fill(spline, 64, Orvex::splineInterpolateLinear);
    for (auto _ : state) {
        spline.rebuildTables();
        benchmark::DoNotOptimize(spline.getLength());
    }
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_SplinePlaceCardsLinear);
BENCHMARK(BM_SplinePlaceCardsCatmullPlus);
BENCHMARK(BM_SplineRebuildTables);

}  // namespace

BENCHMARK_MAIN();
