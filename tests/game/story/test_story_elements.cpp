// Story elements: glides between positions at a switch's speed with and without overshoot,
// colour and texture-rectangle blends, template copies, text rectangles, placement inside
// another element, following a wandering position, and what an invisible element still does.
#include <gtest/gtest.h>

#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "engine/gui/GUIWindow.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "game/story/StoryAnimation.h"
#include "game/story/StoryColor.h"
#include "game/story/StoryPosition.h"
#include "tests/game/story/StoryFixture.h"

namespace {

using Solitaire::StoryPartPart;

constexpr float kTolerance = 1e-5f;
// Two positions: the first at the left, the second half the window further right.
constexpr wchar_t kTwoPlaces[] =
    L"<PART_PART NAME=\"E\"><POSITION L=\"0\" T=\"0\" R=\"0.1\" B=\"0.1\"/>"
    L"<POSITION L=\"0.5\" T=\"0\" R=\"0.6\" B=\"0.1\"/>"
    L"<COLOR COLOR=\"FF000000\"/><COLOR COLOR=\"FFFFFFFF\"/>"
    L"<TEX_RECT L=\"0\" T=\"0\" R=\"1\" B=\"1\"/><TEX_RECT L=\"0.5\" T=\"0.5\" W=\"0.5\" H=\"0.5\"/></PART_PART>";

class StoryElementTest : public storytest::StoryFixture {
protected:
    StoryPartPart* make(std::wstring const& text) {
        Orvex::XMLNode node = storytest::parse(text);
        element = new StoryPartPart(node, L"test.str");
        return element;
    }
    void TearDown() override {
        if (element) element->release();
        StoryFixture::TearDown();
    }
    float left() const { return element->getPositionValue().x; }
    // Updates in steps of an eighth of a second (exact in binary) up to `until` seconds.
    void runTo(float until) {
        while (clock + 0.0625f < until) {
            element->update(0.125f);
            clock += 0.125f;
        }
    }

