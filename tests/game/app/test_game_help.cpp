// The help book on the game's help screen (pages 0 to 3 with 2, 2, 1 and 1 pictures, page 4 the
// rules with a picture per shipped game, then the credits): leafing forward and back, a gap in the
// pages, no credits page, what the credits page shows, which arrows are enabled, the selected page
// button's look, each topic's own text chosen by clicks, and the in-game help panel.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/gui/GUILabel.h"
#include "engine/render/Texture2D.h"
#include "game/app/SolitaireGame2.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/ScreensFixture.h"

namespace {

using Position = std::pair<int, int>;

class GameHelpTest : public apptest::ScreensFixture {
protected:
    // The positions "H_NEXT" (forward) or "H_PREV" reaches from the start, one per step.
    std::vector<Position> leaf(Position start, bool forward, int steps) {
        std::vector<Position> out;
        int page = start.first, sub = start.second;
        game->getHelp().showHelpPage(page, sub);
        for (int i = 0; i < steps; ++i) {
            game->getHelp().stepHelpPage(page, sub, forward);
            game->getHelp().showHelpPage(page, sub);
            out.emplace_back(game->getHelp().getHelpPage(), game->getHelp().getHelpSubPage());
        }
        return out;
    }
    static bool enabled(wchar_t const* name) { return find(name)->getOptions().enabled; }
    // An active player, so no first-profile dialog waits for the first click.
    static void makePlayer() { profiles().setActiveProfile(addProfile(L"Tester")); }
    // The frame's pixels inside the help text's panel.
    std::vector<uint32_t> panelPixels(std::vector<uint32_t> const& pixels) const {
        Orvex::FRect const r = find(L"HILFE_PANEL")->getScreenRect();
        std::vector<uint32_t> out;
        for (unsigned y = static_cast<unsigned>(r.top); y < static_cast<unsigned>(r.bottom) && y < height; ++y)
            for (unsigned x = static_cast<unsigned>(r.left); x < static_cast<unsigned>(r.right) && x < width; ++x)
                out.push_back(at(pixels, x, y));
        return out;
    }
    static bool visible(wchar_t const* name) { return find(name)->getOptions().visible; }
};

// Page 4 has a sub-page per shipped game with rules: seven.
TEST_F(GameHelpTest, LeafingThroughPagesAndCredits) {
    EXPECT_EQ(leaf({0, 0}, true, 14), (std::vector<Position>{{0, 1}, {1, 0}, {1, 1}, {2, 0}, {3, 0}, {4, 0}, {4, 1},
                                                             {4, 2}, {4, 3}, {4, 4}, {4, 5}, {4, 6}, {-1, 0}, {-1, 0}}));
    EXPECT_EQ(leaf({-1, 0}, false, 8),
              (std::vector<Position>{{4, 6}, {4, 5}, {4, 4}, {4, 3}, {4, 2}, {4, 1}, {4, 0}, {3, 0}}));
    EXPECT_EQ(leaf({3, 0}, false, 6), (std::vector<Position>{{2, 0}, {1, 1}, {1, 0}, {0, 1}, {0, 0}, {0, 0}}));
}

TEST_F(GameHelpTest, GapMakesLaterPagesUnreachableAndNoCreditsEndsTheBook) {
    struct Case {
        char const* missing;
        Position from;
        bool forward;
        std::vector<Position> reached;
    };
    Case const cases[] = {
        // Pages 0, 1 and 3: the credits follow page 1, and back from them is page 1.
        {"H_HELP_S2", {1, 1}, true, {{-1, 0}, {-1, 0}}},
        {"H_HELP_S2", {-1, 0}, false, {{1, 1}, {1, 0}}},
        // Without a credits page the last picture of the last page is the end.
        {"H_HELP_CREDITS", {4, 6}, true, {{4, 6}}},
        {"H_HELP_CREDITS", {4, 5}, true, {{4, 6}, {4, 6}}},
        // Without the rules page the credits follow page 3.
        {"H_HELP_S4", {3, 0}, true, {{-1, 0}}},
    };
    for (Case const& c : cases) {
        restartWithout("Hilfe.gui", c.missing);
        EXPECT_EQ(leaf(c.from, c.forward, static_cast<int>(c.reached.size())), c.reached) << c.missing;
    }
}

TEST_F(GameHelpTest, CreditsPageShowsTextAndVersionWithoutPicture) {
    showMenu(L"HILFEMENU");
    int page = 1, sub = 1;
    game->getHelp().showHelpPage(page, sub);
    EXPECT_NE(find(L"H_HELP_FENSTER")->getDrawOptions().getTexBackground(), nullptr);
    EXPECT_FALSE(visible(L"H_C_Credits"));
    EXPECT_TRUE(enabled(L"H_PREV"));
    EXPECT_TRUE(enabled(L"H_NEXT"));
    page = -1, sub = 0;
    game->getHelp().showHelpPage(page, sub);
    EXPECT_EQ(find(L"H_HELP_FENSTER")->getDrawOptions().getTexBackground(), nullptr);
    EXPECT_TRUE(visible(L"H_C_Credits"));
    EXPECT_TRUE(visible(L"H_C_Version"));
    EXPECT_EQ(labelText(L"H_C_Version").rfind(L"Version ", 0), 0u);
    EXPECT_TRUE(enabled(L"H_PREV"));
    EXPECT_FALSE(enabled(L"H_NEXT"));
    page = 0, sub = 0;
    game->getHelp().showHelpPage(page, sub);
    EXPECT_FALSE(enabled(L"H_PREV"));
    keepScreen(L"HILFEMENU", "screen_help_first_page.png");
}

// The selected page's button shows its pressed look and gets its own back when another page is
// shown; the first page shown leaves the credits button alone (the stored position names the
// credits page before anything was shown).
TEST_F(GameHelpTest, SelectedButtonLookComesBack) {
    Orvex::GUIDrawOptions& credits = find(L"H_HELP_CREDITS")->getDrawOptions();
    Orvex::GUIDrawOptions& first = find(L"H_HELP_S0")->getDrawOptions();
    Orvex::Texture2D* const normal = first.getTexNormal();
    Orvex::Texture2D* const mark = first.getTexMark();
    Orvex::Texture2D* const press = first.getTexPress();
    Orvex::Texture2D* const creditsNormal = credits.getTexNormal();
    ASSERT_NE(normal, press);
    int page = 0, sub = 0;
    game->getHelp().showHelpPage(page, sub);
    EXPECT_EQ(credits.getTexNormal(), creditsNormal);
    EXPECT_EQ(first.getTexNormal(), press);
    EXPECT_EQ(first.getTexMark(), press);
    page = 2;
    game->getHelp().showHelpPage(page, sub);
    EXPECT_EQ(first.getTexNormal(), normal);
    EXPECT_EQ(first.getTexMark(), mark);
}

// A topic chosen by a click on its button shows its own text under its picture: the pages'
// texts, the first game's rules on the rules page, the general text with the credits. The text is
// drawn: the panel's pixels change from topic to topic.
TEST_F(GameHelpTest, TopicsChosenByClicksShowTheirOwnText) {
    makePlayer();
    showMenu(L"HILFEMENU");
    struct Topic {
        wchar_t const* button;
        wchar_t const* text;
    };
    Topic const topics[] = {
        {L"H_HELP_S1", L"H_HILFETEXT_S1_0"}, {L"H_HELP_S0", L"H_HILFETEXT_S0_0"}, {L"H_HELP_S2", L"H_HILFETEXT_S2_0"},
        {L"H_HELP_S3", L"H_HILFETEXT_S3_0"}, {L"H_HELP_S4", L"REGELN_GOLDRAUSCH"}, {L"H_HELP_CREDITS", L"H_HILFETEXT"},
    };
    std::set<std::wstring> texts;
    std::vector<uint32_t> before;
    for (Topic const& topic : topics) {
        click(*find(topic.button));
        for (int i = 0; i < 10; ++i) step(0.05);
        std::wstring const shown = labelText(L"H_HilfeLabel");
        EXPECT_EQ(shown, Orvex::languageText(topic.text)) << port::toUtf8(topic.button);
        EXPECT_GT(shown.size(), 100u) << port::toUtf8(topic.button);
        EXPECT_TRUE(texts.insert(shown).second) << "a text of its own: " << port::toUtf8(topic.button);
        std::vector<uint32_t> const pixels = frame();
        EXPECT_GT(lightPixelsIn(pixels, L"H_HilfeLabel"), 500) << port::toUtf8(topic.button);
        if (!before.empty()) EXPECT_NE(panelPixels(pixels), panelPixels(before)) << port::toUtf8(topic.button);
        before = pixels;
    }
}

// "H_NEXT" clicked from the first page to the credits: every picture comes with a text of its own,
// the rules page's pictures are the games' previews.
TEST_F(GameHelpTest, LeafingByClicksChangesPictureAndText) {
    makePlayer();
    showMenu(L"HILFEMENU");
    click(*find(L"H_HELP_S0"));
    std::set<std::wstring> texts{labelText(L"H_HilfeLabel")};
    std::set<Orvex::Texture2D*> pictures{find(L"H_HELP_FENSTER")->getDrawOptions().getTexBackground()};
    int pages = 1;
    while (game->getHelp().getHelpPage() != -1 && pages < 20) {
        click(*find(L"H_NEXT"));
        ++pages;
        if (game->getHelp().getHelpPage() == -1) break;
        EXPECT_TRUE(texts.insert(labelText(L"H_HilfeLabel")).second) << game->getHelp().getHelpPage() << " " << game->getHelp().getHelpSubPage();
        Orvex::Texture2D* picture = find(L"H_HELP_FENSTER")->getDrawOptions().getTexBackground();
        EXPECT_NE(picture, nullptr);
        EXPECT_TRUE(pictures.insert(picture).second) << game->getHelp().getHelpPage() << " " << game->getHelp().getHelpSubPage();
    }
    // Six pictures of the pages, seven games' rules, the credits.
    EXPECT_EQ(pages, 14);
    keepScreen(L"HILFEMENU", "screen_help_credits.png");
    click(*find(L"H_PREV"));
    EXPECT_EQ(labelText(L"H_HilfeLabel"), Orvex::languageText(L"REGELN_HERZREIHE"));
    keepScreen(L"HILFEMENU", "screen_help_rules_herzreihe.png");
}

// The in-game screen's help panel "I_Help" stands in the middle with its blend full, waiting to
// be dismissed; without it nothing is shown and nothing waits.
TEST_F(GameHelpTest, HelpPanelStandsInTheMiddleAndWithoutItsWindowShowsNothing) {
    game->getHelp().showHelpPanel();
    EXPECT_EQ(find(L"I_Help")->getTargetState().name, L"CENTER");
    EXPECT_EQ(game->getHud().getHelpBlend().current, 1.0f);
    EXPECT_EQ(game->getHud().getHelpBlend().target, 1.0f);

    restartWithout("Ingame.gui", "I_Help");
    game->getHelp().showHelpPanel();
    EXPECT_EQ(game->getHud().getHelpBlend().current, 0.0f);
    EXPECT_EQ(game->getHud().getHelpBlend().target, 0.0f);
}

}  // namespace
