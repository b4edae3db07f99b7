// The mini-game "MAZE": a grid of rooms (cells) built once from a mask picture, with walls and
// passages generated anew at every start, drawn over an optional background. The player builds a
// path from the start room by clicks: a room next to the path's end through an open passage
// extends it, a click elsewhere in the field walks from the end straight toward the clicked cell
// as far as the passages allow, a click on a room of the path cuts the path back to it. The game
// is solved when the path's end is a goal room or opens onto one; with "FAST" it must reach the
// nearest goal by a shortest route, and every room of the path shows its step number.
//
// Rooms and generation: the mask is sampled once per cell at (column / columns, row / rows);
// every opaque sample makes a room, the first green one is the start, a blue one a goal (every
// blue one with "MULTIPLE_GOALS"). Each start merges groups of rooms at random through closed
// walls until every connected part of the mask is one group, which makes each part a random
// spanning tree of passages, then opens "KREUZUNGEN" extra walls (loops), measures every room's
// distance from the start and takes the nearest goal. Random choices are msvc::rand's, never
// seeded here.
//
// Keys beside the base's: "RAUM" (the room prototype: "EDGES", "DELTA", "LENGTH", "START_COLOR",
// "ZIEL_COLOR", "MARK_COLOR", an "ANIMATION" child with side pictures as values and "BACKGROUND",
// "START", "ZIEL", "MARK"), "SIZE" (columns and rows), "BACKGROUND", "DRAW_MODE" (bit 0 rooms and
// side pictures, bit 1 wall lines, 2 rooms without side pictures and lines), "KREUZUNGEN", "FAST",
// "MULTIPLE_GOALS", "TEXTUR" (the mask, a texture of the device's texture manager), "FONTNAME",
// "FONTSTYLE". Windows: prefix + "MAZE_FENSTER", "MAZE_SPIELFELD", "MAZE_CANCEL", "MAZE_HILFE".
// Wall lines are drawn between sprite batches with the shared line object (MinigameLines).
//
// Where the plain rules would go wrong:
//   - a walk toward a diagonal click stops in the clicked cell's column (walking sideways) or row
//     (walking up or down); the rule of the larger remaining offset read an offset that does not
//     shrink and ran on to the next wall. A click into the path end's own cell walks nowhere;
//   - the extra passages stop when no closed wall between neighbours is left (one room, say);
//   - "SIZE" holds whole numbers from 1 to kMaxGridSide, "EDGES" 0 to kMaxEdges, "KREUZUNGEN" 0
//     to kMaxCrossings; other values keep the default with a log line;
//   - one log line each for: no usable mask (none named, unknown, not lockable), a mask smaller
//     than the grid (cells share its pixels), rooms with fewer than four sides (right and down
//     links do not pair up), no start room, no goal room. The game can still be skipped.
//
// Files:
//   Maze.cpp        keys, windows, start, update, destruction
//   Maze_rooms.cpp  the rooms (Raum) and their links, building from the mask, generation
//   Maze_play.cpp   clicks: the path, the straight walk, the win test
//   Maze_draw.cpp   cell geometry, rooms, wall lines and step numbers
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/InputState.h"
#include "engine/render/SpriteRect.h"
#include "game/minigames/BlockSequence.h"
#include "game/minigames/MinigameLines.h"
#include "engine/core/CountedRef.h"
#include "game/minigames/Minispiel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2D;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class Maze : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"MAZE_";
    static constexpr int kMaxGridSide = 128;
    static constexpr int kMaxEdges = 16;
    static constexpr int kMaxCrossings = 4 * kMaxGridSide * kMaxGridSide;
    static constexpr int kDefaultEdges = 3;
    // Sides a room of the square grid needs so that right pairs with left and down with up.
    static constexpr int kGridEdges = 4;
    static constexpr float kDefaultGridSide = 2.0f;
    static constexpr std::uint32_t kUnreached = 0xFFFFFFFFu;
    static constexpr float kWallWidth = 2.0f;
    // Side numbers of the square grid.
    enum Side { kUp = 0, kRight = 1, kDown = 2, kLeft = 3 };

    class Raum;

    // One side of a room: the room beyond it (null at the mask's border or a hole) and whether
    // it is a passage.
    struct Durchgang {
        Raum* neighbour = nullptr;
        bool open = false;
    };

    // A group of the generation: rooms joined by passages so far, in their shuffled order.
    struct RaumGruppe {
        BlockSequence<Raum*> rooms;
        bool finished = false;
    };

    class Raum {
    public:
        // The prototype, read from the "RAUM" element.
        Raum(Orvex::XMLNode& node, Maze* owner);
        // A room of the mask at the cell's corner position: the prototype's sides (closed, no
        // neighbours), colours and its own copies of the pictures.
        Raum(Raum const& prototype, int column, int row, D3DXVECTOR2 const& position);
        ~Raum();
        Raum(Raum const&) = delete;
        Raum& operator=(Raum const&) = delete;

        // Side index leads to other; with mirror, other's opposite side leads back here.
        void setNeighbour(Raum* other, int index, bool mirror);
        // Every side leading to other opens (with mirror, other's sides to this room too).
        void openTo(Raum* other, bool mirror);
        // Whether the first side leading to other is open; false when none leads there.
        bool isOpenTo(Raum const* other) const;
        // The first neighbour, in side order, that is a goal room behind an open side.
        Raum* findOpenGoalNeighbour() const;
        // Closed sides that lead to a room.
        int closedLinkedSides() const;
        bool containsPoint(D3DXVECTOR2 const& point) const;
        void draw(D3DXCOLOR const& tint, bool plain) const;
        void drawWalls(D3DXCOLOR const& tint, ID3DXLine& line) const;

        std::wstring name;
        // Top-left corner of the cell as fractions of the field; column and row in whole cells.
        D3DXVECTOR2 position{0.0f, 0.0f};
        int column = 0;
        int row = 0;
        std::vector<Durchgang> sides;
        // 2i: side i's picture as a wall, 2i + 1 as a passage.
        std::vector<Orvex::CountedRef<Orvex::Texture2DAnimation>> sideImages;
        Orvex::CountedRef<Orvex::Texture2DAnimation> startImage;
        Orvex::CountedRef<Orvex::Texture2DAnimation> goalImage;
        Orvex::CountedRef<Orvex::Texture2DAnimation> backgroundImage;
        Orvex::CountedRef<Orvex::Texture2DAnimation> markImage;
        RaumGruppe* group = nullptr;
        int edgeCount = kDefaultEdges;
        float delta = 0.0f;
        float length = 0.0f;
        Maze* owner = nullptr;
        bool onPath = false;
        D3DXCOLOR markColor{1.0f, 0.0f, 0.0f, 1.0f};
        D3DXCOLOR startColor{0.0f, 1.0f, 0.0f, 1.0f};
        D3DXCOLOR goalColor{0.0f, 0.0f, 1.0f, 1.0f};
        bool isStart = false;
        bool isGoal = false;
        std::uint32_t distance = kUnreached;
    };

    explicit Maze(Orvex::XMLNode& element);
    ~Maze() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;
    // A press, from the manager while active.
    void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;

    // ---- slots ----
    void onFieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // ---- rooms and generation ----
    // Builds the rooms from the mask texture sampled at every cell of the grid (no rooms when it
    // cannot be locked).
    void buildRooms(Orvex::Texture2D* texture, D3DXVECTOR2 const& gridSize);
    // The mask's colour at every cell of a columns x rows grid, column by column (nearest pixel;
    // a failed sample is transparent). False when the texture cannot be locked.
    static bool sampleMask(Orvex::Texture2D& texture, int columns, int rows, std::vector<D3DXCOLOR>& cells);
    // Builds the rooms from the samples of a columns x rows grid (column by column, alpha 0 or a
    // failed sample: no room).
    void buildRooms(int columns, int rows, std::vector<D3DXCOLOR> const& cells);
    // A new maze over the rooms: passages, crossings, distances, the goal; the path emptied.
    void generate();
    // Distances from the start and the nearest goal again, over the passages as they are (for
    // passages laid by hand).
    void measure();

    // ---- geometry ----
    // The cell at the position as a sprite rectangle: its corner there, or (centred) its middle.
    Orvex::SpriteRect getCellRect(D3DXVECTOR2 const& position, bool centred) const;
    Orvex::GUIWindow* getField() const { return field_; }

    // ---- state, for tests and the fuzz target ----
    std::vector<Raum*> const& getRooms() const { return rooms_; }
    std::vector<Raum*> const& getPath() const { return path_; }
    Raum* getStartRoom() const { return startRoom_; }
    Raum* getGoalRoom() const { return goalRoom_; }
    Raum* roomAt(int column, int row) const;
    D3DXVECTOR2 getGridSize() const { return gridSize_; }
    int getCrossings() const { return crossings_; }
    bool isFast() const { return fast_; }

