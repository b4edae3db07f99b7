// The table under a player's pointer, on the game's own data: SDL events pushed into the real
// window's queue, pumped and polled as the engine's tick does, then one update of a fixed 20 ms
// (the card manager's clock goes along, so its hover passes and double-click windows run in the
// same time as the frames). As a person plays: the pointer rests on a card until the card's
// tooltip shows, then the card is pressed, dragged over frames or double-clicked, and the stock
// is clicked after a rest; a drag checks after every frame that the pressed point of the card
// stays under the pointer, at three table scales in two window sizes; the first press after the
// deal plays the card and dismisses the panel over the table; a hint or an undo refused for its
// price says so on the news line and in the button's tooltip, and the hint does not sparkle
// "ready" while it cannot be paid; the stock's tooltip counts the cards it has now.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "game/app/NewsLine.h"
#include "game/particles/SolPartikelManager.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/TableInputFixture.h"

namespace {

using Solitaire::Karte;
using Solitaire::Kartenstapel;

class TableInputTest : public apptest::TableInputFixture {};

// Rest, then play: the stock clicked, a card pressed, dragged and double-clicked, each after the
// pointer rested on it until its tooltip showed (the tooltip's hot spot then lies under the
// pointer, and the press must still reach the table). The stock's tooltip counts the cards it
// has after each deal.
TEST_F(TableInputTest, ARestedPointerPlaysTheStockAndTheCardsByPressDragAndDoubleClick) {
    startWithACardMove(L"GOLDRAUSCH");
    dismissPanelsAt(emptyTablePoint());
    Kartenstapel* stock = cards().findPile(L"STAPEL_VORRAT");
    Kartenstapel* waste = cards().findPile(L"STAPEL_MUELL");
    ASSERT_TRUE(stock && waste);

    // The stock: its tooltip names its count, a click after the rest deals, and the tooltip
    // counts again.
    D3DXVECTOR2 const onStock = at(rectOf(*stock));
    auto count = [](Kartenstapel const& pile) {
        std::vector<Karte*> held;
        pile.getCards(held, true, true);
        return held.size();
    };
    std::size_t const stockBefore = count(*stock);
    ASSERT_TRUE(restOn(onStock));
    std::wstring const stockText = tooltipText();
    EXPECT_NE(stockText.find(std::to_wstring(stockBefore)), std::wstring::npos) << port::toUtf8(stockText);
    clickAt(onStock);
    frames(30);
    std::size_t const stockAfter = count(*stock);
    EXPECT_LT(stockAfter, stockBefore) << "the rested click dealt";
    EXPECT_GT(count(*waste), 0u);
    ASSERT_TRUE(restOn(onStock));
    std::wstring const stockTextAfter = tooltipText();
    EXPECT_NE(stockTextAfter.find(std::to_wstring(stockAfter)), std::wstring::npos) << port::toUtf8(stockTextAfter);
    EXPECT_EQ(stockTextAfter.find(std::to_wstring(stockBefore)), std::wstring::npos) << port::toUtf8(stockTextAfter);

    Solitaire::HintRecord const* move = cardMove();
    ASSERT_NE(move, nullptr);
    Karte* card = move->card;
    Kartenstapel* from = move->sourcePile;
    Kartenstapel* to = move->targetPile;

    // A press after the rest picks the card up; let go where it was, it stays on its pile.
    ASSERT_TRUE(restOn(at(rectOf(*card))));
    EXPECT_EQ(tooltipText(), describe(*card));
    button(at(rectOf(*card)), true);
    EXPECT_EQ(cards().getHeldCard(), card) << "the press after the rest reached the table";
    button(at(rectOf(*card)), false);
    frames(20);
    EXPECT_EQ(card->pile, from);

    // A drag after the rest carries it to the pile the hint names.
    ASSERT_TRUE(restOn(at(rectOf(*card))));
    D3DXVECTOR2 const start = at(rectOf(*card));
    D3DXVECTOR2 const goal = at(rectOf(*to));
    button(start, true);
    for (int i = 1; i <= 10; ++i) moveTo(start + (goal - start) * (static_cast<float>(i) / 10.0f));
    button(goal, false);
    frames(60);
    EXPECT_EQ(card->pile, to) << "dropped on the hint's pile";

    // A double click after the rest sends a card where it goes.
    Solitaire::HintRecord const* next = cardMove();
    ASSERT_NE(next, nullptr) << "a second move";
    Karte* second = next->card;
    Kartenstapel* secondFrom = next->sourcePile;
    ASSERT_TRUE(restOn(at(rectOf(*second))));
    EXPECT_EQ(tooltipText(), describe(*second));
    doubleClickAt(at(rectOf(*second)));
    frames(60);
    EXPECT_NE(second->pile, secondFrom) << "the double click moved it";
    EXPECT_EQ(cards().getHeldCard(), nullptr);
}

// The first press after the deal: on a card it plays the card (lifts it, or plays it at once on a
// golf column) and dismisses the panel over the table (the help panel of a free game, the banner
// of a campaign level); elsewhere it only dismisses the panel.
TEST_F(TableInputTest, TheFirstPressPlaysACardAndDismissesThePanel) {
    struct Row {
        char const* what;
        bool campaign;
        bool onCard;
    } const rows[] = {
        {"a free game's help panel, a press on a card", false, true},
        {"a free game's help panel, a press beside the cards", false, false},
        {"a campaign level's banner, a press on a card", true, true},
        {"a campaign level's banner, a press beside the cards", true, false},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.campaign) {
            ASSERT_EQ(game->startCampaignLevel(0, 0, true), Solitaire::RunningGame::kGameStarted);
            frames(120);
        } else {
            // The help panel shows when its title changes, as after another game.
            label(L"I_Help")->setText(std::wstring());
            startFreeGame(L"GOLDRAUSCH", L"GOLDRAUSCH", L"7");
        }
        bool const banner = game->getHud().getGameNameBlend().target > 0.5f;
        bool const help = game->getHud().getHelpBlend().target > 0.5f;
        ASSERT_TRUE(row.campaign ? banner : help) << "a panel over the dealt table";
        Karte* card = nullptr;
        for (Karte* each : cards().cards)
            if (each->isFaceUp() && each->pile && each->pile->canPickCard(each)) card = each;
        ASSERT_NE(card, nullptr);
        D3DXVECTOR2 const where = row.onCard ? at(rectOf(*card)) : emptyTablePoint();
        // A golf column plays its card at the press instead of lifting it: on the fresh table,
        // whose waste is still empty, the press is refused with the error mark.
        bool const playsAtPress = card->pile->rules.singleDoubleClick;
        moveTo(where);
        button(where, true);
        EXPECT_EQ(cards().getHeldCard(), row.onCard && !playsAtPress ? card : nullptr);
        if (row.onCard && playsAtPress) {
            EXPECT_EQ(card->getMarkState(), Solitaire::kMarkRefused) << "the press reached the card";
        }
        button(where, false);
        EXPECT_FALSE(row.campaign ? game->getHud().getGameNameBlend().target > 0.5f : game->getHud().getHelpBlend().target > 0.5f)
            << "the panel goes";
        frames(30);
    }
}

