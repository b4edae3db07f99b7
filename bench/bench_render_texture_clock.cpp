// Textures on the texture clock: every texture that suspends itself when idle is connected to
// the clock's one check signal, so a campaign with a preview texture per level puts that many
// connections on it. Measures making N such textures and releasing them again, in making order
// and in the reverse, and one check of the clock with all N connected. No device is needed: the
// textures are never created on one.
// Counters: "usPerTexture" (making and releasing one), "textures".
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/render/Texture2D.h"
#include "engine/render/TextureSettings.h"

namespace {

std::vector<Orvex::Texture2D*> makeTextures(int count) {
    std::vector<Orvex::Texture2D*> textures;
    textures.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        auto* texture = new Orvex::Texture2D(L"Preview" + std::to_wstring(i));
        texture->setAutoSuspend(true, 5000);
        textures.push_back(texture);
    }
    return textures;
}

void madeAndReleased(benchmark::State& state, bool reverse) {
    int const count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::vector<Orvex::Texture2D*> textures = makeTextures(count);
        if (reverse)
            for (auto it = textures.rbegin(); it != textures.rend(); ++it) (*it)->release();
        else
            for (Orvex::Texture2D* texture : textures) texture->release();
    }
    state.counters["usPerTexture"] =
        benchmark::Counter(static_cast<double>(count) * 1e-6, benchmark::Counter::kIsIterationInvariantRate |
                                                                  benchmark::Counter::kInvert);
    state.counters["textures"] = count;
}

void texturesInMakingOrder(benchmark::State& state) { madeAndReleased(state, false); }
void texturesInReverseOrder(benchmark::State& state) { madeAndReleased(state, true); }

void clockCheck(benchmark::State& state) {
    std::vector<Orvex::Texture2D*> textures = makeTextures(static_cast<int>(state.range(0)));
    sigslot::signal0<>& check = Orvex::TextureClock::get().checkSignal;
    for (auto _ : state) check.emit();
    for (Orvex::Texture2D* texture : textures) texture->release();
    state.counters["textures"] = static_cast<double>(state.range(0));
}

}  // namespace

BENCHMARK(texturesInMakingOrder)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(texturesInReverseOrder)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(clockCheck)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
