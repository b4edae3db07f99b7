// The repeat-the-sequence game on the shipped data ("MINIGAME_16": four pads, sequences of 2, 3
// and 4, pads 1 and 3 lighting a ring of their own, pad 2 with sparks) played by clicks after the
// demonstration and read back from the screen while it shows, and on definitions of its own: the
// lengths, a wrong click and its sign, the help, the show window fallbacks, the draw's spread,
// refused definitions.
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

constexpr Orvex::u64 kSequenzSeed = 1916;
// Longest wait for a demonstration: the pause before it and a step per element, with room.
constexpr int kMaxDemoFrames = 60 * 60;
// A lit element is looked at this many frames after it lights (its light lasts a third of a
// second, the next step comes after half a second).
constexpr int kLitFrames = 12;
// A pixel lit: the sum of its channels up by more than this from the resting picture.
constexpr int kLitRise = 60;
// An element is seen lit when this share of its show window's rectangle is lit.
constexpr double kLitShare = 0.08;

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

    // Frames until the demonstration lights its first element.
    int framesUntilTheFirstStep(Sequenz& game) {
        int frames = 0;
        while (game.getShownIndex() < 0 && frames < kMaxDemoFrames) {
            tick(false);
            ++frames;
        }
        return frames;
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

    static int brightness(uint32_t c) { return static_cast<int>(((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF)); }

    // The share of the rectangle's pixels that are lit in `now` against `rest`.
    double litShare(std::vector<uint32_t> const& rest, std::vector<uint32_t> const& now, Orvex::FRect const& r) const {
        int lit = 0;
        int all = 0;
        for (int y = static_cast<int>(r.top); y < static_cast<int>(r.bottom); ++y)
            for (int x = static_cast<int>(r.left); x < static_cast<int>(r.right); ++x) {
                if (x < 0 || y < 0 || x >= static_cast<int>(width) || y >= static_cast<int>(height)) continue;
                ++all;
                unsigned const ux = static_cast<unsigned>(x);
                unsigned const uy = static_cast<unsigned>(y);
                lit += brightness(at(now, ux, uy)) - brightness(at(rest, ux, uy)) > kLitRise;
            }
        return all > 0 ? static_cast<double>(lit) / all : 0.0;
    }

    // The red of the plate under the pads: the mean of red minus green over the rectangle.
    double redness(std::vector<uint32_t> const& shot, Orvex::FRect const& r) const {
        double sum = 0.0;
        int all = 0;
        for (unsigned y = static_cast<unsigned>(r.top); y < static_cast<unsigned>(r.bottom) && y < height; y += 4)
            for (unsigned x = static_cast<unsigned>(r.left); x < static_cast<unsigned>(r.right) && x < width; x += 4) {
                uint32_t const c = at(shot, x, y);
                sum += static_cast<double>((c >> 16) & 0xFF) - static_cast<double>((c >> 8) & 0xFF);
                ++all;
            }
        return all > 0 ? sum / all : 0.0;
    }

    // The demonstration watched to the player's turn: each step's element and how much of its
    // show window is lit on the screen kLitFrames after it lit up.
    struct Step {
        unsigned element;
        double share;
    };
    std::vector<Step> watchDemonstration(Sequenz& game, std::vector<uint32_t> const& rest) {
        std::vector<Step> steps;
        int shown = game.getShownIndex();
        for (int i = 0; i < kMaxDemoFrames && !game.isInputPhase(); ++i) {
            tick(false);
            if (game.getShownIndex() == shown) continue;
            shown = game.getShownIndex();
            if (shown < 0 || static_cast<std::size_t>(shown) >= game.getSequence().size()) continue;
            unsigned const e = game.getSequence()[static_cast<std::size_t>(shown)];
            ticks(kLitFrames - 1, false);
            tick(true);
            steps.push_back({e, litShare(rest, pixels(), game.getShowWindows()[e]->getScreenRect())});
        }
        return steps;
    }

    Sequenz* playShipped() {
        Orvex::seedRandom(kSequenzSeed);
        return play<Sequenz>(L"MINIGAME_16");
    }

    // A definition of its own on the shipped templates.
    Sequenz* playOwn(std::wstring const& keys) {
        define(L"<MINISPIEL TYPE=\"SEQUENZ\" NAME=\"S\" LSG_TIME=\"300\" TIMER=\"1\" " + keys + L"/>");
        Orvex::seedRandom(kSequenzSeed);
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

// Every element of every sequence the shipped game shows lights up on the screen, the pads that
// light a ring of their own as well as those that light themselves, in the first demonstrations,
// in those after a repeated sequence and in the replays after a wrong click.
TEST_F(SequenzTest, EveryShownElementLightsOnTheScreen) {
    enum class Next { kRepeat, kWrongThenRepeat };
    struct Case {
        char const* what;
        Orvex::u64 seed;
        Next next;
    };
    Case const cases[] = {
        {"repeated", kSequenzSeed, Next::kRepeat},
        {"replayed after a wrong click", kSequenzSeed + 1, Next::kWrongThenRepeat},
        {"another deal", kSequenzSeed + 2, Next::kRepeat},
        {"another deal replayed", kSequenzSeed + 3, Next::kWrongThenRepeat},
    };
    std::vector<bool> seen(4, false);
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        Orvex::seedRandom(c.seed);
        auto* game = play<Sequenz>(L"MINIGAME_16");
        ASSERT_NE(game, nullptr);
        // The board at rest: the help gone, the first element not lit yet.
        ASSERT_EQ(game->getShownIndex(), -1);
        tick(true);
        std::vector<uint32_t> const rest = pixels();
        for (int round = 0; round < 8 && !game->isFinished(false); ++round) {
            std::vector<Step> steps = watchDemonstration(*game, rest);
            ASSERT_TRUE(game->isInputPhase());
            ASSERT_EQ(steps.size(), game->getSequence().size());
            if (c.next == Next::kWrongThenRepeat) {
                clickElement(*game, (game->getSequence()[0] + 1) % 4);
                std::vector<Step> const replay = watchDemonstration(*game, rest);
                ASSERT_EQ(replay.size(), game->getSequence().size());
                steps.insert(steps.end(), replay.begin(), replay.end());
            }
            for (Step const& step : steps) {
                EXPECT_GT(step.share, kLitShare) << "element " << step.element + 1 << " did not light";
                seen[step.element] = true;
            }
            for (unsigned e : game->getSequence()) clickElement(*game, e);
        }
        EXPECT_TRUE(game->isFinished(false));
    }
    EXPECT_EQ(seen, std::vector<bool>(4, true)) << "the cases show every element";
}

// The demonstration waits until the help is off the screen: after OK, and after the game's own
// help button shown in the middle of a demonstration, nothing lights while the help fades, and the
// first step of the new demonstration comes its pause after the help has gone.
TEST_F(SequenzTest, TheDemonstrationWaitsUntilTheHelpHasGone) {
    struct Case {
        char const* what;
        bool fromGameButton;
    };
    Case const cases[] = {{"OK on the first help", false}, {"the game's help button", true}};
    for (Case const& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        Sequenz* game = playOwn(L"MIN_LENGTH=\"3\"");
        ASSERT_NE(game, nullptr);
        if (c.fromGameButton) {
            while (game->getShownIndex() < 1) tick(false);
            clickPart(L"SEQUENZ_HILFE");
            wait(1.0);
        } else {
            // play closed the help already: show it again as activation does.
            ASSERT_NE(begin(L"S"), nullptr);
        }
        int const shown = game->getShownIndex();
        ASSERT_TRUE(manager().isHelpShown());
        click(middleOf(L"MINISPIEL_H_OKButton"));
        int fading = 0;
        while (manager().isHelpOnScreen() && fading < kMaxDemoFrames) {
            EXPECT_EQ(game->getShownIndex(), shown) << "a step while the help fades, frame " << fading;
            tick(false);
            ++fading;
        }
        EXPECT_GT(fading, 5) << "the help fades out";
        Orvex::GUIWindow* help = find(L"MINISPIEL_Hilfemenue");
        ASSERT_NE(help, nullptr);
        EXPECT_FALSE(help->getOptions().visible);
        if (c.fromGameButton) continue;
        // The first step: the pause of two seconds after the help has gone.
        EXPECT_NEAR(framesUntilTheFirstStep(*game), 120, 2);
    }
}

// A wrong click is told: the manager's moveWrong, and the plate turns red until the replay shows
// the sequence's first element again.
TEST_F(SequenzTest, AWrongClickIsToldUntilTheReplay) {
    Sequenz* game = playShipped();
    ASSERT_NE(game, nullptr);
    ASSERT_NE(game->getWrongSign(), nullptr);
    Orvex::FRect const plate = game->getWrongSign()->getScreenRect();
    ASSERT_TRUE(waitForTurn(*game));
    wait(0.5);
    double const calm = redness(pixels(), plate);
    clickElement(*game, (game->getSequence()[0] + 1) % 4);
    EXPECT_EQ(log.count(L"wrong"), 1u);
    wait(0.3);
    keep("sequenz_falsch");
    EXPECT_GT(redness(pixels(), plate), calm + 20.0) << "the plate turns red";
    while (game->getShownIndex() < 0) tick(false);
    wait(0.3);
    EXPECT_LT(redness(pixels(), plate), calm + 5.0) << "the sign is gone when the replay shows";
    EXPECT_FALSE(game->getWrongSign()->getOptions().visible);
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
    EXPECT_EQ(log.count(L"wrong"), 1u);
}

TEST_F(SequenzTest, AWrongFirstClickReplaysAfterOneSecondWithoutSendingTheLightsOut) {
    Sequenz* game = playOwn(L"MIN_LENGTH=\"2\" CHANGE_ANIM_GOAL=\"1\"");
    ASSERT_NE(game, nullptr);
    ASSERT_TRUE(waitForTurn(*game));
    std::vector<unsigned> const sequence = game->getSequence();
    clickElement(*game, (sequence[0] + 1) % 4);
    // A clear step would come first and take a step's time: the first element lights up one
    // second after the click (frames of 1/60 s, give or take one).
    EXPECT_NEAR(framesUntilTheFirstStep(*game), 60, 2);
}

// What the demonstration lights is its own: the player's lit last answer goes out within a step,
// the board is dark for a while before the first step, and so is a window between two steps in a
// row that light it. Every element lights a ring going to "AN" and "AUS" (pads 1 and 2 share one,
// 3 and 4 the other). Turns by the row: the sequence repeated, or a right then a wrong click.
TEST_F(SequenzTest, EachStepLightsOnADarkBoard) {
    // Frames the answer may stay lit, the board is dark before a first step and between repeats.
    constexpr int kAnswerLit = 45, kDarkBeforeFirst = 30, kDarkBeforeAgain = 15;
    int repeatsSeen = 0;
    for (bool const wrongClicks : {false, true}) {
        SCOPED_TRACE(wrongClicks ? "replays after a wrong click" : "new sequences after a repeated one");
        Sequenz* game = playOwn(L"MIN_LENGTH=\"4\" MAX_LENGTH=\"7\" SHOW_ON_IS_CLICK_ON=\"0\" CHANGE_ANIM_GOAL=\"1\"");
        ASSERT_NE(game, nullptr);
        auto const& shows = game->getShowWindows();
        auto const lit = [](Orvex::GUIWindow* w) { return w->getOptions().visible && w->getDrawOptions().alpha > 0.5; };
        for (int round = 0, dark = 0; round < 4 && !game->isFinished(false); ++round, dark = 0) {
            auto const& sequence = game->getSequence();
            for (int i = 0, shown = -1; i < kMaxDemoFrames && !game->isInputPhase(); ++i) {
                int const darkBefore = dark;
                tick(false);
                dark = std::any_of(shows.begin(), shows.end(), lit) ? 0 : dark + 1;
                if (game->getShownIndex() == shown || game->getShownIndex() >= static_cast<int>(sequence.size())) continue;
                shown = game->getShownIndex();
                bool const again = shown > 0 && shows[sequence[shown]] == shows[sequence[shown - 1]];
                repeatsSeen += again;
                EXPECT_TRUE(shown > 0 || (i - darkBefore <= kAnswerLit && darkBefore >= kDarkBeforeFirst)) << i << ", " << darkBefore;
                EXPECT_TRUE(!again || darkBefore >= kDarkBeforeAgain) << "step " << shown << ": " << darkBefore;
            }
            ASSERT_TRUE(game->isInputPhase());
            std::vector<unsigned> const answer = game->getSequence();
            for (std::size_t k = 0; k < answer.size(); ++k) {
                bool const wrong = wrongClicks && round % 2 == 0 && k == 1;
                clickElement(*game, wrong ? (answer[k] + 1) % 4 : answer[k]);
                if (wrong) break;
            }
        }
    }
    EXPECT_GT(repeatsSeen, 0) << "no window was lit in two steps in a row";
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
