// One 1280x720 GUI screen of 300 windows (a root, 30 frames each holding 4 buttons and 5
// labels; half the buttons with an upper layer, some frames with a colour drawer or a mover), updated and
// drawn per frame through the engine batcher and the "Sprite" effect, as the GUI system draws:
// one sprite batch, drawRoot per top-level window.
// - guiScreen/texCount:1: the effect as shipped (one texture per draw call), so a draw call ends
//   at every texture change in drawing order; texCount:8: eight textures per draw call.
// - clipping:0 no window clips; clipping:1 every frame clips its children ("DRAW_IN_CLIENT_ONLY"):
//   each then costs a stencil write and two batch flushes per pass.
// Counters per frame: "drawCalls" (all batches of the frame), "batches" (sprite Begin/End pairs,
// one plus one per flush), "windows". CPU time per frame is the calling thread's; each frame
// ends with a 1x1 read-back so the GL work of a frame is done inside it.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/BenchDevice.h"
#include "engine/core/GOBManager.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Effect.h"
#include "engine/render/Sprite.h"
#include "engine/render/TextureManager.h"
#include "port/win32/win32_paths.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using namespace Orvex;

constexpr unsigned kWidth = 1280;
constexpr unsigned kHeight = 720;
constexpr int kFrames = 30;
constexpr int kButtons = 4;
constexpr int kLabels = 5;
constexpr int kWindows = 1 + kFrames * (1 + kButtons + kLabels);
static_assert(kWindows == 301, "a root and 300 windows");

// The engine batcher, counting the draw calls and batches of every Begin/End pair.
class CountingSprite : public Sprite {
public:
    bool End() override {
        bool const done = Sprite::End();
        drawCalls += getStats().drawCalls;
        ++batches;
        return done;
    }
    unsigned drawCalls = 0;
    unsigned batches = 0;
};

XMLNode parse(std::wstring const& text) {
    XMLNode node;
    node.loadFromText(text);
    return node;
}

