// Effects still listed when the program ends, after the device object has shut the device down:
// the manager drops them during static destruction without touching the port's tables.
#include <cstdlib>

#include "engine/platform/D3DInterface.h"
#include "tests/engine/render/test_effect_fixture.h"

namespace effecttest {
namespace {

TEST_F(EffectTest, EffectsLeftAtExitAreDroppedWithoutACrash) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    write("flat.fx", flatEffect());
    std::wstring list = L"<L>" + definition(L"Left", "flat.fx") + L"</L>";
    EXPECT_EXIT(
        {
            Orvex::XMLNode node = parse(list);
            manager.loadEffects(node);
            bool loaded = manager.findEffect(L"Left") != nullptr;
            Orvex::D3DInterface::getInstance().shutdown();
            std::exit(loaded ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace effecttest
