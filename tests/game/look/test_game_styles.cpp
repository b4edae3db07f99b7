// Game styles from data: the reader (aliases, sound and start-position defaults, play-mode words),
// the multiplier, refused values, the settings' game-style list with its fallback and choice, and
// the shipped game style whose sounds resolve in the shipped sound list.
#include "engine/platform/SoundManager.h"
#include "game/look/GameStyle.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/look/StyleFiles.h"

namespace Solitaire {
namespace {

using styletest::StyleFilesTest;
using styletest::tree;

std::string narrow(std::wstring const& text) { return std::string(text.begin(), text.end()); }

struct ReadCase {
    wchar_t const* text;
    void (*check)(GameStyle const&);
};

// Reads each case as a game style of "kaputt.sty" and checks it; logged: how its one error line
// begins, or empty when it must log none.
template <std::size_t N>
void readCases(ReadCase const (&cases)[N], std::wstring const& logged) {
    for (ReadCase const& c : cases) {
        SCOPED_TRACE(narrow(c.text));
        logtest::LogWatch watch;
        Orvex::XMLNode node = tree(c.text);
        GameStyle style(node, L"kaputt.sty");
        c.check(style);
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), logged.empty() ? 0u : 1u);
        if (!logged.empty()) {
            EXPECT_TRUE(logtest::contains(errors[0], logged)) << narrow(errors[0]);
        }
    }
}

TEST(GameStyleReadTest, LongKeysWinOverAliasesAndAbsentKeysKeepTheirDefaults) {
    ReadCase const cases[] = {
        {L"<G UNDO=\"-20\"/>", [](GameStyle const& g) { EXPECT_FLOAT_EQ(g.undoPoints, -20.0f); }},
        {L"<G UNDO=\"-20\" UNDO_PENALTY=\"-30\" MISCHEN=\"-7\" WRONG_DBLCLICK=\"-3\" MOVE_FROM_ZIEL=\"-4\" TIPP=\"-5\"/>",
         [](GameStyle const& g) {
             EXPECT_FLOAT_EQ(g.undoPoints, -30.0f);
             EXPECT_FLOAT_EQ(g.mischenPoints, -7.0f);
             EXPECT_FLOAT_EQ(g.wrongDoubleClickPoints, -3.0f);
             EXPECT_FLOAT_EQ(g.moveFromZiel, -4.0f);
             EXPECT_FLOAT_EQ(g.tippPoints, -5.0f);
             EXPECT_FLOAT_EQ(g.winBonus, 500.0f);
         }},
        // The words compare exactly, case included.
        {L"<G MOUSE_CONTROL_MODE=\"pairs\" SHOW_TIP_STYLE=\"ONLY_CARDS_NOT_STAPEL\"/>",
         [](GameStyle const& g) {
             EXPECT_EQ(g.mouseControlMode, 0);
             EXPECT_EQ(g.tipStyle, 1);
         }},
        {L"<G MOUSE_CONTROL_MODE=\"PAIRS\"/>", [](GameStyle const& g) { EXPECT_EQ(g.mouseControlMode, 1); }},
        // Absent sound keys keep the event's default name; "UNLOCKED…"/"UNKEYED…" play "UNLOCK…"/"UNKEY…".
        {L"<G><SOUNDS MOVE=\"KLACK\"/><SOUNDS WIN=\"ZWEITER\"/></G>",
         [](GameStyle const& g) {
             EXPECT_EQ(g.getSoundName(GameStyle::kSoundMove), L"KLACK");
             EXPECT_EQ(g.getSoundName(GameStyle::kSoundWin), L"WIN") << "only the first SOUNDS counts";
             EXPECT_EQ(g.getSoundName(GameStyle::kSoundUnlocked), L"UNLOCK");
             EXPECT_EQ(g.getSoundName(GameStyle::kSoundUnkeyed3), L"UNKEY3");
             EXPECT_EQ(g.getSoundName(GameStyle::kSoundCount), L"");
         }},
        {L"<G><STARTPOSITION POSITION_REL=\"0.2\"/><STARTPOSITION/><STARTPOSITION POSITION_REL=\"0.1 0.2 0.3\"/>"
         L"<STARTPOSITION POSITION_REL=\"1 2 3 4\"/></G>",
         [](GameStyle const& g) {
             ASSERT_EQ(g.startPositions.size(), 4u);
             EXPECT_EQ(g.startPositions[0], D3DXVECTOR4(0.2f, 0.2f, 0, 0));
             EXPECT_EQ(g.startPositions[1], D3DXVECTOR4(0.5f, 0.5f, 0, 0));
             EXPECT_EQ(g.startPositions[2], D3DXVECTOR4(0.1f, 0.2f, 0.3f, 0.3f));
             EXPECT_EQ(g.startPositions[3], D3DXVECTOR4(1, 2, 3, 4));
         }},
    };
    readCases(cases, L"");
}