// A hint or an undo step the points cannot pay: the bulb does not sparkle "ready", a press says
// on the news line what it costs and what is missing (with the error sound), the button's tooltip
// says the same, and the table stays as it was. Paid for, both act and the line stays quiet.
TEST_F(TableInputTest, AHintOrUndoRefusedForItsPriceSaysWhatItCosts) {
    startWithACardMove(L"GOLDRAUSCH");
    dismissPanelsAt(emptyTablePoint());
    Solitaire::HintRecord const* move = cardMove();
    ASSERT_NE(move, nullptr);
    Karte* card = move->card;
    Kartenstapel* to = move->targetPile;
    ASSERT_TRUE(restOn(at(rectOf(*card))));
    D3DXVECTOR2 const start = at(rectOf(*card));
    button(start, true);
    for (int i = 1; i <= 6; ++i) moveTo(start + (at(rectOf(*to)) - start) * (static_cast<float>(i) / 6.0f));
    button(at(rectOf(*to)), false);
    frames(60);
    ASSERT_EQ(card->pile, to);

    // Ten seconds of play make the bulb clickable; the points cannot pay a hint, so it stays dark
    // and does not sparkle.
    Orvex::GUIProgressBar* bulb = bar(L"I_TIPP");
    ASSERT_NE(bulb, nullptr);
    Solitaire::SolPartikelManager const& particles = Solitaire::SolPartikelManager::instance();
    bool sparkled = false;
    for (int i = 0; i < 600 && !bulb->getOptions().enabled; ++i) {
        std::size_t const before = particles.liveEmitters().size();
        nextFrame();
        sparkled = sparkled || particles.liveEmitters().size() > before;
    }
    ASSERT_TRUE(bulb->getOptions().enabled);
    ASSERT_FALSE(cards().canPay(cards().getHintPrice()));
    EXPECT_EQ(bulb->getRatio(), 0.0f) << "dark while the hint cannot be paid";
    for (int i = 0; i < 600 && !sparkled; ++i) {
        std::size_t const before = particles.liveEmitters().size();
        nextFrame();
        sparkled = particles.liveEmitters().size() > before;
    }
    EXPECT_FALSE(sparkled) << "no ready sparkle over a hint that cannot be paid";

    Orvex::GUILabel* news = label(L"I_Meldung");
    ASSERT_NE(news, nullptr);
    struct Row {
        char const* what;
        wchar_t const* button;
        std::wstring says;
        // The button's tooltip names the next one's price, which after a paid one reads as no
        // refusal.
        std::wstring next;
        char const* shot;
    } const rows[] = {
        {"the hint", L"I_TIPP", L"Ein Tipp kostet 75 Punkte vom Guthaben, es fehlen noch ",
         L"Der n\u00e4chste Tipp kostet 75 Punkte vom Guthaben. Sammle noch ", "hint"},
        {"a step back", L"I_Undo_Step", L"Zur\u00fccknehmen kostet 50 Punkte vom Guthaben, es fehlen noch ",
         L"Zur\u00fccknehmen kostet als N\u00e4chstes 50 Punkte vom Guthaben. Sammle noch ", "undo"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        D3DXVECTOR2 const on = at(find(row.button)->getScreenRect());
        ASSERT_TRUE(restOn(on)) << "the button's tooltip";
        EXPECT_EQ(tooltipText().rfind(row.next, 0), 0u) << port::toUtf8(tooltipText());
        clickAt(on);
        EXPECT_EQ(goalOf(L"I_Meldung"), L"AN");
        frames(15);
        frame();
        keepBackBuffer(std::string("table_refused_") + row.shot + ".png");
        EXPECT_EQ(news->getText().rfind(row.says, 0), 0u) << port::toUtf8(news->getText());
        EXPECT_EQ(card->pile, to) << "the table stays";
        EXPECT_FALSE(hintShown()) << "no hint marks";
        frames(static_cast<int>(Solitaire::NewsLine::kShownSeconds / kFrame) + 2);
        EXPECT_EQ(goalOf(L"I_Meldung"), L"AUS") << "the line goes after a while";
    }

    // With points enough, the hint is shown and the step taken back; the line says nothing.
    cards().changeScore(1000.0f);
    clickAt(at(find(L"I_TIPP")->getScreenRect()));
    EXPECT_TRUE(hintShown());
    clickAt(at(find(L"I_Undo_Step")->getScreenRect()));
    frames(60);
    EXPECT_NE(card->pile, to) << "taken back";
    EXPECT_EQ(goalOf(L"I_Meldung"), L"AUS");
}

// The drag: the point of the card that was pressed stays under the pointer after every frame of
// the carry, on a table of 52 cards and one of 104 and in two window sizes (three table scales).
TEST_F(TableInputTest, ThePressedPointOfADraggedCardStaysUnderThePointer) {
    struct Row {
        unsigned width, height;
        wchar_t const* variant;
    } const rows[] = {
        {1024, 768, L"GOLDRAUSCH"},
        {1024, 768, L"SPINNE"},
        {1280, 720, L"GOLDRAUSCH"},
    };
    std::set<long> scales;
    for (Row const& row : rows) {
        std::string const name =
            port::toUtf8(row.variant) + "_" + std::to_string(row.width) + "x" + std::to_string(row.height);
        SCOPED_TRACE(name);
        if (row.width != width || row.height != height) restartAt(row.width, row.height);
        startWithACardMove(row.variant);
        dismissPanelsAt(emptyTablePoint());
        // The camera may still take the room the panels left.
        frames(90);
        Karte* card = cardMove()->card;
        Orvex::FRect const r0 = rectOf(*card);
        // Window pixels per table unit, in hundredths.
        scales.insert(std::lround((r0.right - r0.left) / card->cardSize.x * 100.0f));
        // Pressed off its middle, as a hand does: a third across, a fifth down.
        float const u = 0.3f, v = 0.2f;
        D3DXVECTOR2 const start = at(r0, u, v);
        ASSERT_TRUE(restOn(start));
        button(start, true);
        ASSERT_EQ(cards().getHeldCard(), card);
        // Across the table, 14 frames.
        D3DXVECTOR2 const far(static_cast<float>(width) * 0.75f, static_cast<float>(height) * 0.55f);
        for (int i = 1; i <= 14; ++i) {
            D3DXVECTOR2 const p = start + (far - start) * (static_cast<float>(i) / 14.0f);
            moveTo(p);
            D3DXVECTOR2 const grab = at(rectOf(*card), u, v);
            // The pointed card's lift eases out over the first frames of the carry.
            D3DXVECTOR2 const lift = card->markOffset.current;
            if (i <= 3 && (lift.x != 0.0f || lift.y != 0.0f)) continue;
            EXPECT_NEAR(grab.x, static_cast<float>(pixel(p.x)), 1.5f) << "frame " << i;
            EXPECT_NEAR(grab.y, static_cast<float>(pixel(p.y)), 1.5f) << "frame " << i;
            if (i == 7) {
                frame();
                keepBackBuffer("table_drag_" + name + ".png");
                for (Karte* other : cards().cards)
                    if (other != card) EXPECT_LT(other->getRenderOrder(), card->getRenderOrder()) << "drawn on top";
            }
        }
        button(far, false);
        frames(60);
        EXPECT_EQ(cards().getHeldCard(), nullptr);
    }
    EXPECT_GE(scales.size(), 2u) << "the table at more than one scale";
}

}  // namespace
