// The mini-game base and manager with the game object: the help, the count of the time left, the
// bars and the second skip button, the end delay, skipping, activation, the factory and the
// definition file's top keys. Games defined here use the shipped templates.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindow.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/minigames/ClickInReihenfolge.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/Ring.h"
#include "port/crt/crt.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/minigames/MinigameFixture.h"
#include "tests/support/FilesNamedTwice.h"

namespace {

using Solitaire::ClickInReihenfolge;
using Solitaire::Minispiel;
using Solitaire::MinispielManager;

class MinispielManagerTest : public minigametest::MinigameFixture {
protected:
    // A click-in-order game of one stone: clicking stone 1 solves it.
    static std::wstring oneStone(std::wstring const& keys) {
        return L"<MINISPIEL TYPE=\"CLICKON\" NAME=\"T\" " + keys +
               L"><CAN_CLICK NR=\"0\">\"|1|\"</CAN_CLICK></MINISPIEL>";
    }
    void solve() { click(middleOf(dynamic_cast<ClickInReihenfolge*>(active())->getElements()[0]->getScreenRect())); }
    Orvex::GUIProgressBar* bar() const {
        return manager().getBars().empty() ? nullptr : dynamic_cast<Orvex::GUIProgressBar*>(manager().getBars()[0]);
    }
};

TEST_F(MinispielManagerTest, TheShippedDefinitionsLoadWithoutALogLineAndMakeTheBuiltGames) {
    // The game started again, its log watched from the start.
    TearDown();
    logtest::LogWatch watch;
    SetUp();
    std::vector<std::wstring> ours;
    for (std::wstring const& line : watch.lines())
        if (logtest::contains(line, L"Games\\") || logtest::contains(line, L"Minispiel") ||
            logtest::contains(line, L"MINISPIEL") || logtest::contains(line, L"MINIGAME") ||
            logtest::contains(line, L"Mini-game"))
            ours.push_back(line);
    EXPECT_EQ(ours, std::vector<std::wstring>());
    std::vector<int> const made = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    EXPECT_EQ(manager().getGames().size(), made.size());
    for (int n : made) {
        Minispiel* game = manager().findMinispiel(L"MINIGAME_" + std::to_wstring(n));
        ASSERT_NE(game, nullptr) << n;
        EXPECT_NE(game->getWindow(), nullptr) << n;
        EXPECT_EQ(game->getWindows().size(), 1u) << n;
    }
    EXPECT_EQ(manager().findMinispiel(L"MINIGAME_20"), nullptr);
    // The symbol game's prefix read from the Windows-1252 file.
    EXPECT_EQ(manager().findMinispiel(L"MINIGAME_4")->getPrefix(), L"MS_");
}

TEST_F(MinispielManagerTest, TheHelpIsUpAtOnceAndTheTimeWaitsForOk) {
    define(oneStone(L"LSG_TIME=\"30\""));
    begin(L"T");
    EXPECT_TRUE(manager().isHelpShown());
    Orvex::GUIWindow* help = find(L"MINISPIEL_Hilfemenue");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->getOptions().visible);
    wait(2.0);
    EXPECT_EQ(active()->getSolutionTimeLeft(), 30.0);
    closeHelp();
    EXPECT_FALSE(manager().isHelpShown());
    wait(1.0);
    EXPECT_NEAR(active()->getSolutionTimeLeft(), 30.0 - 1.0 - (kSettleFrames + 4) * kStep, 0.05);
    // The help button opens the help again and the time stops.
    clickPart(L"CLICKON_HILFE");
    EXPECT_TRUE(manager().isHelpShown());
    double const left = active()->getSolutionTimeLeft();
    wait(1.0);
    EXPECT_EQ(active()->getSolutionTimeLeft(), left);
}

TEST_F(MinispielManagerTest, SkippingFromTheHelpEndsTheGameSkippedAndDeactivatesIt) {
    define(oneStone(L""));
    begin(L"T");
    skipFromHelp();
    EXPECT_EQ(log.count(L"ended"), 1u);
    expectSkipped();
    EXPECT_EQ(active(), nullptr);
    EXPECT_FALSE(manager().isGameActive());
    // The game flow lets the game go as it ends.
    EXPECT_EQ(log.count(L"inactive"), 1u);
}

