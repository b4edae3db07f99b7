// The mini-game "PUSTEN" (blowing): objects lie scattered on a playfield and the player blows them
// away. While a mouse button is held, every object is pushed away from the pointer with a force
// that ramps up the longer the button is held and falls off with the distance; objects slide with
// friction and stop at the playfield's border. Every object touching the border solves the game.
// Positions and sizes are fractions of the playfield (0 to 1 on each axis).
//
// Keys beside the base's: "OBJEKT" children ("ANIMATION", "SIZE" in pixels of a 1024 x 768 screen,
// "MASS", "BREMS"), "POW" (the falloff's exponent), "MIN_ANZ" (the list is filled up with copies of
// random objects), "STRENGTH" (first and last strength), "STRENGTH_TIMER" (the ramp's start and end
// in seconds), "BACKGROUND", "MOUSE_ANI" (the blower drawn as the cursor over the playfield while
// blowing, growing to twice its size with the strength). Windows: prefix + "PUSTEN_" + "FENSTER",
// "SPIELFELD", "CANCEL", "HILFE".
//
// Sound behaviour where the plain rules would go wrong: a ramp whose start equals its end gives
// full strength from the start on (0 / 0 otherwise); a "MASS" of 0 or less is refused (it divides
// the force); the blower cursor sets the cursor's size flag its size needs, and hide clears the
// whole cursor; a press while the manager's help screen is up does not blow (held there, it would
// blow the game clear while its clock stands still).
#pragma once

#include <vector>

#include "engine/platform/InputState.h"
#include "engine/render/SpriteRect.h"
#include "engine/core/CountedRef.h"
#include "game/minigames/Minispiel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class Wegblasen : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"PUSTEN_";
    static constexpr std::size_t kMaxObjects = 256;
    // The cursor's side without a mouse picture, in pixels of a 1024 x 768 screen.
    static constexpr float kCursorSide = 50.0f;
    // Strengths and ramp times beyond these are damaged data.
    static constexpr double kMaxStrength = 1.0e4;
    static constexpr double kMaxRampTime = 3600.0;
    static constexpr double kMaxPow = 64.0;
    // A distance that stands for "the pointer is not over the playfield".
    static constexpr float kFar = 3.4028235e38f;

    class Objekt {
    public:
        Objekt(Orvex::XMLNode& node, Wegblasen& owner);
        // All fields copied, the animation cloned again.
        Objekt(Objekt const& other);
        Objekt& operator=(Objekt const&) = delete;
        ~Objekt();

        // The offset of the object from the pointer (out) and its length, in playfield fractions;
        // with the pointer off the playfield, (0, 0) and kFar.
        float getMouseOffset(D3DXVECTOR2& out) const;
        // The sprite of the object's picture on the screen.
        Orvex::SpriteRect getSpriteRect() const;
        void drawObjekt(D3DXCOLOR const& colour) const;
        // Whether the object's rectangle reaches an edge of the playfield.
        bool touchesBorder() const;

        D3DXVECTOR2 force{0.0f, 0.0f};
        D3DXVECTOR2 velocity{0.0f, 0.0f};
        D3DXVECTOR2 position{0.0f, 0.0f};
        D3DXVECTOR2 size{0.0f, 0.0f};
        float angle = 0.0f;
        float mass = 1.0f;
        float brems = 1.0f;
        Orvex::CountedRef<Orvex::Texture2DAnimation> animation;
        Wegblasen* game;
    };

    explicit Wegblasen(Orvex::XMLNode& element);
    ~Wegblasen() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;
    void show() override;
    void hide() override;

    // ---- the pointer, from the manager while active ----
    void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;
    void onMouseUp(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;
    void onMouseMove(Orvex::MouseState& state, Orvex::OrvexAchse const& axis) override;

    // ---- slots ----
    void onPlayfieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // The ramp's share at a time since the button went down: 0 before the start, 1 from the end.
    float rampShare(float blowTime) const;

    std::vector<Objekt*> const& getObjects() const { return objects_; }
    Orvex::GUIWindow* getPlayfield() const { return playfield_; }
    bool isShown() const { return shown_; }
    bool isBlowing() const { return blowing_; }
    float getStrength() const { return strength_; }

private:
    void moveObjects(float dt, bool& allOut);
    void updateCursor(float dt);

    std::vector<Objekt*> objects_;
    Orvex::GUIWindow* playfield_ = nullptr;
    bool shown_ = false;
    Orvex::CountedRef<Orvex::Texture2DAnimation> background_;
    Orvex::CountedRef<Orvex::Texture2DAnimation> mouseAnimation_;
    float strength_ = 0.0f;
    float firstStrength_ = 0.0f;
    float lastStrength_ = 0.0f;
    float blowTime_ = 0.0f;
    float rampStart_ = 1.0f;
    float rampEnd_ = 1.0f;
    bool blowing_ = false;
    float pow_ = 1.0f;
};

}  // namespace Solitaire
