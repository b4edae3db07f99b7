// The mini-game "SCHIEBEPUZZLE_REV" (sliding gap): a grid of tiles with one empty cell, the gap,
// and a marked target cell elsewhere. A click on a tile beside the gap slides it into the gap in
// one second (moveMade), so the gap moves one cell; a click on any other tile is a wrong move
// (moveWrong) and changes nothing. The task is to bring the gap onto the target; that solves the
// game, and after the end delay the time left is reported. Each cell takes one of the tile
// pictures at random at every deal. For half a second after a slide clicks are ignored; a later
// click may already hit the tile still sliding, at its present place.
//
// Keys beside the base's: "SIZE" (columns and rows, one number for both, 4 x 4), "KACHEL_TEIL"
// children (the tile pictures, "ANIMATION"), the first "ZIEL_TEIL" child (the target's marker,
// drawn beneath the tiles only while the field is fully shown).
// Windows (prefix + "SCHIEBEPUZZLE_" + "FENSTER", "SPIELFELD", "CANCEL", "HILFE").
//
// Refused definitions: a grid of one cell has no target apart from the gap, and without a
// "KACHEL_TEIL" no cell can be filled; such a game deals no grid, takes no clicks and can only be
// skipped or cancelled (one log line). Grid sizes and the number of pictures are capped.
//
// Files (one, though its name has the form of an aspect file):
//   Schiebepuzzle_leicht.cpp   the tiles, the definition, the deal, clicks, the frame and drawing
#pragma once

#include <vector>

#include "engine/gui/Interpolation.h"
#include "engine/render/SpriteRect.h"
#include "engine/core/CountedRef.h"
#include "game/minigames/Minispiel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Schiebepuzzle_leicht : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"SCHIEBEPUZZLE_";
    static constexpr int kDefaultSide = 4;
    // Columns and rows each; more is damaged data.
    static constexpr int kMaxSide = 32;
    static constexpr std::size_t kMaxPictures = 256;
    // A slide takes 1 / kSlideSpeed seconds; clicks wait half of it.
    static constexpr double kSlideSpeed = 1.0;
    static constexpr float kClickLock = 0.5f;
    // Below this field alpha the target's marker is not drawn.
    static constexpr float kMarkerAlpha = 0.95f;

    // A tile: a picture at a place of the field.
    class Kachel {
    public:
        Kachel(Schiebepuzzle_leicht* owner, Orvex::XMLNode const& node);
        // A copy with its own copy of the picture.
        Kachel(Kachel const& other);
        Kachel& operator=(Kachel const&) = delete;
        ~Kachel();

        // Its cell-sized rectangle on the screen at the current position.
        Orvex::SpriteRect getSpriteRect() const;
        // Slides to the goal (field fractions) in 1 / speed seconds; at once for 0 or less.
        void moveTo(D3DXVECTOR2 const& goal, double speed);
        void draw(D3DXCOLOR const& colour) const;

        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        Orvex::Interpolation<D3DXVECTOR2, float> position;
        Schiebepuzzle_leicht* owner = nullptr;
    };

    explicit Schiebepuzzle_leicht(Orvex::XMLNode& element);
    ~Schiebepuzzle_leicht() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    // Slots.
    void onFieldClicked(Orvex::GUIWindow& clicked);
    void onFieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // Slides the tile at (column, row) into the gap beside it; false when the gap is not beside it.
    bool slideTile(int column, int row, double speed);

    // The cell (column, row)'s index in the grid (column-major) and its top-left corner.
    int cellIndex(int column, int row) const { return rows_ * column + row; }
    D3DXVECTOR2 cellCorner(int column, int row) const;

    // For the tests and the fuzz target.
    int getColumns() const { return columns_; }
    int getRows() const { return rows_; }
    // The grid, column-major; null is the gap. Empty for a refused definition.
    std::vector<Kachel*> const& getGrid() const { return grid_; }
    std::vector<Kachel*> const& getTiles() const { return tiles_; }
    Kachel const* getTargetTile() const { return targetTile_; }
    int getGapCell() const { return gapCell_; }
    int getTargetCell() const { return targetCell_; }
    float getClickLock() const { return clickLock_; }
    Orvex::GUIWindow* getField() const { return field_; }
    bool isPlayable() const { return playable_; }

private:
    void clearTiles();

    Orvex::GUIWindow* field_ = nullptr;
    std::vector<Kachel*> tiles_;
    std::vector<Kachel*> templates_;
    std::vector<Kachel*> grid_;
    Kachel* targetTile_ = nullptr;
    int columns_ = kDefaultSide;
    int rows_ = kDefaultSide;
    float clickLock_ = 0.0f;
    int targetCell_ = -1;
    int gapCell_ = -1;
    bool playable_ = true;
};

}  // namespace Solitaire
