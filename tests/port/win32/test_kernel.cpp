// Kernel services: clocks, environment expansion, file operations by Windows path, a file held
// alone (also one the process may only read; never through a link, nor anything but a file).
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "port/win32/win32_paths.h"
#include "port/win32/win32_version.h"
#include "port/win32/kernel.h"
#include "tests/support/FifoInPlace.h"
#include "tests/support/OtherUser.h"
#include "tests/support/ReachableFolder.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::wstring expand(std::wstring const& text) {
    DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    std::wstring out(needed, L'\0');
    EXPECT_EQ(ExpandEnvironmentStringsW(text.c_str(), out.data(), needed), needed);
    out.resize(needed ? needed - 1 : 0);
    return out;
}

std::wstring winPath(fs::path const& p) { return port::windowsPath(p.string()); }

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
public:
    ScopedEnv(char const* name, char const* value) : name_(name) {
        char const* old = std::getenv(name);
        had_ = old != nullptr;
        if (had_) old_ = old;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~ScopedEnv() {
        if (had_) setenv(name_.c_str(), old_.c_str(), 1);
        else unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::string old_;
    bool had_ = false;
};

}  // namespace

TEST(KernelTime, ClocksAdvanceAcrossASleep) {
    LARGE_INTEGER frequency{};
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 1000000000LL);
    LARGE_INTEGER before{}, after{};
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    ULONGLONG const ticksBefore = GetTickCount64();
    Sleep(20);
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    EXPECT_GE(after.QuadPart - before.QuadPart, 20000000LL);
    EXPECT_GE(GetTickCount64() - ticksBefore, 20u);
    // The 32-bit count is the low half of the 64-bit one (compared wrap-safe).
    DWORD const low = GetTickCount();
    EXPECT_LE(static_cast<DWORD>(GetTickCount64()) - low, 1000u);
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
    Sleep(0);
}

TEST(KernelTime, LocalTimeMatchesTheCalendar) {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    EXPECT_EQ(st.wYear, local.tm_year + 1900);
    EXPECT_EQ(st.wMonth, local.tm_mon + 1);
    EXPECT_EQ(st.wDayOfWeek, local.tm_wday);  // Sunday is 0 in both
    EXPECT_LE(st.wMilliseconds, 999);
    GetLocalTime(nullptr);
}

TEST(KernelEnvironment, UserFoldersMapToTheXdgLayout) {
    ScopedEnv home("HOME", "/home/tester");
    {
        ScopedEnv data("XDG_DATA_HOME", "/data/tester/");
        EXPECT_EQ(expand(L"%APPDATA%\\Orvex"), L"\\data\\tester\\Orvex");
        EXPECT_EQ(expand(L"%appdata%"), L"\\data\\tester");
    }
    // Unset, empty and relative values are ignored, as the XDG rules say.
    for (char const* value : {static_cast<char const*>(nullptr), "", "relative/data"}) {
        ScopedEnv data("XDG_DATA_HOME", value);
        EXPECT_EQ(expand(L"%APPDATA%"), L"\\home\\tester\\.local\\share") << (value ? value : "unset");
    }
    EXPECT_EQ(expand(L"%USERPROFILE%\\x"), L"\\home\\tester\\x");
    EXPECT_EQ(expand(L"%ALLUSERSPROFILE%"), L"\\usr\\local\\share");
}

TEST(KernelEnvironment, OtherNamesUnknownNamesAndStrayPercents) {
    ScopedEnv var("ORVEX_TEST_VAR", "value");
    ScopedEnv none("ORVEX_NO_SUCH_VAR", nullptr);
    EXPECT_EQ(expand(L"a%ORVEX_TEST_VAR%b"), L"avalueb");
    EXPECT_EQ(expand(L"%orvex_test_var%"), L"value");
    EXPECT_EQ(expand(L"x%ORVEX_NO_SUCH_VAR%y%ORVEX_TEST_VAR%"), L"x%ORVEX_NO_SUCH_VAR%yvalue");
    EXPECT_EQ(expand(L"100% sure"), L"100% sure");
    EXPECT_EQ(expand(L"50%%ORVEX_TEST_VAR%"), L"50%value");
    EXPECT_EQ(expand(L""), L"");
}

