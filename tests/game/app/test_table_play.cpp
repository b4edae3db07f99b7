// The shipped variants played as a player plays them, by SDL events pushed into the real window
// (see TableInputFixture.h): a double click plays a card to a goal pile first (an ace of the
// cells' game to its foundation, not into a free cell); a click plays a golf column's top card;
// a click on a covered face-down card leaves it hidden; every card moved counts in "Bewegte
// Karten", whether dragged, double-clicked or sent by the right button; the longest combination
// of golf is its longest run between two turns of the stock; the three-card waste shows the last
// deal's cards side by side, each one's corner in sight; the cells' rules panel says where the
// star card lies; found wildcards and jokers wait at the right edge of the screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "game/app/SolVariant.h"
#include "game/cards/PileWords.h"
#include "game/cards/Statistik.h"
#include "game/cards/StatistikManager.h"
#include "game/look/Kartenset.h"
#include "game/look/RenderObjekt.h"
#include "game/look/StyleSettings.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/TableInputFixture.h"

namespace {

using Solitaire::Karte;
using Solitaire::Kartenstapel;
using Solitaire::StatistikCounter;

class TablePlayTest : public apptest::TableInputFixture {
protected:
    static std::vector<Karte*> cardsOn(Kartenstapel const& pile) {
        std::vector<Karte*> held;
        pile.getCards(held, true, true);
        return held;
    }
    static Kartenstapel& pileNamed(wchar_t const* name) {
        Kartenstapel* pile = cards().findPile(name);
        if (!pile) throw std::runtime_error("no pile " + port::toUtf8(name));
        return *pile;
    }
    static Solitaire::Statistik const* gameStatistics() { return Solitaire::StatistikManager::instance().find(L"STATS"); }
    static Solitaire::Statistik const* overallStatistics() {
        return Solitaire::StatistikManager::instance().getProfileStatistik();
    }
    static Orvex::u32 moved(Solitaire::Statistik const* set) { return set ? set->get(StatistikCounter::Moved) : 0u; }

    enum class Press { kClick, kDoubleClick, kRightClick };
    // The pointer to p, then a press and release there (two for a double click, as a hand makes
    // them); the table then settles.
    void pressAt(D3DXVECTOR2 p, Press press = Press::kClick) {
        moveTo(p);
        if (press == Press::kDoubleClick) {
            doubleClickOverFrames(p);
        } else if (press == Press::kRightClick) {
            button(p, true, SDL_BUTTON_RIGHT);
            button(p, false, SDL_BUTTON_RIGHT);
        } else {
            clickAt(p);
        }
        frames(30);
    }
    void clickCard(Karte& card, Press press = Press::kClick) { pressAt(at(rectOf(card)), press); }
    void clickPile(Kartenstapel& pile) { pressAt(at(rectOf(pile))); }
    void dragCard(Karte& card, Kartenstapel& to) {
        D3DXVECTOR2 const start = at(rectOf(card));
        D3DXVECTOR2 const goal = at(rectOf(to));
        moveTo(start);
        button(start, true);
        for (int i = 1; i <= 8; ++i) moveTo(start + (goal - start) * (static_cast<float>(i) / 8.0f));
        button(goal, false);
        frames(30);
    }
    // A left click on a window of the screens, as on the table.
    void clickWindow(wchar_t const* name) {
        Orvex::GUIWindow* window = find(name);
        ASSERT_NE(window, nullptr) << port::toUtf8(name);
        D3DXVECTOR2 const p = at(window->getScreenRect());
        moveTo(p);
        clickAt(p);
    }
    bool waitFor(wchar_t const* menu, int most = 900) {
        for (int i = 0; i < most && !isActive(menu); ++i) nextFrame();
        return isActive(menu);
    }
    // A free game started from the free-play screen by clicks on its category and game, with the
    // seed in the seed field.
    void startFromFreePlay(std::wstring const& category, std::wstring const& name, std::wstring const& seed) {
        showMenu(L"FREIESSPIELMENU");
        frames(60);
        clickWindow((L"FG_Kategorie_" + category).c_str());
        frames(30);
        clickWindow((L"FG_Game_" + name).c_str());
        frames(30);
        ASSERT_NE(label(L"FG_SEED"), nullptr);
        label(L"FG_SEED")->setText(seed);
        clickWindow(L"FG_StartButton");
        ASSERT_TRUE(waitFor(L"INGAMEMENU"));
        frames(120);
    }
    // The variant's statistics line of the highscore list, reached from a free game's results
    // as the player goes there.
    std::wstring highscoreStatistics() {
        if (!waitFor(L"AUSWERTUNGMENU")) return L"(no results)";
        frames(300);
        clickWindow(L"A_BACK");
        if (!waitFor(L"FREIESSPIELMENU")) return L"(no free play)";
        frames(60);
        clickWindow(L"FG_Highscores");
        if (!waitFor(L"STATISTIKENGAMEMENU")) return L"(no highscores)";
        frames(30);
        return textOf(L"STG_GAMESTATISTIKEN");
    }

