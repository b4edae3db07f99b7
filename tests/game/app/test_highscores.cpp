// Highscores, per-variant data and the quick save: a new result sorted into the five best, the
// "HIGHSCORES" and "VARIANT_DATA" elements written and read back (dates, statistics, names the
// catalogue no longer holds, a damaged file's endless list), and a quick save resumed into a new
// deal of the same variant.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "game/app/HighscoreEintrag.h"
#include "game/app/Profil.h"
#include "game/cards/Statistik.h"
#include "game/look/StyleSettings.h"
#include "port/win32/win32_text.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/app/CatalogueFixture.h"
#include "tests/game/cards/RunningGameTable.h"

namespace {

using Solitaire::HighscoreEintrag;
using Solitaire::StatistikCounter;

class HighscoreTest : public apptest::CatalogueFixture {
protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        loadShipped();
        ASSERT_TRUE(catalogue().setCurrentByNames(L"KNOBELEIEN", L"PAARE", L"PAARE"));
    }
    static std::vector<HighscoreEintrag*>& list() { return catalogue().getCurrentVariant()->getHighscores(); }
    // Ends a game of that score under the given player.
    static void result(float score, std::wstring const& player = L"P") {
        Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
        Solitaire::Profil* profile = profiles.findProfile(player);
        if (!profile) {
            profile = new Solitaire::Profil(player);
            profiles.addProfile(profile);
        }
        profiles.setActiveProfile(profile);
        Solitaire::Kartenmanager::instance().setScore(score, 0.0f);
        catalogue().addHighscore(player);
    }
    static std::wstring scores() {
        std::wstring out;
        for (HighscoreEintrag const* entry : list())
            out += (out.empty() ? L"" : L" ") + std::to_wstring(static_cast<int>(entry->getScore())) + entry->getName();
        return out;
    }
};

TEST_F(HighscoreTest, ANewResultIsSortedBehindEqualScoresAndTheListKeepsFive) {
    struct Row {
        float score;
        wchar_t const* list;
    } const rows[] = {
        {100.0f, L"500a 400a 300a 200a 100a"},
        {300.0f, L"500a 400a 300a 300b 200a"},
        {600.0f, L"600b 500a 400a 300a 200a"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.score);
        catalogue().getCurrentVariant()->clearHighscores();
        for (float score : {500.0f, 400.0f, 300.0f, 200.0f, 100.0f}) result(score, L"a");
        result(row.score, L"b");
        EXPECT_EQ(scores(), row.list);
    }
}

TEST_F(HighscoreTest, TheListsAndTheSavedLookReadBackWithDatesAndStatistics) {
    ASSERT_TRUE(catalogue().startVariant());
    catalogue().getGameStatistik()->addMoved(17);
    result(1234567.0f, L"Jörg");
    catalogue().finishStatistics(true);
    HighscoreEintrag* first = list().front();
    Orvex::XMLNode saved(L"HIGHSCORES");
    catalogue().writeHighscores(saved);
    Orvex::XMLNode const* element = saved.getChild(L"VARIANT_HIGHSCORES");
    ASSERT_TRUE(element);
    EXPECT_EQ(saved.getChildCount(L"VARIANT_HIGHSCORES"), 1u);
    EXPECT_EQ(element->getAttributeString(L"CAT_NAME", L""), L"KNOBELEIEN");
    EXPECT_EQ(element->getAttributeString(L"VAR_NAME", L""), L"PAARE");
    std::wstring const date = std::to_wstring(first->getHour()) + L" " + std::to_wstring(first->getMinute()) + L" " +
                              std::to_wstring(first->getDay()) + L" " + std::to_wstring(first->getMonth()) + L" " +
                              std::to_wstring(first->getYear());
    EXPECT_EQ(element->getChild(L"HIGHSCORE")->getAttributeString(L"DATE", L""), date);
    EXPECT_EQ(element->getChild(L"HIGHSCORE")->getAttributeString(L"SCORE", L""), L"1234567");

    Orvex::XMLNode file(L"HIGHSCORES");
    file.copyFrom(saved);
    file.getChild(L"VARIANT_HIGHSCORES")->getChild(L"HIGHSCORE")->setAttribute(L"DATE", L"14 5 3 11 2009");
    catalogue().readHighscores(file);
    ASSERT_EQ(list().size(), 1u);
    HighscoreEintrag const* read = list().front();
    EXPECT_EQ(read->getName(), L"Jörg");
    EXPECT_EQ(read->getScore(), 1234567.0f);
    EXPECT_EQ(read->getGameName(), manager().getSeedText());
    EXPECT_EQ(std::vector<int>({read->getHour(), read->getMinute(), read->getDay(), read->getMonth(), read->getYear()}),
              std::vector<int>({14, 5, 3, 11, 2009}));
    ASSERT_TRUE(read->getStatistik());
    EXPECT_EQ(read->getStatistik()->get(StatistikCounter::Moved), 17u);
    EXPECT_EQ(read->getStatistik()->get(StatistikCounter::Started), 1u);
    Orvex::XMLNode again(L"HIGHSCORES");
    catalogue().writeHighscores(again);
    EXPECT_TRUE(again.getChild(L"VARIANT_HIGHSCORES")->equals(*file.getChild(L"VARIANT_HIGHSCORES")));
}

