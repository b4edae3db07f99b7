// Fuzzes the menu-file reader with file bytes: the property-file parse, a small screen of
// windows (so that names can resolve), the menu manager's load (menus, links of every kind,
// events, the start menu), then input: keys spread over the codes, clicks on every window, frames that
// run the wait timers, every menu activated and the history walked. Then everything is emptied.
// The input is cut into files as FuzzSupport.h describes, so the GUI files it names ("part1" ...)
// are loaded (each once, within the GUI's window cap) and their animation lists too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "tests/fuzz/FuzzScreen.h"

namespace {

// Windows a to d side by side, each with the goals "AN" and "AUS".
char const kScreen[] =
    "<GUI><WINDOW NAME=\"a\" USER_ID=\"a\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"0\"/><SIZE X_OFF=\"50\" "
    "Y_OFF=\"50\"/></GUIRECT><ANIMATION_GOAL NAME=\"AN\"/><ANIMATION_GOAL NAME=\"AUS\"><OPTIONS VISIBLE=\"0\"/>"
    "</ANIMATION_GOAL></WINDOW_PARAMS><WINDOW NAME=\"b\" USER_ID=\"b\"/></WINDOW>"
    "<WINDOW NAME=\"c\" USER_ID=\"c\"><WINDOW_PARAMS><GUIRECT><POS_TL X_OFF=\"100\"/><SIZE X_OFF=\"50\" "
    "Y_OFF=\"50\"/></GUIRECT></WINDOW_PARAMS></WINDOW></GUI>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(uint8_t const* data, std::size_t size) {
    fuzz::quietScreen();
    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
    Orvex::XMLNode screen;
    fuzz::readTree(reinterpret_cast<uint8_t const*>(kScreen), sizeof(kScreen) - 1, screen);
    gui.loadTextures(screen, L"fuzz.gui");

    std::size_t const first = fuzz::serveParts(data, size);
    Orvex::XMLNode root;
    fuzz::readTree(data, first, root);
    Orvex::GUIMenuManagerN& menus = Orvex::GUIMenuManagerN::instance();
    menus.load(root, L"fuzz.mnu");

    for (int code = 0; code < 256; code += 17) {
        Orvex::KeyState keys;
        keys.setKeyDown(static_cast<Orvex::u8>(code), true);
        keys.addPressed(static_cast<Orvex::u8>(code));
        unsigned char const c = static_cast<unsigned char>(code);
        menus.onKey(keys, c);
    }
    std::vector<Orvex::GUIWindow*> all;
    gui.collectAllWindows(all);
    if (all.size() > Orvex::GUISystem::kMaxLoadedWindows) std::abort();
    for (Orvex::GUIWindow* w : all) w->addRef();
    for (Orvex::GUIWindow* w : all) {
        menus.onWindowLeftClick(*w);
        menus.onWindowRightClick(*w);
    }
    for (int i = 0; i < 4; ++i) {
        menus.update(0.3);
        gui.update(0.3);
    }
    std::vector<Orvex::GUIMenuN*> const list = menus.getMenus();
    for (Orvex::GUIMenuN* menu : list) {
        menus.setActiveMenu(menu, -1.0);
        menus.update(0.5);
    }
    menus.moveInHistory(-2, 0.0);
    menus.moveInHistory(5, 1.0);
    for (Orvex::GUIWindow* w : all) w->release();
    menus.clear();
    gui.clear();
    Orvex::Texture2DAnimationManager::instance().releaseAnimations();
    return 0;
}
