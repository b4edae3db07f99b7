// Jokers on the table: a joker laid on a foundation stays there and the card after it follows by
// drag or by double click; one laid on a column stays there too, fitting any card and taking any,
// in a run as well; the resolution sends a free joker or wildcard home in the resolution of the
// move that left it free, whether it still glides or not, and never from a goal pile nor from
// where the player laid it; a press on a joker just found takes it where it lies; the automatic
// moves read a joker as the card it is, and a dealt joker goes onto a foundation only where its
// card is missing; a game is not lost while a joker can be laid.
// Played on "Zellen" laid out near its end: two jokers stand in for the seven of hearts and the
// ten of clubs, as the deal makes them.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/LanguageManager.h"
#include "game/cards/HintRecord.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/look/Style.h"
#include "game/look/StyleSettings.h"
#include "tests/game/cards/PlayTable.h"
#include "tests/game/cards/Suits.h"

namespace Solitaire {
namespace {

using namespace cardtest::suits;

class JokersTest : public cardtest::PlayTable {
protected:
    void SetUp() override {
        PlayTable::SetUp();
        saved_ = look();
        // The jokers are made by the layout below, not by the engine's generator.
        style().maxWildcards = style().maxJokers = 0;
        // The points of the shipped game style "KLASSISCH".
        style().moveOnZiel = 100.0f;
        style().moveFromZiel = -150.0f;
        style().wrongDoubleClickPoints = -25.0f;
    }
    void TearDown() override {
        look() = saved_;
        PlayTable::TearDown();
    }
    static StyleValues& look() { return *StyleSettings::instance().getStyle(); }

