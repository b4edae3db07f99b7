// Story animation tracks: the number forms of positions, colours unpacked from data and packed
// for the batcher with the window's alpha, and the Catmull-Rom tracks' ends, drift and wrap.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "game/story/StoryColor.h"
#include "game/story/StoryColorCatmull.h"
#include "game/story/StoryPosition.h"
#include "game/story/StoryPositionCatmull.h"
#include "tests/game/story/StoryFixture.h"

namespace {

using Solitaire::ReadProblems;
using Solitaire::StoryColor;
using Solitaire::StoryPosition;

constexpr float kTrackTolerance = 1e-5f;

std::unique_ptr<StoryPosition> position(std::wstring const& attributes) {
    Orvex::XMLNode node = storytest::parse(L"<POSITION " + attributes + L"/>");
    ReadProblems problems;
    std::unique_ptr<StoryPosition> made(StoryPosition::create(node, problems));
    EXPECT_TRUE(problems.empty());
    return made;
}

std::unique_ptr<StoryColor> colour(std::wstring const& attributes) {
    Orvex::XMLNode node = storytest::parse(L"<COLOR " + attributes + L"/>");
    ReadProblems problems;
    return std::unique_ptr<StoryColor>(StoryColor::create(node, problems));
}

D3DXVECTOR4 valueOf(StoryPosition const& track) {
    D3DXVECTOR4 v;
    track.getValue(&v);
    return v;
}

D3DXCOLOR valueOf(StoryColor const& track) {
    D3DXCOLOR c;
    track.getValue(&c);
    return c;
}

void expectRect(D3DXVECTOR4 const& have, float l, float t, float r, float b) {
    EXPECT_NEAR(have.x, l, kTrackTolerance);
    EXPECT_NEAR(have.y, t, kTrackTolerance);
    EXPECT_NEAR(have.z, r, kTrackTolerance);
    EXPECT_NEAR(have.w, b, kTrackTolerance);
}

class StoryTracksTest : public storytest::StoryFixture {};

TEST_F(StoryTracksTest, PositionNumberForms) {
    struct Row {
        wchar_t const* attributes;
        float l, t, r, b;
    } const rows[] = {
        {L"", 0, 0, 0, 0},
        {L"L=\"1 4\"", 0.25f, 0, 0, 0},                     // two numbers: the first over the second
        {L"R=\"1\" W=\"1 2\"", 0.5f, 0, 1, 0},              // a width from the right edge given
        {L"LC=\"0.5\" W=\"0.2\"", 0.4f, 0, 0.6f, 0},        // a width around a centre
        {L"LC=\"0.5\"", 0.5f, 0, 0, 0},                     // a centre without width is the left edge
        {L"R=\"0.9\" LC=\"0.5\" W=\"0.2\"", 0.7f, 0, 0.9f, 0},  // the right edge wins over the centre
        {L"L=\"0.1\" W=\"0.3\"", 0.1f, 0, 0.4f, 0},
        {L"T=\"1 3\" H=\"1 3\"", 0, 1.0f / 3, 0, 2.0f / 3},
        {L"TC=\"0.5\" H=\"0.5\"", 0, 0.25f, 0, 0.75f},
        {L"B=\"1\" H=\"0.25\"", 0, 0.75f, 0, 1},
        {L"L=\"0.1\" T=\"0.2\" R=\"0.3\" B=\"0.4\" TYPE=\"catmull\"", 0.1f, 0.2f, 0.3f, 0.4f},  // "CATMULL" only
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.attributes, row.attributes + wcslen(row.attributes)));
        std::unique_ptr<StoryPosition> track = position(row.attributes);
        EXPECT_TRUE(track->isStatic());
        expectRect(valueOf(*track), row.l, row.t, row.r, row.b);
    }
}

