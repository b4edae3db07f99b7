// A GUI file of 16,000 top-level windows (below the GUI files' cap of 16,384), 3.5 MB as text,
// drawn at 1280x720 through the GUI system as the game draws it: one sprite batch, drawRoot per
// top-level window, each with its stencil pass. Windows are 20x20 pictures laid over the screen;
// every eighth clips its children ("DRAW_IN_CLIENT_ONLY"), so it writes its shape into the stencil.
//  - firstFrame: the file's text read into a tree, loaded into windows, one update and the first
//    frame drawn (what the file adds to the way to the start screen);
//  - frame: one update and one drawn frame of the loaded windows.
// And GUI files of 1,000 top-level windows that each write a clip shape of another kind, drawn
// for 600 frames (as the player's ten seconds): windows whose clip picture is drawn at its
// natural size ("CLAMP", overhanging the 20x20 window), and progress bars (a widget clipping its
// filling part by its own look).
// And the GUI file of 16,000 windows naming one animation in each of their four animation slots,
// whose speed is a formula of the most nodes a formula may have (511) or the formula "1", drawn
// for 600 frames: what the copies' formulas cost a frame.
// Each frame ends with a 1x1 read-back, so the GL work of a frame is done inside it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchGuiScene.h"
#include "bench/BenchMain.h"
#include "engine/core/PerfTimer.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/render/TextureManager.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

constexpr unsigned kWidth = 1280;
constexpr unsigned kHeight = 720;
constexpr int kWindows = 16000;
constexpr int kShapeWindows = 1000;
constexpr int kShapeFrames = 600;
constexpr double kFrame = 1.0 / 60.0;

std::wstring position(int i) {
    int const x = (i * 20) % static_cast<int>(kWidth);
    int const y = ((i * 20) / static_cast<int>(kWidth) * 20) % static_cast<int>(kHeight);
    return L"<GUIRECT><POS_TL X_OFF=\"" + std::to_wstring(x) + L"\" Y_OFF=\"" + std::to_wstring(y) +
           L"\"/><SIZE X_OFF=\"20\" Y_OFF=\"20\"/></GUIRECT>";
}

std::wstring clampFileText() {
    std::wstring text = L"<GUI>\n";
    for (int i = 0; i < kShapeWindows; ++i)
        text += L"<WINDOW NAME=\"clamp" + std::to_wstring(i) + L"\"><WINDOW_PARAMS><OPTIONS DRAW_IN_CLIENT_ONLY=\"1\"/>" +
                position(i) + L"<DRAWOPTIONS TEX_NORMAL=\"gui_frame\"><DRAW_TYPE X=\"CLAMP\" Y=\"CLAMP\"/>"
                L"</DRAWOPTIONS></WINDOW_PARAMS></WINDOW>\n";
    return text + L"</GUI>\n";
}

std::wstring progressFileText() {
    std::wstring text = L"<GUI>\n";
    for (int i = 0; i < kShapeWindows; ++i)
        text += L"<WINDOW NAME=\"bar" + std::to_wstring(i) + L"\" TYPE=\"PROGRESSBAR\"><WINDOW_PARAMS>" + position(i) +
                L"<DRAWOPTIONS TEX_NORMAL=\"gui_progress_back\"/></WINDOW_PARAMS><PROGRESSBAR_PARAMS MAX_WERT=\"100\" "
                L"AKT_WERT=\"50\" TYP=\"LEFT_RIGHT\"><TEXTURES_2D_PROGRESS TEX_NORMAL=\"gui_progress_fill\"/>"
                L"</PROGRESSBAR_PARAMS></WINDOW>\n";
    return text + L"</GUI>\n";
}

std::wstring guiFileText() {
    std::wstring text = L"<GUI>\n";
    for (int i = 0; i < kWindows; ++i) {
        text += L"<WINDOW NAME=\"fenster" + std::to_wstring(i) + L"\"><WINDOW_PARAMS>";
        if (i % 8 == 0) text += L"<OPTIONS DRAW_IN_CLIENT_ONLY=\"1\"/>";
        text += position(i) + L"<DRAWOPTIONS TEX_NORMAL=\"gui_frame\" TEX_MARK=\"gui_button_mark\"/></WINDOW_PARAMS></WINDOW>\n";
    }
    return text + L"</GUI>\n";
}

// A balanced sum of 2^depth "TIME" leaves (depth 8: 511 nodes).
std::wstring balancedFormula(int depth) {
    if (depth == 0) return L"TIME";
    std::wstring const half = balancedFormula(depth - 1);
    return L"( " + half + L" + " + half + L" )";
}