GUIWindow* makeWindow(std::wstring const& name, float x, float y, float w, float h, wchar_t const* texture,
                      wchar_t const* mark = nullptr) {
    auto* window = new GUIWindow(name);
    GUIRect& r = window->getRect();
    r.position.offX = x;
    r.position.offY = y;
    r.size.offX = w;
    r.size.offY = h;
    window->getMaxSize() = GUIRectAxis{-1.0f, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    TextureManager& textures = D3DInterface::getInstance().getTextureManager();
    window->getDrawOptions().setTexNormal(textures.findTexture(texture));
    if (mark) window->getDrawOptions().setTexMark(textures.findTexture(mark));
    return window;
}

struct Scene {
    Effect* oneSlot = nullptr;
    Effect* eightSlots = nullptr;
    CountingSprite* sprite = nullptr;
    GUIWindow* root = nullptr;
    std::vector<GUIWindow*> frames;
    // Never released: the device object may be gone before this static object at exit.
    testsupport::FrameFinish* finishFrame = nullptr;

    bool init() {
        if (!bench::openEngineDevice(kWidth, kHeight)) return false;
        std::filesystem::path const repo = std::filesystem::path(ORVEX_SOURCE_DIR);
        GOBManager::getInstance().addSearchPath(port::windowsPath(repo.string()));
        XMLNode list;
        if (!list.load(L"data\\GUI\\gui_textures.tex")) return false;
        D3DInterface::getInstance().getTextureManager().loadTextures(list);
        std::wstring const fx = port::windowsPath((repo / "data" / "FX" / "sprite.fx").string());
        auto load = [&fx](wchar_t const* slots) -> Effect* {
            XMLNode node = parse(L"<EFFECT NAME=\"Sprite\" PRE_COMPILE=\"0\"><FILE FILENAME=\"" + fx +
                                 L"\" /><MACROS><MACRO NAME=\"SPRITE_TEX_COUNT\" DEFINITION=\"" + slots +
                                 L"\" /></MACROS></EFFECT>");
            auto* loaded = new Effect(false);
            if (loaded->load(node)) return loaded;
            loaded->release();
            return nullptr;
        };
        oneSlot = load(L"1");
        eightSlots = load(L"8");
        if (!oneSlot || !eightSlots) return false;
        sprite = new CountingSprite();
        sprite->create();
        sprite->setEffect(oneSlot);
        GUISystem::instance().setSprite(sprite);
        build();
        finishFrame = new testsupport::FrameFinish(D3DInterface::getInstance().getDevice());
        return finishFrame->ready();
    }

    // A frame as a GUI file gives it: look, drawer and mover from its element.
    static GUIWindow* makeFrame(int f) {
        int const x = 10 + (f % 6) * 210;
        int const y = 10 + (f / 6) * 140;
        std::wstring text = L"<WINDOW NAME=\"frame" + std::to_wstring(f) + L"\">";
        if (f % 3 == 0) text += L"<DRAWER TYPE=\"COLOR\" COLOR_MIN=\"FFC0C0C0 FFFFFFFF\" COLOR_MAX=\"FFFFFFFF\"/>";
        text += L"<WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"" + std::to_wstring(x) + L"\" Y_OFF=\"" +
                std::to_wstring(y) + L"\"/><SIZE X_OFF=\"200\" Y_OFF=\"130\"/></GUIRECT>" +
                L"<DRAWOPTIONS TEX_NORMAL=\"gui_frame\"/>";
        if (f % 5 == 0) text += L"<GUI_MOVER DISTANCE=\"3\" TIME_FAKTOR=\"0.5\"/>";
        text += L"</WINDOW_PARAMS></WINDOW>";
        XMLNode node = parse(text);
        return new GUIWindow(node);
    }

    void build() {
        root = makeWindow(L"screen", 0, 0, kWidth, kHeight, L"gui_frame");
        for (int f = 0; f < kFrames; ++f) {
            GUIWindow* frame = makeFrame(f);
            root->addChild(frame, true, true);
            frames.push_back(frame);
            for (int b = 0; b < kButtons; ++b) {
                GUIWindow* button = makeWindow(L"button", 8.0f + 48.0f * static_cast<float>(b), 8, 44, 24,
                                               L"gui_button", L"gui_button_mark");
                // Half the buttons with a second layer drawn over their look.
                if (b % 2)
                    button->getDrawOptions().setTexBackground(
                        D3DInterface::getInstance().getTextureManager().findTexture(L"gui_button_press"));
                frame->addChild(button, true, true);
            }
            for (int l = 0; l < kLabels; ++l) {
                GUIWindow* label = makeWindow(L"label", 8, 40.0f + 17.0f * static_cast<float>(l), 184, 15, L"gui_label");
                frame->addChild(label, true, true);
            }
        }
        root->updateRect(true, true);
    }

    void setClipping(bool on) {
        for (GUIWindow* frame : frames) frame->getOptions().drawInClientOnly = on;
    }
};

void guiScreen(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    Scene& s = *scene;
    s.sprite->setEffect(state.range(0) == 8 ? s.eightSlots : s.oneSlot);
    s.setClipping(state.range(1) != 0);
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    auto frame = [&] {
        s.root->update(1.0 / 60.0);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        s.sprite->Begin(GUISystem::kSpriteFlags, nullptr);
        s.root->drawRoot(false);
        s.sprite->End();
        device->EndScene();
        (*s.finishFrame)();
    };
    frame();  // shader compiles and first uses outside the timing
    s.sprite->drawCalls = 0;
    s.sprite->batches = 0;
    for (auto _ : state) frame();
    double const frames = static_cast<double>(state.iterations());
    state.counters["drawCalls"] = s.sprite->drawCalls / frames;
    state.counters["batches"] = s.sprite->batches / frames;
    state.counters["windows"] = kWindows - 1;
    state.counters["fps"] = benchmark::Counter(frames, benchmark::Counter::kIsRate);
    s.sprite->setEffect(s.oneSlot);
}

}  // namespace

BENCHMARK(guiScreen)->ArgNames({"texCount", "clipping"})->Args({1, 0})->Args({8, 0})->Args({1, 1})->Args({8, 1})
    ->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
