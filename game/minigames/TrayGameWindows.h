// The window tree the sorting and the placing games share, each template named prefix + the kind's
// literal + the part: the game window ("FENSTER"); the work window ("FENSTER_ARBEITS_FLAECHE"),
// which bounds the items and holds the areas' window ("FENSTER_ARBEIT") and the trays
// ("FENSTER_ABLAGE", then "FENSTER_ABLAGE_2", "_3" ... until a number has no template); the
// foreground ("VG", the bar parent that holds the buttons); the buttons "OK", "CANCEL", "HILFE"
// (each only when it is a button). The tree is built only when the game window, the work window,
// the areas' window and a first tray exist.
#pragma once

#include <string>
#include <vector>

#include "engine/gui/GUIWindow.h"

namespace Orvex {
class GUIButton;
}  // namespace Orvex

namespace Solitaire {

class Minispiel;

class TrayGameWindows {
public:
    // More trays than this are not looked for.
    static constexpr std::size_t kMaxTrays = 64;

    TrayGameWindows(std::wstring const& prefix, std::wstring const& kind);

    // Finds the templates; true when the tree can be built.
    bool lookUp();
    // Replaces the templates by clones and joins them: the work window into the game window, the
    // areas' window and every tray into the work window. The game window's reference is the
    // caller's; the others belong to their parents.
    void build();
    // A tray chosen by the runtime's rand(); null (and no rand() drawn) without trays.
    static Orvex::GUIWindow* randomTray(std::vector<Orvex::GUIWindow*> const& trays);
    // Each item's window, in order: its place cleared, the item in the window's pointer slot, its
    // moved, left press and left release signals to the game's onMoved, onPickUp and onDrop, and
    // added to a random tray.
    template <class Game, class Item>
    void addItems(Game& game, std::vector<Item*> const& items, unsigned slot) {
        for (Item* item : items) {
            Orvex::GUIWindow* window = item->window.get();
            if (!window) continue;
            Orvex::GUIRectAxis& position = window->getRect().getParamsX();
            position.relX = position.relY = position.offX = position.offY = 0.0f;
            window->setUserPointer(item, slot);
            window->moved.connect(&game, &Game::onMoved);
            window->leftPressed.connect(&game, &Game::onPickUp);
            window->leftReleased.connect(&game, &Game::onDrop);
            randomTray(trays)->addChild(window, false, true);
        }
    }
    // The clamp's triggers beside each item's moved signal: the work window's rectangle changed
    // (the screen changed size) and the game window starting an animation to a goal, to the
    // game's onWorkRectChanged and onGoalStarted.
    template <class Game>
    void connectClamp(Game& game) {
        work->rectChanged.connect(&game, &Game::onWorkRectChanged);
        main->goalStarted.connect(&game, &Game::onGoalStarted);
    }
    // Clones the buttons into the foreground (else the game window): OK (returned, or null, for
    // the caller to connect), cancel to the game's onCloseButton, help to onHelpButton; then adds
    // the foreground to the game window.
    Orvex::GUIWindow* addButtons(Minispiel& game);

    Orvex::GUIWindow* main = nullptr;
    Orvex::GUIWindow* work = nullptr;
    Orvex::GUIWindow* foreground = nullptr;
    Orvex::GUIWindow* areas = nullptr;
    std::vector<Orvex::GUIWindow*> trays;
    Orvex::GUIButton* ok = nullptr;
    Orvex::GUIButton* cancel = nullptr;
    Orvex::GUIButton* help = nullptr;

private:
    Orvex::GUIWindow* part(std::wstring const& literal) const;

    std::wstring base_;
};

}  // namespace Solitaire
