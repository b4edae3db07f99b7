// Story playback: timed and clicked switches (scene time, the strict timer, "SWITCH_AT" 3), the
// skip element, the finish and its music requests, what a switch changes, and clicks tested by
// the elements' own fractions.
#include <gtest/gtest.h>

#include "tests/game/story/StoryFixture.h"

namespace {

using Solitaire::StoryPart;

class StoryPlaybackTest : public storytest::StoryFixture {
protected:
    // Loads one scene and starts it for the profile.
    StoryPart& start(std::wstring const& keys, std::wstring const& children) {
        load(L"<STORY_PART NAME=\"S\" " + keys + L">" + children + L"</STORY_PART>");
        StoryPart* started = story().startNextScene(profile);
        EXPECT_EQ(started, &scene());
        music.heard.clear();
        return scene();
    }
};

TEST_F(StoryPlaybackTest, ATimerOfTwoAtDoubleSpeedSwitchesAfterMoreThanOneSecond) {
    StoryPart& s = start(L"SPEEDMULT=\"2\"", L"<SWITCH SWITCH_AT=\"1\" TIMER=\"2\"/><SWITCH SWITCH_AT=\"1\" TIMER=\"2\"/>");
    struct Row {
        float dt;
        int switchAfter;
    } const rows[] = {
        {0.5f, 0},       // one second of scene time
        {0.5f, 0},       // two: equal to the timer, not past it
        {0.0001f, 1},    // past it
        {1.0f, 1},       // the next switch counts from 0: two seconds again
        {0.0001f, 2},
    };
    for (Row const& row : rows) {
        bool const ended = s.update(row.dt);
        EXPECT_EQ(s.currentSwitch, row.switchAfter);
        EXPECT_EQ(ended, row.switchAfter == 2);  // leaving the last switch ends the scene in that frame
    }
    EXPECT_EQ(music.heard, (std::vector<std::wstring>{L"stop", L"standard"}));
}

TEST_F(StoryPlaybackTest, WhatMovesASwitchOn) {
    struct Row {
        int switchAt;
        bool click;    // a click in the story window first
        float wait;    // then this long
        int switchAfter;
    } const rows[] = {
        {1, true, 0.0f, 0},   // the timer only: a click does nothing
        {1, false, 1.5f, 1},
        {2, true, 0.0f, 1},   // a click only (the default): the timer does nothing
        {2, false, 5.0f, 0},
        {3, true, 0.0f, 1},   // both: whichever comes first
        {3, false, 1.5f, 1},
        {0, true, 5.0f, 0},   // neither: waits for the skip element or the end button
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.switchAt);
        story().clear();
        profile->release();
        profile = new storytest::ProfileStandIn();
        StoryPart& s = start(L"", L"<SWITCH SWITCH_AT=\"" + std::to_wstring(row.switchAt) +
                                      L"\" TIMER=\"1\"/><SWITCH SWITCH_AT=\"0\"/>");
        if (row.click) EXPECT_FALSE(s.click(0.5f, 0.5f));
        EXPECT_FALSE(s.update(row.wait));
        EXPECT_EQ(s.currentSwitch, row.switchAfter);
    }
}

TEST_F(StoryPlaybackTest, AClickOnTheVisibleSkipElementEndsTheScene) {
    std::wstring const parts =
        L"<SWITCH SWITCH_AT=\"1\" TIMER=\"100\"><SWITCH_PARM PART_PART_NAME=\"WEITER\" VISIBLE=\"0\"/></SWITCH>"
        L"<SWITCH SWITCH_AT=\"1\" TIMER=\"100\"><SWITCH_PARM PART_PART_NAME=\"WEITER\"/></SWITCH>"
        L"<PART_PART NAME=\"WEITER\"><POSITION L=\"0.8\" T=\"0.8\" R=\"1\" B=\"1\"/></PART_PART>";
    StoryPart& s = start(L"SKIP_PART=\"WEITER\"", parts);
    EXPECT_FALSE(s.click(0.9f, 0.9f));  // hidden in switch 0: nothing
    EXPECT_EQ(s.currentSwitch, 0);
    EXPECT_FALSE(s.update(101.0f));     // switch 1 shows it
    EXPECT_EQ(s.currentSwitch, 1);
    EXPECT_FALSE(s.click(0.5f, 0.5f));  // beside it: the switch does not move on clicks
    EXPECT_TRUE(s.click(0.8f, 1.0f));   // on its edge
    EXPECT_EQ(s.currentSwitch, 1);
    EXPECT_EQ(music.heard, (std::vector<std::wstring>{L"stop", L"standard"}));
}

