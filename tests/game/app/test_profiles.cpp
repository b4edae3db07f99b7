// Profiles: the file read and written again whole (UTF-16 and 8-bit, non-ASCII names, every
// element), the list's rules, tutorials and unlocks, live data handed over and collected, the
// campaign table, and a hostile file read safely.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "game/app/HighscoreEintrag.h"
#include "game/cards/Statistik.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/app/ProfileFixture.h"
#include "tests/support/TestSupport.h"

namespace {

using Solitaire::Profil;
using Solitaire::StatistikCounter;

class ProfileTest : public apptest::ProfileFixture {};

TEST_F(ProfileTest, AFileReadsWholeAndIsWrittenAgainByteForByte) {
    for (char const* file : {"utf16_names.prf", "eight_bit.prf"}) {
        SCOPED_TRACE(file);
        std::filesystem::path const path = useFile(std::string("round_") + file, file);
        ASSERT_TRUE(profiles().loadProfiles());
        EXPECT_FALSE(std::filesystem::exists(path.string() + ".bad1")) << "a profile keeps all the game writes";
        ASSERT_EQ(profiles().getProfileCount(), 2);
        Profil* jorg = profiles().getProfile(0);
        EXPECT_EQ(jorg->getName(), L"Jörg Größe");
        EXPECT_EQ(profiles().getActiveProfile(), profiles().getProfile(1));
        EXPECT_FALSE(jorg->getShowTutorials());
        EXPECT_TRUE(jorg->isInTutorialList(L"INGAMEMENU_FG"));
        EXPECT_FALSE(jorg->shouldShowTutorial(L"SOLITAIRE_SPINNE"));
        EXPECT_FALSE(jorg->shouldShowTutorial(L"STORY_ANFANG"));
        EXPECT_TRUE(jorg->shouldShowTutorial(L"STORY_ENDE"));
        EXPECT_TRUE(jorg->isUnlocked(L"GOD0"));
        EXPECT_EQ(jorg->getPoints(), 12345.5f);
        EXPECT_EQ(jorg->getWildcards(), Profil::CardList({{2, 11}}));
        EXPECT_EQ(jorg->getJokers(), Profil::CardList({{1, 12}, {4, 0}}));
        EXPECT_EQ(jorg->getGodPercent(0), 0.25f);
        EXPECT_EQ(jorg->getGodPercent(9), 0.5f);
        ASSERT_EQ(jorg->getCampaign().size(), 2u);
        EXPECT_EQ(jorg->getCampaign()[0].levels[2].result, 3);
        EXPECT_EQ(jorg->getCampaign()[0].levels[0].foundRun, 3u);
        EXPECT_EQ(catalogue().getCategories().size(), 3u);
        auto const& highscores = variant(L"KNOBELEIEN", L"PAARE", L"PAARE")->getHighscores();
        ASSERT_EQ(highscores.size(), 1u);
        EXPECT_EQ(highscores[0]->getName(), L"Jörg Größe");

        ASSERT_TRUE(profiles().saveProfiles());
        std::string const first = testsupport::readFile(path);
        ASSERT_TRUE(profiles().loadProfiles());
        ASSERT_TRUE(profiles().saveProfiles());
        EXPECT_EQ(testsupport::readFile(path), first);
        EXPECT_EQ(first.substr(0, 2), "\xFF\xFE");
        // What was read stands in what is written.
        Orvex::XMLNode written;
        ASSERT_EQ(written.loadChecked(cardstest::hostFile(path), 1), Orvex::XMLNode::ReadResult::kComplete);
        Orvex::XMLNode const* profile = written.getChild(L"PROFIL");
        EXPECT_EQ(profile->getAttributeString(L"POINTS", L""), L"12345.5");
        EXPECT_EQ(profile->getChild(L"STATISTIK")->getChild(L"STATISTIK")->getAttributeString(L"CLICK", L""), L"120");
        EXPECT_EQ(profile->getChild(L"PROFILE_DATA")->getChild(L"VARIANT_DATA")->getChild(L"STATISTIK")->getAttributeString(L"WON", L""), L"1");
        EXPECT_EQ(profile->getChild(L"ACHIVEMENT_DATA")->getChild(L"ACHIVEMENT")->getAttributeString(L"VALUE", L""), L"250");
        EXPECT_EQ(profile->getChild(L"JOKER", 0)->getAttributeString(L"WERT", L""), L"KÖNIG");
        EXPECT_EQ(profile->getChild(L"PERCENT_GODS")->getValue(0)->getString(), L"0.25");
        EXPECT_EQ(written.getChild(L"HIGHSCORES")->getAttributeString(L"SAVED_SP", L""), L"0.5");
    }
}

TEST_F(ProfileTest, TheFilesEdgeCases) {
    useFile("two", "two_of_one_name.prf");
    ASSERT_TRUE(profiles().loadProfiles());
    ASSERT_EQ(profiles().getProfileCount(), 2);
    EXPECT_EQ(profiles().findProfile(L"Anna"), profiles().getProfile(0));
    EXPECT_EQ(profiles().getActiveProfile(), profiles().getProfile(0));

    useFile("gods", "six_gods.prf");
    ASSERT_TRUE(profiles().loadProfiles());
    Profil const* gods = profiles().getProfile(0);
    EXPECT_EQ(gods->getGodCount(), 4);
    EXPECT_EQ(gods->getGodPercent(2), 0.3f);
    EXPECT_EQ(gods->getGodPercent(3), 0.6f);
    // No "ACTIVE_PROFIL": none active, and none written.
    EXPECT_EQ(profiles().getActiveProfile(), nullptr);
    std::filesystem::path const saved = useFile("gods_saved");
    ASSERT_TRUE(profiles().saveProfiles());
    Orvex::XMLNode written;
    written.load(cardstest::hostFile(saved), 1);
    EXPECT_FALSE(written.getAttribute(L"ACTIVE_PROFIL"));

    useFile("missing");
    EXPECT_FALSE(profiles().loadProfiles());
    EXPECT_EQ(profiles().getProfileCount(), 0);
}

TEST_F(ProfileTest, WithoutACampaignTheTableIsBuiltAndChapterZeroOpened) {
    useFile("campaign", "no_campaign.prf");
    ASSERT_TRUE(profiles().loadProfiles());
    Profil* fresh = profiles().getActiveProfile();
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(fresh->getCampaign().empty());
    profiles().buildAllCampaignTables();
    ASSERT_EQ(fresh->getCampaign().size(), 21u);
    std::vector<std::size_t> levels;
    for (auto const& chapter : fresh->getCampaign()) levels.push_back(chapter.levels.size());
    EXPECT_EQ(levels, std::vector<std::size_t>({3, 13, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7, 8, 8, 8, 8, 9}));
    EXPECT_EQ(fresh->getCampaign()[0].result, 1);
    EXPECT_EQ(fresh->getCampaign()[1].result, 0);
    // Built again: nothing added.
    fresh->buildCampaignTable();
    EXPECT_EQ(fresh->getCampaign().size(), 21u);
}

TEST_F(ProfileTest, ListOperationsSignalAsTheyChange) {
    struct Recorder : sigslot::has_slots<> {
        std::wstring events;
        void onList() { events += L"L "; }
        void onActive(Profil* old, Profil* now) {
            events += (old ? old->getName() : L"-") + L">" + (now ? now->getName() : L"-") + L" ";
        }
    } recorder;
    profiles().listChanged.connect(&recorder, &Recorder::onList);
    profiles().activeChanged.connect(&recorder, &Recorder::onActive);
    auto* a = new Profil(L"A");
    auto* b = new Profil(L"B");
    profiles().addProfile(a);
    profiles().addProfile(b);
    profiles().addProfile(a);
    profiles().setActiveProfile(b);
    profiles().setActiveProfile(b);
    profiles().removeProfile(b);
    EXPECT_EQ(recorder.events, L"L ->A L A>B B>B B>- L ");
    EXPECT_EQ(profiles().getProfile(1), nullptr);
    EXPECT_EQ(profiles().getProfile(-1), nullptr);
    // Clearing tells of the leaving active profile while it still lives (its name is read).
    profiles().setActiveProfile(a);
    profiles().clear();
    EXPECT_EQ(recorder.events, L"L ->A L A>B B>B B>- L ->A A>- L ");
    profiles().listChanged.disconnect(&recorder);
    profiles().activeChanged.disconnect(&recorder);
}

// A profile keeps a name as long as the new-profile dialog lets a player type one.
TEST(ProfilRules, ANameIsKeptAsLongAsThePlayerCanTypeIt) {
    Orvex::XMLNode menus;
    ASSERT_TRUE(menus.load(port::windowsPath((testsupport::sourceDir() / "data/GUI/menus.mnu").string()), 1));
    Orvex::XMLNode const* typing = nullptr;
    std::vector<Orvex::XMLNode const*> open{&menus};
    while (!open.empty() && !typing) {
        Orvex::XMLNode const* node = open.back();
        open.pop_back();
        if (node->getAttributeString(L"NAME", L"") == L"NAME_TIPPEN") typing = node;
        for (Orvex::XMLNode const* child : node->children()) open.push_back(child);
    }
    ASSERT_NE(typing, nullptr);
    EXPECT_EQ(typing->getAttributeLong(L"MAX_LENGTH", 0), Profil::kMaxNameLength);
}

// A chapter or level number is read as the game writes it (std::to_wstring); before, " 0", "0 ",
// a tab and 0 or "00" read as 0, and that record displaced the real one after it ("given twice;
// the first kept"): a level passed with three stars was written back open.
TEST(ProfilRules, CampaignNumbersAreReadAsTheGameWritesThem) {
    struct {
        wchar_t const* text;
        std::optional<int> number;
    } const rows[] = {
        {L"0", 0},        {L"7", 7},       {L"9999", 9999},     {L"10000", std::nullopt}, {L" 0", std::nullopt},
        {L"0 ", std::nullopt}, {L"\t0", std::nullopt}, {L"00", std::nullopt}, {L"07", std::nullopt},
        {L"-5", std::nullopt}, {L"+1", std::nullopt}, {L"", std::nullopt}, {L"1e1", std::nullopt},
        {L"\uFF11", std::nullopt},  // a full-width 1
    };
    for (auto const& row : rows) EXPECT_EQ(Profil::parseCampaignNumber(row.text), row.number) << apptest::narrow(row.text);
}

TEST(ProfilRules, TutorialsStoryAndUnlocks) {
    Profil* profile = new Profil(L"P");
    profile->setShowTutorials(false);
    struct Row {
        wchar_t const* name;
        bool shouldShow, allowed;
    } const rows[] = {{L"STORY_1", true, true}, {L"SOLITAIRE_X", false, true}, {L"MENU", false, false}};
    for (Row const& row : rows) {
        EXPECT_EQ(profile->shouldShowTutorial(row.name), row.shouldShow) << row.name;
        EXPECT_EQ(profile->isTutorialAllowed(row.name), row.allowed) << row.name;
    }
    // Marked while hidden: only story scenes and plain tutorials are noted.
    for (Row const& row : rows) profile->markTutorialSeen(row.name);
    profile->setShowTutorials(true);
    EXPECT_FALSE(profile->shouldShowTutorial(L"STORY_1"));
    EXPECT_TRUE(profile->shouldShowTutorial(L"SOLITAIRE_X"));
    EXPECT_FALSE(profile->shouldShowTutorial(L"MENU"));
    profile->clearTutorialsSeen();
    EXPECT_TRUE(profile->shouldShowTutorial(L"MENU"));
    profile->clearStorySeen();
    EXPECT_TRUE(profile->shouldShowTutorial(L"STORY_1"));

    profile->addUnlock(L"T", true);
    profile->addUnlock(L"T", true);
    EXPECT_TRUE(profile->isUnlocked(L"T"));
    profile->addUnlock(L"T", false);
    EXPECT_EQ(profile->getUnlocks(), std::vector<std::wstring>({L"T"}));
    Orvex::XMLNode written(L"PROFIL");
    profile->addUnlock(L"ONLY_NOW", true);
    profile->writeXML(written);
    ASSERT_EQ(written.getChild(L"UNLOCKS")->getValueCount(), 1u);
    EXPECT_EQ(written.getChild(L"UNLOCKS")->getValue(0)->getString(), L"T");
    profile->release();
}

TEST_F(ProfileTest, SwitchingProfilesKeepsTheLeftOnesDataAsCollected) {
    auto* a = new Profil(L"A");
    auto* b = new Profil(L"B");
    profiles().addProfile(a);
    profiles().addProfile(b);
    a->activate();
    ASSERT_TRUE(start(L"KLASSIKER", L"SPINNE", L"SPINNE"));
    catalogue().finishStatistics(true);
    Solitaire::AchivementManager::instance().count(L"KARTEN_MOVED", 7.0f);
    a->collectLiveData();
    b->activate();
    EXPECT_FALSE(a->isLive());
    EXPECT_EQ(Solitaire::StatistikManager::instance().getProfileStatistik()->get(StatistikCounter::Won), 0u);
    EXPECT_EQ(variant(L"KLASSIKER", L"SPINNE", L"SPINNE")->getStatistik(), nullptr);
    Solitaire::StatistikManager::instance().countClick();
    // Writing reads the profile alone: the live one's trees are collected first.
    b->collectLiveData();
    Orvex::XMLNode written(L"PROFILE");
    a->writeXML(*written.addChild(L"PROFIL"));
    b->writeXML(*written.addChild(L"PROFIL"));
    Orvex::XMLNode const* aStats = written.getChild(L"PROFIL", 0)->getChild(L"STATISTIK")->getChild(L"STATISTIK");
    Orvex::XMLNode const* bStats = written.getChild(L"PROFIL", 1)->getChild(L"STATISTIK")->getChild(L"STATISTIK");
    EXPECT_EQ(aStats->getAttributeString(L"WON", L""), L"1");
    EXPECT_EQ(aStats->getAttributeString(L"CLICK", L""), L"0");
    EXPECT_EQ(bStats->getAttributeString(L"CLICK", L""), L"1");
    EXPECT_EQ(written.getChild(L"PROFIL", 0)->getChild(L"ACHIVEMENT_DATA")->getChild(L"ACHIVEMENT")->getAttributeString(L"VALUE", L""), L"7");
    EXPECT_TRUE(written.getChild(L"PROFIL", 0)->getChild(L"PROFILE_DATA")->getChild(L"VARIANT_DATA"));
    EXPECT_FALSE(written.getChild(L"PROFIL", 1)->getChild(L"PROFILE_DATA")->getChild(L"VARIANT_DATA"));
    // Back to A: its data comes back live.
    b->collectLiveData();
    a->activate();
    EXPECT_EQ(Solitaire::StatistikManager::instance().getProfileStatistik()->get(StatistikCounter::Won), 1u);
    ASSERT_TRUE(variant(L"KLASSIKER", L"SPINNE", L"SPINNE")->getStatistik());
    EXPECT_EQ(Solitaire::AchivementManager::instance().find(L"KARTEN_MOVED")->getValue(), 7.0f);
}

// A save collects, then writes: the manager takes the live profile's trees from the managers, so
// the file holds what was counted since the last switch; writing alone reads the profile only.
TEST_F(ProfileTest, TheSaveCollectsTheLiveProfileBeforeItWrites) {
    std::filesystem::path const path = useFile("collect");
    auto* a = new Profil(L"A");
    profiles().addProfile(a);
    a->activate();
    Solitaire::StatistikManager::instance().countClick();
    Orvex::XMLNode unsaved(L"PROFIL");
    a->writeXML(unsaved);
    EXPECT_FALSE(unsaved.getChild(L"STATISTIK")->getChild(L"STATISTIK"));
    ASSERT_TRUE(profiles().saveProfiles());
    Orvex::XMLNode read;
    ASSERT_EQ(read.loadChecked(cardstest::hostFile(path), 1), Orvex::XMLNode::ReadResult::kComplete);
    Orvex::XMLNode const* stats = read.getChild(L"PROFIL")->getChild(L"STATISTIK")->getChild(L"STATISTIK");
    ASSERT_TRUE(stats);
    EXPECT_EQ(stats->getAttributeString(L"CLICK", L""), L"1");
    // Released, the profile is live no more.
    profiles().clear();
    EXPECT_EQ(Profil::liveProfile(), nullptr);
}

// A profile is charged what the game writes of it once started (its campaign table built; the
// active one activated, its data collected), so the element written is charged no more when read
// again: a file read whole is read whole after a save of what was read. Before, a profile was
// charged without the elements the game always writes (lists, campaign, stored data, god charges)
// and the first chapter the table opens, and the active one without its statistics and
// achievements written anew: a file read whole within a few KB of what a file keeps was cut at
// the next start.
TEST_F(ProfileTest, AProfileIsChargedWhatTheGameWritesOfItOnceStarted) {
    std::wstring const data =
        L"<PROFILE_DATA><VARIANT_DATA CAT_NAME=\"KLASSIKER\" GAME_NAME=\"SPINNE\" VAR_NAME=\"SPINNE\"><STATISTIK WON=\"3\" "
        L"TIME=\"0.1\"/></VARIANT_DATA></PROFILE_DATA><STATISTIK><STATISTIK CLICK=\"1\"/></STATISTIK><ACHIVEMENT_DATA>"
        L"<ACHIVEMENT NAME=\"KARTEN_MOVED\" VALUE=\"2\"/></ACHIVEMENT_DATA>";
    struct {
        char const* what;
        std::wstring element;
        bool live;
    } const rows[] = {
        {"a name alone", L"<PROFIL NAME=\"Klein\"/>", false},
        {"a name alone, active", L"<PROFIL NAME=\"Klein\"/>", true},
        {"chapter 0 held, god charges written longer",
         L"<PROFIL NAME=\"K\"><KAMPAGNE><KAPITEL KAPITEL=\"0\"><LEVEL RESULT=\"4\"/></KAPITEL></KAMPAGNE>"
         L"<PERCENT_GODS>\"|0.1|\" \"|.3|\"</PERCENT_GODS></PROFIL>",
         false},
        {"statistics and achievements", L"<PROFIL NAME=\"Anna\">" + data + L"</PROFIL>", false},
        {"statistics and achievements, active", L"<PROFIL NAME=\"Anna\">" + data + L"</PROFIL>", true},
    };
    for (auto const& row : rows) {
        SCOPED_TRACE(row.what);
        Orvex::XMLNode element;
        ASSERT_TRUE(element.loadFromText(row.element));
        std::size_t charged = 0;
        for (char const* read : {"the element", "what was written"}) {
            SCOPED_TRACE(read);
            Profil::Measure const measured = Profil::measure(element);
            auto* profile = new Profil(element, L"", measured, Profil::kMaxKeptBytes);
            EXPECT_FALSE(profile->leftOutOnRead());
            profile->buildCampaignTable();
            if (row.live) profile->activate();
            if (row.live) profile->collectLiveData();
            Orvex::XMLNode written(Profil::kElementName);
            profile->writeXML(written);
            profile->release();
            EXPECT_LE(Orvex::XMLNode::savedCost(written), measured.bytes);
            if (charged > 0) EXPECT_LE(measured.bytes, charged);
            charged = measured.bytes;
            element = written;
        }
    }
}

// A campaign of chapters with the given level results (levels numbered from 0).
Profil* campaignOf(std::vector<std::vector<int>> const& chapters) {
    auto* profile = new Profil(L"C");
    for (std::size_t c = 0; c < chapters.size(); ++c) {
        Solitaire::ChapterRecord chapter;
        chapter.chapter = static_cast<int>(c);
        for (std::size_t l = 0; l < chapters[c].size(); ++l) chapter.levels.push_back({chapters[c][l], 0, 0, static_cast<int>(l)});
        profile->getCampaign().push_back(chapter);
    }
    return profile;
}

std::vector<int> results(Profil& profile, int chapter) {
    std::vector<int> out;
    for (auto const& level : profile.findChapter(chapter)->levels) out.push_back(level.result);
    return out;
}

TEST(ProfilCampaign, OpenChapterOpensTheFirstFiveLevels) {
    Profil* profile = campaignOf({{0, 0, 0, 0, 0, 0, 0}, {}});
    EXPECT_TRUE(profile->openChapter(0));
    EXPECT_EQ(results(*profile, 0), std::vector<int>({1, 1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(profile->findChapter(0)->result, 1);
    EXPECT_FALSE(profile->openChapter(1));  // no level 0
    EXPECT_EQ(profile->findChapter(1)->result, 1);
    EXPECT_FALSE(profile->openChapter(7));
    profile->release();
}

TEST(ProfilCampaign, AdvancingKeepsAtMostFiveLevelsOpen) {
    struct Row {
        std::vector<int> before;
        int level;
        bool finished;
        std::vector<int> after;
        bool next;
        int nextChapter, nextLevel;
    } const rows[] = {
        // Passing level 0 of an open window opens level 5.
        {{2, 1, 1, 1, 1, 0, 0}, 0, false, {2, 1, 1, 1, 1, 1, 0}, true, 0, 1},
        // Five still open: nothing more opens.
        {{1, 1, 1, 1, 1, 0, 2}, 6, false, {1, 1, 1, 1, 1, 0, 2}, false, 0, 0},
        // The next level stays locked when the window is full.
        {{1, 1, 1, 1, 1, 2, 0}, 5, false, {1, 1, 1, 1, 1, 2, 0}, false, 0, 0},
        // The last level, chapter finished: on to the next chapter.
        {{2, 2, 2}, 2, true, {2, 2, 2}, true, 1, 0},
        {{2, 2, 2}, 2, false, {2, 2, 2}, false, 0, 0},
        // Files may hold any results: at most five open after the walk.
        {{3, 0, 0, 0, 0, 0, 0, 0}, 0, false, {3, 1, 1, 1, 1, 1, 0, 0}, true, 0, 1},
    };
    for (Row const& row : rows) {
        Profil* profile = campaignOf({row.before, {0, 0}});
        int chapter = 0, level = 0;
        EXPECT_EQ(profile->advanceCampaign(0, row.level, chapter, level, row.finished), row.next) << row.level;
        EXPECT_EQ(results(*profile, 0), row.after);
        if (row.next) {
            EXPECT_EQ(chapter, row.nextChapter);
            EXPECT_EQ(level, row.nextLevel);
        }
        if (row.finished) EXPECT_EQ(profile->findChapter(1)->result, 1);
        profile->release();
    }
    // No record of the chapter: only a finished chapter moves on.
    Profil* profile = campaignOf({{0}, {0}});
    int chapter = -1, level = -1;
    EXPECT_FALSE(profile->advanceCampaign(5, 0, chapter, level, true));
    EXPECT_TRUE(profile->advanceCampaign(-1, 0, chapter, level, true));
    EXPECT_EQ(chapter, 0);
    EXPECT_FALSE(profile->advanceCampaign(2147483647, 2147483647, chapter, level, true));
    profile->release();
}

TEST(ProfilCampaign, UnlockAllAndMergingFoundCounts) {
    Profil* profile = campaignOf({{0, 3, 1}, {0}});
    profile->findChapter(0)->levels[0].foundRun = 4;
    profile->findChapter(0)->levels[1].found = 2;
    profile->unlockAll();
    EXPECT_EQ(results(*profile, 0), std::vector<int>({1, 3, 1}));
    EXPECT_EQ(profile->findChapter(1)->result, 1);
    profile->mergeFoundCounts();
    auto const& levels = profile->findChapter(0)->levels;
    EXPECT_EQ(levels[0].found, 4u);
    EXPECT_EQ(levels[0].foundRun, 4u);
    EXPECT_EQ(levels[1].foundRun, 2u);
    profile->release();
}

// A list holds no more names than its reader keeps: a tutorial, a solitaire tutorial or a story
// scene shown on a profile whose list is full is not recorded, a permanent unlock is kept for the
// run; the file saved is read whole. Before, a profile of full lists chosen on the profile screen
// recorded the main menu's tutorial as its 4,097th and the next start left it out, keeping the
// file aside.
TEST_F(ProfileTest, AFullListTakesNoNameItsReaderWouldLeaveOut) {
    struct {
        char const* what;
        char const* list;
        void (*add)(Profil& profile);
        bool (*recorded)(Profil const& profile);
    } const rows[] = {
        {"a tutorial", "TUTORIAL", [](Profil& p) { p.markTutorialSeen(L"TUTORIALMENU"); },
         [](Profil const& p) { return p.isInTutorialList(L"TUTORIALMENU"); }},
        {"a solitaire tutorial", "SOLITAIRE_TUTORIALS", [](Profil& p) { p.markTutorialSeen(L"SOLITAIRE_SPINNE"); },
         [](Profil const& p) { return !p.shouldShowTutorial(L"SOLITAIRE_SPINNE"); }},
        {"a story scene", "STORY", [](Profil& p) { p.markTutorialSeen(L"STORY_ANFANG"); },
         [](Profil const& p) { return !p.shouldShowTutorial(L"STORY_ANFANG"); }},
        {"a permanent unlock", "UNLOCKS", [](Profil& p) { p.addUnlock(L"GOD0", false); },
         [](Profil const& p) { return std::find(p.getUnlocks().begin(), p.getUnlocks().end(), L"GOD0") != p.getUnlocks().end(); }},
    };
    for (auto const& row : rows) {
        for (std::size_t held : {Profil::kMaxListEntries - 1, Profil::kMaxListEntries}) {
            SCOPED_TRACE(std::string(row.what) + (held == Profil::kMaxListEntries ? ", full" : ", one free"));
            std::filesystem::path const path = useFile(std::string("full_") + row.list + std::to_string(held));
            std::string names;
            for (std::size_t i = 0; i < held; ++i) names += "\"|N" + std::to_string(i) + "|\"";
            testsupport::writeFile(path, std::string("<PROFILE ACTIVE_PROFIL=\"A\"><PROFIL NAME=\"A\"><") + row.list + ">" +
                                             names + "</" + row.list + "></PROFIL></PROFILE>");
            ASSERT_TRUE(profiles().loadProfiles());
            ASSERT_TRUE(profiles().readWhole());
            Profil* profile = profiles().getActiveProfile();
            row.add(*profile);
            EXPECT_EQ(row.recorded(*profile), held < Profil::kMaxListEntries);
            EXPECT_TRUE(profile->isUnlocked(L"GOD0") || row.list != std::string("UNLOCKS")) << "kept for the run";
            ASSERT_TRUE(profiles().saveProfiles());
            logtest::LogWatch watch;
            ASSERT_TRUE(profiles().loadProfiles());
            EXPECT_TRUE(profiles().readWhole());
            EXPECT_TRUE(watch.errors().empty());
        }
    }
}

TEST_F(ProfileTest, AHostileProfileIsReadSafelyWithOneLineAndTheOthersLoad) {
    useFile("hostile", "hostile.prf");
    logtest::LogWatch watch;
    ASSERT_TRUE(profiles().loadProfiles());
    ASSERT_EQ(profiles().getProfileCount(), 2);
    EXPECT_EQ(profiles().getActiveProfile(), nullptr);
    Profil* bad = profiles().getProfile(0);
    EXPECT_EQ(bad->getName(), L"%s%n%x");
    EXPECT_EQ(bad->getPoints(), 0.0f);
    // Unknown words are dropped; an element without words is the default heart ace.
    EXPECT_EQ(bad->getWildcards(), Profil::CardList({{3, 0}}));
    EXPECT_TRUE(bad->getJokers().empty());
    EXPECT_EQ(bad->getGodPercent(0), 0.0f);
    EXPECT_EQ(bad->getGodPercent(1), 0.5f);
    // Chapter 0 (the first of two) and chapter 1; levels 0 and 2 of chapter 0 (the first level 0).
    ASSERT_EQ(bad->getCampaign().size(), 2u);
    Solitaire::ChapterRecord const& first = bad->getCampaign()[0];
    EXPECT_EQ(first.result, 2);
    ASSERT_EQ(first.levels.size(), 2u);
    EXPECT_EQ(first.levels[0].result, 4);
    EXPECT_EQ(first.levels[0].found, 0u);
    EXPECT_EQ(first.levels[1].level, 2);
    EXPECT_EQ(first.levels[1].result, 0);
    EXPECT_EQ(bad->getCampaign()[1].levels[0].level, 9999);
    EXPECT_EQ(profiles().getProfile(1)->getPoints(), 5.0f);
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"Profile \"%s%n%x\""));
    // Built and advanced, the table ends and stays within its records.
    bad->buildCampaignTable();
    int chapter = 0, level = 0;
    bad->advanceCampaign(0, 0, chapter, level, true);
    bad->advanceCampaign(1, 9999, chapter, level, true);
    EXPECT_LE(bad->getCampaign().size(), 21u);
}

}  // namespace

namespace {

// The table is built in one pass: chapters the profile holds stay first, every missing number of
// the catalogue's follows in order (also when numbers it does not have fill the count), each with
// the levels of the first game named "KAPITEL_" and the number as written (not "KAPITEL_01"), and
// none without a game of that name.
TEST_F(ProfileTest, TheCampaignTableFillsTheMissingChaptersInOrder) {
    loadText(L"<L><KATEGORIE NAME=\"KAMPAGNE\">"
             L"<GAME NAME=\"KAPITEL_1\"><VARIANTE NAME=\"A\"/><VARIANTE NAME=\"B\"/></GAME>"
             L"<GAME NAME=\"KAPITEL_01\"><VARIANTE NAME=\"A\"/><VARIANTE NAME=\"B\"/><VARIANTE NAME=\"C\"/></GAME>"
             L"<GAME NAME=\"KAPITEL_0\"><VARIANTE NAME=\"A\"/></GAME>"
             L"<GAME NAME=\"KAPITEL_1\"><VARIANTE NAME=\"A\"/></GAME>"
             L"<GAME NAME=\"ANDERES\"><VARIANTE NAME=\"A\"/></GAME>"
             L"<GAME NAME=\"KAPITEL_3\"><VARIANTE NAME=\"A\"/><VARIANTE NAME=\"B\"/><VARIANTE NAME=\"C\"/>"
             L"<VARIANTE NAME=\"D\"/></GAME></KATEGORIE></L>");
    Profil* profile = campaignOf({});
    for (int held : {2, 7}) {
        Solitaire::ChapterRecord chapter;
        chapter.chapter = held;
        profile->getCampaign().push_back(chapter);
    }
    profile->buildCampaignTable();
    std::vector<int> numbers;
    std::vector<std::size_t> levels;
    for (auto const& chapter : profile->getCampaign()) {
        numbers.push_back(chapter.chapter);
        levels.push_back(chapter.levels.size());
    }
    EXPECT_EQ(numbers, std::vector<int>({2, 7, 0, 1, 3, 4, 5}));
    EXPECT_EQ(levels, std::vector<std::size_t>({0, 0, 1, 2, 4, 0, 0}));
    EXPECT_EQ(profile->findChapter(0)->result, 1);
    profile->release();
}

// A "PERCENT_GODS" value past float's range is refused like any other that is no finite number:
// saved, it would be "inf", which the next load refuses.
TEST_F(ProfileTest, GodPercentPastFloatsRangeIsRefused) {
    std::filesystem::path const file = useFile("gods_range");
    testsupport::writeFile(file, "<PROFILE><PROFIL NAME=\"G\"><PERCENT_GODS>\"|1e39|\" \"|0.5|\" \"|-1e39|\"</PERCENT_GODS>"
                    "</PROFIL></PROFILE>");
    logtest::LogWatch watch;
    ASSERT_TRUE(profiles().loadProfiles());
    Profil const* gods = profiles().getProfile(0);
    EXPECT_EQ(gods->getGodPercent(0), 0.0f);
    EXPECT_EQ(gods->getGodPercent(1), 0.5f);
    EXPECT_EQ(gods->getGodPercent(2), 0.0f);
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"\"1e39\" is not a finite number"));
    ASSERT_TRUE(profiles().saveProfiles());
    logtest::LogWatch again;
    ASSERT_TRUE(profiles().loadProfiles());
    EXPECT_TRUE(again.errors().empty());
}