    StoryPartPart* element = nullptr;
    float clock = 0.0f;
};

TEST_F(StoryElementTest, AGlideAtSpeedTwoArrivesInHalfASecond) {
    make(kTwoPlaces);
    EXPECT_EQ(left(), 0.0f);  // index 0 in force from the start
    element->setPositionIndex(1, 2.0f, 0.0f, 0.0f);
    struct Row {
        float time, left;
    } const rows[] = {{0.125f, 0.125f}, {0.25f, 0.25f}, {0.5f, 0.5f}, {1.0f, 0.5f}};
    for (Row const& row : rows) {
        runTo(row.time);
        EXPECT_NEAR(left(), row.left, kTolerance) << row.time;
    }
}

// The move takes one unit of track time (1 / speed s); ten per cent overshoot over a time of 1
// adds half a unit out to 0.55 (0 + 1.1 x 0.5) and half a unit back: 0.25 s each at speed 2.
TEST_F(StoryElementTest, AnOvershootGoesTenPerCentBeyondAndComesBack) {
    make(kTwoPlaces);
    element->setPositionIndex(1, 2.0f, 10.0f, 1.0f);
    struct Row {
        float time, left;
    } const rows[] = {{0.25f, 0.25f}, {0.5f, 0.5f},    {0.625f, 0.525f}, {0.75f, 0.55f},
                      {0.875f, 0.525f}, {1.0f, 0.5f}, {2.0f, 0.5f}};
    for (Row const& row : rows) {
        runTo(row.time);
        EXPECT_NEAR(left(), row.left, kTolerance) << row.time;
    }
}

TEST_F(StoryElementTest, SpeedZeroMakesEveryChangeAtOnce) {
    make(kTwoPlaces);
    element->setPositionIndex(1, 0.0f, 10.0f, 1.0f);
    element->setColorIndex(1, 0.0f);
    element->setTexRectIndex(1, -1.0f);
    EXPECT_NEAR(left(), 0.5f, kTolerance);
    EXPECT_EQ(static_cast<DWORD>(element->getColourValue()), 0xFFFFFFFFu);
    EXPECT_EQ(element->getTexRectValue().x, 0.5f);
    EXPECT_EQ(element->getTexRectValue().z, 1.0f);
}

TEST_F(StoryElementTest, ColoursAndTextureRectanglesBlendAtTheSpeed) {
    make(kTwoPlaces);
    EXPECT_EQ(static_cast<DWORD>(element->getColourValue()), 0xFF000000u);
    element->setColorIndex(1, 2.0f);
    element->setTexRectIndex(1, 4.0f);
    runTo(0.125f);
    EXPECT_NEAR(element->getColourValue().r, 0.25f, kTolerance);
    EXPECT_NEAR(element->getTexRectValue().x, 0.25f, kTolerance);  // halfway from 0 to 0.5
    runTo(0.25f);
    EXPECT_NEAR(element->getColourValue().r, 0.5f, kTolerance);
    EXPECT_NEAR(element->getTexRectValue().x, 0.5f, kTolerance);
    runTo(1.0f);
    EXPECT_EQ(static_cast<DWORD>(element->getColourValue()), 0xFFFFFFFFu);
}

TEST_F(StoryElementTest, AnIndexPastTheListChangesNothing) {
    make(kTwoPlaces);
    element->setPositionIndex(1, 0.0f, 0.0f, 0.0f);
    element->setPositionIndex(2, 0.0f, 0.0f, 0.0f);
    element->setPositionIndex(static_cast<unsigned>(-1), 0.0f, 0.0f, 0.0f);
    element->setColorIndex(7, 0.0f);
    EXPECT_NEAR(left(), 0.5f, kTolerance);
    EXPECT_EQ(element->positionIndex, 1u);
    EXPECT_EQ(element->colorIndex, 0u);
}

TEST_F(StoryElementTest, ATemplatesPositionsComeFirstAndItsValuesAreOverridden) {
    load(L"<VORLAGEN><PART_PART NAME=\"T\" VISIBLE=\"0\" TEXT_ID=\"TEXT_A\" MUSIK=\"M1\">"
         L"<POSITION L=\"0.1\"/><SOUNDS>\"|S1|\" \"|S2|\"</SOUNDS></PART_PART></VORLAGEN>");
    make(L"<PART_PART NAME=\"E\" VORLAGE=\"T\" TEXT_ID=\"TEXT_B\"><POSITION L=\"0.2\"/><POSITION L=\"0.3\"/></PART_PART>");
    ASSERT_EQ(element->positions.size(), 3u);
    EXPECT_NEAR(left(), 0.1f, kTolerance);  // index 0 is the template's
    EXPECT_FALSE(element->visible);
    EXPECT_EQ(element->textId, L"TEXT_B");
    EXPECT_EQ(element->music, L"M1");
    EXPECT_EQ(element->sounds.size(), 2u);
    // The template is not changed by its copy.
    EXPECT_EQ(story().findTemplate(L"T")->positions.size(), 1u);
}

TEST_F(StoryElementTest, ATemplateFurtherDownTheFileIsNotFound) {
    load(L"<VORLAGEN><PART_PART NAME=\"A\" VORLAGE=\"B\"/><PART_PART NAME=\"B\"><POSITION L=\"0.4\"/></PART_PART>"
         L"</VORLAGEN>");
    EXPECT_TRUE(story().findTemplate(L"A")->positions.empty());
    EXPECT_EQ(story().findTemplate(L"B")->positions.size(), 1u);
}

TEST_F(StoryElementTest, TextRectanglesUseThePositionForms) {
    make(L"<PART_PART NAME=\"E\"><TEXT_RECT L=\"1 4\" W=\"1 2\" T=\"0.1\" B=\"0.9\"/></PART_PART>");
    EXPECT_NEAR(element->textRect.x, 0.25f, kTolerance);
    EXPECT_NEAR(element->textRect.z, 0.75f, kTolerance);
    EXPECT_NEAR(element->textRect.y, 0.1f, kTolerance);
    EXPECT_NEAR(element->textRect.w, 0.9f, kTolerance);
    StoryPartPart* plain = make(L"<PART_PART NAME=\"F\"/>");
    EXPECT_EQ(plain->textRect.z, 1.0f);
    plain->release();
    element = nullptr;
}

TEST_F(StoryElementTest, AnElementIsPlacedInsideTheOneItIsRelativeTo) {
    load(L"<STORY_PART NAME=\"S\"><PART_PART NAME=\"A\"><POSITION L=\"0.5\" T=\"0.5\" R=\"1\" B=\"1\"/></PART_PART>"
         L"<PART_PART NAME=\"B\" RELATIV_TO=\"A\"><POSITION L=\"0\" T=\"0\" R=\"0.5\" B=\"0.5\"/></PART_PART>"
         L"<PART_PART NAME=\"C\" RELATIV_TO=\"nobody\"><POSITION L=\"0\" T=\"0\" R=\"0.5\" B=\"0.5\"/></PART_PART>"
         L"</STORY_PART>");
    Orvex::FRect const window(0, 0, 200, 100);
    Orvex::FRect const b = scene().findPart(L"B")->getScreenRect(window);
    EXPECT_EQ(b.left, 100.0f);
    EXPECT_EQ(b.top, 50.0f);
    EXPECT_EQ(b.right, 150.0f);
    EXPECT_EQ(b.bottom, 75.0f);
    Orvex::FRect const c = scene().findPart(L"C")->getScreenRect(window);  // an unknown name: the window
    EXPECT_EQ(c.right, 100.0f);
    EXPECT_EQ(c.bottom, 50.0f);
    // An element without positions has an empty rectangle at the window's corner.
    StoryPartPart* none = make(L"<PART_PART NAME=\"N\"/>");
    EXPECT_EQ(none->getScreenRect(window).right, 0.0f);
}

TEST_F(StoryElementTest, AnElementFollowsAWanderingPositionFromWhereItsMoveBegan) {
    make(L"<PART_PART NAME=\"E\"><POSITION L=\"0\" T=\"0\"/>"
         L"<POSITION TYPE=\"CATMULL\" L=\"0.5\" T=\"0.5\" DISTANCE=\"0.1\" TIME_FAKTOR=\"0.5\"/></PART_PART>");
    element->setPositionIndex(1, 1.0f, 0.0f, 0.0f);
    EXPECT_EQ(left(), 0.0f);  // anchored on where the move began
    D3DXVECTOR4 goal;
    for (int i = 0; i < 8; ++i) element->update(0.125f);
    element->positions[1]->getValue(&goal);
    EXPECT_NEAR(left(), goal.x, kTolerance);  // arrived: the element stands on the track's value
    EXPECT_NEAR(element->getPositionValue().y, goal.y, kTolerance);
    D3DXVECTOR4 const before = goal;
    for (int i = 0; i < 8; ++i) element->update(0.125f);
    element->positions[1]->getValue(&goal);
    EXPECT_NE(goal.x, before.x);  // the track kept drifting ...
    EXPECT_NEAR(left(), goal.x, kTolerance);  // ... and the element with it
}

TEST_F(StoryElementTest, AnInvisibleElementsAnimationsStandButItsBlendsRun) {
    Orvex::XMLNode list = storytest::parse(
        L"<ANIMATIONS><ANIMATION_2D NAME=\"STORY_TEST_TWO_FRAMES\" ANIMSPEED=\"10\" PLAY=\"1\">"
        L"<FRAME FRAME_SIZE=\"8 8\"/><FRAME FRAME_SIZE=\"8 8\"/></ANIMATION_2D></ANIMATIONS>");
    Orvex::Texture2DAnimationManager::instance().load(list);
    make(L"<PART_PART NAME=\"E\" VISIBLE=\"0\" ANIMATION=\"STORY_TEST_TWO_FRAMES\"><POSITION L=\"0\"/><POSITION L=\"1\"/>"
         L"<ANIMATION ANIMATION=\"STORY_TEST_TWO_FRAMES\"><ANIMATION_SPEED><VALUE_DELTATIME VALUE=\"1\"/>"
         L"<VALUE_DELTATIME VALUE=\"5\" DELTA_TIME=\"2\"/></ANIMATION_SPEED></ANIMATION></PART_PART>");
    ASSERT_NE(element->animation, nullptr);
    ASSERT_EQ(element->animations.size(), 1u);
    Solitaire::StoryAnimation const& record = *element->animations[0];
    ASSERT_NE(record.animation, nullptr);
    EXPECT_TRUE(record.use);
    EXPECT_EQ(record.speedTrack.getTotalTime(), 2.0f);
    element->setPositionIndex(1, 2.0f, 0.0f, 0.0f);
    runTo(0.25f);
    EXPECT_NEAR(left(), 0.5f, kTolerance);
    EXPECT_EQ(element->animation->getPosition(), 0.0f);
    EXPECT_EQ(record.speedTrack.getTime(), 0.0f);
    element->visible = true;
    runTo(0.75f);
    EXPECT_GT(element->animation->getPosition(), 0.0f);
    EXPECT_EQ(record.speedTrack.getTime(), 0.5f);
    EXPECT_NEAR(record.animation->getSpeed(), 2.0f, kTolerance);  // a quarter of the way from 1 to 5
}

TEST_F(StoryElementTest, AnElementKeepsFollowingAWanderingColourAfterItsBlendHasArrived) {
    make(L"<PART_PART NAME=\"E\"><COLOR TYPE=\"CATMULL\" COLOR_MIN=\"FF000000\" COLOR_MAX=\"FFFFFFFF\" SPEED=\"1\"/>"
         L"</PART_PART>");
    // Index 0 came in force at once: the blend stands at its goal. The track still moves.
    EXPECT_EQ(element->colorBlend.t, 1.0f);
    D3DXCOLOR track;
    for (int i = 0; i < 5; ++i) {
        element->update(0.1f);
        element->colors[0]->getValue(&track);
        EXPECT_NEAR(element->getColourValue().r, track.r, kTolerance) << i;
    }
    D3DXCOLOR first;
    element->colors[0]->getValue(&first);
    element->update(0.3f);
    EXPECT_NE(element->getColourValue().r, first.r);
}

TEST_F(StoryElementTest, AnEmitterStartsInTheWindowOfTheLastDrawAlsoWhenHidden) {
    Orvex::XMLNode particles = storytest::parse(
        L"<P><PARTIKEL_VORLAGE NAME=\"STORY_TEST_FUNKE\" LIFETIME=\"1\"/><EMITTER_VORLAGE NAME=\"STORY_TEST_EMITTER\" "
        L"LIFETIME=\"-1\" PPS=\"1\" MAXPARTIKEL=\"1\"><PARTIKEL>\"|STORY_TEST_FUNKE|\"</PARTIKEL></EMITTER_VORLAGE></P>");
    Solitaire::SolPartikelManager& manager = Solitaire::SolPartikelManager::instance();
    manager.clear();
    manager.loadTemplates(particles, L"story test");
    make(L"<PART_PART NAME=\"E\" VISIBLE=\"0\" PARTIKEL_EMITTER=\"STORY_TEST_EMITTER\" PARTIKEL_START_POS=\"0.5 0.25\"/>");
    auto* window = new Orvex::GUIWindow(L"T_STORY_BILD");
    window->setPixelRect(100.0f, 40.0f, 200.0f, 400.0f);
    element->draw(*window);  // hidden: nothing drawn, but the window is known
    element->startEmitter();
    ASSERT_NE(element->emitter, nullptr);
    EXPECT_EQ(element->emitter->getPosition(), D3DXVECTOR2(200.0f, 140.0f));
    element->startEmitter();  // a second start ends the first
    EXPECT_EQ(manager.liveEmitters().size(), 2u);
    element->stopEmitter();
    EXPECT_EQ(element->emitter, nullptr);
    window->release();
    manager.clear();
}

}  // namespace