    // Frames until no card of the pile glides any more (a deal's cards glide out of the stock).
    void settle(Kartenstapel const& pile) {
        for (int i = 0; i < 300; ++i) {
            std::vector<Karte*> const held = cardsOn(pile);
            if (std::none_of(held.begin(), held.end(), [](Karte const* card) { return card->isMoving(); })) return;
            nextFrame();
        }
        ADD_FAILURE() << "the pile's cards still glide";
    }
    // A pile other than its own that takes the card, or null.
    static Kartenstapel* whereItGoes(Karte& card) {
        for (Kartenstapel* pile : cards().piles)
            if (pile != card.pile && pile->acceptsCards({{&card, 0}}, nullptr)) return pile;
        return nullptr;
    }
    // The golf waste's top card, or null.
    static Karte* wasteTop() {
        std::vector<Karte*> const held = cardsOn(pileNamed(L"STAPEL_MUELL"));
        return held.empty() ? nullptr : held.back();
    }
    // A golf column's top card the waste takes (or, with playable false, refuses), or null.
    static Karte* golfTopCard(bool playable = true) {
        Kartenstapel const& waste = pileNamed(L"STAPEL_MUELL");
        for (Kartenstapel* pile : cards().getPilesOfType(Solitaire::kPileTableau))
            for (Karte* card : pile->collectFreeCards())
                if (pile->canPickCard(card) && waste.acceptsCards({{card, 0}}, nullptr) == playable) return card;
        return nullptr;
    }
    // The first seed from 1 whose golf deal, after one turn of the stock, has a card to play.
    void startGolfWithAPlay(bool campaign) {
        for (int seed = 1; seed <= 40; ++seed) {
            if (campaign) {
                // A level deals from the clock: another tick, another deal.
                tick += 7919;
                ASSERT_EQ(game->startCampaignLevel(0, 0, false), Solitaire::RunningGame::kGameStarted);
                frames(120);
            } else {
                startFreeGame(L"GOLFPLATZ", L"GOLFPLATZ", std::to_wstring(seed), L"KNOBELEIEN");
            }
            dismissPanelsAt(emptyTablePoint());
            clickPile(pileNamed(L"STAPEL_VORRAT"));
            if (wasteTop() && golfTopCard() && golfTopCard(false)) return;
        }
        FAIL() << "no golf deal with a card to play";
    }
};

// What a click or a double click on a card does: played where it belongs, or left where it is.
TEST_F(TablePlayTest, AClickOrDoubleClickPlaysTheCardWhereItBelongs) {
    struct Row {
        char const* what;
        std::function<Karte*()> deal;  // deals the table and returns the card to click
        Press press;
        std::function<void(Karte&)> expect;
    };
    Row const rows[] = {
        {"the cells: a double-clicked free ace goes to a foundation, not into a free cell",
         [this]() -> Karte* {
             for (int seed = 1; seed <= 40; ++seed) {
                 startFreeGame(L"ZELLEN", L"ZELLEN", std::to_wstring(seed));
                 for (Kartenstapel* pile : cards().getPilesOfType(Solitaire::kPileTableau))
                     for (Karte* card : pile->collectFreeCards())
                         if (card->value == 0 && pile->canPickCard(card)) {
                             dismissPanelsAt(emptyTablePoint());
                             return card;
                         }
             }
             return nullptr;
         },
         Press::kDoubleClick,
         [](Karte& ace) {
             ASSERT_NE(ace.pile, nullptr);
             EXPECT_EQ(ace.pile->rules.goalKind, Solitaire::kGoalZiel) << port::toUtf8(ace.pile->getName());
             for (Kartenstapel* cell : cards().getPilesOfType(Solitaire::kPileReserve))
                 EXPECT_TRUE(cardsOn(*cell).empty()) << port::toUtf8(cell->getName());
         }},
        {"golf, free play: a click plays a column's top card to the waste",
         [this] {
             startGolfWithAPlay(false);
             return golfTopCard();
         },
         Press::kClick, [](Karte& card) { EXPECT_EQ(wasteTop(), &card); }},
        {"golf, free play: a double click plays it too (and the card under it when that fits)",
         [this] {
             startGolfWithAPlay(false);
             return golfTopCard();
         },
         Press::kDoubleClick,
         [](Karte& card) {
             std::vector<Karte*> const waste = cardsOn(pileNamed(L"STAPEL_MUELL"));
             EXPECT_NE(std::find(waste.begin(), waste.end(), &card), waste.end());
             EXPECT_EQ(cards().getGameStatus(), Solitaire::kGameRunning);
         }},
        {"golf, a campaign level: a click plays it",
         [this] {
             startGolfWithAPlay(true);
             return golfTopCard();
         },
         Press::kClick, [](Karte& card) { EXPECT_EQ(wasteTop(), &card); }},
        {"golf: a card the waste refuses stays on its column and is not carried",
         [this] {
             startGolfWithAPlay(false);
             return golfTopCard(false);
         },
         Press::kClick,
         [](Karte& card) {
             ASSERT_NE(card.pile, nullptr);
             EXPECT_EQ(card.pile->rules.pileType, Solitaire::kPileTableau);
             EXPECT_EQ(cards().getHeldCard(), nullptr);
         }},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        Karte* card = row.deal();
        ASSERT_NE(card, nullptr) << "no deal offers the card";
        Kartenstapel const* from = card->pile;
        clickCard(*card, row.press);
        frames(30);
        row.expect(*card);
        if (row.press == Press::kDoubleClick) {
            EXPECT_NE(card->pile, from) << "moved";
        }
    }
}

// A double click is two presses, the second of them the double click: "Klicks" counts two, the
// second press takes no card up again (it came twice, as a press that picked the card up and
// as the double click), whether the card goes somewhere or stays.
TEST_F(TablePlayTest, ADoubleClicksSecondPressIsTheDoubleClickAlone) {
    struct Row {
        char const* what;
        wchar_t const* game;
        bool goes;  // the card has a pile to go to
    } const rows[] = {{"the cells: a free ace, which goes to a foundation", L"ZELLEN", true},
                      {"a column's open card with nowhere to go", L"GOLDRAUSCH", false}};
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        Karte* card = nullptr;
        for (int seed = 1; seed <= 40 && !card; ++seed) {
            startFreeGame(row.game, row.game, std::to_wstring(seed));
            for (Kartenstapel* pile : cards().getPilesOfType(Solitaire::kPileTableau))
                for (Karte* each : pile->collectFreeCards())
                    if (!card && each->isFaceUp() && pile->canPickCard(each) && (each->value == 0) == row.goes &&
                        (whereItGoes(*each) != nullptr) == row.goes)
                        card = each;
        }
        ASSERT_NE(card, nullptr) << "no deal offers the card";
        dismissPanelsAt(emptyTablePoint());
        frames(40);  // the effects of earlier presses are over
        Kartenstapel const* from = card->pile;
        Solitaire::Statistik const* counters = gameStatistics();
        ASSERT_NE(counters, nullptr);
        Orvex::u32 const clicks = counters->get(StatistikCounter::Clicks);
        Orvex::u32 const doubles = counters->get(StatistikCounter::DoubleClicks);
        Orvex::u32 const missed = counters->get(StatistikCounter::FailedDoubleClicks);
        // The carried card's effects that the two presses start.
        std::wstring const carried = Solitaire::StyleSettings::instance().getKartenset()->moveEmitter;
        std::set<Solitaire::SolPartikel const*> seen;
        for (Solitaire::SolPartikel const* each : Solitaire::SolPartikelManager::instance().liveEmitters())
            if (each->getName() == carried) seen.insert(each);
        int started = 0;
        auto countStarted = [&] {
            for (Solitaire::SolPartikel const* each : Solitaire::SolPartikelManager::instance().liveEmitters())
                if (each->getName() == carried && seen.insert(each).second) ++started;
        };
        D3DXVECTOR2 const p = at(rectOf(*card));
        moveTo(p);
        for (int press = 0; press < 2; ++press) {
            testsupport::pushButton(windowId(), SDL_BUTTON_LEFT, true, pixel(p.x), pixel(p.y));
            testsupport::pushButton(windowId(), SDL_BUTTON_LEFT, false, pixel(p.x), pixel(p.y));
            nextFrame();
            countStarted();
        }
        frames(30);
        EXPECT_EQ(card->pile != from, row.goes);
        EXPECT_EQ(counters->get(StatistikCounter::Clicks), clicks + 2);
        EXPECT_EQ(counters->get(StatistikCounter::DoubleClicks), doubles + 1);
        EXPECT_EQ(counters->get(StatistikCounter::FailedDoubleClicks), missed + (row.goes ? 0 : 1));
        EXPECT_EQ(started, 1) << "the first press takes the card up, the double click does not";
        EXPECT_EQ(cards().getHeldCard(), nullptr);
    }
}

