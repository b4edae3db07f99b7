// The profile screen as a player uses it, by events in the real window on the game's own data:
// "Löschen" asks first, naming the profile, and every way of saying no (the button, Escape,
// Return) keeps it; yes deletes it with its progress and the first profile left becomes active.
// A second profile made from the profile screen gets the name typed into its dialog: no tutorial
// page comes over the name field. Screenshots go to the build folder's "screenshots".
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/story/SolTutorialManager.h"
#include "tests/game/app/PlayedScreensFixture.h"

namespace {

using minigametest::narrow;

class PlayedProfilesTest : public apptest::PlayedScreensFixture {
protected:
    PlayedProfilesTest() {
        homeName = "played_profiles";
        profileText = kTwoPlayers;
    }
    static Solitaire::ProfilManager& profiles() { return Solitaire::ProfilManager::instance(); }
    static std::wstring activeName() {
        Solitaire::Profil const* active = profiles().getActiveProfile();
        return active ? active->getName() : L"(none)";
    }
    // The profile file as saved (UTF-16: every other byte dropped).
    std::string savedFile() const {
        std::string text;
        for (char c : testsupport::readFile(home / "profile.prf"))
            if (c != 0) text += c;
        return text;
    }

    // Anna (active, a level of the campaign passed) and Bert, tutorials off.
    static constexpr char kTwoPlayers[] = R"(<PROFILE ACTIVE_PROFIL="Anna">
<PROFIL NAME="Anna"><TUTORIAL SHOW="0"/><KAMPAGNE><KAPITEL KAPITEL="0" RESULT="1"><LEVEL LEVEL="0" RESULT="3"/></KAPITEL></KAMPAGNE></PROFIL>
<PROFIL NAME="Bert"><TUTORIAL SHOW="0"/></PROFIL>
</PROFILE>
)";
};

TEST_F(PlayedProfilesTest, DeletingAProfileAsksFirstAndEveryNoKeepsIt) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Profile");
    ASSERT_EQ(activeMenu(), L"PROFILMENU");
    struct No {
        char const* what;
        std::function<void()> answer;
    };
    No const noes[] = {
        {"the button Nein", [this] { clickOn(L"P_LoeschenNein"); }},
        {"Escape", [this] { pressEscape(); }},
        {"Return: no is the answer a key gives", [this] { pressReturn(); }},
    };
    bool kept = false;
    for (No const& no : noes) {
        SCOPED_TRACE(no.what);
        clickOn(L"P_DELButton");
        ASSERT_EQ(activeMenu(), L"PROFILLOESCHENMENU") << "asked first";
        EXPECT_NE(textOf(L"P_LoeschenFrage").find(L"\u00bbAnna\u00ab"), std::wstring::npos)
            << narrow(textOf(L"P_LoeschenFrage"));
        EXPECT_TRUE(shown(find(L"P_LoeschenJa")));
        if (!kept) keep("played_profile_delete_question");
        kept = true;
        no.answer();
        EXPECT_EQ(activeMenu(), L"PROFILMENU");
        EXPECT_EQ(profiles().getProfileCount(), 2);
        EXPECT_EQ(activeName(), L"Anna");
    }
    // Yes: Anna and her campaign go, Bert is the active profile, the file says so.
    clickOn(L"P_DELButton");
    clickOn(L"P_LoeschenJa");
    EXPECT_EQ(activeMenu(), L"PROFILMENU");
    ASSERT_EQ(profiles().getProfileCount(), 1);
    EXPECT_EQ(activeName(), L"Bert");
    EXPECT_TRUE(find(L"P_DELButton")->getOptions().enabled) << "Bert can be deleted in turn";
    keep("played_profile_deleted");
    std::string const saved = savedFile();
    EXPECT_EQ(saved.find("\"Anna\""), std::string::npos);
    EXPECT_NE(saved.find("ACTIVE_PROFIL=\"Bert\""), std::string::npos);
    // The last one: no profile is left to be active, and the way back asks for one.
    clickOn(L"P_DELButton");
    clickOn(L"P_LoeschenJa");
    EXPECT_EQ(profiles().getProfileCount(), 0);
    EXPECT_EQ(activeName(), L"(none)");
    clickOn(L"P_Back");
    EXPECT_EQ(activeMenu(), L"WARNINGMENU");
}

// Anna shows tutorials and has seen those of the menus on her way; the new-profile dialog judges
// by the profile it makes, which has seen none.
class PlayedNewProfileTest : public PlayedProfilesTest {
protected:
    PlayedNewProfileTest() {
        homeName = "played_new_profile";
        profileText = R"(<PROFILE ACTIVE_PROFIL="Anna">
<PROFIL NAME="Anna"><TUTORIAL SHOW="1">"|TUTORIALMENU|" "|HAUPTMENU|" "|PROFILMENU|"</TUTORIAL></PROFIL>
</PROFILE>
)";
    }
};

TEST_F(PlayedNewProfileTest, TheSecondProfileGetsTheTypedNameWithoutATutorialOverTheDialog) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Profile");
    ASSERT_EQ(activeMenu(), L"PROFILMENU");
    clickOn(L"P_NEUButton");
    ASSERT_EQ(activeMenu(), L"NEUESPROFIL");
    Solitaire::SolTutorialManager const& tutorials = Solitaire::SolTutorialManager::instance();
    EXPECT_FALSE(tutorials.isRunning()) << "no page over the name field";
    type("Bert");
    settle();
    EXPECT_EQ(activeMenu(), L"NEUESPROFIL");
    EXPECT_EQ(textOf(L"NP_ProfilName_LABEL"), L"Bert");
    keep("played_new_profile_typed");
    pressReturn();
    ASSERT_EQ(profiles().getProfileCount(), 2);
    EXPECT_NE(profiles().findProfile(L"Bert"), nullptr);
    EXPECT_EQ(profiles().findProfile(L"Spieler 2"), nullptr);
    EXPECT_EQ(activeName(), L"Bert");
}

}  // namespace
