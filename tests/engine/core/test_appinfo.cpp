// Application info: start directory, user folder kinds and folder creation, the folder's lock.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/core/AppInfo.h"
#include "port/win32/kernel.h"
#include "port/win32/win32_paths.h"
#include "port/win32/win32_version.h"
#include "tests/engine/core/LogWatch.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;
using Orvex::AppInfo;

namespace {

std::wstring winPath(fs::path const& p) { return port::windowsPath(p.string()); }

std::wstring savePath() { return port::versionBlock().savePath; }

}  // namespace

TEST(AppInfo, FolderKindsPickTheirBase) {
    AppInfo& info = AppInfo::getInstance();
    fs::path const data = std::getenv("XDG_DATA_HOME");
    fs::path const home = std::getenv("HOME");

    info.setUserFolderKind(1);
    EXPECT_EQ(info.getUserFolder(), winPath(data) + L"\\" + savePath());
    info.setUserFolderKind(0);
    EXPECT_EQ(info.getUserFolder(), winPath(home) + L"\\" + savePath());
    info.setUserFolderKind(2);
    EXPECT_EQ(info.getUserFolder(), L"\\usr\\local\\share\\" + savePath());
    info.setUserFolderKind(3);
    EXPECT_EQ(info.getUserFolder(), savePath());

    // An unknown kind keeps what was chosen before.
    info.setUserFolderKind(7);
    info.setUserFolderKind(-1);
    EXPECT_EQ(info.getUserFolderKind(), 3);
    info.setUserFolderKind(1);
}

TEST(AppInfo, CreateUserFolderMakesEveryMissingLevel) {
    AppInfo& info = AppInfo::getInstance();
    fs::path const data = fs::path(std::getenv("XDG_DATA_HOME")) / "deeper" / "still";
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    info.setUserFolderKind(1);
    ASSERT_TRUE(info.createUserFolder());
    fs::path const made = port::hostPath(info.getUserFolder());
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_EQ(made, data / port::hostPathNoLookup(savePath()));
    EXPECT_TRUE(info.createUserFolder());  // existing is no error
}

TEST(AppInfo, CreateUserFolderFailureIsLoggedAndReported) {
    AppInfo& info = AppInfo::getInstance();
    fs::path const blocker = testsupport::makeTempDir("appinfo_block") / "file";
    testsupport::writeFile(blocker, "not a folder");
    setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    info.setUserFolderKind(1);
    logtest::LogWatch log;
    EXPECT_FALSE(info.createUserFolder());
    ASSERT_EQ(log.errors().size(), 1u);
    EXPECT_TRUE(logtest::contains(log.errors()[0], L"user folder"));
}

// One process at a time holds the user folder: while another holds it this one is kept out, then
// holds it itself (again: still held); a folder in the lock file's place leaves it untaken, with
// a line that says why in words (it gave "error 5").
TEST(AppInfo, TheUserFolderIsHeldByOneProcessAtATime) {
    AppInfo& info = AppInfo::getInstance();
    setenv("XDG_DATA_HOME", testsupport::makeTempDir("appinfo_lock").c_str(), 1);
    info.setUserFolderKind(1);
    ASSERT_TRUE(info.createUserFolder());
    std::wstring const lock = info.getUserFolder() + L"\\" + AppInfo::kLockFileName;
    fs::create_directory(port::hostPath(lock));
    logtest::LogWatch log;
    EXPECT_EQ(info.lockUserFolder(), AppInfo::FolderLock::kNotTaken);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_TRUE(logtest::contains(log.lines()[0], L"(Is a directory)"));
    fs::remove(port::hostPath(lock));

    HANDLE const other =
        CreateFileW(lock.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(info.lockUserFolder(), AppInfo::FolderLock::kInUse);
    CloseHandle(other);
    EXPECT_EQ(info.lockUserFolder(), AppInfo::FolderLock::kHeld);
    EXPECT_EQ(info.lockUserFolder(), AppInfo::FolderLock::kHeld);
}

// The instance exists from static initialisation on; the default folder must still follow the
// environment main sets up (tests and launchers set HOME/XDG_DATA_HOME before using it).
TEST(AppInfo, DefaultUserFolderFollowsTheEnvironmentOfMain) {
    char const* dataHome = std::getenv("XDG_DATA_HOME");
    ASSERT_NE(dataHome, nullptr);
    std::wstring const expected = winPath(fs::path(dataHome)) + L"\\" + savePath();
    EXPECT_EQ(AppInfo::getInstance().getUserFolder(), expected);
}