// A file of more profiles than are read is copied aside whole before the ones read are written
// over it, with one error line; nothing of it is lost.
TEST_F(ProfileTest, AFileOfMoreProfilesThanAreReadIsKeptAside) {
    std::filesystem::path const file = useFile("many");
    std::string text = "<PROFILE>";
    for (std::size_t i = 0; i <= Solitaire::ProfilManager::kMaxProfiles; ++i)
        text += "<PROFIL NAME=\"P" + std::to_string(i) + "\"/>";
    text += "</PROFILE>";
    testsupport::writeFile(file, text);
    logtest::LogWatch watch;
    ASSERT_TRUE(profiles().loadProfiles());
    EXPECT_EQ(static_cast<std::size_t>(profiles().getProfileCount()), Solitaire::ProfilManager::kMaxProfiles);
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"holds more than 1024 profiles (the first 1024 are read); it is moved to"));
    std::filesystem::path const kept = file.string() + ".bad1";
    ASSERT_TRUE(std::filesystem::exists(kept));
    EXPECT_EQ(testsupport::readFile(kept), text);
    EXPECT_NE(testsupport::readFile(file), text);
    ASSERT_TRUE(profiles().saveProfiles());
    ASSERT_TRUE(profiles().loadProfiles());
    EXPECT_EQ(static_cast<std::size_t>(profiles().getProfileCount()), Solitaire::ProfilManager::kMaxProfiles);
    EXPECT_EQ(testsupport::readFile(kept), text);
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".bad2"));
}