TEST_F(HighscoreTest, UnknownVariantsAreDroppedAndBadEntriesReadSafely) {
    Orvex::XMLNode file;
    file.loadFromText(L"<HIGHSCORES SAVED_SP=\"inf\">"
                      L"<VARIANT_HIGHSCORES CAT_NAME=\"KNOBELEIEN\" GAME_NAME=\"PAARE\" VAR_NAME=\"WEG\"><HIGHSCORE SCORE=\"9\"/></VARIANT_HIGHSCORES>"
                      L"<VARIANT_HIGHSCORES CAT_NAME=\"KNOBELEIEN\" GAME_NAME=\"PAARE\"><HIGHSCORE SCORE=\"9\"/></VARIANT_HIGHSCORES>"
                      L"<VARIANT_HIGHSCORES CAT_NAME=\"KNOBELEIEN\" GAME_NAME=\"PAARE\" VAR_NAME=\"PAARE\">"
                      L"<HIGHSCORE NAME=\"x\" SCORE=\"nan\" DATE=\"1 x\"/><HIGHSCORE NAME=\"y\" SCORE=\"12\" DATE=\" 7  8 99999999999 \"/>"
                      L"</VARIANT_HIGHSCORES></HIGHSCORES>",
                      L"highscore test");
    logtest::LogWatch watch;
    catalogue().readHighscores(file, L"highscore test");
    EXPECT_EQ(scores(), L"12y 0x");
    HighscoreEintrag const* y = list().front();
    EXPECT_EQ(y->getHour(), 7);
    EXPECT_EQ(y->getMinute(), 8);
    // A piece that is no number keeps the current time's value, as a missing one does.
    EXPECT_GE(y->getDay(), 1);
    EXPECT_EQ(list().back()->getHour(), 1);
    EXPECT_GE(list().back()->getYear(), 2000);
    // One line for the file: "SAVED_SP", x's score and date, y's date.
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"\"SAVED_SP\""));
    EXPECT_TRUE(logtest::contains(errors[0], L"3 further problems"));
    Orvex::XMLNode saved(L"HIGHSCORES");
    catalogue().writeHighscores(saved);
    EXPECT_FALSE(saved.getAttribute(L"SAVED_SP"));
    EXPECT_EQ(saved.getChildCount(L"VARIANT_HIGHSCORES"), 1u);
}

