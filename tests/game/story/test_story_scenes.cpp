// Choosing and starting scenes for a profile, the unlock lists, and the start and end
// parameters a scene reads.
#include <gtest/gtest.h>

#include "tests/game/story/StoryFixture.h"

namespace {

using Solitaire::StoryPart;
using Names = std::vector<std::wstring>;

class StoryScenesTest : public storytest::StoryFixture {
protected:
    // The name of the scene that starts now, or "-".
    std::wstring next() {
        StoryPart* started = story().startNextScene(profile);
        return started ? started->getName() : L"-";
    }
};

TEST_F(StoryScenesTest, ScenesPlayOnceEachInFileOrderWhenTheirUnlocksAreThere) {
    load(L"<STORY_PART NAME=\"INTRO\"><SWITCH/></STORY_PART>"
         L"<STORY_PART NAME=\"ZWEI\"><SWITCH/><NEEDED_UNLOCKS>\"|KAPITEL_1|\"</NEEDED_UNLOCKS></STORY_PART>"
         L"<STORY_PART NAME=\"INTRO\"><SWITCH/></STORY_PART>"
         L"<STORY_PART NAME=\"DREI\" NEEDED_UNLOCKS=\"NIE\"><SWITCH/></STORY_PART>");
    struct Row {
        wchar_t const* unlockBefore;  // given to the profile first (empty: nothing)
        wchar_t const* starts;
    } const rows[] = {
        {L"", L"INTRO"},
        {L"", L"DREI"},        // "ZWEI" needs KAPITEL_1; "INTRO" again is unlocked; an attribute needs nothing
        {L"", L"-"},
        {L"KAPITEL_1", L"ZWEI"},
        {L"", L"-"},
    };
    for (Row const& row : rows) {
        if (*row.unlockBefore) profile->addUnlock(row.unlockBefore, false);
        EXPECT_EQ(next(), row.starts);
    }
    EXPECT_EQ(story().startNextScene(nullptr), nullptr);
}

TEST_F(StoryScenesTest, ATemporaryUnlockKeepsAScenePassedAsOneForGood) {
    load(L"<STORY_PART NAME=\"A\" UNLOCK_TMP=\"1\"><SWITCH/></STORY_PART><STORY_PART NAME=\"B\"><SWITCH/></STORY_PART>");
    EXPECT_EQ(next(), L"A");
    EXPECT_EQ(profile->temporary, Names{L"A"});
    EXPECT_EQ(next(), L"B");
    EXPECT_EQ(profile->lasting, Names{L"B"});
    EXPECT_EQ(next(), L"-");
}

TEST_F(StoryScenesTest, ASceneWithoutSwitchesIsFinishedAtOnceButRecordsItsNameAndPreUnlocks) {
    load(L"<STORY_PART NAME=\"LEER\" UNLOCK_PRE=\"P1\" UNLOCK_TMP_PRE=\"P2\" UNLOCK_POST=\"NIE\"/>"
         L"<STORY_PART NAME=\"ECHT\"><SWITCH/></STORY_PART>");
    EXPECT_EQ(next(), L"ECHT");
    EXPECT_EQ(profile->order, (Names{L"LEER", L"P1", L"P2", L"ECHT"}));
    EXPECT_EQ(profile->temporary, Names{L"P2"});
    EXPECT_EQ(music.heard, (Names{L"stop", L"standard"}));  // the empty scene's finish
}

TEST_F(StoryScenesTest, UnlockListsAreRecordedForGoodThenTemporarily) {
    load(L"<STORY_PART NAME=\"S\" UNLOCK_POST=\"A\" UNLOCK_TMP_POST=\"T1\" UNLOCK_POST_POST=\"Z1\" "
         L"UNLOCK_TMP_POST_POST=\"T3\" UNLOCK_PRE=\"V1\" UNLOCK_TMP_PRE=\"T2\"><SWITCH/>"
         L"<UNLOCK_POST>\"|B|\" \"|C|\"</UNLOCK_POST><UNLOCK_POST_POST>\"|Z2|\"</UNLOCK_POST_POST></STORY_PART>");
    StoryPart& s = scene();
    EXPECT_EQ(s.unlockPost, (Names{L"A", L"B", L"C"}));  // the attribute's name first
    ASSERT_EQ(next(), L"S");
    EXPECT_EQ(profile->order, (Names{L"S", L"V1", L"T2"}));
    profile->order.clear();
    s.applyPostUnlocks(profile);
    EXPECT_EQ(profile->order, (Names{L"A", L"B", L"C", L"T1"}));
    profile->order.clear();
    s.applyPostPostUnlocks(profile);
    EXPECT_EQ(profile->order, (Names{L"Z1", L"Z2", L"T3"}));
    s.applyPostPostUnlocks(nullptr);  // no profile: nothing
}

TEST_F(StoryScenesTest, TheStartAndEndParametersAreRead) {
    load(L"<STORY_PART NAME=\"S\"><START_END_PARAM ON_START_MENU=\"M1\" ON_END_MENU=\"M2\" START_NEXT_LEVEL=\"1\" "
         L"START_LEVEL=\"1\" LEVEL=\"4\" CHAPTER=\"2\" TUTORIAL=\"T\" START_TUTORIAL=\"1\" MINIGAME=\"3\" "
         L"START_MINIGAME=\"1\" BUILD_GEBAEUDE=\"1\"><GEBAEUDE>\"|TURM|\"</GEBAEUDE>"
         L"<BLEND_GUI GUI_NAME=\"G\" GOAL=\"AN\"/>"
         L"<ACHIVEMENT ACHIVEMENT=\"STORY_SEEN\" INC_ACHIVEMENT=\"1.5\"/><ACHIVEMENT ACHIVEMENT=\"OHNE\"/>"
         L"<ACHIVEMENT INC_ACHIVEMENT=\"2\"/></START_END_PARAM></STORY_PART>");
    Solitaire::StorySceneParams const& p = scene().params;
    EXPECT_EQ(p.onStartMenu, L"M1");
    EXPECT_EQ(p.onEndMenu, L"M2");
    EXPECT_TRUE(p.startNextLevel && p.startLevel && p.startTutorial && p.startMinigame && p.buildGebaeude);
    EXPECT_EQ(p.level, 4);
    EXPECT_EQ(p.chapter, 2);
    EXPECT_EQ(p.tutorial, L"T");
    EXPECT_EQ(p.minigame, 3);
    EXPECT_EQ(p.gebaeude, Names{L"TURM"});
    ASSERT_EQ(p.blendGui.size(), 1u);
    EXPECT_EQ(p.blendGui[0].speed, -1.0f);
    ASSERT_EQ(p.achievementIncrements.size(), 1u);  // only entries with both keys
    EXPECT_EQ(p.achievementIncrements[0].name, L"STORY_SEEN");
    EXPECT_EQ(p.achievementIncrements[0].increment, 1.5f);
}

TEST_F(StoryScenesTest, LoadingAgainAppends) {
    load(L"<STORY_PART NAME=\"A\"><SWITCH/></STORY_PART>");
    load(L"<STORY_PART NAME=\"B\"><SWITCH/></STORY_PART>");
    ASSERT_EQ(story().getScenes().size(), 2u);
    EXPECT_EQ(next(), L"A");
    EXPECT_EQ(next(), L"B");
}

}  // namespace
