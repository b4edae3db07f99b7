// Reading variant files: the shipped variants load into the piles, rules, name lists,
// arrangements, wishes and places they describe, and every move a pile offers is one its target
// takes.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "engine/render/Spline.h"
#include "game/cards/Anordnung.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/game/cards/CardTableFixture.h"

namespace Solitaire {
namespace {

using RuleFileTest = cardtest::CardTableFixture;

struct ShippedFile {
    wchar_t const* file;
    wchar_t const* name;
    std::size_t piles;
    int deckSize;
    int deckColour;
    float scoreStart;
};

ShippedFile const kShipped[] = {
    {L"data\\Level\\Goldrausch.sol", L"GOLDRAUSCH", 14, 52, kColourAlles, 1000.0f},
    {L"data\\Level\\GoldrauschDrei.sol", L"GOLDRAUSCH_DREI", 14, 52, kColourAlles, 500.0f},
    {L"data\\Level\\Zellen.sol", L"ZELLEN", 19, 52, kColourAlles, 1000.0f},
    {L"data\\Level\\Spinne.sol", L"SPINNE", 13, 104, kColourPik, 1000.0f},
    {L"data\\Level\\Golfplatz.sol", L"GOLFPLATZ", 10, 52, kColourAlles, 1000.0f},
    {L"data\\Level\\Paare.sol", L"PAARE", 10, 52, kColourAlles, 1000.0f},
    {L"data\\Level\\Herzreihe.sol", L"HERZREIHE", 14, 13, kColourHerz, 1000.0f},
};

bool lists(std::vector<std::wstring> const& names, std::wstring const& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

TEST_F(RuleFileTest, ShippedVariantsLoadWithoutComplaintAndEveryMoveIsTakenByItsTarget) {
    for (ShippedFile const& shipped : kShipped) {
        SCOPED_TRACE(testing::Message() << std::string(shipped.file, shipped.file + wcslen(shipped.file)));
        manager().createDiscardPile();
        logtest::LogWatch watch;
        load(shipped.file);
        EXPECT_TRUE(watch.errors().empty());
        EXPECT_EQ(manager().getGameName(), shipped.name);
        EXPECT_EQ(manager().piles.size(), shipped.piles);
        EXPECT_EQ(manager().getRules().deckSize, shipped.deckSize);
        EXPECT_EQ(manager().getRules().deckColourRule, shipped.deckColour);
        EXPECT_EQ(manager().getRules().startScore, shipped.scoreStart);
        int dealt = 0;
        for (Kartenstapel* pile : manager().piles) {
            // Every pile can hold cards, and a drag it offers is one its target accepts from it.
            EXPECT_NE(pile->getRootArrangement(), nullptr);
            for (std::wstring const& target : pile->rules.targetPiles) {
                Kartenstapel* other = manager().findPile(target);
                ASSERT_NE(other, nullptr);
                EXPECT_TRUE(lists(other->rules.sourcePiles, pile->getName()));
            }
            for (auto const* list : {&pile->rules.sourcePiles, &pile->rules.linkedPiles, &pile->rules.pairGoalPiles})
                for (std::wstring const& name : *list) EXPECT_NE(manager().findPile(name), nullptr);
            dealt += pile->rules.initVisibleCards + pile->rules.initHiddenCards;
        }
        // The deal uses the whole deck, extra cards included.
        EXPECT_EQ(dealt, shipped.deckSize + manager().getRules().extraCardCount);
    }
}

struct PileCase {
    wchar_t const* file;
    wchar_t const* pile;
    int type;
    int goalKind;
    int acceptColour, acceptValue, acceptValueEmpty;
    unsigned clickOnHidden, clickOnEmpty;
    int revealCount, restCount;
    std::size_t sources, targets, linked;
    int freeCapacity;  // of the empty pile
    float relX, relY;
};

TEST_F(RuleFileTest, ShippedPilesCarryTheirRules) {
    PileCase const cases[] = {
        {L"data\\Level\\Goldrausch.sol", L"STAPEL_VORRAT", kPileVorrat, 0, kColourNichts, kValueNichts, kValueNichts,
         kClickMoveVerknStapel | kClickAufdecken, kEmptyHolenAlle | kEmptyStapelVerdecken, 1, -1, 0, 0, 1, 1024, 0, 0},
        {L"data\\Level\\Goldrausch.sol", L"TABLEAU3", kPileTableau, 0, kColourAlleWechsel, kValueVorherigeMinus,
         kValueKoenig, kClickAufdecken, 0, 1, -1, 11, 10, 0, 1024, 2.4f, 1.4f},
        {L"data\\Level\\Goldrausch.sol", L"BASIS2", kPileBasis, 1, kColourVorherige, kValueVorherigePlus, kValueAss,
         kClickAufdecken, 0, 1, -1, 8, 7, 0, 13, 4.8f, 0},
        // A turn of the stock turns the waste's cards down first: its fan shows the last deal.
        {L"data\\Level\\GoldrauschDrei.sol", L"STAPEL_VORRAT", kPileVorrat, 0, kColourNichts, kValueNichts, kValueNichts,
         kClickMoveVerknStapel | kClickAufdecken | kClickXMult | kClickVerknVerdecken, kEmptyHolenAlle | kEmptyStapelVerdecken | kEmptyHolenXMult,
         3, 2, 0, 0, 1, 1024, 0, 0},
        {L"data\\Level\\GoldrauschDrei.sol", L"STAPEL_MUELL", kPileMuell, 0, kColourNichts, kValueNichts, kValueNichts,
         kClickAufdecken, 0, 1, -1, 1, 11, 0, -1, 1.2f, 0},
        {L"data\\Level\\Zellen.sol", L"ZELLE2", kPileReserve, 0, kColourAlles, kValueAlles, kValueAlles, kClickAufdecken,
         0, 1, -1, 15, 15, 0, 1, 1.2f, 0},
        {L"data\\Level\\Zellen.sol", L"TABLEAU8", kPileTableau, 0, kColourAlleWechsel, kValueVorherigeMinus, kValueAlles,
         kClickAufdecken, 0, 1, -1, 17, 15, 4, 1024, 8.4f, 1.4f},
        {L"data\\Level\\Spinne.sol", L"STAPEL_ZIEL", kPileAblage, 1, kColourAlles, kValueStapelMinus, kValueStapelMinus,
         kClickAufdecken, 0, 1, -1, 10, 0, 0, 1024, 0, 0},
        {L"data\\Level\\Spinne.sol", L"TABLEAU10", kPileTableau, 0, kColourAlles, kValueVorherigeMinus, kValueAlles,
         kClickAufdecken, 0, 1, -1, 9, 10, 0, 1024, 10.8f, 1.4f},
        {L"data\\Level\\Golfplatz.sol", L"STAPEL_MUELL", kPileMuell, 1, kColourAlles, kValuePlusMinus, kValueNichts,
         kClickAufdecken, 0, 1, -1, 8, 0, 0, 1024, 1.4f, 3.4f},
        {L"data\\Level\\Paare.sol", L"REIHE4", kPileTableau, 0, kColourAlles, kValueKoenig, kValueNichts, kClickAufdecken,
         0, 1, -1, 7, 8, 0, 1024, 3.6f, 1.4f},
        {L"data\\Level\\Herzreihe.sol", L"PLATZ13", kPileTableau, 0, kColourAlles, kValueAlles, kValueNichts,
         kClickAufdecken, 0, 1, -1, 0, 1, 0, 1, 12, 0},
    };
    for (PileCase const& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.pile, c.pile + wcslen(c.pile)));
        manager().createDiscardPile();
        load(c.file);
        Kartenstapel& p = pile(c.pile);
        EXPECT_EQ(p.rules.pileType, c.type);
        EXPECT_EQ(p.rules.goalKind, c.goalKind);
        EXPECT_EQ(p.rules.acceptColourRule, c.acceptColour);
        EXPECT_EQ(p.rules.acceptValueRule, c.acceptValue);
        EXPECT_EQ(p.rules.acceptValueRuleEmpty, c.acceptValueEmpty);
        EXPECT_EQ(p.rules.clickOnHidden, c.clickOnHidden);
        EXPECT_EQ(p.rules.clickOnEmpty, c.clickOnEmpty);
        EXPECT_EQ(p.rules.revealCount, c.revealCount);
        EXPECT_EQ(p.rules.restCount, c.restCount);
        EXPECT_EQ(p.rules.sourcePiles.size(), c.sources);
        EXPECT_EQ(p.rules.targetPiles.size(), c.targets);
        EXPECT_EQ(p.rules.linkedPiles.size(), c.linked);
        EXPECT_EQ(p.freeCapacity(true), c.freeCapacity);
        EXPECT_FLOAT_EQ(p.relativePosition.x, c.relX);
        EXPECT_FLOAT_EQ(p.relativePosition.y, c.relY);
        // The place in table units follows the 100 x 140 cell.
        EXPECT_FLOAT_EQ(p.position.x, c.relX * 100.0f);
        EXPECT_FLOAT_EQ(p.position.y, c.relY * 140.0f);
    }
}

TEST_F(RuleFileTest, WishesSplinesAndPairGoalsOfTheShippedFiles) {
    load(L"data\\Level\\Herzreihe.sol");
    Anordnung const* place = pile(L"PLATZ1").getRootArrangement();
    ASSERT_NE(place, nullptr);
    ASSERT_EQ(place->wishes.size(), 1u);
    EXPECT_EQ(place->wishes[0].colourRule, kColourHerz);
    EXPECT_EQ(place->wishes[0].valueRule, kValueKoenig);
    EXPECT_EQ(place->wishes[0].position, 0);
    EXPECT_EQ(pile(L"PLATZ13").getRootArrangement()->wishes.at(0).valueRule, kValueAss);
    Anordnung const* arc = pile(L"STAPEL_ZIEL").getRootArrangement();
    ASSERT_NE(arc->spline, nullptr);
    EXPECT_GT(arc->spline->getLength(), 0.0f);
    EXPECT_TRUE(arc->cardsCenteredOnSpline);
    EXPECT_EQ(arc->maxCards, 13);

    manager().createDiscardPile();
    load(L"data\\Level\\Paare.sol");
    for (wchar_t const* name : {L"STAPEL_MUELL", L"REIHE1", L"REIHE7"}) {
        EXPECT_TRUE(pile(name).rules.pairs);
        EXPECT_EQ(pile(name).rules.pairGoalPiles, std::vector<std::wstring>{L"STAPEL_ABLAGE"});
    }
    // The rows keep the template's downward fan, each card over the one before.
    EXPECT_FLOAT_EQ(pile(L"REIHE3").getRootArrangement()->deltaVisible.x, 0.0f);
    EXPECT_FLOAT_EQ(pile(L"REIHE3").getRootArrangement()->deltaVisible.y, 0.3f);
}

TEST_F(RuleFileTest, IncludesTemplatesOverridesAndPlaces) {
    logtest::LogWatch watch;
    load(L"tests\\game\\cards\\data\\inc_main.sol");

    // Included piles first, then the file's own, the post file's last; "REIHENFOLGE" sorts.
    std::vector<std::wstring> order;
    for (Kartenstapel const* p : manager().piles) order.push_back(p->getName());
    EXPECT_EQ(order, (std::vector<std::wstring>{L"IM_NACHTRAG", L"IM_INCLUDE", L"ZIEL", L"GEMISCHT", L"ZU_FRUEH",
                                                L"AUS_VORLAGE"}));
    for (std::size_t i = 0; i < manager().piles.size(); ++i) EXPECT_EQ(manager().piles[i]->getIndex(), static_cast<int>(i));
    EXPECT_EQ(manager().getTemplates().size(), 3u);

    // The template is copied, its arrangement overridden by name, a new one appended; lists
    // append to the template's; the name and user name are the pile's own.
    Kartenstapel& chain = pile(L"AUS_VORLAGE");
    EXPECT_EQ(chain.rules.pileType, kPileFaecher);
    EXPECT_EQ(chain.rules.acceptValueRule, kValueVorherigeMinus);
    EXPECT_FLOAT_EQ(chain.getScale(), 0.5f);
    EXPECT_EQ(chain.getUserName(), L"EIGENER");
    ASSERT_EQ(chain.getArrangements().size(), 3u);
    EXPECT_EQ(chain.getRootArrangement(), chain.findArrangement(L"ERSTE"));
    EXPECT_EQ(chain.findArrangement(L"ZWEITE")->maxCards, 7);
    EXPECT_FLOAT_EQ(chain.findArrangement(L"ZWEITE")->deltaVisible.x, 0.3f);
    EXPECT_EQ(chain.findArrangement(L"ERSTE")->nextArrangements,
              std::vector<Anordnung*>{chain.findArrangement(L"ZWEITE")});
    EXPECT_EQ(chain.freeCapacity(true), 10);  // 3 + 7
    EXPECT_EQ(chain.rules.sourcePiles, (std::vector<std::wstring>{L"AUS_VORLAGE", L"NOCH_EINER"}));
    EXPECT_EQ(chain.rules.linkedPiles, (std::vector<std::wstring>{L"IM_INCLUDE", L"UNBEKANNT"}));
    // The template's own arrangements stay untouched by the override.
    EXPECT_EQ(manager().findTemplate(L"KETTE")->findArrangement(L"ZWEITE")->maxCards, 5);
    EXPECT_EQ(pile(L"IM_INCLUDE").getUserName(), L"");

    // A template read only after the pile is not known to it: one line names pile and file.
    EXPECT_TRUE(pile(L"ZU_FRUEH").getArrangements().empty());
    auto const errors = watch.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_TRUE(logtest::contains(errors[0], L"ZU_FRUEH"));
    EXPECT_TRUE(logtest::contains(errors[0], L"inc_main.sol"));

    Kartenstapel& goal = pile(L"ZIEL");
    EXPECT_EQ(goal.rules.shuffleFlags, 0u);
    EXPECT_EQ(goal.rules.wrapLow, 1);
    EXPECT_EQ(goal.rules.wrapHigh, 12);
    EXPECT_TRUE(goal.rules.wrapInForce());
    EXPECT_EQ(goal.rules.clickOnEmpty, 19u);
    Kartenstapel& mixed = pile(L"GEMISCHT");
    EXPECT_EQ(mixed.rules.shuffleFlags, 2u);
    EXPECT_EQ(mixed.rules.wrapLow, 7);
    EXPECT_EQ(mixed.rules.wrapHigh, 7);
    EXPECT_FALSE(mixed.rules.wrapInForce());
    EXPECT_FLOAT_EQ(mixed.relativePosition.x, 1.5f);
    EXPECT_FLOAT_EQ(mixed.relativePosition.y, 2.0f);

    // Game keys: the including file's win; the post file's where it has none.
    EXPECT_EQ(manager().getGameName(), L"HAUPT");
    EXPECT_EQ(manager().getRules().deckSize, 60);
    EXPECT_EQ(manager().getRules().extraCardCount, 3);
    EXPECT_EQ(manager().getScorePlus(), 250.0f);
    EXPECT_EQ(manager().getRules().deckValueRules[0], parseValueRule(L"g2"));
    EXPECT_EQ(manager().getRules().deckValueRules[1], parseValueRule(L"kDAME"));

    // The file's own place list replaces those of the files it read.
    auto const& places = manager().getPilePositions();
    ASSERT_EQ(places.size(), 4u);
    struct PlaceCase {
        wchar_t const* name;
        float x, y, renderIndex, scale;
        bool drawIfEmpty;
    } const expected[] = {{L"EINS", 0.375f, 0.25f, 0.7f, 0.8f, false},
                          {L"ZWEI", 0.5f, 0.25f, 0.5f, 1.0f, true},
                          {L"DREI", 0.5f, 0.5f, 0.5f, 1.0f, true},
                          {L"", 1.0f, 1.0f, 0.5f, 1.0f, true}};
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_EQ(places[i].name, expected[i].name);
        EXPECT_FLOAT_EQ(places[i].relative.x, expected[i].x);
        EXPECT_FLOAT_EQ(places[i].relative.y, expected[i].y);
        EXPECT_FLOAT_EQ(places[i].renderIndex, expected[i].renderIndex);
        EXPECT_FLOAT_EQ(places[i].scale, expected[i].scale);
        EXPECT_EQ(places[i].drawIfEmpty, expected[i].drawIfEmpty);
    }
}

