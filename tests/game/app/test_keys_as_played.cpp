// What a player meets at the table of the game's own data, by events in the real window: F1 over
// the points balance of a campaign level raises it (the balance label keeps its hit though its
// parent ignores input), F7 passes over a name it cannot write and goes on numbering, and the
// lock that "Zellen" deals brings its tutorial page with its text, and the options' story reset
// lets the story's pages come again; the pause screen's help shows the variant's rules as the
// table's "i" does; the screens' pages write into the help panel and the table's into the
// solitaire help, one panel on screen at a time, each text at its start.
#include <gtest/gtest.h>

#include <filesystem>

#include <SDL.h>

#include "engine/core/engine/OrvexEngine.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIScrollPanel.h"
#include "engine/gui/GUISystem.h"
#include "engine/gui/LanguageManager.h"
#include "engine/gui/TutorialManager.h"
#include "engine/gui/TutorialStrip.h"
#include "game/app/ScreenWindows.h"
#include "engine/gui/GUIWindow.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireGame2.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/story/SolTutorialManager.h"
#include "tests/game/minigames/MinigameFixture.h"
#include "tests/support/SdlEvents.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

class KeysAsPlayedTest : public minigametest::MinigameFixture {
protected:
    void SetUp() override {
        makeHome("keys_as_played", profileText);
        withPlayer = false;
        MinigameFixture::SetUp();
        saved = fs::current_path();
    }
    void TearDown() override {
        fs::current_path(saved);
        MinigameFixture::TearDown();
        removeHome();
    }
    // From the start screen to the main menu, as the player leaves it.
    void toMainMenu() {
        if (activeMenu() == L"STARTMENU") clickOn(L"SM_Fenster");
        ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    }
    // A key pressed and let go in the real window, a frame each.
    void key(SDL_Scancode code, SDL_Keycode sym) {
        testsupport::pushKey(windowId(), code, true, sym);
        tick(false);
        testsupport::pushKey(windowId(), code, false, sym);
        tick();
    }
    // The makers' profile, tutorials off.
    std::string profileText =
        "<PROFILE ACTIVE_PROFIL=\"VORTMAK\"><PROFIL NAME=\"VORTMAK\"><TUTORIAL SHOW=\"0\"/></PROFIL></PROFILE>";
    fs::path saved;
};

TEST_F(KeysAsPlayedTest, F1OverTheBalanceOfACampaignLevelAddsTheMakersPoints) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Kampagne");
    ASSERT_EQ(activeMenu(), L"KATEGORIEMENU");
    clickOn(L"K_KategorieButton1");
    for (int i = 0; i < 600 && activeMenu() != L"LEVELAUSWAHLMENU"; ++i) {
        if (scene()) clickOn(L"T_END_STORY_CLICK");
        tick(false);
    }
    ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    clickOn(L"LA_LevelButton_0");
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    settle();
    Orvex::GUIWindow* balance = find(L"I_Points2");
    ASSERT_NE(balance, nullptr);
    D3DXVECTOR2 const over = middleOf(L"I_Points2");
    moveTo(over);
    ticks(10);
    EXPECT_EQ(Orvex::GUISystem::instance().windowAt(over, Orvex::GUISystem::kHitHover), balance);
    float const before = Solitaire::Kartenmanager::instance().getScore();
    key(SDL_SCANCODE_F1, SDLK_F1);
    EXPECT_NEAR(Solitaire::Kartenmanager::instance().getScore() - before, Solitaire::SolitaireGame2::kMakerPoints, 1.0f);
    // Elsewhere F1 does nothing.
    moveTo(D3DXVECTOR2(kQuietX, kQuietY));
    ticks(10);
    float const after = Solitaire::Kartenmanager::instance().getScore();
    key(SDL_SCANCODE_F1, SDLK_F1);
    EXPECT_LT(Solitaire::Kartenmanager::instance().getScore() - after, 1000.0f);
}

