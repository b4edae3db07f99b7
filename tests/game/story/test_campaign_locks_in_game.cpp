// The shipped campaign's locks and its scenes' end actions played in the real game, headless,
// every action an SDL event through the window and frames at the fixed step of 1/60 s:
// - a player at the start of the chapter that brings a lock colour (tutorials on, the screens'
//   own tutorials seen) opens its first locked level after level 0 from the level screen; the
//   lock's scene plays in place of the level and, ended by clicks, starts that very level
//   ("START_NEXT_LEVEL"); then the lock's tutorial shows ("START_TUTORIAL"), over the dealt table
//   with the lock on it. The key laid on a goal pile by the pointer opens the lock and brings the
//   unlocked tutorial of that colour. One row per colour: silver in the row of hearts (the hearts
//   up to the four dragged onto the arc), copper in the pairs (the king with the key sent to the
//   discard by a double click), blue in the cells (the ace with the key dragged onto a
//   foundation);
// - a player who has passed the campaign's last level comes to the level screen: the homecoming
//   puts the main menu behind it as it starts ("ON_START_MENU"), and its end leaves the player
//   there.
// Screenshots: "campaign_lock_*.png" and "campaign_homecoming*.png" in the build folder's
// "screenshots".
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/gui/GUIMenuManagerN.h"
#include "engine/gui/GUIMenuN.h"
#include "engine/gui/TutorialStrip.h"
#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "game/app/SolVariant.h"
#include "game/app/SolitaireManager.h"
#include "game/cards/Karte.h"
#include "game/cards/Kartenmanager.h"
#include "game/cards/Kartenstapel.h"
#include "game/cards/Picking.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryPart.h"
#include "tests/game/app/CampaignProfiles.h"
#include "tests/game/minigames/MinigameFixture.h"

namespace {

using Solitaire::Karte;
using Solitaire::Kartenmanager;
using Solitaire::SolTutorialManager;

// Seconds for a move to be resolved.
constexpr double kMoveSeconds = 1.0;

Kartenmanager& cards() { return Kartenmanager::instance(); }

float colourCount(D3DXVECTOR4 const& v, int i) { return i == 0 ? v.x : i == 1 ? v.y : i == 2 ? v.z : v.w; }

// The first card of the table with a lock, resp. a key, of that colour.
Karte* lockOf(int colour) {
    for (Karte* card : cards().cards)
        if (colourCount(card->locks.goal, colour) != 0.0f) return card;
    return nullptr;
}
Karte* keyOf(int colour) {
    for (Karte* card : cards().cards)
        if (colourCount(card->keys.goal, colour) != 0.0f) return card;
    return nullptr;
}

// The tutorial strips shown, each with what the table held as it came up.
struct StripRecorder : sigslot::has_slots<> {
    struct Shown {
        std::wstring strip;
        std::wstring variant;  // the catalogue's current variant's rule file
        bool lockOnTable[4];
    };
    std::vector<Shown> shown;
    void onStarted() {
        Orvex::TutorialStrip const* strip = SolTutorialManager::instance().getCurrentStrip();
        Solitaire::SolVariant const* variant = Solitaire::SolitaireManager::instance().getCurrentVariant();
        Shown s{strip ? strip->getName() : L"-", variant ? variant->getFile() : L"-", {}};
        for (int k = 0; k < 4; ++k) s.lockOnTable[k] = lockOf(k) != nullptr;
        shown.push_back(s);
    }
    Shown const* find(std::wstring const& name) const {
        for (Shown const& s : shown)
            if (s.strip == name) return &s;
        return nullptr;
    }
};

// The tutorials a player has met before these levels: the screens', the story's and the found
// cards'; the lock tutorials are not among them.
std::string withTutorialsOn(std::string profile) {
    std::string const off = "<TUTORIAL SHOW=\"0\"/>";
    std::string seen = "<TUTORIAL SHOW=\"1\">";
    for (char const* name : {"TUTORIALMENU", "HAUPTMENU", "LEVELAUSWAHLMENU", "INGAMEMENU_FG", "INGAMEMENU_STORY",
                             "EXTRACARD_FOUND", "JOKER_FOUND", "WILDCARD_FOUND", "GOD_0_READY", "GOD_1_READY",
                             "GOD_2_READY", "GOD_3_READY"})
        seen += std::string(" \"|") + name + "|\"";
    seen += "</TUTORIAL>";
    profile.replace(profile.find(off), off.size(), seen);
    return profile;
}

class CampaignScenesInGame : public minigametest::MinigameFixture {
protected:
    void TearDown() override {
        SolTutorialManager::instance().tutorialStarted.disconnect(&strips);
        MinigameFixture::TearDown();
        removeHome();
    }
    void start(std::string const& homeName, std::string const& profileText) {
        makeHome(homeName, profileText);
        withStory = true;
        MinigameFixture::SetUp();
        SolTutorialManager::instance().tutorialStarted.connect(&strips, &StripRecorder::onStarted);
    }
    std::wstring strip() const {
        Orvex::TutorialStrip const* s = SolTutorialManager::instance().getCurrentStrip();
        return SolTutorialManager::instance().isRunning() && s ? s->getName() : L"-";
    }
    Solitaire::Profil* profile() const { return Solitaire::ProfilManager::instance().getActiveProfile(); }
    std::string sceneName() const { return scene() ? minigametest::narrow(scene()->getName()) : std::string("-"); }
    D3DXVECTOR2 pointOn(Karte const& card) const { return tablePoint(Solitaire::computeScreenRect(card, cards().getCamera())); }
    D3DXVECTOR2 pointOn(std::wstring const& pile) const {
        Solitaire::Kartenstapel const* p = cards().findPile(pile);
        EXPECT_NE(p, nullptr) << minigametest::narrow(pile);
        return p ? tablePoint(Solitaire::computeScreenRect(*p, cards().getCamera())) : D3DXVECTOR2(0.0f, 0.0f);
    }
    void dragTo(Karte const& card, std::wstring const& pile) {
        drag(pointOn(card), pointOn(pile), 6);
        wait(kMoveSeconds);
    }

