// The star goals: reading from "GOAL" elements (first goal per star, fillers, unknown types), each
// kind's test and progress text on a record, caps from the running card manager, the percentage
// truncation, the time text, NaN targets that never reach, the stars of a variant, and every goal
// of the shipped campaign reached by the best game its variant allows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>
#include <memory>

#include "engine/core/XMLNode.h"
#include "game/app/LevelGoal.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/PileWords.h"
#include "game/look/GameStyle.h"
#include "game/look/ReadProblems.h"
#include "game/look/StyleSettings.h"
#include "tests/game/app/CatalogueFixture.h"

namespace {

using Solitaire::GameEndParms;
using Solitaire::LevelGoal;

std::unique_ptr<LevelGoal> goal(std::wstring const& element) {
    Orvex::XMLNode node;
    node.loadFromText(element, L"goal test");
    return LevelGoal::create(node.getAttributeString(L"TYPE", L""), &node, 0);
}

// A record with every count set so no goal passes by accident.
GameEndParms record() {
    GameEndParms parms;
    parms.score = 400.0f;
    parms.time = 120.0f;
    parms.extraCards = 2;
    parms.restCards = 10;
    parms.restRatio = 0.3f;
    parms.clearedCards = 30;
    parms.clearedRatio = 0.499f;
    parms.emptyTableauPiles = 3;
    parms.maxCombo = 5;
    return parms;
}

// Goals whose caps read the card manager run on a dealt 52-card table with seven tableau piles.
class LevelGoalTest : public apptest::CatalogueFixture {
protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        manager().createDiscardPile();
        load(L"data\\Level\\Golfplatz.sol");
        manager().startGame(nullptr, L"1", true, {}, {}, 0.0f);
        ASSERT_EQ(manager().cards.size(), 52u);
    }
};

