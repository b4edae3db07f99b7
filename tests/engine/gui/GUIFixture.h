// The GUI window and GUI system tests' helpers: a screen of a chosen size (no device), an empty
// GUI system around each test, windows from property text, mouse states, and a recorder that
// writes the signals it hears as short lines.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "signals/sigslot.h"

namespace guitest {

// A window made by the factory from one "WINDOW" element given as text (the caller owns it).
Orvex::GUIWindow* makeWindow(std::wstring const& text);
// A plain window placed at (x, y) with the size (w, h) in pixels.
Orvex::GUIWindow* makeBox(std::wstring const& name, float x, float y, float w, float h);

// The windows' names, blank-separated, in the list's order.
std::wstring windowNames(std::vector<Orvex::GUIWindow*> const& list);
// Loads a GUI file of the source tree ("data\GUI\...", "tests\engine\gui\data\...") into the GUI system.
void loadFile(std::wstring const& path);
// Loads a GUI file given as text.
void loadText(std::wstring const& text, std::wstring const& source = L"test.gui");

Orvex::MouseState mouseAt(float x, float y, bool leftDown = false);

// Lines of the engine log since the fixture started that contain every text.
int loggedCount(std::vector<std::wstring> const& texts);

// Writes "<signal> <window>" for each signal it is connected to.
class Recorder : public sigslot::has_slots<> {
public:
    std::vector<std::wstring> lines;

    // Every input, focus, activation, goal and child signal of the window.
    void watch(Orvex::GUIWindow& w);
    void clear() { lines.clear(); }
    std::wstring joined() const;

private:
    void add(std::wstring const& what, Orvex::GUIWindow& w) { lines.push_back(what + L" " + w.getName()); }
    void add(std::wstring const& what, Orvex::GUIWindow& w, bool flag) {
        lines.push_back(what + L" " + w.getName() + (flag ? L" 1" : L" 0"));
    }
    void onFocusGained(Orvex::GUIWindow& w) { add(L"focusGained", w); }
    void onFocusLost(Orvex::GUIWindow& w) { add(L"focusLost", w); }
    void onActivated(Orvex::GUIWindow& w) { add(L"activated", w); }
    void onDeactivated(Orvex::GUIWindow& w) { add(L"deactivated", w); }
    void onLeftClicked(Orvex::GUIWindow& w) { add(L"leftClicked", w); }
    void onRightClicked(Orvex::GUIWindow& w) { add(L"rightClicked", w); }
    void onLeftPressed(Orvex::GUIWindow& w, bool const& f) { add(L"leftPressed", w, f); }
    void onRightPressed(Orvex::GUIWindow& w, bool const& f) { add(L"rightPressed", w, f); }
    void onLeftReleased(Orvex::GUIWindow& w, bool const& f) { add(L"leftReleased", w, f); }
    void onRightReleased(Orvex::GUIWindow& w, bool const& f) { add(L"rightReleased", w, f); }
    void onAxis(Orvex::GUIWindow& w, Orvex::OrvexAchse, bool const& f) { add(L"axis", w, f); }
    void onGoalStarted(Orvex::GUIWindow& w, Orvex::GUIAnimationsGoal& g) { add(L"goalStarted " + g.name, w); }
    void onGoalReached(Orvex::GUIWindow& w, Orvex::GUIAnimationsGoal& g) { add(L"goalReached " + g.name, w); }
    void onChildAdding(Orvex::GUIWindow& c) { add(L"childAdding", c); }
    void onChildRemoving(Orvex::GUIWindow& c) { add(L"childRemoving", c); }
    void onChildAdded(Orvex::GUIWindow& c, bool const& f) { add(L"childAdded", c, f); }
    void onChildRemoved(Orvex::GUIWindow& c, bool const& f) { add(L"childRemoved", c, f); }
};

// An 800 x 600 screen and an empty GUI system.
class GUIFixture : public ::testing::Test {
protected:
    static constexpr unsigned kScreenW = 800;
    static constexpr unsigned kScreenH = 600;

    void SetUp() override;
    void TearDown() override;
    void setScreen(unsigned w, unsigned h);
    // The engine's device, windowed at the screen size (or the size given); closeDevice lets go
    // of the GUI sprite, the fonts, the device's sprites and pictures (they would outlive it
    // under their names) and the device.
    static bool openDevice(unsigned width = kScreenW, unsigned height = kScreenH);
    void closeDevice();
    // On the open device: clears to the colour, draws the GUI (or only the tree of `only`) in a
    // scene, writes the back buffer as a PNG into the working folder when a file name is given,
    // and reads its pixels (AARRGGBB, rows top down).
    std::vector<uint32_t> shootScreen(std::string const& file = "", uint32_t clear = 0xFF000000,
                                      Orvex::GUIWindow* only = nullptr);
    // On the open device: the engine's fonts afresh with the styles and fonts of the font file
    // (the game's is "data\font.fnt"); closeDevice lets go of them.
    static bool loadFonts(std::wstring const& fontFile);
    // Empties the animation registry and its picture list.
    static void releaseAnimations();
    // A left press and release at (x, y) through the GUI system.
    void click(float x, float y);
    // A left drag from (x0, y0) to (x1, y1); the move reports axis.
    void drag(float x0, float y0, float x1, float y1, Orvex::OrvexAchse axis = Orvex::OA_MOUSE_Y);

    Orvex::GUISystem& gui = Orvex::GUISystem::instance();
};

}  // namespace guitest
