// The mini-game "PUNKTE_VERBINDEN" (connect the dots): points (animated pictures) on a playing
// field over an optional background picture. A left click selects a point, a left click on a
// second one that may be joined to it draws a line between the two, a right click on a point
// removes all its lines. The game is solved when the lines are exactly the goal connections of
// the definition (each listed on both of its points); the goal lines then blink until the end
// delay has run out.
//
// Keys beside the base's: "PUNKT" children ("POSITION", "SIZE": one or two numbers, fractions
// of the field or units of "ABS_SIZE"; "ID"; "VALID_CONNECTIONS" and "GOAL_CONNECTIONS": ids,
// -1 for any point; "ANIMATION"), "BACKGROUND" (the field's picture, whose shape the field
// keeps), "ONLY_GOALS_TO_FINISH", "ABS_SIZE". Windows: prefix + "PUNKTEVERBINDEN_FENSTER",
// "PUNKTEVERBINDEN_SPIELFELD", "PUNKTEVERBINDEN_CANCEL", "PUNKTEVERBINDEN_HILFE". Lines are drawn
// between sprite batches with the shared line object (MinigameLines).
//
// Where the plain rules would go wrong: an "ABS_SIZE" of 0 (either number, or not finite) would
// divide by 0: that number is ignored (1), with a log line. A press is judged only when it
// reaches the field (the GUI's active window): the press that closes the help over the field
// would otherwise select, or join, a point beneath the help's OK button. Points and ids per list are capped
// (kMaxPoints, kMaxIds), the rest skipped with a log line. As specified and kept: the first
// selection emits moveWrong, and a click after solving that makes a move restarts the end delay.
//
// Files:
//   Punkteverbinden.cpp        keys, windows, start, update, destruction
//   Punkteverbinden_play.cpp   the points' connections, clicks, the solved test, drawing
#pragma once

#include <string>
#include <vector>

#include "engine/platform/InputState.h"
#include "engine/render/SpriteRect.h"
#include "game/minigames/MinigameLines.h"
#include "engine/core/CountedRef.h"
#include "game/minigames/Minispiel.h"
#include "port/d3dx9/d3dx9math.h"

namespace Orvex {
class GUIWindow;
class Texture2DAnimation;
class XMLNode;
}  // namespace Orvex

namespace Solitaire {

class Punkteverbinden : public Minispiel {
public:
    static constexpr wchar_t const* kKind = L"PUNKTEVERBINDEN_";
    static constexpr std::size_t kMaxPoints = 256;
    static constexpr std::size_t kMaxIds = 64;
    // The id that stands for any point in a list.
    static constexpr int kAny = -1;
    static constexpr float kLineWidth = 4.0f;
    // Goal lines blink five times a second: shown for the first half of each period.
    static constexpr float kBlinkPeriod = 0.2f;
    static constexpr float kBlinkShown = 0.1f;

    class Punkt {
    public:
        Punkt(Orvex::XMLNode& node, Punkteverbinden* owner);
        ~Punkt();
        Punkt(Punkt const&) = delete;
        Punkt& operator=(Punkt const&) = delete;

        // Not this point, and other's id (or -1) in the valid or goal list.
        bool canConnect(Punkt const& other) const;
        // The connection recorded on both points (once each).
        void connect(Punkt& other);
        void addConnection(Punkt& other);
        std::vector<Punkt*> getConnections() const { return connections; }
        void disconnect(Punkt& other);
        void removeConnection(Punkt& other);
        bool isGoal(Punkt const& other) const;
        void draw(D3DXCOLOR const& colour) const;

        float x = 0.0f;
        float y = 0.0f;
        float w = 0.0f;
        float h = 0.0f;
        int id = 0;
        std::vector<int> valid;
        std::vector<int> goals;
        std::vector<Punkt*> connections;
        Orvex::CountedRef<Orvex::Texture2DAnimation> picture;
        Punkteverbinden* owner = nullptr;
    };

    explicit Punkteverbinden(Orvex::XMLNode& element);
    ~Punkteverbinden() override;

    void update(double const& dt) override;
    void draw() override;
    void createWindows() override;
    void start() override;
    // A press, from the manager while active.
    void onMouseDown(Orvex::MouseState& state, Orvex::OrvexMouseButton const& button) override;

    // ---- slots ----
    void onFieldDrawn(Orvex::GUIWindow& window, bool const& drawn);

    // Whether the lines are exactly the goal connections of every point.
    bool isSolved() const;
    // The box of a point (centre and size as fractions of the field) on the screen.
    Orvex::SpriteRect getPointRect(D3DXVECTOR2 const& position, D3DXVECTOR2 const& size) const;

    // ---- state, for tests and the fuzz target ----
    std::vector<Punkt*> const& getPoints() const { return points_; }
    Punkt* getSelected() const { return selected_; }
    Orvex::GUIWindow* getField() const { return field_; }
    bool isBlinking() const { return blinking_; }

private:
    void testSolved();
    // The colour of the line from p to q: green (blinking once solved) when q is one of p's goals.
    D3DCOLOR lineColour(Punkt const& p, Punkt const& q, float alpha) const;

    std::vector<Punkt*> points_;
    Orvex::GUIWindow* field_ = nullptr;
    Punkt* selected_ = nullptr;
    Orvex::CountedRef<Orvex::Texture2DAnimation> background_;
    MinigameLines lines_;
    bool onlyGoalsToFinish_ = true;
    bool blinking_ = false;
    float blinkClock_ = 0.0f;
};

}  // namespace Solitaire