TEST_F(LevelGoalTest, EachKindTestsTheRecordAndWritesItsProgress) {
    struct Row {
        wchar_t const* element;
        bool reached;
        wchar_t const* progress;
        wchar_t const* textId;
    } const rows[] = {
        {L"<GOAL TYPE=\"NOTHING\"/>", true, L"", L"INGAME_LEVEL_GOAL_NOTHING"},
        {L"<GOAL TYPE=\"WIN\"/>", false, L"", L"INGAME_LEVEL_GOAL_REMOVE_ALL_TABLEAU_STAPEL"},
        // A time limit is one for winning: the record's table is not cleared, so none is reached.
        {L"<GOAL TYPE=\"TIME\" MAX_TIME=\"90\"/>", false, L"1:30", L"INGAME_LEVEL_GOAL_TIME"},
        {L"<GOAL TYPE=\"TIME\" MAX_TIME=\"600\"/>", false, L"10:00", L"INGAME_LEVEL_GOAL_TIME"},
        {L"<GOAL TYPE=\"TIME\" MAX_TIME=\"125\"/>", false, L"2:05", L"INGAME_LEVEL_GOAL_TIME"},
        // No limit: nothing to show.
        {L"<GOAL TYPE=\"TIME\"/>", false, L"", L"INGAME_LEVEL_GOAL_TIME"},
        {L"<GOAL TYPE=\"POINTS\" MIN_POINTS=\"500\"/>", false, L"400 / 500", L"INGAME_LEVEL_GOAL_POINTS"},
        {L"<GOAL TYPE=\"POINTS\" MIN_POINTS=\"300.7\"/>", true, L"300 / 300", L"INGAME_LEVEL_GOAL_POINTS"},
        {L"<GOAL TYPE=\"RESTCARDS\" MAX_CARDS=\"12\"/>", true, L"12 / 12", L"INGAME_LEVEL_GOAL_RESTCARDS"},
        {L"<GOAL TYPE=\"RESTCARDS\" MAX_CARDS=\"8\"/>", false, L"10 / 8", L"INGAME_LEVEL_GOAL_RESTCARDS"},
        // Neither target: no limit, shown as the top of the range on both sides.
        {L"<GOAL TYPE=\"RESTCARDS\"/>", true, L"4294967295 / 4294967295", L"INGAME_LEVEL_GOAL_RESTCARDS"},
        {L"<GOAL TYPE=\"RESTCARDS\" MAX_CARDS_VERH=\"0.3\"/>", true, L"30% / 30%", L"INGAME_LEVEL_GOAL_RESTCARDS"},
        {L"<GOAL TYPE=\"RESTCARDS\" MAX_CARDS_VERH=\"0.25\"/>", false, L"30% / 25%", L"INGAME_LEVEL_GOAL_RESTCARDS"},
        {L"<GOAL TYPE=\"GOALCARDS\" MIN_CARDS=\"30\"/>", true, L"30 / 30", L"INGAME_LEVEL_GOAL_GOALCARDS"},
        // Capped at the game's 52 cards.
        {L"<GOAL TYPE=\"CARDS_ON_GOAL\" MIN_CARDS=\"60\"/>", false, L"30 / 52", L"INGAME_LEVEL_GOAL_GOALCARDS"},
        // 0.499 against 0.5: 49 % is not 50 %.
        {L"<GOAL TYPE=\"GOALCARDS\" MIN_CARDS_VERH=\"0.5\"/>", false, L"49% / 50%", L"INGAME_LEVEL_GOAL_GOALCARDS"},
        {L"<GOAL TYPE=\"GOALCARDS\" MIN_CARDS_VERH=\"0.49\"/>", true, L"49% / 49%", L"INGAME_LEVEL_GOAL_GOALCARDS"},
        {L"<GOAL TYPE=\"EXTRACARDS\" MIN_EXTRACARDS=\"3\"/>", false, L"2 / 3", L"INGAME_LEVEL_GOAL_EXTRACARDS"},
        {L"<GOAL TYPE=\"EXTRACARDS\" MIN_EXTRACARDS=\"1\"/>", true, L"1 / 1", L"INGAME_LEVEL_GOAL_EXTRACARDS"},
        {L"<GOAL TYPE=\"COMBO\" MIN_COMBO=\"8\"/>", false, L"(0) 5 / 8", L"INGAME_LEVEL_GOAL_COMBO"},
        {L"<GOAL TYPE=\"COMBO\" MIN_COMBO=\"5\"/>", true, L"(0) 5 / 5", L"INGAME_LEVEL_GOAL_COMBO"},
        {L"<GOAL TYPE=\"EMPTY_TABLEAU_STAPEL\" MIN_STAPEL=\"3\"/>", true, L"3 / 3", L"INGAME_LEVEL_GOAL_EMPTY_TABLEAU_STAPEL"},
        // Capped at the seven tableau piles.
        {L"<GOAL TYPE=\"STAPEL_EMPTY\" MIN_STAPEL=\"20\"/>", false, L"3 / 7", L"INGAME_LEVEL_GOAL_EMPTY_TABLEAU_STAPEL"},
    };
    GameEndParms const parms = record();
    for (Row const& row : rows) {
        SCOPED_TRACE(apptest::narrow(row.element));
        std::unique_ptr<LevelGoal> const tested = goal(row.element);
        ASSERT_TRUE(tested);
        EXPECT_EQ(tested->isReached(parms), row.reached);
        std::wstring text = L"old";
        EXPECT_EQ(tested->formatProgress(text, parms), row.progress);
        EXPECT_EQ(tested->getTextId(), row.textId);
    }
}

TEST_F(LevelGoalTest, CapsAndLimitsAreReachedAtTheirEdge) {
    GameEndParms parms = record();
    parms.time = 90.0f;
    parms.allTableauEmpty = true;
    EXPECT_TRUE(goal(L"<GOAL TYPE=\"TIME\" MAX_TIME=\"90\"/>")->isReached(parms));
    EXPECT_TRUE(goal(L"<GOAL TYPE=\"TIME\"/>")->isReached(parms));
    parms.time = 90.01f;
    EXPECT_FALSE(goal(L"<GOAL TYPE=\"TIME\" MAX_TIME=\"90\"/>")->isReached(parms));
    parms.allTableauEmpty = false;
    parms.clearedCards = 52;
    EXPECT_TRUE(goal(L"<GOAL TYPE=\"GOALCARDS\" MIN_CARDS=\"60\"/>")->isReached(parms));
    std::wstring text;
    EXPECT_EQ(goal(L"<GOAL TYPE=\"GOALCARDS\" MIN_CARDS=\"60\"/>")->formatProgress(text, parms), L"52 / 52");
    parms.clearedRatio = 0.5f;
    EXPECT_TRUE(goal(L"<GOAL TYPE=\"GOALCARDS\" MIN_CARDS_VERH=\"0.5\"/>")->isReached(parms));
    parms.emptyTableauPiles = 7;
    EXPECT_TRUE(goal(L"<GOAL TYPE=\"STAPEL_EMPTY\" MIN_STAPEL=\"20\"/>")->isReached(parms));
    parms.allTableauEmpty = true;
    EXPECT_TRUE(goal(L"<GOAL TYPE=\"REMOVE_ALL_TABLEAU_STAPEL\"/>")->isReached(parms));
}