// kWindows windows whose four animation slots name the animation.
std::wstring animatedFileText(std::wstring const& animation) {
    std::wstring text = L"<GUI>\n";
    for (int i = 0; i < kWindows; ++i)
        text += L"<WINDOW NAME=\"anim" + std::to_wstring(i) + L"\"><WINDOW_PARAMS>" + position(i) +
                L"<DRAWOPTIONS ANI_NORMAL=\"" + animation + L"\" ANI_MARK=\"" + animation + L"\" ANI_BACKGROUND=\"" +
                animation + L"\" ANI_FOREGROUND=\"" + animation + L"\"/></WINDOW_PARAMS></WINDOW>\n";
    return text + L"</GUI>\n";
}

struct Scene {
    Orvex::Effect* effect = nullptr;
    bench::CountingSprite* sprite = nullptr;
    std::wstring text;
    // Never released: the device object may be gone before this static object at exit.
    testsupport::FrameFinish* finishFrame = nullptr;

    bool init() {
        if (!bench::setUpGuiDrawing(kWidth, kHeight, effect, sprite)) return false;
        Orvex::XMLNode list;
        if (!list.load(L"data\\GUI\\gui_textures.tex")) return false;
        Orvex::D3DInterface::getInstance().getTextureManager().loadTextures(list);
        text = guiFileText();
        finishFrame = new testsupport::FrameFinish(Orvex::D3DInterface::getInstance().getDevice());
        return finishFrame->ready();
    }

    void load(std::wstring const& fileText) {
        Orvex::XMLNode root;
        root.loadFromText(fileText, L"bench.gui");
        Orvex::GUISystem& gui = Orvex::GUISystem::instance();
        gui.clear();
        gui.loadTextures(root, L"bench.gui");
    }

    void frame() {
        Orvex::GUISystem& gui = Orvex::GUISystem::instance();
        IDirect3DDevice9* device = Orvex::D3DInterface::getInstance().getDevice();
        gui.update(kFrame);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF808080, 1.0f, 0);
        device->BeginScene();
        gui.draw();
        device->EndScene();
        (*finishFrame)();
    }
};

double windowCount() {
    std::vector<Orvex::GUIWindow*> windows;
    Orvex::GUISystem::instance().getWindows(windows);
    return static_cast<double>(windows.size());
}

void firstFrame(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    for (auto _ : state) {
        scene->load(scene->text);
        scene->frame();
    }
    state.counters["windows"] = windowCount();
    state.counters["fileMB"] = static_cast<double>(scene->text.size()) / 1.0e6;
    Orvex::GUISystem::instance().clear();
}

void frame(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    scene->load(scene->text);
    scene->frame();
    for (auto _ : state) scene->frame();
    state.counters["windows"] = windowCount();
    Orvex::GUISystem::instance().clear();
}

// kShapeFrames frames of a file of kShapeWindows windows with clip shapes of one kind.
void shapeFrames(benchmark::State& state, std::wstring const& fileText) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    scene->load(fileText);
    for (auto _ : state) scene->frame();
    state.counters["windows"] = windowCount();
    state.counters["fileMB"] = static_cast<double>(fileText.size()) / 1.0e6;
    Orvex::GUISystem::instance().clear();
}

void clampFrames(benchmark::State& state) { shapeFrames(state, clampFileText()); }
void progressFrames(benchmark::State& state) { shapeFrames(state, progressFileText()); }

// kShapeFrames frames of kWindows windows naming, in four slots, a playing animation of the
// window picture whose speed is the formula.
void formulaFrames(benchmark::State& state, std::wstring const& name, std::wstring const& formula) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    Orvex::XMLNode list;
    list.loadFromText(L"<LIST><ANIMATION_2D NAME=\"" + name + L"\" PLAY=\"1\" ANIMSPEED_TERM=\"" + formula +
                          L"\"><FRAMES TEXTUR=\"gui_frame\"/><FRAMES TEXTUR=\"gui_button_mark\"/></ANIMATION_2D></LIST>",
                      L"bench.ani");
    Orvex::Texture2DAnimationManager::instance().load(list, L"bench.ani");
    std::wstring const text = animatedFileText(name);
    scene->load(text);
    // The game's loop moves the engine's frame timer on, which formulas read.
    Orvex::PerfTimer& timer = Orvex::PerfTimer::frameTimer();
    for (auto _ : state) {
        timer.advance(kFrame);
        scene->frame();
    }
    state.counters["windows"] = windowCount();
    state.counters["fileMB"] = static_cast<double>(text.size()) / 1.0e6;
    Orvex::GUISystem::instance().clear();
}

void biggestFormulaFrames(benchmark::State& state) { formulaFrames(state, L"formula511", balancedFormula(8)); }
void constantFormulaFrames(benchmark::State& state) { formulaFrames(state, L"formula1", L"1"); }

}  // namespace

BENCHMARK(firstFrame)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(frame)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(clampFrames)->Iterations(kShapeFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(progressFrames)->Iterations(kShapeFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(biggestFormulaFrames)->Iterations(kShapeFrames)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(constantFormulaFrames)->Iterations(kShapeFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) { bench::runQuiet(argc, argv); }