    StripRecorder strips;
};

struct LockRow {
    char const* colourName;
    int colour;
    int chapter;
    int level;
    wchar_t const* scene;
    wchar_t const* ruleFile;
    // The goal pile the key goes to: dragged onto it, or (doubleClick) sent there by a double
    // click, as the pairs' discard is not drawn while empty; with inOrder the cards below the key
    // in value go first (the row of hearts takes them from the ace up).
    wchar_t const* goalPile;
    bool doubleClick;
    bool inOrder;
};

LockRow const kLockRows[] = {
    {"silver", 1, 4, 1, L"STORY_SCHLOSS_SILBER", L"data\\Level\\HerzreiheSilber.sol", L"STAPEL_ZIEL", false, true},
    {"copper", 2, 8, 2, L"STORY_SCHLOSS_KUPFER", L"data\\Level\\PaareKupfer.sol", L"STAPEL_ABLAGE", true, false},
    {"blue", 3, 13, 3, L"STORY_SCHLOSS_BLAU", L"data\\Level\\ZellenBlau.sol", L"BASIS1", false, false},
};

class CampaignLocksInGame : public CampaignScenesInGame, public ::testing::WithParamInterface<LockRow> {
protected:
    void SetUp() override {
        start(std::string("campaign_lock_") + GetParam().colourName, withTutorialsOn(apptest::profileAtStart(GetParam().chapter)));
    }
};

TEST_P(CampaignLocksInGame, TheLockSceneStartsTheLevelThenItsTutorialAndTheKeyOpensTheLock) {
    LockRow const& row = GetParam();
    std::wstring const found = L"LOCKED_CARDS_FOUND_" + std::to_wstring(row.colour);
    std::wstring const opened = L"CARD_UNLOCKED_" + std::to_wstring(row.colour);
    toChapterScreen();
    clickOn(L"K_KategorieButton" + std::to_wstring(row.chapter + 1));
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"LEVELAUSWAHLMENU");
    EXPECT_EQ(sceneName(), "-") << "no scene at the level screen";
    clickOn(L"LA_LevelButton_" + std::to_wstring(row.level));
    // The scene comes in place of the level.
    ASSERT_NE(scene(), nullptr);
    ASSERT_EQ(scene()->getName(), row.scene);
    EXPECT_EQ(lockOf(row.colour), nullptr) << "the level is not dealt before the scene";
    wait(0.5);
    keep(std::string("campaign_lock_") + row.colourName + "_scene");
    playSceneToItsEnd();
    // The level the player chose is running, dealt with its lock.
    EXPECT_EQ(game->getRunning().currentChapter, row.chapter);
    EXPECT_EQ(game->getRunning().currentLevel, row.level);
    ASSERT_NE(Solitaire::SolitaireManager::instance().getCurrentVariant(), nullptr);
    EXPECT_EQ(Solitaire::SolitaireManager::instance().getCurrentVariant()->getFile(), row.ruleFile);
    Karte* locked = lockOf(row.colour);
    Karte* key = keyOf(row.colour);
    ASSERT_NE(locked, nullptr);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(locked->isLocked());
    // The lock's tutorial after the level's start, over the table that holds the lock.
    ASSERT_EQ(strip(), found);
    StripRecorder::Shown const* shown = strips.find(found);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->variant, row.ruleFile);
    EXPECT_TRUE(shown->lockOnTable[row.colour]) << "the tutorial came before the deal";
    wait(kDealSeconds);
    keep(std::string("campaign_lock_") + row.colourName + "_found");
    closeTutorials();
    ASSERT_EQ(activeMenu(), L"INGAMEMENU");
    dismissTablePanels();
    EXPECT_EQ(strips.find(opened), nullptr);
    // The key onto a goal pile: the lock opens and its tutorial shows.
    if (row.inOrder)
        for (int value = 0; value < key->getValue(); ++value) dragTo(*heart(value), row.goalPile);
    if (row.doubleClick) {
        doubleClick(pointOn(*key));
        wait(kMoveSeconds);
    } else {
        dragTo(*key, row.goalPile);
    }
    EXPECT_TRUE(key->pile && key->pile->isGoalPile()) << "the key did not reach a goal pile";
    EXPECT_FALSE(locked->isLocked()) << "the key did not open the lock";
    EXPECT_EQ(strip(), opened);
    keep(std::string("campaign_lock_") + row.colourName + "_opened");
    EXPECT_TRUE(profile()->isUnlocked(row.scene)) << "the scene plays once";
}

