// The catalogue for tests: the source tree on the search path, the shipped "Level.dat" or a
// catalogue from text in the one SolitaireManager, the card table's test card set, and the
// managers the catalogue and profiles reach (statistics, card manager, profiles) reset around
// each test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "engine/core/XMLNode.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/StatistikManager.h"
#include "tests/game/cards/CardTableFixture.h"

namespace apptest {

inline std::string narrow(std::wstring const& text) { return std::string(text.begin(), text.end()); }

class CatalogueFixture : public cardtest::CardTableFixture {
protected:
    void SetUp() override {
        CardTableFixture::SetUp();
        resetAll();
    }
    void TearDown() override {
        resetAll();
        CardTableFixture::TearDown();
    }

    static void resetAll() {
        catalogue().finishStatistics(false);
        catalogue().clear();
        Solitaire::ProfilManager::instance().clear();
        Solitaire::ProfilManager::instance().setFilePath(L"");
        Solitaire::StatistikManager::instance().resetProfileStatistik();
    }

    static Solitaire::SolitaireManager& catalogue() { return Solitaire::SolitaireManager::instance(); }

    static void loadShipped() {
        catalogue().clear();
        ASSERT_TRUE(catalogue().loadCatalogueFile()) << "data\\Level\\Level.dat does not read";
    }
    // A catalogue from the text of a "Level.dat".
    static void loadText(std::wstring const& text) {
        catalogue().clear();
        Orvex::XMLNode tree;
        tree.loadFromText(text, L"catalogue test");
        catalogue().loadCatalogue(tree, L"catalogue test");
    }
    // Makes the named variant current and starts it.
    static bool start(std::wstring const& category, std::wstring const& game, std::wstring const& variant) {
        if (!catalogue().setCurrentByNames(category, game, variant)) {
            ADD_FAILURE() << "no variant " << narrow(category) << "/" << narrow(game) << "/" << narrow(variant);
            return false;
        }
        return catalogue().startVariant();
    }
    static Solitaire::SolVariant* variant(std::wstring const& category, std::wstring const& game, std::wstring const& name) {
        Solitaire::SolCategorie* c = catalogue().findCategory(category);
        Solitaire::SolSolitaire* g = c ? c->findGame(game) : nullptr;
        return g ? g->findVariant(name) : nullptr;
    }
};

}  // namespace apptest