// A folder named as the next screenshot cannot be written over: that number is passed over, and
// the presses after it go on writing.
TEST_F(KeysAsPlayedTest, F7PassesOverANameItCannotWriteAndGoesOn) {
    fs::current_path(home);  // screenshots go to the working folder
    int const first = Solitaire::Screenshots::getScreenshotCounter();
    fs::create_directory(home / ("Screenshot_" + std::to_string(first) + ".png"));
    key(SDL_SCANCODE_F7, SDLK_F7);
    EXPECT_TRUE(fs::is_regular_file(home / ("Screenshot_" + std::to_string(first + 1) + ".png")));
    key(SDL_SCANCODE_F7, SDLK_F7);
    EXPECT_TRUE(fs::is_regular_file(home / ("Screenshot_" + std::to_string(first + 2) + ".png")));
    EXPECT_EQ(Solitaire::Screenshots::getScreenshotCounter(), first + 3);
}

// A player with tutorials on who has seen the screens' own pages and those of the cards a deal may
// bring (a joker, a wildcard, an extra card).
class LockTutorialTest : public KeysAsPlayedTest {
protected:
    void SetUp() override {
        profileText =
            "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"><TUTORIAL SHOW=\"1\">\"|TUTORIALMENU|\" "
            "\"|HAUPTMENU|\" \"|FREIESSPIELMENU|\" \"|INGAMEMENU_FG|\" \"|JOKER_FOUND|\" \"|WILDCARD_FOUND|\" "
            "\"|EXTRACARD_FOUND|\"</TUTORIAL></PROFIL></PROFILE>";
        KeysAsPlayedTest::SetUp();
    }
    static std::wstring onScreen() {
        Solitaire::SolTutorialManager const& tutorials = Solitaire::SolTutorialManager::instance();
        Orvex::TutorialStrip const* strip = tutorials.getCurrentStrip();
        return tutorials.isRunning() && strip ? strip->getName() : L"-";
    }
};

// "Zellen" deals a gold lock: the first deal shows its page, with its text; the page closes by
// its button and does not come again.
TEST_F(LockTutorialTest, ZellenDealsALockAndItsPageComesOnce) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_FreiesSpiel");
    ASSERT_EQ(activeMenu(), L"FREIESSPIELMENU");
    clickOn(L"FG_Kategorie_KLASSIKER");
    clickOn(L"FG_Game_ZELLEN");
    clickOn(L"FG_StartButton");
    settle();
    ASSERT_EQ(activeMenu(), L"TUTORIALMENU");
    EXPECT_EQ(onScreen(), L"LOCKED_CARDS_FOUND_0");
    Orvex::GUILabel* text = Solitaire::findLabel(L"T_SOLITAIREHELP_TEXT");
    ASSERT_NE(text, nullptr);
    std::wstring const expected = Orvex::languageText(L"TUT_LOCKED_CARDS_FOUND_0");
    EXPECT_NE(expected.find(L"Schloss"), std::wstring::npos);
    EXPECT_EQ(text->getText(), expected);
    keep("played_lock_tutorial");
    clickOn(L"T_Weiter");
    settle();
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_EQ(onScreen(), L"-");
    // A new deal of the same variant brings no page: it was seen.
    key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    settle();
    ASSERT_EQ(activeMenu(), L"PAUSEMENU");
    clickOn(L"P_NEUSTART");
    settle();
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
    EXPECT_EQ(onScreen(), L"-");
}

// Every lock page a deal or an opened lock can ask for has a strip whose page has a text in
// both languages.
TEST_F(LockTutorialTest, EveryLockColourHasItsPagesAndTexts) {
    for (std::wstring const kind : {L"LOCKED_CARDS_FOUND_", L"CARD_UNLOCKED_"})
        for (int k = 0; k < 4; ++k) {
            std::wstring const name = kind + std::to_wstring(k);
            Orvex::TutorialStrip* strip = nullptr;
            for (Orvex::TutorialStrip* s : Orvex::TutorialManager::instance().getStrips())
                if (s->getName() == name) strip = s;
            ASSERT_NE(strip, nullptr) << minigametest::narrow(name);
            ASSERT_EQ(strip->getPages().size(), 1u);
            EXPECT_FALSE(Orvex::languageText(L"TUT_" + name).empty()) << minigametest::narrow(name);
        }
}

// A player who has seen the story's page presses the options' story reset: the page is due again.
class StoryResetTest : public KeysAsPlayedTest {
protected:
    void SetUp() override {
        profileText = "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"><TUTORIAL SHOW=\"0\"/>"
                      "<STORY>\"|STORY|\"</STORY></PROFIL></PROFILE>";
        KeysAsPlayedTest::SetUp();
    }
};

