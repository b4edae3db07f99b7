// The mini-game definition file when its lists name the same files again and again: M mentions
// each of an animation list of 20 unnamed animations (which a reading leaves out, as nothing
// could name them) and of the text file. Each file is read once, so time stays that of one
// mention.
// Counters: "mentions", "animations" (held after loading), "MB" (memory held after loading).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "bench/BenchMain.h"
#include "bench/BenchMemory.h"
#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/MinispielManager.h"
#include "port/win32/win32_paths.h"

namespace {

constexpr int kAnimationsInList = 20;

// The animation list, written once to the temporary folder; its name as the game writes names.
std::wstring const& animationList() {
    static std::wstring const name = [] {
        std::filesystem::path const path = std::filesystem::temp_directory_path() / "bench_unnamed.ani";
        std::ofstream out(path);
        out << "<ANIMATIONS>";
        for (int i = 0; i < kAnimationsInList; ++i)
            out << "<ANIMATION_2D ANIMSPEED=\"1\" PLAY=\"1\"><FRAMES TEXTUR=\"NONE\">"
                   "<FRAME_PARAMS ANZ_FRAMES=\"1\" SPALTEN=\"1\"/></FRAMES></ANIMATION_2D>";
        out << "</ANIMATIONS>";
        return port::windowsPath(path.string());
    }();
    return name;
}

void definitionMentions(benchmark::State& state) {
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(ORVEX_SOURCE_DIR));
    int const mentions = static_cast<int>(state.range(0));
    std::wstring text = L"<MINISPIELE>";
    for (int i = 0; i < mentions; ++i)
        text += L"<ANIMATIONEN FILE=\"" + animationList() + L"\"/><TEXTE FILE=\"data\\texte.lng\"/>";
    text += L"</MINISPIELE>";
    Orvex::XMLNode tree;
    tree.loadFromText(text, L"bench definitions");
    Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
    Orvex::Texture2DAnimationManager& animations = Orvex::Texture2DAnimationManager::instance();
    double const megabytes = bench::timedLoads(
        state, [&] { animations.releaseAnimations(); }, [&] { manager.loadDefinitions(tree, L"bench definitions"); });
    state.counters["mentions"] = mentions;
    state.counters["animations"] = static_cast<double>(animations.getAnimations().size());
    state.counters["MB"] = megabytes;
    animations.releaseAnimations();
}
BENCHMARK(definitionMentions)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::runQuiet(argc, argv);
    Solitaire::MinispielManager::instance().clear();
    return 0;
}
