// The repeat-the-sequence game on the shipped data ("MINIGAME_16": four pads, sequences of 2, 3
// and 4, pads 1 and 3 lighting a ring of their own, pad 2 with sparks) played by clicks after the
// demonstration, and on definitions of its own: the lengths, a wrong click, the help, the show
// window fallbacks, the draw's spread, refused definitions.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/core/Random.h"
#include "engine/core/XMLNode.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Sequenz.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "port/crt/crt.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Sequenz;

constexpr Orvex::u64 kSeed = 1916;
// Longest wait for a demonstration: the pause before it and a step per element, with room.
constexpr int kMaxDemoFrames = 60 * 60;

class SequenzTest : public minigametest::MinigameFixture {
protected:
    // Frames until it is the player's turn (or the game is solved).
    bool waitForTurn(Sequenz& game) {
        for (int i = 0; i < kMaxDemoFrames; ++i) {
            if (game.isInputPhase() || game.isFinished(false)) return true;
            tick(false);
        }
        return false;
    }

    void clickElement(Sequenz const& game, unsigned element) {
        click(reachablePointOf(*game.getElements()[element]));
    }

    // One sequence repeated as shown.
    void repeat(Sequenz& game) {
        ASSERT_TRUE(waitForTurn(game));
        std::vector<unsigned> const sequence = game.getSequence();
        for (unsigned e : sequence) clickElement(game, e);
    }

    // Sequences repeated until the game is solved.
    void win(Sequenz& game) {
        for (int round = 0; round < 16 && !game.isFinished(false); ++round) repeat(game);
    }

    Sequenz* playShipped() {
        Orvex::seedRandom(kSeed);
        return play<Sequenz>(L"MINIGAME_16");
    }

    // A definition of its own on the shipped templates.
    Sequenz* playOwn(std::wstring const& keys) {
        define(L"<MINISPIEL TYPE=\"SEQUENZ\" NAME=\"S\" LSG_TIME=\"300\" TIMER=\"1\" " + keys + L"/>");
        Orvex::seedRandom(kSeed);
        return play<Sequenz>(L"S");
    }
};

TEST_F(SequenzTest, WonByRepeatingTheSequencesUntilTheLongest) {
    Sequenz* game = playShipped();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getElements().size(), 4u);
    keep("sequenz_start");
    std::vector<std::size_t> lengths;
    for (int round = 0; round < 5 && !game->isFinished(false); ++round) {
        ASSERT_TRUE(waitForTurn(*game));
        lengths.push_back(game->getSequence().size());
        if (round == 1) {
            clickElement(*game, game->getSequence()[0]);
            keep("sequenz_mitte");
            for (std::size_t i = 1; i < game->getSequence().size(); ++i) clickElement(*game, game->getSequence()[i]);
        } else {
            repeat(*game);
        }
    }
    EXPECT_EQ(lengths, (std::vector<std::size_t>{2, 3, 4}));
    EXPECT_TRUE(game->isFinished(false));
    tick();
    keep("sequenz_geloest");
    waitForTheEnd(*game);
    expectWon();
}

// The lit pad is brighter than the resting one, also where the pad is its own show window and
// goes to "AN" as it lights up.
TEST_F(SequenzTest, TheDemonstrationLightsThePadUp) {
    Sequenz* game = playShipped();
    ASSERT_NE(game, nullptr);
    Orvex::GUIWindow const& pad = *game->getElements()[game->getSequence()[0]];
    ASSERT_EQ(game->getShowWindows()[game->getSequence()[0]], &pad) << "the seed's first pad lights a ring";
    D3DXVECTOR2 const middle = middleOf(pad.getScreenRect());
    auto brightness = [&] {
        uint32_t const c = pixelAt(pixels(), middle);
        return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF);
    };
    tick();
    unsigned const resting = brightness();
    while (game->getShownIndex() < 0) tick(false);
    tick();
    unsigned const lit = brightness();
    EXPECT_GT(lit, resting + 90) << resting;
}

TEST_F(SequenzTest, LostWhenTheTimeRunsOut) {
    ASSERT_NE(playShipped(), nullptr);
    loseByTime();
    expectSkipped();
}