// The saved style parameter blends every style range when it is restored; one past the bound the
// style settings give is refused with the file's line, as the catalogue's override is.
TEST_F(HighscoreTest, ASavedStyleParameterPastTheBlendsBoundIsRefused) {
    struct Row {
        wchar_t const* saved;
        wchar_t const* written;  // "SAVED_SP" written back, empty when refused
    } const rows[] = {
        {L"0.25", L"0.25"},
        {L"1e6", L"1e+06"},
        {L"3e38", L""},
        {L"-1.5e6", L""},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.saved, row.saved + std::wcslen(row.saved)));
        Solitaire::StyleSettings::instance().setStyleParam(0.5f);
        Orvex::XMLNode file;
        file.loadFromText(std::wstring(L"<HIGHSCORES SAVED_SP=\"") + row.saved + L"\"/>", L"highscore test");
        logtest::LogWatch watch;
        catalogue().readHighscores(file, L"highscore test");
        bool const refused = !*row.written;
        EXPECT_EQ(Solitaire::StyleSettings::getStyleParam(), refused ? 0.5f : std::wcstof(row.saved, nullptr));
        Orvex::XMLNode saved(L"HIGHSCORES");
        catalogue().writeHighscores(saved);
        EXPECT_EQ(saved.getAttributeString(L"SAVED_SP", L""), row.written);
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), refused ? 1u : 0u);
        if (refused)
            EXPECT_TRUE(logtest::contains(errors[0], L"\"SAVED_SP\" \"" + std::wstring(row.saved) +
                                                         L"\" is not a number within -1e+06..1e+06"))
                << std::string(errors[0].begin(), errors[0].end());
        catalogue().clear();
    }
    Solitaire::StyleSettings::instance().setStyleParam(0.0f);
}

// A score past float's range (it would be stored as 0 without a word) and dates out of range are
// refused with one line for the file; the other values of the entries stay.
TEST_F(HighscoreTest, ScoresPastFloatsRangeAndDatesOutOfRangeAreRefusedAloud) {
    struct Row {
        wchar_t const* entry;
        float score;
        int hour, minute, day, month, year;  // -1: now's value
    } const rows[] = {
        {L"SCORE=\"1e39\" DATE=\"1 2 3 4 2020\"", 0.0f, 1, 2, 3, 4, 2020},
        {L"SCORE=\"-1e39\" DATE=\"1 2 3 4 2020\"", 0.0f, 1, 2, 3, 4, 2020},
        {L"SCORE=\"5\" DATE=\"24 60 0 13 1600\"", 5.0f, -1, -1, -1, -1, -1},
        {L"SCORE=\"6\" DATE=\"23 59 31 12 30828\"", 6.0f, 23, 59, 31, 12, -1},
    };
    HighscoreEintrag const now(L"now", 0.0f, L"", nullptr);
    for (Row const& row : rows) {
        SCOPED_TRACE(port::toUtf8(row.entry));
        Orvex::XMLNode file;
        file.loadFromText(std::wstring(L"<HIGHSCORES><VARIANT_HIGHSCORES CAT_NAME=\"KNOBELEIEN\" GAME_NAME=\"PAARE\" "
                                       L"VAR_NAME=\"PAARE\"><HIGHSCORE NAME=\"e\" ") +
                              row.entry + L"/></VARIANT_HIGHSCORES></HIGHSCORES>",
                          L"highscore test");
        logtest::LogWatch watch;
        catalogue().readHighscores(file, L"highscore test");
        ASSERT_EQ(list().size(), 1u);
        HighscoreEintrag const* e = list().front();
        EXPECT_EQ(e->getScore(), row.score);
        auto expect = [](int want, int now) { return want < 0 ? now : want; };
        if (row.hour >= 0) EXPECT_EQ(e->getHour(), row.hour);
        EXPECT_EQ(e->getDay(), expect(row.day, now.getDay()));
        EXPECT_EQ(e->getMonth(), expect(row.month, now.getMonth()));
        EXPECT_EQ(e->getYear(), expect(row.year, now.getYear()));
        if (row.minute >= 0) EXPECT_EQ(e->getMinute(), row.minute);
        EXPECT_EQ(watch.errors().size(), 1u);
    }
}