    Karte* card(int suit, int value) {
        for (Karte* each : manager().cards)
            if (each->suit == suit && each->value == value) return each;
        ADD_FAILURE() << "no card " << suit << "." << value;
        return manager().cards.front();
    }
    // Lays the card face up, free of locks and keys, on top of the named pile (nowhere: off the
    // table, out of the pointer's way).
    void lay(Karte* each, wchar_t const* name) {
        if (each->pile) each->pile->removeCard(each, true);
        each->unlink(false, true, true);
        each->setFaceUp(true, 0.0f, 0.0f);
        each->setLocks({0.0f, 0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
        each->setKeys({0.0f, 0.0f, 0.0f, 0.0f}, 0.0f, 0.0f);
        if (name) pile(name).addCard(each, nullptr, true, false);
        else each->moveTo({-1.0e5f, -1.0e5f}, 0.0f, 0.0f);
    }
    void layRun(int suit, int from, int to, wchar_t const* name) {
        for (int value = from; value <= to; ++value) lay(card(suit, value), name);
    }
    struct Place {
        int suit, value;
        wchar_t const* pile;
    };
    void layPlaces(std::initializer_list<Place> places) {
        for (Place const& place : places) lay(card(place.suit, place.value), place.pile);
    }
    // A card of the deck turned joker and waiting on its pile, as the resolution leaves a found one.
    Karte* joker(int suit, int value) {
        Karte* each = card(suit, value);
        lay(each, L"JOKER");
        each->isJoker = true;
        return each;
    }

    // "Zellen" near its end, the 7♥ and the 10♣ jokers on their pile:
    //   BASIS1 ♠ to the jack, BASIS2 ♦ to the jack, BASIS3 ♥ to the six, BASIS4 ♣ to the nine;
    //   the cells 8♥, Q♣, K♣, K♥; the columns 9♥, 10♥, J♥, Q♥, J♣, K♠ Q♦, K♦, Q♠.
    // Nothing takes the 8♥ but a joker on the hearts.
    void layEndgame() {
        start(L"data\\Level\\Zellen.sol", L"5");
        for (Karte* each : manager().cards)
            if (each->suit == Karte::kSuitExtra) lay(each, nullptr);
        layRun(kPik, 0, 10, L"BASIS1");
        layRun(kKaro, 0, 10, L"BASIS2");
        layRun(kHerz, 0, 5, L"BASIS3");
        layRun(kKreuz, 0, 8, L"BASIS4");
        // The hearts joker on top.
        jokerClubs = joker(kKreuz, 9);
        jokerHearts = joker(kHerz, 6);
        layPlaces({
            {kHerz, 7, L"ZELLE1"},    {kKreuz, 11, L"ZELLE2"},   {kKreuz, 12, L"ZELLE3"}, {kHerz, 12, L"ZELLE4"},
            {kHerz, 8, L"TABLEAU1"},  {kHerz, 9, L"TABLEAU2"},   {kHerz, 10, L"TABLEAU3"}, {kHerz, 11, L"TABLEAU4"},
            {kKreuz, 10, L"TABLEAU5"}, {kPik, 12, L"TABLEAU6"},  {kKaro, 11, L"TABLEAU6"}, {kKaro, 12, L"TABLEAU7"},
            {kPik, 11, L"TABLEAU8"},
        });
        playFromHere();
        manager().setScore(2692.0f, 0.0f);
    }
    // The laid table is where the game goes on: counted, not scored, at rest.
    void playFromHere() {
        for (Kartenstapel* each : manager().piles) each->arrange(0.0f);
        manager().resolveAfterMove(false);
        manager().saveUndoState();
        frames(120);
    }

    // A double click as a player makes it: frames pass between its two presses.
    void doubleClick(Karte const* each) {
        D3DXVECTOR2 const p = at(each);
        press(p);
        release(p);
        frames(6);
        manager().onDoubleClick(Orvex::MouseState(), 0, p);
        release(p);
    }
    void rightDoubleClick(Kartenstapel const& each) {
        press(at(each), 1);
        release(at(each), 1);
        manager().onDoubleClick(Orvex::MouseState(), 1, at(each));
        release(at(each), 1);
    }
    Karte* topOf(wchar_t const* name) {
        std::vector<Karte*> held;
        pile(name).getCards(held, true, true);
        return held.empty() ? nullptr : held.back();
    }

    // The news lines the card manager sends, in the language the game starts in.
    struct Notes : sigslot::has_slots<> {
        std::vector<std::wstring> lines;
        void take(std::wstring const& line) { lines.push_back(line); }
    };
    void listenToNotes(Notes& notes) {
        Orvex::LanguageManager* language = Orvex::OrvexEngine::getInstance()->getLanguage();
        if (!language->getCurrentLanguage()) {
            Orvex::XMLNode texts;
            ASSERT_TRUE(texts.load(L"data\\texte.lng"));
            language->load(texts);
        }
        manager().playerNote.connect(&notes, &Notes::take);
    }
    // A card of the deck turned wildcard and waiting on its pile, as the resolution leaves a found one.
    Karte* wildcard(int suit, int value) {
        Karte* each = card(suit, value);
        lay(each, L"WILDCARDS");
        each->isWildcard = true;
        return each;
    }
    // A point of the card that shows where a card lies on it in a column: near its top edge.
    D3DXVECTOR2 atTopOf(Karte const* each) {
        Orvex::FRect const r = computeScreenRect(*each, &camera);
        return {(r.left + r.right) * 0.5f, r.top + (r.bottom - r.top) * 0.08f};
    }
    // Where a drop onto the pile lands: its top card, or the pile when it is empty.
    D3DXVECTOR2 dropAt(wchar_t const* name) {
        Karte const* top = topOf(name);
        return top ? at(top) : at(pile(name));
    }

    Karte* jokerHearts = nullptr;
    Karte* jokerClubs = nullptr;

private:
    StyleValues saved_;
};

// The tester's way through: the hearts joker dragged onto its foundation, the 8♥ sent after it
// with a double click, the clubs joker sent with a double click, the rest finished by the right
// button. No step costs points.
TEST_F(JokersTest, AZellenEndgameWithJokersIsWonByDragsAndDoubleClicks) {
    layEndgame();
    float score = manager().getScorePlus();
    auto expectGained = [&](char const* step) {
        EXPECT_GT(manager().getScorePlus(), score) << step;
        score = manager().getScorePlus();
    };

    drag(at(jokerHearts), at(pile(L"BASIS3")));
    EXPECT_EQ(jokerHearts->pile, &pile(L"BASIS3"));
    expectGained("the hearts joker dragged onto the hearts");
    frames(120);  // the joker lies at rest

    doubleClick(card(kHerz, 7));
    EXPECT_EQ(jokerHearts->pile, &pile(L"BASIS3"));
    EXPECT_EQ(card(kHerz, 7)->pile, &pile(L"BASIS3"));
    expectGained("the 8♥ sent onto the joker by a double click");
    frames(150);
    EXPECT_EQ(jokerHearts->pile, &pile(L"BASIS3")) << "covered, the joker stays";

    doubleClick(jokerClubs);
    EXPECT_EQ(jokerClubs->pile, &pile(L"BASIS4")) << "where the ten of clubs belongs, not the first foundation";
    expectGained("the clubs joker sent by a double click");
    frames(150);

    rightDoubleClick(pile(L"TABLEAU1"));
    frames(300);
    EXPECT_EQ(manager().getGameStatus(), kGameWon);
    expectGained("the finish");
    for (wchar_t const* name : {L"BASIS1", L"BASIS2", L"BASIS3", L"BASIS4"}) {
        std::vector<Karte*> held;
        pile(name).getCards(held, true, true);
        ASSERT_EQ(held.size(), 13u) << cardtest::narrow(name);
        for (std::size_t i = 0; i < held.size(); ++i) EXPECT_EQ(held[i]->value, static_cast<int>(i));
    }
}

// A wildcard or joker the player uncovers goes home in the resolution of that move, after the
// wait that shows it, whether it still glides when the move is recorded or not; on a foundation it
// stays, and no later move sends it. Only the card the player took off the foundation is charged.
TEST_F(JokersTest, AFreedJokerOrWildcardGoesHomeWithItsMoveAndStaysOnAFoundation) {
    struct Case {
        char const* name;
        bool joker;          // else a wildcard, as the deal makes it
        wchar_t const* lies;  // under the card moved off it
        bool gliding;        // it still glides when the move is recorded
        bool home;
    } const cases[] = {
        {"joker in a column", true, L"TABLEAU1", false, true},
        {"joker in a column, gliding", true, L"TABLEAU1", true, true},
        {"wildcard in a column, gliding", false, L"TABLEAU1", true, true},
        {"joker on a foundation", true, L"BASIS3", false, false},
        {"joker on a foundation, gliding", true, L"BASIS3", true, false},
        {"wildcard on a foundation", false, L"BASIS3", false, false},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        layEndgame();
        // The special lies under the card that follows it there; the fourth cell is free.
        Karte* special = jokerHearts;
        Karte* above = card(kHerz, c.lies == std::wstring(L"BASIS3") ? 7 : 8);
        Kartenstapel& home = pile(c.joker ? L"JOKER" : L"WILDCARDS");
        ASSERT_LT(jokerClubs->index, special->index) << "a special card at rest comes first in the list";
        lay(card(kHerz, 12), nullptr);
        lay(above, nullptr);
        lay(special, c.lies);
        lay(above, c.lies);
        special->isJoker = c.joker;
        special->isWildcard = !c.joker;
        playFromHere();
        float const score = manager().getScorePlus();
        bool const fromGoal = pile(c.lies).isGoalPile();

        Karte::LinkedCards const run{{above, 0}};
        manager().executeMove(run, &pile(c.lies), &pile(L"ZELLE4"), above);
        if (c.gliding) {
            D3DXVECTOR2 const goal = special->getPositionGoal();
            special->moveTo({goal.x + 50.0f, goal.y}, 1.0f, 0.0f);
        } else {
            for (int i = 0; i < 600 && special->isMoving(); ++i) frames(1);
        }
        ASSERT_EQ(special->isMoving(), c.gliding);
        manager().saveUndoState();
        if (c.home) {
            // Seen where it came free before it goes.
            EXPECT_TRUE(manager().getPlayState().resolutionPending);
            EXPECT_FLOAT_EQ(manager().getPlayState().resolutionDelay, 2.0f);
        }
        frames(150);
        EXPECT_EQ(special->pile, c.home ? &home : &pile(c.lies));
        EXPECT_EQ(manager().getScorePlus(), score + (fromGoal ? style().moveFromZiel : 0.0f));
        EXPECT_EQ(manager().getGoalCardCount(), fromGoal ? 38 : 37);

        // A later move elsewhere changes nothing for it.
        Kartenstapel* const was = special->pile;
        move(pile(L"TABLEAU8"), pile(L"BASIS1"), 1);
        frames(150);
        EXPECT_EQ(special->pile, was);
    }
}

// A joker the player uncovers with a double click is shown where it came free before it goes
// home. A press on it then takes it as it lies: a double click lays it on the foundation where its
// card is missing; a press that does nothing with it lets it go home after it was shown again,
// not at some later move. Nothing is charged.
TEST_F(JokersTest, APressOnAJokerJustFoundTakesItWhereItLies) {
    struct Case {
        char const* name;
        bool twice;       // a double click, else a click
        bool powerArmed;  // the revealing power: the press does nothing
        wchar_t const* ends;
    } const cases[] = {
        {"a double click", true, false, L"BASIS3"},
        {"a click", false, false, L"JOKER"},
        {"a press with a power armed", false, true, L"JOKER"},
    };
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        layEndgame();
        Karte* nine = card(kHerz, 8);
        lay(card(kHerz, 12), nullptr);
        lay(nine, nullptr);
        lay(jokerHearts, L"TABLEAU1");
        lay(nine, L"TABLEAU1");
        playFromHere();
        float const score = manager().getScorePlus();
        doubleClick(nine);
        ASSERT_EQ(nine->pile, &pile(L"ZELLE4"));
        frames(30);
        ASSERT_EQ(jokerHearts->pile, &pile(L"TABLEAU1")) << "shown where it came free";
        if (c.powerArmed) ASSERT_TRUE(manager().setClickMode(kClickReveal));
        if (c.twice) {
            doubleClick(jokerHearts);
        } else {
            press(at(jokerHearts));
            release(at(jokerHearts));
        }
        EXPECT_EQ(jokerHearts->pile, &pile(c.twice ? L"BASIS3" : L"TABLEAU1")) << "taken where it lies";
        frames(150);
        EXPECT_EQ(jokerHearts->pile, &pile(c.ends));
        bool const onFoundation = c.ends == std::wstring(L"BASIS3");
        EXPECT_EQ(manager().getScorePlus(), score + (onFoundation ? style().moveOnZiel : 0.0f));
        manager().setClickMode(kClickNormal);
    }
}

// A double click and the right button's finish lay a card on a joker only where it follows the
// card the joker stands in for: the 8♥ does not go onto the clubs joker, the J♣ does.
TEST_F(JokersTest, TheAutomaticMovesLayACardOnAJokerOnlyWhereItFollowsTheJokersCard) {
    for (bool finish : {false, true}) {
        SCOPED_TRACE(finish ? "the right button's finish" : "a double click on the 8♥");
        layEndgame();
        lay(jokerClubs, L"BASIS4");
        playFromHere();
        Karte* eightHearts = card(kHerz, 7);
        if (finish) {
            rightDoubleClick(pile(L"TABLEAU1"));
        } else {
            doubleClick(eightHearts);
            EXPECT_EQ(manager().getScorePlus(), 2692.0f + style().wrongDoubleClickPoints) << "refused";
            doubleClick(card(kKreuz, 10));
        }
        frames(150);
        EXPECT_EQ(eightHearts->pile, &pile(L"ZELLE1"));
        EXPECT_EQ(topOf(L"BASIS3"), card(kHerz, 5));
        EXPECT_EQ(card(kKreuz, 10)->pile, &pile(L"BASIS4"));
        EXPECT_EQ(jokerClubs->pile, &pile(L"BASIS4"));
    }
}

// A dealt joker whose place is not open (the hearts joker, its six kept in a column): a double click
// leaves it on its pile and a drop elsewhere is refused; a line says so, and nothing is charged.
TEST_F(JokersTest, ADealtJokerWaitsForItsPlaceAndALineSaysSo) {
    struct Notes : sigslot::has_slots<> {
        int count = 0;
        void take(std::wstring const&) { ++count; }
    } notes;
    manager().playerNote.connect(&notes, &Notes::take);
    for (wchar_t const* dropOn : {static_cast<wchar_t const*>(nullptr), L"BASIS1"}) {
        layEndgame();
        lay(card(kHerz, 5), L"TABLEAU8");
        playFromHere();
        notes.count = 0;
        if (dropOn) drag(at(jokerHearts), at(pile(dropOn)));
        else doubleClick(jokerHearts);
        frames(150);
        EXPECT_EQ(jokerHearts->pile, &pile(L"JOKER")) << !dropOn;
        EXPECT_EQ(manager().getScorePlus(), 2692.0f) << !dropOn;
        EXPECT_EQ(notes.count, 1) << !dropOn;
    }
}

// The hints leave a joker on its pile to the player, so a table where nothing else moves is not
// lost while the joker can be laid: here only the joker on the goal pile lets the 8♥ follow.
TEST_F(JokersTest, AGameIsNotLostWhileAJokerOnItsPileCanBeLaid) {
    startText(L"<SOLITAIRE NAME=\"J\" KARTEN_FARBE=\"HERZ\" ANZAHL_KARTEN=\"13\">"
              L"<STAPEL NAME=\"G\" POSITION_REL=\"0 0\" STAPELTYP=\"BASIS\" IS_ZIELSTAPEL=\"ZIEL\" ACCEPT_KARTEN_FARBE=\"VORHERIGE\" "
              L"ACCEPT_KARTEN_WERT=\"VORHERIGE_PLUS\" ACCEPT_KARTEN_WERT_LEER=\"ASS\" MOVE_STAPEL_MAX_SIZE=\"0\">"
              L"<ANORDNUNG NAME=\"A\"/><QUELLSTAPEL>\"|T|\" \"|J|\"</QUELLSTAPEL></STAPEL>"
              L"<STAPEL NAME=\"T\" POSITION_REL=\"1.2 0\" STAPELTYP=\"TABLEAU\" INIT_KARTEN_SICHTBAR=\"13\"><ANORDNUNG NAME=\"A\"/>"
              L"<ZIELSTAPEL>\"|G|\" \"|R|\"</ZIELSTAPEL></STAPEL>"
              L"<STAPEL NAME=\"R\" POSITION_REL=\"2.4 0\" STAPELTYP=\"RESERVE\" ACCEPT_KARTEN_FARBE=\"NICHTS\">"
              L"<ANORDNUNG NAME=\"A\"/><QUELLSTAPEL>\"|T|\"</QUELLSTAPEL></STAPEL>"
              L"<STAPEL NAME=\"J\" POSITION_REL=\"3.6 0\" STAPELTYP=\"JOKER\" ACCEPT_KARTEN_FARBE=\"NICHTS\" ACCEPT_KARTEN_WERT=\"NICHTS\" "
              L"ACCEPT_KARTEN_FARBE_LEER=\"NICHTS\" ACCEPT_KARTEN_WERT_LEER=\"NICHTS\" MOVE_STAPEL_MAX_SIZE=\"0\">"
              L"<ANORDNUNG NAME=\"A\"/><ZIELSTAPEL>\"|G|\"</ZIELSTAPEL></STAPEL></SOLITAIRE>");
    layRun(kHerz, 0, 5, L"G");
    Karte* joker = card(kHerz, 6);
    lay(joker, L"J");
    joker->isJoker = true;
    lay(card(kHerz, 7), L"T");
    // The reserve, which gave the deal its moves, is full.
    lay(card(kHerz, 12), L"R");
    for (int value = 8; value <= 11; ++value) lay(card(kHerz, value), nullptr);
    playFromHere();
    ASSERT_EQ(manager().rebuildHints(), 0);
    EXPECT_FALSE(manager().checkEnd());
    EXPECT_EQ(manager().getGameStatus(), kGameRunning);

    // Played by double clicks: the joker onto the goal pile, the 8♥ after it.
    doubleClick(joker);
    EXPECT_EQ(joker->pile, &pile(L"G"));
    frames(120);  // the joker has passed over the column
    doubleClick(card(kHerz, 7));
    frames(150);
    EXPECT_EQ(manager().getGameStatus(), kGameWon);
}

// The rules text of "Zellen" played by drops from the piles at the right edge, each sentence once:
// "Eine Wildcard ist die Karte, die sie zeigt: Du legst sie auf einen Spielstapel, wo diese Karte
// passt." "Einen Joker legst du auf einen Spielstapel oder einen Ablagestapel. Auf einem
// Spielstapel passt er auf jede Karte ..." "Auf einen Ablagestapel kommt er nur dorthin, wo seine
// Karte fehlt" (the hearts joker is the 7♥, the hearts lie to the six). "Ein gekaufter Joker passt
// auf jeden Ablagestapel". A drop taken stays where it was laid and says nothing; one refused goes
// home and says why on the news line, once.
TEST_F(JokersTest, FoundJokersAndWildcardsGoWhereTheRulesTextSays) {
    enum Kind { kDealtJoker, kBoughtJoker, kWildcard };
    wchar_t const* const wrongFoundation = L"Dieser Joker ist Herz 7: Er kommt auf einen Ablagestapel, sobald dort Herz 6 liegt.";
    wchar_t const* const noJoker = L"Hier passt kein Joker: Er kommt auf einen Spielstapel oder einen Ablagestapel.";
    wchar_t const* const clubsJack = L"Diese Wildcard ist Kreuz Bube: Sie kommt auf einen Spielstapel, wo diese Karte passt.";
    struct Case {
        char const* name;
        Kind kind;
        wchar_t const* onto;
        bool taken;
        wchar_t const* note;  // the line of a refusal
    } const cases[] = {
        {"joker onto the 9♥ of a column", kDealtJoker, L"TABLEAU1", true, nullptr},
        {"joker onto the K♠ Q♦ of a column", kDealtJoker, L"TABLEAU6", true, nullptr},
        {"joker onto an empty column", kDealtJoker, L"TABLEAU5", true, nullptr},
        {"joker onto the foundation where its card is missing", kDealtJoker, L"BASIS3", true, nullptr},
        {"joker onto another foundation", kDealtJoker, L"BASIS1", false, wrongFoundation},
        {"joker into a free cell", kDealtJoker, L"ZELLE4", false, noJoker},
        {"joker onto the wildcards", kDealtJoker, L"WILDCARDS", false, noJoker},
        {"bought joker onto the spades", kBoughtJoker, L"BASIS1", true, nullptr},
        {"bought joker onto a column", kBoughtJoker, L"TABLEAU2", true, nullptr},
        {"wildcard J♣ onto the Q♥", kWildcard, L"TABLEAU4", true, nullptr},
        {"wildcard J♣ onto the 9♥", kWildcard, L"TABLEAU1", false, clubsJack},
        {"wildcard J♣ onto the K♦", kWildcard, L"TABLEAU7", false, clubsJack},
        {"wildcard J♣ onto an empty column", kWildcard, L"TABLEAU5", true, nullptr},
        {"wildcard J♣ onto the clubs", kWildcard, L"BASIS4", false, clubsJack},
        {"wildcard J♣ into a free cell", kWildcard, L"ZELLE4", false, clubsJack},
    };
    Notes notes;
    listenToNotes(notes);
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        layEndgame();
        // The J♣ turned wildcard leaves its column empty; the K♥ leaves the fourth cell free.
        Karte* const jack = wildcard(kKreuz, 10);
        lay(card(kHerz, 12), nullptr);
        Karte* const special = c.kind == kWildcard     ? jack
                               : c.kind == kDealtJoker ? jokerHearts
                                                       : manager().buyJoker(kKaro, 3);
        playFromHere();
        Kartenstapel* const home = special->pile;
        ASSERT_EQ(topOf(home->getName().c_str()), special);
        notes.lines.clear();

        drag(at(special), dropAt(c.onto));
        frames(150);
        EXPECT_EQ(special->pile, c.taken ? &pile(c.onto) : home) << "stays where it was laid";
        if (c.taken) EXPECT_TRUE(notes.lines.empty());
        else EXPECT_EQ(notes.lines, std::vector<std::wstring>{c.note});
    }
}

// On a column a joker fits on any card and any card on it, so a run through it moves whole;
// laid there by the player, it stays when it comes free, also after later moves and across a
// save and resume. Moving it, or a card off it, gains nothing, and the hints weigh it so.
TEST_F(JokersTest, AJokerLaidOnAColumnTakesAnyCardAndStaysThere) {
    layEndgame();
    lay(card(kHerz, 12), nullptr);  // the fourth cell free
    playFromHere();
    Karte* queen = card(kKreuz, 11);  // in the second cell
    Karte* const nine = card(kHerz, 8);
    drag(at(jokerHearts), at(nine));
    ASSERT_EQ(jokerHearts->pile, &pile(L"TABLEAU1"));
    frames(150);
    EXPECT_EQ(jokerHearts->pile, &pile(L"TABLEAU1")) << "laid on a column, it is not sent home";

    drag(at(queen), at(jokerHearts));
    ASSERT_EQ(queen->pile, &pile(L"TABLEAU1"));
    frames(150);
    move(pile(L"TABLEAU8"), pile(L"TABLEAU7"), 1);  // the Q♠ onto the K♦
    frames(150);
    EXPECT_EQ(jokerHearts->pile, &pile(L"TABLEAU1"));

    // The 9♥ carries the joker and the Q♣ onto the empty column: two cells are free, so three
    // cards move.
    drag(atTopOf(nine), dropAt(L"TABLEAU8"));
    for (Karte const* each : {nine, jokerHearts, queen}) EXPECT_EQ(each->pile, &pile(L"TABLEAU8"));
    frames(150);

    std::vector<HintRecord> hints;
    pile(L"TABLEAU8").collectMoves(manager().piles, hints, HintWeights{}, nullptr);
    int moves = 0;
    for (HintRecord const& hint : hints) {
        if (hint.card != jokerHearts && hint.card != queen) continue;
        ++moves;
        EXPECT_EQ(hint.weight, HintWeights{}.gainsNothing) << cardtest::narrow(hint.targetPile->getName());
    }
    EXPECT_GT(moves, 0);

    // Saved and resumed, the joker still stays when the queen leaves it.
    Orvex::XMLNode saved(L"QUICK_SAVE");
    manager().saveRunningGame(saved);
    layEndgame();
    ASSERT_TRUE(manager().loadRunningGame(saved, L"test"));
    queen = card(kKreuz, 11);
    frames(150);
    ASSERT_EQ(jokerHearts->pile, &pile(L"TABLEAU8"));
    drag(at(queen), dropAt(L"ZELLE2"));
    ASSERT_EQ(queen->pile, &pile(L"ZELLE2"));
    frames(150);
    EXPECT_EQ(jokerHearts->pile, &pile(L"TABLEAU8"));
}

// A double click lays a found wildcard on the first column where its card fits ("..., auch mit
// einem Doppelklick"). One that finds no place for a found wildcard or joker leaves it and says
// why, and costs nothing: no points, no balance, the multiplier kept.
TEST_F(JokersTest, ARefusedDoubleClickOnAFoundWildcardOrJokerCostsNothing) {
    struct Case {
        char const* name;
        bool joker;
        int value;              // of the wildcard
        wchar_t const* laidOn;  // null: refused
        wchar_t const* note;
    } const cases[] = {
        {"the wildcard J♣, onto the Q♥", false, 10, L"TABLEAU4", nullptr},
        {"the wildcard K♣, with no empty column", false, 12, nullptr,
         L"Diese Wildcard ist Kreuz K\u00f6nig: Sie kommt auf einen Spielstapel, wo diese Karte passt."},
        {"the hearts joker, its six kept in a column", true, 0, nullptr,
         L"Dieser Joker ist Herz 7: Er kommt auf einen Ablagestapel, sobald dort Herz 6 liegt."},
    };
    Notes notes;
    listenToNotes(notes);
    style().scoreDownMultiplier = 0.0f;  // the balance does not drain with time
    for (Case const& c : cases) {
        SCOPED_TRACE(c.name);
        layEndgame();
        Karte* const special = c.joker ? jokerHearts : wildcard(kKreuz, c.value);
        if (c.joker) lay(card(kHerz, 5), L"TABLEAU8");
        playFromHere();
        manager().setPointsBalance(500.0f, false);
        for (int i = 0; i < 10; ++i) style().addMultiplier(false);
        float const factor = style().getMultiplierFactor();
        ASSERT_GT(factor, 1.5f);
        Kartenstapel* const home = special->pile;
        notes.lines.clear();

        doubleClick(special);
        frames(150);
        EXPECT_EQ(special->pile, c.laidOn ? &pile(c.laidOn) : home);
        EXPECT_EQ(manager().getScorePlus(), 2692.0f);
        EXPECT_EQ(manager().getPointsBalance(), 500.0f);
        EXPECT_EQ(style().getMultiplierFactor(), factor);
        if (c.note) EXPECT_EQ(notes.lines, std::vector<std::wstring>{c.note});
        else EXPECT_TRUE(notes.lines.empty());
        style().updateMultiplier();
    }
}

// "Zellen" stuck but for a found joker: the column tops are all black, the cells hold red cards
// that fit on none, the foundations wait for sixes, and the joker is the 9♥, which no foundation
// takes yet. Laid on a column it makes room, so the game is not lost.
TEST_F(JokersTest, AGameIsNotLostWhileAFoundJokerCanBeLaidOnAColumn) {
    start(L"data\\Level\\Zellen.sol", L"5");
    for (Karte* each : manager().cards) lay(each, nullptr);
    wchar_t const* const foundations[] = {L"BASIS4", L"BASIS2", L"BASIS1", L"BASIS3"};
    for (int suit : {kKreuz, kKaro, kPik, kHerz}) layRun(suit, 0, 5, foundations[suit]);
    layPlaces({
        {kPik, 12, L"TABLEAU1"},  {kPik, 11, L"TABLEAU2"},  {kPik, 10, L"TABLEAU3"}, {kPik, 9, L"TABLEAU4"},
        {kKreuz, 12, L"TABLEAU5"}, {kKreuz, 11, L"TABLEAU6"}, {kKreuz, 10, L"TABLEAU7"}, {kKreuz, 9, L"TABLEAU8"},
        {kHerz, 12, L"ZELLE1"},   {kKaro, 12, L"ZELLE2"},   {kHerz, 7, L"ZELLE3"},   {kKaro, 7, L"ZELLE4"},
    });
    Karte* const found = joker(kHerz, 8);
    playFromHere();
    ASSERT_EQ(manager().rebuildHints(), 0);
    EXPECT_FALSE(manager().checkEnd());
    EXPECT_EQ(manager().getGameStatus(), kGameRunning);

    drag(at(found), dropAt(L"TABLEAU3"));
    EXPECT_EQ(found->pile, &pile(L"TABLEAU3"));
    drag(at(card(kHerz, 12)), at(found));
    EXPECT_EQ(card(kHerz, 12)->pile, &pile(L"TABLEAU3")) << "the cell it left is free";
}

}  // namespace
}  // namespace Solitaire