TEST_F(SequenzTest, TheCancelButtonClosesTheGame) {
    ASSERT_NE(playShipped(), nullptr);
    clickPart(L"SEQUENZ_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
}

TEST_F(SequenzTest, TwoRunsFromOneSeedGiveTheSameSignalsAndPicture) {
    auto run = [&](std::vector<std::wstring>& signals, std::vector<uint32_t>& picture,
                   std::vector<unsigned>& sequence) {
        TearDown();
        SetUp();
        Sequenz* game = playShipped();
        ASSERT_NE(game, nullptr);
        win(*game);
        sequence = game->getSequence();
        tick();
        picture = pixels();
        waitForTheEnd(*game);
        signals = log.lines;
    };
    std::vector<std::wstring> firstSignals, secondSignals;
    std::vector<uint32_t> firstPicture, secondPicture;
    std::vector<unsigned> firstSequence, secondSequence;
    run(firstSignals, firstPicture, firstSequence);
    run(secondSignals, secondPicture, secondSequence);
    EXPECT_EQ(firstSignals, secondSignals);
    EXPECT_EQ(firstSequence, secondSequence);
    EXPECT_TRUE(firstPicture == secondPicture);
    expectWon();
}

TEST_F(SequenzTest, TheDefaultsGiveFiveThenSixThenSolved) {
    Sequenz* game = playOwn(L"");
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(waitForTurn(*game));
    EXPECT_EQ(game->getSequence().size(), 5u);
    repeat(*game);
    EXPECT_FALSE(game->isFinished(false));
    ASSERT_TRUE(waitForTurn(*game));
    EXPECT_EQ(game->getSequence().size(), 6u);
    std::vector<unsigned> const sequence = game->getSequence();
    for (std::size_t i = 0; i + 1 < sequence.size(); ++i) clickElement(*game, sequence[i]);
    EXPECT_FALSE(game->isFinished(false));
    clickElement(*game, sequence.back());
    EXPECT_TRUE(game->isFinished(false));
}

TEST_F(SequenzTest, AMinimumAboveTheMaximumIsSolvedByTheFirstSequence) {
    Sequenz* game = playOwn(L"MIN_LENGTH=\"3\" MAX_LENGTH=\"1\"");
    ASSERT_NE(game, nullptr);
    repeat(*game);
    EXPECT_TRUE(game->isFinished(false));
}

TEST_F(SequenzTest, AWrongClickReplaysTheSameSequence) {
    Sequenz* game = playOwn(L"MIN_LENGTH=\"3\" CHANGE_ANIM_GOAL=\"1\"");
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(waitForTurn(*game));
    std::vector<unsigned> const sequence = game->getSequence();
    clickElement(*game, sequence[0]);
    EXPECT_EQ(game->getInputPosition(), 1u);
    clickElement(*game, (sequence[1] + 1) % 4);
    EXPECT_FALSE(game->isInputPhase());
    EXPECT_EQ(game->getShownIndex(), -1);
    // The replay: one second, then the same elements; clicks meanwhile are ignored.
    clickElement(*game, sequence[0]);
    ASSERT_TRUE(waitForTurn(*game));
    EXPECT_EQ(game->getSequence(), sequence);
    EXPECT_EQ(game->getInputPosition(), 0u);
    repeat(*game);
    ASSERT_TRUE(waitForTurn(*game));
    EXPECT_EQ(game->getSequence().size(), 4u);
    EXPECT_EQ(log.count(L"wrong"), 0u);
}

TEST_F(SequenzTest, AWrongFirstClickReplaysAfterOneSecondWithoutSendingTheLightsOut) {
    Sequenz* game = playOwn(L"MIN_LENGTH=\"2\" CHANGE_ANIM_GOAL=\"1\"");
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(waitForTurn(*game));
    std::vector<unsigned> const sequence = game->getSequence();
    clickElement(*game, (sequence[0] + 1) % 4);
    // A clear step would come first and take a step's time: the first element lights up one
    // second after the click (frames of 1/60 s, give or take one).
    int frames = 0;
    while (game->getShownIndex() < 0 && frames < kMaxDemoFrames) {
        tick(false);
        ++frames;
    }
    EXPECT_NEAR(frames, 60, 2);
}

TEST_F(SequenzTest, TheHelpFreezesTheDemonstration) {
    Sequenz* game = playOwn(L"MIN_LENGTH=\"3\"");
    ASSERT_NE(game, nullptr);
    // Into the demonstration: the first element lit.
    while (game->getShownIndex() < 0) tick(false);
    clickPart(L"SEQUENZ_HILFE");
    ASSERT_TRUE(manager().isHelpShown());
    int const shown = game->getShownIndex();
    wait(5.0);
    EXPECT_EQ(game->getShownIndex(), shown);
    EXPECT_FALSE(game->isInputPhase());
    closeHelp();
    ASSERT_TRUE(waitForTurn(*game));
}

TEST_F(SequenzTest, ClicksDuringTheDemonstrationAreIgnored) {
    Sequenz* game = playOwn(L"MIN_LENGTH=\"4\"");
    ASSERT_NE(game, nullptr);
    while (game->getShownIndex() < 1) tick(false);
    clickElement(*game, game->getSequence()[0]);
    EXPECT_EQ(game->getInputPosition(), 0u);
    EXPECT_FALSE(game->isInputPhase());
}

TEST_F(SequenzTest, EveryElementComesUpAboutEquallyOften) {
    Sequenz* game = playOwn(L"MIN_LENGTH=\"64\" MAX_LENGTH=\"64\"");
    ASSERT_NE(game, nullptr);
    std::vector<int> counts(4, 0);
    int total = 0;
    for (int i = 0; i < 200; ++i) {
        game->start();
        for (unsigned e : game->getSequence()) {
            ASSERT_LT(e, 4u);
            ++counts[e];
            ++total;
        }
    }
    for (int count : counts) EXPECT_NEAR(static_cast<double>(count) / total, 0.25, 0.01);
}

TEST_F(SequenzTest, AStartAfterASolvedGameIsANewAttempt) {
    Sequenz* game = playOwn(L"MIN_LENGTH=\"1\" MAX_LENGTH=\"0\"");
    ASSERT_NE(game, nullptr);
    repeat(*game);
    ASSERT_TRUE(game->isFinished(false));
    game->start();
    EXPECT_FALSE(game->isFinished(false));
    EXPECT_EQ(game->getSequence().size(), 1u);
    repeat(*game);
    EXPECT_TRUE(game->isFinished(false));
    waitForTheEnd(*game);
    expectWon();
}

TEST_F(SequenzTest, PadTwoLightsUpWithSparksThatEndAtTheNextStep) {
    Sequenz* game = playShipped();
    ASSERT_NE(game, nullptr);
    auto& particles = Solitaire::SolPartikelManager::instance();
    // Sequences until one shows pad 2 (index 1) before its last step.
    for (int round = 0; round < 8; ++round) {
        ASSERT_TRUE(waitForTurn(*game));
        std::vector<unsigned> const sequence = game->getSequence();
        auto const at = std::find(sequence.begin(), sequence.end() - 1, 1u);
        if (at == sequence.end() - 1) {
            repeat(*game);
            continue;
        }
        clickElement(*game, (sequence[0] + 1) % 4);
        int const position = static_cast<int>(at - sequence.begin());
        while (game->getShownIndex() < position) tick(false);
        Solitaire::SolPartikel* sparks = game->getCurrentParticle();
        ASSERT_NE(sparks, nullptr);
        auto const& live = particles.liveEmitters();
        EXPECT_NE(std::find(live.begin(), live.end(), sparks), live.end());
        sparks->addRef();
        while (game->getShownIndex() == position) tick(false);
        EXPECT_TRUE(sparks->isFinished());
        sparks->release();
        return;
    }
    FAIL() << "no sequence showed pad 2";
}

// The show windows: an element without its own lights its click window, or with
// "SHOW_ON_IS_CLICK_ON" off the show window of the element before it.
TEST_F(SequenzTest, ElementsWithoutAShowWindowUseTheFallbacks) {
    Sequenz* game = playOwn(L"");
    ASSERT_NE(game, nullptr);
    auto const& elements = game->getElements();
    auto const& shows = game->getShowWindows();
    ASSERT_EQ(shows.size(), 4u);
    EXPECT_NE(shows[0], elements[0]);
    EXPECT_EQ(shows[1], elements[1]);
    EXPECT_NE(shows[2], elements[2]);
    EXPECT_EQ(shows[3], elements[3]);
    Sequenz* other = playOwn(L"SHOW_ON_IS_CLICK_ON=\"0\"");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->getShowWindows()[1], other->getShowWindows()[0]);
    EXPECT_EQ(other->getShowWindows()[3], other->getShowWindows()[2]);
    EXPECT_NE(other->getShowWindows()[0], other->getShowWindows()[2]);
}

