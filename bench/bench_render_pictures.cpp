// The store of pictures (engine/render/FilePictures.h) on the engine's device: a 1024 x 768 PNG
// made into a texture and released again, from its kept picture (madeFromKeptPicture, as every
// texture of a file after its first, on any device of the process) and decoded each time
// (decodedEachTime: the budget made too small to keep it); and heldWithinBudget, 96 files of
// 1024 x 1024 pixels (96 million pixels, 384 MB decoded) each made and released in turn, which
// the store holds within its 64 million pixels; and loadedAsTheStartDoes, a texture list of 200
// files of 128 x 128 pixels loaded suspended, as the game loads every texture, of which 9 are then
// shown (made), as the start menu shows 9 pictures.
// Counters: "reads" (image reads a texture: a header read or a decode), "keptMpx" (millions of
// pixels kept for reuse, bytes at four a pixel), "heldMB" (megabytes the allocator holds after
// the run beyond before the first run: kept pictures and bytes; the device's copies are let go);
// for loadedAsTheStartDoes "hashedAtLoad" and "hashedShown" (the files' bytes hashed to look them
// up, per byte of the files loaded or shown), "comparedShown" (compared with a kept file's, per
// byte shown) and "keptKB" (what the store kept of the files after the suspended loads).
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/BenchDevice.h"
#include "bench/BenchMemory.h"
#include "engine/core/XMLNode.h"
#include "engine/render/FilePictures.h"
#include "engine/render/Texture2D.h"
#include "engine/render/TextureManager.h"
#include "engine/render/TextureSettings.h"
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

void loadedAsTheStartDoes(benchmark::State& state) {
    if (!bench::openEngineDevice(64, 64)) {
        state.SkipWithError("no device");
        return;
    }
    constexpr int kListed = 200;
    constexpr int kShown = 9;
    std::wstring text = L"<LIST>";
    Orvex::u64 listedBytes = 0;
    Orvex::u64 shownBytes = 0;
    for (int i = 0; i < kListed; ++i) {
        std::wstring const file = writePicture("start" + std::to_string(i) + ".png", 128, 128, 1000 + i);
        Orvex::u64 const size = std::filesystem::file_size(folder() / ("start" + std::to_string(i) + ".png"));
        listedBytes += size;
        if (i < kShown) shownBytes += size;
        text += L"<TEXTUR2D NAME=\"t" + std::to_wstring(i) + L"\"><FILE FILENAME=\"" + file + L"\"/></TEXTUR2D>";
    }
    Orvex::XMLNode list;
    list.loadFromText(text + L"</LIST>");
    FilePictures& pictures = FilePictures::instance();
    FilePictures::Budget const saved = pictures.getBudget();
    Orvex::TextureModuleSettings& settings = Orvex::TextureModuleSettings::get();
    bool const suspended = settings.suspendOnLoad;
    Orvex::u64 hashedAtLoad = 0, hashedShown = 0, comparedShown = 0, kept = 0;
    for (auto _ : state) {
        Orvex::TextureManager textures;
        settings.suspendOnLoad = true;
        Orvex::u64 hashed = pictures.bytesHashed();
        textures.loadTextures(list, Orvex::TextureLoadParams());
        hashedAtLoad += pictures.bytesHashed() - hashed;
        kept = pictures.keptPixels();
        hashed = pictures.bytesHashed();
        Orvex::u64 const compared = pictures.bytesCompared();
        for (int i = 0; i < kShown; ++i)
            if (!textures.findTexture(L"t" + std::to_wstring(i))->getTexture()) state.SkipWithError("not made");
        hashedShown += pictures.bytesHashed() - hashed;
        comparedShown += pictures.bytesCompared() - compared;
        state.PauseTiming();
        settings.suspendOnLoad = suspended;
        textures.releaseAll();
        // A fresh start keeps nothing.
        pictures.setBudget(FilePictures::Budget{saved.picturePixels, 0});
        pictures.setBudget(saved);
        state.ResumeTiming();
    }
    double const passes = static_cast<double>(state.iterations());
    state.counters["hashedAtLoad"] = static_cast<double>(hashedAtLoad) / passes / static_cast<double>(listedBytes);
    state.counters["hashedShown"] = static_cast<double>(hashedShown) / passes / static_cast<double>(shownBytes);
    state.counters["comparedShown"] = static_cast<double>(comparedShown) / passes / static_cast<double>(shownBytes);
    state.counters["keptKB"] = static_cast<double>(kept) * 4 / 1024;
}

}  // namespace

BENCHMARK(madeFromKeptPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(decodedEachTime)->Unit(benchmark::kMillisecond);
BENCHMARK(heldWithinBudget)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(loadedAsTheStartDoes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
