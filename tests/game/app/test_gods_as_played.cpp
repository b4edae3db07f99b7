// The four gods of the shipped campaign played in the real game, headless, every action an SDL
// event through the window: a player at the start of chapter 12 (all four gods unlocked, their
// bars charged in the profile) opens the chapter's first level, "Goldrausch (drei Karten)", from
// the chapter and level screens, and
// - uses each god by pointer: its full bar clicked, the click its power waits for made on the
//   table (the uncovering and the removing power), the effect on the table, the bar and the
//   profile's charge empty again and the use counted ("GODn_USED"), one row per god;
// - a plain click on a face-down card that others cover turns nothing up, while the stock still
//   deals;
// - after the bars were pressed in one level, the next level's full bars still show their badges.
// Screenshots: "gods_*.png" in the build folder's "screenshots".
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "tests/game/app/CampaignProfiles.h"
#include "tests/game/minigames/MinigameFixture.h"
#include "tests/support/SdlEvents.h"

namespace {

using Solitaire::Karte;
using Solitaire::Kartenstapel;

// Chapter 12 is the first with all four gods; its first level is a gold rush of three cards.
constexpr int kChapter = 12;
// Seconds for a power's cards to settle.
constexpr double kSettleSeconds = 1.0;

Solitaire::Kartenmanager& cards() { return Solitaire::Kartenmanager::instance(); }

std::vector<Karte*> cardsOn(std::wstring const& name) {
    std::vector<Karte*> held;
    if (Kartenstapel const* pile = cards().findPile(name)) pile->getCards(held, true, true);
    return held;
}

class GodsAsPlayed : public minigametest::MinigameFixture {
protected:
    void SetUp() override {
        makeHome("gods", apptest::withGodCharges(apptest::profileAtStart(kChapter), "1 1 1 1"));
        MinigameFixture::SetUp();
    }
    void TearDown() override {
        MinigameFixture::TearDown();
        removeHome();
    }

    Solitaire::Profil* profile() const { return Solitaire::ProfilManager::instance().getActiveProfile(); }
    static std::wstring barOf(int god) { return L"I_GODS_" + std::to_wstring(god + 1); }
    static Orvex::GUIProgressBar* bar(int god) { return dynamic_cast<Orvex::GUIProgressBar*>(find(barOf(god))); }
    static float used(int god) {
        Solitaire::Achivement const* a =
            Solitaire::AchivementManager::instance().find(L"GOD" + std::to_wstring(god) + L"_USED");
        return a ? a->getValue() : -1.0f;
    }

    // From the start screen through the chapter and level screens onto the dealt level.
    void openLevel(int level) {
        if (activeMenu() == L"STARTMENU") clickOn(L"SM_Fenster");
        ASSERT_EQ(activeMenu(), L"HAUPTMENU");
        clickOn(L"H_Kampagne");
        ASSERT_EQ(activeMenu(), L"KATEGORIEMENU");
        clickOn(L"K_KategorieButton" + std::to_wstring(kChapter + 1));
        ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
        clickOn(L"LA_LevelButton_" + std::to_wstring(level));
        ASSERT_EQ(activeMenu(), L"INGAMEMENU");
        wait(kDealSeconds);
        // The level's banner and help put away by a click on the table's free space, left of the
        // foundations.
        Kartenstapel* basis = cards().findPile(L"BASIS1");
        ASSERT_NE(basis, nullptr);
        Orvex::FRect r = Solitaire::computeScreenRect(*basis, cards().getCamera());
        float const w = r.right - r.left;
        r.left -= w * 0.3f;
        r.right = r.left + w * 0.1f;
        click(tablePoint(r));
        wait(0.5);
    }

