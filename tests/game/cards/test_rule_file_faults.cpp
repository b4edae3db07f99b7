// Broken variant files: include cycles and depth, counts and numbers out of bounds, files cut
// short or missing. Each keeps what was read, gives one log line naming the file and the pile,
// and the reader goes on.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/GOBManager.h"
#include "engine/render/SpriteRect.h"
#include "game/cards/Anordnung.h"
#include "game/cards/Karte.h"
#include "port/win32/win32_paths.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/cards/CardTableFixture.h"

namespace Solitaire {
namespace {

using RuleFileFaultTest = cardtest::CardTableFixture;

std::vector<std::wstring> pileNames() {
    std::vector<std::wstring> names;
    for (Kartenstapel const* pile : Kartenmanager::instance().piles) names.push_back(pile->getName());
    return names;
}

bool anyContains(std::vector<std::wstring> const& lines, std::wstring const& part) {
    for (std::wstring const& line : lines)
        if (logtest::contains(line, part)) return true;
    return false;
}

TEST_F(RuleFileFaultTest, AnIncludeCycleIsReadOnceAndNamed) {
    logtest::LogWatch watch;
    load(L"tests\\game\\cards\\data\\cycle_a.sol");
    // b is read inside a; b's way back to a and to itself (other case, other slashes) are cut.
    EXPECT_EQ(pileNames(), (std::vector<std::wstring>{L"B", L"A"}));
    EXPECT_EQ(manager().getGameName(), L"ZYKLUS_A");
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_TRUE(logtest::contains(errors[0], L"cycle_b.sol"));
    EXPECT_TRUE(logtest::contains(errors[0], L"include cycle"));
}

TEST_F(RuleFileFaultTest, IncludesNestDeeperThanTheLimitAreCut) {
    std::filesystem::path const folder = testsupport::makeTempDir("deep_includes");
    int const files = Kartenmanager::kMaxIncludeDepth + 4;
    for (int i = 0; i < files; ++i) {
        std::string text = "<TIEFE" + std::to_string(i) + ">";
        if (i + 1 < files) text += "<KARTEN_FILE FILE=\"tief" + std::to_string(i + 1) + ".sol\"/>";
        text += "<STAPEL NAME=\"T" + std::to_string(i) + "\"/></TIEFE" + std::to_string(i) + ">";
        testsupport::writeFile(folder / ("tief" + std::to_string(i) + ".sol"), text);
    }
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(folder.string()));
    logtest::LogWatch watch;
    load(L"tief0.sol");
    // The top file and kMaxIncludeDepth levels below it.
    EXPECT_EQ(manager().piles.size(), static_cast<std::size_t>(Kartenmanager::kMaxIncludeDepth + 1));
    EXPECT_EQ(manager().piles.back()->getName(), L"T0");
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"nests deeper"));
}

// One file under three spellings is one file: its own includes of itself are cycles.
TEST_F(RuleFileFaultTest, AFileIncludingItselfUnderOtherNamesIsReadOnce) {
    std::filesystem::path const folder = testsupport::makeTempDir("self_includes");
    testsupport::writeFile(folder / "s.sol",
                           "<S><KARTEN_FILE FILE=\"s.sol\"/><KARTEN_FILE FILE=\".\\s.sol\"/>"
                           "<KARTEN_FILE FILE=\".\\.\\S.SOL\"/><STAPEL NAME=\"S\"/></S>");
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(folder.string()));
    for (bool fromTree : {false, true}) {
        SCOPED_TRACE(fromTree ? "read from a tree" : "read from the file");
        manager().createDiscardPile();
        logtest::LogWatch watch;
        if (fromTree) {
            Orvex::XMLNode node;
            ASSERT_TRUE(node.load(L"s.sol"));
            manager().loadGameDefinition(node, L"s.sol");
        } else {
            load(L"s.sol");
        }
        EXPECT_EQ(pileNames(), (std::vector<std::wstring>{L"S"}));
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), 3u);
        for (std::wstring const& line : errors) EXPECT_TRUE(logtest::contains(line, L"include cycle"));
    }
}

