// The rules of every shipped variant, as a player finds them, on the game's own data: each variant
// of the catalogue names a rules text ("HELP_FILE") that exists in German and is not empty; the
// help's rules page, leafed through by clicks, shows it; and on the table the "i" button, clicked
// once the start's banner and panel are gone, shows it in the help panel in the middle, drawn.
// The rules panel of a free game and of a campaign level are kept as screenshots. The free lesson
// comes when chosen, with tutorials off too.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "engine/gui/GUILabel.h"
#include "engine/gui/TutorialStrip.h"
#include "game/app/SolCategorie.h"
#include "game/app/SolSolitaire.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/PlayScreensFixture.h"

namespace {

using Solitaire::SolitaireManager;
using Solitaire::SolVariant;

class GameRulesTest : public apptest::PlayScreensFixture {
protected:
    struct Entry {
        std::wstring category, game, variant;
        SolVariant const* rules;
        bool campaign;
    };
    static std::vector<Entry> catalogueEntries() {
        // Free play's variants, and the campaign's first level of each game (the campaign plays
        // the same rule files again and again).
        std::vector<Entry> entries;
        std::set<std::wstring> campaignRules;
        for (Solitaire::SolCategorie const* category : SolitaireManager::instance().getCategories())
            for (Solitaire::SolSolitaire const* game : category->getGames())
                for (SolVariant const* variant : game->getVariants()) {
                    bool const campaign = category->getName() == L"KAMPAGNE";
                    if (campaign && !campaignRules.insert(variant->getRulesTextId()).second) continue;
                    entries.push_back({category->getName(), game->getName(), variant->getName(), variant, campaign});
                }
        return entries;
    }
    static std::string nameOf(Entry const& e) { return port::toUtf8(e.category + L"/" + e.game + L"/" + e.variant); }

    // The texts the rules page shows, leafed through by clicks from its button to the credits.
    std::set<std::wstring> rulesPageTexts() {
        showMenu(L"HILFEMENU");
        click(L"H_HELP_S4");
        std::set<std::wstring> texts;
        for (int i = 0; i < 40 && game->getHelp().getHelpPage() == 4; ++i) {
            texts.insert(textOf(L"H_HilfeLabel"));
            click(L"H_NEXT");
        }
        return texts;
    }
    // Clicks on the score until neither the banner nor the help panel waits for a click.
    void dismissPanels() {
        for (int i = 0; i < 4 && (game->getHud().getGameNameBlend().target > 0.5f || game->getHud().getHelpBlend().target > 0.5f); ++i) {
            click(L"I_Points");
            step(0.5);
        }
    }
};

TEST_F(GameRulesTest, EveryVariantsRulesShowInHelpAndOnTheTable) {
    makeProfile();
    std::vector<Entry> const entries = catalogueEntries();
    ASSERT_EQ(entries.size(), 16u);
    std::set<std::wstring> const inHelp = rulesPageTexts();
    EXPECT_EQ(inHelp.size(), 7u) << "a page per shipped game";

    for (Entry const& entry : entries) {
        std::wstring const& id = entry.rules->getRulesTextId();
        std::wstring const rules = Orvex::languageText(id);
        EXPECT_FALSE(id.empty()) << nameOf(entry);
        EXPECT_GT(rules.size(), 200u) << nameOf(entry) << ": the rules of its piles, stock and goal";
        EXPECT_EQ(rules.find(L'%'), std::wstring::npos) << nameOf(entry) << ": no format";
        EXPECT_EQ(inHelp.count(rules), 1u) << nameOf(entry) << ": on the help's rules page";

        ASSERT_TRUE(SolitaireManager::instance().setCurrentByNames(entry.category, entry.game, entry.variant));
        ASSERT_EQ(game->startGame({.campaign = entry.campaign, .withTutorial = false, .withStory = false}), Solitaire::RunningGame::kGameStarted)
            << nameOf(entry);
        step(0.1);
        dismissPanels();
        EXPECT_LE(game->getHud().getHelpBlend().target, 0.0f) << nameOf(entry);
        click(L"I_Info");
        EXPECT_EQ(textOf(L"I_Help"), rules) << nameOf(entry);
        EXPECT_EQ(find(L"I_Help")->getTargetState().name, L"CENTER") << nameOf(entry);
        for (int i = 0; i < 20; ++i) step(0.05);
        std::vector<uint32_t> const pixels = frame();
        EXPECT_GT(lightPixelsIn(pixels, L"I_Help"), 2000) << nameOf(entry) << ": the rules are drawn";
        if (entry.variant == L"SPINNE") keepBackBuffer("rules_panel_spinne.png");
        if (entry.campaign && entry.game == L"KAPITEL_0" && entry.variant == L"LEVEL_0")
            keepBackBuffer("rules_panel_level_0_0.png");
        // A click anywhere puts it away.
        click(L"I_Points");
        EXPECT_LE(game->getHud().getHelpBlend().target, 0.0f) << nameOf(entry);
    }
}

// A variant started again does not show its rules again at the start; another variant does.
TEST_F(GameRulesTest, TheStartShowsTheRulesOfANewVariantOnce) {
    SolitaireManager& catalogue = SolitaireManager::instance();
    struct Start {
        wchar_t const* game;
        wchar_t const* variant;
        bool shown;
    };
    Start const starts[] = {{L"SPINNE", L"SPINNE", true}, {L"SPINNE", L"SPINNE", false}, {L"ZELLEN", L"ZELLEN", true}};
    for (Start const& start : starts) {
        ASSERT_TRUE(catalogue.setCurrentByNames(L"KLASSIKER", start.game, start.variant));
        ASSERT_EQ(game->startGame({.withTutorial = false, .withStory = false}), Solitaire::RunningGame::kGameStarted);
        step(0.1);
        EXPECT_EQ(game->getHud().getHelpBlend().target > 0.5f, start.shown) << port::toUtf8(start.game);
        if (start.shown) {
            EXPECT_EQ(find(L"I_Help")->getTargetState().name, L"CENTER");
            EXPECT_EQ(textOf(L"I_Help"), Orvex::languageText(L"REGELN_" + std::wstring(start.game)));
        }
        dismissPanels();
    }
}

// The free lesson, chosen by its name, comes with its first page though the player has tutorials
// off, also once it was seen (the second start): the switch governs only what comes by itself.
TEST_F(GameRulesTest, TheLessonChosenInFreePlayComesWhateverTheTutorialSwitch) {
    makeProfile().markTutorialSeen(L"TUTORIALMENU");
    leaveStartScreen();
    for (int start = 0; start < 2; ++start) {
        ASSERT_TRUE(SolitaireManager::instance().setCurrentByNames(L"KNOBELEIEN", L"HERZREIHE", L"HERZREIHE_LEKTION"));
        ASSERT_EQ(game->startGame({}), Solitaire::RunningGame::kGameStarted);
        for (int i = 0; i < 40; ++i) step(0.1);
        Orvex::TutorialStrip const* strip = Solitaire::SolTutorialManager::instance().getCurrentStrip();
        ASSERT_NE(strip, nullptr) << start << ": the first page's text on screen";
        EXPECT_EQ(strip->getName(), L"HR_ASS");
        Solitaire::SolTutorialManager::instance().closeTutorial();
    }
}

}  // namespace
