// The profile screen as a player uses it, by events in the real window on the game's own data:
// "Löschen" asks first, naming the profile, and every way of saying no (the button, Escape,
// Return) keeps it; yes deletes it with its progress and the first profile left becomes active.
// A second profile made from the profile screen gets the name typed into its dialog: no tutorial
// page comes over the name field; the name is what the system's keyboard layout types, whatever
// the layout file says the keys are. Screenshots go to the build folder's "screenshots".
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

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

// A name typed as the window system sends it under a keyboard layout: the keys (a capital with
// shift, ' the apostrophe key, _ no key) and the text the layout types with each ("" for a dead
// key).
struct SystemLayout {
    char const* what;
    char const* keys;
    std::vector<char const*> texts;
    std::wstring name;
};

TEST_F(PlayedNewProfileTest, TheNameFieldTypesWhatTheSystemsLayoutTypes) {
    SystemLayout const layouts[] = {
        {"US: Z where the layout file has Y", "Fritz", {"F", "r", "i", "t", "z"}, L"Fritz"},
        {"German: Z on the key right of T", "Frity", {"F", "r", "i", "t", "z"}, L"Fritz"},
        {"US international: a dead accent, then its letter", "Jos'e", {"J", "o", "s", "", "\xC3\xA9"}, L"Jos\u00e9"},
        {"an input method's letter without a key", "Jo_l", {"J", "o", "\xC3\xAB", "l"}, L"Jo\u00ebl"},
    };
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Profile");
    for (SystemLayout const& layout : layouts) {
        SCOPED_TRACE(layout.what);
        clickOn(L"P_NEUButton");
        ASSERT_EQ(activeMenu(), L"NEUESPROFIL");
        for (std::size_t i = 0; layout.keys[i]; ++i) {
            char const c = layout.keys[i];
            if (c == '_') {
                testsupport::pushText(windowId(), layout.texts[i]);
                tick(false);
                continue;
            }
            SDL_Scancode const code = c == '\'' ? SDL_SCANCODE_APOSTROPHE : SDL_Scancode(SDL_SCANCODE_A + (std::tolower(c) - 'a'));
            key(code, SDL_GetKeyFromScancode(code), std::isupper(c) != 0, layout.texts[i]);
        }
        settle();
        EXPECT_EQ(textOf(L"NP_ProfilName_LABEL"), layout.name);
        pressEscape();
        ASSERT_EQ(activeMenu(), L"PROFILMENU");
    }
}

}  // namespace
