// The new-profile dialog and the profile rows of the dispatcher: the generated name (the
// language's "PLAYERNAME" or "Player" / "PLAYER" with a number, never a taken or empty name),
// creating a profile from the typed name (the preset, a taken name, the makers' names, the
// tutorial switch, names that look like formats or paths, blanks at a name's ends), the eight
// profiles at most, cancelling, deleting, leaving the profile screen, a new active profile, and
// a save that keeps nothing told once.
#include <gtest/gtest.h>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUICheckbox.h"
#include "engine/gui/GUICheckboxButton.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/MyGlobals.h"
#include "game/app/ProfilManager.h"
#include "game/app/ScreenWindows.h"
#include "game/app/SolitaireGame2.h"
#include "game/story/SolTutorialManager.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/FlowFixture.h"

namespace {

using apptest::FlowFixture;
using Solitaire::SolitaireGame2;

// A profile file of those profiles, the first active (none: no active profile).
std::string profiles(std::vector<std::string> const& names, bool firstActive = true) {
    std::string text = "<PROFILE";
    if (firstActive && !names.empty()) text += " ACTIVE_PROFIL=\"" + names[0] + "\"";
    text += ">";
    for (std::string const& name : names) text += "<PROFIL NAME=\"" + name + "\"/>";
    return text + "</PROFILE>";
}

class NewProfileTest : public FlowFixture {
protected:
    Solitaire::ProfilManager& manager() const { return Solitaire::ProfilManager::instance(); }
    Orvex::GUILabel* nameField() const { return Solitaire::labelOf(find(L"NP_ProfilName_LABEL")); }
    std::wstring warning() const { return Solitaire::labelOf(find(L"W_WarningLabel"))->getText(); }
    // "P_NEUButton", then the name typed (empty: the preset left as it is), then "NP_OKButton".
    void create(std::wstring const& typed) {
        click(L"P_NEUButton");
        ASSERT_EQ(activeMenu(), L"NEUESPROFIL");
        if (!typed.empty()) nameField()->setText(typed);
        click(L"NP_OKButton");
    }
};

struct NameCase {
    char const* what;
    std::string text;  // "PLAYERNAME" in German; empty: the game's; "-": none
    std::vector<std::string> names;
    std::wstring generated;
};

// Each case is a test of its own: the engine keeps the texts it has read for the process.
class DefaultNameTest : public NewProfileTest, public testing::WithParamInterface<NameCase> {};

TEST_P(DefaultNameTest, TheGeneratedNameIsTheLanguagesOrAFallbackThatIsFree) {
    NameCase const& c = GetParam();
    if (c.text == "-")
        dataEdits = {{"data/texte.lng", "NAME=\"PLAYERNAME\"", "NAME=\"PLAYERNAME_NICHT\""}};
    else if (!c.text.empty())
        extraTexts = "\t<TEXT NAME=\"PLAYERNAME\" LANG=\"GER\">\"|" + c.text + "|\"</TEXT>\r\n";
    startFlow(profiles(c.names));
    EXPECT_EQ(game->getNewProfileDialog().makeDefaultName(), c.generated);
}

INSTANTIATE_TEST_SUITE_P(
    Names, DefaultNameTest,
    testing::Values(NameCase{"the language's name, numbered after the profiles", "", {"Anna"}, L"Spieler 2"},
                    NameCase{"taken: the next number", "", {"Anna", "Spieler 2"}, L"Spieler 3"},
                    NameCase{"no text: Player, then PLAYER", "-", {"Player3", "PLAYER4"}, L"PLAYER5"},
                    NameCase{"no text, free at once", "-", {"Anna"}, L"Player2"},
                    NameCase{"a text without the number: the fallback once every try is taken", "Gast", {"Gast"},
                             L"PLAYER4"},
                    NameCase{"a text that prints nothing of the number", "%s", {"Anna"}, L"PLAYER4"}),
    [](testing::TestParamInfo<NameCase> const& info) { return "case" + std::to_string(info.index); });

TEST_F(NewProfileTest, TheDialogWorksOnAPendingProfileThatJudgesTheTutorials) {
    startFlow(profiles({"Anna"}));
    click(L"P_NEUButton");
    Solitaire::Profil* pending = game->getNewProfileDialog().getPendingProfile();
    ASSERT_NE(pending, nullptr);
    EXPECT_EQ(activeMenu(), L"NEUESPROFIL");
    EXPECT_TRUE(pending->getShowTutorials());
    EXPECT_EQ(Solitaire::SolTutorialManager::instance().getProfile(), pending);
    EXPECT_EQ(nameField()->getText(), L"Spieler 2") << "the field offers the name that Return makes";
    click(L"NP_CancelButton");
    EXPECT_EQ(activeMenu(), L"PROFILMENU");
    EXPECT_EQ(game->getNewProfileDialog().getPendingProfile(), nullptr);
    EXPECT_EQ(Solitaire::SolTutorialManager::instance().getProfile(), profile()) << "the override is gone";
    EXPECT_EQ(manager().getProfileCount(), 1);
}

// "NP_OKButton" by the name in the field.
TEST_F(NewProfileTest, AProfileIsMadeFromTheTypedNameUnlessItIsTaken) {
    struct {
        char const* what;
        std::wstring typed;
        std::wstring name;  // empty: none made
        bool campaignOpen;
    } const cases[] = {
        {"the preset left as it is", L"", L"Spieler 2", false},
        {"the preset typed again", L"Neues Profil", L"Spieler 2", false},
        {"a taken name", L"Anna", L"", false},
        {"a name of its own", L"Clara", L"Clara", false},
        {"a maker's name", L"VORTMAK", L"VORTMAK", true},
        {"the same letters in another case", L"Vortmak", L"Vortmak", false},
        {"a name like a format", L"%s%n%d", L"%s%n%d", false},
        {"a name like a path", L"..\\Ordner/x", L"..\\Ordner/x", false},
        {"blanks at the ends go (a space, a tab, an ideographic space), not inside", L" \tJan  Ole\u3000", L"Jan  Ole", false},
        {"a taken name with a space after it", L"Anna ", L"", false},
        {"a space alone is no name", L" ", L"Spieler 2", false},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        startFlow(profiles({"Anna"}));
        create(c.typed);
        if (c.name.empty()) {
            EXPECT_EQ(activeMenu(), L"WARNINGMENU");
            EXPECT_EQ(warning(), L"Ein Profil dieses Namens gibt es schon.");
            EXPECT_EQ(manager().getProfileCount(), 1);
            EXPECT_NE(game->getNewProfileDialog().getPendingProfile(), nullptr) << "the dialog goes on";
        } else {
            EXPECT_EQ(activeMenu(), L"PROFILMENU");
            ASSERT_EQ(manager().getProfileCount(), 2);
            ASSERT_NE(profile(), nullptr);
            EXPECT_EQ(profile()->getName(), c.name);
            EXPECT_EQ(game->getNewProfileDialog().getPendingProfile(), nullptr);
            EXPECT_EQ(Solitaire::SolTutorialManager::instance().getProfile(), profile());
            bool allOpen = true;
            for (Solitaire::ChapterRecord const& chapter : profile()->getCampaign()) {
                allOpen = allOpen && chapter.result >= 1;
                for (Solitaire::LevelRecord const& level : chapter.levels) allOpen = allOpen && level.result >= 1;
            }
            EXPECT_EQ(allOpen, c.campaignOpen);
            // Saved as typed, and read back so.
            Orvex::XMLNode saved;
            ASSERT_TRUE(saved.load(port::windowsPath((stage / "profile.prf").string())));
            EXPECT_EQ(saved.getAttributeString(L"ACTIVE_PROFIL", L""), c.name);
        }
        stop();
        TearDown();
    }
}

TEST_F(NewProfileTest, TheTutorialSwitchOfTheDialogGoesWithTheProfile) {
    startFlow(profiles({"Anna"}));
    click(L"P_NEUButton");
    Orvex::GUICheckboxButton* box = dynamic_cast<Orvex::GUICheckbox*>(find(L"NP_HELP_CHECKBOX_3"))->getButton();
    ASSERT_TRUE(box->isChecked());
    box->setChecked(false);
    nameField()->setText(L"Clara");
    click(L"NP_OKButton");
    ASSERT_EQ(profile()->getName(), L"Clara");
    EXPECT_FALSE(profile()->getShowTutorials());
    EXPECT_FALSE(box->isChecked());
}

TEST_F(NewProfileTest, ANinthProfileIsRefused) {
    struct {
        int count;
        wchar_t const* menu;
    } const cases[] = {{7, L"NEUESPROFIL"}, {8, L"WARNINGMENU"}};
    for (auto const& c : cases) {
        SCOPED_TRACE(c.count);
        std::vector<std::string> names;
        for (int i = 0; i < c.count; ++i) names.push_back("P" + std::to_string(i));
        startFlow(profiles(names));
        click(L"P_NEUButton");
        EXPECT_EQ(activeMenu(), c.menu);
        if (c.count == Solitaire::MyGlobals::kMaxProfiles)
            EXPECT_EQ(warning(), L"Es gibt schon acht Profile. Lösche eines, bevor du ein neues anlegst.");
        stop();
        TearDown();
    }
}

// Deleting the active profile (asked first, then confirmed), and leaving the profile screen with
// and without one: after a delete the first profile left is active.
TEST_F(NewProfileTest, DeletingAndLeavingTheProfileScreen) {
    struct {
        char const* what;
        std::string file;
        bool deleteFirst;
        wchar_t const* menu;
        std::wstring warning;
        wchar_t const* activeAfter;
    } const cases[] = {
        {"an active profile", profiles({"Anna", "Ben"}), false, L"HAUPTMENU", L"", L"Anna"},
        {"the active one deleted", profiles({"Anna", "Ben"}), true, L"HAUPTMENU", L"", L"Ben"},
        {"the last one deleted", profiles({"Anna"}), true, L"WARNINGMENU", L"Lege zuerst ein Profil an.", nullptr},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        startFlow(c.file);
        Orvex::GUIMenuManagerN::instance().activateMenu(L"PROFILMENU", -1.0);
        int const count = manager().getProfileCount();
        if (c.deleteFirst) {
            click(L"P_DELButton");
            EXPECT_EQ(activeMenu(), L"PROFILLOESCHENMENU");
            EXPECT_EQ(manager().getProfileCount(), count);
            click(L"P_LoeschenJa");
            EXPECT_EQ(activeMenu(), L"PROFILMENU");
            EXPECT_EQ(manager().getProfileCount(), count - 1);
            EXPECT_EQ(find(L"P_DELButton")->getOptions().enabled, c.activeAfter != nullptr);
        }
        if (c.activeAfter) {
            ASSERT_NE(profile(), nullptr);
            EXPECT_EQ(profile()->getName(), c.activeAfter);
        } else {
            EXPECT_EQ(profile(), nullptr);
        }
        click(L"P_Back");
        EXPECT_EQ(activeMenu(), c.menu);
        if (!c.warning.empty()) EXPECT_EQ(warning(), c.warning);
        stop();
        TearDown();
    }
}

// Saves that keep nothing: the player is told why on the screen the first new profile leads to,
// and not again after the second. The profile file's folder is gone, or the profiles would be a
// file larger than the game reads (a tutorial name as long as a read's whole budget).
TEST_F(NewProfileTest, ASaveThatKeepsNothingIsToldOnceWithWhy) {
    struct {
        char const* what;
        bool tooLarge;
        wchar_t const* text;
    } const cases[] = {
        {"no folder", false, L"PROFILES_NOT_SAVED"},
        {"too large", true, L"PROFILES_TOO_LARGE"},
    };
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        startFlow(profiles({"Anna"}));
        if (c.tooLarge)
            profile()->markTutorialSeen(std::wstring(Orvex::XMLNode::kMaxTreeBytes / sizeof(wchar_t), L't'));
        else
            manager().setFilePath(port::windowsPath((stage / "gone" / "profile.prf").string()));
        create(L"Clara");
        settle(0.5);
        EXPECT_EQ(activeMenu(), L"WARNINGMENU");
        EXPECT_EQ(warning(), Orvex::languageText(c.text));
        EXPECT_FALSE(warning().empty());
        frame();
        keepBackBuffer(std::string("profiles_not_saved_") + (c.tooLarge ? "too_large" : "no_folder") + ".png");
        click(find(L"W_OK"));
        settle(0.5);
        EXPECT_EQ(activeMenu(), L"PROFILMENU");
        create(L"Dora");
        settle(0.5);
        EXPECT_EQ(activeMenu(), L"PROFILMENU");
        EXPECT_EQ(manager().getProfileCount(), 3);
        stop();
        TearDown();
    }
}

// The switches follow the profile that becomes active, and the delete button is there for it.
TEST_F(NewProfileTest, ANewActiveProfileBringsItsTutorialSwitch) {
    startFlow("<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"/><PROFIL NAME=\"Ben\"><TUTORIAL SHOW=\"0\"/>"
              "</PROFIL></PROFILE>");
    Orvex::GUICheckboxButton* box = dynamic_cast<Orvex::GUICheckbox*>(find(L"NP_HELP_CHECKBOX_3"))->getButton();
    EXPECT_TRUE(box->isChecked());
    manager().setActiveProfile(manager().findProfile(L"Ben"));
    EXPECT_FALSE(box->isChecked());
    EXPECT_TRUE(find(L"P_DELButton")->getOptions().enabled);
    EXPECT_FALSE(game->getTutorialScreens().areCheckboxesSilenced());
    manager().setActiveProfile(nullptr);
    EXPECT_FALSE(find(L"P_DELButton")->getOptions().enabled);
}

}  // namespace