TEST_F(MinispielManagerTest, RunOutTheBarShowsZeroAndTheSecondSkipButtonTakesItsPlace) {
    std::wstring const offsets = L"SKIP_OFF_REL_X=\"1 64\" SKIP_OFF_REL_Y=\"0\" SKIP_OFF_OFF_X=\"3\" "
                                 L"SKIP_OFF_OFF_Y=\"-2\" USE_SKIP_BAR_REL=\"1\"";
    define(oneStone(L"LSG_TIME=\"10\" TIMER=\"0.5\""), offsets);
    begin(L"T");
    closeHelp();
    ASSERT_NE(bar(), nullptr);
    EXPECT_EQ(bar()->getMax(), 10.0f);
    wait(10.0);
    keep("minispiel_zeit_um");
    EXPECT_EQ(active()->getSolutionTimeLeft(), 0.0);
    EXPECT_EQ(bar()->getValue(), 0.0f);
    EXPECT_EQ(bar()->getLabel()->getText(), L"0 s");
    EXPECT_FALSE(bar()->getOptions().visible);
    Orvex::GUIWindow* skip = manager().getSecondSkipButton();
    ASSERT_NE(skip, nullptr);
    EXPECT_EQ(skip->getParent(), bar()->getParent());
    EXPECT_TRUE(skip->getOptions().visible);
    Orvex::GUIRectAxis const& at = bar()->getRect().getParamsX();
    Orvex::GUIRectAxis const& place = skip->getRect().getParamsX();
    EXPECT_FLOAT_EQ(place.relX, at.relX + 1.0f / 64.0f);
    EXPECT_FLOAT_EQ(place.offX, at.offX + 3.0f);
    EXPECT_FLOAT_EQ(place.offY, at.offY - 2.0f);
    // The game goes on and can still be won, with nothing left of the time.
    solve();
    waitForTheEnd(*manager().findMinispiel(L"T"));
    ASSERT_EQ(log.ends.size(), 1u);
    EXPECT_EQ(log.ends[0].first, 0.0f);
    EXPECT_FALSE(log.ends[0].second);
}

TEST_F(MinispielManagerTest, ASolvedGameReportsInTheFirstFramePastItsEndDelayWithTheTimeLeftThen) {
    define(oneStone(L"LSG_TIME=\"20\" TIMER=\"1\""));
    begin(L"T");
    closeHelp();
    solve();
    Minispiel* game = active();
    ASSERT_TRUE(game->isFinished(false));
    double const left = game->getSolutionTimeLeft();
    for (int frame = 1; frame <= 3; ++frame) {
        step(0.3);
        EXPECT_EQ(log.count(L"ended"), 0u) << frame;
        EXPECT_EQ(game->getSolutionTimeLeft(), left) << "the time stops while the end delay runs";
    }
    step(0.3);
    ASSERT_EQ(log.ends.size(), 1u);
    EXPECT_FLOAT_EQ(log.ends[0].first, static_cast<float>(left / 20.0));
    EXPECT_EQ(active(), nullptr);
}

// Where the plain rules would go wrong: a limit of 0 would report 0 / 0, an end delay of 0 would
// never report.
struct TimeCase {
    wchar_t const* keys;
    float ratio;
};
void PrintTo(TimeCase const& c, std::ostream* out) { *out << minigametest::narrow(c.keys); }