// A click on a face-down card turns it only where it lies open: a column's covered card, whose
// edge shows, stays hidden; the stock still deals.
TEST_F(TablePlayTest, AClickOnACoveredFaceDownCardLeavesItHidden) {
    startFreeGame(L"GOLDRAUSCH", L"GOLDRAUSCH", L"1234");
    dismissPanelsAt(emptyTablePoint());
    // The column with the most face-down cards: its second card's edge shows above the third.
    Kartenstapel& column = pileNamed(L"TABLEAU7");
    std::vector<Karte*> const held = cardsOn(column);
    ASSERT_GE(held.size(), 3u);
    Karte* covered = held[1];
    ASSERT_FALSE(covered->isFaceUp());
    ASSERT_FALSE(covered->backLinks.empty());
    // A point of its edge where the table finds it.
    Orvex::FRect const r = Solitaire::computeScreenRect(*covered, game->getCamera());
    D3DXVECTOR2 edge(0.0f, 0.0f);
    for (float v = 0.02f; v < 0.5f && edge.x == 0.0f; v += 0.02f) {
        D3DXVECTOR2 const p((r.left + r.right) * 0.5f, r.top + (r.bottom - r.top) * v);
        Karte* hit = nullptr;
        Kartenstapel* pile = nullptr;
        cards().pickAt(p, hit, pile);
        if (hit == covered) edge = game->getRenderer()->toWindowPoint(p);
    }
    ASSERT_NE(edge.x, 0.0f) << "the covered card's edge shows";
    struct Row {
        char const* what;
        std::function<void()> click;
        std::function<void()> expect;
    };
    std::size_t const stockBefore = cardsOn(pileNamed(L"STAPEL_VORRAT")).size();
    Row const rows[] = {
        {"the covered card", [&] { pressAt(edge); },
         [&] { EXPECT_FALSE(covered->isFaceUp()) << "turned under the cards on it"; }},
        {"the stock", [&] { clickPile(pileNamed(L"STAPEL_VORRAT")); },
         [&] { EXPECT_EQ(cardsOn(pileNamed(L"STAPEL_VORRAT")).size(), stockBefore - 1); }},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        row.click();
        row.expect();
    }
}

