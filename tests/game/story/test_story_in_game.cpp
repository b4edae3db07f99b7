// The shipped story played in the real game, headless, as a player plays it: every action an SDL
// event through the real window, frames at the fixed step of 1/60 s. The game runs on a copy of
// its own data whose campaign levels are all the row of hearts (tests/game/app/flow_data), so
// levels are passed by dragging the hearts onto the goal pile; chapter 1's first level keeps the
// shipped start tutorial. A fresh profile (tutorials on) goes from the start screen to the level
// screen, where the intro plays first (its text and sun read back from the screen), then the
// screen's tutorial page shows over the level cards; passing four of chapter 0's six levels finishes the chapter and
// brings the rest scene and its mini-game, whose end brings the tower scene, chapter 1's intro,
// which starts chapter 1 and its tutorial once. The profiles
// live in a file of the stage, so a second game object reads what the first saved.
//
// The sun's sparks fly and show over the scene while no game runs, and a skipped scene takes
// them along: the level after it starts without them.
//
// Screenshots of the scenes go to the build folder's "screenshots" ("story_*.png").
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/XMLNode.h"
#include "engine/gui/GUIWindow.h"
#include "engine/gui/TutorialStrip.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/AchivementManager.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/cards/TableRenderer.h"
#include "game/look/StyleSettings.h"
#include "game/minigames/Minispiel.h"
#include "game/minigames/MinispielManager.h"
#include "game/particles/SolPartikel.h"
#include "game/particles/SolPartikelManager.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryPart.h"
#include "game/story/StoryPartPart.h"
#include "port/win32/win32_paths.h"
#include "tests/game/minigames/MinigameFixture.h"
#include "tests/game/story/StoryFixture.h"
#include "tests/support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using Solitaire::SolTutorialManager;

// Light pixels a line of text leaves at least.
constexpr int kLettersAtLeast = 200;

class StoryInGameTest : public minigametest::MinigameFixture {
protected:
    void SetUp() override {
        makeHome("story_game", std::string(), true);
        std::string levels = testsupport::readFile(testsupport::sourceDir() / "tests/game/app/flow_data/Level.dat");
        // Chapter 1's first level keeps the start tutorial the shipped catalogue gives it.
        std::string const k1l0 = "<GAME NAME=\"KAPITEL_1\">\n\t\t\t<VARIANTE NAME=\"LEVEL_0\" FILE=\"data\\Level\\Herzreihe.sol\"";
        std::size_t const at = levels.find(k1l0);
        ASSERT_NE(at, std::string::npos);
        levels.insert(at + k1l0.size(), " START_TUTORIAL=\"SOLITAIRE_ZELLEN\"");
        testsupport::writeFile(home / "data/Level/Level.dat", levels);
        withStory = true;
        playerTutorials = true;
        MinigameFixture::SetUp();
    }
    void TearDown() override {
        SolTutorialManager::instance().closeTutorial();
        SolTutorialManager::instance().setProfile(nullptr);
        MinigameFixture::TearDown();
        removeHome();
    }
    // The game object built again on the same stage and profile file (as a new start of the game).
    void restart() {
        SolTutorialManager::instance().closeTutorial();
        SolTutorialManager::instance().setProfile(nullptr);
        MinigameFixture::TearDown();
        Solitaire::SolitaireManager::instance().clear();
        withPlayer = false;
        MinigameFixture::SetUp();
    }

    Solitaire::Profil* profile() const { return Solitaire::ProfilManager::instance().getActiveProfile(); }
    std::wstring sceneName() const { return scene() ? scene()->getName() : L"-"; }
    std::wstring strip() const {
        Orvex::TutorialStrip const* s = SolTutorialManager::instance().getCurrentStrip();
        return SolTutorialManager::instance().isRunning() && s ? s->getName() : L"-";
    }
    float achievement(wchar_t const* name) const {
        Solitaire::Achivement const* a = Solitaire::AchivementManager::instance().find(name);
        return a ? a->getValue() : -1.0f;
    }