TEST_F(LevelGoalTest, TheRunningComboShowsInBracketsWhileBelowTheBest) {
    Solitaire::GameStyle& style = *Solitaire::StyleSettings::instance().getGameStyle();
    style.setDefaults();
    for (int i = 0; i < 2; ++i) style.addMultiplier(true);
    ASSERT_EQ(style.getCombo(), 2u);
    GameEndParms parms = record();
    std::wstring text;
    EXPECT_EQ(goal(L"<GOAL TYPE=\"COMBO\" MIN_COMBO=\"8\"/>")->formatProgress(text, parms), L"(2) 5 / 8");
    parms.maxCombo = 2;
    EXPECT_EQ(goal(L"<GOAL TYPE=\"COMBO\" MIN_COMBO=\"8\"/>")->formatProgress(text, parms), L"2 / 8");
    style.setDefaults();
}

TEST_F(LevelGoalTest, TargetsStayAsWrittenAndANaNNeverReaches) {
    GameEndParms parms = record();
    struct Row {
        wchar_t const* element;
        wchar_t const* progress;
    } const rows[] = {
        {L"<GOAL TYPE=\"TIME\" MAX_TIME=\"nan\"/>", L"0:00"},
        {L"<GOAL TYPE=\"POINTS\" MIN_POINTS=\"nan\"/>", L"0 / 0"},
        {L"<GOAL TYPE=\"RESTCARDS\" MAX_CARDS_VERH=\"nan\"/>", L"0% / 0%"},
        {L"<GOAL TYPE=\"GOALCARDS\" MIN_CARDS_VERH=\"nan\"/>", L"0% / 0%"},
        // Infinite ratios cannot be truncated: never reached either.
        {L"<GOAL TYPE=\"RESTCARDS\" MAX_CARDS_VERH=\"inf\"/>", L"2147483647% / 2147483647%"},
        {L"<GOAL TYPE=\"GOALCARDS\" MIN_CARDS_VERH=\"-inf\"/>", L"0% / 0%"},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(apptest::narrow(row.element));
        std::unique_ptr<LevelGoal> const tested = goal(row.element);
        EXPECT_FALSE(tested->isReached(parms));
        std::wstring text;
        EXPECT_EQ(tested->formatProgress(text, parms), row.progress);
    }
    // Huge targets are clamped only in the text.
    std::wstring text;
    EXPECT_EQ(goal(L"<GOAL TYPE=\"POINTS\" MIN_POINTS=\"1e30\"/>")->formatProgress(text, parms), L"400 / 4294967295");
    EXPECT_EQ(goal(L"<GOAL TYPE=\"TIME\" MAX_TIME=\"1e12\"/>")->formatProgress(text, parms), L"71582788:15");
    EXPECT_FALSE(goal(L"<GOAL TYPE=\"TIME\" MAX_TIME=\"1e12\"/>")->isReached(parms));
    parms.allTableauEmpty = true;
    EXPECT_TRUE(goal(L"<GOAL TYPE=\"TIME\" MAX_TIME=\"1e12\"/>")->isReached(parms));
}

TEST(LevelGoalNumbers, PercentTruncatesInFloatAndClamps) {
    struct Row {
        float ratio;
        Orvex::s32 percent;
    } const rows[] = {{0.5f, 50}, {0.499f, 49}, {0.29f, 29}, {-0.015f, -1}, {1e20f, 2147483647}, {-1e20f, -2147483647 - 1}, {NAN, 0}};
    for (Row const& row : rows) EXPECT_EQ(LevelGoal::percent(row.ratio), row.percent) << row.ratio;
    EXPECT_EQ(LevelGoal::shownNumber(NAN), 0u);
    EXPECT_EQ(LevelGoal::shownNumber(-5.0f), 0u);
    EXPECT_EQ(LevelGoal::shownNumber(FLT_MAX), 0xFFFFFFFFu);
    EXPECT_EQ(LevelGoal::shownNumber(7.9f), 7u);
}

// The goals of a variant element: order, duplicates, unknown stars and types, fillers.
std::unique_ptr<Solitaire::SolVariant, void (*)(Solitaire::SolVariant*)> variantOf(std::wstring const& goals) {
    Orvex::XMLNode node;
    node.loadFromText(L"<VARIANTE NAME=\"V\" FILE=\"\">" + goals + L"</VARIANTE>", L"goal test");
    Solitaire::ReadProblems problems;
    return {new Solitaire::SolVariant(node, problems), [](Solitaire::SolVariant* v) { v->release(); }};
}