// "Bewegte Karten" counts every card the player's input moved: the thirteen hearts of the row,
// dragged, double-clicked and sent by the right button in turn, are thirteen, in the game's, the
// variant's and the profile's counters and on the highscore list.
TEST_F(TablePlayTest, EveryCardTheInputMovesCountsAsMoved) {
    startFromFreePlay(L"KNOBELEIEN", L"HERZREIHE", L"1");
    dismissPanelsAt(emptyTablePoint());
    Kartenstapel& goal = pileNamed(L"STAPEL_ZIEL");
    struct Input {
        char const* what;
        std::function<void(Karte&)> play;
    };
    Input const inputs[] = {
        {"double click", [this](Karte& card) { clickCard(card, Press::kDoubleClick); }},
        {"drag", [this, &goal](Karte& card) { dragCard(card, goal); }},
        {"right button", [this](Karte& card) { clickCard(card, Press::kRightClick); }},
    };
    Orvex::u32 const overallBefore = moved(overallStatistics());
    for (int value = 0; value < 13; ++value) {
        Input const& input = inputs[value % 3];
        SCOPED_TRACE(std::string(input.what) + " on the heart of value " + std::to_string(value));
        Karte* card = nullptr;
        for (Karte* each : cards().cards)
            if (each->value == value) card = each;
        ASSERT_NE(card, nullptr);
        input.play(*card);
        if (value == 12) break;  // the last one wins the game, which takes its counters away
        ASSERT_EQ(card->pile, &goal);
        EXPECT_EQ(moved(gameStatistics()), static_cast<Orvex::u32>(value + 1));
        EXPECT_EQ(moved(catalogue().getCurrentVariant()->getStatistik()), static_cast<Orvex::u32>(value + 1));
    }
    EXPECT_EQ(moved(overallStatistics()), overallBefore + 13);
    std::wstring const line = highscoreStatistics();
    EXPECT_NE(line.find(L"Bewegte Karten: 13"), std::wstring::npos) << port::toUtf8(line);
}

