// Each window and template the results, campaign and free-play screens look up by name, taken away
// in turn (renamed, so the look-up finds nothing): every screen still builds and its clicks still
// act, without that one part. The rest of the screen is filled as before.
#include <gtest/gtest.h>

#include <string>

#include "engine/gui/GUIButton.h"
#include "engine/gui/GUISystem.h"
#include "game/app/FreePlaySelection.h"
#include "game/app/SolitaireManager.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/PlayScreensFixture.h"

namespace {

struct Missing {
    wchar_t const* name;
    bool isTemplate;
};

class ScreensMissingTest : public apptest::PlayScreensFixture, public ::testing::WithParamInterface<Missing> {
protected:
    void SetUp() override {
        PlayScreensFixture::SetUp();
        Missing const m = GetParam();
        Orvex::GUIWindow* gone = m.isTemplate ? Orvex::GUISystem::instance().findTemplate(m.name) : find(m.name);
        ASSERT_NE(gone, nullptr) << port::toUtf8(m.name);
        gone->setName(std::wstring(m.name) + L"_weg");
    }
};

// Every screen built and used with the part missing: results of both modes, the highscore list with
// a click on an entry, the statistics, the chapters, a chapter's levels turned over, free play with
// a click in each column.
TEST_P(ScreensMissingTest, EveryScreenBuildsWithoutIt) {
    Solitaire::SolitaireManager& catalogue = Solitaire::SolitaireManager::instance();
    Solitaire::Profil& profile = makeProfile();
    profile.findChapter(1)->result = 1;
    profile.findChapter(1)->levels[12].result = 3;
    ASSERT_TRUE(catalogue.setCurrentByNames(L"KLASSIKER", L"GOLDRAUSCH", L"GOLDRAUSCH"));
    game->getResults().showResults(3, true, true, false, false);
    game->getResults().showResults(3, true, false, true, true);
    showMenu(L"AUSWERTUNGMENU");
    for (int i = 0; i < 30; ++i) step(0.1);

    game->getResults().refreshHighscoreList();
    game->getResults().scrollHighscoresToStart(*find(L"A_Fenster"), find(L"A_Fenster")->getDefaultGoal());
    game->getResults().refreshStatistics();
    game->getResults().copySelectedHighscoreSeed();

    game->getCampaignScreens().wireChapters();
    Solitaire::CampaignScreens::refreshResults();
    game->getCampaignScreens().refreshChapters();
    showMenu(L"KATEGORIEMENU");
    if (Orvex::GUIWindow* chapter = find(L"K_KategorieButton2")) click(*chapter);
    game->getCampaignScreens().onChapterClicked(*find(L"K_Fenster"));
    game->getCampaignScreens().wireLevels();
    game->buildLevelScreen();
    game->getCampaignScreens().showPage(3.0f);
    showMenu(L"LEVELAUSWAHLMENU");
    if (Orvex::GUIWindow* previous = find(L"LA_PrevPage")) click(*previous);
    if (Orvex::GUIWindow* next = find(L"LA_NextPage")) click(*next);
    frame();

    Solitaire::FreePlaySelection& freePlay = game->getFreePlay();
    freePlay.buildCategoryPanel();
    freePlay.selectFirstEntries();
    showMenu(L"FREIESSPIELMENU");
    for (auto const* column : {&freePlay.getCategoryButtons(), &freePlay.getGameButtons(), &freePlay.getVariantButtons()})
        if (!column->empty()) click(*column->back());
    freePlay.scrollPanelsToSelection(Solitaire::FreePlaySelection::kScrollAll);
    frame();
    catalogue.setCurrentByNames(L"KLASSIKER", L"GOLDRAUSCH", L"GOLDRAUSCH");
}

// Taking a part away leaves the others working: without the game template the category column
// still fills, and without the preview the statistics lines still follow the variant.
TEST_P(ScreensMissingTest, OtherPartsStillFill) {
    Solitaire::SolitaireManager& catalogue = Solitaire::SolitaireManager::instance();
    Solitaire::FreePlaySelection& freePlay = game->getFreePlay();
    freePlay.buildCategoryPanel();
    freePlay.selectFirstEntries();
    std::wstring const gone = GetParam().name;
    if (gone != L"FG_KategoriePanel" && gone != L"FG_KategorieVorlage") EXPECT_EQ(freePlay.getCategoryButtons().size(), 2u);
    if (gone != L"FG_STATISTIKEN_WIN") EXPECT_EQ(textOf(L"FG_STATISTIKEN_WIN"), L"Gewonnen: 0");
    EXPECT_NE(catalogue.getCurrentVariant(), nullptr);
}

std::string nameOf(::testing::TestParamInfo<Missing> const& info) { return port::toUtf8(info.param.name); }

INSTANTIATE_TEST_SUITE_P(
    Parts, ScreensMissingTest,
    ::testing::Values(
        // Results.
        Missing{L"A_STORY", false}, Missing{L"A_FREIES_SPIEL", false}, Missing{L"A_ST_Zeit", false},
        Missing{L"A_ST_Points", false}, Missing{L"A_ST_Points_Lose", false}, Missing{L"A_ST_Undos", false},
        Missing{L"A_ST_Combo", false}, Missing{L"A_ST_Combo_Lose", false}, Missing{L"A_ST_Combo2", false},
        Missing{L"A_ST_Multi", false}, Missing{L"A_ST_HowWellLabel", false}, Missing{L"A_FG_Zeit", false},
        Missing{L"A_FG_Points", false}, Missing{L"A_FG_Undos", false}, Missing{L"A_FG_Mix", false},
        Missing{L"A_Star2", false}, Missing{L"A_BACK", false}, Missing{L"A_NEXT", false}, Missing{L"A_RESTART", false},
        // Highscores and statistics.
        Missing{L"STG_HIGHSCORE_SCROLL", false}, Missing{L"STG_HighscoreVorlage", true},
        Missing{L"STG_GAMESTATISTIKEN", false}, Missing{L"ST_STATISTIKEN", false}, Missing{L"FG_SEED", false},
        // Campaign.
        Missing{L"K_KategorieFrame", false}, Missing{L"K_KategorieButtons", false}, Missing{L"K_KategorieButton2", false},
        Missing{L"LA_AuswahlFrame", false}, Missing{L"LA_LevelButtons", false}, Missing{L"LA_LevelButtonVorlage", true},
        Missing{L"LA_PrevPage", false}, Missing{L"LA_NextPage", false}, Missing{L"LA_PagePoints", false},
        Missing{L"LA_HEADER", false}, Missing{L"LA_TITEL", false},
        // Free play.
        Missing{L"FG_FreiesSpielFrame", false}, Missing{L"FG_KategoriePanel", false}, Missing{L"FG_GamePanel", false},
        Missing{L"FG_VariantenPanel", false}, Missing{L"FG_Preview", false}, Missing{L"FG_STATISTIKEN_WIN", false},
        Missing{L"FG_STATISTIKEN_STARTED", false}, Missing{L"FG_KategorieVorlage", true},
        Missing{L"FG_KategorieBannerVorlage", true}, Missing{L"FG_GameVorlage", true}, Missing{L"FG_GameBannerVorlage", true},
        Missing{L"FG_GameVorlage2", true}, Missing{L"FG_GameBannerVorlage2", true}, Missing{L"FG_VarianteVorlage", true},
        Missing{L"FG_VarianteBannerVorlage", true}),
    nameOf);

}  // namespace
