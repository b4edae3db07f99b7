// Counting into the active statistics sets: which sets a count reaches between and during
// games, one set per name, the references the registry holds, and counters that must never
// fall, wrap or stop.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "game/cards/StatistikManager.h"
#include "tests/engine/core/LogWatch.h"

using namespace Solitaire;
using Orvex::u32;

namespace {

constexpr u32 kMax = std::numeric_limits<u32>::max();

std::vector<std::wstring> activeNames(StatistikManager const& registry) {
    std::vector<std::wstring> names;
    for (Statistik const* set : registry.getActive()) names.push_back(set->getName());
    return names;
}

// Counts how often a set is destroyed.
struct DestroyCounter : sigslot::has_slots<> {
    int destroyed = 0;
    void watch(Statistik* set) { set->signalDestroyed.connect(this, &DestroyCounter::onDestroyed); }
    void onDestroyed(Orvex::NamedObject*) { ++destroyed; }
};

// A game started as the catalogue starts one: the game's set made, the variant's stored set
// added (or a new one made), the start counted in all of them.
struct RunningGame {
    StatistikManager& registry;
    Statistik* variantSet;
    void start() {
        registry.remove(L"STATS");
        registry.create(L"STATS");
        if (variantSet) registry.add(variantSet);
        else registry.create(L"VAR_STATS");
        registry.countStarted();
    }
    void end(bool won) {
        if (won) registry.countWon();
        else registry.countEnded();
        registry.remove(L"STATS");
        registry.remove(variantSet ? variantSet->getName() : L"VAR_STATS");
    }
};

TEST(StatistikManagerTest, ClicksReachTheSetsThatAreActive) {
    StatistikManager registry;
    auto* stored = new Statistik(std::wstring(L"KLONDIKE_STATS"));
    RunningGame game{registry, stored};

    registry.countClick();  // between games
    EXPECT_EQ(activeNames(registry), std::vector<std::wstring>{L"DEFAULT"});

    game.start();
    EXPECT_EQ(activeNames(registry), (std::vector<std::wstring>{L"DEFAULT", L"STATS", L"KLONDIKE_STATS"}));
    Statistik* gameSet = registry.find(L"STATS");
    gameSet->addRef();  // kept past the game, as a highscore entry keeps it
    registry.countClick();
    registry.countClick();
    game.end(true);
    registry.countClick();  // between games again

    struct Row {
        Statistik const* set;
        u32 clicks, started, won;
    } const rows[] = {
        {registry.getProfileStatistik(), 4, 1, 1},
        {gameSet, 2, 1, 1},
        {stored, 2, 1, 1},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.set->getName());
        EXPECT_EQ(row.set->get(StatistikCounter::Clicks), row.clicks);
        EXPECT_EQ(row.set->get(StatistikCounter::Started), row.started);
        EXPECT_EQ(row.set->get(StatistikCounter::Won), row.won);
        EXPECT_EQ(row.set->get(StatistikCounter::Ended), 0u);
    }
    EXPECT_EQ(activeNames(registry), std::vector<std::wstring>{L"DEFAULT"});
    gameSet->release();
    stored->release();
}

TEST(StatistikManagerTest, EveryCountReachesEveryActiveSet) {
    StatistikManager registry;
    registry.create(L"STATS");
    registry.create(L"VAR_STATS");
    registry.addMouseDistance(250);
    registry.countClick();
    registry.countDoubleClick();
    registry.countFailedDoubleClick();
    registry.countStarted();
    registry.countWon();
    registry.countEnded();
    registry.addUndos(3);
    registry.addTime(1.5);
    registry.countHint();
    registry.countMix();
    registry.addMoved(4);
    registry.countCombo();
    registry.updateMaxCombo(6);
    registry.countComboStep();
    registry.updateMaxFactor(2.5f);
    u32 const expected[Statistik::kCounterCount] = {250, 1, 1, 1, 1, 1, 1, 3, 1, 4, 1, 6, 1, 1};
    for (Statistik const* set : registry.getActive()) {
        SCOPED_TRACE(set->getName());
        for (int i = 0; i < Statistik::kCounterCount; ++i)
            EXPECT_EQ(set->get(static_cast<StatistikCounter>(i)), expected[i])
                << Statistik::counterKey(static_cast<StatistikCounter>(i));
        EXPECT_DOUBLE_EQ(set->getTime(), 1.5);
        EXPECT_FLOAT_EQ(set->getMaxFactor(), 2.5f);
    }
}

TEST(StatistikManagerTest, NoTwoActiveSetsShareAName) {
    StatistikManager registry;
    DestroyCounter counter;
    Statistik* first = registry.create(L"STATS");
    counter.watch(first);
    Statistik* second = registry.create(L"STATS");  // replaces and frees the first
    EXPECT_EQ(counter.destroyed, 1);
    auto* stored = new Statistik(std::wstring(L"STATS"));
    counter.watch(second);
    ASSERT_TRUE(registry.add(stored));  // replaces the second
    EXPECT_EQ(counter.destroyed, 2);
    EXPECT_EQ(activeNames(registry), (std::vector<std::wstring>{L"DEFAULT", L"STATS"}));
    EXPECT_EQ(registry.find(L"STATS"), stored);
    stored->release();  // the registry holds its own reference
    registry.countClick();
    EXPECT_EQ(stored->get(StatistikCounter::Clicks), 1u);
}