TEST_F(LevelGoalTest, AVariantAlwaysHoldsThreeGoalsTheFirstPerStarWinning) {
    struct Row {
        wchar_t const* goals;
        wchar_t const* ids;  // the goals' text ids after INGAME_LEVEL_GOAL_, in list order
        int stars[3];        // of each goal
    } const rows[] = {
        {L"", L"NOTHING NOTHING NOTHING", {0, 1, 2}},
        {L"<GOAL STARS=\"STAR2\" TYPE=\"POINTS\"/>", L"POINTS NOTHING NOTHING", {1, 1, 2}},
        {L"<GOAL STARS=\"STAR1\" TYPE=\"TIME\"/><GOAL STARS=\"STAR1\" TYPE=\"POINTS\"/><GOAL STARS=\"STAR3\" TYPE=\"COMBO\"/>",
         L"TIME COMBO NOTHING", {0, 2, 2}},
        // Unknown stars and types, lower case: ignored.
        {L"<GOAL STARS=\"star1\" TYPE=\"TIME\"/><GOAL STARS=\"STAR4\" TYPE=\"TIME\"/><GOAL STARS=\"STAR2\" TYPE=\"JUMP\"/>"
         L"<GOAL TYPE=\"TIME\"/><GOAL STARS=\"STAR3\"/>",
         L"NOTHING NOTHING NOTHING", {0, 1, 2}},
        {L"<GOAL STARS=\"STAR3\" TYPE=\"WIN\"/><GOAL STARS=\"STAR2\" TYPE=\"STAPEL_EMPTY\"/><GOAL STARS=\"STAR1\" TYPE=\"CARDS_ON_GOAL\"/>",
         L"GOALCARDS EMPTY_TABLEAU_STAPEL REMOVE_ALL_TABLEAU_STAPEL", {0, 1, 2}},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(apptest::narrow(row.goals));
        auto const tested = variantOf(row.goals);
        ASSERT_EQ(tested->getGoals().size(), 3u);
        std::wstring ids;
        for (std::size_t i = 0; i < 3; ++i) {
            ids += (i ? L" " : L"") + tested->getGoals()[i]->getTextId().substr(std::wstring(L"INGAME_LEVEL_GOAL_").size());
            EXPECT_EQ(tested->getGoals()[i]->getStar(), row.stars[i]) << i;
        }
        EXPECT_EQ(ids, row.ids);
    }
}

TEST_F(LevelGoalTest, FillersCountOnlyWhenEveryRealGoalIsReached) {
    GameEndParms parms = record();
    struct Row {
        wchar_t const* goals;
        int rating;
        bool stars[3];
    } const rows[] = {
        {L"", 4, {true, true, true}},
        {L"<GOAL STARS=\"STAR1\" TYPE=\"POINTS\" MIN_POINTS=\"100\"/>", 4, {true, true, true}},
        {L"<GOAL STARS=\"STAR1\" TYPE=\"POINTS\" MIN_POINTS=\"900\"/>", 1, {false, false, false}},
        {L"<GOAL STARS=\"STAR1\" TYPE=\"POINTS\" MIN_POINTS=\"100\"/><GOAL STARS=\"STAR2\" TYPE=\"TIME\" MAX_TIME=\"60\"/>",
         2, {true, false, false}},
        {L"<GOAL STARS=\"STAR1\" TYPE=\"POINTS\" MIN_POINTS=\"100\"/><GOAL STARS=\"STAR3\" TYPE=\"EXTRACARDS\" MIN_EXTRACARDS=\"2\"/>",
         4, {true, true, true}},
        // The time star of a game not won stays dark (and so does the filler).
        {L"<GOAL STARS=\"STAR1\" TYPE=\"POINTS\" MIN_POINTS=\"100\"/><GOAL STARS=\"STAR2\" TYPE=\"TIME\" MAX_TIME=\"600\"/>",
         2, {true, false, false}},
    };
    for (Row const& row : rows) {
        SCOPED_TRACE(apptest::narrow(row.goals));
        auto const tested = variantOf(row.goals);
        bool stars[3] = {false, false, false};
        tested->getReachedGoals(parms, stars[0], stars[1], stars[2]);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(stars[i], row.stars[i]) << i;
        EXPECT_EQ(tested->getStarRating(parms), row.rating);
    }
}