// Golf's longest combination is its longest run of cards played between two turns of the stock:
// games played by clicks, each card that fits laid on the waste, the stock turned when none fits.
TEST_F(TablePlayTest, GolfsLongestCombinationIsItsLongestRunBetweenTurnsOfTheStock) {
    struct Row {
        char const* what;
        bool campaign;
        wchar_t const* seed;
    } const rows[] = {
        {"free play, seed 3", false, L"3"},
        {"free play, seed 11", false, L"11"},
        {"a campaign level", true, nullptr},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        Solitaire::StatistikManager::instance().resetProfileStatistik();
        if (row.campaign) {
            ASSERT_EQ(game->startCampaignLevel(0, 0, false), Solitaire::RunningGame::kGameStarted);
            frames(120);
        } else {
            startFromFreePlay(L"KNOBELEIEN", L"GOLFPLATZ", row.seed);
        }
        dismissPanelsAt(emptyTablePoint());
        ASSERT_EQ(cards().getSeedText(), row.campaign ? cards().getSeedText() : std::wstring(row.seed));
        Kartenstapel& stock = pileNamed(L"STAPEL_VORRAT");
        int run = 0, longest = 0, turns = 0;
        for (int actions = 0; actions < 120 && cards().getGameStatus() == Solitaire::kGameRunning; ++actions) {
            if (Karte* card = golfTopCard()) {
                clickCard(*card);
                ASSERT_EQ(wasteTop(), card);
                longest = std::max(longest, ++run);
            } else if (!cardsOn(stock).empty()) {
                clickPile(stock);
                run = 0;
                ++turns;
            } else {
                break;
            }
        }
        frames(60);
        ASSERT_NE(cards().getGameStatus(), Solitaire::kGameRunning) << "the game ended";
        EXPECT_GT(turns, 1);
        EXPECT_GT(longest, 1);
        EXPECT_EQ(overallStatistics()->get(StatistikCounter::MaxCombo), static_cast<Orvex::u32>(longest));
        if (!row.campaign) {
            std::wstring const line = highscoreStatistics();
            EXPECT_NE(line.find(L"L\u00e4ngste Kombination: " + std::to_wstring(longest) + L" "), std::wstring::npos)
                << port::toUtf8(line);
        } else {
            waitFor(L"AUSWERTUNGMENU");
            frames(300);
        }
    }
}

