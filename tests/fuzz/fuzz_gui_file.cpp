// Fuzzes the GUI-file reader with file bytes: the property-file parse, the GUI system's load
// (templates before and after, windows, goals, tooltips, drawers, movers, rectangles), then a
// few frames of the loaded screen: every goal played and jumped to, the mouse pressed, dragged
// and released across it, each window copied, frames updated and drawn (without a device), and
// the GUI and the animation lists emptied again. The input is cut into files as FuzzSupport.h
// describes, so the texture and animation lists it names ("part1" ...) are read too; the first
// piece is loaded once more by name ("part0"; under a second name it is not loaded again). The
// windows of all loads stay within the GUI's cap.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "tests/fuzz/FuzzScreen.h"

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietScreen();
    std::size_t const first = fuzz::serveParts(data, size);
    Orvex::XMLNode root;
    fuzz::readTree(data, first, root);
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    gui.loadTextures(root, L"fuzz.gui");
    gui.loadTextures(root, L"fuzz.gui");
    if (!gui.loadFile(L"part0") || gui.loadFile(L".\\PART0")) std::abort();

    std::vector<Orvex::GUIWindow*> all;
    gui.collectAllWindows(all);
    if (all.size() > Orvex::GUISystem::kMaxLoadedWindows) std::abort();
    for (Orvex::GUIWindow* w : all) {
        w->addRef();
        for (Orvex::GUIAnimationsGoal* goal : std::vector<Orvex::GUIAnimationsGoal*>(w->getGoals())) {
            std::wstring const name = goal->name;
            w->animateToGoal(name, 1.0, true);
            w->update(0.3);
            w->jumpToGoal(name);
        }
        Orvex::GUIWindow* copy = w->clone();
        copy->update(0.1);
        copy->release();
    }
    for (int i = 0; i < 4; ++i) {
        Orvex::MouseState state;
        state.x = static_cast<float>(i * 150);
        state.y = static_cast<float>(i * 110);
        gui.onMouseMove(state, Orvex::OA_MOUSE_X);
        state.setButtonDown(Orvex::OMB_LEFT, true);
        gui.onMouseDown(state, Orvex::OMB_LEFT);
        state.x += 7.0f;
        gui.onMouseMove(state, Orvex::OA_MOUSE_X);
        gui.onMouseUp(state, Orvex::OMB_LEFT);
        gui.update(0.25);
        gui.draw();
    }
    for (Orvex::GUIWindow* w : all) w->release();
    gui.clear();
    Orvex::Texture2DAnimationManager::instance().releaseAnimations();
    return 0;
}
