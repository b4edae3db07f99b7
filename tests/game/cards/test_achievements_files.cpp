// Achievement data in profile files: values and flags read back equal, broken entries keep what
// they would spoil, and a broken or missing definition file leaves a registry that counts safely.
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "tests/engine/core/LogWatch.h"
#include "game/cards/Statistik.h"
#include "tests/game/cards/AchivementDefinitions.h"
#include "tests/game/cards/ProfileFiles.h"

using namespace Solitaire;
using Orvex::XMLNode;

namespace {

class AchivementFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        cardstest::useSourceData();
        ASSERT_TRUE(registry.loadFile());
    }
    AchivementManager registry;
};

TEST_F(AchivementFileTest, ASavedProfileReadsBackEveryValueAndFlag) {
    // Values the stream default would round (six digits), fractions, negatives and flags opened
    // from the profile.
    float const values[] = {1234567.0f, 0.1f, -250.75f, 16777216.0f, 3.0e9f, 7.0f};
    auto const all = registry.getAll();
    XMLNode unlock(L"ACHIVEMENT_DATA");
    for (std::size_t i = 0; i < all.size(); ++i) {
        all[i]->setValue(values[i % std::size(values)] + static_cast<float>(i));
        if (i % 4 == 0) {
            XMLNode* entry = unlock.addChild(L"ACHIVEMENT");
            entry->setAttribute(L"NAME", all[i]->getName());
            entry->setAttribute(L"UNLOCKED", all[i]->isUnlocked() ? L"0" : L"1");
        }
    }
    registry.readProfileData(unlock);
    XMLNode profile = cardstest::makeProfile();
    registry.writeProfileData(cardstest::profilePart(profile, L"ACHIVEMENT_DATA"));
    XMLNode loaded;
    ASSERT_TRUE(cardstest::saveAndLoad(profile, "achivement_round", loaded));
    AchivementManager again;
    ASSERT_TRUE(again.loadFile());
    cardstest::MedalRecorder recorder;
    recorder.watch(again);
    again.resetAll();
    again.readProfileData(cardstest::profilePart(loaded, L"ACHIVEMENT_DATA"));
    auto const read = again.getAll();
    ASSERT_EQ(read.size(), all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(std::string(all[i]->getName().begin(), all[i]->getName().end()));
        EXPECT_EQ(read[i]->getValue(), all[i]->getValue());
        EXPECT_EQ(read[i]->isUnlocked(), all[i]->isUnlocked());
    }
    EXPECT_TRUE(recorder.medals.empty());
    EXPECT_TRUE(loaded.equals(profile));
}

TEST_F(AchivementFileTest, EntriesAreWrittenUnderTheOwnName) {
    registry.count(L"HINT_USED", 3);  // an alias of TIPP_USED
    XMLNode data(L"ACHIVEMENT_DATA");
    registry.writeProfileData(data);
    int entries = 0;
    for (XMLNode const* child : data.children()) {
        EXPECT_NE(child->getAttributeString(L"NAME", L""), L"HINT_USED");
        if (child->getAttributeString(L"NAME", L"") == L"TIPP_USED") {
            ++entries;
            EXPECT_EQ(child->getAttributeFloat(L"VALUE", 0), 3.0f);
        }
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(AchivementFileTest, WritingTwiceReplacesTheEntriesAndKeepsOtherChildren) {
    XMLNode data(L"ACHIVEMENT_DATA");
    data.addChild(L"NOTIZ");
    registry.writeProfileData(data);
    registry.writeProfileData(data);
    EXPECT_EQ(data.getChildCount(L"ACHIVEMENT"), registry.getAll().size());
    EXPECT_EQ(data.getChildCount(L"NOTIZ"), 1u);
}

TEST_F(AchivementFileTest, BrokenProfileEntriesKeepTheirValues) {
    struct Row {
        wchar_t const* name;
        wchar_t const* value;
        std::size_t errorLines;
        float expected;
    } const rows[] = {
        {L"STARS", L"nan", 1, 12},      {L"STARS", L"inf", 1, 12},   {L"STARS", L"-inf", 1, 12},
        {L"STARS", L"1e999", 1, 12},    {L"STARS", L"viele", 1, 12}, {L"STARS", L"", 1, 12},
        {L"STERNE", L"30", 0, 30},      // by alias
        {L"UNBEKANNT", L"30", 0, 12},   // unknown names are skipped
        {L"STARS", L"-2.5", 0, -2.5f},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.value, row.value + wcslen(row.value)));
        registry.resetAll();
        registry.count(L"STARS", 12);
        XMLNode data(L"ACHIVEMENT_DATA");
        XMLNode* entry = data.addChild(L"ACHIVEMENT");
        entry->setAttribute(L"NAME", row.name);
        entry->setAttribute(L"VALUE", row.value);
        data.addChild(L"ACHIVEMENT")->setAttribute(L"VALUE", L"5");  // no name: skipped
        logtest::LogWatch log;
        registry.readProfileData(data);
        EXPECT_EQ(log.errors().size(), row.errorLines);
        EXPECT_EQ(registry.find(L"STARS")->getValue(), row.expected);
    }

    // A profile full of broken entries still gives one line.
    XMLNode data(L"ACHIVEMENT_DATA");
    for (Achivement const* achivement : registry.getAll()) {
        XMLNode* entry = data.addChild(L"ACHIVEMENT");
        entry->setAttribute(L"NAME", achivement->getName());
        entry->setAttribute(L"VALUE", L"nan");
    }
    logtest::LogWatch log;
    registry.readProfileData(data);
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST(AchivementDefinitionTest, BrokenOrMissingFilesLeaveASafeRegistry) {
    struct Row {
        wchar_t const* text;
        std::size_t achievements;
    } const rows[] = {
        {L"", 0},
        {L"<A><ACHIVEMENT NAME=\"X\" GOALS=\"1 2 3\"", 1},  // cut short
        {L"<A><NOTHING/><ACHIVEMENT/><ACHIVEMENT NAME=\"\"/></A>", 2},
        {L"<A><ACHIVEMENT NAME=\"X\"><NAMEN/><POST_TEXT_ID>\"|a|\" \"|b|\" \"|c|\" \"|d|\" \"|e|\"</POST_TEXT_ID>"
         L"</ACHIVEMENT></A>",
         1},
    };
    for (Row const& row : rows) {
        AchivementManager registry;
        cardstest::loadDefinitions(registry, row.text);
        EXPECT_EQ(registry.getAll().size(), row.achievements);
        EXPECT_FALSE(registry.count(L"NIRGENDS", 1));
        for (Achivement* achivement : registry.getAll()) {
            registry.count(achivement->getName(), 1);
            EXPECT_EQ(achivement->getPostTextId(4), L"");
            EXPECT_EQ(achivement->getPostTextId(-1), L"");
        }
    }

    AchivementManager missing;
    logtest::LogWatch log;
    EXPECT_FALSE(missing.loadFile(L"data\\keine_datei.acv"));
    EXPECT_EQ(log.errors().size(), 1u);
    EXPECT_FALSE(missing.count(L"KARTEN_MOVED", 1));
}

TEST(AchivementDefinitionTest, ABadDefinitionIsNamedByFileAndPlace) {
    auto const file = testsupport::makeTempDir("achivement_bad") / "bad.acv";
    testsupport::writeFile(file, "<A>\r\n<ACHIVEMENT NAME=\"A\" GOALS=\"1\"/>\r\n"
                                 "<ACHIVEMENT NAME=\"B\" GOALS=\"zwei\"/>\r\n</A>");
    AchivementManager registry;
    logtest::LogWatch log;
    ASSERT_TRUE(registry.loadFile(cardstest::hostFile(file)));
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(log.errors()[0], L"bad.acv, ACHIVEMENT 2 at line 3")) << log.errors()[0].size();
    EXPECT_TRUE(logtest::contains(log.errors()[0], L"\"B\""));
    EXPECT_EQ(registry.getAll().size(), 2u);
}

