// The window pattern the click games share (the object, differences, symbols, path and ordered
// click games): a main window that becomes the game's window, an optional foreground that becomes
// the bar parent and holds the buttons, and the cancel and help buttons, each a template named
// prefix + the kind's literal + the part ("OBJEKT_ANKLICKEN_" "FENSTER", "CANCEL", "HILFE", "VG").
// The game looks its own parts up through part(), clones what it needs once the main window and
// its own required parts exist, and lets this pattern add the buttons and the foreground.
#pragma once

#include <string>

namespace Orvex {
class GUIButton;
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class Minispiel;

class ClickGameWindows {
public:
    // kind: the literal the part names begin with, e.g. L"OBJEKT_ANKLICKEN_".
    ClickGameWindows(std::wstring const& prefix, std::wstring const& kind);

    // The templates of the main window ("FENSTER"), the foreground ("VG", when withForeground),
    // and the buttons ("CANCEL", "HILFE": each only when it is a button).
    void lookUp(bool withForeground);
    // The template prefix + kind + literal, or null.
    Orvex::GUIWindow* part(std::wstring const& literal) const;
    template <class W>
    W* partAs(std::wstring const& literal) const {
        return dynamic_cast<W*>(part(literal));
    }

    // Replaces the main window and the foreground templates by clones (one reference each, the
    // main window's for the game to take, the foreground's for the main window).
    void cloneFrame();
    // The foreground when there is one, else the main window.
    Orvex::GUIWindow* container() const;
    // Clones the cancel button (left click to the game's onCloseButton) and the help button
    // (onHelpButton) into the parent.
    void addButtons(Minispiel& game, Orvex::GUIWindow* parent);
    // The same for any pair of button templates (either may be null).
    static void addCancelAndHelp(Minispiel& game, Orvex::GUIButton* cancel, Orvex::GUIButton* help,
                                 Orvex::GUIWindow* parent);
    // Adds the foreground, as the last step, to the main window.
    void addForeground();

    Orvex::GUIWindow* main = nullptr;
    Orvex::GUIWindow* foreground = nullptr;
    Orvex::GUIButton* cancel = nullptr;
    Orvex::GUIButton* help = nullptr;

private:
    std::wstring base_;
};

}  // namespace Solitaire
