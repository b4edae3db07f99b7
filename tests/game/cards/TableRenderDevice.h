// Fixture of the table drawing tests: the headless device with a sprite, the shipped styles
// (card set "CLASSIC", the table background) loaded, a camera fitting the table into the frame,
// and a frame drawn through the table renderer.
#pragma once

#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/SolitaireCamera.h"
#include "game/cards/StyleSettings.h"
#include "game/cards/TableRenderer.h"
#include "tests/game/cards/TableDevice.h"

namespace styletest {

class TableRenderTest : public TableDeviceTest {
protected:
    void SetUp() override {
        TableDeviceTest::SetUp();
        Orvex::XMLNode styles;
        ASSERT_TRUE(styles.load(L"data\\Styles.sty"));
        Solitaire::StyleSettings::instance().load(styles, L"data\\Styles.sty");
        ASSERT_NE(Solitaire::StyleSettings::instance().getKartenset(), nullptr);
        camera.setSecondRect(Orvex::FRect(0, 0, kWidth, kHeight));
        camera.setRelativeRect(Orvex::FRect(0, 0, kWidth, 100000));  // no bottom-margin cap
        manager().createDiscardPile();
    }
    void TearDown() override {
        manager().createDiscardPile();
        manager().camera = nullptr;
        TableDeviceTest::TearDown();
    }
    static Solitaire::Kartenmanager& manager() { return Solitaire::Kartenmanager::instance(); }

    // The whole frame of the given layers through the table renderer.
    std::vector<uint32_t> drawFrame(int layers = -1) {
        Solitaire::RenderContext context;
        context.sprite = &sprite;
        context.camera = &camera;
        context.target = Orvex::FRect(0, 0, kWidth, kHeight);
        context.layerMask = layers;
        Solitaire::RenderQueue queue;
        return draw([&] { Solitaire::drawTable(manager(), context, queue); });
    }

    Solitaire::SolitaireCamera camera;
};

}  // namespace styletest
