// Files that name one big frame animation many times, and lists of many big animations: the
// animation "BIG" holds the most frames an animation may (four sheets of 4,096 cells, about
// 0.5 KB of text). A story of K elements naming it, a GUI file of K windows naming it in their
// four animation slots, K live copies of it (each particle and mini-game part holds one), and
// animation lists of K such animations, named and unnamed. Copies share the frames, and each
// list and file has a budget of frames, so memory stays flat as K grows.
// Small hostile files besides: K copies of a "RELOAD_ON_CLONE" animation of 100,000 empty
// children (1.4 MB); K copies of an animation whose speed formula is 0.4 MB (left out now), or
// has the most nodes a formula may, or is "1", stepped frame by frame; a 1.5 MB formula read;
// lists of K frame-less named animations read and each name looked up.
// Counters: "mentions" (K), "animations" (held in the registry), "MB" (memory held after loading).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/BenchDevice.h"
#include "bench/BenchMain.h"
#include "bench/BenchMemory.h"
#include "engine/core/PerfTimer.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/render/Texture2D.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/story/StoryManager.h"
#include "port/win32/win32_paths.h"

namespace {

// One definition of 16,384 frames cut from the 64 x 64 texture "BIG_SHEET" (cells of 1 pixel).
std::string bigAnimation(std::string const& attributes) {
    std::string text = "<ANIMATION_2D " + attributes + ">";
    for (int sheet = 0; sheet < 4; ++sheet)
        text += "<FRAMES TEXTUR=\"BIG_SHEET\"><FRAME_PARAMS ANZ_FRAMES=\"4096\" SPALTEN=\"64\"/></FRAMES>";
    return text + "</ANIMATION_2D>";
}

// A list file in the temporary folder, named as the game writes names.
std::wstring writeList(std::string const& file, int count, bool named) {
    std::filesystem::path const path = std::filesystem::temp_directory_path() / file;
    std::ofstream out(path);
    out << "<ANIMATIONS>";
    for (int i = 0; i < count; ++i) out << bigAnimation(named ? "NAME=\"BIG" + std::to_string(i) + "\"" : "");
    out << "</ANIMATIONS>";
    return port::windowsPath(path.string());
}

// The device, the sheet texture and the list holding "BIG0" in the registry.
bool ready(benchmark::State& state) {
    static bool const done = [] {
        if (!bench::openEngineDevice(640, 480)) return false;
        auto* sheet = new Orvex::Texture2D(L"BIG_SHEET");
        if (!sheet->create(64, 64, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED)) return false;
        Orvex::Texture2DAnimationManager::instance().getTextures().addTexture(sheet, true);
        return true;
    }();
    if (!done) state.SkipWithError("no device");
    return done;
}

Orvex::Texture2DAnimationManager& registry() { return Orvex::Texture2DAnimationManager::instance(); }

void loadBig() {
    static std::wstring const list = writeList("bench_big.ani", 1, true);
    registry().loadFile(list);
}

void finish(benchmark::State& state, int mentions, double megabytes) {
    state.counters["mentions"] = mentions;
    state.counters["animations"] = static_cast<double>(registry().getAnimations().size());
    state.counters["MB"] = megabytes;
}

void storyMentions(benchmark::State& state) {
    if (!ready(state)) return;
    int const mentions = static_cast<int>(state.range(0));
    std::wstring text = L"<STORY><STORY_PART NAME=\"S\"><SWITCH/>";
    for (int i = 0; i < mentions; ++i) text += L"<PART_PART NAME=\"E" + std::to_wstring(i) + L"\" ANIMATION=\"BIG0\"/>";
    text += L"</STORY_PART></STORY>";
    Orvex::XMLNode tree;
    tree.loadFromText(text, L"bench story");
    loadBig();
    Solitaire::StoryManager& story = Solitaire::StoryManager::instance();
    double const megabytes =
        bench::timedLoads(state, [&] { story.clear(); }, [&] { story.load(tree, L"bench story"); });
    finish(state, mentions, megabytes);
    story.clear();
}
BENCHMARK(storyMentions)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

void guiMentions(benchmark::State& state) {
    if (!ready(state)) return;
    int const windows = static_cast<int>(state.range(0));
    std::wstring text = L"<GUI>";
    for (int i = 0; i < windows; ++i)
        text += L"<WINDOW NAME=\"W" + std::to_wstring(i) +
                L"\"><WINDOW_PARAMS><DRAWOPTIONS ANI_NORMAL=\"BIG0\" ANI_MARK=\"BIG0\" ANI_BACKGROUND=\"BIG0\" "
                L"ANI_FOREGROUND=\"BIG0\"/></WINDOW_PARAMS></WINDOW>";
    text += L"</GUI>";
    Orvex::XMLNode tree;
    tree.loadFromText(text, L"bench gui");
    loadBig();
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    double const megabytes =
        bench::timedLoads(state, [&] { gui.clear(); }, [&] { gui.loadTextures(tree, L"bench gui"); });
    finish(state, windows, megabytes);
    gui.clear();
}
BENCHMARK(guiMentions)->Arg(10)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

void liveCopies(benchmark::State& state) {
    if (!ready(state)) return;
    int const copies = static_cast<int>(state.range(0));
    loadBig();
    Orvex::Texture2DAnimation* big = registry().findAnimation(L"BIG0");
    std::vector<Orvex::Texture2DAnimation*> held;
    auto releaseHeld = [&] {
        for (Orvex::Texture2DAnimation* copy : held) copy->release();
        held.clear();
    };
    double const megabytes = bench::timedLoads(state, releaseHeld, [&] {
        for (int i = 0; i < copies && big; ++i) held.push_back(big->clone());
    });
    finish(state, copies, megabytes);
    releaseHeld();
}
BENCHMARK(liveCopies)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

void listOfAnimations(benchmark::State& state, bool named) {
    if (!ready(state)) return;
    int const count = static_cast<int>(state.range(0));
    std::wstring const list = writeList(named ? "bench_named.ani" : "bench_unnamed.ani", count, named);
    double const megabytes =
        bench::timedLoads(state, [&] { registry().releaseAnimations(); }, [&] { registry().loadFile(list); });
    finish(state, count, megabytes);
    registry().releaseAnimations();
}
void namedList(benchmark::State& state) { listOfAnimations(state, true); }
void unnamedList(benchmark::State& state) { listOfAnimations(state, false); }
BENCHMARK(namedList)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(unnamedList)->Arg(100)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// A list file of one animation with these attributes and children.
std::wstring writeOne(std::string const& file, std::string const& attributes, std::string const& children) {
    std::filesystem::path const path = std::filesystem::temp_directory_path() / file;
    std::ofstream out(path);
    out << "<ANIMATIONS><ANIMATION_2D " << attributes << ">" << children << "</ANIMATION_2D></ANIMATIONS>";
    return port::windowsPath(path.string());
}

void reloadedCopies(benchmark::State& state) {
    if (!ready(state)) return;
    int const copies = static_cast<int>(state.range(0));
    std::string children;
    for (int i = 0; i < 100000; ++i) children += "<EMPTY_CHILD/>";
    registry().loadFile(writeOne("bench_reloaded.ani", "NAME=\"RELOADED\" RELOAD_ON_CLONE=\"1\" ANIMSPEED=\"5 10\"",
                                 children + "<FRAME FRAME_SIZE=\"4 4\"/>"));
    Orvex::Texture2DAnimation* reloaded = registry().findAnimation(L"RELOADED");
    std::vector<Orvex::Texture2DAnimation*> held;
    auto releaseHeld = [&] {
        for (Orvex::Texture2DAnimation* copy : held) copy->release();
        held.clear();
    };
    double const megabytes = bench::timedLoads(state, releaseHeld, [&] {
        for (int i = 0; i < copies && reloaded; ++i) held.push_back(reloaded->clone());
    });
    finish(state, copies, megabytes);
    releaseHeld();
}
BENCHMARK(reloadedCopies)->Arg(500)->Iterations(1)->Unit(benchmark::kMillisecond);

// A balanced sum of 2^depth "TIME" leaves: about 11 * 2^depth characters (15: 0.4 MB, 17: 1.5 MB).
std::string balancedFormula(int depth) {
    if (depth == 0) return "TIME";
    std::string const half = balancedFormula(depth - 1);
    return "( " + half + " + " + half + " )";
}

// One frame: the engine's frame timer moves on and every copy of an animation whose speed is a
// balanced formula is stepped once (depth 15: 0.4 MB; depth 8: the most nodes a formula may
// have; 64,000 copies: 16,000 windows naming it in four slots), or one whose formula is "1"
// (depth -1).
void formulaFrames(benchmark::State& state) {
    if (!ready(state)) return;
    int const depth = static_cast<int>(state.range(0));
    int const copies = static_cast<int>(state.range(1));
    std::string const name = "FORMULA" + std::to_string(depth);
    registry().loadFile(writeOne("bench_formula" + std::to_string(depth) + ".ani",
                                 "NAME=\"" + name + "\" PLAY=\"1\" ANIMSPEED_TERM=\"" +
                                     (depth < 0 ? std::string("1") : balancedFormula(depth)) + "\"",
                                 "<FRAME FRAME_SIZE=\"4 4\"/><FRAME FRAME_SIZE=\"4 4\"/>"));
    Orvex::Texture2DAnimation* formula = registry().findAnimation(std::wstring(name.begin(), name.end()));
    std::vector<Orvex::Texture2DAnimation*> held;
    for (int i = 0; i < copies && formula; ++i) held.push_back(formula->clone());
    Orvex::PerfTimer& timer = Orvex::PerfTimer::frameTimer();
    for (auto _ : state) {
        timer.advance(0.016);
        for (Orvex::Texture2DAnimation* copy : held) copy->update(0.016);
    }
    state.counters["mentions"] = copies;
    for (Orvex::Texture2DAnimation* copy : held) copy->release();
}
BENCHMARK(formulaFrames)
    ->Args({15, 1})
    ->Args({15, 25})
    ->Args({8, 25})
    ->Args({8, 64000})
    ->Args({-1, 64000})
    ->Unit(benchmark::kMicrosecond);

// A 1.5 MB formula read: the balanced sum of depth 17 (0), or 214,000 nested "sin[" (1).
void formulaRead(benchmark::State& state) {
    if (!ready(state)) return;
    std::string formula;
    if (state.range(0) == 0) {
        formula = balancedFormula(17);
    } else {
        for (int i = 0; i < 214000; ++i) formula += "sin[ ";
        formula += "1";
        for (int i = 0; i < 214000; ++i) formula += " ]";
    }
    std::string const text = "<ANIMATION_2D NAME=\"LONG_FORMULA\" ANIMSPEED_TERM=\"" + formula + "\"/>";
    Orvex::XMLNode node;
    node.loadFromText(std::wstring(text.begin(), text.end()), L"bench formula");
    for (auto _ : state) {
        auto* animation = new Orvex::Texture2DAnimation(node);
        animation->release();
    }
    state.counters["KB"] = static_cast<double>(text.size()) / 1024.0;
}
BENCHMARK(formulaRead)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// A list of K named animations without frames (about 31 bytes each), read; then each name found.
void frameLessList(benchmark::State& state) {
    if (!ready(state)) return;
    int const count = static_cast<int>(state.range(0));
    std::filesystem::path const path = std::filesystem::temp_directory_path() / "bench_frameless.ani";
    {
        std::ofstream out(path);
        out << "<ANIMATIONS>";
        for (int i = 0; i < count; ++i) out << "<ANIMATION_2D NAME=\"A" << i << "\"/>\n";
        out << "</ANIMATIONS>";
    }
    std::wstring const list = port::windowsPath(path.string());
    std::size_t found = 0;
    double const megabytes = bench::timedLoads(state, [&] { registry().releaseAnimations(); }, [&] {
        registry().loadFile(list);
        for (int i = 0; i < count; ++i) found += registry().findAnimation(L"A" + std::to_wstring(i)) != nullptr;
    });
    finish(state, count, megabytes);
    state.counters["found"] = static_cast<double>(found);
    registry().releaseAnimations();
}
BENCHMARK(frameLessList)->Arg(30000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::runQuiet(argc, argv);
    return 0;
}
