// The click-the-shown-object game on the shipped data ("MINIGAME_2": three shapes, two rounds),
// played by input events through the window.
#include <gtest/gtest.h>

#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/ObjekteAnklicken.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::ObjekteAnklicken;

class ObjekteAnklickenTest : public minigametest::MinigameFixture {
protected:
    ObjekteAnklicken* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = dynamic_cast<ObjekteAnklicken*>(begin(L"MINIGAME_2"));
        ASSERT_NE(game, nullptr);
    }

    // The middle of the round's target (its box turns about it).
    D3DXVECTOR2 target() const {
        return middleOf(Orvex::boundingRectOfSpriteRect(game->getObjects()[0]->getSpriteRect()));
    }
};

TEST_F(ObjekteAnklickenTest, WonByClickingTheShownObjectInEveryRound) {
    keep("objekt_klicken_hilfe");
    closeHelp();
    keep("objekt_klicken_start");
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(game->getRound(), round);
        click(target());
    }
    EXPECT_EQ(log.count(L"move"), 2u);
    EXPECT_TRUE(game->isFinished(false));
    keep("objekt_klicken_geloest");
    waitForTheEnd(*game);
    expectWon();
    tick();
    EXPECT_EQ(active(), nullptr);
}

TEST_F(ObjekteAnklickenTest, LostWhenTheTimeRunsOutAndTheSecondSkipButtonIsClicked) {
    closeHelp();
    loseByTime();
    expectSkipped();
    tick();
    EXPECT_EQ(active(), nullptr);
}

}  // namespace

namespace {

wchar_t const* const kTwoForms = L"<FORM ANIMATION=\"MG_FORM_KREIS\"/><FORM ANIMATION=\"MG_FORM_STERN\"/>";

// Games of this kind defined here, on the shipped templates.
class ObjekteDefinitionTest : public minigametest::MinigameFixture {
protected:
    ObjekteAnklicken* defineAndPlay(std::wstring const& keys, std::wstring const& forms) {
        define(L"<MINISPIEL TYPE=\"OBJEKT_KLICKEN\" NAME=\"O\" " + keys + L">" + forms + L"</MINISPIEL>");
        return play<ObjekteAnklicken>(L"O");
    }
};

TEST_F(ObjekteDefinitionTest, AClickOnTheTargetCountsWhereAnotherPictureCoversIt) {
    ObjekteAnklicken* game = defineAndPlay(L"RUNDEN=\"2\" ANZAHL=\"1\" SIZE=\"0.2\" ROT_SPEED=\"0\"",
                                           kTwoForms);
    ASSERT_NE(game, nullptr);
    ASSERT_EQ(game->getObjects().size(), 2u);
    ObjekteAnklicken::Form& target = *game->getObjects()[0];
    ObjekteAnklicken::Form& other = *game->getObjects()[1];
    other.x = target.x;
    other.y = target.y;
    other.width = target.width;
    other.height = target.height;
    click(middleOf(Orvex::boundingRectOfSpriteRect(target.getSpriteRect())));
    EXPECT_EQ(log.count(L"move"), 1u);
    EXPECT_EQ(log.count(L"wrong"), 0u);
    EXPECT_EQ(game->getRound(), 1);
}

TEST_F(ObjekteDefinitionTest, AnotherPictureIsAWrongMoveAndAFailureAndNothingElse) {
    ObjekteAnklicken* game = defineAndPlay(L"RUNDEN=\"2\" ANZAHL=\"1\" SIZE=\"0.2\" ROT_SPEED=\"0\"",
                                           kTwoForms);
    ASSERT_NE(game, nullptr);
    ObjekteAnklicken::Form& target = *game->getObjects()[0];
    ObjekteAnklicken::Form& other = *game->getObjects()[1];
    // Apart: the other one in the top-left corner, the target in the bottom-right.
    other.x = other.y = 0.1f;
    target.x = target.y = 0.6f;
    click(middleOf(Orvex::boundingRectOfSpriteRect(other.getSpriteRect())));
    EXPECT_EQ(log.lines.back(), L"failed O");
    EXPECT_EQ(log.count(L"wrong"), 1u);
    EXPECT_EQ(game->getRound(), 0);
    // Empty field and the preview: nothing at all.
    std::size_t const lines = log.lines.size();
    Orvex::FRect const field = game->getField()->getScreenRect();
    click(D3DXVECTOR2(field.right - 4.0f, field.top + 4.0f));
    click(middleOf(game->getPreview()->getScreenRect()));
    EXPECT_EQ(log.lines.size(), lines);
}

// Definitions the game cannot play as written: refused with one log line each.
struct FormCase {
    wchar_t const* keys;
    wchar_t const* forms;
    std::size_t objects;
    std::size_t logLines;
};
void PrintTo(FormCase const& c, std::ostream* out) {
    *out << minigametest::narrow(c.keys) << ", " << c.objects << " objects";
}

class ObjekteFormTest : public ObjekteDefinitionTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(ObjekteFormTest, BuildsWhatTheFormsAllow) {
    logtest::LogWatch watch;
    ObjekteAnklicken* game = defineAndPlay(GetParam().keys, GetParam().forms);
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getObjects().size(), GetParam().objects);
    std::size_t mine = 0;
    for (std::wstring const& line : watch.lines()) mine += logtest::contains(line, L"test.min");
    EXPECT_EQ(mine, GetParam().logLines);
    // Still skippable.
    clickPart(L"OBJEKT_ANKLICKEN_HILFE");
    skipFromHelp();
    expectSkipped();
}

INSTANTIATE_TEST_SUITE_P(Forms, ObjekteFormTest,
                         ::testing::Values(FormCase{L"ANZAHL=\"3\"", L"", 0, 1},
                                           FormCase{L"ANZAHL=\"3\"", L"<FORM ANIMATION=\"MG_FORM_KREIS\"/>", 1, 1},
                                           FormCase{L"ANZAHL=\"0\"", L"<FORM ANIMATION=\"MG_FORM_KREIS\"/>", 1, 0},
                                           FormCase{L"ANZAHL=\"2 2\"",
                                                    L"<FORM ANIMATION=\"MG_FORM_KREIS\"/><FORM ANIMATION=\"NICHTS\"/>",
                                                    3, 0},
                                           FormCase{L"ANZAHL=\"9999\" SIZE=\"nan\"", kTwoForms, 11, 2}));

}  // namespace