TEST_F(HighscoreTest, ADamagedFilesEndlessListKeepsTheBestHundred) {
    std::wstring text = L"<HIGHSCORES><VARIANT_HIGHSCORES CAT_NAME=\"KNOBELEIEN\" GAME_NAME=\"PAARE\" VAR_NAME=\"PAARE\">";
    for (int i = 0; i < 5000; ++i) text += L"<HIGHSCORE NAME=\"n" + std::to_wstring(i) + L"\" SCORE=\"" + std::to_wstring(i % 700) + L"\"/>";
    text += L"</VARIANT_HIGHSCORES></HIGHSCORES>";
    Orvex::XMLNode file;
    file.loadFromText(text, L"highscore test");
    logtest::LogWatch watch;
    catalogue().readHighscores(file, L"highscore test");
    ASSERT_EQ(list().size(), Solitaire::SolitaireManager::kMaxReadHighscores);
    EXPECT_EQ(list().front()->getScore(), 699.0f);
    // Equal scores keep the file's order: 699 stands at entries 699, 1399, 2099 ...
    EXPECT_EQ(list().front()->getName(), L"n699");
    EXPECT_EQ(list()[1]->getName(), L"n1399");
    EXPECT_EQ(watch.errors().size(), 1u);
}

TEST_F(HighscoreTest, VariantDataIsWrittenOnlyForVariantsWithSomethingToKeep) {
    Orvex::XMLNode empty(L"PROFILE_DATA");
    catalogue().writeVariantData(empty);
    EXPECT_EQ(empty.getChildCount(), 0u);
    ASSERT_TRUE(catalogue().startVariant());
    catalogue().finishStatistics(true);
    Orvex::XMLNode data(L"PROFILE_DATA");
    catalogue().writeVariantData(data);
    ASSERT_EQ(data.getChildCount(), 1u);
    Orvex::XMLNode const* element = data.getChild(L"VARIANT_DATA");
    EXPECT_EQ(element->getAttributeString(L"VAR_NAME", L""), L"PAARE");
    EXPECT_FALSE(element->getChild(L"QUICK_SAVE"));
    // Read back into a catalogue whose sets are gone: the counts return under the variant's name,
    // whatever name the file gave.
    Orvex::XMLNode file;
    file.copyFrom(data);
    file.getChild(L"VARIANT_DATA")->getChild(L"STATISTIK")->setAttribute(L"NAME", L"STATS");
    catalogue().readVariantData(Orvex::XMLNode());
    EXPECT_EQ(catalogue().getCurrentVariant()->getStatistik(), nullptr);
    catalogue().readVariantData(file);
    Solitaire::Statistik const* read = catalogue().getCurrentVariant()->getStatistik();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->getName(), L"VAR_STATS");
    EXPECT_EQ(read->get(StatistikCounter::Won), 1u);
}

// Quick saves on the shipped golf variant, dealt by the card manager.
class QuickSaveTest : public apptest::CatalogueFixture {
protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        loadShipped();
        ASSERT_TRUE(catalogue().setCurrentByNames(L"KNOBELEIEN", L"GOLFPLATZ", L"GOLFPLATZ"));
    }
    static void startDealt(wchar_t const* seed) {
        ASSERT_TRUE(catalogue().startVariant());
        Solitaire::Kartenmanager::instance().startGame(nullptr, seed, true, {}, {}, 0.0f);
    }
    // A few cards turned and moved, score and time changed.
    static void play() {
        Solitaire::Kartenmanager& cards = Solitaire::Kartenmanager::instance();
        for (int i : {0, 5, 9}) cards.cards[static_cast<std::size_t>(i)]->setFaceUp(true, 0.0f, 0.0f);
        cards.setScore(777.5f, cards.getScoreMinus());
        cards.setTime(61.25f);
        cards.saveUndoState();
    }
};

TEST_F(QuickSaveTest, ASaveResumesIntoANewDealCardForCardAndTwice) {
    startDealt(L"11");
    play();
    catalogue().getGameStatistik()->addMoved(5);
    auto const table = cardtest::snapshotTable();
    ASSERT_TRUE(catalogue().writeQuickSave());
    EXPECT_TRUE(catalogue().getCurrentVariant()->getQuickSave().getChild(L"STATISTIK"));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        startDealt(L"12");
        EXPECT_NE(cardtest::snapshotTable(), table);
        ASSERT_TRUE(catalogue().resumeQuickSave());
        EXPECT_EQ(cardtest::snapshotTable(), table);
        EXPECT_EQ(manager().getScorePlus(), 777.5f);
        EXPECT_EQ(manager().getTime(), 61.25f);
        EXPECT_EQ(catalogue().getGameStatistik()->get(StatistikCounter::Moved), 5u);
        EXPECT_EQ(catalogue().getGameStatistik()->getName(), L"STATS");
    }
}

