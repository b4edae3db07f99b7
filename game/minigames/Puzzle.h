// The mini-game "PUZZLE" (jigsaw): the pieces are pictures of their own, cut by the data author.
// The playing field shows each piece's place as a tinted silhouette (a target); movable copies of
// the targets lie scattered over the field (at random inside "INTI_POS", apart from each other
// and, while room allows, from the places and the fixed pieces; or at a piece's
// "START_POSITION") together with decoys that fit nowhere, and the player drags them with the left
// button. A piece dropped on its own place, its corner nearer than "MAX_DIST" screen pixels to the
// place's corner, flies there in one second and stays; fixed pieces are only drawn. When every
// place is filled the game is solved: the end pieces fade in over half a second, and after the end
// delay the time left is reported. Placing or missing a piece emits nothing.
//
// Positions and sizes are fractions of the field, given by the data in units of the reference size
// "SIZE". Hit tests use the piece's picture: a pixel counts where its alpha x 255 reaches 64
// ("CHECK_ALPHA": first value for the places on a drop, second for the pieces on a press), so a
// press on a transparent corner reaches the piece beneath. A dragged piece stays inside the main
// window. The pointer comes from the manager while the game is active, taken only while its help
// screen is closed. A piece let go on a place without filling it (another piece's place, a filled
// one, or its own missed by the drop test), its corners nearer than "MAX_DIST" to the place's,
// would look placed: it flies back to where it was taken in half a second.
//
// Keys beside the base's: "SIZE", "COLOR_ZIEL_HELP", "MAX_DIST", "CHECK_ALPHA", "INTI_POS";
// children "PUZZLE_TEIL" (places, each the template of a movable piece), "PUZZLE_TEIL_FEST",
// "PUZZLE_TEIL_SINNLOS" (decoys), "PUZZLE_TEIL_ENDE", each with "ANIMATION", "ANIMATION_FOUND",
// "ANIMATION_NFOUND", "GUI" and "GUIRECT" (a status window showing whether the piece is placed),
// "POSITION", "START_POSITION", "SIZE", "SHADOW".
// Windows (prefix + "PUZZLE_" + "FENSTER", "SPIELFELD", "VG", "CANCEL", "HILFE").
//
// Where the plain rules would go wrong: a game without places is never solved (no drop can fill
// one); a drop after the game was solved does not start the end delay and the fade again; a
// reference size of 0 and numbers that are not finite keep their defaults; piece counts are
// capped; a press on the help screen does not reach the pieces of the hidden game.
//
// Files:
//   Puzzle.cpp        the pieces, reading the definition, the windows, start
//   Puzzle_play.cpp   the mouse, the frame step and the drawing
#pragma once

#include <memory>
#include <vector>

#include "engine/core/Types.h"
#include "engine/gui/Interpolation.h"
#include "engine/platform/InputState.h"
#include "engine/render/FRect.h"
#include "engine/render/SpriteRect.h"
#include "game/minigames/Minispiel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class ApartPlacer;

