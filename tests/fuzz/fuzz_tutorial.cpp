// Fuzzes the tutorial-file reader with file bytes: the property-file parse, the manager's load
// (templates, strips, pages, points) over a screen of the windows our tutorial file points at,
// then every strip copied, shown, stepped page by page with frames updated (time-outs, arrow
// swing and wobble, re-placement) and drawn (without a device), hidden and stepped once more.
// The input is cut into files as FuzzSupport.h describes, so the animation lists it names
// ("part1" ...) are read too (each once); they are released at the end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialStrip.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "tests/fuzz/FuzzScreen.h"

namespace {

// A screen of plain windows under the names the tutorial files use.
void makeScreen(Orvex::GUISystem& gui) {
    struct Box {
        wchar_t const* name;
        float x, y, w, h;
    } const boxes[] = {{L"hauptmenue", 100, 80, 400, 300}, {L"start", 120, 100, 80, 30}, {L"ende", 120, 160, 80, 30},
                       {L"notiz", 500, 380, 120, 80},      {L"scheibe", 20, 300, 64, 64}, {L"tut_seite", 200, 150, 200, 120}};
    for (Box const& b : boxes) {
        auto* w = new Orvex::GUIWindow(b.name);
        w->setPixelRect(b.x, b.y, b.w, b.h);
        w->initDefaultState();
        gui.addWindow(w);
        w->release();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietScreen();
    std::size_t const first = fuzz::serveParts(data, size);
    Orvex::XMLNode root;
    fuzz::readTree(data, first, root);
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    makeScreen(gui);
    Orvex::TutorialManager& tutorials = Orvex::TutorialManager::instance();
    tutorials.loadTemplates(root);

    std::vector<Orvex::TutorialStrip*> const strips = tutorials.getStrips();
    for (Orvex::TutorialStrip* s : strips) {
        auto* copy = new Orvex::TutorialStrip(*s);
        tutorials.addStrip(copy);
        copy->release();
    }
    for (Orvex::TutorialStrip* s : std::vector<Orvex::TutorialStrip*>(tutorials.getStrips())) {
        tutorials.showStrip(s->getName());
        for (std::size_t step = 0; step <= s->getPages().size() && step < 16; ++step) {
            for (int frame = 0; frame < 3; ++frame) {
                tutorials.update(0.4);
                gui.update(0.4);
                gui.draw();
            }
            s->nextPage();
        }
        tutorials.hideCurrentStrip();
        s->nextPage();
        s->hide();
    }
    tutorials.clear();
    gui.clear();
    Orvex::Texture2DAnimationManager::instance().releaseAnimations();
    return 0;
}