INSTANTIATE_TEST_SUITE_P(Colours, CampaignLocksInGame, ::testing::ValuesIn(kLockRows),
                         [](::testing::TestParamInfo<LockRow> const& info) { return std::string(info.param.colourName); });

// The menus the game switched to, in order.
struct MenuRecorder : sigslot::has_slots<> {
    std::vector<std::wstring> menus;
    void onChanged(Orvex::GUIMenuN& menu, Orvex::GUIMenuN*) { menus.push_back(menu.getName()); }
};

class CampaignHomecoming : public CampaignScenesInGame {
protected:
    void SetUp() override {
        // The last level passed: the campaign counts as done.
        std::string profile = apptest::profileAtStart(20);
        profile.insert(profile.find("</UNLOCKS>"), " \"|KAMPAGNE_BESTANDEN|\"");
        start("campaign_homecoming", profile);
    }
    void TearDown() override {
        Orvex::GUIMenuManagerN::instance().menuChanged.disconnect(&menus);
        CampaignScenesInGame::TearDown();
    }
    MenuRecorder menus;
};

TEST_F(CampaignHomecoming, TheMainMenuComesAsTheSceneStartsAndStaysAfterIt) {
    toChapterScreen();
    Orvex::GUIMenuManagerN::instance().menuChanged.connect(&menus, &MenuRecorder::onChanged);
    clickOn(L"K_KategorieButton21");
    ASSERT_EQ(sceneName(), "STORY_HEIMKEHR");
    // The main menu was switched to as the scene started (from within the level screen's
    // switch), and lies behind the scene's strip.
    EXPECT_NE(std::find(menus.menus.begin(), menus.menus.end(), L"LEVELAUSWAHLMENU"), menus.menus.end());
    EXPECT_NE(std::find(menus.menus.begin(), menus.menus.end(), L"HAUPTMENU"), menus.menus.end());
    EXPECT_EQ(activeMenu(), L"TUTORIALMENU");
    Orvex::GUIMenuN const* behind = Orvex::GUIMenuManagerN::instance().getHistoryMenu(-1);
    ASSERT_NE(behind, nullptr);
    EXPECT_EQ(behind->getName(), L"HAUPTMENU");
    wait(0.5);
    playSceneToItsEnd("campaign_homecoming");
    EXPECT_EQ(activeMenu(), L"HAUPTMENU");
    EXPECT_TRUE(profile()->isUnlocked(L"STORY_HEIMKEHR"));
    keep("campaign_homecoming_after");
    // The main menu answers: the campaign's chapters again, and no scene.
    clickOn(L"H_Kampagne");
    EXPECT_EQ(activeMenu(), L"KATEGORIEMENU");
    EXPECT_EQ(sceneName(), "-");
}

}  // namespace