// Lengths as read: "MIN_LENGTH" below 1 reads as 1, either beyond the cap as the cap, each with a
// log line naming the file.
struct LengthCase {
    wchar_t const* keys;
    unsigned minLength, maxLength;
    std::size_t logLines;
};
void PrintTo(LengthCase const& c, std::ostream* out) { *out << minigametest::narrow(c.keys); }

class SequenzLengthTest : public SequenzTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(SequenzLengthTest, AreReadWithinTheirBounds) {
    logtest::LogWatch watch;
    define(std::wstring(L"<MINISPIEL TYPE=\"SEQUENZ\" NAME=\"S\" ") + GetParam().keys + L"/>");
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines()) lines += logtest::contains(line, L"test.min\" at line 1");
    EXPECT_EQ(lines, GetParam().logLines);
    auto* game = dynamic_cast<Sequenz*>(manager().findMinispiel(L"S"));
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getMinLength(), GetParam().minLength);
    EXPECT_EQ(game->getMaxLength(), GetParam().maxLength);
    EXPECT_EQ(game->getSequence().size(), GetParam().minLength);
}

INSTANTIATE_TEST_SUITE_P(Keys, SequenzLengthTest,
                         ::testing::Values(LengthCase{L"MIN_LENGTH=\"2\" MAX_LENGTH=\"3\"", 2, 3, 0},
                                           LengthCase{L"MIN_LENGTH=\"0\"", 1, 5, 1},
                                           LengthCase{L"MIN_LENGTH=\"-7\"", 1, 5, 1},
                                           LengthCase{L"MIN_LENGTH=\"100000\"", Sequenz::kMaxLength, 5, 1},
                                           LengthCase{L"MAX_LENGTH=\"-1\"", 5, 0, 1},
                                           LengthCase{L"MAX_LENGTH=\"100000\"", 5, Sequenz::kMaxLength, 1},
                                           LengthCase{L"TIMER_SHOW=\"nan\"", 5, 5, 1}));

