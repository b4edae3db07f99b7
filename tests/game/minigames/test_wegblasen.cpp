// The blowing game on the shipped data ("MINIGAME_18": two objects filled up to four, the wind
// growing from 2 to 8), played by holding the button beside each object; its rules on small
// definitions of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielCursor.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Wegblasen.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::MinispielCursor;
using Solitaire::Wegblasen;

// How far beside an object the pointer blows from (playfield fractions), and how long at most.
constexpr float kBlowOffset = 0.08f;
constexpr int kMaxBlowFrames = 60 * 8;

class WegblasenTest : public minigametest::MinigameFixture {
protected:
    D3DXVECTOR2 toScreen(Wegblasen const& game, D3DXVECTOR2 const& place) const {
        Orvex::FRect const r = game.getPlayfield()->getScreenRect();
        return D3DXVECTOR2(r.left + place.x * (r.right - r.left), r.top + place.y * (r.bottom - r.top));
    }

    // The pointer beside the object on the playfield centre's side, so the push drives it outwards.
    D3DXVECTOR2 blowPoint(Wegblasen const& game, Wegblasen::Objekt const& object) const {
        D3DXVECTOR2 away = object.position - D3DXVECTOR2(0.5f, 0.5f);
        float const length = std::sqrt(away.x * away.x + away.y * away.y);
        away = length > 1e-4f ? away / length : D3DXVECTOR2(1.0f, 0.0f);
        D3DXVECTOR2 place = object.position - away * kBlowOffset;
        place.x = std::clamp(place.x, 0.01f, 0.99f);
        place.y = std::clamp(place.y, 0.01f, 0.99f);
        return toScreen(game, place);
    }

    // Holds the button beside the object, following it, until it touches the border.
    void blowAway(Wegblasen& game, Wegblasen::Objekt& object) {
        press(blowPoint(game, object));
        for (int i = 0; i < kMaxBlowFrames && !object.touchesBorder(); ++i) moveTo(blowPoint(game, object));
        release(blowPoint(game, object));
    }

    void win(Wegblasen& game) {
        for (int round = 0; round < 3 && !game.isFinished(false); ++round)
            for (Wegblasen::Objekt* object : game.getObjects())
                if (!object->touchesBorder()) blowAway(game, *object);
        tick();
    }

    Wegblasen* defineAndPlay(std::wstring const& keys, std::wstring const& objects) {
        define(L"<MINISPIEL TYPE=\"PUSTEN\" NAME=\"P\" LSG_TIME=\"60\" TIMER=\"1\" " + keys + L">" + objects +
               L"</MINISPIEL>");
        return play<Wegblasen>(L"P");
    }

    static bool logged(logtest::LogWatch const& watch, std::wstring const& part) {
        for (std::wstring const& line : watch.lines())
            if (logtest::contains(line, part)) return true;
        return false;
    }
};

