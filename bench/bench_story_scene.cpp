// A story scene of 200 elements at 1920x1080, as the game plays one: per frame the scene updates
// (every element's Catmull-Rom position and colour tracks, their blends, frame animations and
// animation records with speed tracks) and the story window draws it from its self-drawn signal
// through the engine batcher and the "Sprite" effect, with the engine's fonts for the texts.
// Elements take the shipped story pictures (data/Story/story.ani) in turn; each has a wandering
// position, a twinkling colour and an animation record; every fourth shows a text.
// Counters per frame: "updateMs" and "drawMs" (the thread's CPU time of the scene's update and of
// the GUI's draw), "drawCalls", "elements". Each frame ends with a 1x1 read-back so its GL work
// is done inside it.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchGuiScene.h"
#include "engine/core/Random.h"
#include "engine/core/XMLNode.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/D3DXFontInterface.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/LanguageManager.h"
#include "engine/platform/D3DInterface.h"
#include "engine/render/TextureManager.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/story/StoryPart.h"
#include "tests/support/gl/FrameFinish.h"

namespace {

using namespace Orvex;

constexpr unsigned kWidth = 1920;
constexpr unsigned kHeight = 1080;
constexpr int kElements = 200;
constexpr int kTextEvery = 4;
wchar_t const* const kPictures[] = {L"STORY_STERN", L"STORY_WOLKE", L"STORY_SONNE", L"STORY_FIGUR", L"STORY_TURM"};

std::wstring n(double v) { return std::to_wstring(v); }

// Element i on a 20 x 10 grid of the window.
std::wstring element(int i) {
    double const l = (i % 20) / 20.0;
    double const t = (i / 20) / 10.0;
    std::wstring text = L"<PART_PART NAME=\"E" + std::to_wstring(i) + L"\" ANIMATION=\"" + kPictures[i % 5] + L"\"";
    if (i % kTextEvery == 0) text += L" TEXT_ID=\"STORY_INTRO_1\" FONT_NAME=\"MenuKlein\" FONT_STYLE=\"MenuHell\"";
    text += L"><POSITION TYPE=\"CATMULL\" L=\"" + n(l) + L"\" T=\"" + n(t) + L"\" W=\"0.05\" H=\"0.1\" "
            L"DISTANCE=\"0.01 0.05\" TIME_FAKTOR=\"0.3 1.2\"/>"
            L"<COLOR TYPE=\"CATMULL\" COLOR=\"FFFFFFFF\" COLOR_MIN=\"60FFFFFF 90FFE0C0\" COLOR_MAX=\"FFFFFFFF\" SPEED=\"0.5 2\"/>"
            L"<ANIMATION ANIMATION=\"STORY_STERN\"><POSITION L=\"0.6\" T=\"-0.2\" W=\"0.4\" H=\"0.4\"/>"
            L"<ANIMATION_SPEED LOOP=\"1\"><VALUE_DELTATIME VALUE=\"0\"/><VALUE_DELTATIME VALUE=\"8\" DELTA_TIME=\"1\"/>"
            L"</ANIMATION_SPEED></ANIMATION></PART_PART>";
    return text;
}

struct Painter : sigslot::has_slots<> {
    Solitaire::StoryPart* scene = nullptr;
    void onDrawn(GUIWindow& window, bool const& drawn) {
        if (scene && drawn) scene->draw(window);
    }
};

struct Scene {
    Effect* effect = nullptr;
    bench::CountingSprite* sprite = nullptr;
    Solitaire::StoryPart* story = nullptr;
    Painter painter;
    testsupport::FrameFinish* finishFrame = nullptr;  // never released: the device may go first

    bool init() {
        if (!bench::setUpGuiDrawing(kWidth, kHeight, effect, sprite)) return false;
        GUISystem& gui = GUISystem::instance();
        XMLNode file;
        if (!file.load(L"data\\texte.lng")) return false;
        OrvexEngine::getInstance()->getLanguage()->load(file);
        if (!file.load(L"data\\Story\\story.ani")) return false;
        Texture2DAnimationManager::instance().load(file);
        XMLNode textures;
        if (!textures.load(L"data\\GUI\\gui_textures.tex")) return false;
        D3DInterface::getInstance().getTextureManager().loadTextures(textures);
        XMLNode window;
        window.loadFromText(L"<GUI><WINDOW NAME=\"T_STORY_BILD\"><WINDOW_PARAMS><GUIRECT><POS_TL/>"
                            L"<SIZE X_REL=\"1\" Y_REL=\"1\"/></GUIRECT><DRAWOPTIONS TEX_NORMAL=\"gui_white\" "
                            L"MODULATE_COLOR=\"FF000000\"/></WINDOW_PARAMS></WINDOW></GUI>");
        gui.loadTextures(window, L"story window");
        GUIWindow* picture = gui.findWindow(L"T_STORY_BILD");
        if (!picture) return false;
        picture->selfDrawn.connect(&painter, &Painter::onDrawn);
        seedRandom(1);
        std::wstring text = L"<STORY_PART NAME=\"BENCH\"><SWITCH/>";
        for (int i = 0; i < kElements; ++i) text += element(i);
        text += L"</STORY_PART>";
        XMLNode node;
        node.loadFromText(text, L"bench story");
        story = new Solitaire::StoryPart(node, L"bench story");
        story->nextSwitch(0.0f);
        painter.scene = story;
        finishFrame = new testsupport::FrameFinish(D3DInterface::getInstance().getDevice());
        return finishFrame->ready();
    }
};

void storyScene(benchmark::State& state) {
    Scene* scene = bench::readyScene<Scene>(state);
    if (!scene) return;
    Scene& s = *scene;
    GUISystem& gui = GUISystem::instance();
    IDirect3DDevice9* device = D3DInterface::getInstance().getDevice();
    double updateSeconds = 0.0;
    double drawSeconds = 0.0;
    auto frame = [&] {
        double const t0 = bench::threadSeconds();
        s.story->update(1.0f / 60.0f);
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
    frame();  // shader compiles, font glyphs and first uses outside the timing
    s.sprite->drawCalls = 0;
    updateSeconds = drawSeconds = 0.0;
    for (auto _ : state) frame();
    double const frames = static_cast<double>(state.iterations());
    state.counters["updateMs"] = 1000.0 * updateSeconds / frames;
    state.counters["drawMs"] = 1000.0 * drawSeconds / frames;
    state.counters["drawCalls"] = s.sprite->drawCalls / frames;
    state.counters["elements"] = kElements;
}

}  // namespace

BENCHMARK(storyScene)->Unit(benchmark::kMillisecond);

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
