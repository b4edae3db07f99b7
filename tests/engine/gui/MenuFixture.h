// The menu tests' helpers: an empty menu manager and GUI around each test with the German
// keyboard layout active, screens of windows with the goals "AN" and "AUS", menu files from
// text, keys and clicks sent the way the input layer sends them, frames, and what is shown.
#pragma once

#include <string>
#include <vector>

#include "engine/gui/GUIMenuEventN.h"
#include "engine/gui/GUIMenuLinkN.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "tests/engine/gui/GUIFixture.h"

namespace guitest {

// Writes the names of fired events and of menu switches ("menu NEW<PREVIOUS").
class MenuRecorder : public sigslot::has_slots<> {
public:
    std::vector<std::wstring> lines;
    void listen(std::wstring const& eventName);
    void watchMenus();
    std::string joined() const;

private:
    void onFired(Orvex::GUIMenuLinkN& link) { lines.push_back(L"event " + link.getName()); }
    void onChanged(Orvex::GUIMenuN& menu, Orvex::GUIMenuN* previous) {
        lines.push_back(L"menu " + menu.getName() + L"<" + (previous ? previous->getName() : L"-"));
    }
};

class MenuFixture : public GUIFixture {
protected:
    void SetUp() override;
    void TearDown() override;

public:

    // A GUI file of top-level windows, one per name, each 50 x 50 pixels side by side, starting
    // hidden at "AUS", showing at "AN" (goal speed 4, so a quarter second at speed 1).
    static std::wstring screens(std::vector<std::wstring> const& names);
    // Loads the screens, then a menu file whose "GUIMENUS" content is given (' read as ").
    void loadMenus(std::vector<std::wstring> const& windows, std::wstring const& guimenus,
                   std::wstring const& attributes = L"");
    void loadMenuFile(std::wstring const& path);

    // A key event as the input layer sends it: `held` are down, `pressed` newly pressed (and
    // down); names of the active layout.
    void keys(std::vector<std::wstring> const& held, std::vector<std::wstring> const& pressed);
    void key(std::wstring const& name) { keys({}, {name}); }
    // Moves the pointer to the middle of the window and clicks it there.
    void click(std::wstring const& window, Orvex::OrvexMouseButton button = Orvex::OMB_LEFT);
    void hover(std::wstring const& window);
    // One frame of dt seconds: menu links first, then the GUI (as the game's update does).
    void frame(double dt);
    // Frames until every blend has ended (one second).
    void settle();

    // The names of the visible top-level windows, sorted.
    std::string shown() const;
    std::string history() const;
    std::string active() const;
    // Where the window is heading ("AN", "AUS" ...).
    std::string goalOf(std::wstring const& window) const;

    Orvex::GUIMenuManagerN& menus = Orvex::GUIMenuManagerN::instance();
    MenuRecorder rec;
};

std::string narrow(std::wstring const& text);
// The text with every ' turned into ", so test data can be written inside C++ strings.
std::wstring quoted(std::wstring text);

}  // namespace guitest