TEST_F(StoryTracksTest, ColoursUnpackFromDataAndPackWithTheWindowsAlpha) {
    struct Unpack {
        wchar_t const* text;
        D3DXCOLOR want;
    } const unpacked[] = {
        {L"FF000000", D3DXCOLOR(0, 0, 0, 1)},
        {L"80FFFFFF", D3DXCOLOR(1, 1, 1, 128.0f / 255.0f)},
        {L"FF8000C0", D3DXCOLOR(128.0f / 255.0f, 0, 192.0f / 255.0f, 1)},
        {L"", D3DXCOLOR(0, 0, 0, 0)},  // text that is no number reads as 0
    };
    for (Unpack const& row : unpacked) {
        D3DXCOLOR const c = valueOf(*colour(std::wstring(L"COLOR=\"") + row.text + L"\""));
        EXPECT_NEAR(c.r, row.want.r, kTrackTolerance);
        EXPECT_NEAR(c.g, row.want.g, kTrackTolerance);
        EXPECT_NEAR(c.b, row.want.b, kTrackTolerance);
        EXPECT_NEAR(c.a, row.want.a, kTrackTolerance);
    }
    EXPECT_EQ(static_cast<DWORD>(valueOf(*colour(L""))), 0xFFFFFFFFu);  // white without "COLOR"

    // Packing: each channel 255 at 1 or more, 0 at 0 or less, else trunc(c x 255 + 0.5); the
    // alpha is first multiplied by the window's.
    struct Pack {
        D3DXCOLOR colour;
        double windowAlpha;
        DWORD want;
    } const packed[] = {
        {D3DXCOLOR(1, 1, 1, 1), 1.0, 0xFFFFFFFF},
        {D3DXCOLOR(1.5f, -0.2f, 0.5f, 1), 1.0, 0xFFFF0080},
        {D3DXCOLOR(1, 1, 1, 1), 0.5, 0x80FFFFFF},  // 0.5 x 255 + 0.5 = 128
        {D3DXCOLOR(1, 0, 0, 128.0f / 255.0f), 0.5, 0x40FF0000},
        {D3DXCOLOR(1, 1, 1, 1), 0.0, 0x00FFFFFF},
    };
    Orvex::XMLNode node = storytest::parse(L"<PART_PART NAME=\"E\"/>");
    Solitaire::StoryPartPart element(node);
    for (Pack const& row : packed) {
        element.colorBlend.current = row.colour;
        EXPECT_EQ(element.packedColour(row.windowAlpha), row.want);
    }
}

// Control points at distance 1 turning by 90 degrees from 0: p0 (0, 1), p1 (-1, 0), p2 (0, -1),
// p3 (1, 0) (offset(a, d) = (-d sin a, d cos a)). The uniform Catmull-Rom segment from p1 to p2
// at t = 0.5 is 0.5 (2 p1 + (p2 - p0) t + (2 p0 - 5 p1 + 4 p2 - p3) t^2 + (-p0 + 3 p1 - 3 p2 + p3)
// t^3) = (-0.625, -0.625).
TEST_F(StoryTracksTest, ACatmullPositionRunsFromItsSecondPointToItsThirdThenOnOneSegment) {
    std::unique_ptr<StoryPosition> track = position(
        L"TYPE=\"CATMULL\" L=\"0.5\" T=\"0.5\" R=\"0.5\" B=\"0.5\" DISTANCE=\"1\" WINKEL_START=\"0\" "
        L"WINKEL_DELTA=\"90\" TIME_FAKTOR=\"2\"");
    EXPECT_FALSE(track->isStatic());
    expectRect(valueOf(*track), -0.5f, 0.5f, -0.5f, 0.5f);  // p1
    track->update(0.25f);                                   // t = 0.5
    expectRect(valueOf(*track), -0.125f, -0.125f, -0.125f, -0.125f);
    track->update(0.25f);  // t reaches 1: the next segment starts at t = 0, at p2
    expectRect(valueOf(*track), 0.5f, -0.5f, 0.5f, -0.5f);
    // A long frame (t from 0.5 to 2.7) passes one segment only: the value is the next point, p3.
    track->update(0.25f);
    track->update(1.1f);
    expectRect(valueOf(*track), 1.5f, 0.5f, 1.5f, 0.5f);
    // A copy goes on where the original stands.
    std::unique_ptr<StoryPosition> copy(track->clone());
    expectRect(valueOf(*copy), 1.5f, 0.5f, 1.5f, 0.5f);
}

