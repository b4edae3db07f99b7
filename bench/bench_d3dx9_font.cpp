// One frame of 2,000 short labels drawn with one ID3DXFont at 1920x1080, centred in their boxes
// as the GUI's labels are: through one sprite batch (the engine's way), and with the font's own
// sprite per label. Reports CPU time per frame; each frame ends with a 1x1 read-back so the GL
// work of one frame does not pile up behind the next.
#include "port/d3dx9/d3dx9.h"
#include "tests/support/gl/FrameFinish.h"
#include "tests/support/gl/HeadlessDevice.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr UINT kLabels = 2000;
constexpr UINT kWidth = 1920, kHeight = 1080;
constexpr LONG kLabelW = 120, kLabelH = 24;
constexpr DWORD kLabelFormat = DT_CENTER | DT_VCENTER | DT_WORDBREAK;

struct Label {
    std::wstring text;
    RECT rect;
    D3DCOLOR color;
};

std::vector<Label> makeLabels() {
    static wchar_t const* const words[] = {L"Karte", L"Stapel", L"K\u00f6nig", L"Punkte", L"Zug", L"5 \u20ac"};
    std::vector<Label> labels;
    unsigned seed = 12345;
    for (UINT i = 0; i < kLabels; ++i) {
        seed = seed * 214013u + 2531011u;
        LONG x = static_cast<LONG>((seed >> 8) % (kWidth - kLabelW));
        seed = seed * 214013u + 2531011u;
        LONG y = static_cast<LONG>((seed >> 8) % (kHeight - kLabelH));
        labels.push_back({std::wstring(words[i % 6]) + L" " + std::to_wstring(i % 100), RECT{x, y, x + kLabelW, y + kLabelH},
                          0xFF000000u | (seed & 0xFFFFFF)});
    }
    return labels;
}

void labelFrame(benchmark::State& state, bool oneBatch) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    testsupport::HeadlessDevice headless;
    if (!headless.open(kWidth, kHeight)) {
        state.SkipWithError("no device");
        return;
    }
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
