// The shipped card set on the real device: only the current card set keeps its textures on the
// device (choosing another suspends the old one's; the new one's are made as they are first
// drawn, so choosing decodes no picture), and a face drawn
// at its size shows its transparent rounded corners and its rim; the wildcard's picture is a mark
// over the face it stands for, which stays in sight.
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "engine/render/Texture2D.h"
#include "game/look/Kartenset.h"
#include "tests/game/look/TableDevice.h"

namespace Solitaire {
namespace {

using CardSetDeviceTest = styletest::TableDeviceTest;
using styletest::kClear;

// The shipped styles read; their card set is current.
Kartenset* loadShippedStyles() {
    Orvex::XMLNode styles;
    if (!styles.load(L"data\\Styles.sty")) return nullptr;
    StyleSettings::instance().load(styles, L"data\\Styles.sty");
    return StyleSettings::instance().getKartenset();
}

TEST_F(CardSetDeviceTest, OnlyTheCurrentCardSetHoldsItsTexturesOnTheDevice) {
    StyleSettings& settings = StyleSettings::instance();
    Kartenset* classic = loadShippedStyles();
    ASSERT_NE(classic, nullptr);
    Orvex::Texture2D* ace = classic->getFace(0, 0);
    ASSERT_NE(ace, nullptr);
    EXPECT_TRUE(ace->isSuspended()) << "nothing is decoded before it is drawn";
    EXPECT_NEAR(classic->getAspectRatio(0), 200.0f / 275.0f, 1e-6f) << "the size is known from the file";
    EXPECT_NE(ace->getTexture(), nullptr);
    EXPECT_FALSE(ace->isSuspended());

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
    EXPECT_TRUE(second->getFace(0, 0)->isSuspended());
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
    EXPECT_FALSE(second->getFace(3, 5)->isSuspended()) << "made by its first draw";
    EXPECT_TRUE(second->getFace(0, 0)->isSuspended()) << "not drawn, not made";
}

// Table and shop draw a wildcard's face, then the wildcard picture over it: the face's middle and
// its corner index show through, the rim is the mark's (an opaque picture hid which card it was).
TEST_F(CardSetDeviceTest, TheWildcardMarkLeavesTheFaceInSight) {
    Kartenset* classic = loadShippedStyles();
    ASSERT_NE(classic, nullptr);
    Orvex::Texture2D* mark = classic->getSingle(Kartenset::kWildcard);
    ASSERT_NE(mark, nullptr);
    // At a third of its size: the heart in the middle (42, 50), the small heart of the corner
    // index (18, 26), the rim at the top (42, 7).
    Orvex::FRect const place(10, 6, 74, 94);
    auto drawn = [&](std::initializer_list<Orvex::Texture2D*> layers) {
        return draw([&] {
            for (Orvex::Texture2D* layer : layers)
                sprite.drawInRect(layer, nullptr, place, Orvex::SDP_SCALE, Orvex::SDP_SCALE, 0xFFFFFFFF);
        });
    };
    std::vector<uint32_t> const face = drawn({classic->getFace(3, 0)});
    std::vector<uint32_t> const marked = drawn({classic->getFace(3, 0), mark});
    std::vector<uint32_t> const alone = drawn({mark});
    for (auto const& [x, y] : {std::pair{42u, 50u}, std::pair{18u, 26u}}) {
        EXPECT_EQ(at(marked, x, y), at(face, x, y)) << x << " " << y;
        EXPECT_EQ(at(alone, x, y), kClear) << x << " " << y;
    }
    uint32_t const rim = at(marked, 42, 7);
    EXPECT_NE(rim, at(face, 42, 7));
    EXPECT_GT(rim & 0xFF, (rim >> 8) & 0xFF) << "the mark's purple";
}

}  // namespace
}  // namespace Solitaire