class Puzzle : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"PUZZLE_";
    // More pieces than this in one list are damaged data.
    static constexpr std::size_t kMaxPieces = 256;
    static constexpr float kDefaultReference = 100.0f;
    // A reference size below this would blow the pieces up beyond any screen.
    static constexpr double kMinReference = 1.0e-3;
    static constexpr float kDefaultMaxDist = 25.0f;
    // Pixels whose alpha x 255 reaches this are part of a picture.
    static constexpr short kAlphaThreshold = 64;
    // A placed piece flies to its place at this speed (one second).
    static constexpr double kFlightSpeed = 1.0;
    // A piece let go on a place it does not fill flies back at this speed (half a second).
    static constexpr double kReturnSpeed = 2.0;
    static constexpr float kEndFadeLength = 0.5f;
    // A loose piece's shadow: this many pixels right and down, black at half strength.
    static constexpr float kShadowOffset = 4.0f;
    static constexpr float kShadowAlpha = 128.0f / 255.0f;

    // One piece of the definition or a movable copy of one.
    class PuzzleTeil {
    public:
        // Reads the element; sizes and the position become field fractions of the owner's
        // reference size.
        PuzzleTeil(Puzzle* owner, Orvex::XMLNode& node);
        // A movable copy: own pictures and status window, which shows the loose or found picture.
        PuzzleTeil(PuzzleTeil const& other);
        PuzzleTeil& operator=(PuzzleTeil const&) = delete;
        ~PuzzleTeil();

        // Its rectangle on the screen from the field and the current position.
        Orvex::SpriteRect getSpriteRect() const;
        // Whether the screen point lies on the rectangle, and with checkAlpha on an opaque pixel
        // of the picture's current frame (a piece without a picture is its whole rectangle).
        bool hitTest(D3DXVECTOR2 const& point, bool checkAlpha) const;
        // The picture in the colour, after its shadow while loose.
        void draw(D3DXCOLOR const& colour, float shadowStrength) const;
        // Flies to the goal in 1 / speed seconds; a speed of 0 or less puts it there at once.
        void moveTo(D3DXVECTOR2 const& goal, double speed);
        // Loose or placed; the status window shows the matching picture.
        void setLoose(bool value);
        D3DXVECTOR2 getPosition() const { return position.current; }

        float startX = 0.0f;
        float startY = 0.0f;
        bool hasStartPosition = false;
        // The same for a piece and its copies, so a copy finds its place.
        Orvex::u32 id = 0;
        Orvex::Interpolation<D3DXVECTOR2, float> position;
        float width = 1.0f;
        float height = 1.0f;
        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        Puzzle* owner = nullptr;
        bool loose = true;
        bool shadow = true;
        Orvex::CountedRef<Orvex::Texture2DAnimation> foundPicture;
        Orvex::CountedRef<Orvex::Texture2DAnimation> loosePicture;
        // Declared after the pictures it shows, so it goes first.
        Orvex::CountedRef<Orvex::GUIWindow> statusWindow;

    private:
        void showStatus();
    };

    explicit Puzzle(Orvex::XMLNode& element);
    ~Puzzle() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;
    // The pointer, from the manager while active.
    void onMouseDown(Orvex::MouseState& mouse, Orvex::OrvexMouseButton const& button) override;
    void onMouseUp(Orvex::MouseState& mouse, Orvex::OrvexMouseButton const& button) override;
    void onMouseMove(Orvex::MouseState& mouse, Orvex::OrvexAchse const& axis) override;
    // Slot: the field's self-drawn signal.
    void onFieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // A screen point as field fractions and back (unchanged without a usable field).
    D3DXVECTOR2 toField(D3DXVECTOR2 const& point) const;
    D3DXVECTOR2 toScreen(D3DXVECTOR2 const& fraction) const;
    // Every place filled; false for a game without places.
    bool allPlaced() const;

    // For the tests and the fuzz target: copies of the lists.
    std::vector<PuzzleTeil*> getPieces() const { return Orvex::plainPointers(active_); }
    std::vector<PuzzleTeil*> getTargets() const { return Orvex::plainPointers(targets_); }
    std::vector<PuzzleTeil*> getFixedPieces() const { return Orvex::plainPointers(fixed_); }
    std::vector<PuzzleTeil*> getDecoys() const { return Orvex::plainPointers(decoys_); }
    std::vector<PuzzleTeil*> getEndPieces() const { return Orvex::plainPointers(ends_); }
    PuzzleTeil* getHeldPiece() const { return held_; }
    Orvex::GUIWindow* getField() const { return field_; }
    Orvex::GUIWindow* getForeground() const { return foreground_; }
    D3DXVECTOR2 getReferenceSize() const { return reference_; }
    float getEndFade() const { return endFade_; }

private:
    // Not behind the manager's help screen.
    bool takesInput() const;
    void readKeys(Orvex::XMLNode& element);
    using Pieces = std::vector<std::unique_ptr<PuzzleTeil>>;
    void readList(Orvex::XMLNode& element, wchar_t const* name, wchar_t const* what, Pieces& list);
    void clearPieces();
    // A new deal's places: a piece at its own start place, or scattered apart from the pieces
    // placed before it and from the kept-clear places.
    void placeAtStartPosition(PuzzleTeil& piece) const;
    void scatter(PuzzleTeil& piece, ApartPlacer& placer) const;
    // The piece's rectangle in field fractions.
    static Orvex::FRect fieldRectOf(PuzzleTeil const& piece);
    // The loose place of the held piece's id under the point, near enough, or null.
    PuzzleTeil* placeFor(PuzzleTeil const& piece, D3DXVECTOR2 const& point) const;
    // Whether the piece covers a place: both its corners nearer than the snap distance to the
    // place's.
    bool liesOnAPlace(PuzzleTeil const& piece) const;

    Orvex::GUIWindow* foreground_ = nullptr;
    Orvex::GUIWindow* field_ = nullptr;
    // The movable copies, bottom first.
    Pieces active_;
    Pieces targets_;
    Pieces fixed_;
    Pieces decoys_;
    Pieces ends_;
    // One of active_.
    PuzzleTeil* held_ = nullptr;
    D3DXVECTOR2 reference_{kDefaultReference, kDefaultReference};
    D3DXVECTOR2 grabOffset_{0.0f, 0.0f};
    // Where the held piece was taken, in field fractions.
    D3DXVECTOR2 takenFrom_{0.0f, 0.0f};
    D3DXCOLOR helpColour_{0.0f, 0.0f, 0.0f, 1.0f};
    float maxDist_ = kDefaultMaxDist;
    bool alphaOnDrop_ = true;
    bool alphaOnGrab_ = true;
    Orvex::FRect scatter_{0.0f, 0.0f, 1.0f, 1.0f};
    float endFade_ = 0.0f;
};

}  // namespace Solitaire