    // Pages of ordinary tutorials (not the story's strip) clicked on until none is up.
    void closeTutorials() {
        for (int i = 0; i < 20 && strip() != L"-" && strip() != L"STORY"; ++i) clickOn(L"T_Weiter");
        EXPECT_TRUE(strip() == L"-" || strip() == L"STORY") << minigametest::narrow(strip());
    }
    // From the start screen through the main menu and the chapter screen to a chapter's levels.
    void enterLevelScreen(int chapter = 0) {
        if (activeMenu() == L"STARTMENU") clickOn(L"SM_Fenster");
        closeTutorials();
        ASSERT_EQ(activeMenu(), L"HAUPTMENU");
        clickOn(L"H_Kampagne");
        closeTutorials();
        ASSERT_EQ(activeMenu(), L"KATEGORIEMENU");
        clickOn(L"K_KategorieButton" + std::to_wstring(chapter + 1));
    }
    // Frames until the scene reaches the switch (or ends); the seconds it took.
    double runToSwitch(int index) {
        double seconds = 0.0;
        while (scene() && scene()->currentSwitch < index && seconds < kSceneLimit) {
            tick(false);
            seconds += kStep;
        }
        tick(true);
        return seconds;
    }
    // The dealt row of hearts won by dragging each heart onto the goal pile, ace first; then the
    // results screen.
    void winLevel() {
        closeTutorials();
        winRowOfHearts();
    }

    // Pixels of the rectangle whose red, green and blue are all above 0xC0 (white letters).
    int lightPixels(std::vector<uint32_t> const& shot, Orvex::FRect const& r) const {
        int n = 0;
        for (int y = static_cast<int>(r.top); y < static_cast<int>(r.bottom); ++y)
            for (int x = static_cast<int>(r.left); x < static_cast<int>(r.right); ++x) {
                uint32_t const c = pixelAt(shot, D3DXVECTOR2(static_cast<float>(x), static_cast<float>(y)));
                n += ((c >> 16) & 0xFF) > 0xC0 && ((c >> 8) & 0xFF) > 0xC0 && (c & 0xFF) > 0xC0 ? 1 : 0;
            }
        return n;
    }

    storytest::MusicRecorder music;
};