// Each file includes the next one twice (no cycle): eight levels would read 510 files; one
// definition reads kMaxIncludeReads and says so once.
TEST_F(RuleFileFaultTest, IncludesAreBoundedInAll) {
    std::filesystem::path const folder = testsupport::makeTempDir("doubling_includes");
    int const files = 9;
    for (int i = 0; i < files; ++i) {
        std::string const next = "zwei" + std::to_string(i + 1) + ".sol";
        std::string text = "<ZWEI>";
        if (i + 1 < files) text += "<KARTEN_FILE FILE=\"" + next + "\"/><KARTEN_FILE FILE=\".\\" + next + "\"/>";
        text += "<STAPEL NAME=\"Z" + std::to_string(i) + "\"/></ZWEI>";
        testsupport::writeFile(folder / ("zwei" + std::to_string(i) + ".sol"), text);
    }
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(folder.string()));
    logtest::LogWatch watch;
    load(L"zwei0.sol");
    EXPECT_EQ(manager().piles.size(), static_cast<std::size_t>(Kartenmanager::kMaxIncludeReads + 1));
    // Each file read twice names its piles again: said once for the whole definition.
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_TRUE(logtest::contains(errors[0], L"included files one definition may read"));
    EXPECT_TRUE(logtest::contains(errors[1], L"zwei0.sol\": pile \"Z8\" is named again by its include"));
    // The next definition reads its includes afresh.
    manager().createDiscardPile();
    load(L"zwei7.sol");
    EXPECT_EQ(manager().piles.size(), 3u);
}

TEST_F(RuleFileFaultTest, NumbersOutOfBoundsKeepTheirDefaults) {
    logtest::LogWatch watch;
    load(L"tests\\game\\cards\\data\\broken_numbers.sol");
    ASSERT_EQ(manager().piles.size(), 2u);
    Kartenstapel& broken = pile(L"ZAHLEN");
    struct Kept {
        char const* key;
        double read, expected;
    } const kept[] = {
        {"SCALE", broken.getScale(), 1.0},
        {"RENDER_INDEX", broken.rules.renderIndex, 0.5},
        {"POSITION", broken.position.x, 0.0},
        {"INIT_KARTEN_SICHTBAR", static_cast<double>(broken.rules.initVisibleCards), 0.0},
        {"INIT_KARTEN_VERDECKT", static_cast<double>(broken.rules.initHiddenCards), 0.0},
        {"MAX_ANZ_FILL_KARTEN", static_cast<double>(broken.rules.maxFillCards), -1.0},
        {"ABSCHATTUNG", static_cast<double>(broken.rules.shading), 0.0},
        {"ANZAHL_AUFDECKEN", static_cast<double>(broken.rules.revealCount), 1.0},
        {"ACCEPT_STAPEL_SIZE", static_cast<double>(broken.rules.acceptRunSize), -1.0},
        {"STAPELTYP", static_cast<double>(broken.rules.pileType), static_cast<double>(kPileBasis)},
        {"MAX_CARDS", static_cast<double>(broken.getRootArrangement()->maxCards),
         static_cast<double>(Anordnung::kMaxCards)},
        {"ANZAHL_KARTEN", static_cast<double>(manager().getRules().deckSize), 52.0},
        {"ANZAHL_STERNE", static_cast<double>(manager().getRules().extraCardCount), 0.0},
        {"STERNETYP", static_cast<double>(manager().getRules().extraCardType), 0.0},
        {"SCORE_START", manager().getScorePlus(), 1000.0},
        {"GLOBAL_MAKE_JOKER_VERH", manager().getRules().jokerRatio, 0.0},
        {"STAPEL_POS", manager().getPilePositions().at(0).relative.x, 0.0},
    };
    for (Kept const& k : kept) EXPECT_EQ(k.read, k.expected) << k.key;
    // The root falls back to the first arrangement; the wish beyond any card is refused.
    EXPECT_EQ(broken.getRootArrangement(), broken.findArrangement(L"EINZIGE"));
    for (KartenWunsch const& wish : broken.getRootArrangement()->wishes) EXPECT_LE(wish.position, KartenWunsch::kMaxPosition);
    // The pile after it reads as written.
    EXPECT_EQ(pile(L"HEIL").rules.initVisibleCards, 2);

    auto const errors = watch.errors();
    auto pileLines = 0;
    for (std::wstring const& line : errors)
        if (logtest::contains(line, L"Pile \"ZAHLEN\"")) {
            ++pileLines;
            EXPECT_TRUE(logtest::contains(line, L"broken_numbers.sol"));
        }
    EXPECT_EQ(pileLines, 1);
    EXPECT_TRUE(anyContains(errors, L"Variant file \"tests\\game\\cards\\data\\broken_numbers.sol\""));
}

