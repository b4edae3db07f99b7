// The mini-game "RING": a picture cut into concentric rings, each turned by a random angle. The
// player grabs a ring with the left button and turns it by dragging around the playfield's centre;
// every turnable ring standing within "DELTA_WINKEL" degrees of upright solves the game. Radii are
// in one unit with "RADIUS_MAX", the radius drawn as the playfield's smaller side.
//
// Keys beside the base's: "OBJEKT" children ("RADIUS" inner and outer, "ROTIERBAR", "START_ANI",
// "ANIMATION"), "BACKGROUND", "RADIUS_MAX", "DELTA_WINKEL". Windows: prefix + "RING_" + "FENSTER",
// "SPIELFELD", "CANCEL", "HILFE".
//
// The pointer angle is measured from the centre to the pointer's opposite side: atan(dy / dx) with
// (dx, dy) = centre - pointer, plus 180 degrees where dx < 0, so it lies in (-90, 270] and jumps by
// 360 straight below the centre; a drag across the jump turns a ring by nearly a full turn, which
// leaves it where it was.
//
// Sound behaviour where the plain rules would go wrong: a "RADIUS_MAX" of 0 or less is refused, and
// with no radius to scale by no ring can be grabbed; an angle is brought into [0, 360) with fmod,
// so a value that is not finite counts as not upright instead of looping for ever; a press while
// the manager's help screen is up grabs no ring (the rings lie under it, their clock stopped).
#pragma once

#include <vector>

#include "engine/platform/InputState.h"
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

class Ring : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"RING_";
    static constexpr std::size_t kMaxRings = 64;
    static constexpr float kDefaultDeltaWinkel = 2.0f;

    class Objekt {
    public:
        Objekt(Orvex::XMLNode& node, Ring& owner);
        Objekt(Objekt const&) = delete;
        Objekt& operator=(Objekt const&) = delete;
        ~Objekt();

        float innerRadius = 0.0f;
        float outerRadius = 0.0f;
        float angle = 0.0f;
        Orvex::CountedRef<Orvex::Texture2DAnimation> animation;
        Ring* game;
        bool rotierbar = true;
        bool startAni = false;
    };

    explicit Ring(Orvex::XMLNode& element);
    ~Ring() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;
    // ---- the pointer, from the manager while active ----
    void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;
    void onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;
    void onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis) override;

    // ---- slots ----
    void onPlayfieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // Whether every turnable ring stands upright (the argument is not used); starts the animations
    // of the rings marked "START_ANI".
    bool isSolved(bool unused = false);
    // The ring's picture: a square of twice its outer screen radius about the centre.
    Orvex::SpriteRect getSpriteRect(Objekt const& ring) const;
    void drawObjekt(Objekt const& ring, D3DXCOLOR const& colour) const;

    // The pointer angle in degrees about the centre of the rectangle, in (-90, 270].
    static float pointerAngle(Orvex::FRect const& field, D3DXVECTOR2 const& pointer);
    // A ring radius in screen pixels (0 while there is no radius to scale by).
    float screenRadius(float radius) const;
    // Whether an angle lies within DELTA_WINKEL of upright.
    bool isUpright(float angle) const;

    std::vector<Objekt*> const& getRings() const { return rings_; }
    Orvex::GUIWindow* getPlayfield() const { return playfield_; }
    Objekt* getGrabbed() const { return grabbed_; }
    float getRadiusMax() const { return radiusMax_; }

private:
    void judge();

    std::vector<Objekt*> rings_;
    Orvex::GUIWindow* playfield_ = nullptr;
    Orvex::CountedRef<Orvex::Texture2DAnimation> background_;
    Objekt* grabbed_ = nullptr;
    float lastAngle_ = 0.0f;
    float radiusMax_ = 0.0f;
    float deltaWinkel_ = kDefaultDeltaWinkel;
};

}  // namespace Solitaire
