// Screens are data: each window the HUD, the powers and the shop name is, in turn, missing (renamed
// in a copy of the game's data) or of another kind (a label made a plain window, a plain window a
// label), and a campaign level is played through every slot and refresh of the HUD, the gods and
// the shop. The game neither stops nor stumbles, and only the step that needs the window is left
// out: everything else still shows.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "engine/gui/GUITooltipParam.h"
#include "game/cards/Kartenstapel.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/HudFixture.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using apptest::HudFixture;
using Solitaire::Kartenmanager;

enum class Change { Missing, OtherKind };

struct BrokenWindow {
    char const* name;
    char const* file;  // below data/GUI
    Change change;
};

// The element of the window: renamed away, or made another kind.
std::string broken(std::string const& text, BrokenWindow const& b) {
    std::regex const element("<WINDOW NAME=\"" + std::string(b.name) + "\"( TYPE=\"([A-Z]+)\")?>");
    std::smatch match;
    if (!std::regex_search(text, match, element)) return text;
    std::string replacement;
    if (b.change == Change::Missing)
        replacement = "<WINDOW NAME=\"" + std::string(b.name) + "_FEHLT\"" + match[1].str() + ">";
    else
        replacement = "<WINDOW NAME=\"" + std::string(b.name) + "\"" + (match[1].matched ? "" : " TYPE=\"LABEL\"") + ">";
    return match.prefix().str() + replacement + match.suffix().str();
}

class HudBadInputTest : public HudFixture, public ::testing::WithParamInterface<BrokenWindow> {
protected:
    void SetUp() override {
        stage = testsupport::makeTempDir("hud_bad_input");
        fs::copy(testsupport::sourceDir() / "data", stage / "data", fs::copy_options::recursive);
        fs::path const file = stage / "data" / "GUI" / GetParam().file;
        std::string const before = testsupport::readFile(file);
        std::string const after = broken(before, GetParam());
        ASSERT_NE(after, before) << GetParam().name << " is not in " << GetParam().file;
        testsupport::writeFile(file, after);
        startHud(800, 600, stage);
    }
    void TearDown() override {
        HudFixture::TearDown();
        fs::remove_all(stage);
    }
    // Whether the step that shows in `window` is expected: the window is not the broken one, nor
    // one it lies in.
    bool shows(std::wstring const& window, std::initializer_list<wchar_t const*> within = {}) const {
        std::wstring const name = port::fromUtf8(GetParam().name);
        if (name == window) return false;
        for (wchar_t const* outer : within)
            if (name == outer) return false;
        return true;
    }
    static bool startsWith(std::wstring const& text, std::wstring const& start) { return text.rfind(start, 0) == 0; }

    fs::path stage;
};

