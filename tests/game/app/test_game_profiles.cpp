// The profiles in the running program: read at start-up, saved by the game object's destructor,
// and left byte for byte as they were when the program is closed while it loads.
#include <gtest/gtest.h>

#include "game/app/Profil.h"
#include "game/app/ProfilManager.h"
#include "port/win32/winuser.h"
#include "tests/game/app/GameFixture.h"
#include "tests/game/cards/ProfileFiles.h"
#include "tests/support/TestSupport.h"

namespace {

class GameProfilesTest : public apptest::GameFixture {
protected:
    void SetUp() override {
        profileFile = testsupport::makeTempDir("game_profiles") / "profile.prf";
        std::filesystem::copy_file(testsupport::sourceDir() / "tests/game/app/data/utf16_names.prf", profileFile);
        Solitaire::ProfilManager::instance().setFilePath(cardstest::hostFile(profileFile));
    }
    void TearDown() override {
        if (game) stop();
        Solitaire::ProfilManager::instance().clear();
        Solitaire::ProfilManager::instance().setFilePath(L"");
    }
    std::filesystem::path profileFile;
};

TEST_F(GameProfilesTest, ProfilesLoadAtStartAndTheDestructorSavesThem) {
    start();
    Solitaire::ProfilManager& profiles = Solitaire::ProfilManager::instance();
    ASSERT_EQ(profiles.getProfileCount(), 2);
    ASSERT_TRUE(profiles.getActiveProfile());
    EXPECT_EQ(profiles.getActiveProfile()->getName(), L"Zoë 李");
    profiles.getProfile(0)->setPoints(77.0f);
    stop();
    Orvex::XMLNode saved;
    ASSERT_EQ(saved.loadChecked(cardstest::hostFile(profileFile), 1), Orvex::XMLNode::ReadResult::kComplete);
    EXPECT_EQ(saved.getChild(L"PROFIL")->getAttributeString(L"POINTS", L""), L"77");
    EXPECT_EQ(saved.getAttributeString(L"ACTIVE_PROFIL", L""), L"Zoë 李");
}

TEST_F(GameProfilesTest, ClosingWhileLoadingLeavesTheFileAsItWas) {
    std::string const before = testsupport::readFile(profileFile);
    expectConstructed = false;
    PostQuitMessage(0);
    start();
    stop();
    EXPECT_EQ(testsupport::readFile(profileFile), before);
}

}  // namespace
