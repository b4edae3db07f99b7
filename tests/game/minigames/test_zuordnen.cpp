// The sorting game on the shipped data ("MINIGAME_0": red cards to the red tray, which needs two
// and a sum of 5, black cards to the black one), played by dragging with input events.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/GUIWindow.h"
#include "game/minigames/MinispielManager.h"
#include "game/minigames/MinispielZuordnen.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::MinispielZuordnen;

class ZuordnenTest : public minigametest::MinigameFixture {
protected:
    MinispielZuordnen* game = nullptr;

    void SetUp() override {
        MinigameFixture::SetUp();
        game = play<MinispielZuordnen>(L"MINIGAME_0");
        ASSERT_NE(game, nullptr);
    }

    MinispielZuordnen::Gegenstand* item(std::wstring const& name) const {
        for (auto* each : game->getItems())
            if (each->getName() == name) return each;
        return nullptr;
    }
    MinispielZuordnen::Gebiet* area(std::wstring const& name) const {
        for (auto* each : game->getAreas())
            if (each->getName() == name) return each;
        return nullptr;
    }
    // Drags the item to the middle of the area, each card to a place of its own beside it, so
    // no card covers another whole.
    void put(std::wstring const& itemName, std::wstring const& areaName) {
        MinispielZuordnen::Gegenstand* card = item(itemName);
        ASSERT_NE(card, nullptr);
        std::size_t index = 0;
        while (game->getItems()[index] != card) ++index;
        float const beside = (static_cast<float>(index) - 1.5f) * 40.0f;
        D3DXVECTOR2 const to = middleOf(area(areaName)->window->getScreenRect()) + D3DXVECTOR2(beside, 0.0f);
        drag(reachablePointOf(*card->window), to);
    }
    void check() { clickPart(L"ZUORDNEN_OK"); }
};

// Each tray's name ("Rot", "Schwarz") reads clearly: light on the screen's dark ground in the clear
// below the tray's rim, none of it on the tray. Read back from the screen.
TEST_F(ZuordnenTest, TheTrayNamesStandClearBelowTheTrays) {
    struct Case {
        wchar_t const* area;
        uint32_t rim;
    };
    Case const cases[] = {{L"ROT", 0x902020}, {L"SCHWARZ", 0x303038}};
    tick();
    keep("zuordnen_namen");
    std::vector<uint32_t> const shot = pixels();
    auto near = [](uint32_t a, uint32_t b) {
        int sum = 0;
        for (int shift = 0; shift < 24; shift += 8)
            sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        return sum < 24;
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(minigametest::narrow(c.area));
        Orvex::FRect const r = area(c.area)->window->getScreenRect();
        // The rim's lowest row in the tray's middle column.
        unsigned const middle = static_cast<unsigned>((r.left + r.right) / 2.0f);
        int rimBottom = -1;
        for (unsigned y = static_cast<unsigned>(r.top); y < static_cast<unsigned>(r.bottom); ++y)
            if (near(at(shot, middle, y), c.rim)) rimBottom = static_cast<int>(y);
        ASSERT_GT(rimBottom, static_cast<int>(r.top)) << "the tray is drawn";
        int above = 0;
        int below = 0;
        for (unsigned y = static_cast<unsigned>(r.top); y < static_cast<unsigned>(r.bottom); ++y)
            for (unsigned x = static_cast<unsigned>(r.left); x < static_cast<unsigned>(r.right); ++x) {
                uint32_t const p = at(shot, x, y);
                bool const light = ((p >> 16) & 0xFF) > 235 && ((p >> 8) & 0xFF) > 235 && (p & 0xFF) > 235;
                if (light) (static_cast<int>(y) > rimBottom ? below : above) += 1;
            }
        EXPECT_GT(below, 100) << "the name is drawn light below the tray";
        EXPECT_EQ(above, 0) << "light pixels on the tray";
    }
}

TEST_F(ZuordnenTest, WonAtOnceByOkWhenEveryCardLiesRight) {
    keep("zuordnen_start");
    put(L"HERZ_2", L"ROT");
    put(L"KARO_3", L"ROT");
    put(L"PIK_4", L"SCHWARZ");
    put(L"KREUZ_1", L"SCHWARZ");
    EXPECT_EQ(log.count(L"move"), 4u);
    EXPECT_EQ(log.count(L"wrong"), 0u);
    keep("zuordnen_sortiert");
    check();
    expectWon();
    tick();
    EXPECT_EQ(active(), nullptr);
}

