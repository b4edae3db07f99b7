// Copies of templates while the story and tutorial files are read: K story elements naming one
// template that holds the most a template may (256 positions, colours, texture rectangles and
// animation records of 256 speed keys each), and K tutorial pages naming a page template of
// 4096 point pairs and 1024 goals of 64 masks. Each file has a budget of copied entries, so
// memory stops growing with K once the budget is spent.
// Counters: "copies", "MB" (memory held after reading).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchMain.h"
#include "bench/BenchMemory.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/TutorialManager.h"
#include "game/story/StoryManager.h"

namespace {

constexpr int kListMost = 256;
constexpr int kPartsPerScene = 1000;
constexpr int kPointPairs = 4096;
constexpr int kGoals = 1024;
constexpr int kMasks = 64;

std::wstring const& storyTemplate() {
    static std::wstring const text = [] {
        std::wstring t = L"<VORLAGEN><PART_PART NAME=\"BIG\">";
        for (int i = 0; i < kListMost; ++i)
            t += L"<POSITION L=\"0.1\" T=\"0.1\" W=\"0.1\" H=\"0.1\"/><TEX_RECT L=\"0\" T=\"0\" W=\"1\" H=\"1\"/>"
                 L"<COLOR COLOR=\"FFFFFFFF\"/>";
        std::wstring keys;
        for (int k = 0; k < kListMost; ++k) keys += L"<VALUE_DELTATIME VALUE=\"1\" DELTA_TIME=\"1\"/>";
        for (int i = 0; i < kListMost; ++i)
            t += L"<ANIMATION ANIMATION=\"NONE\"><ANIMATION_SPEED LOOP=\"1\">" + keys + L"</ANIMATION_SPEED></ANIMATION>";
        return t + L"</PART_PART></VORLAGEN>";
    }();
    return text;
}

void storyCopies(benchmark::State& state) {
    int const copies = static_cast<int>(state.range(0));
    std::wstring text = L"<STORY>" + storyTemplate();
    for (int i = 0; i < copies; ++i) {
        if (i % kPartsPerScene == 0) {
            if (i) text += L"</STORY_PART>";
            text += L"<STORY_PART NAME=\"S" + std::to_wstring(i) + L"\"><SWITCH/>";
        }
        text += L"<PART_PART NAME=\"P" + std::to_wstring(i) + L"\" VORLAGE=\"BIG\"/>";
    }
    text += L"</STORY_PART></STORY>";
    Orvex::XMLNode tree;
    tree.loadFromText(text, L"bench story");
    Solitaire::StoryManager& story = Solitaire::StoryManager::instance();
    double const megabytes =
        bench::timedLoads(state, [&] { story.clear(); }, [&] { story.load(tree, L"bench story"); });
    story.clear();
    state.counters["copies"] = copies;
    state.counters["MB"] = megabytes;
}
BENCHMARK(storyCopies)->Arg(100)->Arg(1000)->Arg(2000)->Iterations(1)->Unit(benchmark::kMillisecond);

std::wstring const& pageTemplate() {
    static std::wstring const text = [] {
        std::wstring t = L"<VORLAGEN><PAGE_VORLAGE NAME=\"BIG\" TEXT=\"x\">";
        for (int i = 0; i < kPointPairs; ++i)
            t += L"<TUT_POINTS><START GUIWINDOW=\"A\"/><GOAL GUIWINDOW=\"B\"/></TUT_POINTS>";
        t += L"<ANIMGOALS>";
        std::wstring masks;
        for (int m = 0; m < kMasks; ++m) masks += L"\"|" + std::wstring(9, L'0') + L"|\"";
        for (int i = 0; i < kGoals; ++i) t += L"<ANIMGOAL GOALNAME=\"G" + std::to_wstring(i) + L"\">" + masks + L"</ANIMGOAL>";
        return t + L"</ANIMGOALS></PAGE_VORLAGE></VORLAGEN>";
    }();
    return text;
}

void tutorialCopies(benchmark::State& state) {
    int const copies = static_cast<int>(state.range(0));
    std::wstring text = L"<TUTORIALS>" + pageTemplate() + L"<STRIP NAME=\"S\">";
    for (int i = 0; i < copies; ++i) text += L"<PAGE VORLAGE=\"BIG\"/>";
    text += L"</STRIP></TUTORIALS>";
    Orvex::XMLNode tree;
    tree.loadFromText(text, L"bench tutorials");
    Orvex::TutorialManager& tutorials = Orvex::TutorialManager::instance();
    double const megabytes =
        bench::timedLoads(state, [&] { tutorials.clear(); }, [&] { tutorials.loadTemplates(tree, L"bench tutorials"); });
    tutorials.clear();
    state.counters["copies"] = copies;
    state.counters["MB"] = megabytes;
}
BENCHMARK(tutorialCopies)->Arg(32)->Arg(128)->Arg(512)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    bench::runQuiet(argc, argv);
    return 0;
}