TEST_F(RuleFileTest, SmallDefinitionsReadAsWritten) {
    struct Case {
        wchar_t const* text;
        std::function<bool(Kartenmanager const&)> holds;
    };
    auto first = [](Kartenmanager const& m) -> Kartenstapel const& { return *m.piles.at(0); };
    Case const cases[] = {
        {L"<S/>",
         [](auto const& m) {
             return m.piles.empty() && m.getRules().deckSize == 52 && m.getScorePlus() == 1000.0f &&
                    m.getRules().autoCheckEnd;
         }},
        {L"<S KARTEN_WERT=\"ZAHLEN\"/>",
         [](auto const& m) { return m.getRules().deckValueRules[0] == 13 && m.getRules().deckValueRules[1] == 13; }},
        {L"<S KARTEN_FARBE=\"LILA\" REMOVE_QUELLSTAPEL_TYP=\"WASTE\" SHOW_STAPEL_TYP=\"??\"/>",
         [](auto const& m) {
             TableRules const& rules = m.getRules();
             return rules.deckColourRule == kColourNichts && rules.removeSourcePileType == 1 && rules.showPileType == 2;
         }},
        {L"<S><STAPEL POSITION_REL=\"1.5\"/></S>",
         [&](auto const& m) { return first(m).position == D3DXVECTOR2(150.0f, 210.0f); }},
        {L"<S><STAPEL POSITION=\"50\" POSITION_REL=\"2 1\"/></S>",
         [&](auto const& m) { return first(m).position == D3DXVECTOR2(200.0f, 140.0f); }},
        {L"<S><STAPEL WRAP_MODE=\"ACHT\" WRAP_AROUND=\"1\"/></S>",
         [&](auto const& m) { return first(m).rules.wrapLow == 7 && first(m).rules.wrapHigh == 7 && first(m).rules.wrapAround == 1; }},
        {L"<S><STAPEL IS_ZIELSTAPEL=\"ZIEL\"/></S>", [&](auto const& m) { return first(m).rules.shuffleFlags == 0u; }},
        {L"<S><STAPEL IS_ZIELSTAPEL=\"END\"/></S>",
         [&](auto const& m) { return first(m).rules.goalKind == 2 && first(m).rules.shuffleFlags == 1u; }},
        {L"<S><STAPEL><ANORDNUNG NAME=\"X\"/><ANORDNUNG NAME=\"Y\"/></STAPEL></S>",
         [&](auto const& m) { return first(m).getRootArrangement() == first(m).findArrangement(L"X"); }},
        {L"<S><STAPEL ROOT_ANORDNUNG=\"Y\"><ANORDNUNG NAME=\"X\"/><ANORDNUNG NAME=\"Y\"/></STAPEL></S>",
         [&](auto const& m) { return first(m).getRootArrangement() == first(m).findArrangement(L"Y"); }},
        {L"<S><STAPEL AUTO_FILL=\"1\"><AUTO_FILL>\"|A|\"</AUTO_FILL><AUTO_FILL>\"|B|\"</AUTO_FILL></STAPEL></S>",
         [&](auto const& m) { return first(m).rules.autoFill && first(m).rules.autoFillPiles == std::vector<std::wstring>{L"A"}; }},
    };
    for (Case const& c : cases) {
        manager().createDiscardPile();
        Orvex::XMLNode node;
        ASSERT_TRUE(node.loadFromText(c.text));
        manager().loadGameDefinition(node, L"klein.sol");
        EXPECT_TRUE(c.holds(manager())) << std::string(c.text, c.text + wcslen(c.text));
    }
}

