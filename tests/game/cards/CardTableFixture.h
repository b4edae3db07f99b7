// A card table for tests: the source tree on the search path (variant files are named from it),
// a card set with a 100 x 140 cell current, and a freshly reset card manager.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/core/GOBManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/Kartenset.h"
#include "game/look/StyleSettings.h"
#include "port/win32/win32_paths.h"
#include "tests/game/cards/ProfileFiles.h"
#include "tests/support/TestSupport.h"

namespace cardtest {

// The card set every table test uses (made once, kept by the style settings).
inline Solitaire::Kartenset* tableCardSet() {
    Solitaire::StyleSettings& settings = Solitaire::StyleSettings::instance();
    Solitaire::Kartenset* set = settings.findKartenset(L"TEST_100x140");
    if (!set) {
        set = new Solitaire::Kartenset(L"TEST_100x140");
        set->cellSize = D3DXVECTOR2(100.0f, 140.0f);
        settings.addKartenset(set);
        set->release();
    }
    return set;
}

class CardTableFixture : public ::testing::Test {
protected:
    void SetUp() override {
        cardstest::useSourceData();
        Solitaire::StyleSettings::instance().setKartenset(tableCardSet());
        manager().createDiscardPile();
    }
    void TearDown() override { manager().createDiscardPile(); }

    static Solitaire::Kartenmanager& manager() { return Solitaire::Kartenmanager::instance(); }

    // Reads a variant file named from the source tree ("data\Level\Spinne.sol").
    void load(std::wstring const& file) { ASSERT_TRUE(manager().loadGameDefinitionFile(file)) << "cannot read"; }
    // Reads a definition's keys from text, as a variant file's top element gives them.
    static void readKeys(std::wstring const& text) {
        Orvex::XMLNode node;
        ASSERT_TRUE(node.loadFromText(text));
        manager().loadGameDefinition(node, L"keys.sol");
    }

    Solitaire::Kartenstapel& pile(std::wstring const& name) {
        Solitaire::Kartenstapel* found = manager().findPile(name);
        if (!found) ADD_FAILURE() << "no pile";
        return found ? *found : *manager().piles.front();
    }
};

}  // namespace cardtest
