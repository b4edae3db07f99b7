// Property-file speed: loading and saving a generated file of about 1 MB and 20,000 elements,
// in 8-bit and UTF-16 form, and freeing the loaded tree. Reports bytes per second of the file
// on disk. BM_ReadScan is the limit beside them: reading the same file and finding every tag
// with memchr, with no tree built; BM_LoadPerReadScan gives the load as a multiple of it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/File.h"
#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "port/win32/win32_text.h"

namespace {

Orvex::XMLNode makeTree() {
    Orvex::XMLNode root(L"LEVELS");
    root.addAttribute(new Orvex::XMLAttribute(L"VERSION", 3));
    for (int group = 0; group < 2000; ++group) {
        Orvex::XMLNode* level = root.addChild(L"LEVEL");
        level->addAttribute(new Orvex::XMLAttribute(L"NAME", L"Level_" + std::to_wstring(group)));
        level->addAttribute(new Orvex::XMLAttribute(L"SEED", static_cast<unsigned>(group * 7919)));
        for (int i = 0; i < 9; ++i) {
            Orvex::XMLNode* pile = level->addChild(L"STAPEL");
            pile->addAttribute(new Orvex::XMLAttribute(L"POS", static_cast<float>(i) * 1.25f));
            pile->addAttribute(new Orvex::XMLAttribute(L"TYP", L"ABLAGE"));
            if (i % 3 == 0) pile->addValue(L"K\u00f6nig " + std::to_wstring(i));
        }
    }
    return root;
}

std::filesystem::path benchFile(bool unicode) {
    auto path = std::filesystem::temp_directory_path() / (unicode ? "orvex_bench_u16.xml" : "orvex_bench_8bit.xml");
    static bool written[2] = {false, false};
    if (!written[unicode]) {
        makeTree().save(port::fromUtf8(path.string()), unicode);
        written[unicode] = true;
    }
    return path;
}

// glibc merges freed small blocks lazily, on the next large request; that deferred work belongs
// to the freeing, so it is done here, outside the timed load.
void settleHeap() {
    std::vector<char> large(1 << 20);
    benchmark::DoNotOptimize(large.data());
}

void BM_Load(benchmark::State& state) {
    bool unicode = state.range(0) != 0;
    auto path = benchFile(unicode);
    std::wstring name = port::fromUtf8(path.string());
    auto size = static_cast<int64_t>(std::filesystem::file_size(path));
    Orvex::XMLNode root;
    for (auto _ : state) {
        bool ok = root.load(name, 1);
        benchmark::DoNotOptimize(ok);
        state.PauseTiming();  // freeing the tree is measured by BM_Free, not here
        root.clear();
        settleHeap();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["elements"] = 20001;
    state.counters["file_bytes"] = static_cast<double>(size);
}

// Opens and reads the file as load does, then counts its tags with memchr.
std::size_t readAndScan(std::wstring const& name, std::vector<Orvex::u8>& bytes) {
    Orvex::File file(name);
    bool ok = file.open(name, Orvex::GOBManager::getInstance().getDiskOrder()) && file.readAll(bytes);
    std::size_t tags = 0;
    for (auto const* p = bytes.data(), *end = p + bytes.size(); ok && p < end; ++tags) {
        p = static_cast<Orvex::u8 const*>(std::memchr(p, '<', static_cast<std::size_t>(end - p)));
        if (!p) break;
        ++p;
    }
    return tags;
}

void BM_ReadScan(benchmark::State& state) {
    bool unicode = state.range(0) != 0;
    auto path = benchFile(unicode);
    std::wstring name = port::fromUtf8(path.string());
    auto size = static_cast<int64_t>(std::filesystem::file_size(path));
    std::vector<Orvex::u8> bytes;
    for (auto _ : state) benchmark::DoNotOptimize(readAndScan(name, bytes));
    state.SetBytesProcessed(state.iterations() * size);
}

// The load against reading and scanning, alternated in one loop so that both see the same load
// on the machine: "load_per_read_scan" is the budget's figure (at most 6 in the release build).
void BM_LoadPerReadScan(benchmark::State& state) {
    auto path = benchFile(state.range(0) != 0);
    std::wstring name = port::fromUtf8(path.string());
    std::vector<Orvex::u8> bytes;
    Orvex::XMLNode root;
    using Clock = std::chrono::steady_clock;
    Clock::duration loading{}, scanning{};
    for (auto _ : state) {
        Clock::time_point const t0 = Clock::now();
        benchmark::DoNotOptimize(root.load(name, 1));
        Clock::time_point const t1 = Clock::now();
        benchmark::DoNotOptimize(readAndScan(name, bytes));
        Clock::time_point const t2 = Clock::now();
        loading += t1 - t0;
        scanning += t2 - t1;
        state.PauseTiming();
        root.clear();
        settleHeap();
        state.ResumeTiming();
    }
    state.counters["load_per_read_scan"] =
        std::chrono::duration<double>(loading).count() / std::chrono::duration<double>(scanning).count();
}

void BM_Save(benchmark::State& state) {
    bool unicode = state.range(0) != 0;
    Orvex::XMLNode root = makeTree();
    auto path = std::filesystem::temp_directory_path() / "orvex_bench_save.xml";
    std::wstring name = port::fromUtf8(path.string());
    for (auto _ : state) {
        bool ok = root.save(name, unicode);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}

// Freeing a loaded tree, including the allocator's deferred merging.
void BM_Free(benchmark::State& state) {
    auto path = benchFile(state.range(0) != 0);
    std::wstring name = port::fromUtf8(path.string());
    Orvex::XMLNode root;
    for (auto _ : state) {
        state.PauseTiming();
        root.load(name, 1);
        state.ResumeTiming();
        root.clear();
        settleHeap();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}

}  // namespace

BENCHMARK(BM_ReadScan)->Arg(0)->Arg(1)->ArgName("unicode")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load)->Arg(0)->Arg(1)->ArgName("unicode")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPerReadScan)->Arg(0)->Arg(1)->ArgName("unicode")->Unit(benchmark::kMillisecond);
// Real time: each save ends with the file committed to disk (fsync).
BENCHMARK(BM_Save)->Arg(0)->Arg(1)->ArgName("unicode")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Free)->Arg(0)->Arg(1)->ArgName("unicode")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