// Definitions that cannot be played: one log line, no window, and the game can be skipped.
struct RefusedCase {
    wchar_t const* name;
    std::vector<wchar_t const*> templates;
    wchar_t const* keys;
};
void PrintTo(RefusedCase const& c, std::ostream* out) { *out << minigametest::narrow(c.name); }

class SequenzRefusedTest : public SequenzTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(SequenzRefusedTest, LogsOneLineAndCanOnlyBeSkipped) {
    std::wstring text = L"<GUI><VORLAGEN>";
    for (wchar_t const* name : GetParam().templates) text += std::wstring(L"<WINDOW NAME=\"") + name + L"\"/>";
    Orvex::XMLNode gui;
    ASSERT_TRUE(gui.loadFromText(text + L"</VORLAGEN></GUI>"));
    Orvex::GUISystem::instance().loadTextures(gui, L"refused.gui");
    logtest::LogWatch watch;
    define(std::wstring(L"<MINISPIEL TYPE=\"SEQUENZ\" NAME=\"S\" PR\u00C4FIX=\"R_\" ") + GetParam().keys + L"/>");
    std::size_t lines = 0;
    for (std::wstring const& line : watch.lines()) lines += logtest::contains(line, L"test.min\" at line 1");
    EXPECT_EQ(lines, 1u);
    auto* game = dynamic_cast<Sequenz*>(manager().findMinispiel(L"S"));
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getWindow(), nullptr);
    ASSERT_EQ(begin(L"S"), game);
    ticks(5);
    skipFromHelp();
    expectSkipped();
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, SequenzRefusedTest,
    ::testing::Values(RefusedCase{L"no element", {L"R_SEQUENZ_FENSTER", L"R_SEQUENZ_WINDOW_2"}, L""},
                      RefusedCase{L"element 1 without a show window",
                                  {L"R_SEQUENZ_FENSTER", L"R_SEQUENZ_WINDOW_1", L"R_SEQUENZ_WINDOW_SHOW_2"},
                                  L"SHOW_ON_IS_CLICK_ON=\"0\""}));

}  // namespace