// A profile made and chosen on a full list (the dialog makes the new profile the active one) is
// read at the next start in the place of the last of the first ones, which stays in the file kept
// aside; before, the first 1024 were read and the new one, past them, was lost.
TEST_F(ProfileTest, AProfileMadeOnAFullListIsThereAtTheNextStart) {
    std::filesystem::path const file = useFile("full_list");
    std::string text = "<PROFILE>";
    for (std::size_t i = 0; i < Solitaire::ProfilManager::kMaxProfiles; ++i)
        text += "<PROFIL NAME=\"P" + std::to_string(i) + "\"/>";
    testsupport::writeFile(file, text + "</PROFILE>");
    ASSERT_TRUE(profiles().loadProfiles());
    auto* ben = new Profil(L"Ben");
    profiles().addProfile(ben);
    profiles().setActiveProfile(ben);
    ben->setPoints(42.0f);
    ASSERT_TRUE(profiles().saveProfiles());
    logtest::LogWatch watch;
    ASSERT_TRUE(profiles().loadProfiles());
    EXPECT_EQ(static_cast<std::size_t>(profiles().getProfileCount()), Solitaire::ProfilManager::kMaxProfiles);
    ASSERT_NE(profiles().getActiveProfile(), nullptr);
    EXPECT_EQ(profiles().getActiveProfile()->getName(), L"Ben");
    EXPECT_EQ(profiles().getActiveProfile()->getPoints(), 42.0f);
    EXPECT_EQ(profiles().getProfile(1022)->getName(), L"P1022");
    EXPECT_EQ(profiles().findProfile(L"P1023"), nullptr);
    ASSERT_EQ(watch.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(watch.errors()[0], L"holds more than 1024 profiles")) << apptest::narrow(watch.errors()[0]);
    Orvex::XMLNode kept;
    ASSERT_TRUE(kept.load(cardstest::hostFile(file.string() + ".bad1"), 1));
    EXPECT_EQ(kept.getChildCount(L"PROFIL"), Solitaire::ProfilManager::kMaxProfiles + 1);
}