TEST_F(WegblasenTest, HeldPressureDrivesEveryObjectToTheBorderAndWins) {
    auto* game = dynamic_cast<Wegblasen*>(begin(L"MINIGAME_18"));
    ASSERT_NE(game, nullptr);
    keep("pusten_hilfe");
    closeHelp();
    // Two objects filled up to "MIN_ANZ" 4.
    ASSERT_EQ(game->getObjects().size(), 4u);
    keep("pusten_start");
    Wegblasen::Objekt& first = *game->getObjects()[0];
    press(blowPoint(*game, first));
    for (int i = 0; i < 40; ++i) moveTo(blowPoint(*game, first));
    keep("pusten_mitte");
    release(blowPoint(*game, first));
    win(*game);
    for (Wegblasen::Objekt* object : game->getObjects()) EXPECT_TRUE(object->touchesBorder());
    EXPECT_TRUE(game->isFinished(false));
    keep("pusten_geloest");
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(WegblasenTest, LostWhenTheTimeRunsOutOrClosedByCancel) {
    ASSERT_NE(play<Wegblasen>(L"MINIGAME_18"), nullptr);
    loseByTime();
    expectSkipped();
    ASSERT_NE(play<Wegblasen>(L"MINIGAME_18"), nullptr);
    clickPart(L"PUSTEN_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

TEST_F(WegblasenTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    auto const winIt = [this](Solitaire::Minispiel& game) { win(dynamic_cast<Wegblasen&>(game)); };
    SeededRun const first = playFromSeed(4711, L"MINIGAME_18", winIt);
    SeededRun const second = playFromSeed(4711, L"MINIGAME_18", winIt);
    ASSERT_FALSE(first.signals.empty());
    EXPECT_EQ(first.signals, second.signals);
    EXPECT_TRUE(first.picture == second.picture);
    expectWon();
}

TEST_F(WegblasenTest, NoForceActsWithThePointerOutsideThePlayfield) {
    Wegblasen* game =
        defineAndPlay(L"STRENGTH=\"10\" STRENGTH_TIMER=\"0\"", L"<OBJEKT SIZE=\"32\"/><OBJEKT SIZE=\"32\"/>");
    ASSERT_NE(game, nullptr);
    std::vector<D3DXVECTOR2> before;
    for (Wegblasen::Objekt* object : game->getObjects()) before.push_back(object->position);
    Orvex::FRect const field = game->getPlayfield()->getScreenRect();
    D3DXVECTOR2 const outside(field.left - 20.0f, field.top + 10.0f);
    press(outside);
    ticks(30, false);
    EXPECT_TRUE(game->isBlowing());
    EXPECT_EQ(game->getStrength(), 10.0f);
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(game->getObjects()[i]->position, before[i]);
        EXPECT_EQ(game->getObjects()[i]->force, D3DXVECTOR2(0.0f, 0.0f));
    }
    release(outside);
    EXPECT_FALSE(game->isBlowing());
    EXPECT_EQ(game->getStrength(), 0.0f);
}

// An object too heavy to move (the braking stops it at once), so the game is never solved.
wchar_t const* const kHeavyObject = L"<OBJEKT SIZE=\"32\" MASS=\"1000000\"/>";

TEST_F(WegblasenTest, TheBlowerCursorGrowsWithTheStrengthAndGoesWithTheGame) {
    Wegblasen* game =
        defineAndPlay(L"STRENGTH=\"2 8\" STRENGTH_TIMER=\"0.2 1.5\" MOUSE_ANI=\"MG_PUSTEN_WIND\"", kHeavyObject);
    ASSERT_NE(game, nullptr);
    MinispielCursor const& cursor = MinispielCursor::instance();
    D3DXVECTOR2 const middle = middleOf(game->getPlayfield()->getScreenRect());
    press(middle);
    ASSERT_NE(cursor.picture, nullptr);
    EXPECT_TRUE(cursor.sizeFlag);
    // The wind's 64 x 64 frame, from its own size at the ramp's start to twice at its end.
    EXPECT_EQ(cursor.size, D3DXVECTOR2(64.0f, 64.0f));
    EXPECT_EQ(cursor.offset, D3DXVECTOR2(-32.0f, -32.0f));
    wait(1.6);
    EXPECT_EQ(cursor.size, D3DXVECTOR2(128.0f, 128.0f));
    EXPECT_EQ(cursor.offset, D3DXVECTOR2(-64.0f, -64.0f));
    keep("pusten_geblaese");
    release(middle);
    EXPECT_EQ(cursor.picture, nullptr);
    EXPECT_FALSE(cursor.sizeFlag);
    press(middle);
    ASSERT_NE(cursor.picture, nullptr);
    // Skipped while blowing: nothing of the blower stays behind.
    clickPart(L"PUSTEN_CANCEL");
    ticks(kSettleFrames, false);
    EXPECT_EQ(cursor.picture, nullptr);
    EXPECT_FALSE(cursor.sizeFlag);
}

struct RampCase {
    wchar_t const* timer;
    float time;
    float share;
};

class WegblasenRampTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<RampCase> {};

TEST_P(WegblasenRampTest, TheShareOfTheStrengthRampIsNeverNaN) {
    define(std::wstring(L"<MINISPIEL TYPE=\"PUSTEN\" NAME=\"P\" STRENGTH_TIMER=\"") + GetParam().timer + L"\"/>");
    auto* game = dynamic_cast<Wegblasen*>(manager().findMinispiel(L"P"));
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->rampShare(GetParam().time), GetParam().share) << GetParam().timer << " " << GetParam().time;
}

INSTANTIATE_TEST_SUITE_P(Cases, WegblasenRampTest,
                         ::testing::Values(RampCase{L"1 3", 0.5f, 0.0f}, RampCase{L"1 3", 2.0f, 0.5f},
                                           RampCase{L"1 3", 5.0f, 1.0f},
                                           // Equal ends: full strength from the start on.
                                           RampCase{L"1 1", 0.99f, 0.0f}, RampCase{L"1 1", 1.0f, 1.0f},
                                           RampCase{L"1", 1.5f, 1.0f}, RampCase{L"0 0", 0.0f, 1.0f},
                                           // A ramp that runs backwards still gives a share.
                                           RampCase{L"3 1", 2.0f, 0.5f}));

TEST_F(WegblasenTest, EqualRampValuesGiveFullStrengthWhileHeld) {
    Wegblasen* game = defineAndPlay(L"STRENGTH=\"2 6\" STRENGTH_TIMER=\"0.5 0.5\"", kHeavyObject);
    ASSERT_NE(game, nullptr);
    D3DXVECTOR2 const middle = middleOf(game->getPlayfield()->getScreenRect());
    press(middle);
    wait(0.3);
    EXPECT_EQ(game->getStrength(), 2.0f);
    wait(0.3);
    EXPECT_EQ(game->getStrength(), 6.0f);
    for (Wegblasen::Objekt* object : game->getObjects()) {
        EXPECT_TRUE(std::isfinite(object->position.x) && std::isfinite(object->position.y));
        EXPECT_TRUE(std::isfinite(MinispielCursor::instance().size.x));
    }
    release(middle);
}

TEST_F(WegblasenTest, AMassOfZeroIsRefusedAndKeepsOne) {
    logtest::LogWatch watch;
    Wegblasen* game = defineAndPlay(L"STRENGTH=\"5\" STRENGTH_TIMER=\"0\"",
                                    L"<OBJEKT SIZE=\"32\" MASS=\"0\"/><OBJEKT SIZE=\"32\" MASS=\"-2\"/>");
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(logged(watch, L"MASS"));
    for (Wegblasen::Objekt* object : game->getObjects()) EXPECT_EQ(object->mass, 1.0f);
    Wegblasen::Objekt& object = *game->getObjects()[0];
    press(blowPoint(*game, object));
    ticks(20, false);
    release(blowPoint(*game, object));
    EXPECT_TRUE(std::isfinite(object.position.x) && std::isfinite(object.position.y));
}

struct FillCase {
    wchar_t const* objects;
    int minAnz;
    std::size_t count;
};

class WegblasenFillTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<FillCase> {};

TEST_P(WegblasenFillTest, MinAnzFillsTheListWithCopies) {
    define(std::wstring(L"<MINISPIEL TYPE=\"PUSTEN\" NAME=\"P\" MIN_ANZ=\"") + std::to_wstring(GetParam().minAnz) +
           L"\">" + GetParam().objects + L"</MINISPIEL>");
    auto* game = dynamic_cast<Wegblasen*>(manager().findMinispiel(L"P"));
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->getObjects().size(), GetParam().count);
    // Copies have pictures of their own.
    for (std::size_t i = 1; i < game->getObjects().size(); ++i)
        if (game->getObjects()[i]->animation)
            EXPECT_NE(game->getObjects()[i]->animation, game->getObjects()[0]->animation);
}

