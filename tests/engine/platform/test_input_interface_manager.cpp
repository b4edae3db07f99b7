// The input manager: input arriving between two update steps is seen in exactly one step.
#include <gtest/gtest.h>

#include "engine/platform/DirectInputInterface.h"
#include "engine/platform/Inputmanager.h"

using namespace Orvex;

namespace {

class InputmanagerTest : public ::testing::Test {
protected:
    void SetUp() override { manager().attach(input()); }
    void TearDown() override { manager().detach(); }
    static Inputmanager& manager() { return Inputmanager::getInstance(); }
    static DirectInputInterface& input() { return DirectInputInterface::getInstance(); }
    void press(unsigned char code) { input().keyPressedSignal.emit(keys_, code); }
    void release(unsigned char code) { input().keyReleasedSignal.emit(keys_, code); }
    KeyState keys_;
    MouseState mouse_;
};

}  // namespace

TEST_F(InputmanagerTest, EachEventBelongsToOneStep) {
    press(0x1E);
    EXPECT_FALSE(manager().wasKeyPressed(0x1E)) << "not before the step begins";
    manager().update();
    EXPECT_TRUE(manager().wasKeyPressed(0x1E));
    EXPECT_FALSE(manager().wasKeyReleased(0x1E));
    release(0x1E);
    EXPECT_TRUE(manager().wasKeyPressed(0x1E)) << "the running step does not change";
    manager().update();
    EXPECT_FALSE(manager().wasKeyPressed(0x1E));
    EXPECT_TRUE(manager().wasKeyReleased(0x1E));
    manager().update();
    EXPECT_FALSE(manager().wasKeyReleased(0x1E));
}

TEST_F(InputmanagerTest, MouseButtonsMovementAndWheelAddUp) {
    input().mouseButtonDownSignal.emit(mouse_, OMB_LEFT);
    input().mouseDoubleClickSignal.emit(mouse_, OMB_LEFT);
    input().mouseButtonUpSignal.emit(mouse_, OMB_RIGHT);
    mouse_.moveX = 3.0f;
    input().mouseAxisSignal.emit(mouse_, OA_MOUSE_X);
    mouse_.moveX = 4.0f;
    input().mouseAxisSignal.emit(mouse_, OA_MOUSE_X);
    mouse_.moveZ = -120.0f;
    input().mouseAxisSignal.emit(mouse_, OA_MOUSE_Z_NEG);
    manager().update();
    EXPECT_TRUE(manager().wasButtonPressed(OMB_LEFT));
    EXPECT_TRUE(manager().wasDoubleClicked(OMB_LEFT));
    EXPECT_TRUE(manager().wasButtonReleased(OMB_RIGHT));
    EXPECT_FALSE(manager().wasButtonPressed(OMB_RIGHT));
    EXPECT_FLOAT_EQ(manager().getMoveX(), 7.0f);
    EXPECT_FLOAT_EQ(manager().getWheel(), -120.0f);
    manager().update();
    EXPECT_FLOAT_EQ(manager().getMoveX(), 0.0f);
    EXPECT_FALSE(manager().wasButtonPressed(OMB_LEFT));
}

TEST_F(InputmanagerTest, AttachingTwiceCountsOnce) {
    manager().attach(input());
    press(0x10);
    press(0x10);
    manager().update();
    EXPECT_TRUE(manager().wasKeyPressed(0x10));
    manager().detach();
    press(0x11);
    manager().update();
    EXPECT_FALSE(manager().wasKeyPressed(0x11));
}
