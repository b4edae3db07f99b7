// The mini-game "OBJEKT_KLICKEN": a preview shows one picture, the playing field shows it once
// among rotating other pictures, and the player clicks it. Each correct click starts the next
// round with a new layout; the last round won solves the game, and after the end delay (while
// field and preview fade out) the time left is reported. A click on another picture emits
// moveWrong and gameFailed and changes nothing else; a click on empty field does nothing.
//
// Keys beside the base's: "FORM" children ("ANIMATION": a picture of the animation registry),
// "SIZE" (box side as a share of the field's width, 0.1), "ANZAHL" (other pictures per round,
// 10), "ROT_SPEED" (degrees per second, -180 to 180), "RUNDEN" (5), "COLORKEY" (AARRGGBB tint of
// the field's pictures, its alpha unused; black when absent). Ranges hold one or two numbers.
//
// Refused definitions: without a "FORM" no round can be built (the game shows nothing and can
// only be skipped or cancelled); with one form there is no other picture to choose, so a round
// shows the target alone; counts and forms are capped; an end delay of 0 does not fade.
//
// Windows (prefix + "OBJEKT_ANKLICKEN_" + "FENSTER", "VORSCHAU", "SPIEL", "CANCEL", "HILFE"):
// the pictures are drawn from the self-drawn signals of the preview and the field.
#pragma once

#include <vector>

#include "engine/render/SpriteRect.h"
#include "engine/core/CountedRef.h"
#include "game/minigames/Minispiel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
}  // namespace Orvex

namespace Solitaire {

class ObjekteAnklicken : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"OBJEKT_ANKLICKEN_";
    static constexpr int kMaxForms = 256;
    static constexpr int kMaxOthers = 500;
    static constexpr int kMaxRounds = 1000;
    static constexpr float kDefaultSize = 0.1f;
    static constexpr int kDefaultOthers = 10;
    static constexpr float kDefaultRotSpeed = 180.0f;
    static constexpr int kDefaultRounds = 5;
    // Where a box's top-left corner may lie: [kPlaceLow, kPlaceHigh - size] of the field.
    static constexpr float kPlaceHigh = 0.9f;
    static constexpr double kPlaceLow = 0.1;

    // One picture: a template of the definition, or an object placed in the field.
    class Form {
    public:
        explicit Form(ObjekteAnklicken* owner);
        // A copy with a fresh copy of the picture, so each object animates by itself.
        Form(Form const& other);
        Form& operator=(Form const&) = delete;
        ~Form();

        // Its box in the field: position and size from the field's rectangle (sizes as shares of
        // its width, so the box is square), rotated about its middle.
        Orvex::SpriteRect getSpriteRect() const;
        // Whether the screen point lies in the rotated box.
        bool hitTest(D3DXVECTOR2 const& point) const;

        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        float x = 0.0f;
        float y = 0.0f;
        float width = 0.0f;
        float height = 0.0f;
        float rotation = 0.0f;
        float rotationSpeed = 0.0f;
        ObjekteAnklicken* owner = nullptr;
    };

    explicit ObjekteAnklicken(Orvex::XMLNode& element);
    ~ObjekteAnklicken() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;

    // Slots.
    void onSpielClicked(Orvex::GUIWindow& window);
    void onViewDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // The next round, or the game solved after the last.
    void nextRound();
    // A fresh place, size, rotation and speed for the form.
    void placeForm(Form& form);
    void drawForm(Form const& form, D3DXCOLOR const& colour);

    // For the tests' hit search and the fuzz target.
    std::vector<Form*> const& getObjects() const { return objects_; }
    Orvex::GUIWindow* getField() const { return field_; }
    Orvex::GUIWindow* getPreview() const { return preview_; }
    int getRound() const { return round_; }

private:
    void clearObjects();
    // The fade of a solved game: the end delay left as a share of the end delay (1 while playing,
    // and with an end delay of 0).
    float fade() const;

    std::vector<Form*> forms_;
    std::vector<Form*> objects_;
    int target_ = 0;
    Orvex::GUIWindow* preview_ = nullptr;
    Orvex::GUIWindow* field_ = nullptr;
    D3DXCOLOR tint_{0.0f, 0.0f, 0.0f, 0.0f};
    int rounds_ = kDefaultRounds;
    int round_ = -1;
    int others_[2] = {kDefaultOthers, kDefaultOthers};
    float size_[2] = {kDefaultSize, kDefaultSize};
    float rotSpeed_[2] = {-kDefaultRotSpeed, kDefaultRotSpeed};
};

}  // namespace Solitaire
