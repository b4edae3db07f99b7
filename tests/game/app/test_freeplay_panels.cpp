// The free-play screen's columns on the game's own data and on small catalogues: the first entries
// chosen on entry, clicks picking a category, a game and a variant (the preview and the statistics
// lines follow), the preview's "FULL" goal for a game with one shown variant, a category without
// shown games, a variant never started, the preview of the game standing in for a variant's own,
// a click on the chosen button rebuilding what depends on it, and a button kept from before its
// column was rebuilt; the "Neu" ribbons clear of their captions at three screen sizes. Screenshots
// go to the build folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIScrollPanel.h"
#include "game/app/FreePlaySelection.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Statistik.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/PlayScreensFixture.h"

namespace {

using Solitaire::SolitaireManager;

class FreePlayPanelsTest : public apptest::PlayScreensFixture {
protected:
    static SolitaireManager& catalogue() { return SolitaireManager::instance(); }
    Solitaire::FreePlaySelection& freePlay() const { return game->getFreePlay(); }

    void enter() {
        freePlay().selectFirstEntries();
        showMenu(L"FREIESSPIELMENU");
    }
    // The column's button showing the item of that name.
    template <class T>
    static Orvex::GUIButton* buttonOf(std::vector<Orvex::GUIButton*> const& buttons, std::wstring const& name) {
        for (Orvex::GUIButton* button : buttons)
            if (static_cast<T*>(button->getUserPointer(0))->getName() == name) return button;
        return nullptr;
    }
    static std::vector<std::wstring> namesOf(std::vector<Orvex::GUIButton*> const& buttons) {
        std::vector<std::wstring> names;
        for (Orvex::GUIButton* button : buttons) names.push_back(static_cast<Orvex::NamedObject*>(button->getUserPointer(0))->getName());
        return names;
    }
    static std::wstring current() {
        SolitaireManager const& c = catalogue();
        auto name = [](Orvex::NamedObject const* o) { return o ? o->getName() : std::wstring(L"-"); };
        return name(c.getCurrentCategory()) + L"/" + name(c.getCurrentGame()) + L"/" + name(c.getCurrentVariant());
    }
    static Orvex::Texture2D* previewShown() { return find(L"FG_Preview")->getDrawOptions().getTexBackground(); }
    // Replaces the catalogue by the text's (the columns are built again from it).
    static void loadCatalogue(std::wstring const& text) {
        catalogue().clear();
        Orvex::XMLNode tree;
        ASSERT_TRUE(tree.loadFromText(text));
        catalogue().loadCatalogue(tree, L"(test catalogue)");
    }
};

// On entry the first category, game and variant are chosen; clicks choose others and the preview,
// the variant column's goal and the statistics lines follow.
TEST_F(FreePlayPanelsTest, ClicksPickCategoryGameAndVariant) {
    enter();
    EXPECT_EQ(current(), L"KLASSIKER/GOLDRAUSCH/GOLDRAUSCH");
    EXPECT_EQ(namesOf(freePlay().getCategoryButtons()), (std::vector<std::wstring>{L"KLASSIKER", L"KNOBELEIEN"}));
    EXPECT_EQ(namesOf(freePlay().getGameButtons()), (std::vector<std::wstring>{L"GOLDRAUSCH", L"SPINNE", L"ZELLEN"}));
    EXPECT_EQ(namesOf(freePlay().getVariantButtons()), (std::vector<std::wstring>{L"GOLDRAUSCH", L"GOLDRAUSCH_DREI"}));
    EXPECT_EQ(goalOf(L"FG_Preview"), L"NORMAL");
    EXPECT_EQ(goalOf(L"FG_VariantenPanel"), L"NORMAL");
    EXPECT_EQ(textOf(L"FG_STATISTIKEN_WIN"), L"Gewonnen: 0");
    // The chosen button wears the chosen look.
    Orvex::GUIButton* chosen = buttonOf<Solitaire::SolCategorie>(freePlay().getCategoryButtons(), L"KLASSIKER");
    EXPECT_EQ(chosen->getLabel()->getStyleName(0), L"ACTIVE_FG_NORMAL");
    EXPECT_EQ(chosen->getLabel()->getFontName(), L"ActiveSolKategorieFont");
    keepScreen("free_play_1024x768");

    // A variant with counts: the lines show won and won plus ended.
    Solitaire::SolVariant* three = catalogue().getCurrentGame()->findVariant(L"GOLDRAUSCH_DREI");
    auto* stats = new Solitaire::Statistik(L"VAR_STATS");
    Orvex::XMLNode counts(L"STATISTIK");
    counts.setAttribute(L"WON", L"3");
    counts.setAttribute(L"END", L"2");
    stats->readCounters(counts);
    three->setStatistik(stats);
    stats->release();
    Orvex::Texture2D* before = previewShown();
    click(*buttonOf<Solitaire::SolVariant>(freePlay().getVariantButtons(), L"GOLDRAUSCH_DREI"));
    EXPECT_EQ(current(), L"KLASSIKER/GOLDRAUSCH/GOLDRAUSCH_DREI");
    EXPECT_EQ(previewShown(), three->getPreview());
    EXPECT_NE(previewShown(), before);
    EXPECT_EQ(textOf(L"FG_STATISTIKEN_WIN"), L"Gewonnen: 3");
    EXPECT_EQ(textOf(L"FG_STATISTIKEN_STARTED"), L"Beendet: 5");
    three->setStatistik(nullptr);

    // Another category: its first game with one shown variant fills the preview's place.
    click(*buttonOf<Solitaire::SolCategorie>(freePlay().getCategoryButtons(), L"KNOBELEIEN"));
    EXPECT_EQ(current(), L"KNOBELEIEN/GOLFPLATZ/GOLFPLATZ");
    EXPECT_EQ(goalOf(L"FG_Preview"), L"FULL");
    EXPECT_EQ(goalOf(L"FG_VariantenPanel"), L"AUS");
    // A game of three variants, the second hidden, shows the other two beside the preview.
    click(*buttonOf<Solitaire::SolSolitaire>(freePlay().getGameButtons(), L"HERZREIHE"));
    EXPECT_EQ(current(), L"KNOBELEIEN/HERZREIHE/HERZREIHE");
    EXPECT_EQ(namesOf(freePlay().getVariantButtons()), (std::vector<std::wstring>{L"HERZREIHE", L"HERZREIHE_LEKTION"}));
    EXPECT_EQ(goalOf(L"FG_Preview"), L"NORMAL");
    EXPECT_EQ(goalOf(L"FG_VariantenPanel"), L"NORMAL");
    keepScreen("free_play_shown_variants_1024x768");
}

// The chosen button clicked again chooses again: the dependent columns are rebuilt and their first
// entries chosen.
TEST_F(FreePlayPanelsTest, ClickOnTheChosenButtonRebuilds) {
    enter();
    click(*buttonOf<Solitaire::SolVariant>(freePlay().getVariantButtons(), L"GOLDRAUSCH_DREI"));
    // Held, so that a new button cannot be made at the freed one's address.
    Orvex::GUIButton* oldGame = freePlay().getGameButtons().front();
    oldGame->addRef();
    click(*buttonOf<Solitaire::SolCategorie>(freePlay().getCategoryButtons(), L"KLASSIKER"));
    EXPECT_EQ(current(), L"KLASSIKER/GOLDRAUSCH/GOLDRAUSCH");
    EXPECT_NE(freePlay().getGameButtons().front(), oldGame);
    oldGame->release();
}

// A button held from before its column was rebuilt does nothing when clicked: its item is no
// longer in the column's list.
TEST_F(FreePlayPanelsTest, KeptButtonOfAnOldColumnDoesNothing) {
    enter();
    Orvex::GUIButton* oldGame = buttonOf<Solitaire::SolSolitaire>(freePlay().getGameButtons(), L"SPINNE");
    Orvex::GUIButton* oldCategory = buttonOf<Solitaire::SolCategorie>(freePlay().getCategoryButtons(), L"KLASSIKER");
    oldGame->addRef();
    oldCategory->addRef();
    click(*buttonOf<Solitaire::SolCategorie>(freePlay().getCategoryButtons(), L"KNOBELEIEN"));
    freePlay().onGameButton(*oldGame);
    EXPECT_EQ(current(), L"KNOBELEIEN/GOLFPLATZ/GOLFPLATZ");
    // The catalogue read anew: the old category button's item is gone as well.
    loadCatalogue(L"<LEVEL><KATEGORIE NAME=\"NEU\"><GAME NAME=\"G\"><VARIANTE NAME=\"V\" FILE=\"data\\Level\\Spinne.sol\"/></GAME></KATEGORIE></LEVEL>");
    EXPECT_EQ(current(), L"NEU/G/V");
    freePlay().onCategoryButton(*oldCategory);
    EXPECT_EQ(current(), L"NEU/G/V");
    oldGame->release();
    oldCategory->release();
}

// Small catalogues: a category without shown games leaves the game column empty and nothing
// current (no variant of the game before stays chosen); a variant without its own preview shows
// its game's; banners on categories and variants with "SHOW_EXTRA_BANNER", a game with one in the
// second holder.
TEST_F(FreePlayPanelsTest, EmptyCategoryPreviewFallbackAndBanners) {
    loadCatalogue(LR"(<LEVEL>
        <KATEGORIE NAME="VOLL" SHOW_EXTRA_BANNER="1">
            <GAME NAME="EIGENS" PREVIEW_FILE="data\Level\Paare.png" SHOW_EXTRA_BANNER="1">
                <VARIANTE NAME="OHNE_BILD" FILE="data\Level\Paare.sol" PREVIEW_FILE=""/>
                <VARIANTE NAME="MIT_BANNER" FILE="data\Level\Paare.sol" SHOW_EXTRA_BANNER="1"/>
            </GAME>
        </KATEGORIE>
        <KATEGORIE NAME="LEER">
            <GAME NAME="VERSTECKT" SHOW_IN_AUSWAHL="0"><VARIANTE NAME="X" FILE="data\Level\Paare.sol"/></GAME>
        </KATEGORIE>
    </LEVEL>)");
    showMenu(L"FREIESSPIELMENU");
    EXPECT_EQ(current(), L"VOLL/EIGENS/OHNE_BILD");
    Solitaire::SolSolitaire* game = catalogue().getCurrentGame();
    ASSERT_EQ(catalogue().getCurrentVariant()->getPreview(), nullptr);
    EXPECT_EQ(previewShown(), game->getPreview());
    EXPECT_NE(previewShown(), nullptr);
    // Banners: the category's on its button, the game's button inside the second holder, the variant's.
    Orvex::GUIButton* category = freePlay().getCategoryButtons().front();
    EXPECT_NE(category->findChild(L"FG_KategorieBannerVorlage"), nullptr);
    EXPECT_EQ(freePlay().getGameButtons().front()->getParent()->getName(), L"FG_GameBannerVorlage2");
    EXPECT_EQ(freePlay().getVariantButtons()[0]->findChild(L"FG_VarianteBannerVorlage"), nullptr);
    EXPECT_NE(freePlay().getVariantButtons()[1]->findChild(L"FG_VarianteBannerVorlage"), nullptr);
    // A variant never started: both lines show 0.
    EXPECT_EQ(textOf(L"FG_STATISTIKEN_WIN"), L"Gewonnen: 0");
    EXPECT_EQ(textOf(L"FG_STATISTIKEN_STARTED"), L"Beendet: 0");

    click(*buttonOf<Solitaire::SolCategorie>(freePlay().getCategoryButtons(), L"LEER"));
    EXPECT_EQ(current(), L"LEER/-/-");
    EXPECT_TRUE(freePlay().getGameButtons().empty());
    EXPECT_TRUE(freePlay().getVariantButtons().empty());
    auto* variants = dynamic_cast<Orvex::GUIScrollPanel*>(find(L"FG_VariantenPanel"));
    EXPECT_TRUE(variants->getContentPanel()->getChildren().empty());
}

// The columns scroll to their chosen buttons: a long game column chosen at its end.
TEST_F(FreePlayPanelsTest, ColumnsScrollToTheChosenButton) {
    std::wstring text = L"<LEVEL><KATEGORIE NAME=\"VIELE\">";
    for (int i = 0; i < 40; ++i)
        text += L"<GAME NAME=\"G" + std::to_wstring(i) + L"\"><VARIANTE NAME=\"V\" FILE=\"data\\Level\\Paare.sol\"/></GAME>";
    loadCatalogue(text + L"</KATEGORIE></LEVEL>");
    showMenu(L"FREIESSPIELMENU");
    click(*freePlay().getGameButtons()[3]);
    freePlay().selectGame(catalogue().getCurrentCategory()->getGames().back());
    freePlay().scrollPanelsToSelection(Solitaire::FreePlaySelection::kScrollAll);
    for (int i = 0; i < 60; ++i) step(0.05);
    Orvex::GUIWindow* panel = find(L"FG_GamePanel");
    Orvex::GUIButton* last = freePlay().getGameButtons().back();
    EXPECT_LE(last->getScreenRect().bottom, panel->getScreenRect().bottom + 1.0f);
    EXPECT_GE(last->getScreenRect().top, panel->getScreenRect().top - 1.0f);
}

// The "Neu" ribbon of a category or a variant lies clear of its button's caption at the screen
// sizes players have, the caption plain or chosen (bold): the variant "Lektion", whose button grows
// with the screen while the ribbon stood where a button of a 1024 x 768 screen ends, and the
// category "Knobeleien".
TEST_F(FreePlayPanelsTest, BannersLieClearOfTheirCaptions) {
    struct {
        unsigned width, height;
    } const sizes[] = {{1280, 720}, {1920, 1080}, {1024, 768}};
    auto ribbonOf = [](Orvex::GUIButton& button) {
        Orvex::GUIWindow* ribbon = button.findChild(L"FG_KategorieBannerVorlage");
        return ribbon ? ribbon : button.findChild(L"FG_VarianteBannerVorlage");
    };
    for (auto const& size : sizes) {
        std::string const name = std::to_string(size.width) + "x" + std::to_string(size.height);
        SCOPED_TRACE(name);
        stop();
        catalogue().clear();
        startOn(testsupport::sourceDir(), size.width, size.height);
        enter();
        click(*buttonOf<Solitaire::SolCategorie>(freePlay().getCategoryButtons(), L"KNOBELEIEN"));
        click(*buttonOf<Solitaire::SolSolitaire>(freePlay().getGameButtons(), L"HERZREIHE"));
        Orvex::GUIButton* lesson =
            buttonOf<Solitaire::SolVariant>(freePlay().getVariantButtons(), L"HERZREIHE_LEKTION");
        ASSERT_NE(lesson, nullptr);
        for (bool const chosen : {false, true}) {
            if (chosen) click(*lesson);
            for (int i = 0; i < 30; ++i) step(0.05);
            int ribbons = 0;
            for (auto const* column : {&freePlay().getCategoryButtons(), &freePlay().getVariantButtons()})
                for (Orvex::GUIButton* button : *column) {
                    Orvex::GUIWindow* ribbon = ribbonOf(*button);
                    if (!ribbon) continue;
                    ++ribbons;
                    RECT const text = button->getLabel()->measureText();
                    Orvex::FRect const r = ribbon->getScreenRect();
                    Orvex::FRect const shared = r.intersection(Orvex::FRect::fromRECT(text));
                    bool const clear = !(shared.getWidth() > 0.0f) || !(shared.getHeight() > 0.0f);
                    EXPECT_TRUE(clear) << port::toUtf8(button->getLabel()->getText()) << (chosen ? " chosen" : "")
                                       << ": text " << text.left << ".." << text.right << " x " << text.top << ".."
                                       << text.bottom << ", ribbon " << r.left << ".." << r.right << " x " << r.top
                                       << ".." << r.bottom;
                    // The ribbon stays within its button's width.
                    Orvex::FRect const face = button->getScreenRect();
                    EXPECT_GE(r.left, face.left);
                    EXPECT_LE(r.right, face.right + 1.0f);
                }
            EXPECT_EQ(ribbons, 2);
        }
        keepScreen("free_play_ribbons_" + name);
    }
}

}  // namespace
