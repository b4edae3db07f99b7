// The widgets demo screen at 1280x720 with 300 widgets, as the GUI system runs it: per frame the
// pointer moves one step across the screen (a hover test, activation changes), the GUI system
// updates every window and draws them in one sprite batch through the engine batcher and the
// "Sprite" effect, with the engine's fonts. The screen is tests/engine/gui/data/demo_widgets.gui
// (22 widgets) and a grid of 100 cells, each a slider, a progress bar and, in turn, a scroll
// panel of four tiles, a window docking three children, a button, a checkbox, a nine-part frame
// or a label,
// filling it to 301 widgets (the demo's widgets stand in for seven cells).
// Counters per frame: "updateMs" and "drawMs" (the thread's CPU time of the GUI system's update,
// including the hover, and of its draw), "drawCalls", "widgets", "windows" (all windows with
// the widgets' parts). Each frame ends with a 1x1 read-back so its GL work is done inside it.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchGuiScene.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/TextureManager.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using namespace Orvex;

constexpr unsigned kWidth = 1280;
constexpr unsigned kHeight = 720;
constexpr int kColumns = 10;
constexpr int kRows = 10;
// Widgets of demo_widgets.gui: frame, title, two buttons, four checkboxes, a checkbox button,
// tooltip, three sliders, seven progress bars, the scroll panel and the layout window.
constexpr int kDemoWidgets = 22;
constexpr int kSkippedCells = kDemoWidgets / 3;  // the demo's widgets stand in for these
constexpr int kWidgets = kDemoWidgets + 3 * (kColumns * kRows - kSkippedCells);

std::wstring n(int v) { return std::to_wstring(v); }

std::wstring rect(int x, int y, int w, int h) {
    return L"<GUIRECT><POS_TL X_OFF=\"" + n(x) + L"\" Y_OFF=\"" + n(y) + L"\"/><SIZE X_OFF=\"" + n(w) +
           L"\" Y_OFF=\"" + n(h) + L"\"/></GUIRECT>";
}

std::wstring look(wchar_t const* texture, wchar_t const* colour = L"FFFFFFFF") {
    return std::wstring(L"<DRAWOPTIONS TEX_NORMAL=\"") + texture + L"\" MODULATE_COLOR=\"" + colour + L"\"/>";
}

std::wstring part(wchar_t const* tag, std::wstring const& params) {
    return std::wstring(L"<") + tag + L"><WINDOW_PARAMS>" + params + L"</WINDOW_PARAMS></" + tag + L">";
}