class MinispielTimeTest : public MinispielManagerTest, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(MinispielTimeTest, ASolvedGameReportsOnceWithAUsableRatio) {
    define(oneStone(GetParam().keys));
    begin(L"T");
    closeHelp();
    solve();
    ticks(2);
    ASSERT_EQ(log.ends.size(), 1u);
    if (GetParam().ratio == 0.0f)
        EXPECT_EQ(log.ends[0].first, 0.0f);
    else
        EXPECT_GT(log.ends[0].first, GetParam().ratio);
    ticks(10);
    EXPECT_EQ(log.ends.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Limits, MinispielTimeTest,
                         ::testing::Values(TimeCase{L"LSG_TIME=\"0\" TIMER=\"0\"", 0.0f},
                                           TimeCase{L"LSG_TIME=\"60\" TIMER=\"0\"", 0.9f},
                                           TimeCase{L"LSG_TIME=\"60\" TIMER=\"-3\"", 0.9f}));

TEST_F(MinispielManagerTest, AGameReachedAgainAfterItEndedIsANewAttempt) {
    define(oneStone(L"LSG_TIME=\"30\""));
    begin(L"T");
    closeHelp();
    solve();
    waitForTheEnd(*manager().findMinispiel(L"T"));
    ASSERT_EQ(active(), nullptr);
    Minispiel* game = begin(L"T");
    ASSERT_NE(game, nullptr);
    EXPECT_FALSE(game->isFinished(false));
    EXPECT_FALSE(game->isFinished(true));
    EXPECT_EQ(game->getSolutionTimeLeft(), 30.0);
    closeHelp();
    tick();
    EXPECT_EQ(active(), game);
    solve();
    waitForTheEnd(*game);
    EXPECT_EQ(log.ends.size(), 2u);
}

TEST_F(MinispielManagerTest, ASecondInitReplacesTheBarsInsteadOfAddingThem) {
    define(oneStone(L""));
    Minispiel* game = manager().findMinispiel(L"T");
    ASSERT_EQ(game->getWindows().size(), 1u);
    Orvex::GUIWindow* parent = game->getWindows()[0]->getParent();
    ASSERT_NE(parent, nullptr);
    std::size_t const children = parent->getChildren().size();
    game->init();
    EXPECT_EQ(game->getWindows().size(), 1u);
    EXPECT_EQ(parent->getChildren().size(), children);
}

TEST_F(MinispielManagerTest, DeactivatingHidesTheGameAndEmptiesTheBars) {
    define(oneStone(L""));
    Minispiel* game = begin(L"T");
    closeHelp();
    EXPECT_EQ(manager().getBars().size(), 1u);
    manager().setActiveMinispiel(nullptr);
    EXPECT_TRUE(manager().getBars().empty());
    EXPECT_EQ(log.lines.back(), L"inactive");
    ticks(kSettleFrames);
    EXPECT_FALSE(game->getWindow()->getOptions().visible);
}

// The manager hears the pointer once and passes it to the active game alone: two ring games lie on
// the same place of the game screen, a drag turns the active one's ring and leaves the other's as
// it was, and once the game flow has deactivated every game a drag turns none.
TEST_F(MinispielManagerTest, OnlyTheActiveGameHearsThePointer) {
    using Solitaire::Ring;
    std::wstring const rings = L"<OBJEKT RADIUS=\"0 64\" ANIMATION=\"MG_RING_1\"/>"
                               L"<OBJEKT RADIUS=\"64 128\" ANIMATION=\"MG_RING_2\" ROTIERBAR=\"0\"/>";
    define(L"<MINISPIEL TYPE=\"RING\" NAME=\"A\">" + rings + L"</MINISPIEL><MINISPIEL TYPE=\"RING\" NAME=\"B\">" +
           rings + L"</MINISPIEL>");
    auto* a = dynamic_cast<Ring*>(manager().findMinispiel(L"A"));
    auto* b = dynamic_cast<Ring*>(manager().findMinispiel(L"B"));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    // A quarter turn through the inner ring around the active playfield's centre.
    auto const turn = [&](Ring& shown) {
        D3DXVECTOR2 const c = middleOf(shown.getPlayfield()->getScreenRect());
        float const r = shown.screenRadius(32.0f);
        drag(c + D3DXVECTOR2(r, 0.0f), c + D3DXVECTOR2(0.0f, r));
    };
    auto const angleOf = [](Ring& game) { return game.getRings()[0]->angle; };

    ASSERT_EQ(play<Ring>(L"A"), a);
    float const aBefore = angleOf(*a);
    float const bBefore = angleOf(*b);
    turn(*a);
    EXPECT_NE(angleOf(*a), aBefore);
    EXPECT_EQ(angleOf(*b), bBefore);

    ASSERT_EQ(play<Ring>(L"B"), b);
    float const aAfter = angleOf(*a);
    float const bStart = angleOf(*b);
    turn(*b);
    EXPECT_EQ(angleOf(*a), aAfter);
    EXPECT_NE(angleOf(*b), bStart);

    manager().setActiveMinispiel(nullptr);
    float const aLast = angleOf(*a);
    float const bLast = angleOf(*b);
    turn(*b);
    EXPECT_EQ(angleOf(*a), aLast);
    EXPECT_EQ(angleOf(*b), bLast);
}

TEST_F(MinispielManagerTest, TheFactoryMakesAllTwentyKinds) {
    std::vector<MinispielManager::Kind> const& kinds = MinispielManager::kinds();
    ASSERT_EQ(kinds.size(), 20u);
    for (MinispielManager::Kind const& kind : kinds) {
        Orvex::XMLNode element(L"MINISPIEL");
        element.setAttribute(L"TYPE", kind.keyword);
        element.setAttribute(L"NAME", L"K");
        Minispiel* game = manager().createMinispiel(element);
        EXPECT_NE(game, nullptr) << std::wstring(kind.keyword);
        if (game) game->release();
    }
    for (wchar_t const* type : {L"", L"zuordnen", L"MEMORY2"}) {
        Orvex::XMLNode element(L"MINISPIEL");
        if (*type) element.setAttribute(L"TYPE", type);
        logtest::LogWatch watch;
        EXPECT_EQ(manager().createMinispiel(element), nullptr);
        EXPECT_EQ(watch.lines().size(), 1u) << std::wstring(type);
    }
}

// The skip offsets: "a b" is a / b; a divisor of 0 or a number that is not finite keeps the
// default with one log line naming the file.
struct OffsetCase {
    wchar_t const* text;
    float value;
    std::size_t logLines;
};
void PrintTo(OffsetCase const& c, std::ostream* out) { *out << '"' << minigametest::narrow(c.text) << '"'; }

class SkipOffsetTest : public MinispielManagerTest, public ::testing::WithParamInterface<OffsetCase> {};

TEST_P(SkipOffsetTest, IsReadByTheNumberRule) {
    logtest::LogWatch watch;
    define(L"", std::wstring(L"SKIP_OFF_REL_X=\"") + GetParam().text + L"\"");
    EXPECT_FLOAT_EQ(manager().getSkipOffset(0), GetParam().value);
    std::vector<std::wstring> const lines = watch.lines();
    ASSERT_EQ(lines.size(), GetParam().logLines);
    if (!lines.empty()) EXPECT_TRUE(logtest::contains(lines[0], L"test.min"));
}

INSTANTIATE_TEST_SUITE_P(Values, SkipOffsetTest,
                         ::testing::Values(OffsetCase{L"0.25", 0.25f, 0}, OffsetCase{L"1 2", 0.5f, 0},
                                           OffsetCase{L"  3   4 ", 0.75f, 0}, OffsetCase{L"1 0", 0.0f, 1},
                                           OffsetCase{L"1e300", 0.0f, 1}, OffsetCase{L"nan", 0.0f, 1},
                                           OffsetCase{L"", 0.0f, 0}));

TEST_F(MinispielManagerTest, TheOrderIsShuffledByTheDealsGeneratorAndFoundFirstInIt) {
    std::wstring games;
    for (int i = 0; i < 6; ++i) {
        std::wstring game = oneStone(L"");
        games += game.replace(game.find(L"\"T\""), 3, L"\"G" + std::to_wstring(i) + L"\"");
    }
    games += oneStone(L"HILFE_ID=\"ZWEITES\"");
    games += oneStone(L"HILFE_ID=\"DRITTES\"");
    define(games);
    auto order = [&] {
        std::wstring names;
        for (Minispiel* game : manager().getGames()) names += game->getName() + L",";
        return names;
    };
    msvc::srand(7);
    manager().shuffleOrder();
    std::wstring const first = order();
    define(games);
    msvc::srand(7);
    manager().shuffleOrder();
    EXPECT_EQ(order(), first);
    // Of the two games named "T", the one first in the order is found.
    for (Minispiel* game : manager().getGames())
        if (game->getName() == L"T") {
            EXPECT_EQ(manager().findMinispiel(L"T"), game);
            break;
        }
}

}  // namespace

