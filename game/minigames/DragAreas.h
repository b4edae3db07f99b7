// What the sorting and the placing games share about items dragged onto areas: where an item lands
// (the area its screen rectangle overlaps most), keeping items inside the work window, and
// scattering an item at random inside its tray, apart from the items placed there before.
#pragma once

#include <vector>

#include "engine/gui/GUIWindow.h"
#include "engine/render/FRect.h"
#include "game/minigames/ApartPlacer.h"

namespace Orvex {
class GUIAnimationsGoal;
}  // namespace Orvex

namespace Solitaire::minigame {

// The index of the window whose screen rectangle overlaps the item's most (width x height of the
// overlap), or -1 when none overlaps. The windows are walked from the last to the first and a
// later-walked one wins only when strictly larger, so on an equal overlap the one nearer the end
// of the list wins. Null windows are skipped.
int largestOverlap(Orvex::FRect const& item, std::vector<Orvex::GUIWindow*> const& areas);

// The same over parts that have a window (areas of either game), held by plain pointers or
// counted references.
template <class Parts>
int landingPart(Orvex::FRect const& item, Parts const& parts) {
    std::vector<Orvex::GUIWindow*> windows;
    windows.reserve(parts.size());
    for (auto const& part : parts) windows.push_back(part->window.get());
    return largestOverlap(item, windows);
}

// Shifts the window's pixel offsets so that its screen rectangle lies inside the bounds on each
// axis where it sticks out, then recomputes its rectangle.
void clampInside(Orvex::GUIWindow& window, Orvex::FRect const& bounds);

// Keeps every part's window inside the work window (parts by plain pointers or counted references). Moving one window may move others through
// their signals, which clamp again: the guard lets one clamp run at a time. With layOutFirst the
// work window's windows are laid out anew first: a window tells its rectangle changed before its
// children are recomputed, so on the work window's own signal the parts still stand where they
// stood before the change.
template <class Parts>
void clampParts(Parts const& parts, Orvex::GUIWindow* work, bool& guard, bool layOutFirst = false) {
    if (guard || !work) return;
    guard = true;
    if (layOutFirst) work->updateRect(false, false);
    Orvex::FRect const bounds = work->getScreenRect();
    for (auto const& part : parts)
        if (part->window) clampInside(*part->window, bounds);
    guard = false;
}

// Whether the goal that the window starts towards has a rectangle that is not empty, computed
// against the window's parent; false for a window without a parent.
bool goalHasArea(Orvex::GUIWindow const& window, Orvex::GUIAnimationsGoal const& goal);

// Places the window at random inside its parent: offsets 0, relative position (1 - w) x (1 - r)
// with w, h its relative size and r a fresh rand() / 32767 for each axis.
void placeAtRandom(Orvex::GUIWindow& window);
// The same, drawn again while the place overlaps a window placed before through the placer (its
// tries at most), then its rectangle recomputed.
void placeApart(Orvex::GUIWindow& window, ApartPlacer& placer);

}  // namespace Solitaire::minigame