TEST_F(StoryInGameTest, TheStoryAdvancesSceneBySceneAsTheProfilePlays) {
    ASSERT_NE(profile(), nullptr);
    float const seen = achievement(L"STORY_GESEHEN");
    music.listen();

    // ---- the intro, on the first entry to the level screen ----
    enterLevelScreen();
    ASSERT_EQ(sceneName(), L"STORY_INTRO");
    EXPECT_TRUE(profile()->isUnlocked(L"STORY_INTRO_BEGONNEN"));
    EXPECT_TRUE(profile()->isUnlocked(L"STORY_LAEUFT"));
    // The scene comes first, with no level cards behind it; the screen's tutorial waits for it.
    EXPECT_EQ(strip(), L"STORY") << "the story's strip, forced";
    EXPECT_EQ(find(L"LA_LevelButton_0"), nullptr);
    EXPECT_EQ(activeMenu(), L"TUTORIALMENU");
    EXPECT_EQ(music.heard, (std::vector<std::wstring>{L"stop standard", L"play STORY"}));
    keep("story_intro_switch0");
    // Timed switches 0 and 1 pass by themselves; 2 moves on at a click, 3 only at one.
    runToSwitch(1);
    wait(1.0);
    keep("story_intro_mid_glide");
    runToSwitch(2);
    EXPECT_EQ(scene()->currentSwitch, 2);
    clickStory();
    EXPECT_EQ(scene()->currentSwitch, 3);
    wait(8.0);
    ASSERT_NE(scene(), nullptr);
    EXPECT_EQ(scene()->currentSwitch, 3) << "switch 3 waits for a click";
    keep("story_intro_switch3");
    // Its text over the panel: light letters in the text element's rectangle.
    Solitaire::StoryPartPart const* text = scene()->findPart(L"TEXT3");
    ASSERT_NE(text, nullptr);
    std::vector<uint32_t> const shot = pixels();
    EXPECT_GT(lightPixels(shot, text->screenRect), kLettersAtLeast) << "the text is drawn over its panel";
    // The risen sun at its second place, yellow in the middle of its rectangle.
    Solitaire::StoryPartPart const* sun = scene()->findPart(L"SONNE");
    ASSERT_NE(sun, nullptr);
    uint32_t const sunColour = pixelAt(shot, middleOf(sun->screenRect));
    EXPECT_GT((sunColour >> 16) & 0xFF, 0xE0u) << std::hex << sunColour;
    EXPECT_GT((sunColour >> 8) & 0xFF, 0xB0u) << std::hex << sunColour;
    EXPECT_LT(sunColour & 0xFF, 0xB0u) << std::hex << sunColour;
    EXPECT_LT(sun->screenRect.top, 0.2f * static_cast<float>(kScreenHeight)) << "risen";
    // The end: POST unlocks before the strip closes, POST_POST after.
    struct Closing : sigslot::has_slots<sigslot::single_threaded> {
        std::vector<bool> seen;
        Solitaire::Profil* profile = nullptr;
        void onClosed() {
            seen = {profile->isUnlocked(L"STORY_INTRO_GESEHEN"), profile->isUnlocked(L"STORY_INTRO_ABGESCHLOSSEN")};
        }
    } closing;
    closing.profile = profile();
    SolTutorialManager::instance().tutorialClosed.connect(&closing, &Closing::onClosed);
    clickStory();
    EXPECT_EQ(scene()->currentSwitch, 4);
    keep("story_intro_last_switch");
    runToSwitch(5);
    SolTutorialManager::instance().tutorialClosed.disconnect(&closing);
    EXPECT_EQ(scene(), nullptr);
    EXPECT_EQ(closing.seen, (std::vector<bool>{true, false}));
    for (wchar_t const* name : {L"STORY_INTRO_GESEHEN", L"STORY_INTRO_FRISCH", L"STORY_INTRO_ABGESCHLOSSEN",
                                L"STORY_INTRO_HINWEIS"})
        EXPECT_TRUE(profile()->isUnlocked(name)) << minigametest::narrow(name);
    settle();
    // The scene's end menu, the level screen, with its cards and its tutorial over them.
    EXPECT_EQ(strip(), L"LEVELAUSWAHLMENU");
    Orvex::GUIWindow const* card = find(L"LA_LevelButton_0");
    ASSERT_NE(card, nullptr);
    EXPECT_TRUE(card->getOptions().visible);
    keep("story_level_tutorial_after_intro");
    EXPECT_EQ(achievement(L"STORY_GESEHEN"), seen + 1.0f);
    EXPECT_EQ(music.heard.back(), L"standard") << "the standard music is back";
    closeTutorials();
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    keep("story_level_screen_after_intro");

    // ---- never the intro again; four of the chapter's six levels passed bring the rest scene ----
    clickOn(L"LA_CLOSE");
    closeTutorials();
    clickOn(L"K_KategorieButton1");
    EXPECT_EQ(scene(), nullptr) << "the intro plays once";
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    clickOn(L"LA_LevelButton_0");
    EXPECT_EQ(sceneName(), L"-");
    winLevel();
    EXPECT_TRUE(profile()->isUnlocked(L"K0_L0_BESTANDEN"));
    for (int level = 1; level < 4; ++level) {
        clickOn(L"A_NEXT");
        EXPECT_EQ(sceneName(), L"-") << "no scene before the chapter is finished";
        EXPECT_EQ(game->getRunning().currentLevel, level);
        winLevel();
    }
    EXPECT_TRUE(profile()->isUnlocked(L"K0_L3_BESTANDEN"));
    EXPECT_TRUE(profile()->isUnlocked(L"KAPITEL_0_FINISHED"));
    clickOn(L"A_NEXT");
    ASSERT_EQ(sceneName(), L"STORY_RAST") << "the chapter's rest before the next level";
    EXPECT_EQ(strip(), L"STORY");
    playSceneToItsEnd("story_rast");
    EXPECT_EQ(activeMenu(), L"MINIGAMEMENU");
    ASSERT_NE(Solitaire::MinispielManager::instance().getActiveMinispiel(), nullptr);
    EXPECT_EQ(Solitaire::MinispielManager::instance().getActiveMinispiel()->getName(), L"MINIGAME_0");
    keep("story_rast_minigame");
    skipFromHelp();
    settle();
    // The skip is told on the mini-game's screen; going on brings chapter 1's intro, the tower,
    // which starts chapter 1 and its tutorial once.
    expectTold(L"MINISPIEL_E_TITEL_VERLOREN", L"\u00fcbersprungen");
    struct Shown : sigslot::has_slots<sigslot::single_threaded> {
        std::vector<std::wstring> names;
        void onShown() {
            Orvex::TutorialStrip const* s = SolTutorialManager::instance().getCurrentStrip();
            names.push_back(s ? s->getName() : L"");
        }
    } shown;
    SolTutorialManager::instance().tutorialStarted.connect(&shown, &Shown::onShown);
    clickOn(L"MINISPIEL_E_Weiter");
    EXPECT_TRUE(profile()->isUnlocked(L"MINIGAME_0_FINISHED"));
    EXPECT_EQ(achievement(L"STORY_GESEHEN"), seen + 2.0f);
    ASSERT_EQ(sceneName(), L"STORY_TURM");
    playSceneToItsEnd("story_turm");
    SolTutorialManager::instance().tutorialStarted.disconnect(&shown);
    EXPECT_EQ(activeMenu(), L"TUTORIALMENU") << "the level's tutorial over its table";
    EXPECT_EQ(game->getRunning().currentChapter, 1);
    EXPECT_EQ(game->getRunning().currentLevel, 0);
    EXPECT_EQ(achievement(L"STORY_GESEHEN"), seen + 3.0f);
    int zellen = 0;
    for (std::wstring const& name : shown.names) zellen += name == L"SOLITAIRE_ZELLEN" ? 1 : 0;
    EXPECT_EQ(zellen, 1) << "the tutorial once";
    keep("story_turm_level_tutorial");
    closeTutorials();
    EXPECT_EQ(activeMenu(), L"INGAMEMENU");
}

