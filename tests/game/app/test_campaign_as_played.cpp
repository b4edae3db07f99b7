// The campaign as a player goes through it on the game's own data, by events in the real window:
// after chapter 1's second level the results' next button says where it leads (the chapter's
// rest scene plays before its third level, which stays open on the level screen), the levels of
// a chapter's second page stay off the side panels of a wide screen, and the chapter screen's
// "Erfolge" shows the medals and leads back. Screenshots go to the build folder's "screenshots".
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/CampaignRecords.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireGame2.h"
#include "game/story/StoryPart.h"
#include "tests/game/app/PlayedScreensFixture.h"

namespace {

using minigametest::narrow;

// Anna has passed chapter 1's first level and seen the story's first scene; tutorials off.
// sceneSeen adds the chapter's rest scene as seen.
std::string profileWith(bool restSceneSeen) {
    std::string const seen = restSceneSeen ? R"( "|STORY_RAST|")" : "";
    return R"(<PROFILE ACTIVE_PROFIL="Anna">
<PROFIL NAME="Anna"><TUTORIAL SHOW="0"/><UNLOCKS>"|STORY_INTRO|")" + seen + R"(</UNLOCKS>
<KAMPAGNE><KAPITEL KAPITEL="0" RESULT="1"><LEVEL LEVEL="0" RESULT="2"/><LEVEL LEVEL="1" RESULT="1"/><LEVEL LEVEL="2" RESULT="1"/></KAPITEL></KAMPAGNE>
</PROFIL>
</PROFILE>
)";
}

class PlayedCampaignFlowTest : public apptest::PlayedScreensFixture {
protected:
    PlayedCampaignFlowTest() {
        homeName = "played_campaign_flow";
        withStory = true;
    }
    void toChapter(int chapterButton) {
        ASSERT_NO_FATAL_FAILURE(toMainMenu());
        clickOn(L"H_Kampagne");
        ASSERT_EQ(activeMenu(), L"KATEGORIEMENU");
        clickOn(L"K_KategorieButton" + std::to_wstring(chapterButton));
        ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    }
    static int levelResult(int chapter, int level) {
        Solitaire::Profil* anna = Solitaire::ProfilManager::instance().getActiveProfile();
        Solitaire::ChapterRecord* record = anna ? anna->findChapter(chapter) : nullptr;
        Solitaire::LevelRecord const* levelRecord = record ? Solitaire::Profil::findLevel(*record, level) : nullptr;
        return levelRecord ? levelRecord->result : -1;
    }
};

class PlayedNextLevelTest : public PlayedCampaignFlowTest, public ::testing::WithParamInterface<bool> {
protected:
    PlayedNextLevelTest() { profileText = profileWith(GetParam()); }
};

// Passing the second level finishes chapter 1 (two of three levels). Unseen, its rest scene plays
// before the third level: the button says "Zur Geschichte" and leads to the scene, and the third
// level stays open for later. Seen, the button is "Nächstes Level" and starts the third level.
TEST_P(PlayedNextLevelTest, TheNextButtonSaysWhereItLeads) {
    bool const restSceneSeen = GetParam();
    ASSERT_NO_FATAL_FAILURE(toChapter(1));
    clickOn(L"LA_LevelButton_1");
    ASSERT_NO_FATAL_FAILURE(winRowOfHearts());
    EXPECT_GT(levelResult(0, 1), 1) << "passed";
    EXPECT_TRUE(shown(find(L"A_NEXT")));
    EXPECT_EQ(textOf(L"A_NEXT"), restSceneSeen ? L"N\u00e4chstes Level" : L"Zur Geschichte");
    keep(restSceneSeen ? "played_results_next_level" : "played_results_to_the_story");
    clickOn(L"A_NEXT");
    if (restSceneSeen) {
        EXPECT_EQ(activeMenu(), L"INGAMEMENU");
        EXPECT_EQ(game->getRunning().currentChapter, 0);
        EXPECT_EQ(game->getRunning().currentLevel, 2);
        return;
    }
    ASSERT_NE(scene(), nullptr);
    EXPECT_EQ(scene()->getName(), L"STORY_RAST");
    EXPECT_EQ(levelResult(0, 2), 1) << "the third level stays open";
}

INSTANTIATE_TEST_SUITE_P(RestScene, PlayedNextLevelTest, ::testing::Values(false, true),
                         [](::testing::TestParamInfo<bool> const& info) { return info.param ? "Seen" : "Unseen"; });

// The results' buttons at the player's window sizes: "Zur Geschichte", the next button's caption
// when a scene plays first, lies within its button's face, clear of its rounded ends (it reached
// them), as does its neighbour's caption.
class PlayedStoryCaptionTest : public PlayedCampaignFlowTest, public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    PlayedStoryCaptionTest() {
        profileText = profileWith(false);
        screenWidth = GetParam().first;
        screenHeight = GetParam().second;
    }
};