wchar_t const* const kTwoObjects =
    L"<OBJEKT ANIMATION=\"MG_PUSTEN_BLATT\" SIZE=\"40 30\"/>"
    L"<OBJEKT ANIMATION=\"MG_PUSTEN_BLATT\" SIZE=\"40\"/>";

INSTANTIATE_TEST_SUITE_P(Cases, WegblasenFillTest,
                         ::testing::Values(FillCase{kTwoObjects, 5, 5}, FillCase{kTwoObjects, 1, 2},
                                           FillCase{kTwoObjects, 2, 2}, FillCase{L"", 4, 0}));

TEST_F(WegblasenTest, AGameWithoutObjectsIsSolvedAtOnce) {
    Wegblasen* game = defineAndPlay(L"", L"");
    ASSERT_NE(game, nullptr);
    EXPECT_TRUE(game->isFinished(false));
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(WegblasenTest, SizesAreFractionsOfA1024By768Screen) {
    Wegblasen* game = defineAndPlay(L"", kTwoObjects);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getObjects()[0]->size, D3DXVECTOR2(40.0f / 1024.0f, 30.0f / 768.0f));
    EXPECT_EQ(game->getObjects()[1]->size, D3DXVECTOR2(40.0f / 1024.0f, 40.0f / 768.0f));
    // Every object lies within the playfield after the first update.
    for (Wegblasen::Objekt* object : game->getObjects()) {
        EXPECT_GE(object->position.x - object->size.x / 2.0f, 0.0f);
        EXPECT_LE(object->position.x + object->size.x / 2.0f, 1.0f);
    }
}

}  // namespace