// A result keeps the seed text of its deal, a typed one or the number a random deal was given,
// never the variant's name: dealt again from the entry, the same game comes.
TEST_F(QuickSaveTest, AResultKeepsTheSeedTextOfItsDeal) {
    for (wchar_t const* seed : {L"4711", L"abc", L""}) {
        SCOPED_TRACE(std::wstring(seed));
        catalogue().getCurrentVariant()->clearHighscores();
        startDealt(seed);
        std::wstring const dealt = manager().getSeedText();
        auto const table = cardtest::snapshotTable();
        catalogue().addHighscore(L"");
        HighscoreEintrag const* entry = catalogue().getCurrentVariant()->getHighscores().front();
        EXPECT_EQ(entry->getGameName(), *seed ? seed : dealt);
        EXPECT_FALSE(entry->getGameName().empty());
        startDealt(entry->getGameName().c_str());
        EXPECT_EQ(cardtest::snapshotTable(), table);
    }
}

TEST_F(QuickSaveTest, ASaveWithoutStatisticsResetsThemAndTakesTheGamesTime) {
    startDealt(L"11");
    play();
    ASSERT_TRUE(catalogue().writeQuickSave());
    Orvex::XMLNode& save = catalogue().getCurrentVariant()->getQuickSave();
    save.removeChild(save.getChild(L"STATISTIK"));
    startDealt(L"12");
    catalogue().getGameStatistik()->addMoved(9);
    ASSERT_TRUE(catalogue().resumeQuickSave());
    EXPECT_EQ(catalogue().getGameStatistik()->get(StatistikCounter::Moved), 0u);
    EXPECT_EQ(catalogue().getGameStatistik()->get(StatistikCounter::Started), 0u);
    EXPECT_DOUBLE_EQ(catalogue().getGameStatistik()->getTime(), 61.25);
}

TEST_F(QuickSaveTest, ASaveThatIsNotWholeIsRefusedAndTheNewDealStays) {
    startDealt(L"11");
    play();
    ASSERT_TRUE(catalogue().writeQuickSave());
    Orvex::XMLNode& save = catalogue().getCurrentVariant()->getQuickSave();
    // Cut short: the last pile gone.
    Orvex::XMLNode const* last = nullptr;
    for (Orvex::XMLNode const* child : save.children())
        if (child->getName() == L"STAPEL") last = child;
    ASSERT_TRUE(last);
    save.removeChild(last);
    startDealt(L"12");
    catalogue().getGameStatistik()->addMoved(3);
    auto const table = cardtest::snapshotTable();
    EXPECT_FALSE(catalogue().resumeQuickSave());
    EXPECT_EQ(cardtest::snapshotTable(), table);
    EXPECT_EQ(catalogue().getGameStatistik()->get(StatistikCounter::Moved), 3u);
}

TEST_F(QuickSaveTest, WithoutASaveOrAVariantNothingResumes) {
    startDealt(L"11");
    auto const table = cardtest::snapshotTable();
    EXPECT_FALSE(catalogue().resumeQuickSave());
    EXPECT_EQ(cardtest::snapshotTable(), table);
    // A decided game leaves no save to resume.
    manager().setGameStatus(Solitaire::kGameWon);
    ASSERT_TRUE(catalogue().writeQuickSave());
    EXPECT_TRUE(catalogue().getCurrentVariant()->getQuickSave().isEmpty());
    catalogue().clear();
    EXPECT_TRUE(catalogue().writeQuickSave());
    EXPECT_FALSE(catalogue().resumeQuickSave());
}

}  // namespace
