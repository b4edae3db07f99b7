// The managers the engine makes with itself: the camera manager and the spline manager, whose
// console commands are reachable as soon as the engine exists.
#include <gtest/gtest.h>

#include "engine/core/Console.h"
#include "engine/core/engine/OrvexEngine.h"
#include "engine/render/CameraManager.h"
#include "engine/render/SplineManager.h"

namespace {

TEST(EngineManagers, CameraAndSplineCommandsAnswerOnceTheEngineExists) {
    Orvex::OrvexEngine* engine = Orvex::OrvexEngine::getInstance();
    ASSERT_NE(engine->getSplineManager(), nullptr);
    Orvex::ConsoleCommandReceiver* owner = nullptr;
    ASSERT_NE(Orvex::Console::getInstance().findCommand(L"SPL_reload", &owner), nullptr);
    EXPECT_EQ(owner, engine->getSplineManager());
    ASSERT_NE(Orvex::Console::getInstance().findCommand(L"CAM_saveCamera", &owner), nullptr);
    EXPECT_EQ(owner, &Orvex::CameraManager::getInstance());
    EXPECT_EQ(Orvex::Console::getInstance().execute(L"CAM_getAllCameraNames"), L"") << "the engine lists no cameras";
    EXPECT_EQ(Orvex::Console::getInstance().execute(L"SPL_reload Keine"), L"");
}

}  // namespace