// A pile's place times the cell (100 x 140 here), an arrangement's step times a card count, the
// style's step and the cell, a pile position's share times the view: each number finite, their
// products not. Past Orvex::kMaxMeasure a number is refused with its line and the field keeps
// its default; the pile's place stays finite.
TEST_F(RuleFileFaultTest, PlacesAndStepsWhoseProductsWithACellLeaveFloatsAreRefused) {
    struct Row {
        wchar_t const* pile;       // the pile element on line 2, its arrangement on line 3
        wchar_t const* positions;  // the "DYNAMIC_STAPEL_POSES" element on line 4, or empty
        wchar_t const* refused;    // what the one line says after "at line n: ", null: no line
        void (*check)(Kartenstapel const&, std::vector<PilePosition> const&);
    } const rows[] = {
        {L"<STAPEL NAME=\"P\" POSITION_REL=\"-1e6 1e6\">\n<ANORDNUNG NAME=\"A\" DELTA_VISIBLE=\"0 1e6 -1e6\" "
         L"DELTA_ROTATION_SELECT=\"1e6\"/></STAPEL>",
         L"<DYNAMIC_STAPEL_POSES><STAPEL_POS NAME=\"P\" POSITION_REL=\"2e6 1 2\"/></DYNAMIC_STAPEL_POSES>", nullptr,
         [](Kartenstapel const& p, std::vector<PilePosition> const& places) {
             EXPECT_EQ(p.position, D3DXVECTOR2(-1.0e8f, 1.4e8f));
             EXPECT_EQ(p.getRootArrangement()->deltaVisible.rotation, -1.0e6f);
             EXPECT_EQ(places.at(0).relative, D3DXVECTOR2(1.0e6f, 0.5f));
         }},
        {L"<STAPEL NAME=\"P\" POSITION_REL=\"3e38 0\">\n<ANORDNUNG NAME=\"A\"/></STAPEL>", L"",
         L"\"POSITION_REL\" \"3e38 0\" is not a list of numbers within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) { EXPECT_EQ(p.position, D3DXVECTOR2(0, 0)); }},
        {L"<STAPEL NAME=\"P\" POSITION=\"0 -3e38\">\n<ANORDNUNG NAME=\"A\"/></STAPEL>", L"",
         L"\"POSITION\" \"0 -3e38\" is not a list of numbers within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) { EXPECT_EQ(p.position, D3DXVECTOR2(0, 0)); }},
        {L"<STAPEL NAME=\"P\">\n<ANORDNUNG NAME=\"A\" DELTA_VISIBLE=\"0 3e38\"/></STAPEL>", L"",
         L"\"DELTA_VISIBLE\" \"0 3e38\" is not a list of numbers within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) {
             EXPECT_EQ(p.getRootArrangement()->deltaVisible.y, 0.1f);
         }},
        {L"<STAPEL NAME=\"P\">\n<ANORDNUNG NAME=\"A\" DELTA_ROTATION_VISIBLE=\"-3e38\"/></STAPEL>", L"",
         L"\"DELTA_ROTATION_VISIBLE\" \"-3e38\" is not a number within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) {
             EXPECT_EQ(p.getRootArrangement()->deltaVisible.rotation, 0.0f);
         }},
        {L"<STAPEL NAME=\"P\">\n<ANORDNUNG NAME=\"A\" CENTER_MODE_VERH=\"0.5 3e38\"/></STAPEL>", L"",
         L"\"CENTER_MODE_VERH\" \"0.5 3e38\" is not a list of numbers within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) {
             EXPECT_EQ(p.getRootArrangement()->centerRatio[1], 0.5f);
         }},
        {L"<STAPEL NAME=\"P\">\n<ANORDNUNG NAME=\"A\"/></STAPEL>",
         L"<DYNAMIC_STAPEL_POSES><STAPEL_POS NAME=\"P\" POSITION_REL=\"3e38 0.5\"/></DYNAMIC_STAPEL_POSES>",
         L"\"STAPEL_POS\" \"P\": \"POSITION_REL\" \"3e38 0.5\" is not a list of numbers within -1e+06..1e+06",
         [](Kartenstapel const&, std::vector<PilePosition> const& places) {
             EXPECT_EQ(places.at(0).relative, D3DXVECTOR2(0, 0));
         }},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.pile, row.pile + std::wcslen(row.pile)));
        logtest::LogWatch watch;
        manager().createDiscardPile();
        readKeys(std::wstring(L"<S>\n") + row.pile + L"\n" + row.positions + L"\n</S>");
        Kartenstapel const& read = pile(L"P");
        EXPECT_TRUE(std::isfinite(read.position.x) && std::isfinite(read.position.y));
        row.check(read, manager().getPilePositions());
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), row.refused ? 1u : 0u);
        if (row.refused)
            EXPECT_TRUE(logtest::contains(errors[0], L"\"keys.sol\" at line ") && logtest::contains(errors[0], row.refused))
                << std::string(errors[0].begin(), errors[0].end());
    }
}

