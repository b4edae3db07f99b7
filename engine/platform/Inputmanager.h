// The engine's input manager: the input of one update step. The input poll emits its signals
// whenever it runs (driven by the tick); the engine's update signal calls update() first, which
// makes everything that arrived since the previous update step this step's input, so the
// game's update sees each key press, release, click and wheel turn exactly once.
#pragma once

#include <bitset>

#include "engine/core/Types.h"
#include "engine/platform/InputState.h"
#include "signals/sigslot.h"

namespace Orvex {

class DirectInputInterface;

class Inputmanager : public sigslot::has_slots<> {
public:
    static Inputmanager& getInstance();

    // Listens to the input system's key and mouse signals (once; a second call changes nothing).
    void attach(DirectInputInterface& input);
    void detach();

    // Called first in each update step: the collected input becomes the step's input.
    void update();
    u32 getStep() const { return step_; }

    // This step's input.
    bool wasKeyPressed(u8 code) const { return current_.pressed[code]; }  // repeats count too
    bool wasKeyReleased(u8 code) const { return current_.released[code]; }
    bool wasButtonPressed(OrvexMouseButton button) const { return bit(current_.buttonsPressed, button); }
    bool wasButtonReleased(OrvexMouseButton button) const { return bit(current_.buttonsReleased, button); }
    bool wasDoubleClicked(OrvexMouseButton button) const { return bit(current_.doubleClicks, button); }
    // Pointer movement and wheel (120 a notch, positive away from the user) over the step.
    float getMoveX() const { return current_.moveX; }
    float getMoveY() const { return current_.moveY; }
    float getWheel() const { return current_.wheel; }

    Inputmanager(Inputmanager const&) = delete;
    Inputmanager& operator=(Inputmanager const&) = delete;

private:
    Inputmanager() = default;
    ~Inputmanager() override = default;

    struct StepInput {
        std::bitset<256> pressed;
        std::bitset<256> released;
        u32 buttonsPressed = 0;
        u32 buttonsReleased = 0;
        u32 doubleClicks = 0;
        float moveX = 0.0f;
        float moveY = 0.0f;
        float wheel = 0.0f;
    };
    static bool bit(u32 mask, OrvexMouseButton button) {
        return button >= 0 && button < OMB_COUNT && (mask >> button) & 1u;
    }
    static void setBit(u32& mask, OrvexMouseButton button) {
        if (button >= 0 && button < OMB_COUNT) mask |= 1u << button;
    }

    void onKeyPressed(KeyState& state, unsigned char const& code);
    void onKeyReleased(KeyState& state, unsigned char const& code);
    void onButtonDown(MouseState& state, OrvexMouseButton const& button);
    void onButtonUp(MouseState& state, OrvexMouseButton const& button);
    void onDoubleClick(MouseState& state, OrvexMouseButton const& button);
    void onAxis(MouseState& state, OrvexAchse const& axis);

    DirectInputInterface* input_ = nullptr;
    StepInput collecting_;
    StepInput current_;
    u32 step_ = 0;
};

}  // namespace Orvex