namespace {

// A game whose templates are missing (a prefix no template has) shows nothing but can still be
// made active and skipped.
class MissingTemplatesTest : public minigametest::MinigameFixture,
                             public ::testing::WithParamInterface<wchar_t const*> {};

TEST_P(MissingTemplatesTest, TheGameCanStillBeSkipped) {
    define(std::wstring(L"<MINISPIEL TYPE=\"") + GetParam() + L"\" NAME=\"M\" PR\u00C4FIX=\"NIX_\"/>");
    Minispiel* game = begin(L"M");
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->getWindow(), nullptr);
    EXPECT_TRUE(game->getWindows().empty());
    ticks(10, true);
    skipFromHelp();
    expectSkipped();
    EXPECT_EQ(active(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Kinds, MissingTemplatesTest,
                         ::testing::Values(L"ZUORDNEN", L"ZUORDNEN2", L"RICHTIGES_SYMBOL", L"RICHTIGER_PFAD",
                                           L"OBJEKT_KLICKEN", L"UNTERSCHIEDE", L"CLICKON"));

}  // namespace

namespace {

// The definition file's lists read each file once, under whichever spelling: an animation list
// through the registry (once, where each mention read it again), a text file once. 63 KB of
// repeated mentions added 2 million animations before.
TEST_F(MinispielManagerTest, FilesNamedAgainAreReadOnce) {
    testsupport::FilesNamedTwice const files("minigames_twice");
    Orvex::Texture2DAnimationManager& registry = Orvex::Texture2DAnimationManager::instance();
    std::size_t const before = registry.getAnimations().size();
    logtest::LogWatch watch;
    std::wstring mentions;
    for (std::wstring const* name : {&files.list, &files.listAgain, &files.list})
        mentions += L"<ANIMATIONEN FILE=\"" + *name + L"\"/>";
    for (std::wstring const* name : {&files.texts, &files.textsAgain, &files.texts})
        mentions += L"<TEXTE FILE=\"" + *name + L"\"/>";
    define(mentions);
    EXPECT_EQ(registry.getAnimations().size(), before);  // unnamed: left out
    EXPECT_EQ(testsupport::FilesNamedTwice::listReadings(watch.lines()), 1u);
    EXPECT_EQ(testsupport::FilesNamedTwice::textReadings(watch.lines()), 1u);
    define(mentions);  // a second definition file: the list was read already
    EXPECT_EQ(testsupport::FilesNamedTwice::listReadings(watch.lines()), 1u);
}

}  // namespace
