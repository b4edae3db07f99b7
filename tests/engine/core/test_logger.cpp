// The log file and its fallback: where the log file cannot be made (a working folder that cannot
// be written), every line goes to standard error, the first saying why, so that a failure is
// reported somewhere. Lines
// from several threads, through the log and through the port layer's hook, reach the file whole.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/core/Logger.h"
#include "port/win32/win32_log.h"
#include "tests/support/TestSupport.h"

namespace {

// Error messages are counted, also while the threshold keeps their lines out (as a fuzz target's
// is), and only errors.
TEST(Logger, ErrorsAreCountedAlsoBelowTheThreshold) {
    Orvex::Logger& log = Orvex::Logger::getInstance();
    int const errors = log.getThreshold(Orvex::LOG_TYPE_ERROR), warnings = log.getThreshold(Orvex::LOG_TYPE_WARNING);
    std::size_t const before = log.errorCount();
    log.setThreshold(1000, Orvex::LOG_MASK_ERROR | Orvex::LOG_MASK_WARNING);
    Orvex::logError(L"counted, not written");
    Orvex::logWarning(L"not counted");
    log.setThreshold(errors, Orvex::LOG_MASK_ERROR);
    log.setThreshold(warnings, Orvex::LOG_MASK_WARNING);
    EXPECT_EQ(log.errorCount(), before + 1);
    EXPECT_TRUE(log.recentLines().empty() || log.recentLines().back() != L"ERROR counted, not written");
}

TEST(Logger, WithoutALogFileTheLinesGoToStandardError) {
    Orvex::Logger& log = Orvex::Logger::getInstance();
    ASSERT_FALSE(log.isConsoleShown());
    std::filesystem::path const folder = testsupport::makeTempDir("logger_fallback");
    // The first line on standard error says why (before, nothing did).
    std::filesystem::create_directory(folder / "logfile.log");
    struct {
        std::filesystem::path file;
        char const* why;
    } const cases[] = {{folder / "missing" / "logfile.log", "No such file or directory"},
                       {folder / "logfile.log", "Is a directory"}};
    for (auto const& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(log.openFile(c.file.string()));
        std::string const said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("ERROR The log file \"" + c.file.string() + "\" cannot be opened (" + c.why +
                            "); the log goes to standard error"),
                  std::string::npos)
            << said;
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
    std::filesystem::remove(folder / "logfile.log");
    testing::internal::CaptureStderr();
    Orvex::logError(L"nothing to write to");
    std::string const lost = testing::internal::GetCapturedStderr();
    EXPECT_NE(lost.find("ERROR nothing to write to"), std::string::npos);

    std::filesystem::path const file = folder / "logfile.log";
    ASSERT_TRUE(log.openFile(file.string()));
    testing::internal::CaptureStderr();
    Orvex::logError(L"written to the file");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(testsupport::readFile(file).find("ERROR written to the file\n"), std::string::npos);
    log.openFile("logs/logfile.log");
}

// Two threads log at once, one through the log and one through the port layer's hook (where the
// display-loss line comes from), while standard error is sent to the same file as a launcher
// collecting the program's output does ("2>logfile.log": a descriptor of its own, not appending).
// Every line of the file is one whole line of one of them, and each line is there once.
TEST(Logger, LinesFromTwoThreadsReachTheFileWholeAndOnce) {
    Orvex::Logger& log = Orvex::Logger::getInstance();
    std::filesystem::path const file = testsupport::makeTempDir("logger_threads") / "logfile.log";
    ASSERT_TRUE(log.openFile(file.string()));
    std::fflush(stderr);
    int const savedStderr = ::dup(2);
    int const sent = ::open(file.c_str(), O_WRONLY);
    ASSERT_GE(sent, 0);
    ::dup2(sent, 2);
    ::close(sent);

    constexpr int kLines = 2000;
    std::wstring const tail(60, L'x');
    std::thread engine([&tail] {
        for (int i = 0; i < kLines; ++i) Orvex::logWarning(L"Sprite: line " + std::to_wstring(i) + L" " + tail);
    });
    std::thread port([&tail] {
        for (int i = 0; i < kLines; ++i)
            port::logLine(port::LogLevel::Error, L"The connection: line " + std::to_wstring(i) + L" " + tail);
    });
    engine.join();
    port.join();
    ::dup2(savedStderr, 2);
    ::close(savedStderr);
    log.openFile("logs/logfile.log");

    std::regex const whole("(Sprite|ERROR The connection): line ([0-9]+) x{60}");
    std::set<std::string> seen;
    std::vector<std::string> broken;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        std::smatch parts;
        if (!std::regex_match(line, parts, whole) || !seen.insert(parts[1].str() + parts[2].str()).second)
            broken.push_back(line);
    }
    EXPECT_EQ(seen.size(), 2u * kLines);
    EXPECT_TRUE(broken.empty()) << broken.size() << " lines broken or twice, the first: " << broken.front();
}

// A link in the log file's place (to a player's file, or to nothing) is not followed: the file it
// leads to keeps its bytes (a 27-byte notes.txt became 783 bytes of log) and none is made where it
// leads nowhere; the lines go to standard error, the first saying why.
TEST(Logger, ALinkInTheLogFilesPlaceIsNotFollowed) {
    Orvex::Logger& log = Orvex::Logger::getInstance();
    std::filesystem::path const folder = testsupport::makeTempDir("logger_link");
    std::filesystem::path const notes = folder / "notes.txt";
    std::filesystem::path const file = folder / "logfile.log";
    std::string const kept = "the player's own 27 bytes.\n";
    for (bool const leadsNowhere : {false, true}) {
        SCOPED_TRACE(leadsNowhere ? "a link to nothing" : "a link to a file");
        std::filesystem::remove(notes);
        std::filesystem::remove(file);
        if (!leadsNowhere) testsupport::writeFile(notes, kept);
        std::filesystem::create_symlink(notes, file);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(log.openFile(file.string()));
        Orvex::logError(L"not into the link");
        std::string const said = testing::internal::GetCapturedStderr();
        log.openFile("logs/logfile.log");
        EXPECT_NE(said.find("ERROR The log file \"" + file.string() +
                            "\" cannot be opened (a symbolic link, not a regular file); the log goes to standard error"),
                  std::string::npos)
            << said;
        EXPECT_NE(said.find("ERROR not into the link"), std::string::npos) << said;
        if (leadsNowhere) EXPECT_FALSE(std::filesystem::exists(notes));
        else EXPECT_EQ(testsupport::readFile(notes), kept);
    }
}

}  // namespace