// The most a game of the dealt variant gives each goal, from its rule file and game style: won
// (every tableau pile empty, every card dealt onto the tableau cleared, none left, no time bound
// below), every extra card dealt found, a combo of every card, and as points the deal's score with
// every card and the win scored at the game style's highest multiplier (every other change of the
// score is a cost: there is a bound).
GameEndParms bestGameOf(Solitaire::Kartenmanager const& cards, Solitaire::GameStyle style) {
    GameEndParms best = cards.makeGameEndParms(false);
    unsigned const all = static_cast<unsigned>(cards.cards.size());
    best.time = 0.0f;
    best.restCards = 0;
    best.restRatio = 0.0f;
    best.clearedCards = cards.getPlayState().counts.tableauCardsAtStart;
    best.clearedRatio = 1.0f;
    best.allTableauEmpty = true;
    best.emptyTableauPiles = static_cast<unsigned>(cards.getPilesOfType(Solitaire::kPileTableau).size());
    best.extraCards = static_cast<unsigned>(std::count_if(cards.cards.begin(), cards.cards.end(), [](auto const* card) {
        return card->suit == Solitaire::Karte::kSuitExtra && card->pile;
    }));
    best.maxCombo = all;
    style.multiplierCount = std::max(style.minMultipliers, style.maxMultipliers);
    float const top = std::max(1.0f, style.getMultiplierFactor());
    best.score += (static_cast<float>(all) * style.moveOnZiel + style.winBonus) * top;
    return best;
}

// Every goal of every campaign level is reached by the best game of its variant: none asks for
// more cleared cards than the tableau is dealt, more extra cards than are dealt, more empty piles
// than there are, or more points than the cards can score. Each rule file is dealt once; the game
// style is the variant's own, else the catalogue's override.
TEST_F(LevelGoalTest, EveryCampaignGoalIsReachedByTheBestGameOfItsVariant) {
    loadShipped();
    Orvex::XMLNode stylesFile;
    ASSERT_TRUE(stylesFile.load(L"data\\Styles.sty"));
    std::map<std::wstring, std::unique_ptr<Solitaire::GameStyle>> styles;
    for (Orvex::XMLNode* node : stylesFile.children())
        if (node->getName() == L"GAMESTYLE")
            styles[node->getAttributeString(L"NAME", L"")] = std::make_unique<Solitaire::GameStyle>(*node);
    Solitaire::SolCategorie const* campaign = catalogue().findCategory(L"KAMPAGNE");
    ASSERT_NE(campaign, nullptr);
    struct Level {
        std::string where;
        Solitaire::SolVariant const* variant;
        std::wstring style;
    };
    std::map<std::wstring, std::vector<Level>> byFile;
    for (Solitaire::SolSolitaire const* game : campaign->getGames())
        for (Solitaire::SolVariant const* variant : game->getVariants()) {
            std::wstring style;
            for (auto const* options : {&campaign->getOptions(), &game->getOptions(), &variant->getOptions()})
                if (options->gameStyle) style = *options->gameStyle;
            byFile[variant->getFile()].push_back(
                {apptest::narrow(game->getName() + L"/" + variant->getName()), variant, style});
        }
    ASSERT_FALSE(byFile.empty());
    for (auto const& [file, levels] : byFile) {
        manager().createDiscardPile();
        load(file);
        manager().startGame(nullptr, L"1", true, {}, {}, 0.0f);
        for (Level const& level : levels) {
            SCOPED_TRACE(level.where);
            std::wstring const& own = manager().getRules().gameStyleName;
            auto const style = styles.find(own.empty() ? level.style : own);
            ASSERT_NE(style, styles.end()) << "the level's game style is not in data\\Styles.sty";
            Solitaire::GameStyle const& points = *style->second;
            for (float cost : {points.moveFromZiel, points.undoPoints, points.tippPoints, points.mischenPoints,
                               points.wrongDoubleClickPoints})
                ASSERT_LE(cost, 0.0f) << "a score change that is no cost: the points have no bound";
            GameEndParms const best = bestGameOf(manager(), points);
            for (auto const& goal : level.variant->getGoals()) {
                std::wstring progress;
                EXPECT_TRUE(goal->isReached(best)) << apptest::narrow(goal->getTextId()) << " at best "
                                                   << apptest::narrow(goal->formatProgress(progress, best));
            }
        }
    }
}

}  // namespace
