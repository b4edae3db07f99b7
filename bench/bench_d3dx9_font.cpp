// One frame of 2,000 short labels drawn with one ID3DXFont at 1920x1080, centred in their boxes
// as the GUI's labels are: through one sprite batch (the engine's way), and with the font's own
// sprite per label. Reports CPU time per frame; each frame ends with a 1x1 read-back so the GL
// work of one frame does not pile up behind the next.
#include "bench/BenchDevice.h"
#include "bench/BenchLabels.h"
#include "port/d3dx9/d3dx9.h"
#include "tests/support/gl/FrameFinish.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using benchlabels::kHeight;
using benchlabels::kLabels;
using benchlabels::kWidth;
using benchlabels::Label;
using benchlabels::makeLabels;
constexpr DWORD kLabelFormat = DT_CENTER | DT_VCENTER | DT_WORDBREAK;

void labelFrame(benchmark::State& state, bool oneBatch) {
    testsupport::HeadlessDevice headless;
    if (!bench::openHeadlessDevice(state, headless, kWidth, kHeight)) return;
    IDirect3DDevice9* device = headless.device;
    ID3DXFont* font = nullptr;
    ID3DXSprite* sprite = nullptr;
    if (FAILED(D3DXCreateFontW(device, -15, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, 0, 0, 0, L"Arial", &font)) ||
        FAILED(D3DXCreateSprite(device, &sprite))) {
        state.SkipWithError("no font");
        return;
    }
    std::vector<Label> labels = makeLabels();
    testsupport::FrameFinish finish(device);
    for (auto _ : state) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF206020, 1.0f, 0);
        device->BeginScene();
        if (oneBatch) sprite->Begin(D3DXSPRITE_ALPHABLEND);
        for (auto& label : labels) {
            RECT rect = label.rect;
            font->DrawTextW(oneBatch ? sprite : nullptr, label.text.c_str(), -1, &rect, kLabelFormat, label.color);
        }
        if (oneBatch) sprite->End();
        device->EndScene();
        finish();
    }
    state.counters["labels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kLabels, benchmark::Counter::kIsRate);
    sprite->Release();
    font->Release();
}

void labelsInOneSpriteBatch(benchmark::State& state) { labelFrame(state, true); }
void labelsWithTheFontsOwnSprite(benchmark::State& state) { labelFrame(state, false); }

}  // namespace

BENCHMARK(labelsInOneSpriteBatch)->Unit(benchmark::kMillisecond);
BENCHMARK(labelsWithTheFontsOwnSprite)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