// A pile's "SCALE" (or its pile position's) times the cell (100 x 140 here), and a spline's
// direction times an arrangement's factor: a scale of 3e38 put the card at -inf..inf, with no line.
// Past Orvex::kMaxMeasure a number is refused with its line and the field keeps its default; the
// pile and a card laid on it are drawn finitely.
TEST_F(RuleFileFaultTest, ScalesPastTheBoundAreRefusedAndTheCardsDrawnFinitely) {
    struct Row {
        wchar_t const* pile;       // the pile element on line 2
        wchar_t const* positions;  // the "DYNAMIC_STAPEL_POSES" element on line 3, or empty
        wchar_t const* refused;    // what the one line says after "at line n: "
        void (*check)(Kartenstapel const&, std::vector<PilePosition> const&);
    } const rows[] = {
        {L"<STAPEL NAME=\"P\" SCALE=\"3e38\"/>", L"", L"line 2: \"SCALE\" \"3e38\" is not a number within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) { EXPECT_EQ(p.getScale(), 1.0f); }},
        {L"<STAPEL NAME=\"P\" SCALE=\"1e7\"/>", L"", L"line 2: \"SCALE\" \"1e7\" is not a number within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) { EXPECT_EQ(p.getScale(), 1.0f); }},
        {L"<STAPEL NAME=\"P\" SCALE=\"-3e38\"/>", L"", L"line 2: \"SCALE\" \"-3e38\" is not a number within",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) { EXPECT_EQ(p.getScale(), 1.0f); }},
        {L"<STAPEL NAME=\"P\"/>",
         L"<DYNAMIC_STAPEL_POSES><STAPEL_POS NAME=\"P\" SCALE=\"3e38\"/></DYNAMIC_STAPEL_POSES>",
         L"line 3: \"STAPEL_POS\" \"P\": \"SCALE\" \"3e38\" is not a number within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const& places) {
             EXPECT_EQ(places.at(0).scale, 1.0f);
             EXPECT_EQ(p.getScale(), 1.0f);
         }},
        {L"<STAPEL NAME=\"P\"/>",
         L"<DYNAMIC_STAPEL_POSES><STAPEL_POS NAME=\"P\" SCALE=\"-1e7\"/></DYNAMIC_STAPEL_POSES>",
         L"line 3: \"STAPEL_POS\" \"P\": \"SCALE\" \"-1e7\" is not a number within",
         [](Kartenstapel const&, std::vector<PilePosition> const& places) { EXPECT_EQ(places.at(0).scale, 1.0f); }},
        {L"<STAPEL NAME=\"P\"><ANORDNUNG NAME=\"A\" USE_SPLINE_DIRECTION=\"1\" SPLINE_ROTATION_FAKTOR=\"3e38\">"
         L"<SPLINE><CONTROLPOINT POSITION=\"0 0\"/><CONTROLPOINT POSITION=\"1 1\"/></SPLINE></ANORDNUNG></STAPEL>",
         L"", L"line 2: \"SPLINE_ROTATION_FAKTOR\" \"3e38\" is not a number within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) {
             EXPECT_EQ(p.getRootArrangement()->splineRotationFactor, 1.0f);
         }},
        {L"<STAPEL NAME=\"P\"><ANORDNUNG NAME=\"A\" USE_SPLINE_DIRECTION=\"1\" SPLINE_ROTATION_OFFSET=\"-3e38\">"
         L"<SPLINE><CONTROLPOINT POSITION=\"0 0\"/><CONTROLPOINT POSITION=\"1 1\"/></SPLINE></ANORDNUNG></STAPEL>",
         L"", L"line 2: \"SPLINE_ROTATION_OFFSET\" \"-3e38\" is not a number within -1e+06..1e+06",
         [](Kartenstapel const& p, std::vector<PilePosition> const&) {
             EXPECT_EQ(p.getRootArrangement()->splineRotationOffset, 0.0f);
         }},
    };
    auto finite = [](Orvex::SpriteRect const& q) {
        return std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.w) && std::isfinite(q.h) &&
               std::isfinite(q.rotation);
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(std::string(row.pile, row.pile + std::wcslen(row.pile)));
        logtest::LogWatch watch;
        manager().createDiscardPile();
        readKeys(std::wstring(L"<S>\n") + row.pile + L"\n" + row.positions + L"\n</S>");
        Kartenstapel& read = pile(L"P");
        auto* card = new Karte(0, 0, 1, 0);
        manager().addCard(card);
        read.addCard(card, nullptr, true, true);
        manager().applyScreenPilePositions();
        row.check(read, manager().getPilePositions());
        EXPECT_TRUE(finite(read.getScreenQuad()));
        EXPECT_TRUE(finite(card->getScreenQuad()));
        Orvex::FRect bounds;
        read.getBounds(bounds, false);
        EXPECT_TRUE(std::isfinite(bounds.left) && std::isfinite(bounds.right) && std::isfinite(bounds.top) &&
                    std::isfinite(bounds.bottom));
        auto const errors = watch.errors();
        EXPECT_TRUE(errors.size() == 1 && logtest::contains(errors[0], L"\"keys.sol\" at ") &&
                    logtest::contains(errors[0], row.refused))
            << errors.size() << " lines" << (errors.empty() ? std::string() : ", the first: " + std::string(errors[0].begin(), errors[0].end()));
    }
}

