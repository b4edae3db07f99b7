// The grid of equal cells that the sorting and the symbol games lay their areas out in
// ("ANORDNUNG"): a column count (the given one, or the integer part of the square root of the
// area count + 0.5 when it is negative, at least 1) and as many rows as the areas need. Rows are
// the ceiling of areas / columns, so 7 areas in 3 columns take 3 rows; trunc(n / columns + 0.5)
// would lose the last row. A column count of 0 gives no grid: the caller logs it and keeps the
// areas' own rectangles.
//
// A window placed in cell (column, row) fills it as a share of its parent, its own pixel offset
// kept as a margin on every side.
#pragma once

#include <vector>

namespace Orvex {
class GUIRect;
class GUIWindow;
class XMLNode;
}  // namespace Orvex

namespace Solitaire::minigame {

struct GridShape {
    int columns = 1;
    int rows = 1;

    // areas: the number of areas; columns: the "ANORDNUNG" count (negative: automatic, 0: none).
    static GridShape of(int areas, int columns);
    bool valid() const { return columns > 0 && rows > 0; }
};

// Reads "ANORDNUNG" of the element: true (a grid) when present, with its first blank-separated
// piece as the column count (-1 when there is none); 0 columns is refused with a log line (no
// grid).
bool readArrangement(Orvex::XMLNode const& element, int& columns);

// The position set: relative position (column / columns, row / rows), the offsets kept; the size
// set: relative size (1 / columns, 1 / rows) and offsets minus twice the position's offsets.
void placeInCell(Orvex::GUIRect& rect, int column, int row, GridShape const& grid);

// Walks the area windows in order over the cells (a null window still takes its cell): with a
// grid each window is placed in its cell; every window is added to the parent (a reference of the
// parent's own).
void layOutAreas(std::vector<Orvex::GUIWindow*> const& windows, bool hasGrid, int columns, Orvex::GUIWindow* parent);

}  // namespace Solitaire::minigame
