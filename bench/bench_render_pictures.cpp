// The store of pictures (engine/render/FilePictures.h) on the engine's device: a 1024 x 768 PNG
// made into a texture and released again, from its kept picture (madeFromKeptPicture, as every
// texture of a file after its first, on any device of the process) and decoded each time
// (decodedEachTime: the budget made too small to keep it); and heldWithinBudget, 96 files of
// 1024 x 1024 pixels (96 million pixels, 384 MB decoded) each made and released in turn, which
// the store holds within its 64 million pixels.
// Counters: "reads" (image reads a texture: a header read or a decode), "keptMpx" (millions of
// pixels kept for reuse, bytes at four a pixel), "heldMB" (megabytes the allocator holds after
// the run beyond before the first run: kept pictures and bytes; the device's copies are let go).
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/BenchDevice.h"
#include "bench/BenchMemory.h"
#include "engine/render/FilePictures.h"
#include "engine/render/Texture2D.h"
#include "port/d3dx9/DxPixels.h"
#include "port/win32/win32_paths.h"

namespace {

using Orvex::FilePictures;

// A folder of its own under the temporary folder, for the run's files.
std::filesystem::path const& folder() {
    static std::filesystem::path const made = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvex-bench-pictures-XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()) ? pattern : std::string("."));
    }();
    return made;
}

// A width x height gradient PNG, its colours shifted by `seed` so every file is bytes of its own;
// the Windows-style path.
std::wstring writePicture(std::string const& name, unsigned width, unsigned height, uint32_t seed) {
    port::dx::Image image;
    image.width = width;
    image.height = height;
    image.argb.resize(static_cast<std::size_t>(width) * height);
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
            image.argb[static_cast<std::size_t>(y) * width + x] = 0xFF000000u | ((x + seed) & 0xFF) << 16 |
                                                                  ((y + seed * 7) & 0xFF) << 8 | ((x ^ y) & 0xFF);
    std::vector<unsigned char> bytes;
    port::dx::encodeImage(D3DXIFF_PNG, image, bytes);
    std::filesystem::path const path = folder() / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<char const*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return port::windowsPath(path.string());
}

// Makes the texture of the file and lets it go; false when it was not made.
bool makeAndRelease(std::wstring const& file) {
    auto* texture = new Orvex::Texture2D();
    bool const made = texture->loadFromFile(file) && texture->getTexture();
    texture->release();
    return made;
}

void madeAgain(benchmark::State& state, bool kept) {
    if (!bench::openEngineDevice(64, 64)) {
        state.SkipWithError("no device");
        return;
    }
    FilePictures& pictures = FilePictures::instance();
    FilePictures::Budget const saved = pictures.getBudget();
    // A picture of more than a quarter of the budget is not kept.
    if (!kept) pictures.setBudget(FilePictures::Budget{saved.picturePixels, 4u * 1024 * 768 - 1});
    std::wstring const file = writePicture(kept ? "kept.png" : "decoded.png", 1024, 768, kept ? 1 : 2);
    makeAndRelease(file);
    Orvex::u64 const before = pictures.fileReads();
    for (auto _ : state)
        if (!makeAndRelease(file)) state.SkipWithError("not made");
    state.counters["reads"] = benchmark::Counter(static_cast<double>(pictures.fileReads() - before),
                                                 benchmark::Counter::kAvgIterations);
    pictures.setBudget(saved);
}

void madeFromKeptPicture(benchmark::State& state) { madeAgain(state, true); }
void decodedEachTime(benchmark::State& state) { madeAgain(state, false); }

void heldWithinBudget(benchmark::State& state) {
    if (!bench::openEngineDevice(64, 64)) {
        state.SkipWithError("no device");
        return;
    }
    constexpr int kFiles = 96;
    std::vector<std::wstring> files;
    for (int i = 0; i < kFiles; ++i) files.push_back(writePicture("held" + std::to_string(i) + ".png", 1024, 1024, i));
    FilePictures& pictures = FilePictures::instance();
    // What the process held before its first run: later repetitions show the store stays bounded.
    static std::size_t const before = bench::allocatedBytes();
    Orvex::u64 const reads = pictures.fileReads();
    for (auto _ : state)
        for (std::wstring const& file : files)
            if (!makeAndRelease(file)) state.SkipWithError("not made");
    state.counters["reads"] = static_cast<double>(pictures.fileReads() - reads);
    state.counters["keptMpx"] = static_cast<double>(pictures.keptPixels()) / 1e6;
    state.counters["heldMB"] = bench::megabytesSince(before);
}

}  // namespace

BENCHMARK(madeFromKeptPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(decodedEachTime)->Unit(benchmark::kMillisecond);
BENCHMARK(heldWithinBudget)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
