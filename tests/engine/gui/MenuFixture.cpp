// The menu tests' screens, menu files, input and frames.
#include "tests/engine/gui/MenuFixture.h"

#include <algorithm>

#include "engine/gui/GUIWindow.h"
#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/TastaturLayout.h"

namespace guitest {

std::string narrow(std::wstring const& text) { return std::string(text.begin(), text.end()); }

std::wstring quoted(std::wstring text) {
    for (wchar_t& c : text)
        if (c == L'\'') c = L'"';
    return text;
}

void MenuRecorder::listen(std::wstring const& eventName) {
    Orvex::GUIMenuEventN* event = Orvex::GUIMenuManagerN::instance().findEvent(eventName);
    ASSERT_NE(event, nullptr) << narrow(eventName);
    event->fired.connect(this, &MenuRecorder::onFired);
}

void MenuRecorder::watchMenus() {
    Orvex::GUIMenuManagerN::instance().menuChanged.connect(this, &MenuRecorder::onChanged);
}

std::string MenuRecorder::joined() const {
    std::wstring out;
    for (std::wstring const& line : lines) out += (out.empty() ? L"" : L"; ") + line;
    return narrow(out);
}

void MenuFixture::SetUp() {
    GUIFixture::SetUp();
    menus.clear();
    Orvex::TastaturLayoutManager& layouts = Orvex::TastaturLayoutManager::getInstance();
    if (!layouts.getLayout(L"DEUTSCH")) ASSERT_TRUE(layouts.loadFile(L"data\\tastaturlayout.lay"));
    ASSERT_TRUE(layouts.setActiveLayout(L"DEUTSCH"));
}

void MenuFixture::TearDown() {
    menus.clear();
    GUIFixture::TearDown();
}

std::wstring MenuFixture::screens(std::vector<std::wstring> const& names) {
    std::wstring out = L"<GUI>";
    int x = 0;
    for (std::wstring const& name : names) {
        out += L"<WINDOW NAME=\"" + name + L"\" USER_ID=\"" + name + L"\"><WINDOW_PARAMS ANIMATION_GOAL=\"AUS\">";
        std::wstring const rect = L"<GUIRECT><POS_TL X_OFF=\"" + std::to_wstring(x) +
                                  L"\" Y_OFF=\"0\"/><SIZE X_OFF=\"50\" Y_OFF=\"50\"/></GUIRECT>";
        out += rect;
        out += L"<ANIMATION_GOAL NAME=\"AN\" SPEED=\"4\">" + rect + L"<OPTIONS VISIBLE=\"1\"/></ANIMATION_GOAL>";
        out += L"<ANIMATION_GOAL NAME=\"AUS\" SPEED=\"4\">" + rect + L"<OPTIONS VISIBLE=\"0\"/></ANIMATION_GOAL>";
        out += L"</WINDOW_PARAMS></WINDOW>";
        x += 60;
    }
    return out + L"</GUI>";
}

void MenuFixture::loadMenus(std::vector<std::wstring> const& windows, std::wstring const& guimenus,
                            std::wstring const& attributes) {
    loadText(screens(windows));
    Orvex::XMLNode root;
    ASSERT_TRUE(root.loadFromText(
        quoted(L"<MENUES><GUIMENUS " + attributes + L">" + guimenus + L"</GUIMENUS></MENUES>"), L"test.mnu"));
    menus.load(root, L"test.mnu");
}

void MenuFixture::loadMenuFile(std::wstring const& path) { ASSERT_TRUE(menus.loadFile(path)); }

void MenuFixture::keys(std::vector<std::wstring> const& held, std::vector<std::wstring> const& pressed) {
    Orvex::TastaturLayout* layout = Orvex::TastaturLayoutManager::getInstance().getActiveLayout();
    Orvex::KeyState state;
    for (std::wstring const& name : held) {
        Orvex::u8 code = 0;
        ASSERT_TRUE(layout->findKeyByName(name, code)) << narrow(name);
        state.setKeyDown(code, true);
    }
    unsigned char last = 0;
    for (std::wstring const& name : pressed) {
        Orvex::u8 code = 0;
        ASSERT_TRUE(layout->findKeyByName(name, code)) << narrow(name);
        state.setKeyDown(code, true);
        state.addPressed(code);
        last = code;
    }
    Orvex::DirectInputInterface::instance().keyPressedSignal.emit(state, last);
}

void MenuFixture::hover(std::wstring const& window) {
    Orvex::GUIWindow* w = gui.findWindow(window);
    ASSERT_NE(w, nullptr) << narrow(window);
    Orvex::FRect const r = w->getScreenRect();
    Orvex::MouseState state = mouseAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    gui.onMouseMove(state, Orvex::OA_MOUSE_X);
}

void MenuFixture::click(std::wstring const& window, Orvex::OrvexMouseButton button) {
    hover(window);
    Orvex::GUIWindow* w = gui.findWindow(window);
    ASSERT_NE(w, nullptr);
    Orvex::FRect const r = w->getScreenRect();
    Orvex::MouseState state = mouseAt((r.left + r.right) / 2, (r.top + r.bottom) / 2, button == Orvex::OMB_LEFT);
    gui.onMouseDown(state, button);
    state.setButtonDown(Orvex::OMB_LEFT, false);
    gui.onMouseUp(state, button);
}

void MenuFixture::frame(double dt) {
    menus.update(dt);
    gui.update(dt);
}

void MenuFixture::settle() {
    for (int i = 0; i < 20; ++i) frame(0.05);
}

std::string MenuFixture::shown() const {
    std::vector<Orvex::GUIWindow*> top;
    gui.getWindows(top);
    std::vector<std::wstring> names;
    for (Orvex::GUIWindow* w : top)
        if (w->getOptions().visible) names.push_back(w->getName());
    std::sort(names.begin(), names.end());
    std::wstring out;
    for (std::wstring const& name : names) out += (out.empty() ? L"" : L" ") + name;
    return narrow(out);
}

std::string MenuFixture::history() const {
    std::wstring out;
    int i = 0;
    for (Orvex::GUIMenuN* menu : menus.getHistory()) {
        out += (out.empty() ? L"" : L" ") + std::wstring(i == menus.getHistoryIndex() ? L"*" : L"") + menu->getName();
        ++i;
    }
    return narrow(out);
}

std::string MenuFixture::active() const {
    std::wstring out;
    for (Orvex::GUIMenuN* menu : menus.getMenus())
        if (menu->isActive()) out += (out.empty() ? L"" : L" ") + menu->getName();
    return narrow(out);
}

std::string MenuFixture::goalOf(std::wstring const& window) const {
    Orvex::GUIWindow* w = gui.findWindow(window);
    return w ? narrow(w->getTargetState().name) : "(none)";
}

}  // namespace guitest
