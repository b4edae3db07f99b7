// The blend of an information panel (the game-name banner, the help panel): a current value
// moving towards its target by the real step each update, never past it, within 0 to 1.
#pragma once

namespace Solitaire {

// The speed factor of a panel window's slide to its shown or hidden goal (HUD panels, the
// end-game button, the mini-game result).
constexpr double kPanelSpeed = 1.0;

struct PanelBlend {
    float current = 0.0f;
    float target = 0.0f;

    bool isMoving() const { return current != target; }
    // Moves current towards target by step (stopping there) and keeps it within 0 to 1.
    void move(float step);
};

}  // namespace Solitaire
