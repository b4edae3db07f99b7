// The piles' click actions: a draw of three from a stock of fewer cards (the place taken anew as
// cards leave), redeals limited by "REST_COUNT_HOLEN", a fetch from piles named twice or naming the
// pile itself (no card in two arrangements), and the two click powers.
#include <gtest/gtest.h>

#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "tests/game/cards/PlayTable.h"

namespace {

using Solitaire::Karte;

class ClickActionsTest : public cardtest::PlayTable {
protected:
    Karte* topOfStock() {
        std::vector<Karte*> held;
        pile(L"STAPEL_VORRAT").getCards(held, true, true);
        return held.empty() ? nullptr : held.back();
    }
};

TEST_F(ClickActionsTest, DrawingThreeFromAShortStockAndLimitedRedeals) {
    start(L"data\\Level\\GoldrauschDrei.sol", L"12");
    std::size_t const stock = pile(L"STAPEL_VORRAT").getCardsWithLinked().size();
    ASSERT_EQ(stock, 24u);
    // A draw of three takes the three top cards, the top one first.
    std::vector<Karte*> before;
    pile(L"STAPEL_VORRAT").getCards(before, true, true);
    ASSERT_TRUE(pile(L"STAPEL_VORRAT").onClickHidden(before.back()));
    std::vector<Karte*> drawn;
    pile(L"STAPEL_MUELL").getCards(drawn, true, true);
    EXPECT_EQ(drawn, (std::vector<Karte*>{before[23], before[22], before[21]}));
    // Seven more draws empty the stock, the place checked again as the list shrinks.
    int draws = 1;
    while (Karte* top = topOfStock()) {
        ASSERT_TRUE(pile(L"STAPEL_VORRAT").onClickHidden(top));
        ASSERT_LE(++draws, 24);
        expectInvariants();
    }
    EXPECT_EQ(draws, 8);
    std::vector<Karte*> waste;
    pile(L"STAPEL_MUELL").getCards(waste, true, true);
    EXPECT_EQ(waste.size(), 24u);
    // Two redeals, then none.
    for (int redeal = 0; redeal < 2; ++redeal) {
        ASSERT_TRUE(pile(L"STAPEL_VORRAT").onClickEmpty());
        EXPECT_EQ(pile(L"STAPEL_VORRAT").getCardsWithLinked().size(), 24u);
        while (Karte* top = topOfStock()) pile(L"STAPEL_VORRAT").onClickHidden(top);
    }
    EXPECT_FALSE(pile(L"STAPEL_VORRAT").onClickEmpty());
    EXPECT_EQ(topOfStock(), nullptr);
    expectInvariants();
}

TEST_F(ClickActionsTest, AFetchFromPilesNamedTwiceOrFromItselfHoldsEachCardOnce) {
    startText(L"<SOLITAIRE NAME=\"T\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\" AUTO_CHECK_END=\"0\">"
              L"<STAPEL NAME=\"V\" STAPELTYP=\"VORRAT\" CLICK_ON_LEER=\"HOLEN_VERKN_ALLE STAPEL_MISCHEN\"><ANORDNUNG NAME=\"A\"/>"
              L"<VERKNÜPFT>\"|V|\" \"|M|\" \"|M|\" \"|N|\"</VERKNÜPFT></STAPEL>"
              L"<STAPEL NAME=\"M\" INIT_KARTEN_SICHTBAR=\"6\"><ANORDNUNG NAME=\"A\"/></STAPEL>"
              L"<STAPEL NAME=\"N\" INIT_KARTEN_SICHTBAR=\"7\"><ANORDNUNG NAME=\"A\" MAX_CARDS=\"7\"/></STAPEL></SOLITAIRE>");
    ASSERT_TRUE(pile(L"V").onClickEmpty());
    EXPECT_EQ(pile(L"V").getCardsWithLinked().size(), 13u);
    EXPECT_TRUE(pile(L"M").getCardsWithLinked().empty());
    expectInvariants();
    // Fetching again from empty piles changes nothing.
    ASSERT_TRUE(pile(L"V").onClickEmpty());
    EXPECT_EQ(pile(L"V").getCardsWithLinked().size(), 13u);
    expectInvariants();
}

TEST_F(ClickActionsTest, TheRevealAndRemovePowersActOnTheNextClick) {
    start(L"data\\Level\\Goldrausch.sol", L"21");
    // Revealing: a face-down tableau card turns up, the mode returns to normal.
    Karte* hidden = nullptr;
    for (Karte* card : pile(L"TABLEAU7").getCardsWithLinked())
        if (!card->isFaceUp()) hidden = card;
    ASSERT_NE(hidden, nullptr);
    ASSERT_TRUE(manager().setClickMode(Solitaire::kClickReveal));
    // Its upper edge shows under the card that covers the rest.
    Orvex::FRect const rect = Solitaire::computeScreenRect(*hidden, &camera);
    press({(rect.left + rect.right) * 0.5f, rect.top + 1.0f});
    EXPECT_TRUE(hidden->isFaceUp());
    EXPECT_EQ(manager().getClickMode(), Solitaire::kClickNormal);
    // A pile shuffle without its pile shuffles nothing and leaves the mode 0.
    manager().setClickMode(Solitaire::kClickShuffle);
    EXPECT_EQ(manager().getClickMode(), Solitaire::kClickNormal);
    // A free undo step takes the reveal back.
    EXPECT_TRUE(manager().setClickMode(Solitaire::kClickUndo));
    EXPECT_FALSE(hidden->isFaceUp());
    expectInvariants();
}

TEST_F(ClickActionsTest, APileShuffleExchangesTheShufflePilesCardsWithItsLinkedPiles) {
    std::wstring const table =
        L"<SOLITAIRE NAME=\"T\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\" SHUFFLE_STAPEL_NAME=\"S\" AUTO_CHECK_END=\"0\">"
        L"<STAPEL NAME=\"S\" INIT_KARTEN_SICHTBAR=\"4\"><ANORDNUNG NAME=\"A\"/><VERKNÜPFT>\"|L|\"</VERKNÜPFT></STAPEL>"
        L"<STAPEL NAME=\"L\" INIT_KARTEN_SICHTBAR=\"9\"><ANORDNUNG NAME=\"A\"/></STAPEL></SOLITAIRE>";
    startText(table);
    std::vector<Karte*> before, after;
    pile(L"S").getCards(before, true, true);
    ASSERT_TRUE(manager().setClickMode(Solitaire::kClickShuffle));
    pile(L"S").getCards(after, true, true);
    // Every try exchanges all four; later tries may bring some back, never all.
    ASSERT_EQ(after.size(), 4u);
    EXPECT_LT(std::count_if(after.begin(), after.end(),
                            [&](Karte* card) { return std::count(before.begin(), before.end(), card) > 0; }),
              4);
    EXPECT_EQ(manager().getClickMode(), Solitaire::kClickNormal);
    EXPECT_EQ(pile(L"S").getCardsWithLinked().size(), 13u);
    expectInvariants();
    // A shuffle pile that links nothing has nothing to exchange.
    startText(L"<SOLITAIRE NAME=\"T\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\" SHUFFLE_STAPEL_NAME=\"S\">"
              L"<STAPEL NAME=\"S\" INIT_KARTEN_SICHTBAR=\"13\"><ANORDNUNG NAME=\"A\"/></STAPEL></SOLITAIRE>");
    EXPECT_FALSE(manager().setClickMode(Solitaire::kClickShuffle));
    EXPECT_EQ(manager().getClickMode(), Solitaire::kClickNormal);
}

}  // namespace
