// One frame of 2,000 short labels drawn through the font manager at 1920x1080, centred and
// wrapped in their boxes as the GUI's labels are, inside one sprite batch: with a device font,
// and with bitmap fonts whose glyph tables were built at run time from the same face, once on
// pages of the estimated size (several pages, so the batch changes texture often) and once on
// one 512x512 page ("SIZE_TABLES"). Reports
// CPU time per frame; each frame ends with a 1x1 read-back so the GL work of one frame does not
// pile up behind the next.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/BenchDevice.h"
#include "bench/BenchLabels.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/FontStyle.h"
#include "engine/gui/FontText.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/SpriteHolder.h"
#include "engine/render/TextureManager.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using benchlabels::kHeight;
using benchlabels::kWidth;
using benchlabels::Label;
using benchlabels::makeLabels;
constexpr Orvex::u32 kLabelFormat = Orvex::kTextCenter | Orvex::kTextVCenter | Orvex::kTextWordBreak;

void labelFrame(benchmark::State& state, wchar_t const* fontName) {
    if (!bench::openEngineDevice(kWidth, kHeight)) {
        state.SkipWithError("no device");
        return;
    }
    Orvex::D3DXFontInterface& fonts = Orvex::D3DXFontInterface::instance();
    if (!fonts.isReady()) fonts.initFonts();
    if (!fonts.findFont(fontName)) {
        Orvex::XMLNode root;
        root.loadFromText(L"<FONTS><D3DXFONT NAME=\"d\" HEIGHT=\"15\" SCALE_WITH_SCREEN=\"0\"/>"
                          L"<BITMAPFONT NAME=\"b\" HEIGHT=\"15\" SCALE_WITH_SCREEN=\"0\" CREATE_BITMAP_FONT_DATA=\"1\"/>"
                          L"<BITMAPFONT NAME=\"b1\" HEIGHT=\"15\" SCALE_WITH_SCREEN=\"0\" CREATE_BITMAP_FONT_DATA=\"1\">"
                          L"<CREATE_PARAMS SIZE_TABLES=\"512\"/></BITMAPFONT>"
                          L"</FONTS>");
        fonts.loadConfig(root, L"bench");
    }
    Orvex::FontStyle style;
    style.colorVG = D3DXCOLOR(1.0f, 1.0f, 0.8f, 1.0f);
    std::vector<Label> const labels = makeLabels();
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    IDirect3DDevice9* device = d3d.getDevice();
    Orvex::BaseSprite& sprite = d3d.getSprite().getD3DXSpriteObject();
    testsupport::FrameFinish finish(device);
    for (auto _ : state) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF206020, 1.0f, 0);
        device->BeginScene();
        sprite.Begin(0x10, nullptr);
        for (Label const& label : labels) {
            RECT rect = label.rect;
            fonts.drawText(fontName, label.text, rect, kLabelFormat, style);
        }
        sprite.End();
        device->EndScene();
        finish();
    }
    state.counters["labels/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * benchlabels::kLabels, benchmark::Counter::kIsRate);
}

void deviceFontLabels(benchmark::State& state) { labelFrame(state, L"d"); }
void bitmapFontLabels(benchmark::State& state) { labelFrame(state, L"b"); }
void bitmapFontLabelsOnePage(benchmark::State& state) { labelFrame(state, L"b1"); }

}  // namespace

BENCHMARK(deviceFontLabels)->Unit(benchmark::kMillisecond);
BENCHMARK(bitmapFontLabels)->Unit(benchmark::kMillisecond);
BENCHMARK(bitmapFontLabelsOnePage)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // Fonts and the device go before the static objects that hold them.
    Orvex::D3DXFontInterface::instance().clearAll();
    Orvex::D3DInterface& d3d = Orvex::D3DInterface::getInstance();
    if (Orvex::SpriteHolder* sprites = d3d.findSprite()) sprites->release();
    d3d.getTextureManager().releaseAll();
    d3d.shutdown();
    return 0;
}