TEST_F(RuleFileTest, TheStartScoreSetsTheScoreButNotThePointsBalance) {
    manager().setPointsBalance(77.0f, false);
    Orvex::XMLNode node;
    ASSERT_TRUE(node.loadFromText(L"<S SCORE_START=\"250\"/>"));
    manager().loadGameDefinition(node, L"start.sol");
    EXPECT_EQ(manager().getScorePlus(), 250.0f);
    EXPECT_EQ(manager().getRules().startScore, 250.0f);
    EXPECT_EQ(manager().getPointsBalance(), 77.0f);
}

TEST_F(RuleFileTest, WishKeysActOnTheArrangementsReadAfterThem) {
    Orvex::XMLNode node;
    ASSERT_TRUE(node.loadFromText(
        L"<SPIEL REMOVE_ALL_EXTRA_CARDS_WUENSCHE=\"1\">"
        L"<STAPEL NAME=\"P\" AUTO_CREATE_EXTRACARD_WISH=\"1\" INIT_KARTEN_VERDECKT=\"3\">"
        L"<ANORDNUNG NAME=\"A\"><WUENSCHE><WUNSCH POSITION=\"2\" FARBE=\"EXTRA\"/>"
        L"<WUNSCH POSITION=\"4\" WERT=\"DAME\"/></WUENSCHE></ANORDNUNG></STAPEL></SPIEL>"));
    manager().loadGameDefinition(node, L"wuensche.sol");
    Anordnung const& root = *pile(L"P").getRootArrangement();
    // The EXTRA wish lost its colour and was dropped; the extra-card wish takes place 0 and
    // counts one more hidden card; the other wish moved up one place.
    ASSERT_EQ(root.wishes.size(), 2u);
    EXPECT_EQ(root.wishes[0].valueRule, kValueDame);
    EXPECT_EQ(root.wishes[0].position, 5);
    EXPECT_EQ(root.wishes[1].colourRule, kColourExtra);
    EXPECT_EQ(root.wishes[1].position, 0);
    EXPECT_EQ(pile(L"P").rules.initHiddenCards, 4);
}