    // A point on the card where a press reaches it: the upper edge of one that others cover.
    D3DXVECTOR2 pointOn(Karte const& card) const {
        Orvex::FRect r = Solitaire::computeScreenRect(card, cards().getCamera());
        if (!card.backLinks.empty()) r.bottom = r.top + (r.bottom - r.top) * 0.05f;
        return tablePoint(r);
    }
    // The lowest face-down card of the column: cards cover it.
    static Karte* coveredCard(std::wstring const& column) {
        for (Karte* card : cardsOn(column))
            if (!card->isFaceUp() && !card->backLinks.empty()) return card;
        return nullptr;
    }
    void clickStock() {
        std::vector<Karte*> const stock = cardsOn(L"STAPEL_VORRAT");
        ASSERT_FALSE(stock.empty());
        click(pointOn(*stock.back()));
        wait(kSettleSeconds);
    }
};

TEST_F(GodsAsPlayed, EachGodIsUsedByPointerWithItsEffect) {
    openLevel(0);
    struct Row {
        char const* what;
        int god;
        int mode;  // the click mode its bar arms
        // Readies the table by input; returns the test of the power's effect.
        std::function<std::function<void()>()> prepare;
        // The click on the table the power waits for; none for a power carried out at once.
        std::function<void()> act;
    };
    Karte* covered = nullptr;
    Karte* removed = nullptr;
    Row const rows[] = {
        {"hearts: the next click turns a covered card up", 0, Solitaire::kClickReveal,
         [&] {
             covered = coveredCard(L"TABLEAU7");
             EXPECT_NE(covered, nullptr);
             return [&] { EXPECT_TRUE(covered && covered->isFaceUp()) << "the covered card is up"; };
         },
         [&] {
             if (covered) click(pointOn(*covered));
         }},
        {"clubs: the last move taken back at once", 1, Solitaire::kClickUndo,
         [&] {
             std::size_t const stock = cardsOn(L"STAPEL_VORRAT").size();
             std::size_t const waste = cardsOn(L"STAPEL_MUELL").size();
             clickStock();
             EXPECT_EQ(cardsOn(L"STAPEL_MUELL").size(), waste + 3) << "the stock dealt three";
             return [=] {
                 EXPECT_EQ(cardsOn(L"STAPEL_VORRAT").size(), stock) << "the deal is undone";
                 EXPECT_EQ(cardsOn(L"STAPEL_MUELL").size(), waste);
             };
         },
         nullptr},
        {"spades: the stock and the waste shuffled at once", 2, Solitaire::kClickShuffle,
         [&] {
             clickStock();
             std::vector<Karte*> const waste = cardsOn(L"STAPEL_MUELL");
             std::size_t const all = waste.size() + cardsOn(L"STAPEL_VORRAT").size();
             EXPECT_FALSE(waste.empty());
             return [=] {
                 std::vector<Karte*> const now = cardsOn(L"STAPEL_MUELL");
                 EXPECT_EQ(now.size(), waste.size()) << "the waste keeps its count";
                 EXPECT_EQ(now.size() + cardsOn(L"STAPEL_VORRAT").size(), all) << "no card lost";
                 std::size_t const kept = static_cast<std::size_t>(std::count_if(
                     now.begin(), now.end(), [&](Karte* c) { return std::count(waste.begin(), waste.end(), c) > 0; }));
                 EXPECT_LT(kept, waste.size()) << "the waste holds other cards";
                 for (Karte* card : now) EXPECT_EQ(card->pile, cards().findPile(L"STAPEL_MUELL"));
             };
         },
         nullptr},
        {"diamonds: the next click takes a card off the table", 3, Solitaire::kClickRemove,
         [&] {
             std::vector<Karte*> const column = cardsOn(L"TABLEAU1");
             EXPECT_EQ(column.size(), 1u);
             removed = column.empty() ? nullptr : column.back();
             return [&] {
                 EXPECT_TRUE(cardsOn(L"TABLEAU1").empty()) << "the column is empty";
                 std::vector<Karte*> const discard = cardsOn(L"STAPEL_ABLAGE");
                 EXPECT_EQ(discard.size(), 1u);
                 EXPECT_TRUE(removed && !discard.empty() && discard.back() == removed) << "on the discard";
             };
         },
         [&] {
             if (removed) click(pointOn(*removed));
         }},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        Orvex::GUIProgressBar* godBar = bar(row.god);
        ASSERT_NE(godBar, nullptr);
        EXPECT_GE(godBar->getRatio(), 1.0f) << "charged from the profile";
        std::function<void()> const effect = row.prepare();
        float const before = used(row.god);
        click(middleOf(barOf(row.god)));
        wait(0.1);
        if (row.act) {
            EXPECT_EQ(cards().getClickMode(), row.mode) << "armed";
            row.act();
        }
        wait(kSettleSeconds);
        effect();
        EXPECT_EQ(cards().getClickMode(), Solitaire::kClickNormal);
        EXPECT_FLOAT_EQ(godBar->getRatio(), 0.0f) << "the used bar is empty";
        EXPECT_FLOAT_EQ(profile()->getGodPercent(row.god), 0.0f);
        EXPECT_EQ(used(row.god), before + 1.0f) << "the use is counted";
        keep("gods_used_" + std::to_string(row.god));
    }
}

TEST_F(GodsAsPlayed, APlainClickTurnsUpOnlyACardThatNothingCovers) {
    openLevel(0);
    Karte* covered = coveredCard(L"TABLEAU7");
    ASSERT_NE(covered, nullptr);
    click(pointOn(*covered));
    wait(kSettleSeconds);
    EXPECT_FALSE(covered->isFaceUp()) << "a covered card stays down";
    std::size_t const waste = cardsOn(L"STAPEL_MUELL").size();
    clickStock();
    EXPECT_EQ(cardsOn(L"STAPEL_MUELL").size(), waste + 3) << "the stock's top card still deals";
}

TEST_F(GodsAsPlayed, FullBarsShowTheirBadgesInTheNextLevelAfterTheyWerePressed) {
    openLevel(0);
    // Every bar pressed; the armed powers disarmed by a second press (the two carried out at once
    // find nothing to do on a fresh table and keep their charge).
    for (int god = 0; god < 4; ++god) {
        click(middleOf(barOf(god)));
        if (cards().getClickMode() != Solitaire::kClickNormal) click(middleOf(barOf(god)));
        EXPECT_EQ(cards().getClickMode(), Solitaire::kClickNormal) << god;
    }
    // Left by the pause screen, the next level from the level screen.
    testsupport::pushKey(windowId(), SDL_SCANCODE_ESCAPE, true, SDLK_ESCAPE);
    tick(false);
    testsupport::pushKey(windowId(), SDL_SCANCODE_ESCAPE, false, SDLK_ESCAPE);
    settle();
    clickOn(L"P_ENDE");
    ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    clickOn(L"LA_LevelButton_1");
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    wait(kDealSeconds);
    keep("gods_next_level");
    for (int god = 0; god < 4; ++god) {
        SCOPED_TRACE(god);
        EXPECT_GE(bar(god)->getRatio(), 1.0f);
        Orvex::GUIWindow* badge = find(L"I_GOTT_BILD_" + std::to_wstring(god));
        ASSERT_NE(badge, nullptr);
        Orvex::FRect const r = badge->getScreenRect();
        auto area = [&] {
            tick(true);
            std::vector<uint32_t> const shot = pixels();
            std::vector<uint32_t> out;
            for (float y = r.top + 2; y < r.bottom - 2; y += 2)
                for (float x = r.left + 2; x < r.right - 2; x += 2) out.push_back(pixelAt(shot, D3DXVECTOR2(x, y)));
            return out;
        };
        // What the screen shows there, against the same frame without the badge.
        std::vector<uint32_t> const shown = area();
        badge->getOptions().visible = false;
        std::vector<uint32_t> const without = area();
        badge->getOptions().visible = true;
        std::size_t differing = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) differing += shown[i] != without[i];
        EXPECT_GT(differing, shown.size() / 10) << "the badge is drawn over its full bar";
    }
}

}  // namespace
