// Hostile and damaged running-game saves: indexes that name nothing, a card listed by two
// arrangements, an arrangement overfilled, numbers that are not finite and a status out of range.
// Each loads what it can, keeps the rest of the new game and says so in one log line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "port/win32/win32_paths.h"
#include "tests/game/cards/ProfileFiles.h"
#include "tests/game/cards/RunningGameTable.h"
#include "tests/support/TestSupport.h"
#include "tests/engine/core/LogWatch.h"

namespace cardtest {
namespace {

using Solitaire::Anordnung;

class RunningGameFaults : public RunningGameTable {
protected:
    // Loads text into a fresh deal; returns the log lines it wrote.
    std::vector<std::wstring> loadText(std::wstring const& text) {
        Orvex::XMLNode node;
        EXPECT_TRUE(node.parse(text)) << "test text does not parse";
        logtest::LogWatch log;
        manager().loadRunningGame(node, L"quick.prf");
        return log.errors();
    }
};

TEST_F(RunningGameFaults, IndexesThatNameNothingAreSkipped) {
    std::wstring const ids[] = {L"-1", L"52", L"4294967295", L"99999999999", L"2147483648", L"x", L"", L"1.5"};
    for (std::wstring const& id : ids) {
        for (wchar_t const* shape : {L"card", L"pile", L"entry"}) {
            deal(0);
            std::vector<CardPlace> const before = snapshotTable();
            std::wstring text;
            if (shape == std::wstring(L"card")) text = L"<Q><KARTE ID=\"" + id + L"\" VISIBLE=\"1\"/></Q>";
            else if (shape == std::wstring(L"pile"))
                text = L"<Q><STAPEL ID=\"" + id + L"\"><ANNORDNUNG NAME=\"FAECHER\">\"|1|\" \"|2|\"</ANNORDNUNG></STAPEL></Q>";
            else
                text = L"<Q><STAPEL ID=\"3\"><ANNORDNUNG NAME=\"FAECHER\">\"|" + id + L"|\"</ANNORDNUNG></STAPEL></Q>";
            std::vector<std::wstring> const lines = loadText(text);
            std::wstring const label = id + L" as " + shape;
            EXPECT_EQ(lines.size(), 1u) << std::string(label.begin(), label.end());
            // A listed arrangement is emptied first; the cards no list took go back in order.
            EXPECT_EQ(snapshotTable(), before) << std::string(label.begin(), label.end());
        }
    }
}

TEST_F(RunningGameFaults, ACardListedByTwoArrangementsEndsInTheLastOne) {
    deal(0);
    std::vector<std::wstring> const lines =
        loadText(L"<Q><STAPEL ID=\"2\"><ANNORDNUNG NAME=\"FAECHER\">\"|20|\" \"|21|\"</ANNORDNUNG></STAPEL>"
                 L"<STAPEL ID=\"3\"><ANNORDNUNG NAME=\"FAECHER\">\"|21|\" \"|22|\"</ANNORDNUNG></STAPEL>"
                 L"<STAPEL ID=\"2\"><ANNORDNUNG NAME=\"FAECHER\">\"|20|\" \"|23|\"</ANNORDNUNG></STAPEL></Q>");
    EXPECT_TRUE(lines.empty());
    std::vector<CardPlace> const table = snapshotTable();  // each card in exactly one
    EXPECT_EQ(table[21].pile, 3);
    EXPECT_EQ(table[21].place, 0);
    EXPECT_EQ(table[20].pile, 2);
    EXPECT_EQ(table[23].pile, 2);
    EXPECT_EQ(manager().cards[21]->pile, manager().piles[3]);
    EXPECT_EQ(static_cast<int>(table.size()), kRunningDeck);
}

TEST_F(RunningGameFaults, ALinkedPilesCardsKeepTheirOwnPileWhateverTheOrderOfTheSave) {
    deal(0);
    // The stock names the waste as linked; here the waste comes first in the save.
    std::vector<std::wstring> const lines =
        loadText(L"<Q><STAPEL ID=\"1\"><ANNORDNUNG NAME=\"HAUFEN\">\"|20|\"</ANNORDNUNG></STAPEL>"
                 L"<STAPEL ID=\"0\"/></Q>");
    EXPECT_TRUE(lines.empty());
    Solitaire::Karte const& card = *manager().cards[20];
    EXPECT_EQ(card.pile, &pile(L"STAPEL_MUELL"));
    EXPECT_EQ(card.tag, L"STAPEL_MUELL");
}

TEST_F(RunningGameFaults, AnOverfullListLoadsWhatFitsAndCardsTheGameLacksAreSkipped) {
    struct Case {
        char const* what;
        wchar_t const* list;
        std::vector<int> first;  // what the arrangement starts with afterwards
    } const cases[] = {
        {"past MAX_CARDS", L"\"|30|\" \"|31|\" \"|32|\" \"|33|\" \"|34|\"", {30, 31, 32}},
        {"a card the game lacks", L"\"|30|\" \"|60|\" \"|31|\"", {30, 31}},
        {"a card listed twice", L"\"|30|\" \"|30|\" \"|31|\"", {30, 31}},
    };
    for (Case const& c : cases) {
        deal(0);
        Anordnung& fan = *manager().piles[4]->getArrangements().front();
        fan.maxCards = 3;
        std::vector<std::wstring> const lines =
            loadText(std::wstring(L"<Q><STAPEL ID=\"4\"><ANNORDNUNG NAME=\"FAECHER\">") + c.list +
                     L"</ANNORDNUNG></STAPEL></Q>");
        EXPECT_EQ(lines.size(), 1u) << c.what;
        ASSERT_GE(fan.cards.size(), c.first.size()) << c.what;
        EXPECT_LE(fan.cards.size(), 3u) << c.what;
        for (std::size_t i = 0; i < c.first.size(); ++i)
            EXPECT_EQ(fan.cards[i], manager().cards[static_cast<std::size_t>(c.first[i])]) << c.what;
        snapshotTable();  // no card left the table, none lies twice
    }
}

TEST_F(RunningGameFaults, NumbersThatAreNotFiniteKeepTheNewGamesValues) {
    struct Case {
        wchar_t const* attributes;
    } const cases[] = {
        {L"TIME=\"nan\""},          {L"TIME=\"inf\""},          {L"TIME=\"1e999\""},
        {L"SCORE=\"-inf\""},        {L"SCORE_PLUS=\"nan\""},    {L"SCORE_MINUS=\"-1e400\""},
        {L"GAMESTATUS=\"2\""},      {L"GAMESTATUS=\"-5\""},     {L"GAMESTATUS=\"0.5\""},
        {L"GAMESTATUS=\"nan\""},    {L"SCORE_PLUS=\"12abc\""},   {L"BALANCE=\"nan\""},
        {L"BALANCE=\"1e999\""},
    };
    for (Case const& c : cases) {
        deal(0);
        manager().setScore(640.0f, -3.0f);
        manager().setTime(9.0f);
        manager().setPointsBalance(25.0f, true);
        std::vector<std::wstring> const lines = loadText(std::wstring(L"<Q ") + c.attributes + L"/>");
        std::wstring const label(c.attributes);
        EXPECT_EQ(lines.size(), 1u) << std::string(label.begin(), label.end());
        EXPECT_EQ(manager().getScorePlus(), 640.0f);
        EXPECT_EQ(manager().getScoreMinus(), -3.0f);
        EXPECT_EQ(manager().getTime(), 9.0f);
        EXPECT_EQ(manager().getGameStatus(), 0);
        EXPECT_EQ(manager().getPointsBalance(), 25.0f);
    }
    for (wchar_t const* card : {L"LOCK=\"1 nan\"", L"KEY=\"inf\"", L"LOCK=\"1e39\"", L"KEY=\"0 x\""}) {
        deal(0);
        manager().cards[8]->setLocks(D3DXVECTOR4(0.0f, 3.0f, 0.0f, 0.0f), 0.0f, 0.0f);
        manager().cards[8]->setKeys(D3DXVECTOR4(4.0f, 0.0f, 0.0f, 0.0f), 0.0f, 0.0f);
        std::vector<std::wstring> const lines = loadText(std::wstring(L"<Q><KARTE ID=\"8\" ") + card + L"/></Q>");
        EXPECT_EQ(lines.size(), 1u);
        EXPECT_EQ(manager().cards[8]->locks.goal, D3DXVECTOR4(0.0f, 3.0f, 0.0f, 0.0f));
        EXPECT_EQ(manager().cards[8]->keys.goal, D3DXVECTOR4(4.0f, 0.0f, 0.0f, 0.0f));
    }
}

// A save file cut short after any whole line before its last card list reads as damaged and
// keeps only the part before the cut; the load refuses that part whole with one line, and the new
// deal (cards, score, history) stays as it was.
TEST_F(RunningGameFaults, ASaveCutShortIsRefusedWholeAndTheDealIsKept) {
    playSomeMoves();
    auto const file = cardstest::hostFile(testsupport::makeTempDir("running_game_cut") / "quick.prf");
    ASSERT_TRUE(saved().save(file, false));
    std::filesystem::path const path = port::hostPath(file);
    std::string const whole = testsupport::readFile(path);
    // Line ends after which something is cut: every line up to the last that opens an element
    // or holds a card (after it only closing tags follow).
    std::vector<std::size_t> cuts;
    std::size_t lastContent = 0;
    for (std::size_t at = whole.find('\n'); at != std::string::npos; at = whole.find('\n', at + 1)) {
        std::size_t const previous = whole.rfind('\n', at - 1);
        std::size_t const lineStart = previous == std::string::npos ? 0 : previous + 1;
        std::size_t const text = whole.find_first_not_of('\t', lineStart);
        if (whole.compare(text, 2, "</") != 0) lastContent = lineStart;
        cuts.push_back(at + 1);
    }
    std::erase_if(cuts, [&](std::size_t cut) { return cut == 0 || cut > lastContent; });
    ASSERT_GT(cuts.size(), 60u);
    // Inside a card's tag and inside an arrangement's tag.
    cuts.push_back(whole.find("<KARTE") + 12);
    cuts.push_back(whole.find("<ANNORDNUNG") + 16);
    for (std::size_t cut : cuts) {
        testsupport::writeFile(path, whole.substr(0, cut));
        Orvex::XMLNode node;
        ASSERT_EQ(node.loadChecked(file, 1), Orvex::XMLNode::ReadResult::kDamaged) << cut;
        freshOtherTable();
        std::vector<CardPlace> const dealt = snapshotTable();
        std::size_t const steps = manager().getUndoCount();
        logtest::LogWatch log;
        EXPECT_FALSE(manager().loadRunningGame(node, L"quick.prf")) << cut;
        ASSERT_EQ(log.errors().size(), 1u) << cut;
        EXPECT_NE(log.errors()[0].find(L"quick.prf"), std::wstring::npos);
        EXPECT_EQ(snapshotTable(), dealt) << cut;
        EXPECT_EQ(manager().getScorePlus(), 1000.0f) << cut;
        EXPECT_EQ(manager().getGameName(), L"GOLFPLATZ 1") << cut;
        EXPECT_EQ(manager().getUndoCount(), steps) << cut;
    }
    // The whole file loads.
    testsupport::writeFile(path, whole);
    Orvex::XMLNode node;
    ASSERT_EQ(node.loadChecked(file, 1), Orvex::XMLNode::ReadResult::kComplete);
    freshOtherTable();
    EXPECT_TRUE(manager().loadRunningGame(node, L"quick.prf"));
    EXPECT_EQ(manager().getGameName(), L"GOLFPLATZ 4711");
}

// Counts that differ from what the save holds, or a count missing inside a counted save.
TEST_F(RunningGameFaults, ASaveShortOfItsCountsIsRefusedWhole) {
    wchar_t const* const cases[] = {
        L"<Q KARTEN_ANZAHL=\"2\" STAPEL_ANZAHL=\"0\" SCORE_PLUS=\"5\"><KARTE ID=\"3\" VISIBLE=\"1\"/></Q>",
        L"<Q KARTEN_ANZAHL=\"0\" STAPEL_ANZAHL=\"2\" SCORE_PLUS=\"5\"><STAPEL ID=\"2\" ANNORDNUNG_ANZAHL=\"0\"/></Q>",
        L"<Q KARTEN_ANZAHL=\"0\" STAPEL_ANZAHL=\"1\" SCORE_PLUS=\"5\"><STAPEL ID=\"2\" ANNORDNUNG_ANZAHL=\"1\"/></Q>",
        L"<Q KARTEN_ANZAHL=\"0\" STAPEL_ANZAHL=\"1\" SCORE_PLUS=\"5\"><STAPEL ID=\"2\" ANNORDNUNG_ANZAHL=\"1\">"
        L"<ANNORDNUNG NAME=\"FAECHER\" KARTEN_ANZAHL=\"2\">\"|12|\"</ANNORDNUNG></STAPEL></Q>",
        L"<Q KARTEN_ANZAHL=\"0\" STAPEL_ANZAHL=\"1\" SCORE_PLUS=\"5\"><STAPEL ID=\"2\" ANNORDNUNG_ANZAHL=\"1\">"
        L"<ANNORDNUNG NAME=\"FAECHER\">\"|12|\"</ANNORDNUNG></STAPEL></Q>",
        L"<Q KARTEN_ANZAHL=\"0\" STAPEL_ANZAHL=\"1\" SCORE_PLUS=\"5\"><STAPEL ID=\"2\"/></Q>",
        L"<Q KARTEN_ANZAHL=\"x\" STAPEL_ANZAHL=\"0\" SCORE_PLUS=\"5\"/>",
        L"<Q KARTEN_ANZAHL=\"0\" SCORE_PLUS=\"5\"/>",
    };
    for (wchar_t const* text : cases) {
        deal(0);
        std::vector<CardPlace> const dealt = snapshotTable();
        Orvex::XMLNode node;
        ASSERT_TRUE(node.parse(text));
        logtest::LogWatch log;
        EXPECT_FALSE(manager().loadRunningGame(node, L"quick.prf")) << std::wstring_view(text).size();
        EXPECT_EQ(log.errors().size(), 1u);
        EXPECT_EQ(snapshotTable(), dealt);
        EXPECT_NE(manager().getScorePlus(), 5.0f);
    }
}

TEST_F(RunningGameFaults, ManyRefusalsMakeOneLineNamingTheSave) {
    deal(0);
    std::vector<std::wstring> const lines =
        loadText(L"<Q TIME=\"nan\" GAMESTATUS=\"7\"><KARTE ID=\"-3\"/><STAPEL ID=\"900\"/>"
                 L"<STAPEL ID=\"1\"><ANNORDNUNG NAME=\"NIRGENDS\">\"|1|\"</ANNORDNUNG></STAPEL></Q>");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(L"quick.prf"), std::wstring::npos);
    snapshotTable();
}

TEST_F(RunningGameFaults, TheLineNamesTheRefusedElement) {
    wchar_t const* const cases[] = {
        L"<Q>\n\n<KARTE ID=\"-3\"/></Q>",
        L"<Q>\n<KARTE ID=\"8\"/>\n<KARTE ID=\"8\" KEY=\"inf\"/></Q>",
        L"<Q>\n<STAPEL ID=\"3\">\n<ANNORDNUNG NAME=\"FAECHER\">\"|77|\"</ANNORDNUNG></STAPEL></Q>",
        L"\n\n<Q SCORE=\"nan\"/>",
    };
    for (wchar_t const* text : cases) {
        deal(0);
        std::vector<std::wstring> const lines = loadText(text);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_NE(lines[0].find(L"\"quick.prf\" at line 3:"), std::wstring::npos)
            << std::string(lines[0].begin(), lines[0].end());
    }
}

}  // namespace
}  // namespace cardtest

namespace cardtest {
namespace {

struct ArrivalCounter : sigslot::has_slots<> {
    unsigned long arrived = 0;
    void onArrived(unsigned long const& count) { arrived += count; }
};

// Cards the save puts on the goal pile arrive there by the load, not by a move of the player's:
// the resolution the load leaves for the next frame must not credit them as arrivals.
TEST_F(RunningGameFaults, CardsLoadedOntoTheGoalPileAreNoArrivalsOfThePlayers) {
    playSomeMoves();
    Orvex::XMLNode const node = saved();
    freshOtherTable();
    manager().loadRunningGame(node);
    ArrivalCounter counter;
    manager().goalCardsArrived.connect(&counter, &ArrivalCounter::onArrived);
    manager().resolveAfterMove(true);
    EXPECT_EQ(counter.arrived, 0u);
}

}  // namespace
}  // namespace cardtest