TEST_F(RuleFileTest, AResetRestoresEveryDefaultOfTheDefinition) {
    load(L"tests\\game\\cards\\data\\inc_main.sol");
    manager().createDiscardPile();
    EXPECT_TRUE(manager().piles.empty());
    EXPECT_TRUE(manager().getTemplates().empty());
    EXPECT_TRUE(manager().getPilePositions().empty());
    EXPECT_EQ(manager().getRules().deckSize, 52);
    EXPECT_EQ(manager().getRules().deckColourRule, kColourAlles);
    EXPECT_EQ(manager().getRules().deckValueRules[1], kValueAlles);
    EXPECT_EQ(manager().getScorePlus(), 1000.0f);
    EXPECT_EQ(manager().getRules().extraCardCount, 0);
    TableRules const& rules = manager().getRules();
    EXPECT_TRUE(rules.useRightMouse && rules.useDoubleClick && rules.autoCheckEnd);
    EXPECT_EQ(manager().getRules().removeTargetPileName, L"STAPEL_ABLAGE");
    EXPECT_EQ(manager().getRules().shufflePileName, L"STAPEL_ABLAGE");
    EXPECT_EQ(manager().getRules().showPileType, kPileTableau);
    EXPECT_EQ(manager().getGameName(), L"");
    EXPECT_EQ(manager().getUndoIndex(), -1);
}