// The intro skipped by its round button; its unlocks are in the profile file the game writes
// when it ends, the temporary ones not; the next start plays no intro for that profile, while a
// second profile made on the profile screen sees it again.
TEST_F(StoryInGameTest, UnlocksOutliveASaveAndASecondProfileSeesTheIntroAgain) {
    enterLevelScreen();
    closeTutorials();
    ASSERT_EQ(sceneName(), L"STORY_INTRO");
    ASSERT_EQ(strip(), L"STORY");
    wait(0.5);
    click(storyPoint(0.93f, 0.91f));  // the skip element "WEITER"
    EXPECT_EQ(scene(), nullptr) << "the round button skips the intro";
    settle();
    EXPECT_EQ(strip(), L"LEVELAUSWAHLMENU") << "the level screen's tutorial after the scene";
    closeTutorials();
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    EXPECT_TRUE(profile()->isUnlocked(L"STORY_INTRO_FRISCH"));
    std::wstring const first = profile()->getName();

    restart();
    ASSERT_NE(profile(), nullptr);
    EXPECT_EQ(profile()->getName(), first);
    for (wchar_t const* name : {L"STORY_INTRO_BEGONNEN", L"STORY_INTRO_GESEHEN", L"STORY_INTRO_ABGESCHLOSSEN"})
        EXPECT_TRUE(profile()->isUnlocked(name)) << minigametest::narrow(name);
    for (wchar_t const* name : {L"STORY_LAEUFT", L"STORY_INTRO_FRISCH", L"STORY_INTRO_HINWEIS"})
        EXPECT_FALSE(profile()->isUnlocked(name)) << minigametest::narrow(name) << " lasts one session";
    enterLevelScreen();
    closeTutorials();
    EXPECT_EQ(scene(), nullptr) << "no intro for a profile that saw it";
    EXPECT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");

    // A second profile, made on the profile screen with the name the dialog offers.
    clickOn(L"LA_CLOSE");
    closeTutorials();
    clickOn(L"K_BACK");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"HAUPTMENU");
    clickOn(L"H_Profile");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"PROFILMENU");
    clickOn(L"P_NEUButton");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"NEUESPROFIL");
    clickOn(L"NP_OKButton");
    closeTutorials();
    ASSERT_NE(profile(), nullptr);
    EXPECT_NE(profile()->getName(), first);
    if (activeMenu() == L"PROFILMENU") clickOn(L"P_Back");
    closeTutorials();
    enterLevelScreen();
    closeTutorials();
    EXPECT_EQ(sceneName(), L"STORY_INTRO") << "a second profile sees the intro";
    EXPECT_EQ(strip(), L"STORY");
    keep("story_intro_second_profile");
}