TEST_F(RuleFileFaultTest, TooManyPilesAreCut) {
    std::wstring text = L"<VIELE>";
    for (int i = 0; i < Kartenmanager::kMaxPiles + 3; ++i) text += L"<STAPEL NAME=\"S" + std::to_wstring(i) + L"\"/>";
    for (int i = 0; i < Kartenmanager::kMaxPiles + 1; ++i) text += L"<STAPEL_VORLAGE NAME=\"V\"/>";
    text += L"<DYNAMIC_STAPEL_POSES>";
    for (int i = 0; i < Kartenmanager::kMaxPilePositions + 1; ++i) text += L"<STAPEL_POS NAME=\"S\"/>";
    text += L"</DYNAMIC_STAPEL_POSES></VIELE>";
    Orvex::XMLNode node;
    ASSERT_TRUE(node.loadFromText(text));
    logtest::LogWatch watch;
    manager().loadGameDefinition(node, L"viele.sol");
    EXPECT_EQ(manager().piles.size(), static_cast<std::size_t>(Kartenmanager::kMaxPiles));
    EXPECT_EQ(manager().getTemplates().size(), static_cast<std::size_t>(Kartenmanager::kMaxPiles));
    EXPECT_EQ(manager().getPilePositions().size(), static_cast<std::size_t>(Kartenmanager::kMaxPilePositions));
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"viele.sol"));
    EXPECT_TRUE(logtest::contains(errors[0], L"2 further problems"));
}

