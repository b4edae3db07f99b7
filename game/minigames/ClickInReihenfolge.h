// The mini-game "CLICKON" (click in order): a picture holds numbered clickable elements, each of
// which may be clicked only once the elements before it have been. The order is a table of rows
// from the definition: row 0 is the start set, row n the elements that clicking element n opens.
// Clicking an open element covers it (its cover-up window fades in) and opens its row; a click on
// an element that is not open does nothing. No open element left solves the game; it reports after
// the end delay.
//
// Keys beside the base's: "CAN_CLICK" children with "NR" (the row; 0 or more, below
// kMaxElements) and values (element numbers, appended to the row; several nodes of one "NR" add to
// the same row). A negative or too large "NR" is refused with a log line; without a row 0 the
// start set is empty, so the first click on any element solves the game.
// Windows (prefix + "CLICKON_" + "FENSTER", "VG", "CLICK_" n and "COVER_UP_" n for n = 1, 2, ...
// up to the first number missing either, "CANCEL", "HILFE").
#pragma once

#include <vector>

#include "game/minigames/Minispiel.h"

namespace Orvex {
class GUIWindow;
}  // namespace Orvex

namespace Solitaire {

class ClickInReihenfolge : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"CLICKON_";
    // Element numbers and rows at or beyond this are refused.
    static constexpr long kMaxElements = 1024;
    // Entries of one row beyond this are skipped.
    static constexpr std::size_t kMaxRowLength = 4096;

    explicit ClickInReihenfolge(Orvex::XMLNode& element);

    void draw() override;
    void createWindows() override;
    void start() override;

    void onElementClicked(Orvex::GUIWindow& clicked);

    std::vector<Orvex::GUIWindow*> const& getElements() const { return elements_; }
    std::vector<Orvex::GUIWindow*> const& getCoverUps() const { return coverUps_; }
    std::vector<std::vector<long>> const& getOrder() const { return order_; }
    std::vector<long> const& getOpen() const { return open_; }
    std::vector<long> const& getDone() const { return done_; }

private:
    std::vector<Orvex::GUIWindow*> elements_;
    std::vector<Orvex::GUIWindow*> coverUps_;
    std::vector<std::vector<long>> order_;
    std::vector<long> open_;
    std::vector<long> done_;
};

}  // namespace Solitaire
