// The help book on the game's help screen (pages 0 to 3 with 2, 2, 1 and 1 pictures, then the
// credits): leafing forward and back, a gap in the pages, no credits page, what the credits page
// shows, which arrows are enabled, the selected page button's look, and the in-game help panel.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "game/app/SolitaireGame2.h"
#include "tests/game/app/ScreensFixture.h"

namespace {

using Position = std::pair<int, int>;

class GameHelpTest : public apptest::ScreensFixture {
protected:
    // The positions "H_NEXT" (forward) or "H_PREV" reaches from the start, one per step.
    std::vector<Position> leaf(Position start, bool forward, int steps) {
        std::vector<Position> out;
        int page = start.first, sub = start.second;
        game->showHelpPage(page, sub);
        for (int i = 0; i < steps; ++i) {
            game->stepHelpPage(page, sub, forward);
            game->showHelpPage(page, sub);
            out.emplace_back(game->getHelpPage(), game->getHelpSubPage());
        }
        return out;
    }
    static bool enabled(wchar_t const* name) { return find(name)->getOptions().enabled; }
    static bool visible(wchar_t const* name) { return find(name)->getOptions().visible; }
};

TEST_F(GameHelpTest, LeafingThroughPagesAndCredits) {
    EXPECT_EQ(leaf({0, 0}, true, 7),
              (std::vector<Position>{{0, 1}, {1, 0}, {1, 1}, {2, 0}, {3, 0}, {-1, 0}, {-1, 0}}));
    EXPECT_EQ(leaf({-1, 0}, false, 7),
              (std::vector<Position>{{3, 0}, {2, 0}, {1, 1}, {1, 0}, {0, 1}, {0, 0}, {0, 0}}));
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
        {"H_HELP_CREDITS", {3, 0}, true, {{3, 0}}},
        {"H_HELP_CREDITS", {2, 0}, true, {{3, 0}, {3, 0}}},
    };
    for (Case const& c : cases) {
        restartWithout("Hilfe.gui", c.missing);
        EXPECT_EQ(leaf(c.from, c.forward, static_cast<int>(c.reached.size())), c.reached) << c.missing;
    }
}

TEST_F(GameHelpTest, CreditsPageShowsTextAndVersionWithoutPicture) {
    showMenu(L"HILFEMENU");
    int page = 1, sub = 1;
    game->showHelpPage(page, sub);
    EXPECT_NE(find(L"H_HELP_FENSTER")->getDrawOptions().getTexBackground(), nullptr);
    EXPECT_FALSE(visible(L"H_C_Credits"));
    EXPECT_TRUE(enabled(L"H_PREV"));
    EXPECT_TRUE(enabled(L"H_NEXT"));
    page = -1, sub = 0;
    game->showHelpPage(page, sub);
    EXPECT_EQ(find(L"H_HELP_FENSTER")->getDrawOptions().getTexBackground(), nullptr);
    EXPECT_TRUE(visible(L"H_C_Credits"));
    EXPECT_TRUE(visible(L"H_C_Version"));
    EXPECT_EQ(labelText(L"H_C_Version").rfind(L"Version ", 0), 0u);
    EXPECT_TRUE(enabled(L"H_PREV"));
    EXPECT_FALSE(enabled(L"H_NEXT"));
    page = 0, sub = 0;
    game->showHelpPage(page, sub);
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
    game->showHelpPage(page, sub);
    EXPECT_EQ(credits.getTexNormal(), creditsNormal);
    EXPECT_EQ(first.getTexNormal(), press);
    EXPECT_EQ(first.getTexMark(), press);
    page = 2;
    game->showHelpPage(page, sub);
    EXPECT_EQ(first.getTexNormal(), normal);
    EXPECT_EQ(first.getTexMark(), mark);
}

// The in-game screen's help panel "I_Help" stands in the middle with its blend full, waiting to
// be dismissed; without it nothing is shown and nothing waits.
TEST_F(GameHelpTest, HelpPanelStandsInTheMiddleAndWithoutItsWindowShowsNothing) {
    game->showHelpPanel();
    EXPECT_EQ(find(L"I_Help")->getTargetState().name, L"CENTER");
    EXPECT_EQ(game->getHelpBlend().current, 1.0f);
    EXPECT_EQ(game->getHelpBlend().target, 1.0f);

    restartWithout("Ingame.gui", "I_Help");
    game->showHelpPanel();
    EXPECT_EQ(game->getHelpBlend().current, 0.0f);
    EXPECT_EQ(game->getHelpBlend().target, 0.0f);
}

}  // namespace
