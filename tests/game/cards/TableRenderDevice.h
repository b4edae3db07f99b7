// Fixture of the table drawing tests: the headless device with a sprite, the shipped styles
// (card set "CLASSIC", the table background) loaded, a camera fitting the table into the frame,
// a dealt shipped variant and a frame drawn through the table renderer.
#pragma once

#include <string>
#include <vector>

#include "engine/core/Random.h"
#include "engine/core/XMLNode.h"
#include "engine/platform/InputState.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/TableRenderer.h"
#include "game/look/SolitaireCamera.h"
#include "game/look/StyleSettings.h"
#include "tests/game/look/TableDevice.h"

namespace styletest {

// The blue of the shipped first card back (blue well above red).
inline bool bluish(uint32_t c) { return (c & 0xFF) > ((c >> 16) & 0xFF) + 40; }

class TableRenderTest : public TableDeviceTest {
protected:
    static constexpr Orvex::u64 kJitterSeed = 7;

    void SetUp() override {
        TableDeviceTest::SetUp();
        Orvex::XMLNode styles;
        ASSERT_TRUE(styles.load(L"data\\Styles.sty"));
        Solitaire::StyleSettings::instance().load(styles, L"data\\Styles.sty");
        ASSERT_NE(Solitaire::StyleSettings::instance().getKartenset(), nullptr);
        float const w = static_cast<float>(screenW), h = static_cast<float>(screenH);
        camera.setSecondRect(Orvex::FRect(0, 0, w, h));
        camera.setRelativeRect(Orvex::FRect(0, 0, w, 100000));  // no bottom-margin cap
        manager().createDiscardPile();
        // The tick clock stands still, so no hover pass picks at the pointer while a deal settles,
        // however fast the machine runs the updates.
        manager().setClock([] { return Orvex::u32(0); });
    }
    void TearDown() override {
        manager().setClock({});
        manager().createDiscardPile();
        manager().setCamera(nullptr);
        TableDeviceTest::TearDown();
    }
    static Solitaire::Kartenmanager& manager() { return Solitaire::Kartenmanager::instance(); }

    // Deals a shipped variant with a fixed seed and lets turns and glides end (ten seconds); the
    // table of an earlier deal goes first. The engine's generator, which jitters and turns the
    // cards in their places, starts from a fixed seed too, so every run lays the same table.
    void deal(std::wstring const& variant = L"data\\Level\\Goldrausch.sol") {
        Orvex::seedRandom(kJitterSeed);
        manager().createDiscardPile();
        ASSERT_TRUE(manager().loadGameDefinitionFile(variant));
        manager().startGame(&camera, L"7", true, {}, {}, 0.0f);
        for (int i = 0; i < 600; ++i) manager().update(1.0 / 60.0, 1.0 / 60.0, Orvex::MouseState());
    }

    // The whole frame of the given layers through the table renderer.
    std::vector<uint32_t> drawFrame(int layers = -1) {
        Solitaire::RenderContext context;
        context.sprite = &sprite;
        context.camera = &camera;
        context.target = Orvex::FRect(0, 0, static_cast<float>(screenW), static_cast<float>(screenH));
        context.layerMask = layers;
        Solitaire::RenderQueue queue;
        return draw([&] { Solitaire::drawTable(manager(), context, queue); });
    }

    Solitaire::SolitaireCamera camera;
};

}  // namespace styletest
