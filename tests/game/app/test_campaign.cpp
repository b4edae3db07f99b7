// The campaign's chapter and level screens on the game's own data: chapter buttons opened and
// locked by the profile, a chapter of 13 levels laid out on two pages (twelve to a page), the page
// shown at first, the page buttons and points, the stars and locks of each level, and clicks through
// the game's mouse slots. Screenshots of both screens go to the build folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/gui/GUIWindow.h"
#include "game/app/CampaignRecords.h"
#include "game/app/ScreenLists.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolitaireManager.h"
#include "tests/game/app/PlayScreensFixture.h"

namespace {

using Solitaire::SolitaireGame2;

class CampaignTest : public apptest::PlayScreensFixture {
protected:
    void SetUp() override {
        PlayScreensFixture::SetUp();
        profile = &makeProfile();
    }

    // Opens the level screen of a chapter as a click on its button does (chapter records open).
    void openChapter(int chapter) {
        for (int c = 0; c <= chapter; ++c) profile->findChapter(c)->result = 1;
        game->getCampaignScreens().refreshChapters();
        showMenu(L"KATEGORIEMENU");
        click(L"K_KategorieButton" + std::to_wstring(chapter + 1));
        ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
        game->buildLevelScreen();
    }
    void setLevels(int chapter, std::vector<int> const& results) {
        Solitaire::ChapterRecord* record = profile->findChapter(chapter);
        for (std::size_t i = 0; i < results.size() && i < record->levels.size(); ++i) record->levels[i].result = results[i];
    }
    static Orvex::GUIWindow* levelButton(int level) { return find(L"LA_LevelButton_" + std::to_wstring(level)); }

    Solitaire::Profil* profile = nullptr;
};

// The chapters: open ones enabled with their name, locked ones disabled with "LOCKED"; a click on
// a locked one does nothing, on an open one it opens its levels with the chapter's header.
TEST_F(CampaignTest, ChapterButtonsFollowTheProfile) {
    profile->findChapter(1)->result = 2;
    profile->findChapter(2)->result = 0;
    game->getCampaignScreens().refreshChapters();
    showMenu(L"KATEGORIEMENU");
    struct Case {
        int chapter;
        bool enabled;
        wchar_t const* info;
    } const cases[] = {{0, true, L"GAME_KAPITEL_0"}, {1, true, L"GAME_KAPITEL_1"}, {2, false, L"LOCKED"}};
    for (Case const& c : cases) {
        Orvex::GUIWindow* button = find(L"K_KategorieButton" + std::to_wstring(c.chapter + 1));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->getOptions().enabled, c.enabled) << c.chapter;
        EXPECT_EQ(Solitaire::labelOf(button->findChild(L"InfoLabel"))->getTextId(), c.info) << c.chapter;
    }
    keepScreen("campaign_chapters_1024x768");
    // Locked: the slot alone (the disabled button takes no click) changes nothing.
    game->getCampaignScreens().onChapterClicked(*find(L"K_KategorieButton3"));
    EXPECT_EQ(activeMenu(), L"KATEGORIEMENU");
    click(L"K_KategorieButton2");
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    EXPECT_EQ(game->getCampaignScreens().getSelectedChapter(), 1);
    EXPECT_EQ(goalOf(L"LA_HEADER"), L"KAT2");
    // The chapter, not its first level's game: the chapter's levels are of several games.
    EXPECT_EQ(textOf(L"LA_TITEL"), L"Kapitel 2: Die lange Reise");
}

