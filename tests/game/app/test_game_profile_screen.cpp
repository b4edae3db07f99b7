// The profile list on the game's profile screen: a button per profile from the template, placed
// in rows of the panel, the active one marked and selected with the delete button enabled, a
// click choosing the profile, names shown as they are, a button kept from before the list was
// rebuilt doing nothing, and a missing panel or template skipping the list.
#include <gtest/gtest.h>

#include "engine/gui/GUIScrollPanel.h"
#include "game/app/MyGlobals.h"
#include "game/app/SolitaireGame2.h"
#include "tests/game/app/ScreensFixture.h"

namespace {

class GameProfileScreenTest : public apptest::ScreensFixture {
protected:
    static bool deleteEnabled() { return find(L"P_DELButton")->getOptions().enabled; }
    static Orvex::Texture2D* look(Orvex::GUIWindow* button) { return button->getDrawOptions().getTexNormal(); }
};

TEST_F(GameProfileScreenTest, ListMarksTheActiveProfile) {
    Solitaire::Profil* anna = addProfile(L"Anna");  // the first becomes active
    addProfile(L"Bernd %s%n");
    addProfile(L"Clara");
    ASSERT_EQ(game->getProfileList().getButtonCount(), 3u);
    float const row = 1.0f / static_cast<float>(Solitaire::MyGlobals::kMaxProfiles);
    for (std::size_t i = 0; i < 3; ++i) {
        Orvex::GUIWindow* button = game->getProfileList().getButton(i);
        EXPECT_EQ(button->getUserPointer(0), profiles().getProfile(static_cast<int>(i)));
        EXPECT_FLOAT_EQ(button->getRect().getParamsX().relY, row * static_cast<float>(i));
        EXPECT_FLOAT_EQ(button->getRect().getParamsY().relY, row);
        EXPECT_TRUE(button->getOptions().visible);
    }
    EXPECT_EQ(Solitaire::labelOf(game->getProfileList().getButton(1))->getText(), L"Bernd %s%n");
    EXPECT_EQ(game->getProfileList().getSelectedButton(), game->getProfileList().getButton(0));
    EXPECT_EQ(look(game->getProfileList().getButton(0)), Solitaire::findScreenTexture(L"P_Leer_A"));
    EXPECT_EQ(look(game->getProfileList().getButton(1)), Solitaire::findScreenTexture(L"P_Leer"));
    EXPECT_EQ(Solitaire::labelOf(game->getProfileList().getButton(0))->getFontName(), L"ActiveProfilFont");
    EXPECT_TRUE(deleteEnabled());
    EXPECT_EQ(profiles().getActiveProfile(), anna);

    profiles().setActiveProfile(nullptr);
    game->getProfileList().build();
    EXPECT_EQ(game->getProfileList().getSelectedButton(), nullptr);
    EXPECT_FALSE(deleteEnabled());
    showMenu(L"PROFILMENU");
    keepScreen(L"PROFILMENU", "screen_profiles_none_active.png");
}

TEST_F(GameProfileScreenTest, ClickChoosesTheProfile) {
    addProfile(L"Anna");
    Solitaire::Profil* bernd = addProfile(L"Bernd");
    showMenu(L"PROFILMENU");
    for (int i = 0; i < 10; ++i) step(0.1);
    click(*game->getProfileList().getButton(1));
    EXPECT_EQ(profiles().getActiveProfile(), bernd);
}

TEST_F(GameProfileScreenTest, ButtonKeptFromBeforeTheListWasRebuiltDoesNothing) {
    Solitaire::Profil* anna = addProfile(L"Anna");
    Solitaire::Profil* bernd = addProfile(L"Bernd");
    addProfile(L"Clara");
    struct Case {
        char const* what;
        bool deleteIt;
    } const cases[] = {{"its profile deleted", true}, {"its profile still there", false}};
    for (Case const& c : cases) {
        Orvex::GUIWindow* kept = game->getProfileList().getButton(1);
        kept->addRef();
        if (c.deleteIt) profiles().removeProfile(bernd);
        else game->getProfileList().build();
        profiles().setActiveProfile(anna);
        game->getProfileList().onButtonClicked(*kept);
        kept->leftClicked.emit(*kept);
        EXPECT_EQ(profiles().getActiveProfile(), anna) << c.what;
        kept->release();
    }
    EXPECT_EQ(game->getProfileList().getButtonCount(), 2u);
}

TEST_F(GameProfileScreenTest, PanelHoldsAsManyRowsAsProfilesAllowed) {
    for (int i = 0; i < Solitaire::MyGlobals::kMaxProfiles; ++i) addProfile(L"Spieler " + std::to_wstring(i + 1));
    profiles().setActiveProfile(profiles().getProfile(Solitaire::MyGlobals::kMaxProfiles - 1));
    game->getProfileList().build();
    EXPECT_EQ(game->getProfileList().getButtonCount(), static_cast<std::size_t>(Solitaire::MyGlobals::kMaxProfiles));
    EXPECT_EQ(game->getProfileList().getSelectedButton(), game->getProfileList().getButton(Solitaire::MyGlobals::kMaxProfiles - 1));
    keepScreen(L"PROFILMENU", "screen_profiles_full.png");
}

TEST_F(GameProfileScreenTest, MissingPanelOrTemplateSkipsTheList) {
    for (char const* name : {"P_ProfilePanel", "P_ProfilNameVorlage", "P_DELButton"}) {
        restartWithout("Profile.gui", name);
        addProfile(L"Anna");
        addProfile(L"Bernd");
        bool const listed = std::string(name) == "P_DELButton";
        EXPECT_EQ(game->getProfileList().getButtonCount(), listed ? 2u : 0u) << name;
        game->getProfileList().refresh();
        profiles().clear();
    }
}

}  // namespace