// Definitions, profile entries and statistics sets name the line of the element they refuse.
TEST(AchivementDefinitionTest, RefusedElementsNameTheirLine) {
    struct Row {
        wchar_t const* element;  // on line 3
        void (*read)(XMLNode& root);
        wchar_t const* named;  // in every line, besides the line number
    } const rows[] = {
        {L"<ACHIVEMENT NAME=\"B\" GOALS=\"zwei\"/>",
         [](XMLNode& root) { AchivementManager().load(root, L"z.acv"); }, L"(z.acv, ACHIVEMENT 1 at line 3): GOALS"},
        {L"<ACHIVEMENT NAME=\"B\" VALUE=\"nan\"/>",
         [](XMLNode& root) {
             AchivementManager registry;
             cardstest::loadDefinitions(registry, L"<A><ACHIVEMENT NAME=\"B\"/></A>");
             registry.readProfileData(root);
             registry.find(L"B")->readXML(*root.getChild(L"ACHIVEMENT"));
         },
         L"B"},
        {L"<STATISTIK NAME=\"S\" CLICK=\"viele\"/>",
         [](XMLNode& root) { Statistik(std::wstring(L"S")).readXML(*root.getChild(L"STATISTIK")); },
         L"Statistics \"S\" at line 3: CLICK"},
    };
    for (Row const& row : rows) {
        XMLNode root;
        ASSERT_TRUE(root.loadFromText(L"<P>\n\n" + std::wstring(row.element) + L"</P>"));
        logtest::LogWatch log;
        row.read(root);
        ASSERT_FALSE(log.errors().empty());
        for (std::wstring const& line : log.errors())
            EXPECT_TRUE(logtest::contains(line, row.named) && logtest::contains(line, L" at line 3"))
                << std::string(line.begin(), line.end());
    }
}

TEST(AchivementDefinitionTest, AliasListsAreBounded) {
    std::wstring names;
    for (std::size_t i = 0; i < Achivement::kMaxAliases + 10; ++i) names += L"\"|N" + std::to_wstring(i) + L"|\" ";
    AchivementManager registry;
    logtest::LogWatch log;
    cardstest::loadDefinitions(registry, L"<A><ACHIVEMENT NAME=\"X\"><NAMEN>" + names + L"</NAMEN></ACHIVEMENT></A>");
    EXPECT_EQ(log.errors().size(), 1u);
    EXPECT_EQ(registry.find(L"N0"), registry.find(L"X"));
    EXPECT_EQ(registry.find(L"N" + std::to_wstring(Achivement::kMaxAliases)), nullptr);
}

}  // namespace