TEST(GameStyleReadTest, TheMultiplierGrowsToItsCapAndEndsSilentlyAtZero) {
    GameStyle style(L"T");
    for (int i = 0; i < 11; ++i) style.addMultiplier(true);
    EXPECT_FLOAT_EQ(style.getMultiplierFactor(), 2.0f);
    EXPECT_EQ(style.getMultiplierCount(), 11u);

    style.setDefaults();
    style.minMultipliers = 3;
    style.multiplierBonus = 0.5f;
    float const expected[] = {1.0f, 1.0f, 1.0f, 2.5f};
    for (float factor : expected) {
        EXPECT_FLOAT_EQ(style.getMultiplierFactor(), factor);
        style.addMultiplier(true);
    }

    struct Heard : sigslot::has_slots<> {
        int signals = 0;
        void ended(float const&) { ++signals; }
        void combo(unsigned const&) { ++signals; }
    } heard;
    style.multiplierEnded.connect(&heard, &Heard::ended);
    style.comboEnded.connect(&heard, &Heard::combo);
    style.updateMultiplier();
    EXPECT_EQ(heard.signals, 2);
    // At count 0 the factor does not change: nothing is announced, the combo still clears.
    style.addMultiplier(true);
    ASSERT_EQ(style.getCombo(), 1u);
    style.updateMultiplier();
    EXPECT_EQ(heard.signals, 2);
    EXPECT_EQ(style.getCombo(), 0u);
    EXPECT_EQ(style.getMaxCombo(), 4u);
}

TEST(GameStyleReadTest, RefusedValuesGiveOneLineNamingFileAndLineAndKeepTheDefaults) {
    ReadCase const cases[] = {
        {L"\n<G NAME=\"K\" UNDO_PENALTY=\"1e999\" PRICE_JOKER=\"-5\" MIN_MULTIPLIERS_FOR_BONUS=\"-1\"/>",
         [](GameStyle const& g) {
             EXPECT_FLOAT_EQ(g.undoPoints, -100.0f);
             EXPECT_EQ(g.priceJoker, 25000);
             EXPECT_EQ(g.minMultipliers, 0u);
         }},
        // Bounded so that points x factor stay finite.
        {L"\n<G NAME=\"K\" MOVE_ON_ZIEL=\"3e38\" MULTIPLIER_BONUS=\"1e30\" MAX_MULTIPLIERS_FOR_BONUS=\"2000000000\"/>",
         [](GameStyle const& g) {
             EXPECT_FLOAT_EQ(g.moveOnZiel, 100.0f);
             EXPECT_FLOAT_EQ(g.multiplierBonus, 0.1f);
             EXPECT_EQ(g.maxMultipliers, 10u);
         }},
        {L"<G NAME=\"K\">\n<STARTPOSITION POSITION_REL=\"0.3 nan\"/></G>",
         [](GameStyle const& g) {
             ASSERT_EQ(g.startPositions.size(), 1u);
             EXPECT_EQ(g.startPositions[0], D3DXVECTOR4(0.5f, 0.5f, 0, 0));
         }},
    };
    readCases(cases, L"Game style \"K\" in \"kaputt.sty\" at line 2:");
    // A flood of start positions is cut at the bound, with one line.
    std::wstring many = L"<G NAME=\"K\">";
    for (std::size_t i = 0; i <= GameStyle::kMaxStartPositions; ++i) many += L"<STARTPOSITION/>";
    logtest::LogWatch watch;
    Orvex::XMLNode node = tree(many + L"</G>");
    GameStyle flooded(node, L"kaputt.sty");
    EXPECT_EQ(flooded.startPositions.size(), GameStyle::kMaxStartPositions);
    EXPECT_EQ(watch.errors().size(), 1u);
}