TEST_F(StoryPlaybackTest, TheLastClickFinishesTheScene) {
    StoryPart& s = start(L"", L"<SWITCH/><SWITCH/>");
    EXPECT_FALSE(s.click(0.1f, 0.1f));
    EXPECT_TRUE(music.heard.empty());
    EXPECT_TRUE(s.click(0.1f, 0.1f));
    EXPECT_EQ(music.heard, (std::vector<std::wstring>{L"stop", L"standard"}));
}

TEST_F(StoryPlaybackTest, StartingPutsSwitchZeroInForceAtOnceAndLaterSwitchesGlide) {
    std::wstring const parts =
        L"<SWITCH><SWITCH_PARM PART_PART_NAME=\"E\" USE_DRAW_RECT=\"1\" USE_COLOR=\"1\" SPEED=\"0.5\"/></SWITCH>"
        L"<SWITCH><SWITCH_PARM PART_PART_NAME=\"E\" USE_DRAW_RECT=\"0\" SPEED=\"2\"/></SWITCH><SWITCH/>"
        L"<PART_PART NAME=\"E\"><POSITION L=\"0\"/><POSITION L=\"1\"/><COLOR COLOR=\"FF000000\"/>"
        L"<COLOR COLOR=\"FFFFFFFF\"/></PART_PART>";
    StoryPart& s = start(L"", parts);
    Solitaire::StoryPartPart const& e = *s.findPart(L"E");
    EXPECT_EQ(e.getPositionValue().x, 1.0f);
    EXPECT_EQ(static_cast<DWORD>(e.getColourValue()), 0xFFFFFFFFu);
    s.click(0.5f, 0.5f);
    s.update(0.25f);
    EXPECT_NEAR(e.getPositionValue().x, 0.5f, 1e-5f);
}

TEST_F(StoryPlaybackTest, ASwitchChangesEveryElementOfItsNameAndAsksForMusic) {
    std::wstring const parts =
        L"<SWITCH/>"
        L"<SWITCH><SWITCH_PARM PART_PART_NAME=\"E\" VISIBLE=\"0\" STOP_MUSIK=\"1\" STOP_STD_MUSIK=\"1\" START_MUSIK=\"1\" "
        L"START_STD_MUSIK=\"1\"/><SWITCH_PARM PART_PART_NAME=\"nobody\" VISIBLE=\"0\"/></SWITCH><SWITCH/>"
        L"<PART_PART NAME=\"E\" MUSIK=\"ERZAEHLUNG\"/><PART_PART NAME=\"F\"/><PART_PART NAME=\"E\" MUSIK=\"ZWEI\"/>";
    StoryPart& s = start(L"", parts);
    EXPECT_FALSE(s.click(0.0f, 0.0f));
    EXPECT_FALSE(s.parts[0]->visible);
    EXPECT_TRUE(s.parts[1]->visible);
    EXPECT_FALSE(s.parts[2]->visible);
    EXPECT_EQ(music.heard, (std::vector<std::wstring>{L"stop", L"stop standard", L"play ERZAEHLUNG", L"standard", L"stop",
                                                      L"stop standard", L"play ZWEI", L"standard"}));
}

TEST_F(StoryPlaybackTest, AnElementPlacedInAnotherIsHitByItsOwnFractions) {
    std::wstring const parts =
        L"<SWITCH SWITCH_AT=\"0\"/>"
        L"<PART_PART NAME=\"RAHMEN\"><POSITION L=\"0.5\" T=\"0.5\" R=\"1\" B=\"1\"/></PART_PART>"
        L"<PART_PART NAME=\"WEITER\" RELATIV_TO=\"RAHMEN\"><POSITION L=\"0\" T=\"0\" R=\"0.2\" B=\"0.2\"/></PART_PART>";
    StoryPart& s = start(L"SKIP_PART=\"WEITER\"", parts);
    EXPECT_FALSE(s.click(0.55f, 0.55f));  // where it is drawn
    EXPECT_TRUE(s.click(0.1f, 0.1f));     // where its own fractions lie
}

}  // namespace
