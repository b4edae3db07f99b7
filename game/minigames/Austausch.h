// The mini-game "AUSTAUSCH" (swap puzzle): a picture cut by the data author into tiles laid out in
// a grid of "SPALTEN" columns is shuffled by swapping tiles; the player restores it two tiles at a
// time. A click selects a tile (drawn red, on top), a click on another tile swaps the two in a
// quarter of a second, a second click on the selected tile deselects it. Swaps emit nothing. The
// game is solved when every tile is in its own cell (tested after every click that does not just
// select), at once, while the tiles still fly; after the end delay the time left is reported.
//
// Keys beside the base's: "AUSTAUSCH_TEIL" children ("ANIMATION"; the n-th belongs in cell n),
// "SPALTEN" (columns, 1). Cell i lies in column i mod columns and row i / columns; the rows are as
// many as the tiles need. Windows (prefix + "AUSTAUSCH_" + "FENSTER", "SPIELFELD", "CANCEL",
// "HILFE"); the field takes the grid's proportions where its rectangle follows its aspect values.
//
// Refused definitions: a single tile cannot be shuffled (the shuffle draws two different tiles),
// so such a game shows nothing, takes no clicks and can only be skipped or cancelled; "SPALTEN"
// below 1 keeps 1 (one log line each). The tile count and columns are capped. Cells take the grid
// shape, not the pictures' shape.
#pragma once

#include <vector>

#include "engine/gui/Interpolation.h"
#include "engine/render/FRect.h"
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

class Austausch : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"AUSTAUSCH_";
    static constexpr std::size_t kMaxTiles = 256;
    static constexpr int kMaxColumns = 64;
    // A shuffle makes this many swaps per tile.
    static constexpr int kShuffleRounds = 10;
    // Two swapped tiles fly for 1 / kSwapSpeed seconds.
    static constexpr float kSwapSpeed = 4.0f;

    // A tile: its picture, where it lies now and where it belongs.
    class AustauschTeil {
    public:
        AustauschTeil(Austausch* owner, Orvex::XMLNode const& node, int home);
        AustauschTeil(AustauschTeil const&) = delete;
        AustauschTeil& operator=(AustauschTeil const&) = delete;
        ~AustauschTeil();

        // A cell-sized rectangle on the screen at the current rectangle's top-left corner.
        Orvex::SpriteRect getSpriteRect() const;
        bool hitTest(D3DXVECTOR2 const& point) const;
        // Takes the cell at once and flies to its rectangle in 1 / speed seconds (at once for 0 or
        // less).
        void moveTo(Orvex::FRect const& goal, int newCell, float speed);
        // Width / height of the picture's current frame; 1 without one.
        float getPictureAspect() const;
        Orvex::FRect currentRect() const;

        // (left, top, right, bottom) in field fractions.
        Orvex::Interpolation<D3DXVECTOR4, float> rect;
        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        int cell = 0;
        int homeCell = 0;
        Austausch* owner = nullptr;
        bool selected = false;
    };

    explicit Austausch(Orvex::XMLNode& element);
    ~Austausch() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    // Slots.
    void onFieldClicked(Orvex::GUIWindow& clicked);
    void onFieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // Cell i's rectangle in field fractions.
    Orvex::FRect cellRect(int cell) const;
    // Every tile in its own cell (true without tiles).
    bool inOrder() const;

    // For the tests and the fuzz target.
    int getColumns() const { return columns_; }
    int getRows() const { return rows_; }
    // In drawing order.
    std::vector<AustauschTeil*> const& getTiles() const { return tiles_; }
    AustauschTeil* getSelected() const { return selected_; }
    Orvex::GUIWindow* getField() const { return field_; }
    bool isPlayable() const { return playable_; }

private:
    // Moves the tile to the end of the drawing order.
    void toTop(AustauschTeil* tile);

    Orvex::GUIWindow* field_ = nullptr;
    std::vector<AustauschTeil*> tiles_;
    AustauschTeil* selected_ = nullptr;
    AustauschTeil* second_ = nullptr;
    int columns_ = 1;
    int rows_ = 0;
    bool playable_ = true;
};

}  // namespace Solitaire