TEST_P(PlayedStoryCaptionTest, TheCaptionsFitTheirButtons) {
    ASSERT_NO_FATAL_FAILURE(toChapter(1));
    clickOn(L"LA_LevelButton_1");
    ASSERT_NO_FATAL_FAILURE(winRowOfHearts());
    ASSERT_EQ(textOf(L"A_NEXT"), L"Zur Geschichte");
    for (wchar_t const* name : {L"A_NEXT", L"A_RESTART"}) {
        SCOPED_TRACE(narrow(name));
        Orvex::GUIWindow* button = find(name);
        ASSERT_TRUE(shown(button));
        Orvex::GUILabel* caption = Solitaire::labelOf(button);
        ASSERT_NE(caption, nullptr);
        Orvex::FRect const face = button->getScreenRect();
        RECT const text = caption->measureText();
        // Clear of the rounded ends and the frame: a quarter of the button's height on either side.
        float const end = (face.bottom - face.top) / 4.0f;
        EXPECT_GE(static_cast<float>(text.left), face.left + end) << narrow(caption->getText());
        EXPECT_LE(static_cast<float>(text.right), face.right - end) << narrow(caption->getText());
        EXPECT_GE(static_cast<float>(text.top), face.top);
        EXPECT_LE(static_cast<float>(text.bottom), face.bottom);
    }
    keep("played_results_to_the_story_" + std::to_string(screenWidth) + "x" + std::to_string(screenHeight));
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, PlayedStoryCaptionTest,
                         ::testing::Values(std::make_pair(1280, 720), std::make_pair(1024, 768), std::make_pair(1920, 1080)),
                         [](::testing::TestParamInfo<std::pair<int, int>> const& info) {
                             return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

// A wide screen shows the side panels beside the 4:3 screens: the thirteenth level of chapter 2,
// on the next page, does not lie over the right one, and a click there reaches nothing.
class PlayedWideLevelsTest : public PlayedCampaignFlowTest {
protected:
    PlayedWideLevelsTest() {
        screenWidth = 1280;
        screenHeight = 720;
        // Chapter 2's thirteen levels, the first five open.
        std::string levels;
        for (int i = 0; i < 13; ++i)
            levels += "<LEVEL LEVEL=\"" + std::to_string(i) + "\" RESULT=\"" + (i < 5 ? "1" : "0") + "\"/>";
        profileText = R"(<PROFILE ACTIVE_PROFIL="Anna">
<PROFIL NAME="Anna"><TUTORIAL SHOW="0"/><UNLOCKS>"|STORY_INTRO|" "|STORY_RAST|" "|STORY_TURM|"</UNLOCKS>
<KAMPAGNE><KAPITEL KAPITEL="0" RESULT="2"/><KAPITEL KAPITEL="1" RESULT="1">)" +
                      levels + R"(</KAPITEL></KAMPAGNE>
</PROFIL>
</PROFILE>
)";
    }
};

TEST_F(PlayedWideLevelsTest, TheNextPagesLevelsStayOffTheSidePanel) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    moveTo(D3DXVECTOR2(2.0f, 2.0f));
    settle();
    std::vector<uint32_t> const menu = pixels();
    clickOn(L"H_Kampagne");
    clickOn(L"K_KategorieButton2");
    ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    moveTo(D3DXVECTOR2(2.0f, 2.0f));
    settle();
    keep("played_levels_wide_screen");
    Orvex::GUIWindow* thirteenth = find(L"LA_LevelButton_12");
    ASSERT_NE(thirteenth, nullptr);
    Orvex::FRect const card = thirteenth->getScreenRect();
    Orvex::FRect const screen = find(L"LA_AuswahlFrame")->getScreenRect();
    ASSERT_LT(card.left, static_cast<float>(screenWidth)) << "the card's place reaches into the window";
    ASSERT_GT(card.right, screen.right) << "beyond the 4:3 screen";
    // Where the card's place lies on the side panel, the panel shows as on the main menu.
    std::vector<uint32_t> const levels = pixels();
    int differing = 0, all = 0;
    for (float y = card.top + 2.0f; y < card.bottom - 2.0f; y += 3.0f)
        for (float x = std::max(card.left, screen.right) + 2.0f; x < std::min(card.right, 1278.0f); x += 3.0f) {
            D3DXVECTOR2 const p(x, y);
            differing += pixelAt(levels, p) != pixelAt(menu, p);
            ++all;
        }
    ASSERT_GT(all, 100);
    EXPECT_EQ(differing, 0) << "of " << all;
    // A click there starts nothing.
    click(D3DXVECTOR2(std::max(card.left, screen.right) + 20.0f, (card.top + card.bottom) * 0.5f));
    settle();
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
}

// The chapter screen's "Erfolge" opens the medals of "ACHIVEMENTS_MENU2", filled as the main
// menu's are, and its way back leads to the chapters.
TEST_F(PlayedWideLevelsTest, TheChapterScreensMedalsLeadBackToTheChapters) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Kampagne");
    ASSERT_EQ(activeMenu(), L"KATEGORIEMENU");
    clickOn(L"K_Erfolge");
    ASSERT_EQ(activeMenu(), L"ACHIVEMENTS_MENU2");
    EXPECT_TRUE(shown(find(L"ACH_Fenster")));
    Orvex::GUIWindow* stars = find(L"STARS");
    ASSERT_NE(stars, nullptr);
    EXPECT_FALSE(Solitaire::labelOf(stars->findChild(L"Progress"))->getText().empty()) << "the list is built";
    keep("played_chapter_medals");
    clickOn(L"ACH_Back");
    EXPECT_EQ(activeMenu(), L"KATEGORIEMENU");
    clickOn(L"K_Erfolge");
    pressEscape();
    EXPECT_EQ(activeMenu(), L"KATEGORIEMENU");
}

}  // namespace