TEST_F(RuleFileTest, AResetLeavesNoRuleOfTheVariantBefore) {
    load(L"tests\\game\\cards\\data\\inc_main.sol");
    readKeys(L"<S REMOVE_ALL_EXTRA_CARDS_WUENSCHE=\"1\" REMOVE_ALL_KEY_OR_LOCK_CARDS_WUENSCHE=\"1\" KARTEN_FARBE=\"ROT\""
             L" ANZAHL_KARTEN=\"60\" ALTERNATE_CARD_CREATION=\"1\" ANZAHL_STERNE=\"2\" STERNETYP=\"3\" SCORE_START=\"250\""
             L" GAMESTYLE=\"G\" GLOBAL_MAKE_KARTEN_VISIBLE_VERH=\"0.5\" GLOBAL_MAKE_WILDCARD_VERH=\"0.5\""
             L" GLOBAL_MAKE_JOKER_VERH=\"0.5\" USE_RIGHT_MOUSE=\"0\" USE_DOUBLE_CLICK=\"0\" REMOVE_ZIELSTAPEL_NAME=\"R\""
             L" REMOVE_QUELLSTAPEL_TYP=\"BASIS\" SHOW_STAPEL_TYP=\"BASIS\" SHUFFLE_STAPEL_NAME=\"M\" AUTO_CHECK_END=\"0\""
             L" SPECIAL_STAPEL=\"S\" DBL_CLICK_ZIEL_ONLY=\"1\"/>");
    ASSERT_NE(manager().getRules(), TableRules{});
    manager().createDiscardPile();
    EXPECT_EQ(manager().getRules(), TableRules{});
}

}  // namespace
}  // namespace Solitaire