TEST_F(RuleFileFaultTest, AFileCutShortOrMissingKeepsWhatWasRead) {
    {
        logtest::LogWatch watch;
        load(L"tests\\game\\cards\\data\\broken_cut.sol");
        EXPECT_EQ(pile(L"VOLLSTAENDIG").rules.sourcePiles, (std::vector<std::wstring>{L"A", L"B"}));
        EXPECT_TRUE(anyContains(watch.errors(), L"broken_cut.sol"));
    }
    manager().createDiscardPile();
    {
        logtest::LogWatch watch;
        load(L"tests\\game\\cards\\data\\missing_include.sol");
        EXPECT_EQ(pileNames(), std::vector<std::wstring>{L"DANACH"});
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_TRUE(logtest::contains(errors[0], L"gibt_es_nicht.sol"));
        EXPECT_TRUE(logtest::contains(errors[0], L"missing_include.sol"));
    }
    manager().createDiscardPile();
    logtest::LogWatch watch;
    EXPECT_FALSE(manager().loadGameDefinitionFile(L"tests\\game\\cards\\data\\nirgends.sol"));
    EXPECT_TRUE(manager().piles.empty());
    EXPECT_EQ(watch.errors().size(), 1u);
}

// A pile that takes the name of an earlier one stays (both are dealt; the name finds the first),
// and the definition says so in one line naming its file, the include that named the pile again
// and how many more did; templates and piles share no names.
TEST_F(RuleFileFaultTest, APileNamedAgainIsToldInOneLine) {
    std::filesystem::path const folder = testsupport::makeTempDir("piles_named_again");
    testsupport::writeFile(folder / "vor.sol", "<V><STAPEL NAME=\"A\"/></V>");
    testsupport::writeFile(folder / "nach.sol", "<N><STAPEL NAME=\"A\"/><STAPEL NAME=\"B\"/></N>");
    Orvex::GOBManager::getInstance().addSearchPath(port::windowsPath(folder.string()));
    struct Row {
        char const* what;
        wchar_t const* text;
        std::vector<std::wstring> piles;
        wchar_t const* line;  // the one error line's part; null: none
    } const rows[] = {
        {"twice in the file", L"<S><STAPEL NAME=\"A\"/><STAPEL NAME=\"A\"/></S>", {L"A", L"A"},
         L"\"zwei.sol\": pile \"A\" is named again; the first"},
        {"an include first", L"<S><KARTEN_FILE FILE=\"vor.sol\"/><STAPEL NAME=\"A\"/></S>", {L"A", L"A"},
         L"\"zwei.sol\": pile \"A\" is named again; the first"},
        {"an include after", L"<S><KARTEN_FILE_POST FILE=\"nach.sol\"/><STAPEL NAME=\"A\"/><STAPEL NAME=\"B\"/></S>",
         {L"A", L"B", L"A", L"B"}, L"pile \"A\" is named again by its include \"nach.sol\" (and 1 more after it)"},
        {"a template's name", L"<S><STAPEL_VORLAGE NAME=\"A\"/><STAPEL NAME=\"A\" VORLAGE=\"A\"/></S>", {L"A"}, nullptr},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        std::wstring const text(row.text);
        testsupport::writeFile(folder / "zwei.sol", std::string(text.begin(), text.end()));
        manager().createDiscardPile();
        logtest::LogWatch watch;
        load(L"zwei.sol");
        EXPECT_EQ(pileNames(), row.piles);
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), row.line ? 1u : 0u);
        if (!row.line) continue;
        EXPECT_TRUE(logtest::contains(errors[0], row.line)) << std::string(errors[0].begin(), errors[0].end());
    }
}

}  // namespace
}  // namespace Solitaire
