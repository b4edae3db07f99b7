// The sorting and symbol games' grid of cells.
#include "game/minigames/GridLayout.h"

#include <cmath>

#include <algorithm>

#include "engine/core/XMLAttribute.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUIRect.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielKeys.h"

namespace Solitaire::minigame {

GridShape GridShape::of(int areas, int columns) {
    GridShape grid;
    if (columns == 0) {
        grid.columns = 0;
        return grid;
    }
    if (columns < 0) columns = static_cast<int>(std::sqrt(static_cast<float>(areas)) + 0.5f);
    grid.columns = columns < 1 ? 1 : columns;
    int const rows = (areas + grid.columns - 1) / grid.columns;
    grid.rows = rows < 1 ? 1 : rows;
    return grid;
}

bool readArrangement(Orvex::XMLNode const& element, int& columns) {
    // More columns than this are more than any grid of the file's areas can use.
    constexpr int kMaxColumns = 4096;
    Orvex::XMLAttribute const* arrangement = element.getAttribute(L"ANORDNUNG");
    if (!arrangement) return false;
    Orvex::XMLValueTokens const pieces = arrangement->split(L" ");
    columns = pieces.size() > 0 ? std::clamp(pieces.get(0)->getInt(), -1, kMaxColumns) : -1;
    if (columns != 0) return true;
    logProblem(element, L"ANORDNUNG of 0 columns makes no grid; the areas keep their rectangles");
    return false;
}

void placeInCell(Orvex::GUIRect& rect, int column, int row, GridShape const& grid) {
    Orvex::GUIRectAxis& position = rect.getParamsX();
    Orvex::GUIRectAxis& size = rect.getParamsY();
    size.offX = -2.0f * position.offX;
    size.offY = -2.0f * position.offY;
    size.relX = 1.0f / static_cast<float>(grid.columns);
    size.relY = 1.0f / static_cast<float>(grid.rows);
    position.relX = static_cast<float>(column) / static_cast<float>(grid.columns);
    position.relY = static_cast<float>(row) / static_cast<float>(grid.rows);
}

void layOutAreas(std::vector<Orvex::GUIWindow*> const& windows, bool hasGrid, int columns, Orvex::GUIWindow* parent) {
    GridShape const grid = GridShape::of(static_cast<int>(windows.size()), columns);
    int column = 0;
    int row = 0;
    for (Orvex::GUIWindow* window : windows) {
        if (window) {
            if (hasGrid) placeInCell(window->getRect(), column, row, grid);
            if (parent) parent->addChild(window, false, true);
        }
        if (++column >= grid.columns) {
            column = 0;
            ++row;
        }
    }
}

}  // namespace Solitaire::minigame