// Thirteen levels make two pages; level 12 stands in column 0, row 0 of page 1; the last open
// level's page shows first; stars by result; locked levels disabled with a padlock.
TEST_F(CampaignTest, ThirteenLevelsOnTwoPages) {
    setLevels(1, {4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    openChapter(1);
    EXPECT_EQ(game->getCampaignScreens().getPageCount(), 2);
    EXPECT_EQ(game->getCampaignScreens().getCurrentPage(), 1);
    Orvex::GUIWindow* last = levelButton(12);
    ASSERT_NE(last, nullptr);
    EXPECT_FLOAT_EQ(last->getRect().position.relX, (0 * 230.0f + 1024.0f + 41.0f) / 5120.0f);
    EXPECT_FLOAT_EQ(last->getRect().position.relY, 94.0f / 768.0f);
    EXPECT_FLOAT_EQ(levelButton(7)->getRect().position.relX, (3 * 230.0f + 41.0f) / 5120.0f);
    EXPECT_FLOAT_EQ(levelButton(7)->getRect().position.relY, (215.0f + 94.0f) / 768.0f);
    EXPECT_EQ(Solitaire::getSlotNumber(*last, 0), 12);
    EXPECT_EQ(Solitaire::getSlotNumber(*last, 1), 1);
    struct Case {
        int level;
        bool open;
        wchar_t const* stars[3];
        wchar_t const* info;
    } const cases[] = {
        {0, true, {L"ON", L"ON", L"ON"}, L"Zellen"},
        {1, true, {L"ON", L"ON", L"OFF"}, L"Goldrausch (drei Karten)"},
        {2, true, {L"ON", L"OFF", L"OFF"}, L"Spinne"},
        {3, true, {L"OFF", L"OFF", L"OFF"}, L"Golfplatz"},
        {4, false, {L"INVISIBLE", L"INVISIBLE", L"INVISIBLE"}, L"Gesperrt"},
        {12, true, {L"OFF", L"OFF", L"OFF"}, L"Paare"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.level);
        Orvex::GUIWindow* button = levelButton(c.level);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->getOptions().enabled, c.open);
        EXPECT_EQ(button->findChild(L"LockedLabel")->getOptions().visible, !c.open);
        EXPECT_EQ(Solitaire::labelOf(button->findChild(L"LevelNameLabel"))->getText(), L"Level " + std::to_wstring(c.level + 1));
        EXPECT_EQ(Solitaire::labelOf(button->findChild(L"InfoLabel"))->getText(), c.info);
        EXPECT_EQ(button->findChild(L"Preview")->getDrawOptions().getTexNormal() != nullptr, c.open);
        for (int k = 0; k < 3; ++k) {
            Orvex::GUIWindow* star = button->findChild(L"Star" + std::to_wstring(k + 1));
            // goalOf looks up by name; the copies share theirs, so compare on the copy itself.
            EXPECT_TRUE(star->hasGoal(c.stars[k]));
            Orvex::GUIAnimationsGoal const& goal = star->findGoal(c.stars[k]);
            EXPECT_EQ(star->getOptions().visible, goal.options.visible) << k;
            EXPECT_NEAR(star->getDrawOptions().modulateColor.a, goal.drawOptions.modulateColor.a, 1e-4) << k;
        }
    }
    // Page buttons: on the last page only "back" is enabled; the points are drawn.
    EXPECT_TRUE(find(L"LA_PrevPage")->getOptions().enabled);
    EXPECT_FALSE(find(L"LA_NextPage")->getOptions().enabled);
    for (int i = 0; i < 40; ++i) step(0.05);
    keepScreen("campaign_levels_page2_1024x768");
    click(L"LA_PrevPage");
    EXPECT_EQ(game->getCampaignScreens().getCurrentPage(), 0);
    EXPECT_FALSE(find(L"LA_PrevPage")->getOptions().enabled);
    EXPECT_TRUE(find(L"LA_NextPage")->getOptions().enabled);
    for (int i = 0; i < 40; ++i) step(0.05);
    EXPECT_EQ(goalOf(L"LA_LevelButtons"), L"PAGE1");
    keepScreen("campaign_levels_page1_1024x768");
    // A step past either end stays.
    game->getCampaignScreens().onPrevPage(*find(L"LA_PrevPage"));
    EXPECT_EQ(game->getCampaignScreens().getCurrentPage(), 0);
    click(L"LA_NextPage");
    click(L"LA_NextPage");
    EXPECT_EQ(game->getCampaignScreens().getCurrentPage(), 1);
}

// With no open level and no running level of the chapter no page is shown: -1, both page buttons
// disabled, and the container stays on the page it showed before.
TEST_F(CampaignTest, NoOpenLevelShowsNoPage) {
    setLevels(1, {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    openChapter(1);
    for (int i = 0; i < 40; ++i) step(0.05);
    ASSERT_EQ(goalOf(L"LA_LevelButtons"), L"PAGE2");
    setLevels(1, std::vector<int>(13, 0));
    game->buildLevelScreen();
    EXPECT_EQ(game->getCampaignScreens().getPageCount(), 2);
    EXPECT_EQ(game->getCampaignScreens().getCurrentPage(), -1);
    EXPECT_FALSE(find(L"LA_PrevPage")->getOptions().enabled);
    EXPECT_FALSE(find(L"LA_NextPage")->getOptions().enabled);
    for (int i = 0; i < 40; ++i) step(0.05);
    EXPECT_EQ(goalOf(L"LA_LevelButtons"), L"PAGE2");
    // A locked level's slot does nothing.
    game->getCampaignScreens().onLevelClicked(*levelButton(3));
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
}

// A chapter of four levels has one page: both page buttons disabled and no page points drawn.
TEST_F(CampaignTest, OnePageDrawsNoPoints) {
    setLevels(0, {2, 1, 0, 0});
    openChapter(0);
    EXPECT_EQ(game->getCampaignScreens().getPageCount(), 1);
    EXPECT_EQ(game->getCampaignScreens().getCurrentPage(), 0);
    EXPECT_FALSE(find(L"LA_PrevPage")->getOptions().enabled);
    EXPECT_FALSE(find(L"LA_NextPage")->getOptions().enabled);
    for (int i = 0; i < 40; ++i) step(0.05);
    Orvex::GUIWindow* points = find(L"LA_PagePoints");
    Orvex::FRect const r = points->getScreenRect();
    std::vector<uint32_t> const pixels = frame();
    keepBackBuffer("campaign_levels_one_page_1024x768.png");
    // The row of points would stand in the middle of the window: the pixels there are the screen's.
    uint32_t const centre = at(pixels, static_cast<unsigned>((r.left + r.right) / 2), static_cast<unsigned>((r.top + r.bottom) / 2));
    // Two pages draw gold or grey points there.
    setLevels(1, {1});
    openChapter(1);
    for (int i = 0; i < 40; ++i) step(0.05);
    std::vector<uint32_t> const two = frame();
    Orvex::FRect const r2 = points->getScreenRect();
    float const h = r2.bottom - r2.top;
    float const firstX = (r2.left + r2.right) / 2 - 2 * 0.375f * h;
    uint32_t const point = at(two, static_cast<unsigned>(firstX), static_cast<unsigned>((r2.top + r2.bottom) / 2));
    EXPECT_NE(point, centre);
}

// Recomputed chapter results: a locked chapter stays locked; more than half of the levels with a
// star finish it.
TEST_F(CampaignTest, CampaignResultsFollowTheLevels) {
    profile->findChapter(0)->result = 1;
    setLevels(0, {2, 3, 4, 0});
    profile->findChapter(1)->result = 0;
    setLevels(1, std::vector<int>(13, 4));
    profile->findChapter(2)->result = 2;
    setLevels(2, {2, 2, 1, 1});
    Solitaire::CampaignScreens::refreshResults();
    EXPECT_EQ(profile->findChapter(0)->result, 2);
    EXPECT_EQ(profile->findChapter(1)->result, 0);
    EXPECT_EQ(profile->findChapter(2)->result, 1);
}

}  // namespace
