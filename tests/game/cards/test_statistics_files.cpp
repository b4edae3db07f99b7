// The statistics in profile files: a saved set reads back equal, broken attributes keep the
// counters they would have spoilt, and a save that fails or is cut short leaves a whole file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/core/XMLNode.h"
#include "game/cards/StatistikManager.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/cards/ProfileFiles.h"
#include "tests/support/FullDisk.h"

using namespace Solitaire;
using Orvex::u32;
using Orvex::XMLNode;

namespace {

// A set with every counter different, the largest and fractional values among them.
void fill(StatistikManager& registry, u32 seed) {
    registry.addMouseDistance(4294967295u - seed);
    for (u32 i = 0; i < 2 + seed % 3; ++i) registry.countClick();
    registry.countDoubleClick();
    for (u32 i = 0; i < 3; ++i) registry.countFailedDoubleClick();
    registry.countStarted();
    registry.countWon();
    registry.countEnded();
    registry.addUndos(123456789u + seed);
    registry.addTime(7264.123456789 + seed);
    registry.countHint();
    registry.countMix();
    registry.addMoved(98765u);
    registry.countCombo();
    registry.updateMaxCombo(17);
    registry.countComboStep();
}

void expectEqualCounts(Statistik const& a, Statistik const& b) {
    for (int i = 0; i < Statistik::kCounterCount; ++i)
        EXPECT_EQ(a.get(static_cast<StatistikCounter>(i)), b.get(static_cast<StatistikCounter>(i)))
            << Statistik::counterKey(static_cast<StatistikCounter>(i));
    EXPECT_EQ(a.getTime(), b.getTime());
}

TEST(StatistikFileTest, ASavedProfileReadsBackEveryValue) {
    StatistikManager registry;
    fill(registry, 0);
    XMLNode profile = cardstest::makeProfile();
    registry.writeProfileStatistik(cardstest::profilePart(profile, L"STATISTIK"));
    XMLNode loaded;
    ASSERT_TRUE(cardstest::saveAndLoad(profile, "stats_round", loaded));
    StatistikManager again;
    again.resetProfileStatistik();
    again.readProfileStatistik(cardstest::profilePart(loaded, L"STATISTIK"));
    expectEqualCounts(*again.getProfileStatistik(), *registry.getProfileStatistik());
    EXPECT_TRUE(loaded.equals(profile));
}

TEST(StatistikFileTest, WritingTwiceLeavesOneSetAndTheRestOfTheProfile) {
    // Reading takes the first child: a second write that appended would be read as the old one.
    StatistikManager registry;
    XMLNode profile = cardstest::makeProfile();
    XMLNode& stored = cardstest::profilePart(profile, L"STATISTIK");
    stored.addChild(L"NOTIZ");
    registry.writeProfileStatistik(stored);
    registry.countClick();
    registry.writeProfileStatistik(stored);
    EXPECT_EQ(stored.getChildCount(L"STATISTIK"), 1u);
    EXPECT_EQ(stored.getChildCount(L"NOTIZ"), 1u);
    StatistikManager again;
    again.readProfileStatistik(stored);
    EXPECT_EQ(again.getProfileStatistik()->get(StatistikCounter::Clicks), 1u);
}

TEST(StatistikFileTest, BrokenAttributesKeepTheirCounters) {
    struct Row {
        wchar_t const* key;
        wchar_t const* text;
    } const rows[] = {
        {L"CLICK", L"viele"},       {L"CLICK", L""},           {L"CLICK", L"-1"},
        {L"CLICK", L"4294967296"},  {L"MOVED", L"99999999999999999999"}, {L"UNDOS", L"2.5"},
        {L"MAX_COMBO", L"0x10"},    {L"TIME", L"nan"},         {L"TIME", L"inf"},
        {L"TIME", L"-3"},           {L"TIME", L"1e999"},       {L"TIME", L"12 Minuten"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(testing::Message() << std::string(row.key, row.key + wcslen(row.key)) << "="
                                        << std::string(row.text, row.text + wcslen(row.text)));
        Statistik set(std::wstring(L"S"));
        XMLNode good(L"STATISTIK");
        for (int i = 0; i < Statistik::kCounterCount; ++i)
            good.setAttribute(Statistik::counterKey(static_cast<StatistikCounter>(i)), std::to_wstring(10 + i));
        good.setAttribute(L"TIME", L"99.5");
        set.readCounters(good);
        Statistik const before = set;

        XMLNode bad(L"STATISTIK");
        bad.setAttribute(row.key, row.text);
        bad.setAttribute(L"WON", L"77");  // a good attribute beside the bad one still reads
        logtest::LogWatch log;
        set.readCounters(bad);
        ASSERT_EQ(log.errors().size(), 1u);
        EXPECT_TRUE(logtest::contains(log.errors()[0], row.key));
        EXPECT_EQ(set.get(StatistikCounter::Won), 77u);
        for (int i = 0; i < Statistik::kCounterCount; ++i) {
            auto const counter = static_cast<StatistikCounter>(i);
            if (counter != StatistikCounter::Won) {
                EXPECT_EQ(set.get(counter), before.get(counter));
            }
        }
        EXPECT_EQ(set.getTime(), 99.5);
    }
}

TEST(StatistikFileTest, AProfileWithoutASetLeavesTheResetOne) {
    StatistikManager registry;
    registry.countClick();
    registry.resetProfileStatistik();
    XMLNode profile = cardstest::makeProfile();
    registry.readProfileStatistik(cardstest::profilePart(profile, L"STATISTIK"));
    EXPECT_EQ(registry.getProfileStatistik()->get(StatistikCounter::Clicks), 0u);
}

TEST(StatistikFileTest, AFailedSaveLogsAndLeavesTheOldFile) {
    StatistikManager registry;
    fill(registry, 1);
    XMLNode old = cardstest::makeProfile();
    registry.writeProfileStatistik(cardstest::profilePart(old, L"STATISTIK"));
    auto const dir = testsupport::makeTempDir("stats_failed");
    auto const file = dir / "profile.prf";
    ASSERT_TRUE(old.save(cardstest::hostFile(file), true));

    registry.countClick();
    XMLNode newer = cardstest::makeProfile();
    registry.writeProfileStatistik(cardstest::profilePart(newer, L"STATISTIK"));
    logtest::LogWatch log;
    // No room for the file beside it.
    testsupport::withRoom(1, [&] { EXPECT_FALSE(newer.save(cardstest::hostFile(file), true)); });
    EXPECT_EQ(log.errors().size(), 1u);
    XMLNode loaded;
    ASSERT_TRUE(loaded.load(cardstest::hostFile(file), 1));
    EXPECT_TRUE(loaded.equals(old));
}

TEST(StatistikFileTest, ASaveKilledMidwayLeavesTheOldOrTheNewFile) {
    // A child saves two versions in turn until it is killed; whatever it left must read whole.
    XMLNode versions[2];
    for (u32 v = 0; v < 2; ++v) {
        StatistikManager registry;
        fill(registry, v + 1);
        versions[v] = cardstest::makeProfile();
        registry.writeProfileStatistik(cardstest::profilePart(versions[v], L"STATISTIK"));
        // Bulk, so a save takes long enough to be cut.
        XMLNode& data = cardstest::profilePart(versions[v], L"PROFILE_DATA");
        for (int i = 0; i < 2000; ++i) data.addChild(L"VARIANT_DATA")->setAttribute(L"N", std::to_wstring(i * (v + 1)));
    }
    auto const file = testsupport::makeTempDir("stats_killed") / "profile.prf";
    std::wstring const path = cardstest::hostFile(file);
    ASSERT_TRUE(versions[0].save(path, true));

    for (int round = 0; round < 12; ++round) {
        pid_t const child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (u32 i = 0;; ++i) versions[(i + static_cast<u32>(round)) % 2].save(path, true);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + 7 * round));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        XMLNode loaded;
        ASSERT_TRUE(loaded.load(path, 1));
        EXPECT_TRUE(loaded.equals(versions[0]) || loaded.equals(versions[1])) << "round " << round;
        StatistikManager registry;
        registry.readProfileStatistik(cardstest::profilePart(loaded, L"STATISTIK"));
        u32 const clicks = registry.getProfileStatistik()->get(StatistikCounter::Clicks);
        EXPECT_TRUE(clicks == 3 || clicks == 4) << clicks;
    }
}

}  // namespace
