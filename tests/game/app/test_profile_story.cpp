// The story and the tutorials on the game's own profiles: the unlocks a scene records outlive a
// save and a reload of the profile file (the temporary ones do not), another profile starts the
// story afresh, and the tutorial manager judges by whichever profile is active.
#include <gtest/gtest.h>

#include "engine/gui/TutorialManager.h"
#include "game/app/Profil.h"
#include "game/story/SolTutorialManager.h"
#include "game/story/StoryManager.h"
#include "game/story/StoryPart.h"
#include "tests/game/app/ProfileFixture.h"

namespace {

using Solitaire::Profil;

class ProfileStoryTest : public apptest::ProfileFixture {
protected:
    void SetUp() override {
        ProfileFixture::SetUp();
        story().clear();
        Orvex::XMLNode root;
        ASSERT_TRUE(root.loadFromText(
            L"<STORY><STORY_PART NAME=\"ERSTE\" UNLOCK_PRE=\"VORHER\" UNLOCK_TMP_PRE=\"NUR_JETZT\" UNLOCK_POST=\"NACHHER\">"
            L"<SWITCH/></STORY_PART><STORY_PART NAME=\"ZWEITE\"><NEEDED_UNLOCKS>\"|NACHHER|\"</NEEDED_UNLOCKS><SWITCH/>"
            L"</STORY_PART></STORY>",
            L"profile story"));
        story().load(root, L"profile story");
    }
    void TearDown() override {
        story().clear();
        Solitaire::SolTutorialManager::instance().setActiveProfileSource({});
        Solitaire::SolTutorialManager::instance().clear();
        Orvex::TutorialManager::instance().clear();
        profiles().clear();
        ProfileFixture::TearDown();
    }
    static Solitaire::StoryManager& story() { return Solitaire::StoryManager::instance(); }
    static std::wstring next(Profil* profile) {
        Solitaire::StoryPart* scene = story().startNextScene(profile);
        return scene ? scene->getName() : std::wstring(L"-");
    }
};

TEST_F(ProfileStoryTest, TheStorysUnlocksOutliveASaveButTheTemporaryOnesDoNot) {
    useFile("story");
    profiles().addProfile(new Profil(L"Erzähler"));
    Profil* active = profiles().getActiveProfile();
    ASSERT_EQ(next(active), L"ERSTE");
    story().getScenes()[0]->applyPostUnlocks(active);
    EXPECT_TRUE(active->isUnlocked(L"NUR_JETZT"));
    ASSERT_TRUE(profiles().saveProfiles());
    ASSERT_TRUE(profiles().loadProfiles());
    Profil* loaded = profiles().getActiveProfile();
    ASSERT_NE(loaded, nullptr);
    for (wchar_t const* name : {L"ERSTE", L"VORHER", L"NACHHER"}) EXPECT_TRUE(loaded->isUnlocked(name));
    EXPECT_FALSE(loaded->isUnlocked(L"NUR_JETZT"));
    EXPECT_EQ(next(loaded), L"ZWEITE");  // never the first again
    EXPECT_EQ(next(loaded), L"-");
    auto* other = new Profil(L"Neuling");
    profiles().addProfile(other);
    EXPECT_EQ(next(other), L"ERSTE");
}

TEST_F(ProfileStoryTest, TutorialsAreJudgedByTheActiveProfile) {
    Orvex::XMLNode root;
    ASSERT_TRUE(root.loadFromText(L"<T><STRIP NAME=\"HINWEIS\"><PAGE NAME=\"a\"/></STRIP></T>", L"strips"));
    Orvex::TutorialManager::instance().loadTemplates(root);
    Solitaire::SolTutorialManager& tutorials = Solitaire::SolTutorialManager::instance();
    tutorials.setActiveProfileSource([]() -> Solitaire::StoryProfile* {
        return Solitaire::ProfilManager::instance().getActiveProfile();
    });
    auto* first = new Profil(L"Eins");
    auto* second = new Profil(L"Zwei");
    profiles().addProfile(first);
    profiles().addProfile(second);
    profiles().setActiveProfile(first);
    D3DXVECTOR2 const nowhere(0.0f, 0.0f);
    EXPECT_TRUE(tutorials.showTutorial(L"HINWEIS", false, false, nowhere));
    tutorials.closeTutorial();
    EXPECT_FALSE(tutorials.showTutorial(L"HINWEIS", false, false, nowhere));  // seen by the first
    profiles().setActiveProfile(second);
    EXPECT_TRUE(tutorials.showTutorial(L"HINWEIS", false, false, nowhere));
    tutorials.closeTutorial();
    second->setShowTutorials(false);
    EXPECT_FALSE(tutorials.showTutorial(L"STORY_NEU", false, false, nowhere));  // no strip: refused
    EXPECT_FALSE(second->shouldShowTutorial(L"STORY_NEU"));                     // but marked seen
}

}  // namespace
