// The engine's input manager: input collected between update steps (see Inputmanager.h).
#include "engine/platform/Inputmanager.h"

#include "engine/platform/DirectInputInterface.h"

namespace Orvex {

Inputmanager& Inputmanager::getInstance() {
    static Inputmanager instance;
    return instance;
}

void Inputmanager::attach(DirectInputInterface& input) {
    if (input_ == &input) return;
    detach();
    input_ = &input;
    input.keyPressedSignal.connect(this, &Inputmanager::onKeyPressed);
    input.keyReleasedSignal.connect(this, &Inputmanager::onKeyReleased);
    input.mouseButtonDownSignal.connect(this, &Inputmanager::onButtonDown);
    input.mouseButtonUpSignal.connect(this, &Inputmanager::onButtonUp);
    input.mouseDoubleClickSignal.connect(this, &Inputmanager::onDoubleClick);
    input.mouseAxisSignal.connect(this, &Inputmanager::onAxis);
}

void Inputmanager::detach() {
    disconnect_all();
    input_ = nullptr;
    collecting_ = StepInput{};
    current_ = StepInput{};
}

void Inputmanager::update() {
    current_ = collecting_;
    collecting_ = StepInput{};
    ++step_;
}

void Inputmanager::onKeyPressed(KeyState&, unsigned char const& code) { collecting_.pressed.set(code); }

void Inputmanager::onKeyReleased(KeyState&, unsigned char const& code) { collecting_.released.set(code); }

void Inputmanager::onButtonDown(MouseState&, OrvexMouseButton const& button) {
    setBit(collecting_.buttonsPressed, button);
}

void Inputmanager::onButtonUp(MouseState&, OrvexMouseButton const& button) {
    setBit(collecting_.buttonsReleased, button);
}

void Inputmanager::onDoubleClick(MouseState&, OrvexMouseButton const& button) {
    setBit(collecting_.doubleClicks, button);
}

void Inputmanager::onAxis(MouseState& state, OrvexAchse const& axis) {
    switch (axis) {
    case OA_MOUSE_X: collecting_.moveX += state.moveX; break;
    case OA_MOUSE_Y: collecting_.moveY += state.moveY; break;
    case OA_MOUSE_Z_NEG:
    case OA_MOUSE_Z_POS: collecting_.wheel += state.moveZ; break;
    default: break;
    }
}

}  // namespace Orvex
