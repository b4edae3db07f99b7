// The GUI system's per-frame CPU work without drawing, on a screen of 300 windows (15 panels of
// 20 buttons each, 1280 x 720):
//  - hover: the pointer sweeps across the screen, one movement event and one update per frame
//    (hit tests from the top, activation changes, the update's hover at the still pointer);
//  - goals: every button glides between two goals all the time (state blends per step);
//  - load: a GUI file of 30 panels holding 100 windows each read into windows (its cost must
//    grow with the number of windows, not with its square);
//  - topLevel: one update of N top-level windows, up to the GUI files' window cap (its cost
//    must grow with N, not with its square).
// No device is needed: the display size is set on the device object.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"

namespace {

constexpr int kPanels = 15;
constexpr int kButtonsPerPanel = 20;
constexpr float kScreenW = 1280.0f;
constexpr float kScreenH = 720.0f;
constexpr double kFrame = 1.0 / 60.0;

Orvex::GUIWindow* box(std::wstring const& name, float x, float y, float w, float h) {
    auto* window = new Orvex::GUIWindow(name);
    window->setPixelRect(x, y, w, h);
    window->initDefaultState();
    return window;
}

// Goals "AN" (in place) and "AUS" (shifted and faded) for one button.
void addGoals(Orvex::GUIWindow& w) {
    for (int i = 0; i < 2; ++i) {
        auto* goal = new Orvex::GUIAnimationsGoal(w.getDefaultGoal());
        goal->name = i == 0 ? L"AN" : L"AUS";
        goal->speed = 4.0;
        if (i == 1) {
            goal->rect.position.offX += 12.0f;
            goal->drawOptions.alpha = 0.2;
        }
        w.addGoal(goal);
    }
}

// 5 x 3 panels of 4 x 5 buttons; returns the buttons.
std::vector<Orvex::GUIWindow*> buildScreen(bool withGoals) {
    D3DDISPLAYMODE& mode = Orvex::D3DInterface::getInstance().getInitParams().displayMode;
    mode.Width = static_cast<UINT>(kScreenW);
    mode.Height = static_cast<UINT>(kScreenH);
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    gui.clear();
    std::vector<Orvex::GUIWindow*> buttons;
    float const pw = kScreenW / 5.0f;
    float const ph = kScreenH / 3.0f;
    for (int p = 0; p < kPanels; ++p) {
        Orvex::GUIWindow* panel = box(L"panel" + std::to_wstring(p), (p % 5) * pw, (p / 5) * ph, pw, ph);
        for (int b = 0; b < kButtonsPerPanel; ++b) {
            Orvex::GUIWindow* button =
                box(L"knopf" + std::to_wstring(b), 4.0f + (b % 4) * (pw / 4.0f), 4.0f + (b / 4) * (ph / 5.0f),
                    pw / 4.0f - 8.0f, ph / 5.0f - 8.0f);
            if (withGoals) addGoals(*button);
            panel->addChild(button, true, true);
            buttons.push_back(button);
        }
        gui.addWindow(panel);
        panel->updateRect(true, true);
        panel->release();
    }
    return buttons;
}

void hover(benchmark::State& state) {
    buildScreen(false);
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    Orvex::MouseState mouse;
    int frame = 0;
    for (auto _ : state) {
        mouse.x = static_cast<float>((frame * 7) % static_cast<int>(kScreenW));
        mouse.y = static_cast<float>((frame * 3) % static_cast<int>(kScreenH));
        gui.onMouseMove(mouse, Orvex::OA_MOUSE_X);
        gui.update(kFrame);
        ++frame;
    }
    state.counters["windows"] = kPanels * (kButtonsPerPanel + 1);
    gui.clear();
}

void goals(benchmark::State& state) {
    std::vector<Orvex::GUIWindow*> buttons = buildScreen(true);
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    int frame = 0;
    for (auto _ : state) {
        for (Orvex::GUIWindow* button : buttons)
            if (!button->isAnimating())
                button->animateToGoal(button->getCurrentState().name == L"AN" ? L"AUS" : L"AN", 1.0, false);
        gui.update(kFrame);
        ++frame;
    }
    state.counters["windows"] = kPanels * (kButtonsPerPanel + 1);
    gui.clear();
}

void load(benchmark::State& state) {
    int const panels = static_cast<int>(state.range(0));
    std::wstring text = L"<GUI>";
    for (int p = 0; p < panels; ++p) {
        text += L"<WINDOW NAME=\"panel\"><WINDOW_PARAMS><GUIRECT><POS_TL/><SIZE X_REL=\"1\" Y_REL=\"1\"/></GUIRECT>"
                L"</WINDOW_PARAMS>";
        for (int b = 0; b < 100; ++b)
            text += L"<WINDOW NAME=\"knopf\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"4\" Y_OFF=\"4\"/>"
                    L"<SIZE X_OFF=\"40\" Y_OFF=\"20\"/></GUIRECT></WINDOW_PARAMS></WINDOW>";
        text += L"</WINDOW>";
    }
    text += L"</GUI>";
    Orvex::XMLNode root;
    root.loadFromText(text, L"bench.gui");
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    for (auto _ : state) {
        gui.loadTextures(root, L"bench.gui");
        state.PauseTiming();
        gui.clear();
        state.ResumeTiming();
    }
    state.counters["windows"] = panels * 101;
}

void topLevel(benchmark::State& state) {
    int const count = static_cast<int>(state.range(0));
    std::wstring text = L"<GUI>";
    for (int i = 0; i < count; ++i)
        text += L"<WINDOW NAME=\"w\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"" + std::to_wstring(i % 1000) +
                L"\"/><SIZE X_OFF=\"20\" Y_OFF=\"20\"/></GUIRECT></WINDOW_PARAMS></WINDOW>";
    text += L"</GUI>";
    Orvex::XMLNode root;
    root.loadFromText(text, L"bench.gui");
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    gui.clear();
    gui.loadTextures(root, L"bench.gui");
    for (auto _ : state) gui.update(kFrame);
    state.counters["windows"] = count;
    gui.clear();
}

}  // namespace

BENCHMARK(load)->Arg(3)->Arg(30)->Arg(120)->Unit(benchmark::kMillisecond);
BENCHMARK(topLevel)->Arg(1024)->Arg(2048)->Arg(4096)->Arg(8192)->Arg(16384)->Unit(benchmark::kMillisecond);
BENCHMARK(hover)->Unit(benchmark::kMicrosecond);
BENCHMARK(goals)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
