// The mini-game "DREHBILD" (turning tiles): a picture is cut into a grid of tiles and every tile
// is turned by a random number of quarter turns. A left click turns a tile a quarter turn one way,
// a right click the other way; the turn is animated (a quarter turn in a quarter of a second). The
// game is solved when every tile's target angle stands upright again, at the click that starts
// the last correcting turn.
//
// Keys beside the base's: "ANIMATION" (the picture), "SIZE" (columns and rows, one number for
// both; 4 by 4 by default), "USE_ANIM_VERH" (the field takes the picture's proportions instead of
// columns : rows). Windows: prefix + "DREHBILD_" + "FENSTER", "SPIELFELD", "SPIELFELD_HG" (a
// window around the field, optional), "VG" (the foreground with the buttons and the timer bars,
// optional), "CANCEL", "HILFE". Signals: moveMade after every turn, moveWrong for a click on no
// tile.
//
// Every start seeds the runtime's generator (the one the deal and the other mini-games draw from)
// with the tick count, so each attempt turns the tiles differently; the tick is read through a
// clock that tests set (setTickClock). A start turns the tiles on from where the last attempt
// left them.
//
// Where the plain rules would go wrong:
//   - a "SIZE" below 1 would divide by 0 in every box: each side reads as at least 1 (and at
//     most kMaxSide), with a log line;
//   - a tile's part of the picture is taken from the picture's current frame, wherever that frame
//     lies on its texture (not from the texture's top-left corner, which shows another part of a
//     sheet).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "engine/core/Types.h"
#include "engine/gui/Interpolation.h"
#include "engine/render/FRect.h"
#include "engine/render/SpriteRect.h"
#include "engine/core/CountedRef.h"
#include "game/minigames/Minispiel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class Drehbild : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"DREHBILD_";
    static constexpr int kDefaultSide = 4;
    static constexpr int kMaxSide = 32;
    // A quarter turn, and how fast a turn runs (quarter turns a second).
    static constexpr float kQuarterTurn = 90.0f;
    static constexpr float kTurnSpeed = 4.0f;
    // A target angle this close to a whole turn counts as upright.
    static constexpr float kUprightTolerance = 20.0f;

    class Teil {
    public:
        // Column c, row r of the grid, with a reference on the picture (null allowed).
        Teil(Drehbild& game, int c, int r, Orvex::Texture2DAnimation* picture);
        ~Teil();
        Teil(Teil const&) = delete;
        Teil& operator=(Teil const&) = delete;

        // Whether the point lies on the tile as it is drawn (turned by its current angle).
        bool hitTest(D3DXVECTOR2 const& point) const;
        // Starts a turn from the angle shown towards the target plus the quarter turns.
        void turn(float quarterTurns);

        Orvex::Interpolation<float, float> rotation;
        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        Orvex::FRect part;
        Drehbild* owner = nullptr;
    };

    explicit Drehbild(Orvex::XMLNode& element);
    ~Drehbild() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    // ---- slots ----
    void onSpielClicked(Orvex::GUIWindow& clicked);
    void onSpielRightClicked(Orvex::GUIWindow& clicked);
    void onFieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // The tile's box in screen pixels (part: fractions of the field), turned by degrees.
    Orvex::SpriteRect getTileRect(Orvex::FRect const& part, float degrees) const;
    // Every tile's target angle upright.
    bool isSolved() const;

    // The tick count read by start; an empty function restores the system's.
    static void setTickClock(std::function<Orvex::u32()> clock);
    static Orvex::u32 tickCount();

    std::vector<std::unique_ptr<Teil>> const& getTiles() const { return tiles_; }
    Orvex::GUIWindow* getField() const { return field_; }
    int getColumns() const { return columns_; }
    int getRows() const { return rows_; }

private:
    // A click on the field: the first tile under the pointer turns by the quarter turns.
    void turnAtPointer(Orvex::GUIWindow& clicked, float quarterTurns);

    Orvex::GUIWindow* field_ = nullptr;
    std::vector<std::unique_ptr<Teil>> tiles_;
    int columns_ = kDefaultSide;
    int rows_ = kDefaultSide;
    Orvex::CountedRef<Orvex::Texture2DAnimation> picture_;
    bool useAnimationRatio_ = false;
};

}  // namespace Solitaire
