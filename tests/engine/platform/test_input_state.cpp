// Key, mouse and joystick states: key combinations, the console flag, swapped mouse buttons and
// the axis numbering that receivers compare against.
#include <gtest/gtest.h>

#include "engine/platform/InputState.h"
#include "port/dinput/dinput_keys.h"

using namespace Orvex;

namespace {

class InputStateTest : public ::testing::Test {
protected:
    void TearDown() override {
        setConsoleOpen(false);
        MouseState::setButtonsSwapped(false);
    }
};

}  // namespace

TEST_F(InputStateTest, KeyCombinationExactCount) {
    KeyState keys;
    keys.setKeyDown(DIK_LCONTROL, true);
    keys.setKeyDown(DIK_S, true);
    EXPECT_TRUE(keys.areKeysDown({DIK_LCONTROL, DIK_S}, true));
    EXPECT_TRUE(keys.areKeysDown({DIK_S}, false));
    // A third key held spoils an exact combination only.
    keys.setKeyDown(DIK_LSHIFT, true);
    EXPECT_FALSE(keys.areKeysDown({DIK_LCONTROL, DIK_S}, true));
    EXPECT_TRUE(keys.areKeysDown({DIK_LCONTROL, DIK_S}, false));
    // A listed key that is up fails either way.
    EXPECT_FALSE(keys.areKeysDown({DIK_LCONTROL, DIK_A}, false));
    // Naming a key twice does not change the answer.
    keys.setKeyDown(DIK_LSHIFT, false);
    EXPECT_TRUE(keys.areKeysDown({DIK_S, DIK_LCONTROL, DIK_S}, true));
    EXPECT_EQ(keys.countKeysDown(), 2u);
    // An empty combination never matches.
    EXPECT_FALSE(keys.areKeysDown({}, true) || keys.areKeysDown({}, false));
    EXPECT_EQ(keys.countKeysPressed({}), 0u);
}

TEST_F(InputStateTest, NewlyPressedKeysAreCountedPerEvent) {
    KeyState keys;
    keys.setKeyDown(DIK_LCONTROL, true);
    keys.setKeyDown(DIK_S, true);
    keys.addPressed(DIK_S);
    keys.addPressed(DIK_S);  // listed once
    EXPECT_EQ(keys.getPressedKeys().size(), 1u);
    EXPECT_EQ(keys.countKeysPressed({DIK_LCONTROL, DIK_S}), 1u);
    EXPECT_EQ(keys.countKeysPressed({DIK_LCONTROL}), 0u);
    EXPECT_TRUE(keys.wasPressed(DIK_S));
    keys.clearPressed();
    // Held but not newly pressed: a combination that is down is not triggered again.
    EXPECT_TRUE(keys.areKeysDown({DIK_LCONTROL, DIK_S}, true));
    EXPECT_EQ(keys.countKeysPressed({DIK_LCONTROL, DIK_S}), 0u);
}

TEST_F(InputStateTest, OpenConsoleHidesKeysUnlessIgnored) {
    KeyState keys;
    keys.setKeyDown(DIK_A, true);
    keys.addPressed(DIK_A);
    setConsoleOpen(true);
    EXPECT_FALSE(keys.areKeysDown({DIK_A}, true));
    EXPECT_EQ(keys.countKeysPressed({DIK_A}), 0u);
    EXPECT_TRUE(keys.areKeysDown({DIK_A}, true, true));
    EXPECT_EQ(keys.countKeysPressed({DIK_A}, true), 1u);
    setConsoleOpen(false);
    EXPECT_TRUE(keys.areKeysDown({DIK_A}, true));
}