// The sparks the sun's emitter throws at switch 2 live on a screen layer: they fly (age and move)
// and are drawn over the story picture while no game runs. Skipping the scene ends its emitter,
// and the sparks die out before the level behind it is dealt: its table gets none.
TEST_F(StoryInGameTest, TheSunsSparksFlyOverTheSceneAndEndWithIt) {
    Solitaire::SolPartikelManager& particles = Solitaire::SolPartikelManager::instance();
    auto sparks = [&] {
        std::vector<Solitaire::SolPartikel*> found;
        for (Solitaire::SolPartikel* p : particles.liveParticles())
            if (p->getName() == L"STORY_FUNKE") found.push_back(p);
        return found;
    };
    enterLevelScreen();
    ASSERT_EQ(sceneName(), L"STORY_INTRO");
    closeTutorials();
    runToSwitch(2);
    ASSERT_EQ(scene()->currentSwitch, 2);
    Solitaire::StoryPartPart const* sun = scene()->findPart(L"SONNE");
    ASSERT_NE(sun, nullptr);
    ASSERT_NE(sun->emitter, nullptr);
    EXPECT_NE(sun->emitter->getLayer(), 0) << "a screen layer, updated and drawn outside a game";
    ticks(20);
    std::vector<Solitaire::SolPartikel*> const flying = sparks();
    ASSERT_FALSE(flying.empty());
    EXPECT_GT(flying.front()->getAge(), 0.0f) << "they are updated";
    // Drawn: the sparks' pictures change the frame where they fly (the same frame without them is
    // the scene alone).
    tick(true);
    std::vector<uint32_t> const with = pixels();
    keep("story_intro_sparks");
    float const drawMult = Solitaire::StyleSettings::instance().getParticleSpawnMult();
    Solitaire::StyleSettings::instance().setParticleSpawnMult(0.0f);  // particles not drawn
    tick(true);
    std::vector<uint32_t> const without = pixels();
    Solitaire::StyleSettings::instance().setParticleSpawnMult(drawMult);
    int changed = 0;
    for (Solitaire::SolPartikel const* p : sparks()) {
        D3DXVECTOR2 const at = p->getPosition();
        if (at.x < 0.0f || at.y < 0.0f || at.x >= kScreenWidth || at.y >= kScreenHeight) continue;
        changed += pixelAt(with, at) != pixelAt(without, at);
    }
    EXPECT_GT(changed, 0) << "the sparks are drawn over the scene";
    // Skipped: the emitter ends with the scene, the sparks die out.
    clickOn(L"T_END_STORY_CLICK");
    EXPECT_EQ(scene(), nullptr);
    EXPECT_EQ(sun->emitter, nullptr) << "ended with the scene";
    wait(2.0);
    EXPECT_TRUE(sparks().empty());
    for (Solitaire::SolPartikel* e : particles.liveEmitters()) EXPECT_NE(e->getName(), L"STORY_SONNE_EMITTER");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    clickOn(L"LA_LevelButton_0");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    wait(1.0);
    EXPECT_TRUE(sparks().empty()) << "no sparks of the scene on the table";
}

}  // namespace