// The file names only the chapters a profile played or opened: a campaign of three chapters in
// which chapter 0 was passed and chapter 1 opened writes those two, and read again (the table
// built) it is the campaign that was written; a chapter number the catalogue no longer has keeps
// none of its chapters away.
TEST_F(ProfileTest, OnlyTheChaptersReachedAreWrittenAndReadAgainGiveTheSameCampaign) {
    loadText(L"<L><KATEGORIE NAME=\"KAMPAGNE\">"
             L"<GAME NAME=\"KAPITEL_0\"><VARIANTE NAME=\"A\"/></GAME>"
             L"<GAME NAME=\"KAPITEL_1\"><VARIANTE NAME=\"A\"/><VARIANTE NAME=\"B\"/></GAME>"
             L"<GAME NAME=\"KAPITEL_2\"><VARIANTE NAME=\"A\"/></GAME></KATEGORIE></L>");
    auto describe = [](Profil const& profile) {
        std::vector<std::vector<int>> out;
        for (auto const& chapter : profile.getCampaign()) {
            std::vector<int> row{chapter.chapter, chapter.result};
            for (auto const& level : chapter.levels)
                row.insert(row.end(), {level.level, level.result, static_cast<int>(level.found)});
            out.push_back(row);
        }
        std::sort(out.begin(), out.end());
        return out;
    };
    struct {
        char const* what;
        char const* stale;  // a chapter the catalogue does not have
        std::vector<int> written;
    } const cases[] = {
        {"the catalogue's chapters", "", {0, 1}},
        {"beside a stale number", "<KAPITEL KAPITEL=\"7\" RESULT=\"1\"/>", {7, 0, 1}},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::path const file = useFile(std::string("reached_") + (*c.stale ? "stale" : "plain"));
        testsupport::writeFile(file, std::string("<PROFILE><PROFIL NAME=\"P\"><KAMPAGNE>") + c.stale +
                                         "</KAMPAGNE></PROFIL></PROFILE>");
        ASSERT_TRUE(profiles().loadProfiles());
        profiles().buildAllCampaignTables();
        Profil* profile = profiles().getProfile(0);
        profile->findLevel(*profile->findChapter(0), 0)->result = 4;
        profile->findLevel(*profile->findChapter(0), 0)->found = 2;
        int chapter = 0, level = 0;
        ASSERT_TRUE(profile->advanceCampaign(0, 0, chapter, level, true));
        auto const before = describe(*profile);
        ASSERT_TRUE(profiles().saveProfiles());
        Orvex::XMLNode written;
        ASSERT_TRUE(written.load(cardstest::hostFile(file), 1));
        std::vector<int> numbers;
        for (Orvex::XMLNode const* node : written.getChild(L"PROFIL")->getChild(L"KAMPAGNE")->children())
            numbers.push_back(node->getAttributeInt(L"KAPITEL", -1));
        EXPECT_EQ(numbers, c.written);
        ASSERT_TRUE(profiles().loadProfiles());
        profiles().buildAllCampaignTables();
        EXPECT_EQ(describe(*profiles().getProfile(0)), before);
        for (int number : {0, 1, 2}) EXPECT_NE(profiles().getProfile(0)->findChapter(number), nullptr) << number;
    }
}

}  // namespace
