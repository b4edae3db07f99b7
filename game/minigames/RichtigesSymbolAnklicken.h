// The mini-game "RICHTIGES_SYMBOL" (tick the right symbols): areas, each a picture and a check box,
// lie in a grid whose places are shuffled at every start; the player ticks the right ones and
// presses OK. The ticked set equal to the right set wins at once (the time left as the score);
// otherwise gameFailed is emitted and the game starts over, reshuffled and unticked, the time
// running on. Ticking an area unticks every other area that shares a bit of its "GROUP" mask.
//
// Keys beside the base's: "ANORDNUNG" (a grid of that many columns, negative: automatic), "GEBIET"
// children: "NAME", "ANIMATION", "GUIRECT", "GUI", "GUI_LABEL" (the picture holder),
// "GUI_CHECK_BOX", "FONT", "GROUP" (bits, all by default), "FONT_STYLE", "TEXT_ID", "RICHTIG".
// Windows (prefix + "RICHTIGES_SYMBOL_" + "FENSTER", "FENSTER_ARBEITS_FLAECHE",
// "FENSTER_ABLAGE", "FENSTER_ARBEIT", "VG", "OK", "CANCEL", "HILFE").
//
// Where the plain rules would go wrong: only a tick unticks the group (an untick answering with
// unticks would clear the box just ticked, and with the default group nothing would stay
// ticked); the grid has as many rows as the areas need; a grid that cannot be shuffled (fewer than
// two areas, an area without window) is not shuffled, and "ANORDNUNG" 0 makes no grid, each with
// one log line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/CountedRef.h"
#include "engine/core/NamedObject.h"
#include "game/minigames/Minispiel.h"
#include "signals/sigslot.h"

namespace Orvex {
class GUICheckboxButton;
class GUILabel;
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class RichtigesSymbolAnklicken : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"RICHTIGES_SYMBOL_";
    static constexpr std::size_t kMaxAreas = 256;
    // A start swaps two random places this many times the number of areas.
    static constexpr int kSwapsPerArea = 20;

    class Gebiet : public Orvex::NamedObject {
    public:
        explicit Gebiet(Orvex::XMLNode& node);
        ~Gebiet() override;
        void onCheckboxChanged(Orvex::GUICheckboxButton& box);
        // The box's state, or the right flag without a box.
        bool isTicked() const;

        // Declared first, let go last: the windows go before it, the box first of all.
        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        Orvex::CountedRef<Orvex::GUIWindow> window;
        Orvex::CountedRef<Orvex::GUILabel> pictureHolder;
        Orvex::CountedRef<Orvex::GUICheckboxButton> checkBox;
        sigslot::signal2<Gebiet&, bool const&> changed;
        std::wstring textId;
        std::wstring fontName = L"default";
        std::wstring fontStyle = L"default";
        bool right = false;
        std::uint32_t group = 0xFFFFFFFFu;
    };

    explicit RichtigesSymbolAnklicken(Orvex::XMLNode& element);
    ~RichtigesSymbolAnklicken() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    void onOkClicked(Orvex::GUIWindow& button);
    void onGebietChanged(Gebiet& area, bool const& checked);

    // A copy of the list (no references added).
    std::vector<Gebiet*> getAreas() const { return Orvex::plainPointers(areas_); }
    Orvex::GUIWindow* getWorkWindow() const { return work_; }
    bool canShuffle() const { return shuffle_; }

private:
    std::vector<Orvex::CountedRef<Gebiet>> areas_;
    Orvex::GUIWindow* surface_ = nullptr;
    Orvex::GUIWindow* work_ = nullptr;
    Orvex::GUIWindow* tray_ = nullptr;
    int columns_ = -1;
    bool hasGrid_ = false;
    bool shuffle_ = false;
};

}  // namespace Solitaire
