// The shipped card set on the real device: only the current card set keeps its textures on the
// device (choosing another suspends the old one's and resumes the new one's), and a face drawn
// at its size shows its transparent rounded corners and its rim.
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "engine/render/Texture2D.h"
#include "game/cards/Kartenset.h"
#include "tests/game/cards/TableDevice.h"

namespace Solitaire {
namespace {

using CardSetDeviceTest = styletest::TableDeviceTest;
using styletest::kClear;

TEST_F(CardSetDeviceTest, OnlyTheCurrentCardSetHoldsItsTexturesOnTheDevice) {
    StyleSettings& settings = StyleSettings::instance();
    Orvex::XMLNode styles;
    ASSERT_TRUE(styles.load(L"data\\Styles.sty"));
    settings.load(styles, L"data\\Styles.sty");
    Kartenset* classic = settings.getKartenset();
    ASSERT_NE(classic, nullptr);
    Orvex::Texture2D* ace = classic->getFace(0, 0);
    ASSERT_NE(ace, nullptr);
    EXPECT_FALSE(ace->isSuspended());
    EXPECT_NE(ace->getTexture(), nullptr);

    // A second set from the same file under another name, filed into its own group.
    Orvex::XMLNode file;
    ASSERT_TRUE(file.load(L"data\\Cards\\Classic.kset"));
    file.setAttribute(L"NAME", L"ZWEI");
    file.removeChild(file.getChild(L"KARTENSET_SETS"));
    auto* second = new Kartenset(file, L"Classic.kset");
    settings.addKartenset(second);
    second->release();
    EXPECT_TRUE(second->getFace(0, 0)->isSuspended());
    settings.selectCardSetSet(L"DEFAULT");
    settings.selectCardSet(L"ZWEI");
    ASSERT_EQ(settings.getKartenset(), second);
    EXPECT_TRUE(ace->isSuspended());
    EXPECT_FALSE(second->getFace(0, 0)->isSuspended());
    EXPECT_NEAR(second->getAspectRatio(0), 200.0f / 275.0f, 1e-6f);

    // The face at its size from (10, 10): corners clear, the rim dark, the middle white.
    std::vector<uint32_t> const pixels = draw([&] {
        sprite.drawInRect(second->getFace(3, 5), nullptr, Orvex::FRect(10, 10, 210, 285), Orvex::SDP_SCALE,
                          Orvex::SDP_SCALE, 0xFFFFFFFF);
    });
    EXPECT_EQ(at(pixels, 10, 10), kClear);
    EXPECT_EQ(at(pixels, 11, 11), kClear);
    EXPECT_TRUE(testsupport::colorNear(at(pixels, 110, 11), 0xFF3C3C3C));
    EXPECT_TRUE(testsupport::colorNear(at(pixels, 20, 80), 0xFFFFFFFF));
}

}  // namespace
}  // namespace Solitaire
