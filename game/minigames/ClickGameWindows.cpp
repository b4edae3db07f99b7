// The click games' shared window pattern.
#include "game/minigames/ClickGameWindows.h"

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielTemplates.h"

namespace Solitaire {

ClickGameWindows::ClickGameWindows(std::wstring const& prefix, std::wstring const& kind) : base_(prefix + kind) {}

Orvex::GUIWindow* ClickGameWindows::part(std::wstring const& literal) const {
    return minigame::findTemplate(base_, literal);
}

void ClickGameWindows::lookUp(bool withForeground) {
    main = part(L"FENSTER");
    foreground = withForeground ? part(L"VG") : nullptr;
    cancel = partAs<Orvex::GUIButton>(L"CANCEL");
    help = partAs<Orvex::GUIButton>(L"HILFE");
}

void ClickGameWindows::cloneFrame() {
    main = minigame::cloneOf(main);
    foreground = minigame::cloneOf(foreground);
}

Orvex::GUIWindow* ClickGameWindows::container() const { return foreground ? foreground : main; }

void ClickGameWindows::addCancelAndHelp(Minispiel& game, Orvex::GUIButton* cancel, Orvex::GUIButton* help,
                                        Orvex::GUIWindow* parent) {
    if (Orvex::GUIWindow* clone = minigame::cloneOf(cancel)) {
        clone->leftClicked.connect(&game, &Minispiel::onCloseButton);
        minigame::adopt(parent, clone);
    }
    if (Orvex::GUIWindow* clone = minigame::cloneOf(help)) {
        clone->leftClicked.connect(&game, &Minispiel::onHelpButton);
        minigame::adopt(parent, clone);
    }
}

void ClickGameWindows::addButtons(Minispiel& game, Orvex::GUIWindow* parent) {
    addCancelAndHelp(game, cancel, help, parent);
    cancel = help = nullptr;
}

void ClickGameWindows::addForeground() { minigame::adopt(main, foreground); }

}  // namespace Solitaire
