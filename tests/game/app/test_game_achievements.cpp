// The achievement screen and the medal popup on the shipped achievements and screens: every
// achievement in its place with what it counts, medal pictures, percentages (clamped), progress
// lines, locked texts, the text box, the cup bar, the hover particle, and the popup's queue, which
// waits while a quiet screen is shown.
#include <gtest/gtest.h>

#include <set>

#include <string>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUILabel.h"
#include "engine/gui/GUIProgressBar.h"
#include "engine/gui/GUITooltipParam.h"
#include "engine/render/Texture2DAnimation.h"
#include "engine/render/Texture2DAnimationManager.h"
#include "game/app/SolitaireGame2.h"
#include "port/win32/win32_text.h"
#include "tests/game/app/ScreensFixture.h"

namespace {

using Solitaire::Achivement;

class GameAchievementsTest : public apptest::ScreensFixture {
protected:
    static Achivement& achievement(wchar_t const* name) {
        Achivement* found = Solitaire::AchivementManager::instance().find(name);
        EXPECT_NE(found, nullptr);
        return *found;
    }
    // The name of the picture the window shows.
    static std::wstring pictureOf(std::wstring const& window) {
        Orvex::GUIWindow* w = find(window);
        if (!w) return L"(no window)";
        Orvex::Texture2DAnimation* picture = w->getDrawOptions().getAniBackground();
        return picture ? picture->getName() : L"(none)";
    }
    static std::wstring tooltipOf(std::wstring const& window) {
        std::wstring text;
        if (Orvex::GUIWindow* w = find(window))
            if (Orvex::GUITooltipParam* tooltip = w->getFirstTooltipParam()) tooltip->getText(text);
        return text;
    }
    static float cupBar() { return dynamic_cast<Orvex::GUIProgressBar*>(find(L"ACH_CUP_GESAMT"))->getValue(); }
    Solitaire::AchievementScreen& screen() { return game->getAchievementScreen(); }
    // The menu "MINIGAMEMENU" (made by the mini-games' screens) for the popup's quiet list.
    static void addMinigameMenu() {
        Orvex::XMLNode root;
        ASSERT_TRUE(root.parse(L"<MENUES><GUIMENUS><GUIMENU NAME=\"MINIGAMEMENU\" MENU_ID=\"1\"/></GUIMENUS></MENUES>"));
        Orvex::GUIMenuManagerN::instance().load(root, L"minigame menu");
    }
    // Shows every queued popup to its end on the main menu.
    void flushPopups() {
        showMenu(L"HAUPTMENU");
        for (int i = 0; i < 40 && (screen().getPopupTimer() > 0.0f || screen().getQueuedMedals() > 0); ++i)
            step(1.0);
        step(1.0);
    }
    // The hidden "TEXT_" label shows its own percentage once it is visible.
    static void showTextLabel(std::wstring const& name) { find(L"TEXT_" + name)->getOptions().visible = true; }
};

TEST_F(GameAchievementsTest, EntriesShowMedalPercentAndProgress) {
    struct Case {
        wchar_t const* name;  // thresholds in data/achivement.acv
        float value;
        wchar_t const* picture;
        wchar_t const* label;     // percent of the next threshold
        wchar_t const* progress;  // value / next threshold
    };
    Case const cases[] = {
        {L"LEVEL_PLAYED", 15.0f, L"BRONZE_LEVEL_PLAYED", L"60 %", L"15 / 25 Level"},          // 5 25 100
        {L"LEVEL_PLAYED", 0.0f, L"NIX_LEVEL_PLAYED", L"0 %", L"0 / 5 Level"},
        {L"STARS", 100.0f, L"SILBER_STARS", L"40 %", L"100 / 250 Sterne"},                  // 10 60 250
        {L"STARS", 1e30f, L"GOLD_STARS", L"100 %", L"2147483647 / 250 Sterne"},             // held in range
        {L"KARTEN_MOVED", 10000.0f, L"GOLD_KARTEN_MOVED", L"100 %", L"10000 / 10000 Karten"},  // gold
    };
    for (Case const& c : cases) {
        achievement(c.name).setValue(c.value);
        showTextLabel(c.name);
        screen().build();
        EXPECT_EQ(pictureOf(c.name), c.picture) << c.value;
        EXPECT_EQ(labelText(std::wstring(L"TEXT_") + c.name), c.label) << c.value;
        EXPECT_EQ(dynamic_cast<Orvex::GUILabel*>(find(c.name)->findChild(L"Progress"))->getText(), c.progress) << c.value;
    }
}

// Every achievement of the file stands in its own place on the screen, inside the frame and above
// the text box, with what it counts written over its count, all names different, a medal picture
// for each medal and a headline for its popup.
TEST_F(GameAchievementsTest, EveryAchievementNamesWhatItCountsInItsOwnPlace) {
    showMenu(L"ACHIVEMENTS_MENU");
    for (int i = 0; i < 20; ++i) step(0.05);
    std::vector<uint32_t> const pixels = frame();
    keepBackBuffer("screen_achievements_names.png");
    Orvex::FRect const screen = find(L"ACH_Rahmen")->getScreenRect();
    float const textBox = find(L"ACHIVE_TEXT_BOX")->getScreenRect().top;
    std::set<std::wstring> achievements, names;
    std::vector<Orvex::FRect> places;
    for (Achivement const* a : Solitaire::AchivementManager::instance().getAll()) {
        std::wstring const& name = a->getName();
        EXPECT_TRUE(achievements.insert(name).second) << "twice in the registry";
        std::string const what = port::toUtf8(name);
        Orvex::GUIWindow* tile = find(name);
        ASSERT_NE(tile, nullptr) << what;
        Orvex::FRect const r = tile->getScreenRect();
        EXPECT_TRUE(r.left >= screen.left && r.right <= screen.right && r.top >= screen.top && r.bottom <= textBox) << what;
        for (Orvex::FRect const& other : places)
            EXPECT_FALSE(r.left < other.right && other.left < r.right && r.top < other.bottom && other.top < r.bottom)
                << what << " overlaps another";
        places.push_back(r);
        auto* label = dynamic_cast<Orvex::GUILabel*>(tile->findChild(L"Name"));
        ASSERT_NE(label, nullptr) << what;
        EXPECT_FALSE(label->getText().empty()) << what;
        EXPECT_TRUE(names.insert(label->getText()).second) << what << " shares its name";
        EXPECT_GT(lightPixelsIn(pixels, label->getScreenRect()), 20) << what << ": the name is written";
        auto* progress = dynamic_cast<Orvex::GUILabel*>(tile->findChild(L"Progress"));
        ASSERT_NE(progress, nullptr) << what;
        EXPECT_GT(lightPixelsIn(pixels, progress->getScreenRect()), 20) << what << ": the count is written";
        for (wchar_t const* medal : {L"NIX_", L"BRONZE_", L"SILBER_", L"GOLD_"})
            EXPECT_NE(Orvex::Texture2DAnimationManager::instance().findAnimation(medal + name), nullptr) << what;
        // The popup's headline and the count's words.
        for (std::wstring const& text : {L"HEADLINE_" + name, L"DESC_PROG_" + name})
            EXPECT_NE(Solitaire::findLanguageText(text), nullptr) << port::toUtf8(text);
    }
    EXPECT_EQ(achievements.size(), 31u);
}

TEST_F(GameAchievementsTest, TooltipTakesMedalWordsAndLockedShowsLockedTexts) {
    achievement(L"KARTEN_MOVED").setValue(150.0f);  // bronze of 100 1000 10000, "_OFFEN" text
    achievement(L"EXTRACARDS_CPT_ACCUM_2").setValue(30.0f);  // locked in the file, past every threshold
    showTextLabel(L"EXTRACARDS_CPT_ACCUM_2");
    screen().build();
    EXPECT_EQ(tooltipOf(L"KARTEN_MOVED"), L"");  // its hidden label took the text for the text box
    EXPECT_EQ(labelText(L"TEXT_KARTEN_MOVED"), L"Bronze: 150 von 1000 Karten bewegt (Silber ist das n\u00e4chste Ziel)");
    EXPECT_EQ(pictureOf(L"EXTRACARDS_CPT_ACCUM_2"), L"NIX_EXTRACARDS_CPT_ACCUM_2");
    EXPECT_EQ(labelText(L"TEXT_EXTRACARDS_CPT_ACCUM_2"), L"Gesperrt");
    EXPECT_EQ(tooltipOf(L"EXTRACARDS_CPT_ACCUM_2"), L"Dieser Erfolg wird sp\u00e4ter im Spiel freigeschaltet.");
}

TEST_F(GameAchievementsTest, CupBarAveragesClampedProgress) {
    screen().build();
    EXPECT_EQ(cupBar(), 0.0f);
    // 50 of gold 100 counts 50; a value past gold counts 100, not more.
    achievement(L"LEVEL_PLAYED").setValue(50.0f);
    achievement(L"STARS").setValue(1e9f);
    screen().build();
    // Every shipped achievement counts once.
    EXPECT_NEAR(cupBar(), 150.0f / static_cast<float>(Solitaire::AchivementManager::instance().getAll().size()), 1e-4);
    std::wstring tooltip;
    dynamic_cast<Orvex::GUIProgressBar*>(find(L"ACH_CUP_GESAMT"))->getFirstTooltipParam()->getText(tooltip);
    EXPECT_EQ(tooltip, L"Alle Erfolge zusammen: 5 %");
}

TEST_F(GameAchievementsTest, HoverShowsTextAndParticleOfTheMedal) {
    achievement(L"STARS").setValue(300.0f);  // gold
    screen().build();
    std::wstring const description = labelText(L"TEXT_STARS");
    screen().onEntryHovered(*find(L"STARS"));
    EXPECT_EQ(labelText(L"ACHIVE_TEXT_BOX"), description);
    ASSERT_NE(screen().getListParticle(), nullptr);
    EXPECT_EQ(screen().getHoveredAchievement(), &achievement(L"STARS"));
    // An entry without a medal has no particle; leaving gives the box its own text back.
    screen().onEntryHovered(*find(L"TIPP_USED"));
    EXPECT_EQ(screen().getListParticle(), nullptr);
    EXPECT_EQ(screen().getHoveredAchievement(), nullptr);
    screen().onEntryUnhovered(*find(L"TIPP_USED"));
    EXPECT_EQ(labelText(L"ACHIVE_TEXT_BOX"), L"Zeige auf eine Medaille, um zu lesen, wof\u00fcr sie steht.");
}

TEST_F(GameAchievementsTest, PopupsWaitWhileAQuietScreenIsShown) {
    addMinigameMenu();
    struct Case {
        wchar_t const* menu;
        bool shows;
    };
    Case const cases[] = {{L"MINIGAMEMENU", false}, {L"ACHIVEMENTS_MENU", false}, {L"USE_SETTINGS_MENU", false},
                          {L"HAUPTMENU", true},     {L"OPTIONENMENU", true}};
    for (Case const& c : cases) {
        achievement(L"TIPP_USED").setValue(0.0f);
        flushPopups();
        showMenu(c.menu);
        achievement(L"TIPP_USED").setValue(10.0f);  // bronze
        ASSERT_EQ(screen().getQueuedMedals(), 1u) << std::string(c.menu, c.menu + wcslen(c.menu));
        step(0.1);
        EXPECT_EQ(screen().getPopupTimer() > 0.0f, c.shows);
        EXPECT_EQ(screen().getQueuedMedals(), c.shows ? 0u : 1u);
        if (c.shows) {
            EXPECT_EQ(pictureOf(L"SOLITAIRE_ACHIVEMENT_PIC"), L"BRONZE_TIPP_USED");
            EXPECT_NE(screen().getPopupParticle(), nullptr);
        }
    }
}

TEST_F(GameAchievementsTest, PopupRunsFiveSecondsAndAMedalLostShowsTheEmptyPicture) {
    showMenu(L"HAUPTMENU");
    achievement(L"TIPP_USED").setValue(10.0f);  // bronze
    achievement(L"TIPP_USED").setValue(0.0f);   // back to no medal: announced too
    ASSERT_EQ(screen().getQueuedMedals(), 2u);
    step(0.1);
    EXPECT_FLOAT_EQ(screen().getPopupTimer(), 5.0f);
    // The popup shows the medal the achievement holds now.
    EXPECT_EQ(pictureOf(L"SOLITAIRE_ACHIVEMENT_PIC"), L"NIX_TIPP_USED");
    EXPECT_EQ(screen().getPopupParticle(), nullptr);
    step(4.8);
    EXPECT_GT(screen().getPopupTimer(), 0.0f);
    step(0.3);
    EXPECT_EQ(screen().getPopupTimer(), -1.0f);
    for (int i = 0; i < 30; ++i) step(0.1);  // the popup leaves, then the second one comes
    EXPECT_EQ(screen().getQueuedMedals(), 0u);
    EXPECT_GT(screen().getPopupTimer(), 0.0f);
}

// Each window the screen names, missing from its file, skips only its own step.
TEST_F(GameAchievementsTest, MissingWindowSkipsOnlyItsStep) {
    char const* const windows[] = {"ACHIVE_TEXT_BOX", "ACH_CUP_GESAMT", "TEXT_STARS", "STARS", "SOLITAIRE_ACHIVEMENT_PIC",
                                   "SOLITAIRE_ACHIVEMENT_LABEL", "SOLITAIRE_ACHIVEMENT_PARTIKEL", "SOLITAIRE_ACHIVEMENT"};
    for (char const* name : windows) {
        restartWithout("Erfolge.gui", name);
        achievement(L"LEVEL_PLAYED").setValue(15.0f);
        achievement(L"STARS").setValue(0.0f);
        achievement(L"STARS").setValue(100.0f);
        screen().build();
        if (Orvex::GUIWindow* stars = find(L"STARS")) screen().onEntryHovered(*stars);
        screen().onEntryHovered(*find(L"LEVEL_PLAYED"));
        screen().onEntryUnhovered(*find(L"LEVEL_PLAYED"));
        showMenu(L"HAUPTMENU");
        step(0.1);
        // The rest of the screen is filled.
        EXPECT_EQ(pictureOf(L"LEVEL_PLAYED"), L"BRONZE_LEVEL_PLAYED") << name;
        EXPECT_EQ(dynamic_cast<Orvex::GUILabel*>(find(L"LEVEL_PLAYED")->findChild(L"Progress"))->getText(),
                  L"15 / 25 Level")
            << name;
    }
}

// A second game object in the same process (as each test of a test program makes one) reads the
// definitions into an emptied registry: each achievement is there once, the screen fills each
// once, and the profile the game writes at its end holds each name once, with its count.
TEST_F(GameAchievementsTest, ASecondGameHoldsEachAchievementOnceAndItsProfileKeepsTheCount) {
    addProfile(L"Spieler");
    stop();
    startOn(testsupport::sourceDir(), kScreenWidth, kScreenHeight);
    ASSERT_NE(profiles().getActiveProfile(), nullptr);
    std::size_t const defined = Solitaire::AchivementManager::instance().getAll().size();
    EXPECT_EQ(defined, 31u);
    showMenu(L"HAUPTMENU");
    achievement(L"STARS").setValue(7.0f);
    showMenu(L"ACHIVEMENTS_MENU");
    EXPECT_EQ(pictureOf(L"STARS"), L"NIX_STARS");
    EXPECT_EQ(dynamic_cast<Orvex::GUILabel*>(find(L"STARS")->findChild(L"Progress"))->getText(), L"7 / 10 Sterne");
    stop();
    Orvex::XMLNode saved;
    ASSERT_TRUE(saved.load(cardstest::hostFile(profileFile), 1));
    Orvex::XMLNode const* data = saved.getChild(L"PROFIL")->getChild(L"ACHIVEMENT_DATA");
    ASSERT_NE(data, nullptr);
    std::set<std::wstring> names;
    for (Orvex::XMLNode const* entry : data->children())
        EXPECT_TRUE(names.insert(entry->getAttributeString(L"NAME", L"")).second)
            << port::toUtf8(entry->getAttributeString(L"NAME", L"")) << " twice";
    EXPECT_EQ(names.size(), defined);
    for (Orvex::XMLNode const* entry : data->children())
        if (entry->getAttributeString(L"NAME", L"") == L"STARS") EXPECT_EQ(entry->getAttributeString(L"VALUE", L""), L"7");
}

}  // namespace