TEST_F(ZuordnenTest, AWrongArrangementFailsKeepsItsPlacesAndBlinks) {
    put(L"HERZ_2", L"SCHWARZ");
    EXPECT_EQ(log.count(L"wrong"), 1u);
    put(L"KARO_3", L"ROT");
    put(L"PIK_4", L"SCHWARZ");
    put(L"KREUZ_1", L"SCHWARZ");
    check();
    EXPECT_EQ(log.count(L"failed"), 1u);
    EXPECT_EQ(log.count(L"ended"), 0u);
    // The arrangement stays; the card on the wrong tray, that tray (three cards for two) and the
    // red tray (one card for its minimum of two, a sum of 3 for 5) blink.
    EXPECT_EQ(item(L"HERZ_2")->area, area(L"SCHWARZ"));
    EXPECT_GT(item(L"HERZ_2")->markTime, 0.0f);
    EXPECT_EQ(item(L"KARO_3")->markTime, 0.0f);
    EXPECT_GT(area(L"SCHWARZ")->markTime, 0.0f);
    EXPECT_GT(area(L"ROT")->markTime, 0.0f);
    // Half-way through the blink the red tray lies under the frame's red veil; after the blink's
    // two seconds it is light again.
    Orvex::FRect const r = area(L"ROT")->window->getScreenRect();
    D3DXVECTOR2 const inside(r.left + 0.3f * (r.right - r.left), r.top + 0.25f * (r.bottom - r.top));
    wait(0.9);
    keep("zuordnen_blinkt");
    uint32_t const veiled = pixelAt(pixels(), inside);
    EXPECT_LT((veiled >> 8) & 0xFF, 180u) << std::hex << veiled;
    EXPECT_GT((veiled >> 16) & 0xFF, (veiled >> 8) & 0xFF) << std::hex << veiled;
    wait(1.2);
    uint32_t const clear = pixelAt(pixels(), inside);
    EXPECT_GT((clear >> 8) & 0xFF, 200u) << std::hex << clear;
    // Set right, OK wins.
    put(L"HERZ_2", L"ROT");
    EXPECT_EQ(item(L"HERZ_2")->area, area(L"ROT"));
    check();
    EXPECT_EQ(log.count(L"ended"), 1u);
}

TEST_F(ZuordnenTest, LostWhenTheTimeRunsOut) {
    loseByTime();
    expectSkipped();
}

TEST_F(ZuordnenTest, CancelClosesTheGameAndTheFlowDeactivatesIt) {
    clickPart(L"ZUORDNEN_CANCEL");
    EXPECT_EQ(log.count(L"closed"), 1u);
    // The game flow lets the game go at its close, tells that it was left and returns to the
    // level screen when the player goes on.
    EXPECT_EQ(active(), nullptr);
    EXPECT_EQ(log.count(L"inactive"), 1u);
    settle();
    expectTold(L"MINISPIEL_E_TITEL_VERLOREN", L"abgebrochen");
    clickOn(L"MINISPIEL_E_Weiter");
    Orvex::GUIMenuN const* menu = Orvex::GUIMenuManagerN::instance().getActiveMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getName(), L"LEVELAUSWAHLMENU");
}

}  // namespace

namespace {

// Judging, on a sorting game defined here: areas A (at least two items) and B; items a2 (2) and
// a3 (3) meant for A, b1 (1) meant for B; A's items must add up to 5.
struct JudgeCase {
    wchar_t const* checkPlaces;
    wchar_t const* a2;  // the area each item lies on ("" for none)
    wchar_t const* a3;
    wchar_t const* b1;
    bool right;
};
void PrintTo(JudgeCase const& c, std::ostream* out) {
    using minigametest::narrow;
    *out << "check " << narrow(c.checkPlaces) << ": " << narrow(c.a2) << "/" << narrow(c.a3) << "/" << narrow(c.b1);
}

class ZuordnenJudgeTest : public minigametest::MinigameFixture, public ::testing::WithParamInterface<JudgeCase> {};

TEST_P(ZuordnenJudgeTest, JudgesPlacesCountsAndSums) {
    define(std::wstring(L"<MINISPIEL TYPE=\"ZUORDNEN\" NAME=\"Z\" CHECK_PLACES=\"") + GetParam().checkPlaces +
           L"\">"
           L"<GEBIET NAME=\"A\" GUI=\"MG_KORB\" MIN_GEGENSTAND_ANZ=\"2\"/><GEBIET NAME=\"B\" GUI=\"MG_KORB\"/>"
           L"<GEGENSTAND NAME=\"a2\" GUI=\"MG_KARTE\" ZIEL_GEBIET=\"A\" WERT=\"2\"/>"
           L"<GEGENSTAND NAME=\"a3\" GUI=\"MG_KARTE\" WERT=\"3\">\"|A|\" \"|NIRGENDS|\"</GEGENSTAND>"
           L"<GEGENSTAND NAME=\"b1\" GUI=\"MG_KARTE\" ZIEL_GEBIET=\"B\" WERT=\"1\"/>"
           L"<SUMME_VON SUMME=\"5\">\"|A|\"</SUMME_VON></MINISPIEL>");
    auto* game = dynamic_cast<MinispielZuordnen*>(manager().findMinispiel(L"Z"));
    ASSERT_NE(game, nullptr);
    auto areaNamed = [&](std::wstring const& name) -> MinispielZuordnen::Gebiet* {
        for (auto* area : game->getAreas())
            if (area->getName() == name) return area;
        return nullptr;
    };
    wchar_t const* places[3] = {GetParam().a2, GetParam().a3, GetParam().b1};
    for (std::size_t i = 0; i < 3; ++i) game->getItems()[i]->setArea(areaNamed(places[i]));
    EXPECT_EQ(game->judge(), GetParam().right);
}

INSTANTIATE_TEST_SUITE_P(Arrangements, ZuordnenJudgeTest,
                         ::testing::Values(JudgeCase{L"1", L"A", L"A", L"B", true},
                                           JudgeCase{L"1", L"A", L"B", L"B", false},   // a3 astray, A short
                                           JudgeCase{L"1", L"A", L"A", L"", false},    // B meant for one, empty
                                           JudgeCase{L"1", L"A", L"A", L"A", false},   // A over its count
                                           JudgeCase{L"0", L"A", L"A", L"", true},     // only the sum counts
                                           JudgeCase{L"0", L"A", L"A", L"A", false},   // sum 6
                                           JudgeCase{L"0", L"B", L"B", L"B", false})); // sum 0

}  // namespace
