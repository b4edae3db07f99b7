// Achievements: medals at their thresholds and the signals they give, lookup by alias, counting,
// duplicate names, resets, and the game's own definition file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "engine/core/XMLNode.h"
#include "engine/gui/LanguageManager.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/cards/AchivementDefinitions.h"
#include "tests/game/cards/ProfileFiles.h"

using namespace Solitaire;

namespace {

using Medals = std::vector<int>;

TEST(AchivementTest, MedalSignalsFollowTheThresholds) {
    struct Row {
        wchar_t const* attributes;
        std::vector<float> values;
        Medals signals;
        int finalMedal;
        std::size_t errorLines = 0;
    } const rows[] = {
        // Two goals: silver and gold share the second, so 10 jumps to gold in one signal.
        {LR"(GOALS="5 10" UNLOCKED="1")", {10}, {3}, 3},
        {LR"(GOALS="5 10" UNLOCKED="1")", {5, 9, 10}, {1, 3}, 3},
        {LR"(GOALS="5 10 20" UNLOCKED="1")", {4, 5, 19, 25, 3}, {1, 2, 3, 0}, 0},
        {LR"(GOALS="7" UNLOCKED="1")", {6.9f, 7}, {3}, 3},
        {LR"(GOALS="1 2 3 4" UNLOCKED="1")", {3}, {3}, 3},
        // Locked: no medal whatever the value.
        {LR"(GOALS="5 10")", {100}, {}, 0},
        // No goals: a threshold of 0 is no medal (it was gold at 0).
        {LR"(UNLOCKED="1")", {0, 1, 1000}, {}, 0},
        {LR"(GOALS="0 5 10" UNLOCKED="1")", {0, 5}, {2}, 2},
        {LR"(GOALS="-5 10" UNLOCKED="1")", {0, 10}, {3}, 3},
        // Broken goals: one log line; a piece that is no number reads as 0, falling goals rise.
        {LR"(GOALS="abc 5" UNLOCKED="1")", {5}, {3}, 3, 1},
        {LR"(GOALS="nan 5 inf" UNLOCKED="1")", {4, 5}, {3}, 3, 1},
        {LR"(GOALS="10 5 1" UNLOCKED="1")", {1, 5}, {1, 2}, 2, 1},
    };
    for (Row const& row : rows) {
        std::wstring const text = L"<A><ACHIVEMENT NAME=\"X\" " + std::wstring(row.attributes) + L"/></A>";
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        AchivementManager registry;
        logtest::LogWatch log;
        cardstest::loadDefinitions(registry, text);
        EXPECT_EQ(log.errors().size(), row.errorLines);
        cardstest::MedalRecorder recorder;
        recorder.watch(registry);
        Achivement* achivement = registry.find(L"X");
        ASSERT_NE(achivement, nullptr);
        for (float const value : row.values) achivement->setValue(value);
        Medals got;
        for (auto const& [name, medal] : recorder.medals) got.push_back(medal);
        EXPECT_EQ(got, row.signals);
        EXPECT_EQ(achivement->getMedal(), row.finalMedal);
    }
}

TEST(AchivementTest, ProgressToTheNextMedal) {
    struct Row {
        wchar_t const* attributes;
        float value;
        float percent;
    } const rows[] = {
        {LR"(GOALS="10 50 100" UNLOCKED="1")", 30, 60},  // 30 of the silver 50
        {LR"(GOALS="10 50 100" UNLOCKED="1")", 5, 50},
        {LR"(GOALS="10 50 100" UNLOCKED="1")", 150, 100},
        {LR"(GOALS="10 50 100" UNLOCKED="1")", -20, 0},
        {LR"(GOALS="10 50 100")", 30, 0},  // locked
        {LR"(UNLOCKED="1")", 30, 0},       // no goals: nothing to divide by
        {LR"(GOALS="0 0 8" UNLOCKED="1")", 2, 25},
    };
    for (Row const& row : rows) {
        AchivementManager registry;
        cardstest::loadDefinitions(registry, L"<A><ACHIVEMENT NAME=\"X\" " + std::wstring(row.attributes) + L"/></A>");
        Achivement* achivement = registry.find(L"X");
        achivement->setValue(row.value);
        EXPECT_FLOAT_EQ(achivement->getProgressPercent(), row.percent) << row.value;
    }
}

TEST(AchivementTest, CountingFindsNamesAndAliasesAndIgnoresUnknownKeys) {
    AchivementManager registry;
    cardstest::loadDefinitions(registry, LR"(<A>
        <ACHIVEMENT NAME="TIPP_USED" GOALS="2 4 6" UNLOCKED="1"><NAMEN>"|HINT_USED|" "|TIPPS|"</NAMEN></ACHIVEMENT>
        <ACHIVEMENT NAME="MIX" GOALS="1" UNLOCKED="1"/>
    </A>)");
    cardstest::MedalRecorder recorder;
    recorder.watch(registry);
    EXPECT_TRUE(registry.count(L"TIPP_USED", 1));
    EXPECT_TRUE(registry.count(L"HINT_USED", 1));
    EXPECT_TRUE(registry.count(L"TIPPS", 2));
    EXPECT_FALSE(registry.count(L"tipp_used", 1));  // names are compared exactly
    EXPECT_FALSE(registry.count(L"NIRGENDS", 1));
    EXPECT_FLOAT_EQ(registry.find(L"TIPP_USED")->getValue(), 4);
    EXPECT_EQ(registry.find(L"TIPPS"), registry.find(L"TIPP_USED"));
    EXPECT_EQ(recorder.medals, (std::vector<std::pair<std::wstring, int>>{{L"TIPP_USED", 1}, {L"TIPP_USED", 2}}));
}

TEST(AchivementTest, ValuesThatAreNoNumbersAreRefused) {
    // A nan once stored would swallow every later count.
    AchivementManager registry;
    cardstest::loadDefinitions(registry, LR"(<A><ACHIVEMENT NAME="SCORE_CHANGED" GOALS="100" UNLOCKED="1"/></A>)");
    registry.count(L"SCORE_CHANGED", 40);
    logtest::LogWatch log;
    registry.count(L"SCORE_CHANGED", std::nanf(""));
    registry.count(L"SCORE_CHANGED", std::numeric_limits<float>::infinity());
    registry.count(L"SCORE_CHANGED", std::numeric_limits<float>::max());
    registry.count(L"SCORE_CHANGED", std::numeric_limits<float>::max());  // the sum is inf
    EXPECT_EQ(log.errors().size(), 3u);
    registry.count(L"SCORE_CHANGED", 2);
    EXPECT_FLOAT_EQ(registry.find(L"SCORE_CHANGED")->getValue(), std::numeric_limits<float>::max());
}

// A name defined twice, or defined as an earlier one's alias: the first counts, and the profile
// holds one entry per name, the counted one's, so the count reads back.
TEST(AchivementTest, DuplicateNamesCountTheFirstAndReadBackIntoIt) {
    AchivementManager registry;
    logtest::LogWatch log;
    cardstest::loadDefinitions(registry, LR"(<A>
        <ACHIVEMENT NAME="STARS" GOALS="3" UNLOCKED="1"><NAMEN>"|STERNE|"</NAMEN></ACHIVEMENT>
        <ACHIVEMENT NAME="STARS" GOALS="9" UNLOCKED="1"/>
        <ACHIVEMENT NAME="STERNE" GOALS="9" UNLOCKED="1"/>
    </A>)");
    EXPECT_EQ(log.lines().size(), 1u);
    auto const all = registry.getAll();
    ASSERT_EQ(all.size(), 3u);
    registry.count(L"STARS", 5);
    EXPECT_EQ(registry.find(L"STARS"), all[0]);
    EXPECT_EQ(registry.find(L"STERNE"), all[0]);
    EXPECT_FLOAT_EQ(all[1]->getValue(), 0);

    Orvex::XMLNode data(L"ACHIVEMENT_DATA");
    registry.writeProfileData(data);
    ASSERT_EQ(data.getChildCount(L"ACHIVEMENT"), 1u);
    EXPECT_EQ(data.getChild(L"ACHIVEMENT")->getAttributeString(L"NAME", L""), L"STARS");
    EXPECT_EQ(data.getChild(L"ACHIVEMENT")->getAttributeString(L"VALUE", L""), L"5");
    registry.resetAll();
    registry.readProfileData(data);
    EXPECT_FLOAT_EQ(all[0]->getValue(), 5);
    EXPECT_FLOAT_EQ(all[1]->getValue(), 0);
}

// Emptied and loaded again (as each game object loads the file), the registry holds each
// definition once; what was connected to the old achievements is let go.
TEST(AchivementTest, ClearedAndLoadedAgainEachAchievementIsThereOnce) {
    AchivementManager registry;
    std::wstring const text = LR"(<A><ACHIVEMENT NAME="OPEN" GOALS="1 2 3" UNLOCKED="1"/><ACHIVEMENT NAME="B"/></A>)";
    cardstest::loadDefinitions(registry, text);
    {
        cardstest::MedalRecorder recorder;
        recorder.watch(registry);
        registry.clear();
        EXPECT_TRUE(registry.getAll().empty());
        EXPECT_EQ(registry.find(L"OPEN"), nullptr);
        EXPECT_FALSE(registry.count(L"OPEN", 1));
    }
    logtest::LogWatch log;
    cardstest::loadDefinitions(registry, text);
    EXPECT_TRUE(log.lines().empty());
    ASSERT_EQ(registry.getAll().size(), 2u);
    cardstest::MedalRecorder recorder;
    recorder.watch(registry);
    registry.count(L"OPEN", 1);
    EXPECT_EQ(recorder.medals, (std::vector<std::pair<std::wstring, int>>{{L"OPEN", 1}}));
    Orvex::XMLNode data(L"ACHIVEMENT_DATA");
    registry.writeProfileData(data);
    EXPECT_EQ(data.getChildCount(L"ACHIVEMENT"), 2u);
}

TEST(AchivementTest, ResetAndProfileDataGiveNoSignals) {
    AchivementManager registry;
    cardstest::loadDefinitions(registry, LR"(<A>
        <ACHIVEMENT NAME="LOCKED" GOALS="1 2 3"/>
        <ACHIVEMENT NAME="OPEN" GOALS="1 2 3" UNLOCKED="1"/>
    </A>)");
    cardstest::MedalRecorder recorder;
    registry.count(L"OPEN", 5);
    recorder.watch(registry);

    Orvex::XMLNode data(L"ACHIVEMENT_DATA");
    Orvex::XMLNode* entry = data.addChild(L"ACHIVEMENT");
    entry->setAttribute(L"NAME", L"LOCKED");
    entry->setAttribute(L"VALUE", L"50");
    entry->setAttribute(L"UNLOCKED", L"1");
    registry.resetAll();
    registry.readProfileData(data);
    EXPECT_TRUE(recorder.medals.empty());
    EXPECT_EQ(registry.find(L"LOCKED")->getMedal(), MEDAL_GOLD);
    EXPECT_EQ(registry.find(L"OPEN")->getMedal(), MEDAL_NONE);

    registry.resetAll();
    EXPECT_TRUE(recorder.medals.empty());
    EXPECT_FALSE(registry.find(L"LOCKED")->isUnlocked());
    EXPECT_FLOAT_EQ(registry.find(L"LOCKED")->getValue(), 0);
}

TEST(AchivementTest, TheDefinitionFileHasEveryCountedKeyWithTextsInBothLanguages) {
    cardstest::useSourceData();
    AchivementManager registry;
    ASSERT_TRUE(registry.loadFile());
    std::vector<std::wstring> keys = {
        L"KARTEN_MOVED", L"KARTEN_MOVE_ERROR", L"KARTEN_MOVE_TO_ZIEL", L"KARTEN_ABGEBAUT", L"LEVEL_PLAYED",
        L"LEVEL_PERFECT", L"STARS", L"EXTRACARDS", L"UNDO_USED", L"UNDOSTART_USED", L"REDO_USED", L"REDOEND_USED",
        L"SHUFFLE_USED", L"TIPP_USED", L"MAX_COMBO", L"COMBOS", L"AC_TIME", L"SCORE_CHANGED"};
    for (int i = 0; i < 4; ++i) {
        keys.push_back(L"GOD" + std::to_wstring(i) + L"_USED");
        keys.push_back(L"EXTRACARDS_CPT_" + std::to_wstring(i));
        keys.push_back(L"EXTRACARDS_CPT_ACCUM_" + std::to_wstring(i));
    }
    Orvex::XMLNode texts;
    ASSERT_TRUE(texts.load(L"data\\texte.lng"));
    Orvex::LanguageManager languages;
    languages.load(texts);
    std::set<std::wstring> names;
    int locked = 0;
    for (Achivement const* achivement : registry.getAll()) {
        EXPECT_TRUE(names.insert(achivement->getName()).second) << "twice";
        locked += achivement->isUnlocked() ? 0 : 1;
        // Every achievement rises through three thresholds: no medal comes with another.
        float previous = 0;
        for (AchivementMedal const medal : {MEDAL_BRONZE, MEDAL_SILVER, MEDAL_GOLD}) {
            EXPECT_GT(achivement->getThreshold(medal), previous) << std::string(achivement->getName().begin(),
                                                                                achivement->getName().end());
            previous = achivement->getThreshold(medal);
        }
        for (int level = 0; level < Achivement::kMedalLevels; ++level) {
            std::wstring const id = L"TT_ACH_" + achivement->getName() + achivement->getPostTextId(level);
            for (wchar_t const* language : {L"GER", L"ENG"})
                EXPECT_NE(languages.findLanguage(language)->findText(id), nullptr)
                    << std::string(id.begin(), id.end());
        }
    }
    for (std::wstring const& key : keys) EXPECT_NE(registry.find(key), nullptr) << std::string(key.begin(), key.end());
    EXPECT_GT(locked, 0);
}

}  // namespace