// One cell of the grid at (x, y), 128 x 72: three widgets.
std::wstring cell(int i, int x, int y) {
    std::wstring const id = n(i);
    std::wstring text = L"<WINDOW TYPE=\"SLIDER\" NAME=\"regler" + id + L"\"><WINDOW_PARAMS>" + rect(x, y, 120, 16) +
                        L"<OPTIONS LAYOUTMANAGER=\"DEFAULT\"/></WINDOW_PARAMS><SLIDER_PARAMS SHOW_BUTTONS=\"1\" "
                        L"VALUE=\"" + n(i % 11) + L"\">" +
                        part(L"BUTTON_LEFT", rect(0, 0, 16, 16) + look(L"gui_arrow_left")) +
                        part(L"BUTTON_RIGHT", rect(0, 0, 16, 16) + look(L"gui_arrow_right")) +
                        part(L"SLIDER_INNEN", rect(0, 0, 10, 16) + look(L"gui_slider_knob")) +
                        part(L"SLIDER_AUSSEN", look(L"gui_slider_track")) + L"</SLIDER_PARAMS></WINDOW>";
    text += L"<WINDOW TYPE=\"PROGRESSBAR\" NAME=\"balken" + id + L"\"><WINDOW_PARAMS>" + rect(x, y + 20, 120, 10) +
            look(L"gui_progress_back") + L"</WINDOW_PARAMS><PROGRESSBAR_PARAMS AKT_WERT=\"0." + n(i % 10) +
            L"\" TYP=\"" + (i % 2 ? L"LEFT_RIGHT" : L"BOTTOM_TOP") +
            L"\"><TEXTURES_2D_PROGRESS TEX_NORMAL=\"gui_progress_fill\"/></PROGRESSBAR_PARAMS></WINDOW>";
    std::wstring const at = rect(x, y + 34, 120, 34);
    switch (i % 6) {
        case 0:
            text += L"<WINDOW TYPE=\"SCROLL_PANEL\" NAME=\"rollbild" + id + L"\"><WINDOW_PARAMS>" + at +
                    look(L"gui_frame") + L"</WINDOW_PARAMS><SCROLL_PANEL_PARAMS HORIZONTAL_SCROLL=\"1\" "
                    L"SIZE_ABSOLUT=\"8\"><HORIZONTAL_PARAMS>" +
                    part(L"BUTTON_LEFT", look(L"gui_arrow_left")) + part(L"BUTTON_RIGHT", look(L"gui_arrow_right")) +
                    part(L"SCROLL_BUTTON", look(L"gui_scroll_thumb")) +
                    part(L"SCROLL_UNDERGROUND", look(L"gui_scroll_track")) + L"</HORIZONTAL_PARAMS></SCROLL_PANEL_PARAMS>";
            for (int t = 0; t < 4; ++t)
                text += L"<WINDOW NAME=\"kachel\"><WINDOW_PARAMS>" + rect(t * 50, 0, 46, 24) +
                        L"<MAX_SIZE X_REL=\"-1\" Y_REL=\"-1\"/>" + look(L"gui_white", L"FF4080C0") +
                        L"</WINDOW_PARAMS></WINDOW>";
            text += L"</WINDOW>";
            break;
        case 1:
            text += L"<WINDOW NAME=\"anordnung" + id + L"\"><WINDOW_PARAMS>" + at +
                    L"<OPTIONS LAYOUTMANAGER=\"DEFAULT\"/>" + look(L"gui_white", L"FF303038") + L"</WINDOW_PARAMS>";
            for (wchar_t const* where : {L"TOP", L"LEFT", L"FILL"})
                text += L"<WINDOW NAME=\"teil\"><WINDOW_PARAMS>" + rect(0, 0, 20, 8) + L"<OPTIONS LAYOUT_PARAM=\"" +
                        where + L"\"/>" + look(L"gui_white", L"FF5070A0") + L"</WINDOW_PARAMS></WINDOW>";
            text += L"</WINDOW>";
            break;
        case 2:
            text += L"<WINDOW TYPE=\"BUTTON\" NAME=\"knopf" + id + L"\"><WINDOW_PARAMS>" + at +
                    L"<DRAWOPTIONS TEX_NORMAL=\"gui_button\" TEX_MARK=\"gui_button_mark\" ACTIVE_BLEND=\"0.2\" "
                    L"INACTIVE_BLEND=\"0.3\"/></WINDOW_PARAMS><BUTTON_PARAMS><LABEL_PARAMS FONT_NAME=\"default\" "
                    L"TEXT=\"Knopf " + id + L"\"/></BUTTON_PARAMS></WINDOW>";
            break;
        case 3:
            text += L"<WINDOW TYPE=\"CHECKBOX\" NAME=\"kasten" + id + L"\"><WINDOW_PARAMS>" + at +
                    L"</WINDOW_PARAMS><CHECKBOX_PARAMS CHECKBOX_LOC=\"LEFT\"><CHECKBOX_BUTTON_PARAMS>"
                    L"<CHECKBOX_SIZE REL=\"0\" OFF=\"28\"/><TEXTURES_2D TEX_NORMAL=\"gui_check_off\" "
                    L"TEX_PRESS=\"gui_check_on\" TEX_MARK=\"gui_check_mark\"/></CHECKBOX_BUTTON_PARAMS>"
                    L"<LABEL_PARAMS FONT_NAME=\"klein\" TEXT=\"Kasten\" FLAGS=\"LEFT VCENTER\"/></CHECKBOX_PARAMS></WINDOW>";
            break;
        case 4:
            text += L"<WINDOW TYPE=\"FRAME\" NAME=\"rahmen" + id + L"\"><WINDOW_PARAMS>" + at +
                    L"</WINDOW_PARAMS><FRAME_PARAMS><RAND_SIZE REL=\"0\" OFF=\"6\"/>";
            for (wchar_t const* side : {L"TOP", L"BOTTOM", L"LEFT", L"RIGHT"})
                text += std::wstring(L"<TEXTURES_2D_") + side + L" TEX_NORMAL=\"gui_frame_edge\"/>";
            for (wchar_t const* corner : {L"TOP_LEFT", L"TOP_RIGHT", L"BOTTOM_LEFT", L"BOTTOM_RIGHT"})
                text += std::wstring(L"<TEXTURES_2D_") + corner + L" TEX_NORMAL=\"gui_frame_corner\"/>";
            text += L"<TEXTURES_2D_FILL TEX_NORMAL=\"gui_frame_fill\"/></FRAME_PARAMS></WINDOW>";
            break;
        default:
            text += L"<WINDOW TYPE=\"LABEL\" NAME=\"text" + id + L"\"><WINDOW_PARAMS>" + at + look(L"gui_label") +
                    L"</WINDOW_PARAMS><LABEL_PARAMS FONT_NAME=\"default\" FONT_STYLENAME=\"schatten\" TEXT=\"Zeile " +
                    id + L"\" FLAGS=\"CENTER VCENTER\"/></WINDOW>";
            break;
    }
    return text;
}

