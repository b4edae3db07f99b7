// The sorting and placing games' window tree.
#include "game/minigames/TrayGameWindows.h"

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/ClickGameWindows.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielTemplates.h"
#include "port/crt/crt.h"

namespace Solitaire {

TrayGameWindows::TrayGameWindows(std::wstring const& prefix, std::wstring const& kind) : base_(prefix + kind) {}

Orvex::GUIWindow* TrayGameWindows::part(std::wstring const& literal) const {
    return minigame::findTemplate(base_, literal);
}

bool TrayGameWindows::lookUp() {
    main = part(L"FENSTER");
    work = part(L"FENSTER_ARBEITS_FLAECHE");
    foreground = part(L"VG");
    trays.clear();
    if (Orvex::GUIWindow* first = part(L"FENSTER_ABLAGE")) {
        trays.push_back(first);
        for (std::size_t n = 2; trays.size() < kMaxTrays; ++n) {
            Orvex::GUIWindow* next = part(L"FENSTER_ABLAGE_" + std::to_wstring(n));
            if (!next) break;
            trays.push_back(next);
        }
    }
    areas = part(L"FENSTER_ARBEIT");
    ok = dynamic_cast<Orvex::GUIButton*>(part(L"OK"));
    cancel = dynamic_cast<Orvex::GUIButton*>(part(L"CANCEL"));
    help = dynamic_cast<Orvex::GUIButton*>(part(L"HILFE"));
    return main && work && areas && !trays.empty();
}

void TrayGameWindows::build() {
    main = minigame::cloneOf(main);
    foreground = minigame::cloneOf(foreground);
    work = minigame::cloneOf(work);
    areas = minigame::cloneOf(areas);
    minigame::adopt(main, work);
    minigame::adopt(work, areas);
    std::vector<Orvex::GUIWindow*> clones;
    for (Orvex::GUIWindow* tray : trays) {
        Orvex::GUIWindow* clone = minigame::cloneOf(tray);
        if (minigame::adopt(work, clone)) clones.push_back(clone);
    }
    trays = clones;
}

Orvex::GUIWindow* TrayGameWindows::randomTray(std::vector<Orvex::GUIWindow*> const& trays) {
    if (trays.empty()) return nullptr;
    return trays[static_cast<std::size_t>(msvc::rand()) % trays.size()];
}

Orvex::GUIWindow* TrayGameWindows::addButtons(Minispiel& game) {
    Orvex::GUIWindow* container = foreground ? foreground : main;
    Orvex::GUIWindow* okClone = minigame::cloneOf(ok);
    if (okClone && !minigame::adopt(container, okClone)) okClone = nullptr;
    ClickGameWindows::addCancelAndHelp(game, cancel, help, container);
    if (foreground) minigame::adopt(main, foreground);
    return okClone;
}

}  // namespace Solitaire