TEST(KernelEnvironment, ReportsTheNeededSizeAndLeavesSmallBuffersAlone) {
    ScopedEnv var("ORVEX_TEST_VAR", "value");
    wchar_t small[4] = {L'k', L'e', L'e', L'p'};
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%ORVEX_TEST_VAR%", small, 4), 6u);
    EXPECT_EQ(small[0], L'k');
    wchar_t exact[6];
    EXPECT_EQ(ExpandEnvironmentStringsW(L"%ORVEX_TEST_VAR%", exact, 6), 6u);
    EXPECT_EQ(std::wstring(exact), L"value");
    EXPECT_EQ(ExpandEnvironmentStringsW(nullptr, exact, 6), 0u);
}

TEST(KernelFiles, CreateDirectoryMakesOneFolderAndReportsErrors) {
    fs::path base = testsupport::makeTempDir("kernel_dirs");
    std::wstring folder = winPath(base / "Made");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_TRUE(fs::is_directory(base / "Made"));
    EXPECT_EQ(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(CreateDirectoryW(folder.c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    // The parent must exist.
    std::wstring deep = winPath(base / "missing" / "child");
    EXPECT_FALSE(CreateDirectoryW(deep.c_str(), nullptr));
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(CreateDirectoryW(L"", nullptr));
    // An existing folder in other case is the same folder.
    EXPECT_FALSE(CreateDirectoryW(winPath(base / "MADE").c_str(), nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST(KernelFiles, AttributesDeleteAndMoveFollowWindowsPaths) {
    fs::path base = testsupport::makeTempDir("kernel_files");
    testsupport::writeFile(base / "Data" / "File.txt", "one");
    testsupport::writeFile(base / "Data" / "Other.txt", "two");
    std::wstring file = winPath(base / "data" / "FILE.TXT");
    EXPECT_EQ(GetFileAttributesW(file.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesW(winPath(base / "nothing").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    std::wstring other = winPath(base / "Data" / "Other.txt");
    EXPECT_FALSE(MoveFileExW(file.c_str(), other.c_str(), 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(testsupport::readFile(base / "Data" / "Other.txt"), "two");
    EXPECT_TRUE(MoveFileExW(file.c_str(), other.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(testsupport::readFile(base / "Data" / "Other.txt"), "one");
    EXPECT_FALSE(fs::exists(base / "Data" / "File.txt"));
    EXPECT_TRUE(MoveFileExW(other.c_str(), winPath(base / "Data" / "New.txt").c_str(), 0));
    EXPECT_FALSE(MoveFileExW(other.c_str(), winPath(base / "Data" / "Again.txt").c_str(), 0));

    std::wstring moved = winPath(base / "Data" / "New.txt");
    EXPECT_FALSE(DeleteFileW(winPath(base / "Data").c_str()));  // folders are not files
    EXPECT_TRUE(DeleteFileW(moved.c_str()));
    EXPECT_FALSE(fs::exists(base / "Data" / "New.txt"));
    EXPECT_FALSE(DeleteFileW(moved.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

// Only a regular file is opened, for reading, writing or appending; nothing else in its place
// blocks the caller or is read or written: a FIFO (also through a link), a folder, a device. The
// words say what stands there.
TEST(KernelFiles, OnlyARegularFileIsOpenedAndNothingElseInItsPlaceBlocks) {
    fs::path const base = testsupport::makeTempDir("kernel_regular");
    testsupport::FifoInPlace fifo(base / "fifo");
    ASSERT_TRUE(fifo.made());
    fs::create_symlink(base / "fifo", base / "link_to_fifo");
    fs::create_directory(base / "folder");
    fs::create_symlink("/dev/null", base / "device");
    struct {
        char const* name;
        int error;
        wchar_t const* why;
    } const entries[] = {
        {"fifo", EINVAL, L"a FIFO, not a regular file"},
        {"link_to_fifo", EINVAL, L"a FIFO, not a regular file"},
        {"folder", EISDIR, L"Is a directory"},
        {"device", EINVAL, L"a character device, not a regular file"},
    };
    for (auto const& entry : entries) {
        std::string const host = (base / entry.name).string();
        EXPECT_EQ(port::notRegularFile(host), entry.why) << entry.name;
        for (char const* mode : {"rb", "r+b", "wb", "ab", "wbx"}) {
            SCOPED_TRACE(std::string(entry.name) + " " + mode);
            std::wstring why;
            errno = 0;
            std::FILE* opened = port::openRegularFile(host, mode, &why);
            EXPECT_EQ(opened, nullptr);
            if (opened) std::fclose(opened);
            // "x" refuses any name that is taken, before looking at what it is.
            if (std::string(mode) == "wbx") continue;
            EXPECT_EQ(errno, entry.error);
            EXPECT_EQ(why, entry.why);
        }
    }

    // A regular file, in each mode; nothing there is no kind of entry.
    std::string const file = (base / "file").string();
    EXPECT_EQ(port::notRegularFile(file), L"");
    std::wstring why;
    EXPECT_EQ(port::openRegularFile(file, "rb", &why), nullptr);
    EXPECT_EQ(why, L"No such file or directory");
    struct {
        char const* mode;
        char const* written;
        char const* after;
    } const steps[] = {{"wbx", "one", "one"}, {"ab", "two", "onetwo"}, {"wb", "three", "three"}, {"r+b", "T", "Thre"}};
    for (auto const& step : steps) {
        SCOPED_TRACE(step.mode);
        std::FILE* opened = port::openRegularFile(file, step.mode);
        ASSERT_NE(opened, nullptr);
        std::string const written(step.written);
        EXPECT_EQ(std::fwrite(written.data(), 1, written.size(), opened), written.size());
        EXPECT_EQ(std::fclose(opened), 0);
        EXPECT_EQ(testsupport::readFile(file).substr(0, std::string(step.after).size()), step.after);
    }
    EXPECT_EQ(port::openRegularFile(file, "wbx", &why), nullptr);
    EXPECT_EQ(errno, EEXIST);
    std::FILE* reading = port::openRegularFile(file, "rb");
    ASSERT_NE(reading, nullptr);
    char bytes[8] = {};
    EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, reading), 5u);
    EXPECT_EQ(std::string(bytes, 5), "Three");
    std::fclose(reading);
}

// A file opened alone keeps every other opener out, in this process or another, until it is
// closed or its process ends, however it ends: a holder killed leaves no stale lock. Only a
// regular file is opened.
TEST(KernelFiles, AFileOpenedAloneKeepsOthersOutUntilItsHolderEnds) {
    fs::path const base = testsupport::makeTempDir("kernel_alone");
    auto open = [](fs::path const& file) {
        return CreateFileW(winPath(file).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    fs::path const lock = base / "instance.lock";
    HANDLE const held = open(lock);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(open(lock), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(CloseHandle(held));

    pid_t const child = fork();
    if (child == 0) {
        if (open(lock) == INVALID_HANDLE_VALUE) _exit(1);
        raise(SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    HANDLE const again = open(lock);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(again));

    fs::create_directory(base / "folder.lock");
    EXPECT_EQ(open(base / "folder.lock"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
}

// What stands at the lock file's place: a file is held alone, also one the player may only read
// (root's of mode 0644, left by a game run under sudo: held through reading, as an flock needs no
// writing), and a missing one is made. A link is never followed (the file it leads to is not
// held, nor made where it leads nowhere), and nothing but a file is opened: a FIFO without a
// partner gives no wait. (The read-only file was not held, a link was followed, and one leading
// nowhere made its target.)
TEST(KernelFiles, OnlyAFileItselfIsHeldAloneAlsoOneThatMayOnlyBeRead) {
    testsupport::ReachableFolder const folder("kernel_alone_kinds");
    if (folder.path().empty()) GTEST_SKIP() << folder.whyNot();
    fs::path const base = folder.path();
    fs::path const lock = base / "instance.lock";
    fs::path const target = base / "notes.txt";
    // 0 held, and a second opener kept out; 1 not opened; 2 opened twice.
    auto tryHold = [&lock] {
        auto open = [&lock] {
            return CreateFileW(winPath(lock).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        };
        HANDLE const held = open();
        if (held == INVALID_HANDLE_VALUE) return 1;
        HANDLE const second = open();
        bool const keptOut = second == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
        if (second != INVALID_HANDLE_VALUE) CloseHandle(second);
        CloseHandle(held);
        return keptOut ? 0 : 2;
    };
    struct {
        char const* what;
        bool held;
    } const cases[] = {{"a file", true},           {"a file the player may only read", true}, {"nothing", true},
                       {"a link to a file", false}, {"a link to nothing", false},              {"a link to a device", false},
                       {"a FIFO", false},           {"a folder", false}};
    for (auto const& c : cases) {
        SCOPED_TRACE(c.what);
        std::string const what = c.what;
        fs::remove_all(lock);
        fs::remove(target);
        std::unique_ptr<testsupport::FifoInPlace> fifo;
        if (what == "a file" || what == "a file the player may only read") testsupport::writeFile(lock, "held");
        if (what == "a link to a file") testsupport::writeFile(target, "notes");
        if (what == "a link to a file" || what == "a link to nothing") fs::create_symlink(target, lock);
        if (what == "a link to a device") fs::create_symlink("/dev/null", lock);
        if (what == "a FIFO") fifo = std::make_unique<testsupport::FifoInPlace>(lock);
        if (what == "a folder") fs::create_directory(lock);
        // The player's folder and files, but for the one left by another.
        testsupport::giveToOtherUser(base);
        if (what == "a file the player may only read") testsupport::makeReadOnly(lock);
        int const result = testsupport::asOtherUser(tryHold);
        EXPECT_EQ(result, c.held ? 0 : 1);
        if (what == "a file" || what == "a file the player may only read") EXPECT_EQ(testsupport::readFile(lock), "held");
        if (what == "nothing") EXPECT_TRUE(fs::is_regular_file(lock));
        if (what == "a link to a file") EXPECT_EQ(testsupport::readFile(target), "notes");
        if (what == "a link to nothing") EXPECT_FALSE(fs::exists(target));
        if (what != "nothing" && what != "a FIFO") EXPECT_EQ(fs::symlink_status(lock).type() == fs::file_type::symlink,
                                                            what.rfind("a link", 0) == 0);
    }
    // The player's game holds the read-only file; another game of the player's is kept out.
    fs::remove_all(lock);
    testsupport::writeFile(lock, "");
    testsupport::makeReadOnly(lock);
    HANDLE const held = CreateFileW(winPath(lock).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(testsupport::asOtherUser(tryHold), 1);
    CloseHandle(held);

    // What stood in the way, in words.
    fs::remove_all(lock);
    fs::create_symlink(target, lock);
    EXPECT_EQ(CreateFileW(winPath(lock).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(port::lastErrorText(), L"a symbolic link, not a regular file");
}

TEST(KernelFiles, CurrentDirectoryRoundTrips) {
    fs::path const saved = fs::current_path();
    fs::path base = fs::canonical(testsupport::makeTempDir("kernel_cwd"));
    std::wstring wanted = winPath(base);
    ASSERT_TRUE(SetCurrentDirectoryW(wanted.c_str()));
    DWORD needed = GetCurrentDirectoryW(0, nullptr);
    EXPECT_EQ(needed, wanted.size() + 1);
    std::wstring buffer(needed, L'\0');
    EXPECT_EQ(GetCurrentDirectoryW(needed, buffer.data()), wanted.size());
    EXPECT_EQ(buffer.c_str(), wanted);
    EXPECT_NE(buffer[wanted.size() - 1], L'\\');
    wchar_t small[2] = {L'x', L'y'};
    EXPECT_EQ(GetCurrentDirectoryW(2, small), wanted.size() + 1);
    EXPECT_EQ(small[0], L'x');
    EXPECT_FALSE(SetCurrentDirectoryW(winPath(base / "absent").c_str()));
    fs::current_path(saved);
}

TEST(KernelVersion, BlockHoldsNumbersAndStrings) {
    port::VersionBlock const& block = port::versionBlock();
    std::wstring value;
    ASSERT_TRUE(port::versionString(L"SavePath", value));
    ASSERT_FALSE(value.empty());
    EXPECT_TRUE(value.back() != L'\\' && value.front() != L'\\');  // joined with separators by the caller
    ASSERT_TRUE(port::versionString(L"productversion", value));  // any letter case
    EXPECT_EQ(value, std::to_wstring(block.major) + L"." + std::to_wstring(block.minor) + L"." +
                         std::to_wstring(block.build) + L"." + std::to_wstring(block.revision));
    value = L"untouched";
    EXPECT_FALSE(port::versionString(L"NoSuchKey", value));
    EXPECT_EQ(value, L"untouched");
}
