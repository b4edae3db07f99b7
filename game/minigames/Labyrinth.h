// The mini-game "LABYRINTH": a sliding-tile labyrinth. A board of columns x rows square tiles,
// each open on some of its four sides, lies inside a ring of entrance tiles; one spare tile lies
// left of the ring. A start and a goal marker sit on two entrances. A click on an entrance pushes
// the spare tile into the board from that side: the row or column slides one place and the tile
// pushed out at the far end becomes the new spare. A click elsewhere on the field turns the spare
// a quarter turn clockwise, a right click counter-clockwise. The game is solved when, after a
// push, a route of matching openings leads from the start entrance to the goal entrance.
//
// Each start deals the same pool of columns x rows + 1 tiles (chosen once by the "PROP" weights
// of the tile prototypes) at random places and turns, puts start and goal on far sides of the
// ring (on different rows and columns), and pushes at random while the route is already open, so
// a game never begins solved. Random choices are msvc::rand's, never seeded here.
//
// Keys beside the base's: "TILE" children (any number, with "PROP"), "EINGANG", "START", "ZIEL"
// (each a tile element: "OFFENE_SEITEN" up, right, down, left; "ANIMATION"), "SIZE" (columns and
// rows). Windows: prefix + "LABYRINTH_FENSTER", "LABYRINTH_SPIELFELD", "LABYRINTH_VG" (holds the
// buttons and the bars), "LABYRINTH_CANCEL", "LABYRINTH_HILFE".
//
// Where the plain rules would go wrong:
//   - without a "TILE", "EINGANG", "START" or "ZIEL" element there is no board (one log line);
//     the game shows its window and can be skipped;
//   - "SIZE" holds whole numbers from 1 to kMaxSide, at most kMaxTiles "TILE" elements are read,
//     "PROP" is a finite weight of 0 or more; weights that add up to 0 count alike (logged);
//   - pushing at random while the route is open never ends when no push can break it (tiles open
//     on all sides): after kMaxPushes pushes the board is dealt again, after kMaxDeals deals the
//     game starts as it is, with a log line;
//   - drawing the goal on the far side of the ring until it lies on another row and column
//     hardly ever ends on a board one tile wide or high (the draw nearly always gives the cell
//     opposite): after kMaxGoalDraws draws the first such cell after the start is taken.
//
// Files:
//   Labyrinth.cpp        keys, tiles, windows, init, start, update, destruction
//   Labyrinth_board.cpp  the ring, pushes, the route search, clicks, tile geometry and drawing
#pragma once

#include <array>
#include <string>
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

class Labyrinth : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"LABYRINTH_";
    static constexpr int kMaxSide = 16;
    static constexpr std::size_t kMaxTiles = 64;
    static constexpr int kDefaultSide = 4;
    static constexpr int kMaxPushes = 1000;
    static constexpr int kMaxDeals = 10;
    // Draws of the goal entrance before the first fitting one in ring order is taken.
    static constexpr int kMaxGoalDraws = 1000;
    // setRotation turns until the goal angle lies within this many degrees of the asked one.
    static constexpr float kRotationTolerance = 20.0f;
    static constexpr float kQuarterTurn = 90.0f;
    // A slide or a quarter turn at speed 1 takes a second.
    static constexpr float kClickSpeed = 1.0f;
    // Side numbers of a tile.
    enum Side { kUp = 0, kRight = 1, kDown = 2, kLeft = 3 };

    struct Cell {
        int x = 0;
        int y = 0;
        bool operator==(Cell const&) const = default;
    };

    class Tile {
    public:
        // A tile element: "OFFENE_SEITEN" and "ANIMATION".
        Tile(Orvex::XMLNode& node, Labyrinth* owner);
        // Position, turn and openings of the other, its owner and an own copy of its picture.
        Tile(Tile const& other);
        ~Tile();
        Tile& operator=(Tile const&) = delete;

        // A quarter turn; the openings turn with it. Speed 0 or less: at once.
        void rotate(bool clockwise, float speed);
        // Clockwise quarter turns (four at most) until the turn's goal is the angle.
        void setRotation(float angle, float speed);
        // To the board cell; speed 0 or less: at once.
        void moveTo(D3DXVECTOR2 const& cell, float speed);
        void update(double dt);
        void draw(D3DXCOLOR const& tint) const;

        Orvex::Interpolation<D3DXVECTOR2, float> position;
        Orvex::Interpolation<float, float> rotation;
        // Up, right, down, left.
        std::array<bool, 4> open{};
        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        Labyrinth* owner = nullptr;
    };

    explicit Labyrinth(Orvex::XMLNode& element);
    ~Labyrinth() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    // ---- slots ----
    void onFieldClick(Orvex::GUIWindow& window);
    void onFieldRightClick(Orvex::GUIWindow& window);
    void onFieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // ---- the board ----
    // Ring cell number e (taken mod the ring's length), clockwise from the top left.
    Cell entranceToCell(int e) const;
    // Pushes the spare tile in at the ring cell (x, y); speed 0 or less: at once.
    void shift(int x, int y, float speed);
    // Whether a route of facing openings leads from one cell to the other.
    bool isReachable(Cell from, Cell to);
    // One step from a to b (neighbours on the board or its ring, both tiles open toward each other).
    bool canPass(Cell a, Cell b) const;
    // The sprite rectangle of a tile at a place (board cells) and turn (degrees).
    Orvex::SpriteRect getTileRect(D3DXVECTOR2 const& position, float rotation) const;

    // ---- state, for tests and the fuzz target ----
    bool hasBoard() const { return usable_; }
    int getColumns() const { return columns_; }
    int getRows() const { return rows_; }
    Tile* tileAt(int x, int y) const;
    Tile* getSpareTile() const { return spareTile_; }
    Cell getStart() const { return start_; }
    Cell getGoal() const { return goal_; }
    std::vector<Tile*> const& getPool() const { return pool_; }
    std::vector<Tile*> const& getPrototypes() const { return tilePrototypes_; }
    std::vector<float> const& getTileChances() const { return tileChances_; }
    Orvex::GUIWindow* getField() const { return field_; }
    D3DXVECTOR2 getSparePosition() const { return sparePosition_; }
    int ringLength() const { return 2 * (columns_ + rows_); }

private:
    std::size_t index(int x, int y) const;
    void buildRing();
    void fillPool();
    // Deals the pool onto the board, the spare last; chooses start and goal.
    void deal();
    void chooseEntrances();
    // Random pushes while the route is open; false when kMaxPushes did not break it.
    bool breakRoute();

    Orvex::GUIWindow* field_ = nullptr;
    std::vector<Tile*> pool_;
    std::vector<Tile*> tilePrototypes_;
    std::vector<Tile*> entrances_;
    std::vector<float> tileChances_;
    Tile* spareTile_ = nullptr;
    Tile* entranceTile_ = nullptr;
    Tile* startTile_ = nullptr;
    Tile* goalTile_ = nullptr;
    // (columns + 2) x (rows + 2), [x][y] as x * (rows + 2) + y.
    std::vector<Tile*> board_;
    std::vector<int> marks_;
    int columns_ = kDefaultSide;
    int rows_ = kDefaultSide;
    Cell start_;
    Cell goal_;
    D3DXVECTOR2 sparePosition_{-1.0f, 0.0f};
    // Every element the board needs was given.
    bool usable_ = false;
    // Where the definition was read, for a log line at a later start.
    std::wstring source_;
    Orvex::u32 line_ = 0;
};

}  // namespace Solitaire