TEST(GameStyleReadTest, StartPositionsWhoseSumsOrProductsWithATableLeaveFloatsAreRefused) {
    // Each row is one "STARTPOSITION" on line 2 of "kaputt.sty"; a refused list leaves the
    // default record (0.5, 0.5, 0, 0).
    struct Row {
        wchar_t const* positions;
        D3DXVECTOR4 record;
        bool refused;
    } const rows[] = {
        {L"0.5 1.2", {0.5f, 1.2f, 0, 0}, false},
        {L"-2 3 -1e6 1e6", {-2, 3, -1.0e6f, 1.0e6f}, false},
        // Each finite, their sum is not: 3e38 sets the first two numbers.
        {L"3e38", {0.5f, 0.5f, 0, 0}, true},
        {L"0.5 0.5 0 -3e38", {0.5f, 0.5f, 0, 0}, true},
        {L"1.1e6", {0.5f, 0.5f, 0, 0}, true},
        {L"0.2 inf", {0.5f, 0.5f, 0, 0}, true},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(narrow(row.positions));
        logtest::LogWatch watch;
        Orvex::XMLNode node =
            tree(std::wstring(L"<G NAME=\"K\">\n<STARTPOSITION POSITION_REL=\"") + row.positions + L"\"/></G>");
        GameStyle style(node, L"kaputt.sty");
        ASSERT_EQ(style.startPositions.size(), 1u);
        EXPECT_EQ(style.startPositions[0], row.record);
        auto const errors = watch.errors();
        ASSERT_EQ(errors.size(), row.refused ? 1u : 0u);
        if (row.refused) {
            std::wstring const line = L"Game style \"K\" in \"kaputt.sty\" at line 2: \"POSITION_REL\" \"" +
                                      std::wstring(row.positions) + L"\" is not a list of numbers within -1e+06..1e+06";
            EXPECT_TRUE(logtest::contains(errors[0], line)) << narrow(errors[0]);
        }
    }
}

TEST_F(StyleFilesTest, TheFirstGameStyleReplacesTheAnnouncedFallbackAndIsChosenByName) {
    struct Heard : sigslot::has_slots<> {
        std::vector<std::wstring> names;
        void on(GameStyle* g) { names.push_back(g ? g->getName() : L"null"); }
    } heard;
    settings().gameStyleChanged.connect(&heard, &Heard::on);

    loadText(L"<S/>");
    ASSERT_NE(settings().getGameStyle(), nullptr);
    EXPECT_EQ(heard.names, std::vector<std::wstring>{L"DEFAULT"});

    loadText(L"<S><GAMESTYLE NAME=\"A\"/><GAMESTYLE NAME=\"B\"/></S>");
    EXPECT_EQ(settings().getGameStyle()->getName(), L"A");
    EXPECT_EQ(settings().findGameStyle(L"DEFAULT"), nullptr) << "data brought game styles";
    loadText(L"<S ACTUAL_GAMESTYLE=\"B\"/>");
    loadText(L"<S ACTUAL_GAMESTYLE=\"UNBEKANNT\"/>");
    EXPECT_EQ(settings().getGameStyle()->getName(), L"B");
    EXPECT_EQ(heard.names, (std::vector<std::wstring>{L"DEFAULT", L"A", L"B"}));
    settings().gameStyleChanged.disconnect(&heard);
}

TEST_F(StyleFilesTest, EverySoundOfTheShippedGameStyleResolvesInTheShippedSoundList) {
    loadFile(L"data\\Styles.sty");
    GameStyle const* style = settings().getGameStyle();
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->getName(), L"KLASSISCH");
    EXPECT_FALSE(style->startPositions.empty());
    Orvex::XMLNode file;
    ASSERT_TRUE(file.load(L"data\\Styles.sty"));
    Orvex::XMLNode const* sounds = file.getChild(L"GAMESTYLE")->getChild(L"SOUNDS");
    ASSERT_NE(sounds, nullptr);
    EXPECT_EQ(sounds->getAttributeCount(), static_cast<Orvex::u32>(GameStyle::kSoundCount));

    Orvex::SoundManager& manager = Orvex::SoundManager::getInstance();
    ASSERT_TRUE(manager.loadFile(L"data\\Sounds\\sounds.snd"));
    for (int i = 0; i < GameStyle::kSoundCount; ++i) {
        EXPECT_NE(sounds->getAttribute(GameStyle::soundKey(i)), nullptr) << narrow(GameStyle::soundKey(i));
        EXPECT_TRUE(manager.hasSound(style->getSoundName(i))) << narrow(style->getSoundName(i));
        EXPECT_TRUE(manager.hasSound(GameStyle::defaultSoundName(i))) << narrow(GameStyle::defaultSoundName(i));
    }
    manager.clear();
}

}  // namespace
}  // namespace Solitaire