TEST_F(InputStateTest, ModifiersAndAltGr) {
    KeyState keys;
    EXPECT_FALSE(keys.isShiftDown() || keys.isCtrlDown() || keys.isAltDown() || keys.isAltGrDown());
    keys.setKeyDown(DIK_RMENU, true);
    EXPECT_TRUE(keys.isAltGrDown());
    EXPECT_TRUE(keys.isAltDown());
    keys.setKeyDown(DIK_RMENU, false);
    keys.setKeyDown(DIK_LMENU, true);
    EXPECT_FALSE(keys.isAltGrDown());  // the left Alt alone is not AltGr
    keys.setKeyDown(DIK_RCONTROL, true);
    EXPECT_TRUE(keys.isAltGrDown());  // Ctrl + Alt is
    keys.releaseAll();
    EXPECT_EQ(keys.countKeysDown(), 0u);
}

TEST_F(InputStateTest, SwappedMouseButtonsAndButtonsOutsideTheRange) {
    MouseState mouse;
    mouse.setButtonDown(OMB_LEFT, true);
    EXPECT_TRUE(mouse.isButtonDown(0));
    EXPECT_FALSE(mouse.isButtonDown(1));
    MouseState::setButtonsSwapped(true);
    // The physical left button is now the secondary one.
    EXPECT_FALSE(mouse.isButtonDown(0));
    EXPECT_TRUE(mouse.isButtonDown(1));
    mouse.setButtonDown(OMB_MIDDLE, true);
    EXPECT_TRUE(mouse.isButtonDown(2));  // the middle button is not swapped
    MouseState::setButtonsSwapped(false);
    EXPECT_TRUE(mouse.isButtonDown(0));

    MouseState all;
    for (bool& b : all.buttons) b = true;
    EXPECT_FALSE(all.isButtonDown(-1) || all.isButtonDown(OMB_COUNT) || all.isButtonDown(1000));
    all.setButtonDown(99, false);  // ignored, no write past the array
    EXPECT_TRUE(all.isButtonDown(OMB_BUTTON8));

    JoystickState joy;
    joy.buttons[127] = true;
    EXPECT_TRUE(joy.isButtonDown(127));
    EXPECT_FALSE(joy.isButtonDown(128) || joy.isButtonDown(-1));
}

TEST_F(InputStateTest, AxisNumbering) {
    // Receivers compare against these numbers: movement on 2 and 5, the wheel on 18 and 19.
    static_assert(OA_MOUSE_X == 2 && OA_MOUSE_Y == 5 && OA_MOUSE_Z_NEG == 18 && OA_MOUSE_Z_POS == 19);
    EXPECT_EQ(axisGroup(OA_MOUSE_Z_POS), 6);
    EXPECT_EQ(axisPart(OA_MOUSE_Z_NEG), AxisPart::Negative);
    EXPECT_EQ(makeAxis(1, AxisPart::Whole), OA_MOUSE_Y);
    EXPECT_EQ(axisGroup(static_cast<OrvexAchse>(-1)), -1);
    EXPECT_EQ(axisGroup(static_cast<OrvexAchse>(OA_COUNT)), -1);
}

TEST_F(InputStateTest, MovementAndJoystickAxesByAxis) {
    MouseState mouse;
    mouse.moveX = -4.0f;
    mouse.moveY = 7.0f;
    mouse.moveZ = -120.0f;
    EXPECT_EQ(mouse.getMovement(OA_MOUSE_X), -4.0f);
    EXPECT_EQ(mouse.getMovement(OA_MOUSE_Y_POS), 7.0f);
    EXPECT_EQ(mouse.getMovement(OA_MOUSE_Z_NEG), -120.0f);
    EXPECT_EQ(mouse.getMovement(OA_JOY_X), 0.0f);
    EXPECT_EQ(mouse.getMovement(static_cast<OrvexAchse>(-3)), 0.0f);

    JoystickState joy;
    joy.axisX = 100;
    joy.axisRZ = -5;
    joy.sliders[1] = 9;
    EXPECT_EQ(joy.getAxis(OA_JOY_X), 100);
    EXPECT_EQ(joy.getAxis(OA_JOY_RZ_POS), -5);
    EXPECT_EQ(joy.getAxis(OA_JOY_SLIDER1), 9);
    EXPECT_EQ(joy.getAxis(OA_MOUSE_X), 0);
}