TEST(StatistikManagerTest, AddingTheActiveSetAgainKeepsItAlive) {
    // The registry's removal of the same-named set released the very set being added: with no
    // other holder it was freed and then appended.
    StatistikManager registry;
    DestroyCounter counter;
    Statistik* made = registry.create(L"VAR_STATS");  // held by the registry alone
    counter.watch(made);
    ASSERT_TRUE(registry.add(made));
    ASSERT_TRUE(registry.add(made));
    EXPECT_EQ(counter.destroyed, 0);
    EXPECT_EQ(made->getRefCount(), 1);
    registry.countMix();
    EXPECT_EQ(made->get(StatistikCounter::Mixes), 1u);
    registry.remove(L"VAR_STATS");
    EXPECT_EQ(counter.destroyed, 1);
}

TEST(StatistikManagerTest, TheProfileSetCannotBeReplacedOrRemoved) {
    StatistikManager registry;
    Statistik* profile = registry.getProfileStatistik();
    auto* impostor = new Statistik(std::wstring(L"DEFAULT"));
    logtest::LogWatch log;
    EXPECT_EQ(registry.create(L"DEFAULT"), nullptr);
    EXPECT_FALSE(registry.add(impostor));
    registry.remove(L"DEFAULT");
    EXPECT_EQ(log.errors().size(), 2u);
    EXPECT_EQ(registry.getActive(), std::vector<Statistik*>{profile});
    registry.countClick();
    EXPECT_EQ(profile->get(StatistikCounter::Clicks), 1u);
    impostor->release();
}

TEST(StatistikManagerTest, AProfileNodeCannotRenameTheProfileSet) {
    // A stored set named "STATS" used to rename the profile-wide set; the next game's create
    // ("STATS") then freed it while the registry kept pointing at it.
    StatistikManager registry;
    Orvex::XMLNode stored(L"STATISTIK");
    stored.addChild(L"STATISTIK")->setAttribute(L"NAME", L"STATS");
    stored.getChild(L"STATISTIK")->setAttribute(L"CLICK", L"7");
    registry.resetProfileStatistik();
    registry.readProfileStatistik(stored);
    registry.create(L"STATS");
    registry.countClick();
    EXPECT_EQ(registry.getProfileStatistik()->getName(), L"DEFAULT");
    EXPECT_EQ(registry.getProfileStatistik()->get(StatistikCounter::Clicks), 8u);
}

TEST(StatistikManagerTest, ResettingTheProfileReleasesEverySet) {
    StatistikManager registry;
    DestroyCounter counter;
    counter.watch(registry.getProfileStatistik());
    counter.watch(registry.create(L"STATS"));
    registry.countClick();
    registry.resetProfileStatistik();
    EXPECT_EQ(counter.destroyed, 2);
    EXPECT_EQ(activeNames(registry), std::vector<std::wstring>{L"DEFAULT"});
    EXPECT_EQ(registry.getProfileStatistik()->get(StatistikCounter::Clicks), 0u);
}

TEST(StatistikTest, TheLongestComboNeverFalls) {
    struct Row {
        std::vector<u32> combos;
        u32 longest;
    } const rows[] = {
        {{}, 0}, {{3}, 3}, {{5, 2}, 5}, {{2, 9, 4, 9, 1}, 9}, {{kMax, 0}, kMax},
    };
    for (Row const& row : rows) {
        Statistik set(std::wstring(L"S"));
        for (u32 const combo : row.combos) set.updateMaxCombo(combo);
        EXPECT_EQ(set.get(StatistikCounter::MaxCombo), row.longest);
    }
}

TEST(StatistikTest, CountersStopAtTheTopInsteadOfWrapping) {
    Statistik set(std::wstring(L"S"));
    Orvex::XMLNode node(L"STATISTIK");
    node.setAttribute(L"MOUSE_KM", L"4294967290");
    node.setAttribute(L"CLICK", L"4294967295");
    node.setAttribute(L"UNDOS", L"4294967000");
    set.readCounters(node);
    set.addMouseDistance(100);
    set.countClick();
    set.addUndos(kMax);
    EXPECT_EQ(set.get(StatistikCounter::MouseDistance), kMax);
    EXPECT_EQ(set.get(StatistikCounter::Clicks), kMax);
    EXPECT_EQ(set.get(StatistikCounter::Undos), kMax);
}

TEST(StatistikTest, PlayTimeKeepsGrowingAfterLongPlayAndIgnoresBrokenSteps) {
    // A float total of 200 hours no longer moves by a 60 Hz frame step.
    Statistik set(std::wstring(L"S"));
    set.addTime(200.0 * 3600.0);
    for (int frame = 0; frame < 60; ++frame) set.addTime(1.0 / 60.0);
    EXPECT_NEAR(set.getTime(), 200.0 * 3600.0 + 1.0, 1e-6);

    double const before = set.getTime();
    for (double const step : {std::nan(""), std::numeric_limits<double>::infinity(), -5.0, 0.0}) set.addTime(step);
    EXPECT_EQ(set.getTime(), before);
}

TEST(StatistikTest, TheLargestFactorIsNeverWrittenAndReadsBackAsOne) {
    Statistik set(std::wstring(L"S"));
    set.updateMaxFactor(3.0f);
    set.updateMaxFactor(std::nanf(""));
    set.updateMaxFactor(2.0f);
    EXPECT_FLOAT_EQ(set.getMaxFactor(), 3.0f);
    Orvex::XMLNode node(L"STATISTIK");
    set.writeXML(node);
    Statistik read(node);
    EXPECT_FLOAT_EQ(read.getMaxFactor(), 1.0f);
    set.reset();
    EXPECT_FLOAT_EQ(set.getMaxFactor(), 1.0f);
}

}  // namespace