TEST_P(HudBadInputTest, APlayedLevelSkipsOnlyTheStepOfTheWindow) {
    for (wchar_t const* god : {L"GOD0", L"GOD1", L"GOD2", L"GOD3"}) profile->addUnlock(god, false);
    startLevel(1, 0, 100000.0f);
    Kartenmanager& table = cards();
    Solitaire::Karte& card = *table.cards.front();
    Solitaire::Kartenstapel& pile = *table.piles.front();
    Solitaire::PowersAndShop& shop = game->getPowersAndShop();

    // The card manager's events, each HUD slot once or more.
    table.tooltipChanged.emit(L"Herz 7", true);
    table.comboChanged.emit(2ul);
    table.extraCardExposed.emit(card, 1ul, 0ul);
    table.jokerFound.emit(card);
    table.wildcardFound.emit(card);
    table.lockedCardsFound.emit(D3DXVECTOR4(1, 2, 0, 4));
    table.cardsUnlocked.emit(D3DXVECTOR4(0, 1, 0, 0));
    table.specialPileEmpty.emit(pile);
    table.specialPileRefilled.emit(pile);
    for (Solitaire::Karte* scored : table.cards) table.cardScored.emit(*scored);
    for (Orvex::GUIProgressBar* bar : shop.getGodBars()) {
        if (!bar) continue;
        std::wstring text;
        if (Orvex::GUITooltipParam* param = bar->findTooltipParam(L"DEF")) param->getText(text);
        shop.onGodBarClicked(*bar);
    }
    for (int mode = 0; mode <= 4; ++mode) table.clickModeUsed.emit(Solitaire::ClickMode(mode));
    for (wchar_t const* zone : {L"I_Help_TZ", L"I_Statistiken_TZ", L"I_Points"})
        if (find(zone)) pointTo(zone);
    for (wchar_t const* shown : {L"I_GameName", L"I_Help", L"I_Statistiken", L"I_ABSCHLUSS_BRONZE"})
        if (Orvex::GUIWindow* w = find(shown)) w->jumpToGoal(L"AN");
    for (int i = 0; i < 60 * 11; ++i) step(1.0 / 60);
    table.specialPileMissing.emit();
    frame();

    // The shop: labels, the wildcard's choice, both purchases, drawn in between.
    shop.refreshShopLabels();
    showMenu(L"SHOPMENU");
    frame();
    shop.nextWildcard();
    EXPECT_TRUE(shop.buyJoker());
    showMenu(L"SHOPMENU");
    EXPECT_TRUE(shop.buyWildcard());
    showMenu(L"SHOPMENU");
    frame();
    std::wstring const money = textOf(L"S_MONEY");
    showMenu(L"INGAMEMENU");
    settle(10);
    frame();

    // Everything but the broken window's step.
    if (shows(L"I_Points")) EXPECT_TRUE(startsWith(textOf(L"I_Points"), L"Punkte: "));
    if (shows(L"I_Time")) EXPECT_TRUE(startsWith(textOf(L"I_Time"), L"Zeit: "));
    if (shows(L"I_Points2")) EXPECT_TRUE(startsWith(textOf(L"I_Points2"), L"Guthaben: "));
    if (shows(L"I_Multiplier")) EXPECT_TRUE(startsWith(textOf(L"I_Multiplier"), L"x "));
    if (shows(L"I_VariantLabel_Label")) EXPECT_EQ(textOf(L"I_VariantLabel_Label"), L"Kapitel 2: Die lange Reise");
    if (shows(L"I_Goal1_Label", {L"I_Goals"}))
        EXPECT_EQ(label(L"I_Goal1_Label")->getTextId(), L"INGAME_LEVEL_GOAL_POINTS");
    if (shows(L"I_Goal1_Counter", {L"I_Goals"})) EXPECT_NE(textOf(L"I_Goal1_Counter"), L"");
    // The level's time goal is one for a won game: not reached on a table still in play.
    if (shows(L"I_Goal2_Star", {L"I_Goals"})) EXPECT_EQ(goalOf(L"I_Goal2_Star"), L"OFF");
    if (shows(L"I_Goal3_Haken", {L"I_Goals"})) EXPECT_EQ(goalOf(L"I_Goal3_Haken"), L"INVISIBLE");
    if (shows(L"I_TIPP")) EXPECT_FLOAT_EQ(bar(L"I_TIPP")->getRatio(), 1.0f);
    // The button stands while ending would give a star (no pile is watched).
    if (shows(L"I_END_GAME")) EXPECT_EQ(goalOf(L"I_END_GAME"), game->getHud().starsIfEndedNow() > 0 ? L"AN" : L"AUS");
    if (shows(L"S_MONEY")) EXPECT_TRUE(startsWith(money, L"Guthaben: ")) << port::toUtf8(money);
    if (shows(L"I_GODS_1")) EXPECT_FLOAT_EQ(profile->getGodPercent(0), 0.0f) << "filled, then used";
    EXPECT_TRUE(isActive(L"INGAMEMENU"));
    EXPECT_TRUE(table.cards.back()->isWildcard);
}

std::vector<BrokenWindow> brokenWindows() {
    char const* const hud[] = {
        "I_Points",   "I_Points2",      "I_Multiplier",    "I_Time",           "I_VariantLabel_Label",
        "I_Goals",    "I_Goal1_Label",  "I_Goal1_Counter", "I_Goal2_Star",     "I_Goal3_Haken",
        "I_TIPP",     "I_END_GAME",     "I_GameName",      "I_Help",           "I_Statistiken",
        "I_Help_TZ",  "I_Statistiken_TZ", "I_BRONZE_STERN", "TMPWINDOW",       "I_GODS_1",
    };
    char const* const shop[] = {"S_JOKER", "S_WILDCARD", "S_WILDCARD_NEXT", "S_MONEY", "S_PRICE_JOKER"};
    std::vector<BrokenWindow> out;
    for (Change change : {Change::Missing, Change::OtherKind}) {
        for (char const* name : hud) out.push_back({name, "Ingame.gui", change});
        for (char const* name : shop) out.push_back({name, "Shop.gui", change});
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(Windows, HudBadInputTest, ::testing::ValuesIn(brokenWindows()),
                         [](::testing::TestParamInfo<BrokenWindow> const& info) {
                             return std::string(info.param.name) +
                                    (info.param.change == Change::Missing ? "_missing" : "_other_kind");
                         });

}  // namespace