private:
    void destroyRooms();
    void destroyGroups();
    // Merges groups until each connected part is one; then the crossings.
    void mergeGroups();
    void openCrossings();
    void measureDistances();
    void chooseGoal();
    // The last room of the path, or the start room.
    Raum* pathEnd() const;
    void cutPathTo(Raum* room);
    void extend(Raum* room);
    // Step 1 of a click: the rooms under the point. True when one was hit.
    bool clickRooms(D3DXVECTOR2 const& point, Raum* end);
    void walkToward(D3DXVECTOR2 const& point, Raum* end);
    void testWin();
    void drawStepNumbers();

    std::vector<Raum*> rooms_;
    std::vector<RaumGruppe*> groups_;
    // Let go after the rooms and groups (destroyed by the destructor's body).
    std::unique_ptr<Raum> prototype_;
    Orvex::GUIWindow* field_ = nullptr;
    Orvex::CountedRef<Orvex::Texture2DAnimation> background_;
    MinigameLines lines_;
    D3DXVECTOR2 gridSize_{kDefaultGridSide, kDefaultGridSide};
    int columns_ = 0;
    int rows_ = 0;
    int drawMode_ = -1;
    Raum* startRoom_ = nullptr;
    Raum* goalRoom_ = nullptr;
    bool multipleGoals_ = false;
    int crossings_ = 0;
    std::vector<Raum*> path_;
    bool fast_ = false;
    std::wstring fontName_ = L"default";
    std::wstring fontStyle_ = L"default";
};

}  // namespace Solitaire