// The three-card waste after each turn of the stock: the cards of that deal face up side by side
// in the order dealt, at the same places every deal, upright, each one's corner showing (a press
// there finds that card); the cards of earlier deals lie face down beneath. Playing the top card
// leaves the other two where they were.
TEST_F(TablePlayTest, TheThreeCardWasteShowsTheLastDealSideBySide) {
    // Each place of a pile is shifted by the style's few pixels of disorder.
    constexpr float kJitter = 3.0f;
    Kartenstapel* waste = nullptr;
    for (int seed = 1; seed <= 40 && !waste; ++seed) {
        startFreeGame(L"GOLDRAUSCH", L"GOLDRAUSCH_DREI", std::to_wstring(seed));
        dismissPanelsAt(emptyTablePoint());
        clickPile(pileNamed(L"STAPEL_VORRAT"));
        settle(pileNamed(L"STAPEL_MUELL"));
        std::vector<Karte*> const dealt = cardsOn(pileNamed(L"STAPEL_MUELL"));
        if (!dealt.empty() && whereItGoes(*dealt.back())) waste = &pileNamed(L"STAPEL_MUELL");
    }
    ASSERT_NE(waste, nullptr) << "no deal plays from its first three";
    std::vector<Orvex::FRect> places;
    auto fan = [&](char const* when) {
        SCOPED_TRACE(when);
        settle(*waste);
        std::vector<Karte*> const held = cardsOn(*waste);
        std::vector<Karte*> up;
        for (Karte* card : held)
            if (card->isFaceUp()) up.push_back(card);
        for (std::size_t i = 0; i + up.size() < held.size(); ++i) EXPECT_FALSE(held[i]->isFaceUp()) << "beneath";
        std::vector<Orvex::FRect> rects;
        for (std::size_t i = 0; i < up.size(); ++i) {
            Orvex::FRect const r = Solitaire::computeScreenRect(*up[i], game->getCamera());
            rects.push_back(r);
            EXPECT_NEAR(up[i]->rotation.current, 0.0f, 2.5f) << "card " << i << " upright";
            // Its corner: a tenth across, a tenth down.
            D3DXVECTOR2 const corner(r.left + (r.right - r.left) * 0.1f, r.top + (r.bottom - r.top) * 0.1f);
            Karte* hit = nullptr;
            Kartenstapel* pile = nullptr;
            cards().pickAt(corner, hit, pile);
            EXPECT_EQ(hit, up[i]) << "card " << i << "'s corner in sight";
            if (i > 0) {
                float const step = r.left - rects[i - 1].left;
                EXPECT_GT(step, (r.right - r.left) * 0.25f) << "card " << i << " right of the one before";
                if (i > 1) {
                    EXPECT_NEAR(step, rects[i - 1].left - rects[i - 2].left, kJitter) << "equal steps";
                }
            }
        }
        return rects;
    };
    places = fan("the first deal");
    ASSERT_EQ(places.size(), 3u);
    for (int deal = 2; deal <= 4; ++deal) {
        clickPile(pileNamed(L"STAPEL_VORRAT"));
        std::vector<Orvex::FRect> const again = fan(("deal " + std::to_string(deal)).c_str());
        ASSERT_EQ(again.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(again[i].left, places[i].left, kJitter) << "deal " << deal;
        frame();
        if (deal == 2) keepBackBuffer("three_card_waste_1024x768.png");
    }
    // The same deal again, its first three dealt: the top one plays.
    startFreeGame(L"GOLDRAUSCH", L"GOLDRAUSCH_DREI", std::wstring(cards().getSeedText()));
    dismissPanelsAt(emptyTablePoint());
    waste = &pileNamed(L"STAPEL_MUELL");
    clickPile(pileNamed(L"STAPEL_VORRAT"));
    settle(*waste);
    Karte* top = cardsOn(*waste).back();
    Kartenstapel* to = whereItGoes(*top);
    ASSERT_NE(to, nullptr);
    dragCard(*top, *to);
    ASSERT_EQ(top->pile, to);
    std::vector<Orvex::FRect> const left = fan("the top card played");
    ASSERT_EQ(left.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) EXPECT_NEAR(left[i].left, places[i].left, kJitter);
}

// The cells' rules panel says the star card lies beneath all the cards of the first pile on the
// left, and the deal lays it there: the leftmost column's first card, every other card of that
// column lying on it.
TEST_F(TablePlayTest, TheCellsRulesSayWhereTheStarCardLies) {
    struct Row {
        char const* what;
        std::function<void()> start;
    };
    Row const rows[] = {
        {"free play, seed 1", [this] { startFreeGame(L"ZELLEN", L"ZELLEN", L"1"); }},
        {"free play, seed 77", [this] { startFreeGame(L"ZELLEN", L"ZELLEN", L"77"); }},
        {"a campaign level",
         [this] {
             ASSERT_EQ(game->startCampaignLevel(1, 0, false), Solitaire::RunningGame::kGameStarted);
             frames(120);
         }},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(row.what);
        row.start();
        EXPECT_NE(textOf(L"I_Help").find(L"Unter allen Karten des ersten Spielstapels links liegt eine Sternkarte"),
                  std::wstring::npos)
            << port::toUtf8(textOf(L"I_Help"));
        Karte* star = nullptr;
        for (Karte* card : cards().cards)
            if (card->suit == Karte::kSuitExtra) star = card;
        ASSERT_NE(star, nullptr);
        ASSERT_NE(star->pile, nullptr);
        std::vector<Kartenstapel*> const columns = cards().getPilesOfType(Solitaire::kPileTableau);
        Kartenstapel const* leftmost = *std::min_element(columns.begin(), columns.end(), [](auto* a, auto* b) {
            return a->getAnchorPosition().x < b->getAnchorPosition().x;
        });
        EXPECT_EQ(star->pile, leftmost) << port::toUtf8(star->pile->getName());
        std::vector<Karte*> const held = cardsOn(*star->pile);
        ASSERT_FALSE(held.empty());
        EXPECT_EQ(held.front(), star) << "the first card of the column";
        // The draw order is the one of the frame drawn.
        game->draw();
        for (Karte* other : held)
            if (other != star) {
                EXPECT_GT(other->getRenderOrder(), star->getRenderOrder()) << "drawn over it";
            }
    }
}

// The cells' wildcards and jokers wait at the right edge of the screen, at the same fractions of
// it on a 4:3 and a 16:9 screen, apart from the table: not drawn while empty, and a card bought
// in the shop (by clicks) shown there, between the top strip and the bottom panel.
TEST_F(TablePlayTest, WildcardsAndJokersWaitAtTheRightEdgeOfTheScreen) {
    struct Row {
        unsigned width, height;
    } const rows[] = {{1024, 768}, {1280, 720}};
    for (Row const& row : rows) {
        std::string const size = std::to_string(row.width) + "x" + std::to_string(row.height);
        SCOPED_TRACE(size);
        if (row.width != width || row.height != height) restartAt(row.width, row.height);
        profile->setPoints(100000.0f);
        ASSERT_EQ(game->startCampaignLevel(1, 0, false), Solitaire::RunningGame::kGameStarted);
        frames(120);
        dismissPanelsAt(emptyTablePoint());
        Kartenstapel& wildcards = pileNamed(L"WILDCARDS");
        Kartenstapel& jokers = pileNamed(L"JOKER");
        auto drawn = [&](Kartenstapel const& pile) {
            Solitaire::RenderContext context;
            context.camera = game->getCamera();
            context.layerMask = Solitaire::kLayerPiles;
            Solitaire::RenderQueue queue;
            cards().queueRender(context, queue);
            return std::any_of(queue.items().begin(), queue.items().end(),
                               [&](Solitaire::RenderItem const& item) { return item.object == &pile; });
        };
        if (cardsOn(wildcards).empty()) {
            EXPECT_FALSE(drawn(wildcards)) << "an empty pile is not drawn";
        }
        if (cardsOn(jokers).empty()) {
            EXPECT_FALSE(drawn(jokers)) << "an empty pile is not drawn";
        }

        std::size_t const wildcardsBefore = cardsOn(wildcards).size(), jokersBefore = cardsOn(jokers).size();
        for (wchar_t const* offer : {L"S_WILDCARD", L"S_JOKER"}) {
            clickWindow(L"I_Shop");
            ASSERT_TRUE(waitFor(L"SHOPMENU", 120));
            frames(30);
            clickWindow(offer);
            ASSERT_TRUE(waitFor(L"INGAMEMENU", 120)) << port::toUtf8(offer);
            frames(60);
        }
        ASSERT_EQ(cardsOn(wildcards).size(), wildcardsBefore + 1);
        ASSERT_EQ(cardsOn(jokers).size(), jokersBefore + 1);
        frames(60);
        frame();
        keepBackBuffer("cells_wildcard_joker_" + size + ".png");

        Orvex::FRect const screen(0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height));
        Orvex::GUIWindow* top = find(L"I_Leiste");
        Orvex::GUIWindow* bottom = find(L"I_HG");
        ASSERT_TRUE(top && bottom);
        struct Place {
            Kartenstapel* pile;
            float x, y;
        } const places[] = {{&wildcards, 0.955f, 0.3f}, {&jokers, 0.955f, 0.55f}};
        for (Place const& place : places) {
            SCOPED_TRACE(port::toUtf8(place.pile->getName()));
            EXPECT_TRUE(drawn(*place.pile));
            D3DXVECTOR2 const middle = at(rectOf(*place.pile));
            EXPECT_NEAR(middle.x, screen.right * place.x, 1.0f);
            EXPECT_NEAR(middle.y, screen.bottom * place.y, 1.0f);
            Karte* bought = cardsOn(*place.pile).back();
            Orvex::FRect const r = rectOf(*bought);
            EXPECT_GE(r.top, top->getScreenRect().bottom);
            EXPECT_LE(r.bottom, bottom->getScreenRect().top);
            EXPECT_LE(r.right, screen.right);
            // Apart from the table: no column reaches over it.
            for (Kartenstapel* column : cards().getPilesOfType(Solitaire::kPileTableau))
                for (Karte* card : cardsOn(*column)) EXPECT_LT(rectOf(*card).right, r.left) << "a column under it";
        }
    }
}

}  // namespace
