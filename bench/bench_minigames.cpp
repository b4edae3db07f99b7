// The mini-games' costly moments.
// - sortingDrag: the sorting game with 40 items (four areas in a grid, the items in one tray) at
//   1920x1080 while one item is dragged: each frame moves the pointer with the button held (the
//   item on top at the press follows, checked before timing; every item is kept inside the work
//   window), then the GUI and the manager update
//   and the GUI draws, as the game does. Built from the shipped screens and templates
//   (data\GUI\Minispiel.gui, data\Games\Minispiele.gui, minigames.ani) without fonts. CPU time per
//   frame is the calling thread's; each frame ends with a 1x1 read-back.
// - differencesFirstClick: the first click on a difference whose picture is 1024 x 768: the
//   picture's list of opaque pixels is built (the texture read back), then the click looked up,
//   what a difference does on its first click; later clicks only look up.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchDevice.h"
#include "bench/BenchMinigames.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/Sprite.h"
#include "engine/render/Texture2D.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielZuordnen.h"
#include "game/minigames/UnterschiedeAnklicken.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using namespace Orvex;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr int kItems = 40;
constexpr int kAreas = 4;
constexpr double kStep = 1.0 / 60.0;
constexpr unsigned kPictureWidth = 1024;
constexpr unsigned kPictureHeight = 768;

// The sorting game of kItems items, its window shown and the help closed.
std::wstring sortingGame() {
    std::wstring text = L"<MINISPIELE><MINISPIEL TYPE=\"ZUORDNEN\" NAME=\"B\" ANORDNUNG=\"2\">";
    for (int a = 0; a < kAreas; ++a)
        text += L"<GEBIET NAME=\"A" + std::to_wstring(a) + L"\" GUI=\"MG_KORB\" ANIMATION=\"MG_KORB_ROT\"/>";
    for (int i = 0; i < kItems; ++i)
        text += L"<GEGENSTAND GUI=\"MG_KARTE\" ANIMATION=\"MG_KARTE_HERZ\" ZIEL_GEBIET=\"A" +
                std::to_wstring(i % kAreas) + L"\" WERT=\"" + std::to_wstring(i) + L"\"/>";
    return text + L"</MINISPIEL></MINISPIELE>";
}

struct Scene {
    Sprite* sprite = nullptr;
    Solitaire::MinispielZuordnen* game = nullptr;
    // Never released: the device object may be gone before this static object at exit.
    testsupport::FrameFinish* finishFrame = nullptr;

    bool init() {
        sprite = bench::openMinigameScreens(kWidth, kHeight, {L"data\\Games\\Minispiele.gui"},
                                            {L"data\\Games\\minigames.ani"});
        if (!sprite) return false;
        GUISystem& gui = GUISystem::instance();
        Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
        XMLNode definitions;
        definitions.loadFromText(sortingGame(), L"bench.min");
        manager.loadDefinitions(definitions, L"bench.min");
        manager.initGUI();
        game = dynamic_cast<Solitaire::MinispielZuordnen*>(manager.findMinispiel(L"B"));
        if (!game) return false;
        gui.findWindow(L"MINISPIEL_SCREEN")->jumpToGoal(L"AN");
        manager.setActiveMinispiel(game);
        manager.showHelp(false, 0.0f);
        for (int i = 0; i < 60; ++i) gui.update(kStep);
        finishFrame = new testsupport::FrameFinish(D3DInterface::getInstance().getDevice());
        return finishFrame->ready();
    }
};

void sortingDrag(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    GUISystem& gui = GUISystem::instance();
    Solitaire::MinispielManager& manager = Solitaire::MinispielManager::instance();
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    FRect const r = scene->game->getItems()[0]->window->getScreenRect();
    MouseState mouse;
    mouse.x = (r.left + r.right) / 2.0f;
    mouse.y = (r.top + r.bottom) / 2.0f;
    gui.onMouseMove(mouse, OA_MOUSE_X);
    mouse.setButtonDown(OMB_LEFT, true);
    gui.onMouseDown(mouse, OMB_LEFT);
    int frame = 0;
    auto step = [&] {
        // Back and forth over the work window.
        mouse.x += (frame++ / 120) % 2 ? -4.0f : 4.0f;
        mouse.y += (frame / 60) % 2 ? -2.0f : 2.0f;
        gui.onMouseMove(mouse, OA_MOUSE_X);
        gui.update(kStep);
        manager.update(kStep);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->BeginScene();
        gui.draw();
        device->EndScene();
        (*scene->finishFrame)();
    };
    // The item on top at that point (items lie stacked in the tray) is the one dragged.
    GUIWindow* const dragged = gui.getPressedWindow();
    if (!dragged) return state.SkipWithError("no item taken");
    FRect const before = dragged->getScreenRect();
    for (int i = 0; i < 4; ++i) step();  // shader compiles and first uses outside the timing
    // The item must follow the pointer, or the frames would time a still screen.
    if (dragged->getScreenRect().left == before.left) {
        gui.onMouseUp(mouse, OMB_LEFT);
        return state.SkipWithError("the item does not follow the pointer");
    }
    for (auto _ : state) step();
    mouse.setButtonDown(OMB_LEFT, false);
    gui.onMouseUp(mouse, OMB_LEFT);
    state.counters["items"] = kItems;
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void differencesFirstClick(benchmark::State& state) {
    if (!bench::openEngineDevice(kWidth, kHeight)) {
        state.SkipWithError("no device");
        return;
    }
    // A picture with an opaque disc in the middle and thin opaque rings, the rest transparent.
    static Texture2D* picture = [] {
        auto* texture = new Texture2D(L"difference");
        texture->create(kPictureWidth, kPictureHeight, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
        D3DLOCKED_RECT locked{};
        RECT const all{0, 0, static_cast<LONG>(kPictureWidth), static_cast<LONG>(kPictureHeight)};
        if (texture->lockRect(0, locked, all, 0)) {
            for (unsigned y = 0; y < kPictureHeight; ++y) {
                auto* row = reinterpret_cast<std::uint32_t*>(static_cast<char*>(locked.pBits) + y * locked.Pitch);
                for (unsigned x = 0; x < kPictureWidth; ++x) {
                    int const dx = static_cast<int>(x) - 512;
                    int const dy = static_cast<int>(y) - 384;
                    int const d = dx * dx + dy * dy;
                    bool const opaque = d < 150 * 150 || (d / 900) % 7 == 0;
                    row[x] = opaque ? 0xFF806040u : 0x00000000u;
                }
            }
            texture->unlockRect(0);
        }
        return texture;
    }();
    bool hit = false;
    for (auto _ : state) {
        picture->buildPixelList(Solitaire::UnterschiedeAnklicken::kAlphaThreshold);
        hit = picture->isInPixelList(512, 384);
        benchmark::DoNotOptimize(hit);
    }
    state.counters["opaquePixels"] = static_cast<double>(picture->getPixelList().size());
    if (!hit) state.SkipWithError("the middle is not opaque");
}

}  // namespace

BENCHMARK(sortingDrag)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(differencesFirstClick)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
