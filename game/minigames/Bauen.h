// The mini-game "BAUEN" (building pieces): pieces made of square cells lie scattered over the
// playing field, with a board of square cells in its middle. A new attempt lays them on the
// board's grid beside the board, apart from each other, while the field has room (ApartPlacer;
// each try draws x then y uniformly over the room the piece has). A cell of a piece is cut along both
// diagonals into four quarters (1 top, 2 right, 4 bottom, 8 left; 15 a full cell), and a piece's
// "WERTE" say which quarters of each cell it fills. The player drags the pieces with the mouse; a
// dropped piece snaps to the board cell nearest its top-left corner. Every piece on the board,
// inside it, and no filled quarter over another solves the game; two pieces whose quarters meet
// only along a diagonal share a cell. The board need not be covered.
//
// Keys beside the base's: "SIZE" (board columns and rows, one number for both), "SPACE" (the
// board's extent as fractions of the field, 0.75 by default; the board is centred), "BACKGROUND"
// (the field's picture, which gives the field its proportions and switches the drawing of the
// board cells on), "OBJEKT" children with "SIZE", "WERTE" (the cell masks row after row) and
// "ANIMATION" (stretched over the piece). Windows: prefix + "BAUEN_" + "FENSTER", "SPIELFELD",
// "CANCEL", "HILFE". Pieces follow the pointer the manager passes on while the game is active.
//
// Where the plain rules would go wrong:
//   - a board without "SIZE" (0 by 0) divides by 0 in every box: the game is refused with one
//     log line, builds no window and can only be skipped; a piece without a usable "SIZE" is
//     skipped the same way;
//   - snapping rounds to the nearest cell (floor of x + 0.5): truncating toward zero would snap a
//     corner up to a cell and a half off the board's left or top edge;
//   - "WERTE" shorter than the cells leave the rest empty (0); values outside 0 to 15 keep their
//     four quarter bits, with a log line;
//   - a press while the help screen is up starts no drag, so the click that closes the help does
//     not move a hidden piece.
// A dropped piece goes to the front of the list, under the others.
//
// Files: Bauen.cpp (keys, windows, start, frame, drawing), Bauen_play.cpp (placing and snapping,
// the mouse, the solved test).
#pragma once

#include <memory>
#include <vector>

#include "engine/platform/InputState.h"
#include "engine/render/SpriteRect.h"
#include "engine/core/CountedRef.h"
#include "game/minigames/Minispiel.h"
#include "port/d3d9/d3d9types.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class Bauen : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"BAUEN_";
    static constexpr std::size_t kMaxPieces = 64;
    static constexpr int kMaxBoardSide = 64;
    static constexpr int kMaxPieceSide = 16;
    static constexpr float kDefaultSpace = 0.75f;
    // A board narrower than this share of the field is damaged data.
    static constexpr float kMinSpace = 0.01f;
    // The quarters of a cell, by the edge each one stands on.
    enum Quarter : int { kTop = 1, kRight = 2, kBottom = 4, kLeft = 8, kFullCell = 15 };
    // The board cells' frame: corner border, body colour, edge colour, style row of the frame set.
    static constexpr int kCellBorder = 20;
    static constexpr D3DCOLOR kCellBody = 0x40808080;
    static constexpr D3DCOLOR kCellEdge = 0xFF000000;
    static constexpr int kCellStyleRow = 2;

    class Objekt {
    public:
        // Reads "SIZE", "WERTE" and "ANIMATION"; columns and rows stay 0 when "SIZE" is not usable.
        Objekt(Orvex::XMLNode& node, Bauen& game);
        ~Objekt();
        Objekt(Objekt const&) = delete;
        Objekt& operator=(Objekt const&) = delete;

        // The mask of cell (c, r).
        int cell(int c, int r) const { return cells[static_cast<std::size_t>(r * columns + c)]; }
        bool onBoard() const { return boardColumn >= 0 && boardRow >= 0; }
        // The picture stretched over the piece's box in the colour (nothing without a picture).
        void draw(D3DXCOLOR const& colour) const;

        float x = 0.0f;
        float y = 0.0f;
        std::vector<int> cells;
        int columns = 0;
        int rows = 0;
        int boardColumn = -1;
        int boardRow = -1;
        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        Bauen* owner = nullptr;
    };

    explicit Bauen(Orvex::XMLNode& element);
    ~Bauen() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;
    // ---- the pointer, from the manager while active ----
    void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;
    void onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;
    void onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis) override;

    // ---- slots ----
    void onFieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // The box at a position (fractions of the field) of a size in board cells, in screen pixels.
    Orvex::SpriteRect getBoxRect(D3DXVECTOR2 const& position, int columns, int rows) const;
    Orvex::SpriteRect getBoxRect(Objekt const& piece) const;
    // The box of the piece's cell (c, r).
    Orvex::SpriteRect getCellRect(Objekt const& piece, int c, int r) const;
    // Every piece on the board, inside it, and no quarter filled twice.
    bool isSolved();
    // Puts the piece's corner at (px, py), kept inside the field.
    void place(Objekt& piece, float px, float py) const;
    // Moves the piece onto the board cell nearest its corner, or marks it off the board (-1).
    void snap(Objekt& piece) const;

    // Whether the definition has a board (else the game is refused).
    bool isPlayable() const { return playable_; }
    std::vector<std::unique_ptr<Objekt>> const& getPieces() const { return pieces_; }
    Orvex::GUIWindow* getField() const { return field_; }
    Objekt* getDragged() const { return dragged_; }
    int getBoardColumns() const { return boardColumns_; }
    int getBoardRows() const { return boardRows_; }
    D3DXVECTOR2 getOrigin() const { return origin_; }
    D3DXVECTOR2 getExtent() const { return extent_; }

private:
    // Whether the point lies on a filled quarter of the piece.
    bool hits(Objekt const& piece, D3DXVECTOR2 const& point) const;
    // The field's screen rectangle has an area (boxes and pointer fractions are defined).
    bool fieldUsable() const;
    // The pointer's place for the dragged piece's corner, in field fractions.
    D3DXVECTOR2 cornerAt(D3DXVECTOR2 const& pointer) const;

    std::vector<std::unique_ptr<Objekt>> pieces_;
    Orvex::GUIWindow* field_ = nullptr;
    Orvex::CountedRef<Orvex::Texture2DAnimation> background_;
    Objekt* dragged_ = nullptr;
    D3DXVECTOR2 grab_{0.0f, 0.0f};
    std::vector<int> grid_;
    int boardColumns_ = 0;
    int boardRows_ = 0;
    D3DXVECTOR2 extent_{kDefaultSpace, kDefaultSpace};
    D3DXVECTOR2 origin_{0.0f, 0.0f};
    bool playable_ = false;
};

}  // namespace Solitaire