TEST_F(StoryResetTest, TheOptionsStoryResetMakesTheStoryDueAgain) {
    Solitaire::Profil* anna = Solitaire::ProfilManager::instance().getActiveProfile();
    ASSERT_NE(anna, nullptr);
    EXPECT_FALSE(anna->shouldShowTutorial(L"STORY"));
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_Optionen");
    ASSERT_EQ(activeMenu(), L"OPTIONENMENU");
    Orvex::GUILabel const* caption = Solitaire::labelOf(find(L"ResetStory"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->getText(), Orvex::languageText(L"O_STORY_RESET"));
    keep("played_options_story_reset");
    clickOn(L"ResetStory");
    EXPECT_TRUE(anna->shouldShowTutorial(L"STORY"));
    EXPECT_EQ(activeMenu(), L"OPTIONENMENU");
}

// A player who has seen the rules of "Goldrausch": the deal brings no page; the pause screen's
// "Hilfe" goes back to the table and shows the game's rules there, as the table's "i" does, not the
// start tutorial again.
class StartTutorialTest : public KeysAsPlayedTest {
protected:
    void SetUp() override {
        profileText =
            "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"><TUTORIAL SHOW=\"1\">\"|TUTORIALMENU|\" "
            "\"|HAUPTMENU|\" \"|FREIESSPIELMENU|\" \"|INGAMEMENU_FG|\" \"|JOKER_FOUND|\" \"|WILDCARD_FOUND|\" "
            "\"|EXTRACARD_FOUND|\" \"|PAUSEMENU|\"</TUTORIAL><SOLITAIRE_TUTORIALS>\"|SOLITAIRE_GOLDRAUSCH|\""
            "</SOLITAIRE_TUTORIALS></PROFIL></PROFILE>";
        KeysAsPlayedTest::SetUp();
    }
};

TEST_F(StartTutorialTest, ThePauseScreensHelpShowsTheRulesAsTheInfoButtonDoes) {
    ASSERT_NO_FATAL_FAILURE(toMainMenu());
    clickOn(L"H_FreiesSpiel");
    clickOn(L"FG_Kategorie_KLASSIKER");
    clickOn(L"FG_Game_GOLDRAUSCH");
    clickOn(L"FG_StartButton");
    settle();
    ASSERT_EQ(activeMenu(), L"INGAMEMENU") << "seen: not shown at the start";
    wait(3.0);  // the deal lands and the help panel has come
    Solitaire::SolVariant const* variant = Solitaire::SolitaireManager::instance().getCurrentVariant();
    ASSERT_NE(variant, nullptr);
    std::wstring const rules = Orvex::languageText(variant->getRulesTextId());
    ASSERT_FALSE(rules.empty());
    Solitaire::SolTutorialManager const& tutorials = Solitaire::SolTutorialManager::instance();
    struct Way {
        char const* what;
        bool fromPause;
        wchar_t const* button;
    } const ways[] = {{"the pause screen's Hilfe", true, L"P_HILFE"}, {"the table's i", false, L"I_Info"}};
    for (Way const& way : ways) {
        SCOPED_TRACE(way.what);
        // The panel of the start, or of the way before, put away by a click beside the cards.
        click(D3DXVECTOR2(kQuietX, kQuietY));
        settle();
        Orvex::GUILabel* help = Solitaire::findLabel(L"I_Help");
        ASSERT_NE(help, nullptr);
        help->setText(L"");
        if (way.fromPause) {
            key(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
            settle();
            ASSERT_EQ(activeMenu(), L"PAUSEMENU");
        }
        clickOn(way.button);
        settle();
        EXPECT_EQ(activeMenu(), L"INGAMEMENU");
        EXPECT_FALSE(tutorials.isRunning());
        EXPECT_EQ(help->getText(), rules);
        EXPECT_EQ(find(L"I_Help")->getTargetState().name, L"CENTER");
        if (way.fromPause) keep("played_pause_help_rules");
    }
}

// A player with tutorials on who has not yet seen the tutorial menu's pages nor the main menu's.
class TutorialTextTest : public KeysAsPlayedTest {
protected:
    void SetUp() override {
        profileText =
            "<PROFILE ACTIVE_PROFIL=\"Anna\"><PROFIL NAME=\"Anna\"><TUTORIAL SHOW=\"1\">\"|FREIESSPIELMENU|\" "
            "\"|INGAMEMENU_FG|\" \"|JOKER_FOUND|\" \"|WILDCARD_FOUND|\" \"|EXTRACARD_FOUND|\"</TUTORIAL></PROFIL>"
            "</PROFILE>";
        KeysAsPlayedTest::SetUp();
    }
    bool shown(wchar_t const* name) {
        Orvex::GUIWindow* window = find(name);
        return window && window->getOptions().visible;
    }
    Orvex::GUIScrollPanel* panel(wchar_t const* name) {
        return dynamic_cast<Orvex::GUIScrollPanel*>(find(name));
    }
    static std::wstring textOf(wchar_t const* name) {
        Orvex::GUILabel* label = Solitaire::findLabel(name);
        return label ? label->getText() : L"(none)";
    }
    // Light pixels (the page's text) in the visible part of a panel.
    int lightPixelsIn(wchar_t const* name) {
        Orvex::FRect const r = find(name)->getScreenRect();
        std::vector<uint32_t> const shot = pixels();
        int light = 0;
        for (float y = r.top + 1; y < r.bottom - 1; y += 1.0f)
            for (float x = r.left + 1; x < r.right - 17; x += 1.0f) {
                uint32_t const c = pixelAt(shot, D3DXVECTOR2(x, y));
                if (((c >> 16) & 0xFF) > 0xA0 && ((c >> 8) & 0xFF) > 0xA0 && (c & 0xFF) > 0xA0) ++light;
            }
        return light;
    }
    // "Next" until no page is on screen.
    void pageThrough() {
        for (int i = 0; i < 10 && Solitaire::SolTutorialManager::instance().isRunning(); ++i) {
            clickOn(L"T_Weiter");
            settle();
        }
    }
};

// The screens' pages write into the help panel, the table's into the solitaire help; only the
// panel of the page on screen shows, so the text an earlier page left in the other is not seen.
TEST_F(TutorialTextTest, ScreenPagesUseTheHelpPanelAndTablePagesTheSolitaireHelp) {
    if (activeMenu() == L"STARTMENU") clickOn(L"SM_Fenster");
    settle();
    ASSERT_EQ(activeMenu(), L"TUTORIALMENU");
    EXPECT_EQ(textOf(L"T_HELP_TEXT"), Orvex::languageText(L"TUT_TUTORIALMENU_1"));
    EXPECT_TRUE(shown(L"T_HELP_SCROLL"));
    EXPECT_FALSE(shown(L"T_SOLITAIREHELP_SCROLL"));
    EXPECT_GT(lightPixelsIn(L"T_HELP_SCROLL"), 50) << "the page's text is drawn";
    Orvex::GUIScrollPanel* help = panel(L"T_HELP_SCROLL");
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->getContentOffset().y, 0.0f) << "the text stands at its start";
    EXPECT_EQ(Solitaire::findLabel(L"T_HELP_TEXT")->getScreenRect().top, help->getContentPanel()->getScreenRect().top);
    keep("tutorial_help_text");
    clickOn(L"T_Weiter");
    settle();
    EXPECT_EQ(textOf(L"T_HELP_TEXT"), Orvex::languageText(L"TUT_TUTORIALMENU_2"));
    pageThrough();
    ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    clickOn(L"H_FreiesSpiel");
    clickOn(L"FG_Kategorie_KLASSIKER");
    clickOn(L"FG_Game_ZELLEN");
    clickOn(L"FG_StartButton");
    settle();
    ASSERT_EQ(activeMenu(), L"TUTORIALMENU");
    EXPECT_EQ(textOf(L"T_SOLITAIREHELP_TEXT"), Orvex::languageText(L"TUT_LOCKED_CARDS_FOUND_0"));
    EXPECT_FALSE(textOf(L"T_HELP_TEXT").empty()) << "the help panel keeps the main menu's last page";
    EXPECT_TRUE(shown(L"T_SOLITAIREHELP_SCROLL"));
    EXPECT_FALSE(shown(L"T_HELP_SCROLL"));
    EXPECT_GT(lightPixelsIn(L"T_SOLITAIREHELP_SCROLL"), 50);
    Orvex::GUIScrollPanel* solitaire = panel(L"T_SOLITAIREHELP_SCROLL");
    EXPECT_EQ(solitaire->getContentOffset().y, 0.0f) << "the text stands at its start";
    keep("tutorial_solitaire_help_text");
}

}  // namespace