TEST_F(StoryTracksTest, ANegativeSpeedFromDataStandsStillInsteadOfRunningAway) {
    std::unique_ptr<StoryPosition> track = position(L"TYPE=\"CATMULL\" DISTANCE=\"1\" TIME_FAKTOR=\"-2\"");
    D3DXVECTOR4 const start = valueOf(*track);
    for (int i = 0; i < 100; ++i) track->update(10.0f);
    expectRect(valueOf(*track), start.x, start.y, start.z, start.w);
    std::unique_ptr<StoryColor> colourTrack = colour(L"TYPE=\"CATMULL\" COLOR_MAX=\"FF00FF00\" SPEED=\"-5\"");
    for (int i = 0; i < 100; ++i) colourTrack->update(10.0f);
    EXPECT_EQ(static_cast<DWORD>(valueOf(*colourTrack)), 0xFF00FF00u);
}

TEST_F(StoryTracksTest, ACatmullPositionAtDistanceZeroNeverMoves) {
    std::unique_ptr<StoryPosition> track = position(L"TYPE=\"CATMULL\" L=\"0.2\" T=\"0.3\" W=\"0.1\" H=\"0.1\"");
    for (int i = 0; i < 50; ++i) {
        track->update(0.37f);
        expectRect(valueOf(*track), 0.2f, 0.3f, 0.3f, 0.4f);
    }
}

TEST_F(StoryTracksTest, ACatmullColourTakesTheMaxRangeThenTheMinRangeInTurn) {
    std::unique_ptr<StoryColor> track = colour(
        L"TYPE=\"CATMULL\" COLOR=\"FF00FF00\" COLOR_MAX=\"FFFF0000\" COLOR_MIN=\"FF0000FF\" SPEED=\"4\"");
    EXPECT_FALSE(track->isStatic());
    EXPECT_EQ(static_cast<DWORD>(valueOf(*track)), 0xFFFF0000u);  // p1: from the max range
    track->update(0.25f);
    EXPECT_EQ(static_cast<DWORD>(valueOf(*track)), 0xFF0000FFu);  // p2: from the min range
    track->update(0.25f);
    EXPECT_EQ(static_cast<DWORD>(valueOf(*track)), 0xFFFF0000u);  // p3: the max range again
}

TEST_F(StoryTracksTest, WhiteCatmullColoursStayWhiteAndModulateShowsTheBaseColour) {
    std::unique_ptr<StoryColor> white = colour(L"TYPE=\"CATMULL\" COLOR=\"FF336699\" SPEED=\"3\"");
    std::unique_ptr<StoryColor> modulated = colour(L"TYPE=\"CATMULL\" COLOR=\"80336699\" MODULATE=\"1\" SPEED=\"3\"");
    for (int i = 0; i < 12; ++i) {
        white->update(0.13f);
        modulated->update(0.13f);
        if (i < 3) continue;  // p0 (the base colour without modulate) left behind
        EXPECT_EQ(static_cast<DWORD>(valueOf(*white)), 0xFFFFFFFFu);
        EXPECT_EQ(static_cast<DWORD>(valueOf(*modulated)), 0x80336699u);
    }
}

TEST_F(StoryTracksTest, SeededTracksRepeatTheirRandomPoints) {
    auto run = [] {
        Orvex::seedRandom(77);
        std::unique_ptr<StoryPosition> track = position(L"TYPE=\"CATMULL\" DISTANCE=\"0.1 0.3\" TIME_FAKTOR=\"0.5 2\"");
        std::vector<float> path;
        for (int i = 0; i < 40; ++i) {
            track->update(0.1f);
            path.push_back(valueOf(*track).x);
            path.push_back(valueOf(*track).y);
        }
        return path;
    };
    std::vector<float> const first = run();
    EXPECT_EQ(run(), first);
    EXPECT_NE(first.front(), first.back());
}

}  // namespace