struct Scene {
    Effect* effect = nullptr;
    bench::CountingSprite* sprite = nullptr;
    int windows = 0;
    testsupport::FrameFinish* finishFrame = nullptr;  // never released: the device may go first

    bool init() {
        if (!bench::setUpGuiDrawing(kWidth, kHeight, effect, sprite)) return false;
        GUISystem& gui = GUISystem::instance();
        XMLNode demo;
        if (!demo.load(L"tests\\engine\\gui\\data\\demo_widgets.gui")) return false;
        gui.loadTextures(demo, L"demo_widgets.gui");
        std::wstring grid = L"<GUI>";
        int i = 0;
        for (int r = 0; r < kRows; ++r)
            for (int c = 0; c < kColumns; ++c, ++i)
                // The demo's own widgets take the first cells' place: they count towards the 300.
                if (i >= kSkippedCells) grid += cell(i, c * 128 + 4, r * 72 + 2);
        grid += L"</GUI>";
        XMLNode root;
        root.loadFromText(grid);
        gui.loadTextures(root, L"grid");
        std::vector<GUIWindow*> all;
        gui.collectAllWindows(all);
        windows = static_cast<int>(all.size());
        finishFrame = new testsupport::FrameFinish(D3DInterface::getInstance().getDevice());
        return finishFrame->ready();
    }
};

void demoScreen(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    Scene& s = *scene;
    GUISystem& gui = GUISystem::instance();
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    double updateSeconds = 0.0;
    double drawSeconds = 0.0;
    int step = 0;
    auto frame = [&] {
        // The pointer sweeps the screen in rows, one hover test per frame.
        ++step;
        MouseState pointer;
        pointer.x = static_cast<float>((step * 37) % kWidth);
        pointer.y = static_cast<float>(((step * 37) / kWidth * 29) % kHeight);
        double const t0 = bench::threadSeconds();
        gui.onMouseMove(pointer, OA_MOUSE_X);
        gui.update(1.0 / 60.0);
        double const t1 = bench::threadSeconds();
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        gui.draw();
        device->EndScene();
        double const t2 = bench::threadSeconds();
        (*s.finishFrame)();
        updateSeconds += t1 - t0;
        drawSeconds += t2 - t1;
    };
    frame();  // shader compiles and first uses outside the timing
    s.sprite->drawCalls = 0;
    updateSeconds = drawSeconds = 0.0;
    for (auto _ : state) frame();
    double const frames = static_cast<double>(state.iterations());
    state.counters["updateMs"] = 1000.0 * updateSeconds / frames;
    state.counters["drawMs"] = 1000.0 * drawSeconds / frames;
    state.counters["drawCalls"] = s.sprite->drawCalls / frames;
    state.counters["widgets"] = kWidgets;
    state.counters["windows"] = s.windows;
}

}  // namespace

BENCHMARK(demoScreen)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // The windows and fonts go before the process's static objects: the font manager's font
    // resources would otherwise be released after the font registry they unregister from.
    GUISystem::instance().clear();
    D3DXFontInterface::instance().clearAll();
    return 0;
}
